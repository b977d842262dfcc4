#pragma once

#include "core/storage/book_storage.h"

#include <QDir>

#include <vector>

#include <future>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

class RowTexts;

// Whole books and settings files of a folder written for an import or a copy: each built beside its
// place under the name "<file>.import", with neither journal nor syncs while it is built, and put in
// its place, synced, by finish(). What is not finished is removed; a crash leaves the files as they
// were (and a "<file>.import" that the next fill removes).
class FileFill : public StorageFill
{
public:
    explicit FileFill(const QDir &folder);
    ~FileFill() override;
    FileFill(const FileFill &) = delete;
    FileFill &operator=(const FileFill &) = delete;

    // The operations every engine implements.
#include "core/storage/fill_operations.inc"

private:
    // The settings file writeSettings built opened, for what is kept beside the record.
    bool openMainSettings(QString *error);
    struct Built
    {
        QString fileName;
        QString path;         // where it is built
        qint64 appended = -1; // the bookings given; -1 for a settings file
    };
    // Opened on the file being built, in one transaction; the statements prepared as needed.
    bool open(const QString &path, QString *error);
    bool run(const char *statement, QString *error);
    bool prepare(sqlite3_stmt **statement, const QString &text, QString *error);
    bool step(sqlite3_stmt *statement, QString *error);
    bool keepsStatuses(QString *error); // the tables of statuses and history made
    bool flushPending(QString *error);
    // The book being built completed: its index made, its rows counted, committed and closed, while
    // the fill goes on; booksClosed() waits for all, false with the first failure.
    bool closeBook(QString *error);
    bool booksClosed(QString *error);
    void close();
    QString failed(QString *error) const;

    QDir folder_;
    std::unique_ptr<RowTexts> texts_;
    std::vector<Built> built_;
    std::vector<std::future<QString>> closing_;
    sqlite3 *db_ = nullptr;
    sqlite3_stmt *insert_ = nullptr;
    sqlite3_stmt *insertWithId_ = nullptr;
    sqlite3_stmt *insertMany_ = nullptr;
    static constexpr size_t kRowsAStatement = 64;
    std::vector<Appointment> pending_; // appended, not yet inserted
    sqlite3_stmt *status_ = nullptr;
    sqlite3_stmt *series_ = nullptr;
    sqlite3_stmt *history_ = nullptr;
    bool statuses_ = false;
};

} // namespace velmora
