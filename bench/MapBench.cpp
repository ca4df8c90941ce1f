// Drawing the pathways map: the layout alone (every position of every
// element) and the whole drawing into a bitmap, for 100, 1,000 and 10,000
// elements (half of them pathway elements) with five scenarios. The
// per_element counter is the time per element; it should stay flat as the
// pathway grows, and the layout should cost far less than the painting.

#include "map/MapGeometryUnit.h"
#include "map/PathwayMapUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <random>

namespace {

struct TBenchMap {
    explicit TBenchMap(int32_t N) {
        std::mt19937 Random(7);
        List.SetTippingTimeValuesCount(1);
        std::vector<int32_t> Actions, All;
        for (int32_t ID = 1; ID <= N; ++ID) {
            // Elements are constructed directly: the list's next-free-id scan
            // would make building the bench list quadratic.
            TElement* E = new TElement(ID, &List);
            E->SetCaption(QStringLiteral("Element %1").arg(ID));
            E->SetMyColor(TColor(Random() % 0xFFFFFF));
            E->SetTippingPointValue(double(Random() % 1000) / 10);
            if (ID % 2 == 0 && !All.empty()) {
                E->SetPredecessorID(All[Random() % All.size()]);
                E->SetCombinationSecondID(Actions[Random() % Actions.size()]);
                E->SetCombinationType(ID % 4 == 0 ? ctCombine : ctSequence);
            } else {
                Actions.push_back(ID);
            }
            All.push_back(ID);
        }
        List.SetCurrentElementID(1);
        Scenarios.SetBeginYear(2010);
        Scenarios.SetEndYear(2100);
        Scenarios.SetTimeStep(10);
        Scenarios.SetupScenariosGrid();
        TCellGrid& Grid = Scenarios.ScenariosStringGrid();
        for (int S = 0; S < 5; ++S) {
            Grid.SetColCount(S + 2);
            Grid.SetCells(S + 1, 0, QStringLiteral("Scenario %1").arg(S));
            for (int R = 1; R <= 10; ++R)
                Grid.SetCells(S + 1, R, QString::number(R * (S + 1) * 2));
        }
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(100);
        Settings.SetXAxisHeight(XAxisHeight(List, Scenarios));
    }

    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
    TPathwayMap Map{Settings, List, Scenarios};
};

void PerElement(benchmark::State& State, int64_t N) {
    State.counters["per_element"] = benchmark::Counter(
        double(N), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_MapLayout(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchMap Bench(N);
    for (auto _ : State) {
        const TMapGeometry Geometry(Bench.Settings, Bench.List, -1);
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
