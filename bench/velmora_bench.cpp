// Velmora's figures, each measured beside what it is judged against in the same run:
//   1. the day list rebuild at 1,000, 100,000 and 1,000,000 appointments, and onto a day of 40,000
//      bookings against a day of 40;
//   2. Add, alone and with its linked copy, against bare SQLite inserts of the same durability;
//   3. start-up to the filled doctor list against a bare Qt window, in time and peak memory, and
//      against the main window alone;
//   4. printing a 300-row day list to PDF, per page;
//   5. importing the older program's clinic-a against reading it with the reader library alone.
#include "bench/child_runs.h"
#include "core/desk/session_views.h"
#include "core/model/calendar_entry.h"
#include "core/model/patient.h"
#include "core/patients/booking_review.h"
#include "core/patients/patient_matching.h"
#include "core/patients/patient_records.h"
#include "core/reception/clinic_day.h"
#include "core/reception/confirmation_list.h"
#include "core/reception/waiting_list.h"
#include "core/reports/month_report.h"
#include "core/schedule/first_free.h"
#include "core/schedule/weekly_series.h"
#include "core/search/patient_query.h"
#include "core/text/name_rules.h"
#include "core/text/printout.h"
#include "files/database.h"
#include "files/sqlite_storage.h"
#include "platform/system_platform.h"
#include "schema/book_schema.h"
#include "schema/booking_sql.h"
#include "schema/patient_sql.h"
#include "schema/slot_files.h"
#include "transfer/legacy_import.h"
#include "windows/book_windows.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>
#include <optional>
#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <map>

using namespace velmora;

namespace velmora::bench {
long long readWithLibraryAlone(const std::vector<std::string> &paths);
}

namespace {

const QDate kFirstDay(2027, 3, 1);
constexpr int kPerDay = 40;

class QuietMessages : public MessageService
{
public:
    void inform(QWidget *, const QString &text) override
    {
        qFatal("unexpected message: %s", qPrintable(text));
    }
    bool ask(QWidget *, const QString &) override { return false; }
    QString saveFileName(QWidget *, const QString &, const QString &) override { return {}; }
};

class FixedClock : public Clock
{
public:
    QDate today() const override { return kFirstDay; }
    QTime now() const override { return QTime(9, 0); }
};

class NoBrowser : public Browser
{
public:
    bool open(const QUrl &) override { return true; }
};

class NoProgress : public ProgressService
{
public:
    bool show(QWidget *, const QString &, int) override { return true; }
    void close() override {}
};

struct Services
{
    QuietMessages messages;
    FixedClock clock;
    SystemPrinter printer;
    NoBrowser browser;
    NoProgress progress;
    Platform platform() { return Platform{messages, clock, printer, browser, progress}; }
};

void check(int rc, sqlite3 *db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

// `count` bookings written into the book file at path, perDay a day from kFirstDay on at 15-minute
// steps from 08:00, each with the name, plan, phone and note rest(i) gives.
void fillBookFile(const QString &path, int count, int perDay,
                  const std::function<std::array<QByteArray, 4>(int)> &rest)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(qPrintable(path), &db), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO dados VALUES (?, ?, ?, ?, ?, ?)", -1, &insert, nullptr), db);
    for (int i = 0; i < count; ++i) {
        const QByteArray date = storedDate(kFirstDay.addDays(i / perDay)).toLatin1();
        const QByteArray time = QTime(8, 0).addSecs(15 * 60 * (i % 40)).toString("HH:mm").toLatin1();
        sqlite3_bind_text(insert, 1, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, time.constData(), -1, SQLITE_TRANSIENT);
        const std::array<QByteArray, 4> fields = rest(i);
        for (int field = 0; field < 4; ++field)
            sqlite3_bind_text(insert, field + 3, fields[static_cast<size_t>(field)].constData(), -1,
                              SQLITE_TRANSIENT);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// A folder of files whose first doctor works 08:00-18:00 at 15 minutes every day, with `count`
// appointments, perDay a day from kFirstDay on, and doctor 3 as the linked book.
QString preparedFolder(int count, int perDay = kPerDay)
{
    static std::map<std::pair<int, int>, std::unique_ptr<QTemporaryDir>> folders;
    auto &dir = folders[{count, perDay}];
    if (dir)
        return dir->path();
    dir = std::make_unique<QTemporaryDir>();
    prepareFiles(QDir(dir->path()));
    sqlite3 *db = nullptr;
    check(sqlite3_open(qPrintable(dir->path() + "/bdm6.mdb"), &db), db);
    check(
        sqlite3_exec(db,
                     "UPDATE profs SET prof1 = 'Bench Doctor', interv1 = '15', junta1 = 3, prof3 = 'Linked', "
                     "interv3 = '15', p1_seg1 = '0800', p1_seg2 = '1800', p1_ter1 = '0800', p1_ter2 = '1800'",
                     nullptr, nullptr, nullptr),
        db);
    sqlite3_close(db);
    fillBookFile(dir->path() + "/bdm1.mdb", count, perDay, [](int) {
        return std::array<QByteArray, 4>{"Patient Name Of Some Length", "Health Plan", "555 0100 555 0101",
                                         "note"};
    });
    // As a book in use has them: the tables of statuses, history, holds and series' places, empty.
    check(sqlite3_open(qPrintable(dir->path() + "/bdm1.mdb"), &db), db);
    for (const QString &statement : statusTableStatements(Dialect::Files, QStringLiteral("main")))
        check(sqlite3_exec(db, qPrintable(statement), nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return dir->path();
}

// The book on a folder and its main window shown, with the first doctor chosen.
struct OpenBook
{
    OpenBook(Services &services, const QString &folder)
        : storage(QDir(folder)), reads([folder] {
              return std::make_unique<SqliteStorage>(QDir(folder), kLockWaitMs, FileAccess::ReadBeside);
          }),
          book(storage, services.clock.today()),
          windows(services.platform(), book, storage, reads, QDir(folder))
    {
        windows.main().show();
        book.readDoctorNames();
        Q_EMIT windows.main().findChild<DoctorBox *>("Combo1")->doctorPicked(
            0); // as picking the first entry does
        if (book.activeSlot() != 1)
            qFatal("no doctor chosen");
    }
    const DayListModel &dayList() const { return book.dayList(); }

    SqliteStorage storage;
    BackgroundReads reads;
    AppointmentBook book;
    BookWindows windows;
};

std::unique_ptr<OpenBook> openBook(Services &services, const QString &folder)
{
    return std::make_unique<OpenBook>(services, folder);
}

// 1. A date step and back: each click clears the list, lists the free slots and merges the day.
// Clicks "+ day" and "- day" for every iteration, and labels the figure with the rows listed.
void stepOnAndBack(benchmark::State &state, OpenBook &window)
{
    QPushButton *plusDay = window.windows.main().findChild<QPushButton *>("Command1");
    QPushButton *minusDay = window.windows.main().findChild<QPushButton *>("Command4");
    for (auto _ : state) {
        QTest::mouseClick(plusDay, Qt::LeftButton);
        QTest::mouseClick(minusDay, Qt::LeftButton);
    }
    state.SetLabel(std::to_string(window.dayList().rowCount()) + " rows");
}

// 200 closures and extra days stored in the folder's calendar for as long as it lives, none on the days
// measured: what a year's calendar costs the reads that follow it.
class CalendarOf200
{
public:
    explicit CalendarOf200(const QString &folder) : storage_(QDir(folder))
    {
        QVector<CalendarEntry> entries;
        for (int i = 0; i < 200; ++i) {
            CalendarEntry entry;
            entry.kind = i % 2 ? CalendarEntry::Kind::Closure : CalendarEntry::Kind::ExtraDay;
            entry.slot = 1 + i % kDoctorSlotCount;
            entry.from = kFirstDay.addYears(1).addDays(i);
            entry.to = i % 2 ? entry.from.addDays(3) : QDate();
            entry.hours = i % 2 ? QStringList{} : QStringList{"0800", "1200"};
            entry.reason = QStringLiteral("Congresso %1").arg(i);
            entries << entry;
        }
        save(entries);
    }
    ~CalendarOf200() { save({}); }

private:
    void save(const QVector<CalendarEntry> &entries)
    {
        QString error;
        if (!storage_.saveCalendar(entries, &error))
            qFatal("calendar: %s", qPrintable(error));
    }
    SqliteStorage storage_;
};

void BM_DayListRebuild(benchmark::State &state)
{
    Services services;
    const auto window = openBook(services, preparedFolder(static_cast<int>(state.range(0))));
    stepOnAndBack(state, *window);
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["ms_per_rebuild"] =
        benchmark::Counter(static_cast<double>(state.iterations() * 2),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
void BM_DayListRebuildWithCalendar(benchmark::State &state)
{
    Services services;
    const QString folder = preparedFolder(static_cast<int>(state.range(0)));
    const CalendarOf200 calendar(folder);
    const auto window = openBook(services, folder);
    stepOnAndBack(state, *window);
}
BENCHMARK(BM_DayListRebuildWithCalendar)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_DayListRebuild)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A date step onto a crowded day and back: the day of kFirstDay holds all the bookings.
void BM_CrowdedDay(benchmark::State &state)
{
    Services services;
    const int bookings = static_cast<int>(state.range(0));
    const auto window = openBook(services, preparedFolder(bookings, bookings));
    stepOnAndBack(state, *window);
}
BENCHMARK(BM_CrowdedDay)->Arg(40)->Arg(40000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same steps when every booking of the book has a status set.
void BM_DayListRebuildWithStatuses(benchmark::State &state)
{
    Services services;
    QTemporaryDir copy;
    const int count = static_cast<int>(state.range(0));
    for (const QString &name : allFileNames())
        QFile::copy(preparedFolder(count) + QLatin1Char('/') + name, copy.filePath(name));
    sqlite3 *db = nullptr;
    check(sqlite3_open(qPrintable(copy.filePath("bdm1.mdb")), &db), db);
    for (const QString &statement : statusTableStatements(Dialect::Files, QStringLiteral("main")))
        check(sqlite3_exec(db, qPrintable(statement), nullptr, nullptr, nullptr), db);
    check(sqlite3_exec(db, "INSERT INTO booking_status SELECT rowid, nome, 1 FROM dados", nullptr, nullptr,
                       nullptr),
          db);
    sqlite3_close(db);
    const auto window = openBook(services, copy.path());
    stepOnAndBack(state, *window);
}
BENCHMARK(BM_DayListRebuildWithStatuses)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The confirmation list of a day of ten doctors with 40 bookings each.
void BM_ConfirmationListOfADay(benchmark::State &state)
{
    Services services;
    QTemporaryDir dir;
    prepareFiles(QDir(dir.path()));
    sqlite3 *db = nullptr;
    check(sqlite3_open(qPrintable(dir.filePath("bdm6.mdb")), &db), db);
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
        const QByteArray named = QStringLiteral("UPDATE profs SET %1 = 'Doctor %2'")
                                     .arg(QLatin1String(doctorSlot(slot).nameField))
                                     .arg(slot)
                                     .toLatin1();
        check(sqlite3_exec(db, named.constData(), nullptr, nullptr, nullptr), db);
    }
    sqlite3_close(db);
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
        check(sqlite3_open(qPrintable(dir.filePath(QLatin1String(doctorSlot(slot).appointmentFile))), &db),
              db);
        for (int i = 0; i < 40; ++i) {
            const QByteArray insert =
                QStringLiteral("INSERT INTO dados VALUES ('%1', '%2', 'Patient %3', 'Plan', "
                               "'(11) 99999-0000', '')")
                    .arg(storedDate(kFirstDay), QTime(8, 0).addSecs(900 * i).toString("HH:mm"))
                    .arg(i)
                    .toLatin1();
            check(sqlite3_exec(db, insert.constData(), nullptr, nullptr, nullptr), db);
        }
        sqlite3_close(db);
    }
    SqliteStorage storage{QDir(dir.path())};
    for (auto _ : state)
        if (const ConfirmationList list = readConfirmationList(storage, kFirstDay, kFirstDay, 0, false);
            !list.read || list.rows.size() != 400)
            qFatal("confirmation list: %s", qPrintable(list.error));
}
BENCHMARK(BM_ConfirmationListOfADay)->Unit(benchmark::kMillisecond)->UseRealTime();

// Ten doctors' books of `perBook` bookings each, 40 a day from kFirstDay on, every doctor working
// 08:00 to 18:00 every day.
QString tenBooksFolder(int perBook)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto &dir = folders[perBook];
    if (dir)
        return dir->path();
    dir = std::make_unique<QTemporaryDir>();
    prepareFiles(QDir(dir->path()));
    sqlite3 *db = nullptr;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
        const DoctorSlot &doctor = doctorSlot(slot);
        const QString settings =
            QLatin1String(doctor.timesFile == SettingsFile::Main ? kMainSettingsFile : kExtraSettingsFile);
        check(sqlite3_open(qPrintable(dir->filePath(settings)), &db), db);
        for (int day = 0; day < kWeekdayCount; ++day) {
            const QByteArray hours = QStringLiteral("UPDATE profs SET %1 = '0800', %2 = '1800'")
                                         .arg(weeklyTimeField(slot, day, 1), weeklyTimeField(slot, day, 2))
                                         .toLatin1();
            check(sqlite3_exec(db, hours.constData(), nullptr, nullptr, nullptr), db);
        }
        sqlite3_close(db);
        check(sqlite3_open(qPrintable(dir->filePath(QLatin1String(kMainSettingsFile))), &db), db);
        const QByteArray named = QStringLiteral("UPDATE profs SET %1 = 'Doctor %2', %3 = '15'")
                                     .arg(QLatin1String(doctor.nameField))
                                     .arg(slot)
                                     .arg(QLatin1String(doctor.intervalField))
                                     .toLatin1();
        check(sqlite3_exec(db, named.constData(), nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
        fillBookFile(dir->filePath(QLatin1String(doctor.appointmentFile)), perBook, 40, [](int i) {
            // One patient in 5,000 is the one searched for.
            return std::array<QByteArray, 4>{i % 5000 == 17
                                                 ? QByteArray("Maria da Conceição Souza")
                                                 : "Paciente " + QByteArray::number(i) + " da Silva",
                                             i % 3 ? "Unimed" : "Particular", "(11) 99999-0000", ""};
        });
    }
    return dir->path();
}

// The figures of the first 25 days (days of 40 bookings in every book, whatever the books' size), or
// of a year.
void BM_MonthReport(benchmark::State &state)
{
    SqliteStorage storage{QDir(tenBooksFolder(static_cast<int>(state.range(0))))};
    const int days = static_cast<int>(state.range(1));
    MonthReport report;
    QString error;
    for (auto _ : state)
        if (!readMonthReport(storage, kFirstDay, kFirstDay.addDays(days - 1), 0, &report, &error))
            qFatal("report: %s", qPrintable(error));
    state.SetLabel(std::to_string(report.doctors.value(0).booked) + " bookings of the first doctor");
}
void BM_MonthReportWithCalendar(benchmark::State &state)
{
    const QString folder = tenBooksFolder(static_cast<int>(state.range(0)));
    const CalendarOf200 calendar(folder);
    SqliteStorage storage{QDir(folder)};
    MonthReport report;
    QString error;
    for (auto _ : state)
        if (!readMonthReport(storage, kFirstDay, kFirstDay.addDays(state.range(1) - 1), 0, &report, &error))
            qFatal("report: %s", qPrintable(error));
}
BENCHMARK(BM_MonthReportWithCalendar)->Args({100000, 25})->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK(BM_MonthReport)
    ->Args({1000, 25})
    ->Args({100000, 25})
    ->Args({100000, 365})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The search indexes of ten books of 100,000 bookings each made from nothing, as after another tool
// wrote every book.
void BM_SearchIndexBuild(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir copy;
        for (const QString &name : allFileNames())
            QFile::copy(tenBooksFolder(100000) + QLatin1Char('/') + name, copy.filePath(name));
        SqliteStorage storage{QDir(copy.path())};
        QVector<FoundBooking> found;
        QString error;
        state.ResumeTiming();
        if (!storage.findBookings(patientQuery(QStringLiteral("conceicao")), &found, &error) ||
            found.size() != 200)
            qFatal("search: %s (%lld found)", qPrintable(error), static_cast<long long>(found.size()));
    }
}
BENCHMARK(BM_SearchIndexBuild)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// "conceicao" among 1,000,000 bookings, through the program, once the indexes are complete.
void BM_FindPatient(benchmark::State &state)
{
    SqliteStorage storage{QDir(tenBooksFolder(100000))};
    QVector<FoundBooking> found;
    QString error;
    storage.findBookings(patientQuery(QStringLiteral("conceicao")), &found, &error); // the indexes made
    for (auto _ : state)
        if (!storage.findBookings(patientQuery(QStringLiteral("conceicao")), &found, &error) ||
            found.size() != 200)
            qFatal("search: %s", qPrintable(error));
}
BENCHMARK(BM_FindPatient)->Unit(benchmark::kMillisecond)->UseRealTime();

// The clinic's day of ten doctors with 40 bookings each, at 100,000 bookings a book, against the ten
// days read bare from the same index.
void BM_ClinicDay(benchmark::State &state)
{
    // As the board reads: beside the window, on a connection of its own.
    SqliteStorage storage{QDir(tenBooksFolder(static_cast<int>(state.range(0)))), kLockWaitMs,
                          FileAccess::ReadBeside};
    for (auto _ : state)
        if (const ClinicDay day = readClinicDay(storage, kFirstDay); day.columns.size() != kDoctorSlotCount)
            qFatal("clinic's day: %lld columns", static_cast<long long>(day.columns.size()));
}
BENCHMARK(BM_ClinicDay)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One statement run bare on each of the ten books, kept open as the program keeps them, its rows read:
// what the program's own reads are judged against. bound, when given, is the statement's one value.
void bareQueryOfEachBook(benchmark::State &state, const QString &folder, const char *sql,
                         const QByteArray &bound, int expectedRows)
{
    std::vector<sqlite3 *> books;
    for (const DoctorSlot &slot : kDoctorSlots) {
        sqlite3 *db = nullptr;
        check(sqlite3_open_v2(qPrintable(folder + QLatin1Char('/') + QLatin1String(slot.appointmentFile)),
                              &db, SQLITE_OPEN_READWRITE, nullptr),
              db);
        books.push_back(db);
    }
    for (auto _ : state) {
        int rows = 0;
        for (sqlite3 *db : books) {
            sqlite3_stmt *select = nullptr;
            check(sqlite3_prepare_v2(db, sql, -1, &select, nullptr), db);
            if (!bound.isNull())
                sqlite3_bind_text(select, 1, bound.constData(), static_cast<int>(bound.size()),
                                  SQLITE_STATIC);
            while (sqlite3_step(select) == SQLITE_ROW)
                ++rows;
            sqlite3_finalize(select);
        }
        if (rows != expectedRows)
            qFatal("bare query: %d rows", rows);
    }
    for (sqlite3 *db : books)
        sqlite3_close(db);
}

void BM_TenBareDays(benchmark::State &state)
{
    bareQueryOfEachBook(state, tenBooksFolder(100000),
                        "SELECT rowid, hora, nome, convenio, telefone, obs FROM dados WHERE data = ?",
                        storedDate(kFirstDay).toUtf8(), 400);
}
BENCHMARK(BM_TenBareDays)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same query of the same indexes, bare: each book open, as the program keeps them, its index
// queried and the rows read.
void BM_BareIndexQuery(benchmark::State &state)
{
    const QString folder = tenBooksFolder(100000);
    {
        SqliteStorage storage{QDir(folder)};
        QVector<FoundBooking> found;
        QString error;
        storage.findBookings(patientQuery(QStringLiteral("conceicao")), &found, &error); // the indexes made
    }
    bareQueryOfEachBook(
        state, folder,
        "SELECT d.rowid, d.data, d.hora, d.nome, d.convenio, d.telefone, d.obs FROM booking_search s "
        "JOIN dados d ON d.rowid = s.rowid WHERE s.name MATCH '\"conceicao\"'",
        QByteArray(), 200);
}
BENCHMARK(BM_BareIndexQuery)->Unit(benchmark::kMillisecond)->UseRealTime();

// The patients: 200,000 records in the settings file, names from common Brazilian first names and
// surnames, each with a mobile and a CPF-like number.
QString patientsFolder()
{
    static std::unique_ptr<QTemporaryDir> dir;
    if (dir)
        return dir->path();
    dir = std::make_unique<QTemporaryDir>();
    prepareFiles(QDir(dir->path()));
    const QStringList first{"Maria",    "Ana",      "Francisca", "Antônia", "Adriana", "Juliana", "Márcia",
                            "Fernanda", "Patrícia", "Aline",     "José",    "João",    "Antônio", "Francisco",
                            "Carlos",   "Paulo",    "Pedro",     "Lucas",   "Luiz",    "Marcos"};
    const QStringList last{"Silva",   "Santos", "Oliveira", "Souza",     "Rodrigues", "Ferreira", "Alves",
                           "Pereira", "Lima",   "Gomes",    "Costa",     "Ribeiro",   "Martins",  "Carvalho",
                           "Almeida", "Lopes",  "Soares",   "Fernandes", "Vieira",    "Barbosa"};
    sqlite3 *db = nullptr;
    check(sqlite3_open(qPrintable(dir->filePath(QLatin1String(kMainSettingsFile))), &db), db);
    check(sqlite3_exec(db, qPrintable(patientsTableStatement(Dialect::Files, patientsTable())), nullptr,
                       nullptr, nullptr),
          db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt *insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO patients (id, cpf, record) VALUES (?, NULL, ?)", -1, &insert,
                             nullptr),
          db);
    QRandomGenerator random(20261210);
    for (int i = 1; i <= 200000; ++i) {
        Patient patient;
        patient.fullName = first.at(random.bounded(first.size())) + QLatin1Char(' ') +
                           last.at(random.bounded(last.size())) + QLatin1Char(' ') +
                           last.at(random.bounded(last.size()));
        patient.cpfAbsence = CpfAbsence::NotGiven;
        patient.birthDate = QDate(1940, 1, 1).addDays(random.bounded(30000));
        patient.phones = {{QStringLiteral("(11) 9%1").arg(random.bounded(10000000, 99999999)), true}};
        const QByteArray text = patientText(patient).toUtf8();
        sqlite3_bind_int64(insert, 1, i);
        sqlite3_bind_text(insert, 2, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return dir->path();
}

// What a receptionist types, a key at a time: a name's first letters, then the surname's.
const QStringList kTypedKeys{"ma", "mar", "mari", "maria", "maria ", "maria s", "maria so", "maria sou"};

// The list under the name field at each key, at 200,000 patients.
void BM_PatientSuggestions(benchmark::State &state)
{
    SqliteStorage storage{QDir(patientsFolder())};
    PatientRecords records(storage, QDate::currentDate());
    QString error;
    if (!records.read(&error) || records.patients().size() != 200000)
        qFatal("patients: %s", qPrintable(error));
    for (auto _ : state)
        for (const QString &typed : kTypedKeys)
            benchmark::DoNotOptimize(records.suggestions(typed, 8));
    state.counters["per key (ms)"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kTypedKeys.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PatientSuggestions)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 200,000 records read and indexed, as at a desk's first key.
void BM_PatientsRead(benchmark::State &state)
{
    SqliteStorage storage{QDir(patientsFolder())};
    PatientRecords records(storage, QDate::currentDate());
    QString error;
    for (auto _ : state)
        if (!records.read(&error))
            qFatal("patients: %s", qPrintable(error));
}
BENCHMARK(BM_PatientsRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same keys read bare from the same index: the positions whose names have a word starting with
// the longest word typed, as the index alone gives them.
void BM_PatientIndexBare(benchmark::State &state)
{
    SqliteStorage storage{QDir(patientsFolder())};
    QVector<Patient> patients;
    QString error;
    if (!storage.readPatients(&patients, &error))
        qFatal("patients: %s", qPrintable(error));
    PatientFinder finder;
    finder.index(patients);
    for (auto _ : state)
        for (const QString &typed : kTypedKeys) {
            const QStringList words = foldedName(typed).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            benchmark::DoNotOptimize(finder.startingWith(words.first()));
        }
}
BENCHMARK(BM_PatientIndexBare)->Unit(benchmark::kMillisecond)->UseRealTime();

// The ten books of 1,000,000 bookings, none with its patient yet, grouped for the review.
void BM_ReviewBookings(benchmark::State &state)
{
    SqliteStorage storage{QDir(tenBooksFolder(100000)), kLockWaitMs, FileAccess::ReadBeside};
    for (auto _ : state) {
        const BookingReview review = reviewBookings(storage, [](int) { return true; });
        if (!review.read || review.groups.size() < 50000)
            qFatal("review: %lld groups, %s", static_cast<long long>(review.groups.size()),
                   qPrintable(review.error));
    }
}
BENCHMARK(BM_ReviewBookings)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The ten books of 100,000 bookings, each booking given one of 50,000 patients: twenty each.
QString linkedBooksFolder()
{
    static std::unique_ptr<QTemporaryDir> dir;
    if (dir)
        return dir->path();
    dir = std::make_unique<QTemporaryDir>();
    const QDir from(tenBooksFolder(100000));
    for (const QString &file : from.entryList(QDir::Files))
        QFile::copy(from.filePath(file), dir->filePath(file));
    for (const DoctorSlot &slot : kDoctorSlots) {
        sqlite3 *db = nullptr;
        check(sqlite3_open(qPrintable(dir->filePath(QLatin1String(slot.appointmentFile))), &db), db);
        for (const QString &statement : statusTableStatements(Dialect::Files, QStringLiteral("main")))
            check(sqlite3_exec(db, qPrintable(statement), nullptr, nullptr, nullptr), db);
        const QByteArray links = QStringLiteral("INSERT INTO booking_patient (id, patient) SELECT rowid, "
                                                "(rowid * 7 + %1) % 50000 + 1 FROM dados")
                                     .arg(slot.slot)
                                     .toLatin1();
        check(sqlite3_exec(db, links.constData(), nullptr, nullptr, nullptr), db);
        sqlite3_close(db);
    }
    return dir->path();
}

// A patient's whole history across the ten books, at 1,000,000 bookings.
void BM_PatientHistory(benchmark::State &state)
{
    SqliteStorage storage{QDir(linkedBooksFolder())};
    QVector<FoundBooking> found;
    QString error;
    qint64 patient = 1;
    for (auto _ : state) {
        if (!storage.readPatientBookings(patient, &found, &error) || found.size() != 20)
            qFatal("history: %lld bookings, %s", static_cast<long long>(found.size()), qPrintable(error));
        patient = (patient + 996) % 50000 + 1; // another patient each time, all among the 50,000
    }
}
BENCHMARK(BM_PatientHistory)->Unit(benchmark::kMillisecond)->UseRealTime();

void filesWithSettings(const QTemporaryDir &dir, const QByteArray &update);

// An Add as the storage writes it, for a patient (its link in the same transaction) and without one.
void addToStorage(benchmark::State &state, qint64 patient)
{
    QTemporaryDir dir;
    filesWithSettings(dir, "UPDATE profs SET prof1 = 'A', interv1 = '15'");
    SqliteStorage storage{QDir(dir.path())};
    QString error;
    Appointment booking;
    booking.date = kFirstDay;
    booking.hora = QStringLiteral("08:10");
    booking.nome = QStringLiteral("Benchmark Patient");
    booking.patient = patient;
    storage.openBook(1, &error);
    storage.add(1, booking, 0, &error); // the book's side tables made
    for (auto _ : state)
        if (storage.add(1, booking, 0, &error).outcome != AddOutcome::Stored)
            qFatal("add: %s", qPrintable(error));
}
void BM_AddWithPatient(benchmark::State &state)
{
    addToStorage(state, 7);
}
void BM_AddWithoutPatient(benchmark::State &state)
{
    addToStorage(state, 0);
}
BENCHMARK(BM_AddWithPatient)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddWithoutPatient)->Unit(benchmark::kMillisecond)->UseRealTime();

// "What is the earliest you have?": the first free time of each of the next ten days, every day with
// 40 bookings (the day's last slot left free).
void BM_FirstFreeSlots(benchmark::State &state)
{
    Services services;
    const QString folder = preparedFolder(40 * 30);
    std::optional<CalendarOf200> calendar;
    if (state.range(0) != 0)
        calendar.emplace(folder);
    const auto window = openBook(services, folder);
    const FirstFreeSearch search = firstFreeSearch(window->book, kFirstDay, QTime(7, 0));
    for (auto _ : state)
        if (const FirstFreeTimes times = readFirstFreeTimes(window->storage, search);
            times.found.size() != 10)
            qFatal("first free slots: %s", qPrintable(times.message));
}
BENCHMARK(BM_FirstFreeSlots)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

// A status set on the selected booking, as Ctrl+2 and Ctrl+1 do, against an Add.
void BM_StatusChange(benchmark::State &state)
{
    Services services;
    const auto window = openBook(services, preparedFolder(1000));
    window->book.stepDate(DateStep::PlusDay, kFirstDay); // the day after the first: bookings, none added
    window->book.stepDate(DateStep::MinusDay, kFirstDay);
    const QStringList &rows = window->dayList().rows();
    int row = 0;
    while (row < rows.size() && !rows.at(row).contains(QLatin1String("Patient")))
        ++row;
    window->book.selectRow(row);
    bool confirmed = false;
    for (auto _ : state) {
        confirmed = !confirmed;
        if (!window->book.setStatus(confirmed ? BookingStatus::Confirmed : BookingStatus::ToConfirm).done)
            qFatal("no status set");
    }
}
BENCHMARK(BM_StatusChange)->Unit(benchmark::kMillisecond)->UseRealTime();

// The twelve files made in the folder, with the settings as the statement sets them.
void filesWithSettings(const QTemporaryDir &dir, const QByteArray &update)
{
    prepareFiles(QDir(dir.path()));
    sqlite3 *db = nullptr;
    sqlite3_open(qPrintable(dir.path() + "/bdm6.mdb"), &db);
    check(sqlite3_exec(db, update.constData(), nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// 2. Add through the window: the booking typed, then "&Add".
void addThroughWindow(benchmark::State &state, int link, bool indexed = false)
{
    Services services;
    QTemporaryDir dir;
    filesWithSettings(dir, QByteArray("UPDATE profs SET prof1 = 'A', interv1 = '15', junta1 = ") +
                               QByteArray::number(link));
    const auto window = openBook(services, dir.path());
    if (indexed) {
        QVector<FoundBooking> found;
        QString error;
        window->storage.findBookings(patientQuery(QStringLiteral("nobody")), &found,
                                     &error); // makes the indexes
    }
    window->windows.main().findChild<QLineEdit *>("Text1")->setText("08:10");
    window->windows.main().findChild<QLineEdit *>("Text2")->setText("Benchmark Patient");
    QPushButton *add = window->windows.main().findChild<QPushButton *>("cmd_inc");
    for (auto _ : state)
        QTest::mouseClick(add, Qt::LeftButton);
}
void BM_AddBooking(benchmark::State &state)
{
    addThroughWindow(state, 0);
}
// The same with the book's search index kept in the same transaction.
void BM_AddBookingIndexed(benchmark::State &state)
{
    addThroughWindow(state, 0, true);
}
BENCHMARK(BM_AddBookingIndexed)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_AddBookingWithLinkedCopy(benchmark::State &state)
{
    addThroughWindow(state, 3);
}
BENCHMARK(BM_AddBooking)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddBookingWithLinkedCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

// A move through the session: the booking held (not timed), then placed at a time typed in another
// doctor's day, the two books committed together, the day listed afresh; and back, alternately.
void moveThroughSession(benchmark::State &state, bool toAnotherDoctor)
{
    Services services;
    QTemporaryDir dir;
    filesWithSettings(dir, "UPDATE profs SET prof1 = 'A', interv1 = '15', prof2 = 'B', interv2 = '15'");
    const auto window = openBook(services, dir.path());
    AppointmentBook &book = window->book;
    book.entry().type(TimeField, QStringLiteral("08:10"));
    book.entry().type(NameField, QStringLiteral("Benchmark Patient"));
    if (!book.add().done)
        qFatal("no booking to move");
    int from = 1;
    bool later = false;
    for (auto _ : state) {
        state.PauseTiming();
        book.chooseDoctor(from);
        const QStringList &rows = book.dayList().rows();
        book.selectRow(static_cast<int>(
            std::find_if(rows.cbegin(), rows.cend(),
                         [](const QString &row) { return row.contains(QLatin1String("  Benchmark")); }) -
            rows.cbegin()));
        if (!book.holdSelected().done)
            qFatal("not held");
        if (toAnotherDoctor) {
            from = 3 - from;
            book.chooseDoctor(from);
        }
        later = !later;
        book.entry().type(TimeField, later ? QStringLiteral("08:20") : QStringLiteral("08:10"));
        state.ResumeTiming();
        if (const Outcome moved = book.placeHeld(0); !moved.done)
            qFatal("not moved: %s", qPrintable(moved.messages.join(' ')));
    }
}
// Within the doctor's own book, to another time.
void BM_MoveBooking(benchmark::State &state)
{
    moveThroughSession(state, false);
}
// To another doctor's book: both books committed together, as an Add with its linked copy commits two.
void BM_MoveBookingToAnotherDoctor(benchmark::State &state)
{
    moveThroughSession(state, true);
}
BENCHMARK(BM_MoveBooking)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoveBookingToAnotherDoctor)->Unit(benchmark::kMillisecond)->UseRealTime();

// A weekly series of 100 sessions (Mondays and Tuesdays), planned and then booked through the session,
// in one transaction with the history and places of each; the day listed afresh.
void BM_BookSeriesOf100(benchmark::State &state)
{
    Services services;
    QTemporaryDir dir;
    filesWithSettings(dir,
                      "UPDATE profs SET prof1 = 'A', interv1 = '15', p1_seg1 = '0800', p1_seg2 = '1800', "
                      "p1_ter1 = '0800', p1_ter2 = '1800'");
    const auto window = openBook(services, dir.path());
    AppointmentBook &book = window->book;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Each series at its own time, a year later once the day's 40 times are taken, so that none
        // stands in another's way.
        const QString time = QTime(8, 0).addSecs(15 * 60 * (run % 40)).toString(QStringLiteral("HH:mm"));
        const QDate start = kFirstDay.addDays(364 * (run++ / 40));
        QVector<SeriesOccurrence> sessions;
        QString message;
        if (!book.planSeries({start, 1, {{1, time}, {2, time}}, 100, {}}, start, &sessions, &message))
            qFatal("no series: %s", qPrintable(message));
        book.entry().type(NameField, QStringLiteral("Benchmark Patient"));
        state.ResumeTiming();
        if (const Outcome booked = book.bookSeries(sessions); !booked.done)
            qFatal("not booked: %s", qPrintable(booked.messages.join(QLatin1Char(' '))));
    }
}
BENCHMARK(BM_BookSeriesOf100)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a series of 100 writes, by bare SQLite: each booking and its history entry, one transaction.
void BM_Bare100InsertsInOneTransaction(benchmark::State &state)
{
    QTemporaryDir dir;
    prepareFiles(QDir(dir.path()));
    sqlite3 *db = nullptr;
    sqlite3_open(qPrintable(dir.path() + "/bdm1.mdb"), &db);
    check(sqlite3_exec(
              db,
              "PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL; CREATE TABLE booking_history (id "
              "INTEGER NOT NULL, at TEXT NOT NULL, computer TEXT, person TEXT, action TEXT NOT NULL, "
              "details TEXT)",
              nullptr, nullptr, nullptr),
          db);
    sqlite3_stmt *booking = nullptr;
    sqlite3_stmt *history = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO dados VALUES (?, '08:00', 'Benchmark Patient', '', '', '')", -1,
                             &booking, nullptr),
          db);
    check(sqlite3_prepare_v2(
              db,
              "INSERT INTO booking_history VALUES (last_insert_rowid(), '2027-03-01T08:00:00.000Z', "
              "'desk', 'person', 'added', 'data: 2027-03-01')",
              -1, &history, nullptr),
          db);
    for (auto _ : state) {
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
        for (int i = 0; i < 100; ++i) {
            const QByteArray date = storedDate(kFirstDay.addDays(7 * (i / 2) + i % 2)).toLatin1();
            sqlite3_bind_text(booking, 1, date.constData(), -1, SQLITE_TRANSIENT);
            check(sqlite3_step(booking), db);
            sqlite3_reset(booking);
            check(sqlite3_step(history), db);
            sqlite3_reset(history);
        }
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    }
    sqlite3_finalize(booking);
    sqlite3_finalize(history);
    sqlite3_close(db);
}
BENCHMARK(BM_Bare100InsertsInOneTransaction)->Unit(benchmark::kMillisecond)->UseRealTime();

// The sessions of a series of 100 with what stands in each one's way, at 1,000,000 bookings.
void BM_SeriesConflicts(benchmark::State &state)
{
    Services services;
    const auto window = openBook(services, preparedFolder(1000000));
    QVector<SeriesOccurrence> sessions;
    QString message;
    for (auto _ : state)
        if (!window->book.planSeries({kFirstDay, 1, {{1, "09:00"}, {2, "09:00"}}, 100, {}}, kFirstDay,
                                     &sessions, &message) ||
            sessions.size() != 100)
            qFatal("no series: %s", qPrintable(message));
}
BENCHMARK(BM_SeriesConflicts)->Unit(benchmark::kMillisecond)->UseRealTime();

// Who on a waiting list of 1,000 entries wants a freed time.
void BM_WaitingListMatches(benchmark::State &state)
{
    QVector<WaitingEntry> entries;
    QRandomGenerator random(39);
    for (int i = 0; i < 1000; ++i) {
        WaitingEntry entry;
        entry.id = i + 1;
        entry.name = QStringLiteral("Waiting Patient %1").arg(i);
        entry.slot = static_cast<int>(random.bounded(0, 11));
        entry.from = kFirstDay.addDays(random.bounded(0, 30));
        entry.to = entry.from.addDays(random.bounded(1, 60));
        entry.period = static_cast<WaitingEntry::Period>(random.bounded(0, 3));
        entry.addedAt = QDateTime(kFirstDay, QTime(8, 0)).addSecs(random.bounded(0, 86400 * 30));
        entries << entry;
    }
    qsizetype offered = 0;
    for (auto _ : state)
        offered += waitingFor(entries, 3, kFirstDay.addDays(20), QStringLiteral("14:30")).size();
    benchmark::DoNotOptimize(offered);
}
BENCHMARK(BM_WaitingListMatches)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same rows stored by bare SQLite: rollback journal, synchronous FULL, one transaction.
void bareInsert(benchmark::State &state, bool linked)
{
    QTemporaryDir dir;
    prepareFiles(QDir(dir.path()));
    sqlite3 *db = nullptr;
    sqlite3_open(qPrintable(dir.path() + "/bdm1.mdb"), &db);
    check(sqlite3_exec(db, "PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL", nullptr, nullptr,
                       nullptr),
          db);
    if (linked) {
        const QByteArray attach = "ATTACH DATABASE '" + (dir.path() + "/bdm3.mdb").toUtf8() + "' AS linked";
        check(sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr), db);
        check(sqlite3_exec(db, "PRAGMA linked.synchronous = FULL", nullptr, nullptr, nullptr), db);
    }
    const char *statement =
        linked ? "BEGIN; INSERT INTO main.dados VALUES ('2027-03-01', '08:10', 'Benchmark "
                 "Patient', '', '', ''); INSERT INTO linked.dados VALUES ('2027-03-01', "
                 "'08:10', 'Benchmark Patient', '', '', ''); COMMIT"
               : "INSERT INTO dados VALUES ('2027-03-01', '08:10', 'Benchmark Patient', '', '', '')";
    for (auto _ : state)
        check(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}
void BM_BareInsert(benchmark::State &state)
{
    bareInsert(state, false);
}
void BM_BareInsertTwoFiles(benchmark::State &state)
{
    bareInsert(state, true);
}
BENCHMARK(BM_BareInsert)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareInsertTwoFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

// 3. Whole processes, run from the go-between main() forks first: each peak memory is the child's own.
bench::ChildRuns *childRuns = nullptr;

bench::ChildRuns::Run runProcess(const QString &program, const QString &argument, const QString &folder)
{
    std::vector<std::string> arguments;
    if (!argument.isEmpty())
        arguments.push_back(argument.toStdString());
    return childRuns->run(program.toStdString(), arguments, folder.toStdString());
}

void startUp(benchmark::State &state, const char *program, const char *argument = "")
{
    const QString folder = preparedFolder(1000);
    const QString path = QCoreApplication::applicationDirPath() + "/" + program;
    long peak = 0;
    for (auto _ : state) {
        const bench::ChildRuns::Run run = runProcess(path, QString::fromLatin1(argument), folder);
        if (!run.ok) {
            state.SkipWithError((QStringLiteral("%1 failed").arg(program)).toStdString().c_str());
            return;
        }
        state.SetIterationTime(run.milliseconds / 1000.0);
        peak = std::max(peak, run.peakKilobytes);
    }
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}
void BM_StartUpToDoctorList(benchmark::State &state)
{
    startUp(state, "startup_probe");
}
void BM_BareQtWindow(benchmark::State &state)
{
    startUp(state, "bare_window");
}
void BM_BareQtWindowWithText(benchmark::State &state)
{
    startUp(state, "bare_window", "text");
}
void BM_MainWindowAlone(benchmark::State &state)
{
    startUp(state, "main_window_alone");
}
BENCHMARK(BM_StartUpToDoctorList)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);
BENCHMARK(BM_BareQtWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);
BENCHMARK(BM_BareQtWindowWithText)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);
BENCHMARK(BM_MainWindowAlone)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

// 4. A 300-row list laid on PDF pages.
void BM_PrintPerPage(benchmark::State &state)
{
    QTemporaryDir dir;
    Printout printout;
    printout.documentName = "bench";
    printout.header = "Bench Doctor - Monday, 1 March 2027";
    for (int i = 0; i < 300; ++i)
        printout.rows << BookingRecord::of(QTime(0, 0).addSecs(i * 240).toString("HH:mm"),
                                           QString("Patient %1").arg(i), "Plan", "555 0100", "note")
                             .row();
    SystemPrinter printer;
    int pages = 0;
    for (auto _ : state) {
        QString error;
        if (!printer.saveAsPdf(printout, dir.filePath("list.pdf"), &error))
            qFatal("%s", qPrintable(error));
        state.PauseTiming();
        QProcess info;
        info.start("pdfinfo", {dir.filePath("list.pdf")});
        info.waitForFinished();
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        pages = text.section("Pages:", 1).trimmed().section('\n', 0, 0).toInt();
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["ms_per_page"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * pages,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrintPerPage)->Unit(benchmark::kMillisecond)->UseRealTime();

// 5. The whole of clinic-a imported from a fresh copy, against the library reading the same tables.
const QString kClinicA = QStringLiteral(VELMORA_FIXTURES "/clinic-a");

// The older program's files the import is measured on come from beside the checkout; without them
// the benchmark says so and the others run on.
bool clinicAThere(benchmark::State &state)
{
    if (QFileInfo::exists(kClinicA + "/bdm1.mdb"))
        return true;
    state.SkipWithError(("input missing: " + kClinicA.toStdString()).c_str());
    return false;
}

void BM_ImportClinicA(benchmark::State &state)
{
    if (!clinicAThere(state))
        return;
    std::vector<std::unique_ptr<QTemporaryDir>> copies;
    for (int i = 0; i < 5; ++i) {
        copies.push_back(std::make_unique<QTemporaryDir>());
        for (const QString &name : allFileNames())
            QFile::copy(QDir(kClinicA).filePath(name), QDir(copies.back()->path()).filePath(name));
    }
    qint64 rows = 0;
    size_t next = 0;
    for (auto _ : state)
        rows = importLegacyFiles(QDir(copies.at(next++ % copies.size())->path()),
                                 QStringLiteral(VELMORA_JET_READER))
                   .appointments;
    state.counters["rows_per_second"] = benchmark::Counter(
        static_cast<double>(rows) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ImportClinicA)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadClinicAWithTheLibraryAlone(benchmark::State &state)
{
    if (!clinicAThere(state))
        return;
    std::vector<std::string> paths;
    for (const QString &name : allFileNames())
        paths.push_back(QDir(kClinicA).filePath(name).toStdString());
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::readWithLibraryAlone(paths));
}
BENCHMARK(BM_ReadClinicAWithTheLibraryAlone)->Unit(benchmark::kMillisecond)->Iterations(5);

// The peak memory of importing one book of so many rows (a reader scripted to give them, for a file of
// the older program as large as that is not at hand): it stays that of a row, whatever the book's size.
void BM_ImportPeakMemory(benchmark::State &state)
{
    if (!clinicAThere(state))
        return;
    QTemporaryDir folder;
    QFile::copy(kClinicA + "/bdm1.mdb", folder.filePath("bdm1.mdb"));
    QFile::setPermissions(folder.filePath("bdm1.mdb"), QFile::ReadOwner | QFile::WriteOwner);
    const QString reader = folder.filePath("reader.sh");
    QFile script(reader);
    if (!script.open(QIODevice::WriteOnly))
        qFatal("the reader cannot be written");
    script.write(QByteArray(R"(#!/bin/sh
awk -v rows=ROWS 'BEGIN {
  print "F 0"; print "N " rows
  split("data date,hora text,nome text,convenio text,telefone text,obs text", c, ",")
  for (i = 1; i <= 6; i++) print "C " c[i]
  for (i = 0; i < rows; i++)
    printf "R D%d\tS08:00\tSPatient %d da Silva\tSUnimed\tS(31) 3224-5678\tSa note of some length\n", 45000 + i % 3000, i
  print "E " rows " " rows " 0"
}'
)")
                     .replace("ROWS", QByteArray::number(static_cast<qint64>(state.range(0)))));
    script.close();
    QFile::setPermissions(reader, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString probe = QCoreApplication::applicationDirPath() + "/import_probe";
    long peak = 0;
    for (auto _ : state) {
        const bench::ChildRuns::Run run = runProcess(probe, reader, folder.path());
        if (!run.ok) {
            state.SkipWithError("the import probe failed");
            return;
        }
        peak = std::max(peak, run.peakKilobytes);
    }
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}
BENCHMARK(BM_ImportPeakMemory)->Arg(1000)->Arg(120000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The memory measure itself, checked once against a child of known size, run last, when this process
// has grown the most: it must read the child's 64 MiB (and the little a program needs), not this one.
void BM_MemoryMeasureCheck(benchmark::State &state)
{
    const QString probe = QCoreApplication::applicationDirPath() + "/memory_probe";
    long peak = 0;
    for (auto _ : state)
        peak = runProcess(probe, QStringLiteral("64"), QDir::tempPath()).peakKilobytes;
    state.counters["peak_MiB"] = static_cast<double>(peak) / 1024.0;
}
BENCHMARK(BM_MemoryMeasureCheck)->Unit(benchmark::kMillisecond)->Iterations(1);

// Prints every figure with its goal and verdict, and the ratios the goals are stated in, from the
// figures of this same run: each the median of the repeats asked for (--benchmark_repetitions), with
// its spread. Ends with the table the developer's guide shows, written by scripts/bench-table.sh.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string name = run.run_name.str();
            if (run.error_occurred) {
                skipped_.push_back(name + ": " + run.error_message);
                continue;
            }
            // A run repeated is known by its median and its spread; one run alone by itself.
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate && run.aggregate_name != "median" && run.aggregate_name != "stddev")
                continue;
            Figure &figure = figures_[name];
            const auto peak = run.counters.find("peak_MiB");
            const double time = run.GetAdjustedRealTime();
            const double memory = peak != run.counters.end() ? peak->second.value : 0;
            if (aggregate && run.aggregate_name == "stddev") {
                figure.timeSpread = time;
                continue;
            }
            if (!aggregate && figure.repeated)
                continue;
            figure.repeated = aggregate;
            figure.time = time;
            figure.peak = memory;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nThe goals, from this run:\n");
        const std::string rebuild = "BM_DayListRebuild/";
        figure("day list rebuild at 1,000,000 appointments", rebuild + "1000000/real_time", 16, "ms", 0.5);
        ratio("day list rebuild, 1,000,000 against 1,000 appointments", rebuild + "1000000/real_time",
              rebuild + "1000/real_time", 2.0);
        ratio("day list rebuild, 100,000 against 1,000 appointments", rebuild + "100000/real_time",
              rebuild + "1000/real_time", 2.0);
        figure("date step onto a day of 40,000 bookings and back", "BM_CrowdedDay/40000/real_time", 100,
               "ms");
        ratio("a day of 40,000 bookings against a day of 40 (O(n log n): about 1000 x 1.3)",
              "BM_CrowdedDay/40000/real_time", "BM_CrowdedDay/40/real_time", 2000.0);
        ratio("day list rebuild with 200 closures and extra days stored against none, 1,000,000",
              "BM_DayListRebuildWithCalendar/1000000/real_time", rebuild + "1000000/real_time", 1.1);
        ratio("the month's figures with 200 closures and extra days stored against none",
              "BM_MonthReportWithCalendar/100000/25/real_time", "BM_MonthReport/100000/25/real_time", 1.1);
        ratio("the earliest free times with 200 closures and extra days stored against none",
              "BM_FirstFreeSlots/200/real_time", "BM_FirstFreeSlots/0/real_time", 1.1);
        ratio("day list rebuild with every booking's status against without, 100,000",
              "BM_DayListRebuildWithStatuses/100000/real_time", rebuild + "100000/real_time", 1.2);
        figure("confirmation list of a day, ten doctors, 40 each", "BM_ConfirmationListOfADay/real_time", 20,
               "ms");
        figure("the month's figures, ten doctors, 40 a day", "BM_MonthReport/100000/25/real_time", 100, "ms");
        figure("a year's figures, ten doctors, 40 a day", "BM_MonthReport/100000/365/real_time", 1000, "ms");
        ratio("the month's figures at 1,000,000 bookings against 10,000",
              "BM_MonthReport/100000/25/real_time", "BM_MonthReport/1000/25/real_time", 1.2);
        figure("the patients listed under the name field at a key, 200,000 patients",
               "BM_PatientSuggestions/real_time", 16, "ms", 1.0 / static_cast<double>(kTypedKeys.size()));
        figure("the patients of 200,000 read and indexed (beside the window)",
               "BM_PatientsRead/iterations:3/real_time", 5000, "ms");
        figure("the bookings of a clinic of 1,000,000 grouped into suggested patients",
               "BM_ReviewBookings/iterations:1/real_time", 30000, "ms");
        ratio("the patients listed at each key against the same keys read bare from the index",
              "BM_PatientSuggestions/real_time", "BM_PatientIndexBare/real_time", 1.5);
        figure("a patient's whole history across ten books, 1,000,000 bookings",
               "BM_PatientHistory/real_time", 20, "ms");
        ratio("an Add with its patient link against one without", "BM_AddWithPatient/real_time",
              "BM_AddWithoutPatient/real_time", 1.2);
        figure("a search among 1,000,000 bookings", "BM_FindPatient/real_time", 50, "ms");
        ratio("a search against a bare query of the same indexes", "BM_FindPatient/real_time",
              "BM_BareIndexQuery/real_time", 1.5);
        figure("the search indexes of 1,000,000 bookings made", "BM_SearchIndexBuild/iterations:1/real_time",
               10000, "ms");
        ratio("an Add with the search index kept against one without", "BM_AddBookingIndexed/real_time",
              "BM_AddBooking/real_time", 1.2);
        figure("the clinic's day, ten doctors of 40 bookings, 1,000,000 bookings",
               "BM_ClinicDay/100000/real_time", 16, "ms");
        ratio("the clinic's day against ten bare day queries", "BM_ClinicDay/100000/real_time",
              "BM_TenBareDays/real_time", 1.5);
        ratio("the clinic's day at 1,000,000 bookings against 10,000", "BM_ClinicDay/100000/real_time",
              "BM_ClinicDay/1000/real_time", 1.2);
        figure("the first free times of ten days of 40 bookings", "BM_FirstFreeSlots/0/real_time", 20, "ms");
        ratio("a status set against an Add", "BM_StatusChange/real_time", "BM_AddBooking/real_time", 1.2);
        ratio("a move to another time against an Add", "BM_MoveBooking/real_time", "BM_AddBooking/real_time",
              1.5);
        ratio("a move to another doctor's day against an Add", "BM_MoveBookingToAnotherDoctor/real_time",
              "BM_AddBooking/real_time", 1.5);
        ratio("a move to another doctor's day against an Add with its linked copy (two books each)",
              "BM_MoveBookingToAnotherDoctor/real_time", "BM_AddBookingWithLinkedCopy/real_time", 1.5);
        ratio("a series of 100 booked against 100 bare inserts with their history in one transaction",
              "BM_BookSeriesOf100/real_time", "BM_Bare100InsertsInOneTransaction/real_time", 1.5);
        figure("the sessions of a series of 100 with what stands in their way, 1,000,000 bookings",
               "BM_SeriesConflicts/real_time", 50, "ms");
        figure("the waiting list's matches for a freed time, 1,000 entries",
               "BM_WaitingListMatches/real_time", 5, "ms");
        ratio("import of clinic-a against reading it with the library alone", "BM_ImportClinicA/iterations:5",
              "BM_ReadClinicAWithTheLibraryAlone/iterations:5", 1.5);
        peakRatio("peak memory of importing 120,000 rows against 1,000",
                  "BM_ImportPeakMemory/120000/iterations:1", "BM_ImportPeakMemory/1000/iterations:1", 1.5);
        ratio("Add against a bare insert and commit", "BM_AddBooking/real_time", "BM_BareInsert/real_time",
              1.5);
        ratio("Add with linked copy against a bare two-file transaction",
              "BM_AddBookingWithLinkedCopy/real_time", "BM_BareInsertTwoFiles/real_time", 1.5);
        ratio("Add with linked copy against a bare one-file insert", "BM_AddBookingWithLinkedCopy/real_time",
              "BM_BareInsert/real_time", 1.5);
        const std::string startUp = "BM_StartUpToDoctorList/iterations:30/manual_time";
        const std::string bare = "BM_BareQtWindow/iterations:30/manual_time";
        const std::string withText = "BM_BareQtWindowWithText/iterations:30/manual_time";
        ratio("start-up to the doctor list against a bare Qt window (time)", startUp, bare, 1.5);
        ratio("start-up to the doctor list against a bare window with text (time)", startUp, withText, 1.5);
        peakRatio("start-up against a bare Qt window (peak memory)", startUp, bare, 1.5);
        peakRatio("start-up against a bare window with text (peak memory)", startUp, withText, 1.5);
        // Where the floor is: the main window alone, no book read, against the bare window with text.
        const std::string windowAlone = "BM_MainWindowAlone/iterations:30/manual_time";
        ratio("the main window alone (no book read) against a bare window with text (time)", windowAlone,
              withText, 1.5);
        ratio("start-up to the doctor list against the main window alone (time)", startUp, windowAlone, 1.5);
        // The child touched 64 MiB; a program's own start adds a few.
        const std::string check = "BM_MemoryMeasureCheck/iterations:1";
        if (figures_.count(check))
            row("peak memory read of a child touching 64 MiB", figures_[check].peak, "MiB", "64 to 72",
                figures_[check].peak >= 64 && figures_[check].peak <= 72);
        else
            notMeasured("peak memory read of a child touching 64 MiB");
        for (const std::string &line : skipped_)
            std::printf("not run: %s\n", line.c_str());
        std::printf(
            "\nTable for docs/DEVELOPING.md:\n| Measure | Figure | Goal | Verdict |\n|---|---|---|---|\n");
        for (const std::string &line : table_)
            std::printf("%s\n", line.c_str());
    }

private:
    struct Figure
    {
        double time = 0;
        double timeSpread = -1; // none without repeats
        double peak = 0;
        bool repeated = false;
    };

    std::string spreadOf(const Figure &figure, double scale) const
    {
        if (figure.timeSpread < 0)
            return {};
        char text[32];
        std::snprintf(text, sizeof text, " ± %.3g", figure.timeSpread * scale);
        return text;
    }

    void row(const char *what, double value, const char *unit, const std::string &goal, bool met,
             const std::string &spread = {})
    {
        const char *verdict = met ? "met" : "MISSED";
        std::printf("%-70s %9.3f%s %s (goal %s) %s\n", what, value, spread.c_str(), unit, goal.c_str(),
                    verdict);
        char line[512];
        std::snprintf(line, sizeof line, "| %s | %.3g%s %s | %s | %s |", what, value, spread.c_str(), unit,
                      goal.c_str(), verdict);
        table_.emplace_back(line);
    }

    void notMeasured(const char *what)
    {
        std::printf("%-70s not measured in this run\n", what);
        table_.push_back(std::string("| ") + what + " | not measured | | |");
    }

    void figure(const char *what, const std::string &name, double goal, const char *unit, double scale = 1.0)
    {
        if (!figures_.count(name))
            return notMeasured(what);
        const Figure &measured = figures_[name];
        char goalText[32];
        std::snprintf(goalText, sizeof goalText, "< %g %s", goal, unit);
        row(what, measured.time * scale, unit, goalText, measured.time * scale < goal,
            spreadOf(measured, scale));
    }

    void compare(const char *what, double measured, double against, double goal, bool known)
    {
        if (!known)
            return notMeasured(what);
        char goalText[32];
        std::snprintf(goalText, sizeof goalText, "<= %.1f", goal);
        row(what, measured / against, "x", goalText, measured / against <= goal);
    }

    void ratio(const char *what, const std::string &measured, const std::string &against, double goal)
    {
        const bool known = figures_.count(measured) && figures_.count(against);
        compare(what, known ? figures_[measured].time : 0, known ? figures_[against].time : 1, goal, known);
    }

    void peakRatio(const char *what, const std::string &measured, const std::string &against, double goal)
    {
        const bool known = figures_.count(measured) && figures_.count(against) && figures_[against].peak > 0;
        compare(what, known ? figures_[measured].peak : 0, known ? figures_[against].peak : 1, goal, known);
    }

    std::map<std::string, Figure> figures_;
    std::vector<std::string> skipped_;
    std::vector<std::string> table_;
};

} // namespace

int main(int argc, char *argv[])
{
    // First, while this process is small: the go-between that runs whole programs.
    bench::ChildRuns runs;
    childRuns = &runs;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
