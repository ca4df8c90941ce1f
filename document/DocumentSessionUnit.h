#pragma once

#include "document/DocumentHistoryUnit.h"
#include "map/GraphicsSettingsUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QUndoStack;
class TReadReport;

// The document of a window and what happens to it: its three parts (the
// elements list, the scenario table, the graph settings), the file it
// belongs to and its history. Every change goes through here as one step,
// and whoever shows the document learns of it by a signal: the views
// observe, they never own.
class TDocumentSession : public QObject {
    Q_OBJECT
public:
    explicit TDocumentSession(QObject* Parent = nullptr);
    ~TDocumentSession() override;

    TElementsList& Elements() { return *FElements; }
    const TElementsList& Elements() const { return *FElements; }
    TScenarioFrame& Scenarios() { return *FScenarios; }
    const TScenarioFrame& Scenarios() const { return *FScenarios; }
    TGraphicsSettings& Settings() { return FSettings; }
    const TGraphicsSettings& Settings() const { return FSettings; }

    // The file the document was opened from or saved to; empty for a new
    // document, which Save cannot write.
    const QString& FileName() const { return FFileName; }
    // The history of changes. The document is dirty exactly when the history
    // is not at the state last saved, opened or created.
    QUndoStack* UndoStack() const { return FUndoStack; }
    bool IsDirty() const;
    // The three parts' own flags, set by the steps that change them and
    // cleared with the history's clean state.
    bool ElementsListIsDirty() const { return FElementsListIsDirty; }
    void SetElementsListIsDirty(bool Value);

    // A new document holding a new pathway of Type: its one action, the
    // current situation, and the tipping range 0 to 100. No file name, a new
    // history.
    void New(TPathwayType Type);
    // Reads the whole file into a fresh document and, only when that
    // succeeded, makes it this session's document, named after the file,
    // with a new history. What the file holds that could not be used goes
    // to Report. A file that cannot be read leaves everything as it was.
    void Open(const QString& FileName, TReadReport* Report = nullptr);
    // Writes the document to its file and marks it saved. Fails without a
    // file name.
    void Save();
    // Writes the document to FileName and only then names it after the file
    // and marks it saved.
    void SaveAs(const QString& FileName);
    // Writes the document to FileName, nothing else.
    void WriteTo(const QString& FileName) const;
    // Names the document after a file without writing it (a new document
    // whose Save is to write there).
    void SetFileName(const QString& Value);

    // One change of the document as one undoable step named Name: Apply runs
    // at once. A change that changed nothing is no step. A change that fails
    // puts the document back as it was and lets the error go on, so that a
    // command that breaks off leaves no half-made change behind.
    void Change(const QString& Name, const std::function<void()>& Apply);
    // Where the user works, recorded with every step and handed back by
    // SelectionRestored when the step is undone or redone.
    void SetSelectionProvider(std::function<TStepSelection()> Provider);

Q_SIGNALS:
    // A step, an undo or a redo changed the document.
    void Changed();
    // New or Open made another document of it.
    void Replaced();
    // The file name changed (Open, Save As).
    void FileNameChanged(const QString& FileName);
    // An undo or a redo: the selection of the step's side now in force.
    void SelectionRestored(TStepSelection Selection);

private:
    std::shared_ptr<const TDocumentState> CurrentState() const;
    TStepSelection CurrentSelection() const;
    void Apply(const TDocumentState& State, TStepSelection Selection);
    void StartHistory();
    void MarkSaved();

    std::unique_ptr<TElementsList> FElements;
    std::unique_ptr<TScenarioFrame> FScenarios;
    TGraphicsSettings FSettings;
    QString FFileName;
    bool FElementsListIsDirty = false;
    bool FChanging = false;
    QUndoStack* FUndoStack;
    std::function<TStepSelection()> FSelectionProvider;
    // The state the last step left, shared with the next step that starts
    // from it, so that a history keeps one copy per step.
    std::shared_ptr<const TDocumentState> FLastState;
};

// The name a file is known by in the document: absolute, with the
// platform's separators.
QString DocumentFileName(const QString& FileName);
