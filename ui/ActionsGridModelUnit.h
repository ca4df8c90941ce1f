#pragma once

#include "model/ElementsUnit.h"
#include "widgets/LiveTableModelUnit.h"

#include <QColor>
#include <cstdint>

// Grid numbering is used throughout this unit: grid row 0 is the header row
// and grid row r (r >= 1) shows the element at list index r - 1. Columns 0 and
// 1 (id and colour) are fixed, column 2 holds the name, column 3 the
// combination type and columns 4 and up the tipping values.

// The actions grid's cells, read live from the elements list: a rebuild's
// cost does not grow with the number of elements, and a cell is computed only
// when a view paints it.
class TActionsGridModel : public TLiveTableModel {
    Q_OBJECT
public:
    static constexpr int FixedColumnCount = 2;
    static constexpr int NameColumn = 2;
    static constexpr int TypeColumn = 3;
    static constexpr int FirstValueColumn = 4;

    explicit TActionsGridModel(QObject* Parent = nullptr);

    // Not owned; the main window owns the list. Setting it rebuilds.
    TElementsList* ElementsList() const { return FElementsList; }
    void SetElementsList(TElementsList* Value);

    // Brings the column and row counts in line with the list and repaints
    // every cell. Rows and columns are added and removed at the end, so
    // selections keep their row numbers as the grid's view state.
    void Rebuild();
    // Repaints one grid row (all its columns) from the list.
    void RefreshRow(int32_t Row);
    // True when the remembered row count no longer matches the list.
    bool RowCountIsStale() const;

    // Grid-numbered queries; row 0 is the header.
    int32_t GridRowCount() const { return RowCount() + 1; }
    int32_t GridColCount() const { return ColumnCount(); }
    // None for the header row, for rows out of range and for a row whose list
    // entry went away before the next rebuild.
    TElement* ElementOfRow(int32_t Row) const;
    // The first grid row showing Element; -1 when no row does.
    int32_t RowOfElement(const TElement* Element) const;
    // The text a cell shows; the header texts for row 0.
    QString CellText(int32_t Col, int32_t Row) const;
    // The background the model gives a cell; invalid where the grid's normal
    // background shows.
    QColor CellColor(int32_t Col, int32_t Row) const;
    // Read-only cells cannot be edited: the header row, the fixed columns and
    // the empty type cell of an action.
    bool CellReadOnly(int32_t Col, int32_t Row) const;

    // Rows whose name cell is painted as related to the selected element
    // (-1 for none). View state: kept by row number across rebuilds.
    int32_t HighlightRow(int32_t Which) const { return FHighlightRows[Which]; }
    void SetHighlightRow(int32_t Which, int32_t Row);

    static QColor CreamColor() { return QColor(255, 251, 240); }
    static QColor ValueColor() { return QColor(166, 202, 240); }
    static QColor WarningColor() { return QColor(255, 0, 0); }
    static QColor RelatedNameColor() { return QColor(255, 240, 245); }

    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation,
                        int Role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;

private:
    int32_t WantedColumnCount() const;
    // The value an element shows in a value column.
    double ValueOf(const TElement& Element, int32_t Col) const;
    bool ValueIsWarning(const TElement& Element, int32_t Col) const;
    void RefreshNameCell(int32_t Row);

    TElementsList* FElementsList = nullptr;
    int32_t FHighlightRows[2] = {-1, -1};
};
