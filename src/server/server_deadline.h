#pragma once

struct pg_conn;

namespace velmora {

// Gives up, from the client's side, a wait on the server that outlasts its time limit. A server whose
// machine hung while its network still answers keeps a connection open and silent, and its own
// statement limit never fires: once the limit passes, a watchdog thread shuts the connection's socket
// down, so that libpq's blocking wait returns with an error at once. The connection is then of no
// further use and must be dropped, after this is gone.
class ServerDeadline
{
public:
    ServerDeadline(pg_conn *connection, int timeLimitMs);
    ~ServerDeadline();
    ServerDeadline(const ServerDeadline &) = delete;
    ServerDeadline &operator=(const ServerDeadline &) = delete;

    // Whether the limit passed and the socket was shut down.
    bool expired() const;

private:
    unsigned long long id_ = 0; // 0: nothing to watch
};

} // namespace velmora
