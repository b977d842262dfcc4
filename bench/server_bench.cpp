// The server's figures, measured side by side in one run against a PostgreSQL server over the
// loopback (VELMORA_BENCH_SERVER, a URI to a database this program may fill): Add against a bare libpq
// insert and commit of the same row, the day list at 1,000,000 bookings against 1,000, a search among them
// against the same condition queried bare, the time from one desk's Add to another desk's rebuilt list,
// and bookings a second with ten desks adding at once.
#include "core/desk/appointment_book.h"
#include "core/reception/clinic_day.h"
#include "core/search/patient_query.h"
#include "core/storage/stored_bookings.h"
#include "schema/book_schema.h"
#include "schema/slot_files.h"
#include "server/server_connection.h"
#include "server/server_schema.h"
#include "server/server_storage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSqlQuery>

#include <libpq-fe.h>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace velmora;

namespace {

const QDate kDay(2027, 3, 1);

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile99(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * 99 / 100)];
}

Appointment booking(const QString &name)
{
    Appointment made;
    made.date = kDay;
    made.hora = QStringLiteral("08:00");
    made.nome = name;
    made.convenio = QStringLiteral("plan");
    made.telefone = QStringLiteral("555 0100");
    made.obs = QStringLiteral("a note of some length");
    return made;
}

void exec(PGconn *connection, const char *statement)
{
    PGresult *result = PQexec(connection, statement);
    if (PQresultStatus(result) != PGRES_COMMAND_OK && PQresultStatus(result) != PGRES_TUPLES_OK)
        qFatal("%s: %s", statement, PQerrorMessage(connection));
    PQclear(result);
}

// Milliseconds of each Add through the storage, and of each bare insert with libpq, interleaved.
void addAgainstBareInsert(const QString &url)
{
    ServerStorage storage(url);
    QString error;
    if (!storage.openBook(2, &error))
        qFatal("%s", qPrintable(error));
    // The same Add as the receptionist's, through the book: it also reads the slot length and link again.
    ServerStorage deskStorage(url);
    AppointmentBook desk(deskStorage, kDay);
    desk.chooseDoctor(8);
    // As in the program, the event loop runs until the desk listens to the others (it then reads the
    // names again).
    QEventLoop listening;
    QObject::connect(&desk, &AppointmentBook::doctorNamesChanged, &listening, &QEventLoop::quit);
    listening.exec();
    std::vector<double> deskAdds;
    PGconn *bare = PQconnectdb(url.toUtf8().constData());
    const char *insert = "INSERT INTO bdm5.dados (data, hora, nome, convenio, telefone, obs) "
                         "VALUES ($1, $2, $3, $4, $5, $6)";
    PGresult *prepared = PQprepare(bare, "insert", insert, 6, nullptr);
    PQclear(prepared);
    std::vector<double> adds;
    std::vector<double> bares;
    QElapsedTimer timer;
    for (int i = 0; i < 600; ++i) {
        const Appointment made = booking(QStringLiteral("Patient %1").arg(i));
        timer.start();
        if (storage.add(2, made, 0, &error).outcome != AddOutcome::Stored)
            qFatal("%s", qPrintable(error));
        adds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        desk.entry().type(TimeField, made.hora);
        desk.entry().type(NameField, made.nome);
        timer.start();
        if (!desk.add().done)
            qFatal("the book's Add failed");
        deskAdds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        const QByteArray values[] = {"2027-03-01", "08:00",    made.nome.toUtf8(),
                                     "plan",       "555 0100", "a note of some length"};
        const char *params[6];
        for (int v = 0; v < 6; ++v)
            params[v] = values[v].constData();
        timer.start();
        PGresult *result = PQexecPrepared(bare, "insert", 6, params, nullptr, nullptr, 0);
        if (PQresultStatus(result) != PGRES_COMMAND_OK)
            qFatal("%s", PQerrorMessage(bare));
        PQclear(result);
        bares.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    PQfinish(bare);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("Add on the server: median %.3f ms; bare libpq insert and commit: median %.3f ms; ratio %.2f "
                "(goal at most 1.5)\n",
                median(adds), median(bares), median(adds) / median(bares));
    std::printf(
        "Add through the book (the receptionist's Add): median %.3f ms; ratio to the bare insert %.2f\n",
        median(deskAdds), median(deskAdds) / median(bares));
}

// Milliseconds of each move of a held booking to another doctor's day (one statement, the server's own
// function), against an Add, interleaved.
void moveAgainstAdd(const QString &url)
{
    ServerStorage storage(url);
    QString error;
    for (const int slot : {6, 7})
        if (!storage.openBook(slot, &error))
            qFatal("%s", qPrintable(error));
    if (storage.add(6, booking(QStringLiteral("Moving Patient")), 0, &error).outcome != AddOutcome::Stored)
        qFatal("%s", qPrintable(error));
    std::vector<double> moves;
    std::vector<double> adds;
    QElapsedTimer timer;
    int from = 6;
    for (int i = 0; i < 300; ++i) {
        QVector<Appointment> day;
        if (!storage.readDay(from, kDay, &day, &error) || day.isEmpty() ||
            storage.hold(from, day.last(), &error) != WriteOutcome::Done)
            qFatal("not held: %s", qPrintable(error));
        timer.start();
        if (storage.move(from, day.last(), 13 - from, kDay, QStringLiteral("09:00"), 0, &error).outcome !=
            WriteOutcome::Done)
            qFatal("not moved: %s", qPrintable(error));
        moves.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        from = 13 - from;
        timer.start();
        if (storage.add(8, booking(QStringLiteral("Added %1").arg(i)), 0, &error).outcome !=
            AddOutcome::Stored)
            qFatal("%s", qPrintable(error));
        adds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("Move to another doctor's day on the server: median %.3f ms; Add: median %.3f ms; ratio %.2f "
                "(goal at most 1.5)\n",
                median(moves), median(adds), median(moves) / median(adds));
}

// The receptionist's Add over an encrypted, verified connection against the same without encryption.
void addOverTlsAgainstPlain(const QString &url)
{
    const QString plainUrl = url + (url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
                             QStringLiteral("sslmode=disable");
    ServerStorage encrypted(url);
    ServerStorage plain(plainUrl);
    QString error;
    if (!encrypted.openBook(3, &error) || !plain.openBook(3, &error))
        qFatal("%s", qPrintable(error));
    std::vector<double> overTls;
    std::vector<double> withoutTls;
    QElapsedTimer timer;
    for (int i = 0; i < 600; ++i) {
        const Appointment made = booking(QStringLiteral("Patient %1").arg(i));
        for (auto [storage, times] : {std::pair{&encrypted, &overTls}, std::pair{&plain, &withoutTls}}) {
            timer.start();
            if (storage->add(3, made, 0, &error).outcome != AddOutcome::Stored)
                qFatal("%s", qPrintable(error));
            times->push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::printf("Add over TLS: median %.3f ms; without TLS: median %.3f ms; ratio %.2f (goal at most 1.3)\n",
                median(overTls), median(withoutTls), median(overTls) / median(withoutTls));
}

// The median time the doctor's day list takes to be listed again, stepping a day on and back.
double dayListRebuild(AppointmentBook &book, int slot)
{
    Outcome chosen = book.chooseDoctor(slot);
    if (!chosen.messages.isEmpty())
        qFatal("%s", qPrintable(chosen.messages.join(' ')));
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < 200; ++i) {
        timer.start();
        book.stepDate(i % 2 ? DateStep::MinusDay : DateStep::PlusDay, kDay);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

void dayListAtAMillion(const QString &url, PGconn *admin)
{
    // Thirty bookings a day: slot 1 over 33,334 days, slot 4 over 34.
    exec(
        admin,
        "INSERT INTO bdm1.dados (data, hora, nome, convenio, telefone, obs) SELECT "
        "to_char(date '2027-03-01' + (i / 30) - 16000, 'YYYY-MM-DD'), to_char(8 + i % 30 / 4, 'FM00') || ':' "
        "|| to_char(i % 4 * 15, 'FM00'), 'Patient ' || i, 'plan', '555', 'note' FROM generate_series(0, "
        "999999) i");
    exec(
        admin,
        "INSERT INTO bdm4.dados (data, hora, nome, convenio, telefone, obs) SELECT "
        "to_char(date '2027-03-01' + (i / 30) - 16, 'YYYY-MM-DD'), to_char(8 + i % 30 / 4, 'FM00') || ':' || "
        "to_char(i % 4 * 15, 'FM00'), 'Patient ' || i, 'plan', '555', 'note' FROM generate_series(0, 999) i");
    exec(admin, "ANALYZE");
    ServerStorage storage(url);
    AppointmentBook book(storage, kDay);
    book.readDoctorNames();
    const double million = dayListRebuild(book, 1);
    const double thousand = dayListRebuild(book, 4);
    std::printf(
        "Day list rebuild: %.3f ms at 1,000,000 bookings, %.3f ms at 1,000; ratio %.2f (goal at most 2, "
        "and under 16 ms)\n",
        million, thousand, million / thousand);
}

// A search among the 1,000,000 bookings of the first book and the others, through the storage, against the
// same condition queried bare with libpq on each book, interleaved.
void searchAgainstBareQueries(const QString &url)
{
    ServerStorage storage(url);
    PGconn *bare = PQconnectdb(url.toUtf8().constData());
    if (PQstatus(bare) != CONNECTION_OK)
        qFatal("%s", PQerrorMessage(bare));
    const PatientQuery query = patientQuery(QStringLiteral("Patient 12345"));
    const QByteArray pattern = serverSearchPattern(query).toUtf8();
    const char *values[] = {pattern.constData()};
    std::vector<double> searches;
    std::vector<double> bareQueries;
    QVector<FoundBooking> found;
    QString error;
    QElapsedTimer timer;
    for (int i = 0; i < 40; ++i) {
        timer.start();
        if (!storage.findBookings(query, &found, &error) || found.size() != 11)
            qFatal("search: %lld found %s", static_cast<long long>(found.size()), qPrintable(error));
        searches.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        timer.start();
        int rows = 0;
        for (const DoctorSlot &slot : kDoctorSlots) {
            const QByteArray sql = "SELECT id, data, hora, nome, convenio, telefone, obs FROM " +
                                   QByteArray(slot.appointmentFile).chopped(4) +
                                   ".dados WHERE public.velmora_fold(nome) LIKE $1";
            PGresult *result = PQexecParams(bare, sql.constData(), 1, nullptr, values, nullptr, nullptr, 0);
            if (PQresultStatus(result) != PGRES_TUPLES_OK)
                qFatal("bare search: %s", PQerrorMessage(bare));
            rows += PQntuples(result);
            PQclear(result);
        }
        if (rows != 11)
            qFatal("bare search: %d rows", rows);
        bareQueries.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    PQfinish(bare);
    std::printf("A search among 1,000,000 bookings on the server: median %.3f ms; the same condition queried "
                "bare on each book: median %.3f ms; ratio %.2f (goal at most 1.5)\n",
                median(searches), median(bareQueries), median(searches) / median(bareQueries));
}

// The clinic's day of ten doctors, forty bookings each on the day and 1,000,000 in the first book, against
// the ten days queried bare with libpq on one connection, interleaved.
void clinicDayAgainstTenBareDays(const QString &url, PGconn *admin)
{
    for (const DoctorSlot &slot : kDoctorSlots) {
        const QByteArray table = QByteArray(slot.appointmentFile).chopped(4) + ".dados";
        exec(admin,
             "INSERT INTO " + table +
                 " (data, hora, nome, convenio, telefone, obs) SELECT '2027-03-01', to_char(8 + i / 4, "
                 "'FM00') || ':' || to_char(i % 4 * 15, 'FM00'), 'Board ' || i, 'plan', '555', 'note' "
                 "FROM generate_series(0, 39) i");
    }
    exec(admin, "ANALYZE");
    ServerStorage storage(url);
    PGconn *bare = PQconnectdb(url.toUtf8().constData());
    if (PQstatus(bare) != CONNECTION_OK)
        qFatal("%s", PQerrorMessage(bare));
    const QByteArray day = storedDate(kDay).toUtf8();
    const char *values[] = {day.constData()};
    std::vector<double> board;
    std::vector<double> bareDays;
    QElapsedTimer timer;
    for (int i = 0; i < 40; ++i) {
        timer.start();
        if (readClinicDay(storage, kDay).columns.size() != kDoctorSlotCount)
            qFatal("the clinic's day lost a column");
        board.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        timer.start();
        for (const DoctorSlot &slot : kDoctorSlots) {
            const QByteArray sql = "SELECT id, hora, nome, convenio, telefone, obs FROM " +
                                   QByteArray(slot.appointmentFile).chopped(4) + ".dados WHERE data = $1";
            PGresult *rows = PQexecParams(bare, sql.constData(), 1, nullptr, values, nullptr, nullptr, 0);
            if (PQresultStatus(rows) != PGRES_TUPLES_OK || PQntuples(rows) < 40)
                qFatal("bare day: %s", PQerrorMessage(bare));
            PQclear(rows);
        }
        bareDays.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    PQfinish(bare);
    std::printf(
        "The clinic's day on the server (ten doctors, 40 bookings each): median %.3f ms; ten bare day "
        "queries: median %.3f ms; ratio %.2f (goal under 16 ms and at most 1.5)\n",
        median(board), median(bareDays), median(board) / median(bareDays));
}

void refreshLatency(const QString &url)
{
    ServerStorage frontStorage(url);
    ServerStorage phoneStorage(url);
    AppointmentBook front(frontStorage, kDay);
    AppointmentBook phone(phoneStorage, kDay);
    for (AppointmentBook *desk : {&front, &phone}) {
        desk->readDoctorNames();
        desk->chooseDoctor(3);
    }
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < 300; ++i) {
        const QString name = QStringLiteral("Heard %1").arg(i);
        front.entry().type(TimeField, QStringLiteral("09:00"));
        front.entry().type(NameField, name);
        timer.start();
        front.add();
        const auto heard = [&phone, row = name + QLatin1Char(' ')] {
            const QStringList &rows = phone.dayList().rows();
            return std::any_of(rows.begin(), rows.end(),
                               [&row](const QString &shown) { return shown.contains(row); });
        };
        while (!heard())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("From one desk's Add to another desk's rebuilt list: median %.2f ms, 99th percentile %.2f ms "
                "(goal under 100 ms median)\n",
                median(times), percentile99(times));
}

void tenDesks(const QString &url)
{
    constexpr int kDesks = 10;
    constexpr int kEach = 300;
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> desks;
    for (int desk = 0; desk < kDesks; ++desk)
        desks.emplace_back([url, desk] {
            ServerStorage storage(url);
            QString error;
            if (!storage.openBook(6, &error))
                qFatal("%s", qPrintable(error));
            for (int i = 0; i < kEach; ++i)
                if (storage.add(6, booking(QStringLiteral("Desk %1 %2").arg(desk).arg(i)), 7, &error)
                        .outcome != AddOutcome::Stored)
                    qFatal("%s", qPrintable(error));
        });
    for (std::thread &desk : desks)
        desk.join();
    std::printf("Ten desks adding at once (each booking with its linked copy): %.0f bookings a second\n",
                kDesks * kEach / (static_cast<double>(timer.elapsed()) / 1000.0));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString url = qEnvironmentVariable("VELMORA_BENCH_SERVER");
    if (url.isEmpty())
        qFatal("VELMORA_BENCH_SERVER names no server");
    ServerStorage prepared(url);
    QString error;
    if (!prepared.prepare(&error))
        qFatal("%s", qPrintable(error));
    {
        ServerStorage setup(url);
        AllDoctorChanges changes;
        for (int slot = 1; slot <= kDoctorSlotCount; ++slot) {
            changes[static_cast<size_t>(slot - 1)] = {QStringLiteral("Doctor %1").arg(slot), 0,
                                                      QStringLiteral("15")};
            WeeklyTimes times;
            for (int day = 0; day < kWeekdayCount; ++day) {
                times[weeklyTimePosition(day, 1)] = QStringLiteral("0800");
                times[weeklyTimePosition(day, 2)] = QStringLiteral("1200");
            }
            setup.saveWeeklyTimes(slot, times, &error);
        }
        setup.saveDoctors(changes, &error);
    }
    PGconn *admin = PQconnectdb(url.toUtf8().constData());
    if (PQstatus(admin) != CONNECTION_OK)
        qFatal("%s", PQerrorMessage(admin));
    addAgainstBareInsert(url);
    moveAgainstAdd(url);
    addOverTlsAgainstPlain(url);
    dayListAtAMillion(url, admin);
    searchAgainstBareQueries(url);
    clinicDayAgainstTenBareDays(url, admin);
    refreshLatency(url);
    tenDesks(url);
    PQfinish(admin);
    return 0;
}
