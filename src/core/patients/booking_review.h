#pragma once

#include "core/model/outcome.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <functional>

namespace velmora {

class BookStorage;
class PatientRecords;

// A booking of the books as the review lists it.
struct ReviewBooking
{
    int slot = 0;
    qint64 id = 0;
    QDate date;
    QString hora;
    QString plan;
};

// Bookings suggested as one patient, as the receptionist shapes them before accepting: maybe when
// another group has the same name with other phones (never joined by itself).
struct ReviewGroup
{
    QString name;
    QString phones;
    bool maybe = false;
    QVector<ReviewBooking> bookings;
};

struct BookingReview
{
    bool read = false;
    bool cancelled = false;
    QString error;
    QVector<ReviewGroup> groups;
};

// The bookings of the ten books that belong to no patient yet, grouped into suggested patients (the
// same folded name and phone digits together). progress is told the percent done and answers false to
// stop. Nothing is written.
BookingReview reviewBookings(BookStorage &storage, const std::function<bool(int percent)> &progress);

// The bookings at those places of the group moved to a group of their own, after it.
void splitOff(QVector<ReviewGroup> &groups, int group, const QVector<int> &bookings);
// The groups joined into the first of them, in its place; no longer a maybe.
void joinGroups(QVector<ReviewGroup> &groups, QVector<int> joined);
// Each accepted group made a patient (named, phoned and planned as its first booking) and every booking
// of it linked to that patient; the groups accepted leave the list. Said when a group fails, the others
// still accepted.
Outcome acceptGroups(BookStorage &storage, PatientRecords &records, QVector<ReviewGroup> &groups,
                     QVector<int> accepted);

} // namespace velmora
