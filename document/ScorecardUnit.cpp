#include "document/ScorecardUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "document/CsvUnit.h"
#include "document/ElementIndexUnit.h"

#include <algorithm>

bool HasTippingYears(const TElementsList& Elements) {
    return Elements.PathwayType() == ptConditionBased;
}

TTippingYear ElementTippingYear(const TElement& Element, const TScenarioFrame& Scenarios,
                                int32_t AScenario) {
    const TElementsList* List = Element.ElementsList();
    if (List && !HasTippingYears(*List))
        return {};
    return ScenarioTippingYear(Scenarios, AScenario, Element.TippingPointValue());
}

// ---------------------------------------------------------------- TScorecard

TScorecard::TScorecard(const TElementsList& Elements, const TScenarioFrame& Scenarios)
    : FElements(Elements), FScenarios(Scenarios) {
    for (const TColumnKind Kind : {ckID, ckColor, ckName, ckType, ckPreferred})
        FColumns.push_back({Kind, -1});
    const bool ConditionBased = HasTippingYears(Elements);
    if (ConditionBased)
        FColumns.push_back({ckTippingValue, -1});
    else
        for (int32_t I = 0; I < Elements.TippingTimeValuesCount(); ++I)
            FColumns.push_back({ckTimeValue, I});
    for (const TColumnKind Kind : {ckInitialCosts, ckTransferCosts, ckRecurrentCosts, ckLeadTime})
        FColumns.push_back({Kind, -1});
    // A pathway element's lead time is its action's, found through the
    // chain of elements it changes to: looked up by id through one index,
    // not by the list's scans from the front, so that the table and its CSV
    // stay linear in the plan's size.
    const int32_t N = Elements.Count();
    const TElementIndex Index(Elements);
    FLeadTimes.reserve(size_t(std::max(0, N)));
    for (int32_t Row = 0; Row < N; ++Row)
        FLeadTimes.push_back(Index.LeadTime(Elements.Elements(Row)));
    if (!ConditionBased)
        return;

    FScenarioCount = std::max(0, Scenarios.Count());
    for (int32_t S = 0; S < FScenarioCount; ++S)
        FColumns.push_back({ckTippingYear, S});
    FScenarioErrors.resize(size_t(FScenarioCount));
    FYears.resize(size_t(N) * size_t(FScenarioCount));
    for (int32_t S = 0; S < FScenarioCount; ++S) {
        try {
            const TScenarioTimeline Timeline(Scenarios, S);
            for (int32_t Row = 0; Row < N; ++Row)
                FYears[size_t(Row) * size_t(FScenarioCount) + size_t(S)] =
                    Timeline.TippingYear(Elements.Elements(Row)->TippingPointValue());
        } catch (const ECorvinalError& E) {
            FScenarioErrors[size_t(S)] = E.Message();
        }
    }
}

int32_t TScorecard::TimeColumn(int32_t Col) const {
    const TColumn& C = FColumns[size_t(Col)];
    return C.Kind == ckTimeValue ? C.Index : -1;
}

int32_t TScorecard::Scenario(int32_t Col) const {
    const TColumn& C = FColumns[size_t(Col)];
    return C.Kind == ckTippingYear ? C.Index : -1;
}

int32_t TScorecard::ColumnOf(TColumnKind Kind, int32_t Index) const {
    for (int32_t Col = 0; Col < ColumnCount(); ++Col)
        if (FColumns[size_t(Col)].Kind == Kind &&
            (Index < 0 || FColumns[size_t(Col)].Index == Index))
            return Col;
    return -1;
}

QString TScorecard::Caption(int32_t Col) const {
    const TColumn& C = FColumns[size_t(Col)];
    switch (C.Kind) {
    case ckID:
        return QStringLiteral("ID");
    case ckColor:
        return QStringLiteral("Color");
    case ckName:
        return QStringLiteral("Action or Pathway");
    case ckType:
        return QStringLiteral("Type");
    case ckPreferred:
        return QStringLiteral("Preferred");
    case ckLeadTime:
        return QStringLiteral("Lead Time");
    case ckTippingValue:
        return QStringLiteral("Condition tipping point");
    case ckTimeValue:
        return FElements.TippingTimeColumnCaption(C.Index);
    case ckInitialCosts:
        return QStringLiteral("Initial Costs");
    case ckTransferCosts:
        return QStringLiteral("Transfer Costs");
    case ckRecurrentCosts:
        return QStringLiteral("Recurrent Costs");
    case ckTippingYear:
        return FScenarios.ScenarioCaption(C.Index);
    }
    return QString();
}

bool TScorecard::IsNumberColumn(int32_t Col) const {
    switch (FColumns[size_t(Col)].Kind) {
    case ckTippingValue:
    case ckTimeValue:
    case ckInitialCosts:
    case ckTransferCosts:
    case ckRecurrentCosts:
        return true;
    default:
        return false;
    }
}

double TScorecard::Number(int32_t Row, int32_t Col) const {
    const TElement& E = Element(Row);
    const TColumn& C = FColumns[size_t(Col)];
    switch (C.Kind) {
    case ckTippingValue:
        return E.TippingPointValue();
    case ckTimeValue:
        return E.TippingTimeValue(C.Index);
    case ckInitialCosts:
        return E.InitialCosts();
    case ckTransferCosts:
        return E.TransferCosts();
    case ckRecurrentCosts:
        return E.RecurrentCosts();
    default:
        return 0;
    }
}

TTippingYear TScorecard::TippingYear(int32_t Row, int32_t AScenario) const {
    // A row the list gained after the years were computed has none yet.
    const size_t Index = size_t(Row) * size_t(FScenarioCount) + size_t(AScenario);
    if (AScenario < 0 || AScenario >= FScenarioCount || Row < 0 || Index >= FYears.size())
        return {};
    return FYears[Index];
}

int32_t TScorecard::LeadTime(int32_t Row) const {
    // A row the list gained after the scorecard was built finds its own.
    if (Row >= 0 && size_t(Row) < FLeadTimes.size())
        return FLeadTimes[size_t(Row)];
    return Element(Row).EffectiveLeadTime();
}

QString TScorecard::ScenarioError(int32_t AScenario) const {
    if (AScenario < 0 || AScenario >= FScenarioCount)
        return QString();
    return FScenarioErrors[size_t(AScenario)];
}

// The words of the actions grid's type cell, with a word for actions, whose
// cell the grid leaves empty.
QString TScorecard::TypeText(const TElement& E) const {
    switch (E.CombinationType()) {
    case ctCombine:
        return QStringLiteral("Combine");
    case ctSequence:
        return QStringLiteral("Sequence");
    case ctNone:
        break;
    }
    return QStringLiteral("Action");
}

QString TScorecard::Text(int32_t Row, int32_t Col) const {
    const TElement& E = Element(Row);
    switch (Kind(Col)) {
    case ckID: {
        const QString Id = QString::number(E.ID());
        const int32_t CurrentID = FElements.CurrentElementID();
        return CurrentID != -1 && E.ID() == CurrentID ? QStringLiteral("-->") + Id : Id;
    }
    case ckColor:
    case ckPreferred:
        return QString();
    case ckName:
        return E.Caption();
    case ckType:
        return TypeText(E);
    case ckTippingYear:
        return TippingYearText(TippingYear(Row, Scenario(Col)));
    case ckLeadTime:
        return QString::number(LeadTime(Row));
    default:
        return FormatFloat2(Number(Row, Col));
    }
}

QString TScorecard::CopyText(int32_t Row, int32_t Col) const {
    if (Kind(Col) == ckID || Kind(Col) == ckPreferred || Kind(Col) == ckLeadTime)
        return CsvText(Row, Col);
    if (IsNumberColumn(Col))
        return FloatToStrGeneral(Number(Row, Col));
    return Text(Row, Col);
}

QString TScorecard::CsvText(int32_t Row, int32_t Col) const {
    switch (Kind(Col)) {
    case ckID:
        return QString::number(Element(Row).ID());
    case ckTippingYear:
        return TippingYearCsv(TippingYear(Row, Scenario(Col)));
    case ckPreferred:
        return Element(Row).Preferred() ? QStringLiteral("yes") : QString();
    case ckLeadTime:
        return QString::number(LeadTime(Row));
    default:
        break;
    }
    if (IsNumberColumn(Col))
        return FloatToStrGeneral(Number(Row, Col), QLatin1Char('.'));
    return Text(Row, Col);
}

// ---------------------------------------------------------------- CSV

QByteArray ScorecardCsv(const TElementsList& Elements, const TScenarioFrame& Scenarios) {
    const TScorecard Card(Elements, Scenarios);
    for (int32_t Col = 0; Col < Card.ColumnCount(); ++Col) {
        const int32_t S = Card.Scenario(Col);
        if (S >= 0 && !Card.ScenarioError(S).isEmpty())
            throw ECorvinalError(
                QStringLiteral("The tipping years under scenario \"%1\" cannot be computed: %2")
                    .arg(Card.Caption(Col), Card.ScenarioError(S)));
    }
    bool RouteMarked = false;
    bool LeadTimes = false;
    for (int32_t Row = 0; Row < Card.RowCount(); ++Row) {
        RouteMarked = RouteMarked || Card.Element(Row).Preferred();
        LeadTimes = LeadTimes || Card.Element(Row).LeadTime() != 0;
    }
    std::vector<int32_t> Columns;
    for (int32_t Col = 0; Col < Card.ColumnCount(); ++Col) {
        const TScorecard::TColumnKind Kind = Card.Kind(Col);
        if (Kind != TScorecard::ckColor && (Kind != TScorecard::ckPreferred || RouteMarked) &&
            (Kind != TScorecard::ckLeadTime || LeadTimes))
            Columns.push_back(Col);
    }

    TCsvWriter Csv;
    QStringList Fields;
    for (int32_t Col : Columns)
        Fields << Card.Caption(Col);
    Csv.Record(Fields);
    for (int32_t Row = 0; Row < Card.RowCount(); ++Row) {
        Fields.clear();
        for (int32_t Col : Columns)
            Fields << Card.CsvText(Row, Col);
        Csv.Record(Fields);
    }
    return Csv.Bytes();
}

void SaveScorecardCsv(const QString& FileName, const TElementsList& Elements,
                      const TScenarioFrame& Scenarios) {
    // Everything that can fail before the file is touched, first.
    SaveCsvFile(FileName, ScorecardCsv(Elements, Scenarios));
}
