#include "core/reports/month_report.h"

#include "core/model/appointment.h"
#include "core/model/booking_status.h"
#include "core/schedule/clinic_calendar.h"
#include "core/schedule/doctor_settings.h"
#include "core/schedule/squeeze_ins.h"
#include "core/search/patient_query.h"
#include "core/text/csv_writer.h"
#include "core/text/printout.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <map>
#include <utility>

namespace velmora {

namespace {

// The spellings of one plan and how often each was typed, in the order first seen.
struct PlanSpellings
{
    QVector<std::pair<QString, int>> spellings;
    PlanFigures figures;
    int firstSeen = 0;
};

QString percent(double share, const QLocale &locale)
{
    return locale.toString(share * 100.0, 'f', 1);
}

} // namespace

QVector<PlanSlice> planSlices(const QVector<PlanFigures> &plans, int shown)
{
    QVector<PlanSlice> slices;
    // Grouping a single plan would only hide its name.
    const qsizetype named = plans.size() > shown ? shown - 1 : plans.size();
    for (qsizetype i = 0; i < named; ++i)
        slices << PlanSlice{planCaption(plans.at(i)), plans.at(i).bookings};
    if (named < plans.size()) {
        PlanSlice others;
        for (qsizetype i = named; i < plans.size(); ++i)
            others.bookings += plans.at(i).bookings;
        const int otherPlans = static_cast<int>(plans.size() - named);
        others.caption = QCoreApplication::translate("MonthReport", "others (%n plan(s))", "", otherPlans);
        slices << others;
    }
    return slices;
}

QString planCaption(const PlanFigures &plan)
{
    return plan.plan.isEmpty() ? QCoreApplication::translate("MonthReport", "no plan") : plan.plan;
}

double DoctorFigures::occupancy() const
{
    const int kept = booked - byStatus[static_cast<size_t>(BookingStatus::Cancelled)];
    return offered > 0 ? static_cast<double>(kept) / offered : 0.0;
}

QDate firstOfMonth(QDate date)
{
    return QDate(date.year(), date.month(), 1);
}

QDate lastOfMonth(QDate date)
{
    return QDate(date.year(), date.month(), date.daysInMonth());
}

bool readMonthReport(BookStorage &storage, QDate from, QDate to, int slot, MonthReport *report,
                     QString *error, const std::function<bool(int percent)> &progress)
{
    *report = MonthReport{from, to, {}, {}, {}};
    for (QDate monday = from.addDays(1 - from.dayOfWeek()); monday <= to; monday = monday.addDays(7))
        report->weeks << monday;
    AllDoctorFields fields;
    if (!storage.readDoctors(&fields, error))
        return false;
    QHash<QString, PlanSpellings> plans;
    QHash<QString, QString> folded;
    QVector<Appointment> bookings;
    const std::shared_ptr<const ClinicCalendar> calendar = readClinicCalendar(storage, error);
    if (!calendar)
        return false;
    for (int doctor = 1; doctor <= kDoctorSlotCount; ++doctor) {
        const DoctorFields &stored = fields[static_cast<size_t>(doctor - 1)];
        const QString name = trimBlanks(stored.name.value_or(QString()));
        if ((slot != 0 && doctor != slot) || (slot == 0 && name.isEmpty()))
            continue;
        WeeklyTimes times;
        if (!storage.readWeeklyTimes(doctor, &times, error))
            return false;
        DoctorSettings settings = doctorSettingsOf(stored, times);
        settings.slot = doctor;
        settings.calendar = calendar;
        DoctorFigures figures;
        figures.slot = doctor;
        figures.name = name;
        figures.perWeek.fill(0, report->weeks.size());
        // The slots of a day depend on its weekday, unless the calendar closes or changes it: the
        // weekday's counted once, a day the calendar touches on its own. A closed slot is none offered.
        DoctorSettings weekly = settings;
        weekly.calendar = std::make_shared<const ClinicCalendar>(ClinicCalendar::weeklyAlone());
        std::array<int, 7> perWeekday{};
        for (int weekday = 0; weekday < 7; ++weekday)
            perWeekday[static_cast<size_t>(weekday)] = static_cast<int>(
                freeSlotRows(weekly, from.addDays((weekday + 1 - from.dayOfWeek() + 7) % 7)).size());
        for (QDate day = from; day <= to && day.isValid(); day = day.addDays(1))
            figures.offered += dayPlan(settings, day).touchesNothing()
                                   ? perWeekday[static_cast<size_t>(day.dayOfWeek() - 1)]
                                   : static_cast<int>(freeSlotRows(settings, day).size());
        std::array<QStringList, 7> weekdaySlots; // the slots of a day the calendar leaves alone
        QStringList dayOnly;
        // Read a year at a time and counted as read: the memory is a year's, whatever the period.
        for (QDate start = from; start <= to && start.isValid(); start = start.addYears(1)) {
            const qint64 done = (doctor - 1) * (from.daysTo(to) + 1) + from.daysTo(start);
            if (progress &&
                !progress(static_cast<int>(done * 100 / (kDoctorSlotCount * (from.daysTo(to) + 1)))))
                return false;
            const QDate end = std::min(to, start.addYears(1).addDays(-1));
            if (!storage.readPeriod(doctor, start, end, &bookings, error))
                return false;
            // Squeeze-ins counted a day at a time, the day's slots as its list offers them.
            for (qsizetype first = 0, next = 0; first < bookings.size(); first = next) {
                while (next < bookings.size() && bookings.at(next).date == bookings.at(first).date)
                    ++next;
                if (bookings.at(first).date == placeholderDate())
                    continue;
                const QDate day = bookings.at(first).date;
                const bool weekly = dayPlan(settings, day).touchesNothing();
                QStringList &slots =
                    weekly ? weekdaySlots[static_cast<size_t>(day.dayOfWeek() - 1)] : dayOnly;
                if (!weekly || slots.isEmpty())
                    slots = gridSlotRows(settings, day);
                figures.squeezedIn += squeezeInCount(slots, bookings, first, next);
            }
            for (const Appointment &booking : std::as_const(bookings)) {
                if (booking.date == placeholderDate())
                    continue;
                ++figures.booked;
                ++figures.byStatus[static_cast<size_t>(booking.status)];
                ++figures.perWeek[static_cast<int>(report->weeks.first().daysTo(booking.date) / 7)];
                const QString typed = trimBlanks(booking.convenio);
                auto fold = folded.find(typed); // a few spellings, typed thousands of times
                if (fold == folded.end())
                    fold = folded.insert(typed, foldedName(typed));
                PlanSpellings &plan = plans[*fold];
                if (plan.figures.bookings == 0)
                    plan.firstSeen = static_cast<int>(plans.size());
                ++plan.figures.bookings;
                if (booking.status == BookingStatus::Arrived)
                    ++plan.figures.arrived;
                auto spelled =
                    std::find_if(plan.spellings.begin(), plan.spellings.end(),
                                 [&typed](const auto &spelling) { return spelling.first == typed; });
                if (spelled == plan.spellings.end())
                    plan.spellings.append({typed, 1});
                else
                    ++spelled->second;
            }
        }
        report->doctors << figures;
    }
    QVector<const PlanSpellings *> ordered;
    for (const PlanSpellings &plan : std::as_const(plans))
        ordered << &plan;
    std::sort(ordered.begin(), ordered.end(), [](const PlanSpellings *a, const PlanSpellings *b) {
        return a->figures.bookings != b->figures.bookings ? a->figures.bookings > b->figures.bookings
                                                          : a->firstSeen < b->firstSeen;
    });
    for (const PlanSpellings *plan : std::as_const(ordered)) {
        PlanFigures figures = plan->figures;
        // The spelling typed most often; the first typed among equals.
        int most = 0;
        for (const auto &[spelling, count] : plan->spellings)
            if (count > most) {
                most = count;
                figures.plan = spelling;
            }
        report->plans << figures;
    }
    return true;
}

namespace {

// The figures as the spreadsheet and the printout give them: a table of the doctors, one of the plans.
struct FigureTable
{
    QStringList headings;
    QVector<QStringList> rows;
};

QString said(const char *text)
{
    return QCoreApplication::translate("MonthReport", text);
}

FigureTable doctorTable(const MonthReport &report, const QLocale &locale)
{
    FigureTable table{{said(QT_TRANSLATE_NOOP("MonthReport", "Doctor")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Free slots offered")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Bookings")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Squeeze-ins")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Occupancy (%)")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Confirmed")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Arrived")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Missed")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Cancelled"))},
                      {}};
    for (const DoctorFigures &doctor : report.doctors) {
        const auto count = [&doctor](BookingStatus status) {
            return QString::number(doctor.byStatus[static_cast<size_t>(status)]);
        };
        table.rows << QStringList{doctor.name,
                                  QString::number(doctor.offered),
                                  QString::number(doctor.booked),
                                  QString::number(doctor.squeezedIn),
                                  percent(doctor.occupancy(), locale),
                                  count(BookingStatus::Confirmed),
                                  count(BookingStatus::Arrived),
                                  count(BookingStatus::Missed),
                                  count(BookingStatus::Cancelled)};
    }
    return table;
}

FigureTable planTable(const MonthReport &report)
{
    FigureTable table{{said(QT_TRANSLATE_NOOP("MonthReport", "Health plan")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Bookings")),
                       said(QT_TRANSLATE_NOOP("MonthReport", "Arrived"))},
                      {}};
    for (const PlanFigures &plan : report.plans)
        table.rows << QStringList{planCaption(plan), QString::number(plan.bookings),
                                  QString::number(plan.arrived)};
    return table;
}

} // namespace

QByteArray monthReportCsv(const MonthReport &report, const QLocale &locale)
{
    QVector<QStringList> lines;
    bool first = true;
    for (const FigureTable &table : {doctorTable(report, locale), planTable(report)}) {
        if (!std::exchange(first, false))
            lines << QStringList();
        lines << table.headings;
        lines += table.rows;
    }
    return csvDocument({said(QT_TRANSLATE_NOOP("MonthReport", "From")), writtenDate(report.from, locale),
                        said(QT_TRANSLATE_NOOP("MonthReport", "To")), writtenDate(report.to, locale)},
                       lines);
}

QStringList monthReportLines(const MonthReport &report, const QLocale &locale)
{
    const FigureTable doctors = doctorTable(report, locale);
    const FigureTable plans = planTable(report);
    return tableLines(doctors.headings, doctors.rows) + QStringList{QString()} +
           tableLines(plans.headings, plans.rows);
}

} // namespace velmora
