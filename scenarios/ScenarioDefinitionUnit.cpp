#include "scenarios/ScenarioDefinitionUnit.h"

#include "base/NumberFormatUnit.h"
#include "scenarios/AddScenarioFormUnit.h"
#include "scenarios/ScenarioMatrixUnit.h"
#include "widgets/ErrorReportUnit.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/GridKeysUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

const int ClientWidth = 615;
const int ClientHeight = 300;
const int CommandPanelWidth = 144;
const int ButtonBarHeight = 41;
const int CommandButtonLeft = 6;
const int CommandButtonWidth = 123;
const int CommandButtonHeight = 22;

} // namespace

// ---------------------------------------------------------------- TScenarioMatrixModel

TScenarioMatrixModel::TScenarioMatrixModel(TCellGrid& Grid, QObject* Parent)
    : TLiveTableModel(Parent), FGrid(Grid) {
    Rebuild();
}

void TScenarioMatrixModel::Rebuild() {
    Resize(std::max(0, FGrid.RowCount() - 1), std::max(0, FGrid.ColCount() - 1));
    // The years are the row headers.
    if (RowCount() > 0)
        Q_EMIT headerDataChanged(Qt::Vertical, 0, RowCount() - 1);
    RepaintAll();
}

QVariant TScenarioMatrixModel::data(const QModelIndex& Index, int Role) const {
    if (!Index.isValid() || (Role != Qt::DisplayRole && Role != Qt::EditRole))
        return QVariant();
    return FGrid.Cells(Index.column() + 1, Index.row() + 1);
}

bool TScenarioMatrixModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
    if (!Index.isValid() || Role != Qt::EditRole)
        return false;
    FGrid.SetCells(Index.column() + 1, Index.row() + 1, Value.toString());
    Q_EMIT dataChanged(Index, Index);
    return true;
}

QVariant TScenarioMatrixModel::headerData(int Section, Qt::Orientation Orientation,
                                          int Role) const {
    if (Role != Qt::DisplayRole || Section < 0)
        return QVariant();
    if (Orientation == Qt::Horizontal)
        return FGrid.Cells(Section + 1, 0);
    return FGrid.Cells(0, Section + 1);
}

Qt::ItemFlags TScenarioMatrixModel::flags(const QModelIndex& Index) const {
    if (!Index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

// ---------------------------------------------------------------- TScenarioCellDelegate

TScenarioCellDelegate::TScenarioCellDelegate(TScenarioMatrixView* View)
    : QStyledItemDelegate(View), FView(View) {}

QWidget* TScenarioCellDelegate::createEditor(QWidget* Parent, const QStyleOptionViewItem&,
                                             const QModelIndex&) const {
    auto* Editor = new TFloatEdit(Parent);
    Editor->setFrame(false);
    return Editor;
}

void TScenarioCellDelegate::setEditorData(QWidget* Editor, const QModelIndex& Index) const {
    static_cast<QLineEdit*>(Editor)->setText(Index.data(Qt::EditRole).toString());
}

void TScenarioCellDelegate::setModelData(QWidget* Editor, QAbstractItemModel* Model,
                                         const QModelIndex& Index) const {
    const QString Typed = static_cast<QLineEdit*>(Editor)->text();
    if (Typed == Index.data(Qt::EditRole).toString())
        return;
    if (!IsTypedCellNumber(Typed)) {
        // The cell keeps what it held. The report waits for the event loop:
        // the editor is being closed here, inside the toolkit.
        const QPointer<QWidget> Window = FView->window();
        QMetaObject::invokeMethod(
            FView, [Window] { Modal().ShowError(Window, CellNotFloatMessage()); },
            Qt::QueuedConnection);
        return;
    }
    // A number is kept without grouping and in ASCII digits, so that the
    // file reads the same number; empty (no value for the year) and a lone
    // "-" (0) are kept as typed.
    Model->setData(Index, TypedNumberText(Typed), Qt::EditRole);
}

bool TScenarioCellDelegate::eventFilter(QObject* Object, QEvent* Event) {
    // Plain Tab moves to the next cell; with Ctrl it leaves the matrix, the
    // edit kept, as it does when no cell is being edited.
    if (FView->FilterEditorEvent(Event))
        return true;
    return QStyledItemDelegate::eventFilter(Object, Event);
}

// ---------------------------------------------------------------- TScenarioMatrixView

TScenarioMatrixView::TScenarioMatrixView(QWidget* Parent) : TEditingTableView(Parent) {
    setObjectName(QStringLiteral("ScenarioMatrixGrid"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new TScenarioCellDelegate(this));
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    QFont Bold = font();
    Bold.setBold(true);
    for (QHeaderView* Header : {horizontalHeader(), verticalHeader()}) {
        // Headers, not buttons: a click selects nothing.
        Header->setSectionsClickable(false);
        Header->setHighlightSections(false);
        Header->setFont(Bold);
    }
    horizontalHeader()->setDefaultSectionSize(ScenarioColumnWidth);
    horizontalHeader()->setFixedHeight(HeaderHeight);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(DataRowHeight);
    verticalHeader()->setFixedWidth(YearColumnWidth);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int TScenarioMatrixView::Col() const {
    const QModelIndex Index = currentIndex();
    return Index.isValid() ? Index.column() + 1 : 0;
}

int TScenarioMatrixView::Row() const {
    const QModelIndex Index = currentIndex();
    return Index.isValid() ? Index.row() + 1 : 0;
}

void TScenarioMatrixView::SetCurrentCell(int Col, int Row) {
    if (!model() || model()->rowCount() == 0 || model()->columnCount() == 0)
        return;
    const QModelIndex Index = model()->index(std::clamp(Row, 1, model()->rowCount()) - 1,
                                             std::clamp(Col, 1, model()->columnCount()) - 1);
    selectionModel()->setCurrentIndex(Index, QItemSelectionModel::ClearAndSelect);
    scrollTo(Index);
}

QRect TScenarioMatrixView::CellRect(int Col, int Row) const {
    return model() ? visualRect(model()->index(Row - 1, Col - 1)) : QRect();
}

QLineEdit* TScenarioMatrixView::CellEditor() const {
    return qobject_cast<QLineEdit*>(Editor());
}

void TScenarioMatrixView::FitColumnsToCaptions() {
    const int Count = model() ? model()->columnCount() : 0;
    FFittedWidths.resize(size_t(Count), -1);
    for (int C = 0; C < Count; ++C) {
        const int Fitted = FFittedWidths[size_t(C)];
        if (Fitted >= 0 && columnWidth(C) != Fitted)
            continue; // the user's width
        const int Width =
            std::max(int(ScenarioColumnWidth), horizontalHeader()->sectionSizeHint(C));
        setColumnWidth(C, Width);
        FFittedWidths[size_t(C)] = Width;
    }
}

void TScenarioMatrixView::keyPressEvent(QKeyEvent* Event) {
    if (IsCtrlTab(Event)) {
        LeaveTable(IsBackwardTab(Event));
        Event->accept();
        return;
    }
    switch (Event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // An open editor passes its Enter on after ending the edit; the
        // dialog must not take it for OK.
        if (IsEditing()) {
            Event->accept();
            return;
        }
        // Without a cell to edit, Enter is the dialog's.
        if (currentIndex().isValid()) {
            edit(currentIndex(), EditKeyPressed, Event);
            Event->accept();
            return;
        }
        Event->ignore();
        return;
    case Qt::Key_Escape:
        Event->ignore();
        return;
    default:
        QTableView::keyPressEvent(Event);
    }
}

void TScenarioMatrixView::mousePressEvent(QMouseEvent* Event) {
    // A click beside the cells keeps the current cell: the commands act on
    // its column.
    if (!indexAt(Event->position().toPoint()).isValid()) {
        Event->accept();
        return;
    }
    QTableView::mousePressEvent(Event);
}

bool TScenarioMatrixView::edit(const QModelIndex& Index, EditTrigger Trigger, QEvent* Event) {
    // Typing starts an edit only with a key that can begin a number; the
    // editor opens with the old text selected, so the key replaces it.
    if (Trigger == AnyKeyPressed && Event && Event->type() == QEvent::KeyPress) {
        const QString Text = static_cast<QKeyEvent*>(Event)->text();
        if (Text.size() != 1 || !TFloatEdit::AcceptsKey(Text.at(0), QString(), 0))
            return false;
    }
    return QTableView::edit(Index, Trigger, Event);
}

void TScenarioMatrixView::keyboardSearch(const QString&) {
    // Letters do not jump to a cell that begins with them: the cells hold
    // numbers.
}

// ---------------------------------------------------------------- TScenarioDefinitionForm

TScenarioDefinitionForm::TScenarioDefinitionForm(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(tr("ScenarioDefinitionForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    // Before any child is made: the headers take their bold face from it.
    setFont(ScenarioDialogFont());

    // Until an opener loads a matrix, the dialog shows the scenario table's
    // years without scenarios.
    TScenarioFrame Years;
    Years.SetBeginYear(MatrixFirstYear);
    Years.SetEndYear(2100);
    Years.SetTimeStep(MatrixYearStep);
    Years.SetupScenariosGrid();
    TScenarioFrame::CopyScenarioValues(Years.ScenariosStringGrid(), FScenarioMatrixGrid);

    // Created in the order the Tab key visits them.
    FMatrixModel = new TScenarioMatrixModel(FScenarioMatrixGrid, this);
    FMatrixView = new TScenarioMatrixView(this);
    FMatrixView->setModel(FMatrixModel);
    FMatrixView->setGeometry(0, 0, ClientWidth - CommandPanelWidth, ClientHeight - ButtonBarHeight);

    FCommandPanel = new QWidget(this);
    FCommandPanel->setGeometry(ClientWidth - CommandPanelWidth, 0, CommandPanelWidth,
                               ClientHeight - ButtonBarHeight);
    // Each command answers to Alt and its underlined letter.
    FAddScenarioAction = MakeCommand(tr("&Add Scenario"), 16, FAddScenarioButton,
                                     &TScenarioDefinitionForm::AddScenarioActionExecute);
    FRenameScenarioAction = MakeCommand(tr("&Rename Scenario"), 44, FRenameScenarioButton,
                                        &TScenarioDefinitionForm::RenameScenarioActionExecute);
    FInterpolateEmptyCellsAction =
        MakeCommand(tr("&Interpolate Empty Cells"), 72, FInterpolateEmptyCellsButton,
                    &TScenarioDefinitionForm::InterpolateEmptyCellsActionExecute);
    FDeleteScenarioAction = MakeCommand(tr("&Delete Scenario"), 136, FDeleteScenarioButton,
                                        &TScenarioDefinitionForm::DeleteScenarioActionExecute);
    FitCommandButtons();

    FButtonBar = new QWidget(this);
    FButtonBar->setGeometry(0, ClientHeight - ButtonBarHeight, ClientWidth, ButtonBarHeight);
    FCancelButton = new QPushButton(tr("Cancel"), FButtonBar);
    FCancelButton->setGeometry(424, 6, 75, 25);
    FCancelButton->setAutoDefault(false);
    FOKButton = new QPushButton(tr("OK"), FButtonBar);
    FOKButton->setGeometry(515, 6, 75, 25);
    FOKButton->setAutoDefault(false);
    FOKButton->setDefault(true);
    connect(FOKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(FMatrixView, FAddScenarioButton);
    setTabOrder(FAddScenarioButton, FRenameScenarioButton);
    setTabOrder(FRenameScenarioButton, FInterpolateEmptyCellsButton);
    setTabOrder(FInterpolateEmptyCellsButton, FDeleteScenarioButton);
    setTabOrder(FDeleteScenarioButton, FCancelButton);
    setTabOrder(FCancelButton, FOKButton);
    setFixedSize(ClientWidth, ClientHeight);
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
        move(Screen->availableGeometry().topLeft());

    FAddScenarioForm = new TAddScenarioForm(this);

    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance())
        connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (isVisible())
                UpdateActions();
        });
    ShowMatrix(1, 1);
}

TScenarioDefinitionForm::~TScenarioDefinitionForm() {
    // The view and its model read the matrix, which goes before the children
    // would.
    delete FMatrixView;
    delete FMatrixModel;
}

void TScenarioDefinitionForm::FitCommandButtons() {
    // Where the system's face is wider than the one the panel was laid out
    // for, the buttons widen together, centred in the panel, rather than cut
    // their captions off.
    QPushButton* Buttons[] = {FAddScenarioButton, FRenameScenarioButton,
                              FInterpolateEmptyCellsButton, FDeleteScenarioButton};
    int Width = CommandButtonWidth;
    for (const QPushButton* Button : Buttons)
        Width = std::max(Width, Button->sizeHint().width());
    const int Left = std::min(CommandButtonLeft, (CommandPanelWidth - Width) / 2);
    for (QPushButton* Button : Buttons)
        Button->setGeometry(Left, Button->y(), Width, CommandButtonHeight);
}

QAction* TScenarioDefinitionForm::MakeCommand(const QString& Caption, int Top, QPushButton*& Button,
                                              void (TScenarioDefinitionForm::*Execute)()) {
    auto* Action = new QAction(Caption, this);
    Button = new QPushButton(Caption, FCommandPanel);
    Button->setGeometry(CommandButtonLeft, Top, CommandButtonWidth, CommandButtonHeight);
    // Enter stays with OK whichever command has the focus.
    Button->setAutoDefault(false);
    QPushButton* Shown = Button;
    connect(Button, &QPushButton::clicked, Action, &QAction::trigger);
    connect(Action, &QAction::changed, Shown,
            [Shown, Action] { Shown->setEnabled(Action->isEnabled()); });
    connect(Action, &QAction::triggered, this, [this, Execute] {
        // A command works on what the matrix shows, an edit in progress
        // included. What fails in it is reported here; the dialog goes on.
        Guarded([this, Execute] {
            FMatrixView->CloseEditor(true);
            (this->*Execute)();
        });
    });
    return Action;
}

void TScenarioDefinitionForm::LoadMatrix(const TCellGrid& Source) {
    FMatrixView->CloseEditor(false);
    const int Col = FMatrixView->Col();
    const int Row = FMatrixView->Row();
    TScenarioFrame::CopyScenarioValues(Source, FScenarioMatrixGrid);
    ShowMatrix(Col, Row);
}

void TScenarioDefinitionForm::ShowMatrix(int Col, int Row) {
    FMatrixModel->Rebuild();
    FMatrixView->FitColumnsToCaptions();
    FMatrixView->SetCurrentCell(Col, Row);
    UpdateActions();
}

int TScenarioDefinitionForm::CurrentColumn() const {
    return FMatrixView->Col();
}

void TScenarioDefinitionForm::UpdateActions() {
    const bool ScenarioColumn = CurrentColumn() >= 1;
    FAddScenarioAction->setEnabled(true);
    FRenameScenarioAction->setEnabled(ScenarioColumn);
    FInterpolateEmptyCellsAction->setEnabled(ScenarioColumn);
    FDeleteScenarioAction->setEnabled(FScenarioMatrixGrid.ColCount() > 1);
}

void TScenarioDefinitionForm::AddScenarioActionExecute() {
    const TAnchorProposal Proposal = ProposeAnchors(FScenarioMatrixGrid, FMaxTippingPointValue);
    FAddScenarioForm->SetEditFirstValueEnabled(Proposal.EditFirstValue);
    FAddScenarioForm->SetFirstAnchorValue(Proposal.FirstAnchorValue);
    if (Proposal.LastAnchorValue)
        FAddScenarioForm->SetLastAnchorValue(*Proposal.LastAnchorValue);
    FAddScenarioForm->SetScenarioName(tr("New Scenario"));
    if (Modal().Exec(FAddScenarioForm) != QDialog::Accepted)
        return;
    TNewScenario Scenario;
    Scenario.Caption = FAddScenarioForm->ScenarioName();
    Scenario.FirstAnchorValue = FAddScenarioForm->FirstAnchorValue();
    Scenario.LastAnchorYear = FAddScenarioForm->LastAnchorYear();
    Scenario.LastAnchorValue = FAddScenarioForm->LastAnchorValue();
    Scenario.AutoInterpolate = FAddScenarioForm->AutoInterpolate();
    const int Col = AppendScenario(FScenarioMatrixGrid, Scenario);
    ShowMatrix(Col, FMatrixView->Row());
}

void TScenarioDefinitionForm::RenameScenarioActionExecute() {
    const int Col = CurrentColumn();
    if (Col < 1)
        return;
    QString Caption = FScenarioMatrixGrid.Cells(Col, 0);
    Modal().InputQuery(this, tr("Enter new scenario name"), tr("New name"), Caption);
    FScenarioMatrixGrid.SetCells(Col, 0, Caption);
    ShowMatrix(Col, FMatrixView->Row());
}

void TScenarioDefinitionForm::InterpolateEmptyCellsActionExecute() {
    const int Col = CurrentColumn();
    if (Col < 1)
        return;
    switch (InterpolateEmptyCells(FScenarioMatrixGrid, Col)) {
    case irNoGap:
        break;
    case irFilled:
        ShowMatrix(Col, FMatrixView->Row());
        break;
    case irTooFewValues:
        Modal().ShowMessage(this, TooFewValuesMessage(Col));
        break;
    }
}

void TScenarioDefinitionForm::DeleteScenarioActionExecute() {
    const int Col = CurrentColumn();
    if (Col < 1 || FScenarioMatrixGrid.ColCount() <= 1)
        return;
    const QString Question = QStringLiteral("Delete scenario \"") +
                             FScenarioMatrixGrid.Cells(Col, 0) + QStringLiteral("\"?");
    if (!Modal().Confirm(this, Question))
        return;
    const int Row = FMatrixView->Row();
    FScenarioMatrixGrid.DeleteColumn(Col);
    // The scenario that moved into the deleted one's place, or the new
    // rightmost one, becomes current.
    ShowMatrix(Col, Row);
}

void TScenarioDefinitionForm::done(int Result) {
    FMatrixView->CloseEditor(Result == QDialog::Accepted);
    QDialog::done(Result);
}

void TScenarioDefinitionForm::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    UpdateActions();
    FMatrixView->setFocus();
}
