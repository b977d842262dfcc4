#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

namespace velmora {

// The printed day list: a header line, then every row of the list as shown, in a fixed-width font. The
// page is turned and the font made smaller as far as the widest row needs: nothing is cut.
struct Printout
{
    QString documentName;
    QString header;
    QStringList rows;
    QByteArray picture; // a PNG image printed after the rows, scaled to the page's width; none when empty
};

// A table's lines for a fixed-width font: each column as wide as its widest text, heading included, two
// blanks between columns, the headings followed by a rule.
QStringList tableLines(const QStringList &headings, const QVector<QStringList> &rows);

// A name for the print job and the PDF file, free of characters that file names cannot hold; letters
// keep their accents.
QString printDocumentName(const QString &doctorName, QDate date);

} // namespace velmora
