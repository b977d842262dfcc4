#pragma once

#include "core/model/appointment.h"
#include "core/model/outcome.h"
#include "core/storage/book_storage.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVector>

#include <array>
#include <functional>

namespace velmora {

class ClinicCalendar;

// One booking of the confirmation list, with its slot and its doctor's name.
struct ConfirmationRow
{
    int slot = 0;
    QString doctor;
    Appointment booking;
    QString closed; // why the calendar closes its time; empty when open: such a booking is to reschedule
};

// Where the selection goes when the list is read again: the same booking (its book and identity, as
// identities are per book) or, when it left the list, the row of the first booking that followed it and
// is still listed, else the last row; -1 for an empty list or no selection before.
int rowKeptAfterReload(const QVector<ConfirmationRow> &before, int selected,
                       const QVector<ConfirmationRow> &after);

// The day the list starts on by default: the next day after today that is a working day. Saturday
// and Sunday count only when some doctor has hours on them (hoursOnWeekday: Monday first), or an
// extra day; a day the calendar closes the whole clinic on does not.
QDate nextWorkingDay(QDate today, const std::array<bool, 7> &hoursOnWeekday, const ClinicCalendar &calendar);
// Whether any of the doctors has hours on each weekday, Monday first.
std::array<bool, 7> weekdaysWithHours(const std::array<WeeklyTimes, kDoctorSlotCount> &hours);

// The bookings of the dates from..to of one slot's book (or every named doctor's for slot 0), sorted
// by date, time and doctor; only those still to confirm when asked. The placeholder record of an empty
// book is no booking. Read a month at a time, telling progress; a read no longer wanted ends unread.
struct ConfirmationList
{
    bool read = false;
    QString error;
    QVector<ConfirmationRow> rows;
};
ConfirmationList readConfirmationList(BookStorage &storage, QDate from, QDate to, int slot,
                                      bool toConfirmOnly,
                                      const std::function<bool(int percent)> &progress = {});

// What the list opens on: the doctors' names, and the next working day after today (a weekday, or a
// Saturday or Sunday some doctor works).
struct ConfirmationStart
{
    QStringList doctorNames;
    QDate firstDay;
};
ConfirmationStart readConfirmationStart(BookStorage &storage, QDate today);

// A listed booking's status set, matched as it was listed.
Outcome setListedStatus(BookStorage &storage, const ConfirmationRow &row, BookingStatus status);

// The list for a spreadsheet, with a heading line; dates as files write them.
QByteArray confirmationCsv(const QVector<ConfirmationRow> &rows, const QLocale &locale);
// The list as printed: its headings, then one line per booking, columns as wide as their texts.
QStringList confirmationLines(const QVector<ConfirmationRow> &rows, const QLocale &locale);

} // namespace velmora
