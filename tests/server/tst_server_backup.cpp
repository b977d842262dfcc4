// The server's daily backup: made once a day by the first desk, put back whole into an empty database,
// and every fault said.
#include "server/server_backup.h"
#include "server/server_schema.h"
#include "server/server_storage.h"
#include "support/test_server.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::testing;

namespace {

const QDate kToday(2027, 3, 1);

// How a backup ended: made, and the problem said.
std::pair<bool, QString> backUp(const QString &url, const QDir &folder, const QString &pgDump = {})
{
    ServerBackup backup(url, folder, kToday, pgDump);
    QSignalSpy finished(&backup, &ServerBackup::finished);
    backup.start();
    if (finished.isEmpty() && !finished.wait(60000))
        qFatal("the backup never ended");
    return {finished.first().at(0).toBool(), finished.first().at(1).toString()};
}

// Every row of the books, their statuses and history and the settings, in order.
QStringList everything(const TestDatabase &database)
{
    QStringList rows;
    for (const QString &table : {QStringLiteral("bdm1.dados"), QStringLiteral("bdm1.booking_status"),
                                 QStringLiteral("bdm1.booking_history"), QStringLiteral("bdm2.dados"),
                                 QStringLiteral("public.profs")})
        rows << database.exec(
            QStringLiteral("SELECT string_agg(t::text, '|' ORDER BY t::text) FROM %1 t").arg(table));
    return rows;
}

} // namespace

class ServerBackupTest : public QObject
{
    Q_OBJECT

    QTemporaryDir tools;

private Q_SLOTS:
    void initTestCase()
    {
        if (testServer().isEmpty())
            QFAIL("VELMORA_TEST_SERVER names no server: run the tests through scripts/test.sh");
        // pg_dump refused by the server, started by a wrapper on a computer without the user's locale.
        QFile refused(tools.filePath("refused_dump"));
        QVERIFY(refused.open(QIODevice::WriteOnly));
        refused.write("#!/bin/sh\n"
                      "echo 'perl: warning: Setting locale failed.' >&2\n"
                      "printf '\\tLC_ALL = (unset),\\n    are supported and installed.\\n' >&2\n"
                      "echo 'pg_dump: error: query failed: ERROR:  permission denied for sequence "
                      "booking_history_seq_seq' >&2\n"
                      "echo \"pg_dump: detail: LC_ALL=$LC_ALL\" >&2\n"
                      "exit 1\n");
        refused.close();
        QVERIFY(refused.setPermissions(refused.permissions() | QFile::ExeOwner));
    }

    void madeOnceADayAndPutBackWhole()
    {
        TestDatabase clinic;
        ServerStorage desk(clinic.url());
        QString error;
        QVERIFY(desk.prepare(&error));
        Appointment booking;
        booking.date = kToday;
        booking.hora = QStringLiteral("08:00");
        booking.nome = QStringLiteral("Conceição D'Ávila");
        QCOMPARE(desk.add(1, booking, 2, &error).outcome, AddOutcome::Stored);
        QVector<Appointment> day;
        QVERIFY(desk.readDay(1, kToday, &day, &error));
        QCOMPARE(desk.setStatus(1, day.first(), BookingStatus::Confirmed, &error), WriteOutcome::Done);

        QTemporaryDir folder;
        QCOMPARE(backUp(clinic.url(), QDir(folder.path())), std::make_pair(true, QString()));
        const QString made = folder.filePath(QStringLiteral("backups/") + ServerBackup::fileName(kToday));
        QVERIFY(QFileInfo(made).size() > 0);
        // The second desk of the day finds it made.
        QTemporaryDir other;
        QCOMPARE(backUp(clinic.url(), QDir(other.path())), std::make_pair(false, QString()));
        QVERIFY(!QFile::exists(other.filePath(QStringLiteral("backups/") + ServerBackup::fileName(kToday))));

        TestDatabase restored;
        QString report;
        QVERIFY2(restoreServerBackup(restored.url(), made, &report, &error), qPrintable(error));
        QVERIFY(report.contains("--server-setup"));
        QCOMPARE(everything(restored), everything(clinic));
        // Only into an empty database.
        QVERIFY(!restoreServerBackup(clinic.url(), made, &report, &error));
        QVERIFY2(error.contains("not empty"), qPrintable(error));
    }

    void faultsAreSaid_data()
    {
        QTest::addColumn<QString>("pgDump");
        QTest::addColumn<bool>("folderIsAFile");
        QTest::addColumn<QString>("said");
        QTest::newRow("no pg_dump") << "/nonexistent/pg_dump" << false << "is not installed";
        QTest::newRow("pg_dump failing") << "/bin/false" << false << "pg_dump failed";
        // Its error lines, not the wrapper's locale warnings before them; the tool runs in the C locale.
        QTest::newRow("pg_dump's own lines")
            << tools.filePath("refused_dump") << false
            << "pg_dump failed: your login lacks the right to this; the clinic's "
               "IT person gives a desk's rights with velmora --server-setup "
               "(pg_dump: error: query failed: ERROR:  permission denied for "
               "sequence booking_history_seq_seq pg_dump: detail: LC_ALL=C)";
        QTest::newRow("backups not writable") << "" << true << "cannot be made";
    }
    void faultsAreSaid()
    {
        QFETCH(QString, pgDump);
        QFETCH(bool, folderIsAFile);
        QFETCH(QString, said);
        TestDatabase clinic;
        QString error;
        QVERIFY(ServerStorage(clinic.url()).prepare(&error));
        QTemporaryDir folder;
        if (folderIsAFile) {
            QFile file(folder.filePath(QStringLiteral("backups")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const auto [made, problem] = backUp(clinic.url(), QDir(folder.path()), pgDump);
        QVERIFY(!made);
        QVERIFY2(problem.contains(said), qPrintable(problem));
        // Nothing recorded: the next start tries again.
        QCOMPARE(clinic.exec(QStringLiteral("SELECT count(*) FROM public.velmora_backups")),
                 QStringList{"0"});
    }
};

QTEST_GUILESS_MAIN(ServerBackupTest)
#include "tst_server_backup.moc"
