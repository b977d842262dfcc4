#include "core/schedule/weekly_series.h"

#include "core/schedule/day_list_rules.h"
#include "core/schedule/squeeze_ins.h"
#include "core/storage/stored_bookings.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QHash>
#include <QTime>

#include <algorithm>

namespace velmora {

namespace {

QTime typedTime(const QString &typed)
{
    return QTime::fromString(trimBlanks(typed).rightJustified(5, QLatin1Char('0')), QStringLiteral("HH:mm"));
}

bool bookedAt(const QVector<Appointment> &bookings, const QString &time)
{
    return std::any_of(bookings.cbegin(), bookings.cend(), [&](const Appointment &booking) {
        return booking.status != BookingStatus::Cancelled && !trimBlanks(booking.nome).isEmpty() &&
               meantTime(booking.hora) == meantTime(time);
    });
}

} // namespace

QString seriesRefusal(const SeriesRule &rule)
{
    if (!rule.start.isValid())
        return QCoreApplication::translate("WeeklySeries", "Choose the date of the first session.");
    if (rule.everyWeeks < 1 || rule.everyWeeks > kMaxSeriesWeekInterval)
        return QCoreApplication::translate("WeeklySeries", "A series repeats every 1 to %1 weeks.")
            .arg(kMaxSeriesWeekInterval);
    if (rule.days.isEmpty())
        return QCoreApplication::translate("WeeklySeries", "Choose at least one weekday.");
    for (const SeriesDay &day : rule.days) {
        if (day.weekday < 1 || day.weekday > 7)
            return QCoreApplication::translate("WeeklySeries", "Choose at least one weekday.");
        if (!typedTime(day.time).isValid())
            return QCoreApplication::translate("WeeklySeries",
                                               "\"%1\" is not a time: type it as HH:MM, for example 08:00.")
                .arg(trimBlanks(day.time));
    }
    if (rule.sessions == 0 && !rule.until.isValid())
        return QCoreApplication::translate("WeeklySeries",
                                           "Give the number of sessions or the date of the last one.");
    if (rule.sessions < 0 || rule.sessions > kMaxSeriesSessions)
        return QCoreApplication::translate("WeeklySeries", "A series has 1 to %1 sessions.")
            .arg(kMaxSeriesSessions);
    if (rule.sessions == 0 && rule.until < rule.start)
        return QCoreApplication::translate("WeeklySeries", "The series ends before it starts.");
    const QVector<SeriesDate> dates = seriesDates(rule);
    if (dates.isEmpty())
        return QCoreApplication::translate("WeeklySeries", "No session falls between the start and the end.");
    if (dates.size() > kMaxSeriesSessions)
        return QCoreApplication::translate("WeeklySeries",
                                           "A series has 1 to %1 sessions: choose an earlier end.")
            .arg(kMaxSeriesSessions);
    return {};
}

QVector<SeriesDate> seriesDates(const SeriesRule &rule)
{
    QVector<SeriesDay> days = rule.days;
    std::sort(days.begin(), days.end(),
              [](const SeriesDay &a, const SeriesDay &b) { return a.weekday < b.weekday; });
    const int wanted = rule.sessions > 0 ? rule.sessions : kMaxSeriesSessions + 1;
    const QDate lastDate = rule.sessions > 0 ? QDate() : rule.until;
    QVector<SeriesDate> dates;
    // Week by week from the Monday of the start's week, skipping the weeks between.
    for (QDate monday = rule.start.addDays(1 - rule.start.dayOfWeek());;
         monday = monday.addDays(7 * rule.everyWeeks))
        for (const SeriesDay &day : days) {
            const QDate date = monday.addDays(day.weekday - 1);
            if (date < rule.start)
                continue;
            if ((lastDate.isValid() && date > lastDate) || dates.size() == wanted)
                return dates;
            dates.append({date, typedTime(day.time).toString(QStringLiteral("HH:mm"))});
        }
}

QVector<SeriesChoice> SeriesOccurrence::choices() const
{
    switch (obstacle) {
    case SeriesObstacle::None:
        return {SeriesChoice::Book};
    case SeriesObstacle::Past:
    case SeriesObstacle::PastYearAhead:
        return {SeriesChoice::Skip};
    default:
        break;
    }
    QVector<SeriesChoice> offered{SeriesChoice::Skip};
    if (!nextFree.isEmpty())
        offered << SeriesChoice::NextFree;
    return offered << SeriesChoice::BookAnyway;
}

QString SeriesOccurrence::bookedTime() const
{
    switch (choice) {
    case SeriesChoice::Skip:
        return {};
    case SeriesChoice::NextFree:
        return nextFree;
    default:
        return wanted.time;
    }
}

QString obstacleText(SeriesObstacle obstacle)
{
    switch (obstacle) {
    case SeriesObstacle::None:
        return {};
    case SeriesObstacle::Taken:
        return QCoreApplication::translate("WeeklySeries", "Taken");
    case SeriesObstacle::OutsideHours:
        return QCoreApplication::translate("WeeklySeries", "Outside the doctor's hours");
    case SeriesObstacle::Closed:
        return QCoreApplication::translate("WeeklySeries", "Closed");
    case SeriesObstacle::Past:
        return QCoreApplication::translate("WeeklySeries", "In the past");
    case SeriesObstacle::PastYearAhead:
        return QCoreApplication::translate("WeeklySeries", "More than a year ahead");
    }
    return {};
}

QString choiceText(SeriesChoice choice)
{
    switch (choice) {
    case SeriesChoice::Book:
        return QCoreApplication::translate("WeeklySeries", "Book");
    case SeriesChoice::Skip:
        return QCoreApplication::translate("WeeklySeries", "Skip");
    case SeriesChoice::NextFree:
        return QCoreApplication::translate("WeeklySeries", "Next free time");
    case SeriesChoice::BookAnyway:
        return QCoreApplication::translate("WeeklySeries", "Book anyway (squeeze-in)");
    }
    return {};
}

SeriesOccurrence sessionAt(const SeriesDate &wanted, const DoctorSettings &doctor, QDate today,
                           const QVector<Appointment> &bookings)
{
    SeriesOccurrence occurrence{wanted, SeriesObstacle::None, {}, SeriesChoice::Book};
    if (wanted.date < today) {
        occurrence.obstacle = SeriesObstacle::Past;
    } else if (wanted.date > today.addYears(1)) {
        occurrence.obstacle = SeriesObstacle::PastYearAhead;
    } else {
        QStringList times = freeSlotRows(doctor, wanted.date);
        for (QString &time : times)
            time = trimBlanks(time);
        std::sort(times.begin(), times.end());
        if (dayPlan(doctor, wanted.date).closedAt(wanted.time))
            occurrence.obstacle = SeriesObstacle::Closed;
        else if (!times.contains(wanted.time))
            occurrence.obstacle = SeriesObstacle::OutsideHours;
        else if (bookedAt(bookings, wanted.time))
            occurrence.obstacle = SeriesObstacle::Taken;
        if (occurrence.obstacle != SeriesObstacle::None) {
            const auto later = std::find_if(times.cbegin(), times.cend(), [&](const QString &time) {
                return time > wanted.time && !bookedAt(bookings, time);
            });
            occurrence.nextFree = later == times.cend() ? QString() : *later;
        }
    }
    if (occurrence.obstacle != SeriesObstacle::None)
        occurrence.choice = SeriesChoice::Skip;
    return occurrence;
}

bool seriesOccurrences(const SeriesRule &rule, const DoctorSettings &doctor, QDate today,
                       const std::function<bool(QDate, QVector<Appointment> *)> &readDay,
                       QVector<SeriesOccurrence> *occurrences, QString *error)
{
    for (const SeriesDate &wanted : seriesDates(rule)) {
        QVector<Appointment> bookings;
        // Days that cannot take a session whatever it holds are not read.
        const bool readable = wanted.date >= today && wanted.date <= today.addYears(1);
        if (readable && !readDay(wanted.date, &bookings)) {
            *error = QCoreApplication::translate("WeeklySeries", "The bookings of %1 could not be read.")
                         .arg(QLocale().toString(wanted.date));
            return false;
        }
        occurrences->append(sessionAt(wanted, doctor, today, bookings));
    }
    return true;
}

QVector<Appointment> seriesBookings(const QVector<SeriesOccurrence> &occurrences, const Appointment &patient)
{
    QVector<Appointment> bookings;
    for (const SeriesOccurrence &occurrence : occurrences) {
        const QString time = occurrence.bookedTime();
        if (time.isEmpty())
            continue;
        Appointment booking = patient;
        booking.id = 0;
        booking.status = BookingStatus::ToConfirm;
        booking.date = occurrence.wanted.date;
        booking.hora = time;
        bookings.append(booking);
    }
    for (int i = 0; i < bookings.size(); ++i)
        bookings[i].series = {0, i + 1, static_cast<int>(bookings.size())};
    return bookings;
}

QVector<Appointment> seriesInScope(const QVector<Appointment> &series, const Appointment &chosen,
                                   SeriesScope scope)
{
    QVector<Appointment> reached;
    for (const Appointment &booking : series)
        if (booking.series.series == chosen.series.series &&
            (scope == SeriesScope::Whole              ? true
             : scope == SeriesScope::ThisAndFollowing ? booking.series.number >= chosen.series.number
                                                      : booking.id == chosen.id))
            reached.append(booking);
    std::sort(reached.begin(), reached.end(),
              [](const Appointment &a, const Appointment &b) { return a.series.number < b.series.number; });
    return reached;
}

Appointment sameChange(const Appointment &chosen, const Appointment &changed, const Appointment &session)
{
    Appointment result = session;
    for (QString Appointment::*field : {&Appointment::hora, &Appointment::nome, &Appointment::convenio,
                                        &Appointment::telefone, &Appointment::obs})
        if (changed.*field != chosen.*field)
            result.*field = changed.*field;
    return result;
}

QString sessionText(const SeriesPlace &place)
{
    return place.series == 0 ? QString() : QStringLiteral("%1/%2").arg(place.number).arg(place.total);
}

QVector<SeriesEnding> seriesEnding(const QVector<FoundBooking> &fromToday)
{
    QHash<QPair<int, qint64>, SeriesEnding> bySeries;
    for (const FoundBooking &found : fromToday) {
        if (found.booking.series.series == 0 || found.booking.status == BookingStatus::Cancelled)
            continue;
        SeriesEnding &ending = bySeries[{found.slot, found.booking.series.series}];
        ending.slot = found.slot;
        ending.series = found.booking.series.series;
        ending.total = found.booking.series.total;
        ++ending.left;
        if (!ending.last.isValid() || found.booking.date >= ending.last) {
            ending.last = found.booking.date;
            ending.name = trimBlanks(found.booking.nome);
        }
    }
    QVector<SeriesEnding> ending(bySeries.cbegin(), bySeries.cend());
    std::sort(ending.begin(), ending.end(), [](const SeriesEnding &a, const SeriesEnding &b) {
        return std::tie(a.last, a.slot, a.series) < std::tie(b.last, b.slot, b.series);
    });
    return ending;
}

} // namespace velmora
