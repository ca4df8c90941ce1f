#pragma once

#include <QString>
#include <vector>

class TReadReport;
class TXmlDoc;

// A rectangular grid of text cells indexed (column, row) from 0: the model of
// a string grid, without a view. Cells outside the grid read as empty.
class TCellGrid {
public:
    TCellGrid() : TCellGrid(1, 1) {}
    TCellGrid(int ColCount, int RowCount);

    int ColCount() const { return int(FColumns.size()); }
    int RowCount() const { return FRowCount; }
    // Resizing keeps the cells that stay inside the grid; new cells are empty.
    void SetColCount(int Value);
    void SetRowCount(int Value);
    QString Cells(int Col, int Row) const;
    void SetCells(int Col, int Row, const QString& Value);
    // Removes a column; the columns right of it move one place to the left.
    void DeleteColumn(int Col);

    bool operator==(const TCellGrid& Other) const {
        return FRowCount == Other.FRowCount && FColumns == Other.FColumns;
    }
    bool operator!=(const TCellGrid& Other) const { return !(*this == Other); }

private:
    std::vector<std::vector<QString>> FColumns;
    int FRowCount;
};

// The scenario table: column 0 holds the years, row 0 the captions, column
// k + 1 the values of scenario k as text, an empty cell meaning no value.
// Only a model: its grid is never shown.
class TScenarioFrame {
public:
    TScenarioFrame();

    TCellGrid& ScenariosStringGrid() { return FScenariosStringGrid; }
    const TCellGrid& ScenariosStringGrid() const { return FScenariosStringGrid; }

    int BeginYear() const { return FBeginYear; }
    void SetBeginYear(int Value) { FBeginYear = Value; }
    int TimeStep() const { return FTimeStep; }
    void SetTimeStep(int Value) { FTimeStep = Value; }
    int EndYear() const { return FEndYear; }
    void SetEndYear(int Value) { FEndYear = Value; }
    bool ScenarioIsDirty() const { return FScenarioIsDirty; }
    void SetScenarioIsDirty(bool Value) { FScenarioIsDirty = Value; }

    // Removes every scenario and writes the year rows anew.
    void SetupScenariosGrid();
    int Count() const { return FScenariosStringGrid.ColCount() - 1; }
    QString ScenarioCaption(int AScenario) const;
    // The value in a year, interpolated between the listed years and held at
    // the end values outside them. Fails with "Cell does not contain a float
    // value" on a cell that holds no number.
    double ScenarioValue(int AYear, int AScenario) const;
    bool ScenarioValueDefined(int AYear, int AScenario) const;
    // The same scenarios with the same cells and years (the dirty flag aside).
    bool SameAs(const TScenarioFrame& Other) const {
        return FScenariosStringGrid == Other.FScenariosStringGrid &&
               FBeginYear == Other.FBeginYear && FTimeStep == Other.FTimeStep &&
               FEndYear == Other.FEndYear;
    }
    // Makes Dest an exact copy of Source, captions and years included.
    static void CopyScenarioValues(const TCellGrid& SourceGrid, TCellGrid& DestGrid);

    // The "scenarios" section of a .pathway document.
    void WriteToXML(TXmlDoc& XML) const;
    // Reading keeps every cell as the file gives it, but for a text that is
    // no number, which gives no value (as a missing year does) and, given a
    // report, is named there.
    void ReadFromXML(const TXmlDoc& XML, TReadReport* Report = nullptr);

private:
    int YearOfRow(int Row) const;
    double CellValue(int Col, int Row) const;

    TCellGrid FScenariosStringGrid;
    int FBeginYear = 0;
    int FTimeStep = 0;
    int FEndYear = 0;
    bool FScenarioIsDirty = false;
};
