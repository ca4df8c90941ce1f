#pragma once

#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "scenarios/TippingYearUnit.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// Whether the elements of the list have tipping years: those of a
// condition-based pathway do, at their tipping value; a time-based pathway
// states its tipping moments as its time values already.
bool HasTippingYears(const TElementsList& Elements);

// The year in which an element tips under a scenario: tyNone in a time-based
// pathway. Reads the scenario anew at every call (see TScorecard for many
// elements); a scenario cell that holds no number fails as in
// TScenarioTimeline.
TTippingYear ElementTippingYear(const TElement& Element, const TScenarioFrame& Scenarios,
                                int32_t AScenario);

// The scorecard of a document: one row per element in list order, and the
// columns ID, colour, name, type, whether the element is on the preferred
// route, the tipping value (condition-based) or the
// time values (time-based), the initial, transfer and recurrent costs, and in
// a condition-based pathway one tipping year per scenario.
//
// Every tipping year and every lead time is computed once, here; the other
// cells are read from the list at every call. So the list and the scenario
// table must outlive the scorecard, and a scorecard is built anew after
// every change of either.
//
// A scenario whose cells cannot be read (a value that is no number) gives
// "no year" in every row, and ScenarioError says why: the table stays
// usable while the map reports the broken value.
class TScorecard {
public:
    TScorecard(const TElementsList& Elements, const TScenarioFrame& Scenarios);

    enum TColumnKind : uint8_t {
        ckID,
        ckColor,
        ckName,
        ckType,
        ckTippingValue,
        ckTimeValue,
        ckInitialCosts,
        ckTransferCosts,
        ckRecurrentCosts,
        ckTippingYear,
        ckPreferred,
        ckLeadTime
    };

    int32_t RowCount() const { return FElements.Count(); }
    int32_t ColumnCount() const { return int32_t(FColumns.size()); }
    TColumnKind Kind(int32_t Col) const { return FColumns[size_t(Col)].Kind; }
    // The time column of a ckTimeValue column, the scenario of a
    // ckTippingYear column; -1 for every other column.
    int32_t TimeColumn(int32_t Col) const;
    int32_t Scenario(int32_t Col) const;
    // The first column of a kind, or of the kind and time column or scenario
    // given; -1 when there is none.
    int32_t ColumnOf(TColumnKind Kind, int32_t Index = -1) const;

    // The captions as the tab shows them: "ID", "Color", "Action or Pathway",
    // "Type", "Preferred", "Condition tipping point" or the time column's
    // caption,
    // "Initial Costs", "Transfer Costs", "Recurrent Costs", and the
    // scenario's caption.
    QString Caption(int32_t Col) const;

    const TElement& Element(int32_t Row) const { return *FElements.Elements(Row); }
    // Whether a column holds numbers of the element (tipping or time values,
    // costs), and the number of a row there (0 in other columns).
    bool IsNumberColumn(int32_t Col) const;
    double Number(int32_t Row, int32_t Col) const;
    TTippingYear TippingYear(int32_t Row, int32_t AScenario) const;
    // A row's lead time: an action's own, that of the action a pathway
    // element changes to (TElement::EffectiveLeadTime).
    int32_t LeadTime(int32_t Row) const;
    // Empty unless the scenario's cells cannot be read: then the reason.
    QString ScenarioError(int32_t AScenario) const;

    // A cell as the tab shows it: the id ("-->" before the current
    // situation's, as in the actions grid), nothing for the colour and the
    // preferred route (the tab paints them), the name, "Action", "Combine" or
    // "Sequence", numbers with
    // two decimals and the user's separator, years as TippingYearText.
    QString Text(int32_t Row, int32_t Col) const;
    // A cell for the clipboard, for a spreadsheet to take as a number: the
    // plain id, numbers in full (general format) with the user's separator;
    // the rest as shown.
    QString CopyText(int32_t Row, int32_t Col) const;
    // A cell for the CSV file, not yet quoted: the plain id, numbers in the
    // general format with a point, years as TippingYearCsv, "yes" for an
    // element on the preferred route.
    QString CsvText(int32_t Row, int32_t Col) const;

private:
    struct TColumn {
        TColumnKind Kind;
        int32_t Index; // time column or scenario, -1 otherwise
    };
    QString TypeText(const TElement& E) const;

    const TElementsList& FElements;
    const TScenarioFrame& FScenarios;
    std::vector<TColumn> FColumns;
    int32_t FScenarioCount = 0;
    std::vector<TTippingYear> FYears; // row by row, one per scenario
    std::vector<int32_t> FLeadTimes;  // per row
    std::vector<QString> FScenarioErrors;
};

// The scorecard as CSV (RFC 4180): UTF-8 with a byte-order mark, CRLF after
// every record, a header of the captions, one record per element; no colour
// column, and a preferred route column only where a route is marked and a
// lead time column only where a lead time is set, so that the tables of
// plans without them stay as they were. Fields holding a comma, a quote, a line
// break or blanks at either end are quoted. Fails when a scenario's cells cannot be read.
QByteArray ScorecardCsv(const TElementsList& Elements, const TScenarioFrame& Scenarios);

// Writes ScorecardCsv to FileName as the image export writes its files: the
// file is replaced only when everything has been written, so an error leaves
// neither a partial file nor a changed earlier one. Fails with "Cannot write
// <file>: <reason>".
void SaveScorecardCsv(const QString& FileName, const TElementsList& Elements,
                      const TScenarioFrame& Scenarios);
