#pragma once

#include "core/model/booking_state.h"
#include "core/schedule/day_list_rules.h"
#include "core/storage/book_storage.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVector>

#include <array>
#include <functional>

namespace velmora {

// One doctor's figures for a period.
struct DoctorFigures
{
    int slot = 0;
    QString name;
    int offered = 0;    // the free slots the weekly hours give, as the day lists would show them
    int booked = 0;     // every booking, cancelled ones included
    int squeezedIn = 0; // of them, squeeze-ins: between the slots or a second at a slot's time
    std::array<int, kBookingStatusCount> byStatus{};
    QVector<int> perWeek; // bookings per week, weeks as in MonthReport::weeks
    // The share of the offered slots booked, cancellations left out; above 1 with extra bookings.
    double occupancy() const;
};

// One health plan, its spellings taken as one (accents, case and blanks ignored).
struct PlanFigures
{
    QString plan; // the spelling typed most often; empty for bookings without a plan
    int bookings = 0;
    int arrived = 0;
};

// A period long enough (over two years) that reading it is asked about first: it may be a mistyped year.
inline bool periodNeedsAsking(QDate from, QDate to)
{
    return to > from.addYears(2);
}

// The plan as shown: its spelling, or "no plan".
QString planCaption(const PlanFigures &plan);

// A pie's slices: the plans with most bookings (most first), and the rest as one slice, "others (N
// plans)", when there are more than shown of them.
struct PlanSlice
{
    QString caption;
    int bookings = 0;
};
QVector<PlanSlice> planSlices(const QVector<PlanFigures> &plans, int shown);

struct MonthReport
{
    QDate from;
    QDate to;
    QVector<QDate> weeks; // the Monday of each week the period touches
    QVector<DoctorFigures> doctors;
    QVector<PlanFigures> plans; // most bookings first
};

// The figures of the period for one doctor (slot) or every named one (0). The placeholder record of an
// empty book is no booking.
// Read a year at a time and counted as read, telling progress; a read no longer wanted ends unread
// (false, with no error).
bool readMonthReport(BookStorage &storage, QDate from, QDate to, int slot, MonthReport *report,
                     QString *error, const std::function<bool(int percent)> &progress = {});

// The month of a date: its first and last day.
QDate firstOfMonth(QDate date);
QDate lastOfMonth(QDate date);

// The figures for a spreadsheet: UTF-8 with its mark, ';' separated, a header per table; dates as
// dd/MM/yyyy in Portuguese and ISO otherwise, shares as percentages with the language's decimal mark.
QByteArray monthReportCsv(const MonthReport &report, const QLocale &locale);
// The figures as printed lines.
QStringList monthReportLines(const MonthReport &report, const QLocale &locale);

} // namespace velmora
