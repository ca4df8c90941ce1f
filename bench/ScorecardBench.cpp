// The numbers behind the map and the map that answers back: the scorecard
// with every tipping year (10 scenarios) and as its CSV, the decisions with
// every decide-by year, against one drawing of the same map, and the elements
// under a point, for 1,000 and 10,000 elements. The
// scorecard is built anew after every change of the document and the hit
// test runs at every move of the pointer, so both must stay small next to
// the redraw that follows every change.

#include "bench/BenchSupport.h"
#include "document/DecisionsUnit.h"
#include "document/ScorecardUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/MapHitTestUnit.h"
#include "map/PathwayMapUnit.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>

namespace {

constexpr int32_t ScenarioCount = 10;

struct TBenchDocument {
    explicit TBenchDocument(int32_t N) {
        FillBenchPathway(List, Scenarios, N, ScenarioCount);
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(100);
        // Room for the plot above the ten scenario axes.
        Settings.SetDrawingAreaHeight(1000);
    }

    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
};

void BM_TippingYears(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    const TBenchDocument Doc(N);
    for (auto _ : State) {
        const TScorecard Card(Doc.List, Doc.Scenarios);
        benchmark::DoNotOptimize(Card.TippingYear(N - 1, ScenarioCount - 1));
    }
    PerElement(State, N);
}
BENCHMARK(BM_TippingYears)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Actions with lead times: every fifth element, where it is an action.
void SetBenchLeadTimes(TElementsList& List) {
    for (int32_t I = 0; I < List.Count(); I += 5)
        if (List.Elements(I)->IsPrimaryElement())
            List.Elements(I)->SetLeadTime(I % 40);
}

// The whole scorecard as the CSV export writes it, lead times included:
// every cell of every row, as the tab reads them too.
void BM_ScorecardCsv(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchDocument Doc(N);
    SetBenchLeadTimes(Doc.List);
    for (auto _ : State) {
        const QByteArray Csv = ScorecardCsv(Doc.List, Doc.Scenarios);
        benchmark::DoNotOptimize(Csv.constData());
    }
    PerElement(State, N);
}
BENCHMARK(BM_ScorecardCsv)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Every pathway's decide-by year under every scenario, as the Decisions tab
// computes them after every change. Pathways with lead times on their
// actions: every fifth action takes some years.
void BM_DecideByYears(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchDocument Doc(N);
    SetBenchLeadTimes(Doc.List);
    for (auto _ : State) {
        const TDecisions Decisions(Doc.List, Doc.Scenarios);
        benchmark::DoNotOptimize(Decisions.Year(Decisions.RowCount() - 1, ScenarioCount - 1));
    }
    PerElement(State, N);
}
BENCHMARK(BM_DecideByYears)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_MapRedraw(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchDocument Doc(N);
    TPathwayMap Map(Doc.Settings, Doc.List, Doc.Scenarios);
    for (auto _ : State) {
        QImage Bitmap;
        Map.DrawPathwayOnBitmap(Bitmap, -1);
        benchmark::DoNotOptimize(Bitmap.constBits());
    }
    PerElement(State, N);
}
BENCHMARK(BM_MapRedraw)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Points where the pointer goes: on stations, on lines, on transfers and on
// empty paper, taken in turn.
void BM_HitTest(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    const TBenchDocument Doc(N);
    const TMapGeometry Geometry(Doc.Settings, Doc.List, Doc.Scenarios, -1);
    std::mt19937 Random(11);
    std::vector<QPoint> Points;
    for (int32_t K = 0; K < 64; ++K) {
        const int32_t I = int32_t(Random() % uint32_t(N));
        const int32_t X1 = Geometry.ValueToX(Geometry.StartValueAt(I));
        const int32_t X2 = Geometry.ValueToX(Geometry.TippingValueAt(I));
        switch (K % 4) {
        case 0:
            Points.emplace_back(X1, Geometry.YAt(I));
            break;
        case 1:
            Points.emplace_back((X1 + X2) / 2, Geometry.YAt(I) + 1);
            break;
        case 2: {
            const int32_t P = Geometry.PredecessorIndex(I);
            const int32_t Y2 = P >= 0 ? Geometry.YAt(P) : Geometry.YAt(I);
            Points.emplace_back(X1, (Geometry.YAt(I) + Y2) / 2);
            break;
        }
        default:
            Points.emplace_back(int32_t(Random() % 1000), int32_t(Random() % 1000));
        }
    }
    size_t K = 0;
    int64_t Hits = 0;
    for (auto _ : State) {
        const std::vector<int32_t> Found = ElementsAt(Geometry, Points[K++ % Points.size()]);
        Hits += int64_t(Found.size());
        benchmark::DoNotOptimize(Found.data());
    }
    State.counters["hits_per_test"] =
        benchmark::Counter(double(Hits) / double(std::max<int64_t>(1, State.iterations())));
}
BENCHMARK(BM_HitTest)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int Argc, char** Argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(Argc, Argv);
    benchmark::Initialize(&Argc, Argv);
    TTimesReporter Summary;
    benchmark::RunSpecifiedBenchmarks(&Summary);
    std::printf("\nSummary (CPU time per run)\n");
    for (const int Count : {1000, 10000}) {
        const std::string Suffix = "/" + std::to_string(Count);
        const double Years = Summary.Seconds("BM_TippingYears" + Suffix);
        const double Redraw = Summary.Seconds("BM_MapRedraw" + Suffix);
        if (Years > 0 && Redraw > 0)
            std::printf("  %5d elements, %d scenarios: all tipping years %.3f ms, map redraw "
                        "%.2f ms, ratio %.3f (goal below 0.1)\n",
                        Count, ScenarioCount, Years * 1e3, Redraw * 1e3, Years / Redraw);
        const double Csv = Summary.Seconds("BM_ScorecardCsv" + Suffix);
        if (Csv > 0 && Redraw > 0)
            std::printf("  %5d elements, %d scenarios: the scorecard as CSV %.3f ms, ratio to the "
                        "redraw %.3f\n",
                        Count, ScenarioCount, Csv * 1e3, Csv / Redraw);
        const double Decisions = Summary.Seconds("BM_DecideByYears" + Suffix);
        if (Decisions > 0 && Redraw > 0)
            std::printf("  %5d elements, %d scenarios: all decide-by years %.3f ms, ratio to the "
                        "redraw %.3f (goal below 0.1)\n",
                        Count, ScenarioCount, Decisions * 1e3, Decisions / Redraw);
        const double Hit = Summary.Seconds("BM_HitTest" + Suffix);
        if (Hit > 0)
            std::printf("  %5d elements: one hit test %.3f ms (goal below 1 ms)\n", Count,
                        Hit * 1e3);
    }
    benchmark::Shutdown();
    return 0;
}
