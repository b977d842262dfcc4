#pragma once

#include <QDate>
#include <QStringList>

namespace velmora {

// What one of the receptionist's actions did: whether it was carried out, what the user must be told
// (one message box each), and the list row to bring into sight (-1 for none).
struct Outcome
{
    bool done = false;
    QStringList messages;
    int rowToShow = -1;
    // A time the action freed (a booking removed, cancelled or moved away), for the waiting list:
    // the doctor's slot (0: none), the date and the time in row.
    struct Freed
    {
        int slot = 0;
        QDate date;
        QString time;
    } freed;
};

// A place in the books to go to, as a booking found or a free time offered: the doctor's slot, the
// date and the list row; whenGone is said when the day no longer lists that row.
struct BookPlace
{
    int slot = 0;
    QDate date;
    QString row;
    QString whenGone;
};

inline Outcome said(const QString &message)
{
    Outcome outcome;
    outcome.messages << message;
    return outcome;
}

} // namespace velmora
