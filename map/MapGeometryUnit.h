#pragma once

#include "map/GraphicsSettingsUnit.h"
#include "model/ElementsUnit.h"

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class TScenarioFrame;

// Every pixel coordinate the map computes is kept within +-MaxPixel: far
// beyond any drawable bitmap, and small enough that sums and products of two
// such values never overflow.
constexpr int32_t MaxPixel = int32_t(1) << 29;

// The nearest whole number, ties to even (2.5 gives 2, 3.5 gives 4). NaN gives
// 0; everything is kept within +-MaxPixel, infinities included.
int32_t RoundToPixel(double Value);
int32_t ClampPixel(int64_t Value);

// Where an element's line ends: its tipping point in a condition-based
// pathway, its tipping time of column ASeriesIndex in a time-based one (0 for
// a column it does not hold).
double ElementTippingValue(const TElement& AElement, int32_t ASeriesIndex);

// The height of the axis band: one 50-pixel strip per scenario below 70 pixels
// in a condition-based pathway, 70 in a time-based one.
int32_t XAxisHeight(const TElementsList& AElementsList, const TScenarioFrame& AScenarioFrame);

// A line whose tipping point lies beyond the plot's right edge ends there with
// an arrowhead instead of its end bar: its base stands on the edge,
// ArrowHalfHeight pixels above and below the row, its tip ArrowLength pixels
// to the right.
constexpr int32_t ArrowLength = 10;
constexpr int32_t ArrowHalfHeight = 6;

// Rows this far apart hold lines that share no pixel: the pen is 5 wide.
constexpr int32_t RowSpacing = 5;
// The rows of one action (its own and the sub-rows below it) share its
// colour; lines of one colour read as two only with white between them.
constexpr int32_t SubRowSpacing = 8;

// The lowest row lies this far above the axis line (AxisTop + 20), so that
// the stations and end bars on it stay clear of the axis and its ticks.
constexpr int32_t AxisClearance = 10;

// How an element's line ends past its tipping point.
enum TLineEnd : uint8_t { leNone, leEndBar, leArrowHead };

// An element's line as the map draws it: on row Y from X1, where its station
// stands, to X2. XEnd is the x of its end bar, or of its arrowhead's base.
struct TMapLine {
    int32_t X1;
    int32_t X2;
    int32_t Y;
    TLineEnd End;
    int32_t XEnd;
};

// The placement of one drawing of the map: which pixel a value and which row
// an element takes, for one series. Built once per drawing: the model answers
// lookups by id, child numbers and colours by scanning the whole list, so the
// layout indexes the list in one pass and computes every row and colour once
// (first match wins for duplicate ids, exactly as in the model). Nothing here
// changes the settings or the list; both must stay unchanged while the
// geometry is in use.
//
// Rows: every action has a row of its own, evenly spaced in list order from
// the plot's top (TopMargin, below the title's band when there is a title) to
// AxisTop (above the axis band and the legend's band); a pathway element lies on the row of the
// element it changes to, or, when it outlasts that element, on a sub-row YOffset x (k + 1) below it
// (k: the earlier elements changing to the same one). Where these rows would let the lines of two
// rows overlap (closer than RowSpacing where both lines run), or put a row below LowestRow, the
// rows are separated: each action is followed by the sub-rows below it, top to bottom; a sub-row
// keeps its distance from its action where that leaves it above the next action's row, and
// otherwise the sub-rows share the room down to it evenly; then every row is moved as little as it
// takes (least squares) to lie at least RowSpacing below the row before (SubRowSpacing below one of
// the same action, or as close to that as the height allows), between TopMargin and LowestRow.
// Where the height does not give every row RowSpacing, the rows share it evenly. A map whose lines
// do not overlap keeps the plain rows, pixel for pixel. A RowSpacing in the settings widens both
// gaps, and the step of the sub-rows, to at least that many pixels.
//
// Hand-edited files may hold references that lead nowhere or loop. An element
// whose chain of second elements does not end in an action (a missing element
// or a loop) lies on the top row (the plot's top). A pathway element without its
// predecessor starts where an action would: at the current situation.
class TMapGeometry {
public:
    // The axis band's height comes from the list and the scenario table
    // (XAxisHeight); the settings are only read.
    TMapGeometry(const TGraphicsSettings& ASettings, const TElementsList& AElementsList,
                 const TScenarioFrame& AScenarioFrame, int32_t ASeriesIndex);

    int32_t SeriesIndex() const { return FSeriesIndex; }
    const TElementsList& ElementsList() const { return FList; }
    const TGraphicsSettings& Settings() const { return FSettings; }
    int32_t Count() const { return int32_t(FRows.size()); }
    const TElement& Element(int32_t Index) const { return *FRows[size_t(Index)].Element; }

    // The current situation: the first element whose id is CurrentElementID;
    // -1 (and an id that no element has) means none.
    int32_t CurrentIndex() const { return FCurrentIndex; }
    const TElement* CurrentElement() const;
    double CurrentTippingValue() const; // 0 without a current element

    // The operations of the map, for an element of the list. An element that
    // is not in the list fails with the list index error.
    double ElementTippingValue(const TElement& AElement) const;
    double ElementStartValue(const TElement& AElement) const;
    // Fails with "Floating point division by zero" when the tipping range is
    // empty (maximum equal to minimum). Values below the minimum (and NaN)
    // lie at PlotLeft; values above the maximum are not limited.
    int32_t ValueToX(double Value) const;
    int32_t ElementToY(const TElement& AElement) const;
    bool ExtendsPastSecond(const TElement& AElement) const;
    // The effective colour (the model's MyColor).
    TColor ElementColor(const TElement& AElement) const;
    // The model's ChildNumber of the element's id.
    int32_t ChildNumber(const TElement& AElement) const;

    // The same by list index, for painters walking the list.
    int32_t IndexOf(const TElement& AElement) const;
    int32_t FindIndex(int32_t ID) const;
    double TippingValueAt(int32_t Index) const { return FRows[size_t(Index)].Tipping; }
    double StartValueAt(int32_t Index) const;
    int32_t YAt(int32_t Index) const { return FRows[size_t(Index)].Y; }
    TColor ColorAt(int32_t Index) const { return FRows[size_t(Index)].Color; }
    int32_t ChildNumberAt(int32_t Index) const;
    int32_t PredecessorIndex(int32_t Index) const { return FRows[size_t(Index)].Predecessor; }
    int32_t SecondIndex(int32_t Index) const { return FRows[size_t(Index)].Second; }
    bool ExtendsPastSecondAt(int32_t Index) const;
    // The element carries the current element's id.
    bool IsCurrentAt(int32_t Index) const;
    // Whether the map draws a transfer to the element, from its
    // predecessor's row: a pathway element whose predecessor is in the list
    // and shows its line. The painters and the hit test ask the same.
    bool TransferShownAt(int32_t Index) const;

    // The bands of the picture, from the top: the title's (TitleBandHeight
    // of the settings, from TopMargin down to PlotTop), the plot with its
    // rows from PlotTop to AxisTop, the axis band of AxisBandHeight, the
    // legend's (from LegendTop), the bottom margin.
    int32_t PlotLeft() const { return ClampPixel(FSettings.PlotLeft()); }
    int32_t PlotTop() const { return FPlotTop; }
    int32_t AxisTop() const { return FAxisTop; }
    int32_t AxisBandHeight() const { return FAxisBandHeight; }
    int32_t LegendTop() const { return ClampPixel(int64_t(FAxisTop) + FAxisBandHeight); }
    // The rows of the map: how many there are (every action's and every
    // sub-row), and the distances between them as laid out.
    int32_t LaneCount() const { return int32_t(FLanes.size()); }
    std::vector<int32_t> LaneRows() const;
    // The x of MaxTippingPointValue. Fails as ValueToX does for an empty
    // range; for another range that cannot be drawn (TippingRangeProblem) it
    // is 0, and whatever places a value with it asks ValueToX too, which
    // fails with the reason.
    int32_t PlotRight() const;
    // The lowest row an element may take: AxisClearance above the axis line.
    int32_t LowestRow() const { return ClampPixel(int64_t(AxisTop()) + 20 - AxisClearance); }

    // The line of the element at list index Index. It runs from where the
    // element starts to where it tips, and on by Overshoot with an end bar
    // when it tips after the current situation. Nothing of it lies right of
    // the plot but its end bar: a line that would run past the right edge
    // ends on it, with an arrowhead when its tipping point lies beyond.
    // Fails as ValueToX does.
    TMapLine LineAt(int32_t Index) const;
    // Where the element's station and the transfer leading to it stand:
    // where it starts, held to the plot's right edge.
    int32_t StationXAt(int32_t Index) const;

private:
    void IndexElements();
    void ComputeRows();
    void ComputeColors();
    int32_t AddLane(int32_t Root, int32_t Creator, int32_t Y);
    bool LinesCollide() const;
    void SeparateRows();
    int32_t ActionY(int32_t Index) const;
    int32_t CheckedIndex(const TElement& AElement) const;

    const TGraphicsSettings& FSettings;
    const TElementsList& FList;
    int32_t FSeriesIndex;
    bool FZeroRange;
    QString FRangeProblem;
    double FMin;
    double FScale;
    int64_t FPlotLeft;
    int32_t FPlotRight = 0;
    int32_t FAxisBandHeight = 0;
    int64_t FPlotTop64 = 0;
    int64_t FAxisTop64 = 0;
    int32_t FPlotTop = 0;
    int32_t FAxisTop = 0;
    int32_t FRowGap = RowSpacing;
    int32_t FSubRowGap = SubRowSpacing;

    // What the layout knows of one element: read from the element once, so
    // that the passes below run over one compact array.
    struct TRow {
        const TElement* Element;
        double Tipping;
        int32_t ID;
        int32_t SecondID;
        int32_t PredecessorID;
        TColor OwnColor;
        int32_t Rank;        // earlier elements with the same second id
        int32_t Predecessor; // list index, -1 for none
        int32_t Second;      // list index, -1 for none
        int32_t Y;
        int32_t Lane; // -1 for an element that leads to no action
        TColor Color;
        uint8_t RowState;
        uint8_t ColorState;
        bool OnPath;
    };
    std::vector<TRow> FRows;
    // A row of the map: an action's, or a sub-row opened by the pathway
    // element that outlasts the element it changes to. The elements that
    // continue on the row of the element they change to share its lane.
    struct TLane {
        int32_t Y;       // the plain row, until the rows are separated
        int32_t Root;    // the lane of the action it lies below
        int32_t Creator; // list index of the action or element that opened it
    };
    std::vector<TLane> FLanes;
    // Ids are looked up in a table over their range when they lie close
    // together, as the application gives them out, and in a hash map when a
    // file brought scattered ones.
    bool FDenseIds = false;
    int64_t FIdBase = 0;
    std::vector<int32_t> FDenseIndex; // id - FIdBase -> first index or -1
    std::unordered_map<int32_t, int32_t> FSparseIndex;
    int32_t FPrimaryCount = 0;
    int32_t FCurrentIndex = -1;
    mutable std::unique_ptr<std::unordered_map<const TElement*, int32_t>> FPointerIndex;
};
