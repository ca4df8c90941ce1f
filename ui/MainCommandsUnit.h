#pragma once

#include "model/ElementsUnit.h"

#include <QKeySequence>
#include <QObject>
#include <functional>

class QAction;
class QPushButton;
class TForm2;
class TScenarioFrame;

// A command of the main window: a named action with an enabling rule that is
// re-evaluated whenever the application is idle, and the button that
// follows it.
struct TCommand {
    QAction* Action = nullptr;
    QPushButton* Button = nullptr;
    std::function<bool()> EnabledRule;
};

// The commands of the main window, each with its enabling rule: the command
// panel's (with their buttons), those of the grid's button cells for the
// keyboard, the document's (new, open, save, export) and the view's. Every
// command runs guarded where the toolkit calls it, by key, button or menu:
// what fails in it is reported, and the window goes on. The methods run
// unguarded, for callers that handle errors themselves.
class TMainCommands : public QObject {
    Q_OBJECT
public:
    // Makes the command panel's buttons in Panel.
    TMainCommands(TForm2& Window, QWidget* Panel);

    const TCommand& AddSimpleElementAction() const { return FAddSimpleElement; }
    const TCommand& DeleteElementAction() const { return FDeleteElement; }
    const TCommand& CombineAction() const { return FCombine; }
    const TCommand& MoveDownAction() const { return FMoveDown; }
    const TCommand& MoveUpAction() const { return FMoveUp; }
    const TCommand& SaveAction() const { return FSave; }
    const TCommand& AddTimeColumnAction() const { return FAddTimeColumn; }
    const TCommand& ScenarioEditAction() const { return FScenarioEdit; }

    QAction* EditMeasureAction() const { return FEditMeasureAction; }
    QAction* ChooseColorAction() const { return FChooseColorAction; }
    // Marks or unmarks the selected element as part of the preferred route;
    // checked while the selected element is on it.
    QAction* PreferredRouteAction() const { return FPreferredRouteAction; }
    QAction* ColumnSettingsAction() const { return FColumnSettingsAction; }

    QAction* NewConditionAction() const { return FNewConditionAction; }
    QAction* NewTimeAction() const { return FNewTimeAction; }
    QAction* OpenAction() const { return FOpenAction; }
    QAction* SaveAsAction() const { return FSaveAsAction; }
    QAction* ExportMapAction() const { return FExportMapAction; }
    QAction* ExportScorecardAction() const { return FExportScorecardAction; }
    QAction* ExportDecisionsAction() const { return FExportDecisionsAction; }
    QAction* QuitAction() const { return FQuitAction; }
    QAction* AboutAction() const { return FAboutAction; }
    QAction* UndoAction() const { return FUndoAction; }
    QAction* RedoAction() const { return FRedoAction; }
    QAction* XAxisSettingsAction() const { return FXAxisSettingsAction; }
    QAction* GraphSettingsAction() const { return FGraphSettingsAction; }
    QAction* PreviousTabAction() const { return FPreviousTabAction; }
    QAction* NextTabAction() const { return FNextTabAction; }

    // Re-evaluates every command's enabling rule.
    void UpdateActions();

    void AddSimpleElementActionExecute();
    void DeleteElementActionExecute();
    void MoveDownActionExecute();
    void MoveUpActionExecute();
    void AddTimeColumnActionExecute();
    void CombineActionExecute();
    void ScenarioEditActionExecute();
    void SaveActionExecute();
    void SaveAsActionExecute();
    void ExportScorecardActionExecute();
    void ExportDecisionsActionExecute();
    void AboutActionExecute();
    // Another document: each asks the close question first when there are
    // unsaved changes. A file that cannot be opened leaves the current
    // document as it was.
    void NewDocument(TPathwayType PathwayType);
    void OpenActionExecute();
    void OpenDocumentFile(const QString& FileName);
    // The close question, when there are unsaved changes; true to go on.
    bool MayLeaveDocument(bool Closing);

private:
    TCommand MakeCommand(const QString& Caption, int Top, int Left, int Width,
                         std::function<void()> Execute, std::function<bool()> EnabledRule,
                         const QKeySequence& Shortcut = QKeySequence());
    QAction* MakeAction(const QString& Caption, const QList<QKeySequence>& Shortcuts,
                        std::function<void()> Execute);
    void BuildPanelCommands();
    // Asks for a CSV file and writes one of the document's tables there.
    void ExportTable(void (*Save)(const QString&, const TElementsList&, const TScenarioFrame&));
    void BuildOtherCommands();

    TForm2& FWindow;
    QWidget* FPanel;
    TCommand FAddSimpleElement;
    TCommand FDeleteElement;
    TCommand FCombine;
    TCommand FMoveDown;
    TCommand FMoveUp;
    TCommand FSave;
    TCommand FAddTimeColumn;
    TCommand FScenarioEdit;
    QAction* FEditMeasureAction = nullptr;
    QAction* FChooseColorAction = nullptr;
    QAction* FPreferredRouteAction = nullptr;
    QAction* FColumnSettingsAction = nullptr;
    QAction* FNewConditionAction = nullptr;
    QAction* FNewTimeAction = nullptr;
    QAction* FOpenAction = nullptr;
    QAction* FSaveAsAction = nullptr;
    QAction* FExportMapAction = nullptr;
    QAction* FExportScorecardAction = nullptr;
    QAction* FExportDecisionsAction = nullptr;
    QAction* FQuitAction = nullptr;
    QAction* FAboutAction = nullptr;
    QAction* FUndoAction = nullptr;
    QAction* FRedoAction = nullptr;
    QAction* FXAxisSettingsAction = nullptr;
    QAction* FGraphSettingsAction = nullptr;
    QAction* FPreviousTabAction = nullptr;
    QAction* FNextTabAction = nullptr;
};
