#include "app/window/NoticeGridModel.h"

namespace app {

void NoticeGridModel::setRows(GridRows rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int NoticeGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int NoticeGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kGridColumns;
}

QVariant NoticeGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || std::size_t(index.row()) >= m_rows.size())
        return {};
    const std::string_view text = m_rows.cell(std::size_t(index.row()), index.column());
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QVariant NoticeGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < kGridColumns ? QVariant(gridColumnNames()[std::size_t(section)]) : QVariant();
}

}  // namespace app
