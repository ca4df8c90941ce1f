#pragma once

#include "model/ElementsUnit.h"
#include "widgets/EditingTableUnit.h"
#include "widgets/LiveTableModelUnit.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>
#include <cstdint>
#include <vector>

class QPainter;

// The colour bar of a pathway element painted into a cell: from 0 at the left
// edge to the element's own value (tipping value, or the first time value in
// a time-based pathway) at the right edge. Nothing for a value of 0.
void PaintPathwayBar(QPainter& Painter, const TElementsList& List, const TElement& Element,
                     const QRect& CellRect);

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

// The header row: push buttons with a bold caption. A click (press and
// release on the same section, not on a resize grip) is reported instead of
// selecting a column; dragging a grip still resizes.
class TGridHeaderView : public QHeaderView {
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 22;

    explicit TGridHeaderView(QWidget* Parent = nullptr);

Q_SIGNALS:
    void ButtonClicked(int Section);

protected:
    void paintSection(QPainter* Painter, const QRect& Rect, int LogicalIndex) const override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    bool OnResizeGrip(const QPoint& Pos) const;

    int FPressedSection = -1;
    bool FPressedDown = false;
};

// Draws the fixed cells of data rows as push buttons: the id in bold, the
// colour cell of an action with the action's colour as its face, and the
// colour cell of a pathway element with the pathway's colour bar on it.
class TFixedCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
};

class TActionsStringGrid;

// Draws the scrolling cells with their model colours (the selection is not
// filled here, the grid outlines it) and edits them in place: a text field
// for the name, a drop-down of "Combine" and "Sequence" for the type, a
// number field for the values. An edit is handed to the grid only when its
// text changed, so that clicking into a cell and out again changes nothing.
class TDataCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TDataCellDelegate(TActionsStringGrid* Grid);

    QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option,
                          const QModelIndex& Index) const override;
    void setEditorData(QWidget* Editor, const QModelIndex& Index) const override;
    void setModelData(QWidget* Editor, QAbstractItemModel* Model,
                      const QModelIndex& Index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const override;
    bool eventFilter(QObject* Object, QEvent* Event) override;

private:
    TActionsStringGrid* FGrid;
};

// The fixed id and colour columns: a view laid over the left edge of the grid,
// sharing its model and selection, so the columns stay in place while the rest
// scrolls sideways. Its cells are buttons, not selectable cells.
class TFixedColumnsView : public QTableView {
    Q_OBJECT
public:
    explicit TFixedColumnsView(QWidget* Parent = nullptr);

    QModelIndex PressedIndex() const {
        return FPressedDown ? QModelIndex(FPressedIndex) : QModelIndex();
    }

Q_SIGNALS:
    void ButtonClicked(int Col, int Row);

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;

private:
    void SetPressedDown(bool Value);

    QPersistentModelIndex FPressedIndex;
    bool FPressedDown = false;
};

// The actions grid of the main window: one row per element of the list, a
// fixed header row and fixed id and colour columns.
class TActionsStringGrid : public TEditingTableView {
    Q_OBJECT
public:
    static constexpr int DefaultColumnWidth = 116;
    static constexpr int MinColumnWidth = 20;
    static constexpr int DataRowHeight = 24;

    explicit TActionsStringGrid(QWidget* Parent = nullptr);

    TActionsGridModel* Model() const { return FModel; }
    TElementsList* ElementsList() const { return FModel->ElementsList(); }
    void SetElementsList(TElementsList* Value);

    // Rebuilds the whole grid from the list: columns and their headers by
    // pathway type, one row per element.
    void DrawActionsStringGrid();
    // Repaints Row from Element. The row shows the list entry at Row - 1; when
    // that is not Element (the list changed shape), the whole grid is rebuilt.
    void DrawElementRow(TElement* Element, int32_t Row);

    TElement* ElementOfRow(int32_t Row) const { return FModel->ElementOfRow(Row); }
    int32_t RowOfElement(const TElement* Element) const { return FModel->RowOfElement(Element); }
    QString Cells(int32_t Col, int32_t Row) const { return FModel->CellText(Col, Row); }
    int32_t RowCount() const { return FModel->GridRowCount(); }
    int32_t ColCount() const { return FModel->GridColCount(); }

    // Rows whose name cell is highlighted as the predecessor and the second
    // element of the selected element. Setting one moves its highlight.
    int32_t RowOfPredecessor() const { return FModel->HighlightRow(0); }
    void SetRowOfPredecessor(int32_t Value) { FModel->SetHighlightRow(0, Value); }
    int32_t RowOfCombinationSecond() const { return FModel->HighlightRow(1); }
    void SetRowOfCombinationSecond(int32_t Value) { FModel->SetHighlightRow(1, Value); }

    // The grid row and column of the current cell. While the grid has data
    // rows there is always a current cell in a data row; without data rows
    // Row is 0 (the header) and Col is the name column.
    int32_t Row() const;
    int32_t Col() const;
    // Makes the cell current and the only selected one, and scrolls it into
    // view. Rows outside the data rows are ignored; fixed columns are not
    // selectable, so a column below the name column selects the name column.
    void SetSelection(int32_t Row, int32_t Col);
    // Top row of the selected range; 0 when nothing is selected.
    int32_t SelectionTop() const;

    int32_t ColumnWidth(int32_t Col) const { return columnWidth(Col); }
    void SetColumnWidth(int32_t Col, int32_t Width);

    TFixedColumnsView* FixedColumnsView() const { return FFixedView; }

    // In-place editing as in every table of the application (typing starts
    // an edit too). Opens the editor of a cell, as a click into it does;
    // false where the cell cannot be edited.
    bool EditCell(int32_t Row, int32_t Col);

Q_SIGNALS:
    // A fixed cell was clicked: a header cell (Row 0) or an id or colour cell.
    void ButtonClick(int Col, int Row);
    // An in-place edit of a name or value cell of the element at list index
    // Index ended with a text other than the one it started with.
    void CellEdited(int Index, int Col, const QString& Text);
    // A type was chosen in the drop-down of the type cell of the element at
    // list index Index: Item 0 for "Combine", 1 for "Sequence".
    void TypeChosen(int Index, int Item);
    // The selected range changed; the highlights are already updated.
    void SelectedRangeChanged(int TopRow);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction Action, Qt::KeyboardModifiers Modifiers) override;
    void scrollTo(const QModelIndex& Index, ScrollHint Hint = EnsureVisible) override;
    void initViewItemOption(QStyleOptionViewItem* Option) const override;
    void selectionChanged(const QItemSelection& Selected,
                          const QItemSelection& Deselected) override;

private:
    void UpdateFixedViewGeometry();
    void HideScrollingColumnsInFixedView();
    // Keeps a current cell in a data row while there are data rows.
    void RestoreCurrentCell(int32_t OldRow, int32_t OldCol);
    void GridSelectionChanged();
    void GridColumnResized(int Col, int OldWidth, int NewWidth);
    // Columns start at the default width, or wider when their caption would
    // not fit in the header's bold face; they follow their caption until the
    // user gives them a width of their own.
    void FitColumns(int First, int Last);
    int32_t FixedWidth() const;

    TActionsGridModel* FModel;
    TFixedColumnsView* FFixedView;
    // The cell a left click went down on: the click edits it when it comes
    // up there again.
    QPersistentModelIndex FClickedIndex;
    // The width each scrolling column was last given to fit its caption.
    std::vector<int> FFittedWidths;
};
