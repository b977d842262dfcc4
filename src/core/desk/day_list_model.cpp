#include "core/desk/day_list_model.h"

#include "core/model/booking_status.h"

#include <QCoreApplication>

#include <algorithm>

namespace velmora {

int DayListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant DayListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size())
        return {};
    const BookingStatus status = statuses_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return rows_.at(index.row());
    case StatusRole:
        return static_cast<int>(status);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: {
        QStringList said;
        if (status != BookingStatus::ToConfirm)
            said << statusCaption(status);
        if (closed_.closedAt(rows_.at(index.row())))
            said << closed_.reasons();
        if (held_.at(index.row()))
            said << QCoreApplication::translate("DayList", "Held to be moved");
        if (squeezedIn_.at(index.row()))
            said << QCoreApplication::translate("DayList", "Squeeze-in");
        if (!sessions_.at(index.row()).isEmpty())
            said << QCoreApplication::translate("DayList", "Session %1 of a weekly series")
                        .arg(sessions_.at(index.row()));
        return said.isEmpty() ? QVariant() : QVariant(said.join(QStringLiteral("; ")));
    }
    case ClosedRole:
        return closed_.closedAt(rows_.at(index.row()));
    case HeldRole:
        return held_.at(index.row());
    case SqueezeInRole:
        return squeezedIn_.at(index.row());
    default:
        return {};
    }
}

int DayListModel::add(const QString &row)
{
    const auto at = std::upper_bound(rows_.begin(), rows_.end(), row, [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    const int position = static_cast<int>(at - rows_.begin());
    beginInsertRows({}, position, position);
    rows_.insert(position, row);
    statuses_.insert(position, BookingStatus::ToConfirm);
    held_.insert(position, false);
    squeezedIn_.insert(position, false);
    sessions_.insert(position, QString());
    endInsertRows();
    return position;
}

void DayListModel::removeAt(int position)
{
    if (position < 0 || position >= rows_.size())
        return;
    beginRemoveRows({}, position, position);
    rows_.removeAt(position);
    statuses_.removeAt(position);
    held_.removeAt(position);
    squeezedIn_.removeAt(position);
    sessions_.removeAt(position);
    endRemoveRows();
}

void DayListModel::setStatusAt(int position, BookingStatus status)
{
    if (position < 0 || position >= rows_.size())
        return;
    statuses_[position] = status;
    const QModelIndex changed = index(position);
    Q_EMIT dataChanged(changed, changed);
}

void DayListModel::setSqueezedInAt(int position, bool squeezedIn)
{
    if (position < 0 || position >= rows_.size() || squeezedIn_.at(position) == squeezedIn)
        return;
    squeezedIn_[position] = squeezedIn;
    const QModelIndex changed = index(position);
    Q_EMIT dataChanged(changed, changed);
}

void DayListModel::clear()
{
    if (rows_.isEmpty())
        return;
    beginResetModel();
    rows_.clear();
    statuses_.clear();
    held_.clear();
    squeezedIn_.clear();
    sessions_.clear();
    endResetModel();
}

void DayListModel::setRows(const QStringList &rows, const QVector<BookingStatus> &statuses,
                           const DayPlan &closed, const QVector<bool> &held, const QVector<bool> &squeezedIn,
                           const QStringList &sessions)
{
    beginResetModel();
    closed_ = closed;
    rows_ = rows;
    statuses_ = statuses;
    statuses_.resize(rows.size(), BookingStatus::ToConfirm);
    held_ = held;
    held_.resize(rows.size(), false);
    squeezedIn_ = squeezedIn;
    squeezedIn_.resize(rows.size(), false);
    sessions_ = sessions;
    while (sessions_.size() < rows.size())
        sessions_.append(QString());
    endResetModel();
}

} // namespace velmora
