#include "core/day_list_model.h"

#include <algorithm>

namespace velmora {

int DayListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant DayListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size() || role != Qt::DisplayRole)
        return {};
    return rows_.at(index.row());
}

int DayListModel::add(const QString &row)
{
    const auto at = std::upper_bound(rows_.begin(), rows_.end(), row, [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    const int position = static_cast<int>(at - rows_.begin());
    beginInsertRows({}, position, position);
    rows_.insert(position, row);
    endInsertRows();
    return position;
}

void DayListModel::removeAt(int position)
{
    if (position < 0 || position >= rows_.size())
        return;
    beginRemoveRows({}, position, position);
    rows_.removeAt(position);
    endRemoveRows();
}

void DayListModel::clear()
{
    if (rows_.isEmpty())
        return;
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void DayListModel::setRows(const QStringList &rows)
{
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

} // namespace velmora
