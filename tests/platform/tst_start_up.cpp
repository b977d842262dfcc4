#include "core/desk/desk_settings.h"
#include "core/model/patient.h"
#include "core/safekeeping/activity_log.h"
#include "core/storage/stored_bookings.h"
#include "files/sqlite_storage.h"
#include "platform/language.h"
#include "platform/log_file.h"
#include "platform/start_up.h"
#include "schema/slot_files.h"
#include "server/server_connection.h"
#include "support/book_window.h"
#include "support/test_server.h"
#include "transfer/legacy_import.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>
#include <QSysInfo>

#include <sys/stat.h>

using namespace velmora;
using velmora::testing::TestFiles;
using velmora::testing::TestPlatform;

namespace {

const QString kFixtures = QStringLiteral(VELMORA_FIXTURES);
const QString kReader = QStringLiteral(VELMORA_JET_READER);

// The older program's folder of a small clinic, copied where the program starts.
void copyOldClinic(const TestFiles &files, const QString &set = QStringLiteral("clinic-b"))
{
    const QDir source(kFixtures + QLatin1Char('/') + set);
    for (const QString &name : allFileNames()) {
        QFile::copy(source.filePath(name), files.path(name));
        QFile::setPermissions(files.path(name), QFile::ReadOwner | QFile::WriteOwner);
    }
}

QMap<QString, QByteArray> fingerprints(const TestFiles &files)
{
    QMap<QString, QByteArray> all;
    for (const QString &name : allFileNames())
        all[name] = files.fingerprint(name);
    return all;
}

} // namespace

class StartUpTest : public QObject
{
    Q_OBJECT
    const ProgramLanguage speaking_; // the system's, as the program speaks it: counts read right

private Q_SLOTS:
    // One program per data folder: a second start says so and touches no file; a lock left by a
    // program that crashed is taken over.
    void oneProgramPerFolder()
    {
        TestFiles files;
        files.prepare();
        // Their search indexes made, as the first program would make them beside its window meanwhile.
        QVERIFY(SqliteStorage(files.folder()).bringSearchUpToDate([](qint64, qint64) { return true; }));
        TestPlatform first;
        VelmoraApp running(first.platform(), files.folder());
        QVERIFY(running.start());

        const auto before = fingerprints(files);
        TestPlatform second;
        VelmoraApp again(second.platform(), files.folder());
        QVERIFY(!again.start());
        QVERIFY2(second.messages.takeOne().contains(QStringLiteral("already open")),
                 "the second start was not said");
        QCOMPARE(fingerprints(files), before);
        QVERIFY(first.messages.shown.isEmpty());
    }

    // The server velmora.ini names holds the books: an empty database gets them and the window opens
    // on them, without a file in the folder; one holding something else is refused and left alone.
    void startOnAServer_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("started");
        QTest::newRow("empty database") << QString() << true;
        QTest::newRow("another program's database")
            << QStringLiteral("CREATE TABLE patients (id int)") << false;
    }
    void startOnAServer()
    {
        QFETCH(QString, before);
        QFETCH(bool, started);
        if (velmora::testing::testServer().isEmpty())
            QFAIL("VELMORA_TEST_SERVER names no server: run the tests through scripts/test.sh");
        velmora::testing::TestDatabase database;
        if (!before.isEmpty())
            database.exec(before);
        TestFiles files;
        QSettings(files.path("velmora.ini"), QSettings::IniFormat).setValue("server/url", database.url());
        TestPlatform platform;
        VelmoraApp app(platform.platform(), files.folder());
        QCOMPARE(app.start(), started);
        if (started) {
            QVERIFY(platform.messages.shown.isEmpty());
            QCOMPARE(app.book().readDoctorNames().names.size(), kDoctorSlotCount);
        } else {
            QVERIFY(platform.messages.takeOne().contains(QStringLiteral("does not use this server")));
        }
        for (const QString &name : allFileNames())
            QVERIFY(!QFile::exists(files.path(name)));
        QCOMPARE(database.exec("SELECT count(*) FROM information_schema.schemata WHERE schema_name = 'bdm1'"),
                 QStringList{started ? "1" : "0"});
    }

    // What velmora.lock holds, or is: a lock of a crashed program of this computer is taken over; one of
    // another computer is named with its age, asked about, and taken over once a day old; one that is
    // no file is named, without waiting on it.
    void locksTellTheTruth_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<int>("ageHours");
        QTest::addColumn<int>("answer"); // -1: nothing asked
        QTest::addColumn<bool>("started");
        QTest::addColumn<QString>("said");
        QTest::newRow("crashed here") << "here" << 0 << -1 << true << "";
        QTest::newRow("another computer, kept") << "reception-2" << 1 << 0 << false << "\"reception-2\"";
        QTest::newRow("another computer, taken over") << "reception-2" << 1 << 1 << true << "";
        QTest::newRow("another computer, a day old") << "reception-2" << 25 << -1 << true << "";
        QTest::newRow("a folder") << "folder" << 0 << -1 << false << "is not a file";
        QTest::newRow("a pipe") << "pipe" << 0 << -1 << false << "is not a file";
    }
    void locksTellTheTruth()
    {
        QFETCH(QString, lock);
        QFETCH(int, ageHours);
        QFETCH(int, answer);
        QFETCH(bool, started);
        QFETCH(QString, said);
        TestFiles files;
        files.prepare();
        const QString path = files.path(VelmoraApp::kLockFileName);
        if (lock == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (lock == "pipe") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else {
            const QString host = lock == "here" ? QSysInfo::machineHostName() : lock;
            files.write(VelmoraApp::kLockFileName, QByteArray("999999\nvelmora\n") + host.toUtf8() + "\n");
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(QDateTime::currentDateTime().addSecs(-3600 * ageHours),
                                     QFileDevice::FileModificationTime));
        }
        TestPlatform platform;
        if (answer >= 0)
            platform.messages.answers.push_back(answer == 1);
        VelmoraApp app(platform.platform(), files.folder());
        QCOMPARE(app.start(), started);
        if (answer >= 0)
            QVERIFY(platform.messages.takeOne().contains("Take the folder over?"));
        if (!said.isEmpty())
            QVERIFY2(platform.messages.takeOne().contains(said), qPrintable(said));
        QVERIFY2(platform.messages.shown.isEmpty(), qPrintable(platform.messages.shown.join('|')));
        QCOMPARE(platform.messages.answers.size(), size_t(0));
    }

    // Files are made without asking only on a first start; one missing among the others is asked
    // about, and a link is never followed to make one.
    void missingFiles_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("create them") << true;
        QTest::newRow("work without them") << false;
    }

    void missingFiles()
    {
        QFETCH(bool, answer);
        TestFiles files;
        {
            TestPlatform platform;
            VelmoraApp first(platform.platform(), files.folder());
            QVERIFY(first.start());
            QVERIFY(platform.messages.shown.isEmpty());
            for (const QString &name : allFileNames())
                QVERIFY(QFileInfo::exists(files.path(name)));
        }
        QFile::remove(files.path("bdm6.mdb"));
        QFile::remove(files.path("bdm3.mdb"));
        QVERIFY(QFile::link(files.path("unmounted-share/bdm4.mdb"), files.path("bdm4.mdb.tmp")));
        QFile::remove(files.path("bdm4.mdb"));
        QVERIFY(QFile::rename(files.path("bdm4.mdb.tmp"), files.path("bdm4.mdb")));

        TestPlatform platform;
        platform.messages.answers.push_back(answer);
        VelmoraApp app(platform.platform(), files.folder());
        QVERIFY(app.start());
        const QString question = platform.messages.takeOne();
        QVERIFY2(question.contains(QStringLiteral("bdm3.mdb, bdm6.mdb")), qPrintable(question));
        QCOMPARE(QFileInfo::exists(files.path("bdm6.mdb")), answer);
        QCOMPARE(QFileInfo::exists(files.path("bdm3.mdb")), answer);
        QVERIFY(!QFileInfo::exists(files.path("unmounted-share/bdm4.mdb")));
        QVERIFY(!QFileInfo(files.path("unmounted-share")).exists());

        app.window().show();
        QTRY_COMPARE(platform.messages.shown.size(), 1); // said once the window is on the screen
        const QString problems = platform.messages.takeOne();
        QVERIFY2(problems.contains(QStringLiteral("\"bdm4.mdb\" cannot be used: it is a link")),
                 qPrintable(problems));
        QCOMPARE(problems.contains(QStringLiteral("\"bdm6.mdb\" is missing")), !answer);
    }

    // The window is up at once although another program holds the settings locked; the doctor list
    // fills once the lock is gone.
    void lockedFileDoesNotDelayTheWindow()
    {
        TestFiles files;
        files.prepare();
        files.setDoctor(1, "Ana", "15");
        auto lock = std::make_unique<velmora::testing::WriteLock>(files.path("bdm6.mdb"),
                                                                  velmora::testing::WriteLock::Everyone);
        TestPlatform platform;
        QElapsedTimer clock;
        clock.start();
        VelmoraApp app(platform.platform(), files.folder());
        QVERIFY(app.start());
        app.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&app.window()));
        QVERIFY2(clock.elapsed() < kLockWaitMs, qPrintable(QString::number(clock.elapsed())));
        // The day's backup, which cannot wait for the file, is said to have failed, and tried next time.
        QTRY_COMPARE(platform.messages.shown.size(), 1);
        QVERIFY(
            platform.messages.takeOne().contains(QStringLiteral("\"bdm6.mdb\" is held by another program")));
        lock.reset();
        QTRY_COMPARE(app.window().findChild<QComboBox *>("Combo1")->count(), kDoctorSlotCount);
        QVERIFY2(platform.messages.shown.isEmpty(), qPrintable(platform.messages.shown.join('|')));
    }

    // The older program's files found at start: one question, then the import with its progress and
    // a summary; "Not now" leaves them, said as files the program cannot use.
    void oldFilesAreOfferedForImport_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("Import") << true;
        QTest::newRow("Not now") << false;
    }

    void oldFilesAreOfferedForImport()
    {
        QFETCH(bool, answer);
        TestFiles files;
        copyOldClinic(files);
        const auto before = fingerprints(files);
        TestPlatform platform;
        platform.messages.answers.push_back(answer);
        VelmoraApp app(platform.platform(), files.folder(), kReader);
        QVERIFY(app.start());
        QCOMPARE(
            platform.messages.takeOne(),
            QStringLiteral("12 files of the older program: 448 appointments and the settings of 3 doctors. "
                           "Import them? The originals are kept unchanged in the folder legacy."));
        app.window().show();
        if (!answer) {
            QCOMPARE(fingerprints(files), before);
            QTRY_COMPARE(platform.messages.shown.size(), 1);
            QCOMPARE(platform.messages.last().count(QStringLiteral("\" cannot be used")), 12);
            return;
        }
        QVERIFY(platform.progress.shown.size() >= 12);
        QCOMPARE(platform.progress.closed, 1);
        QVERIFY(platform.messages.takeOne().startsWith(
            QStringLiteral("Imported: 12 files of the older program, with 448 appointments")));
        QTRY_COMPARE(app.window().findChild<QComboBox *>("Combo1")->itemText(0),
                     QStringLiteral("Dr. Joaquim Nogueira"));
        QVERIFY(platform.messages.shown.isEmpty());
    }

    void cancelledImportLeavesTheRest()
    {
        TestFiles files;
        copyOldClinic(files, QStringLiteral("clinic-a"));
        TestPlatform platform;
        platform.messages.answers.push_back(true);
        platform.progress.cancelAfter = 45; // in the middle of the second file
        VelmoraApp app(platform.platform(), files.folder(), kReader);
        QVERIFY(app.start());
        platform.messages.takeOne();
        QVERIFY(platform.messages.takeOne().contains(QStringLiteral("The import was cancelled")));
        const QStringList left = legacyFiles(files.folder());
        QCOMPARE(left.size(), 11); // the first file finished, the second and the rest untouched
        QVERIFY(!left.contains(QStringLiteral("bdm1.mdb")));
    }

    void importFromTheCommandLine_data()
    {
        QTest::addColumn<QString>("damaged");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("every file imported") << "" << 0;
        QTest::newRow("one file could not be") << "reader-fails/bdm1.mdb" << 1;
    }

    void importFromTheCommandLine()
    {
        QFETCH(QString, damaged);
        QFETCH(int, exitCode);
        TestFiles files;
        copyOldClinic(files);
        if (!damaged.isEmpty()) {
            QFile::remove(files.path("bdm1.mdb"));
            QFile::copy(kFixtures + "/broken/" + damaged, files.path("bdm1.mdb"));
        }
        QString printed;
        QTextStream out(&printed);
        {
            // Never while the folder is in use.
            FolderLock held(files.folder());
            QCOMPARE(held.claim(), FolderLock::Claim::Claimed);
            QCOMPARE(importFromCommandLine(files.folder(), kReader, out), 1);
            QVERIFY2(printed.contains("already open"), qPrintable(printed));
            QCOMPARE(legacyFiles(files.folder()).size(), 12);
            printed.clear();
        }
        QCOMPARE(importFromCommandLine(files.folder(), kReader, out), exitCode);
        QVERIFY2(printed.startsWith(QStringLiteral("Imported: %1 files").arg(damaged.isEmpty() ? 12 : 11)),
                 qPrintable(printed));
        QCOMPARE(importFromCommandLine(files.folder(), kReader, out), damaged.isEmpty() ? 2 : 1);
    }

    // The desk's own files (its settings, its log) are never written through a link, and a pipe in
    // their place holds nothing up.
    void deskFilesAreNeitherFollowedNorWaitedFor()
    {
        TestFiles files;
        QTemporaryDir elsewhere;
        const QString outside = QDir(elsewhere.path()).filePath("someone else's.txt");
        QFile target(outside);
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("theirs") == 6);
        target.close();
        QVERIFY(QFile::link(outside, files.path("velmora.ini")));
        QVERIFY(QFile::link(outside, files.path("velmora.log")));
        installLogFile(files.folder(), LogEcho::LogOnly);
        qCInfo(logStart) << "a line of the log";
        QVERIFY(
            saveConfirmationSettings(files.path("velmora.ini"), {"Oi", "Remarcar", "Vaga", "11", "Clínica"}));
        QCOMPARE(readConfirmationSettings(files.path("velmora.ini")).clinic, QStringLiteral("Clínica"));
        QCOMPARE(readConfirmationSettings(files.path("velmora.ini")).rescheduleTemplate,
                 QStringLiteral("Remarcar"));
        QVERIFY(target.open(QIODevice::ReadOnly));
        QCOMPARE(target.readAll(), QByteArray("theirs"));
        target.close();

        QVERIFY(QFile::remove(files.path("velmora.ini")) && QFile::remove(files.path("velmora.log")));
        QCOMPARE(::mkfifo(QFile::encodeName(files.path("velmora.ini")).constData(), 0600), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(files.path("velmora.log")).constData(), 0600), 0);
        qCInfo(logStart) << "a line nobody reads";
        QCOMPARE(readConfirmationSettings(files.path("velmora.ini")).clinic, QString());
        QCOMPARE(serverInSettings(files.folder()), QString());
        QVERIFY(!saveConfirmationSettings(files.path("velmora.ini"),
                                          {"Oi", "Remarcar", "Vaga", "11", "Clínica"}));
        removeLogFile();
    }

    // A terminal task prints its report itself: the log keeps its lines without echoing them, while
    // Qt's own messages still reach the terminal.
    void theLogIsNotEchoedByTerminalTasks()
    {
        static QStringList echoed;
        echoed.clear();
        const QtMessageHandler before = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &message) { echoed << message; });
        TestFiles files;
        installLogFile(files.folder(), LogEcho::LogOnly);
        qCInfo(logTransfer) << "Imported: a line of the report";
        qInfo() << "a message of Qt's";
        removeLogFile();
        qInstallMessageHandler(before);
        QCOMPARE(echoed, QStringList{"a message of Qt's"});
        QFile log(files.path("velmora.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("Imported: a line of the report"));
    }

    // A clinic moving from the older program straight to several desks: the books go straight onto the
    // server that velmora.ini names, in one transaction, as an import into files would make them; the
    // originals leave the folder for "legacy".
    void importStraightOntoAServer()
    {
        if (velmora::testing::testServer().isEmpty())
            QFAIL("VELMORA_TEST_SERVER names no server: run the tests through scripts/test.sh");
        velmora::testing::TestDatabase database;
        TestFiles files;
        copyOldClinic(files);
        QSettings(files.path("velmora.ini"), QSettings::IniFormat).setValue("server/url", database.url());
        QString printed;
        QTextStream out(&printed);
        QCOMPARE(importFromCommandLine(files.folder(), kReader, out), 0);
        QVERIFY2(printed.contains("straight onto the server"), qPrintable(printed));
        QVERIFY(legacyFiles(files.folder()).isEmpty());
        TestFiles intoFiles;
        copyOldClinic(intoFiles);
        QCOMPARE(importLegacyFiles(intoFiles.folder(), kReader).imported.size(), 12);
        for (int slot : {1, 2, 6})
            QCOMPARE(database.exec(
                         QStringLiteral("SELECT count(*) FROM %1.dados")
                             .arg(QString::fromLatin1(doctorSlot(slot).appointmentFile).section('.', 0, 0))),
                     QStringList{QString::number(intoFiles.appointments(slot).size())});
        QCOMPARE(database.exec("SELECT prof1 FROM public.profs"), QStringList{"Dr. Joaquim Nogueira"});
    }

    // A search held up on the server (another program locks a book) never holds the window: typing goes
    // on, and Stop drops the search at once.
    void aStalledServerNeverHoldsTheWindow()
    {
        if (velmora::testing::testServer().isEmpty())
            QFAIL("VELMORA_TEST_SERVER names no server: run the tests through scripts/test.sh");
        velmora::testing::TestDatabase database;
        TestFiles files;
        QSettings(files.path("velmora.ini"), QSettings::IniFormat).setValue("server/url", database.url());
        TestPlatform platform;
        VelmoraApp app(platform.platform(), files.folder());
        QVERIFY(app.start());
        QString error;
        {
            QSqlDatabase locker =
                QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("locker"));
            QVERIFY(pointAtServer(locker, database.url(), {}, &error) && locker.open() &&
                    locker.transaction());
            QVERIFY(QSqlQuery(locker).exec(QStringLiteral("LOCK TABLE bdm1.dados IN ACCESS EXCLUSIVE MODE")));
            app.window().show();
            QApplication::setActiveWindow(&app.window());
            QVERIFY(QTest::qWaitForWindowActive(&app.window()));
            QTest::keyClick(&app.window(), Qt::Key_F, Qt::ControlModifier);
            auto *find = app.window().findChild<QWidget *>(QStringLiteral("findWindow"));
            QVERIFY(find);
            auto *text = find->findChild<QLineEdit *>(QStringLiteral("findText"));
            QTest::keyClicks(text, QStringLiteral("Mari"));
            QTest::keyClick(text, Qt::Key_Return);
            auto *reading = find->findChild<QWidget *>(QStringLiteral("readingBar"));
            // The search waits on the server for the lock, and the window answers meanwhile.
            QTRY_COMPARE(
                database.exec(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE wait_event_type = "
                                             "'Lock' AND query LIKE '%SELECT%FROM bdm1.dados%'")),
                QStringList{QStringLiteral("1")});
            QVERIFY(reading->isVisible());
            QTest::keyClicks(text, QStringLiteral("a"));
            QCOMPARE(text->text(), QStringLiteral("Maria"));
            QTest::mouseClick(find->findChild<QPushButton *>(QStringLiteral("stopReading")), Qt::LeftButton);
            QVERIFY(!reading->isVisible());
            QCOMPARE(find->findChild<QLabel *>(QStringLiteral("findSaid"))->text(),
                     QStringLiteral("The search was stopped."));
            locker.rollback();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
        QVERIFY(platform.messages.shown.isEmpty());
    }

    // "velmora --patient": each patient the text may be, then that patient's appointments, missed ones
    // counted; only reads.
    void aPatientFromTheCommandLine()
    {
        TestFiles files;
        files.prepareCopies();
        files.setDoctor(1, "Dra. Ana", "15");
        files.setDoctor(6, "Dr. Rui", "15");
        files.addAppointment(1, QDate(2027, 2, 1), "08:00", "Conceição Lima", "Unimed", "9999-0000");
        files.addAppointment(6, QDate(2027, 3, 2), "10:30", "Conceição Lima", "", "");
        {
            SqliteStorage storage(files.folder());
            QString error;
            Patient lima;
            lima.fullName = QStringLiteral("Conceição Lima");
            lima.cpf = QStringLiteral("52998224725");
            lima.birthDate = QDate(1950, 1, 31);
            lima.cards = {{QStringLiteral("Unimed"), QStringLiteral("0 123"), QDate(2027, 12, 31)}};
            QVERIFY(storage.savePatient(lima, &lima.id, &error) == PatientSaved::Saved);
            QVector<Appointment> day;
            QVERIFY(storage.readDay(1, QDate(2027, 2, 1), &day, &error) && day.size() == 1);
            QVERIFY(storage.setStatus(1, day.first(), BookingStatus::Missed, &error) == WriteOutcome::Done);
            QVERIFY(storage.linkBookings({{1, day.first().id, lima.id}}, &error));
            QVERIFY(storage.readDay(6, QDate(2027, 3, 2), &day, &error) && day.size() == 1);
            QVERIFY(storage.linkBookings({{6, day.first().id, lima.id}}, &error));
        }
        const QByteArray before = files.fingerprint("bdm1.mdb");
        QString printed;
        QString said;
        QTextStream out(&printed);
        QTextStream err(&said);
        for (const char *typed : {"lima conc", "529.982.247-25", "31/01/1950"}) {
            printed.clear();
            QCOMPARE(patientFromCommandLine(files.folder(), {}, typed, QDate(2027, 3, 1), out, err), 0);
            out.flush();
            QCOMPARE(
                printed,
                QStringLiteral("patient\t1\tConceição Lima\t\t529.982.247-25\t1950-01-31\t\tUnimed "
                               "0 123\t2027-12-31\t1\n"
                               "appointment\t2027-03-02\t10:30\t6\tDr. Rui\tConceição Lima\t\t\tto-confirm\n"
                               "appointment\t2027-02-01\t08:00\t1\tDra. Ana\tConceição Lima\tUnimed\t"
                               "9999-0000\tmissed\n"));
        }
        QCOMPARE(patientFromCommandLine(files.folder(), {}, "Zacarias", QDate(2027, 3, 1), out, err), 1);
        QCOMPARE(patientFromCommandLine(files.folder(), {}, "J", QDate(2027, 3, 1), out, err), 2);
        QCOMPARE(files.fingerprint("bdm1.mdb"), before);
    }

    // "velmora --find" on the folder's books: one line a booking, upcoming first; the exit code says
    // whether anything was found.
    void findFromTheCommandLine()
    {
        TestFiles files;
        files.prepareCopies();
        files.setDoctor(1, "Dra. Ana", "15");
        files.setDoctor(6, "Dr. Rui", "15");
        files.addAppointment(1, QDate(2027, 2, 1), "08:00", "Conceição Lima", "Unimed", "9999-0000");
        files.addAppointment(6, QDate(2027, 3, 2), "10:30", "Maria Conceiçao", "", "", "line\nbreak");
        QString printed;
        QString said;
        QTextStream out(&printed);
        QTextStream err(&said);
        QCOMPARE(findFromCommandLine(files.folder(), {}, "CONCEICAO", QDate(2027, 3, 1), out, err), 0);
        out.flush();
        QCOMPARE(printed,
                 QStringLiteral("2027-03-02\t10:30\t6\tDr. Rui\tMaria Conceiçao\t\t\n"
                                "2027-02-01\t08:00\t1\tDra. Ana\tConceição Lima\tUnimed\t9999-0000\n"));
        QCOMPARE(findFromCommandLine(files.folder(), {}, "Zacarias", QDate(2027, 3, 1), out, err), 1);
        QCOMPARE(findFromCommandLine(files.folder(), {}, "Jo", QDate(2027, 3, 1), out, err), 2);
        err.flush();
        QVERIFY2(said.contains("three letters"), qPrintable(said));

        // The report's file: never one of the program's, a link or (unforced) a file that is there; said
        // where it went.
        const QByteArray book = files.fingerprint("bdm1.mdb");
        QTemporaryDir elsewhere;
        const QString csv = QDir(elsewhere.path()).filePath("março.csv");
        QVERIFY(QFile::link(files.path("bdm2.mdb"), QDir(elsewhere.path()).filePath("link.csv")));
        const auto report = [&](const QString &path, bool force) {
            return reportFromCommandLine(files.folder(), {}, QDate(2027, 3, 1), QDate(2027, 3, 31), path, out,
                                         err, force);
        };
        QCOMPARE(report(files.path("bdm1.mdb"), true), 2);
        QCOMPARE(report(QDir(elsewhere.path()).filePath("link.csv"), true), 2);
        QCOMPARE(report(csv, false), 0);
        QCOMPARE(report(csv, false), 2);
        QCOMPARE(report(csv, true), 0);
        out.flush();
        err.flush();
        QVERIFY2(printed.contains("The report was written to " + csv), qPrintable(printed));
        QVERIFY2(said.contains("one of the program's own files") && said.contains("is a link") &&
                     said.contains("--force"),
                 qPrintable(said));
        QCOMPARE(files.fingerprint("bdm1.mdb"), book);
        // The year's calendar is read without a table for it being made.
        const QByteArray settings = files.fingerprint("bdm6.mdb");
        QCOMPARE(calendarFromCommandLine(files.folder(), {}, 2027, out, err), 0);
        out.flush();
        QVERIFY(printed.contains("2027-12-25\t2027-12-25\tclinic\tholiday\tChristmas\t\n"));
        QCOMPARE(files.fingerprint("bdm6.mdb"), settings);

        // On a server, a task that reads makes nothing: an empty database is said and stays empty.
        velmora::testing::TestDatabase empty;
        said.clear();
        QCOMPARE(findFromCommandLine(files.folder(), empty.url(), "CONCEICAO", QDate(2027, 3, 1), out, err),
                 2);
        QCOMPARE(reportFromCommandLine(files.folder(), empty.url(), QDate(2027, 3, 1), QDate(2027, 3, 31), {},
                                       out, err),
                 2);
        err.flush();
        QVERIFY2(said.contains("holds no books yet"), qPrintable(said));
        QCOMPARE(empty.exec("SELECT count(*) FROM pg_catalog.pg_namespace WHERE nspname LIKE 'bdm%'"),
                 QStringList{"0"});
    }

    // --server-setup checks its rights first: a login that does not own the database changes nothing,
    // and is told what to do; the owner, with the right to make roles, sets it up.
    void serverSetupChecksItsRightsFirst()
    {
        velmora::testing::TestDatabase database;
        const QString owner = QStringLiteral("owner_%1").arg(QCoreApplication::applicationPid());
        database.exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(owner));
        QUrl url(database.url());
        url.setUserName(owner);
        QString printed;
        QString said;
        QTextStream out(&printed);
        QTextStream err(&said);
        QCOMPARE(serverSetupFromCommandLine(url.toString(), out, err), 1);
        err.flush();
        QVERIFY2(said.contains("does not own the database") && !said.contains("createdb"), qPrintable(said));
        // A desk's login is told to leave the set-up to the owner, never to make a database of its own.
        database.exec(
            "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'velmora_desks') THEN "
            "CREATE ROLE velmora_desks NOLOGIN; END IF; END $$");
        database.exec(QStringLiteral("GRANT velmora_desks TO %1").arg(owner));
        QCOMPARE(serverSetupFromCommandLine(url.toString(), out, err), 1);
        err.flush();
        QVERIFY2(said.contains("is a desk's; run velmora --server-setup with the login that owns"),
                 qPrintable(said));
        database.exec(QStringLiteral("REVOKE velmora_desks FROM %1").arg(owner));
        QCOMPARE(database.exec("SELECT count(*) FROM pg_catalog.pg_namespace WHERE nspname LIKE 'bdm%'"),
                 QStringList{"0"});
        database.exec(QStringLiteral("ALTER DATABASE %1 OWNER TO %2").arg(url.path().mid(1), owner));
        database.exec(QStringLiteral("ALTER ROLE %1 CREATEROLE").arg(owner));
        QCOMPARE(serverSetupFromCommandLine(url.toString(), out, err), 0);
        out.flush();
        QVERIFY2(printed.contains("IN ROLE velmora_desks"), qPrintable(printed));
    }

    // The day's backup is made at start, beside the window; one that cannot be made is said and the
    // program works on.
    void backupAtStart()
    {
        TestFiles files;
        files.prepareCopies();
        files.addAppointment(1, QDate(2027, 3, 1), "08:00", "Before The Backup");
        {
            TestPlatform platform;
            VelmoraApp app(platform.platform(), files.folder());
            QVERIFY(app.start());
            QVERIFY(platform.messages.shown.isEmpty());
        }
        QVERIFY(QFileInfo::exists(files.path("backups/2027-03-01/bdm1.mdb.zst")));
        files.addAppointment(1, QDate(2027, 3, 1), "09:00", "After The Backup");

        // Put back with the program closed; refused while it is open.
        QString printed;
        QTextStream out(&printed);
        {
            TestPlatform platform;
            VelmoraApp app(platform.platform(), files.folder());
            QVERIFY(app.start());
            QCOMPARE(restoreFromCommandLine(files.folder(), "2027-03-01", out), 1);
        }
        QCOMPARE(restoreFromCommandLine(files.folder(), "2027-02-28", out), 2);
        QCOMPARE(restoreFromCommandLine(files.folder(), "2027-03-01", out), 0);
        QVERIFY2(printed.contains(QStringLiteral("The backup of 2027-03-01 was put back")),
                 qPrintable(printed));
        QCOMPARE(files.appointments(1), QStringList{"2027-03-01|08:00|Before The Backup|||"});

        QDir(files.path("backups")).removeRecursively();
        files.write("backups", "a file where the folder should be");
        TestPlatform platform;
        VelmoraApp app(platform.platform(), files.folder());
        QVERIFY(app.start());
        QTRY_COMPARE(platform.messages.shown.size(), 1); // said once the copy, beside the window, failed
        QVERIFY(platform.messages.takeOne().startsWith(
            QStringLiteral("Today's backup of the books could not be made")));
        app.window().show();
        QTRY_COMPARE(app.window().findChild<QComboBox *>("Combo1")->count(), kDoctorSlotCount);
        QVERIFY(platform.messages.shown.isEmpty());
    }
};

QTEST_MAIN(StartUpTest)
#include "tst_start_up.moc"
