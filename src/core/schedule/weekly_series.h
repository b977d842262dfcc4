#pragma once

#include "core/schedule/doctor_settings.h"
#include "core/storage/book_storage.h"
#include "core/storage/series_scope.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <functional>

namespace velmora {

struct Appointment;

constexpr int kMaxSeriesSessions = 100;
constexpr int kMaxSeriesWeekInterval = 4;

// A weekday of a series (1 Monday to 7 Sunday) and the time typed for it, "HH:MM".
struct SeriesDay
{
    int weekday = 1;
    QString time;
};

// Sessions every so many weeks, on the days given, from the start: a number of them, or until a date
// (included) when sessions is 0. Weeks run Monday to Sunday and are counted from the start's.
struct SeriesRule
{
    QDate start;
    int everyWeeks = 1;
    QVector<SeriesDay> days;
    int sessions = 0;
    QDate until;
};

// Why the rule cannot be booked, in words for the series window; empty when it can.
QString seriesRefusal(const SeriesRule &rule);

struct SeriesDate
{
    QDate date;
    QString time; // "HH:MM"
};
// The sessions' dates and times in order; the rule is one seriesRefusal accepts. An end date that
// gives more than kMaxSeriesSessions gives one more, for the refusal to tell.
QVector<SeriesDate> seriesDates(const SeriesRule &rule);

// What stands in the way of a session, and what the receptionist chose to do about it.
enum class SeriesObstacle
{
    None,
    Taken,        // another patient holds the slot
    OutsideHours, // not one of the day's times
    Closed,       // the clinic's calendar closes the day or the time
    Past,         // before today
    PastYearAhead // more than a year ahead
};
enum class SeriesChoice
{
    Book,
    Skip,
    NextFree,  // the next free time of the same day
    BookAnyway // a squeeze-in
};

struct SeriesOccurrence
{
    SeriesDate wanted;
    SeriesObstacle obstacle = SeriesObstacle::None;
    QString nextFree; // the day's next free time after the wanted one, empty when none
    SeriesChoice choice = SeriesChoice::Book;
    // What the receptionist may choose for it: Book alone when nothing is in the way.
    QVector<SeriesChoice> choices() const;
    // The time it is booked at; empty when skipped.
    QString bookedTime() const;
};

QString obstacleText(SeriesObstacle obstacle);
QString choiceText(SeriesChoice choice);

// A session at that date and time with what stands in its way on the doctor's day of those bookings.
SeriesOccurrence sessionAt(const SeriesDate &wanted, const DoctorSettings &doctor, QDate today,
                           const QVector<Appointment> &bookings);
// Each session of the rule with what stands in its way on the doctor's days (readDay gives a date's
// bookings; false stops with why in error); one in the way starts skipped.
bool seriesOccurrences(const SeriesRule &rule, const DoctorSettings &doctor, QDate today,
                       const std::function<bool(QDate, QVector<Appointment> *)> &readDay,
                       QVector<SeriesOccurrence> *occurrences, QString *error);

// The bookings to store: the patient's fields at each session not skipped, numbered in order.
QVector<Appointment> seriesBookings(const QVector<SeriesOccurrence> &occurrences, const Appointment &patient);

// Of the series' bookings (any order), those the scope reaches from the chosen one, by number.
QVector<Appointment> seriesInScope(const QVector<Appointment> &series, const Appointment &chosen,
                                   SeriesScope scope);

// The session as the chosen one was changed: each field changed there (but the date) changed alike.
Appointment sameChange(const Appointment &chosen, const Appointment &changed, const Appointment &session);

// A series with few sessions left from today: for the reception to renew it with the patient.
struct SeriesEnding
{
    int slot = 0;
    qint64 series = 0;
    QString name;
    int left = 0;
    QDate last;
    int total = 0;
};
// The series of the sessions readSeriesEnding gives (each with its slot), each with how many are left
// that are not cancelled, the soonest to end first.
QVector<SeriesEnding> seriesEnding(const QVector<FoundBooking> &fromToday);

} // namespace velmora
