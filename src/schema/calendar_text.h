#pragma once


#include <QString>
#include <QVector>

namespace velmora {

struct CalendarEntry;

// The clinic's calendar as its table keeps it, in one row: a JSON array of the entries, so that a save
// replaces the whole calendar in one write.
constexpr const char *kCalendarTable = "calendar";
QString calendarText(const QVector<CalendarEntry> &entries);
// Every element read exactly, or kept as its text (unreadable) when it cannot be: of an unknown kind,
// a field of another type, a date in another form. False when the text is not such an array at all:
// it is then one entry, unreadable, whole.
bool calendarFromText(const QString &text, QVector<CalendarEntry> *entries);

} // namespace velmora
