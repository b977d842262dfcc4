#pragma once

#include "core/desk/appointment_book.h"
#include "files/sqlite_storage.h"
#include "server/server_storage.h"
#include "support/memory_storage.h"
#include "support/open_book.h"
#include "support/test_files.h"
#include "support/test_server.h"

#include <memory>
#include <optional>

namespace velmora::testing {

// The Monday the desks show.
inline const QDate kMonday(2027, 3, 1);

// One engine's books, opened by as many desks as a case needs.
class SharedBooks
{
public:
    // timeLimitMs: how long a desk waits for the server.
    // engine: "files", "server" or "memory".
    explicit SharedBooks(const QString &engine, int timeLimitMs = kServerTimeLimitMs)
        : server_(engine == QLatin1String("server")), memory_(engine == QLatin1String("memory")),
          timeLimitMs_(timeLimitMs)
    {
        if (server_)
            database_.emplace();
        else if (!memory_)
            files_.prepareCopies();
    }

    std::unique_ptr<BookStorage> desk()
    {
        if (memory_)
            return std::make_unique<MemoryStorage>(inMemory_);
        if (!server_)
            return std::make_unique<SqliteStorage>(files_.folder(), 100);
        auto storage = std::make_unique<ServerStorage>(database_->url(), timeLimitMs_);
        QString error;
        if (!storage->prepare(&error))
            qFatal("%s", qPrintable(error));
        return storage;
    }

    TestDatabase &database() { return *database_; }
    TestFiles &files() { return files_; }
    // Adds a booking behind the program's back, as another tool writing the book would.
    void addByAnotherTool(int slot, const Appointment &booking)
    {
        if (server_)
            database_->exec(
                QStringLiteral("INSERT INTO bdm%1.dados (data, hora, nome, telefone) VALUES ('%2', '%3', "
                               "'%4', '%5') RETURNING id")
                    .arg(QString::fromLatin1(doctorSlot(slot).appointmentFile).mid(3).section('.', 0, 0),
                         storedDate(booking.date), booking.hora, booking.nome, booking.telefone));
        else if (!memory_)
            files_.addAppointment(slot, booking.date, booking.hora, booking.nome, {}, booking.telefone);
        else
            inMemory_.books[slot] << Appointment{++inMemory_.lastId,
                                                 booking.date,
                                                 booking.hora,
                                                 booking.nome,
                                                 {},
                                                 booking.telefone,
                                                 {},
                                                 BookingStatus::ToConfirm,
                                                 {}};
    }

private:
    bool server_;
    bool memory_;
    int timeLimitMs_;
    MemoryBooks inMemory_;
    TestFiles files_;
    std::optional<TestDatabase> database_;
};

// Mornings 08:00 to 09:00 every day, at 15 minutes, as the setup window saves them.
inline void saveMorningDoctors(BookStorage &storage, const QStringList &names)
{
    AllDoctorChanges changes;
    QString error;
    for (int i = 0; i < names.size(); ++i) {
        changes[static_cast<size_t>(i)].name = names[i];
        changes[static_cast<size_t>(i)].interval = QStringLiteral("15");
        WeeklyTimes times;
        for (int day = 0; day < kWeekdayCount; ++day) {
            times[weeklyTimePosition(day, 1)] = QStringLiteral("0800");
            times[weeklyTimePosition(day, 2)] = QStringLiteral("0900");
        }
        if (!storage.saveWeeklyTimes(i + 1, times, &error))
            qFatal("%s", qPrintable(error));
    }
    if (!storage.saveDoctors(changes, &error))
        qFatal("%s", qPrintable(error));
}

// Two desks on one engine's books, both showing doctor 1 on the same Monday.
struct TwoDesks
{
    TwoDesks(const QString &engine, const QStringList &doctors, int timeLimitMs = kServerTimeLimitMs)
        : books(engine, timeLimitMs), frontStorage(books.desk()), phoneStorage(books.desk()),
          front(*frontStorage, kMonday), phone(*phoneStorage, kMonday)
    {
        saveMorningDoctors(*frontStorage, doctors);
        for (AppointmentBook *desk : {&front, &phone}) {
            desk->readDoctorNames();
            Book::expectNothingSaid(desk->chooseDoctor(1));
        }
    }
    SharedBooks books;
    std::unique_ptr<BookStorage> frontStorage;
    std::unique_ptr<BookStorage> phoneStorage;
    AppointmentBook front;
    AppointmentBook phone;
};

inline Outcome addAt(AppointmentBook &desk, const char *time, const char *name)
{
    desk.entry().type(TimeField, QString::fromUtf8(time));
    desk.entry().type(NameField, QString::fromUtf8(name));
    return desk.add();
}

} // namespace velmora::testing
