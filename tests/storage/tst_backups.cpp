// The daily backups of the books: consistent while another program writes, thirty kept, a failure
// said, and a backup put back.
#include "storage/appointment_store.h"
#include "storage/backups.h"
#include "support/test_files.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <atomic>
#include <thread>

using namespace velmora;
using velmora::testing::TestFiles;

namespace {

const QDate kToday(2027, 3, 1);

int bookingsIn(const QString &path)
{
    TestFiles files(QFileInfo(path).path());
    return static_cast<int>(
        files.exec(QFileInfo(path).fileName(), "SELECT count(*) FROM dados").value(0).value(0).toInt());
}

} // namespace

class BackupsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Another connection books all along: the copy is a whole database with every booking committed
    // before it began.
    void backupWhileAnotherProgramWrites()
    {
        TestFiles files;
        files.prepareCopies();
        std::atomic<int> committed{0};
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            {
                QSqlDatabase db =
                    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
                db.setDatabaseName(files.path("bdm1.mdb"));
                db.open();
                QSqlQuery query(db);
                query.exec(QStringLiteral("PRAGMA busy_timeout = 5000"));
                while (!stop) {
                    if (query.exec(
                            QStringLiteral("INSERT INTO dados (data, nome) VALUES ('2027-03-01', 'Writer')")))
                        ++committed;
                    std::this_thread::sleep_for(std::chrono::milliseconds(2)); // a busy desk, not a flood
                }
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        });
        while (committed < 50)
            std::this_thread::yield();
        const int before = committed;
        QString problem;
        const bool made = backUpDay(files.folder(), kToday, &problem);
        stop = true;
        writer.join();
        QVERIFY2(made, qPrintable(problem));
        const QString copy = files.path("backups/2027-03-01/bdm1.mdb");
        TestFiles backup(QFileInfo(copy).path());
        QCOMPARE(backup.exec("bdm1.mdb", "PRAGMA integrity_check").value(0).value(0).toString(),
                 QStringLiteral("ok"));
        QVERIFY(bookingsIn(copy) >= before);
        QCOMPARE(QDir(files.path("backups/2027-03-01")).entryList(QDir::Files).size(), 12);
    }

    void thirtyDaysAreKept()
    {
        TestFiles files;
        files.prepareCopies();
        QString problem;
        for (int day = 0; day < 31; ++day)
            QVERIFY2(backUpDay(files.folder(), kToday.addDays(day), &problem), qPrintable(problem));
        const QList<QDate> kept = backupDays(files.folder());
        QCOMPARE(kept.size(), kBackupsKept);
        QCOMPARE(kept.first(), kToday.addDays(1)); // the 31st removed the oldest
        // A second start on the same day makes none again.
        QVERIFY(backUpDay(files.folder(), kToday.addDays(30), &problem));
        QCOMPARE(backupDays(files.folder()).size(), kBackupsKept);
    }

    void aBackupThatCannotBeMadeIsSaid()
    {
        TestFiles files;
        files.prepareCopies();
        files.write("backups", "a file where the folder should be");
        QString problem;
        QVERIFY(!backUpDay(files.folder(), kToday, &problem));
        QVERIFY2(problem.contains(QStringLiteral("backups")), qPrintable(problem));
    }

    void aBackupIsPutBack()
    {
        TestFiles files;
        files.prepareCopies();
        files.addAppointment(1, kToday, "08:00", "Kept By The Backup");
        QString problem;
        QVERIFY(backUpDay(files.folder(), kToday, &problem));
        files.addAppointment(1, kToday, "09:00", "After The Backup");
        QString report;
        QString error;
        QVERIFY(!restoreBackup(files.folder(), kToday.addDays(-1), &report, &error));
        QVERIFY2(error.contains(QStringLiteral("2027-03-01")), qPrintable(error));
        QVERIFY2(restoreBackup(files.folder(), kToday, &report, &error), qPrintable(error));
        QVERIFY(report.contains(QStringLiteral("2027-03-01")) &&
                report.contains(QStringLiteral("replaced-")));
        QCOMPARE(files.appointments(1), QStringList{"2027-03-01|08:00|Kept By The Backup|||"});
        const QString aside = QDir(files.path("backups")).entryList({"replaced-*"}, QDir::Dirs).value(0);
        QCOMPARE(bookingsIn(files.path("backups/" + aside + "/bdm1.mdb")), 2);
        QCOMPARE(prepareFiles(files.folder()), QStringList{});
    }
};

QTEST_GUILESS_MAIN(BackupsTest)
#include "tst_backups.moc"
