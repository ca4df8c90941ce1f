#include "widgets/GridKeysUnit.h"

#include <QKeyEvent>

bool IsCtrlTab(const QKeyEvent* Key) {
    return (Key->key() == Qt::Key_Tab || Key->key() == Qt::Key_Backtab) &&
           (Key->modifiers() & Qt::ControlModifier);
}

bool IsBackwardTab(const QKeyEvent* Key) {
    return Key->key() == Qt::Key_Backtab || (Key->modifiers() & Qt::ShiftModifier);
}

bool ClaimAltArrows(QEvent* Event) {
    if (Event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* Key = static_cast<QKeyEvent*>(Event);
    if (!(Key->modifiers() & Qt::AltModifier) ||
        (Key->key() != Qt::Key_Up && Key->key() != Qt::Key_Down))
        return false;
    Event->accept();
    return true;
}
