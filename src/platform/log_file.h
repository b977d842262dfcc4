#pragma once

#include <QDir>

namespace velmora {

// Every message of the program's log categories written, with its time and category, to velmora.log in
// the folder (renamed to velmora.log.1 and on at 1 MiB, three kept) and passed on to Qt's own output,
// which a desktop session sends to the system's journal. Until removeLogFile().
void installLogFile(const QDir &folder);
void removeLogFile();

} // namespace velmora
