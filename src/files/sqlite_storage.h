#pragma once

#include "core/storage/book_storage.h"
#include "files/appointment_store.h"
#include "files/database.h"
#include "files/settings_store.h"

#include <QDir>

#include <functional>
#include <memory>
#include <vector>

namespace velmora {

// The books and settings in the twelve SQLite files of a folder, through the three named connections
// the program has always used: Data1 on the open book, Data2 and Data22 on the two settings files.
class SqliteStorage : public BookStorage
{
public:
    // lockWaitMs: how long a file another program holds locked is waited for.
    explicit SqliteStorage(const QDir &folder, int lockWaitMs = kLockWaitMs,
                           FileAccess access = FileAccess::ReadWrite);

    // The operations every engine implements.
#include "core/storage/engine_operations.inc"
    // Every book's search index brought up to date, as at the start: those another tool wrote since are
    // made again. progress(done, all) is told the bookings indexed so far, and answers false to stop
    // (false is returned then); books that cannot be indexed now are indexed at their next search.
    bool bringSearchUpToDate(const std::function<bool(qint64 done, qint64 all)> &progress);

private:
    FileAccess access_;
    // Whether the book's search index holds every booking, after making it afresh when it was missing
    // or another tool wrote the book since; false when it cannot be made now.
    static bool indexUpToDate(Connection &book, const std::function<bool(qint64 rows)> &indexed = {});
    // Whether the book's search index can be searched as it is: its parts there and its state up to
    // date, and with Recount, as many entries as the book up to the same identity.
    enum class IndexCheck
    {
        State,
        Recount
    };
    static bool indexIsCurrent(Connection &book, IndexCheck check);
    // Whether the search book's index is searchable, asked of the book only when the file changed since
    // it last was: a search asks it of every book.
    bool searchable(size_t book);
    // Data1 on the slot's book, kept open while the calls are for the same one.
    void useBook(int slot);

    QDir folder_;
    Connection data1_;
    Connection data2_;
    Connection data22_;
    // One to each book for the searches, leaving Data1 on the doctor's: kept open between searches, and
    // opened again (checked as at start) only when the file there is no longer the one opened.
    std::vector<std::unique_ptr<Connection>> searchBooks_;
    // Each search book's opening and the file's version when its index was last found searchable.
    struct IndexSeen
    {
        quint64 opening = 0;
        qint64 version = -1;
    };
    std::vector<IndexSeen> indexSeen_;
    SettingsStore settings_;
    AppointmentStore appointments_;
};

} // namespace velmora
