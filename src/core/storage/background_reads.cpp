#include "core/storage/background_reads.h"

namespace velmora {

BackgroundReads::BackgroundReads(OpenStorage open) : open_(std::move(open))
{
    thread_.setObjectName(QStringLiteral("reads"));
    worker_ = new QObject;
    worker_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
}

BackgroundReads::~BackgroundReads()
{
    // The connection is closed on the thread that opened it, after the read under way.
    closing_ = true;
    QMetaObject::invokeMethod(
        worker_, [this] { storage_.reset(); }, Qt::QueuedConnection);
    thread_.quit();
    thread_.wait();
}

void BackgroundReads::post(std::function<void(BookStorage &)> work)
{
    QMetaObject::invokeMethod(
        worker_,
        [this, work = std::move(work)] {
            if (closing_)
                return;
            if (!storage_)
                storage_ = open_();
            work(*storage_);
        },
        Qt::QueuedConnection);
}

ReadRequests::ReadRequests(BackgroundReads &reads, QObject *parent) : QObject(parent), reads_(reads) {}

ReadRequests::~ReadRequests()
{
    cancel();
}

std::shared_ptr<std::atomic<bool>> ReadRequests::begin()
{
    cancel();
    wanted_ = std::make_shared<std::atomic<bool>>(true);
    return wanted_;
}

void ReadRequests::cancel()
{
    if (wanted_)
        *wanted_ = false;
    wanted_.reset();
}

} // namespace velmora
