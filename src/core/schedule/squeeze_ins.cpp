#include "core/schedule/squeeze_ins.h"

#include "core/model/appointment.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

// The text without the blanks around it, without a copy: a crowded day holds tens of thousands.
QStringView withoutBlanks(const QString &text)
{
    QStringView view(text);
    while (!view.isEmpty() && view.front() == QLatin1Char(' '))
        view = view.mid(1);
    while (!view.isEmpty() && view.back() == QLatin1Char(' '))
        view.chop(1);
    return view;
}

bool holdsASlot(const Appointment &booking)
{
    return booking.status != BookingStatus::Cancelled && !withoutBlanks(booking.nome).isEmpty();
}

// The minute of the day a time "HH:MM" stands for, or -1 for any other text.
int minuteOf(QStringView time)
{
    const auto digit = [&time](int at) { return time.at(at).isDigit() ? time.at(at).digitValue() : -100; };
    if (time.size() != 5 || time.at(2) != QLatin1Char(':'))
        return -1;
    const int minute = (digit(0) * 10 + digit(1)) * 60 + digit(3) * 10 + digit(4);
    return minute >= 0 && minute < 24 * 60 ? minute : -1;
}

// The times seen: "HH:MM" by its minute, at once; any other text in a set. A crowded day holds tens of
// thousands of bookings.
class Times
{
public:
    bool contains(QStringView time) const
    {
        const int minute = minuteOf(time);
        return minute >= 0 ? minutes_[static_cast<size_t>(minute)] != 0 : others_.contains(time);
    }
    void insert(QStringView time)
    {
        const int minute = minuteOf(time);
        if (minute >= 0)
            minutes_[static_cast<size_t>(minute)] = 1;
        else
            others_.insert(time);
    }

private:
    std::vector<char> minutes_ = std::vector<char>(24 * 60, 0);
    QSet<QStringView> others_;
};

Times timesOf(const QStringList &slotTimes)
{
    Times times;
    for (const QString &row : slotTimes)
        times.insert(withoutBlanks(row));
    return times;
}

} // namespace

QVector<bool> squeezeIns(const QStringList &slotTimes, const QVector<Appointment> &bookings)
{
    const Times slots = timesOf(slotTimes);
    Times taken;
    QVector<bool> squeezed(bookings.size(), false);
    for (qsizetype i = 0; i < bookings.size(); ++i) {
        if (!holdsASlot(bookings.at(i)))
            continue;
        const QStringView time = withoutBlanks(bookings.at(i).hora);
        squeezed[i] = !slots.contains(time) || taken.contains(time);
        taken.insert(time);
    }
    return squeezed;
}

int squeezeInCount(const QStringList &slotTimes, const QVector<Appointment> &bookings, qsizetype from,
                   qsizetype to)
{
    const Times slots = timesOf(slotTimes);
    Times taken;
    int count = 0;
    for (qsizetype i = from; i < std::min(to, bookings.size()); ++i) {
        if (!holdsASlot(bookings.at(i)))
            continue;
        const QStringView time = withoutBlanks(bookings.at(i).hora);
        count += !slots.contains(time) || taken.contains(time) ? 1 : 0;
        taken.insert(time);
    }
    return count;
}

bool wouldSqueezeIn(const QStringList &slotTimes, const QVector<Appointment> &bookings, const QString &time)
{
    const QStringView wanted = withoutBlanks(time);
    return std::none_of(slotTimes.cbegin(), slotTimes.cend(),
                        [wanted](const QString &slot) { return withoutBlanks(slot) == wanted; }) ||
           std::any_of(bookings.cbegin(), bookings.cend(), [wanted](const Appointment &booking) {
               return holdsASlot(booking) && withoutBlanks(booking.hora) == wanted;
           });
}

QString squeezeInQuestion(const QStringList &slotTimes, const QVector<Appointment> &bookings,
                          const QString &time, std::optional<int> limit, const QString &doctor)
{
    if (!limit || !wouldSqueezeIn(slotTimes, bookings, time))
        return {};
    const int already = squeezeInCount(slotTimes, bookings);
    if (already < *limit)
        return {};
    return *limit == 0
               ? QCoreApplication::translate("SqueezeIns",
                                             "%1 takes no squeeze-ins, and %2 is between the slots or "
                                             "taken. Book it as a squeeze-in all the same?")
                     .arg(doctor, trimBlanks(time))
               : QCoreApplication::translate("SqueezeIns",
                                             "%1 takes %n squeeze-in(s) a day, and this day has %2 "
                                             "already. Book %3 as one more all the same?",
                                             nullptr, *limit)
                     .arg(doctor)
                     .arg(already)
                     .arg(trimBlanks(time));
}

} // namespace velmora
