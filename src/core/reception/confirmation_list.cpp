#include "core/reception/confirmation_list.h"

#include "core/model/booking_status.h"
#include "core/safekeeping/activity_log.h"
#include "core/schedule/clinic_calendar.h"
#include "core/schedule/doctor_settings.h"
#include "core/text/csv_writer.h"
#include "core/text/printout.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

std::array<bool, 7> weekdaysWithHours(const std::array<WeeklyTimes, kDoctorSlotCount> &hours)
{
    std::array<bool, 7> any{};
    for (const WeeklyTimes &times : hours)
        for (int day = 0; day < 7; ++day)
            any[static_cast<size_t>(day)] =
                any[static_cast<size_t>(day)] || !trimBlanks(times[weeklyTimePosition(day, 1)]).isEmpty();
    return any;
}

int rowKeptAfterReload(const QVector<ConfirmationRow> &before, int selected,
                       const QVector<ConfirmationRow> &after)
{
    if (after.isEmpty())
        return -1;
    if (selected < 0 || selected >= before.size())
        return 0;
    const auto positionOf = [&after](const ConfirmationRow &row) {
        for (int i = 0; i < after.size(); ++i)
            if (after.at(i).slot == row.slot && after.at(i).booking.id == row.booking.id)
                return i;
        return -1;
    };
    for (int i = selected; i < before.size(); ++i)
        if (const int position = positionOf(before.at(i)); position >= 0)
            return position;
    return static_cast<int>(after.size()) - 1;
}

QDate nextWorkingDay(QDate today, const std::array<bool, 7> &hoursOnWeekday, const ClinicCalendar &calendar)
{
    const auto extraDay = [&calendar](QDate day) {
        for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
            if (calendar.planFor(slot, day).extraHours)
                return true;
        return false;
    };
    // A long closure is looked past, up to a year.
    QDate day = today.addDays(1);
    for (int i = 0; i < 366; ++i, day = day.addDays(1)) {
        const int weekday = day.dayOfWeek();
        if (extraDay(day) || ((weekday < Qt::Saturday || hoursOnWeekday[static_cast<size_t>(weekday - 1)]) &&
                              !calendar.planFor(0, day).wholeDay))
            return day;
    }
    return today.addDays(1);
}

ConfirmationList readConfirmationList(BookStorage &storage, QDate from, QDate to, int slot,
                                      bool toConfirmOnly, const std::function<bool(int percent)> &progress)
{
    ConfirmationList list;
    AllDoctorFields doctors;
    if (!storage.readDoctors(&doctors, &list.error))
        return list;
    const std::shared_ptr<const ClinicCalendar> calendar = readClinicCalendar(storage, &list.error);
    if (!calendar)
        return list;
    QVector<int> slots;
    for (int doctor = 1; doctor <= kDoctorSlotCount; ++doctor)
        if (slot == doctor ||
            (slot == 0 && !trimBlanks(doctors[doctor - 1].name.value_or(QString())).isEmpty()))
            slots << doctor;
    const qint64 days = std::max<qint64>(1, from.daysTo(to) + 1) * std::max<qint64>(1, slots.size());
    qint64 daysRead = 0;
    QVector<Appointment> bookings;
    for (const int doctor : std::as_const(slots)) {
        const QString name = trimBlanks(doctors[doctor - 1].name.value_or(QString()));
        for (QDate start = from; start <= to && start.isValid(); start = start.addMonths(1)) {
            if (progress && !progress(static_cast<int>(daysRead * 100 / days)))
                return list;
            const QDate end = std::min(to, start.addMonths(1).addDays(-1));
            if (!storage.readPeriod(doctor, start, end, &bookings, &list.error))
                return list;
            daysRead += start.daysTo(end) + 1;
            for (const Appointment &booking : std::as_const(bookings))
                if (booking.date != placeholderDate() &&
                    (!toConfirmOnly || booking.status == BookingStatus::ToConfirm))
                    list.rows.append({doctor, name, booking, [&] {
                                          const DayPlan plan = calendar->planFor(doctor, booking.date);
                                          return plan.closedAt(booking.hora) ? plan.reasons() : QString();
                                      }()});
        }
    }
    std::stable_sort(list.rows.begin(), list.rows.end(),
                     [](const ConfirmationRow &a, const ConfirmationRow &b) {
                         if (a.booking.date != b.booking.date)
                             return a.booking.date < b.booking.date;
                         const QString timeA = trimBlanks(a.booking.hora);
                         const QString timeB = trimBlanks(b.booking.hora);
                         return timeA != timeB ? timeA < timeB : a.slot < b.slot;
                     });
    list.read = true;
    return list;
}

ConfirmationStart readConfirmationStart(BookStorage &storage, QDate today)
{
    ConfirmationStart start;
    AllDoctorFields doctors;
    QString error;
    if (storage.readDoctors(&doctors, &error))
        for (const DoctorFields &doctor : doctors)
            start.doctorNames << doctor.name.value_or(QString());
    else
        qCWarning(logBook, "the doctors could not be read for the confirmations: %s", qUtf8Printable(error));
    std::array<WeeklyTimes, kDoctorSlotCount> hours{};
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        if (!storage.readWeeklyTimes(slot, &hours[static_cast<size_t>(slot - 1)], &error)) {
            // Unread hours are not taken as none: the weekend then counts as worked.
            qCWarning(logBook, "the weekly hours could not be read: %s", qUtf8Printable(error));
            hours[static_cast<size_t>(slot - 1)].fill(QStringLiteral("0800"));
        }
    const std::shared_ptr<const ClinicCalendar> calendar = readClinicCalendar(storage, &error);
    if (!calendar)
        qCWarning(logBook, "the clinic's calendar could not be read: %s", qUtf8Printable(error));
    start.firstDay = nextWorkingDay(today, weekdaysWithHours(hours), calendar ? *calendar : ClinicCalendar());
    return start;
}

Outcome setListedStatus(BookStorage &storage, const ConfirmationRow &row, BookingStatus status)
{
    Outcome outcome;
    QString error;
    const WriteOutcome written = storage.setStatus(row.slot, row.booking, status, &error);
    if (written == WriteOutcome::NoLongerStored)
        outcome.messages << QCoreApplication::translate(
            "AppointmentBook",
            "The selected appointment is no longer stored as listed: it may have been changed or "
            "removed at another desk. Its status was not set.");
    else if (written == WriteOutcome::Failed)
        outcome.messages << QCoreApplication::translate(
                                "AppointmentBook", "The status could not be set; it stays as it was: %1.")
                                .arg(error);
    outcome.done = written == WriteOutcome::Done;
    return outcome;
}

QByteArray confirmationCsv(const QVector<ConfirmationRow> &rows, const QLocale &locale)
{
    QVector<QStringList> lines;
    for (const ConfirmationRow &row : rows)
        lines << QStringList{writtenDate(row.booking.date, locale),
                             trimBlanks(row.booking.hora),
                             row.doctor,
                             trimBlanks(row.booking.nome),
                             trimBlanks(row.booking.telefone),
                             trimBlanks(row.booking.convenio),
                             statusCaption(row.booking.status)};
    return csvDocument({QCoreApplication::translate("Confirmation", "Date"),
                        QCoreApplication::translate("Confirmation", "Time"),
                        QCoreApplication::translate("Confirmation", "Doctor"),
                        QCoreApplication::translate("Confirmation", "Patient"),
                        QCoreApplication::translate("Confirmation", "Phones"),
                        QCoreApplication::translate("Confirmation", "Health plan"),
                        QCoreApplication::translate("Confirmation", "Status")},
                       lines);
}

QStringList confirmationLines(const QVector<ConfirmationRow> &rows, const QLocale &locale)
{
    const auto said = [](const char *text) { return QCoreApplication::translate("Confirmation", text); };
    QVector<QStringList> cells;
    for (const ConfirmationRow &row : rows)
        cells << QStringList{
            listedDate(row.booking.date, locale),
            trimBlanks(row.booking.hora),
            trimBlanks(row.doctor),
            trimBlanks(blankControlCharacters(row.booking.nome)),
            trimBlanks(blankControlCharacters(row.booking.telefone)),
            (statusMark(row.booking.status) + QLatin1Char(' ') + statusCaption(row.booking.status))
                .trimmed()};
    return tableLines({said(QT_TRANSLATE_NOOP("Confirmation", "Date")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Time")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Doctor")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Patient")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Phones")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Status"))},
                      cells);
}

} // namespace velmora
