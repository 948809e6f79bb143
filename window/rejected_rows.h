// The rejected rows of the fleet window as a list of three columns (the row as the spreadsheet numbers
// it, the columns, the reason), read straight from the rows the fleet form keeps: nothing is copied,
// and only the rows on screen become texts, so 10 000 rows cost no more than the form holds already.
#pragma once

#include "batch/batch.h"

#include <QAbstractTableModel>

#include <span>

namespace window {

class RejectedRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // The rows to show; they stay valid until the next call (form::FleetControls::showRejectedRows).
    void show(std::span<const batch::RejectedRow> rows);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::span<const batch::RejectedRow> m_rows;
};

} // namespace window
