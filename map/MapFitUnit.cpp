#include "map/MapFitUnit.h"

#include "map/CanvasUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/PathwayMapUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// Whether the layout has one action: it lies halfway down the plot.
bool SingleAction(const TMapGeometry& G) {
    int32_t Actions = 0;
    for (int32_t I = 0; I < G.Count() && Actions < 2; ++I)
        Actions += G.Element(I).IsPrimaryElement() ? 1 : 0;
    return Actions == 1;
}

} // namespace

int32_t FittedRowSpacing(int32_t TextHeight) {
    return int32_t((3 * int64_t(std::max(0, TextHeight)) + 1) / 2);
}

int32_t SmallestRowDistance(const TMapGeometry& AGeometry) {
    std::vector<int32_t> Rows = AGeometry.LaneRows();
    std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    int32_t Smallest = std::numeric_limits<int32_t>::max();
    for (size_t I = 1; I < Rows.size(); ++I)
        Smallest = std::min(Smallest, Rows[I] - Rows[I - 1]);
    return Smallest;
}

TGraphicsSettings FittedSettings(const TGraphicsSettings& ASettings,
                                 const TElementsList& AElementsList,
                                 const TScenarioFrame& AScenarioFrame, int32_t ASeriesIndex,
                                 TCanvas& ACanvas) {
    TGraphicsSettings Fitted = ASettings;
    const TPathwayMap Map(ASettings, AElementsList, AScenarioFrame);
    const int32_t Widest = Map.WidestCaption(ACanvas, ASeriesIndex);
    const int32_t TH = ACanvas.TextHeight(QStringLiteral("bp"));
    // A line's height between the longest caption and the plot keeps it
    // clear of the stations on the plot's left edge.
    const int64_t Band = int64_t(Widest) + TH;
    Fitted.SetTitlesAreaWidth(ClampToInt32(Band));
    Fitted.SetDrawingAreaWidth(
        ClampToInt32(int64_t(ASettings.DrawingAreaWidth()) + Band - ASettings.TitlesAreaWidth()));
    const int32_t Spacing = FittedRowSpacing(TH);
    Fitted.SetRowSpacing(Spacing);

    // Every row a spacing below the one before, down to the lowest row,
    // which lies AxisClearance below the plot: the rows are moved apart
    // where their plain places would put two closer. A single action lies
    // halfway down, with its sub-rows below it.
    const TMapGeometry Plain(Fitted, AElementsList, AScenarioFrame, ASeriesIndex);
    const int64_t Rows = std::max<int64_t>(1, Plain.LaneCount());
    int64_t PlotHeight = std::max<int64_t>(Spacing, (Rows - 1) * Spacing);
    if (Rows > 1 && SingleAction(Plain))
        PlotHeight *= 2;
    const int64_t Around = Fitted.HeightAroundPlot(Plain.AxisBandHeight());
    auto Fits = [&](int64_t Plot) {
        Fitted.SetDrawingAreaHeight(ClampToInt32(Around + std::max<int64_t>(1, Plot)));
        const TMapGeometry Layout(Fitted, AElementsList, AScenarioFrame, ASeriesIndex);
        return SmallestRowDistance(Layout) >= Spacing;
    };
    // The layout has the last word: where it still puts two rows closer
    // (rows that share a place and must be moved apart), the plot grows
    // until it does not, and then back to the least height found that fits.
    if (!Fits(PlotHeight)) {
        int64_t Low = PlotHeight, Grow = Spacing;
        int64_t High = PlotHeight + Grow;
        for (int Round = 0; Round < 24 && !Fits(High); ++Round) {
            Low = High;
            Grow *= 2;
            High = PlotHeight + Grow;
        }
        while (High - Low > 1) {
            const int64_t Middle = Low + (High - Low) / 2;
            (Fits(Middle) ? High : Low) = Middle;
        }
        Fits(High);
    }
    return Fitted;
}
