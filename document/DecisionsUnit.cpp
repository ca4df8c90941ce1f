#include "document/DecisionsUnit.h"

#include "base/ErrorUnit.h"
#include "document/CsvUnit.h"
#include "document/ElementIndexUnit.h"

#include <cmath>
#include <memory>

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
    switch (Year.Kind) {
    case TDecisionYear::dyYear:
        return QString::number(Year.Year);
    case TDecisionYear::dyNow:
        return QStringLiteral("now");
    case TDecisionYear::dyAfter:
        return QStringLiteral(">%1").arg(Year.Year);
    case TDecisionYear::dyNone:
        break;
    }
    return QString();
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

} // namespace

bool DecidedEarlier(const TDecisionYear& A, const TDecisionYear& B) {
    if (Rank(A) != Rank(B))
        return Rank(A) < Rank(B);
    return A.Year < B.Year;
}

TDecisions::TDecisions(const TElementsList& Elements, const TScenarioFrame& Scenarios)
    : FElements(Elements), FScenarios(Scenarios),
      FTimeBased(Elements.PathwayType() == ptTimeBased) {
    const int32_t N = Elements.Count();
    const TElementIndex Index(Elements);
    for (int32_t I = 0; I < N; ++I) {
        const TElement* E = Elements.Elements(I);
        if (E->IsPrimaryElement())
            continue;
        FRows.push_back(I);
        FFrom.push_back(Index.Find(E->PredecessorID()));
        FTo.push_back(Index.Find(E->CombinationSecondID()));
        FLeadTimes.push_back(Index.LeadTime(FTo.back()));
    }
    FColumnCount = FTimeBased ? std::max(0, Elements.TippingTimeValuesCount())
                              : std::max(0, Scenarios.Count());
    FYears.resize(FRows.size() * size_t(FColumnCount));
    for (int32_t Column = 0; Column < FColumnCount; ++Column) {
        if (FTimeBased) {
            for (int32_t Row = 0; Row < RowCount(); ++Row)
                if (const TElement* From = FFrom[size_t(Row)])
                    FYears[size_t(Row) * size_t(FColumnCount) + size_t(Column)] =
                        DecideBy(TimeValueYear(From->TippingTimeValue(Column)), LeadTime(Row),
                                 Scenarios.BeginYear());
            continue;
        }
        // Each scenario is read once; one whose cells cannot be read gives
        // no years (its map axis reports why).
        try {
            const TScenarioTimeline Timeline(Scenarios, Column);
            const int32_t FirstYear =
                Timeline.Points().empty() ? Scenarios.BeginYear() : Timeline.Points().front().Year;
            for (int32_t Row = 0; Row < RowCount(); ++Row)
                if (const TElement* From = FFrom[size_t(Row)])
                    FYears[size_t(Row) * size_t(FColumnCount) + size_t(Column)] = DecideBy(
                        Timeline.TippingYear(From->TippingPointValue()), LeadTime(Row), FirstYear);
        } catch (const ECorvinalError&) {
        }
    }
}

const TElement& TDecisions::Element(int32_t Row) const {
    return *FElements.Elements(ListIndex(Row));
}

const TElement* TDecisions::From(int32_t Row) const {
    return FFrom[size_t(Row)];
}

const TElement* TDecisions::To(int32_t Row) const {
    return FTo[size_t(Row)];
}

int32_t TDecisions::LeadTime(int32_t Row) const {
    return FLeadTimes[size_t(Row)];
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
    std::unique_ptr<TScenarioTimeline> Timeline;
    int32_t FirstYear = Scenarios.BeginYear();
    if (!TimeBased) {
        try {
            Timeline = std::make_unique<TScenarioTimeline>(Scenarios, Column);
        } catch (const ECorvinalError&) {
            return Points;
        }
        if (!Timeline->Points().empty())
            FirstYear = Timeline->Points().front().Year;
    }
    const int32_t N = Elements.Count();
    const TElementIndex Index(Elements);
    for (int32_t I = 0; I < N; ++I) {
        const TElement* E = Elements.Elements(I);
        if (E->IsPrimaryElement())
            continue;
        const int32_t From = Index.IndexOf(E->PredecessorID());
        if (From < 0)
            continue;
        const TElement* Predecessor = Elements.Elements(From);
        const TElement* To = Index.Find(E->CombinationSecondID());
        const TTippingYear Tips = TimeBased
                                      ? TimeValueYear(Predecessor->TippingTimeValue(Column))
                                      : Timeline->TippingYear(Predecessor->TippingPointValue());
        const TDecisionYear Year = DecideBy(Tips, Index.LeadTime(To), FirstYear);
        if (Year.Kind != TDecisionYear::dyYear && Year.Kind != TDecisionYear::dyNow)
            continue;
        const bool Now = Year.Kind == TDecisionYear::dyNow;
        const double Value = Now         ? 0
                             : TimeBased ? double(Year.Year)
                                         : ScenarioValueInYear(*Timeline, Year.Year);
        const QString Action = To ? To->Caption() : E->Caption();
        const QString Text = Now ? QStringLiteral("Decide on %1 now (%2)").arg(Action, Name)
                                 : QStringLiteral("Decide on %1 by %2 (%3)")
                                       .arg(Action, QString::number(Year.Year), Name);
        Points.push_back(TMapDecisionPoint{From, Value, Now, Text});
    }
    return Points;
}
