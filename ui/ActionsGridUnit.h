#pragma once

#include "ui/ActionsGridDelegatesUnit.h"
#include "ui/ActionsGridModelUnit.h"
#include "widgets/EditingTableUnit.h"

#include <QHeaderView>
#include <QTableView>
#include <cstdint>
#include <vector>

// The actions grid's views: the header row of buttons, the fixed id and
// colour columns and the grid itself. Grid numbering as in the model: row 0
// is the header, row r shows the element at list index r - 1.

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
    // The id or colour button of the element at list index Index.
    void ButtonClicked(int Col, int Index);

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
    // A header button was clicked.
    void HeaderClick(int Col);
    // The id or colour button of the element at list index Index was
    // clicked.
    void ElementButtonClick(int Col, int Index);
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
