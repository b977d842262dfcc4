#include "schema/booking_sql.h"

#include "schema/book_schema.h"

namespace velmora {

namespace {

QVariant storedText(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString Appointment::*const kTexts[] = {&Appointment::hora, &Appointment::nome, &Appointment::convenio,
                                        &Appointment::telefone, &Appointment::obs};

} // namespace

QString bookingColumns()
{
    return QStringLiteral("data, hora, nome, convenio, telefone, obs");
}

QVariantList bookingValues(const Appointment &booking)
{
    QVariantList values{storedDate(booking.date)};
    for (QString Appointment::*text : kTexts)
        values << storedText(booking.*text);
    return values;
}

void bindBooking(QSqlQuery &query, const Appointment &booking)
{
    for (const QVariant &value : bookingValues(booking))
        query.addBindValue(value);
}

QString matchesStored(const QString &idColumn)
{
    return idColumn +
           QStringLiteral(
               " = ? AND data = ? AND coalesce(hora, '') = ? AND coalesce(nome, '') = ? AND "
               "coalesce(convenio, '') = ? AND coalesce(telefone, '') = ? AND coalesce(obs, '') = ?");
}

QVariantList storedValues(const Appointment &stored)
{
    return QVariantList{stored.id} + bookingValues(stored);
}

void bindStored(QSqlQuery &query, const Appointment &stored)
{
    for (const QVariant &value : storedValues(stored))
        query.addBindValue(value);
}

QString everyBookingOf(const QString &table, const QString &idColumn)
{
    return QStringLiteral("SELECT %1, %2 FROM %3").arg(idColumn, bookingColumns(), table);
}

void appendFound(QSqlQuery &query, int slot, const PatientQuery &patient, QVector<FoundBooking> *found)
{
    while (query.next()) {
        Appointment booking;
        booking.id = query.value(0).toLongLong();
        booking.date = QDate::fromString(query.value(1).toString(), Qt::ISODate);
        for (int i = 0; i < 5; ++i)
            booking.*kTexts[i] = query.value(i + 2).toString();
        if (matchesQuery(patient, booking))
            found->append({slot, booking});
    }
}

void appendDayBookings(QSqlQuery &query, QDate date, QVector<Appointment> *bookings)
{
    while (query.next()) {
        Appointment booking;
        booking.id = query.value(0).toLongLong();
        booking.date = date;
        for (int i = 0; i < 5; ++i)
            booking.*kTexts[i] = query.value(i + 1).toString();
        bookings->append(booking);
    }
}

} // namespace velmora
