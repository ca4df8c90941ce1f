#include "ui/ActionsGridDelegatesUnit.h"

#include "map/CanvasUnit.h"
#include "map/PathwayMapUnit.h"
#include "ui/ActionsGridUnit.h"
#include "widgets/FloatEditUnit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <algorithm>
#include <qdrawutil.h>

void DrawButtonCaption(QPainter& Painter, const QRect& Rect, const QFont& Font,
                       const QPalette& Palette, const QString& Text, bool Down) {
    if (Text.isEmpty())
        return;
    QFont Bold = Font;
    Bold.setBold(true);
    Painter.setFont(Bold);
    Painter.setPen(Palette.color(QPalette::ButtonText));
    // A pressed button's caption moves with its face.
    const int Shift = Down ? 1 : 0;
    const QRect TextRect = Rect.adjusted(ButtonCaptionIndent + Shift, Shift, -2, 0);
    const QString Shown =
        QFontMetrics(Bold).elidedText(Text, Qt::ElideRight, std::max(0, TextRect.width()));
    Painter.drawText(TextRect, Qt::AlignLeft | Qt::AlignVCenter, Shown);
}

void PaintPathwayBar(QPainter& Painter, const TElementsList& List, const TElement& Element,
                     const QRect& CellRect) {
    const double High = List.PathwayType() == ptConditionBased ? Element.TippingPointValue()
                                                               : Element.TippingTimeValue(0);
    if (High == 0)
        return;
    const QRect BarRect = CellRect.adjusted(2, 2, -2, -2);
    // The canvas clips to its own area, which starts at the origin: let it end
    // at the bar's far edges so that only the cell's clip limits the bar.
    TPainterCanvas Canvas(Painter, std::max(0, BarRect.x() + BarRect.width()),
                          std::max(0, BarRect.y() + BarRect.height()));
    DrawPathwayBar(Element, 0, Canvas, BarRect, 0, High);
}

// ---------------------------------------------------------------------------
// Delegates

void TFixedCellDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                               const QModelIndex& Index) const {
    const auto* Model = qobject_cast<const TActionsGridModel*>(Index.model());
    const auto* View = qobject_cast<const TFixedColumnsView*>(Option.widget);
    if (!Model) {
        QStyledItemDelegate::paint(Painter, Option, Index);
        return;
    }
    const int32_t Row = Index.row() + 1;
    const bool Down = View && View->PressedIndex() == Index;
    QBrush Face = Option.palette.brush(QPalette::Button);
    const QColor Color = Model->CellColor(Index.column(), Row);
    if (Color.isValid())
        Face = QBrush(Color);
    Painter->save();
    qDrawWinButton(Painter, Option.rect, Option.palette, Down, &Face);
    if (Index.column() == 1) {
        const TElement* Element = Model->ElementOfRow(Row);
        if (Element && !Element->IsPrimaryElement()) {
            Painter->setClipRect(Option.rect, Qt::IntersectClip);
            PaintPathwayBar(*Painter, *Model->ElementsList(), *Element, Option.rect);
        }
    } else {
        DrawButtonCaption(*Painter, Option.rect, Option.font, Option.palette,
                          Model->CellText(Index.column(), Row), Down);
    }
    Painter->restore();
}

namespace {

// The text an editor started with, kept on the editor itself.
const char* const InitialTextProperty = "InitialText";

} // namespace

TDataCellDelegate::TDataCellDelegate(TActionsStringGrid* Grid)
    : QStyledItemDelegate(Grid), FGrid(Grid) {}

void TDataCellDelegate::initStyleOption(QStyleOptionViewItem* Option,
                                        const QModelIndex& Index) const {
    QStyledItemDelegate::initStyleOption(Option, Index);
    // The grid outlines the selected range instead of filling it.
    Option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
}

QWidget* TDataCellDelegate::createEditor(QWidget* Parent, const QStyleOptionViewItem&,
                                         const QModelIndex& Index) const {
    if (Index.column() == TActionsGridModel::TypeColumn) {
        auto* Combo = new QComboBox(Parent);
        Combo->addItems({QStringLiteral("Combine"), QStringLiteral("Sequence")});
        // A choice takes effect at once, as a drop-down choice does.
        connect(Combo, qOverload<int>(&QComboBox::activated), this, [this, Combo] {
            Q_EMIT const_cast<TDataCellDelegate*>(this)->commitData(Combo);
            Q_EMIT const_cast<TDataCellDelegate*>(this)->closeEditor(Combo);
        });
        return Combo;
    }
    QLineEdit* Field = Index.column() >= TActionsGridModel::FirstValueColumn
                           ? new TFloatEdit(Parent)
                           : new QLineEdit(Parent);
    Field->setFrame(false);
    return Field;
}

void TDataCellDelegate::setEditorData(QWidget* Editor, const QModelIndex& Index) const {
    const auto* Model = qobject_cast<const TActionsGridModel*>(Index.model());
    if (!Model)
        return;
    const QString Text = Model->CellText(Index.column(), Index.row() + 1);
    Editor->setProperty(InitialTextProperty, Text);
    if (auto* Combo = qobject_cast<QComboBox*>(Editor))
        Combo->setCurrentIndex(Text == QLatin1String("Sequence") ? 1 : 0);
    else if (auto* Field = qobject_cast<QLineEdit*>(Editor))
        Field->setText(Text);
}

void TDataCellDelegate::setModelData(QWidget* Editor, QAbstractItemModel* Model,
                                     const QModelIndex& Index) const {
    const auto* Grid = qobject_cast<TActionsGridModel*>(Model);
    TElement* Element = Grid ? Grid->ElementOfRow(Index.row() + 1) : nullptr;
    if (!Element)
        return;
    const QString Initial = Editor->property(InitialTextProperty).toString();
    if (auto* Combo = qobject_cast<QComboBox*>(Editor)) {
        if (Combo->currentText() != Initial)
            Q_EMIT FGrid->TypeChosen(Index.row(), Combo->currentIndex());
        return;
    }
    const auto* Field = qobject_cast<QLineEdit*>(Editor);
    if (Field && Field->text() != Initial)
        Q_EMIT FGrid->CellEdited(Index.row(), Index.column(), Field->text());
}

bool TDataCellDelegate::eventFilter(QObject* Object, QEvent* Event) {
    if (FGrid->FilterEditorEvent(Event))
        return true;
    return QStyledItemDelegate::eventFilter(Object, Event);
}
