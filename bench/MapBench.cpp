// Drawing the pathways map: the layout alone (every position of every
// element) and the whole drawing into a bitmap, for 100, 1,000 and 10,000
// elements (half of them pathway elements) with five scenarios; the same
// drawing as a report shows it (title, legend, a preferred route and
// decision points on every tenth pathway); and "Fit to content", which
// measures every caption and lays the map out until its rows lie apart: it
// should cost less than one drawing of the map it fits. The per_element
// counter is the time per element; it should stay flat as the pathway
// grows, and the layout should cost far less than the painting.

#include "bench/BenchSupport.h"
#include "map/CanvasUnit.h"
#include "map/MapFitUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/PathwayMapUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

struct TBenchMap {
    explicit TBenchMap(int32_t N) {
        FillBenchPathway(List, Scenarios, N);
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(100);
    }

    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
    TPathwayMap Map{Settings, List, Scenarios};
};

void BM_MapLayout(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchMap Bench(N);
    for (auto _ : State) {
        const TMapGeometry Geometry(Bench.Settings, Bench.List, Bench.Scenarios, -1);
        int64_t Sum = 0;
        for (int32_t I = 0; I < N; ++I)
            Sum += Geometry.YAt(I) + Geometry.ColorAt(I) +
                   Geometry.ValueToX(Geometry.StartValueAt(I)) +
                   Geometry.ValueToX(Geometry.TippingValueAt(I));
        benchmark::DoNotOptimize(Sum);
    }
    PerElement(State, N);
}
BENCHMARK(BM_MapLayout)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_MapDrawing(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchMap Bench(N);
    for (auto _ : State) {
        QImage Bitmap;
        Bench.Map.DrawPathwayOnBitmap(Bitmap, -1);
        benchmark::DoNotOptimize(Bitmap.constBits());
    }
    PerElement(State, N);
}
BENCHMARK(BM_MapDrawing)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_MapDrawingForAReport(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchMap Bench(N);
    Bench.Settings.SetTitle(QStringLiteral("A plan of %1 elements").arg(N));
    Bench.Settings.SetLegend(true);
    std::vector<TMapDecisionPoint> Points;
    for (int32_t I = 0; I < N; ++I) {
        Bench.List.Elements(I)->SetPreferred(I % 7 == 0);
        if (I % 20 == 1)
            Points.push_back(TMapDecisionPoint{I / 2, 50, I % 40 == 1, QStringLiteral("Decide")});
    }
    Bench.Map.SetDecisionPoints(Points);
    for (auto _ : State) {
        QImage Bitmap;
        Bench.Map.DrawPathwayOnBitmap(Bitmap, -1);
        benchmark::DoNotOptimize(Bitmap.constBits());
    }
    PerElement(State, N);
}
BENCHMARK(BM_MapDrawingForAReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FitToContent(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchMap Bench(N);
    TMeasuringCanvas Canvas(1, 1);
    for (auto _ : State) {
        const TGraphicsSettings Fitted =
            FittedSettings(Bench.Settings, Bench.List, Bench.Scenarios, -1, Canvas);
        benchmark::DoNotOptimize(Fitted.DrawingAreaHeight());
    }
    PerElement(State, N);
}
BENCHMARK(BM_FitToContent)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int Argc, char** Argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(Argc, Argv);
    benchmark::Initialize(&Argc, Argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
