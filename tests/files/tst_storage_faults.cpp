#include "core/schedule/doctor_setup.h"
#include "core/text/date_steps.h"
#include "support/fault_vfs.h"
#include "support/open_book.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <sqlite3.h>

#include <functional>
#include <thread>

using namespace velmora;
using velmora::testing::Book;
using velmora::testing::said;
using velmora::testing::TestFiles;
namespace FaultVfs = velmora::testing::FaultVfs;

namespace {

const QDate kMonday(2027, 3, 1);

// Everything the twelve files hold, as text, to tell whether anything changed.
QStringList storedState(const TestFiles &files)
{
    QStringList state;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        state << files.appointments(slot);
    for (const char *settings : {kMainSettingsFile, kExtraSettingsFile})
        for (const QSqlRecord &record :
             files.exec(QString::fromLatin1(settings), QStringLiteral("SELECT * FROM profs")))
            for (int i = 0; i < record.count(); ++i)
                state << record.fieldName(i) + QLatin1Char('=') + record.value(i).toString();
    return state;
}

bool allFilesIntact(const TestFiles &files)
{
    for (const QString &name : allFileNames()) {
        const QString result =
            files.exec(name, QStringLiteral("PRAGMA integrity_check")).value(0).value(0).toString();
        if (result != QLatin1String("ok")) {
            qWarning("%s: %s", qPrintable(name), qPrintable(result));
            return false;
        }
    }
    return true;
}

struct Scenario
{
    std::function<void(Book &)> prepare;
    // What the receptionist's action says.
    std::function<QString(Book &)> act;
    QString failureWords;
    bool showsDayList;
    // Said when only a linked copy failed: the booking is then stored for its own doctor alone.
    QString storedAloneWords = {};
};

int totalInjected = 0;

} // namespace

Q_DECLARE_METATYPE(Scenario)

class StorageFaultsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { FaultVfs::install(); }

    void cleanupTestCase() { qInfo("storage faults injected in this run: %d", totalInjected); }

    void everyWriteCanFail_data()
    {
        QTest::addColumn<Scenario>("scenario");
        QTest::addColumn<bool>("persistent");

        const Scenario add{[](Book &book) {
                               book.book->selectRow(book.rows().indexOf(QStringLiteral("08:30")));
                               book.type(NameField, "New Patient");
                           },
                           [](Book &book) { return said(book.book->add()); }, "could not be stored", true,
                           "could not be copied to the linked doctor's book"};
        const Scenario change{[](Book &book) {
                                  book.book->selectRow(book.rowStartingWith(QStringLiteral("08:15  Kept")));
                                  book.type(NameField, "Changed");
                              },
                              [](Book &book) { return said(book.book->change()); }, "could not be changed",
                              true};
        const Scenario remove{
            [](Book &book) { book.book->selectRow(book.rowStartingWith(QStringLiteral("08:15  Kept"))); },
            [](Book &book) { return said(book.book->remove()); }, "could not be removed", true};
        const Scenario choose{[](Book &) {}, [](Book &book) { return said(book.book->chooseDoctor(2)); },
                              "could not be opened", false};
        const Scenario saveSetup{[](Book &) {},
                                 [](Book &book) {
                                     AllDoctorChanges changes;
                                     changes[0].name = QStringLiteral("Renamed Doctor");
                                     QString error;
                                     return DoctorSetup(*book.storage).save(changes, &error) ==
                                                    DoctorSetup::Save::Saved
                                                ? QString()
                                                : error;
                                 },
                                 "", false};
        const Scenario confirmHours{[](Book &) {},
                                    [](Book &book) {
                                        WeeklyTimes times;
                                        times[0] = QStringLiteral("0700");
                                        times[1] = QStringLiteral("0730");
                                        QString error;
                                        return DoctorSetup(*book.storage).saveWeeklyTimes(7, times, &error)
                                                   ? QString()
                                                   : error;
                                    },
                                    "", false};

        for (const bool persistent : {false, true}) {
            const char *mode = persistent ? "disk gone" : "one failure";
            QTest::addRow("add with linked copy, %s", mode) << add << persistent;
            QTest::addRow("change, %s", mode) << change << persistent;
            QTest::addRow("remove, %s", mode) << remove << persistent;
            QTest::addRow("first choice of a doctor, %s", mode) << choose << persistent;
            QTest::addRow("setup save, %s", mode) << saveSetup << persistent;
            QTest::addRow("weekly hours, %s", mode) << confirmHours << persistent;
        }
    }

    // Fails the first write operation, then the second, and so on until the action needs no more:
    // each failure is said, nothing stored is lost or half-written, and the list shows what is stored.
    void everyWriteCanFail()
    {
        QFETCH(Scenario, scenario);
        QFETCH(bool, persistent);
        bool succeeded = false;
        int injectedHere = 0;
        for (int passing = 0; passing < 200 && !succeeded; ++passing) {
            Book book;
            book.files.setDoctor(1, "Ana", "15", {"0800", "0900"}, 3);
            book.files.setDoctor(2, "Empty Book", "15", {"0800", "0900"});
            book.files.addAppointment(1, kMonday, "08:15", "Kept", "Plan");
            book.open(1);
            scenario.prepare(book);
            const QStringList before = storedState(book.files);
            const QStringList rowsBefore = book.rows();

            FaultVfs::arm(passing, persistent ? SQLITE_FULL : SQLITE_IOERR, persistent);
            const QString said = scenario.act(book);
            FaultVfs::disarm();
            const int injected = FaultVfs::injected();
            totalInjected += injected;
            injectedHere += injected;

            QVERIFY(allFilesIntact(book.files));
            if (injected == 0) {
                succeeded = true;
                QVERIFY2(said.isEmpty(), qPrintable(said));
                QVERIFY(storedState(book.files) != before);
                continue;
            }
            if (!scenario.storedAloneWords.isEmpty() && said.isEmpty()) {
                // The commit failed after it was made (a journal that could not be removed): looked up,
                // the booking is in each book once, never stored again.
                QCOMPARE(book.files.appointments(1).filter(QStringLiteral("New Patient")).size(), 1);
                QCOMPARE(book.files.appointments(3).filter(QStringLiteral("New Patient")).size(), 1);
                continue;
            }
            if (!scenario.storedAloneWords.isEmpty() && said.contains(scenario.storedAloneWords)) {
                // The linked part failed: the booking is the one change, in its own doctor's book.
                QStringList expected = before;
                expected.insert(book.files.appointments(1).size() - 1, book.files.appointments(1).last());
                QVERIFY(book.files.appointments(1).last().contains(QStringLiteral("New Patient")));
                QCOMPARE(storedState(book.files), expected);
                continue;
            }
            if (!scenario.storedAloneWords.isEmpty() && !said.contains(scenario.failureWords) &&
                said.contains(QStringLiteral("without a patient record"))) {
                // Only the patient's record failed: the booking is still stored, in each book once.
                QCOMPARE(book.files.appointments(1).filter(QStringLiteral("New Patient")).size(), 1);
                QCOMPARE(book.files.appointments(3).filter(QStringLiteral("New Patient")).size(), 1);
                continue;
            }
            QVERIFY2(!said.isEmpty() && said.contains(scenario.failureWords),
                     qPrintable(QStringLiteral("%1: %2").arg(passing).arg(said)));
            QCOMPARE(storedState(book.files), before);
            if (scenario.showsDayList) {
                // Once the disk is back, the list is what is stored: what it was before.
                QVERIFY(velmora::testing::said(book.book->stepDate(DateStep::PlusDay, kMonday)).isEmpty());
                QVERIFY(velmora::testing::said(book.book->stepDate(DateStep::MinusDay, kMonday)).isEmpty());
                QCOMPARE(book.rows(), rowsBefore);
            }
        }
        QVERIFY(succeeded);
        QVERIFY2(injectedHere > 0, "no fault reached this operation");
    }

    void firstStartOnAFailingDisk()
    {
        bool succeeded = false;
        for (int passing = 0; passing < 400 && !succeeded; passing += 7) {
            TestFiles files;
            FaultVfs::arm(passing, SQLITE_FULL, true);
            const QStringList problems = files.prepare();
            FaultVfs::disarm();
            totalInjected += FaultVfs::injected();
            succeeded = FaultVfs::injected() == 0;
            QCOMPARE(problems.isEmpty(), succeeded);
            // No half-made file stands under a real name: the next start creates what is missing.
            for (const QString &name : allFileNames()) {
                QString problem;
                if (QFileInfo::exists(files.path(name)))
                    QVERIFY2(checkFile(files.path(name), kindOfFile(name), &problem), qPrintable(problem));
            }
            QCOMPARE(files.prepare(), QStringList{});
        }
        QVERIFY(succeeded);
    }

    // A file locked by another program for a moment is waited for, not reported.
    void shortLockIsWaitedFor()
    {
        Book book;
        book.files.setDoctor(1, "Ana", "15", {"0800", "0900"});
        AppointmentBook &ana = book.open(1, kLockWaitMs);
        ana.selectRow(0);
        book.type(NameField, "Patient Waiter");

        const QString path = book.files.path("bdm1.mdb");
        std::atomic<bool> locked{false};
        std::thread holder([&] {
            {
                QSqlDatabase db =
                    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
                db.setDatabaseName(path);
                db.open();
                QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
                locked = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(700));
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        });
        while (!locked)
            std::this_thread::yield();
        const QString message = said(ana.add());
        holder.join();
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QVERIFY(book.files.appointments(1).last().contains(QStringLiteral("Patient Waiter")));
    }

    void truncatedFileIsReported()
    {
        Book book;
        book.files.setDoctor(1, "Ana", "15", {"0800", "0900"});
        for (int i = 0; i < 400; ++i)
            book.files.addAppointment(1, kMonday.addDays(i % 30), "08:00",
                                      QStringLiteral("Patient %1").arg(i));
        QFile file(book.files.path("bdm1.mdb"));
        QVERIFY(file.resize(file.size() / 2));
        const QByteArray damaged = book.files.fingerprint("bdm1.mdb");
        book.storage = std::make_unique<SqliteStorage>(book.files.folder());
        book.book = std::make_unique<AppointmentBook>(*book.storage, kMonday);
        book.book->readDoctorNames();
        QStringList messages = book.book->chooseDoctor(1).messages;
        for (int i = 0; i < 31; ++i)
            messages << book.book->stepDate(DateStep::PlusDay, kMonday).messages;
        // Somewhere the missing half is met: said with the file and the reason, never written over.
        const QString said = messages.join(QLatin1Char('\n'));
        QVERIFY2(said.contains(QStringLiteral("\"bdm1.mdb\"")) && said.contains(QStringLiteral("malformed")),
                 qPrintable(said));
        QCOMPARE(book.files.fingerprint("bdm1.mdb"), damaged);
    }
};

QTEST_GUILESS_MAIN(StorageFaultsTest)
#include "tst_storage_faults.moc"
