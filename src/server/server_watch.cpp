#include "server/server_watch.h"

#include <QDateTime>

#include <libpq-fe.h>

namespace velmora {

ServerWatch::ServerWatch(const QString &url, const QString &channel, int timeLimitMs, int retryMs)
    : url_(url), channel_(channel), timeLimitMs_(timeLimitMs)
{
    connecting_.setInterval(10);
    connect(&connecting_, &QTimer::timeout, this, &ServerWatch::connectStep);
    retry_.setSingleShot(true);
    retry_.setInterval(retryMs);
    connect(&retry_, &QTimer::timeout, this, &ServerWatch::start);
}

ServerWatch::~ServerWatch()
{
    input_.reset();
    if (connection_)
        PQfinish(connection_);
}

void ServerWatch::start()
{
    if (state_ != State::Idle)
        return;
    retry_.stop();
    const QByteArray url = url_.toUtf8();
    const QByteArray name = QByteArrayLiteral("Velmora watch");
    // The address is expanded by libpq itself (a URI or key=value string), keepalives added.
    const char *keywords[] = {
        "dbname",           "keepalives", "keepalives_idle", "keepalives_interval", "keepalives_count",
        "application_name", nullptr};
    const char *values[] = {url.constData(), "1", "5", "1", "3", name.constData(), nullptr};
    connection_ = PQconnectStartParams(keywords, values, 1);
    if (!connection_ || PQstatus(connection_) == CONNECTION_BAD) {
        lose();
        return;
    }
    state_ = State::Connecting;
    connectStarted_ = QDateTime::currentMSecsSinceEpoch();
    connecting_.start();
}

void ServerWatch::connectStep()
{
    const PostgresPollingStatusType status = PQconnectPoll(connection_);
    if (status == PGRES_POLLING_FAILED ||
        QDateTime::currentMSecsSinceEpoch() - connectStarted_ > timeLimitMs_) {
        lose();
        return;
    }
    if (status != PGRES_POLLING_OK)
        return;
    connecting_.stop();
    const QByteArray listen = "LISTEN " + channel_.toUtf8();
    if (PQsetnonblocking(connection_, 1) != 0 || !PQsendQuery(connection_, listen.constData())) {
        lose();
        return;
    }
    input_ = std::make_unique<QSocketNotifier>(PQsocket(connection_), QSocketNotifier::Read);
    connect(input_.get(), &QSocketNotifier::activated, this, &ServerWatch::readInput);
    state_ = State::Listening;
    PQflush(connection_);
    Q_EMIT listeningStarted();
}

void ServerWatch::readInput()
{
    if (!PQconsumeInput(connection_) || PQstatus(connection_) != CONNECTION_OK) {
        lose();
        return;
    }
    // The answer to LISTEN, then nothing but announcements.
    while (!PQisBusy(connection_)) {
        PGresult *result = PQgetResult(connection_);
        if (!result)
            break;
        PQclear(result);
    }
    QStringList payloads;
    while (PGnotify *notice = PQnotifies(connection_)) {
        payloads << QString::fromUtf8(notice->extra);
        PQfreemem(notice);
    }
    for (const QString &payload : std::as_const(payloads))
        Q_EMIT heard(payload);
}

void ServerWatch::lose()
{
    connecting_.stop();
    input_.reset();
    if (connection_)
        PQfinish(connection_);
    connection_ = nullptr;
    state_ = State::Idle;
    retry_.start();
}

} // namespace velmora
