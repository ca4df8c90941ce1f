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
    // A table of one row per element, as the tabs below the map show them:
    // rows of the grid's height that cannot be resized, no row headers, a
    // contiguous selection of cells; Ctrl+C runs Copy.
    void SetUpElementTable(int RowHeight, int ColumnWidth, std::function<void()> Copy);

protected:
    // Ctrl+Tab leaves the table; Enter edits the current cell where it may be
    // edited; Ctrl+C copies where the table was set up to.
    void keyPressEvent(QKeyEvent* Event) override;

private:
    std::function<void()> FCopy;
};
