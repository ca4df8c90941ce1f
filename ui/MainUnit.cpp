#include "ui/MainUnit.h"

#include "base/NumberFormatUnit.h"
#include "base/ReadReportUnit.h"
#include "document/DocumentHistoryUnit.h"
#include "document/PathwayFileUnit.h"
#include "document/ScorecardUnit.h"
#include "map/GraphSettingsUnit.h"
#include "map/GraphicsFrameUnit.h"
#include "map/XAxisSettingsFormUnit.h"
#include "scenarios/ScenarioDefinitionUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/AddCombinationFormUnit.h"
#include "ui/AddMeasureFormUnit.h"
#include "ui/ApplicationUnit.h"
#include "ui/PathShorteningUnit.h"
#include "ui/SaveAndCloseUnit.h"
#include "ui/ScorecardFrameUnit.h"
#include "ui/TimeColumnSettingsUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QUndoStack>
#include <QUrl>
#include <algorithm>

namespace {

const int UpperBandHeight = 286;
const int CommandPanelWidth = 144;
const int CommandButtonHeight = 35;
const int TitlePathWidth = 400;
const int RecentFilesCount = 10;
const int32_t MaxHistoryElements = 1000000;
const QString RecentFilesKey = QStringLiteral("RecentFiles");

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

// One change of the document: from the state when the scope begins to the
// state when it ends, pushed as one step when it ends, also when an error
// ends it (the change made so far stays undoable). Nothing is pushed when
// the document did not change.
class TStepScope {
public:
    TStepScope(TForm2& Form, QString Name)
        : FForm(Form), FName(std::move(Name)), FBefore(Form.CurrentState()),
          FSelection(Form.CurrentSelection()) {}
    ~TStepScope() { FForm.PushStep(FName, std::move(FBefore), FSelection); }
    TStepScope(const TStepScope&) = delete;
    TStepScope& operator=(const TStepScope&) = delete;

private:
    TForm2& FForm;
    QString FName;
    std::shared_ptr<const TDocumentState> FBefore;
    TStepSelection FSelection;
};

TForm2::TForm2(const QStringList& Arguments, QWidget* Parent) : QMainWindow(Parent) {
    setWindowTitle(QStringLiteral("Corvinal"));
    setAcceptDrops(true);
    BuildWindow();
    BuildCommands();
    BuildMenus();
    FormCreate(Arguments);
    // The idle moment of the event loop is when the enabling rules are asked.
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance())
        connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                [this] { UpdateActions(); });
}

TForm2::~TForm2() {
    // The history tells this window of its changes as it goes; it goes while
    // the window is still whole.
    FUndoStack->disconnect(this);
    delete FUndoStack;
    // The grid and the map view read the list and the scenario table, which
    // are members and would go before the child widgets: the views go first.
    delete FSplitter;
}

void TForm2::BuildWindow() {
    resize(800, 542);
    FMyElementsList = std::make_unique<TElementsList>();
    FScenarioFrame1 = std::make_unique<TScenarioFrame>();
    FUndoStack = new QUndoStack(this);

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
    FPageControl->addTab(FFrame11, QStringLiteral("Pathways"));
    FScorecardFrame = new TScorecardFrame(FPageControl);
    FPageControl->addTab(FScorecardFrame, QStringLiteral("Scorecard"));

    FSplitter->addWidget(FUpperBand);
    FSplitter->addWidget(FPageControl);
    FSplitter->setStretchFactor(0, 0);
    FSplitter->setStretchFactor(1, 1);
    FSplitter->setSizes({UpperBandHeight, 542 - UpperBandHeight - 3});
    setCentralWidget(FSplitter);
}

TCommand TForm2::MakeCommand(const QString& Caption, int Top, int Left, int Width,
                             std::function<void()> Execute, std::function<bool()> EnabledRule,
                             const QKeySequence& Shortcut) {
    TCommand Command;
    Command.Action = new QAction(Caption, this);
    if (!Shortcut.isEmpty()) {
        Command.Action->setShortcut(Shortcut);
        addAction(Command.Action);
    }
    Command.Button = new QPushButton(Caption, FCommandPanel);
    Command.Button->setGeometry(Left, Top, Width, CommandButtonHeight);
    Command.Button->setFocusPolicy(Qt::TabFocus);
    // A command whose work is not built yet stays disabled.
    Command.EnabledRule = Execute ? std::move(EnabledRule) : [] { return false; };
    if (Execute)
        connect(Command.Action, &QAction::triggered, this, std::move(Execute));
    if (!Shortcut.isEmpty())
        Command.Button->setToolTip(Caption + QStringLiteral(" (") +
                                   Shortcut.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    QPushButton* Button = Command.Button;
    QAction* Action = Command.Action;
    connect(Button, &QPushButton::clicked, Action, &QAction::trigger);
    connect(Action, &QAction::changed, Button,
            [Button, Action] { Button->setEnabled(Action->isEnabled()); });
    return Command;
}

void TForm2::BuildCommands() {
    auto Always = [] { return true; };
    auto SelectedRow = [this] { return FActionsStringGrid->Row(); };
    FAddSimpleElement = MakeCommand(
        QStringLiteral("Add Action"), 7, 15, 113, [this] { AddSimpleElementActionExecute(); },
        Always, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    FDeleteElement = MakeCommand(
        QStringLiteral("Delete Action"), 42, 15, 113, [this] { DeleteElementActionExecute(); },
        [=] {
            const TElement* E = FActionsStringGrid->ElementOfRow(SelectedRow());
            return E && E->DependencyCount() == 0;
        },
        QKeySequence(Qt::CTRL | Qt::Key_Delete));
    FCombine = MakeCommand(
        QStringLiteral("Pathway"), 76, 15, 113, [this] { CombineActionExecute(); }, Always,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    FMoveDown = MakeCommand(
        QStringLiteral("Down"), 110, 15, 57, [this] { MoveDownActionExecute(); },
        [=] { return SelectedRow() >= 1 && SelectedRow() < FActionsStringGrid->RowCount() - 1; },
        QKeySequence(Qt::ALT | Qt::Key_Down));
    FMoveUp = MakeCommand(
        QStringLiteral("Up"), 110, 71, 57, [this] { MoveUpActionExecute(); },
        [=] { return SelectedRow() >= 2; }, QKeySequence(Qt::ALT | Qt::Key_Up));
    FSave = MakeCommand(
        QStringLiteral("Save"), 144, 15, 113, [this] { SaveActionExecute(); }, Always,
        QKeySequence::Save);
    FAddTimeColumn = MakeCommand(
        QStringLiteral("Add Scenario"), 189, 15, 113, [this] { AddTimeColumnActionExecute(); },
        [this] { return FMyElementsList->PathwayType() == ptTimeBased; },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    FScenarioEdit = MakeCommand(
        QStringLiteral("Scenarios"), 230, 15, 113, [this] { ScenarioEditActionExecute(); },
        [this] { return FMyElementsList->PathwayType() == ptConditionBased; },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));

    auto MakeGridAction = [this](const QString& Caption, const QKeySequence& Shortcut,
                                 std::function<void()> Execute) {
        auto* Action = new QAction(Caption, this);
        Action->setShortcut(Shortcut);
        addAction(Action);
        connect(Action, &QAction::triggered, this, std::move(Execute));
        return Action;
    };
    FEditMeasureAction =
        MakeGridAction(QStringLiteral("Edit measure"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] {
            if (FActionsStringGrid->Row() >= 1)
                ActionsStringGridButtonClick(0, FActionsStringGrid->Row());
        });
    FChooseColorAction = MakeGridAction(QStringLiteral("Color"), QKeySequence(Qt::CTRL | Qt::Key_L),
                                        [this] { ChooseElementColor(FActionsStringGrid->Row()); });
    FPreferredRouteAction = MakeGridAction(
        QStringLiteral("Preferred route"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
        [this] { TogglePreferred(FActionsStringGrid->Row() - 1); });
    FPreferredRouteAction->setCheckable(true);
    FColumnSettingsAction = MakeGridAction(
        QStringLiteral("Time column settings"), QKeySequence(Qt::CTRL | Qt::Key_H), [this] {
            if (FActionsStringGrid->Col() >= TActionsGridModel::FirstValueColumn)
                ActionsStringGridButtonClick(FActionsStringGrid->Col(), 0);
        });

    // The grid's reports go through the event loop: an error they raise then
    // reaches the application's report without passing through the grid's
    // own editing code, and the editor is closed before the cell is read.
    connect(FActionsStringGrid, &TActionsStringGrid::ButtonClick, this,
            &TForm2::ActionsStringGridButtonClick, Qt::QueuedConnection);
    FGridEdits = new QObject(this);
    connect(FActionsStringGrid, &TActionsStringGrid::CellEdited, this,
            [this](TElement* Element, int Col, const QString& Text) {
                QMetaObject::invokeMethod(
                    FGridEdits, [=] { ActionsStringGridEditCellDone(Element, Col, Text); },
                    Qt::QueuedConnection);
            });
    connect(FFrame11, &TGraphicsFrame::SettingsAccepted, this, &TForm2::MapSettingsAccepted);
    // The scorecard follows every change of the document: each is a step.
    connect(FUndoStack, &QUndoStack::indexChanged, this, [this] { RefreshScorecard(); });
    connect(FScorecardFrame, &TScorecardFrame::CostEdited, this,
            [this](TElement* Element, int Col, const QString& Text) {
                QMetaObject::invokeMethod(
                    FGridEdits, [=] { ScorecardCostEdited(Element, Col, Text); },
                    Qt::QueuedConnection);
            });
    // The grid, the scorecard and the map's halo show the same element.
    connect(FScorecardFrame, &TScorecardFrame::RowSelected, this, [this](int Row) {
        FActionsStringGrid->SetSelection(Row + 1, FActionsStringGrid->Col());
    });
    connect(FActionsStringGrid, &TActionsStringGrid::SelectedRangeChanged, this,
            [this](int) { FollowGridSelection(); });
    connect(FFrame11, &TGraphicsFrame::ElementClicked, this, [this](int Index) {
        FActionsStringGrid->SetSelection(Index + 1, FActionsStringGrid->Col());
    });
    connect(FScorecardFrame->Model(), &TScorecardModel::PreferredToggled, this, [this](int Row) {
        QMetaObject::invokeMethod(
            FGridEdits, [=] { TogglePreferred(Row); }, Qt::QueuedConnection);
    });
    connect(FActionsStringGrid, &TActionsStringGrid::TypeChosen, this,
            [this](TElement* Element, int Index) {
                QMetaObject::invokeMethod(
                    FGridEdits, [=] { ActionsStringGridTypeChosen(Element, Index); },
                    Qt::QueuedConnection);
            });
}

namespace {

// The platform's keys for a standard command, or Fallback where it has none
// (not every desktop binds Save As or Quit).
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey Key, const QKeySequence& Fallback) {
    QList<QKeySequence> Keys = QKeySequence::keyBindings(Key);
    if (Keys.isEmpty())
        Keys << Fallback;
    return Keys;
}

} // namespace

void TForm2::BuildMenus() {
    auto MakeAction = [this](const QString& Caption, QList<QKeySequence> Shortcuts,
                             std::function<void()> Execute) {
        auto* Action = new QAction(Caption, this);
        Action->setShortcuts(Shortcuts);
        addAction(Action);
        connect(Action, &QAction::triggered, this, std::move(Execute));
        return Action;
    };
    FNewConditionAction = MakeAction(QStringLiteral("&New condition-based pathway"),
                                     QKeySequence::keyBindings(QKeySequence::New),
                                     [this] { NewDocument(ptConditionBased); });
    FNewTimeAction = MakeAction(QStringLiteral("New &time-based pathway"), {},
                                [this] { NewDocument(ptTimeBased); });
    FOpenAction =
        MakeAction(QStringLiteral("&Open..."), QKeySequence::keyBindings(QKeySequence::Open),
                   [this] { OpenActionExecute(); });
    FSaveAsAction = MakeAction(
        QStringLiteral("Save &As..."),
        StandardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
        [this] { SaveAsActionExecute(); });
    FExportMapAction =
        MakeAction(QStringLiteral("&Export Map..."), {}, [this] { FFrame11->SpeedButton3Click(); });
    FExportScorecardAction = MakeAction(QStringLiteral("Export S&corecard..."), {},
                                        [this] { ExportScorecardActionExecute(); });
    // Ctrl+PgUp and Ctrl+PgDown switch between the map and the scorecard.
    MakeAction(QStringLiteral("Previous tab"), {QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, [this] {
        const int Count = FPageControl->count();
        FPageControl->setCurrentIndex((FPageControl->currentIndex() + Count - 1) % Count);
    });
    MakeAction(QStringLiteral("Next tab"), {QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, [this] {
        FPageControl->setCurrentIndex((FPageControl->currentIndex() + 1) % FPageControl->count());
    });
    FQuitAction = MakeAction(QStringLiteral("&Quit"),
                             StandardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)),
                             [this] { close(); });
    FAboutAction =
        MakeAction(QStringLiteral("&About Corvinal"), {}, [this] { AboutActionExecute(); });

    // Undo and redo take an edit still open in the grid first, as one more
    // step: undo then takes back what was typed.
    QList<QKeySequence> RedoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& Key :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!RedoKeys.contains(Key))
            RedoKeys << Key;
    FUndoAction =
        MakeAction(QStringLiteral("&Undo"), QKeySequence::keyBindings(QKeySequence::Undo), [this] {
            FlushGridEdit();
            FUndoStack->undo();
        });
    FRedoAction = MakeAction(QStringLiteral("&Redo"), RedoKeys, [this] {
        FlushGridEdit();
        FUndoStack->redo();
    });
    FUndoAction->setEnabled(false);
    FRedoAction->setEnabled(false);
    connect(FUndoStack, &QUndoStack::canUndoChanged, FUndoAction, &QAction::setEnabled);
    connect(FUndoStack, &QUndoStack::canRedoChanged, FRedoAction, &QAction::setEnabled);
    connect(FUndoStack, &QUndoStack::undoTextChanged, this, [this](const QString& Text) {
        FUndoAction->setText(Text.isEmpty() ? QStringLiteral("&Undo")
                                            : QStringLiteral("&Undo ") + Text);
    });
    connect(FUndoStack, &QUndoStack::redoTextChanged, this, [this](const QString& Text) {
        FRedoAction->setText(Text.isEmpty() ? QStringLiteral("&Redo")
                                            : QStringLiteral("&Redo ") + Text);
    });

    FFileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    FFileMenu->addAction(FNewConditionAction);
    FFileMenu->addAction(FNewTimeAction);
    FFileMenu->addAction(FOpenAction);
    FRecentMenu = FFileMenu->addMenu(QStringLiteral("Open &Recent"));
    connect(FRecentMenu, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    FillRecentMenu();
    FFileMenu->addSeparator();
    FSave.Action->setText(QStringLiteral("&Save"));
    FFileMenu->addAction(FSave.Action);
    FFileMenu->addAction(FSaveAsAction);
    FFileMenu->addSeparator();
    FFileMenu->addAction(FExportMapAction);
    FFileMenu->addAction(FExportScorecardAction);
    FFileMenu->addSeparator();
    FFileMenu->addAction(FQuitAction);

    FEditMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    FEditMenu->addAction(FUndoAction);
    FEditMenu->addAction(FRedoAction);
    FEditMenu->addSeparator();
    // The menu names the commands more fully than the buttons do; the
    // buttons keep their own captions.
    FAddSimpleElement.Action->setText(QStringLiteral("Add &Action"));
    FDeleteElement.Action->setText(QStringLiteral("&Delete Action"));
    FCombine.Action->setText(QStringLiteral("Define &Pathway..."));
    FMoveUp.Action->setText(QStringLiteral("&Move Up"));
    FMoveDown.Action->setText(QStringLiteral("Move Do&wn"));
    FEditMeasureAction->setText(QStringLiteral("&Edit Measure..."));
    FChooseColorAction->setText(QStringLiteral("&Color..."));
    FPreferredRouteAction->setText(QStringLiteral("P&referred Route"));
    FColumnSettingsAction->setText(QStringLiteral("&Time Column Settings..."));
    FAddTimeColumn.Action->setText(QStringLiteral("Add Sce&nario..."));
    FScenarioEdit.Action->setText(QStringLiteral("&Scenarios..."));
    for (const TCommand* Command :
         {&FAddSimpleElement, &FDeleteElement, &FCombine, &FMoveUp, &FMoveDown})
        FEditMenu->addAction(Command->Action);
    FEditMenu->addSeparator();
    FEditMenu->addAction(FEditMeasureAction);
    FEditMenu->addAction(FChooseColorAction);
    FEditMenu->addAction(FPreferredRouteAction);
    FEditMenu->addAction(FColumnSettingsAction);
    FEditMenu->addSeparator();
    FEditMenu->addAction(FAddTimeColumn.Action);
    FEditMenu->addAction(FScenarioEdit.Action);

    FHelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    FHelpMenu->addAction(FAboutAction);
}

void TForm2::UpdateActions() {
    for (TCommand* Command : {&FAddSimpleElement, &FDeleteElement, &FCombine, &FMoveDown, &FMoveUp,
                              &FSave, &FAddTimeColumn, &FScenarioEdit})
        Command->Action->setEnabled(Command->EnabledRule());
    const TElement* Selected = FActionsStringGrid->ElementOfRow(FActionsStringGrid->Row());
    FPreferredRouteAction->setEnabled(Selected != nullptr);
    FPreferredRouteAction->setChecked(Selected && Selected->Preferred());
}

void TForm2::FormCreate(const QStringList& Arguments) {
    FActionsStringGrid->SetElementsList(FMyElementsList.get());
    SetBeginYear(2010);
    SetEndYear(2100);
    SetTimeStep(10);
    FMyElementsList->SetCurrentElementID(-1);
    FScenarioFrame1->SetupScenariosGrid();
    FFrame11->SetMyElementsList(FMyElementsList.get());
    FFrame11->SetMyScenarioFrame(FScenarioFrame1.get());
    FScorecardFrame->SetDocument(FMyElementsList.get(), FScenarioFrame1.get());

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
            ReportException(E);
            ResetToNewPathway();
        }
        break;
    case oaNewConditionPathway:
        NewPathway(ptConditionBased);
        break;
    case oaNewTimePathway:
        NewPathway(ptTimeBased);
        break;
    }

    StartHistory();
    FFrame11->UpdateSeriesSelector();
    FActionsStringGrid->DrawActionsStringGrid();
    RefreshScorecard();
    if (!FStartCancelled)
        DrawReportingErrors();
    UpdateActions();
}

void TForm2::DrawReportingErrors() {
    // At start-up the window is not shown yet: what the file holds that
    // could not be used, and a map that cannot be drawn, are said once it
    // stands on the screen, over it.
    FStartReport = FFrame11->DrawOrExplain();
    FStartReportPending = true;
}

void TForm2::ReportOpenedDocument(const QString& DrawingFailure) {
    const QStringList Problems = std::exchange(FOpenProblems, QStringList());
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
        Lines << QStringLiteral("... and %1 more.").arg(Problems.size() - Shown);
    QString Text = QStringLiteral("%1 is open, but some of its values could not be used as "
                                  "they stand:\n\n")
                       .arg(FPathwayFileName) +
                   Lines.join(QLatin1Char('\n'));
    if (!DrawingFailure.isEmpty())
        Text += QStringLiteral("\n\nThe map cannot be drawn: ") + DrawingFailure;
    Modal().ShowMessage(this, Text);
}

void TForm2::ResetToNewPathway(TPathwayType PathwayType) {
    // Nothing of the previous document stays: a fresh one, set up as at
    // start-up, then the new pathway in it.
    const TPathwayDocument Fresh;
    TDocumentState(Fresh.Elements, Fresh.Scenarios, Fresh.Settings)
        .PutBack(*FMyElementsList, *FScenarioFrame1, FFrame11->Settings());
    FFrame11->SettingsChanged();
    FPathwayFileName.clear();
    setWindowTitle(QStringLiteral("Corvinal"));
    NewPathway(PathwayType);
}

void TForm2::NewPathway(TPathwayType PathwayType) {
    FMyElementsList->SetPathwayType(PathwayType);
    FMyElementsList->SetTippingTimeValuesCount(1);
    TElement* Start = FMyElementsList->AddSimpleElement(QStringLiteral("Current Situation"),
                                                        RGBToColor(128, 128, 128), 10, 0, 1);
    FMyElementsList->SetCurrentElementID(Start->ID());
    FActionsStringGrid->DrawActionsStringGrid();
    FFrame11->SetMinTippingPointValue(0);
    FFrame11->SetMaxTippingPointValue(100);
}

void TForm2::OpenPathwayFile(const QString& FileName) {
    // A fresh document set up as at start-up takes the whole file; a file
    // that cannot be read leaves the window's document as it was.
    TPathwayDocument Fresh;
    TReadReport Report;
    Fresh.Load(FileName, &Report);
    FOpenProblems = Report.Lines();
    TDocumentState(Fresh.Elements, Fresh.Scenarios, Fresh.Settings)
        .PutBack(*FMyElementsList, *FScenarioFrame1, FFrame11->Settings());
    FFrame11->SettingsChanged();
    SetPathwayFileName(QDir::toNativeSeparators(QFileInfo(FileName).absoluteFilePath()));
    AddRecentFile(FPathwayFileName);
    StartHistory();
}

void TForm2::WriteDocumentTo(const QString& FileName) {
    SavePathwayFile(FileName, *FMyElementsList, *FScenarioFrame1, FFrame11->Settings());
}

void TForm2::SaveActionExecute() {
    FlushGridEdit();
    if (FPathwayFileName.trimmed().isEmpty()) {
        const QString Chosen =
            Modal().SaveFileName(this, PathwayFileFilter, PathwayFileExtension, true);
        if (!Chosen.isEmpty())
            SetPathwayFileName(QDir::toNativeSeparators(Chosen));
    }
    if (FPathwayFileName.trimmed().isEmpty())
        return;
    WriteDocumentTo(FPathwayFileName);
    ClearDirtyFlags();
    AddRecentFile(FPathwayFileName);
    Modal().ShowMessage(this, FPathwayFileName + QStringLiteral(" saved"));
}

// ---------------------------------------------------------------- editing

bool TForm2::HoldsElement(const TElement* Element) const {
    for (int32_t Index = 0; Element && Index < FMyElementsList->Count(); ++Index)
        if (FMyElementsList->Elements(Index) == Element)
            return true;
    return false;
}

void TForm2::ElementsChanged() {
    FElementListIsDirty = true;
    FFrame11->Draw();
}

void TForm2::FlushGridEdit() {
    FActionsStringGrid->CloseEditor();
    FScorecardFrame->View()->CloseEditor();
    QCoreApplication::sendPostedEvents(FGridEdits, QEvent::MetaCall);
}

void TForm2::AddSimpleElementActionExecute() {
    FlushGridEdit();
    TStepScope Step(*this, QStringLiteral("Add Action"));
    // 255 is never drawn.
    QRandomGenerator* Random = QRandomGenerator::global();
    const int Red = int(Random->bounded(255u));
    const int Green = int(Random->bounded(255u));
    const int Blue = int(Random->bounded(255u));
    FMyElementsList->AddSimpleElement(QStringLiteral("NewAction"), RGBToColor(Red, Green, Blue), 0,
                                      0, 0);
    FActionsStringGrid->DrawActionsStringGrid();
    // The new name can be typed at once.
    FActionsStringGrid->SetSelection(FActionsStringGrid->RowCount() - 1,
                                     TActionsGridModel::NameColumn);
    FActionsStringGrid->setFocus();
    ElementsChanged();
}

void TForm2::DeleteElementActionExecute() {
    FlushGridEdit();
    const int32_t Row = FActionsStringGrid->Row();
    TElement* Element = FActionsStringGrid->ElementOfRow(Row);
    // A shortcut can come before the enabling rule was asked again.
    if (!Element || Element->DependencyCount() > 0)
        return;
    TStepScope Step(*this, QStringLiteral("Delete Action"));
    // The current situation may go too when nothing is built on it; the
    // pathway is then without one.
    const int32_t CurrentID = FMyElementsList->CurrentElementID();
    if (CurrentID != -1 && FMyElementsList->FindElement(CurrentID) == Element)
        FMyElementsList->SetCurrentElementID(-1);
    FMyElementsList->Delete(Row - 1);
    FActionsStringGrid->DrawActionsStringGrid();
    ElementsChanged();
}

void TForm2::MoveDownActionExecute() {
    FlushGridEdit();
    const int32_t Row = FActionsStringGrid->Row();
    if (Row < 1 || Row >= FActionsStringGrid->RowCount() - 1)
        return;
    TStepScope Step(*this, QStringLiteral("Move Down"));
    FMyElementsList->Exchange(Row - 1, Row);
    FActionsStringGrid->DrawActionsStringGrid();
    FActionsStringGrid->SetSelection(Row + 1, FActionsStringGrid->Col());
    ElementsChanged();
}

void TForm2::MoveUpActionExecute() {
    FlushGridEdit();
    const int32_t Row = FActionsStringGrid->Row();
    if (Row < 2)
        return;
    TStepScope Step(*this, QStringLiteral("Move Up"));
    FMyElementsList->Exchange(Row - 1, Row - 2);
    FActionsStringGrid->DrawActionsStringGrid();
    FActionsStringGrid->SetSelection(Row - 1, FActionsStringGrid->Col());
    ElementsChanged();
}

void TForm2::AddTimeColumnActionExecute() {
    FlushGridEdit();
    if (FMyElementsList->PathwayType() != ptTimeBased)
        return;
    QString Name;
    if (!Modal().InputQuery(this, QStringLiteral("Enter name for new scenario column"),
                            QStringLiteral("Enter name"), Name))
        return;
    Name = Name.trimmed();
    if (Name.isEmpty())
        return;
    TStepScope Step(*this, QStringLiteral("Add Scenario"));
    const int32_t Count = FMyElementsList->TippingTimeValuesCount() + 1;
    FMyElementsList->SetTippingTimeValuesCount(Count);
    FMyElementsList->SetTippingTimeColumnCaption(Count - 1, Name);
    // The new scenario starts as a copy of the last one.
    for (int32_t Index = 0; Count >= 2 && Index < FMyElementsList->Count(); ++Index) {
        TElement* Element = FMyElementsList->Elements(Index);
        Element->SetTippingTimeValue(Count - 1, Element->TippingTimeValue(Count - 2));
    }
    FFrame11->UpdateSeriesSelector();
    FActionsStringGrid->DrawActionsStringGrid();
    // The selector now shows the first column; the map follows it, so that
    // the two never disagree.
    ElementsChanged();
}

void TForm2::ActionsStringGridButtonClick(int Col, int Row) {
    if (Row == 0) {
        if (Col >= TActionsGridModel::FirstValueColumn)
            EditTimeColumn(Col);
        return;
    }
    if (Col == 0) {
        FActionsStringGrid->SetSelection(Row, TActionsGridModel::NameColumn);
        EditElement(Row);
    } else if (Col == 1) {
        ChooseElementColor(Row);
    }
}

void TForm2::CombineActionExecute() {
    FlushGridEdit();
    CreateDialogs();
    FAddCombinationForm->SetMyElementsList(FMyElementsList.get());
    if (Modal().Exec(FAddCombinationForm) != QDialog::Accepted)
        return;
    const TElement* First = FAddCombinationForm->FirstElement();
    const TElement* Second = FAddCombinationForm->SecondElement();
    if (!First || !Second)
        return;
    TStepScope Step(*this, QStringLiteral("Define pathway"));
    TElement* Element = FMyElementsList->AddCombinationElement(
        First->Caption() + QStringLiteral(" + ") + Second->Caption(), First->TippingPointValue(),
        First->ID(), Second->ID());
    // In a time-based pathway the new element starts where First tips, in
    // every time column.
    if (FMyElementsList->PathwayType() == ptTimeBased)
        for (int32_t Column = 0; Column < Element->TippingTimeValuesLength(); ++Column)
            Element->SetTippingTimeValue(Column, First->TippingTimeValue(Column));
    Element->SetMyColor(Second->MyColor());
    Element->SetCombinationType(FAddCombinationForm->Combination());
    FActionsStringGrid->DrawActionsStringGrid();
    ElementsChanged();
}

void TForm2::ScenarioEditActionExecute() {
    FlushGridEdit();
    if (FMyElementsList->PathwayType() != ptConditionBased)
        return;
    CreateDialogs();
    FScenarioDefinitionForm->LoadMatrix(FScenarioFrame1->ScenariosStringGrid());
    FScenarioDefinitionForm->SetMaxTippingPointValue(FMyElementsList->MaxTippingPoint());
    if (Modal().Exec(FScenarioDefinitionForm) != QDialog::Accepted)
        return;
    TStepScope Step(*this, QStringLiteral("Scenarios"));
    TScenarioFrame::CopyScenarioValues(FScenarioDefinitionForm->ScenarioMatrixGrid(),
                                       FScenarioFrame1->ScenariosStringGrid());
    FScenarioFrame1->SetScenarioIsDirty(true);
    FFrame11->Draw();
}

void TForm2::EditElement(int32_t Row) {
    FlushGridEdit();
    CreateDialogs();
    TElement* Element = FActionsStringGrid->ElementOfRow(Row);
    if (!Element)
        return;
    const bool TimeBased = FMyElementsList->PathwayType() == ptTimeBased;
    const bool IsAction = Element->IsPrimaryElement();
    // The dialog shows the initial costs for an element of no combination
    // type and the transfer costs otherwise; what it shows is what it keeps,
    // also for a pathway element that a file left without a type.
    const bool ShowsInitialCosts = Element->CombinationType() == ctNone;
    const int32_t CurrentID = FMyElementsList->CurrentElementID();
    const bool WasCurrent = CurrentID != -1 && FMyElementsList->FindElement(CurrentID) == Element;
    TAddMeasureForm* Form = FAddMeasureForm;
    Form->SetMeasureName(Element->Caption());
    Form->SetMeasureColor(Element->MyColor());
    Form->SetTippingValue(TimeBased ? Element->TippingTimeValue(0) : Element->TippingPointValue());
    Form->SetCombinationType(Element->CombinationType());
    Form->SetCombinationFirstID(Element->PredecessorID());
    Form->SetCombinationSecondID(Element->CombinationSecondID());
    Form->SetPresentActionEnabled(IsAction);
    Form->SetPresentActionChecked(WasCurrent);
    Form->SetInitialCosts(Element->InitialCosts());
    Form->SetTransferCosts(Element->TransferCosts());
    Form->SetRecurrentCosts(Element->RecurrentCosts());
    if (Modal().Exec(Form) != QDialog::Accepted)
        return;

    // Every number is read before anything changes: a field that is no
    // number leaves the element, the grid and the dirty flag as they were.
    Form->CheckValues();
    const double Value = Form->TippingValue();
    const double InitialCosts = Form->InitialCosts();
    const double TransferCosts = Form->TransferCosts();
    const double RecurrentCosts = Form->RecurrentCosts();

    TStepScope Step(*this, QStringLiteral("Edit measure"));
    Element->SetCaption(Form->MeasureName());
    // A pathway element shows the colour of the action it leads to; its own
    // colour changes only when the user picked another one.
    if (Form->MeasureColor() != Element->MyColor())
        Element->SetMyColor(Form->MeasureColor());
    if (TimeBased) {
        if (Element->TippingTimeValuesLength() > 0)
            Element->SetTippingTimeValue(0, Value);
    } else {
        Element->SetTippingPointValue(Value);
    }
    Element->SetCombinationType(Form->CombinationType());
    if (ShowsInitialCosts)
        Element->SetInitialCosts(InitialCosts);
    else
        Element->SetTransferCosts(TransferCosts);
    Element->SetRecurrentCosts(RecurrentCosts);
    if (Form->PresentActionChecked())
        FMyElementsList->SetCurrentElementID(Element->ID());
    else if (WasCurrent)
        FMyElementsList->SetCurrentElementID(-1);
    // The grid shows the model as it is: the "-->" marker and the warning
    // colours of every row follow at once.
    FActionsStringGrid->DrawActionsStringGrid();
    ElementsChanged();
}

void TForm2::EditTimeColumn(int32_t Col) {
    FlushGridEdit();
    CreateDialogs();
    if (Col < TActionsGridModel::FirstValueColumn || Col >= FActionsStringGrid->ColCount())
        return;
    TTimeColumnSettingsForm* Form = FTimeColumnSettingsForm;
    Form->SetColumnName(FActionsStringGrid->Cells(Col, 0));
    Form->SetColumnWidth(FActionsStringGrid->ColumnWidth(Col));
    if (Modal().Exec(Form) != QDialog::Accepted)
        return;
    TStepScope Step(*this, QStringLiteral("Rename time column"));
    const int32_t Column = Col - TActionsGridModel::FirstValueColumn;
    if (FMyElementsList->PathwayType() == ptTimeBased &&
        Column < FMyElementsList->TippingTimeValuesCount() &&
        FMyElementsList->TippingTimeColumnCaption(Column) != Form->ColumnName()) {
        FMyElementsList->SetTippingTimeColumnCaption(Column, Form->ColumnName());
        FElementListIsDirty = true;
        FActionsStringGrid->DrawActionsStringGrid();
    }
    FActionsStringGrid->SetColumnWidth(Col, Form->ColumnWidth());
    FFrame11->UpdateSeriesSelector();
    // The selector now shows the first column; the map follows it.
    FFrame11->Draw();
}

void TForm2::ActionsStringGridEditCellDone(TElement* Element, int Col, const QString& Text) {
    if (!HoldsElement(Element))
        return;
    if (Col == TActionsGridModel::NameColumn) {
        if (Text == Element->Caption())
            return;
        TStepScope Step(*this, QStringLiteral("Rename"));
        Element->SetCaption(Text);
        FActionsStringGrid->DrawActionsStringGrid();
        ElementsChanged();
        return;
    }
    if (Col < TActionsGridModel::FirstValueColumn)
        return;
    // A text that is no number in the user's locale raises here; the cell
    // then shows the stored value again, since the grid shows what the model
    // holds.
    const double Value = TypedCellToFloat(Text);
    TStepScope Step(*this, QStringLiteral("Edit tipping value"));
    if (FMyElementsList->PathwayType() == ptConditionBased) {
        if (Value == Element->TippingPointValue())
            return;
        Element->SetTippingPointValue(Value);
    } else {
        const int32_t Column = Col - TActionsGridModel::FirstValueColumn;
        if (Column >= FMyElementsList->TippingTimeValuesCount() ||
            Value == Element->TippingTimeValue(Column))
            return;
        Element->SetTippingTimeValue(Column, Value);
    }
    FActionsStringGrid->DrawActionsStringGrid();
    ElementsChanged();
}

void TForm2::ActionsStringGridTypeChosen(TElement* Element, int Index) {
    if (!HoldsElement(Element) || Element->CombinationType() == ctNone)
        return;
    const TCombinationType Type = Index == 0 ? ctCombine : ctSequence;
    if (Type == Element->CombinationType())
        return;
    TStepScope Step(*this, QStringLiteral("Change type"));
    Element->SetCombinationType(Type);
    FActionsStringGrid->DrawElementRow(Element, FActionsStringGrid->RowOfElement(Element));
    ElementsChanged();
}

void TForm2::ChooseElementColor(int32_t Row) {
    TElement* Element = FActionsStringGrid->ElementOfRow(Row);
    if (!Element || !Element->IsPrimaryElement())
        return;
    // The colour dialog knows plain colours only: a system colour from a file
    // is offered as it is drawn.
    TColor Color = PlainColor(Element->MyColor());
    if (!Modal().ChooseColor(this, Color) || Color == Element->OwnColor())
        return;
    TStepScope Step(*this, QStringLiteral("Color"));
    Element->SetMyColor(Color);
    // Pathway elements that lead to the action show its colour in their bars.
    FActionsStringGrid->DrawActionsStringGrid();
    ElementsChanged();
}

void TForm2::TogglePreferred(int32_t Index) {
    FlushGridEdit();
    if (Index < 0 || Index >= FMyElementsList->Count())
        return;
    TElement* Element = FMyElementsList->Elements(Index);
    TStepScope Step(*this, Element->Preferred() ? QStringLiteral("Leave preferred route")
                                                : QStringLiteral("Preferred route"));
    Element->SetPreferred(!Element->Preferred());
    UpdateActions();
    ElementsChanged();
}

// ---------------------------------------------------------------- history

std::shared_ptr<const TDocumentState> TForm2::CurrentState() const {
    return std::make_shared<const TDocumentState>(*FMyElementsList, *FScenarioFrame1,
                                                  FFrame11->Settings());
}

TStepSelection TForm2::CurrentSelection() const {
    return {FActionsStringGrid->Row(), FActionsStringGrid->Col()};
}

void TForm2::PushStep(const QString& Name, std::shared_ptr<const TDocumentState> Before,
                      TStepSelection BeforeSelection) {
    PushStep(Name, std::move(Before), BeforeSelection, CurrentState());
}

void TForm2::PushStep(const QString& Name, std::shared_ptr<const TDocumentState> Before,
                      TStepSelection BeforeSelection, std::shared_ptr<const TDocumentState> After) {
    if (After->SameAs(*Before))
        return;
    if (FLastState && Before->SameAs(*FLastState))
        Before = FLastState;
    FLastState = After;
    FUndoStack->push(new TDocumentStep(
        Name, std::move(Before), BeforeSelection, std::move(After), CurrentSelection(),
        [this](const TDocumentState& State, TStepSelection Selection) {
            ApplyState(State, Selection);
        }));
}

void TForm2::ApplyState(const TDocumentState& State, TStepSelection Selection) {
    State.PutBack(*FMyElementsList, *FScenarioFrame1, FFrame11->Settings());
    FFrame11->SettingsChanged();
    // The map stays on the time column it showed, where that still exists.
    const int32_t Series = FFrame11->SeriesIndex();
    FFrame11->UpdateSeriesSelector();
    if (Series >= 0 && Series < FFrame11->ComboBox1()->count())
        FFrame11->ComboBox1()->setCurrentIndex(Series);
    FActionsStringGrid->DrawActionsStringGrid();
    if (Selection.Row >= 1)
        FActionsStringGrid->SetSelection(
            std::min(Selection.Row, FActionsStringGrid->RowCount() - 1), Selection.Col);
    // The map is drawn from the event loop: a drawing that fails (equal ends
    // of the tipping range) is reported there and cannot break off the step.
    QMetaObject::invokeMethod(
        this, [this] { FFrame11->Draw(); }, Qt::QueuedConnection);
}

void TForm2::RefreshScorecard() {
    FScorecardFrame->Refresh();
    FollowGridSelection();
}

void TForm2::FollowGridSelection() {
    // Elements are made anew by undo and redo: the halo and the scorecard's
    // row are taken from the grid again after every change, not kept.
    const int32_t Top = FActionsStringGrid->SelectionTop();
    FScorecardFrame->SelectRow(Top - 1);
    FFrame11->SetHaloElement(FActionsStringGrid->ElementOfRow(Top));
}

void TForm2::MapSettingsAccepted(const TGraphicsSettings& Before, const QString& Name) {
    std::shared_ptr<const TDocumentState> After = CurrentState();
    auto Earlier = std::make_shared<TDocumentState>(*After);
    Earlier->SetSettings(Before);
    PushStep(Name, std::move(Earlier), CurrentSelection(), std::move(After));
}

void TForm2::RecordStep(const QString& Name, const std::function<void()>& Change) {
    TStepScope Step(*this, Name);
    Change();
}

void TForm2::StartHistory() {
    FUndoStack->clear();
    FLastState.reset();
    // Every step keeps a copy of the document: a large document keeps fewer
    // steps, so that a long session stays within some hundred megabytes.
    const int32_t Elements = std::max<int32_t>(1, FMyElementsList->Count());
    FUndoStack->setUndoLimit(std::clamp(MaxHistoryElements / Elements, 100, 1000));
    ClearDirtyFlags();
}

void TForm2::SetElementsListIsDirty(bool Value) {
    FElementListIsDirty = Value;
    if (Value)
        FUndoStack->resetClean();
    else
        FUndoStack->setClean();
}

// ---------------------------------------------------------------- documents

void TForm2::ShowNewDocument() {
    FFrame11->SettingsChanged();
    FFrame11->UpdateSeriesSelector();
    FActionsStringGrid->DrawActionsStringGrid();
    FActionsStringGrid->SetSelection(1, TActionsGridModel::NameColumn);
    RefreshScorecard();
    UpdateActions();
    ReportOpenedDocument(FFrame11->DrawOrExplain());
}

bool TForm2::MayLeaveDocument(bool Closing) {
    CreateDialogs();
    FCloseForm->SetFileName(FPathwayFileName);
    FCloseForm->SetClosing(Closing);
    if (!DocumentIsDirty())
        return true;
    return Modal().Exec(FCloseForm) == QDialog::Accepted;
}

void TForm2::NewDocument(TPathwayType PathwayType) {
    FlushGridEdit();
    if (!MayLeaveDocument(false))
        return;
    ResetToNewPathway(PathwayType);
    StartHistory();
    ShowNewDocument();
}

void TForm2::OpenActionExecute() {
    FlushGridEdit();
    if (!MayLeaveDocument(false))
        return;
    const QString FileName = Modal().OpenFileName(this, PathwayFileFilter, PathwayFileExtension);
    if (FileName.isEmpty())
        return;
    OpenPathwayFile(FileName);
    ShowNewDocument();
}

void TForm2::OpenDocumentFile(const QString& FileName) {
    FlushGridEdit();
    if (!MayLeaveDocument(false))
        return;
    OpenPathwayFile(FileName);
    ShowNewDocument();
}

void TForm2::SaveAsActionExecute() {
    FlushGridEdit();
    const QString Chosen =
        Modal().SaveFileName(this, PathwayFileFilter, PathwayFileExtension, true);
    if (Chosen.isEmpty())
        return;
    // The document is named after the file only once it is written there.
    WriteDocumentTo(Chosen);
    SetPathwayFileName(QDir::toNativeSeparators(QFileInfo(Chosen).absoluteFilePath()));
    ClearDirtyFlags();
    AddRecentFile(FPathwayFileName);
    Modal().ShowMessage(this, FPathwayFileName + QStringLiteral(" saved"));
}

void TForm2::ExportScorecardActionExecute() {
    FlushGridEdit();
    const QString FileName =
        Modal().SaveFileName(this, QStringLiteral("csv files [*.csv]|*.csv|all files [*.*]|*.*"),
                             QStringLiteral(".csv"), true);
    if (FileName.isEmpty())
        return;
    SaveScorecardCsv(FileName, *FMyElementsList, *FScenarioFrame1);
}

void TForm2::ScorecardCostEdited(TElement* Element, int Col, const QString& Text) {
    const TScorecard* Card = FScorecardFrame->Model()->Scorecard();
    if (!HoldsElement(Element) || !Card || Col < 0 || Col >= Card->ColumnCount())
        return;
    const TScorecard::TColumnKind Kind = Card->Kind(Col);
    double (TElement::*Get)() const = nullptr;
    void (TElement::*Set)(double) = nullptr;
    QString Name;
    switch (Kind) {
    case TScorecard::ckInitialCosts:
        Get = &TElement::InitialCosts;
        Set = &TElement::SetInitialCosts;
        Name = QStringLiteral("Edit initial costs");
        break;
    case TScorecard::ckTransferCosts:
        Get = &TElement::TransferCosts;
        Set = &TElement::SetTransferCosts;
        Name = QStringLiteral("Edit transfer costs");
        break;
    case TScorecard::ckRecurrentCosts:
        Get = &TElement::RecurrentCosts;
        Set = &TElement::SetRecurrentCosts;
        Name = QStringLiteral("Edit recurrent costs");
        break;
    default:
        return;
    }
    // As in the grid: a text that is no number raises here, and the cell
    // shows the stored value again.
    const double Value = TypedCellToFloat(Text);
    if (Value == (Element->*Get)())
        return;
    TStepScope Step(*this, Name);
    (Element->*Set)(Value);
    FElementListIsDirty = true;
}

void TForm2::AboutActionExecute() {
    TAboutBox Box(this);
    Modal().Exec(&Box);
}

QStringList TForm2::RecentFiles() const {
    return QSettings().value(RecentFilesKey).toStringList();
}

void TForm2::AddRecentFile(const QString& FileName) {
    const QString Path = QDir::toNativeSeparators(QFileInfo(FileName).absoluteFilePath());
    QStringList Files = RecentFiles();
    Files.removeAll(Path);
    Files.prepend(Path);
    while (Files.size() > RecentFilesCount)
        Files.removeLast();
    QSettings().setValue(RecentFilesKey, Files);
    FillRecentMenu();
}

void TForm2::FillRecentMenu() {
    FRecentMenu->clear();
    const QStringList Files = RecentFiles();
    for (int Index = 0; Index < Files.size(); ++Index) {
        const QString Path = Files.at(Index);
        QAction* Entry = FRecentMenu->addAction(
            QStringLiteral("&%1 %2")
                .arg(Index + 1 == 10 ? 0 : Index + 1)
                .arg(QString(Path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        connect(Entry, &QAction::triggered, this, [this, Path] {
            if (!QFileInfo::exists(Path)) {
                QStringList Left = RecentFiles();
                Left.removeAll(Path);
                QSettings().setValue(RecentFilesKey, Left);
                FillRecentMenu();
                Modal().ShowMessage(this, Path + QStringLiteral(" no longer exists; it is "
                                                                "taken off the recent files."));
                return;
            }
            OpenDocumentFile(Path);
        });
    }
    FRecentMenu->setEnabled(!Files.isEmpty());
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
        this, [this, FileName] { OpenDocumentFile(FileName); }, Qt::QueuedConnection);
}

void TForm2::SetPathwayFileName(const QString& Value) {
    FPathwayFileName = Value;
    const QFontMetrics Metrics(font());
    const QString Shown = ShortenPath(Value, TitlePathWidth, [&Metrics](const QString& Text) {
        return Metrics.horizontalAdvance(Text);
    });
    setWindowTitle(QStringLiteral("Corvinal [") + Shown + QLatin1Char(']'));
}

bool TForm2::DocumentIsDirty() const {
    return !FUndoStack->isClean();
}

void TForm2::ClearDirtyFlags() {
    FUndoStack->setClean();
    FElementListIsDirty = false;
    FScenarioFrame1->SetScenarioIsDirty(false);
    FFrame11->SetGraphicsSettingIsDirty(false);
}

int TForm2::BeginYear() const {
    return FScenarioFrame1->BeginYear();
}
void TForm2::SetBeginYear(int Value) {
    FScenarioFrame1->SetBeginYear(Value);
}
int TForm2::EndYear() const {
    return FScenarioFrame1->EndYear();
}
void TForm2::SetEndYear(int Value) {
    FScenarioFrame1->SetEndYear(Value);
}
int TForm2::TimeStep() const {
    return FScenarioFrame1->TimeStep();
}
void TForm2::SetTimeStep(int Value) {
    FScenarioFrame1->SetTimeStep(Value);
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
            WriteDocumentTo(FileName);
            SetPathwayFileName(QDir::toNativeSeparators(QFileInfo(FileName).absoluteFilePath()));
            ClearDirtyFlags();
            AddRecentFile(FPathwayFileName);
        },
        this);
    FTimeColumnSettingsForm = new TTimeColumnSettingsForm(this);
    FAddCombinationForm = new TAddCombinationForm(this);
    FFrame11->SetSettingsForms(FXAxisSettingsForm, FGraphSettingsForm);
}

bool TForm2::FormCloseQuery() {
    FlushGridEdit();
    return MayLeaveDocument(true);
}

void TForm2::closeEvent(QCloseEvent* Event) {
    // Refuse first: should the question fail, the window stays open.
    Event->ignore();
    if (FormCloseQuery())
        Event->accept();
}

void TForm2::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    if (FStartReportPending) {
        FStartReportPending = false;
        QMetaObject::invokeMethod(
            this, [this] { ReportOpenedDocument(FStartReport); }, Qt::QueuedConnection);
    }
    // A map that cannot be drawn was reported when its document came; the
    // view says why again, without another box.
    FFrame11->DrawOrExplain();
}
