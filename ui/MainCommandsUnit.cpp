#include "ui/MainCommandsUnit.h"

#include "document/DecisionsUnit.h"
#include "document/DocumentSessionUnit.h"
#include "document/ScorecardUnit.h"
#include "map/GraphicsFrameUnit.h"
#include "map/GraphicsSettingsUnit.h"
#include "scenarios/ScenarioDefinitionUnit.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/AddCombinationFormUnit.h"
#include "ui/ElementEditsUnit.h"
#include "ui/MainUnit.h"
#include "ui/SaveAndCloseUnit.h"
#include "widgets/ErrorReportUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QAction>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QUndoStack>

namespace {

const int CommandButtonHeight = 35;

// The platform's keys for a standard command, or Fallback where it has none
// (not every desktop binds Save As or Quit).
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey Key, const QKeySequence& Fallback) {
    QList<QKeySequence> Keys = QKeySequence::keyBindings(Key);
    if (Keys.isEmpty())
        Keys << Fallback;
    return Keys;
}

} // namespace

TMainCommands::TMainCommands(TForm2& Window, QWidget* Panel)
    : QObject(&Window), FWindow(Window), FPanel(Panel) {
    BuildPanelCommands();
    BuildOtherCommands();
}

TCommand TMainCommands::MakeCommand(const QString& Caption, int Top, int Left, int Width,
                                    std::function<void()> Execute,
                                    std::function<bool()> EnabledRule,
                                    const QKeySequence& Shortcut) {
    TCommand Command;
    Command.Action = MakeAction(Caption, {}, std::move(Execute));
    if (!Shortcut.isEmpty())
        Command.Action->setShortcut(Shortcut);
    Command.Button = new QPushButton(Caption, FPanel);
    Command.Button->setGeometry(Left, Top, Width, CommandButtonHeight);
    Command.Button->setFocusPolicy(Qt::TabFocus);
    Command.EnabledRule = std::move(EnabledRule);
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

QAction* TMainCommands::MakeAction(const QString& Caption, const QList<QKeySequence>& Shortcuts,
                                   std::function<void()> Execute) {
    auto* Action = new QAction(Caption, &FWindow);
    Action->setShortcuts(Shortcuts);
    FWindow.addAction(Action);
    // The command boundary: an error stops here, wherever the command came
    // from, and never passes through the toolkit.
    connect(Action, &QAction::triggered, this,
            [Execute = std::move(Execute)] { Guarded(Execute); });
    return Action;
}

void TMainCommands::BuildPanelCommands() {
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    auto Always = [] { return true; };
    auto SelectedRow = [Grid] { return Grid->Row(); };
    FAddSimpleElement = MakeCommand(
        tr("Add Action"), 7, 15, 113, [this] { AddSimpleElementActionExecute(); }, Always,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    FDeleteElement = MakeCommand(
        tr("Delete Action"), 42, 15, 113, [this] { DeleteElementActionExecute(); },
        [=] {
            const TElement* E = Grid->ElementOfRow(SelectedRow());
            return E && E->DependencyCount() == 0;
        },
        QKeySequence(Qt::CTRL | Qt::Key_Delete));
    FCombine = MakeCommand(
        tr("Pathway"), 76, 15, 113, [this] { CombineActionExecute(); }, Always,
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    FMoveDown = MakeCommand(
        tr("Down"), 110, 15, 57, [this] { MoveDownActionExecute(); },
        [=] { return SelectedRow() >= 1 && SelectedRow() < Grid->RowCount() - 1; },
        QKeySequence(Qt::ALT | Qt::Key_Down));
    FMoveUp = MakeCommand(
        tr("Up"), 110, 71, 57, [this] { MoveUpActionExecute(); },
        [=] { return SelectedRow() >= 2; }, QKeySequence(Qt::ALT | Qt::Key_Up));
    FSave = MakeCommand(
        tr("Save"), 144, 15, 113, [this] { SaveActionExecute(); }, Always, QKeySequence::Save);
    FAddTimeColumn = MakeCommand(
        tr("Add Scenario"), 189, 15, 113, [this] { AddTimeColumnActionExecute(); },
        [this] { return FWindow.MyElementsList()->PathwayType() == ptTimeBased; },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    FScenarioEdit = MakeCommand(
        tr("Scenarios"), 230, 15, 113, [this] { ScenarioEditActionExecute(); },
        [this] { return FWindow.MyElementsList()->PathwayType() == ptConditionBased; },
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
}

void TMainCommands::BuildOtherCommands() {
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    TElementEdits* Edits = FWindow.Edits();
    FEditMeasureAction =
        MakeAction(tr("&Edit Measure..."), {QKeySequence(Qt::CTRL | Qt::Key_E)}, [=] {
            if (Grid->Row() >= 1)
                FWindow.ActionsStringGridButtonClick(0, Grid->Row());
        });
    FChooseColorAction = MakeAction(tr("&Color..."), {QKeySequence(Qt::CTRL | Qt::Key_L)},
                                    [=] { Edits->ChooseElementColor(Grid->Row() - 1); });
    FPreferredRouteAction =
        MakeAction(tr("P&referred Route"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
                   [=] { Edits->TogglePreferred(Grid->Row() - 1); });
    FPreferredRouteAction->setCheckable(true);
    FColumnSettingsAction =
        MakeAction(tr("&Time Column Settings..."), {QKeySequence(Qt::CTRL | Qt::Key_H)}, [=] {
            if (Grid->Col() >= TActionsGridModel::FirstValueColumn)
                FWindow.ActionsStringGridButtonClick(Grid->Col(), 0);
        });

    FNewConditionAction =
        MakeAction(tr("&New condition-based pathway"), QKeySequence::keyBindings(QKeySequence::New),
                   [this] { NewDocument(ptConditionBased); });
    FNewTimeAction =
        MakeAction(tr("New &time-based pathway"), {}, [this] { NewDocument(ptTimeBased); });
    FOpenAction = MakeAction(tr("&Open..."), QKeySequence::keyBindings(QKeySequence::Open),
                             [this] { OpenActionExecute(); });
    FSaveAsAction = MakeAction(
        tr("Save &As..."),
        StandardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
        [this] { SaveAsActionExecute(); });
    FExportMapAction =
        MakeAction(tr("&Export Map..."), {}, [this] { FWindow.Frame11()->SpeedButton3Click(); });
    FExportScorecardAction =
        MakeAction(tr("Export S&corecard..."), {}, [this] { ExportScorecardActionExecute(); });
    FExportDecisionsAction =
        MakeAction(tr("Export &Decisions..."), {}, [this] { ExportDecisionsActionExecute(); });
    FQuitAction = MakeAction(tr("&Quit"),
                             StandardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)),
                             [this] { FWindow.close(); });
    FAboutAction = MakeAction(tr("&About Corvinal"), {}, [this] { AboutActionExecute(); });

    // The map's two settings dialogs, from the keyboard too.
    FXAxisSettingsAction =
        MakeAction(tr("&X-Axis Settings..."), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X)},
                   [this] { FWindow.Frame11()->SpeedButton1Click(); });
    FGraphSettingsAction =
        MakeAction(tr("&Graph Settings..."), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)},
                   [this] { FWindow.Frame11()->SpeedButton2Click(); });
    // Ctrl+PgUp and Ctrl+PgDown switch between the map and the scorecard.
    QTabWidget* Tabs = FWindow.PageControl();
    FPreviousTabAction =
        MakeAction(tr("&Previous Tab"), {QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, [Tabs] {
            Tabs->setCurrentIndex((Tabs->currentIndex() + Tabs->count() - 1) % Tabs->count());
        });
    FNextTabAction =
        MakeAction(tr("&Next Tab"), {QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
                   [Tabs] { Tabs->setCurrentIndex((Tabs->currentIndex() + 1) % Tabs->count()); });

    // Undo and redo take an edit still open in the grid first, as one more
    // step: undo then takes back what was typed.
    QList<QKeySequence> RedoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& Key :
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)})
        if (!RedoKeys.contains(Key))
            RedoKeys << Key;
    QUndoStack* Stack = FWindow.UndoStack();
    FUndoAction =
        MakeAction(tr("&Undo"), QKeySequence::keyBindings(QKeySequence::Undo), [this, Stack] {
            FWindow.FlushGridEdit();
            Stack->undo();
        });
    FRedoAction = MakeAction(tr("&Redo"), RedoKeys, [this, Stack] {
        FWindow.FlushGridEdit();
        Stack->redo();
    });
    FUndoAction->setEnabled(false);
    FRedoAction->setEnabled(false);
    connect(Stack, &QUndoStack::canUndoChanged, FUndoAction, &QAction::setEnabled);
    connect(Stack, &QUndoStack::canRedoChanged, FRedoAction, &QAction::setEnabled);
    connect(Stack, &QUndoStack::undoTextChanged, this, [this](const QString& Text) {
        FUndoAction->setText(Text.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(Text));
    });
    connect(Stack, &QUndoStack::redoTextChanged, this, [this](const QString& Text) {
        FRedoAction->setText(Text.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(Text));
    });
}

void TMainCommands::UpdateActions() {
    for (TCommand* Command : {&FAddSimpleElement, &FDeleteElement, &FCombine, &FMoveDown, &FMoveUp,
                              &FSave, &FAddTimeColumn, &FScenarioEdit})
        Command->Action->setEnabled(Command->EnabledRule());
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    const TElement* Selected = Grid->ElementOfRow(Grid->Row());
    FPreferredRouteAction->setEnabled(Selected != nullptr);
    FPreferredRouteAction->setChecked(Selected && Selected->Preferred());
}

// ---------------------------------------------------------------- the document's elements

void TMainCommands::AddSimpleElementActionExecute() {
    FWindow.FlushGridEdit();
    TElementsList& List = *FWindow.MyElementsList();
    FWindow.Session()->Change(tr("Add Action"), [&List] {
        // 255 is never drawn.
        QRandomGenerator* Random = QRandomGenerator::global();
        const int Red = int(Random->bounded(255u));
        const int Green = int(Random->bounded(255u));
        const int Blue = int(Random->bounded(255u));
        List.AddSimpleElement(QStringLiteral("NewAction"), RGBToColor(Red, Green, Blue), 0, 0, 0);
    });
    // The new name can be typed at once.
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    Grid->SetSelection(Grid->RowCount() - 1, TActionsGridModel::NameColumn);
    Grid->setFocus();
}

void TMainCommands::DeleteElementActionExecute() {
    FWindow.FlushGridEdit();
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    const int32_t Index = Grid->Row() - 1;
    TElementsList& List = *FWindow.MyElementsList();
    const TElement* Element = Index >= 0 && Index < List.Count() ? List.Elements(Index) : nullptr;
    // A shortcut can come before the enabling rule was asked again.
    if (!Element || Element->DependencyCount() > 0)
        return;
    FWindow.Session()->Change(tr("Delete Action"), [&List, Element, Index] {
        // The current situation may go too when nothing is built on it; the
        // pathway is then without one.
        const int32_t CurrentID = List.CurrentElementID();
        if (CurrentID != -1 && List.FindElement(CurrentID) == Element)
            List.SetCurrentElementID(-1);
        List.Delete(Index);
    });
}

void TMainCommands::MoveDownActionExecute() {
    FWindow.FlushGridEdit();
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    const int32_t Row = Grid->Row();
    const int32_t Col = Grid->Col();
    if (Row < 1 || Row >= Grid->RowCount() - 1)
        return;
    TElementsList& List = *FWindow.MyElementsList();
    FWindow.Session()->Change(tr("Move Down"), [&List, Row] { List.Exchange(Row - 1, Row); });
    Grid->SetSelection(Row + 1, Col);
}

void TMainCommands::MoveUpActionExecute() {
    FWindow.FlushGridEdit();
    TActionsStringGrid* Grid = FWindow.ActionsStringGrid();
    const int32_t Row = Grid->Row();
    const int32_t Col = Grid->Col();
    if (Row < 2)
        return;
    TElementsList& List = *FWindow.MyElementsList();
    FWindow.Session()->Change(tr("Move Up"), [&List, Row] { List.Exchange(Row - 1, Row - 2); });
    Grid->SetSelection(Row - 1, Col);
}

void TMainCommands::AddTimeColumnActionExecute() {
    FWindow.FlushGridEdit();
    TElementsList& List = *FWindow.MyElementsList();
    if (List.PathwayType() != ptTimeBased)
        return;
    QString Name;
    if (!Modal().InputQuery(&FWindow, tr("Enter name for new scenario column"), tr("Enter name"),
                            Name))
        return;
    Name = Name.trimmed();
    if (Name.isEmpty())
        return;
    TGraphicsFrame* Map = FWindow.Frame11();
    FWindow.Session()->Change(tr("Add Scenario"), [&List, &Name, Map] {
        const int32_t Count = List.TippingTimeValuesCount() + 1;
        List.SetTippingTimeValuesCount(Count);
        List.SetTippingTimeColumnCaption(Count - 1, Name);
        // The new scenario starts as a copy of the last one.
        for (int32_t Index = 0; Count >= 2 && Index < List.Count(); ++Index) {
            TElement* Element = List.Elements(Index);
            Element->SetTippingTimeValue(Count - 1, Element->TippingTimeValue(Count - 2));
        }
        // The selector shows the first column again; the map, drawn with the
        // change, follows it, so that the two never disagree.
        Map->UpdateSeriesSelector();
    });
}

void TMainCommands::CombineActionExecute() {
    FWindow.FlushGridEdit();
    FWindow.CreateDialogs();
    TAddCombinationForm* Form = FWindow.AddCombinationForm();
    TElementsList& List = *FWindow.MyElementsList();
    Form->SetMyElementsList(&List);
    if (Modal().Exec(Form) != QDialog::Accepted)
        return;
    const TElement* First = Form->FirstElement();
    const TElement* Second = Form->SecondElement();
    if (!First || !Second)
        return;
    const TCombinationType Type = Form->Combination();
    FWindow.Session()->Change(tr("Define pathway"), [&List, First, Second, Type] {
        TElement* Element =
            List.AddCombinationElement(First->Caption() + QStringLiteral(" + ") + Second->Caption(),
                                       First->TippingPointValue(), First->ID(), Second->ID());
        // In a time-based pathway the new element starts where First tips, in
        // every time column.
        if (List.PathwayType() == ptTimeBased)
            for (int32_t Column = 0; Column < Element->TippingTimeValuesLength(); ++Column)
                Element->SetTippingTimeValue(Column, First->TippingTimeValue(Column));
        Element->SetMyColor(Second->MyColor());
        Element->SetCombinationType(Type);
    });
}

void TMainCommands::ScenarioEditActionExecute() {
    FWindow.FlushGridEdit();
    TElementsList& List = *FWindow.MyElementsList();
    if (List.PathwayType() != ptConditionBased)
        return;
    FWindow.CreateDialogs();
    TScenarioDefinitionForm* Form = FWindow.ScenarioDefinitionForm();
    TScenarioFrame& Scenarios = *FWindow.ScenarioFrame1();
    Form->LoadMatrix(Scenarios.ScenariosStringGrid());
    Form->SetMaxTippingPointValue(List.MaxTippingPoint());
    if (Modal().Exec(Form) != QDialog::Accepted)
        return;
    TGraphicsSettings& Settings = FWindow.Session()->Settings();
    FWindow.Session()->Change(tr("Scenarios"), [&Scenarios, &Settings, Form] {
        // The map's decision points stay with their scenario, found again by
        // its caption after scenarios came or went; they go when it went.
        const int32_t Chosen = Settings.DecisionPoints();
        const QString Caption = Chosen >= 1 && Chosen <= Scenarios.Count()
                                    ? Scenarios.ScenarioCaption(Chosen - 1)
                                    : QString();
        TScenarioFrame::CopyScenarioValues(Form->ScenarioMatrixGrid(),
                                           Scenarios.ScenariosStringGrid());
        if (Chosen < 1)
            return;
        int32_t Found = 0;
        if (Chosen <= Scenarios.Count() && Scenarios.ScenarioCaption(Chosen - 1) == Caption)
            Found = Chosen;
        for (int32_t S = 0; Found == 0 && S < Scenarios.Count(); ++S)
            if (Scenarios.ScenarioCaption(S) == Caption)
                Found = S + 1;
        Settings.SetDecisionPoints(Found);
    });
}

// ---------------------------------------------------------------- documents

void TMainCommands::SaveActionExecute() {
    FWindow.FlushGridEdit();
    TDocumentSession& Session = *FWindow.Session();
    // A new document is named first, as the file it is to be: should the
    // writing fail, the next Save tries the same file without asking.
    if (Session.FileName().trimmed().isEmpty()) {
        const QString Chosen =
            Modal().SaveFileName(&FWindow, PathwayFileFilter, PathwayFileExtension, true);
        if (!Chosen.isEmpty())
            Session.SetFileName(DocumentFileName(Chosen));
    }
    if (Session.FileName().trimmed().isEmpty())
        return;
    Session.Save();
    FWindow.AddRecentFile(Session.FileName());
    Modal().ShowMessage(&FWindow, tr("%1 saved").arg(Session.FileName()));
}

void TMainCommands::SaveAsActionExecute() {
    FWindow.FlushGridEdit();
    const QString Chosen =
        Modal().SaveFileName(&FWindow, PathwayFileFilter, PathwayFileExtension, true);
    if (Chosen.isEmpty())
        return;
    TDocumentSession& Session = *FWindow.Session();
    Session.SaveAs(Chosen);
    FWindow.AddRecentFile(Session.FileName());
    Modal().ShowMessage(&FWindow, tr("%1 saved").arg(Session.FileName()));
}

void TMainCommands::ExportTable(void (*Save)(const QString&, const TElementsList&,
                                             const TScenarioFrame&)) {
    FWindow.FlushGridEdit();
    const QString FileName = Modal().SaveFileName(
        &FWindow, QStringLiteral("csv files [*.csv]|*.csv|all files [*.*]|*.*"),
        QStringLiteral(".csv"), true);
    if (FileName.isEmpty())
        return;
    Save(FileName, *FWindow.MyElementsList(), *FWindow.ScenarioFrame1());
}

void TMainCommands::ExportScorecardActionExecute() {
    ExportTable(&SaveScorecardCsv);
}

void TMainCommands::ExportDecisionsActionExecute() {
    ExportTable(&SaveDecisionsCsv);
}

void TMainCommands::AboutActionExecute() {
    TAboutBox Box(&FWindow);
    Modal().Exec(&Box);
}

bool TMainCommands::MayLeaveDocument(bool Closing) {
    FWindow.CreateDialogs();
    TCloseForm* Form = FWindow.CloseForm();
    Form->SetFileName(FWindow.PathwayFileName());
    Form->SetClosing(Closing);
    if (!FWindow.DocumentIsDirty())
        return true;
    return Modal().Exec(Form) == QDialog::Accepted;
}

void TMainCommands::NewDocument(TPathwayType PathwayType) {
    FWindow.FlushGridEdit();
    if (!MayLeaveDocument(false))
        return;
    FWindow.Session()->New(PathwayType);
}

void TMainCommands::OpenActionExecute() {
    FWindow.FlushGridEdit();
    if (!MayLeaveDocument(false))
        return;
    const QString FileName =
        Modal().OpenFileName(&FWindow, PathwayFileFilter, PathwayFileExtension);
    if (FileName.isEmpty())
        return;
    FWindow.OpenPathwayFile(FileName);
}

void TMainCommands::OpenDocumentFile(const QString& FileName) {
    FWindow.FlushGridEdit();
    if (!MayLeaveDocument(false))
        return;
    FWindow.OpenPathwayFile(FileName);
}
