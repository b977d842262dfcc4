#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace velmora {

// The printed day list: a header line, then every row of the list as shown.
struct Printout
{
    QString documentName;
    QString header;
    QStringList rows;
};

// A name for the print job and the PDF file, free of characters that file names cannot hold.
QString printDocumentName(const QString &doctorName, QDate date);

// Lays the printout on the device's pages: two blank Arial 10 lines, the header in Arial 16 indented
// five positions, two blank lines, then the rows in Courier New 9 bold indented three positions,
// continuing on new pages without a header. False with a reason when the device cannot be painted.
bool paintPrintout(QPagedPaintDevice &device, const Printout &printout, QString *error);

} // namespace velmora
