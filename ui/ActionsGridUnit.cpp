#include "ui/ActionsGridUnit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <qdrawutil.h>

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
        Q_EMIT ButtonClicked(Index.column(), Index.row());
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
            [this](int Section) { Q_EMIT HeaderClick(Section); });
    connect(static_cast<TGridHeaderView*>(FFixedView->horizontalHeader()),
            &TGridHeaderView::ButtonClicked, this,
            [this](int Section) { Q_EMIT HeaderClick(Section); });
    connect(FFixedView, &TFixedColumnsView::ButtonClicked, this,
            &TActionsStringGrid::ElementButtonClick);
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
        const int Needed = Metrics.horizontalAdvance(Caption) + ButtonCaptionIndent + 8;
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
