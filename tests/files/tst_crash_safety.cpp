#include "files/appointment_store.h"
#include "files/settings_store.h"
#include "support/killed_worker.h"
#include "support/test_files.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>

#include <csignal>

using namespace velmora;
using velmora::testing::completeLines;
using velmora::testing::killedAfter;
using velmora::testing::TestFiles;

namespace {

QString worker()
{
    return QStringLiteral(STORAGE_WORKER);
}

// The names the program lists on the crash test's day, read as the program reads them.
QSet<QString> namesIn(const TestFiles &files, int slot)
{
    Connection connection(QStringLiteral("Data1"), files.folder());
    QString error;
    QVector<Appointment> day;
    AppointmentStore store(connection);
    if (!connection.pointAt(QString::fromLatin1(doctorSlot(slot).appointmentFile), &error) ||
        !store.readDay(QDate(2027, 3, 1), &day, &error))
        qFatal("slot %d cannot be listed: %s", slot, qPrintable(error));
    QSet<QString> names;
    for (const Appointment &booking : std::as_const(day))
        names << booking.nome;
    return names;
}

int hotJournals(const TestFiles &files)
{
    int count = 0;
    for (const QString &name : allFileNames())
        count += QFileInfo(files.path(name + QStringLiteral("-journal"))).size() > 0 ? 1 : 0;
    return count;
}

QString integrity(const TestFiles &files, const QString &name)
{
    return files.exec(name, QStringLiteral("PRAGMA integrity_check")).value(0).value(0).toString();
}

} // namespace

class CrashSafetyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A process that books, changes and removes is killed at random moments; after every kill each
    // file is whole, every commit it reported is there, and no linked booking is stored only once.
    void killedAtRandomMoments()
    {
        TestFiles files;
        QCOMPARE(files.prepare(), QStringList{});
        // Another tool left the linked book in write-ahead-log mode: the pair must still be atomic.
        files.exec("bdm3.mdb", "PRAGMA journal_mode = WAL");
        QRandomGenerator random(20261207);
        int leftHot = 0;
        QSet<QString> linked, plain, changed, removed;
        // The last booking a run reported may have been removed by a commit the kill left unreported.
        QSet<QString> maybeRemoved;
        constexpr int kKills = 60;
        int commitsReported = 0;
        for (int run = 0; run < kKills; ++run) {
            // Killed after a random number of reported commits, in the middle of the next one.
            const std::optional<QByteArray> output =
                killedAfter({"crash", files.folder().path(), QString::number(run)},
                            static_cast<int>(random.bounded(1, 40)));
            QVERIFY(output);

            const QList<QByteArray> lines = output->split('\n');
            for (int i = 0; i + 1 < lines.size(); ++i) { // the last piece may be cut short
                const QString line = QString::fromUtf8(lines.at(i));
                const QString name = line.mid(2);
                if (i + 2 == lines.size())
                    maybeRemoved << name;
                ++commitsReported;
                switch (line.at(0).toLatin1()) {
                case 'L':
                    linked << name;
                    break;
                case 'U':
                    plain << name;
                    break;
                case 'C':
                    changed << name;
                    break;
                case 'R':
                    removed << name;
                    break;
                default:
                    QFAIL(qPrintable(line));
                }
            }

            // The next start, as the user makes it: every file is used, none refused, whatever
            // unfinished change a journal holds is rolled back, and no tying journal is left over.
            leftHot += hotJournals(files);
            QCOMPARE(files.prepare(), QStringList{});
            QCOMPARE(files.folder().entryList({"*-mj*"}, QDir::Files | QDir::Hidden), QStringList{});
            for (const QString &name : allFileNames())
                QCOMPARE(integrity(files, name), QStringLiteral("ok"));
            const QSet<QString> own = namesIn(files, 1);
            const QSet<QString> copies = namesIn(files, 3);
            for (const QString &name : std::as_const(linked)) {
                QVERIFY2(own.contains(name), qPrintable(name));
                QVERIFY2(copies.contains(name), qPrintable(name));
            }
            // A linked booking is in both files or in neither, reported or not.
            for (const QString &name : own)
                if (name.startsWith('L'))
                    QVERIFY2(copies.contains(name), qPrintable(name));
            for (const QString &name : copies)
                QVERIFY2(own.contains(name), qPrintable(name));
            for (const QString &name : std::as_const(plain)) {
                const QString renamed = QStringLiteral("C") + name.mid(1);
                if (!removed.contains(name) && !removed.contains(renamed) && !changed.contains(renamed) &&
                    !maybeRemoved.contains(name))
                    QVERIFY2(own.contains(name) || own.contains(renamed), qPrintable(name));
            }
            for (const QString &name : std::as_const(changed))
                if (!removed.contains(name) && !maybeRemoved.contains(name))
                    QVERIFY2(own.contains(name), qPrintable(name));
            for (const QString &name : std::as_const(removed))
                QVERIFY2(!own.contains(name), qPrintable(name));
        }
        qInfo("kills survived: %d, journals left beside a book: %d, commits reported and found: %d", kKills,
              leftHot, commitsReported);
    }

    // A process that moves bookings from one doctor's book to another's is killed at random moments:
    // every booking is in exactly one of the two books, and every move it reported is in the second.
    void killedWhileMoving()
    {
        TestFiles files;
        QCOMPARE(files.prepare(), QStringList{});
        QRandomGenerator random(20261208);
        QSet<QString> added, moved;
        for (int run = 0; run < 15; ++run) {
            const std::optional<QByteArray> output =
                killedAfter({"move", files.folder().path(), QString::number(run)},
                            static_cast<int>(random.bounded(1, 30)));
            QVERIFY(output);
            for (const QString &line : completeLines(*output))
                (line.startsWith('M') ? moved : added) << line.mid(2);
            QCOMPARE(files.prepare(), QStringList{});
            const QSet<QString> first = namesIn(files, 1);
            const QSet<QString> second = namesIn(files, 2);
            QVERIFY((first & second).isEmpty());
            for (const QString &name : std::as_const(added))
                QVERIFY2(first.contains(name) != second.contains(name), qPrintable(name));
            for (const QString &name : std::as_const(moved))
                QVERIFY2(second.contains(name), qPrintable(name));
        }
    }

    // Killed while booking weekly series with their linked copies: after the next start each series is
    // whole or absent, in the doctor's book and the linked one alike, and each one reported is whole.
    void killedWhileBookingSeries()
    {
        TestFiles files;
        QCOMPARE(files.prepare(), QStringList{});
        QRandomGenerator random(20261208);
        QSet<QString> reported;
        for (int run = 0; run < 10; ++run) {
            const std::optional<QByteArray> output =
                killedAfter({"series", files.folder().path(), QString::number(run)},
                            static_cast<int>(random.bounded(1, 8)));
            QVERIFY(output);
            for (const QString &line : completeLines(*output))
                reported << line;
            QCOMPARE(files.prepare(), QStringList{});
            const QString counts = QStringLiteral("SELECT trim(nome) || ' ' || count(*) FROM dados WHERE "
                                                  "nome LIKE 'S%' GROUP BY nome ORDER BY nome");
            QStringList own, copies;
            for (const QSqlRecord &record : files.exec("bdm1.mdb", counts))
                own << record.value(0).toString();
            for (const QSqlRecord &record : files.exec("bdm3.mdb", counts))
                copies << record.value(0).toString();
            QCOMPARE(copies, own);
            for (const QString &series : std::as_const(own))
                QVERIFY2(series.endsWith(QLatin1String(" 20")), qPrintable(series));
            for (const QString &name : std::as_const(reported))
                QVERIFY2(own.contains(name + QLatin1String(" 20")), qPrintable(name));
        }
    }

    // Killed in the middle of a change that had reached the disk: the next start rolls it back and
    // uses the file, with what was stored before.
    void killedMidChange_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("appointment book") << "bdm1.mdb";
        QTest::newRow("settings") << "bdm6.mdb";
        QTest::newRow("weekly hours of slots 7 to 10") << "bdm66.mdb";
    }

    void killedMidChange()
    {
        QFETCH(QString, fileName);
        TestFiles files;
        QCOMPARE(files.prepare(), QStringList{});
        files.setDoctor(1, "Ana", "15");
        files.addAppointment(1, QDate(2027, 3, 1), "08:00", "Stored Before");
        QProcess process;
        process.start(worker(), {"hold", files.folder().path(), fileName});
        QVERIFY(process.waitForReadyRead(30000));
        QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("holding"));
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished(10000));
        QVERIFY(QFileInfo(files.path(fileName + "-journal")).size() > 0);

        QCOMPARE(files.prepare(), QStringList{});
        QVERIFY(!QFileInfo::exists(files.path(fileName + "-journal")));
        QCOMPARE(namesIn(files, 1), QSet<QString>{"Stored Before"});
        Connection main(QStringLiteral("Data2"), files.folder());
        Connection extra(QStringLiteral("Data22"), files.folder());
        main.pointLater(QString::fromLatin1(kMainSettingsFile));
        extra.pointLater(QString::fromLatin1(kExtraSettingsFile));
        SettingsStore settings(main, extra);
        AllDoctorFields doctors;
        QString error;
        QVERIFY2(settings.readDoctorFields(&doctors, &error), qPrintable(error));
        QCOMPARE(doctors[0].name.value_or(QString()), QStringLiteral("Ana"));
        WeeklyTimes times;
        QVERIFY2(settings.readWeeklyTimes(7, &times, &error), qPrintable(error));
    }

    // A disk that fills up: the booking that does not fit is refused with a reason, the process
    // goes on, and everything stored before is still there.
    void diskFillsUp()
    {
        TestFiles files;
        QCOMPARE(files.prepare(), QStringList{});
        const qint64 limit = QFileInfo(files.path("bdm1.mdb")).size() + 64 * 1024;
        QProcess process;
        process.start(worker(), {"fill", files.folder().path(), QString::number(limit)});
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QStringList lines =
            QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 10);
        QVERIFY2(lines.last().startsWith(QStringLiteral("failed ")) && lines.last().size() > 8,
                 qPrintable(lines.last()));
        const QSet<QString> stored = namesIn(files, 1);
        for (int i = 0; i + 1 < lines.size(); ++i)
            QVERIFY(stored.contains(lines.at(i).mid(7)));
        QCOMPARE(integrity(files, "bdm1.mdb"), QStringLiteral("ok"));
        qInfo("bookings stored before the disk was full: %lld", static_cast<long long>(lines.size() - 1));
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "tst_crash_safety.moc"
