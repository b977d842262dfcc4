#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace velmora::testing {

// An impostor on the loopback that offers no encryption ('N' to every request for it) and records
// whether a client then went on in the clear, sending its start-up message with its login.
class PlainServer
{
public:
    PlainServer()
    {
        listening_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listening_, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
            ::listen(listening_, 8) != 0 ||
            ::getsockname(listening_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        serving_ = std::thread([this] { serve(); });
    }
    ~PlainServer()
    {
        stop_ = true;
        if (serving_.joinable())
            serving_.join();
        ::close(listening_);
    }
    int port() const { return port_; }
    int connections() const { return connections_; }
    bool wentOnInTheClear() const { return inTheClear_; }

private:
    static bool readable(int socket, int ms)
    {
        pollfd waiting{socket, POLLIN, 0};
        return ::poll(&waiting, 1, ms) > 0;
    }
    void serve()
    {
        while (!stop_) {
            if (!readable(listening_, 50))
                continue;
            const int client = ::accept4(listening_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            ++connections_;
            // Each packet: its length, then its code; encryption requests are refused, a start-up
            // message (protocol 3.0) is the client going on in the clear.
            for (int packets = 0; packets < 3 && readable(client, 2000); ++packets) {
                unsigned char head[8];
                if (::recv(client, head, sizeof head, MSG_WAITALL) != sizeof head)
                    break;
                const std::uint32_t code = (std::uint32_t(head[4]) << 24) | (std::uint32_t(head[5]) << 16) |
                                           (std::uint32_t(head[6]) << 8) | head[7];
                if (code == 196608) {
                    inTheClear_ = true;
                    break;
                }
                if (::send(client, "N", 1, MSG_NOSIGNAL) != 1)
                    break;
            }
            ::close(client);
        }
    }

    int listening_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<bool> inTheClear_{false};
    std::thread serving_;
};

} // namespace velmora::testing
