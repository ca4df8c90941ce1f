#include "document/DocumentHistoryUnit.h"

#include "document/PathwayFileUnit.h"
#include "file/XmlUnit.h"
#include "tests/support/TestSupport.h"

#include <QUndoStack>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

QByteArray Saved(const TPathwayDocument& Doc) {
    TXmlDoc XML;
    WritePathwayDocument(XML, Doc.Elements, Doc.Scenarios, Doc.Settings);
    return XML.SaveToBytes();
}

// Every kind of content a file can hold, and some it can only be given by
// hand: time columns, pathway elements, costs, odd numbers.
void Fill(TPathwayDocument& Doc) {
    TElementsList& L = Doc.Elements;
    L.SetPathwayType(ptTimeBased);
    L.SetTippingTimeValuesCount(2);
    L.SetTippingTimeColumnCaption(1, "High");
    TElement* Current = L.AddSimpleElement("Current Situation", clGray, 10, 0, 1);
    TElement* Dike = L.AddSimpleElement("Dike", RGBToColor(192, 160, 64), 2.5, 100, 3);
    Dike->SetTippingTimeValue(1, std::numeric_limits<double>::quiet_NaN());
    TElement* Both = AddTestPathway(L, Current, Dike, ctSequence, 6);
    Both->SetTransferCosts(12.125);
    Both->SetVisualEffect(veGrayed);
    L.SetCurrentElementID(Current->ID());
    AddScenarioColumn(Doc.Scenarios, "Wet", {"0", "0.5", "", "1.5"});
    Doc.Settings.SetXAxisTitle("Sea level rise (cm)");
    Doc.Settings.SetMaxTippingPointValue(-0.0);
    Doc.Settings.SetShowXAxis(false);
}

TEST(DocumentHistory, AStatePutBackSavesAsTheDocumentDid) {
    TPathwayDocument Doc;
    Fill(Doc);
    const QByteArray Before = Saved(Doc);
    const TDocumentState State(Doc.Elements, Doc.Scenarios, Doc.Settings);
    EXPECT_TRUE(State.SameAs(TDocumentState(State)));

    // Change everything, then put the state back.
    TPathwayDocument Other;
    Other.Elements.AddSimpleElement("Other", clRed, 1, 0, 0);
    Other.Settings.SetFontSize(20);
    State.PutBack(Doc.Elements, Doc.Scenarios, Doc.Settings);
    EXPECT_EQ(Saved(Doc), Before);
    // Whether the axis is shown is the view's: it stays as the view has it.
    EXPECT_FALSE(Doc.Settings.ShowXAxis());
    State.PutBack(Other.Elements, Other.Scenarios, Other.Settings);
    EXPECT_TRUE(Other.Settings.ShowXAxis());
    EXPECT_EQ(Saved(Other), Before);
    EXPECT_TRUE(std::isnan(Doc.Elements.Elements(1)->TippingTimeValue(1)));
    EXPECT_EQ(Doc.Elements.Elements(2)->VisualEffect(), veGrayed);
    EXPECT_EQ(Doc.Elements.Elements(2)->ElementsList(), &Doc.Elements);
}

TEST(DocumentHistory, SameAsSeesEveryChange) {
    TPathwayDocument Doc;
    Fill(Doc);
    const TDocumentState Original(Doc.Elements, Doc.Scenarios, Doc.Settings);
    const std::function<void(TPathwayDocument&)> Changes[] = {
        [](TPathwayDocument& D) { D.Elements.Elements(1)->SetCaption("Dike "); },
        [](TPathwayDocument& D) { D.Elements.Elements(1)->SetTippingTimeValue(0, 2.5000001); },
        [](TPathwayDocument& D) { D.Elements.Elements(1)->SetTippingTimeValue(1, 0); },
        [](TPathwayDocument& D) { D.Elements.Elements(2)->SetTransferCosts(12); },
        [](TPathwayDocument& D) { D.Elements.Elements(2)->SetCombinationType(ctCombine); },
        [](TPathwayDocument& D) { D.Elements.Exchange(0, 1); },
        [](TPathwayDocument& D) { D.Elements.SetCurrentElementID(-1); },
        [](TPathwayDocument& D) { D.Elements.SetTippingTimeColumnCaption(1, "Low"); },
        [](TPathwayDocument& D) { D.Elements.Delete(2); },
        [](TPathwayDocument& D) { D.Scenarios.ScenariosStringGrid().SetCells(1, 3, "1"); },
        [](TPathwayDocument& D) { D.Settings.SetMaxTippingPointValue(0.0); },
        [](TPathwayDocument& D) { D.Settings.SetTicksXAxis(4); },
    };
    // What the file does not hold is no change.
    Doc.Settings.SetShowXAxis(true);
    EXPECT_TRUE(Original.SameAs(TDocumentState(Doc.Elements, Doc.Scenarios, Doc.Settings)));
    for (size_t I = 0; I < std::size(Changes); ++I) {
        SCOPED_TRACE(I);
        TPathwayDocument Changed;
        Original.PutBack(Changed.Elements, Changed.Scenarios, Changed.Settings);
        EXPECT_TRUE(
            Original.SameAs(TDocumentState(Changed.Elements, Changed.Scenarios, Changed.Settings)));
        Changes[I](Changed);
        EXPECT_FALSE(
            Original.SameAs(TDocumentState(Changed.Elements, Changed.Scenarios, Changed.Settings)));
    }
    // The dirty flags are no content.
    Doc.Settings.SetGraphicsSettingIsDirty(true);
    Doc.Scenarios.SetScenarioIsDirty(true);
    EXPECT_TRUE(Original.SameAs(TDocumentState(Doc.Elements, Doc.Scenarios, Doc.Settings)));
}

TEST(DocumentHistory, StepsUndoAndRedoWholeStates) {
    TPathwayDocument Doc;
    Fill(Doc);
    const QByteArray First = Saved(Doc);
    QUndoStack Stack;
    QList<TStepSelection> Selections;
    const auto Apply = [&](const TDocumentState& State, TStepSelection Selection) {
        State.PutBack(Doc.Elements, Doc.Scenarios, Doc.Settings);
        Selections << Selection;
    };
    auto Before = std::make_shared<TDocumentState>(Doc.Elements, Doc.Scenarios, Doc.Settings);
    Doc.Elements.Delete(2);
    auto After = std::make_shared<TDocumentState>(Doc.Elements, Doc.Scenarios, Doc.Settings);
    const QByteArray Second = Saved(Doc);
    Stack.push(new TDocumentStep("Delete Action", Before, {3, 2}, After, {2, 2}, Apply));
    // Pushing does not apply the change again.
    EXPECT_TRUE(Selections.isEmpty());
    EXPECT_EQ(Stack.undoText(), "Delete Action");
    Stack.undo();
    EXPECT_EQ(Saved(Doc), First);
    Stack.redo();
    EXPECT_EQ(Saved(Doc), Second);
    ASSERT_EQ(Selections.size(), 2);
    EXPECT_EQ(Selections[0].Row, 3);
    EXPECT_EQ(Selections[1].Row, 2);
}

} // namespace
