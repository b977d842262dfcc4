#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::bench {

// Whole programs run and measured from a small go-between forked before the caller grows. Linux hands
// a process's peak memory on to the child it forks and that child's program, so a child forked by a
// benchmark that has built a million-row book would report that book's memory as its own.
class ChildRuns
{
public:
    // Call before anything large is made.
    ChildRuns();
    ~ChildRuns();
    ChildRuns(const ChildRuns &) = delete;
    ChildRuns &operator=(const ChildRuns &) = delete;

    struct Run
    {
        bool ok = false; // ran and exited with 0
        double milliseconds = 0;
        long peakKilobytes = 0;
    };
    // program run in folder with the arguments, on Qt's offscreen platform; ended after timeLimitSeconds
    // (a program waiting for an answer never holds the run).
    Run run(const std::string &program, const std::vector<std::string> &arguments, const std::string &folder,
            int timeLimitSeconds = 30);

private:
    int socket_ = -1;
    pid_t goBetween_ = -1;
};

} // namespace velmora::bench
