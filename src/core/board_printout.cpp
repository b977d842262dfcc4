#include "core/board_printout.h"

#include "core/booking_status.h"
#include "core/text_rules.h"
#include "core/written_dates.h"

#include <QCoreApplication>

namespace velmora {

namespace {

constexpr int kCellWidth = 18;

QString cellText(const BoardCell &cell)
{
    switch (cell.state) {
    case CellState::Free:
        return QCoreApplication::translate("BoardPrintout", "free");
    case CellState::OutsideHours:
    case CellState::NoHours:
        return QStringLiteral(".");
    case CellState::Unavailable:
        return QStringLiteral("-");
    case CellState::Closed:
        return QStringLiteral("x");
    case CellState::Booked:
        break;
    }
    QStringList names;
    for (const Appointment &booking : cell.bookings)
        names << (statusMark(booking.status) + QLatin1Char(' ') +
                  trimBlanks(blankControlCharacters(booking.nome)))
                     .trimmed();
    return names.join(QStringLiteral(" / "));
}

QString cut(const QString &text)
{
    return trimBlanks(fitted(text, kCellWidth));
}

} // namespace

Printout boardPrintout(const ClinicDay &board, bool week)
{
    Printout printout;
    printout.landscape = true;
    const QString doctor = board.columns.isEmpty() ? QString() : board.columns.first().doctor;
    printout.header =
        week
            ? QCoreApplication::translate("BoardPrintout", "%1's week - %2")
                  .arg(doctor, longDate(board.date.addDays(1 - board.date.dayOfWeek())))
            : QCoreApplication::translate("BoardPrintout", "The clinic's day - %1").arg(longDate(board.date));
    printout.documentName =
        printDocumentName(week ? doctor : QCoreApplication::translate("BoardPrintout", "clinic"),
                          board.date) +
        (week ? QStringLiteral("_week") : QString());
    QStringList marks;
    for (int status = 1; status < kBookingStatusCount; ++status) {
        const auto known = static_cast<BookingStatus>(status);
        marks << statusMark(known) + QLatin1Char(' ') + statusCaption(known);
    }
    printout.rows
        << QCoreApplication::translate(
               "BoardPrintout",
               "free: a free slot   .: outside the hours   x: closed   -: the book cannot be read   %1")
               .arg(marks.join(QStringLiteral("   ")))
        << QString();
    QStringList headings{QCoreApplication::translate("BoardPrintout", "Time")};
    for (int c = 0; c < board.columns.size(); ++c) {
        const BoardColumn &column = board.columns.at(c);
        const QString name = week ? listedDate(column.date, QLocale()) : column.doctor;
        QString state;
        if (!column.read)
            state = QStringLiteral(" - ") +
                    QCoreApplication::translate("BoardPrintout", "unavailable: %1").arg(column.error);
        else if (!column.closed.isEmpty())
            state = QStringLiteral(" - ") + column.closed;
        else if (!column.hasHours)
            state = QStringLiteral(" - ") + QCoreApplication::translate("BoardPrintout", "no hours");
        printout.rows << QStringLiteral("%1  %2%3").arg(c + 1, 2).arg(name, state);
        headings << cut(QStringLiteral("%1 %2").arg(c + 1).arg(name));
    }
    printout.rows << QString();
    QVector<QStringList> table;
    for (int t = 0; t < board.times.size(); ++t) {
        QStringList row{board.times.at(t)};
        for (int c = 0; c < board.columns.size(); ++c)
            row << cut(cellText(boardCell(board, t, c)));
        table << row;
    }
    const QStringList lines = tableLines(headings, table);
    printout.pageHeading = lines.mid(0, 2);
    printout.rows << lines;
    return printout;
}

} // namespace velmora
