#include "widgets/EditingTableUnit.h"

#include "widgets/GridKeysUnit.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <climits>

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

void TEditingTableView::SetUpElementTable(QAbstractItemModel* Model, int RowHeight, int ColumnWidth,
                                          TCellText CopyText, TColumnWidth Width) {
    setModel(Model);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    horizontalHeader()->setHighlightSections(false);
    FCopyText = std::move(CopyText);
    FWidth = std::move(Width);
    FColumnWidth = ColumnWidth;
    if (QWidget* Holder = parentWidget()) {
        auto* Layout = new QHBoxLayout(Holder);
        Layout->setContentsMargins(0, 0, 0, 0);
        Layout->addWidget(this);
    }
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& Current) {
                if (!FSelecting && Current.isValid())
                    Q_EMIT RowChosen(Current.row());
            });
    connect(Model, &QAbstractItemModel::columnsInserted, this, [this] { FitColumns(); });
    connect(Model, &QAbstractItemModel::columnsRemoved, this, [this] { FitColumns(); });
    FitColumns();
}

void TEditingTableView::FitColumns() {
    const QFontMetrics Metrics(horizontalHeader()->font());
    for (int Col = 0; Col < model()->columnCount(); ++Col) {
        int Width = FWidth ? FWidth(Col) : 0;
        if (Width <= 0)
            Width = std::max(
                FColumnWidth,
                Metrics.horizontalAdvance(model()->headerData(Col, Qt::Horizontal).toString()) +
                    24);
        setColumnWidth(Col, Width);
    }
}

QString TEditingTableView::SelectionText() const {
    return FCopyText ? SelectedCellsText(FCopyText) : QString();
}

void TEditingTableView::CopySelection() const {
    const QString Text = SelectionText();
    if (!Text.isEmpty())
        QApplication::clipboard()->setText(Text);
}

void TEditingTableView::SelectRow(int Row, int Column) {
    if (!model() || Row < 0 || Row >= model()->rowCount() || currentIndex().row() == Row)
        return;
    const int Col = currentIndex().isValid() ? currentIndex().column() : Column;
    const QModelIndex Cell = model()->index(Row, std::min(Col, model()->columnCount() - 1));
    FSelecting = true;
    selectionModel()->setCurrentIndex(Cell, QItemSelectionModel::ClearAndSelect);
    // The row comes into view; sideways the table stays where the user left
    // it (a hidden tab would otherwise scroll as if it had no width).
    const int Sideways = horizontalScrollBar()->value();
    scrollTo(Cell);
    horizontalScrollBar()->setValue(Sideways);
    FSelecting = false;
}

void TEditingTableView::keyPressEvent(QKeyEvent* Event) {
    if (FCopyText && Event->matches(QKeySequence::Copy)) {
        CopySelection();
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
