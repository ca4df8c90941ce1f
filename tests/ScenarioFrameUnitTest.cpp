#include "scenarios/ScenarioFrameUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class ScenarioTable : public ::testing::Test {
protected:
    void SetUp() override { SetUpScenarioYears(Frame); }
    // Adds a scenario column with the values given per row 1..10 ("" = empty).
    void AddScenario(const QString& Caption, const QStringList& Cells) {
        AddScenarioColumn(Frame, Caption, Cells);
    }
    TScenarioFrame Frame;
};

TEST_F(ScenarioTable, NewTableHasTheDecadeYears) {
    EXPECT_EQ(Frame.Count(), 0);
    EXPECT_EQ(Frame.ScenariosStringGrid().RowCount(), 11);
    EXPECT_EQ(Frame.ScenariosStringGrid().Cells(0, 0), "");
    for (int R = 1; R <= 10; ++R)
        EXPECT_EQ(Frame.ScenariosStringGrid().Cells(0, R), QString::number(2000 + 10 * R));
    EXPECT_FALSE(Frame.ScenarioIsDirty());
}

TEST_F(ScenarioTable, SetupRemovesEveryScenario) {
    AddScenario("Wet", {"1"});
    AddScenario("Dry", {"2"});
    Frame.SetupScenariosGrid();
    EXPECT_EQ(Frame.Count(), 0);
    Frame.ScenariosStringGrid().SetColCount(2);
    EXPECT_EQ(Frame.ScenariosStringGrid().Cells(1, 0), ""); // removed cells are gone
}

TEST_F(ScenarioTable, InterpolatesBetweenDecadesAndHoldsTheEnds) {
    AddScenario("Wet", {"10", "20", "40"});
    EXPECT_EQ(Frame.Count(), 1);
    EXPECT_EQ(Frame.ScenarioCaption(0), "Wet");
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2025, 0), 30);
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2030, 0), 40);
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2000, 0), 10);
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2100, 0), 0); // empty 2100 cell
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2150, 0), 0);
}

TEST_F(ScenarioTable, EmptyCellsCountAsZero) {
    AddScenario("Sparse", {"10", "", "", "", "50"});
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2015, 0), 5);
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2030, 0), 0);
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2045, 0), 25);
}

TEST_F(ScenarioTable, DefinedOnlyForListedYearsWithText) {
    AddScenario("S", {"0", "  ", "", "4"});
    EXPECT_TRUE(Frame.ScenarioValueDefined(2010, 0));
    EXPECT_FALSE(Frame.ScenarioValueDefined(2020, 0));
    EXPECT_FALSE(Frame.ScenarioValueDefined(2030, 0));
    EXPECT_TRUE(Frame.ScenarioValueDefined(2040, 0));
    EXPECT_FALSE(Frame.ScenarioValueDefined(2015, 0));
    EXPECT_FALSE(Frame.ScenarioValueDefined(1990, 0));
}

TEST_F(ScenarioTable, ValuesUseTheLocaleSeparator) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        AddScenario("S", {QString("1") + Sep + "50"});
        EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2010, Frame.Count() - 1), 1.5);
    }
}

TEST_F(ScenarioTable, ACellThatIsNoNumberStopsTheQuestion) {
    AddScenario("S", {"1", "2", "1-2"});
    try {
        Frame.ScenarioValue(2035, 0);
        FAIL();
    } catch (const ECorvinalError& E) {
        EXPECT_STREQ(E.what(), "Cell does not contain a float value");
    }
    EXPECT_DOUBLE_EQ(Frame.ScenarioValue(2015, 0), 1.5);
}

TEST_F(ScenarioTable, CopyMakesAnExactCopy) {
    AddScenario("A", {"1"});
    AddScenario("B", {"2"});
    AddScenario("C", {"3", "", "x"});
    TCellGrid Dest(6, 4);
    Dest.SetCells(5, 3, "stale");
    TScenarioFrame::CopyScenarioValues(Frame.ScenariosStringGrid(), Dest);
    EXPECT_EQ(Dest.ColCount(), 4);
    EXPECT_EQ(Dest.RowCount(), 11);
    for (int C = 0; C < 4; ++C)
        for (int R = 0; R < 11; ++R)
            EXPECT_EQ(Dest.Cells(C, R), Frame.ScenariosStringGrid().Cells(C, R));
    EXPECT_EQ(Dest.Cells(5, 3), "");
}

TEST(CellGrid, ResizingKeepsCellsAndDeletingShiftsColumns) {
    TCellGrid Grid(3, 2);
    Grid.SetCells(0, 0, "a");
    Grid.SetCells(1, 1, "b");
    Grid.SetCells(2, 1, "c");
    Grid.SetRowCount(5);
    EXPECT_EQ(Grid.Cells(1, 1), "b");
    EXPECT_EQ(Grid.Cells(1, 4), "");
    Grid.DeleteColumn(1);
    EXPECT_EQ(Grid.ColCount(), 2);
    EXPECT_EQ(Grid.Cells(1, 1), "c");
    EXPECT_EQ(Grid.Cells(9, 9), ""); // outside reads empty
    Grid.SetCells(9, 9, "ignored");
    EXPECT_EQ(Grid.ColCount(), 2);
}

TEST(ScenarioFrame, ANonPositiveTimeStepKeepsOneYearRow) {
    TScenarioFrame Frame;
    Frame.SetBeginYear(2010);
    Frame.SetEndYear(2100);
    Frame.SetTimeStep(0);
    Frame.SetupScenariosGrid();
    EXPECT_EQ(Frame.ScenariosStringGrid().RowCount(), 2);
}

} // namespace
