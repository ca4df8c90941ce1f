#include "map/MapHitTestUnit.h"
#include "map/PathwayMapUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr TColor Gray = RGBToColor(128, 128, 128);
constexpr TColor Red = RGBToColor(200, 0, 0);
constexpr TColor Blue = RGBToColor(0, 0, 200);
constexpr TColor Green = RGBToColor(0, 160, 0);

// A map with every kind of shape: actions, pathway elements on the row of
// the action they lead to and on a sub-row below it, a combined (dashed)
// element, transfers, end bars, stations, and a hidden action. No axis, so
// that everything drawn in the plot belongs to an element or is the
// current-situation line.
class MapHitTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpScenarioYears(Scenarios);
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(100);
        Settings.SetShowXAxis(false);
        List.SetTippingTimeValuesCount(1);
        TElement* Current = List.AddSimpleElement("S", Gray, 10, 0, 0); // 0
        List.SetCurrentElementID(Current->ID());
        TElement* A = List.AddSimpleElement("A", Red, 40, 0, 0);        // 1
        TElement* B = List.AddSimpleElement("B", Blue, 70, 0, 0);       // 2
        Pathway(A, B, ctSequence, 60);                                  // 3, on B's row
        Pathway(Current, A, ctCombine, 30);                             // 4, on A's row, dashed
        Pathway(Current, B, ctSequence, 50);                            // 5, on B's row
        TElement* Hidden = List.AddSimpleElement("H", Green, 80, 0, 0); // 6
        Hidden->SetVisualEffect(veHide);
        Pathway(B, A, ctSequence, 90); // 7, on a sub-row below A
        Map.DrawPathwayOnBitmap(Image, -1);
    }
    void Pathway(TElement* First, TElement* Second, TCombinationType Type, double Value) {
        TElement* E = List.AddCombinationElement("P", Value, First->ID(), Second->ID());
        E->SetMyColor(Second->MyColor());
        E->SetCombinationType(Type);
    }
    TMapGeometry Geometry() const { return TMapGeometry(Settings, List, Scenarios, -1); }

    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
    TPathwayMap Map{Settings, List, Scenarios};
    QImage Image;
};

using TIndexes = std::vector<int32_t>;

// Without tolerance the shapes are exactly the pixels drawn. The
// current-situation line is drawn, but belongs to no element; its columns
// are left out. Stations are white in the middle, and count.
void ExpectShapesAreThePixelsDrawn(const QImage& Image, const TMapGeometry& G) {
    const int32_t CurrentX = G.ValueToX(G.CurrentTippingValue());
    std::vector<QPoint> Stations;
    for (int32_t I = 0; I < G.Count(); ++I)
        if (!G.IsCurrentAt(I))
            Stations.emplace_back(G.StationXAt(I), G.YAt(I));
    const QRgb White = qRgb(255, 255, 255);
    for (int32_t Y = 0; Y < G.AxisTop() + 15; ++Y)
        for (int32_t X = G.PlotLeft() - 12; X < Image.width(); ++X) {
            if (std::abs(X - CurrentX) <= 3)
                continue;
            bool InStation = false;
            for (const QPoint& S : Stations)
                InStation = InStation || std::hypot(X - S.x(), Y - S.y()) <= 4.5;
            const bool Drawn = Image.pixel(X, Y) != White || InStation;
            const bool Hit = !ElementsAt(G, QPoint(X, Y), 0).empty();
            ASSERT_EQ(Hit, Drawn) << X << "," << Y;
        }
}

TEST_F(MapHitTest, WithoutToleranceTheShapesAreExactlyThePixelsDrawn) {
    ExpectShapesAreThePixelsDrawn(Image, Geometry());
}

// Rows moved apart and lines ending in arrowheads answer where they are drawn.
TEST_F(MapHitTest, SeparatedRowsAndArrowheadsAreHitWhereTheyAreDrawn) {
    TElement* A = List.Elements(1);
    TElement* B = List.Elements(2);
    TElement* Far = List.AddSimpleElement("F", Blue, 140, 0, 0); // 8, beyond the axis
    Pathway(A, B, ctCombine, 95);                                // 9, a second sub-row below B
    Pathway(B, Far, ctSequence, 170); // 10, below the last row, beyond the axis
    Map.DrawPathwayOnBitmap(Image, -1);
    const TMapGeometry G = Geometry();
    ASSERT_EQ(G.YAt(10), G.LowestRow());
    ExpectShapesAreThePixelsDrawn(Image, G);
    const std::vector<TMapShape> Shapes = ElementShapes(G, 8);
    ASSERT_EQ(Shapes.size(), 3u);
    EXPECT_EQ(Shapes[1].Kind, TMapShape::skArrowHead);
    EXPECT_EQ(Shapes[1].From, QPoint(G.PlotRight(), G.YAt(8)));
    EXPECT_EQ(Shapes[1].To, QPoint(G.PlotRight() + ArrowLength, G.YAt(8)));
    const QPoint Tip(G.PlotRight() + ArrowLength, G.YAt(8));
    EXPECT_EQ(ElementsAt(G, Tip, 0), TIndexes{8});
    EXPECT_EQ(ElementsAt(G, Tip + QPoint(3, 0), 3), TIndexes{8});
    EXPECT_EQ(ElementsAt(G, Tip + QPoint(4, 0), 3), TIndexes{});
    EXPECT_EQ(ElementsAt(G, QPoint(G.PlotRight(), G.YAt(8) - 9), 3), TIndexes{8});
    EXPECT_EQ(ElementsAt(G, QPoint(G.PlotRight(), G.YAt(8) - 10), 3), TIndexes{});
}

TEST_F(MapHitTest, LinesStationsEndBarsAndTransfersWithTheirTolerance) {
    const TMapGeometry G = Geometry();
    auto X = [&](double V) { return G.ValueToX(V); };
    const int32_t YS = G.YAt(0), YA = G.YAt(1), YB = G.YAt(2), YQ = G.YAt(7), YH = G.YAt(6);
    const int32_t BarA = X(40) + Settings.Overshoot();
    ASSERT_EQ(YQ, YA + 2 * Settings.YOffset());
    const struct {
        const char* What;
        QPoint Point;
        int32_t Tolerance;
        TIndexes Expected;
    } Cases[] = {
        // A's line alone, 5 pixels high; 3 pixels of tolerance above and below.
        {"line", {X(35), YA}, 3, {1}},
        {"line edge", {X(35), YA + 2}, 0, {1}},
        {"beside the line edge", {X(35), YA + 3}, 0, {}},
        {"line within tolerance", {X(35), YA - 5}, 3, {1}},
        {"line beyond tolerance", {X(35), YA - 6}, 3, {}},
        {"line end under the end bar", {BarA + 2, YA + 1}, 0, {1}},
        // The end bar: 10 pixels high with round ends.
        {"end bar", {BarA, YA - 7}, 0, {1}},
        {"above the end bar", {BarA, YA - 8}, 0, {}},
        {"end bar within tolerance", {BarA, YA - 10}, 3, {1}},
        {"end bar beyond tolerance", {BarA, YA - 11}, 3, {}},
        // The transfer from A's row down to P's station belongs to P.
        {"transfer", {X(40), (YA + YB) / 2}, 3, {3}},
        {"transfer within tolerance", {X(40) + 5, (YA + YB) / 2}, 3, {3}},
        {"beside the transfer", {X(40) - 6, (YA + YB) / 2}, 3, {}},
        // P's station lies on B's and R's lines: stations first, then the
        // later line before the earlier.
        {"station over lines", {X(40), YB}, 3, {3, 5, 2}},
        {"station within tolerance", {X(40), YB + 12}, 3, {3}},
        {"station beyond tolerance", {X(40), YB + 13}, 3, {}},
        {"station rim", {X(40) + 2, YB + 9}, 0, {3}},
        // The dashed band of C over A's line, square at its ends.
        {"dashed over solid", {X(20), YA}, 3, {4, 1}},
        {"dashed within tolerance", {X(20), YA + 5}, 3, {4, 1}},
        {"below both", {X(20), YA + 6}, 3, {}},
        // Q on its sub-row below A, with its transfer from B's row.
        {"sub-row line", {X(80), YQ}, 3, {7}},
        {"sub-row transfer", {X(70), (YQ + YB) / 2}, 3, {7}},
        // The current situation's own line is its shape; the vertical
        // current-situation line is no element's.
        {"current situation's line", {X(5), YS}, 3, {0}},
        {"current-situation line", {X(10), (YB + YH) / 2}, 3, {}},
        // The hidden action keeps its station and loses its line.
        {"hidden line", {X(60), YH}, 3, {}},
        {"hidden station", {X(10) + 11, YH}, 3, {6}},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ElementsAt(G, C.Point, C.Tolerance), C.Expected)
            << C.What << " at " << C.Point.x() << "," << C.Point.y();
    // And what the bitmap shows at a few of them.
    EXPECT_EQ(Image.pixel(X(35), YA), ColorToQColor(Red).rgb());
    EXPECT_EQ(Image.pixel(BarA, YA - 7), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(X(40), (YA + YB) / 2), ColorToQColor(Red).rgb());
    EXPECT_EQ(Image.pixel(X(40) + 2, YB + 9), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(X(10), (YB + YH) / 2), ColorToQColor(Gray).rgb());
    EXPECT_EQ(Image.pixel(X(80), YQ), ColorToQColor(Red).rgb());
    EXPECT_EQ(Image.pixel(X(60), YH), qRgb(255, 255, 255));
}

TEST_F(MapHitTest, ShapesOfAnElementInDrawingOrder) {
    const TMapGeometry G = Geometry();
    auto X = [&](double V) { return G.ValueToX(V); };
    const int32_t YA = G.YAt(1), YB = G.YAt(2);
    const std::vector<TMapShape> P = ElementShapes(G, 3);
    ASSERT_EQ(P.size(), 4u);
    EXPECT_EQ(P[0].Kind, TMapShape::skLine);
    EXPECT_EQ(P[0].From, QPoint(X(40), YB));
    EXPECT_EQ(P[0].To, QPoint(X(60) + 10, YB));
    EXPECT_EQ(P[0].HalfWidth, 2.5);
    EXPECT_TRUE(P[0].Band.isNull());
    EXPECT_EQ(P[1].Kind, TMapShape::skEndBar);
    EXPECT_EQ(P[1].From, QPoint(X(60) + 10, YB - 5));
    EXPECT_EQ(P[1].To, QPoint(X(60) + 10, YB + 5));
    EXPECT_EQ(P[2].Kind, TMapShape::skTransfer);
    EXPECT_EQ(P[2].From, QPoint(X(40), YB));
    EXPECT_EQ(P[2].To, QPoint(X(40), YA));
    EXPECT_EQ(P[3].Kind, TMapShape::skStation);
    EXPECT_EQ(P[3].From, QPoint(X(40), YB));
    EXPECT_EQ(P[3].HalfWidth, 9.5);
    for (const TMapShape& Shape : P)
        EXPECT_EQ(Shape.Element, 3);

    const std::vector<TMapShape> C = ElementShapes(G, 4);
    ASSERT_EQ(C.size(), 4u);
    EXPECT_EQ(C[0].Band, QRect(QPoint(X(10), YA - 2), QPoint(X(30) + 9, YA + 2)));
    // The current situation has a line and an end bar but no station; the
    // hidden action only its station.
    EXPECT_EQ(ElementShapes(G, 0).size(), 2u);
    const std::vector<TMapShape> H = ElementShapes(G, 6);
    ASSERT_EQ(H.size(), 1u);
    EXPECT_EQ(H[0].Kind, TMapShape::skStation);
}

TEST_F(MapHitTest, LinesThatEndBeforeTheCurrentSituationAndLeftwardBands) {
    // An action that tips below the current situation runs leftwards, with
    // no run-on and no end bar; a combined one's band leaves out its end
    // pixel on the left.
    TElement* Low = List.AddSimpleElement("L", Red, 4, 0, 0);
    TElement* First = List.Elements(0);
    Pathway(First, Low, ctCombine, 2);
    const TMapGeometry G = Geometry();
    const int32_t I = List.Count() - 2;
    const std::vector<TMapShape> Line = ElementShapes(G, I);
    ASSERT_EQ(Line.size(), 2u);
    EXPECT_EQ(Line[0].From, QPoint(G.ValueToX(10), G.YAt(I)));
    EXPECT_EQ(Line[0].To, QPoint(G.ValueToX(4), G.YAt(I)));
    EXPECT_EQ(Line[1].Kind, TMapShape::skStation);
    const std::vector<TMapShape> Band = ElementShapes(G, I + 1);
    ASSERT_GE(Band.size(), 1u);
    EXPECT_EQ(Band[0].Band.left(), G.ValueToX(2) + 1);
    EXPECT_EQ(Band[0].Band.right(), G.ValueToX(10));
    // Its square end: the pixel at the tipping point is left out.
    EXPECT_EQ(ElementsAt(G, QPoint(G.ValueToX(2), G.YAt(I) + 2), 0), TIndexes{});
    EXPECT_EQ(ElementsAt(G, QPoint(G.ValueToX(2) + 1, G.YAt(I) + 2), 0), TIndexes{I + 1});
}

TEST_F(MapHitTest, AnEmptyRangeHasNoMapAndNothingToHit) {
    Settings.SetMaxTippingPointValue(Settings.MinTippingPointValue());
    const TMapGeometry G = Geometry();
    EXPECT_TRUE(ElementsAt(G, QPoint(300, 100), 1000).empty());
    EXPECT_TRUE(ElementShapes(G, 1).empty());
}

// A decision point's diamond answers the pointer where it is drawn: on its
// predecessor's line at its value, held to the line, or at the line's start
// when it is due now; a hidden line shows none.
TEST_F(MapHitTest, DecisionPointsStandOnTheirPredecessorsLine) {
    const TMapGeometry G = Geometry();
    int32_t Index = -1;
    for (int32_t I = 0; I < G.Count() && Index < 0; ++I)
        if (G.Element(I).VisualEffect() == veShow && G.LineAt(I).X2 - G.LineAt(I).X1 > 40)
            Index = I;
    ASSERT_GE(Index, 0);
    const TMapLine Line = G.LineAt(Index);
    const double Start = G.StartValueAt(Index), End = G.TippingValueAt(Index);
    const std::vector<TMapDecisionPoint> Points{
        {Index, (Start + End) / 2, false, QStringLiteral("middle")},
        {Index, Start - 1000, false, QStringLiteral("before")},
        {Index, End, true, QStringLiteral("now")},
    };
    QPoint Centre;
    ASSERT_TRUE(DecisionPointCentre(G, Points[0], Centre));
    EXPECT_EQ(Centre, QPoint(G.ValueToX((Start + End) / 2), Line.Y));
    ASSERT_TRUE(DecisionPointCentre(G, Points[1], Centre));
    EXPECT_EQ(Centre, QPoint(Line.X1, Line.Y));
    ASSERT_TRUE(DecisionPointCentre(G, Points[2], Centre));
    EXPECT_EQ(Centre, QPoint(Line.X1, Line.Y));
    // The two at the line's start are found together, the one drawn last
    // first; the diamond reaches 8 pixels each way, the pointer 3 more.
    EXPECT_EQ(DecisionPointsAt(G, Points, QPoint(Line.X1, Line.Y)), (std::vector<int32_t>{2, 1}));
    const QPoint Middle(G.ValueToX((Start + End) / 2), Line.Y);
    EXPECT_EQ(DecisionPointsAt(G, Points, Middle + QPoint(0, 11)), (std::vector<int32_t>{0}));
    EXPECT_TRUE(DecisionPointsAt(G, Points, Middle + QPoint(0, 12)).empty());
    EXPECT_TRUE(DecisionPointsAt(G, Points, Middle + QPoint(6, 6)).empty());
    EXPECT_FALSE(DecisionPointCentre(G, TMapDecisionPoint{G.Count(), 0, false, QString()}, Centre));
    List.Elements(Index)->SetVisualEffect(veHide);
    const TMapGeometry Hidden = Geometry();
    EXPECT_FALSE(DecisionPointCentre(Hidden, Points[0], Centre));
    EXPECT_TRUE(DecisionPointsAt(Hidden, Points, Middle).empty());
}

} // namespace
