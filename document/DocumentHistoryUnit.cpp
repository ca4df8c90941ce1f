#include "document/DocumentHistoryUnit.h"

TDocumentState::TDocumentState(const TElementsList& Elements, const TScenarioFrame& Scenarios,
                               const TGraphicsSettings& Settings)
    : FScenarios(Scenarios), FSettings(Settings) {
    FElements.Assign(Elements);
}

TDocumentState::TDocumentState(const TDocumentState& Other)
    : FScenarios(Other.FScenarios), FSettings(Other.FSettings) {
    FElements.Assign(Other.FElements);
}

void TDocumentState::PutBack(TElementsList& Elements, TScenarioFrame& Scenarios,
                             TGraphicsSettings& Settings) const {
    Elements.Assign(FElements);
    Scenarios = FScenarios;
    // Whether the axis is shown is the view's choice, kept over every
    // document.
    const bool ShowXAxis = Settings.ShowXAxis();
    Settings = FSettings;
    Settings.SetShowXAxis(ShowXAxis);
}

bool TDocumentState::SameAs(const TDocumentState& Other) const {
    return FElements.SameAs(Other.FElements) && FScenarios.SameAs(Other.FScenarios) &&
           FSettings.SameStoredAs(Other.FSettings);
}

TDocumentStep::TDocumentStep(const QString& Name, std::shared_ptr<const TDocumentState> Before,
                             TStepSelection BeforeSelection,
                             std::shared_ptr<const TDocumentState> After,
                             TStepSelection AfterSelection, TApply Apply)
    : QUndoCommand(Name), FBefore(std::move(Before)), FAfter(std::move(After)),
      FBeforeSelection(BeforeSelection), FAfterSelection(AfterSelection), FApply(std::move(Apply)) {
}

void TDocumentStep::undo() {
    FApply(*FBefore, FBeforeSelection);
    FDone = false;
}

void TDocumentStep::redo() {
    // Pushing the step runs redo once: the change is there already.
    if (FDone)
        return;
    FApply(*FAfter, FAfterSelection);
    FDone = true;
}
