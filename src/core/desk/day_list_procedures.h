#pragma once

#include "core/desk/day_list_model.h"
#include "core/schedule/day_list_rules.h"

namespace velmora {

// The day slot list's own procedures, on the list the main window shows.
void list_free_slots(DayListModel &list, const DoctorSettings &settings, QDate date);

// The list as mergedDayRows leaves it; leaves the last booking in current, as the selection code
// expects.
void merge_bookings(DayListModel &list, BookingRecord &current, const QVector<Appointment> &dayBookings);

// Removes the first row whose blank-trimmed text equals current's trimmed time; returns its position
// or -1.
int drop_free_slot(DayListModel &list, const BookingRecord &current);

} // namespace velmora
