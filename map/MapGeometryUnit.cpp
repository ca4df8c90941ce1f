#include "map/MapGeometryUnit.h"

#include "base/ErrorUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <queue>

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
                           const TScenarioFrame& AScenarioFrame, int32_t ASeriesIndex)
    : FSettings(ASettings), FList(AElementsList), FSeriesIndex(ASeriesIndex) {
    FAxisBandHeight = XAxisHeight(AElementsList, AScenarioFrame);
    // Kept in 64 bits for the row steps, as pixels for everything else. The
    // axis lies the plot's height (what the bands and margins leave of the
    // picture) below the plot's top.
    FPlotTop64 = int64_t(ASettings.TopMargin()) + ASettings.TitleBandHeight();
    FAxisTop64 = FPlotTop64 + int64_t(ASettings.DrawingAreaHeight()) -
                 ASettings.HeightAroundPlot(FAxisBandHeight);
    FPlotTop = ClampPixel(FPlotTop64);
    FAxisTop = ClampPixel(FAxisTop64);
    // A spacing the settings ask for widens the map's own, never narrows it.
    FRowGap = std::max(RowSpacing, ASettings.RowSpacing());
    FSubRowGap = std::max(SubRowSpacing, ASettings.RowSpacing());
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
    // A range that cannot be drawn places nothing: the first value asked
    // for says why.
    const bool Drawable = !FZeroRange && FRangeProblem.isEmpty();
    if (Drawable)
        FPlotRight = ValueToX(ASettings.MaxTippingPointValue());
    IndexElements();
    ComputeRows();
    ComputeColors();
    // Without a tipping range no line can be drawn, and none can overlap.
    if (Drawable && LinesCollide())
        SeparateRows();
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
        Row.Lane = -1;
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
    const double PlotHeight = double(FAxisTop64 - FPlotTop64);
    const int64_t Top = FPlotTop64;
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
    const int32_t TopRow = FPlotTop;
    const int64_t YOffset = FSettings.RowSpacing() > 0
                                ? std::max(FSettings.YOffset(), FSettings.RowSpacing())
                                : FSettings.YOffset();
    FLanes.reserve(size_t(N));
    for (int32_t Start = 0; Start < N; ++Start) {
        if (FRows[size_t(Start)].RowState != Unknown)
            continue;
        Path.clear();
        int32_t Cur = Start;
        bool Found = false;
        int64_t Base = 0;
        int32_t Lane = -1;
        for (;;) {
            TRow& Row = FRows[size_t(Cur)];
            if (Row.RowState == Resolved) {
                Found = true;
                Base = Row.Y;
                Lane = Row.Lane;
                break;
            }
            if (Row.RowState == NoAction || Row.OnPath)
                break;
            if (Row.SecondID == -1) {
                Row.Y = ActionY(Cur);
                Row.RowState = Resolved;
                Row.Lane = AddLane(int32_t(FLanes.size()), Cur, Row.Y);
                Found = true;
                Base = Row.Y;
                Lane = Row.Lane;
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
            if (ExtendsPastSecondAt(*It)) {
                Base = ClampPixel(Base + (int64_t(ChildNumberAt(*It)) + 1) * YOffset);
                Lane = AddLane(FLanes[size_t(Lane)].Root, *It, int32_t(Base));
            }
            Row.Y = int32_t(Base);
            Row.Lane = Lane;
            Row.RowState = Resolved;
        }
    }
}

int32_t TMapGeometry::AddLane(int32_t Root, int32_t Creator, int32_t Y) {
    FLanes.push_back(TLane{Y, Root, Creator});
    return int32_t(FLanes.size()) - 1;
}

// Whether the plain rows need separating: a row below the lowest one, or the
// lines of two rows closer than the row gap over a stretch where both run.
// The lines of each row are first merged into disjoint runs; a sweep from
// left to right then keeps the runs that the sweep is in, by row, so that a
// run meets at most one other before an overlap is known.
bool TMapGeometry::LinesCollide() const {
    const int32_t Lowest = LowestRow();
    struct TRun {
        int32_t Lane, Y, Left, Right;
    };
    std::vector<TRun> Runs;
    Runs.reserve(FRows.size());
    for (int32_t I = 0; I < Count(); ++I) {
        const TRow& Row = FRows[size_t(I)];
        if (Row.Lane < 0)
            continue;
        if (Row.Y > Lowest)
            return true;
        const TMapLine Line = LineAt(I);
        const int32_t Left = std::min(Line.X1, Line.X2), Right = std::max(Line.X1, Line.X2);
        if (Left < Right)
            Runs.push_back(TRun{Row.Lane, Row.Y, Left, Right});
    }
    std::sort(Runs.begin(), Runs.end(), [](const TRun& A, const TRun& B) {
        return A.Lane != B.Lane ? A.Lane < B.Lane : A.Left < B.Left;
    });
    size_t Merged = 0;
    for (size_t I = 0; I < Runs.size(); ++I) {
        if (Merged > 0 && Runs[Merged - 1].Lane == Runs[I].Lane &&
            Runs[I].Left <= Runs[Merged - 1].Right) {
            Runs[Merged - 1].Right = std::max(Runs[Merged - 1].Right, Runs[I].Right);
            continue;
        }
        Runs[Merged++] = Runs[I];
    }
    Runs.resize(Merged);
    std::sort(Runs.begin(), Runs.end(),
              [](const TRun& A, const TRun& B) { return A.Left < B.Left; });
    std::multimap<int32_t, const TRun*> Open; // by row
    using TEntry = std::pair<int32_t, std::multimap<int32_t, const TRun*>::iterator>;
    auto Later = [](const TEntry& A, const TEntry& B) { return A.first > B.first; };
    std::priority_queue<TEntry, std::vector<TEntry>, decltype(Later)> Ends(Later);
    for (const TRun& Run : Runs) {
        while (!Ends.empty() && Ends.top().first <= Run.Left) {
            Open.erase(Ends.top().second);
            Ends.pop();
        }
        // Every open run ends right of this one's start; one of another row
        // close by overlaps it.
        const int64_t Reach = int64_t(FRowGap) - 1;
        for (auto It = Open.lower_bound(ClampPixel(int64_t(Run.Y) - Reach));
             It != Open.end() && It->first <= int64_t(Run.Y) + Reach; ++It)
            if (It->second->Lane != Run.Lane)
                return true;
        Ends.emplace(Run.Right, Open.emplace(Run.Y, &Run));
    }
    return false;
}

void TMapGeometry::SeparateRows() {
    const double Top = FPlotTop, Lowest = LowestRow();
    const size_t L = FLanes.size();
    if (L == 0 || Lowest < Top)
        return; // no room at all: the plain rows stay
    // The actions' rows from the top, each followed by the sub-rows below it
    // from the top; rows at the same height in the order they were opened.
    // Sorted as (row, opener) keys, sub-rows bucketed by their action first.
    using TKeyed = std::pair<uint64_t, int32_t>;
    auto Keyed = [&](size_t Lane) {
        const uint64_t Y = uint32_t(FLanes[Lane].Y) ^ 0x80000000u;
        return TKeyed{(Y << 32) | uint32_t(FLanes[Lane].Creator), int32_t(Lane)};
    };
    std::vector<TKeyed> Roots;
    for (size_t I = 0; I < L; ++I)
        if (FLanes[I].Root == int32_t(I))
            Roots.push_back(Keyed(I));
    std::sort(Roots.begin(), Roots.end());
    const size_t R = Roots.size();
    std::vector<int32_t> RootRank(L, 0);
    std::vector<size_t> First(R + 1, 0); // each action's sub-rows in Subs
    for (size_t K = 0; K < R; ++K)
        RootRank[size_t(Roots[K].second)] = int32_t(K);
    for (size_t I = 0; I < L; ++I)
        if (FLanes[I].Root != int32_t(I))
            ++First[size_t(RootRank[size_t(FLanes[I].Root)]) + 1];
    for (size_t K = 0; K < R; ++K)
        First[K + 1] += First[K];
    std::vector<TKeyed> Subs(L - R);
    std::vector<size_t> Fill(First.begin(), First.end() - 1);
    for (size_t I = 0; I < L; ++I)
        if (FLanes[I].Root != int32_t(I))
            Subs[Fill[size_t(RootRank[size_t(FLanes[I].Root)])]++] = Keyed(I);
    std::vector<int32_t> Order;
    std::vector<double> Target;
    std::vector<bool> SameAction; // the row before is of the same action
    Order.reserve(L);
    Target.reserve(L);
    SameAction.reserve(L);
    for (size_t K = 0; K < R; ++K) {
        const auto Begin = Subs.begin() + ptrdiff_t(First[K]),
                   End = Subs.begin() + ptrdiff_t(First[K + 1]);
        std::sort(Begin, End);
        const double Y = FLanes[size_t(Roots[K].second)].Y;
        const bool Last = K + 1 == R;
        // The room down to the next action's row; below the last action,
        // down to the lowest row, which the sub-rows may reach.
        const double Room = (Last ? Lowest : double(FLanes[size_t(Roots[K + 1].second)].Y)) - Y;
        const double Shares = double(End - Begin) + (Last ? 0 : 1);
        Order.push_back(Roots[K].second);
        Target.push_back(Y);
        SameAction.push_back(false);
        for (auto It = Begin; It != End; ++It) {
            Order.push_back(It->second);
            SameAction.push_back(true);
            Target.push_back(Y + std::min(FLanes[size_t(It->second)].Y - Y,
                                          Room * double(It - Begin + 1) / Shares));
        }
    }
    // Row i must lie Below[i] (the sum of the gaps above it) below a common
    // origin z that never rises from one row to the next: the closest such
    // rows to the targets are the isotonic fit of target - Below[i] (pooling
    // adjacent violators), held between the plot's top and the lowest row.
    // The gaps are the row gap (RowSpacing), and within an action's rows as
    // much more, up to the sub-row gap (SubRowSpacing), as the height leaves;
    // where it does not leave the row gap, the rows share it evenly.
    const double Height = Lowest - Top;
    size_t Within = 0;
    for (size_t I = 1; I < L; ++I)
        Within += SameAction[I] ? 1 : 0;
    const double Slack = Height - FRowGap * double(L - 1);
    const bool Whole = Slack >= 0;
    const double Extra =
        Within == 0 || !Whole
            ? 0
            : std::floor(std::min<double>(FSubRowGap - FRowGap, Slack / double(Within)));
    std::vector<double> Below(L, 0);
    for (size_t I = 1; I < L; ++I)
        Below[I] = Below[I - 1] + (!Whole          ? Height / double(L - 1)
                                   : SameAction[I] ? FRowGap + Extra
                                                   : FRowGap);
    std::vector<double> Sum;
    std::vector<size_t> Size;
    Sum.reserve(L);
    Size.reserve(L);
    for (size_t I = 0; I < L; ++I) {
        Sum.push_back(Target[I] - Below[I]);
        Size.push_back(1);
        while (Sum.size() > 1 && Sum[Sum.size() - 2] * double(Size.back()) >
                                     Sum.back() * double(Size[Size.size() - 2])) {
            Sum[Sum.size() - 2] += Sum.back();
            Size[Size.size() - 2] += Size.back();
            Sum.pop_back();
            Size.pop_back();
        }
    }
    // (Shared height summed up may pass it by a rounding error.)
    const double Highest = std::max(Top, Lowest - Below[L - 1]);
    size_t I = 0;
    for (size_t B = 0; B < Sum.size(); ++B) {
        const double Z = std::clamp(Sum[B] / double(Size[B]), Top, Highest);
        for (size_t K = 0; K < Size[B]; ++K, ++I) {
            // Whole gaps are added to the rounded origin, so that the rows of
            // a block keep them exactly; shared height is rounded row by row.
            const int64_t Y = Whole ? int64_t(RoundToPixel(Z)) + int64_t(Below[I])
                                    : int64_t(std::floor(Z + Below[I] + 0.5));
            FLanes[size_t(Order[I])].Y = ClampPixel(Y);
        }
    }
    for (TRow& Row : FRows)
        if (Row.Lane >= 0)
            Row.Y = FLanes[size_t(Row.Lane)].Y;
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

bool TMapGeometry::TransferShownAt(int32_t Index) const {
    const int32_t Predecessor = PredecessorIndex(Index);
    return !Element(Index).IsPrimaryElement() && Predecessor >= 0 &&
           Element(Predecessor).VisualEffect() == veShow;
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

int32_t TMapGeometry::PlotRight() const {
    if (FZeroRange)
        throw ECorvinalError(QStringLiteral("Floating point division by zero"));
    return FPlotRight;
}

TMapLine TMapGeometry::LineAt(int32_t Index) const {
    const TRow& Row = FRows[size_t(Index)];
    // Elements that tip no later than the current situation end exactly at
    // their tipping point and get no end bar.
    const bool RunsOn = IsCurrentAt(Index) || CurrentTippingValue() < Row.Tipping;
    const int32_t Overshoot = FSettings.Overshoot();
    const int32_t Right = PlotRight();
    const int32_t XV = ValueToX(Row.Tipping);
    TMapLine Line;
    Line.X1 = std::min(ValueToX(StartValueAt(Index)), Right);
    Line.Y = Row.Y;
    if (XV > Right) {
        Line.X2 = Right;
        Line.End = RunsOn ? leArrowHead : leNone;
        Line.XEnd = Right;
    } else {
        const int32_t RunOn = RunsOn ? Overshoot : 0;
        Line.X2 = ClampPixel(int64_t(XV) + RunOn);
        Line.End = RunOn > 0 ? leEndBar : leNone;
        Line.XEnd = ClampPixel(int64_t(XV) + Overshoot);
    }
    return Line;
}

int32_t TMapGeometry::StationXAt(int32_t Index) const {
    return std::min(ValueToX(StartValueAt(Index)), PlotRight());
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

std::vector<int32_t> TMapGeometry::LaneRows() const {
    std::vector<int32_t> Rows;
    Rows.reserve(FLanes.size());
    for (const TLane& Lane : FLanes)
        Rows.push_back(Lane.Y);
    return Rows;
}
