#include "book/mod_marca.h"

namespace velmora {

namespace {

// A nonsense slot length (such as 1 with an end of 99999) must still end the period quickly: no day
// has more than one slot a minute.
constexpr int kMaxRowsPerPeriod = 24 * 60 + 1;

QString timeRow(const QString &hhmm)
{
    return hhmm.left(2) + QLatin1Char(':') + hhmm.right(2);
}

QString twoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

std::array<QString, kWeeklyTimeCount> DoctorSettings::blank()
{
    std::array<QString, kWeeklyTimeCount> times;
    times.fill(fitted({}, 4));
    return times;
}

QStringList periodRows(const QString &start, const QString &end, const QString &slotLength)
{
    QStringList rows;
    if (trimBlanks(start).isEmpty())
        return rows;
    rows << timeRow(start);

    const qint64 step = wholeValue(slotLength);
    if (step <= 0)
        return rows; // a slot that never advances lists the start alone
    const qint64 last = wholeValue(end);
    QString running = trimBlanks(start);
    while (rows.size() < kMaxRowsPerPeriod) {
        qint64 minutes = wholeValue(running.right(2)) + step;
        qint64 carry = 0;
        if (minutes >= 60) {
            minutes -= 60;
            carry = 1;
        }
        const qint64 hours = wholeValue(running.left(2)) + carry;
        running = twoDigits(hours) + twoDigits(minutes);
        if (wholeValue(running) > last)
            break;
        rows << timeRow(running);
    }
    return rows;
}

QStringList freeSlotRows(const DoctorSettings &settings, QDate date)
{
    if (!date.isValid())
        return {};
    const int day = date.dayOfWeek() - 1; // Monday first, as the weekly times are stored
    const auto time = [&](int index) { return settings.weeklyTimes[weeklyTimePosition(day, index)]; };
    return periodRows(time(1), time(2), settings.slotLength) +
           periodRows(time(3), time(4), settings.slotLength);
}

void list_free_slots(DayListModel &list, const DoctorSettings &settings, QDate date)
{
    for (const QString &row : freeSlotRows(settings, date))
        list.add(row);
}

void merge_bookings(DayListModel &list, BookingRecord &current, const QVector<Appointment> &dayBookings)
{
    for (const Appointment &booking : dayBookings) {
        current =
            BookingRecord::of(booking.hora, booking.nome, booking.convenio, booking.telefone, booking.obs);
        list.add(current.row());
        drop_free_slot(list, current);
    }
}

int drop_free_slot(DayListModel &list, const BookingRecord &current)
{
    const QString time = trimBlanks(current.hora);
    const QStringList &rows = list.rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (trimBlanks(rows.at(i)) == time) {
            list.removeAt(i);
            return i;
        }
    }
    return -1;
}

qint16 days_in_month(QDate date)
{
    return static_cast<qint16>(date.daysInMonth());
}

QDate firstCalendarDate()
{
    return QDate(100, 1, 1);
}
QDate lastCalendarDate()
{
    return QDate(9999, 12, 31);
}

std::optional<QDate> steppedDate(QDate current, DateStep step, QDate today)
{
    QDate next;
    switch (step) {
    case DateStep::PlusDay:
        next = current.addDays(1);
        break;
    case DateStep::PlusWeek:
        next = current.addDays(7);
        break;
    case DateStep::PlusMonth:
        next = current.addDays(days_in_month(current));
        break;
    case DateStep::MinusDay:
        next = current.addDays(-1);
        break;
    case DateStep::MinusWeek:
        next = current.addDays(-7);
        break;
    case DateStep::MinusMonth: {
        const QDate endOfPreviousMonth = current.addDays(-current.day());
        if (!endOfPreviousMonth.isValid() || endOfPreviousMonth < firstCalendarDate())
            return std::nullopt;
        next = current.addDays(-days_in_month(endOfPreviousMonth));
        break;
    }
    case DateStep::Today:
        next = today;
        break;
    }
    if (!next.isValid() || next < firstCalendarDate() || next > lastCalendarDate())
        return std::nullopt;
    return next;
}

QString capitalize_name(const QString &text)
{
    static const QStringList particles = {QStringLiteral("da"),  QStringLiteral("de"),  QStringLiteral("do"),
                                          QStringLiteral("das"), QStringLiteral("dos"), QStringLiteral("a"),
                                          QStringLiteral("e")};
    QStringList words = text.toLower().split(QLatin1Char(' '));
    for (QString &word : words) {
        if (word.isEmpty() || particles.contains(word))
            continue;
        const QString first = characterSlice(word, 0, 1);
        word = first.toUpper() + word.mid(first.size());
    }
    return trimBlanks(words.join(QLatin1Char(' ')));
}

} // namespace velmora
