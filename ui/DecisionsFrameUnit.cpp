#include "ui/DecisionsFrameUnit.h"

#include "ui/ActionsGridUnit.h"

#include <QFont>
#include <QHeaderView>
#include <algorithm>

// ---------------------------------------------------------------- model

TDecisionsModel::TDecisionsModel(QObject* Parent) : TLiveTableModel(Parent) {}

void TDecisionsModel::SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios) {
    FElements = Elements;
    FScenarios = Scenarios;
    Refresh();
}

void TDecisionsModel::Refresh() {
    if (!FElements || !FScenarios) {
        FDecisions.reset();
        FOrder.clear();
        Resize(0, 0);
        return;
    }
    FDecisions = std::make_unique<TDecisions>(*FElements, *FScenarios);
    Order();
    Resize(FDecisions->RowCount(), FirstYearColumn + FDecisions->YearColumnCount());
    RepaintAll();
}

void TDecisionsModel::SetSortedByEarliest(bool Value) {
    if (Value == FSortedByEarliest)
        return;
    FSortedByEarliest = Value;
    Order();
    RepaintAll();
}

void TDecisionsModel::Order() {
    FOrder.clear();
    if (!FDecisions)
        return;
    for (int32_t Row = 0; Row < FDecisions->RowCount(); ++Row)
        FOrder.push_back(Row);
    if (!FSortedByEarliest)
        return;
    // Equal ones keep their list order.
    std::stable_sort(FOrder.begin(), FOrder.end(), [this](int32_t A, int32_t B) {
        return DecidedEarlier(FDecisions->Earliest(A), FDecisions->Earliest(B));
    });
}

int32_t TDecisionsModel::ListIndexOfRow(int32_t Row) const {
    if (!FDecisions || Row < 0 || size_t(Row) >= FOrder.size())
        return -1;
    return FDecisions->ListIndex(FOrder[size_t(Row)]);
}

int32_t TDecisionsModel::RowOfListIndex(int32_t Index) const {
    for (size_t Row = 0; FDecisions && Row < FOrder.size(); ++Row)
        if (FDecisions->ListIndex(FOrder[Row]) == Index)
            return int32_t(Row);
    return -1;
}

TDecisionYear TDecisionsModel::EarliestOfRow(int32_t Row) const {
    if (!FDecisions || Row < 0 || size_t(Row) >= FOrder.size())
        return {};
    return FDecisions->Earliest(FOrder[size_t(Row)]);
}

QString TDecisionsModel::Caption(int32_t Col) const {
    switch (Col) {
    case 0:
        return tr("ID");
    case 1:
        return tr("From");
    case 2:
        return tr("To");
    case 3:
        return tr("Type");
    case 4:
        return tr("Lead Time");
    default:
        break;
    }
    return FDecisions ? FDecisions->YearCaption(Col - FirstYearColumn) : QString();
}

QString TDecisionsModel::Text(int32_t Row, int32_t Col) const {
    if (!FDecisions || Row < 0 || size_t(Row) >= FOrder.size())
        return QString();
    const int32_t D = FOrder[size_t(Row)];
    switch (Col) {
    case 0:
        return QString::number(FDecisions->Element(D).ID());
    case 1:
        return FDecisions->From(D) ? FDecisions->From(D)->Caption() : QString();
    case 2:
        return FDecisions->To(D) ? FDecisions->To(D)->Caption() : QString();
    case 3:
        return FDecisions->TypeText(D);
    case 4:
        return QString::number(FDecisions->LeadTime(D));
    default:
        break;
    }
    return DecisionYearText(FDecisions->Year(D, Col - FirstYearColumn));
}

QVariant TDecisionsModel::data(const QModelIndex& Index, int Role) const {
    // The list may have changed shape since the last refresh; the next one
    // follows at once, and until then nothing is read past its end.
    if (!FDecisions || !Index.isValid() || size_t(Index.row()) >= FOrder.size() ||
        Index.row() >= RowCount() || Index.column() >= ColumnCount())
        return QVariant();
    const int32_t D = FOrder[size_t(Index.row())];
    const int32_t Col = Index.column();
    const bool Now = Col >= FirstYearColumn &&
                     FDecisions->Year(D, Col - FirstYearColumn).Kind == TDecisionYear::dyNow;
    switch (Role) {
    case Qt::DisplayRole:
        return Text(Index.row(), Col);
    case Qt::TextAlignmentRole:
        return int((Col == 0 || Col >= 4 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // A row with a decision due now stands out as a whole.
        return FDecisions->DueNow(D) ? QVariant(QColor(255, 228, 225)) : QVariant();
    case Qt::ForegroundRole:
        return Now ? QVariant(QColor(190, 0, 0)) : QVariant();
    case Qt::FontRole:
        if (Now) {
            QFont Bold;
            Bold.setBold(true);
            return Bold;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant TDecisionsModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole || Section < 0 ||
        Section >= ColumnCount())
        return QVariant();
    return Caption(Section);
}

// ---------------------------------------------------------------- view

TDecisionsView::TDecisionsView(TDecisionsFrame* Frame) : TEditingTableView(Frame) {
    setObjectName(QStringLiteral("DecisionsView"));
    TDecisionsModel* Model = Frame->Model();
    const auto CopyText = [Model](int Row, int Col) { return Model->Text(Row, Col); };
    // A narrow ID; From and To wide enough for the elements' names.
    const auto Width = [](int Col) {
        if (Col == 0)
            return 64;
        return Col == 1 || Col == 2 ? 220 : 0;
    };
    SetUpElementTable(Model, TActionsStringGrid::DataRowHeight,
                      TActionsStringGrid::DefaultColumnWidth, CopyText, Width);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionsClickable(true);
}

// ---------------------------------------------------------------- frame

TDecisionsFrame::TDecisionsFrame(QWidget* Parent)
    : QWidget(Parent), FModel(new TDecisionsModel(this)), FView(new TDecisionsView(this)) {
    connect(FView, &TEditingTableView::RowChosen, this,
            [this](int Row) { Q_EMIT RowSelected(FModel->ListIndexOfRow(Row)); });
    // A click on a header orders the rows by their earliest decision, and
    // another one back; the selected pathway stays selected.
    connect(FView->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int) {
        const int32_t Selected = FModel->ListIndexOfRow(FView->currentIndex().row());
        FModel->SetSortedByEarliest(!FModel->SortedByEarliest());
        FView->horizontalHeader()->setSortIndicatorShown(FModel->SortedByEarliest());
        SelectRow(Selected);
    });
}

void TDecisionsFrame::SetDocument(const TElementsList* Elements, const TScenarioFrame* Scenarios) {
    FModel->SetDocument(Elements, Scenarios);
}

void TDecisionsFrame::Refresh() {
    FModel->Refresh();
}

void TDecisionsFrame::SelectRow(int32_t Index) {
    FView->SelectRow(FModel->RowOfListIndex(Index), 1);
}
