#include "bench/child_runs.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace velmora::bench {

namespace {

bool writeAll(int fd, const void *data, size_t size)
{
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool readAll(int fd, void *data, size_t size)
{
    char *bytes = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t read = ::read(fd, bytes, size);
        if (read <= 0)
            return false;
        bytes += read;
        size -= static_cast<size_t>(read);
    }
    return true;
}

double now()
{
    timespec at{};
    clock_gettime(CLOCK_MONOTONIC, &at);
    return static_cast<double>(at.tv_sec) * 1e3 + static_cast<double>(at.tv_nsec) / 1e6;
}

// A request: its length, then the time limit, the folder, the program and its arguments, each ended by
// a zero byte.
ChildRuns::Run runRequest(const std::vector<char> &request)
{
    int timeLimit = 0;
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = sizeof timeLimit; i < request.size(); ++i) {
        if (request[i] != '\0') {
            part += request[i];
            continue;
        }
        parts.push_back(part);
        part.clear();
    }
    std::copy_n(request.data(), sizeof timeLimit, reinterpret_cast<char *>(&timeLimit));
    if (parts.size() < 2)
        return {};
    const double started = now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(parts[0].c_str()) != 0)
            _exit(127);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        alarm(static_cast<unsigned>(timeLimit));
        std::vector<char *> argv;
        for (size_t i = 1; i < parts.size(); ++i)
            argv.push_back(parts[i].data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return {};
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, now() - started, usage.ru_maxrss};
}

[[noreturn]] void serve(int socket)
{
    for (;;) {
        std::uint32_t size = 0;
        std::vector<char> request;
        if (!readAll(socket, &size, sizeof size))
            _exit(0);
        request.resize(size);
        if (!readAll(socket, request.data(), size))
            _exit(0);
        const ChildRuns::Run run = runRequest(request);
        if (!writeAll(socket, &run, sizeof run))
            _exit(0);
    }
}

} // namespace

ChildRuns::ChildRuns()
{
    int sockets[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return;
    goBetween_ = fork();
    if (goBetween_ == 0) {
        ::close(sockets[0]);
        serve(sockets[1]);
    }
    ::close(sockets[1]);
    socket_ = sockets[0];
}

ChildRuns::~ChildRuns()
{
    ::close(socket_);
    if (goBetween_ > 0)
        waitpid(goBetween_, nullptr, 0);
}

ChildRuns::Run ChildRuns::run(const std::string &program, const std::vector<std::string> &arguments,
                              const std::string &folder, int timeLimitSeconds)
{
    std::vector<char> request(sizeof timeLimitSeconds);
    std::copy_n(reinterpret_cast<const char *>(&timeLimitSeconds), sizeof timeLimitSeconds, request.begin());
    for (const std::string *part : {&folder, &program}) {
        request.insert(request.end(), part->begin(), part->end());
        request.push_back('\0');
    }
    for (const std::string &argument : arguments) {
        request.insert(request.end(), argument.begin(), argument.end());
        request.push_back('\0');
    }
    const auto size = static_cast<std::uint32_t>(request.size());
    Run run;
    if (!writeAll(socket_, &size, sizeof size) || !writeAll(socket_, request.data(), request.size()) ||
        !readAll(socket_, &run, sizeof run))
        return {};
    return run;
}

} // namespace velmora::bench
