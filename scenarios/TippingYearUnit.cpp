#include "scenarios/TippingYearUnit.h"

#include "scenarios/ScenarioFrameUnit.h"

#include <algorithm>
#include <cmath>

namespace {

// The scenario axes step through the years by a fixed decade, whatever the
// table's time step; the years here must be the ones the axes show.
constexpr int64_t AxisYearStep = 10;

// Where Value lies between A and B, from 0 at A to 1 at B; B differs from A.
double FractionBetween(double A, double B, double Value) {
    double Fraction = (Value - A) / (B - A);
    // Differences of values near the largest double overflow; halved they
    // do not, and the quotient stays the same.
    if (!std::isfinite(Fraction))
        Fraction = (Value / 2 - A / 2) / (B / 2 - A / 2);
    if (!(Fraction >= 0))
        return 0;
    return std::min(Fraction, 1.0);
}

} // namespace

TScenarioTimeline::TScenarioTimeline(const TScenarioFrame& Scenarios, int32_t AScenario) {
    for (int64_t Year = Scenarios.BeginYear(); Year <= Scenarios.EndYear(); Year += AxisYearStep) {
        if (!Scenarios.ScenarioValueDefined(int(Year), AScenario))
            continue;
        FPoints.push_back({int32_t(Year), Scenarios.ScenarioValue(int(Year), AScenario)});
    }
}

TTippingYear TScenarioTimeline::TippingYear(double Value) const {
    if (FPoints.size() < 2 || std::isnan(Value))
        return {TTippingYear::tyNone, 0};
    for (size_t K = 0; K + 1 < FPoints.size(); ++K) {
        const TPoint& P = FPoints[K];
        const TPoint& Q = FPoints[K + 1];
        if (Value < std::min(P.Value, Q.Value) || Value > std::max(P.Value, Q.Value))
            continue;
        if (P.Value == Q.Value)
            return {TTippingYear::tyYear, P.Year};
        const double Offset = FractionBetween(P.Value, Q.Value, Value) * double(Q.Year - P.Year);
        // Values such as 0.3 are not exact in binary, and the quotient of two
        // of them can fall a hair short of a whole year that the decimal
        // values reach exactly; that hair must not cost a whole year.
        const int64_t Whole = int64_t(std::floor(Offset + 1e-9));
        return {TTippingYear::tyYear, int32_t(std::min<int64_t>(P.Year + Whole, Q.Year))};
    }
    const double First = FPoints.front().Value;
    const bool Rising = FPoints.back().Value >= First;
    const bool Behind = Rising ? Value < First : Value > First;
    return Behind ? TTippingYear{TTippingYear::tyBefore, FPoints.front().Year}
                  : TTippingYear{TTippingYear::tyAfter, FPoints.back().Year};
}

double ScenarioValueInYear(const TScenarioTimeline& Timeline, int32_t Year) {
    const auto& Points = Timeline.Points();
    if (Points.empty())
        return 0;
    if (Year <= Points.front().Year)
        return Points.front().Value;
    for (size_t K = 0; K + 1 < Points.size(); ++K) {
        const auto& P = Points[K];
        const auto& Q = Points[K + 1];
        if (Year <= Q.Year)
            return P.Value + (Q.Value - P.Value) * double(Year - P.Year) / double(Q.Year - P.Year);
    }
    return Points.back().Value;
}

TTippingYear ScenarioTippingYear(const TScenarioFrame& Scenarios, int32_t AScenario, double Value) {
    return TScenarioTimeline(Scenarios, AScenario).TippingYear(Value);
}

QString TippingYearText(const TTippingYear& Year) {
    switch (Year.Kind) {
    case TTippingYear::tyYear:
        return QString::number(Year.Year);
    case TTippingYear::tyBefore:
        return QStringLiteral("\u2264 %1").arg(Year.Year);
    case TTippingYear::tyAfter:
        return QStringLiteral("> %1").arg(Year.Year);
    case TTippingYear::tyNone:
        break;
    }
    return QStringLiteral("\u2013");
}

QString TippingYearCsv(const TTippingYear& Year) {
    switch (Year.Kind) {
    case TTippingYear::tyYear:
        return QString::number(Year.Year);
    case TTippingYear::tyBefore:
        return QStringLiteral("<=%1").arg(Year.Year);
    case TTippingYear::tyAfter:
        return QStringLiteral(">%1").arg(Year.Year);
    case TTippingYear::tyNone:
        break;
    }
    return QString();
}
