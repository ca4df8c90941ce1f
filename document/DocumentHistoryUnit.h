#pragma once

#include "map/GraphicsSettingsUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QUndoCommand>
#include <functional>
#include <memory>

// The whole document as it stood at one moment: the elements list, the
// scenario table and the graph settings, copied in memory. Undo puts a state
// back in one piece, so that a save after undoing writes exactly what a save
// before the edit wrote.
class TDocumentState {
public:
    TDocumentState() = default;
    TDocumentState(const TElementsList& Elements, const TScenarioFrame& Scenarios,
                   const TGraphicsSettings& Settings);
    TDocumentState(const TDocumentState& Other);
    TDocumentState& operator=(const TDocumentState&) = delete;

    // Everything the document holds; whether the axis is shown stays as the
    // view has it.
    void PutBack(TElementsList& Elements, TScenarioFrame& Scenarios,
                 TGraphicsSettings& Settings) const;
    // Whether a save of the two would write the same.
    bool SameAs(const TDocumentState& Other) const;

    const TElementsList& Elements() const { return FElements; }
    const TScenarioFrame& Scenarios() const { return FScenarios; }
    const TGraphicsSettings& Settings() const { return FSettings; }

private:
    TElementsList FElements;
    TScenarioFrame FScenarios;
    TGraphicsSettings FSettings;
};

// Where a step leaves the selection: the grid row and column of the edited
// cell or element, kept where the row still exists.
struct TStepSelection {
    int32_t Row = 0;
    int32_t Col = 0;
};

// One undoable change of the document, named for the user. The change has
// been made when the step is pushed, so the first redo does nothing; later
// redos and every undo put back a whole state through Apply.
class TDocumentStep : public QUndoCommand {
public:
    using TApply = std::function<void(const TDocumentState&, TStepSelection)>;

    TDocumentStep(const QString& Name, std::shared_ptr<const TDocumentState> Before,
                  TStepSelection BeforeSelection, std::shared_ptr<const TDocumentState> After,
                  TStepSelection AfterSelection, TApply Apply);

    void undo() override;
    void redo() override;

private:
    std::shared_ptr<const TDocumentState> FBefore;
    std::shared_ptr<const TDocumentState> FAfter;
    TStepSelection FBeforeSelection;
    TStepSelection FAfterSelection;
    TApply FApply;
    bool FDone = true;
};
