#pragma once

#include "app/core/NoticeGrid.h"

#include <QAbstractTableModel>


namespace app {

// The notice grid's rows, loaded from the grid query.
class NoticeGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(GridRows rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    GridRows m_rows;
};

}  // namespace app
