#include "ui/ScorecardFrameUnit.h"

#include "map/CanvasUnit.h"
#include "ui/ActionsGridUnit.h"
#include "widgets/FloatEditUnit.h"

#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace {

const char* const InitialTextProperty = "InitialText";

} // namespace

// ---------------------------------------------------------------- model

TScorecardModel::TScorecardModel(QObject* Parent) : TLiveTableModel(Parent) {}

void TScorecardModel::SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios) {
    FElements = Elements;
    FScenarios = Scenarios;
    Refresh();
}

void TScorecardModel::Refresh() {
    if (!FElements || !FScenarios) {
        FScorecard.reset();
        Resize(0, 0);
        return;
    }
    FScorecard = std::make_unique<TScorecard>(*FElements, *FScenarios);
    Resize(FScorecard->RowCount(), FScorecard->ColumnCount());
    RepaintAll();
}

TElement* TScorecardModel::ElementOfRow(int32_t Row) const {
    if (!FElements || Row < 0 || Row >= RowCount() || Row >= FElements->Count())
        return nullptr;
    return FElements->Elements(Row);
}

bool TScorecardModel::IsTypedCell(const QModelIndex& Index) const {
    if (IsCostColumn(Index.column()))
        return true;
    const TElement* Element = ElementOfRow(Index.row());
    return FScorecard && Index.column() < FScorecard->ColumnCount() &&
           FScorecard->Kind(Index.column()) == TScorecard::ckLeadTime && Element &&
           Element->IsPrimaryElement();
}

bool TScorecardModel::IsCostColumn(int32_t Col) const {
    if (!FScorecard || Col < 0 || Col >= FScorecard->ColumnCount())
        return false;
    const TScorecard::TColumnKind Kind = FScorecard->Kind(Col);
    return Kind == TScorecard::ckInitialCosts || Kind == TScorecard::ckTransferCosts ||
           Kind == TScorecard::ckRecurrentCosts;
}

QVariant TScorecardModel::data(const QModelIndex& Index, int Role) const {
    // The list may have changed shape since the last refresh; the next one
    // follows at once, and until then nothing is read past its end.
    if (!FScorecard || !Index.isValid() || Index.row() >= FScorecard->RowCount() ||
        Index.row() >= RowCount() || Index.column() >= FScorecard->ColumnCount())
        return QVariant();
    const int32_t Col = Index.column();
    switch (Role) {
    case Qt::DisplayRole:
        return FScorecard->Text(Index.row(), Col);
    case Qt::CheckStateRole:
        if (FScorecard->Kind(Col) != TScorecard::ckPreferred)
            return QVariant();
        return FScorecard->Element(Index.row()).Preferred() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        // Numbers and years line up on their last digit.
        if (FScorecard->IsNumberColumn(Col) || FScorecard->Kind(Col) == TScorecard::ckTippingYear ||
            FScorecard->Kind(Col) == TScorecard::ckLeadTime)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ToolTipRole: {
        const int32_t Scenario = FScorecard->Scenario(Col);
        return Scenario >= 0 ? QVariant(FScorecard->ScenarioError(Scenario)) : QVariant();
    }
    default:
        return QVariant();
    }
}

QVariant TScorecardModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (!FScorecard || Orientation != Qt::Horizontal || Role != Qt::DisplayRole || Section < 0 ||
        Section >= FScorecard->ColumnCount())
        return QVariant();
    return FScorecard->Caption(Section);
}

Qt::ItemFlags TScorecardModel::flags(const QModelIndex& Index) const {
    if (!Index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsTypedCell(Index))
        Flags |= Qt::ItemIsEditable;
    if (FScorecard && Index.column() < FScorecard->ColumnCount() &&
        FScorecard->Kind(Index.column()) == TScorecard::ckPreferred)
        Flags |= Qt::ItemIsUserCheckable;
    return Flags;
}

bool TScorecardModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
    if (Role != Qt::CheckStateRole || !FScorecard || !Index.isValid() ||
        Index.column() >= FScorecard->ColumnCount() ||
        FScorecard->Kind(Index.column()) != TScorecard::ckPreferred || !ElementOfRow(Index.row()))
        return false;
    const bool Wanted = Value.toInt() == Qt::Checked;
    if (Wanted != ElementOfRow(Index.row())->Preferred())
        Q_EMIT PreferredToggled(Index.row());
    return true;
}

// ---------------------------------------------------------------- delegate

TScorecardDelegate::TScorecardDelegate(TScorecardFrame* Frame)
    : QStyledItemDelegate(Frame), FFrame(Frame) {}

void TScorecardDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                               const QModelIndex& Index) const {
    const TScorecardModel* Model = FFrame->Model();
    const TScorecard* Card = Model->Scorecard();
    if (!Card || Index.column() >= Card->ColumnCount() ||
        Card->Kind(Index.column()) != TScorecard::ckColor) {
        QStyledItemDelegate::paint(Painter, Option, Index);
        return;
    }
    QStyledItemDelegate::paint(Painter, Option, Index);
    const TElement* Element = Model->ElementOfRow(Index.row());
    if (!Element)
        return;
    Painter->save();
    Painter->setClipRect(Option.rect, Qt::IntersectClip);
    if (Element->IsPrimaryElement())
        Painter->fillRect(Option.rect.adjusted(3, 3, -3, -3), ColorToQColor(Element->MyColor()));
    else
        PaintPathwayBar(*Painter, *Element->ElementsList(), *Element, Option.rect);
    Painter->restore();
}

QWidget* TScorecardDelegate::createEditor(QWidget* Parent, const QStyleOptionViewItem&,
                                          const QModelIndex& Index) const {
    const TScorecard* Card = FFrame->Model()->Scorecard();
    QLineEdit* Field = nullptr;
    if (Card && Index.column() < Card->ColumnCount() &&
        Card->Kind(Index.column()) == TScorecard::ckLeadTime) {
        // Whole years: digits only, the range is checked when the edit ends.
        Field = new QLineEdit(Parent);
        Field->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), Field));
    } else {
        Field = new TFloatEdit(Parent);
    }
    Field->setFrame(false);
    Field->setAlignment(Qt::AlignRight);
    return Field;
}

void TScorecardDelegate::setEditorData(QWidget* Editor, const QModelIndex& Index) const {
    const QString Text = Index.data(Qt::DisplayRole).toString();
    Editor->setProperty(InitialTextProperty, Text);
    if (auto* Field = qobject_cast<QLineEdit*>(Editor))
        Field->setText(Text);
}

void TScorecardDelegate::setModelData(QWidget* Editor, QAbstractItemModel*,
                                      const QModelIndex& Index) const {
    const auto* Field = qobject_cast<QLineEdit*>(Editor);
    if (Field && FFrame->Model()->ElementOfRow(Index.row()) &&
        Field->text() != Editor->property(InitialTextProperty).toString())
        Q_EMIT FFrame->CostEdited(Index.row(), Index.column(), Field->text());
}

bool TScorecardDelegate::eventFilter(QObject* Object, QEvent* Event) {
    if (FFrame->View()->FilterEditorEvent(Event))
        return true;
    return QStyledItemDelegate::eventFilter(Object, Event);
}

// ---------------------------------------------------------------- view

TScorecardView::TScorecardView(TScorecardFrame* Frame) : TEditingTableView(Frame) {
    setObjectName(QStringLiteral("ScorecardView"));
    TScorecardModel* Model = Frame->Model();
    // Numbers are copied in full with the user's decimal separator: ready
    // for a spreadsheet.
    const auto CopyText = [Model](int Row, int Col) {
        const TScorecard* Card = Model->Scorecard();
        return Card && Row < Card->RowCount() && Col < Card->ColumnCount()
                   ? Card->CopyText(Row, Col)
                   : QString();
    };
    const auto Width = [Model](int Col) {
        switch (Model->Scorecard()->Kind(Col)) {
        case TScorecard::ckID:
        case TScorecard::ckColor:
            return 64;
        case TScorecard::ckName:
            return 300;
        default:
            return 0;
        }
    };
    SetUpElementTable(Model, TActionsStringGrid::DataRowHeight,
                      TActionsStringGrid::DefaultColumnWidth, CopyText, Width);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
}

// ---------------------------------------------------------------- frame

TScorecardFrame::TScorecardFrame(QWidget* Parent)
    : QWidget(Parent), FModel(new TScorecardModel(this)), FView(new TScorecardView(this)) {
    FView->setItemDelegate(new TScorecardDelegate(this));
    connect(FView, &TEditingTableView::RowChosen, this, &TScorecardFrame::RowSelected);
}

void TScorecardFrame::SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios) {
    FModel->SetDocument(Elements, Scenarios);
}

void TScorecardFrame::Refresh() {
    FModel->Refresh();
}

void TScorecardFrame::SelectRow(int32_t Row) {
    if (const TScorecard* Card = FModel->Scorecard())
        FView->SelectRow(Row, std::max(0, Card->ColumnOf(TScorecard::ckName)));
}

int32_t TScorecardFrame::CurrentRow() const {
    const QModelIndex Index = FView->currentIndex();
    return Index.isValid() ? Index.row() : -1;
}
