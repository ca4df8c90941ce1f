#include "scenarios/ScenarioFrameUnit.h"

#include "base/NumberFormatUnit.h"
#include "base/ReadReportUnit.h"
#include "file/XmlUnit.h"

#include <algorithm>

// ---------------------------------------------------------------- TCellGrid

TCellGrid::TCellGrid(int ColCount, int RowCount) : FRowCount(0) {
    SetRowCount(RowCount);
    SetColCount(ColCount);
}

void TCellGrid::SetColCount(int Value) {
    FColumns.resize(size_t(std::max(Value, 0)), std::vector<QString>(size_t(FRowCount)));
}

void TCellGrid::SetRowCount(int Value) {
    FRowCount = std::max(Value, 0);
    for (auto& Column : FColumns)
        Column.resize(size_t(FRowCount));
}

QString TCellGrid::Cells(int Col, int Row) const {
    if (Col < 0 || Col >= ColCount() || Row < 0 || Row >= FRowCount)
        return QString();
    return FColumns[size_t(Col)][size_t(Row)];
}

void TCellGrid::SetCells(int Col, int Row, const QString& Value) {
    if (Col < 0 || Col >= ColCount() || Row < 0 || Row >= FRowCount)
        return;
    FColumns[size_t(Col)][size_t(Row)] = Value;
}

void TCellGrid::DeleteColumn(int Col) {
    if (Col < 0 || Col >= ColCount())
        return;
    FColumns.erase(FColumns.begin() + Col);
}

// ---------------------------------------------------------------- TScenarioFrame

TScenarioFrame::TScenarioFrame() : FScenariosStringGrid(1, 1) {}

void TScenarioFrame::SetupScenariosGrid() {
    FScenariosStringGrid.SetColCount(1);
    // A step of zero or less has no rows to give; keep one year row rather
    // than divide by it.
    const int Steps = FTimeStep > 0 ? (FEndYear - FBeginYear) / FTimeStep : 0;
    const int RowCount = std::max(Steps, 0) + 2;
    FScenariosStringGrid.SetRowCount(RowCount);
    FScenariosStringGrid.SetCells(0, 0, QString());
    for (int R = 1; R < RowCount; ++R)
        FScenariosStringGrid.SetCells(0, R, QString::number(FBeginYear + (R - 1) * FTimeStep));
}

QString TScenarioFrame::ScenarioCaption(int AScenario) const {
    return FScenariosStringGrid.Cells(AScenario + 1, 0);
}

int TScenarioFrame::YearOfRow(int Row) const {
    int32_t Year = 0;
    TryStrToInt(FScenariosStringGrid.Cells(0, Row), Year);
    return Year;
}

double TScenarioFrame::CellValue(int Col, int Row) const {
    return CellToFloat(FScenariosStringGrid.Cells(Col, Row));
}

double TScenarioFrame::ScenarioValue(int AYear, int AScenario) const {
    const int C = AScenario + 1;
    const int LastRow = FScenariosStringGrid.RowCount() - 1;
    if (AYear <= FBeginYear)
        return CellValue(C, 1);
    if (AYear >= FEndYear)
        return CellValue(C, LastRow);
    bool HaveLow = false;
    int YLow = 0;
    double VLow = 0;
    for (int R = 1; R <= LastRow; ++R) {
        const int Year = YearOfRow(R);
        if (Year == AYear)
            return CellValue(C, R);
        if (Year < AYear) {
            HaveLow = true;
            YLow = Year;
            VLow = CellValue(C, R);
            continue;
        }
        const double VHigh = CellValue(C, R);
        if (!HaveLow)
            return VHigh;
        return VLow + double(AYear - YLow) / double(Year - YLow) * (VHigh - VLow);
    }
    // No listed year after AYear (years that stop short of EndYear): hold the
    // last value instead of extrapolating.
    return VLow;
}

bool TScenarioFrame::ScenarioValueDefined(int AYear, int AScenario) const {
    for (int R = 1; R < FScenariosStringGrid.RowCount(); ++R)
        if (YearOfRow(R) == AYear)
            return !FScenariosStringGrid.Cells(AScenario + 1, R).trimmed().isEmpty();
    return false;
}

void TScenarioFrame::CopyScenarioValues(const TCellGrid& SourceGrid, TCellGrid& DestGrid) {
    DestGrid.SetRowCount(SourceGrid.RowCount());
    DestGrid.SetColCount(SourceGrid.ColCount());
    for (int R = 0; R < SourceGrid.RowCount(); ++R)
        for (int C = 0; C < SourceGrid.ColCount(); ++C)
            DestGrid.SetCells(C, R, SourceGrid.Cells(C, R));
}

// ---------------------------------------------------------------- file section

namespace {

const TXmlNodeTypes ElementsOnly{ntElement};
// The file stores ten decades under fixed names, whatever the table's years.
const int StoredYearRows = 10;

// The names of rows 1 to 10.
const QString& YearName(int Row) {
    static const QString Names[StoredYearRows + 1] = {QString(),
                                                      QStringLiteral("year2010"),
                                                      QStringLiteral("year2020"),
                                                      QStringLiteral("year2030"),
                                                      QStringLiteral("year2040"),
                                                      QStringLiteral("year2050"),
                                                      QStringLiteral("year2060"),
                                                      QStringLiteral("year2070"),
                                                      QStringLiteral("year2080"),
                                                      QStringLiteral("year2090"),
                                                      QStringLiteral("year2100")};
    return Names[Row];
}

} // namespace

void TScenarioFrame::WriteToXML(TXmlDoc& XML) const {
    TXmlNode* Scenarios = XML.AddChild(QStringLiteral("scenarios"));
    for (int K = 0; K < Count(); ++K) {
        TXmlNode* Scenario = Scenarios->AddChild(QStringLiteral("scenario"));
        Scenario->AddChild(QStringLiteral("caption"))->Text = FScenariosStringGrid.Cells(K + 1, 0);
        for (int R = 1; R <= StoredYearRows; ++R)
            Scenario->AddChild(YearName(R))->Text = FScenariosStringGrid.Cells(K + 1, R);
    }
}

void TScenarioFrame::ReadFromXML(const TXmlDoc& XML, TReadReport* Report) {
    const TXmlNode* Scenarios = XML.ChildNodes().Find(QStringLiteral("scenarios"), ElementsOnly);
    if (!Scenarios)
        return;
    SetupScenariosGrid();
    const std::unique_ptr<TXmlNodeList> Nodes =
        Scenarios->FindNodes(QStringLiteral("scenario"), ElementsOnly);
    FScenariosStringGrid.SetColCount(Nodes->Count() + 1);
    for (int I = 0; I < Nodes->Count(); ++I) {
        const TXmlNode* Scenario = Nodes->Get(I);
        if (const TXmlNode* Caption = Scenario->Find(QStringLiteral("caption"), ElementsOnly))
            FScenariosStringGrid.SetCells(I + 1, 0, Caption->Text);
        for (int R = 1; R <= StoredYearRows; ++R)
            if (const TXmlNode* Year = Scenario->Find(YearName(R), ElementsOnly)) {
                // A text that is no number gives what a missing year gives,
                // no value, so that the map and the scorecard still work;
                // the report says which cell it was.
                if (IsCellNumber(Year->Text)) {
                    FScenariosStringGrid.SetCells(I + 1, R, Year->Text);
                } else if (Report) {
                    Report->Unreadable(
                        QStringLiteral("Scenario \"%1\"").arg(ScenarioCaption(I)),
                        QStringLiteral("year %1").arg(FScenariosStringGrid.Cells(0, R)), Year->Text,
                        QStringLiteral("no value"));
                }
            }
    }
    FScenarioIsDirty = false;
}
