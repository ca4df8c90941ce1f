#pragma once

#include "map/PathwayMapUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "scenarios/TippingYearUnit.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// The year by which the next action must be decided on: its predecessor's
// tipping year less the lead time of the action it changes to.
struct TDecisionYear {
    enum TKind : uint8_t {
        dyYear,  // decide by Year
        dyNow,   // due now: on or before the first year, or the predecessor tips there
        dyAfter, // the predecessor tips after the last year: decide after Year
        dyNone   // no year: the scenario defines fewer than two years
    };
    TKind Kind = dyNone;
    int32_t Year = 0;

    bool operator==(const TDecisionYear& Other) const {
        return Kind == Other.Kind && Year == Other.Year;
    }
    bool operator!=(const TDecisionYear& Other) const { return !(*this == Other); }
};

// The decision year from the year a predecessor tips and the lead time of
// the action that follows it. FirstYear is where "now" ends: the first year
// the scenario defines (or, in a time-based pathway, the table's first
// year).
TDecisionYear DecideBy(const TTippingYear& PredecessorTips, int32_t LeadTime, int32_t FirstYear);
// Whether A comes before B in time: "now" first, then the years, then those
// after the last year, then no year.
bool DecidedEarlier(const TDecisionYear& A, const TDecisionYear& B);
// How a decision year reads in tables: "2041", "now", "> 2080", "–".
QString DecisionYearText(const TDecisionYear& Year);
// The same for files meant for other programs, in plain ASCII: "2041",
// "now", ">2080" and an empty text.
QString DecisionYearCsv(const TDecisionYear& Year);

// What the decision of one pathway element rests on, looked up once.
struct TDecisionRow {
    int32_t Index;        // the pathway element's list index
    int32_t FromIndex;    // list index of its predecessor; -1 where the list has none
    const TElement* From; // its predecessor; null where the list has none
    const TElement* To;   // the element it changes to; null where the list has none
    int32_t LeadTime;     // of the action it changes to (TElement::EffectiveLeadTime)
};

// The decisions of a document: one row per pathway element in list order,
// with the element it starts from (its predecessor), the one it changes to,
// its type, the lead time and, per scenario of a condition-based pathway or
// per time column of a time-based one, the year by which it must be decided
// on. Computed once; the list and the scenario table must outlive it.
class TDecisions {
public:
    TDecisions(const TElementsList& Elements, const TScenarioFrame& Scenarios);

    int32_t RowCount() const { return int32_t(FRows.size()); }
    // The list index of a row's pathway element.
    int32_t ListIndex(int32_t Row) const { return FRows[size_t(Row)].Index; }
    const TElement& Element(int32_t Row) const;
    // The element it starts from and the one it changes to; none where the
    // file names no such element.
    const TElement* From(int32_t Row) const;
    const TElement* To(int32_t Row) const;
    int32_t LeadTime(int32_t Row) const;

    // One column of years per scenario (condition-based) or time column
    // (time-based).
    int32_t YearColumnCount() const { return FColumnCount; }
    QString YearCaption(int32_t Column) const;
    TDecisionYear Year(int32_t Row, int32_t Column) const;
    // The earliest of a row's years, for ordering: "now" first, then the
    // years, then those after the last year, then rows without a year.
    TDecisionYear Earliest(int32_t Row) const;
    // Whether any of a row's decisions is due now.
    bool DueNow(int32_t Row) const;

    // A row's type: "Combine" or "Sequence" (a pathway element a file left
    // without a type reads "Sequence", as the map draws it).
    QString TypeText(int32_t Row) const;

private:
    const TElementsList& FElements;
    const TScenarioFrame& FScenarios;
    bool FTimeBased;
    int32_t FColumnCount = 0;
    std::vector<TDecisionRow> FRows;
    std::vector<TDecisionYear> FYears; // row by row, one per column
};

// The decisions as CSV, by the scorecard's rules: UTF-8 with a byte-order
// mark, CRLF, a header (ID, From, To, Type, Lead Time, then the scenarios or
// time columns) and a record per pathway element.
QByteArray DecisionsCsv(const TElementsList& Elements, const TScenarioFrame& Scenarios);
// Writes DecisionsCsv to FileName; the file is replaced only when everything
// has been written. Fails with "Cannot write <file>: <reason>".
void SaveDecisionsCsv(const QString& FileName, const TElementsList& Elements,
                      const TScenarioFrame& Scenarios);

// The decision points a map marks for a choice of DecisionPoints (graph
// settings): none for 0 or a scenario that is not there; for scenario N
// (counted from 1) of a condition-based pathway, or the time column
// ASeriesIndex of a time-based one when the choice is above 0, one for every
// pathway element whose predecessor is in the list and which has a decide-by
// year there (DecideBy, as in TDecisions): on the predecessor's line at the
// value the scenario reaches in that year (time-based: at that year), or due
// now. Decisions after the last year and those without a year mark nothing.
// The tooltip names the decision: "Decide on Barrier by 2041 (High)",
// "Decide on Barrier now (High)".
std::vector<TMapDecisionPoint> MapDecisionPoints(const TElementsList& Elements,
                                                 const TScenarioFrame& Scenarios, int32_t Choice,
                                                 int32_t ASeriesIndex);
