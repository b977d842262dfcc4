#pragma once

#include "core/model/booking_state.h"
#include "core/schedule/day_plan.h"

#include <QAbstractListModel>
#include <QStringList>
#include <QVector>

namespace velmora {

// The rows of the day slot list, kept in ascending text order without regard to case. A row added
// goes straight to its sorted place, after any row that compares equal to it. Each row carries its
// booking's status (StatusRole; a free row's is to confirm), with the status's words as its tool tip
// and accessible description, so that a view can mark it beside the row's text.
class DayListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;
    static constexpr int StatusRole = Qt::UserRole + 1;
    static constexpr int ClosedRole = Qt::UserRole + 2;    // the row's time is closed by the calendar
    static constexpr int HeldRole = Qt::UserRole + 3;      // the row's booking is held to be moved
    static constexpr int SqueezeInRole = Qt::UserRole + 4; // the row's booking is a squeeze-in

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QStringList &rows() const { return rows_; }
    BookingStatus statusAt(int row) const { return statuses_.value(row); }
    int add(const QString &row); // returns the row's position; its status is to confirm
    void removeAt(int position);
    void setStatusAt(int position, BookingStatus status);
    void setSqueezedInAt(int position, bool squeezedIn);
    void clear();
    // Rows already in their order, in one reset. closed: what the calendar closes that day; a booked
    // row at a closed time is marked (ClosedRole, the reason in its tool tip).
    // held, squeezedIn: per row, whether its booking is held to be moved, or a squeeze-in; sessions: its
    // place in a weekly series ("3/10") or empty.
    void setRows(const QStringList &rows, const QVector<BookingStatus> &statuses = {},
                 const DayPlan &closed = {}, const QVector<bool> &held = {},
                 const QVector<bool> &squeezedIn = {}, const QStringList &sessions = {});
    bool heldAt(int row) const { return held_.value(row); }
    bool squeezedInAt(int row) const { return squeezedIn_.value(row); }
    const DayPlan &closed() const { return closed_; }

private:
    QStringList rows_;
    QVector<BookingStatus> statuses_; // one per row
    QVector<bool> held_;              // one per row
    QVector<bool> squeezedIn_;        // one per row
    QStringList sessions_;            // one per row: "3/10" for a session of a weekly series
    DayPlan closed_;
};

} // namespace velmora
