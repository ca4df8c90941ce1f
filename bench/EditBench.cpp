// The editing path of the main window, and the cost of its undo history:
// one tipping value typed into the grid
// of a 1,000- and a 10,000-element pathway, through the model change, the
// grid refresh and the map redraw, with the views the edit changed painted
// (grab()) as the screen would repaint them: the grid and the map view. Next
// to it the map drawing alone, as the map view draws and shows it on every
// change. Goals: the time per element flat from 1,000 to 10,000, and the
// whole edit within 1.2 times the map drawing alone; the summary after the
// table gives both.

#include "base/NumberFormatUnit.h"
#include "bench/BenchSupport.h"
#include "document/DocumentSessionUnit.h"
#include "document/PathwayFileUnit.h"
#include "map/GraphicsFrameUnit.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/ApplicationUnit.h"
#include "ui/ElementEditsUnit.h"
#include "ui/MainUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QDialog>
#include <QPushButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

// Opens the file named on the command line from the start dialog; nothing
// else is ever asked.
class TOpenSeam : public TModalSeam {
public:
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, bool, int*) override {
        return {};
    }
    void ShowMessage(QWidget*, const QString&) override {}
    void ShowError(QWidget*, const QString& Text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(Text));
    }
    bool Confirm(QWidget*, const QString&) override { return false; }
    bool InputQuery(QWidget*, const QString&, const QString&, QString&) override { return false; }
    bool ChooseColor(QWidget*, TColor&) override { return false; }
    int Exec(QDialog* Dialog) override {
        if (auto* About = qobject_cast<TAboutForm*>(Dialog)) {
            About->OpenButton()->click();
            return About->result();
        }
        return QDialog::Rejected;
    }
};

// The bench pathway, saved to a file for the start dialog to open.
QString WritePathway(const QTemporaryDir& Dir, int32_t N) {
    TPathwayDocument Doc;
    FillBenchPathway(Doc.Elements, Doc.Scenarios, N);
    const QString Name = Dir.filePath(QStringLiteral("bench%1.pathway").arg(N));
    Doc.Save(Name);
    return Name;
}

struct TBenchWindow {
    explicit TBenchWindow(int32_t N) {
        SetModal(&Seam);
        Form = std::make_unique<TForm2>(QStringList{WritePathway(Dir, N)});
        Form->CreateDialogs();
        Form->resize(1280, 800);
        Form->show();
        Form->grab();
    }
    ~TBenchWindow() { SetModal(nullptr); }

    TOpenSeam Seam;
    QTemporaryDir Dir;
    std::unique_ptr<TForm2> Form;
};

// A value typed into the grid of a row in the middle: what the grid hands on
// when the edit ends, then the window painted.
void BM_EditTippingValue(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchWindow Bench(N);
    TActionsStringGrid* Grid = Bench.Form->ActionsStringGrid();
    const int32_t Row = N / 2;
    Grid->SetSelection(Row, TActionsGridModel::FirstValueColumn);
    int Turn = 0;
    for (auto _ : State) {
        const QString Text =
            QString::number(40 + (++Turn % 2) * 5) + DecimalSeparator() + QStringLiteral("5");
        Bench.Form->Edits()->CellEdited(Row - 1, TActionsGridModel::FirstValueColumn, Text);
        benchmark::DoNotOptimize(Grid->grab());
        benchmark::DoNotOptimize(Bench.Form->Frame11()->grab());
    }
    PerElement(State, N);
}

// The map drawing alone, as the map view draws and shows it on every change.
void BM_MapDraw(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchWindow Bench(N);
    for (auto _ : State) {
        Bench.Form->Frame11()->Draw();
        benchmark::DoNotOptimize(Bench.Form->Frame11()->grab());
    }
    PerElement(State, N);
}

// What one undoable step costs beyond the change itself, as the window's
// session keeps it: the document copied before and after, compared, the step
// pushed onto the history (with its limit). The views that follow the step
// are kept quiet here: their redraw is the map drawing measured apart.
void BM_UndoStepBookkeeping(benchmark::State& State) {
    const int32_t N = int32_t(State.range(0));
    TBenchWindow Bench(N);
    TForm2& Form = *Bench.Form;
    TElement* Element = Form.MyElementsList()->Elements(N / 2);
    const QSignalBlocker Quiet(Form.Session());
    int Turn = 0;
    for (auto _ : State)
        Form.RecordStep(QStringLiteral("Edit tipping value"),
                        [&] { Element->SetTippingPointValue(40 + (++Turn % 2) * 5); });
    PerElement(State, N);
}

BENCHMARK(BM_EditTippingValue)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoStepBookkeeping)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapDraw)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Prints the ratio to the map drawing and the growth per element after the
// table.
class TSummaryReporter : public TTimesReporter {
public:
    void PrintSummary() const {
        std::printf("\nSummary (CPU time per run)\n");
        for (int N : {1000, 10000}) {
            const std::string Suffix = "/" + std::to_string(N);
            const double Edit = Seconds("BM_EditTippingValue" + Suffix);
            const double Draw = Seconds("BM_MapDraw" + Suffix);
            if (Edit > 0 && Draw > 0)
                std::printf("  %5d elements: edit %7.2f ms, map drawing %7.2f ms, ratio %.2f "
                            "(goal 1.2)\n",
                            N, Edit * 1e3, Draw * 1e3, Edit / Draw);
            const double Step = Seconds("BM_UndoStepBookkeeping" + Suffix);
            if (Step > 0 && Draw > 0)
                std::printf("  %5d elements: undo step %6.3f ms, %.3f of a map drawing "
                            "(goal below 0.1)\n",
                            N, Step * 1e3, Step / Draw);
        }
        const double Small = Seconds("BM_EditTippingValue/1000");
        const double Large = Seconds("BM_EditTippingValue/10000");
        if (Small > 0 && Large > 0)
            std::printf("  edit per element: %.2f us at 1,000, %.2f us at 10,000 (growth %.2f)\n",
                        Small / 1000 * 1e6, Large / 10000 * 1e6, (Large / 10000) / (Small / 1000));
    }
};

} // namespace

int main(int Argc, char** Argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TCorvinalApplication App(Argc, Argv);
    // The bench pathways opened here stay out of the user's recent files.
    QTemporaryDir Settings;
    for (QSettings::Format Format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(Format, QSettings::UserScope, Settings.path());
    benchmark::Initialize(&Argc, Argv);
    if (benchmark::ReportUnrecognizedArguments(Argc, Argv))
        return 1;
    TSummaryReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);
    Reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
