#include "document/DocumentSessionUnit.h"

#include "base/ErrorUnit.h"
#include "document/PathwayFileUnit.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoStack>
#include <algorithm>

namespace {

// Every step keeps a copy of the document: a large document keeps fewer
// steps, so that a long session stays within some hundred megabytes.
const int32_t MaxHistoryElements = 1000000;

} // namespace

QString DocumentFileName(const QString& FileName) {
    return QDir::toNativeSeparators(QFileInfo(FileName).absoluteFilePath());
}

TDocumentSession::TDocumentSession(QObject* Parent)
    : QObject(Parent), FElements(std::make_unique<TElementsList>()),
      FScenarios(std::make_unique<TScenarioFrame>()), FUndoStack(new QUndoStack(this)) {
    // As a fresh document is set up: no current element, the decade years.
    const TPathwayDocument Fresh;
    TDocumentState(Fresh.Elements, Fresh.Scenarios, Fresh.Settings)
        .PutBack(*FElements, *FScenarios, FSettings);
    connect(FUndoStack, &QUndoStack::cleanChanged, this, [this](bool Clean) {
        if (Clean)
            MarkSaved();
    });
}

TDocumentSession::~TDocumentSession() {
    // The history tells the session of its clearing as it goes; it goes
    // while the session is still whole.
    FUndoStack->disconnect(this);
    delete FUndoStack;
}

bool TDocumentSession::IsDirty() const {
    return !FUndoStack->isClean();
}

void TDocumentSession::SetElementsListIsDirty(bool Value) {
    FElementsListIsDirty = Value;
    if (Value)
        FUndoStack->resetClean();
    else
        FUndoStack->setClean();
}

void TDocumentSession::MarkSaved() {
    FElementsListIsDirty = false;
    FScenarios->SetScenarioIsDirty(false);
    FSettings.SetGraphicsSettingIsDirty(false);
}

void TDocumentSession::StartHistory() {
    FUndoStack->clear();
    FLastState.reset();
    const int32_t Count = std::max<int32_t>(1, FElements->Count());
    FUndoStack->setUndoLimit(std::clamp(MaxHistoryElements / Count, 100, 1000));
    FUndoStack->setClean();
    MarkSaved();
}

void TDocumentSession::SetFileName(const QString& Value) {
    if (Value == FFileName)
        return;
    FFileName = Value;
    Q_EMIT FileNameChanged(FFileName);
}

void TDocumentSession::New(TPathwayType Type) {
    // Nothing of the previous document stays: a fresh one, set up as at
    // start-up, then the new pathway in it.
    TPathwayDocument Fresh;
    Fresh.Elements.SetPathwayType(Type);
    Fresh.Elements.SetTippingTimeValuesCount(1);
    TElement* Start = Fresh.Elements.AddSimpleElement(QStringLiteral("Current Situation"),
                                                      RGBToColor(128, 128, 128), 10, 0, 1);
    Fresh.Elements.SetCurrentElementID(Start->ID());
    Fresh.Settings.SetMinTippingPointValue(0);
    Fresh.Settings.SetMaxTippingPointValue(100);
    TDocumentState(Fresh.Elements, Fresh.Scenarios, Fresh.Settings)
        .PutBack(*FElements, *FScenarios, FSettings);
    SetFileName(QString());
    StartHistory();
    Q_EMIT Replaced();
}

void TDocumentSession::Open(const QString& FileName, TReadReport* Report) {
    // A fresh document takes the whole file; a file that cannot be read
    // leaves the session's document as it was.
    TPathwayDocument Fresh;
    Fresh.Load(FileName, Report);
    TDocumentState(Fresh.Elements, Fresh.Scenarios, Fresh.Settings)
        .PutBack(*FElements, *FScenarios, FSettings);
    SetFileName(DocumentFileName(FileName));
    StartHistory();
    Q_EMIT Replaced();
}

void TDocumentSession::WriteTo(const QString& FileName) const {
    SavePathwayFile(FileName, *FElements, *FScenarios, FSettings);
}

void TDocumentSession::Save() {
    if (FFileName.trimmed().isEmpty())
        throw ECorvinalError(QStringLiteral("The document has no file name yet."));
    WriteTo(FFileName);
    FUndoStack->setClean();
    MarkSaved();
}

void TDocumentSession::SaveAs(const QString& FileName) {
    // The document is named after the file only once it is written there.
    WriteTo(FileName);
    SetFileName(DocumentFileName(FileName));
    FUndoStack->setClean();
    MarkSaved();
}

std::shared_ptr<const TDocumentState> TDocumentSession::CurrentState() const {
    return std::make_shared<const TDocumentState>(*FElements, *FScenarios, FSettings);
}

TStepSelection TDocumentSession::CurrentSelection() const {
    return FSelectionProvider ? FSelectionProvider() : TStepSelection();
}

void TDocumentSession::SetSelectionProvider(std::function<TStepSelection()> Provider) {
    FSelectionProvider = std::move(Provider);
}

void TDocumentSession::Change(const QString& Name, const std::function<void()>& ApplyChange) {
    // A change made within a change is part of it.
    if (FChanging) {
        ApplyChange();
        return;
    }
    struct TChanging {
        bool& Flag;
        explicit TChanging(bool& F) : Flag(F) { Flag = true; }
        ~TChanging() { Flag = false; }
    } Changing(FChanging);
    std::shared_ptr<const TDocumentState> Before = CurrentState();
    const TStepSelection BeforeSelection = CurrentSelection();
    try {
        ApplyChange();
    } catch (...) {
        Before->PutBack(*FElements, *FScenarios, FSettings);
        Q_EMIT Changed();
        throw;
    }
    std::shared_ptr<const TDocumentState> After = CurrentState();
    // Each part is compared once, and its flag comes from that comparison:
    // comparing a large list walks every element.
    const bool ElementsChanged = !After->Elements().SameAs(Before->Elements());
    const bool ScenariosChanged = !After->Scenarios().SameAs(Before->Scenarios());
    const bool SettingsChanged = !After->Settings().SameStoredAs(Before->Settings());
    if (!ElementsChanged && !ScenariosChanged && !SettingsChanged)
        return;
    if (ElementsChanged)
        FElementsListIsDirty = true;
    if (ScenariosChanged)
        FScenarios->SetScenarioIsDirty(true);
    if (SettingsChanged)
        FSettings.SetGraphicsSettingIsDirty(true);
    if (FLastState && Before->SameAs(*FLastState))
        Before = FLastState;
    FLastState = After;
    // Pushing runs the step's redo once, which has nothing to do: the
    // change is made.
    FUndoStack->push(new TDocumentStep(
        Name, std::move(Before), BeforeSelection, std::move(After), CurrentSelection(),
        [this](const TDocumentState& State, TStepSelection Selection) {
            Apply(State, Selection);
        }));
    Q_EMIT Changed();
}

void TDocumentSession::Apply(const TDocumentState& State, TStepSelection Selection) {
    State.PutBack(*FElements, *FScenarios, FSettings);
    Q_EMIT Changed();
    Q_EMIT SelectionRestored(Selection);
}
