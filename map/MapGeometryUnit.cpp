#include "MapGeometryUnit.h"

#include "ErrorUnit.h"
#include "ScenarioFrameUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>

int32_t RoundToPixel(double Value) {
    if (std::isnan(Value))
        return 0;
    if (Value >= MaxPixel)
        return MaxPixel;
    if (Value <= -MaxPixel)
        return -MaxPixel;
    const double Floor = std::floor(Value);
    const double Fraction = Value - Floor;
    int64_t Result = int64_t(Floor);
    if (Fraction > 0.5 || (Fraction == 0.5 && (Result % 2) != 0))
        ++Result;
    return ClampPixel(Result);
}

int32_t ClampPixel(int64_t Value) {
    return int32_t(std::clamp<int64_t>(Value, -MaxPixel, MaxPixel));
}

double ElementTippingValue(const TElement& AElement, int32_t ASeriesIndex) {
    const TElementsList* List = AElement.ElementsList();
    if (List && List->PathwayType() == ptTimeBased)
        return AElement.TippingTimeValue(ASeriesIndex);
    return AElement.TippingPointValue();
}

int32_t XAxisHeight(const TElementsList& AElementsList, const TScenarioFrame& AScenarioFrame) {
    if (AElementsList.PathwayType() == ptTimeBased)
        return 70;
    const int64_t Height = 50 * int64_t(std::max(0, AScenarioFrame.Count())) + 70;
    return int32_t(std::min<int64_t>(Height, std::numeric_limits<int32_t>::max()));
}

// ---------------------------------------------------------------- TMapGeometry

TMapGeometry::TMapGeometry(const TGraphicsSettings& ASettings, const TElementsList& AElementsList,
                           int32_t ASeriesIndex)
    : FSettings(ASettings), FList(AElementsList), FSeriesIndex(ASeriesIndex) {
    FMin = ASettings.MinTippingPointValue();
    const double Range = ASettings.MaxTippingPointValue() - FMin;
    // Floating-point division does not trap, so the empty range is caught
    // here and reported at the first value conversion.
    FZeroRange = ASettings.MaxTippingPointValue() == FMin;
    FScale = FZeroRange ? 0.0 : double(ASettings.PlotWidth()) / Range;
    FPlotLeft = ASettings.PlotLeft();
    IndexElements();
    ComputeRows();
    ComputeColors();
}

void TMapGeometry::IndexElements() {
    const int32_t N = FList.Count();
    FElements.resize(size_t(N));
    FTipping.resize(size_t(N));
    FRank.resize(size_t(N));
    FPredecessor.resize(size_t(N));
    FSecond.resize(size_t(N));
    FFirstIndex.reserve(size_t(N));
    std::unordered_map<int32_t, int32_t> SecondCount;
    for (int32_t I = 0; I < N; ++I) {
        const TElement* E = FList.Elements(I);
        FElements[size_t(I)] = E;
        FTipping[size_t(I)] = ::ElementTippingValue(*E, FSeriesIndex);
        FFirstIndex.emplace(E->ID(), I);
        int32_t& Count = SecondCount[E->CombinationSecondID()];
        FRank[size_t(I)] = Count++;
        if (E->IsPrimaryElement())
            ++FPrimaryCount;
    }
    for (int32_t I = 0; I < N; ++I) {
        const TElement* E = FElements[size_t(I)];
        FPredecessor[size_t(I)] = E->PredecessorID() < 0 ? -1 : FindIndex(E->PredecessorID());
        FSecond[size_t(I)] = FindIndex(E->CombinationSecondID());
    }
    const int32_t CurrentID = FList.CurrentElementID();
    FCurrentIndex = CurrentID == -1 ? -1 : FindIndex(CurrentID);
}

int32_t TMapGeometry::FindIndex(int32_t ID) const {
    const auto It = FFirstIndex.find(ID);
    return It == FFirstIndex.end() ? -1 : It->second;
}

int32_t TMapGeometry::ChildNumberAt(int32_t Index) const {
    // The model counts for the first element that has this id.
    const int32_t First = FindIndex(FElements[size_t(Index)]->ID());
    return FRank[size_t(First < 0 ? Index : First)];
}

int32_t TMapGeometry::ActionY(int32_t Index) const {
    const double PlotHeight = double(FSettings.PlotHeight());
    const int64_t Top = FSettings.TopMargin();
    if (FPrimaryCount <= 1)
        return ClampPixel(Top + RoundToPixel(PlotHeight / 2));
    const double Step = PlotHeight / (FPrimaryCount - 1);
    return ClampPixel(Top + RoundToPixel(ChildNumberAt(Index) * Step));
}

bool TMapGeometry::ExtendsPastSecondAt(int32_t Index) const {
    if (FElements[size_t(Index)]->CombinationSecondID() <= 0)
        return false;
    const int32_t Second = FSecond[size_t(Index)];
    if (Second < 0)
        return false;
    return FTipping[size_t(Second)] < FTipping[size_t(Index)];
}

// Rows follow second elements down to an action. The walk is iterative and
// every row is computed once, so long chains neither recurse deeply nor cost
// more than one visit per element; a walk that meets a missing element or
// comes back to itself ends there.
void TMapGeometry::ComputeRows() {
    enum : uint8_t { Unknown, Resolved, NoAction };
    const int32_t N = Count();
    FY.assign(size_t(N), 0);
    std::vector<uint8_t> State(size_t(N), Unknown);
    std::vector<uint8_t> OnPath(size_t(N), 0);
    std::vector<int32_t> Path;
    const int32_t TopRow = ClampPixel(FSettings.TopMargin());
    const int64_t YOffset = FSettings.YOffset();
    for (int32_t Start = 0; Start < N; ++Start) {
        if (State[size_t(Start)] != Unknown)
            continue;
        Path.clear();
        int32_t Cur = Start;
        bool Found = false;
        int64_t Base = 0;
        for (;;) {
            if (State[size_t(Cur)] == Resolved) {
                Found = true;
                Base = FY[size_t(Cur)];
                break;
            }
            if (State[size_t(Cur)] == NoAction || OnPath[size_t(Cur)])
                break;
            if (FElements[size_t(Cur)]->IsPrimaryElement()) {
                FY[size_t(Cur)] = ActionY(Cur);
                State[size_t(Cur)] = Resolved;
                Found = true;
                Base = FY[size_t(Cur)];
                break;
            }
            OnPath[size_t(Cur)] = 1;
            Path.push_back(Cur);
            Cur = FSecond[size_t(Cur)];
            if (Cur < 0)
                break;
        }
        for (auto It = Path.rbegin(); It != Path.rend(); ++It) {
            const int32_t I = *It;
            OnPath[size_t(I)] = 0;
            if (!Found) {
                FY[size_t(I)] = TopRow;
                State[size_t(I)] = NoAction;
                continue;
            }
            if (ExtendsPastSecondAt(I))
                Base = ClampPixel(Base + (int64_t(ChildNumberAt(I)) + 1) * YOffset);
            FY[size_t(I)] = int32_t(Base);
            State[size_t(I)] = Resolved;
        }
    }
}

// The effective colour as the model defines it: the colour of the action at
// the end of the chain of second elements, the own colour of the last element
// before a missing one, and the element's own colour when the chain loops.
void TMapGeometry::ComputeColors() {
    enum : uint8_t { Unknown, Resolved, Looping };
    const int32_t N = Count();
    FColor.assign(size_t(N), clBlack);
    std::vector<uint8_t> State(size_t(N), Unknown);
    std::vector<uint8_t> OnPath(size_t(N), 0);
    std::vector<int32_t> Path;
    for (int32_t Start = 0; Start < N; ++Start) {
        if (State[size_t(Start)] != Unknown)
            continue;
        Path.clear();
        int32_t Cur = Start;
        bool Loops = false;
        TColor Color = clBlack;
        for (;;) {
            if (State[size_t(Cur)] == Resolved) {
                Color = FColor[size_t(Cur)];
                break;
            }
            if (State[size_t(Cur)] == Looping || OnPath[size_t(Cur)]) {
                Loops = true;
                break;
            }
            const TElement* E = FElements[size_t(Cur)];
            const int32_t Second = FSecond[size_t(Cur)];
            if (E->IsPrimaryElement() || Second < 0) {
                Color = E->OwnColor();
                FColor[size_t(Cur)] = Color;
                State[size_t(Cur)] = Resolved;
                break;
            }
            OnPath[size_t(Cur)] = 1;
            Path.push_back(Cur);
            Cur = Second;
        }
        for (const int32_t I : Path) {
            OnPath[size_t(I)] = 0;
            FColor[size_t(I)] = Loops ? FElements[size_t(I)]->OwnColor() : Color;
            State[size_t(I)] = Loops ? Looping : Resolved;
        }
    }
}

const TElement* TMapGeometry::CurrentElement() const {
    return FCurrentIndex < 0 ? nullptr : FElements[size_t(FCurrentIndex)];
}

double TMapGeometry::CurrentTippingValue() const {
    return FCurrentIndex < 0 ? 0.0 : FTipping[size_t(FCurrentIndex)];
}

bool TMapGeometry::IsCurrentAt(int32_t Index) const {
    return FCurrentIndex >= 0 && FElements[size_t(Index)]->ID() == FList.CurrentElementID();
}

double TMapGeometry::StartValueAt(int32_t Index) const {
    const TElement* E = FElements[size_t(Index)];
    if (!E->IsPrimaryElement()) {
        const int32_t Predecessor = FPredecessor[size_t(Index)];
        if (Predecessor >= 0)
            return FTipping[size_t(Predecessor)];
    }
    if (FCurrentIndex < 0 || IsCurrentAt(Index))
        return 0;
    return FTipping[size_t(FCurrentIndex)];
}

int32_t TMapGeometry::ValueToX(double Value) const {
    if (FZeroRange)
        throw ECorvinalError(QStringLiteral("Floating point division by zero"));
    int32_t N = RoundToPixel((Value - FMin) * FScale);
    if (N < 0)
        N = 0;
    return ClampPixel(FPlotLeft + N);
}

int32_t TMapGeometry::IndexOf(const TElement& AElement) const {
    if (!FPointerIndex) {
        FPointerIndex = std::make_unique<std::unordered_map<const TElement*, int32_t>>();
        FPointerIndex->reserve(FElements.size());
        for (int32_t I = 0; I < Count(); ++I)
            FPointerIndex->emplace(FElements[size_t(I)], I);
    }
    const auto It = FPointerIndex->find(&AElement);
    return It == FPointerIndex->end() ? -1 : It->second;
}

int32_t TMapGeometry::CheckedIndex(const TElement& AElement) const {
    const int32_t Index = IndexOf(AElement);
    if (Index < 0)
        RaiseListIndexError(-1);
    return Index;
}

double TMapGeometry::ElementTippingValue(const TElement& AElement) const {
    return ::ElementTippingValue(AElement, FSeriesIndex);
}

double TMapGeometry::ElementStartValue(const TElement& AElement) const {
    return StartValueAt(CheckedIndex(AElement));
}

int32_t TMapGeometry::ElementToY(const TElement& AElement) const {
    return YAt(CheckedIndex(AElement));
}

bool TMapGeometry::ExtendsPastSecond(const TElement& AElement) const {
    return ExtendsPastSecondAt(CheckedIndex(AElement));
}

TColor TMapGeometry::ElementColor(const TElement& AElement) const {
    return ColorAt(CheckedIndex(AElement));
}

int32_t TMapGeometry::ChildNumber(const TElement& AElement) const {
    return ChildNumberAt(CheckedIndex(AElement));
}
