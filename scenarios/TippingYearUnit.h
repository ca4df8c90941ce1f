#pragma once

#include <QString>
#include <cstdint>
#include <vector>

class TScenarioFrame;

// The year in which a scenario reaches a value of the driving condition. When
// no pair of defined years brackets the value, it is reached before the first
// of them (tyBefore, Year the first defined year) or after the last one
// (tyAfter, Year the last defined year); a scenario of fewer than two defined
// years gives no answer (tyNone, Year 0).
struct TTippingYear {
    enum TKind : uint8_t { tyYear, tyBefore, tyAfter, tyNone };
    TKind Kind = tyNone;
    int32_t Year = 0;

    bool operator==(const TTippingYear& Other) const {
        return Kind == Other.Kind && Year == Other.Year;
    }
    bool operator!=(const TTippingYear& Other) const { return !(*this == Other); }
};

// One scenario as its time axis on the map shows it: the decade years from
// BeginYear to EndYear for which it defines a value, each with that value, in
// year order. Reading the cells is the costly part, so a table that asks for
// many values reads each scenario once through this.
class TScenarioTimeline {
public:
    struct TPoint {
        int32_t Year;
        double Value;
    };

    // Fails with "Cell does not contain a float value" on a defined cell that
    // holds no number, as the map's axis does.
    TScenarioTimeline(const TScenarioFrame& Scenarios, int32_t AScenario);

    const std::vector<TPoint>& Points() const { return FPoints; }

    // The first pair of consecutive defined years whose values bracket Value
    // (ends included) gives the year by linear interpolation, rounded down.
    // Otherwise the value lies behind the first value in the direction the
    // scenario takes from its first to its last year (a flat one counts as
    // rising) or ahead of it. NaN is reached never: tyNone.
    TTippingYear TippingYear(double Value) const;

private:
    std::vector<TPoint> FPoints;
};

// The other way round from TippingYear: the value a scenario reaches in
// Year, on the straight line between the two years around it that it
// defines (the value of the nearest end outside them); 0 for a scenario
// without years.
double ScenarioValueInYear(const TScenarioTimeline& Timeline, int32_t Year);

// The year in which scenario AScenario reaches Value (TScenarioTimeline).
TTippingYear ScenarioTippingYear(const TScenarioFrame& Scenarios, int32_t AScenario, double Value);

// How a year reads in tables: "2047", "≤ 2010", "> 2100" and "–".
QString TippingYearText(const TTippingYear& Year);
// The same for files meant for other programs, in plain ASCII: "2047",
// "<=2010", ">2100" and an empty text.
QString TippingYearCsv(const TTippingYear& Year);
