#include "map/MapGeometryUnit.h"

#include "base/ErrorUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

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
    // A range that runs backwards, or from a file that holds no number at an
    // end, would put every line at the plot's left edge.
    FRangeProblem =
        FZeroRange ? QString()
                   : TGraphicsSettings::TippingRangeProblem(FMin, ASettings.MaxTippingPointValue());
    FScale = FZeroRange ? 0.0 : double(ASettings.PlotWidth()) / Range;
    FPlotLeft = ASettings.PlotLeft();
    IndexElements();
    ComputeRows();
    ComputeColors();
}

void TMapGeometry::IndexElements() {
    const int32_t N = FList.Count();
    FRows.resize(size_t(N));
    int64_t MinID = 0, MaxID = -1;
    // The one pass over the elements themselves; everything after works on
    // the rows.
    for (int32_t I = 0; I < N; ++I) {
        const TElement* E = FList.Elements(I);
        TRow& Row = FRows[size_t(I)];
        Row.Element = E;
        Row.Tipping = ::ElementTippingValue(*E, FSeriesIndex);
        Row.ID = E->ID();
        Row.SecondID = E->CombinationSecondID();
        Row.PredecessorID = E->PredecessorID();
        Row.OwnColor = E->OwnColor();
        Row.Y = 0;
        Row.Color = clBlack;
        Row.RowState = 0;
        Row.ColorState = 0;
        Row.OnPath = false;
        if (I == 0 || Row.ID < MinID)
            MinID = Row.ID;
        if (I == 0 || Row.ID > MaxID)
            MaxID = Row.ID;
        if (Row.SecondID == -1)
            ++FPrimaryCount;
    }
    const int64_t Range = MaxID - MinID + 1;
    FDenseIds = N > 0 && Range <= 4 * int64_t(N) + 64;
    FIdBase = MinID;
    if (FDenseIds) {
        FDenseIndex.assign(size_t(Range), -1);
        for (int32_t I = N - 1; I >= 0; --I) // the first match wins
            FDenseIndex[size_t(FRows[size_t(I)].ID - FIdBase)] = I;
    } else {
        FSparseIndex.reserve(size_t(N));
        for (int32_t I = 0; I < N; ++I)
            FSparseIndex.emplace(FRows[size_t(I)].ID, I);
    }
    // Child numbers: the earlier elements with the same second id, counted
    // in one pass.
    std::vector<int32_t> DenseCount(FDenseIds ? size_t(Range) : 0, 0);
    std::unordered_map<int32_t, int32_t> OtherCount;
    int32_t ActionCount = 0;
    for (TRow& Row : FRows) {
        const int64_t Slot = int64_t(Row.SecondID) - FIdBase;
        int32_t& Count = Row.SecondID == -1                       ? ActionCount
                         : FDenseIds && Slot >= 0 && Slot < Range ? DenseCount[size_t(Slot)]
                                                                  : OtherCount[Row.SecondID];
        Row.Rank = Count++;
        Row.Predecessor = Row.PredecessorID < 0 ? -1 : FindIndex(Row.PredecessorID);
        Row.Second = FindIndex(Row.SecondID);
    }
    const int32_t CurrentID = FList.CurrentElementID();
    FCurrentIndex = CurrentID == -1 ? -1 : FindIndex(CurrentID);
}

int32_t TMapGeometry::FindIndex(int32_t ID) const {
    if (FDenseIds) {
        const int64_t Slot = int64_t(ID) - FIdBase;
        return Slot >= 0 && Slot < int64_t(FDenseIndex.size()) ? FDenseIndex[size_t(Slot)] : -1;
    }
    const auto It = FSparseIndex.find(ID);
    return It == FSparseIndex.end() ? -1 : It->second;
}

int32_t TMapGeometry::ChildNumberAt(int32_t Index) const {
    // The model counts for the first element that has this id.
    const int32_t First = FindIndex(FRows[size_t(Index)].ID);
    return FRows[size_t(First < 0 ? Index : First)].Rank;
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
    const TRow& Row = FRows[size_t(Index)];
    if (Row.SecondID <= 0 || Row.Second < 0)
        return false;
    return FRows[size_t(Row.Second)].Tipping < Row.Tipping;
}

// Rows follow second elements down to an action. The walk is iterative and
// every row is computed once, so long chains neither recurse deeply nor cost
// more than one visit per element; a walk that meets a missing element or
// comes back to itself ends there.
void TMapGeometry::ComputeRows() {
    enum : uint8_t { Unknown, Resolved, NoAction };
    const int32_t N = Count();
    std::vector<int32_t> Path;
    const int32_t TopRow = ClampPixel(FSettings.TopMargin());
    const int64_t YOffset = FSettings.YOffset();
    for (int32_t Start = 0; Start < N; ++Start) {
        if (FRows[size_t(Start)].RowState != Unknown)
            continue;
        Path.clear();
        int32_t Cur = Start;
        bool Found = false;
        int64_t Base = 0;
        for (;;) {
            TRow& Row = FRows[size_t(Cur)];
            if (Row.RowState == Resolved) {
                Found = true;
                Base = Row.Y;
                break;
            }
            if (Row.RowState == NoAction || Row.OnPath)
                break;
            if (Row.SecondID == -1) {
                Row.Y = ActionY(Cur);
                Row.RowState = Resolved;
                Found = true;
                Base = Row.Y;
                break;
            }
            Row.OnPath = true;
            Path.push_back(Cur);
            Cur = Row.Second;
            if (Cur < 0)
                break;
        }
        for (auto It = Path.rbegin(); It != Path.rend(); ++It) {
            TRow& Row = FRows[size_t(*It)];
            Row.OnPath = false;
            if (!Found) {
                Row.Y = TopRow;
                Row.RowState = NoAction;
                continue;
            }
            if (ExtendsPastSecondAt(*It))
                Base = ClampPixel(Base + (int64_t(ChildNumberAt(*It)) + 1) * YOffset);
            Row.Y = int32_t(Base);
            Row.RowState = Resolved;
        }
    }
}

// The effective colour as the model defines it: the colour of the action at
// the end of the chain of second elements, the own colour of the last element
// before a missing one, and the element's own colour when the chain loops.
void TMapGeometry::ComputeColors() {
    enum : uint8_t { Unknown, Resolved, Looping };
    const int32_t N = Count();
    std::vector<int32_t> Path;
    for (int32_t Start = 0; Start < N; ++Start) {
        if (FRows[size_t(Start)].ColorState != Unknown)
            continue;
        Path.clear();
        int32_t Cur = Start;
        bool Loops = false;
        TColor Color = clBlack;
        for (;;) {
            TRow& Row = FRows[size_t(Cur)];
            if (Row.ColorState == Resolved) {
                Color = Row.Color;
                break;
            }
            if (Row.ColorState == Looping || Row.OnPath) {
                Loops = true;
                break;
            }
            if (Row.SecondID == -1 || Row.Second < 0) {
                Color = Row.OwnColor;
                Row.Color = Color;
                Row.ColorState = Resolved;
                break;
            }
            Row.OnPath = true;
            Path.push_back(Cur);
            Cur = Row.Second;
        }
        for (const int32_t I : Path) {
            TRow& Row = FRows[size_t(I)];
            Row.OnPath = false;
            Row.Color = Loops ? Row.OwnColor : Color;
            Row.ColorState = Loops ? Looping : Resolved;
        }
    }
}

const TElement* TMapGeometry::CurrentElement() const {
    return FCurrentIndex < 0 ? nullptr : FRows[size_t(FCurrentIndex)].Element;
}

double TMapGeometry::CurrentTippingValue() const {
    return FCurrentIndex < 0 ? 0.0 : FRows[size_t(FCurrentIndex)].Tipping;
}

bool TMapGeometry::IsCurrentAt(int32_t Index) const {
    return FCurrentIndex >= 0 && FRows[size_t(Index)].ID == FList.CurrentElementID();
}

double TMapGeometry::StartValueAt(int32_t Index) const {
    const TRow& Row = FRows[size_t(Index)];
    if (Row.SecondID != -1 && Row.Predecessor >= 0)
        return FRows[size_t(Row.Predecessor)].Tipping;
    if (FCurrentIndex < 0 || IsCurrentAt(Index))
        return 0;
    return FRows[size_t(FCurrentIndex)].Tipping;
}

int32_t TMapGeometry::ValueToX(double Value) const {
    if (FZeroRange)
        throw ECorvinalError(QStringLiteral("Floating point division by zero"));
    if (!FRangeProblem.isEmpty())
        throw ECorvinalError(FRangeProblem);
    int32_t N = RoundToPixel((Value - FMin) * FScale);
    if (N < 0)
        N = 0;
    return ClampPixel(FPlotLeft + N);
}

int32_t TMapGeometry::IndexOf(const TElement& AElement) const {
    if (!FPointerIndex) {
        FPointerIndex = std::make_unique<std::unordered_map<const TElement*, int32_t>>();
        FPointerIndex->reserve(FRows.size());
        for (int32_t I = 0; I < Count(); ++I)
            FPointerIndex->emplace(FRows[size_t(I)].Element, I);
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
