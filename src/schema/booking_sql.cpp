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
