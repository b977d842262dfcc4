#include "files/appointment_store.h"

#include "schema/booking_sql.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace velmora {

namespace {

const char *const kSelectDay = "SELECT rowid, hora, nome, convenio, telefone, obs FROM dados "
                               "WHERE data = ? ORDER BY rowid";
const char *const kLinkedSchema = "linked";

bool fail(const QSqlQuery &query, QString *error)
{
    *error = reasonOf(query.lastError());
    return false;
}

WriteOutcome written(QSqlQuery &query, QString *error)
{
    if (!query.exec()) {
        fail(query, error);
        return WriteOutcome::Failed;
    }
    if (query.numRowsAffected() != 1) {
        *error = QCoreApplication::translate("Storage", "the appointment is no longer stored");
        return WriteOutcome::NoLongerStored;
    }
    return WriteOutcome::Done;
}

} // namespace

bool AppointmentStore::hasRecords(bool *any, QString *error)
{
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    if (!query.exec(QStringLiteral("SELECT 1 FROM dados LIMIT 1")))
        return fail(query, error);
    *any = query.next();
    return true;
}

bool AppointmentStore::addPlaceholder(QString *error)
{
    QSqlQuery query(connection_.database());
    query.prepare(QStringLiteral("INSERT INTO dados (data) VALUES (?)"));
    query.addBindValue(storedDate(placeholderDate()));
    return query.exec() || fail(query, error);
}

bool AppointmentStore::readDay(QDate date, QVector<Appointment> *bookings, QString *error)
{
    bookings->clear();
    if (!connection_.ensureOpen(error))
        return false;
    QSqlQuery query(connection_.database());
    query.setForwardOnly(true);
    query.prepare(QString::fromLatin1(kSelectDay));
    query.addBindValue(storedDate(date));
    if (!query.exec())
        return fail(query, error);
    appendDayBookings(query, date, bookings);
    // A damaged page met half-way shows as an error after the last row read.
    if (query.lastError().isValid())
        return fail(query, error);
    return true;
}

bool AppointmentStore::attachLinked(const QString &linkedFile, QString *problem)
{
    // A missing file is refused by the URI's mode, one of another format by the first read, and one
    // without the appointment table by the check below: none of them is written to.
    QSqlQuery query(connection_.database());
    query.prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(QLatin1String(kLinkedSchema)));
    query.addBindValue(sqliteUri(connection_.pathOf(linkedFile), "rw"));
    if (!query.exec())
        return fail(query, problem);
    // Committed together only in rollback-journal mode: with a write-ahead log the two files would
    // commit one after the other.
    if (!query.exec(QStringLiteral("PRAGMA %1.journal_mode = DELETE").arg(QLatin1String(kLinkedSchema))) ||
        !query.next() || query.value(0).toString().toLower() != QLatin1String("delete")) {
        if (query.lastError().isValid())
            fail(query, problem);
        else
            *problem = QCoreApplication::translate(
                "Storage", "its journal cannot be switched to the mode that keeps both books together");
        query.finish();
        detachLinked();
        return false;
    }
    query.finish();
    QStringList columns;
    if (!query.exec(QStringLiteral("PRAGMA %1.table_info(dados)").arg(QLatin1String(kLinkedSchema))))
        fail(query, problem);
    while (query.isActive() && query.next())
        columns << query.value(1).toString().toLower();
    for (const char *column : {"data", "hora", "nome", "convenio", "telefone", "obs"}) {
        if (!columns.contains(QLatin1String(column))) {
            if (problem->isEmpty())
                *problem =
                    QCoreApplication::translate("Storage", "its appointment table is missing or incomplete");
            query.finish();
            detachLinked();
            return false;
        }
    }
    return true;
}

void AppointmentStore::detachLinked()
{
    QSqlQuery detach(connection_.database());
    detach.exec(QStringLiteral("DETACH DATABASE %1").arg(QLatin1String(kLinkedSchema)));
}

bool AppointmentStore::insertInto(const QString &schema, const Appointment &booking, QString *error)
{
    QSqlQuery query(connection_.database());
    if (!query.prepare(QStringLiteral("INSERT INTO %1.dados (%2) VALUES (?, ?, ?, ?, ?, ?)")
                           .arg(schema, bookingColumns())))
        return fail(query, error);
    bindBooking(query, booking);
    return query.exec() || fail(query, error);
}

AddOutcome AppointmentStore::add(const Appointment &booking, const QString &linkedFile, QString *error)
{
    if (!connection_.ensureOpen(error))
        return AddOutcome::NotStored;
    const QString main = QStringLiteral("main");
    if (linkedFile.isEmpty())
        return insertInto(main, booking, error) ? AddOutcome::Stored : AddOutcome::NotStored;

    QString linkProblem;
    if (!attachLinked(linkedFile, &linkProblem)) {
        linkProblem =
            QCoreApplication::translate("Storage", "\"%1\" cannot be used: %2").arg(linkedFile, linkProblem);
    } else {
        // Both rows in one transaction: SQLite commits attached files together, so neither file can
        // keep a booking the other lacks, whatever happens half-way.
        QSqlDatabase db = connection_.database();
        QString ownError;
        bool ok = db.transaction();
        if (!ok)
            ownError = reasonOf(db.lastError());
        ok = ok && insertInto(main, booking, &ownError);
        if (!ok) { // the doctor's own file refuses: nothing is stored anywhere
            db.rollback();
            detachLinked();
            *error = ownError;
            return AddOutcome::NotStored;
        }
        ok = insertInto(QLatin1String(kLinkedSchema), booking, &linkProblem);
        if (ok && !db.commit()) {
            linkProblem = reasonOf(db.lastError());
            ok = false;
        }
        if (!ok)
            db.rollback();
        detachLinked();
        if (ok)
            return AddOutcome::Stored;
        linkProblem = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                          .arg(linkedFile, linkProblem);
    }
    // The linked part failed at some step: the booking is still stored for the doctor, alone.
    if (!insertInto(main, booking, error))
        return AddOutcome::NotStored;
    *error = linkProblem;
    return AddOutcome::StoredWithoutCopy;
}

WriteOutcome AppointmentStore::update(const Appointment &stored, const Appointment &changed, QString *error)
{
    if (!connection_.ensureOpen(error))
        return WriteOutcome::Failed;
    QSqlQuery query(connection_.database());
    query.prepare(QStringLiteral("UPDATE dados SET data = ?, hora = ?, nome = ?, convenio = ?, telefone = ?, "
                                 "obs = ? WHERE %1")
                      .arg(matchesStored(QStringLiteral("rowid"))));
    bindBooking(query, changed);
    bindStored(query, stored);
    return written(query, error);
}

WriteOutcome AppointmentStore::remove(const Appointment &stored, QString *error)
{
    if (!connection_.ensureOpen(error))
        return WriteOutcome::Failed;
    QSqlQuery query(connection_.database());
    query.prepare(QStringLiteral("DELETE FROM dados WHERE %1").arg(matchesStored(QStringLiteral("rowid"))));
    bindStored(query, stored);
    return written(query, error);
}

} // namespace velmora
