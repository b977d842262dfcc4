#pragma once

#include "core/clinic_calendar.h"

#include <QString>
#include <QVector>

namespace velmora {

// The clinic's calendar as its table keeps it, in one row: a JSON array of the entries, so that a save
// replaces the whole calendar in one write.
constexpr const char *kCalendarTable = "calendar";
QString calendarText(const QVector<CalendarEntry> &entries);
// False when the text is not such an array; an entry of an unknown kind is left out.
bool calendarFromText(const QString &text, QVector<CalendarEntry> *entries);

} // namespace velmora
