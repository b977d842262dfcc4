// Works on the appointment files through the program's own storage code and reports every commit
// on standard output as soon as it returns, for the tests that kill it or starve it of disk space.
//
//   storage_worker crash FOLDER RUN   books, changes and removes until killed
//   storage_worker move FOLDER|URL RUN  books in one doctor's book and moves to another's until killed
//   storage_worker series FOLDER RUN  books weekly series of 20 sessions with their linked copies until
//   killed storage_worker fill FOLDER BYTES  books under a file-size limit until the disk is "full"
//   storage_worker import FOLDER READER  imports the older program's files of the folder
//   storage_worker hold FOLDER FILE   writes into the file in a transaction large enough to reach the
//                                     disk, says "holding" and waits to be killed
//   storage_worker desk URL NAME:COUNT  books COUNT linked bookings NAME_0... on a server (0: until killed)

#include "core/schedule/calendar_setup.h"
#include "files/appointment_store.h"
#include "files/sqlite_storage.h"
#include "server/server_storage.h"
#include "transfer/legacy_import.h"
#include "transfer/server_copy.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <QThread>
#include <QTime>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

using namespace velmora;

namespace {

const QDate kDay(2027, 3, 1);

void report(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

Appointment booking(const QString &name)
{
    Appointment appointment;
    appointment.date = kDay;
    appointment.hora = QStringLiteral("09:00");
    appointment.nome = name;
    appointment.obs = QString(20, QLatin1Char('o'));
    return appointment;
}

bool findByName(AppointmentStore &store, const QString &name, Appointment *found)
{
    QVector<Appointment> day;
    QString error;
    if (!store.readDay(kDay, &day, &error))
        return false;
    for (const Appointment &appointment : std::as_const(day))
        if (appointment.nome == name) {
            *found = appointment;
            return true;
        }
    return false;
}

// Linked bookings L (never touched again), plain bookings U, some renamed to C, some removed.
int crash(const QDir &folder, const QString &run)
{
    Connection data1(QStringLiteral("Data1"), folder);
    QString error;
    if (!data1.pointAt(QStringLiteral("bdm1.mdb"), &error))
        return 2;
    AppointmentStore store(data1);
    for (int i = 0;; ++i) {
        const QString id = QStringLiteral("%1_%2").arg(run).arg(i);
        if (store.add(booking(QStringLiteral("L") + id), QStringLiteral("bdm3.mdb"), &error) !=
            AddOutcome::Stored)
            return 3;
        report(QStringLiteral("L L") + id);
        if (store.add(booking(QStringLiteral("U") + id), QString(), &error) != AddOutcome::Stored)
            return 3;
        report(QStringLiteral("U U") + id);
        Appointment found;
        if (i % 3 == 1 && findByName(store, QStringLiteral("U") + id, &found)) {
            Appointment changed = found;
            changed.nome = QStringLiteral("C") + id;
            if (store.update(found, changed, &error) != WriteOutcome::Done)
                return 3;
            report(QStringLiteral("C C") + id);
        }
        if (i % 5 == 2 &&
            findByName(store, (i % 3 == 1 ? QStringLiteral("C") : QStringLiteral("U")) + id, &found)) {
            if (store.remove(found, &error) != WriteOutcome::Done)
                return 3;
            report(QStringLiteral("R ") + found.nome);
        }
    }
}

// Bookings added to the first doctor's book, held and moved to the second's, each to a time of its own
// (a taken time is refused), each step reported; on the folder's files, or on the server a URL names.
// The books of the folder, or of the server a URL names, made ready; none when the server's are not.
std::unique_ptr<BookStorage> storageAt(const QString &where)
{
    if (!where.startsWith(QLatin1String("postgresql:")))
        return std::make_unique<SqliteStorage>(QDir(where), 1000);
    auto server = std::make_unique<ServerStorage>(where);
    QString error;
    if (!server->prepare(&error) || !server->openBook(2, &error))
        return nullptr;
    return server;
}

QString placeOf(int run, int i)
{
    return QTime(0, 0).addSecs(60 * (40 * run + i)).toString(QStringLiteral("HH:mm"));
}

int move(const QString &where, const QString &run)
{
    const std::unique_ptr<BookStorage> engine = storageAt(where);
    if (!engine)
        return 2;
    BookStorage &storage = *engine;
    QString error;
    for (int i = 0;; ++i) {
        const Appointment added = booking(QStringLiteral("M%1_%2").arg(run).arg(i));
        if (storage.add(1, added, 0, &error).outcome != AddOutcome::Stored)
            return 3;
        report(QStringLiteral("A ") + added.nome);
        QVector<Appointment> day;
        if (!storage.readDay(1, kDay, &day, &error) || day.isEmpty() ||
            storage.hold(1, day.last(), &error) != WriteOutcome::Done ||
            storage.move(1, day.last(), 2, kDay, placeOf(run.toInt(), i), 3, &error).outcome !=
                WriteOutcome::Done)
            return 3;
        report(QStringLiteral("M ") + added.nome);
    }
}

// Series of 20 weekly sessions in the first doctor's book, each with its copy in the third's; each
// series reported once stored.
int series(const QString &where, const QString &run)
{
    const std::unique_ptr<BookStorage> engine = storageAt(where);
    if (!engine)
        return 2;
    BookStorage &storage = *engine;
    QString error;
    for (int i = 0;; ++i) {
        QVector<Appointment> sessions;
        for (int week = 0; week < 20; ++week) {
            Appointment session = booking(QStringLiteral("S%1_%2").arg(run).arg(i));
            session.date = kDay.addDays(7 * week);
            session.series = {0, week + 1, 20};
            sessions << session;
        }
        QVector<qint64> ids;
        // Series after series at the same times: each session booked as a squeeze-in.
        if (storage.addSeries(1, sessions, 3, QVector<bool>(sessions.size(), true), &ids, &error) !=
            AddOutcome::Stored)
            return 3;
        report(sessions.first().nome);
    }
}

int fill(const QDir &folder, qint64 limit)
{
    // Past the limit a write fails with "file too large" instead of the signal ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit fileSize{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    setrlimit(RLIMIT_FSIZE, &fileSize);

    Connection data1(QStringLiteral("Data1"), folder);
    QString error;
    if (!data1.pointAt(QStringLiteral("bdm1.mdb"), &error))
        return 2;
    AppointmentStore store(data1);
    for (int i = 0; i < 1000000; ++i) {
        const QString name = QStringLiteral("Full %1 ").arg(i) + QString(25, QLatin1Char('x'));
        if (store.add(booking(name), QString(), &error) != AddOutcome::Stored) {
            report(QStringLiteral("failed ") + error);
            return 0;
        }
        report(QStringLiteral("stored ") + name);
    }
    return 4;
}

// A change interrupted half-way: its journal is on the disk and the file partly written.
int hold(const QDir &folder, const QString &fileName)
{
    Connection connection(QStringLiteral("Data1"), folder);
    QString error;
    if (!connection.pointAt(fileName, &error))
        return 2;
    QSqlDatabase db = connection.database();
    QSqlQuery query(db);
    query.exec(QStringLiteral("PRAGMA cache_size = 2")); // pages spill to the file before the commit
    if (!db.transaction())
        return 3;
    const bool settings = fileName != QLatin1String("bdm1.mdb");
    const QString field =
        fileName == QLatin1String("bdm6.mdb") ? QStringLiteral("prof1") : QStringLiteral("p7_seg1");
    query.prepare(settings ? QStringLiteral("INSERT INTO profs (%1) VALUES (?)").arg(field)
                           : QStringLiteral("INSERT INTO dados (data, obs) VALUES ('2027-03-01', ?)"));
    for (int i = 0; i < 300; ++i) {
        query.addBindValue(QString(2000, QLatin1Char('u')));
        if (!query.exec())
            return 3;
    }
    if (!settings)
        query.exec(QStringLiteral("UPDATE dados SET nome = 'Garbled' WHERE nome <> ''"));
    else
        query.exec(QStringLiteral("UPDATE profs SET %1 = 'Garbled'").arg(field));
    report(QStringLiteral("holding"));
    for (;;)
        QThread::sleep(1);
}

} // namespace

// Doctor 1's bookings, each copied into doctor 3's book in the same statement.
int desk(const QString &url, const QString &name, int count)
{
    ServerStorage storage(url);
    QString error;
    if (!storage.prepare(&error) || !storage.openBook(1, &error)) {
        report(error);
        return 2;
    }
    for (int i = 0; count == 0 || i < count; ++i) {
        const QString booked = QStringLiteral("%1_%2").arg(name).arg(i);
        if (storage.add(1, booking(booked), 3, &error).outcome != AddOutcome::Stored) {
            report(error);
            return 3;
        }
        report(booked);
    }
    return 0;
}

// Twenty bookings of the first doctor's book each placed in the second's at the times another desk
// places its own at the same moment: "M name" for each placed, "R name" for each refused as taken.
int place(const QString &where, const QString &run)
{
    const std::unique_ptr<BookStorage> engine = storageAt(where);
    if (!engine)
        return 2;
    QString error;
    for (int i = 0; i < 20; ++i) {
        Appointment added = booking(QStringLiteral("P%1_%2").arg(run).arg(i));
        added.hora = QStringLiteral("07:%1").arg(i, 2, 10, QLatin1Char('0'));
        QVector<Appointment> day;
        if (engine->add(1, added, 0, &error).outcome != AddOutcome::Stored ||
            !engine->readDay(1, kDay, &day, &error))
            return report(error), 3;
        const auto stored = std::find_if(day.cbegin(), day.cend(),
                                         [&](const Appointment &one) { return one.nome == added.nome; });
        if (stored == day.cend())
            return report(error), 3;
        const Moved moved = engine->move(1, *stored, 2, kDay, placeOf(0, i), 0, &error);
        if (moved.outcome == WriteOutcome::Done)
            report(QStringLiteral("M ") + added.nome);
        else if (error.contains(QLatin1String("booked meanwhile")))
            report(QStringLiteral("R ") + added.nome);
        else
            return report(error), 3;
    }
    return 0;
}

// Twenty one-day closures added to the clinic's calendar, one after another as a desk adds them, each
// reported once the calendar window would say it was saved.
int calendar(const QString &where, const QString &run)
{
    const std::unique_ptr<BookStorage> engine = storageAt(where);
    if (!engine)
        return 2;
    CalendarSetup setup(*engine);
    for (int i = 0; i < 20; ++i) {
        CalendarEntry closure;
        closure.kind = CalendarEntry::Kind::Closure;
        closure.from = closure.to = QDate(2027, 1, 1).addDays(100 * run.toInt() + i);
        closure.reason = QStringLiteral("%1_%2").arg(run).arg(i);
        QString error;
        if (!setup.add(closure, QStringLiteral("desk %1").arg(run), QDateTime::currentDateTimeUtc(),
                       &error)) {
            report(error);
            return 3;
        }
        report(closure.reason);
    }
    return 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4)
        return 1;
    const QDir folder(arguments.at(2));
    if (arguments.at(1) == QLatin1String("crash"))
        return crash(folder, arguments.at(3));
    if (arguments.at(1) == QLatin1String("move"))
        return move(arguments.at(2), arguments.at(3));
    if (arguments.at(1) == QLatin1String("place"))
        return place(arguments.at(2), arguments.at(3));
    if (arguments.at(1) == QLatin1String("calendar"))
        return calendar(arguments.at(2), arguments.at(3));
    if (arguments.at(1) == QLatin1String("series"))
        return series(arguments.at(2), arguments.at(3));
    if (arguments.at(1) == QLatin1String("import"))
        return importLegacyFiles(folder, arguments.at(3)).notImported.isEmpty() ? 0 : 5;
    if (arguments.at(1) == QLatin1String("hold"))
        return hold(folder, arguments.at(3));
    if (arguments.at(1) == QLatin1String("desk"))
        return desk(arguments.at(2), arguments.at(3).section(QLatin1Char(':'), 0, 0),
                    arguments.at(3).section(QLatin1Char(':'), 1).toInt());
    if (arguments.at(1) == QLatin1String("copy-from")) // copy-from FOLDER URL
        return copyFromServer(arguments.at(3), folder).done ? 0 : 5;
    if (arguments.at(1) == QLatin1String("fill"))
        return fill(folder, arguments.at(3).toLongLong());
    return 1;
}
