#pragma once

// What the benchmark programs share: the times of the runs for the summary
// after the table, the per-element counter, and the pathway the map and
// editing benchmarks draw.

#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <benchmark/benchmark.h>
#include <map>
#include <random>
#include <string>
#include <vector>

// Keeps the CPU time of every run, in seconds, so that other work on the
// machine counts as little as it can.
class TTimesReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& Runs) override {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run& R : Runs)
            if (R.run_type == Run::RT_Iteration && R.iterations > 0 && !R.error_occurred)
                FSeconds[R.benchmark_name()] = R.cpu_accumulated_time / double(R.iterations);
    }
    // 0 for a run that did not take place.
    double Seconds(const std::string& Name) const {
        const auto It = FSeconds.find(Name);
        return It == FSeconds.end() ? 0 : It->second;
    }

private:
    std::map<std::string, double> FSeconds;
};

// The time per element, as a counter of the run.
inline void PerElement(benchmark::State& State, int64_t N) {
    State.counters["per_element"] = benchmark::Counter(
        double(N), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// N elements, half of them pathway elements leading from earlier elements to
// actions, the first one current, and five scenarios (or ScenarioCount) of
// ten decades.
inline void FillBenchPathway(TElementsList& List, TScenarioFrame& Scenarios, int32_t N,
                             int32_t ScenarioCount = 5) {
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
    for (int S = 0; S < ScenarioCount; ++S) {
        Grid.SetColCount(S + 2);
        Grid.SetCells(S + 1, 0, QStringLiteral("Scenario %1").arg(S));
        for (int R = 1; R <= 10; ++R)
            Grid.SetCells(S + 1, R, QString::number(R * (S + 1) * 2));
    }
}
