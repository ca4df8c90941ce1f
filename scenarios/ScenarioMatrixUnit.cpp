#include "scenarios/ScenarioMatrixUnit.h"

#include "base/NumberFormatUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

namespace {

// Below this a first scenario would end too close to its start to be of use.
const double SmallestProposedLastValue = 100;

} // namespace

int RowOfYear(int Year) {
    return (Year - MatrixFirstYear) / MatrixYearStep + 1;
}

void FillColumnRows(TCellGrid& Grid, int Col, int RowA, double ValueA, int RowB, double ValueB) {
    for (int R = RowA + 1; R < RowB; ++R)
        Grid.SetCells(Col, R,
                      FormatFloatSignificant(
                          (ValueB - ValueA) * double(R - RowA) / double(RowB - RowA) + ValueA));
}

TAnchorProposal ProposeAnchors(const TCellGrid& Matrix, double MaxTippingPointValue) {
    TAnchorProposal Proposal;
    if (Matrix.ColCount() <= 1) {
        Proposal.EditFirstValue = true;
        Proposal.FirstAnchorValue = 0;
        Proposal.LastAnchorValue = MaxTippingPointValue >= SmallestProposedLastValue
                                       ? MaxTippingPointValue
                                       : SmallestProposedLastValue;
        return Proposal;
    }
    // Every scenario grows from the same present: a further one takes over
    // the 2010 value instead of asking for it.
    Proposal.EditFirstValue = false;
    Proposal.FirstAnchorValue = CellToFloat(Matrix.Cells(Matrix.ColCount() - 1, 1));
    return Proposal;
}

bool AnchorsAccepted(int FirstAnchorYear, double FirstAnchorValue, int LastAnchorYear,
                     double LastAnchorValue) {
    return LastAnchorValue != FirstAnchorValue && FirstAnchorYear != LastAnchorYear;
}

int AppendScenario(TCellGrid& Matrix, const TNewScenario& Scenario) {
    const int Col = Matrix.ColCount();
    // A fresh column is empty from the caption row down.
    Matrix.SetColCount(Col + 1);
    Matrix.SetCells(Col, 0, Scenario.Caption);
    Matrix.SetCells(Col, 1, FormatFloatKept(Scenario.FirstAnchorValue));
    const int LastRow = RowOfYear(Scenario.LastAnchorYear);
    Matrix.SetCells(Col, LastRow, FormatFloatKept(Scenario.LastAnchorValue));
    if (Scenario.AutoInterpolate)
        FillColumnRows(Matrix, Col, 1, Scenario.FirstAnchorValue, LastRow,
                       Scenario.LastAnchorValue);
    return Col;
}

TInterpolationResult InterpolateEmptyCells(TCellGrid& Matrix, int Col) {
    const int LastRow = Matrix.RowCount() - 1;
    int Gap = 1;
    while (Gap <= LastRow && !Matrix.Cells(Col, Gap).isEmpty())
        ++Gap;
    if (Gap > LastRow)
        return irNoGap;
    const int RowA = Gap - 1;
    // Above an empty 2010 cell lies the caption, which is no value.
    if (RowA == 0)
        return irTooFewValues;
    int RowB = Gap + 1;
    while (RowB <= LastRow && Matrix.Cells(Col, RowB).isEmpty())
        ++RowB;
    const double ValueA = CellToFloat(Matrix.Cells(Col, RowA));
    if (RowB > LastRow)
        return irTooFewValues;
    const double ValueB = CellToFloat(Matrix.Cells(Col, RowB));
    FillColumnRows(Matrix, Col, RowA, ValueA, RowB, ValueB);
    return irFilled;
}

QString TooFewValuesMessage(int Col) {
    return QStringLiteral("Assign at least two values in column ") + QString::number(Col);
}
