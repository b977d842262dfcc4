#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace velmora {

// The printed day list: a header line, then every row of the list as shown.
struct Printout
{
    QString documentName;
    QString header;
    QStringList rows;
    QByteArray picture; // a PNG image printed after the rows, scaled to the page's width; none when empty
};

// A name for the print job and the PDF file, free of characters that file names cannot hold.
QString printDocumentName(const QString &doctorName, QDate date);

} // namespace velmora
