#pragma once

#include "model/ElementsUnit.h"

#include <QKeySequence>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPushButton;
class QUndoStack;
class QSplitter;
class QTabWidget;
class TActionsStringGrid;
class TAddCombinationForm;
class TAddMeasureForm;
class TCloseForm;
class TDocumentState;
struct TStepSelection;
class TGraphSettingsForm;
class TGraphicsSettings;
class TGraphicsFrame;
class TScenarioDefinitionForm;
class TScenarioFrame;
class TScorecardFrame;
class TTimeColumnSettingsForm;
class TXAxisSettingsForm;

// A command of the main window: a named action with an enabling rule that is
// re-evaluated whenever the application becomes idle, and the button that
// follows it.
struct TCommand {
    QAction* Action = nullptr;
    QPushButton* Button = nullptr;
    std::function<bool()> EnabledRule;
};

// The main window: owns the document (elements list, scenario table, the map
// view with its graph settings) and the actions grid for the whole run.
class TForm2 : public QMainWindow {
    Q_OBJECT
public:
    // Arguments: the command line after the program name. Construction shows
    // the start dialog and opens or creates the document before it returns.
    explicit TForm2(const QStringList& Arguments, QWidget* Parent = nullptr);
    ~TForm2() override;

    // The start dialog chose to quit: the window must not be shown.
    bool StartCancelled() const { return FStartCancelled; }

    TElementsList* MyElementsList() const { return FMyElementsList.get(); }
    int32_t ActionCount() const { return FMyElementsList->Count(); }
    TActionsStringGrid* ActionsStringGrid() const { return FActionsStringGrid; }
    TScenarioFrame* ScenarioFrame1() const { return FScenarioFrame1.get(); }
    TGraphicsFrame* Frame11() const { return FFrame11; }
    TScorecardFrame* ScorecardFrame() const { return FScorecardFrame; }
    TCloseForm* CloseForm() const { return FCloseForm; }
    TAddMeasureForm* AddMeasureForm() const { return FAddMeasureForm; }
    TScenarioDefinitionForm* ScenarioDefinitionForm() const { return FScenarioDefinitionForm; }
    TTimeColumnSettingsForm* TimeColumnSettingsForm() const { return FTimeColumnSettingsForm; }
    TAddCombinationForm* AddCombinationForm() const { return FAddCombinationForm; }
    QTabWidget* PageControl() const { return FPageControl; }
    QSplitter* Splitter() const { return FSplitter; }
    QWidget* CommandPanel() const { return FCommandPanel; }

    int BeginYear() const;
    void SetBeginYear(int Value);
    int EndYear() const;
    void SetEndYear(int Value);
    int TimeStep() const;
    void SetTimeStep(int Value);

    // The document's history of changes. The document is dirty exactly when
    // the history is not at the state last saved, opened or created.
    QUndoStack* UndoStack() const { return FUndoStack; }
    QAction* UndoAction() const { return FUndoAction; }
    QAction* RedoAction() const { return FRedoAction; }

    // The menus. Entries reuse the command panel's actions where one exists.
    QMenu* FileMenu() const { return FFileMenu; }
    QMenu* RecentMenu() const { return FRecentMenu; }
    QMenu* EditMenu() const { return FEditMenu; }
    QMenu* HelpMenu() const { return FHelpMenu; }
    QAction* NewConditionAction() const { return FNewConditionAction; }
    QAction* NewTimeAction() const { return FNewTimeAction; }
    QAction* OpenAction() const { return FOpenAction; }
    QAction* SaveAsAction() const { return FSaveAsAction; }
    QAction* ExportMapAction() const { return FExportMapAction; }
    QAction* ExportScorecardAction() const { return FExportScorecardAction; }
    QAction* QuitAction() const { return FQuitAction; }
    QAction* AboutAction() const { return FAboutAction; }

    // Another document in the same run: each asks the close question first
    // when there are unsaved changes. A file that cannot be opened leaves the
    // current document as it was.
    void NewDocument(TPathwayType PathwayType);
    void OpenActionExecute();
    void OpenDocumentFile(const QString& FileName);
    void SaveAsActionExecute();
    void ExportScorecardActionExecute();
    void AboutActionExecute();
    // A cost typed into the scorecard: one undoable step.
    void ScorecardCostEdited(TElement* Element, int Col, const QString& Text);
    // The last files opened or saved, newest first (at most ten).
    QStringList RecentFiles() const;
    // Makes Change as one undoable step named Name (nothing when Change
    // changed nothing).
    void RecordStep(const QString& Name, const std::function<void()>& Change);

    const QString& PathwayFileName() const { return FPathwayFileName; }
    // Also retitles the window.
    void SetPathwayFileName(const QString& Value);
    bool ElementsListIsDirty() const { return FElementListIsDirty; }
    // Also marks the document as changed (or as saved) in its history.
    void SetElementsListIsDirty(bool Value);
    // Whether any part of the document changed since it was opened, created
    // or saved.
    bool DocumentIsDirty() const;
    void ClearDirtyFlags();

    int32_t RowOfPredecessor() const;
    void SetRowOfPredecessor(int32_t Value);
    int32_t RowOfCombinationSecond() const;
    void SetRowOfCombinationSecond(int32_t Value);

    void NewPathway(TPathwayType PathwayType);
    // Reads the whole file into a fresh document and, only when that
    // succeeded, makes it the window's document, named after the file.
    void OpenPathwayFile(const QString& FileName);
    // Writes the three document parts, in file order, to a file.
    void WriteDocumentTo(const QString& FileName);

    // The commands of the command panel.
    const TCommand& AddSimpleElementAction() const { return FAddSimpleElement; }
    const TCommand& DeleteElementAction() const { return FDeleteElement; }
    const TCommand& CombineAction() const { return FCombine; }
    const TCommand& MoveDownAction() const { return FMoveDown; }
    const TCommand& MoveUpAction() const { return FMoveUp; }
    const TCommand& SaveAction() const { return FSave; }
    const TCommand& AddTimeColumnAction() const { return FAddTimeColumn; }
    const TCommand& ScenarioEditAction() const { return FScenarioEdit; }
    void SaveActionExecute();
    void AddSimpleElementActionExecute();
    void DeleteElementActionExecute();
    void MoveDownActionExecute();
    void MoveUpActionExecute();
    void AddTimeColumnActionExecute();
    void CombineActionExecute();
    void ScenarioEditActionExecute();
    // Edits the element of a grid row through the "Edit measure" dialog.
    void EditElement(int32_t Row);
    // The time column settings dialog for grid column Col (4 and up).
    void EditTimeColumn(int32_t Col);
    // Re-evaluates every command's enabling rule.
    void UpdateActions();

    // Commands of the grid's button cells, for the keyboard: "Edit measure"
    // for the selected row, the colour of the selected action, the settings
    // of the current value column.
    QAction* EditMeasureAction() const { return FEditMeasureAction; }
    QAction* ChooseColorAction() const { return FChooseColorAction; }
    // Marks or unmarks the selected element as part of the preferred route;
    // checked while the selected element is on it.
    QAction* PreferredRouteAction() const { return FPreferredRouteAction; }
    QAction* ColumnSettingsAction() const { return FColumnSettingsAction; }

    // What the grid reports. Edits arrive through the event loop, after the
    // editor has closed; Element may have gone by then.
    void ActionsStringGridButtonClick(int Col, int Row);
    void ActionsStringGridEditCellDone(TElement* Element, int Col, const QString& Text);
    void ActionsStringGridTypeChosen(TElement* Element, int Index);
    // The colour dialog of the action in Row.
    void ChooseElementColor(int32_t Row);
    // The element at list index Index joins or leaves the preferred route,
    // as one step.
    void TogglePreferred(int32_t Index);
    // Ends an open in-place edit and applies it at once, so that a command
    // acts on what the user typed.
    void FlushGridEdit();

    // The dialogs the commands use, created once after construction, in order.
    void CreateDialogs();

    // The answer to a request to close the window.
    bool FormCloseQuery();

protected:
    void closeEvent(QCloseEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    friend class TStepScope;
    // The document as it stands, and the grid cell the user works in.
    std::shared_ptr<const TDocumentState> CurrentState() const;
    TStepSelection CurrentSelection() const;
    // Pushes the step from Before to the document as it stands; nothing when
    // the two are the same.
    void PushStep(const QString& Name, std::shared_ptr<const TDocumentState> Before,
                  TStepSelection BeforeSelection);
    void PushStep(const QString& Name, std::shared_ptr<const TDocumentState> Before,
                  TStepSelection BeforeSelection, std::shared_ptr<const TDocumentState> After);
    // Undo and redo: the whole document put back, every view brought up to it.
    void ApplyState(const TDocumentState& State, TStepSelection Selection);
    void MapSettingsAccepted(const TGraphicsSettings& Before, const QString& Name);
    // The scorecard anew, and the selection of the grid in it and on the map.
    void RefreshScorecard();
    void FollowGridSelection();
    // A history that starts at the document as it stands, saved.
    void StartHistory();
    // Brings the grid, the series selector and the map up to a new document.
    void ShowNewDocument();
    // The close question, when there are unsaved changes; true to go on.
    bool MayLeaveDocument(bool Closing);
    void AddRecentFile(const QString& FileName);
    void FillRecentMenu();
    void BuildMenus();
    void FormCreate(const QStringList& Arguments);
    void BuildWindow();
    void BuildCommands();
    TCommand MakeCommand(const QString& Caption, int Top, int Left, int Width,
                         std::function<void()> Execute, std::function<bool()> EnabledRule,
                         const QKeySequence& Shortcut = QKeySequence());
    // A new pathway of the type in a fresh document, without a file name:
    // after a file could not be opened at start, and for New.
    void ResetToNewPathway(TPathwayType PathwayType = ptConditionBased);
    void DrawReportingErrors();
    // After a document came (opened, or made new): the values its file held
    // that could not be used, and why its map cannot be drawn, in one
    // message.
    void ReportOpenedDocument(const QString& DrawingFailure);
    bool HoldsElement(const TElement* Element) const;
    // The list changed: set its dirty flag and redraw the map.
    void ElementsChanged();

    QString FPathwayFileName;
    bool FElementListIsDirty = false;
    std::unique_ptr<TElementsList> FMyElementsList;
    std::unique_ptr<TScenarioFrame> FScenarioFrame1;
    bool FStartCancelled = false;
    // What the last file opened held that could not be used, until reported.
    QStringList FOpenProblems;
    // The report of the document opened at start-up, said once the window
    // is first shown: why its map cannot be drawn (empty when it can).
    QString FStartReport;
    bool FStartReportPending = false;
    static constexpr int MaxReportedProblems = 30;

    QSplitter* FSplitter = nullptr;
    QWidget* FUpperBand = nullptr;
    TActionsStringGrid* FActionsStringGrid = nullptr;
    QWidget* FCommandPanel = nullptr;
    QTabWidget* FPageControl = nullptr;
    TGraphicsFrame* FFrame11 = nullptr;
    TScorecardFrame* FScorecardFrame = nullptr;

    TCommand FAddSimpleElement;
    TCommand FDeleteElement;
    TCommand FCombine;
    TCommand FMoveDown;
    TCommand FMoveUp;
    TCommand FSave;
    TCommand FAddTimeColumn;
    TCommand FScenarioEdit;
    QUndoStack* FUndoStack = nullptr;
    // Receives the grid's edits through the event loop, so that they can be
    // taken in at once, and nothing else with them.
    QObject* FGridEdits = nullptr;
    // The state the last step left, shared with the next step that starts
    // from it, so that a history keeps one copy per step.
    std::shared_ptr<const TDocumentState> FLastState;
    QAction* FUndoAction = nullptr;
    QAction* FRedoAction = nullptr;
    QMenu* FFileMenu = nullptr;
    QMenu* FRecentMenu = nullptr;
    QMenu* FEditMenu = nullptr;
    QMenu* FHelpMenu = nullptr;
    QAction* FNewConditionAction = nullptr;
    QAction* FNewTimeAction = nullptr;
    QAction* FOpenAction = nullptr;
    QAction* FSaveAsAction = nullptr;
    QAction* FExportMapAction = nullptr;
    QAction* FExportScorecardAction = nullptr;
    QAction* FQuitAction = nullptr;
    QAction* FAboutAction = nullptr;
    QAction* FEditMeasureAction = nullptr;
    QAction* FChooseColorAction = nullptr;
    QAction* FPreferredRouteAction = nullptr;
    QAction* FColumnSettingsAction = nullptr;

    TAddMeasureForm* FAddMeasureForm = nullptr;
    TGraphSettingsForm* FGraphSettingsForm = nullptr;
    TXAxisSettingsForm* FXAxisSettingsForm = nullptr;
    TScenarioDefinitionForm* FScenarioDefinitionForm = nullptr;
    TCloseForm* FCloseForm = nullptr;
    TTimeColumnSettingsForm* FTimeColumnSettingsForm = nullptr;
    TAddCombinationForm* FAddCombinationForm = nullptr;
};
