#include "widgets/EditingTableUnit.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>
#include <climits>

#include "widgets/GridKeysUnit.h"

#include <QKeyEvent>

QWidget* TEditingTableView::Editor() const {
    return IsEditing() ? indexWidget(currentIndex()) : nullptr;
}

void TEditingTableView::CloseEditor(bool Keep) {
    if (QWidget* Open = Editor()) {
        if (Keep)
            commitData(Open);
        closeEditor(Open, QAbstractItemDelegate::NoHint);
    }
}

void TEditingTableView::LeaveTable(bool Backward) {
    // The view's own version walks the cells; the widget's walks the window.
    QWidget::focusNextPrevChild(!Backward);
}

bool TEditingTableView::FilterEditorEvent(QEvent* Event) {
    if (ClaimAltArrows(Event))
        return true;
    if (Event->type() != QEvent::KeyPress || !IsCtrlTab(static_cast<QKeyEvent*>(Event)))
        return false;
    const bool Backward = IsBackwardTab(static_cast<QKeyEvent*>(Event));
    CloseEditor();
    LeaveTable(Backward);
    return true;
}

void TEditingTableView::SetUpElementTable(int RowHeight, int ColumnWidth,
                                          std::function<void()> Copy) {
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    horizontalHeader()->setHighlightSections(false);
    FCopy = std::move(Copy);
}

void TEditingTableView::keyPressEvent(QKeyEvent* Event) {
    if (FCopy && Event->matches(QKeySequence::Copy)) {
        FCopy();
        Event->accept();
        return;
    }
    if (IsCtrlTab(Event)) {
        LeaveTable(IsBackwardTab(Event));
        Event->accept();
        return;
    }
    if ((Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) && !IsEditing() &&
        currentIndex().isValid()) {
        if (model()->flags(currentIndex()) & Qt::ItemIsEditable)
            edit(currentIndex());
        Event->accept();
        return;
    }
    QTableView::keyPressEvent(Event);
}

QString
TEditingTableView::SelectedCellsText(const std::function<QString(int Row, int Col)>& Text) const {
    const QItemSelection Selection =
        selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (Selection.isEmpty() || !model())
        return QString();
    int Top = INT_MAX, Bottom = -1, Left = INT_MAX, Right = -1;
    for (const QItemSelectionRange& Range : Selection) {
        Top = std::min(Top, Range.top());
        Bottom = std::max(Bottom, Range.bottom());
        Left = std::min(Left, Range.left());
        Right = std::max(Right, Range.right());
    }
    QStringList Lines;
    for (int Row = Top; Row <= Bottom && Row < model()->rowCount(); ++Row) {
        QStringList Cells;
        for (int Col = Left; Col <= Right && Col < model()->columnCount(); ++Col)
            Cells << (Selection.contains(model()->index(Row, Col)) ? Text(Row, Col) : QString());
        Lines << Cells.join(QLatin1Char('\t'));
    }
    return Lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
