#include "window/rejected_rows.h"

#include "form/fleet_texts.h"
#include "window/text.h"

namespace window {

namespace {

enum Column { Row, Columns, Reason, ColumnCount };

} // namespace

void RejectedRowsModel::show(std::span<const batch::RejectedRow> rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int RejectedRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int RejectedRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RejectedRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || static_cast<std::size_t>(index.row()) >= m_rows.size())
        return {};
    const batch::RejectedRow &row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::ToolTipRole && index.column() != Reason)
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) // a long reason shows whole as its tip
        return {};
    switch (index.column()) {
    case Row:
        return QString::number(row.row);
    case Columns:
        return fromUtf8(row.columns);
    case Reason:
        return fromUtf8(row.reason);
    default:
        return {};
    }
}

QVariant RejectedRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Row:
        return fromUtf8(form::fleet_text::kRowColumn);
    case Columns:
        return fromUtf8(form::fleet_text::kColumnsColumn);
    case Reason:
        return fromUtf8(form::fleet_text::kReasonColumn);
    default:
        return {};
    }
}

} // namespace window
