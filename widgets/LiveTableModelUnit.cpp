#include "widgets/LiveTableModelUnit.h"

int TLiveTableModel::rowCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : FRowCount;
}

int TLiveTableModel::columnCount(const QModelIndex& Parent) const {
    return Parent.isValid() ? 0 : FColumnCount;
}

void TLiveTableModel::Resize(int Rows, int Columns) {
    if (Columns > FColumnCount) {
        beginInsertColumns(QModelIndex(), FColumnCount, Columns - 1);
        FColumnCount = Columns;
        endInsertColumns();
    } else if (Columns < FColumnCount) {
        beginRemoveColumns(QModelIndex(), Columns, FColumnCount - 1);
        FColumnCount = Columns;
        endRemoveColumns();
    }
    if (Rows > FRowCount) {
        beginInsertRows(QModelIndex(), FRowCount, Rows - 1);
        FRowCount = Rows;
        endInsertRows();
    } else if (Rows < FRowCount) {
        beginRemoveRows(QModelIndex(), Rows, FRowCount - 1);
        FRowCount = Rows;
        endRemoveRows();
    }
}

void TLiveTableModel::RepaintAll() {
    if (FColumnCount > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, FColumnCount - 1);
    if (FRowCount > 0 && FColumnCount > 0)
        Q_EMIT dataChanged(index(0, 0), index(FRowCount - 1, FColumnCount - 1));
}
