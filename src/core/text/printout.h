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
    QByteArray picture;     // a PNG image printed after the rows, scaled to the page's width; none when empty
    bool landscape = false; // turned whatever the rows' width
    QStringList pageHeading; // rows printed again at the top of every page after the first
};

// A table's lines for a fixed-width font: each column as wide as its widest text, heading included, two
// blanks between columns, the headings followed by a rule.
QStringList tableLines(const QStringList &headings, const QVector<QStringList> &rows);

// A name for the printout and its files, free of characters that file names cannot hold; letters
// keep their accents.
QString printDocumentName(const QString &doctorName, QDate date);

// The name a print job is given: the document's, its accents dropped and any other letter outside
// ASCII made "_", as print queues name their files from it.
QString printJobName(const QString &documentName);

} // namespace velmora
