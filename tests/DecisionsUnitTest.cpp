#include "document/DecisionsUnit.h"
#include "base/ErrorUnit.h"
#include "document/PathwayFileUnit.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable failure messages: the year as the table shows it.
void PrintTo(const TDecisionYear& Year, std::ostream* Out) {
    *Out << DecisionYearText(Year).toStdString();
}

namespace {

using Y = TDecisionYear;
const Y Now{Y::dyNow, 0};
const Y None{};
Y In(int32_t Year) {
    return {Y::dyYear, Year};
}
Y After(int32_t Year) {
    return {Y::dyAfter, Year};
}

// A condition-based plan worked out by hand: a rising, a falling, a gappy
// scenario and one of a single year; pathways whose predecessors tip inside,
// before and after the years, and a lead time longer than the horizon.
class Decisions : public ::testing::Test {
protected:
    void SetUp() override {
        TElementsList& L = Doc.Elements;
        Current = L.AddSimpleElement("Current Situation", clGray, 10, 0, 1);
        L.SetCurrentElementID(Current->ID());
        Dike = L.AddSimpleElement("Dike", clBlue, 33, 0, 0);
        Barrier = L.AddSimpleElement("Barrier", clRed, 80, 0, 0);
        Barrier->SetLeadTime(20);
        Retreat = L.AddSimpleElement("Retreat", clGreen, 200, 0, 0);
        Retreat->SetLeadTime(100);
        Pump = L.AddSimpleElement("Pump", clYellow, -5, 0, 0);
        Wall = L.AddSimpleElement("Wall", clNavy, 95, 0, 0);
        AddScenarioColumn(Doc.Scenarios, "High",
                          {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90"});
        AddScenarioColumn(Doc.Scenarios, "Drop",
                          {"90", "80", "70", "60", "50", "40", "30", "20", "10", "0"});
        AddScenarioColumn(Doc.Scenarios, "Sparse", {"0", "", "", "", "", "10", "", "", "", "90"});
        AddScenarioColumn(Doc.Scenarios, "Single", {"5"});
    }
    TElement* Pathway(TElement* From, TElement* To, TCombinationType Type = ctSequence) {
        return AddTestPathway(Doc.Elements, From, To, Type, From->TippingPointValue());
    }

    TSeparatorGuard Guard{QLatin1Char('.')};
    TPathwayDocument Doc;
    TElement* Current = nullptr;
    TElement* Dike = nullptr;
    TElement* Barrier = nullptr;
    TElement* Retreat = nullptr;
    TElement* Pump = nullptr;
    TElement* Wall = nullptr;
};

TEST_F(Decisions, DecideByTheYearThePredecessorTipsLessTheLeadTime) {
    const struct {
        const char* Name;
        TElement* From;
        TElement* To;
        Y Years[4]; // High, Drop, Sparse, Single
    } Cases[] = {
        // Dike tips at 33: 2043 rising, 2067 falling, 2071 between 2060
        // (10) and 2100 (90); the barrier takes 20 years.
        {"Dike to Barrier", Dike, Barrier, {In(2023), In(2047), In(2051), None}},
        // A hundred years of lead time lie before every first year.
        {"Dike to Retreat", Dike, Retreat, {Now, Now, Now, None}},
        // Below the first value of a rising scenario the pump has tipped by
        // 2010; a falling one never comes down to -5.
        {"Pump to Barrier", Pump, Barrier, {Now, After(2080), Now, None}},
        // 95 is never reached by a rising scenario up to 90; a falling one
        // starting at 90 is past it from the start.
        {"Wall to Barrier", Wall, Barrier, {After(2080), Now, After(2080), None}},
        // No lead time: the year the predecessor tips.
        {"Barrier to Dike", Barrier, Dike, {In(2090), In(2020), In(2095), None}},
    };
    for (const auto& Case : Cases)
        Pathway(Case.From, Case.To);
    const TDecisions Table(Doc.Elements, Doc.Scenarios);
    ASSERT_EQ(Table.RowCount(), int32_t(std::size(Cases)));
    ASSERT_EQ(Table.YearColumnCount(), 4);
    EXPECT_EQ(Table.YearCaption(1), "Drop");
    for (int32_t Row = 0; Row < Table.RowCount(); ++Row) {
        const auto& Case = Cases[Row];
        EXPECT_EQ(Table.From(Row), Case.From) << Case.Name;
        EXPECT_EQ(Table.To(Row), Case.To) << Case.Name;
        EXPECT_EQ(Table.LeadTime(Row), Case.To->LeadTime()) << Case.Name;
        EXPECT_EQ(Table.ListIndex(Row), 6 + Row);
        for (int32_t Column = 0; Column < 4; ++Column)
            EXPECT_EQ(Table.Year(Row, Column), Case.Years[Column])
                << Case.Name << ", " << Table.YearCaption(Column).toStdString();
    }
    EXPECT_EQ(Table.Earliest(0), In(2023));
    EXPECT_FALSE(Table.DueNow(0));
    EXPECT_TRUE(Table.DueNow(1));
    // The row of the element at a list index; -1 (no row) for an action.
    const auto RowOf = [&Table](int32_t Index) -> int32_t {
        for (int32_t Row = 0; Row < Table.RowCount(); ++Row)
            if (Table.ListIndex(Row) == Index)
                return Row;
        return -1;
    };
    EXPECT_EQ(Table.Year(RowOf(6), 1), In(2047));
    EXPECT_EQ(Table.Year(RowOf(1), 1), None); // an action decides nothing
}

TEST_F(Decisions, APathwayTakesTheLeadTimeOfTheActionItChangesTo) {
    TElement* First = Pathway(Dike, Barrier);
    // Further on from the pathway: to a pathway element that changes to the
    // barrier.
    TElement* Second = Pathway(Current, First, ctCombine);
    EXPECT_EQ(First->EffectiveLeadTime(), 20);
    EXPECT_EQ(Second->EffectiveLeadTime(), 20);
    First->SetCombinationSecondID(999); // a file that names no such element
    EXPECT_EQ(First->EffectiveLeadTime(), 0);
}

TEST_F(Decisions, TheTextsOfTheYears) {
    const std::pair<Y, const char*> Cases[][2] = {
        {{In(2041), "2041"}, {In(2041), "2041"}},
        {{Now, "now"}, {Now, "now"}},
        {{After(2080), "> 2080"}, {After(2080), ">2080"}},
        {{None, "\xE2\x80\x93"}, {None, ""}},
    };
    for (const auto& [Shown, Written] : Cases) {
        EXPECT_EQ(DecisionYearText(Shown.first), QString::fromUtf8(Shown.second));
        EXPECT_EQ(DecisionYearCsv(Written.first), QString::fromUtf8(Written.second));
    }
}

// In a time-based pathway the predecessor's time value in each column is the
// year it tips.
TEST(DecisionsOfATimeBasedPathway, ComeFromTheTimeValues) {
    TPathwayDocument Doc;
    TElementsList& L = Doc.Elements;
    L.SetPathwayType(ptTimeBased);
    L.SetTippingTimeValuesCount(2);
    L.SetTippingTimeColumnCaption(1, "Dry");
    TElement* Dike = L.AddSimpleElement("Dike", clBlue, 0, 0, 0);
    Dike->SetTippingTimeValue(0, 2040);
    Dike->SetTippingTimeValue(1, 2035.5);
    TElement* Early = L.AddSimpleElement("Early", clRed, 0, 0, 0);
    Early->SetTippingTimeValue(0, 2015);
    Early->SetTippingTimeValue(1, 2100);
    TElement* Barrier = L.AddSimpleElement("Barrier", clRed, 0, 0, 0);
    Barrier->SetLeadTime(10);
    AddTestPathway(L, Dike, Barrier, ctSequence, 0);
    AddTestPathway(L, Early, Barrier, ctSequence, 0);
    const TDecisions Table(L, Doc.Scenarios);
    ASSERT_EQ(Table.YearColumnCount(), 2);
    EXPECT_EQ(Table.YearCaption(0), "Time0");
    EXPECT_EQ(Table.Year(0, 0), In(2030));
    EXPECT_EQ(Table.Year(0, 1), In(2025));
    EXPECT_EQ(Table.Year(1, 0), Now); // 2005 lies before 2010
    EXPECT_EQ(Table.Year(1, 1), In(2090));
}

// The CSV of a small plan, byte for byte.
TEST_F(Decisions, TheCsvOfASmallPlan) {
    Pathway(Dike, Barrier);
    Pathway(Wall, Retreat, ctCombine);
    Wall->SetCaption("Wall, \"high\"");
    EXPECT_EQ(DecisionsCsv(Doc.Elements, Doc.Scenarios),
              "\xEF\xBB\xBF"
              "ID,From,To,Type,Lead Time,High,Drop,Sparse,Single\r\n"
              "7,Dike,Barrier,Sequence,20,2023,2047,2051,\r\n"
              "8,\"Wall, \"\"high\"\"\",Retreat,Combine,100,>2000,now,>2000,\r\n");
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("decisions.csv");
    SaveDecisionsCsv(Name, Doc.Elements, Doc.Scenarios);
    EXPECT_EQ(ReadAll(Name), DecisionsCsv(Doc.Elements, Doc.Scenarios));
    EXPECT_THROW(
        SaveDecisionsCsv(Dir.filePath("no/such/folder/x.csv"), Doc.Elements, Doc.Scenarios),
        ECorvinalError);
}

// The map marks what the table says: for each scenario chosen, a point on
// the predecessor's line at the value the scenario reaches in the decide-by
// year, due now at the line's start, nothing after the last year or without
// a year.
TEST_F(Decisions, TheMapMarksTheDecisionsOfTheChosenScenario) {
    Pathway(Dike, Barrier); // High 2023, Drop 2047, Sparse 2051
    Pathway(Dike, Retreat); // now everywhere
    Pathway(Wall, Barrier); // High after 2080: nothing
    const TDecisions Table(Doc.Elements, Doc.Scenarios);
    const double Values[] = {13, 53, 10 * 41.0 / 50}; // High 2023, Drop 2047, Sparse 2051
    for (int32_t Scenario = 0; Scenario < 3; ++Scenario) {
        SCOPED_TRACE(Scenario);
        const std::vector<TMapDecisionPoint> Points =
            MapDecisionPoints(Doc.Elements, Doc.Scenarios, Scenario + 1, -1);
        // Every row with a year or due now, in list order, on its
        // predecessor's list index.
        size_t K = 0;
        for (int32_t Row = 0; Row < Table.RowCount(); ++Row) {
            const TDecisionYear Year = Table.Year(Row, Scenario);
            if (Year.Kind != Y::dyYear && Year.Kind != Y::dyNow)
                continue;
            ASSERT_LT(K, Points.size());
            EXPECT_EQ(Doc.Elements.Elements(Points[K].Predecessor), Table.From(Row));
            EXPECT_EQ(Points[K].DueNow, Year.Kind == Y::dyNow);
            ++K;
        }
        EXPECT_EQ(K, Points.size());
        ASSERT_GE(Points.size(), 2u);
        EXPECT_DOUBLE_EQ(Points[0].Value, Values[Scenario]);
        EXPECT_EQ(Points[0].ToolTip,
                  QStringLiteral("Decide on Barrier by %1 (%2)")
                      .arg(DecisionYearText(Table.Year(0, Scenario)), Table.YearCaption(Scenario)));
        EXPECT_EQ(Points[1].ToolTip,
                  QStringLiteral("Decide on Retreat now (%1)").arg(Table.YearCaption(Scenario)));
    }
    // No choice, a scenario that is not there, and one with a single year
    // mark nothing.
    for (const int32_t Choice : {0, -1, 5, 4})
        EXPECT_TRUE(MapDecisionPoints(Doc.Elements, Doc.Scenarios, Choice, -1).empty()) << Choice;
}

TEST(DecisionsOfATimeBasedPathway, MarkTheTimeColumnShown) {
    TPathwayDocument Doc;
    TElementsList& L = Doc.Elements;
    L.SetPathwayType(ptTimeBased);
    L.SetTippingTimeValuesCount(2);
    L.SetTippingTimeColumnCaption(1, "Dry");
    TElement* Dike = L.AddSimpleElement("Dike", clBlue, 0, 0, 0);
    Dike->SetTippingTimeValue(0, 2040);
    Dike->SetTippingTimeValue(1, 2035.5);
    TElement* Barrier = L.AddSimpleElement("Barrier", clRed, 0, 0, 0);
    Barrier->SetLeadTime(10);
    AddTestPathway(L, Dike, Barrier, ctSequence, 0);
    for (const int32_t Series : {0, 1}) {
        const std::vector<TMapDecisionPoint> Points =
            MapDecisionPoints(L, Doc.Scenarios, 1, Series);
        ASSERT_EQ(Points.size(), 1u);
        EXPECT_EQ(Points[0].Predecessor, 0);
        EXPECT_EQ(Points[0].Value, Series == 0 ? 2030 : 2025);
        EXPECT_EQ(Points[0].ToolTip, Series == 0 ? "Decide on Barrier by 2030 (Time0)"
                                                 : "Decide on Barrier by 2025 (Dry)");
    }
    EXPECT_TRUE(MapDecisionPoints(L, Doc.Scenarios, 0, 0).empty());
    EXPECT_TRUE(MapDecisionPoints(L, Doc.Scenarios, 1, -1).empty());
}

} // namespace
