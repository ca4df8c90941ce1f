#include "widgets/EditingTableUnit.h"

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

void TEditingTableView::keyPressEvent(QKeyEvent* Event) {
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
