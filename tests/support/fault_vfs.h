#pragma once

namespace velmora::testing {

// An SQLite file system that passes everything to the real one, but can make the writes, syncs and
// truncations of files fail, as a failing disk does. Installed as the default, so the program's own
// connections opened afterwards go through it.
namespace FaultVfs {

void install();

// Lets `passing` more write operations through, then fails the next one with `error` (for example
// SQLITE_IOERR_WRITE or SQLITE_FULL); with `persistent` every later one fails too.
void arm(int passing, int error, bool persistent);
void disarm();

// Failures made since the last arm.
int injected();

} // namespace FaultVfs

} // namespace velmora::testing
