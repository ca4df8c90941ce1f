#include "ui/ActionsGridModelUnit.h"

#include "base/NumberFormatUnit.h"
#include "map/CanvasUnit.h"

#include <QBrush>

#include <algorithm>

// ---------------------------------------------------------------------------
// TActionsGridModel

TActionsGridModel::TActionsGridModel(QObject* Parent) : TLiveTableModel(Parent) {
    Resize(0, WantedColumnCount());
}

void TActionsGridModel::SetElementsList(TElementsList* Value) {
    FElementsList = Value;
    Rebuild();
}

int32_t TActionsGridModel::WantedColumnCount() const {
    if (FElementsList && FElementsList->PathwayType() == ptTimeBased)
        return FirstValueColumn + std::max(0, FElementsList->TippingTimeValuesCount());
    return FirstValueColumn + 1;
}

bool TActionsGridModel::RowCountIsStale() const {
    return RowCount() != (FElementsList ? FElementsList->Count() : 0);
}

void TActionsGridModel::Rebuild() {
    Resize(FElementsList ? FElementsList->Count() : 0, WantedColumnCount());
    RepaintAll();
}

void TActionsGridModel::RefreshRow(int32_t Row) {
    if (Row >= 1 && Row <= RowCount())
        Q_EMIT dataChanged(index(Row - 1, 0), index(Row - 1, ColumnCount() - 1));
}

void TActionsGridModel::RefreshNameCell(int32_t Row) {
    if (Row >= 1 && Row <= RowCount())
        Q_EMIT dataChanged(index(Row - 1, NameColumn), index(Row - 1, NameColumn));
}

void TActionsGridModel::SetHighlightRow(int32_t Which, int32_t Row) {
    const int32_t Old = FHighlightRows[Which];
    if (Row == Old)
        return;
    FHighlightRows[Which] = Row;
    RefreshNameCell(Old);
    RefreshNameCell(Row);
}

TElement* TActionsGridModel::ElementOfRow(int32_t Row) const {
    if (!FElementsList || Row < 1 || Row > RowCount() || Row > FElementsList->Count())
        return nullptr;
    return FElementsList->Elements(Row - 1);
}

int32_t TActionsGridModel::RowOfElement(const TElement* Element) const {
    if (!FElementsList || !Element)
        return -1;
    const int32_t Last = std::min(RowCount(), FElementsList->Count());
    for (int32_t Index = 0; Index < Last; ++Index)
        if (FElementsList->Elements(Index) == Element)
            return Index + 1;
    return -1;
}

double TActionsGridModel::ValueOf(const TElement& Element, int32_t Col) const {
    if (FElementsList->PathwayType() == ptConditionBased)
        return Element.TippingPointValue();
    return Element.TippingTimeValue(Col - FirstValueColumn);
}

bool TActionsGridModel::ValueIsWarning(const TElement& Element, int32_t Col) const {
    const double Value = ValueOf(Element, Col);
    if (Element.IsPrimaryElement()) {
        // -1 stands for no current element even should some element carry it.
        const int32_t CurrentID = FElementsList->CurrentElementID();
        const TElement* Current = CurrentID == -1 ? nullptr : FElementsList->FindElement(CurrentID);
        return Current && Current != &Element && Value < ValueOf(*Current, Col);
    }
    const TElement* Predecessor = Element.PredecessorElement();
    return Predecessor && Value < ValueOf(*Predecessor, Col);
}

QString TActionsGridModel::CellText(int32_t Col, int32_t Row) const {
    if (Row == 0)
        return headerData(Col, Qt::Horizontal, Qt::DisplayRole).toString();
    const TElement* Element = ElementOfRow(Row);
    if (!Element || Col < 0 || Col >= ColumnCount())
        return QString();
    switch (Col) {
    case 0: {
        const QString Id = QString::number(Element->ID());
        const int32_t CurrentID = FElementsList->CurrentElementID();
        return CurrentID != -1 && Element->ID() == CurrentID ? QStringLiteral("-->") + Id : Id;
    }
    case 1:
        return QString();
    case NameColumn:
        return Element->Caption();
    case TypeColumn:
        switch (Element->CombinationType()) {
        case ctCombine:
            return QStringLiteral("Combine");
        case ctSequence:
            return QStringLiteral("Sequence");
        default:
            return QString();
        }
    default:
        return FormatFloat2(ValueOf(*Element, Col));
    }
}

QColor TActionsGridModel::CellColor(int32_t Col, int32_t Row) const {
    const TElement* Element = ElementOfRow(Row);
    if (!Element || Col < 0 || Col >= ColumnCount())
        return QColor();
    switch (Col) {
    case 0:
        return QColor();
    case 1:
        return Element->IsPrimaryElement() ? ColorToQColor(Element->MyColor()) : QColor();
    case NameColumn:
        return Row == FHighlightRows[0] || Row == FHighlightRows[1] ? RelatedNameColor() : QColor();
    case TypeColumn:
        return Element->CombinationType() == ctNone ? CreamColor() : QColor();
    default:
        return ValueIsWarning(*Element, Col) ? WarningColor() : ValueColor();
    }
}

bool TActionsGridModel::CellReadOnly(int32_t Col, int32_t Row) const {
    const TElement* Element = ElementOfRow(Row);
    if (!Element || Col < FixedColumnCount || Col >= ColumnCount())
        return true;
    return Col == TypeColumn && Element->CombinationType() == ctNone;
}

QVariant TActionsGridModel::data(const QModelIndex& Index, int Role) const {
    if (!Index.isValid())
        return QVariant();
    const int32_t Row = Index.row() + 1;
    const int32_t Col = Index.column();
    switch (Role) {
    case Qt::DisplayRole:
        return CellText(Col, Row);
    case Qt::BackgroundRole: {
        const QColor Color = CellColor(Col, Row);
        return Color.isValid() ? QVariant(QBrush(Color)) : QVariant();
    }
    case Qt::ForegroundRole:
        // The warning and highlight colours are light or saturated; black
        // reads on all of them whatever the desktop's text colour.
        return Col >= NameColumn ? QVariant(QBrush(Qt::black)) : QVariant();
    default:
        return QVariant();
    }
}

QVariant TActionsGridModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole || Section < 0 ||
        Section >= ColumnCount())
        return QVariant();
    switch (Section) {
    case 0:
        return tr("ID");
    case 1:
        return tr("Color");
    case NameColumn:
        return tr("Action or Pathway");
    case TypeColumn:
        return tr("Type of pathway");
    default:
        break;
    }
    if (!FElementsList || FElementsList->PathwayType() == ptConditionBased)
        return tr("Condition tipping point");
    const int32_t TimeColumn = Section - FirstValueColumn;
    return TimeColumn < FElementsList->TippingTimeValuesCount()
               ? FElementsList->TippingTimeColumnCaption(TimeColumn)
               : QString();
}

Qt::ItemFlags TActionsGridModel::flags(const QModelIndex& Index) const {
    if (!Index.isValid())
        return Qt::NoItemFlags;
    // The fixed cells are buttons: enabled, never selected or edited.
    if (Index.column() < FixedColumnCount)
        return Qt::ItemIsEnabled;
    Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!CellReadOnly(Index.column(), Index.row() + 1))
        Flags |= Qt::ItemIsEditable;
    return Flags;
}
