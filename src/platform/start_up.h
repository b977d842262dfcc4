#pragma once

#include "core/appointment_book.h"
#include "storage/sqlite_storage.h"
#include "windows/book_windows.h"

#include <QDir>
#include <QLockFile>

#include <memory>

namespace velmora {

// The program as it starts on a data folder: the folder claimed for this copy of the program, its
// files checked (and created on a first start), the book on them and its windows, not yet shown.
class VelmoraApp
{
public:
    VelmoraApp(const Platform &platform, const QDir &folder);

    // False, after saying why, when the program must end: another copy has the folder open. Nothing
    // in the folder is touched then.
    bool start();

    MainWindow &window() { return windows_->main(); }
    AppointmentBook &book() { return *book_; }

    static constexpr const char *kLockFileName = "velmora.lock";

private:
    QStringList prepareFolder();

    Platform platform_;
    QDir folder_;
    QLockFile lock_;
    std::unique_ptr<SqliteStorage> storage_;
    std::unique_ptr<AppointmentBook> book_;
    std::unique_ptr<BookWindows> windows_;
};

} // namespace velmora
