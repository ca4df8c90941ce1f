#include "scenarios/ScenarioMatrixUnit.h"
#include "base/ErrorUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "scenarios/TippingYearUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A matrix as the definition dialog gets it: the years 2010 to 2100 and the
// given scenarios.
class Matrix {
public:
    Matrix() { SetUpScenarioYears(FFrame); }
    Matrix& With(const QString& Caption, const QStringList& Cells) {
        AddScenarioColumn(FFrame, Caption, Cells);
        return *this;
    }
    TCellGrid& Grid() { return FFrame.ScenariosStringGrid(); }
    const TScenarioFrame& Frame() const { return FFrame; }
    // Rows 1 to 10 of a column.
    QStringList Column(int Col) {
        QStringList Cells;
        for (int R = 1; R < Grid().RowCount(); ++R)
            Cells << Grid().Cells(Col, R);
        return Cells;
    }

private:
    TScenarioFrame FFrame;
};

TEST(FillColumnRows, WritesTheLineBetweenTheEndRowsWithTheDigitsItNeeds) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Matrix M;
        M.With("S", {"keep", "", "", "", "x", "y"});
        FillColumnRows(M.Grid(), 1, 1, 10, 5, 0);
        EXPECT_EQ(M.Column(1), QStringList({"keep", LocalNumber("7.50"), LocalNumber("5.00"),
                                            LocalNumber("2.50"), "x", "y", "", "", "", ""}));
        // Thirds keep three significant digits, rounded, not cut.
        FillColumnRows(M.Grid(), 1, 6, 0, 9, 1);
        EXPECT_EQ(M.Column(1).mid(6, 2), LocalNumber(QStringList({"0.333", "0.667"})));
    }
}

TEST(FillColumnRows, NeighbouringOrReversedRowsWriteNothing) {
    Matrix M;
    M.With("S", {"1", "", "3"});
    FillColumnRows(M.Grid(), 1, 1, 1, 2, 5);
    FillColumnRows(M.Grid(), 1, 3, 3, 1, 1);
    FillColumnRows(M.Grid(), 1, 2, 3, 2, 1);
    EXPECT_EQ(M.Column(1).mid(0, 3), QStringList({"1", "", "3"}));
}

TEST(ProposeAnchors, TheFirstScenarioRunsFromZeroToTheLargestTippingValueButAtLeast100) {
    const struct {
        double MaxTippingPointValue;
        double LastAnchorValue;
    } Cases[] = {{35, 100}, {250, 250}, {100, 100}, {99.99, 100}, {-5, 100}};
    for (const auto& Case : Cases) {
        Matrix M;
        const TAnchorProposal Proposal = ProposeAnchors(M.Grid(), Case.MaxTippingPointValue);
        EXPECT_TRUE(Proposal.EditFirstValue);
        EXPECT_EQ(Proposal.FirstAnchorValue, 0);
        ASSERT_TRUE(Proposal.LastAnchorValue.has_value());
        EXPECT_EQ(*Proposal.LastAnchorValue, Case.LastAnchorValue) << Case.MaxTippingPointValue;
    }
}

TEST(ProposeAnchors, AFurtherScenarioStartsFromTheRightmostOnesFixed2010Value) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        const struct {
            QString Rightmost2010;
            double FirstAnchorValue;
        } Cases[] = {{LocalNumber("12.5"), 12.5}, {"", 0}, {"  ", 0}, {"-3", -3}};
        for (const auto& Case : Cases) {
            Matrix M;
            M.With("Low", {"7"}).With("High", {Case.Rightmost2010});
            const TAnchorProposal Proposal = ProposeAnchors(M.Grid(), 500);
            EXPECT_FALSE(Proposal.EditFirstValue);
            EXPECT_EQ(Proposal.FirstAnchorValue, Case.FirstAnchorValue)
                << Case.Rightmost2010.toStdString();
            EXPECT_FALSE(Proposal.LastAnchorValue.has_value()); // the dialog keeps its own
        }
    }
}

TEST(ProposeAnchors, ARightmost2010CellThatHoldsNoNumberFails) {
    TSeparatorGuard Guard('.');
    Matrix M;
    M.With("S", {"1..2"});
    try {
        ProposeAnchors(M.Grid(), 0);
        FAIL() << "no error";
    } catch (const ECorvinalError& E) {
        EXPECT_EQ(E.Message(), "Cell does not contain a float value");
    }
}

TEST(AnchorsAccepted, NeedsTwoYearsAndTwoValues) {
    const struct {
        int LastYear;
        double First;
        double Last;
        bool Accepted;
    } Cases[] = {{2050, 0, 40, true}, {2010, 0, 40, false}, {2100, 5, 5, false},
                 {2010, 5, 5, false}, {2020, 40, 0, true},  {2100, -1, 1, true}};
    for (const auto& Case : Cases)
        EXPECT_EQ(AnchorsAccepted(2010, Case.First, Case.LastYear, Case.Last), Case.Accepted)
            << Case.LastYear << " " << Case.First << " " << Case.Last;
}

TEST(AppendScenario, FillsFromTheFirstToTheLastAnchorAndLeavesTheLaterYearsEmpty) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        const struct {
            int LastYear;
            double Last;
            bool AutoInterpolate;
            QStringList Column;
        } Cases[] = {
            {2050, 40, true, {"0.00", "10.00", "20.00", "30.00", "40.00", "", "", "", "", ""}},
            {2050, 40, false, {"0.00", "", "", "", "40.00", "", "", "", "", ""}},
            {2100,
             90,
             true,
             {"0.00", "10.00", "20.00", "30.00", "40.00", "50.00", "60.00", "70.00", "80.00",
              "90.00"}},
            // what was typed, up to six decimals
            {2020, 12.345, true, {"0.00", "12.345", "", "", "", "", "", "", "", ""}},
            {2020, 0.1234567, true, {"0.00", "0.123457", "", "", "", "", "", "", "", ""}},
        };
        for (const auto& Case : Cases) {
            Matrix M;
            M.With("Old", {"5", "6"});
            TNewScenario Scenario;
            Scenario.Caption = "Wet";
            Scenario.FirstAnchorValue = 0;
            Scenario.LastAnchorYear = Case.LastYear;
            Scenario.LastAnchorValue = Case.Last;
            Scenario.AutoInterpolate = Case.AutoInterpolate;
            EXPECT_EQ(AppendScenario(M.Grid(), Scenario), 2);
            ASSERT_EQ(M.Grid().ColCount(), 3);
            EXPECT_EQ(M.Grid().Cells(2, 0), "Wet");
            EXPECT_EQ(M.Column(2), LocalNumber(Case.Column))
                << Case.LastYear << Case.AutoInterpolate;
            EXPECT_EQ(M.Column(1).mid(0, 2), QStringList({"5", "6"}));
        }
    }
}

TEST(AppendScenario, KeepsTheCaptionAsEntered) {
    for (const QString& Caption : {QString(), QString("Old"), QString("  spaced  ")}) {
        Matrix M;
        M.With("Old", {"5"});
        TNewScenario Scenario;
        Scenario.Caption = Caption;
        Scenario.LastAnchorYear = 2100;
        Scenario.LastAnchorValue = 1;
        AppendScenario(M.Grid(), Scenario);
        EXPECT_EQ(M.Grid().Cells(2, 0), Caption);
        EXPECT_EQ(M.Grid().Cells(1, 0), "Old");
    }
}

TEST(InterpolateEmptyCells, FillsOneGapAtATime) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Matrix M;
        M.With("S", {"10", "", "", "", "50", "", "70", "", "", ""});
        EXPECT_EQ(InterpolateEmptyCells(M.Grid(), 1), irFilled);
        EXPECT_EQ(M.Column(1), QStringList({"10", LocalNumber("20.00"), LocalNumber("30.00"),
                                            LocalNumber("40.00"), "50", "", "70", "", "", ""}));
        EXPECT_EQ(InterpolateEmptyCells(M.Grid(), 1), irFilled);
        EXPECT_EQ(M.Column(1)[5], LocalNumber("60.00"));
        const QStringList Before = M.Column(1);
        EXPECT_EQ(InterpolateEmptyCells(M.Grid(), 1), irTooFewValues);
        EXPECT_EQ(M.Column(1), Before);
        EXPECT_EQ(TooFewValuesMessage(1), "Assign at least two values in column 1");
    }
}

TEST(InterpolateEmptyCells, ReadsItsNeighboursByTheCellNumberRule) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Matrix M;
        // A cell of blanks is a value (0), not a gap.
        M.With("S", {LocalNumber("1.5"), " ", "", LocalNumber("(4.5)"), "", "", "", "", "", ""});
        EXPECT_EQ(InterpolateEmptyCells(M.Grid(), 1), irFilled);
        EXPECT_EQ(M.Column(1).mid(0, 4), QStringList({LocalNumber("1.5"), " ", LocalNumber("-2.25"),
                                                      LocalNumber("(4.5)")}));
    }
}

// A sea-level rise of 0.05 m by 2100, the commonest case: two decimals made
// it 0.01, 0.01, 0.02, 0.02 ..., and the years read from them were off by
// up to eight years.
TEST(InterpolateEmptyCells, SmallRisesKeepTheirYears) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Matrix M;
        M.With("Rise", {"0", "", "", "", "", "", "", "", "", LocalNumber("0.05")});
        ASSERT_EQ(InterpolateEmptyCells(M.Grid(), 1), irFilled);
        EXPECT_EQ(M.Column(1),
                  LocalNumber(QStringList({"0", "0.00556", "0.0111", "0.0167", "0.0222", "0.0278",
                                           "0.0333", "0.0389", "0.0444", "0.05"})));
        const std::pair<double, int32_t> Years[] = {{0.01, 2028}, {0.025, 2055}, {0.04, 2082}};
        for (const auto& [Value, Year] : Years)
            EXPECT_EQ(ScenarioTippingYear(M.Frame(), 0, Value),
                      (TTippingYear{TTippingYear::tyYear, Year}))
                << Value;
    }
}

TEST(InterpolateEmptyCells, AFullColumnStaysAsItIs) {
    Matrix M;
    const QStringList Full{"1", "2", " ", "4", "5", "6", "7", "8", "9", "10"};
    M.With("S", Full);
    EXPECT_EQ(InterpolateEmptyCells(M.Grid(), 1), irNoGap);
    EXPECT_EQ(M.Column(1), Full);
}

TEST(InterpolateEmptyCells, AnEmpty2010CellHasNoValueAboveIt) {
    // The caption above is never taken for a value, whether it reads as a
    // number or not.
    for (const QString& Caption : {QString("New Scenario"), QString("5"), QString()}) {
        Matrix M;
        M.With(Caption, {"", "", "30", "", "", "", "", "", "", "100"});
        const QStringList Before = M.Column(1);
        EXPECT_EQ(InterpolateEmptyCells(M.Grid(), 1), irTooFewValues) << Caption.toStdString();
        EXPECT_EQ(M.Column(1), Before);
        EXPECT_EQ(M.Grid().Cells(1, 0), Caption);
    }
}

TEST(InterpolateEmptyCells, ANeighbourThatHoldsNoNumberFailsBeforeAnythingChanges) {
    TSeparatorGuard Guard('.');
    const struct {
        QStringList Cells;
    } Cases[] = {
        {{"1..5", "", "3"}}, // above the gap
        {{"1", "", "x-"}},   // below it
        {{"1..5", "", ""}},  // above, with nothing below: the reading comes first
    };
    for (const auto& Case : Cases) {
        Matrix M;
        M.With("S", Case.Cells);
        const QStringList Before = M.Column(1);
        EXPECT_THROW(InterpolateEmptyCells(M.Grid(), 1), ECorvinalError)
            << Case.Cells.join("|").toStdString();
        EXPECT_EQ(M.Column(1), Before);
    }
}

TEST(InterpolateEmptyCells, WorksOnItsOwnColumnOnly) {
    Matrix M;
    M.With("A", {"1", "", "3"}).With("B", {"0", "", "", "3"});
    EXPECT_EQ(InterpolateEmptyCells(M.Grid(), 2), irFilled);
    EXPECT_EQ(M.Column(1).mid(0, 3), QStringList({"1", "", "3"}));
    EXPECT_EQ(M.Column(2).mid(0, 4), LocalNumber(QStringList({"0", "1.00", "2.00", "3"})));
    EXPECT_EQ(TooFewValuesMessage(2), "Assign at least two values in column 2");
}

} // namespace
