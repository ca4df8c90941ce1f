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

int32_t ClampSetting(int64_t Value) {
    return int32_t(std::clamp<int64_t>(Value, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

// How far below its action each element lies in the plain layout, and which
// action that is (-1 for one whose chain of second elements finds none):
// a walk down the chain, each element visited once.
struct TDepths {
    std::vector<int64_t> Depth;
    std::vector<int32_t> Root;
};

TDepths PlainDepths(const TMapGeometry& G, int64_t Step) {
    const int32_t N = G.Count();
    TDepths D{std::vector<int64_t>(size_t(N), 0), std::vector<int32_t>(size_t(N), -2)};
    std::vector<int32_t> Path;
    std::vector<bool> OnPath(size_t(N), false);
    for (int32_t Start = 0; Start < N; ++Start) {
        if (D.Root[size_t(Start)] != -2)
            continue;
        Path.clear();
        int32_t Cur = Start;
        int32_t Root = -1;
        int64_t Base = 0;
        for (;;) {
            if (Cur < 0 || OnPath[size_t(Cur)])
                break;
            if (D.Root[size_t(Cur)] != -2) {
                Root = D.Root[size_t(Cur)];
                Base = D.Depth[size_t(Cur)];
                break;
            }
            if (G.Element(Cur).IsPrimaryElement()) {
                D.Root[size_t(Cur)] = Cur;
                Root = Cur;
                break;
            }
            OnPath[size_t(Cur)] = true;
            Path.push_back(Cur);
            Cur = G.SecondIndex(Cur);
        }
        for (auto It = Path.rbegin(); It != Path.rend(); ++It) {
            OnPath[size_t(*It)] = false;
            if (Root >= 0 && G.ExtendsPastSecondAt(*It))
                Base += (int64_t(G.ChildNumberAt(*It)) + 1) * Step;
            D.Root[size_t(*It)] = Root;
            D.Depth[size_t(*It)] = Root >= 0 ? Base : 0;
        }
    }
    return D;
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
    Fitted.SetTitlesAreaWidth(ClampSetting(Band));
    Fitted.SetDrawingAreaWidth(
        ClampSetting(int64_t(ASettings.DrawingAreaWidth()) + Band - ASettings.TitlesAreaWidth()));
    const int32_t Spacing = FittedRowSpacing(TH);
    Fitted.SetRowSpacing(Spacing);

    // The plain layout spaces the actions evenly and hangs the sub-rows
    // below them: each action's step must hold its deepest sub-row and one
    // spacing more. The last action's sub-rows lie below the axis's reach
    // and are always moved apart; they need their room above it.
    const TMapGeometry Plain(Fitted, AElementsList, AScenarioFrame, ASeriesIndex);
    const int64_t Step = std::max<int64_t>(ASettings.YOffset(), Spacing);
    const TDepths Depths = PlainDepths(Plain, Step);
    std::vector<int32_t> Actions;
    std::vector<int64_t> Deepest;
    std::vector<int32_t> ActionOf(size_t(Plain.Count()), -1);
    for (int32_t I = 0; I < Plain.Count(); ++I)
        if (Plain.Element(I).IsPrimaryElement() && Depths.Root[size_t(I)] == I) {
            ActionOf[size_t(I)] = int32_t(Actions.size());
            Actions.push_back(I);
            Deepest.push_back(0);
        }
    for (int32_t I = 0; I < Plain.Count(); ++I) {
        const int32_t Root = Depths.Root[size_t(I)];
        if (Root >= 0 && ActionOf[size_t(Root)] >= 0)
            Deepest[size_t(ActionOf[size_t(Root)])] =
                std::max(Deepest[size_t(ActionOf[size_t(Root)])], Depths.Depth[size_t(I)]);
    }
    const int64_t P = int64_t(Actions.size());
    int64_t PlotHeight = 2 * int64_t(Spacing);
    if (P == 1)
        PlotHeight = 2 * std::max<int64_t>(Spacing, Deepest[0]);
    else if (P > 1) {
        int64_t ActionStep = Spacing;
        for (int64_t K = 0; K + 1 < P; ++K)
            ActionStep = std::max(ActionStep, Deepest[size_t(K)] + Spacing);
        PlotHeight = ActionStep * (P - 1) + Deepest[size_t(P - 1)];
    }
    // Moved apart, the rows need a spacing each down to the lowest row.
    PlotHeight = std::max(PlotHeight, int64_t(Plain.LaneCount() - 1) * Spacing - AxisClearance);
    const int64_t Around = int64_t(ASettings.TopMargin()) + Fitted.TitleBandHeight() +
                           Plain.AxisBandHeight() + Fitted.LegendBandHeight() +
                           ASettings.BottomMargin();
    // The layout has the last word: where it still puts two rows closer,
    // the plot grows until it does not.
    int64_t Extra = 0;
    for (int Round = 0; Round < 32; ++Round) {
        Fitted.SetDrawingAreaHeight(
            ClampSetting(Around + std::max<int64_t>(1, PlotHeight + Extra)));
        const TMapGeometry Layout(Fitted, AElementsList, AScenarioFrame, ASeriesIndex);
        if (SmallestRowDistance(Layout) >= Spacing)
            break;
        Extra = Extra == 0 ? Spacing : 2 * Extra;
    }
    return Fitted;
}
