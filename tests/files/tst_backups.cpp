// The daily backups of the books: consistent while another program writes, compressed without the
// search index, kept by day, week and month, a failure said, and a backup put back.
#include "core/safekeeping/backup_days.h"
#include "core/safekeeping/desk_files.h"
#include "core/search/patient_query.h"
#include "core/storage/stored_bookings.h"
#include "files/appointment_store.h"
#include "files/backups.h"
#include "files/sqlite_storage.h"
#include "support/test_files.h"

#include <sys/stat.h>

#include <QProcess>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStorageInfo>

#include <unistd.h>

#include <atomic>
#include <thread>

using namespace velmora;
using velmora::testing::TestFiles;

namespace {

const QDate kToday(2027, 3, 1);

// A backup's compressed copy of a file, written out beside it for a look inside.
QString plainCopy(const QString &compressed)
{
    const QString plain = compressed.chopped(4) + QStringLiteral(".look");
    QString problem;
    if (!decompressFile(compressed, plain, &problem))
        qFatal("%s: %s", qPrintable(compressed), qPrintable(problem));
    return plain;
}

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
        QCOMPARE(QDir(files.path("backups/2027-03-01")).entryList({"*.mdb.zst"}, QDir::Files).size(), 12);
        const QString copy = plainCopy(files.path("backups/2027-03-01/bdm1.mdb.zst"));
        TestFiles backup(QFileInfo(copy).path());
        QCOMPARE(backup.exec("bdm1.mdb.look", "PRAGMA integrity_check").value(0).value(0).toString(),
                 QStringLiteral("ok"));
        QVERIFY(bookingsIn(copy) >= before);
        // What can be made again is left out.
        QCOMPARE(
            backup
                .exec("bdm1.mdb.look", "SELECT count(*) FROM sqlite_master WHERE name LIKE 'booking_search%'")
                .value(0)
                .value(0)
                .toInt(),
            0);
    }

    // The days kept when the newest was made: two weeks, then a day a week, then a day a month.
    void backupsAreKeptByDayWeekAndMonth_data()
    {
        QTest::addColumn<int>("daysBack");
        QTest::addColumn<bool>("kept");
        QTest::newRow("today") << 0 << true;
        QTest::newRow("13 days back") << 13 << true;
        QTest::newRow("14 days back, newest of its week") << 14 << true;
        QTest::newRow("15 days back, an older day of that week") << 15 << false;
        QTest::newRow("21 days back, newest of the next week") << 21 << true;
        QTest::newRow("63 days back, newest of the 8th week") << 63 << true;
        QTest::newRow("69 days back, oldest of the 8th week") << 69 << false;
        QTest::newRow("70 days back, newest of its month") << 70 << true;
        QTest::newRow("71 days back, same month") << 71 << false;
        QTest::newRow("31 January 2026, newest of the 12th month") << 394 << true;
        QTest::newRow("31 December 2025, the 13th month") << 425 << false;
    }
    void backupsAreKeptByDayWeekAndMonth()
    {
        QFETCH(int, daysBack);
        // A backup every day for two years, the newest today.
        QList<QDate> days;
        for (int back = 800; back >= 0; --back)
            days << kToday.addDays(-back);
        const QList<QDate> kept = backupsKept(days, kToday);
        QTEST(kept.contains(kToday.addDays(-daysBack)), "kept");
        QCOMPARE(kept.size(), 14 + 8 + 12);
    }

    void dayBackupsAndTheirPlace()
    {
        TestFiles files;
        files.prepareCopies();
        QString problem;
        for (int day : {-15, -14, 0})
            QVERIFY2(backUpDay(files.folder(), kToday.addDays(day), &problem), qPrintable(problem));
        QCOMPARE(backupDays(files.folder()), (QList<QDate>{kToday.addDays(-14), kToday}));
        // A second start on the same day makes none again; with the clock set back, the day's
        // backup is the oldest, and still kept.
        QVERIFY(backUpDay(files.folder(), kToday, &problem));
        QVERIFY(backUpDay(files.folder(), kToday.addDays(-60), &problem));
        QVERIFY(backupDays(files.folder()).contains(kToday.addDays(-60)));
        // The copies are the user's alone, and so is the folder that holds them.
        const auto othersMay = [](const QString &path) {
            return QFile::permissions(path) &
                   (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
        };
        const QString day = files.path("backups/" + kToday.toString("yyyy-MM-dd"));
        QCOMPARE(othersMay(files.path("backups")), QFileDevice::Permissions());
        QCOMPARE(othersMay(day + "/bdm1.mdb.zst"), QFileDevice::Permissions());
        QString error;
        QVERIFY(saveWholeFile(files.path("list.csv"), "a;b\r\n", &error));
        QCOMPARE(othersMay(files.path("list.csv")), QFileDevice::Permissions());
        // A link or a pipe under a name the program writes (a list, a dump, a PDF) is never written
        // through nor waited for.
        QVERIFY(QFile::link(files.path("bdm1.mdb"), files.path("link.csv")));
        QCOMPARE(::mkfifo(QFile::encodeName(files.path("pipe.pdf")).constData(), 0600), 0);
        const QByteArray book = files.fingerprint("bdm1.mdb");
        QVERIFY(!saveWholeFile(files.path("link.csv"), "a;b\r\n", &error));
        QVERIFY(!makePrivateFile(files.path("link.csv"), &error));
        QVERIFY(!makePrivateFile(files.path("pipe.pdf"), &error));
        QVERIFY(!saveWholeFile(files.path("pipe.pdf"), "a;b\r\n", &error));
        QCOMPARE(files.fingerprint("bdm1.mdb"), book);
        QVERIFY(makePrivateFile(files.path("server.dump.part"), &error));
        QCOMPARE(othersMay(files.path("server.dump.part")), QFileDevice::Permissions());
    }

    // Links put in backups/ lead outside: what they lead to is never emptied, overwritten or copied in.
    void linksInTheBackupsAreNotFollowed()
    {
        TestFiles files;
        files.prepareCopies();
        QTemporaryDir elsewhere;
        TestFiles outside(elsewhere.path());
        outside.write("precious.txt", "keep me");
        QVERIFY(QDir().mkpath(files.path("backups")));
        QVERIFY(QFile::link(elsewhere.path(), files.path("backups/2027-03-01.partial")));
        QVERIFY(QFile::link(elsewhere.path(), files.path("backups/2027-02-01"))); // older than all
        QString problem;
        for (int day : {0, 4})
            QVERIFY2(backUpDay(files.folder(), kToday.addDays(day), &problem), qPrintable(problem));
        QCOMPARE(outside.fingerprint("precious.txt"),
                 QCryptographicHash::hash("keep me", QCryptographicHash::Sha256));
        QVERIFY(!backupDays(files.folder()).contains(QDate(2027, 2, 1)));

        // A file of a backup day that is a link is refused, and nothing is put back.
        const QString day = files.path("backups/2027-03-05/bdm2.mdb.zst");
        QVERIFY(QFile::remove(day));
        QVERIFY(QFile::link(outside.path("precious.txt"), day));
        QString report;
        QVERIFY(!restoreBackup(files.folder(), QDate(2027, 3, 5), &report, &problem));
        QVERIFY2(problem.contains("bdm2.mdb") && problem.contains("nothing in the folder was changed"),
                 qPrintable(problem));
    }

    // A restore puts back all of the day's files or none: a damaged file, a disk too full for the
    // copies, and a crash in the middle (finished at the next start).
    void aRestoreIsAllOrNothing()
    {
        TestFiles files;
        files.prepareCopies();
        files.addAppointment(1, kToday, "08:00", "In The Backup");
        QString problem;
        QVERIFY(backUpDay(files.folder(), kToday, &problem));
        files.addAppointment(1, kToday, "09:00", "Today's");
        files.write("bdm1.mdb-journal", "a change a crash left unfinished");
        const auto fingerprints = [&files] {
            QList<QByteArray> all;
            for (const QString &name : allFileNames())
                all << files.fingerprint(name);
            return all;
        };
        const QList<QByteArray> before = fingerprints();

        TestFiles backup(files.path("backups/2027-03-01"));
        QVERIFY(QFile::rename(backup.path("bdm2.mdb.zst"), backup.path("bdm2.mdb.good")));
        backup.write("bdm2.mdb.zst", QByteArray(4096, 'x'));
        QString report;
        QVERIFY(!restoreBackup(files.folder(), kToday, &report, &problem));
        QVERIFY2(problem.contains("bdm2.mdb"), qPrintable(problem));
        QCOMPARE(fingerprints(), before);
        QCOMPARE(QDir(files.path("backups")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"2027-03-01"});
        QFile::remove(backup.path("bdm2.mdb.zst"));
        QFile::rename(backup.path("bdm2.mdb.good"), backup.path("bdm2.mdb.zst"));

        // The restore's copies do not fit on the disk: nothing changes.
        if (::geteuid() == 0) {
            QTemporaryDir small;
            QVERIFY(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", small.path()}) == 0);
            const auto unmount = qScopeGuard([&small] { QProcess::execute("umount", {small.path()}); });
            TestFiles full(small.path());
            for (const QString &name : QDir(files.path({})).entryList(QDir::Files))
                QVERIFY(QFile::copy(files.path(name), full.path(name)));
            QVERIFY(QDir(small.path()).mkpath("backups/2027-03-01"));
            for (const QString &name : allFileNames())
                QVERIFY(QFile::copy(backup.path(name + ".zst"),
                                    full.path("backups/2027-03-01/" + name + ".zst")));
            const qint64 free = QStorageInfo(small.path()).bytesAvailable();
            full.write("filler", QByteArray(free - 2 * QFileInfo(full.path("bdm1.mdb")).size(), 'f'));
            QVERIFY(!restoreBackup(full.folder(), kToday, &report, &problem));
            QVERIFY2(problem.contains("nothing in the folder was changed"), qPrintable(problem));
            for (int i = 0; i < allFileNames().size(); ++i)
                QCOMPARE(full.fingerprint(allFileNames().at(i)), before.at(i));
        }

        // A crash after the copies were made, with one book swapped and the rest not: the next start
        // finishes it.
        QVERIFY2(restoreBackup(files.folder(), kToday, &report, &problem), qPrintable(problem));
        const QString aside = QDir(files.path("backups")).entryList({"replaced-*"}, QDir::Dirs).value(0);
        QCOMPARE(TestFiles(files.path("backups/" + aside)).fingerprint("bdm1.mdb-journal"),
                 QCryptographicHash::hash("a change a crash left unfinished", QCryptographicHash::Sha256));
        QCOMPARE(files.appointments(1), QStringList{"2027-03-01|08:00|In The Backup|||"});
        QVERIFY(QDir(files.path("backups")).mkpath("restoring-x/"));
        QVERIFY(QDir(files.path("backups")).mkpath("replaced-x/"));
        QVERIFY(QFile::rename(files.path("bdm1.mdb"), files.path("backups/replaced-x/bdm1.mdb")));
        QVERIFY(decompressFile(backup.path("bdm1.mdb.zst"), files.path("bdm1.mdb"), &problem));
        QVERIFY(QFile::rename(files.path("bdm3.mdb"), files.path("backups/replaced-x/bdm3.mdb")));
        QVERIFY(decompressFile(backup.path("bdm3.mdb.zst"), files.path("backups/restoring-x/bdm3.mdb"),
                               &problem));
        const QByteArray prepared = files.fingerprint("backups/restoring-x/bdm3.mdb");
        files.write("backups/restore-in-progress", "restoring-x\nreplaced-x\n");
        QVERIFY(finishInterruptedRestore(files.folder()).contains("finished"));
        QCOMPARE(files.fingerprint("bdm3.mdb"), prepared);
        QVERIFY(!QFileInfo::exists(files.path("backups/restore-in-progress")));
        QCOMPARE(finishInterruptedRestore(files.folder()), QString());
        QCOMPARE(prepareFiles(files.folder()), QStringList{});
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
        // The search index the backup left out is made again, and finds what the backup holds.
        QVERIFY(report.contains(QStringLiteral("search index")));
        SqliteStorage storage(files.folder());
        QVERIFY(storage.bringSearchUpToDate([](qint64, qint64) { return true; }));
        QVector<FoundBooking> found;
        QVERIFY(storage.findBookings(patientQuery(QStringLiteral("kept by")), &found, &error));
        QCOMPARE(found.size(), 1);
    }
};

QTEST_GUILESS_MAIN(BackupsTest)
#include "tst_backups.moc"
