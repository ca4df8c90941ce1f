#include "document/DecisionsUnit.h"

#include "base/ErrorUnit.h"
#include "document/CsvUnit.h"
#include "document/ElementIndexUnit.h"

#include <cmath>
#include <optional>

TDecisionYear DecideBy(const TTippingYear& PredecessorTips, int32_t LeadTime, int32_t FirstYear) {
    switch (PredecessorTips.Kind) {
    case TTippingYear::tyNone:
        return {};
    case TTippingYear::tyBefore:
        return {TDecisionYear::dyNow, 0};
    case TTippingYear::tyAfter:
        return {TDecisionYear::dyAfter, PredecessorTips.Year - LeadTime};
    case TTippingYear::tyYear:
        break;
    }
    const int32_t Year = PredecessorTips.Year - LeadTime;
    if (Year <= FirstYear)
        return {TDecisionYear::dyNow, 0};
    return {TDecisionYear::dyYear, Year};
}

QString DecisionYearText(const TDecisionYear& Year) {
    switch (Year.Kind) {
    case TDecisionYear::dyYear:
        return QString::number(Year.Year);
    case TDecisionYear::dyNow:
        return QStringLiteral("now");
    case TDecisionYear::dyAfter:
        return QStringLiteral("> %1").arg(Year.Year);
    case TDecisionYear::dyNone:
        break;
    }
    return QStringLiteral("\u2013");
}

QString DecisionYearCsv(const TDecisionYear& Year) {
    // The file differs from the table only where the table writes for the
    // eye: "> 2080" with a space, a dash for no year. Years and "now" read
    // the same in both.
    switch (Year.Kind) {
    case TDecisionYear::dyAfter:
        return QStringLiteral(">%1").arg(Year.Year);
    case TDecisionYear::dyNone:
        return QString();
    case TDecisionYear::dyYear:
    case TDecisionYear::dyNow:
        break;
    }
    return DecisionYearText(Year);
}

namespace {

// The year of a time value, as a decision reads it: the year it falls in.
// A value that is no finite number, or lies beyond the years a calendar
// has, gives no year.
TTippingYear TimeValueYear(double Value) {
    if (!std::isfinite(Value) || std::fabs(Value) > 1e9)
        return {};
    return {TTippingYear::tyYear, int32_t(std::floor(Value))};
}

// Orders kinds for the earliest year: now, years, after the last year, none.
int Rank(const TDecisionYear& Year) {
    switch (Year.Kind) {
    case TDecisionYear::dyNow:
        return 0;
    case TDecisionYear::dyYear:
        return 1;
    case TDecisionYear::dyAfter:
        return 2;
    case TDecisionYear::dyNone:
        break;
    }
    return 3;
}

// The pathway elements of the list in list order, with what their
// decisions rest on, each looked up once through one index.
std::vector<TDecisionRow> DecisionRows(const TElementsList& Elements) {
    const TElementIndex Index(Elements);
    std::vector<TDecisionRow> Rows;
    // Reserved at once: grown row by row, they made the whole table a tenth
    // slower to work out.
    Rows.reserve(size_t(std::max(0, Elements.Count() - Elements.PrimaryCount())));
    for (int32_t I = 0; I < Elements.Count(); ++I) {
        const TElement* E = Elements.Elements(I);
        if (E->IsPrimaryElement())
            continue;
        const int32_t From = Index.IndexOf(E->PredecessorID());
        const TElement* To = Index.Find(E->CombinationSecondID());
        Rows.push_back(
            {I, From, From < 0 ? nullptr : Elements.Elements(From), To, Index.LeadTime(To)});
    }
    return Rows;
}

// One column of decide-by years: a scenario of a condition-based pathway,
// read once, or a time column of a time-based one. The decisions table and
// the map's decision points both work their years out here, so that they
// cannot disagree. A scenario whose cells cannot be read fails as
// TScenarioTimeline does.
class TDecisionColumn {
public:
    TDecisionColumn(const TElementsList& Elements, const TScenarioFrame& Scenarios, int32_t Column)
        : FTimeBased(Elements.PathwayType() == ptTimeBased), FColumn(Column),
          FFirstYear(Scenarios.BeginYear()) {
        if (FTimeBased)
            return;
        FTimeline.emplace(Scenarios, Column);
        // "Now" ends with the first year the scenario defines; in a
        // time-based pathway, with the table's first year.
        if (!FTimeline->Points().empty())
            FFirstYear = FTimeline->Points().front().Year;
    }

    // The year by which to decide on what follows Predecessor, whose
    // successor takes LeadTime years.
    TDecisionYear Year(const TElement& Predecessor, int32_t LeadTime) const {
        const TTippingYear Tips = FTimeBased
                                      ? TimeValueYear(Predecessor.TippingTimeValue(FColumn))
                                      : FTimeline->TippingYear(Predecessor.TippingPointValue());
        return DecideBy(Tips, LeadTime, FFirstYear);
    }

    // Where a year lies along the predecessor's line: the value the scenario
    // reaches then; in a time-based pathway the year itself.
    double ValueInYear(int32_t Year) const {
        return FTimeBased ? double(Year) : ScenarioValueInYear(*FTimeline, Year);
    }

private:
    bool FTimeBased;
    int32_t FColumn;
    int32_t FFirstYear;
    std::optional<TScenarioTimeline> FTimeline;
};

} // namespace

bool DecidedEarlier(const TDecisionYear& A, const TDecisionYear& B) {
    if (Rank(A) != Rank(B))
        return Rank(A) < Rank(B);
    return A.Year < B.Year;
}

TDecisions::TDecisions(const TElementsList& Elements, const TScenarioFrame& Scenarios)
    : FElements(Elements), FScenarios(Scenarios),
      FTimeBased(Elements.PathwayType() == ptTimeBased) {
    FRows = DecisionRows(Elements);
    FColumnCount = FTimeBased ? std::max(0, Elements.TippingTimeValuesCount())
                              : std::max(0, Scenarios.Count());
    FYears.resize(FRows.size() * size_t(FColumnCount));
    for (int32_t Column = 0; Column < FColumnCount; ++Column) {
        // A scenario whose cells cannot be read gives no years (its map axis
        // reports why).
        try {
            const TDecisionColumn Years(Elements, Scenarios, Column);
            for (int32_t Row = 0; Row < RowCount(); ++Row)
                if (const TElement* From = this->From(Row))
                    FYears[size_t(Row) * size_t(FColumnCount) + size_t(Column)] =
                        Years.Year(*From, LeadTime(Row));
        } catch (const ECorvinalError&) {
        }
    }
}

const TElement& TDecisions::Element(int32_t Row) const {
    return *FElements.Elements(ListIndex(Row));
}

const TElement* TDecisions::From(int32_t Row) const {
    return FRows[size_t(Row)].From;
}

const TElement* TDecisions::To(int32_t Row) const {
    return FRows[size_t(Row)].To;
}

int32_t TDecisions::LeadTime(int32_t Row) const {
    return FRows[size_t(Row)].LeadTime;
}

QString TDecisions::YearCaption(int32_t Column) const {
    return FTimeBased ? FElements.TippingTimeColumnCaption(Column)
                      : FScenarios.ScenarioCaption(Column);
}

TDecisionYear TDecisions::Year(int32_t Row, int32_t Column) const {
    if (Row < 0 || Row >= RowCount() || Column < 0 || Column >= FColumnCount)
        return {};
    return FYears[size_t(Row) * size_t(FColumnCount) + size_t(Column)];
}

TDecisionYear TDecisions::Earliest(int32_t Row) const {
    TDecisionYear Best;
    for (int32_t Column = 0; Column < FColumnCount; ++Column) {
        const TDecisionYear Year = this->Year(Row, Column);
        if (DecidedEarlier(Year, Best))
            Best = Year;
    }
    return Best;
}

bool TDecisions::DueNow(int32_t Row) const {
    return Earliest(Row).Kind == TDecisionYear::dyNow;
}

QString TDecisions::TypeText(int32_t Row) const {
    return Element(Row).CombinationType() == ctCombine ? QStringLiteral("Combine")
                                                       : QStringLiteral("Sequence");
}

QByteArray DecisionsCsv(const TElementsList& Elements, const TScenarioFrame& Scenarios) {
    const TDecisions Table(Elements, Scenarios);
    TCsvWriter Csv;
    QStringList Header{QStringLiteral("ID"), QStringLiteral("From"), QStringLiteral("To"),
                       QStringLiteral("Type"), QStringLiteral("Lead Time")};
    for (int32_t Column = 0; Column < Table.YearColumnCount(); ++Column)
        Header << Table.YearCaption(Column);
    Csv.Record(Header);
    for (int32_t Row = 0; Row < Table.RowCount(); ++Row) {
        const TElement* From = Table.From(Row);
        const TElement* To = Table.To(Row);
        QStringList Fields{QString::number(Table.Element(Row).ID()),
                           From ? From->Caption() : QString(), To ? To->Caption() : QString(),
                           Table.TypeText(Row), QString::number(Table.LeadTime(Row))};
        for (int32_t Column = 0; Column < Table.YearColumnCount(); ++Column)
            Fields << DecisionYearCsv(Table.Year(Row, Column));
        Csv.Record(Fields);
    }
    return Csv.Bytes();
}

void SaveDecisionsCsv(const QString& FileName, const TElementsList& Elements,
                      const TScenarioFrame& Scenarios) {
    SaveCsvFile(FileName, DecisionsCsv(Elements, Scenarios));
}

std::vector<TMapDecisionPoint> MapDecisionPoints(const TElementsList& Elements,
                                                 const TScenarioFrame& Scenarios, int32_t Choice,
                                                 int32_t ASeriesIndex) {
    std::vector<TMapDecisionPoint> Points;
    const bool TimeBased = Elements.PathwayType() == ptTimeBased;
    if (Choice <= 0)
        return Points;
    const int32_t Column = TimeBased ? ASeriesIndex : Choice - 1;
    const int32_t Columns = TimeBased ? Elements.TippingTimeValuesCount() : Scenarios.Count();
    if (Column < 0 || Column >= Columns)
        return Points;
    const QString Name =
        TimeBased ? Elements.TippingTimeColumnCaption(Column) : Scenarios.ScenarioCaption(Column);
    // A scenario whose cells cannot be read marks nothing; its axis says why.
    std::optional<TDecisionColumn> Years;
    try {
        Years.emplace(Elements, Scenarios, Column);
    } catch (const ECorvinalError&) {
        return Points;
    }
    for (const TDecisionRow& Row : DecisionRows(Elements)) {
        if (!Row.From)
            continue;
        const TDecisionYear Year = Years->Year(*Row.From, Row.LeadTime);
        if (Year.Kind != TDecisionYear::dyYear && Year.Kind != TDecisionYear::dyNow)
            continue;
        const bool Now = Year.Kind == TDecisionYear::dyNow;
        const double Value = Now ? 0 : Years->ValueInYear(Year.Year);
        const QString Action = Row.To ? Row.To->Caption() : Elements.Elements(Row.Index)->Caption();
        const QString Text = Now ? QStringLiteral("Decide on %1 now (%2)").arg(Action, Name)
                                 : QStringLiteral("Decide on %1 by %2 (%3)")
                                       .arg(Action, QString::number(Year.Year), Name);
        Points.push_back(TMapDecisionPoint{Row.FromIndex, Value, Now, Text});
    }
    return Points;
}
