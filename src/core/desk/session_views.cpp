#include "core/desk/session_views.h"

#include "core/schedule/day_list_rules.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

std::optional<Printout> dayPrintout(const AppointmentBook &book)
{
    if (book.activeSlot() == 0)
        return std::nullopt;
    Printout printout;
    const QString name = book.doctorNames().value(book.activeSlot() - 1);
    printout.documentName = printDocumentName(name, book.currentDate());
    printout.header = name + QStringLiteral(" - ") + longDate(book.currentDate());
    printout.rows = book.dayList().rows();
    for (int row = 0; row < printout.rows.size(); ++row)
        if (book.dayList().squeezedInAt(row))
            printout.rows[row] +=
                QStringLiteral("  ") + QCoreApplication::translate("DayList", "(squeeze-in)");
    return printout;
}

std::optional<ListedRow> selectedBooking(const AppointmentBook &book, QString *whyNot)
{
    const int row = book.selectedRow();
    const QStringList &rows = book.dayList().rows();
    if (row < 0 || row >= rows.size() || trimBlanks(BookingRecord::fromRow(rows.at(row)).nome).isEmpty()) {
        *whyNot = QCoreApplication::translate("AppointmentBook",
                                              "No appointment is selected: choose one in the list first.");
        return std::nullopt;
    }
    return ListedRow{book.activeSlot(), book.currentDate(), rows, row};
}

FirstFreeSearch firstFreeSearch(const AppointmentBook &book, QDate today, QTime now)
{
    FirstFreeSearch search;
    search.slot = book.activeSlot();
    search.doctorCalled = doctorCalled(book.doctorNames(), book.activeSlot());
    search.doctor = book.doctorSettings();
    search.from = std::max(book.currentDate(), today);
    search.notBefore = search.from == today ? now : QTime();
    return search;
}

QString closedNote(const AppointmentBook &book)
{
    return book.activeSlot() == 0 ? QString() : book.dayList().closed().reasons();
}

} // namespace velmora
