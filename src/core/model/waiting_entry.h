#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace velmora {

// Where an entry of the waiting list stands.
enum class WaitingState
{
    Waiting,
    Booked,  // booked into a freed slot
    Expired, // past its last date
    Removed  // taken off by the reception
};

// Someone who wants an earlier time, on the clinic's waiting list: offered every freed slot that fits.
struct WaitingEntry
{
    enum class Period
    {
        Any,
        Morning,  // before noon
        Afternoon // from noon
    };
    using State = WaitingState;
    qint64 id = 0;
    QString name;
    QString phone;
    QString plan;
    int slot = 0; // the doctor wanted; 0: any
    QDate from;   // none: from today
    QDate to;     // the last date wanted; none: no end
    Period period = Period::Any;
    QString notes;
    QDateTime addedAt;
    QString addedBy; // "person (computer)"
    State state = State::Waiting;
    QDateTime leftAt; // when it left the list

    bool operator==(const WaitingEntry &other) const;
};

// The stored keys of periods and states, and back (an unknown key reads as Any / Waiting).
QString periodKey(WaitingEntry::Period period);
WaitingEntry::Period periodFromKey(const QString &key);
QString stateKey(WaitingEntry::State state);
WaitingEntry::State stateFromKey(const QString &key);

} // namespace velmora
