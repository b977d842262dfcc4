#pragma once

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
};

// A name for the print job and the PDF file, free of characters that file names cannot hold.
QString printDocumentName(const QString &doctorName, QDate date);

} // namespace velmora
