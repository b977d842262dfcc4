#pragma once

#include <QDir>

namespace velmora {

// Whether the log's own lines also go on to Qt's output (which a desktop session sends to the system's
// journal): a terminal task prints its report itself, and would otherwise show each line twice.
enum class LogEcho
{
    PassedOn,
    LogOnly
};

// Every message of the program's log categories written, with its time and category, to velmora.log in
// the folder (renamed to velmora.log.1 and on at 1 MiB, three kept) and passed on to Qt's own output as
// echo says; Qt's own messages are always passed on. Until removeLogFile().
void installLogFile(const QDir &folder, LogEcho echo = LogEcho::PassedOn);
void removeLogFile();

} // namespace velmora
