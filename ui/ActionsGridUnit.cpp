#include "ui/ActionsGridUnit.h"

#include "base/NumberFormatUnit.h"
#include "map/CanvasUnit.h"
#include "map/PathwayMapUnit.h"
#include "widgets/FloatEditUnit.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <qdrawutil.h>

namespace {

// Room between a button's edge and its caption.
constexpr int CaptionIndent = 4;

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
    const QRect TextRect = Rect.adjusted(CaptionIndent + Shift, Shift, -2, 0);
    const QString Shown =
        QFontMetrics(Bold).elidedText(Text, Qt::ElideRight, std::max(0, TextRect.width()));
    Painter.drawText(TextRect, Qt::AlignLeft | Qt::AlignVCenter, Shown);
}

} // namespace

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
        return QStringLiteral("ID");
    case 1:
        return QStringLiteral("Color");
    case NameColumn:
        return QStringLiteral("Action or Pathway");
    case TypeColumn:
        return QStringLiteral("Type of pathway");
    default:
        break;
    }
    if (!FElementsList || FElementsList->PathwayType() == ptConditionBased)
        return QStringLiteral("Condition tipping point");
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

// ---------------------------------------------------------------------------
// TGridHeaderView

TGridHeaderView::TGridHeaderView(QWidget* Parent) : QHeaderView(Qt::Horizontal, Parent) {
    // Not clickable: a click must not select a column; the button clicks are
    // reported by this header itself.
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
    setDefaultSectionSize(TActionsStringGrid::DefaultColumnWidth);
    // As narrow as the column settings allow, whatever the style's default.
    setMinimumSectionSize(TActionsStringGrid::MinColumnWidth);
    setFixedHeight(HeaderHeight);
}

void TGridHeaderView::paintSection(QPainter* Painter, const QRect& Rect, int LogicalIndex) const {
    if (!Rect.isValid())
        return;
    Painter->save();
    const bool Down = FPressedDown && LogicalIndex == FPressedSection;
    const QBrush Face = palette().brush(QPalette::Button);
    qDrawWinButton(Painter, Rect, palette(), Down, &Face);
    const QString Text =
        model() ? model()->headerData(LogicalIndex, orientation(), Qt::DisplayRole).toString()
                : QString();
    DrawButtonCaption(*Painter, Rect, font(), palette(), Text, Down);
    Painter->restore();
}

bool TGridHeaderView::OnResizeGrip(const QPoint& Pos) const {
    const int Logical = logicalIndexAt(Pos);
    if (Logical < 0)
        return false;
    const int Grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    const int Start = sectionViewportPosition(Logical);
    const int End = Start + sectionSize(Logical);
    if (Pos.x() >= End - Grip)
        return true;
    return Pos.x() < Start + Grip && visualIndex(Logical) > 0;
}

void TGridHeaderView::mousePressEvent(QMouseEvent* Event) {
    const QPoint Pos = Event->position().toPoint();
    if (Event->button() != Qt::LeftButton || OnResizeGrip(Pos) || logicalIndexAt(Pos) < 0) {
        QHeaderView::mousePressEvent(Event);
        return;
    }
    FPressedSection = logicalIndexAt(Pos);
    FPressedDown = true;
    viewport()->update();
    Event->accept();
}

void TGridHeaderView::mouseMoveEvent(QMouseEvent* Event) {
    if (FPressedSection < 0) {
        QHeaderView::mouseMoveEvent(Event);
        return;
    }
    const bool Down = logicalIndexAt(Event->position().toPoint()) == FPressedSection;
    if (Down != FPressedDown) {
        FPressedDown = Down;
        viewport()->update();
    }
    Event->accept();
}

void TGridHeaderView::mouseReleaseEvent(QMouseEvent* Event) {
    if (FPressedSection < 0 || Event->button() != Qt::LeftButton) {
        QHeaderView::mouseReleaseEvent(Event);
        return;
    }
    const int Section = FPressedSection;
    const bool Hit = logicalIndexAt(Event->position().toPoint()) == Section;
    FPressedSection = -1;
    FPressedDown = false;
    viewport()->update();
    Event->accept();
    if (Hit)
        Q_EMIT ButtonClicked(Section);
}

void TGridHeaderView::mouseDoubleClickEvent(QMouseEvent* Event) {
    // A quick second click on a button is another click; on a grip it is the
    // header's own double click.
    if (Event->button() == Qt::LeftButton && !OnResizeGrip(Event->position().toPoint()))
        mousePressEvent(Event);
    else
        QHeaderView::mouseDoubleClickEvent(Event);
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

// ---------------------------------------------------------------------------
// TFixedColumnsView

TFixedColumnsView::TFixedColumnsView(QWidget* Parent) : QTableView(Parent) {
    setObjectName(QStringLiteral("FixedColumnsView"));
    setHorizontalHeader(new TGridHeaderView(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(TActionsStringGrid::DataRowHeight);
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setItemDelegate(new TFixedCellDelegate(this));
}

void TFixedColumnsView::SetPressedDown(bool Value) {
    if (Value == FPressedDown)
        return;
    FPressedDown = Value;
    if (FPressedIndex.isValid())
        viewport()->update(visualRect(FPressedIndex));
}

// The cells are buttons: the mouse never moves the shared current cell or the
// selection from here.
void TFixedColumnsView::mousePressEvent(QMouseEvent* Event) {
    const QModelIndex Index = indexAt(Event->position().toPoint());
    if (Event->button() == Qt::LeftButton && Index.isValid()) {
        FPressedIndex = Index;
        SetPressedDown(true);
    }
    Event->accept();
}

void TFixedColumnsView::mouseMoveEvent(QMouseEvent* Event) {
    if (FPressedIndex.isValid())
        SetPressedDown(indexAt(Event->position().toPoint()) == FPressedIndex);
    Event->accept();
}

void TFixedColumnsView::mouseReleaseEvent(QMouseEvent* Event) {
    Event->accept();
    if (Event->button() != Qt::LeftButton || !FPressedIndex.isValid())
        return;
    const QModelIndex Index = FPressedIndex;
    const bool Hit = FPressedDown && indexAt(Event->position().toPoint()) == Index;
    SetPressedDown(false);
    FPressedIndex = QPersistentModelIndex();
    if (Hit)
        Q_EMIT ButtonClicked(Index.column(), Index.row() + 1);
}

void TFixedColumnsView::mouseDoubleClickEvent(QMouseEvent* Event) {
    mousePressEvent(Event);
}

// ---------------------------------------------------------------------------
// TActionsStringGrid

TActionsStringGrid::TActionsStringGrid(QWidget* Parent)
    : TEditingTableView(Parent), FModel(new TActionsGridModel(this)), FFixedView(nullptr) {
    setObjectName(QStringLiteral("ActionsStringGrid"));
    auto* Header = new TGridHeaderView(this);
    setHorizontalHeader(Header);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(DataRowHeight);
    setModel(FModel);
    setItemDelegate(new TDataCellDelegate(this));
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // F2 or typing edits the current cell; Enter and a click are handled
    // here (a click edits the cell it went down and came up on).
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    // Pixel steps sideways keep the scrolling columns aligned with the fixed
    // ones laid over the left edge.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setColumnWidth(0, 64);
    setColumnWidth(1, 64);
    setColumnWidth(TActionsGridModel::NameColumn, 500);

    FFixedView = new TFixedColumnsView(this);
    FFixedView->setModel(FModel);
    FFixedView->setSelectionModel(selectionModel());
    FFixedView->setColumnWidth(0, columnWidth(0));
    FFixedView->setColumnWidth(1, columnWidth(1));
    HideScrollingColumnsInFixedView();
    viewport()->stackUnder(FFixedView);

    connect(FModel, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int First, int Last) {
                HideScrollingColumnsInFixedView();
                FitColumns(First, Last);
            });
    connect(FModel, &QAbstractItemModel::columnsRemoved, this,
            [this](const QModelIndex&, int First, int) {
                // A column that comes back is new: it fits its caption again.
                if (size_t(First) < FFittedWidths.size())
                    FFittedWidths.resize(size_t(First));
            });
    connect(FModel, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation, int First, int Last) { FitColumns(First, Last); });
    connect(FModel, &QAbstractItemModel::modelReset, this,
            [this] { HideScrollingColumnsInFixedView(); });
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, FFixedView->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(FFixedView->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    // The fixed view lays itself out later than the grid may scroll (a new
    // last row selected right after a rebuild): it catches up then.
    connect(FFixedView->verticalScrollBar(), &QAbstractSlider::rangeChanged, this,
            [this] { FFixedView->verticalScrollBar()->setValue(verticalScrollBar()->value()); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            &TActionsStringGrid::GridColumnResized);
    connect(FFixedView->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int Col, int, int NewWidth) {
                if (Col < TActionsGridModel::FixedColumnCount)
                    setColumnWidth(Col, NewWidth);
            });
    connect(Header, &TGridHeaderView::ButtonClicked, this,
            [this](int Section) { Q_EMIT ButtonClick(Section, 0); });
    connect(static_cast<TGridHeaderView*>(FFixedView->horizontalHeader()),
            &TGridHeaderView::ButtonClicked, this,
            [this](int Section) { Q_EMIT ButtonClick(Section, 0); });
    connect(FFixedView, &TFixedColumnsView::ButtonClicked, this, &TActionsStringGrid::ButtonClick);
    FitColumns(TActionsGridModel::TypeColumn, FModel->columnCount() - 1);
    UpdateFixedViewGeometry();
}

void TActionsStringGrid::SetElementsList(TElementsList* Value) {
    const int32_t OldRow = Row();
    const int32_t OldCol = Col();
    FModel->SetElementsList(Value);
    RestoreCurrentCell(OldRow, OldCol);
}

void TActionsStringGrid::DrawActionsStringGrid() {
    const int32_t OldRow = Row();
    const int32_t OldCol = Col();
    FModel->Rebuild();
    RestoreCurrentCell(OldRow, OldCol);
}

void TActionsStringGrid::RestoreCurrentCell(int32_t OldRow, int32_t OldCol) {
    // Rows and columns come and go at the end, so the current cell keeps its
    // row number unless its row or column went away; then the nearest cell
    // takes over, as the commands act on the selected row.
    if (!currentIndex().isValid())
        SetSelection(std::clamp(OldRow, 1, std::max(1, RowCount() - 1)), OldCol);
}

void TActionsStringGrid::DrawElementRow(TElement* Element, int32_t Row) {
    if (FModel->RowCountIsStale() || FModel->ElementOfRow(Row) != Element) {
        DrawActionsStringGrid();
        return;
    }
    FModel->RefreshRow(Row);
}

int32_t TActionsStringGrid::Row() const {
    const QModelIndex Index = currentIndex();
    return Index.isValid() ? Index.row() + 1 : 0;
}

int32_t TActionsStringGrid::Col() const {
    const QModelIndex Index = currentIndex();
    return Index.isValid() ? Index.column() : TActionsGridModel::NameColumn;
}

void TActionsStringGrid::SetSelection(int32_t Row, int32_t Col) {
    if (Row < 1 || Row >= RowCount() || ColCount() <= TActionsGridModel::NameColumn)
        return;
    Col = std::clamp<int32_t>(Col, TActionsGridModel::NameColumn, ColCount() - 1);
    const QModelIndex Index = FModel->index(Row - 1, Col);
    selectionModel()->setCurrentIndex(Index, QItemSelectionModel::ClearAndSelect);
    scrollTo(Index);
}

int32_t TActionsStringGrid::SelectionTop() const {
    int Top = INT_MAX;
    const QItemSelection Selection = selectionModel()->selection();
    for (const QItemSelectionRange& Range : Selection)
        Top = std::min(Top, Range.top());
    return Top == INT_MAX ? 0 : Top + 1;
}

void TActionsStringGrid::FitColumns(int First, int Last) {
    QFont Bold = horizontalHeader()->font();
    Bold.setBold(true);
    const QFontMetrics Metrics(Bold);
    Last = std::min(Last, FModel->columnCount() - 1);
    for (int Col = std::max(First, int(TActionsGridModel::TypeColumn)); Col <= Last; ++Col) {
        if (size_t(Col) >= FFittedWidths.size())
            FFittedWidths.resize(size_t(Col) + 1, -1);
        const int Fitted = FFittedWidths[size_t(Col)];
        if (Fitted >= 0 && columnWidth(Col) != Fitted)
            continue; // the user's width
        const QString Caption = FModel->headerData(Col, Qt::Horizontal).toString();
        const int Needed = Metrics.horizontalAdvance(Caption) + CaptionIndent + 8;
        const int Width = std::max(int(DefaultColumnWidth), Needed);
        setColumnWidth(Col, Width);
        FFittedWidths[size_t(Col)] = Width;
    }
}

void TActionsStringGrid::SetColumnWidth(int32_t Col, int32_t Width) {
    setColumnWidth(Col, Width);
}

int32_t TActionsStringGrid::FixedWidth() const {
    return columnWidth(0) + columnWidth(1);
}

void TActionsStringGrid::GridColumnResized(int Col, int, int NewWidth) {
    if (Col >= TActionsGridModel::FixedColumnCount)
        return;
    FFixedView->setColumnWidth(Col, NewWidth);
    UpdateFixedViewGeometry();
}

void TActionsStringGrid::HideScrollingColumnsInFixedView() {
    if (!FFixedView)
        return;
    for (int Col = TActionsGridModel::FixedColumnCount; Col < FModel->columnCount(); ++Col)
        FFixedView->setColumnHidden(Col, true);
}

void TActionsStringGrid::UpdateFixedViewGeometry() {
    if (!FFixedView)
        return;
    FFixedView->setGeometry(frameWidth(), frameWidth(), FixedWidth(),
                            viewport()->height() + horizontalHeader()->height());
}

void TActionsStringGrid::mousePressEvent(QMouseEvent* Event) {
    // Clicking below the last row or right of the last column keeps the
    // selection: the commands always have a selected row to act on.
    const QModelIndex Index = indexAt(Event->position().toPoint());
    if (!Index.isValid()) {
        Event->accept();
        return;
    }
    const bool Plain = Event->button() == Qt::LeftButton &&
                       !(Event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    FClickedIndex = Plain ? QPersistentModelIndex(Index) : QPersistentModelIndex();
    QTableView::mousePressEvent(Event);
}

void TActionsStringGrid::mouseReleaseEvent(QMouseEvent* Event) {
    QTableView::mouseReleaseEvent(Event);
    const QModelIndex Clicked = FClickedIndex;
    FClickedIndex = QPersistentModelIndex();
    if (Event->button() == Qt::LeftButton && Clicked.isValid() && !IsEditing() &&
        indexAt(Event->position().toPoint()) == Clicked && currentIndex() == Clicked &&
        (model()->flags(Clicked) & Qt::ItemIsEditable))
        edit(Clicked);
}

bool TActionsStringGrid::EditCell(int32_t Row, int32_t Col) {
    SetSelection(Row, Col);
    const QModelIndex Index = currentIndex();
    if (!Index.isValid() || Index.row() + 1 != Row || Index.column() != Col ||
        !(model()->flags(Index) & Qt::ItemIsEditable))
        return false;
    setFocus();
    return edit(Index, QAbstractItemView::AllEditTriggers, nullptr);
}

void TActionsStringGrid::resizeEvent(QResizeEvent* Event) {
    QTableView::resizeEvent(Event);
    UpdateFixedViewGeometry();
}

void TActionsStringGrid::updateGeometries() {
    QTableView::updateGeometries();
    UpdateFixedViewGeometry();
}

QModelIndex TActionsStringGrid::moveCursor(CursorAction Action, Qt::KeyboardModifiers Modifiers) {
    QModelIndex Index = QTableView::moveCursor(Action, Modifiers);
    // The fixed columns are buttons under the fixed view: never current.
    if (Index.isValid() && Index.column() < TActionsGridModel::NameColumn)
        Index = FModel->index(Index.row(), TActionsGridModel::NameColumn);
    return Index;
}

void TActionsStringGrid::scrollTo(const QModelIndex& Index, ScrollHint Hint) {
    if (!Index.isValid() || Index.column() < TActionsGridModel::FixedColumnCount)
        return;
    QTableView::scrollTo(Index, Hint);
    // A cell that lies under the fixed columns is not visible yet.
    const int Left = visualRect(Index).left();
    if (Left < FixedWidth())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + Left - FixedWidth());
}

void TActionsStringGrid::initViewItemOption(QStyleOptionViewItem* Option) const {
    QTableView::initViewItemOption(Option);
    // Table views fill the panel behind a selected cell; the grid outlines
    // its selection instead.
    Option->showDecorationSelected = false;
}

void TActionsStringGrid::selectionChanged(const QItemSelection& Selected,
                                          const QItemSelection& Deselected) {
    QTableView::selectionChanged(Selected, Deselected);
    // The outline spans the whole range, so a changed range repaints it all.
    viewport()->update();
    GridSelectionChanged();
}

void TActionsStringGrid::GridSelectionChanged() {
    const int32_t Top = SelectionTop();
    if (const TElement* Element = ElementOfRow(Top)) {
        SetRowOfPredecessor(RowOfElement(Element->PredecessorElement()));
        SetRowOfCombinationSecond(RowOfElement(Element->CombinationSecondElement()));
    } else {
        SetRowOfPredecessor(-1);
        SetRowOfCombinationSecond(-1);
    }
    Q_EMIT SelectedRangeChanged(Top);
}

void TActionsStringGrid::paintEvent(QPaintEvent* Event) {
    QTableView::paintEvent(Event);
    const QItemSelection Selection = selectionModel()->selection();
    if (Selection.isEmpty())
        return;
    QPainter Painter(viewport());
    Painter.setPen(QPen(Qt::black, 1));
    Painter.setBrush(Qt::NoBrush);
    for (const QItemSelectionRange& Range : Selection) {
        const int Left = std::max(Range.left(), int(TActionsGridModel::NameColumn));
        if (Left > Range.right())
            continue;
        const int X0 = columnViewportPosition(Left);
        const int X1 = columnViewportPosition(Range.right()) + columnWidth(Range.right());
        const int Y0 = rowViewportPosition(Range.top());
        const int Y1 = rowViewportPosition(Range.bottom()) + rowHeight(Range.bottom());
        // Two pixels wide, inside the cells and clear of the grid lines.
        const QRect Outer(X0, Y0, X1 - 2 - X0, Y1 - 2 - Y0);
        Painter.drawRect(Outer);
        Painter.drawRect(Outer.adjusted(1, 1, -1, -1));
    }
}
