#pragma once

#include <QAbstractTableModel>

// A table model whose cells are read live from the data it shows: nothing is
// copied, and a refresh only tells the views what changed shape. Rows and
// columns come and go at the end, so views keep their current cell and
// selection by number; the counts are remembered from the last refresh
// because views need them to stay put between notifications.
class TLiveTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;

protected:
    int RowCount() const { return FRowCount; }
    int ColumnCount() const { return FColumnCount; }
    // Brings the counts to Rows and Columns, adding or removing at the end.
    void Resize(int Rows, int Columns);
    // Repaints the column headers and every cell: one notification each,
    // whatever the number of rows, so views repaint only what they show.
    void RepaintAll();

private:
    int FRowCount = 0;
    int FColumnCount = 0;
};
