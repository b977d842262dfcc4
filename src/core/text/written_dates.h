#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace velmora {

// How the program writes a date in its lists, files and date fields: dd/MM/yyyy in Portuguese, ISO
// otherwise.
QString writtenDateFormat(const QLocale &locale);
// A date as every list of the program shows it, one way per language: its weekday, then as dates
// are written in files ("ter 14/03/2023", "Tue 2023-03-14").
QString listedDate(QDate date, const QLocale &locale);
// A date as written in files and date fields.
QString writtenDate(QDate date, const QLocale &locale);
// The date as the window and the printout show it, in the system's language.
QString longDate(QDate date);

} // namespace velmora
