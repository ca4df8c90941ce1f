#pragma once

#include "base/ReadReportUnit.h"
#include "document/DocumentHistoryUnit.h"
#include "model/ElementsUnit.h"
#include "ui/MainCommandsUnit.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

class QMenu;
class QUndoStack;
class QSplitter;
class QTabWidget;
class TActionsStringGrid;
class TAddCombinationForm;
class TAddMeasureForm;
class TCloseForm;
class TDecisionsFrame;
class TDocumentSession;
class TElementEdits;
class TGraphSettingsForm;
class TGraphicsFrame;
class TRecentFiles;
class TScenarioDefinitionForm;
class TScenarioFrame;
class TScorecardFrame;
class TTimeColumnSettingsForm;
class TXAxisSettingsForm;

// The main window: the frame with its menus and title around the document
// session it owns for the whole run, the views that show the session's
// document (the actions grid, the map view, the scorecard) and the dialogs.
// What the window can do lives beside it, by job: the commands with their
// enabling rules (TMainCommands), the edits of single elements
// (TElementEdits) and the recent files (TRecentFiles).
class TForm2 : public QMainWindow {
    Q_OBJECT
public:
    // Arguments: the command line after the program name. Construction shows
    // the start dialog and opens or creates the document before it returns.
    explicit TForm2(const QStringList& Arguments, QWidget* Parent = nullptr);
    ~TForm2() override;

    // The start dialog chose to quit: the window must not be shown.
    bool StartCancelled() const { return FStartCancelled; }

    TDocumentSession* Session() const { return FSession; }
    TMainCommands* Commands() const { return FCommands; }
    TElementEdits* Edits() const { return FEdits; }

    TElementsList* MyElementsList() const;
    int32_t ActionCount() const { return MyElementsList()->Count(); }
    TActionsStringGrid* ActionsStringGrid() const { return FActionsStringGrid; }
    TScenarioFrame* ScenarioFrame1() const;
    TGraphicsFrame* Frame11() const { return FFrame11; }
    TScorecardFrame* ScorecardFrame() const { return FScorecardFrame; }
    TDecisionsFrame* DecisionsFrame() const { return FDecisionsFrame; }
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

    // The document's history of changes (the session's). The document is
    // dirty exactly when the history is not at the state last saved, opened
    // or created.
    QUndoStack* UndoStack() const;
    QAction* UndoAction() const { return FCommands->UndoAction(); }
    QAction* RedoAction() const { return FCommands->RedoAction(); }

    // The menus. Entries reuse the command panel's actions where one exists.
    QMenu* FileMenu() const { return FFileMenu; }
    QMenu* RecentMenu() const { return FRecentMenu; }
    QMenu* EditMenu() const { return FEditMenu; }
    QMenu* ViewMenu() const { return FViewMenu; }
    QMenu* HelpMenu() const { return FHelpMenu; }
    QAction* NewConditionAction() const { return FCommands->NewConditionAction(); }
    QAction* NewTimeAction() const { return FCommands->NewTimeAction(); }
    QAction* OpenAction() const { return FCommands->OpenAction(); }
    QAction* SaveAsAction() const { return FCommands->SaveAsAction(); }
    QAction* ExportMapAction() const { return FCommands->ExportMapAction(); }
    QAction* ExportScorecardAction() const { return FCommands->ExportScorecardAction(); }
    QAction* ExportDecisionsAction() const { return FCommands->ExportDecisionsAction(); }
    QAction* QuitAction() const { return FCommands->QuitAction(); }
    QAction* AboutAction() const { return FCommands->AboutAction(); }
    QAction* XAxisSettingsAction() const { return FCommands->XAxisSettingsAction(); }
    QAction* GraphSettingsAction() const { return FCommands->GraphSettingsAction(); }

    // Another document in the same run: each asks the close question first
    // when there are unsaved changes. A file that cannot be opened leaves the
    // current document as it was.
    void NewDocument(TPathwayType PathwayType) { FCommands->NewDocument(PathwayType); }
    void OpenActionExecute() { FCommands->OpenActionExecute(); }
    void OpenDocumentFile(const QString& FileName) { FCommands->OpenDocumentFile(FileName); }
    void SaveAsActionExecute() { FCommands->SaveAsActionExecute(); }
    void ExportScorecardActionExecute() { FCommands->ExportScorecardActionExecute(); }
    void AboutActionExecute() { FCommands->AboutActionExecute(); }
    // The last files opened or saved, newest first (at most ten).
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& FileName);
    // Makes Change as one undoable step named Name (nothing when Change
    // changed nothing).
    void RecordStep(const QString& Name, const std::function<void()>& Change);

    const QString& PathwayFileName() const;
    // Names the document (the window's title follows).
    void SetPathwayFileName(const QString& Value);
    bool ElementsListIsDirty() const;
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

    // Reads the whole file into a fresh document and, only when that
    // succeeded, makes it the window's document, named after the file. What
    // the file held that could not be used is said once the document shows.
    void OpenPathwayFile(const QString& FileName);
    // Writes the three document parts, in file order, to a file.
    void WriteDocumentTo(const QString& FileName);
    // Brings every view up to a document that replaced the previous one and
    // says what its file held that could not be used, and why its map
    // cannot be drawn.
    void ShowNewDocument();

    // The commands of the command panel.
    const TCommand& AddSimpleElementAction() const { return FCommands->AddSimpleElementAction(); }
    const TCommand& DeleteElementAction() const { return FCommands->DeleteElementAction(); }
    const TCommand& CombineAction() const { return FCommands->CombineAction(); }
    const TCommand& MoveDownAction() const { return FCommands->MoveDownAction(); }
    const TCommand& MoveUpAction() const { return FCommands->MoveUpAction(); }
    const TCommand& SaveAction() const { return FCommands->SaveAction(); }
    const TCommand& AddTimeColumnAction() const { return FCommands->AddTimeColumnAction(); }
    const TCommand& ScenarioEditAction() const { return FCommands->ScenarioEditAction(); }
    void SaveActionExecute() { FCommands->SaveActionExecute(); }
    // Re-evaluates every command's enabling rule.
    void UpdateActions() { FCommands->UpdateActions(); }

    // Commands of the grid's button cells, for the keyboard.
    QAction* EditMeasureAction() const { return FCommands->EditMeasureAction(); }
    QAction* ChooseColorAction() const { return FCommands->ChooseColorAction(); }
    QAction* PreferredRouteAction() const { return FCommands->PreferredRouteAction(); }
    QAction* ColumnSettingsAction() const { return FCommands->ColumnSettingsAction(); }

    // A fixed cell of the grid was clicked: the element's dialog, its colour
    // or a column's settings.
    void ActionsStringGridButtonClick(int Col, int Row);
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
    friend class TMainCommands;
    friend class TElementEdits;
    void BuildWindow();
    void BuildMenus();
    void ConnectViews();
    void FormCreate(const QStringList& Arguments);
    // A step, an undo or a redo: every view shows the document as it is.
    void DocumentChanged();
    // The grid's selection as an undo step keeps it, and back.
    TStepSelection CurrentSelection() const;
    void RestoreSelection(TStepSelection Selection);
    // The scorecard's row and the map's halo follow the grid's selection.
    void FollowGridSelection();
    // The values the document's file held that could not be used, and why
    // its map cannot be drawn, in one message.
    void ReportOpenedDocument(const QString& DrawingFailure);
    void FileNameChanged(const QString& FileName);

    TDocumentSession* FSession = nullptr;
    TMainCommands* FCommands = nullptr;
    TElementEdits* FEdits = nullptr;
    TRecentFiles* FRecentFiles = nullptr;
    bool FStartCancelled = false;
    // What the last file opened held that could not be used, until reported.
    TReadReport FOpenReport;
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
    TDecisionsFrame* FDecisionsFrame = nullptr;
    // Receives the grid's and the scorecard's edits through the event loop,
    // so that they can be taken in at once, and nothing else with them.
    QObject* FGridEdits = nullptr;

    QMenu* FFileMenu = nullptr;
    QMenu* FRecentMenu = nullptr;
    QMenu* FEditMenu = nullptr;
    QMenu* FViewMenu = nullptr;
    QMenu* FHelpMenu = nullptr;

    TAddMeasureForm* FAddMeasureForm = nullptr;
    TGraphSettingsForm* FGraphSettingsForm = nullptr;
    TXAxisSettingsForm* FXAxisSettingsForm = nullptr;
    TScenarioDefinitionForm* FScenarioDefinitionForm = nullptr;
    TCloseForm* FCloseForm = nullptr;
    TTimeColumnSettingsForm* FTimeColumnSettingsForm = nullptr;
    TAddCombinationForm* FAddCombinationForm = nullptr;
};
