#pragma once

#include <QString>
#include <optional>

class TCellGrid;

// What the commands of the scenario definition dialog do to its matrix, a
// grid laid out as the scenario table's: column 0 the years, row 0 the
// captions, one column per scenario. Kept apart from the dialog so that the
// rules hold, and are tested, without any widget.

// The matrix always starts at 2010 and steps by a decade: row 1 is 2010.
constexpr int MatrixFirstYear = 2010;
constexpr int MatrixYearStep = 10;
int RowOfYear(int Year);

// Writes the straight line from (RowA, ValueA) to (RowB, ValueB) into the
// rows strictly between them, with two decimals or as many more as three
// significant digits need; the end rows stay as they are.
void FillColumnRows(TCellGrid& Grid, int Col, int RowA, double ValueA, int RowB, double ValueB);

// What the add dialog is given before it asks for a new scenario.
struct TAnchorProposal {
    bool EditFirstValue = false;
    double FirstAnchorValue = 0;
    // Empty: the dialog keeps the last value it showed before.
    std::optional<double> LastAnchorValue;
};

// The first scenario starts at 0 and ends at the pathway's largest tipping
// value, but at no less than 100. A further one starts where the rightmost
// scenario starts (its 2010 cell by the cell number rule, so that reading a
// cell that holds no number fails) and cannot start elsewhere.
TAnchorProposal ProposeAnchors(const TCellGrid& Matrix, double MaxTippingPointValue);

// The add dialog's answer.
struct TNewScenario {
    QString Caption;
    double FirstAnchorValue = 0;
    int LastAnchorYear = MatrixFirstYear;
    double LastAnchorValue = 0;
    bool AutoInterpolate = true;
};

// The add dialog accepts only two different years with two different values.
bool AnchorsAccepted(int FirstAnchorYear, double FirstAnchorValue, int LastAnchorYear,
                     double LastAnchorValue);

// Appends the scenario as the rightmost column: its caption as given, its
// two anchors as given (at least two decimals, at most six) and, when
// asked, the line between them.
// Years after the last anchor stay empty. Returns the new column.
int AppendScenario(TCellGrid& Matrix, const TNewScenario& Scenario);

enum TInterpolationResult {
    irNoGap,        // every year has a value: nothing changed
    irFilled,       // the first gap now holds the line between its neighbours
    irTooFewValues, // the first gap lacks a value above or below: nothing changed
};

// Fills the first gap (the first cell whose text is empty; blanks count as a
// value) of a scenario column by the line between the values just above and
// just below it. Further gaps wait for another call. Reading a neighbour that
// holds no number fails with "Cell does not contain a float value" before
// anything changes.
TInterpolationResult InterpolateEmptyCells(TCellGrid& Matrix, int Col);

// The message shown for irTooFewValues.
QString TooFewValuesMessage(int Col);
