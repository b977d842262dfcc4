#include "core/reports/month_report.h"
#include "core/schedule/calendar_setup.h"
#include "core/schedule/day_list_rules.h"
#include "core/schedule/doctor_settings.h"
#include "core/search/patient_query.h"
#include "core/storage/stored_bookings.h"
#include "files/appointment_store.h"
#include "files/backups.h"
#include "files/database.h"
#include "files/settings_store.h"
#include "files/sqlite_storage.h"
#include "support/test_files.h"
#include "transfer/legacy_import.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

using namespace velmora;
using velmora::testing::TestFiles;

namespace {

Appointment bookingAt(QDate date, const QString &hora, const QString &nome)
{
    Appointment booking;
    booking.date = date;
    booking.hora = hora;
    booking.nome = nome;
    return booking;
}

} // namespace

class StorageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slotTableMapsFilesAndFields()
    {
        QCOMPARE(doctorSlot(6).appointmentFile, "bdm11.mdb");
        QCOMPARE(doctorSlot(6).nameField, "prof11");
        QCOMPARE(doctorSlot(6).linkField, "junta6");
        QCOMPARE(weeklyTimeField(6, 0, 1), QStringLiteral("p6_seg1"));
        QCOMPARE(doctorSlot(7).appointmentFile, "bdm12.mdb");
        QVERIFY(doctorSlot(7).timesFile == SettingsFile::Extra);
        QVERIFY(doctorSlot(6).timesFile == SettingsFile::Main);
        QCOMPARE(weeklyTimeField(3, 1, 2), QStringLiteral("p3_ter2"));
        QCOMPARE(weeklyTimeField(10, 6, 4), QStringLiteral("p10_dom4"));
    }
    void firstStartCreatesTwelveFiles()
    {
        TestFiles files;
        QCOMPARE(files.prepare(), QStringList{});
        for (const QString &name : allFileNames()) {
            QVERIFY2(QFileInfo::exists(files.path(name)), qPrintable(name));
            QString problem;
            QVERIFY2(checkFile(files.path(name), kindOfFile(name), &problem), qPrintable(problem));
        }
        QVERIFY(!QFileInfo::exists(files.path(QStringLiteral("bdm6.mdb.new"))));
        // The settings record starts with empty texts and links 0; the index orders the dates.
        QCOMPARE(files.setting("bdm6.mdb", "prof15"), QVariant(QString()));
        QCOMPARE(files.setting("bdm6.mdb", "interv11"), QVariant(QString()));
        QCOMPARE(files.setting("bdm6.mdb", "junta10").toInt(), 0);
        QCOMPARE(files.setting("bdm66.mdb", "p10_dom4"), QVariant(QString()));
        QCOMPARE(files.exec("bdm6.mdb", "SELECT count(*) FROM profs").first().value(0).toInt(), 1);
        QCOMPARE(files.exec("bdm3.mdb", "SELECT name FROM sqlite_master WHERE type = 'index'")
                     .first()
                     .value(0)
                     .toString(),
                 QStringLiteral("data"));
        QCOMPARE(files.exec("bdm1.mdb", "PRAGMA journal_mode").first().value(0).toString(),
                 QStringLiteral("delete"));

        // A second start finds them all usable and changes none.
        const QByteArray before = files.fingerprint("bdm6.mdb");
        QCOMPARE(files.prepare(), QStringList{});
        QCOMPARE(files.fingerprint("bdm6.mdb"), before);
    }

    // A calendar entry the program cannot read exactly (planted, damaged, another program's) is listed
    // as such and kept as it was through the next save; the days stay open; the books stay usable.
    void aCalendarEntryNotReadExactlyIsKeptAsItIs_data()
    {
        QTest::addColumn<QString>("planted");
        QTest::newRow("an unknown kind") << R"({"kind":"vacation","slot":1,"from":"2031-05-07"})";
        QTest::newRow("a slot as text") << R"({"kind":"closure","slot":"3","from":"2031-05-07"})";
        QTest::newRow("a date in another form") << R"({"kind":"closure","slot":3,"from":"07/05/2031"})";
        QTest::newRow("no entry") << "42";
        QTest::newRow("no calendar at all") << "";
    }
    void aCalendarEntryNotReadExactlyIsKeptAsItIs()
    {
        QFETCH(QString, planted);
        TestFiles files;
        QCOMPARE(files.prepare(), QStringList{});
        files.setDoctor(3, "Carla", "30");
        const QString readable = R"({"kind":"closure","slot":2,"from":"2031-05-02","reason":"Congresso"})";
        const QString text =
            planted.isEmpty() ? QStringLiteral("[not json") : "[" + planted + "," + readable + "]";
        files.exec("bdm6.mdb", "CREATE TABLE calendar (entries TEXT NOT NULL)");
        files.exec("bdm6.mdb", "INSERT INTO calendar (entries) VALUES (?)", {text});
        SqliteStorage storage(files.folder());
        QString error;
        const auto doctor = [&] {
            DoctorFields fields;
            DoctorSettings settings;
            return storage.readSlotLengthAndLink(3, &fields, &error) &&
                           readDoctorSettings(storage, 3, fields, &settings, &error)
                       ? dayPlan(settings, QDate(2031, 5, 7))
                       : std::optional<DayPlan>();
        };
        QVERIFY2(doctor() && doctor()->touchesNothing(), qPrintable(error)); // taken as open
        CalendarSetup setup(storage);
        CalendarEntry holiday;
        holiday.kind = CalendarEntry::Kind::Holiday;
        holiday.from = QDate(2031, 6, 1);
        holiday.reason = QStringLiteral("Aniversário da cidade");
        QVERIFY2(setup.add(holiday, "maria (desk 1)", QDateTime::currentDateTimeUtc(), &error),
                 qPrintable(error));
        QVERIFY(setup.read(&error)); // as the file holds it now
        const QString kept = setup.listed().value(0).unreadable;
        const auto json = [](const QString &element) {
            return QJsonDocument::fromJson(("[" + element + "]").toUtf8());
        };
        if (planted.isEmpty())
            QCOMPARE(json(kept), QJsonDocument(QJsonArray{QStringLiteral("[not json")}));
        else
            QCOMPARE(json(kept), json(planted));
        QCOMPARE(setup.listed().size(), planted.isEmpty() ? 2 : 3);
        QVERIFY(setup.remove(setup.listed().value(0), &error));
        const QVector<CalendarEntry> left = setup.listed();
        QVERIFY(std::none_of(left.cbegin(), left.cend(),
                             [](const CalendarEntry &entry) { return !entry.unreadable.isEmpty(); }));
    }

    void unusableFilesAreLeftAlone_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("problem");
        QTest::newRow("another format")
            << "bdm3.mdb" << QByteArray("Standard Jet DB\0\0\0 old data", 27) << "format";
        QTest::newRow("empty file") << "bdm6.mdb" << QByteArray() << "empty";
        QTest::newRow("damaged header")
            << "bdm66.mdb" << QByteArray("SQLite format 3\0", 16) + QByteArray(200, '\xff') << "bdm66.mdb";
        // Opening these could hang for ever: they are named without being opened.
        QTest::newRow("a pipe") << "bdm1.mdb" << QByteArray("<pipe>") << "not a file";
        QTest::newRow("a folder") << "bdm11.mdb" << QByteArray("<folder>") << "not a file";
    }

    void unusableFilesAreLeftAlone()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, problem);
        TestFiles files;
        const bool special = bytes.startsWith('<');
        if (bytes == "<pipe>")
            QVERIFY(::mkfifo(QFile::encodeName(files.path(fileName)).constData(), 0600) == 0);
        else if (bytes == "<folder>")
            QVERIFY(files.folder().mkdir(fileName));
        else
            files.write(fileName, bytes);
        const QByteArray before = special ? QByteArray() : files.fingerprint(fileName);
        const QStringList problems = files.prepare();
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.first().contains(fileName) && problems.first().contains(problem),
                 qPrintable(problems.first()));
        if (special) {
            QVERIFY(legacyFiles(files.folder()).isEmpty());
            QString backupProblem;
            QVERIFY2(backUpDay(files.folder(), QDate(2027, 3, 1), &backupProblem), qPrintable(backupProblem));
            return;
        }
        QCOMPARE(files.fingerprint(fileName), before);

        Connection connection(QStringLiteral("test"), files.folder());
        QString error;
        QVERIFY(!connection.pointAt(fileName, &error));
        QVERIFY(error.contains(fileName));
        QCOMPARE(files.fingerprint(fileName), before);
    }

    void missingTableOrFieldIsReported()
    {
        TestFiles files;
        files.exec("bdm2.mdb", "CREATE TABLE other (x)");
        files.exec("bdm4.mdb", "CREATE TABLE dados (data TEXT, hora TEXT, nome TEXT)");
        const QByteArray before = files.fingerprint("bdm4.mdb");
        const QStringList problems = files.prepare();
        QCOMPARE(problems.size(), 2);
        QVERIFY(problems.at(0).contains("bdm2.mdb") && problems.at(0).contains("\"dados\" is missing"));
        QVERIFY(problems.at(1).contains("bdm4.mdb") && problems.at(1).contains("\"convenio\""));
        QCOMPARE(files.fingerprint("bdm4.mdb"), before);
    }

    void repointingNeverCreatesAFile()
    {
        TestFiles files;
        files.prepare();
        QFile::remove(files.path("bdm5.mdb"));
        Connection connection(QStringLiteral("test"), files.folder());
        QString error;
        QVERIFY(connection.pointAt("bdm1.mdb", &error));
        QVERIFY(!connection.pointAt("bdm5.mdb", &error));
        QVERIFY(error.contains("does not exist"));
        QVERIFY(!QFileInfo::exists(files.path("bdm5.mdb")));
    }

    void slotsSixAndSevenUseTheirFields()
    {
        TestFiles files;
        files.prepare();
        files.setDoctor(6, "Six", "20", {"0800", "0900"}, 3);
        files.setDoctor(7, "Seven", "30", {"1000", "1100"});
        QCOMPARE(files.setting("bdm6.mdb", "prof11").toString(), QStringLiteral("Six"));
        QCOMPARE(files.setting("bdm6.mdb", "interv11").toString(), QStringLiteral("20"));
        QCOMPARE(files.setting("bdm6.mdb", "junta6").toInt(), 3);
        QCOMPARE(files.setting("bdm6.mdb", "interv12").toString(), QStringLiteral("30"));

        Connection main(QStringLiteral("Data2"), files.folder());
        Connection extra(QStringLiteral("Data22"), files.folder());
        QString error;
        QVERIFY(main.pointAt(kMainSettingsFile, &error));
        QVERIFY(extra.pointAt(kExtraSettingsFile, &error));
        SettingsStore store(main, extra);
        AllDoctorFields fields;
        QVERIFY(store.readDoctorFields(&fields, &error));
        QCOMPARE(fields[5].name, std::optional<QString>("Six"));
        QCOMPARE(fields[5].link, std::optional<QString>("3"));
        QCOMPARE(fields[6].interval, std::optional<QString>("30"));
        WeeklyTimes times;
        QVERIFY(store.readWeeklyTimes(6, &times, &error));
        QCOMPARE(times[0], QStringLiteral("0800"));
        QVERIFY(store.readWeeklyTimes(7, &times, &error));
        QCOMPARE(times[weeklyTimePosition(6, 2)], QStringLiteral("1100"));

        times.fill(QString());
        times[0] = QStringLiteral("0700");
        QVERIFY(store.saveWeeklyTimes(7, times, &error));
        QCOMPARE(files.setting("bdm66.mdb", "p7_seg1").toString(), QStringLiteral("0700"));
        QCOMPARE(files.setting("bdm6.mdb", "p6_seg1").toString(), QStringLiteral("0800"));
    }

    void dayIsReadInTheOrderAdded()
    {
        TestFiles files;
        files.prepare();
        const QDate day(2027, 3, 1);
        files.addAppointment(1, day.addDays(1), "08:00", "Next day");
        files.addAppointment(1, day, "09:00", "O'Brien; DROP TABLE dados; --");
        files.addAppointment(1, day.addDays(-1), "08:00", "Day before");
        files.addAppointment(1, day, "08:00", "Second");
        Connection connection(QStringLiteral("Data1"), files.folder());
        QString error;
        QVERIFY(connection.pointAt("bdm1.mdb", &error));
        AppointmentStore store(connection);
        QVector<Appointment> bookings;
        QVERIFY(store.readDay(day, &bookings, &error));
        QCOMPARE(bookings.size(), 2);
        QCOMPARE(bookings[0].nome, QStringLiteral("O'Brien; DROP TABLE dados; --"));
        QCOMPARE(bookings[1].nome, QStringLiteral("Second"));
        // The day's lookup goes through the date index.
        const QString plan = files
                                 .exec("bdm1.mdb",
                                       "EXPLAIN QUERY PLAN SELECT rowid, hora FROM dados WHERE data = ? "
                                       "ORDER BY rowid",
                                       {storedDate(day)})
                                 .first()
                                 .value(3)
                                 .toString();
        QVERIFY2(plan.contains("INDEX data"), qPrintable(plan));
        QVERIFY(!plan.contains("TEMP B-TREE"));
    }

    // The search index of a book another tool wrote: Cancel stops its making and leaves it to be made
    // at the next search, which then finds every booking.
    void aCancelledIndexIsMadeAtTheNextSearch()
    {
        TestFiles files;
        files.prepare();
        files.exec("bdm1.mdb",
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000) "
                   "INSERT INTO dados (data, hora, nome, convenio, telefone, obs) "
                   "SELECT '2027-03-01', '08:00', 'Paciente ' || i, '', '', '' FROM n");
        SqliteStorage storage(files.folder());
        int told = 0;
        QVERIFY(!storage.bringSearchUpToDate([&told](qint64, qint64) { return ++told < 1; }));
        QCOMPARE(told, 1);
        QCOMPARE(files.exec("bdm1.mdb", "SELECT count(*) FROM sqlite_master WHERE name = 'booking_search'")
                     .value(0)
                     .value(0)
                     .toInt(),
                 0);
        QVector<FoundBooking> found;
        QString error;
        QVERIFY(storage.findBookings(patientQuery("paciente"), &found, &error));
        QCOMPARE(found.size(), 6000);
    }

    // Another tool broke the search index (a table dropped, its entries emptied, the book renumbered):
    // bookings are still added, changed and removed, and the index is made whole again, so that a search
    // finds every booking.
    void aBrokenIndexBlocksNothing_data()
    {
        QTest::addColumn<QStringList>("breaking");
        QTest::newRow("the index table dropped") << QStringList{"DROP TABLE booking_search"};
        QTest::newRow("the state table dropped") << QStringList{"DROP TABLE booking_search_state"};
        QTest::newRow("the entries emptied") << QStringList{"DELETE FROM booking_search"};
        // As a dump loaded again does it: the rows renumbered, the index's triggers made after them.
        QStringList renumbered;
        for (const char *event : {"insert", "update", "delete"})
            renumbered << QStringLiteral("DROP TRIGGER booking_search_after_%1").arg(event);
        renumbered << "UPDATE dados SET rowid = rowid + 1000"
                   << "UPDATE booking_search_state SET stale = 0, own = 0";
        QTest::newRow("the book renumbered") << renumbered;
    }
    void aBrokenIndexBlocksNothing()
    {
        QFETCH(QStringList, breaking);
        TestFiles files;
        files.prepare();
        for (int i = 0; i < 3; ++i)
            files.addAppointment(1, QDate(2027, 3, 1), "08:00", QStringLiteral("Paciente %1").arg(i));
        {
            SqliteStorage storage(files.folder());
            QVERIFY(storage.bringSearchUpToDate([](qint64, qint64) { return true; }));
        }
        for (const QString &statement : breaking)
            files.exec("bdm1.mdb", statement);
        SqliteStorage storage(files.folder());
        storage.bringSearchUpToDate([](qint64, qint64) { return true; });
        QString error;
        Appointment added;
        added.date = QDate(2027, 3, 1);
        added.hora = QStringLiteral("09:00");
        added.nome = QStringLiteral("Paciente Nova");
        QCOMPARE(storage.add(1, added, 0, &error).outcome, AddOutcome::Stored);
        QVector<FoundBooking> found;
        QVERIFY2(storage.findBookings(patientQuery("paciente"), &found, &error), qPrintable(error));
        QCOMPARE(found.size(), 4);
    }

    // A storage that searched trusts its index while the book is unchanged, and leaves the book free for
    // others to write between searches: what another program wrote past the index is found next time.
    void aBookWrittenElsewhereIsSearchedAgain()
    {
        TestFiles files;
        files.prepare();
        for (int i = 0; i < 3; ++i)
            files.addAppointment(1, QDate(2027, 3, 1), "08:00", QStringLiteral("Paciente %1").arg(i));
        SqliteStorage storage(files.folder());
        QVector<FoundBooking> found;
        QString error;
        QVERIFY(storage.findBookings(patientQuery("paciente"), &found, &error));
        QCOMPARE(found.size(), 3);
        files.exec("bdm1.mdb", "DROP TRIGGER booking_search_after_insert");
        files.addAppointment(1, QDate(2027, 3, 2), "08:00", "Paciente Nova");
        QVERIFY2(storage.findBookings(patientQuery("paciente"), &found, &error), qPrintable(error));
        QCOMPARE(found.size(), 4);
    }

    // A file found sound is checked again once it changed.
    void aFileChangedSinceItsCheckIsCheckedAgain()
    {
        TestFiles files;
        files.prepare();
        QString problem;
        QVERIFY(checkFile(files.path("bdm4.mdb"), FileKind::Appointments, &problem));
        files.exec("bdm4.mdb", "ALTER TABLE dados DROP COLUMN convenio");
        QVERIFY(!checkFile(files.path("bdm4.mdb"), FileKind::Appointments, &problem));
        QVERIFY2(problem.contains("\"convenio\""), qPrintable(problem));
    }

    // A task that only reads leaves the folder exactly as it was: a live journal tying a linked
    // booking is not taken for a stale one, no index is made, nothing is written.
    void readingLeavesTheFolderAsItWas()
    {
        TestFiles files;
        files.prepare();
        files.addAppointment(1, QDate(2027, 3, 1), "08:00", "Paciente Lima");
        files.write("bdm1.mdb-mj0123ABCD", "a linked booking's journal, in the middle of its commit");
        const auto everything = [&files] {
            QStringList state;
            for (const QString &name : files.folder().entryList(QDir::Files | QDir::Hidden, QDir::Name))
                state << name + QLatin1Char(' ') + QString::fromLatin1(files.fingerprint(name).toHex());
            return state;
        };
        const QStringList before = everything();
        QVERIFY(checkFolder(files.folder(), FileAccess::ReadOnly).problems.isEmpty());
        SqliteStorage reader(files.folder(), kLockWaitMs, FileAccess::ReadOnly);
        QVector<FoundBooking> found;
        QString error;
        QVERIFY2(reader.findBookings(patientQuery("paciente"), &found, &error), qPrintable(error));
        QCOMPARE(found.size(), 1);
        MonthReport report;
        QVERIFY2(readMonthReport(reader, QDate(2027, 3, 1), QDate(2027, 3, 31), 0, &report, &error),
                 qPrintable(error));
        QCOMPARE(everything(), before);
    }

    void linkedAddStoresBothOrOne()
    {
        TestFiles files;
        files.prepare();
        Connection connection(QStringLiteral("Data1"), files.folder());
        QString error;
        QVERIFY(connection.pointAt("bdm1.mdb", &error));
        AppointmentStore store(connection);
        const Appointment booking =
            bookingAt(QDate(2027, 3, 1), QStringLiteral("09:00"), QStringLiteral("Ana"));
        QCOMPARE(store.add(booking, QStringLiteral("bdm3.mdb"), &error), AddOutcome::Stored);
        QCOMPARE(files.appointments(1), QStringList{"2027-03-01|09:00|Ana|||"});
        QCOMPARE(files.appointments(3), QStringList{"2027-03-01|09:00|Ana|||"});

        // A linked file that cannot be used leaves the booking stored for its own doctor only.
        files.write("bdm4.mdb", "not a database");
        QCOMPARE(store.add(booking, QStringLiteral("bdm4.mdb"), &error), AddOutcome::StoredWithoutCopy);
        QVERIFY(error.contains("bdm4.mdb"));
        QCOMPARE(files.appointments(1).size(), 2);
        QCOMPARE(files.fingerprint("bdm4.mdb"),
                 QCryptographicHash::hash("not a database", QCryptographicHash::Sha256));
        // The linked file is never left attached.
        QVERIFY(store.add(booking, QString(), &error) == AddOutcome::Stored);
        QCOMPARE(files.appointments(3).size(), 1);
    }

    // The linked part failing at any step leaves the booking stored for the doctor alone, naming the
    // linked file; the doctor's own file failing stores nothing anywhere.
    void linkedPartFailures_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("ownRows");
        QTest::addColumn<int>("linkedRows");
        const int withoutCopy = static_cast<int>(AddOutcome::StoredWithoutCopy);
        QTest::newRow("linked file locked") << "linked locked" << withoutCopy << 1 << 0;
        QTest::newRow("a column the copy cannot fill") << "linked column" << withoutCopy << 1 << 0;
        QTest::newRow("own file locked") << "own locked" << static_cast<int>(AddOutcome::NotStored) << 0 << 0;
        QTest::newRow("linked file in WAL mode")
            << "linked wal" << static_cast<int>(AddOutcome::Stored) << 1 << 1;
    }

    void linkedPartFailures()
    {
        QFETCH(QString, failure);
        QFETCH(int, outcome);
        QFETCH(int, ownRows);
        QFETCH(int, linkedRows);
        TestFiles files;
        files.prepare();
        Connection connection(QStringLiteral("Data1"), files.folder());
        QString error;
        QVERIFY(connection.pointAt("bdm1.mdb", &error));
        connection.setLockWait(50);
        AppointmentStore store(connection);
        const Appointment booking =
            bookingAt(QDate(2027, 3, 1), QStringLiteral("09:00"), QStringLiteral("Ana"));

        std::unique_ptr<velmora::testing::WriteLock> lock;
        if (failure == "linked locked")
            lock = std::make_unique<velmora::testing::WriteLock>(files.path("bdm4.mdb"));
        if (failure == "own locked")
            lock = std::make_unique<velmora::testing::WriteLock>(files.path("bdm1.mdb"));
        if (failure == "linked column") {
            files.exec("bdm4.mdb", "DROP TABLE dados");
            files.exec("bdm4.mdb", "CREATE TABLE dados (data TEXT, hora TEXT, nome TEXT, convenio TEXT, "
                                   "telefone TEXT, obs TEXT, sala TEXT NOT NULL)");
        }
        if (failure == "linked wal")
            files.exec("bdm4.mdb", "PRAGMA journal_mode = WAL");

        QCOMPARE(static_cast<int>(store.add(booking, QStringLiteral("bdm4.mdb"), &error)), outcome);
        if (outcome != static_cast<int>(AddOutcome::Stored))
            QVERIFY2(error.contains(failure.startsWith("own") ? "locked" : "bdm4.mdb"), qPrintable(error));
        lock.reset();
        QCOMPARE(files.appointments(1).size(), ownRows);
        QCOMPARE(files.appointments(4).size(), linkedRows);
        QCOMPARE(files.exec("bdm4.mdb", "PRAGMA journal_mode").first().value(0).toString(),
                 QStringLiteral("delete"));
    }

    // A sync tool renames another file over the open one, then removes it: what is read and written
    // is the file that is there, and a missing one is said.
    void replacedOrRemovedFileIsOpenedAgain()
    {
        TestFiles files;
        files.prepare();
        TestFiles elsewhere;
        elsewhere.prepare();
        const QDate day(2027, 3, 1);
        files.addAppointment(1, day, "08:00", "Old File");
        elsewhere.addAppointment(1, day, "09:00", "New File");
        Connection connection(QStringLiteral("Data1"), files.folder());
        QString error;
        QVERIFY(connection.pointAt("bdm1.mdb", &error));
        AppointmentStore store(connection);
        QVector<Appointment> bookings;
        QVERIFY(store.readDay(day, &bookings, &error));
        QCOMPARE(bookings.value(0).nome, QStringLiteral("Old File"));

        QVERIFY(QFile::remove(files.path("bdm1.mdb")));
        QVERIFY(QFile::rename(elsewhere.path("bdm1.mdb"), files.path("bdm1.mdb")));
        const Appointment booking = bookingAt(day, QStringLiteral("10:00"), QStringLiteral("Added After"));
        QCOMPARE(store.add(booking, QString(), &error), AddOutcome::Stored);
        QVERIFY(connection.takeReopened());
        QVERIFY(store.readDay(day, &bookings, &error));
        QCOMPARE(bookings.size(), 2);
        QCOMPARE(bookings.value(0).nome, QStringLiteral("New File"));
        QCOMPARE(files.appointments(1).last(), QStringLiteral("2027-03-01|10:00|Added After|||"));

        QVERIFY(QFile::remove(files.path("bdm1.mdb")));
        QVERIFY(!store.readDay(day, &bookings, &error));
        QVERIFY2(error.contains(QStringLiteral("does not exist")), qPrintable(error));
        QVERIFY(!QFileInfo::exists(files.path("bdm1.mdb")));
    }

    // A data folder whose name is not valid UTF-8, worked in as the program does: from inside it.
    void folderNameThatIsNoText()
    {
        QTemporaryDir parent;
        const QByteArray folder = QFile::encodeName(parent.path()) + "/caf\xe9";
        QVERIFY(::mkdir(folder.constData(), 0700) == 0);
        char previous[4096];
        QVERIFY(::getcwd(previous, sizeof previous));
        QVERIFY(::chdir(folder.constData()) == 0);
        const QDir here(QStringLiteral("."));
        const QStringList created = prepareFiles(here);
        const QStringList again = prepareFiles(here);
        Connection connection(QStringLiteral("Data1"), here);
        QString error;
        const bool opened = connection.pointAt("bdm1.mdb", &error);
        connection.close();
        QVERIFY(::chdir(previous) == 0);
        QCOMPARE(created, QStringList{});
        QCOMPARE(again, QStringList{});
        QVERIFY2(opened, qPrintable(error));
        QVERIFY(::access((folder + "/bdm66.mdb").constData(), F_OK) == 0);
    }
};

QTEST_GUILESS_MAIN(StorageTest)
#include "tst_storage.moc"
