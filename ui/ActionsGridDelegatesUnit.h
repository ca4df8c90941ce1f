#pragma once

#include "model/ElementsUnit.h"

#include <QStyledItemDelegate>

class QPainter;
class TActionsStringGrid;

// The colour bar of a pathway element painted into a cell: from 0 at the left
// edge to the element's own value (tipping value, or the first time value in
// a time-based pathway) at the right edge. Nothing for a value of 0.
void PaintPathwayBar(QPainter& Painter, const TElementsList& List, const TElement& Element,
                     const QRect& CellRect);

// Room between a button's edge and its caption.
constexpr int ButtonCaptionIndent = 4;

// A fixed cell's caption as the grid draws it: bold, elided at the right,
// moved with the face of a pressed button.
void DrawButtonCaption(QPainter& Painter, const QRect& Rect, const QFont& Font,
                       const QPalette& Palette, const QString& Text, bool Down);

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
