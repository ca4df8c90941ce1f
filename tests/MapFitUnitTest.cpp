#include "map/MapFitUnit.h"
#include "document/PathwayFileUnit.h"
#include "map/CanvasUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/PathwayMapUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/FixedTextCanvas.h"
#include "tests/support/MapRows.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

// The settings fitting leaves alone.
TGraphicsSettings Unfitted(TGraphicsSettings Fitted, const TGraphicsSettings& Before) {
    Fitted.SetTitlesAreaWidth(Before.TitlesAreaWidth());
    Fitted.SetDrawingAreaWidth(Before.DrawingAreaWidth());
    Fitted.SetDrawingAreaHeight(Before.DrawingAreaHeight());
    Fitted.SetRowSpacing(Before.RowSpacing());
    return Fitted;
}

class MapFit : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpScenarioYears(Scenarios);
        Settings.SetMaxTippingPointValue(100);
    }
    TGraphicsSettings Fit(int32_t Series = -1) {
        return FittedSettings(Settings, List, Scenarios, Series, Canvas);
    }

    TFixedTextCanvas Canvas;
    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
};

// The band takes the widest caption the map writes there and a line (19
// pixels at 12 points); the picture grows or shrinks by as much as the band,
// the plot keeps its width, and nothing else but the height and the row
// spacing changes.
TEST_F(MapFit, TheCaptionBandHoldsTheWidestCaption) {
    struct TCase {
        const char* What;
        std::function<void()> Build;
        int32_t Widest;
    };
    const TCase Cases[] = {
        {"an action's name",
         [&] { List.AddSimpleElement("A name of thirty characters...", clRed, 5, 0, 0); }, 8 * 30},
        {"a scenario's name",
         [&] { AddScenarioColumn(Scenarios, "Extreme rise of the sea (upper)", {"0"}); }, 8 * 31},
        {"the axis title", [&] { Settings.SetXAxisTitle("Sea level rise relative to 2010 (cm)"); },
         8 * 36},
        // A hidden axis writes no title; a short name is all there is.
        {"a hidden axis",
         [&] {
             Settings.SetXAxisTitle("Sea level rise relative to 2010 (cm)");
             Settings.SetShowXAxis(false);
             List.AddSimpleElement("Dike", clRed, 5, 0, 0);
         },
         8 * 4},
        // A time-based map names its column after the title; its scenarios
        // have no axes.
        {"a time column",
         [&] {
             List.SetPathwayType(ptTimeBased);
             List.SetTippingTimeValuesCount(1);
             List.SetTippingTimeColumnCaption(0, "Dry");
             Settings.SetXAxisTitle("Year");
             AddScenarioColumn(Scenarios, "A scenario the map does not show", {"0"});
         },
         8 * 10},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        List.ClearElements();
        List.SetPathwayType(ptConditionBased);
        Scenarios.ScenariosStringGrid().SetColCount(1);
        Settings = TGraphicsSettings();
        Settings.SetMaxTippingPointValue(100);
        Case.Build();
        const int32_t Series = List.PathwayType() == ptTimeBased ? 0 : -1;
        const TGraphicsSettings Fitted = Fit(Series);
        EXPECT_EQ(Fitted.TitlesAreaWidth(), Case.Widest + 19);
        EXPECT_EQ(Fitted.DrawingAreaWidth(), 1000 + Case.Widest + 19 - 200);
        EXPECT_EQ(Fitted.PlotWidth(), Settings.PlotWidth());
        EXPECT_EQ(Fitted.RowSpacing(), FittedRowSpacing(19));
        EXPECT_TRUE(Unfitted(Fitted, Settings).SameAs(Settings));
    }
    EXPECT_EQ(FittedRowSpacing(19), 29);
    EXPECT_EQ(FittedRowSpacing(18), 27);
}

// Every row and sub-row at least one and a half lines apart, every row in
// the plot, room for the title and the legend: on lists of every shape, and
// fitting a fitted map changes nothing.
TEST_F(MapFit, RowsLieOneAndAHalfLinesApart) {
    std::mt19937 Random(20260611);
    for (int Round = 0; Round < 80; ++Round) {
        List.ClearElements();
        Settings = TGraphicsSettings();
        Settings.SetMaxTippingPointValue(40);
        Settings.SetTitle(Round % 3 == 0 ? QStringLiteral("Plan") : QString());
        Settings.SetLegend(Round % 2 == 0);
        Settings.SetFontSize(6 + int32_t(Random() % 15));
        Settings.SetYOffset(int32_t(Random() % 40));
        Settings.SetDrawingAreaHeight(100 + int32_t(Random() % 900));
        const int N = 1 + int(Random() % 40);
        std::vector<int32_t> IDs;
        for (int I = 0; I < N; ++I) {
            TElement* E = new TElement(I + 1, &List);
            E->SetCaption(QString(int(Random() % 30), QLatin1Char('x')));
            E->SetTippingPointValue(double(Random() % 8) * 5);
            if (!IDs.empty() && Random() % 2 == 0) {
                E->SetPredecessorID(IDs[Random() % IDs.size()]);
                E->SetCombinationSecondID(IDs[Random() % IDs.size()]);
                E->SetCombinationType(Random() % 2 ? ctCombine : ctSequence);
            }
            IDs.push_back(I + 1);
        }
        List.SetCurrentElementID(Random() % 3 == 0 ? -1 : IDs[Random() % IDs.size()]);
        SCOPED_TRACE(testing::Message() << "round " << Round << ", " << N << " elements");
        const TGraphicsSettings Fitted = Fit();
        const TMapGeometry G(Fitted, List, Scenarios, -1);
        const int32_t Spacing = FittedRowSpacing(FontPointsToPixels(Fitted.FontSize()) + 3);
        EXPECT_EQ(Fitted.RowSpacing(), Spacing);
        EXPECT_GE(SmallestRowDistance(G), Spacing);
        EXPECT_TRUE(RowsWithinThePlot(G));
        EXPECT_TRUE(Fitted.DrawingAreaProblem(G.AxisBandHeight()).isEmpty());
        const TGraphicsSettings Again = FittedSettings(Fitted, List, Scenarios, -1, Canvas);
        EXPECT_TRUE(Again.SameAs(Fitted));
    }
}

// The examples, measured as the map writes them.
TEST(MapFitOfTheExamples, KeepTheirRowsApartAndTheirCaptionsWhole) {
    TMeasuringCanvas Canvas(1, 1);
    for (const char* Name : {"estuary", "delta", "drought"}) {
        SCOPED_TRACE(Name);
        TPathwayDocument Doc;
        Doc.Load(QStringLiteral(CORVINAL_SOURCE_DIR "/examples/%1.pathway").arg(Name));
        Doc.Settings.SetTitle(QStringLiteral("A plan"));
        Doc.Settings.SetLegend(true);
        const int32_t Series = Doc.Elements.PathwayType() == ptTimeBased ? 0 : -1;
        const TGraphicsSettings Fitted =
            FittedSettings(Doc.Settings, Doc.Elements, Doc.Scenarios, Series, Canvas);
        const TMapGeometry G(Fitted, Doc.Elements, Doc.Scenarios, Series);
        Canvas.SetFontSize(Fitted.FontSize());
        const int32_t Line = Canvas.TextHeight(QStringLiteral("bp"));
        EXPECT_GE(SmallestRowDistance(G), (3 * Line + 1) / 2);
        EXPECT_TRUE(RowsWithinThePlot(G));
        EXPECT_EQ(Fitted.PlotWidth(), Doc.Settings.PlotWidth());
        // No caption is cut any more.
        const TPathwayMap Map(Fitted, Doc.Elements, Doc.Scenarios);
        for (const TMapCaption& Caption : Map.Captions(Canvas, G, Series))
            EXPECT_EQ(Caption.Shown, Caption.Whole);
        EXPECT_LT(Map.WidestCaption(Canvas, Series), Fitted.TitlesAreaWidth());
    }
}

} // namespace
