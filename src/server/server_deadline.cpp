#include "server/server_deadline.h"

#include "server/libpq_library.h"

#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace velmora {

namespace {

using Clock = std::chrono::steady_clock;

// One thread for every deadline of the program, started with the first.
class Watchdog
{
public:
    static Watchdog &instance()
    {
        static Watchdog watchdog;
        return watchdog;
    }

    unsigned long long arm(int socket, Clock::time_point deadline)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
        const unsigned long long id = ++lastId_;
        armed_.emplace(id, Armed{socket, deadline, false});
        woken_.notify_one();
        return id;
    }

    // Once disarmed, the socket is never touched again: the connection may then be closed.
    void disarm(unsigned long long id)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        armed_.erase(id);
    }

    bool fired(unsigned long long id)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto found = armed_.find(id);
        return found != armed_.end() && found->second.fired;
    }

    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        woken_.notify_one();
        if (thread_.joinable())
            thread_.join();
    }

private:
    struct Armed
    {
        int socket;
        Clock::time_point deadline;
        bool fired;
    };

    void run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stopping_) {
            Clock::time_point next = Clock::time_point::max();
            const Clock::time_point now = Clock::now();
            for (auto &[id, armed] : armed_) {
                if (armed.fired)
                    continue;
                if (armed.deadline <= now) {
                    ::shutdown(armed.socket, SHUT_RDWR);
                    armed.fired = true;
                } else {
                    next = std::min(next, armed.deadline);
                }
            }
            if (next == Clock::time_point::max())
                woken_.wait(lock);
            else
                woken_.wait_until(lock, next);
        }
    }

    std::mutex mutex_;
    std::condition_variable woken_;
    std::map<unsigned long long, Armed> armed_;
    unsigned long long lastId_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace

ServerDeadline::ServerDeadline(pg_conn *connection, int timeLimitMs)
{
    const Libpq *pq = connection ? libpq() : nullptr;
    const int socket = pq ? pq->socket(connection) : -1;
    if (socket >= 0)
        id_ = Watchdog::instance().arm(socket, Clock::now() + std::chrono::milliseconds(timeLimitMs));
}

ServerDeadline::~ServerDeadline()
{
    if (id_)
        Watchdog::instance().disarm(id_);
}

bool ServerDeadline::expired() const
{
    return id_ && Watchdog::instance().fired(id_);
}

} // namespace velmora
