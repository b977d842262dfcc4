#include "support/fault_vfs.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>

namespace velmora::testing::FaultVfs {

namespace {

struct FaultFile
{
    sqlite3_file base;
    sqlite3_file *real;
};

sqlite3_vfs *realVfs = nullptr;
sqlite3_vfs faultVfs;
sqlite3_io_methods faultMethods;

bool armed = false;
bool persistentFault = false;
int passingLeft = 0;
int faultError = SQLITE_IOERR;
int injectedCount = 0;

sqlite3_file *real(sqlite3_file *file)
{
    return reinterpret_cast<FaultFile *>(file)->real;
}

// Whether this write operation is to fail.
bool failNow()
{
    if (!armed)
        return false;
    if (passingLeft > 0) {
        --passingLeft;
        return false;
    }
    ++injectedCount;
    if (!persistentFault)
        armed = false;
    return true;
}

int faultClose(sqlite3_file *file)
{
    sqlite3_file *inner = real(file);
    return inner->pMethods ? inner->pMethods->xClose(inner) : SQLITE_OK;
}
int faultRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}
int faultWrite(sqlite3_file *file, const void *buffer, int amount, sqlite3_int64 offset)
{
    if (failNow())
        return faultError == SQLITE_FULL ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}
int faultTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    if (failNow())
        return SQLITE_IOERR_TRUNCATE;
    return real(file)->pMethods->xTruncate(real(file), size);
}
int faultSync(sqlite3_file *file, int flags)
{
    if (failNow())
        return SQLITE_IOERR_FSYNC;
    return real(file)->pMethods->xSync(real(file), flags);
}
int faultFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    return real(file)->pMethods->xFileSize(real(file), size);
}
int faultLock(sqlite3_file *file, int lock)
{
    return real(file)->pMethods->xLock(real(file), lock);
}
int faultUnlock(sqlite3_file *file, int lock)
{
    return real(file)->pMethods->xUnlock(real(file), lock);
}
int faultCheckReservedLock(sqlite3_file *file, int *out)
{
    return real(file)->pMethods->xCheckReservedLock(real(file), out);
}
int faultFileControl(sqlite3_file *file, int op, void *argument)
{
    return real(file)->pMethods->xFileControl(real(file), op, argument);
}
int faultSectorSize(sqlite3_file *file)
{
    return real(file)->pMethods->xSectorSize(real(file));
}
int faultDeviceCharacteristics(sqlite3_file *file)
{
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}

// A journal that cannot be removed: a commit of several files (the linked booking) is made once their
// tying journal is removed, so the removal of the files' own journals may fail after it.
int faultDelete(sqlite3_vfs *, const char *name, int syncDirectory)
{
    if (failNow())
        return SQLITE_IOERR_DELETE;
    return realVfs->xDelete(realVfs, name, syncDirectory);
}

int faultOpen(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    auto *wrapper = reinterpret_cast<FaultFile *>(file);
    wrapper->real = reinterpret_cast<sqlite3_file *>(wrapper + 1);
    std::memset(wrapper->real, 0, static_cast<size_t>(realVfs->szOsFile));
    const int rc = realVfs->xOpen(realVfs, name, wrapper->real, flags, outFlags);
    // SQLite calls xClose only when pMethods is set.
    wrapper->base.pMethods = wrapper->real->pMethods ? &faultMethods : nullptr;
    return rc;
}

} // namespace

void install()
{
    if (realVfs)
        return;
    realVfs = sqlite3_vfs_find(nullptr);
    faultVfs = *realVfs;
    faultVfs.iVersion = realVfs->iVersion;
    faultVfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + realVfs->szOsFile;
    faultVfs.zName = "velmora-fault";
    faultVfs.pNext = nullptr;
    faultVfs.xOpen = faultOpen;
    faultVfs.xDelete = faultDelete;

    std::memset(&faultMethods, 0, sizeof faultMethods);
    faultMethods.iVersion = 1; // no shared memory or mapping: the files keep a rollback journal
    faultMethods.xClose = faultClose;
    faultMethods.xRead = faultRead;
    faultMethods.xWrite = faultWrite;
    faultMethods.xTruncate = faultTruncate;
    faultMethods.xSync = faultSync;
    faultMethods.xFileSize = faultFileSize;
    faultMethods.xLock = faultLock;
    faultMethods.xUnlock = faultUnlock;
    faultMethods.xCheckReservedLock = faultCheckReservedLock;
    faultMethods.xFileControl = faultFileControl;
    faultMethods.xSectorSize = faultSectorSize;
    faultMethods.xDeviceCharacteristics = faultDeviceCharacteristics;
    if (sqlite3_vfs_register(&faultVfs, 1) != SQLITE_OK)
        std::abort();
}

void arm(int passing, int error, bool persistent)
{
    passingLeft = passing;
    faultError = error;
    persistentFault = persistent;
    injectedCount = 0;
    armed = true;
}

void disarm()
{
    armed = false;
}

int injected()
{
    return injectedCount;
}

} // namespace velmora::testing::FaultVfs
