// Saving and loading whole pathway files of 1,000 and 10,000 elements with
// five scenarios, and pugixml parsing the very same bytes as the yardstick.
//
// Goals: a whole load (parse and model) within three times pugixml's parse,
// and the time per element flat from 1,000 to 10,000 elements. A summary
// with both figures follows the table.

#include "base/NumberFormatUnit.h"
#include "bench/BenchSupport.h"
#include "document/PathwayFileUnit.h"
#include "file/XmlUnit.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <pugixml.hpp>

namespace {

using TDocument = TPathwayDocument;

// Half actions, half pathway elements leading from earlier elements to
// actions, and five scenarios of ten decades.
std::unique_ptr<TDocument> Generate(int Count) {
    auto Doc = std::make_unique<TDocument>();
    TElementsList& L = Doc->Elements;
    L.SetTippingTimeValuesCount(1);
    const int Actions = Count / 2;
    for (int I = 0; I < Actions; ++I)
        L.AddSimpleElement(QStringLiteral("Action %1").arg(I + 1),
                           RGBToColor(I * 37 % 255, I * 91 % 255, I * 53 % 255),
                           1.25 + (I % 400) * 0.5, I % 13 * 1000, I % 5);
    for (int I = Actions; I < Count; ++I) {
        const int First = (I * 7919) % I + 1;
        const int Second = (I * 104729) % Actions + 1;
        TElement* E = L.AddCombinationElement(QStringLiteral("Pathway %1").arg(I + 1),
                                              2.5 + (I % 300) * 0.25, First, Second);
        E->SetCombinationType(I % 3 ? ctSequence : ctCombine);
    }
    L.SetCurrentElementID(1);
    TCellGrid& Grid = Doc->Scenarios.ScenariosStringGrid();
    Grid.SetColCount(6);
    for (int S = 1; S <= 5; ++S) {
        Grid.SetCells(S, 0, QStringLiteral("Scenario %1").arg(S));
        for (int Row = 1; Row <= 10; ++Row)
            Grid.SetCells(S, Row, FloatToStrGeneral(Row * S * 0.5));
    }
    return Doc;
}

const QByteArray& Bytes(int Count) {
    static std::map<int, QByteArray> Cache;
    auto It = Cache.find(Count);
    if (It == Cache.end()) {
        const auto Doc = Generate(Count);
        TXmlDoc XML;
        WritePathwayDocument(XML, Doc->Elements, Doc->Scenarios, Doc->Settings);
        It = Cache.emplace(Count, XML.SaveToBytes()).first;
    }
    return It->second;
}

void PerElement(benchmark::State& State) {
    State.counters["per_element"] =
        benchmark::Counter(double(State.range(0)), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

// A whole load as "Open" does it: a new document, the parse, the three
// sections read into the model.
void BM_LoadPathway(benchmark::State& State) {
    const QByteArray& File = Bytes(int(State.range(0)));
    for (auto _ : State) {
        TDocument Doc;
        TXmlDoc XML;
        XML.LoadFromBytes(File, PathwayReadBufferSize);
        ReadPathwayDocument(XML, Doc.Elements, Doc.Settings, Doc.Scenarios);
        benchmark::DoNotOptimize(Doc.Elements.Count());
    }
    PerElement(State);
}

void BM_PugixmlParse(benchmark::State& State) {
    const QByteArray& File = Bytes(int(State.range(0)));
    for (auto _ : State) {
        pugi::xml_document Doc;
        if (!Doc.load_buffer(File.constData(), size_t(File.size())))
            std::abort();
        benchmark::DoNotOptimize(Doc.first_child());
    }
    PerElement(State);
}

// A whole save: the document built from the model and written to bytes.
void BM_SavePathway(benchmark::State& State) {
    const auto Doc = Generate(int(State.range(0)));
    for (auto _ : State) {
        TXmlDoc XML;
        WritePathwayDocument(XML, Doc->Elements, Doc->Scenarios, Doc->Settings);
        benchmark::DoNotOptimize(XML.SaveToBytes().size());
    }
    PerElement(State);
}

BENCHMARK(BM_LoadPathway)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlParse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePathway)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int Argc, char** Argv) {
    QCoreApplication App(Argc, Argv);
    SetDecimalSeparator(QLatin1Char('.'));
    benchmark::Initialize(&Argc, Argv);
    TTimesReporter Summary;
    benchmark::RunSpecifiedBenchmarks(&Summary);
    auto Time = [&](const char* Name, int Count) {
        return Summary.Seconds(std::string(Name) + "/" + std::to_string(Count));
    };
    for (int Count : {1000, 10000}) {
        const double Pugi = Time("BM_PugixmlParse", Count);
        if (Pugi > 0)
            std::printf("%5d elements: whole load %.2fx pugixml's parse (goal: within 3x)\n", Count,
                        Time("BM_LoadPathway", Count) / Pugi);
    }
    const double Small = Time("BM_LoadPathway", 1000);
    if (Small > 0)
        std::printf("load time per element from 1,000 to 10,000 elements: x%.2f (goal: flat)\n",
                    Time("BM_LoadPathway", 10000) / 10 / Small);
    benchmark::Shutdown();
    return 0;
}
