// Reading and writing pathway documents of 1,000 and 10,000 elements, with
// pugixml parsing the very same bytes as the yardstick for our reader.
//
// Goals: our parse within twice pugixml's time, and the time per element
// flat from 1,000 to 10,000 elements. A summary with both figures follows the
// table. The unterminated-comment runs show that a construct taking the rest
// of the input stays linear with the smallest read buffer (their time is
// mostly the first touch of fresh memory).

#include "bench/BenchSupport.h"
#include "file/XmlUnit.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <string>

namespace {

void Add(TXmlNode* Parent, const char* Name, const QString& Text) {
    Parent->AddChild(QString::fromLatin1(Name))->Text = Text;
}

// A document laid out like a saved pathway: the elements, five scenarios of
// ten decade years and the graph settings.
QByteArray PathwayDocument(int Elements) {
    TXmlDoc Doc;
    TXmlNode* Pathways = Doc.AddChild(QStringLiteral("pathways"));
    Add(Pathways, "pathwaytype", QStringLiteral("conditionbased"));
    for (int I = 1; I <= Elements; ++I) {
        TXmlNode* E = Pathways->AddChild(QStringLiteral("element"));
        E->SetAttribute(QStringLiteral("id"), QString::number(I));
        const bool IsAction = I <= 20;
        Add(E, "caption",
            IsAction ? QStringLiteral("Action %1").arg(I)
                     : QStringLiteral("Action %1 + Action %2").arg(I % 20 + 1).arg(I % 7 + 1));
        Add(E, "color",
            QStringLiteral("$00%1")
                .arg(0x40A0C0 + I * 97 % 0xFFFF, 6, 16, QLatin1Char('0'))
                .toUpper());
        Add(E, "tippingpointvalue", QString::number(1.25 + (I % 400) * 0.5));
        Add(E, "predecessorid", QString::number(IsAction ? -1 : I % 20 + 1));
        Add(E, "combinationsecond", QString::number(IsAction ? -1 : I % 7 + 1));
        Add(E, "combinationtype",
            IsAction ? QStringLiteral("ctNone") : QStringLiteral("ctSequence"));
        Add(E, "initialcosts", QString::number(I % 13 * 1000));
        Add(E, "transfercosts", QStringLiteral("0"));
        Add(E, "recurrentcosts", QString::number(I % 5));
    }
    Add(Pathways, "CurrentElement", QStringLiteral("1"));

    TXmlNode* Scenarios = Doc.AddChild(QStringLiteral("scenarios"));
    for (int S = 0; S < 5; ++S) {
        TXmlNode* Scenario = Scenarios->AddChild(QStringLiteral("scenario"));
        Add(Scenario, "caption", QStringLiteral("Scenario %1").arg(S + 1));
        for (int Row = 1; Row <= 10; ++Row)
            Add(Scenario, qPrintable(QStringLiteral("year%1").arg(2000 + 10 * Row)),
                Row == 10 ? QString() : QString::number(Row * (S + 1) * 0.5));
    }

    TXmlNode* Settings = Doc.AddChild(QStringLiteral("graphsettings"));
    const char* Names[] = {
        "maxtippingpoint", "mintippingpoint",  "leftmargin",        "titlesareawidth", "topmargin",
        "bottommargin",    "rightmargin",      "yoffset",           "overshoot",       "ticksxaxis",
        "xaxistitle",      "drawingareawidth", "drawingareaheight", "fontsize"};
    const char* Values[] = {"20000", "0",  "10", "200",          "10",   "10",  "50",
                            "20",    "10", "3",  "[no caption]", "1000", "400", "12"};
    for (size_t I = 0; I < std::size(Names); ++I)
        Add(Settings, Names[I], QString::fromLatin1(Values[I]));
    return Doc.SaveToBytes();
}

const QByteArray& Document(int Elements) {
    static std::map<int, QByteArray> Cache;
    auto It = Cache.find(Elements);
    if (It == Cache.end())
        It = Cache.emplace(Elements, PathwayDocument(Elements)).first;
    return It->second;
}

void SetCounters(benchmark::State& State, int Elements, qsizetype Bytes) {
    State.SetBytesProcessed(int64_t(State.iterations()) * Bytes);
    State.counters["per_element"] = benchmark::Counter(
        Elements, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Parsing alone: each round reads into a new document; making and
// destroying the documents is left out of the time, for both readers.
template <typename TLoad> void ParseFresh(benchmark::State& State, TLoad Load) {
    for (auto _ : State) {
        State.PauseTiming();
        auto Doc = Load.Make();
        State.ResumeTiming();
        Load.Parse(*Doc);
        State.PauseTiming();
        Doc.reset();
        State.ResumeTiming();
    }
}

// A whole load as the application does it: a new document, the parse, and
// the document destroyed.
template <typename TLoad> void LoadAndFree(benchmark::State& State, TLoad Load) {
    for (auto _ : State) {
        auto Doc = Load.Make();
        Load.Parse(*Doc);
        benchmark::DoNotOptimize(Doc.get());
    }
}

struct TOurs {
    const QByteArray& Bytes;
    int BufferSize;
    std::unique_ptr<TXmlDoc> Make() const { return std::make_unique<TXmlDoc>(); }
    void Parse(TXmlDoc& Doc) const {
        Doc.LoadFromBytes(Bytes, BufferSize);
        benchmark::DoNotOptimize(Doc.DocumentElement());
    }
};

struct TPugixml {
    const QByteArray& Bytes;
    std::unique_ptr<pugi::xml_document> Make() const {
        return std::make_unique<pugi::xml_document>();
    }
    void Parse(pugi::xml_document& Doc) const {
        const pugi::xml_parse_result Result =
            Doc.load_buffer(Bytes.constData(), size_t(Bytes.size()));
        if (!Result)
            std::abort();
        benchmark::DoNotOptimize(Doc.first_child());
    }
};

void BM_ParseOurs(benchmark::State& State) {
    const QByteArray& Bytes = Document(int(State.range(0)));
    ParseFresh(State, TOurs{Bytes, 4096});
    SetCounters(State, int(State.range(0)), Bytes.size());
}

void BM_ParsePugixml(benchmark::State& State) {
    const QByteArray& Bytes = Document(int(State.range(0)));
    ParseFresh(State, TPugixml{Bytes});
    SetCounters(State, int(State.range(0)), Bytes.size());
}

void BM_ParseOursSmallBuffer(benchmark::State& State) {
    const QByteArray& Bytes = Document(int(State.range(0)));
    ParseFresh(State, TOurs{Bytes, 128});
    SetCounters(State, int(State.range(0)), Bytes.size());
}

void BM_LoadAndFreeOurs(benchmark::State& State) {
    const QByteArray& Bytes = Document(int(State.range(0)));
    LoadAndFree(State, TOurs{Bytes, 4096});
    SetCounters(State, int(State.range(0)), Bytes.size());
}

void BM_LoadAndFreePugixml(benchmark::State& State) {
    const QByteArray& Bytes = Document(int(State.range(0)));
    LoadAndFree(State, TPugixml{Bytes});
    SetCounters(State, int(State.range(0)), Bytes.size());
}

void BM_WriteOurs(benchmark::State& State) {
    const int Elements = int(State.range(0));
    TXmlDoc Doc;
    Doc.LoadFromBytes(Document(Elements));
    qsizetype Size = 0;
    for (auto _ : State) {
        const QByteArray Bytes = Doc.SaveToBytes();
        Size = Bytes.size();
        benchmark::DoNotOptimize(Bytes.constData());
    }
    SetCounters(State, Elements, Size);
}

// An unterminated comment takes the rest of the input; with the smallest
// buffer that is one search resumed for every 128 bytes.
void BM_UnterminatedComment(benchmark::State& State) {
    const QByteArray Bytes = "<a><!--" + QByteArray(State.range(0), '-');
    for (auto _ : State) {
        TXmlDoc Doc;
        Doc.LoadFromBytes(Bytes, 128);
        benchmark::DoNotOptimize(Doc.DocumentElement());
    }
    State.SetBytesProcessed(int64_t(State.iterations()) * Bytes.size());
}

BENCHMARK(BM_ParseOurs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParsePugixml)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseOursSmallBuffer)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndFreeOurs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndFreePugixml)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteOurs)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnterminatedComment)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Arg(16 << 20)
    ->Unit(benchmark::kMillisecond);

// Prints the ratios to pugixml and the growth per element after the table.
class TSummaryReporter : public TTimesReporter {
public:
    void PrintSummary() const {
        std::printf("\nSummary (CPU time per run)\n");
        for (const char* What : {"Parse", "LoadAndFree"}) {
            for (int N : {1000, 10000}) {
                const std::string Suffix = "/" + std::to_string(N);
                const double Ours = Seconds("BM_" + std::string(What) + "Ours" + Suffix);
                const double Reference = Seconds("BM_" + std::string(What) + "Pugixml" + Suffix);
                if (Ours > 0 && Reference > 0)
                    std::printf(
                        "  %-11s %5d elements: ours %6.2f ms, pugixml %5.2f ms, ratio %.2f\n", What,
                        N, Ours * 1e3, Reference * 1e3, Ours / Reference);
            }
        }
        const double Small = Seconds("BM_ParseOurs/1000");
        const double Large = Seconds("BM_ParseOurs/10000");
        if (Small > 0 && Large > 0)
            std::printf("  parse per element: %.0f ns at 1,000, %.0f ns at 10,000 (growth %.2f)\n",
                        Small / 1000 * 1e9, Large / 10000 * 1e9, (Large / 10000) / (Small / 1000));
        std::printf("  unterminated comment, ms per MB:");
        for (int Mb : {1, 4, 16}) {
            const double T = Seconds("BM_UnterminatedComment/" + std::to_string(Mb << 20));
            if (T > 0)
                std::printf(" %.2f at %d MB;", T * 1e3 / Mb, Mb);
        }
        std::printf("\n");
    }
};

} // namespace

int main(int Argc, char** Argv) {
    benchmark::Initialize(&Argc, Argv);
    if (benchmark::ReportUnrecognizedArguments(Argc, Argv))
        return 1;
    TSummaryReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
