// The program's main window alone: the same program, libraries and window, built and shown on books
// that are not there (every read fails at once), and quit as the bare window does. What start-up
// costs beyond it is the program's own work on the books.
#include "core/desk/appointment_book.h"
#include "core/storage/background_reads.h"
#include "files/sqlite_storage.h"
#include "platform/system_platform.h"
#include "windows/book_windows.h"
#include "windows/main_window.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QTemporaryDir empty;
    const QString path = empty.path();
    velmora::SystemMessages messages;
    velmora::SystemClock clock;
    velmora::SystemPrinter printer;
    velmora::SystemBrowser browser;
    velmora::SystemProgress progress;
    const velmora::Platform platform{messages, clock, printer, browser, progress};
    velmora::SqliteStorage storage{QDir(path)};
    velmora::BackgroundReads reads([path] { return std::make_unique<velmora::SqliteStorage>(QDir(path)); });
    velmora::AppointmentBook book(storage, clock.today());
    velmora::BookWindows windows(platform, book, storage, reads, QDir(path), {});
    windows.main().showMaximized();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
