#include "ui/MainUnit.h"

#include "base/ReadReportUnit.h"
#include "document/DocumentSessionUnit.h"
#include "map/GraphSettingsUnit.h"
#include "map/GraphicsFrameUnit.h"
#include "map/XAxisSettingsFormUnit.h"
#include "scenarios/ScenarioDefinitionUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/AddCombinationFormUnit.h"
#include "ui/AddMeasureFormUnit.h"
#include "ui/DecisionsFrameUnit.h"
#include "ui/ElementEditsUnit.h"
#include "ui/PathShorteningUnit.h"
#include "ui/RecentFilesUnit.h"
#include "ui/SaveAndCloseUnit.h"
#include "ui/ScorecardFrameUnit.h"
#include "ui/TimeColumnSettingsUnit.h"
#include "widgets/ErrorReportUnit.h"
#include "widgets/KeyboardUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QTabWidget>
#include <QUndoStack>
#include <QUrl>
#include <algorithm>

namespace {

const int UpperBandHeight = 286;
const int CommandPanelWidth = 144;
const int TitlePathWidth = 400;

// The .pathway file among dropped files, if any.
QString DroppedPathwayFile(const QMimeData* Data) {
    if (!Data || !Data->hasUrls())
        return QString();
    for (const QUrl& Url : Data->urls())
        if (Url.isLocalFile() &&
            Url.toLocalFile().endsWith(QLatin1String(".pathway"), Qt::CaseInsensitive))
            return Url.toLocalFile();
    return QString();
}

} // namespace

TForm2::TForm2(const QStringList& Arguments, QWidget* Parent) : QMainWindow(Parent) {
    setWindowTitle(tr("Corvinal"));
    setAcceptDrops(true);
    FSession = new TDocumentSession(this);
    BuildWindow();
    FEdits = new TElementEdits(*this);
    FCommands = new TMainCommands(*this, FCommandPanel);
    BuildMenus();
    ConnectViews();
    FormCreate(Arguments);
    // The idle moment of the event loop is when the enabling rules are asked.
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance())
        connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                [this] { UpdateActions(); });
}

TForm2::~TForm2() {
    // The session tells the views of its changes as it goes; it goes while
    // the views are still whole, and the views go before the document they
    // read.
    FSession->disconnect(this);
    FFrame11->SetSession(nullptr);
    delete FSplitter;
    delete FSession;
}

void TForm2::BuildWindow() {
    resize(800, 542);
    FSplitter = new QSplitter(Qt::Vertical, this);
    FSplitter->setHandleWidth(3);
    FSplitter->setChildrenCollapsible(false);

    FUpperBand = new QWidget(FSplitter);
    FActionsStringGrid = new TActionsStringGrid(FUpperBand);
    FCommandPanel = new QWidget(FUpperBand);
    FCommandPanel->setFixedWidth(CommandPanelWidth);
    auto* Upper = new QHBoxLayout(FUpperBand);
    Upper->setContentsMargins(0, 0, 0, 0);
    Upper->setSpacing(0);
    Upper->addWidget(FActionsStringGrid, 1);
    Upper->addWidget(FCommandPanel);

    FPageControl = new QTabWidget(FSplitter);
    FFrame11 = new TGraphicsFrame(FPageControl);
    FPageControl->addTab(FFrame11, tr("Pathways"));
    FScorecardFrame = new TScorecardFrame(FPageControl);
    FPageControl->addTab(FScorecardFrame, tr("Scorecard"));
    FDecisionsFrame = new TDecisionsFrame(FPageControl);
    FPageControl->addTab(FDecisionsFrame, tr("Decisions"));
    LeaveTabsWithCtrlTab(FPageControl);

    FSplitter->addWidget(FUpperBand);
    FSplitter->addWidget(FPageControl);
    FSplitter->setStretchFactor(0, 0);
    FSplitter->setStretchFactor(1, 1);
    FSplitter->setSizes({UpperBandHeight, 542 - UpperBandHeight - 3});
    setCentralWidget(FSplitter);
    FGridEdits = new QObject(this);
}

void TForm2::BuildMenus() {
    TMainCommands& C = *FCommands;
    FFileMenu = menuBar()->addMenu(tr("&File"));
    FFileMenu->addAction(C.NewConditionAction());
    FFileMenu->addAction(C.NewTimeAction());
    FFileMenu->addAction(C.OpenAction());
    FRecentMenu = FFileMenu->addMenu(tr("Open &Recent"));
    FRecentFiles = new TRecentFiles(FRecentMenu, this);
    connect(FRecentFiles, &TRecentFiles::OpenRequested, this,
            [this](const QString& FileName) { Guarded([&] { OpenDocumentFile(FileName); }); });
    FFileMenu->addSeparator();
    C.SaveAction().Action->setText(tr("&Save"));
    FFileMenu->addAction(C.SaveAction().Action);
    FFileMenu->addAction(C.SaveAsAction());
    FFileMenu->addSeparator();
    FFileMenu->addAction(C.ExportMapAction());
    FFileMenu->addAction(C.ExportScorecardAction());
    FFileMenu->addAction(C.ExportDecisionsAction());
    FFileMenu->addSeparator();
    FFileMenu->addAction(C.QuitAction());

    FEditMenu = menuBar()->addMenu(tr("&Edit"));
    FEditMenu->addAction(C.UndoAction());
    FEditMenu->addAction(C.RedoAction());
    FEditMenu->addSeparator();
    // The menu names the commands more fully than the buttons do; the
    // buttons keep their own captions.
    C.AddSimpleElementAction().Action->setText(tr("Add &Action"));
    C.DeleteElementAction().Action->setText(tr("&Delete Action"));
    C.CombineAction().Action->setText(tr("Define &Pathway..."));
    C.MoveUpAction().Action->setText(tr("&Move Up"));
    C.MoveDownAction().Action->setText(tr("Move Do&wn"));
    C.AddTimeColumnAction().Action->setText(tr("Add Sce&nario..."));
    C.ScenarioEditAction().Action->setText(tr("&Scenarios..."));
    for (const TCommand* Command : {&C.AddSimpleElementAction(), &C.DeleteElementAction(),
                                    &C.CombineAction(), &C.MoveUpAction(), &C.MoveDownAction()})
        FEditMenu->addAction(Command->Action);
    FEditMenu->addSeparator();
    FEditMenu->addAction(C.EditMeasureAction());
    FEditMenu->addAction(C.ChooseColorAction());
    FEditMenu->addAction(C.PreferredRouteAction());
    FEditMenu->addAction(C.ColumnSettingsAction());
    FEditMenu->addSeparator();
    FEditMenu->addAction(C.AddTimeColumnAction().Action);
    FEditMenu->addAction(C.ScenarioEditAction().Action);

    FViewMenu = menuBar()->addMenu(tr("&View"));
    FViewMenu->addAction(C.XAxisSettingsAction());
    FViewMenu->addAction(C.GraphSettingsAction());
    FViewMenu->addSeparator();
    FViewMenu->addAction(C.PreviousTabAction());
    FViewMenu->addAction(C.NextTabAction());

    FHelpMenu = menuBar()->addMenu(tr("&Help"));
    FHelpMenu->addAction(C.AboutAction());
    EscapeLeavesMenuBar(menuBar());
}

void TForm2::ConnectViews() {
    FActionsStringGrid->SetElementsList(&FSession->Elements());
    FScorecardFrame->SetDocument(&FSession->Elements(), &FSession->Scenarios());
    FDecisionsFrame->SetDocument(&FSession->Elements(), &FSession->Scenarios());
    FSession->SetSelectionProvider([this] { return CurrentSelection(); });
    // The session tells from within its own work: nothing may go back
    // through the toolkit's signal from here. Its receivers hear it in the
    // order they were connected in. After a change the window's tables come
    // up to the document before the map redraws: a map that cannot be drawn
    // says so in a box whose event loop repaints the tables, and after an
    // undo their old contents point at freed elements. A new document goes
    // to the map first: the window then says whether the map could draw it.
    connect(FSession, &TDocumentSession::Changed, this,
            [this] { Guarded([this] { DocumentChanged(); }); });
    FFrame11->SetSession(FSession);
    connect(FSession, &TDocumentSession::Replaced, this,
            [this] { Guarded([this] { ShowNewDocument(); }); });
    connect(FSession, &TDocumentSession::SelectionRestored, this,
            [this](TStepSelection Selection) { Guarded([&] { RestoreSelection(Selection); }); });
    connect(FSession, &TDocumentSession::FileNameChanged, this,
            [this](const QString& FileName) { FileNameChanged(FileName); });

    // The grid's and the scorecard's edits go through the event loop: the
    // editor is closed before the cell is read, and an error they raise is
    // reported without passing through the toolkit's editing code.
    const auto Later = [this](std::function<void()> Work) {
        QMetaObject::invokeMethod(
            FGridEdits, [Work = std::move(Work)] { Guarded(Work); }, Qt::QueuedConnection);
    };
    connect(FActionsStringGrid, &TActionsStringGrid::HeaderClick, this,
            [=](int Col) { Later([=] { ActionsStringGridButtonClick(Col, 0); }); });
    connect(
        FActionsStringGrid, &TActionsStringGrid::ElementButtonClick, this,
        [=](int Col, int Index) { Later([=] { ActionsStringGridButtonClick(Col, Index + 1); }); });
    connect(FActionsStringGrid, &TActionsStringGrid::CellEdited, this,
            [=](int Index, int Col, const QString& Text) {
                Later([=] { FEdits->CellEdited(Index, Col, Text); });
            });
    connect(FActionsStringGrid, &TActionsStringGrid::TypeChosen, this,
            [=](int Index, int Item) { Later([=] { FEdits->TypeChosen(Index, Item); }); });
    connect(FScorecardFrame, &TScorecardFrame::CostEdited, this,
            [=](int Index, int Col, const QString& Text) {
                Later([=] { FEdits->CostEdited(Index, Col, Text); });
            });
    connect(FScorecardFrame->Model(), &TScorecardModel::PreferredToggled, this,
            [=](int Index) { Later([=] { FEdits->TogglePreferred(Index); }); });

    // The grid, the scorecard and the map's halo show the same element.
    const auto Select = [this](int Index) {
        Guarded([&] { FActionsStringGrid->SetSelection(Index + 1, FActionsStringGrid->Col()); });
    };
    connect(FScorecardFrame, &TScorecardFrame::RowSelected, this, Select);
    connect(FDecisionsFrame, &TDecisionsFrame::RowSelected, this, Select);
    connect(FActionsStringGrid, &TActionsStringGrid::SelectedRangeChanged, this,
            [this](int) { Guarded([this] { FollowGridSelection(); }); });
    connect(FFrame11, &TGraphicsFrame::ElementClicked, this, Select);
}

void TForm2::FormCreate(const QStringList& Arguments) {
    TOpenActions Action;
    QString FileName;
    {
        // No parent: the main window is not shown yet, and the start dialog
        // belongs in the middle of the screen.
        TAboutForm About(Arguments);
        Modal().Exec(&About);
        Action = About.Action();
        FileName = About.FileName();
    }
    // Until the window shows, what the document's file held that could not
    // be used waits: it is said over the window.
    FStartReportPending = Action != oaClose;
    switch (Action) {
    case oaClose:
        FStartCancelled = true;
        break;
    case oaOpenPathway:
        try {
            OpenPathwayFile(FileName);
        } catch (const std::exception& E) {
            // Never keep a half-read document that a later "Save" could write
            // over the file: report, then start afresh with a new pathway.
            ReportError(E);
            FSession->New(ptConditionBased);
        }
        break;
    case oaNewConditionPathway:
        FSession->New(ptConditionBased);
        break;
    case oaNewTimePathway:
        FSession->New(ptTimeBased);
        break;
    }
}

void TForm2::OpenPathwayFile(const QString& FileName) {
    // Filled while the file is read, and said when the session tells of the
    // new document; a file that cannot be read leaves nothing to say.
    FOpenReport = TReadReport();
    try {
        FSession->Open(FileName, &FOpenReport);
    } catch (...) {
        FOpenReport = TReadReport();
        throw;
    }
    AddRecentFile(FSession->FileName());
}

void TForm2::ShowNewDocument() {
    // The views as after any change, then the first element selected: a
    // selection that moves takes the tables' rows and the halo along.
    DocumentChanged();
    FActionsStringGrid->SetSelection(1, TActionsGridModel::NameColumn);
    UpdateActions();
    // The map view took the new document first: whether it could draw it is
    // known.
    if (FStartReportPending)
        return;
    ReportOpenedDocument(FFrame11->DrawingFailure());
}

void TForm2::DocumentChanged() {
    // The tables first: a grid that changes shape moves its selection, which
    // selects the tables' rows.
    FScorecardFrame->Refresh();
    FDecisionsFrame->Refresh();
    FActionsStringGrid->DrawActionsStringGrid();
    FollowGridSelection();
}

TStepSelection TForm2::CurrentSelection() const {
    return {FActionsStringGrid->Row(), FActionsStringGrid->Col()};
}

void TForm2::RestoreSelection(TStepSelection Selection) {
    if (Selection.Row >= 1)
        FActionsStringGrid->SetSelection(
            std::min(Selection.Row, FActionsStringGrid->RowCount() - 1), Selection.Col);
}

void TForm2::FollowGridSelection() {
    // Elements are made anew by undo and redo: the halo and the scorecard's
    // row are taken from the grid again after every change, not kept.
    const int32_t Top = FActionsStringGrid->SelectionTop();
    FScorecardFrame->SelectRow(Top - 1);
    FDecisionsFrame->SelectRow(Top - 1);
    FFrame11->SetHaloElement(FActionsStringGrid->ElementOfRow(Top));
}

void TForm2::ReportOpenedDocument(const QString& DrawingFailure) {
    const QStringList Problems = std::exchange(FOpenReport, TReadReport()).Lines();
    if (Problems.isEmpty()) {
        if (!DrawingFailure.isEmpty())
            Modal().ShowError(this, DrawingFailure);
        return;
    }
    // One message for the whole file, however much it holds: the first lines
    // show what is wrong and where.
    const int Shown = std::min<int>(int(Problems.size()), MaxReportedProblems);
    QStringList Lines = Problems.mid(0, Shown);
    if (Problems.size() > Shown)
        Lines << tr("... and %1 more.").arg(Problems.size() - Shown);
    QString Text = tr("%1 is open, but some of its values could not be used as they stand:\n\n")
                       .arg(PathwayFileName()) +
                   Lines.join(QLatin1Char('\n'));
    if (!DrawingFailure.isEmpty())
        Text += tr("\n\nThe map cannot be drawn: %1").arg(DrawingFailure);
    Modal().ShowMessage(this, Text);
}

void TForm2::ActionsStringGridButtonClick(int Col, int Row) {
    if (Row == 0) {
        if (Col >= TActionsGridModel::FirstValueColumn)
            FEdits->EditTimeColumn(Col);
        return;
    }
    if (Col == 0) {
        FActionsStringGrid->SetSelection(Row, TActionsGridModel::NameColumn);
        FEdits->EditElement(Row - 1);
    } else if (Col == 1) {
        FEdits->ChooseElementColor(Row - 1);
    }
}

void TForm2::FlushGridEdit() {
    FActionsStringGrid->CloseEditor();
    FScorecardFrame->View()->CloseEditor();
    QCoreApplication::sendPostedEvents(FGridEdits, QEvent::MetaCall);
}

// ---------------------------------------------------------------- the document

TElementsList* TForm2::MyElementsList() const {
    return &FSession->Elements();
}

TScenarioFrame* TForm2::ScenarioFrame1() const {
    return &FSession->Scenarios();
}

QUndoStack* TForm2::UndoStack() const {
    return FSession->UndoStack();
}

void TForm2::RecordStep(const QString& Name, const std::function<void()>& Change) {
    FSession->Change(Name, Change);
}

void TForm2::WriteDocumentTo(const QString& FileName) {
    FSession->WriteTo(FileName);
}

const QString& TForm2::PathwayFileName() const {
    return FSession->FileName();
}

void TForm2::SetPathwayFileName(const QString& Value) {
    FSession->SetFileName(Value);
}

void TForm2::FileNameChanged(const QString& FileName) {
    if (FileName.isEmpty()) {
        setWindowTitle(tr("Corvinal"));
        return;
    }
    const QFontMetrics Metrics(font());
    const QString Shown = ShortenPath(FileName, TitlePathWidth, [&Metrics](const QString& Text) {
        return Metrics.horizontalAdvance(Text);
    });
    setWindowTitle(tr("Corvinal [") + Shown + QLatin1Char(']'));
}

bool TForm2::ElementsListIsDirty() const {
    return FSession->ElementsListIsDirty();
}

void TForm2::SetElementsListIsDirty(bool Value) {
    FSession->SetElementsListIsDirty(Value);
}

bool TForm2::DocumentIsDirty() const {
    return FSession->IsDirty();
}

void TForm2::ClearDirtyFlags() {
    FSession->SetElementsListIsDirty(false);
}

QStringList TForm2::RecentFiles() const {
    return FRecentFiles->Files();
}

void TForm2::AddRecentFile(const QString& FileName) {
    FRecentFiles->Add(FileName);
}

int TForm2::BeginYear() const {
    return FSession->Scenarios().BeginYear();
}
void TForm2::SetBeginYear(int Value) {
    FSession->Scenarios().SetBeginYear(Value);
}
int TForm2::EndYear() const {
    return FSession->Scenarios().EndYear();
}
void TForm2::SetEndYear(int Value) {
    FSession->Scenarios().SetEndYear(Value);
}
int TForm2::TimeStep() const {
    return FSession->Scenarios().TimeStep();
}
void TForm2::SetTimeStep(int Value) {
    FSession->Scenarios().SetTimeStep(Value);
}

int32_t TForm2::RowOfPredecessor() const {
    return FActionsStringGrid->RowOfPredecessor();
}
void TForm2::SetRowOfPredecessor(int32_t Value) {
    FActionsStringGrid->SetRowOfPredecessor(Value);
}
int32_t TForm2::RowOfCombinationSecond() const {
    return FActionsStringGrid->RowOfCombinationSecond();
}
void TForm2::SetRowOfCombinationSecond(int32_t Value) {
    FActionsStringGrid->SetRowOfCombinationSecond(Value);
}

// ---------------------------------------------------------------- the window

void TForm2::CreateDialogs() {
    if (FCloseForm)
        return;
    FAddMeasureForm = new TAddMeasureForm(this);
    FGraphSettingsForm = new TGraphSettingsForm(this);
    FXAxisSettingsForm = new TXAxisSettingsForm(this);
    // It makes its own "Add Scenario" dialog, once.
    FScenarioDefinitionForm = new TScenarioDefinitionForm(this);
    // A save from the close question is a save like any other: should the
    // user stay after all (a cancelled or failed Open), the document is named
    // after the file and unchanged.
    FCloseForm = new TCloseForm(
        [this](const QString& FileName) {
            FSession->SaveAs(FileName);
            AddRecentFile(FSession->FileName());
        },
        this);
    FTimeColumnSettingsForm = new TTimeColumnSettingsForm(this);
    FAddCombinationForm = new TAddCombinationForm(this);
    FFrame11->SetSettingsForms(FXAxisSettingsForm, FGraphSettingsForm);
}

bool TForm2::FormCloseQuery() {
    FlushGridEdit();
    return FCommands->MayLeaveDocument(true);
}

void TForm2::closeEvent(QCloseEvent* Event) {
    // Refuse first: should the question fail, the window stays open.
    Event->ignore();
    Guarded([&] {
        if (FormCloseQuery())
            Event->accept();
    });
}

void TForm2::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    if (FStartReportPending) {
        FStartReportPending = false;
        QMetaObject::invokeMethod(
            this, [this] { ReportOpenedDocument(FFrame11->DrawingFailure()); },
            Qt::QueuedConnection);
    }
    // A map that cannot be drawn was reported when its document came; the
    // view says why again, without another box.
    FFrame11->DrawOrExplain();
}

void TForm2::dragEnterEvent(QDragEnterEvent* Event) {
    if (!DroppedPathwayFile(Event->mimeData()).isEmpty())
        Event->acceptProposedAction();
}

void TForm2::dropEvent(QDropEvent* Event) {
    const QString FileName = DroppedPathwayFile(Event->mimeData());
    if (FileName.isEmpty())
        return;
    Event->acceptProposedAction();
    // Opened from the event loop: the close question and the file's errors
    // are not asked in the middle of a drop.
    QMetaObject::invokeMethod(
        this, [this, FileName] { Guarded([&] { OpenDocumentFile(FileName); }); },
        Qt::QueuedConnection);
}
