#include "map/MapGeometryUnit.h"
#include "base/ErrorUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/MapRows.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

namespace {

class MapGeometry : public ::testing::Test {
protected:
    void SetUp() override {
        List.SetCurrentElementID(-1);
        SetUpScenarioYears(Scenarios);
    }
    TElement* Action(const QString& Name, double Value, TColor Color = clRed) {
        return List.AddSimpleElement(Name, Color, Value, 0, 0);
    }
    TElement* Pathway(double Value, const TElement* Predecessor, const TElement* Second,
                      TCombinationType Type = ctSequence) {
        TElement* E =
            List.AddCombinationElement(QStringLiteral("P"), Value, Predecessor->ID(), Second->ID());
        E->SetCombinationType(Type);
        return E;
    }
    void AddScenario() {
        TCellGrid& Grid = Scenarios.ScenariosStringGrid();
        Grid.SetColCount(Grid.ColCount() + 1);
    }
    // The layout of a drawing, with the axis band of the scenarios.
    TMapGeometry Geometry(int32_t Series = -1) {
        return TMapGeometry(Settings, List, Scenarios, Series);
    }

    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
};

TEST(MapRounding, TiesGoToEven) {
    const std::pair<double, int32_t> Cases[] = {
        {2.5, 2},    {3.5, 4},    {0.5, 0},  {1.5, 2}, {-2.5, -2}, {-3.5, -4},
        {2.4999, 2}, {2.5001, 3}, {-0.4, 0}, {7.0, 7}, {-7.6, -8},
    };
    for (const auto& [Value, Expected] : Cases) {
        EXPECT_EQ(RoundToPixel(Value), Expected) << Value;
    }
}

TEST(MapRounding, NonFiniteAndHugeValuesStayInThePixelRange) {
    EXPECT_EQ(RoundToPixel(std::nan("")), 0);
    EXPECT_EQ(RoundToPixel(std::numeric_limits<double>::infinity()), MaxPixel);
    EXPECT_EQ(RoundToPixel(-std::numeric_limits<double>::infinity()), -MaxPixel);
    EXPECT_EQ(RoundToPixel(1e300), MaxPixel);
    EXPECT_EQ(RoundToPixel(-1e300), -MaxPixel);
    EXPECT_EQ(ClampPixel(int64_t(1) << 40), MaxPixel);
}

TEST_F(MapGeometry, ValueToXWithTheDefaults) {
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.ValueToX(0), 210);
    EXPECT_EQ(G.ValueToX(10000), 580);
    EXPECT_EQ(G.ValueToX(20000), 950);
    EXPECT_EQ(G.ValueToX(-5000), 210);
    EXPECT_GT(G.ValueToX(25000), 1000 - 50);
    EXPECT_EQ(G.ValueToX(std::nan("")), 210);
    EXPECT_EQ(G.ValueToX(std::numeric_limits<double>::infinity()), MaxPixel);
    EXPECT_EQ(G.ValueToX(-std::numeric_limits<double>::infinity()), 210);
}

TEST_F(MapGeometry, ValueToXRoundsTiesToEven) {
    Settings.SetDrawingAreaWidth(360); // a plot 100 pixels wide
    Settings.SetMaxTippingPointValue(100);
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.ValueToX(2.5), 212);
    EXPECT_EQ(G.ValueToX(3.5), 214);
    EXPECT_EQ(G.ValueToX(50), 260);
}

// A range that runs backwards, or whose end is no number, would put lines
// at the plot's edge: no value is placed, and the reason says why.
TEST_F(MapGeometry, SwappedRangeOrOneThatIsNoNumberPlacesNothing) {
    const std::pair<double, double> Ranges[] = {
        {100, 0}, {std::nan(""), 100}, {0, std::numeric_limits<double>::infinity()}};
    for (const auto& [Min, Max] : Ranges) {
        Settings.SetMinTippingPointValue(Min);
        Settings.SetMaxTippingPointValue(Max);
        const TMapGeometry G = Geometry();
        try {
            G.ValueToX(50);
            FAIL() << Min << " .. " << Max;
        } catch (const ECorvinalError& E) {
            EXPECT_EQ(E.Message(), TGraphicsSettings::TippingRangeProblem(Min, Max));
        }
    }
    EXPECT_EQ(TGraphicsSettings::TippingRangeProblem(100, 0),
              "The tipping-point axis runs from 100 to 0: its minimum must lie below its "
              "maximum.");
}

TEST_F(MapGeometry, EmptyRangeFailsAtTheFirstValueConversion) {
    Settings.SetMinTippingPointValue(40);
    Settings.SetMaxTippingPointValue(40);
    Action(QStringLiteral("A"), 10);
    const TMapGeometry G = Geometry(); // the layout itself needs no scale
    EXPECT_EQ(G.ElementToY(*List.Elements(0)), 165);
    try {
        G.ValueToX(40);
        FAIL() << "no error";
    } catch (const ECorvinalError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Floating point division by zero"));
    }
}

TEST_F(MapGeometry, HugeRangesGiveFinitePixels) {
    Settings.SetMinTippingPointValue(-1e308);
    Settings.SetMaxTippingPointValue(1e308); // the range itself overflows
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.ValueToX(0), 210);
    EXPECT_EQ(G.ValueToX(1e308), 210);
    Settings.SetMinTippingPointValue(0);
    Settings.SetMaxTippingPointValue(1e-320); // the scale overflows
    const TMapGeometry Tiny = Geometry();
    EXPECT_EQ(Tiny.ValueToX(0), 210);
    EXPECT_EQ(Tiny.ValueToX(1), MaxPixel);
}

TEST_F(MapGeometry, AxisBandHeight) {
    EXPECT_EQ(XAxisHeight(List, Scenarios), 70);
    AddScenario();
    AddScenario();
    EXPECT_EQ(XAxisHeight(List, Scenarios), 170);
    List.SetPathwayType(ptTimeBased);
    EXPECT_EQ(XAxisHeight(List, Scenarios), 70);
}

TEST_F(MapGeometry, ActionRows) {
    TElement* A = Action(QStringLiteral("A"), 10);
    EXPECT_EQ(Geometry().ElementToY(*A), 165); // halfway down the plot
    TElement* B = Action(QStringLiteral("B"), 20);
    {
        const TMapGeometry G = Geometry();
        EXPECT_EQ(G.ElementToY(*A), 10);
        EXPECT_EQ(G.ElementToY(*B), 320); // AxisTop
    }
    TElement* C = Action(QStringLiteral("C"), 30);
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.ElementToY(*C), 320);
    EXPECT_EQ(G.ElementToY(*B), 165);
    AddScenario(); // a scenario strip lifts the axis by 50 pixels
    EXPECT_EQ(Geometry().ElementToY(*C), 270);
}

TEST_F(MapGeometry, PathwayElementsTakeTheRowOfTheirSecondOrASubRow) {
    TElement* Cur = Action(QStringLiteral("Current"), 10);
    List.SetCurrentElementID(Cur->ID());
    TElement* Dike = Action(QStringLiteral("Dike"), 40);
    TElement* Pump = Action(QStringLiteral("Pump"), 30);
    TElement* Equal = Pathway(40, Cur, Dike);   // tips with the dike: its row
    TElement* Longer = Pathway(60, Pump, Dike); // outlasts it: a sub-row
    TElement* Third = Pathway(70, Cur, Dike);   // the next sub-row
    TElement* Deeper = Pathway(80, Longer, Third);
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.ElementToY(*Dike), 165);
    EXPECT_FALSE(G.ExtendsPastSecond(*Equal));
    EXPECT_EQ(G.ElementToY(*Equal), 165);
    EXPECT_TRUE(G.ExtendsPastSecond(*Longer));
    EXPECT_EQ(G.ChildNumber(*Longer), 1);
    EXPECT_EQ(G.ElementToY(*Longer), 165 + 2 * 20);
    EXPECT_EQ(G.ElementToY(*Third), 165 + 3 * 20);
    EXPECT_EQ(G.ElementToY(*Deeper), 165 + 3 * 20 + 20);
    EXPECT_EQ(G.ElementColor(*Deeper), clRed);
}

// Where the plain rows let lines overlap or reach the axis, the rows are
// separated, each moved as little as that takes; maps where nothing
// overlapped keep the plain rows (LayoutAgreesWithTheModelOnRandomLists).
TEST_F(MapGeometry, OverlappingRowsAreSeparated) {
    struct TCase {
        const char* What;
        int32_t Height;
        int32_t Actions;
        // Pathway elements: (predecessor, second, value) by action index;
        // each outlasts its second, all but the first action tip at 2.
        std::vector<std::tuple<int, int, double>> Pathways;
        // Expected rows by list index (actions first, then the pathways);
        // -1 where only the rules below are checked.
        std::vector<int32_t> Rows;
        int32_t Spacing; // at least, between overlapping lines
        // At least, between an action's row and the sub-rows below it: lines
        // of one colour keep white between them where there is room.
        int32_t SubSpacing;
    };
    const TCase Cases[] = {
        // Rows 20 apart: the sub-row of action 4 would lie on action 5's row
        // and hide under its line; it moves halfway between the two.
        {"sub-row on the next row",
         390,
         16,
         {{1, 4, 3}},
         {10, 30, 50, 70, 90, 110, 130, 150, 170, 190, 210, 230, 250, 270, 290, 310, 100},
         RowSpacing,
         SubRowSpacing},
        // The last row's sub-row would lie on the axis line (AxisTop + 20):
        // it moves up to the lowest row, 10 above it.
        {"last row's sub-row", 400, 3, {{1, 2, 3}}, {10, 165, 320, 330}, RowSpacing, SubRowSpacing},
        // Two or three do not fit between the last row and the lowest, with
        // white between lines of one colour: the last action moves up as
        // far as that takes, and nothing else.
        {"two sub-rows below the last row",
         400,
         3,
         {{1, 2, 3}, {0, 2, 4}},
         {10, 165, 314, 322, 330},
         RowSpacing,
         SubRowSpacing},
        {"three sub-rows below the last row",
         400,
         3,
         {{1, 2, 3}, {0, 2, 4}, {1, 2, 5}},
         {10, 165, 306, 314, 322, 330},
         RowSpacing,
         SubRowSpacing},
        {"thirty actions, rows 10.7 apart",
         400,
         30,
         {{1, 0, 3}, {2, 0, 4}, {3, 7, 3}, {5, 28, 3}, {6, 29, 3}, {8, 29, 4}},
         {},
         RowSpacing,
         SubRowSpacing},
        // 60 actions and 19 sub-rows in 320 pixels: 4.05 pixels each.
        {"four pixels a row",
         400,
         60,
         {{1, 3, 3},
          {2, 3, 4},
          {4, 10, 3},
          {5, 11, 3},
          {6, 12, 3},
          {7, 20, 3},
          {8, 21, 3},
          {9, 22, 3},
          {10, 30, 3},
          {11, 31, 3},
          {12, 32, 3},
          {13, 40, 3},
          {14, 41, 3},
          {15, 42, 3},
          {16, 50, 3},
          {17, 51, 3},
          {18, 52, 3},
          {19, 59, 3},
          {20, 59, 4}},
         {},
         4,
         4},
        // 50 actions and 10 sub-rows: 5 pixels a row and 2 more for each
        // sub-row.
        {"five pixels a row and some",
         400,
         50,
         {{1, 3, 3},
          {2, 3, 4},
          {4, 10, 3},
          {5, 11, 3},
          {6, 12, 3},
          {7, 20, 3},
          {8, 21, 3},
          {9, 22, 3},
          {10, 30, 3},
          {11, 49, 3}},
         {},
         RowSpacing,
         RowSpacing + 2},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        List.ClearElements();
        Settings.SetDrawingAreaHeight(Case.Height);
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(6);
        std::vector<TElement*> Actions;
        for (int32_t A = 0; A < Case.Actions; ++A)
            Actions.push_back(Action(QStringLiteral("A%1").arg(A), A == 0 ? 0.5 : 2));
        List.SetCurrentElementID(Actions[0]->ID());
        for (const auto& [First, Second, Value] : Case.Pathways)
            Pathway(Value, Actions[size_t(First)], Actions[size_t(Second)], ctCombine);
        const TMapGeometry G = Geometry();
        for (size_t I = 0; I < Case.Rows.size(); ++I) {
            EXPECT_EQ(G.YAt(int32_t(I)), Case.Rows[I]) << "element " << I;
        }
        EXPECT_GE(ClosestOverlappingRows(G), Case.Spacing);
        EXPECT_TRUE(RowsWithinThePlot(G));
        // Actions from the top in list order; every sub-row below its
        // action and above the next action's row.
        for (int32_t A = 1; A < Case.Actions; ++A) {
            EXPECT_GT(G.YAt(A), G.YAt(A - 1)) << "action " << A;
        }
        for (int32_t I = Case.Actions; I < G.Count(); ++I) {
            const int32_t Second = G.SecondIndex(I);
            EXPECT_GE(G.YAt(I) - G.YAt(Second), Case.SubSpacing) << "pathway " << I;
            if (Second + 1 < Case.Actions) {
                EXPECT_LT(G.YAt(I), G.YAt(Second + 1)) << "pathway " << I;
            }
        }
        EXPECT_EQ(Settings.DrawingAreaHeight(), Case.Height);
    }
}

// Nested sub-rows can meet: an element outlasting the first sub-row of an
// action lies where that action's second sub-row does.
TEST_F(MapGeometry, SubRowsThatMeetAreSeparated) {
    TElement* Cur = Action(QStringLiteral("Current"), 10);
    List.SetCurrentElementID(Cur->ID());
    TElement* Dike = Action(QStringLiteral("Dike"), 40);
    Action(QStringLiteral("Pump"), 30);
    TElement* First = Pathway(60, Cur, Dike);     // 165 + 20
    TElement* Nested = Pathway(70, First, First); // 185 + 20
    TElement* Second = Pathway(80, Cur, Dike);    // 165 + 40
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.ElementToY(*First), 185);
    EXPECT_GE(std::abs(G.ElementToY(*Nested) - G.ElementToY(*Second)), RowSpacing);
    EXPECT_GE(ClosestOverlappingRows(G), RowSpacing);
    EXPECT_EQ(G.ElementToY(*Dike), 165);
}

TEST_F(MapGeometry, LinesBeyondThePlotEndOnItsEdge) {
    Settings.SetMinTippingPointValue(0);
    Settings.SetMaxTippingPointValue(100);
    TElement* Cur = Action(QStringLiteral("Current"), 10);
    List.SetCurrentElementID(Cur->ID());
    Action(QStringLiteral("Within"), 100);
    Action(QStringLiteral("Beyond"), 150);
    TElement* Beyond = List.Elements(2);
    Pathway(200, Beyond, Beyond); // starts beyond the edge as well
    const TMapGeometry G = Geometry();
    ASSERT_EQ(G.PlotRight(), 950);
    struct TExpected {
        int32_t X1, X2;
        TLineEnd End;
        int32_t XEnd;
    };
    const TExpected Expected[] = {
        {210, 294, leEndBar, 294},
        {284, 960, leEndBar, 960},    // at the edge: the end bar in the margin
        {284, 950, leArrowHead, 950}, // beyond: ends on the edge
        {950, 950, leArrowHead, 950},
    };
    for (int32_t I = 0; I < 4; ++I) {
        const TMapLine L = G.LineAt(I);
        EXPECT_EQ(L.X1, Expected[I].X1) << I;
        EXPECT_EQ(L.X2, Expected[I].X2) << I;
        EXPECT_EQ(L.End, Expected[I].End) << I;
        EXPECT_EQ(L.XEnd, Expected[I].XEnd) << I;
        EXPECT_EQ(G.StationXAt(I), L.X1) << I;
    }
    // The current situation tips beyond too: an action tipping before it
    // runs back from the edge and gets no sign.
    Cur->SetTippingPointValue(300);
    const TMapGeometry Late = Geometry();
    const TMapLine L = Late.LineAt(2);
    EXPECT_EQ(L.X1, 950);
    EXPECT_EQ(L.X2, 950);
    EXPECT_EQ(L.End, leNone);
    Settings.SetMaxTippingPointValue(0);
    Settings.SetMinTippingPointValue(0);
    EXPECT_THROW(Geometry().LineAt(0), ECorvinalError);
}

// Only a second id above 0 can make a sub-row: a pathway element leading to
// an element whose id is 0 (a file's unreadable id) stays on that row.
TEST_F(MapGeometry, ASecondIdOfZeroNeverMakesASubRow) {
    TElement* A = Action("A", 10);
    TElement* Zero = Action("Zero", 5);
    Zero->SetID(0);
    TElement* P = Pathway(30, A, Zero);
    const TMapGeometry G = Geometry();
    EXPECT_FALSE(G.ExtendsPastSecond(*P));
    EXPECT_EQ(G.ElementToY(*P), G.ElementToY(*Zero));
}

TEST_F(MapGeometry, StartValues) {
    TElement* A = Action(QStringLiteral("A"), 15);
    TElement* B = Action(QStringLiteral("B"), 40);
    TElement* P = Pathway(70, B, A);
    EXPECT_EQ(Geometry().ElementStartValue(*B), 0); // no current element
    List.SetCurrentElementID(A->ID());
    {
        const TMapGeometry G = Geometry();
        EXPECT_EQ(G.ElementStartValue(*A), 0);
        EXPECT_EQ(G.ElementStartValue(*B), 15);
        EXPECT_EQ(G.ElementStartValue(*P), 40); // where its predecessor tips
    }
    List.SetCurrentElementID(99); // names nothing: no current element
    EXPECT_EQ(Geometry().ElementStartValue(*B), 0);
    List.SetCurrentElementID(A->ID());
    P->SetPredecessorID(77); // a pathway without its predecessor starts like an action
    EXPECT_EQ(Geometry().ElementStartValue(*P), 15);
}

TEST_F(MapGeometry, TimeBasedValuesComeFromTheSeries) {
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(3);
    TElement* A = Action(QStringLiteral("A"), 0);
    A->SetTippingTimeValue(0, 2030);
    A->SetTippingTimeValue(2, 2070);
    A->SetTippingPointValue(5);
    EXPECT_EQ(ElementTippingValue(*A, 0), 2030);
    EXPECT_EQ(ElementTippingValue(*A, 2), 2070);
    EXPECT_EQ(ElementTippingValue(*A, -1), 0);
    EXPECT_EQ(ElementTippingValue(*A, 3), 0);
    EXPECT_EQ(Geometry(2).ElementTippingValue(*A), 2070);
    List.SetPathwayType(ptConditionBased);
    EXPECT_EQ(ElementTippingValue(*A, 2), 5);
}

TEST_F(MapGeometry, ElementsOutsideTheListAreRefused) {
    TElementsList Other;
    TElement* Foreign = Other.AddSimpleElement(QStringLiteral("X"), clRed, 1, 0, 0);
    const TMapGeometry G = Geometry();
    EXPECT_THROW(G.ElementToY(*Foreign), ECorvinalError);
}

// The map's placement computed straight from the model's own queries,
// recursively, as in the plain definition: slow, but obviously right on lists
// whose references are all present and acyclic.
struct TReference {
    const TGraphicsSettings& S;
    const TElementsList& L;
    int32_t Series;
    int32_t AxisBand;

    const TElement* Current() const {
        return L.CurrentElementID() == -1 ? nullptr : L.FindElement(L.CurrentElementID());
    }
    double Value(const TElement& E) const { return ElementTippingValue(E, Series); }
    double Start(const TElement& E) const {
        if (!E.IsPrimaryElement())
            return Value(*E.PredecessorElement());
        if (!Current() || E.ID() == L.CurrentElementID())
            return 0;
        return Value(*Current());
    }
    int32_t Y(const TElement& E) const {
        if (E.IsPrimaryElement()) {
            const int32_t P = L.PrimaryCount();
            const double H =
                double(S.DrawingAreaHeight() - S.BottomMargin() - AxisBand - S.TopMargin());
            if (P == 1)
                return S.TopMargin() + RoundToPixel(H / 2);
            const double Step = H / (P - 1);
            return S.TopMargin() + RoundToPixel(E.ChildNumber() * Step);
        }
        const TElement* Second = E.CombinationSecondElement();
        const bool Extends = E.CombinationSecondID() > 0 && Value(*Second) < Value(E);
        return Y(*Second) + (Extends ? (E.ChildNumber() + 1) * S.YOffset() : 0);
    }
};

TEST_F(MapGeometry, LayoutAgreesWithTheModelOnRandomLists) {
    std::mt19937 Random(20240611);
    for (int Round = 0; Round < 60; ++Round) {
        List.ClearElements();
        const int N = 1 + int(Random() % 40);
        std::vector<int32_t> IDs;
        for (int I = 0; I < N; ++I) {
            // Ids usually fresh, sometimes repeating an earlier one.
            int32_t ID = I + 1;
            if (!IDs.empty() && Random() % 6 == 0)
                ID = IDs[Random() % IDs.size()];
            TElement* E = new TElement(ID, &List);
            E->SetTippingPointValue(double(Random() % 8) * 5);
            E->SetMyColor(TColor(Random() % 0xFFFFFF));
            if (!IDs.empty() && Random() % 2 == 0) {
                // References point back to earlier ids only, so no chain loops.
                E->SetPredecessorID(IDs[Random() % IDs.size()]);
                E->SetCombinationSecondID(IDs[Random() % IDs.size()]);
                E->SetCombinationType(Random() % 2 ? ctCombine : ctSequence);
            }
            IDs.push_back(ID);
        }
        const uint32_t CurrentChoice = Random() % 4;
        List.SetCurrentElementID(CurrentChoice == 0   ? -1
                                 : CurrentChoice == 1 ? 999
                                                      : IDs[Random() % IDs.size()]);
        Settings.SetYOffset(int32_t(Random() % 30));
        const TMapGeometry G = Geometry();
        const TReference Ref{Settings, List, -1, XAxisHeight(List, Scenarios)};
        // The plain rows stay where no two lines on them overlap and none
        // lies below the lowest row.
        const int32_t PlainClosest =
            ClosestOverlappingRows(G, [&](int32_t I) { return Ref.Y(*List.Elements(I)); });
        bool Plain = PlainClosest >= RowSpacing;
        for (int I = 0; I < N; ++I)
            Plain = Plain && Ref.Y(*List.Elements(I)) <= G.LowestRow();
        for (int I = 0; I < N; ++I) {
            const TElement& E = *List.Elements(I);
            SCOPED_TRACE(testing::Message() << "round " << Round << ", element " << I);
            EXPECT_EQ(G.ChildNumber(E), E.ChildNumber());
            if (Plain) {
                EXPECT_EQ(G.ElementToY(E), Ref.Y(E));
            }
            // An element continuing another's line lies on its row.
            EXPECT_EQ(G.ElementToY(E), G.ElementToY(*RowOwner(G, E)));
            EXPECT_EQ(G.ElementStartValue(E), Ref.Start(E));
            EXPECT_EQ(G.ElementColor(E), E.MyColor());
            EXPECT_EQ(G.YAt(I), G.ElementToY(E));
            const int32_t Predecessor = G.PredecessorIndex(I);
            if (E.PredecessorElement()) {
                EXPECT_EQ(&G.Element(Predecessor), E.PredecessorElement());
            } else {
                EXPECT_EQ(Predecessor, -1);
            }
        }
        // Separated rows keep every two overlapping lines apart, in the plot.
        SCOPED_TRACE(testing::Message() << "round " << Round);
        EXPECT_GE(ClosestOverlappingRows(G), RowSpacing);
        EXPECT_TRUE(RowsWithinThePlot(G));
    }
}

TEST_F(MapGeometry, ReferencesThatLoopOrLeadNowhereEndOnTheTopRow) {
    TElement* A = Action(QStringLiteral("A"), 10, clGreen);
    Action(QStringLiteral("B"), 20);
    TElement* P = List.AddCombinationElement(QStringLiteral("P"), 30, A->ID(), A->ID());
    TElement* Q = List.AddCombinationElement(QStringLiteral("Q"), 40, P->ID(), P->ID());
    TElement* R = List.AddCombinationElement(QStringLiteral("R"), 50, Q->ID(), Q->ID());
    TElement* Lost = List.AddCombinationElement(QStringLiteral("Lost"), 50, A->ID(), 4711);
    P->SetCombinationSecondID(R->ID()); // P -> R -> Q -> P
    P->SetPredecessorID(R->ID());
    P->SetMyColor(clYellow);
    Q->SetMyColor(clAqua);
    const TMapGeometry G = Geometry();
    for (const TElement* E : {P, Q, R, Lost}) {
        EXPECT_EQ(G.ElementToY(*E), Settings.TopMargin());
        EXPECT_EQ(G.ElementColor(*E), E->MyColor());
    }
    EXPECT_EQ(G.ElementColor(*P), clYellow);
    EXPECT_EQ(G.ElementToY(*A), 10);
}

TEST_F(MapGeometry, LongChainsNeitherRecurseNorSlowDown) {
    // 100,000 pathway elements, each changing to the one before and
    // outlasting it: every one lies a sub-row below its second element. So
    // many rows do not fit: they share the height evenly, in chain order.
    const int32_t N = 100000;
    TElement* First = new TElement(1, &List);
    First->SetTippingPointValue(0);
    for (int32_t ID = 2; ID <= N; ++ID) {
        TElement* E = new TElement(ID, &List);
        E->SetPredecessorID(ID - 1);
        E->SetCombinationSecondID(ID - 1);
        E->SetTippingPointValue(ID);
    }
    Settings.SetYOffset(3);
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.YAt(0), Settings.TopMargin());
    EXPECT_EQ(G.YAt(N - 1), G.LowestRow());
    for (int32_t I = 1; I < N; ++I)
        ASSERT_GE(G.YAt(I), G.YAt(I - 1)) << I;
    EXPECT_EQ(G.ColorAt(N - 1), clBlack);
    EXPECT_EQ(G.StartValueAt(N - 1), N - 1);
}

TEST_F(MapGeometry, HostileSettingsDoNotOverflow) {
    Settings.SetTopMargin(INT32_MAX);
    Settings.SetYOffset(INT32_MAX);
    Settings.SetLeftMargin(INT32_MAX);
    Settings.SetTitlesAreaWidth(INT32_MAX);
    TElement* A = Action(QStringLiteral("A"), 10);
    Action(QStringLiteral("B"), 10);
    TElement* P = Pathway(50, A, A);
    const TMapGeometry G = Geometry();
    EXPECT_EQ(G.ElementToY(*A), MaxPixel);
    EXPECT_EQ(G.ElementToY(*P), MaxPixel);
    EXPECT_EQ(G.ValueToX(0), MaxPixel);
    EXPECT_EQ(G.PlotLeft(), MaxPixel);
}

// The title takes a band of two title lines above the plot, the legend one
// of two lines and 6 pixels below the axes; the rows share what is left.
TEST_F(MapGeometry, TitleAndLegendTakeTheirBands) {
    struct TCase {
        bool Title, Legend;
        int32_t FontSize, PlotTop, AxisTop;
    };
    const TCase Cases[] = {
        {false, false, 12, 10, 320},
        {true, false, 12, 10 + 2 * 21, 320},
        {false, true, 12, 10, 320 - (2 * 16 + 6)},
        {true, true, 8, 10 + 2 * 16, 320 - (2 * 11 + 6)},
    };
    Action(QStringLiteral("A"), 5);
    Action(QStringLiteral("B"), 10);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.Title << Case.Legend << Case.FontSize);
        Settings.SetTitle(Case.Title ? QStringLiteral("Plan") : QString());
        Settings.SetLegend(Case.Legend);
        Settings.SetFontSize(Case.FontSize);
        const TMapGeometry G = Geometry();
        EXPECT_EQ(G.PlotTop(), Case.PlotTop);
        EXPECT_EQ(G.AxisTop(), Case.AxisTop);
        EXPECT_EQ(G.LegendTop(), Case.AxisTop + 70);
        EXPECT_EQ(G.YAt(0), Case.PlotTop);
        EXPECT_EQ(G.YAt(1), Case.AxisTop);
        // The settings dialog's check counts the same bands.
        Settings.SetDrawingAreaHeight(Case.PlotTop + (400 - Case.AxisTop));
        EXPECT_FALSE(Settings.DrawingAreaProblem(70).isEmpty());
        Settings.SetDrawingAreaHeight(Settings.DrawingAreaHeight() + 1);
        EXPECT_TRUE(Settings.DrawingAreaProblem(70).isEmpty());
        Settings.SetDrawingAreaHeight(400);
    }
}

// A row spacing in the settings sets the sub-rows that far below their
// action and keeps rows moved apart at least that far from one another.
TEST_F(MapGeometry, RowSpacingWidensTheRows) {
    TElement* A = Action(QStringLiteral("A"), 10);
    TElement* B = Action(QStringLiteral("B"), 20);
    Action(QStringLiteral("C"), 90);
    TElement* First = Pathway(40, B, A); // on sub-rows below A
    TElement* Second = Pathway(50, B, A);
    Settings.SetMaxTippingPointValue(100);
    EXPECT_EQ(Geometry().ElementToY(*First), 30);
    EXPECT_EQ(Geometry().ElementToY(*Second), 50);
    Settings.SetRowSpacing(30);
    {
        const TMapGeometry G = Geometry();
        EXPECT_EQ(G.ElementToY(*First), 40);
        EXPECT_EQ(G.ElementToY(*Second), 70);
        EXPECT_EQ(G.LaneCount(), 5);
    }
    // Too little room for the plain rows: moved apart, 30 pixels or more.
    Settings.SetDrawingAreaHeight(250);
    const TMapGeometry G = Geometry();
    std::vector<int32_t> Rows = G.LaneRows();
    std::sort(Rows.begin(), Rows.end());
    for (size_t I = 1; I < Rows.size(); ++I)
        EXPECT_GE(Rows[I] - Rows[I - 1], 30) << I;
    EXPECT_TRUE(RowsWithinThePlot(G));
}

} // namespace
