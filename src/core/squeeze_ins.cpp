#include "core/squeeze_ins.h"

#include "core/text_rules.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

namespace velmora {

namespace {

bool holdsNoSlot(const Appointment &booking)
{
    return trimBlanks(booking.nome).isEmpty() || booking.status == BookingStatus::Cancelled;
}

QSet<QString> timesOf(const QStringList &slotTimes)
{
    QSet<QString> times;
    for (const QString &row : slotTimes)
        times.insert(trimBlanks(row));
    return times;
}

} // namespace

QVector<bool> squeezeIns(const QStringList &slotTimes, const QVector<Appointment> &bookings)
{
    const QSet<QString> slots = timesOf(slotTimes);
    QSet<QString> taken;
    QVector<bool> squeezed(bookings.size(), false);
    for (qsizetype i = 0; i < bookings.size(); ++i) {
        if (holdsNoSlot(bookings.at(i)))
            continue;
        const QString time = trimBlanks(bookings.at(i).hora);
        squeezed[i] = !slots.contains(time) || taken.contains(time);
        taken.insert(time);
    }
    return squeezed;
}

int squeezeInCount(const QStringList &slotTimes, const QVector<Appointment> &bookings)
{
    const QVector<bool> squeezed = squeezeIns(slotTimes, bookings);
    return static_cast<int>(std::count(squeezed.cbegin(), squeezed.cend(), true));
}

bool wouldSqueezeIn(const QStringList &slotTimes, const QVector<Appointment> &bookings, const QString &hora)
{
    Appointment typed;
    typed.hora = hora;
    typed.nome = QStringLiteral("?");
    QVector<Appointment> with = bookings;
    with << typed;
    return squeezeIns(slotTimes, with).last();
}

QString squeezeInQuestion(const QStringList &slotTimes, const QVector<Appointment> &bookings,
                          const QString &hora, std::optional<int> limit, const QString &doctor)
{
    if (!limit || !wouldSqueezeIn(slotTimes, bookings, hora))
        return {};
    const int already = squeezeInCount(slotTimes, bookings);
    if (already < *limit)
        return {};
    return *limit == 0
               ? QCoreApplication::translate("SqueezeIns",
                                             "%1 takes no squeeze-ins, and %2 is between the slots or "
                                             "taken. Book it as a squeeze-in all the same?")
                     .arg(doctor, trimBlanks(hora))
               : QCoreApplication::translate("SqueezeIns",
                                             "%1 takes %2 squeeze-in(s) a day, and this day has %3 "
                                             "already. Book %4 as one more all the same?")
                     .arg(doctor)
                     .arg(*limit)
                     .arg(already)
                     .arg(trimBlanks(hora));
}

} // namespace velmora
