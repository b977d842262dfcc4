#include "core/confirmation_list.h"

#include "core/booking_status.h"
#include "core/csv_writer.h"
#include "core/printout.h"
#include "core/text_rules.h"
#include "core/written_dates.h"

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

QDate nextWorkingDay(QDate today, const std::array<bool, 7> &hoursOnWeekday)
{
    QDate day = today.addDays(1);
    for (int i = 0; i < 7; ++i, day = day.addDays(1)) {
        const int weekday = day.dayOfWeek();
        if (weekday < Qt::Saturday || hoursOnWeekday[static_cast<size_t>(weekday - 1)])
            return day;
    }
    return today.addDays(1);
}

bool readConfirmationList(BookStorage &storage, QDate from, QDate to, int slot,
                          const QStringList &doctorNames, bool toConfirmOnly, QVector<ConfirmationRow> *rows,
                          QString *error)
{
    rows->clear();
    for (int doctor = 1; doctor <= kDoctorSlotCount; ++doctor) {
        const QString name = trimBlanks(doctorNames.value(doctor - 1));
        if ((slot != 0 && doctor != slot) || (slot == 0 && name.isEmpty()))
            continue;
        QVector<Appointment> day;
        for (QDate date = from; date <= to; date = date.addDays(1)) {
            if (!storage.readDay(doctor, date, &day, error))
                return false;
            for (const Appointment &booking : std::as_const(day))
                if (!toConfirmOnly || booking.status == BookingStatus::ToConfirm)
                    rows->append({doctor, name, booking});
        }
    }
    std::stable_sort(rows->begin(), rows->end(), [](const ConfirmationRow &a, const ConfirmationRow &b) {
        if (a.booking.date != b.booking.date)
            return a.booking.date < b.booking.date;
        const QString timeA = trimBlanks(a.booking.hora);
        const QString timeB = trimBlanks(b.booking.hora);
        return timeA != timeB ? timeA < timeB : a.slot < b.slot;
    });
    return true;
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
