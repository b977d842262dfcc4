#pragma once

#include "core/desk/appointment_book.h"
#include "core/storage/background_reads.h"
#include "core/storage/book_storage.h"
#include "platform/folder_lock.h"
#include "server/server_backup.h"
#include "windows/book_windows.h"

#include <QDir>
#include <QTextStream>
#include <QThread>

#include <memory>

namespace velmora {

// The start's own questions and messages, each written to the log with the answer given: they
// name files, folders and servers, never a patient.
class LoggedMessages : public MessageService
{
public:
    explicit LoggedMessages(MessageService &shown) : shown_(shown) {}
    void inform(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text, const QString &yes, const QString &no,
             Default answer = Default::Yes) override;
    QString saveFileName(QWidget *parent, const QString &startPath, const QString &filter) override
    {
        return shown_.saveFileName(parent, startPath, filter);
    }

private:
    MessageService &shown_;
};

// The program as it starts on a data folder: the folder claimed for this copy of the program, its
// files checked (and created on a first start), the book on them and its windows, not yet shown.
class VelmoraApp
{
public:
    // readerPath: the reader of the older program's files; by default the one beside the program.
    // server: the PostgreSQL server holding the books instead of the folder's files, or the empty text.
    VelmoraApp(const Platform &platform, const QDir &folder, const QString &readerPath = defaultReaderPath(),
               const QString &server = {});

    // False, after saying why, when the program must end: another copy has the folder open (nothing in
    // the folder is touched then), or the server holds a database that is not Velmora's.
    bool start();

    MainWindow &window() { return windows_->main(); }
    AppointmentBook &book() { return *book_; }

    static constexpr const char *kLockFileName = FolderLock::kFileName;
    static QString defaultReaderPath();

private:
    void offerImport();
    QStringList prepareFolder();
    // The storage on the folder's files, after the import offer, the checks and the day's backup; one
    // line per file that cannot be used.
    // An unencrypted connection the address asks for, said in the log and the window's title.
    void sayWhenUnencrypted();
    QStringList openFolder();
    // The storage on the server; false when its database is not Velmora's.
    bool connectServer();

    Platform platform_;
    LoggedMessages startMessages_;
    QDir folder_;
    QString readerPath_;
    QString server_;
    FolderLock lock_;
    std::unique_ptr<BookStorage> storage_;
    std::unique_ptr<BackgroundReads> reads_;
    std::unique_ptr<AppointmentBook> book_;
    std::unique_ptr<BookWindows> windows_;
    std::unique_ptr<ServerBackup> serverBackup_; // the day's copy of the server's books, if due
    // The search indexes and the day's copy of the folder's books, made beside the window; the program
    // ends after the copy, leaving indexes not yet made to the next start or search.
    struct JoinedThread
    {
        void operator()(QThread *thread) const
        {
            thread->requestInterruption();
            thread->wait();
            delete thread;
        }
    };
    QObject backupSaid_; // where the copy's failure is said, on the window's thread; outlives backup_
    std::unique_ptr<QThread, JoinedThread> backup_;
};

// "velmora --import-legacy" in a clinic's folder: imports the older program's files without a
// window or a question and prints the summary. When the books are kept on a server (server, or the
// one velmora.ini names), the imported books then go onto it in one transaction; the folder keeps them
// too. Exit code 0 when every old file was imported (and copied), 1 when one could not be or the folder
// is in use, 2 when there was nothing to import.
int importFromCommandLine(const QDir &folder, const QString &readerPath, QTextStream &out,
                          const QString &server = {});

// "velmora --restore-backup YYYY-MM-DD", with the program closed: puts that day's backup back and
// says what it did. 0 when done, 1 when the program is open on the folder or the backup could not be
// put back, 2 when there is no backup of that day.
// With a server (named or in velmora.ini), that day's copy of the server's books goes back into its
// database, which must be empty.
int restoreFromCommandLine(const QDir &folder, const QString &day, QTextStream &out,
                           const QString &server = {});

// "velmora --report FROM TO [--csv FILE]": the figures of the period, every doctor, as a spreadsheet's
// text on out or into the file; 0 when done, 2 otherwise (why on err).
int reportFromCommandLine(const QDir &folder, const QString &server, QDate from, QDate to,
                          const QString &csvFile, QTextStream &out, QTextStream &err, bool force = false);

// "velmora --calendar YEAR": the year's calendar as tab-separated lines. 0 when done, 2 when the
// calendar cannot be read.
int calendarFromCommandLine(const QDir &folder, const QString &server, int year, QTextStream &out,
                            QTextStream &err);

// "velmora --day DAY [--doctor K]": the clinic's day as tab-separated lines, for one doctor's slot or
// every named doctor (0); a book that cannot be read is said on err and listed as unavailable. 0 when
// done, 2 when the books cannot be reached.
int dayFromCommandLine(const QDir &folder, const QString &server, QDate date, int doctor, QTextStream &out,
                       QTextStream &err);

// "velmora --server-setup URL", as the database's owner: the books made if absent and the desks' role
// given its rights; prints how to add a person. 0 when done, 1 otherwise (why on err).
int serverSetupFromCommandLine(const QString &url, QTextStream &out, QTextStream &err);

// "velmora --find TEXT": every booking the text finds, one a line, upcoming first (see the option's
// help). 0 when something was found, 1 when nothing was, 2 on an error or a text too short, said on err.
// The patients the text may be and every appointment of each, printed for --patient; only reads.
int patientFromCommandLine(const QDir &folder, const QString &server, const QString &text, QDate today,
                           QTextStream &out, QTextStream &err);
int findFromCommandLine(const QDir &folder, const QString &server, const QString &text, QDate today,
                        QTextStream &out, QTextStream &err);

// "velmora --copy-to-server URL" and "--copy-from-server URL": the folder's books onto an empty server,
// or the server's into a folder without them, printing what was copied. 0 when done, 1 otherwise.
int copyToServerFromCommandLine(const QDir &folder, const QString &url, QTextStream &out);
int copyFromServerFromCommandLine(const QString &url, const QDir &folder, QTextStream &out);

} // namespace velmora
