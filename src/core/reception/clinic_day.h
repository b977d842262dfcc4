#pragma once

#include "core/schedule/day_list_rules.h"
#include "core/storage/book_storage.h"

#include <QDate>
#include <QStringList>
#include <QVector>

namespace velmora {

// One doctor's column of the clinic's day: that doctor's day list exactly as the main window lists it.
struct BoardColumn
{
    int slot = 0;
    QDate date;
    QString doctor;
    bool read = false; // false: the book could not be read, and error says why
    QString error;
    bool hasHours = false; // the weekly hours give the weekday slots
    QString closed;        // why the calendar closes the whole day ("Holiday: Christmas"); empty when open
    DayPlan plan;          // what the calendar closes of the day, in whole or in part
    ListedDay day;
    QVector<Appointment> bookings;
};

// Every named doctor's day side by side, one board row per time any of them lists.
struct ClinicDay
{
    QDate date;
    QVector<BoardColumn> columns;
    QStringList times; // "08:00", ... in time order; a booking's odd time text sorts after the times
};

// The doctors' settings and each book's day read; a book that cannot be read leaves its column
// unavailable and the others as they are.
ClinicDay readClinicDay(BookStorage &storage, QDate date, int onlySlot = 0);

// One doctor's week: Monday to Sunday of the date's week, a column for each day the doctor works or
// has bookings on.
ClinicDay readDoctorWeek(BookStorage &storage, int slot, QDate date);

enum class CellState
{
    Free,
    Booked,
    OutsideHours, // the doctor works that day, not at that time
    NoHours,      // the doctor has no hours that day
    Closed,       // the calendar closes the doctor's day, or that time of it
    Unavailable   // the book could not be read
};

// What a cell shows: its state, the bookings at that time (several may share one), and the day list's
// row to go to for it (the free row, or the first booking's).
struct BoardCell
{
    CellState state = CellState::OutsideHours;
    QVector<Appointment> bookings;
    QString row;
    QString reason; // why a closed cell is closed
};
BoardCell boardCell(const ClinicDay &day, int time, int column);

// The time a row of a day list stands at: its first column, blanks trimmed.
QString timeOfRow(const QString &row);

// The board as tab-separated lines for a terminal: per doctor, per row of that doctor's day list in its
// order: time, slot, doctor, state (free, booked), patient, health plan, phones, status; a doctor
// without hours that day gives one line "no-hours", one whose book cannot be read "unavailable", one
// whose day the calendar closes "closed" with the reason in the name's place, before its bookings.
QStringList clinicDayLines(const ClinicDay &day);

} // namespace velmora
