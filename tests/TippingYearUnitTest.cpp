#include "scenarios/TippingYearUnit.h"
#include "base/ErrorUnit.h"
#include "map/CanvasUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/PathwayMapUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/FixedTextCanvas.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

using TKind = TTippingYear::TKind;
constexpr TKind Year = TTippingYear::tyYear;
constexpr TKind Before = TTippingYear::tyBefore;
constexpr TKind After = TTippingYear::tyAfter;
constexpr TKind None = TTippingYear::tyNone;

// The cells of a scenario from 2010 on, written with a point; "" is no value.
struct TScenarioCase {
    const char* Name;
    QStringList Cells;
};

const TScenarioCase Rising{"rising", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}};
const TScenarioCase Falling{"falling", {"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}};
const TScenarioCase Flat{"flat", {"5", "5", "5", "5", "5", "5", "5", "5", "5", "5"}};
// Empty and blank cells are no values: defined are 2010, 2040 and 2070.
const TScenarioCase Gappy{"gappy", {"1", "", "", "4", " ", "", "7", "", "", ""}};

class TippingYears : public ::testing::TestWithParam<QChar> {
protected:
    void SetUp() override { SetUpScenarioYears(Scenarios); }
    // The scenario's index.
    int32_t Add(const TScenarioCase& Case) {
        QStringList Cells;
        for (const QString& Cell : Case.Cells)
            Cells << QString(Cell).replace(QLatin1Char('.'), GetParam());
        AddScenarioColumn(Scenarios, QString::fromLatin1(Case.Name), Cells);
        return Scenarios.Count() - 1;
    }

    TSeparatorGuard Guard{GetParam()};
    TScenarioFrame Scenarios;
};

INSTANTIATE_TEST_SUITE_P(Separators, TippingYears, ::testing::ValuesIn(TestSeparators),
                         [](const auto& Info) {
                             return Info.param == QLatin1Char('.') ? std::string("Point")
                                                                   : std::string("Comma");
                         });

TEST_P(TippingYears, BeforeBetweenAndAfterTheDefinedYears) {
    const struct {
        const TScenarioCase& Scenario;
        double Value;
        TKind Kind;
        int32_t Year;
    } Cases[] = {
        // Between two decades the year is interpolated and rounded down; a
        // decade's own value gives that decade.
        {Rising, 2.5, Year, 2035},
        {Rising, 2.99, Year, 2039},
        {Rising, 0, Year, 2010},
        {Rising, 9, Year, 2100},
        {Rising, -0.5, Before, 2010},
        {Rising, 9.5, After, 2100},
        // A falling scenario reaches lower values later; higher ones lie
        // behind its first value.
        {Falling, 2.5, Year, 2075},
        {Falling, 9, Year, 2010},
        {Falling, 10, Before, 2010},
        {Falling, -1, After, 2100},
        // A flat scenario reaches its value at once and counts as rising.
        {Flat, 5, Year, 2010},
        {Flat, 4.9, Before, 2010},
        {Flat, 5.1, After, 2100},
        // Gaps are skipped: the pairs are 2010-2040 and 2040-2070, and the
        // last defined year is 2070.
        {Gappy, 2.5, Year, 2025},
        {Gappy, 4, Year, 2040},
        {Gappy, 6.5, Year, 2065},
        {Gappy, 0.5, Before, 2010},
        {Gappy, 7.5, After, 2070},
        {Rising, std::numeric_limits<double>::quiet_NaN(), None, 0},
        {Rising, std::numeric_limits<double>::infinity(), After, 2100},
        {Falling, std::numeric_limits<double>::infinity(), Before, 2010},
    };
    const int32_t Index[] = {Add(Rising), Add(Falling), Add(Flat), Add(Gappy)};
    const TScenarioCase* Order[] = {&Rising, &Falling, &Flat, &Gappy};
    for (const auto& C : Cases) {
        const int32_t S =
            Index[std::find(std::begin(Order), std::end(Order), &C.Scenario) - std::begin(Order)];
        const TTippingYear Got = ScenarioTippingYear(Scenarios, S, C.Value);
        EXPECT_EQ(Got.Kind, C.Kind) << C.Scenario.Name << " " << C.Value;
        EXPECT_EQ(Got.Year, C.Year) << C.Scenario.Name << " " << C.Value;
    }
}

TEST_P(TippingYears, TheFirstPairThatBracketsTheValueCounts) {
    // Up, then back down: 7 is first reached on the way up. The scenario
    // counts as rising, its last value lying above its first.
    const int32_t S = Add({"peak", {"0", "10", "5"}});
    EXPECT_EQ(ScenarioTippingYear(Scenarios, S, 7), (TTippingYear{Year, 2017}));
    EXPECT_EQ(ScenarioTippingYear(Scenarios, S, 12), (TTippingYear{After, 2030}));
    EXPECT_EQ(ScenarioTippingYear(Scenarios, S, -1), (TTippingYear{Before, 2010}));
    // A flat stretch in the middle gives its first year.
    const int32_t T = Add({"plateau", {"1", "3", "3", "3", "6"}});
    EXPECT_EQ(ScenarioTippingYear(Scenarios, T, 3), (TTippingYear{Year, 2020}));
}

TEST_P(TippingYears, DecimalValuesLandOnTheWholeYearTheyReach) {
    // 0.3 lies exactly halfway between 0.1 and 0.5, which binary fractions
    // miss by a hair.
    const int32_t S = Add({"decimals", {"0.1", "0.5", "0.7", "1.3"}});
    EXPECT_EQ(ScenarioTippingYear(Scenarios, S, 0.3), (TTippingYear{Year, 2015}));
    EXPECT_EQ(ScenarioTippingYear(Scenarios, S, 0.6), (TTippingYear{Year, 2025}));
    EXPECT_EQ(ScenarioTippingYear(Scenarios, S, 1.1), (TTippingYear{Year, 2036}));
}

TEST_P(TippingYears, FewerThanTwoDefinedYearsGiveNoYear) {
    const int32_t One = Add({"one", {"", "", "3"}});
    const int32_t Empty = Add({"empty", {}});
    for (const double Value : {0.0, 3.0, 10.0}) {
        EXPECT_EQ(ScenarioTippingYear(Scenarios, One, Value), (TTippingYear{None, 0}));
        EXPECT_EQ(ScenarioTippingYear(Scenarios, Empty, Value), (TTippingYear{None, 0}));
    }
}

TEST_P(TippingYears, ACellThatIsNoNumberFailsAsTheAxisDoes) {
    const int32_t S = Add({"typo", {"1", "2", "x"}});
    try {
        ScenarioTippingYear(Scenarios, S, 1.5);
        FAIL() << "no error";
    } catch (const ECorvinalError& E) {
        EXPECT_EQ(E.Message(), "Cell does not contain a float value");
    }
}

TEST_P(TippingYears, TimelineHoldsTheDefinedYearsInOrder) {
    const TScenarioTimeline Timeline(Scenarios, Add(Gappy));
    ASSERT_EQ(Timeline.Points().size(), 3u);
    const int32_t Years[] = {2010, 2040, 2070};
    const double Values[] = {1, 4, 7};
    for (size_t I = 0; I < 3; ++I) {
        EXPECT_EQ(Timeline.Points()[I].Year, Years[I]);
        EXPECT_EQ(Timeline.Points()[I].Value, Values[I]);
    }
}

TEST(TippingYearTexts, ShownAndWrittenForms) {
    const struct {
        TTippingYear Year;
        const char16_t* Shown;
        const char* Csv;
    } Cases[] = {
        {{Year, 2047}, u"2047", "2047"},
        {{Before, 2010}, u"\u2264 2010", "<=2010"},
        {{After, 2100}, u"> 2100", ">2100"},
        {{None, 0}, u"\u2013", ""},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(TippingYearText(C.Year), QString::fromUtf16(C.Shown));
        EXPECT_EQ(TippingYearCsv(C.Year), QString::fromLatin1(C.Csv));
    }
}

// ---------------------------------------------------------------- the axes

// Keeps the ticks the scenario axes hang below their line: vertical one-pixel
// lines 10 pixels long, by the y of the axis they hang from.
class TTickCanvas : public TFixedTextCanvas {
public:
    TTickCanvas(int32_t W, int32_t H) : TFixedTextCanvas(W, H) {}

    std::vector<int32_t> TicksBelow(int32_t Y) const {
        std::vector<int32_t> Result;
        for (const auto& [X, Top] : FTicks)
            if (Top == Y)
                Result.push_back(X);
        return Result;
    }

protected:
    void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override {
        if (PenWidth() == 1 && X1 == X2 && Y2 == Y1 + 10)
            FTicks.emplace_back(X1, Y1);
    }

private:
    std::vector<std::pair<int32_t, int32_t>> FTicks;
};

TEST_P(TippingYears, YearsAgreeWithTheScenarioAxes) {
    // Reading down from the x of a value on the tipping-point axis to a
    // scenario axis lands in the stretch of the year the value is reached
    // in: between the x of that year and of the next one, give or take the
    // pixel that rounding costs on each axis. The axis runs straight between
    // the ticks of its defined years, so a year between two ticks lies
    // proportionally between them. Ranges where a year is wider than a pixel
    // and ones where it is narrower, and ones the scenarios run past on the
    // right. (Values below the range all stand at its left end, which bends
    // the axis; the ranges start at or below the scenarios' lowest value.)
    const int32_t Indexes[] = {Add(Rising), Add(Falling), Add(Flat), Add(Gappy)};
    TGraphicsSettings Settings;
    Settings.SetDrawingAreaHeight(700);
    TElementsList List;
    TPathwayMap Map(Settings, List, Scenarios);
    const std::pair<double, double> Ranges[] = {{0, 10}, {0, 100}, {0, 4.5}, {-3, 12}};
    for (const auto& [Min, Max] : Ranges) {
        Settings.SetMinTippingPointValue(Min);
        Settings.SetMaxTippingPointValue(Max);
        TTickCanvas Canvas(Settings.DrawingAreaWidth(), Settings.DrawingAreaHeight());
        Map.DrawPathwayOnCanvas(Canvas, -1);
        const TMapGeometry Geometry(Settings, List, Scenarios, -1);
        for (const int32_t S : Indexes) {
            const TScenarioTimeline Timeline(Scenarios, S);
            const auto& Points = Timeline.Points();
            const std::vector<int32_t> Ticks = Canvas.TicksBelow(Geometry.AxisTop() + 60 + 50 * S);
            ASSERT_EQ(Ticks.size(), Points.size()) << S;
            // The x of a moment on the scenario axis, from the drawn ticks.
            auto AxisX = [&](double Moment) {
                for (size_t K = 0; K + 1 < Points.size(); ++K)
                    if (Moment <= Points[K + 1].Year)
                        return Ticks[K] + (Moment - Points[K].Year) /
                                              (Points[K + 1].Year - Points[K].Year) *
                                              (Ticks[K + 1] - Ticks[K]);
                return double(Ticks.back());
            };
            for (int32_t Step = 0; Step <= 997; ++Step) {
                const double V = Min + (Max - Min) * Step / 997;
                const TTippingYear Got = Timeline.TippingYear(V);
                const int32_t XV = Geometry.ValueToX(V);
                const std::string Where = std::to_string(S) + " at " + std::to_string(V);
                if (Got.Kind == Year) {
                    const double XA = AxisX(Got.Year);
                    const double XB = AxisX(std::min<double>(Got.Year + 1, Points.back().Year));
                    EXPECT_GE(XV, std::min(XA, XB) - 1) << Where;
                    EXPECT_LE(XV, std::max(XA, XB) + 1) << Where;
                    continue;
                }
                // Values never reached lie beyond the whole axis, on the side
                // its first or its last year shows.
                const bool Rising = Points.back().Value >= Points.front().Value;
                const bool Left = (Got.Kind == Before) == Rising;
                const int32_t Edge = *std::min_element(Ticks.begin(), Ticks.end());
                const int32_t FarEdge = *std::max_element(Ticks.begin(), Ticks.end());
                if (Left)
                    EXPECT_LE(XV, Edge) << Where;
                else
                    EXPECT_GE(XV, FarEdge) << Where;
            }
        }
    }
}

TEST(ScenarioValueInYear, LiesOnTheLineBetweenTheYearsAround) {
    TScenarioFrame Scenarios;
    SetUpScenarioYears(Scenarios);
    AddScenarioColumn(Scenarios, "Sparse", {"0", "", "", "", "40", "", "", "", "", "90"});
    const TScenarioTimeline Timeline(Scenarios, 0);
    const std::pair<int32_t, double> Cases[] = {{2000, 0},  {2010, 0},  {2030, 20}, {2050, 40},
                                                {2075, 65}, {2100, 90}, {2200, 90}};
    for (const auto& [Year, Value] : Cases)
        EXPECT_DOUBLE_EQ(ScenarioValueInYear(Timeline, Year), Value) << Year;
}

} // namespace
