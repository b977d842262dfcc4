#include "core/schedule/clinic_calendar.h"

#include "core/schedule/holidays.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>

namespace velmora {

namespace {

// "0830" as "08:30"; a text that is no time stays as it is.
QString shownTime(const QString &hhmm)
{
    return hhmm.size() == 4 ? hhmm.left(2) + QLatin1Char(':') + hhmm.mid(2) : hhmm;
}

bool covers(const CalendarEntry &entry, QDate date)
{
    if (entry.yearly)
        return entry.from.month() == date.month() && entry.from.day() == date.day() && date >= entry.from;
    return date >= entry.from && date <= (entry.to.isValid() ? entry.to : entry.from);
}

bool concerns(const CalendarEntry &entry, int slot)
{
    return entry.slot == 0 || entry.slot == slot;
}

// A time of day in minutes from "HHMM" or "HH:MM"; -1 when it reads as none.
int minutesOf(QString text)
{
    text.remove(QLatin1Char(':'));
    bool hoursRead = false;
    bool minutesRead = false;
    const int hours = text.left(2).toInt(&hoursRead);
    const int minutes = text.mid(2).toInt(&minutesRead);
    if (text.size() != 4 || !hoursRead || !minutesRead || hours > 24 || minutes > 59 ||
        (hours == 24 && minutes > 0))
        return -1;
    return hours * 60 + minutes;
}

} // namespace

ClinicCalendar::ClinicCalendar(QVector<CalendarEntry> entries) : entries_(std::move(entries))
{
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [](const CalendarEntry &entry) { return !entry.unreadable.isEmpty(); }),
                   entries_.end());
}

QString hoursTyped(const CalendarEntry &entry)
{
    return hoursText(entry.kind == CalendarEntry::Kind::ExtraDay ? entry.hours
                     : entry.start.isEmpty()                     ? QStringList{}
                                                                 : QStringList{entry.start, entry.end});
}

bool DayPlan::closedAt(const QString &time) const
{
    if (wholeDay)
        return true;
    const int minute = minutesOf(time.left(5));
    return std::any_of(times.cbegin(), times.cend(), [minute](const ClosedTime &closed) {
        return minute >= minutesOf(closed.start) && minute < minutesOf(closed.end);
    });
}

QString DayPlan::reasons() const
{
    if (wholeDay)
        return wholeDay->reason;
    QStringList said;
    for (const ClosedTime &closed : times)
        said << QStringLiteral("%1 %2-%3").arg(closed.reason, closed.start, closed.end);
    return said.join(QStringLiteral("; "));
}

DayPlan ClinicCalendar::planFor(int slot, QDate date) const
{
    DayPlan plan;
    bool opens = false;
    QString ownHoliday;
    QStringList optionalClosed;
    for (const CalendarEntry &entry : entries_) {
        switch (entry.kind) {
        case CalendarEntry::Kind::Opening:
            opens = opens || covers(entry, date);
            break;
        case CalendarEntry::Kind::OptionalClosed:
            optionalClosed << entry.reason;
            break;
        case CalendarEntry::Kind::Holiday:
            if (covers(entry, date))
                ownHoliday = entry.reason;
            break;
        case CalendarEntry::Kind::ExtraDay:
            if (entry.slot == slot && covers(entry, date))
                plan.extraHours = entry.hours;
            break;
        case CalendarEntry::Kind::Closure:
            if (!concerns(entry, slot) || !covers(entry, date))
                break;
            if (entry.start.isEmpty())
                plan.wholeDay = ClosedTime{{}, {}, entry.reason};
            else
                plan.times << ClosedTime{shownTime(entry.start), shownTime(entry.end), entry.reason};
            break;
        }
    }
    // A holiday closes the clinic unless it opens that day; a doctor's extra day is a day they work.
    if (keepsHolidays_ && !plan.wholeDay && !opens && !plan.extraHours) {
        const std::optional<Holiday> holiday = holidayOn(date);
        if (!ownHoliday.isEmpty())
            plan.wholeDay = ClosedTime{
                {}, {}, QCoreApplication::translate("ClinicCalendar", "Holiday: %1").arg(ownHoliday)};
        else if (holiday && (!holiday->optional || optionalClosed.contains(holiday->key)))
            plan.wholeDay = ClosedTime{
                {}, {}, QCoreApplication::translate("ClinicCalendar", "Holiday: %1").arg(holiday->name)};
    }
    return plan;
}

ClinicCalendar ClinicCalendar::weeklyAlone()
{
    return only({});
}

ClinicCalendar ClinicCalendar::only(QVector<CalendarEntry> entries)
{
    ClinicCalendar calendar(std::move(entries));
    calendar.keepsHolidays_ = false;
    return calendar;
}

std::optional<QStringList> hoursFromText(const QString &text)
{
    QStringList hours;
    static const QRegularExpression period(QStringLiteral("^(\\d{1,2}):?(\\d{2})-(\\d{1,2}):?(\\d{2})$"));
    for (const QString &part : text.simplified()
                                   .replace(QStringLiteral(" - "), QStringLiteral("-"))
                                   .split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch read = period.match(part);
        if (!read.hasMatch())
            return std::nullopt;
        for (int i : {1, 3})
            hours << QStringLiteral("%1%2")
                         .arg(read.captured(i).toInt(), 2, 10, QLatin1Char('0'))
                         .arg(read.captured(i + 1));
    }
    return hours;
}

QString hoursText(const QStringList &hours)
{
    QStringList periods;
    for (int i = 0; i + 1 < hours.size(); i += 2)
        periods << shownTime(hours.at(i)) + QLatin1Char('-') + shownTime(hours.at(i + 1));
    return periods.join(QLatin1Char(' '));
}

QString calendarRefusal(const CalendarEntry &entry, const QVector<CalendarEntry> &others)
{
    if (entry.slot < 0 || entry.slot > 10)
        return QCoreApplication::translate("ClinicCalendar",
                                           "Choose the whole clinic or one of the doctors.");
    if (!entry.from.isValid() || (entry.to.isValid() && entry.to < entry.from))
        return QCoreApplication::translate("ClinicCalendar",
                                           "The range must end on or after the day it starts.");
    if (entry.to.isValid() && entry.from.daysTo(entry.to) > 366)
        return QCoreApplication::translate(
            "ClinicCalendar", "A closure or extra day covers at most a year; split a longer one.");
    const auto badRange = [](const QString &start, const QString &end) {
        const int from = minutesOf(start);
        const int to = minutesOf(end);
        return from < 0 || to < 0 || to <= from;
    };
    if (entry.kind == CalendarEntry::Kind::Closure && !(entry.start.isEmpty() && entry.end.isEmpty()) &&
        badRange(entry.start, entry.end))
        return QCoreApplication::translate(
            "ClinicCalendar", "The closed hours must be times from 00:00 to 24:00, the end after the start.");
    if (entry.kind == CalendarEntry::Kind::ExtraDay) {
        if (entry.slot == 0)
            return QCoreApplication::translate("ClinicCalendar", "An extra day is one doctor's.");
        if ((entry.hours.size() != 2 && entry.hours.size() != 4) ||
            badRange(entry.hours.value(0), entry.hours.value(1)) ||
            (entry.hours.size() == 4 && (badRange(entry.hours.at(2), entry.hours.at(3)) ||
                                         minutesOf(entry.hours.at(2)) < minutesOf(entry.hours.at(1)))))
            return QCoreApplication::translate(
                "ClinicCalendar",
                "An extra day's hours are one or two periods, each ending after it starts, the second "
                "after the first.");
        for (const CalendarEntry &other : others)
            if (other.kind == CalendarEntry::Kind::ExtraDay && other.slot == entry.slot &&
                other.from <= (entry.to.isValid() ? entry.to : entry.from) &&
                entry.from <= (other.to.isValid() ? other.to : other.from))
                if (other.unreadable.isEmpty())
                    return QCoreApplication::translate("ClinicCalendar",
                                                       "This doctor already has an extra day on that date.");
    }
    if (entry.kind == CalendarEntry::Kind::Holiday && entry.reason.trimmed().isEmpty())
        return QCoreApplication::translate("ClinicCalendar", "Name the holiday.");
    return {};
}

QStringList calendarLines(const ClinicCalendar &calendar, int year)
{
    struct Line
    {
        QDate date;
        QString text;
    };
    QVector<Line> lines;
    const auto add = [&lines](QDate from, QDate to, const QString &who, const char *kind,
                              const QString &reason, const QString &times) {
        const QString clean = blankControlCharacters(reason); // one line an entry, one tab a field
        lines.append({from, QStringList{from.toString(Qt::ISODate), to.toString(Qt::ISODate), who,
                                        QLatin1String(kind), clean, times}
                                .join(QLatin1Char('\t'))});
    };
    QStringList closedOptional;
    for (const CalendarEntry &entry : calendar.entries())
        if (entry.kind == CalendarEntry::Kind::OptionalClosed)
            closedOptional << entry.reason;
    const QString clinic = QStringLiteral("clinic");
    for (const Holiday &holiday : holidaysOf(year)) {
        add(holiday.date, holiday.date, clinic, holiday.optional ? "optional" : "holiday", holiday.name, {});
        if (holiday.optional && closedOptional.contains(holiday.key))
            add(holiday.date, holiday.date, clinic, "closure", holiday.name, {});
    }
    for (const CalendarEntry &entry : calendar.entries()) {
        const QString who = entry.slot == 0 ? clinic : QString::number(entry.slot);
        const QDate last = entry.to.isValid() ? entry.to : entry.from;
        QDate from = entry.from;
        QDate to = last;
        if (entry.yearly) {
            from = QDate(year, entry.from.month(), entry.from.day());
            to = from;
            if (!from.isValid() || year < entry.from.year())
                continue;
        } else if (last.year() < year || entry.from.year() > year) {
            continue;
        }
        const QString span = hoursTyped(entry);
        switch (entry.kind) {
        case CalendarEntry::Kind::Closure:
            add(from, to, who, "closure", entry.reason, span);
            break;
        case CalendarEntry::Kind::ExtraDay:
            add(from, to, who, "extra", entry.reason, span);
            break;
        case CalendarEntry::Kind::Holiday:
            add(from, to, who, "holiday", entry.reason, {});
            break;
        case CalendarEntry::Kind::Opening:
            add(from, to, who, "opening", entry.reason, {});
            break;
        case CalendarEntry::Kind::OptionalClosed:
            break;
        }
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line &a, const Line &b) { return a.date < b.date; });
    QStringList texts;
    for (const Line &line : lines)
        texts << line.text;
    return texts;
}

} // namespace velmora
