#include "support/test_files.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>

#include <csignal>

using namespace velmora;
using velmora::testing::TestFiles;

namespace {

QString worker()
{
    return QStringLiteral(STORAGE_WORKER);
}

QSet<QString> namesIn(const TestFiles &files, int slot)
{
    QSet<QString> names;
    for (const QSqlRecord &record : files.exec(QString::fromLatin1(doctorSlot(slot).appointmentFile),
                                               QStringLiteral("SELECT nome FROM dados")))
        names << record.value(0).toString();
    return names;
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
        QRandomGenerator random(20261207);
        QSet<QString> linked, plain, changed, removed;
        // The last booking a run reported may have been removed by a commit the kill left unreported.
        QSet<QString> maybeRemoved;
        constexpr int kKills = 60;
        int commitsReported = 0;
        for (int run = 0; run < kKills; ++run) {
            QProcess process;
            process.start(worker(), {"crash", files.folder().path(), QString::number(run)});
            QVERIFY(process.waitForStarted());
            // Killed after a random number of reported commits, in the middle of the next one.
            const int wanted = static_cast<int>(random.bounded(1, 40));
            QByteArray output;
            while (output.count('\n') < wanted && process.state() == QProcess::Running) {
                process.waitForReadyRead(10000);
                output += process.readAllStandardOutput();
            }
            QCOMPARE(process.state(), QProcess::Running);
            ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
            QVERIFY(process.waitForFinished(10000));
            output += process.readAllStandardOutput();

            const QList<QByteArray> lines = output.split('\n');
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
        qInfo("kills survived: %d, commits reported and found: %d", kKills, commitsReported);
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
