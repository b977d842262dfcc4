#include "server/server_watch.h"

#include "server/libpq_library.h"
#include "server/server_connection.h"

#include <QDateTime>

#include <vector>

namespace velmora {

ServerWatch::ServerWatch(const QString &url, const QString &channel, int timeLimitMs, int retryMs)
    : url_(url), channel_(channel), timeLimitMs_(timeLimitMs)
{
    connecting_.setInterval(10);
    connect(&connecting_, &QTimer::timeout, this, &ServerWatch::connectStep);
    heartbeat_.setInterval(1000);
    connect(&heartbeat_, &QTimer::timeout, this, &ServerWatch::beat);
    retry_.setSingleShot(true);
    retry_.setInterval(retryMs);
    connect(&retry_, &QTimer::timeout, this, &ServerWatch::start);
}

ServerWatch::~ServerWatch()
{
    input_.reset();
    if (connection_)
        pq_->finish(connection_);
}

void ServerWatch::start()
{
    if (state_ != State::Idle)
        return;
    retry_.stop();
    // The address secured as every connection of the program is, keepalives added.
    SecuredAddress address;
    QString refused;
    pq_ = libpq();
    if (!pq_ || !securedAddress(url_, &address, &refused)) {
        lose();
        return;
    }
    address.keywords.append({QByteArrayLiteral("keepalives"), QStringLiteral("1")});
    address.keywords.append({QByteArrayLiteral("keepalives_idle"), QStringLiteral("5")});
    address.keywords.append({QByteArrayLiteral("keepalives_interval"), QStringLiteral("1")});
    address.keywords.append({QByteArrayLiteral("keepalives_count"), QStringLiteral("3")});
    address.keywords.append({QByteArrayLiteral("application_name"), QStringLiteral("Velmora watch")});
    std::vector<QByteArray> texts;
    for (const auto &[keyword, value] : std::as_const(address.keywords))
        texts.push_back(value.toUtf8());
    std::vector<const char *> keywords;
    std::vector<const char *> values;
    for (qsizetype i = 0; i < address.keywords.size(); ++i) {
        keywords.push_back(address.keywords.at(i).first.constData());
        values.push_back(texts.at(static_cast<size_t>(i)).constData());
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    connection_ = pq_->connectStartParams(keywords.data(), values.data(), 0);
    if (!connection_ || pq_->status(connection_) == CONNECTION_BAD) {
        lose();
        return;
    }
    state_ = State::Connecting;
    connectStarted_ = QDateTime::currentMSecsSinceEpoch();
    connecting_.start();
}

void ServerWatch::connectStep()
{
    const PostgresPollingStatusType status = pq_->connectPoll(connection_);
    if (status == PGRES_POLLING_FAILED ||
        QDateTime::currentMSecsSinceEpoch() - connectStarted_ > timeLimitMs_) {
        lose();
        return;
    }
    if (status != PGRES_POLLING_OK)
        return;
    connecting_.stop();
    const QByteArray listen = "LISTEN " + channel_.toUtf8();
    if (pq_->setnonblocking(connection_, 1) != 0 || !pq_->sendQuery(connection_, listen.constData())) {
        lose();
        return;
    }
    input_ = std::make_unique<QSocketNotifier>(pq_->socket(connection_), QSocketNotifier::Read);
    connect(input_.get(), &QSocketNotifier::activated, this, &ServerWatch::readInput);
    state_ = State::Listening;
    awaiting_ = true; // the answer to LISTEN
    sentAt_ = QDateTime::currentMSecsSinceEpoch();
    pq_->flush(connection_);
    heartbeat_.start();
    Q_EMIT listeningStarted();
}

void ServerWatch::beat()
{
    if (state_ != State::Listening)
        return;
    if (awaiting_) {
        if (QDateTime::currentMSecsSinceEpoch() - sentAt_ > timeLimitMs_)
            lose(); // heard nothing back: whatever was announced meanwhile was not heard either
        return;
    }
    if (!pq_->sendQuery(connection_, "SELECT 1")) {
        lose();
        return;
    }
    awaiting_ = true;
    sentAt_ = QDateTime::currentMSecsSinceEpoch();
    pq_->flush(connection_);
}

void ServerWatch::readInput()
{
    if (!pq_->consumeInput(connection_) || pq_->status(connection_) != CONNECTION_OK) {
        lose();
        return;
    }
    // The answers to LISTEN and to the heartbeats, and the announcements.
    while (awaiting_ && !pq_->isBusy(connection_)) {
        PGresult *result = pq_->getResult(connection_);
        if (!result) {
            awaiting_ = false; // the statement's answer read whole
            break;
        }
        pq_->clear(result);
    }
    QStringList payloads;
    while (PGnotify *notice = pq_->notifies(connection_)) {
        payloads << QString::fromUtf8(notice->extra);
        pq_->freemem(notice);
    }
    for (const QString &payload : std::as_const(payloads))
        Q_EMIT heard(payload);
}

void ServerWatch::lose()
{
    connecting_.stop();
    heartbeat_.stop();
    awaiting_ = false;
    input_.reset();
    if (connection_)
        pq_->finish(connection_);
    connection_ = nullptr;
    state_ = State::Idle;
    retry_.start();
}

} // namespace velmora
