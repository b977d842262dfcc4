#include "server/server_fill.h"

#include "core/model/patient.h"
#include "core/reception/waiting_list.h"
#include "core/storage/stored_bookings.h"
#include "schema/patient_sql.h"
#include "schema/waiting_sql.h"

#include "schema/book_schema.h"
#include "schema/booking_sql.h"
#include "schema/settings_fields.h"
#include "server/server_schema.h"
#include "server/server_storage.h"

#include <QCoreApplication>
#include <QSqlError>

namespace velmora {

namespace {

// Rows a statement sends: a few hundred keep each within the server's time limit.
constexpr size_t kRowsAStatement = 400;

QString valuesLists(size_t rows, int columns)
{
    QStringList one(columns, QStringLiteral("?"));
    const QString list = QLatin1Char('(') + one.join(QStringLiteral(", ")) + QLatin1Char(')');
    return QStringList(static_cast<qsizetype>(rows), list).join(QStringLiteral(", "));
}

QVariant textValue(const QString &text)
{
    return text.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

} // namespace

ServerFill::ServerFill(ServerStorage &storage) : storage_(storage)
{
    open_ = storage_.ready(&beginFailure_) && storage_.connection_.database().transaction();
    if (!open_ && beginFailure_.isEmpty())
        beginFailure_ = storage_.connection_.failure(storage_.connection_.database().lastError());
    // The copy brings its own history: the server writes none for the owner's fill (a desk's writes
    // its entries as of every booking it adds).
    if (open_) {
        QSqlQuery filling(storage_.connection_.database());
        filling.exec(QStringLiteral("SET LOCAL velmora.filling = 'on'"));
    }
}

ServerFill::~ServerFill()
{
    if (open_ && storage_.connection_.isOpen())
        storage_.connection_.database().rollback();
}

bool ServerFill::begun(QString *error) const
{
    if (!open_)
        *error = beginFailure_;
    return open_;
}

QSqlQuery *ServerFill::run(const QString &statement, const QVariantList &values, QString *error)
{
    return stillOpen(error) ? storage_.connection_.run(statement, values, error) : nullptr;
}

bool ServerFill::stillOpen(QString *error)
{
    if (open_ && storage_.connection_.isOpen())
        return true;
    open_ = false;
    *error = storage_.connection_.named(
        QCoreApplication::translate("Storage", "the connection was lost; nothing was written"));
    return false;
}

bool ServerFill::command(const QString &statement, QString *error)
{
    if (!stillOpen(error))
        return false;
    QSqlQuery query(storage_.connection_.database());
    return storage_.connection_.execute(query, statement, error);
}

bool ServerFill::startBook(int slot, QString *error)
{
    if (!endBook(error))
        return false;
    const QString book = serverBookTable(slot);
    // Any row but the older program's placeholder is a booking that is never written over.
    QSqlQuery *held = run(heldBookingsQuery(book), {storedDate(placeholderDate())}, error);
    if (!held || !held->next())
        return false;
    const qint64 bookings = held->value(0).toLongLong();
    held->finish();
    if (bookings > 0) {
        *error = storage_.connection_.named(
            QCoreApplication::translate("Storage", "\"%1\" cannot be used: %2")
                .arg(book, QCoreApplication::translate("Storage", "it already holds appointments")));
        return false;
    }
    // A link left from bookings removed before would give their identities' patient to the copied ones.
    if (!command(QStringLiteral("SAVEPOINT book"), error) ||
        !run(QStringLiteral("DELETE FROM %1").arg(book), {}, error) ||
        !run(QStringLiteral("DELETE FROM %1").arg(patientLinkTable(serverSchema(slot))), {}, error))
        return false;
    slot_ = slot;
    filled_.push_back({slot, 0});
    return true;
}

bool ServerFill::append(const Appointment &booking, QString *error)
{
    if (slot_ == 0) {
        *error = QCoreApplication::translate("Storage", "no file is open");
        return false;
    }
    // A statement names its identities or lets the server give them, never both.
    if (!rows_.empty() && (rows_.front().id != 0) != (booking.id != 0) && !flush(error))
        return false;
    rows_.push_back(booking);
    ++filled_.back().second;
    return rows_.size() < kRowsAStatement || flush(error);
}

bool ServerFill::appendHistory(qint64 id, const HistoryEntry &entry, QString *error)
{
    if (slot_ == 0) {
        *error = QCoreApplication::translate("Storage", "no file is open");
        return false;
    }
    history_.push_back({id, entry});
    return history_.size() < kRowsAStatement || flush(error);
}

bool ServerFill::appendPatientLinks(const QVector<BookingLink> &links, QString *error)
{
    if (slot_ == 0 && !links.isEmpty()) {
        *error = QCoreApplication::translate("Storage", "no file is open");
        return false;
    }
    const auto perStatement = static_cast<qsizetype>(kRowsAStatement);
    for (qsizetype first = 0; first < links.size(); first += perStatement) {
        const qsizetype count = std::min(perStatement, links.size() - first);
        QVariantList values;
        for (qsizetype i = first; i < first + count; ++i)
            values << links.at(i).booking << links.at(i).patient;
        if (!run(QStringLiteral("INSERT INTO %1 (id, patient) VALUES %2")
                     .arg(patientLinkTable(serverSchema(slot_)), valuesLists(static_cast<size_t>(count), 2)),
                 values, error))
            return false;
    }
    return true;
}

bool ServerFill::flush(QString *error)
{
    const QString schema = serverSchema(slot_);
    if (!rows_.empty()) {
        const bool ownIdentities = rows_.front().id != 0;
        QVariantList values;
        QVariantList statuses;
        size_t withStatus = 0;
        QVariantList places;
        size_t inSeries = 0;
        for (const Appointment &booking : rows_) {
            if (ownIdentities)
                values << booking.id;
            values << (booking.date.isValid() ? QVariant(storedDate(booking.date)) : textValue(QString()));
            for (const QString *text :
                 {&booking.hora, &booking.nome, &booking.convenio, &booking.telefone, &booking.obs})
                values << textValue(*text);
            if (ownIdentities && booking.status != BookingStatus::ToConfirm) {
                statuses << booking.id << (booking.nome.isNull() ? QStringLiteral("") : booking.nome)
                         << static_cast<int>(booking.status);
                ++withStatus;
            }
            if (ownIdentities && booking.series.series != 0) {
                places << booking.id << booking.series.series << booking.series.number
                       << booking.series.total;
                ++inSeries;
            }
        }
        const int columns = ownIdentities ? 7 : 6;
        if (!run(QStringLiteral("INSERT INTO %1 (%2%3) VALUES %4")
                     .arg(serverBookTable(slot_), ownIdentities ? QStringLiteral("id, ") : QString(),
                          bookingColumns(), valuesLists(rows_.size(), columns)),
                 values, error))
            return false;
        // The numbering goes on after the identities given.
        if (ownIdentities && !run(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                                 "coalesce(max(id), 0) + 1, false) FROM %1")
                                      .arg(serverBookTable(slot_)),
                                  {}, error))
            return false;
        if (withStatus > 0 && !run(QStringLiteral("INSERT INTO %1 (id, nome, status) VALUES %2")
                                       .arg(statusTable(schema), valuesLists(withStatus, 3)),
                                   statuses, error))
            return false;
        // A place left by a booking removed before the copy gives way to the copied booking's.
        if (inSeries > 0 &&
            !run(QStringLiteral("INSERT INTO %1 (id, series, number, total) VALUES %2 ON CONFLICT "
                                "(id) DO UPDATE SET series = excluded.series, number = "
                                "excluded.number, total = excluded.total")
                     .arg(seriesTable(schema), valuesLists(inSeries, 4)),
                 places, error))
            return false;
        rows_.clear();
    }
    if (!history_.empty()) {
        QVariantList values;
        for (const auto &[id, entry] : history_)
            values << id << entry.at.toString(Qt::ISODateWithMs) << textValue(entry.computer)
                   << textValue(entry.person) << entry.action << textValue(entry.details);
        if (!run(QStringLiteral("INSERT INTO %1 (id, at, computer, person, action, details) VALUES %2")
                     .arg(historyTable(schema), valuesLists(history_.size(), 6)),
                 values, error))
            return false;
        history_.clear();
    }
    return true;
}

bool ServerFill::endBook(QString *error)
{
    if (slot_ == 0)
        return true;
    const bool ended = flush(error) && command(QStringLiteral("RELEASE SAVEPOINT book"), error);
    slot_ = 0;
    return ended;
}

void ServerFill::dropBook()
{
    if (slot_ == 0)
        return;
    rows_.clear();
    history_.clear();
    filled_.pop_back();
    slot_ = 0;
    QString error;
    if (!command(QStringLiteral("ROLLBACK TO SAVEPOINT book"), &error) ||
        !command(QStringLiteral("RELEASE SAVEPOINT book"), &error))
        open_ = false; // finish() says so
}

bool ServerFill::writeSettings(const SettingsRecord &record, QString *error)
{
    if (!endBook(error))
        return false;
    QStringList fields;
    QVariantList values;
    for (const RecordField &field : recordFields())
        if (field.in(record)) {
            fields << field.name;
            values << storedValue(field, *field.in(record));
        }
    if (fields.isEmpty())
        return true;
    return stillOpen(error) && storage_.saveSettings(fields, values, error);
}

bool ServerFill::writeCalendar(const QVector<CalendarEntry> &entries, QString *error)
{
    return stillOpen(error) && storage_.keepCalendar(entries, error);
}

bool ServerFill::writeReceptionLists(const QVector<WaitingEntry> &waiting, const SqueezeLimits &limits,
                                     QString *error)
{
    // Every entry kept with its identity, and the identities given next past them.
    QSqlQuery *query = run(QStringLiteral("DELETE FROM %1").arg(serverWaitingTable()), {}, error);
    if (!query)
        return false;
    query->finish();
    for (const WaitingEntry &entry : waiting) {
        const QVariantList values = QVariantList{entry.id} + waitingValues(entry);
        query = run(QStringLiteral("INSERT INTO %1 (id, %2) VALUES (?%3)")
                        .arg(serverWaitingTable(), waitingColumns(),
                             QStringLiteral(", ?").repeated(values.size() - 1)),
                    values, error);
        if (!query)
            return false;
        query->finish();
    }
    return identitiesGoOnPast(serverWaitingTable(), error) && storage_.saveSqueezeLimits(limits, error);
}

bool ServerFill::identitiesGoOnPast(const QString &table, QString *error)
{
    QSqlQuery *query = run(
        QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), coalesce((SELECT max(id) FROM %1), "
                       "0) + 1, false)")
            .arg(table),
        {}, error);
    if (!query)
        return false;
    query->finish();
    return true;
}

bool ServerFill::writePatients(const QVector<Patient> &patients, QString *error)
{
    // Every patient kept with its identity, and the identities given next past them.
    const QString table = QStringLiteral("public.") + patientsTable();
    QSqlQuery *query = run(QStringLiteral("DELETE FROM %1").arg(table), {}, error);
    if (!query)
        return false;
    query->finish();
    for (const Patient &patient : patients) {
        query = run(QStringLiteral("INSERT INTO %1 (id, cpf, record) VALUES (?, ?, ?)").arg(table),
                    {patient.id, storedCpf(patient), patientText(patient)}, error);
        if (!query)
            return false;
        query->finish();
    }
    return identitiesGoOnPast(table, error);
}

bool ServerFill::finish(QString *error)
{
    if (!endBook(error))
        return false;
    for (const auto &[slot, appended] : filled_) {
        QSqlQuery *count =
            run(QStringLiteral("SELECT count(*) FROM %1").arg(serverBookTable(slot)), {}, error);
        if (!count || !count->next())
            return false;
        const qint64 rows = count->value(0).toLongLong();
        count->finish();
        if (rows != appended) {
            *error =
                QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                    .arg(serverBookTable(slot),
                         QCoreApplication::translate("Storage", "it holds %1 appointments of the %2 written")
                             .arg(rows)
                             .arg(appended));
            return false;
        }
    }
    if (!run(ServerStorage::announcing(), {storage_.everythingNotice()}, error))
        return false;
    QSqlDatabase db = storage_.connection_.database();
    if (!db.commit()) {
        *error = storage_.connection_.failure(db.lastError());
        return false;
    }
    open_ = false;
    return true;
}

} // namespace velmora
