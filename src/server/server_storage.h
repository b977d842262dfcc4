#pragma once

#include "core/model/appointment.h"
#include "core/storage/book_storage.h"
#include "server/server_connection.h"

#include "core/model/booking_status.h"
#include "server/server_watch.h"

#include <memory>
#include <optional>

namespace velmora {

// The books and the settings record on a PostgreSQL server shared by several desks. Every write is one
// statement, committed alone, that also tells the other desks what changed (NOTIFY); a desk watching
// hears them on a connection of its own.
class ServerStorage : public BookStorage
{
public:
    explicit ServerStorage(const QString &url, int timeLimitMs = kServerTimeLimitMs);
    ~ServerStorage() override;

    // Connects and creates the books on an empty database. False with why for a server that cannot be
    // reached (foreign stays false) or a database holding something else (foreign set).
    bool prepare(QString *error, bool *foreign = nullptr);
    // For a task that only reads (a search or a report from a terminal): nothing is ever created or
    // written, the server itself refusing every write of the connection; an empty database is said.
    // Before prepare().
    void onlyRead();

    // The operations every engine implements.
#include "core/storage/engine_operations.inc"
    bool readDays(const QVector<int> &slots, QDate date, std::map<int, QVector<Appointment>> *days,
                  QString *error) override;
    // The calendar kept exactly as given, signatures and all: a copy's, with the owner's rights.
    bool keepCalendar(const QVector<CalendarEntry> &entries, QString *error);

    void watchOtherDesks(std::function<void(const StoredElsewhere &)> changed) override;
    bool hearsOtherDesks() const override;

private:
    // A read of a table kept beside the books failed: true when the books were set up before the
    // release that keeps it (it reads as empty until the set-up is run again).
    bool neverSetUp(const QString &table);
    // The bookings the query of each book finds (with its values), read in one statement.
    bool foundInEveryBook(const std::function<std::pair<QString, QVariantList>(int slot)> &queryOf,
                          QVector<FoundBooking> *bookings, QString *error);
    // The booking as this server can store it: without its patient on books set up by an earlier
    // release (found later in the review), until the set-up is run again.
    Appointment storable(const Appointment &booking) const;
    // The other desks told that the patients changed.
    void announcePatients();
    friend class ServerFill;
    bool ready(QString *error);
    QSqlQuery *run(const QString &statement, const QVariantList &values, QString *error);
    bool readSettings(const QStringList &fields, QSqlRecord *record, QString *error);
    bool saveSettings(const QStringList &fields, const QVariantList &values, QString *error);
    // ", name AS (...)": the history entry this desk writes for the statement's rows, or nothing where
    // the server writes it.
    // Whether the slot's book has no booking with a name at the booking's date and time (but except,
    // and the moving booking's own copy), the time locked for the rest of the transaction.
    bool timeFree(int slot, const Appointment &booking, qint64 except, QString *error,
                  const std::optional<Appointment> &moving = std::nullopt);
    // The move itself, with no look at what stands at the new time.
    Moved movedAsRead(int slot, const Appointment &stored, int toSlot, QDate date, const QString &time,
                      int linkedSlot, QString *error);
    QString unheld(int slot, const QString &from) const;
    QString logged(const QString &name, int slot, const QString &from, const char *action) const;
    // The slot's table of series places, when the books have it; empty otherwise.
    QString seriesTableOf(int slot) const;
    // The write's statements in one transaction: committed when write gives true, rolled back otherwise.
    bool inTransaction(const std::function<bool()> &write, QString *error);
    QString dayNotice(int slot, QDate date) const;
    // What tells the other desks that everything may have changed, and the statement announcing it.
    QString everythingNotice() const;
    static QString announcing();
    void heard(const QString &payload);

    ServerConnection connection_;
    QString url_;
    int timeLimitMs_;
    bool prepared_ = false;
    bool searchIndexed_ = false; // the server keeps the searches' indexes
    QString desk_;               // this desk's mark on what it tells the others, to not hear itself
    Desk thisDesk_;
    bool onlyRead_ = false;
    bool serverKeepsHistory_ = false; // its triggers write it; the desk then writes none
    bool seriesKept_ = false;         // the books have the table of the series' places
    bool heldKept_ = false;           // the server has the table of the bookings held
    bool linksKept_ = false;          // the books have the table of their bookings' patients
    std::function<void(const StoredElsewhere &)> changed_;
    std::unique_ptr<ServerWatch> watch_;           // while something watches the other desks
    std::optional<AllDoctorFields> doctorsAsRead_; // since the watch listens and heard no settings save
};

} // namespace velmora
