#pragma once

#include "core/storage/book_storage.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

namespace velmora {

// How far a long read has come, 0 to 100; answers false once the read is no longer wanted, and the
// read then stops at its next piece.
using ReadProgress = std::function<bool(int percent)>;

// Reads run one after another on a thread of their own, over a storage connection of their own, so
// that a window never waits for a book another program holds or for a slow server. The connection is
// opened on that thread by the first read.
class BackgroundReads
{
public:
    using OpenStorage = std::function<std::unique_ptr<BookStorage>()>;
    explicit BackgroundReads(OpenStorage open);
    // The read under way is let finish; those waiting are dropped.
    ~BackgroundReads();
    BackgroundReads(const BackgroundReads &) = delete;
    BackgroundReads &operator=(const BackgroundReads &) = delete;

    // work runs on the reading thread; from any thread.
    void post(std::function<void(BookStorage &)> work);
    // Where results are handed back: an object of the thread that made this.
    QObject &home() { return home_; }

private:
    OpenStorage open_;
    QObject home_;
    QThread thread_;
    QObject *worker_ = nullptr;            // lives on thread_
    std::unique_ptr<BookStorage> storage_; // used on thread_ alone
    std::atomic<bool> closing_{false};
};

// One window's reads: a newer one replaces the one under way, whose result is dropped, and each result
// is handed to the window's thread.
class ReadRequests : public QObject
{
    Q_OBJECT

public:
    explicit ReadRequests(BackgroundReads &reads, QObject *parent = nullptr);
    ~ReadRequests() override;

    template <typename Result>
    void start(std::function<Result(BookStorage &, const ReadProgress &)> read,
               std::function<void(const Result &)> done)
    {
        auto wanted = begin();
        QPointer<ReadRequests> self(this);
        QObject *home = &reads_.home();
        reads_.post(
            [wanted, self, home, read = std::move(read), done = std::move(done)](BookStorage &storage) {
                if (!*wanted)
                    return;
                const ReadProgress progress = [wanted, self, home](int percent) {
                    if (*wanted)
                        QMetaObject::invokeMethod(
                            home,
                            [wanted, self, percent] {
                                if (self && *wanted)
                                    Q_EMIT self->progressed(percent);
                            },
                            Qt::QueuedConnection);
                    return wanted->load();
                };
                Result result = read(storage, progress);
                QMetaObject::invokeMethod(
                    home,
                    [wanted, self, done, result = std::move(result)] {
                        if (!self || !*wanted)
                            return;
                        self->end();
                        done(result);
                    },
                    Qt::QueuedConnection);
            });
    }
    // The read under way stopped at its next piece and its result dropped.
    void cancel();
    bool reading() const { return wanted_ != nullptr; }

Q_SIGNALS:
    void progressed(int percent);

private:
    std::shared_ptr<std::atomic<bool>> begin();
    void end() { wanted_.reset(); }

    BackgroundReads &reads_;
    std::shared_ptr<std::atomic<bool>> wanted_;
};

} // namespace velmora
