#include "core/reports/board_printout.h"

#include "core/model/appointment.h"
#include "core/model/booking_status.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

namespace velmora {

namespace {

constexpr int kCellWidth = 18;

QString cut(const QString &text)
{
    return trimBlanks(fitted(text, kCellWidth));
}

// The text in lines of the cell's width, broken between words (a word longer than a line, within it).
QStringList wrapped(const QString &text)
{
    QStringList lines;
    QString line;
    for (QString word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        while (characterCount(word) > kCellWidth) {
            if (!line.isEmpty())
                lines << std::exchange(line, QString());
            lines << characterSlice(word, 0, kCellWidth);
            word = characterSlice(word, kCellWidth, characterCount(word));
        }
        if (!line.isEmpty() && characterCount(line) + 1 + characterCount(word) > kCellWidth)
            lines << std::exchange(line, QString());
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines << line;
    return lines;
}

// A cell's lines: its state, or each patient whole, a line or more each.
QStringList cellLines(const BoardCell &cell)
{
    switch (cell.state) {
    case CellState::Free:
        return {QCoreApplication::translate("BoardPrintout", "free")};
    case CellState::OutsideHours:
    case CellState::NoHours:
        return {QStringLiteral(".")};
    case CellState::Unavailable:
        return {QStringLiteral("-")};
    case CellState::Closed:
        return {QStringLiteral("x")};
    case CellState::Booked:
        break;
    }
    QStringList lines;
    for (const Appointment &booking : cell.bookings)
        lines << wrapped(statusMark(booking.status) + QLatin1Char(' ') +
                         trimBlanks(blankControlCharacters(booking.nome)));
    return lines;
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
        // Every patient of a time printed whole: the time's row runs on over as many lines as it needs.
        QVector<QStringList> cells;
        qsizetype height = 1;
        for (int c = 0; c < board.columns.size(); ++c) {
            cells << cellLines(boardCell(board, t, c));
            height = std::max(height, cells.last().size());
        }
        for (qsizetype line = 0; line < height; ++line) {
            QStringList row{line == 0 ? board.times.at(t) : QString()};
            for (const QStringList &cell : std::as_const(cells))
                row << cell.value(line);
            table << row;
        }
    }
    const QStringList lines = tableLines(headings, table);
    printout.pageHeading = lines.mid(0, 2);
    printout.rows << lines;
    return printout;
}

} // namespace velmora
