#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace velmora {

// The rows of the day slot list, kept in ascending text order without regard to case. A row added
// goes straight to its sorted place, after any row that compares equal to it.
class DayListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QStringList &rows() const { return rows_; }
    int add(const QString &row); // returns the row's position
    void removeAt(int position);
    void clear();
    // Rows already in their order, in one reset.
    void setRows(const QStringList &rows);

private:
    QStringList rows_;
};

} // namespace velmora
