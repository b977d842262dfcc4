#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

struct pg_conn;

namespace velmora {

struct Libpq;

// Listens on a server's channel for what other programs announce, on a libpq connection of its own
// that never blocks the event loop: connecting, listening and reading are each a step the loop drives.
// A connection lost, or one that cannot be made, is tried again every retry interval.
class ServerWatch : public QObject
{
    Q_OBJECT

public:
    ServerWatch(const QString &url, const QString &channel, int timeLimitMs, int retryMs = 2000);
    ~ServerWatch() override;

    // Connects, unless connected or connecting already.
    void start();
    bool listening() const { return state_ == State::Listening; }

Q_SIGNALS:
    void heard(const QString &payload);
    // Listening, at first or again after the connection was lost: what was announced before was not
    // heard.
    void listeningStarted();

private:
    enum class State
    {
        Idle,
        Connecting,
        Listening
    };
    void connectStep();
    void readInput();
    void lose();
    // The connection asked to answer, every second: a server process that stopped answering (while
    // its network still does) is noticed within the time limit, and the watch connects afresh.
    void beat();

    QString url_;
    QString channel_;
    int timeLimitMs_;
    State state_ = State::Idle;
    const Libpq *pq_ = nullptr; // loaded by the first start
    pg_conn *connection_ = nullptr;
    QTimer connecting_; // polls the connection being made, whose socket changes meanwhile
    QTimer retry_;
    qint64 connectStarted_ = 0;
    std::unique_ptr<QSocketNotifier> input_;
    QTimer heartbeat_;
    bool awaiting_ = false; // a statement sent, its answer not yet read
    qint64 sentAt_ = 0;
};

} // namespace velmora
