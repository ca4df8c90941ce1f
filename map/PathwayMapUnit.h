#pragma once

#include "map/CanvasUnit.h"
#include "map/GraphicsSettingsUnit.h"
#include "map/MapGeometryUnit.h"
#include "model/ElementsUnit.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

class TScenarioFrame;

// The largest bitmap the map is drawn on, in pixels (width times height).
constexpr int64_t MaxMapPixels = 100000000;

// The one-line credit written at the foot of every map.
QString MapCreditLine();

// A text of the caption band (an action's name, the axis title, a scenario's
// name) as the map writes it: its box and the text shown, which the band may
// have cut, with the whole text.
struct TMapCaption {
    QRect Box;
    QString Shown;
    QString Whole;
};

// A decision to mark on the map: a small diamond on the line of the element
// at list index Predecessor (the element a pathway starts from), at the x of
// Value held to that line, outlined in the line's colour; a decision due now
// stands at the line's start, in red. ToolTip is what the pointer shows there.
// The map does not know how decisions are made: whoever draws it hands them
// over.
struct TMapDecisionPoint {
    int32_t Predecessor;
    double Value;
    bool DueNow;
    QString ToolTip;
};

// A decision point's diamond reaches this far from its centre, left, right,
// up and down.
constexpr int32_t DiamondHalf = 8;

// Where a decision point stands on a map laid out by AGeometry; false when
// none is drawn: its predecessor is not in the list or its line is not
// shown. Fails as ValueToX does.
bool DecisionPointCentre(const TMapGeometry& AGeometry, const TMapDecisionPoint& APoint,
                         QPoint& ACentre);

// The colour of the wide band under the lines of the preferred route.
constexpr TColor PreferredBandColor = RGBToColor(214, 214, 214);
constexpr int32_t PreferredBandWidth = 17;

// The painter of the pathways map. It reads the settings, the elements list
// and the scenario table and changes none of them. The map view owns one for
// the whole run; the export builds one per file. Each drawing paints the
// whole map anew from the model, with the decision points last handed over.
class TPathwayMap {
public:
    TPathwayMap(const TGraphicsSettings& ASettings, const TElementsList& AElementsList,
                const TScenarioFrame& AScenarioFrame);

    const TGraphicsSettings& Settings() const { return FSettings; }
    const TElementsList& ElementsList() const { return FElementsList; }
    const TScenarioFrame& ScenarioFrame() const { return FScenarioFrame; }

    // The size of the bitmap for a scale factor: DrawingAreaWidth x
    // DrawingAreaHeight times AScale, rounded. Fails with a clear message when
    // the scale is not a positive number, when the area is empty and when it
    // exceeds MaxMapPixels.
    QSize ImageSize(double AScale = 1.0) const;

    // The decision points every drawing marks, until others are handed over;
    // none at first.
    const std::vector<TMapDecisionPoint>& DecisionPoints() const { return FDecisionPoints; }
    void SetDecisionPoints(std::vector<TMapDecisionPoint> Value) {
        FDecisionPoints = std::move(Value);
    }

    // The layout of a drawing for a series, as the painter uses it.
    TMapGeometry Geometry(int32_t ASeriesIndex) const;

    // Draws the map for a series (a tipping time column; ignored by a
    // condition-based pathway) on a new white bitmap of ImageSize(AScale),
    // which replaces ABitmap. A scale other than 1 draws the same map with the
    // painter scaled, for sharp prints. On failure ABitmap may hold a partly
    // drawn map; callers show only bitmaps whose drawing returned.
    void DrawPathwayOnBitmap(QImage& ABitmap, int32_t ASeriesIndex, double AScale = 1.0) const;

    // The same map on any canvas of DrawingAreaWidth x DrawingAreaHeight
    // (SVG, PDF): every step after the sizing of the bitmap. The canvas must
    // start white and its brush must be white.
    void DrawPathwayOnCanvas(TCanvas& ACanvas, int32_t ASeriesIndex) const;

    // A two-colour band five pixels high (rows Y - 2 .. Y + 2) from X1 up to,
    // not including, X2: pixels whose x leaves a remainder below 10 when
    // divided by 20 take ColorA, the others ColorB. Drawn as runs of one
    // colour, clipped to the canvas; the brush is left alone.
    static void DrawDashedLine(TCanvas& ACanvas, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                               TColor ColorA, TColor ColorB);

    // Texts left of the plot stay in the caption band, from LeftMargin to
    // the plot's left edge: one that would reach past it is cut with "…".
    // The captions of a drawing with AGeometry, as ACanvas measures them:
    // the map's title (cut at the picture's width less the left margin on
    // both sides), the axis title (in a time-based map followed by " – " and
    // the caption of the time column shown, which stands alone when the axis
    // is hidden), the scenarios' names and the actions' names.
    std::vector<TMapCaption> Captions(TCanvas& ACanvas, const TMapGeometry& AGeometry,
                                      int32_t ASeriesIndex) const;

    // The widest of the texts the caption band holds (the axis title as
    // Captions has it whole, the scenarios' names, the actions' names) at
    // the map's font size, as ACanvas measures them.
    int32_t WidestCaption(TCanvas& ACanvas, int32_t ASeriesIndex) const;

    // Whether any element is marked as part of the preferred route.
    bool HasPreferredRoute() const;

    // The legend's entries, in the order they stand: the symbol's kind and
    // its text.
    enum TLegendSymbol : uint8_t { lsStation, lsTippingPoint, lsCombined, lsPreferred, lsDecision };
    struct TLegendEntry {
        TLegendSymbol Symbol;
        QString Text;
    };
    std::vector<TLegendEntry> LegendEntries() const;

private:
    void DrawMap(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    void DrawTitle(TCanvas& ACanvas) const;
    void DrawPreferredRoute(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    void DrawCurrentSituationLine(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    void DrawElementLine(TCanvas& ACanvas, const TMapGeometry& AGeometry, int32_t AIndex) const;
    void DrawTransfer(TCanvas& ACanvas, const TMapGeometry& AGeometry, int32_t AIndex) const;
    void DrawElementMarker(TCanvas& ACanvas, const TMapGeometry& AGeometry, int32_t AIndex) const;
    void DrawDecisionPoints(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    void DrawLegend(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    void DrawAxes(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    void DrawTippingAxis(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    void DrawScenarioAxes(TCanvas& ACanvas, const TMapGeometry& AGeometry) const;
    QString BandText(TCanvas& ACanvas, const QString& AText) const;
    QString TitleText(TCanvas& ACanvas) const;
    bool TimeBased() const;
    // Empty unless a time-based map shows one of its time columns.
    QString TimeColumnCaption(int32_t ASeriesIndex) const;
    TMapCaption AxisTitle(TCanvas& ACanvas, int32_t ASeriesIndex) const;

    const TGraphicsSettings& FSettings;
    const TElementsList& FElementsList;
    const TScenarioFrame& FScenarioFrame;
    std::vector<TMapDecisionPoint> FDecisionPoints;
};

// A diamond centred on (X, Y) reaching Half pixels each way: outlined by
// Outline pixels of OutlineColor around FillColor.
void DrawDiamond(TCanvas& ACanvas, int32_t X, int32_t Y, int32_t Half, int32_t Outline,
                 TColor OutlineColor, TColor FillColor);

// A pathway as a horizontal bar in ARect (right and bottom edges excluded):
// ALow at the left edge, AHigh at the right one. The element and each of its
// predecessors in turn fill the stretch from their start to their tipping
// value, a combination in horizontal stripes of its colour bands (band 0 on
// top); the current situation is filled last over the full height. Nothing is
// drawn when AHigh equals ALow. The brush is left at the last colour used.
// Predecessor chains that loop end at the first element met again; bands
// thinner than a pixel are painted one pixel row at a time.
void DrawPathwayBar(const TElement& AElement, int32_t ASeriesIndex, TCanvas& ACanvas,
                    const QRect& ARect, double ALow, double AHigh);
