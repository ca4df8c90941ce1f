#pragma once

#include <QTableView>
#include <functional>

// A table whose cells are edited in place the same way everywhere in the
// application: Enter or F2 (or typing, where a view allows it) starts an
// edit of the current cell, Enter ends it, Escape cancels it, Tab moves on,
// and Ctrl+Tab or Ctrl+Shift+Tab leave the table for the next or previous
// control, also from an open editor.
class TEditingTableView : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    bool IsEditing() const { return state() == EditingState; }
    // The open in-place editor, if any.
    QWidget* Editor() const;
    // Ends an open edit: its text is handed on as with Enter, or dropped.
    void CloseEditor(bool Keep = true);
    // Moves the focus to the next (or previous) control of the window, past
    // the cells that Tab walks through.
    void LeaveTable(bool Backward);
    // For the event filter of the view's item delegate, on its editors: while
    // a cell is edited, Alt+Up and Alt+Down are the editor's, and Ctrl+Tab
    // ends the edit and leaves the table. True when the event was taken.
    bool FilterEditorEvent(QEvent* Event);
    // The selected cells as tab-separated text, a line per row of the range
    // they span (ready for a spreadsheet), each cell's text given by Text;
    // cells of the range that are not selected are empty. Empty without a
    // selection.
    QString SelectedCellsText(const std::function<QString(int Row, int Col)>& Text) const;

    // A cell's text as it is copied.
    using TCellText = std::function<QString(int Row, int Col)>;
    // A column's own width; 0 where the column is as wide as its caption.
    using TColumnWidth = std::function<int(int Col)>;
    // A table of one row per element over Model, as the tabs below the map
    // show them, filling the widget it was made in: rows of the grid's
    // height that cannot be resized, no row headers, a contiguous selection
    // of cells; Ctrl+C copies the selected cells as CopyText gives them.
    // Whenever columns come or go, every column gets its width anew (the
    // columns' meanings may have moved): Width's, or as wide as its caption
    // needs and at least ColumnWidth. In between, the user's widths stay.
    void SetUpElementTable(QAbstractItemModel* Model, int RowHeight, int ColumnWidth,
                           TCellText CopyText, TColumnWidth Width);
    // The selected cells as SelectedCellsText gives them with the copy text
    // of the element table.
    QString SelectionText() const;
    // Puts SelectionText on the clipboard, where there is a selection.
    void CopySelection() const;
    // Of an element table: Row becomes the current and only selected row,
    // in the current cell's column, or in Column where no cell is current;
    // there is no RowChosen for it. Nothing for a row out of range or
    // current already.
    void SelectRow(int Row, int Column);

Q_SIGNALS:
    // The user made another row of an element table current.
    void RowChosen(int Row);

protected:
    // Ctrl+Tab leaves the table; Enter edits the current cell where it may be
    // edited; Ctrl+C copies in an element table.
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void FitColumns();

    TCellText FCopyText;
    TColumnWidth FWidth;
    int FColumnWidth = 0;
    bool FSelecting = false;
};
