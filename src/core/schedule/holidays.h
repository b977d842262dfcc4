#pragma once

#include <QDate>
#include <QString>
#include <QVector>

#include <optional>

namespace velmora {

// Easter Sunday of a Gregorian year (the anonymous Gregorian computus).
QDate easterSunday(int year);

// A day the country keeps: a national holiday closes the clinic; an optional one (Carnival, Corpus
// Christi) only when the clinic says it closes on it.
struct Holiday
{
    QDate date;
    QString name; // in the user's language: "Natal"
    bool optional = false;
    QString key; // an optional day's, as the clinic's choice names it: "carnival", "corpus-christi"
};

// Brazil's national holidays and optional days of the year, in date order. 20 November is national
// from 2024 on.
QVector<Holiday> holidaysOf(int year);

// The holiday or optional day on the date, if any.
std::optional<Holiday> holidayOn(QDate date);

} // namespace velmora
