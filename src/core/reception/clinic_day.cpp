#include "core/reception/clinic_day.h"

#include "core/model/appointment.h"
#include "core/model/booking_status.h"
#include "core/schedule/doctor_settings.h"
#include "core/text/text_rules.h"

#include <QTime>

#include <algorithm>
#include <set>

namespace velmora {

namespace {

// A time's place in the day, in minutes; a text that reads as no time comes after every time.
int minuteOf(const QString &time)
{
    const QTime read = QTime::fromString(time, QStringLiteral("HH:mm"));
    return read.isValid() ? read.msecsSinceStartOfDay() / 60000 : 24 * 60;
}

} // namespace

QString timeOfRow(const QString &row)
{
    return trimBlanks(row.left(BookingRecord::kHoraWidth));
}

namespace {

// One column: the slot's day (read already, or read here) listed; its times added to the board's.
BoardColumn readColumn(BookStorage &storage, int slot, const DoctorFields &fields, const WeeklyTimes &hours,
                       const std::shared_ptr<const ClinicCalendar> &calendar, QDate date,
                       std::set<std::pair<int, QString>> *times,
                       const QVector<Appointment> *readAlready = nullptr)
{
    BoardColumn column;
    column.slot = slot;
    column.date = date;
    column.doctor = trimBlanks(fields.name.value_or(QString()));
    DoctorSettings settings;
    if (readAlready)
        column.bookings = *readAlready;
    column.read = doctorSettingsFrom(fields, hours, &settings, &column.error) &&
                  (readAlready || storage.readDay(slot, date, &column.bookings, &column.error));
    settings.slot = slot;
    settings.calendar = calendar;
    if (!column.read)
        return column;
    column.bookings.erase(std::remove_if(column.bookings.begin(), column.bookings.end(),
                                         [](const Appointment &b) { return b.date == placeholderDate(); }),
                          column.bookings.end());
    column.hasHours = !freeSlotRows(settings, date).isEmpty();
    column.plan = dayPlan(settings, date);
    if (column.plan.wholeDay)
        column.closed = column.plan.wholeDay->reason;
    column.day = listedDay(settings, date, column.bookings);
    QString last;
    for (const QString &row : std::as_const(column.day.rows))
        if (const QString time = timeOfRow(row); time != last) {
            times->insert({minuteOf(time), time});
            last = time;
        }
    return column;
}

ClinicDay withTimes(ClinicDay board, const std::set<std::pair<int, QString>> &times)
{
    for (const auto &[minute, time] : times)
        board.times << time;
    return board;
}

} // namespace

ClinicDay readClinicDay(BookStorage &storage, QDate date, int onlySlot)
{
    ClinicDay clinic;
    clinic.date = date;
    AllDoctorFields doctors;
    AllWeeklyTimes hours;
    QString error;
    std::shared_ptr<const ClinicCalendar> calendar;
    const bool doctorsRead = (calendar = readClinicCalendar(storage, &error)) &&
                             storage.readDoctors(&doctors, &error) &&
                             storage.readAllWeeklyTimes(&hours, &error);
    QVector<int> slots;
    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        if (onlySlot == slot ||
            (onlySlot == 0 &&
             (!doctorsRead ||
              !trimBlanks(doctors[static_cast<size_t>(slot - 1)].name.value_or(QString())).isEmpty())))
            slots << slot;
    if (!doctorsRead) {
        for (const int slot : std::as_const(slots))
            clinic.columns << BoardColumn{slot, date, {}, false, error, false, {}, {}, {}, {}};
        return clinic;
    }
    // Every day in one read where the engine can; when that fails, each book on its own, so that the
    // one that cannot be read is told apart.
    std::map<int, QVector<Appointment>> days;
    QString daysError;
    const bool daysRead = storage.readDays(slots, date, &days, &daysError);
    std::set<std::pair<int, QString>> times; // in the order of the day, each once
    for (const int slot : std::as_const(slots))
        clinic.columns << readColumn(storage, slot, doctors[static_cast<size_t>(slot - 1)],
                                     hours[static_cast<size_t>(slot - 1)], calendar, date, &times,
                                     daysRead ? &days[slot] : nullptr);
    return withTimes(clinic, times);
}

ClinicDay readDoctorWeek(BookStorage &storage, int slot, QDate date)
{
    ClinicDay week;
    week.date = date;
    AllDoctorFields doctors;
    WeeklyTimes hours;
    QString error;
    std::shared_ptr<const ClinicCalendar> calendar;
    if (!isDoctorSlot(slot) || !storage.readDoctors(&doctors, &error) ||
        !storage.readWeeklyTimes(slot, &hours, &error) || !(calendar = readClinicCalendar(storage, &error)))
        return week;
    std::set<std::pair<int, QString>> times;
    const QDate monday = date.addDays(1 - date.dayOfWeek());
    for (QDate day = monday; day < monday.addDays(7); day = day.addDays(1)) {
        std::set<std::pair<int, QString>> dayTimes;
        const BoardColumn column = readColumn(storage, slot, doctors[static_cast<size_t>(slot - 1)], hours,
                                              calendar, day, &dayTimes);
        // The days the doctor works, or has bookings on.
        if (column.read && !column.hasHours && column.closed.isEmpty() && column.bookings.isEmpty())
            continue;
        times.insert(dayTimes.begin(), dayTimes.end());
        week.columns << column;
    }
    return withTimes(week, times);
}

BoardCell boardCell(const ClinicDay &day, int time, int column)
{
    BoardCell cell;
    const BoardColumn &doctor = day.columns.at(column);
    if (!doctor.read) {
        cell.state = CellState::Unavailable;
        return cell;
    }
    const QString &at = day.times.at(time);
    bool free = false;
    for (int row = 0; row < doctor.day.rows.size(); ++row) {
        if (timeOfRow(doctor.day.rows.at(row)) != at)
            continue;
        const int booking = doctor.day.bookingOfRow.at(row);
        if (cell.row.isNull() || (free && booking >= 0))
            cell.row = doctor.day.rows.at(row);
        if (booking >= 0)
            cell.bookings << doctor.bookings.at(booking);
        else
            free = true;
    }
    cell.reason = doctor.closed.isEmpty() && doctor.plan.closedAt(at) ? doctor.plan.reasons() : doctor.closed;
    cell.state = !cell.bookings.isEmpty() ? CellState::Booked
                 : free                   ? CellState::Free
                 : !cell.reason.isEmpty() ? CellState::Closed
                 : doctor.hasHours        ? CellState::OutsideHours
                                          : CellState::NoHours;
    return cell;
}

QStringList clinicDayLines(const ClinicDay &day)
{
    QStringList lines;
    for (const BoardColumn &column : day.columns) {
        const QStringList start{QString(), QString::number(column.slot), column.doctor};
        const auto line = [](QStringList fields) {
            for (QString &field : fields)
                field = blankControlCharacters(field).replace(QLatin1Char('\t'), QLatin1Char(' '));
            return fields.join(QLatin1Char('\t'));
        };
        if (column.read && !column.closed.isEmpty()) {
            QStringList closed = start;
            closed[2] = column.closed;
            lines << line(closed << QStringLiteral("closed"));
        } else if (!column.read || (!column.hasHours && column.bookings.isEmpty())) {
            lines << line(start + QStringList{column.read ? QStringLiteral("no-hours")
                                                          : QStringLiteral("unavailable")});
            continue;
        }
        for (int row = 0; row < column.day.rows.size(); ++row) {
            const int booking = column.day.bookingOfRow.at(row);
            QStringList fields = start;
            fields[0] = timeOfRow(column.day.rows.at(row));
            if (booking < 0) {
                lines << line(fields << QStringLiteral("free"));
                continue;
            }
            const Appointment &booked = column.bookings.at(booking);
            lines << line(fields << QStringLiteral("booked") << trimBlanks(booked.nome)
                                 << trimBlanks(booked.convenio) << trimBlanks(booked.telefone)
                                 << statusKey(booked.status));
        }
    }
    return lines;
}

} // namespace velmora
