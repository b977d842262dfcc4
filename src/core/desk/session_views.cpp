#include "core/desk/session_views.h"

#include "core/schedule/day_list_rules.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

std::optional<Printout> dayPrintout(const DayDocument &day)
{
    if (day.activeSlot() == 0)
        return std::nullopt;
    Printout printout;
    const QString name = day.doctorNames().value(day.activeSlot() - 1);
    printout.documentName = printDocumentName(name, day.currentDate());
    printout.header = name + QStringLiteral(" - ") + longDate(day.currentDate());
    printout.rows = day.dayList().rows();
    for (int row = 0; row < printout.rows.size(); ++row)
        if (day.dayList().squeezedInAt(row))
            printout.rows[row] +=
                QStringLiteral("  ") + QCoreApplication::translate("DayList", "(squeeze-in)");
    return printout;
}

std::optional<ListedRow> selectedBooking(const DayDocument &day, QString *whyNot)
{
    const int row = day.selectedRow();
    const QStringList &rows = day.dayList().rows();
    if (row < 0 || row >= rows.size() || trimBlanks(BookingRecord::fromRow(rows.at(row)).nome).isEmpty()) {
        *whyNot = QCoreApplication::translate("AppointmentBook",
                                              "No appointment is selected: choose one in the list first.");
        return std::nullopt;
    }
    return ListedRow{day.activeSlot(), day.currentDate(), rows, row};
}

FirstFreeSearch firstFreeSearch(const DayDocument &day, QDate today, QTime now)
{
    FirstFreeSearch search;
    search.slot = day.activeSlot();
    search.doctorCalled = doctorCalled(day.doctorNames(), day.activeSlot());
    search.doctor = day.doctorSettings();
    search.from = std::max(day.currentDate(), today);
    search.notBefore = search.from == today ? now : QTime();
    return search;
}

QString closedNote(const DayDocument &day)
{
    return day.activeSlot() == 0 ? QString() : day.dayList().closed().reasons();
}

} // namespace velmora
