#pragma once

#include <QStringList>
#include <QVector>

#include <limits>
#include <optional>

namespace velmora {

struct Appointment;

// A squeeze-in ("encaixe") is a booking between the doctor's slots (at a time the day does not offer)
// or a second one at a slot's time: of the bookings at one time, the first added holds the slot. A
// cancelled booking holds no slot and is never a squeeze-in; neither is a booking without a name.
// slotTimes: the day's times as its free rows list them.
QVector<bool> squeezeIns(const QStringList &slotTimes, const QVector<Appointment> &bookings);
// How many of the bookings from..to (the day's, of a longer list) are squeeze-ins.
int squeezeInCount(const QStringList &slotTimes, const QVector<Appointment> &bookings, qsizetype from = 0,
                   qsizetype to = std::numeric_limits<qsizetype>::max());
// Whether a booking at that time would be a squeeze-in on the day of those bookings.
bool wouldSqueezeIn(const QStringList &slotTimes, const QVector<Appointment> &bookings, const QString &time);

// The question to ask before a squeeze-in over the day's limit (limit: squeeze-ins a day, none for no
// limit), empty when the booking at hora is no squeeze-in or within the limit.
QString squeezeInQuestion(const QStringList &slotTimes, const QVector<Appointment> &bookings,
                          const QString &time, std::optional<int> limit, const QString &doctor);

} // namespace velmora
