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

// The painter of the pathways map. It reads the elements list and the scenario
// table and writes only XAxisHeight into the settings, at the start of every
// drawing. The map view owns one for the whole run; the export builds one per
// file. Each drawing paints the whole map anew from the model.
class TPathwayMap {
public:
    TPathwayMap(TGraphicsSettings& ASettings, const TElementsList& AElementsList,
                const TScenarioFrame& AScenarioFrame);

    TGraphicsSettings& Settings() const { return FSettings; }
    const TElementsList& ElementsList() const { return FElementsList; }
    const TScenarioFrame& ScenarioFrame() const { return FScenarioFrame; }

    // The size of the bitmap for a scale factor: DrawingAreaWidth x
    // DrawingAreaHeight times AScale, rounded. Fails with a clear message when
    // the scale is not a positive number, when the area is empty and when it
    // exceeds MaxMapPixels.
    QSize ImageSize(double AScale = 1.0) const;

    // Draws the map for a series (a tipping time column; ignored by a
    // condition-based pathway) on a new white bitmap of ImageSize(AScale),
    // which replaces ABitmap. A scale other than 1 draws the same map with the
    // painter scaled, for sharp prints. On failure ABitmap may hold a partly
    // drawn map; callers show only bitmaps whose drawing returned.
    void DrawPathwayOnBitmap(QImage& ABitmap, int32_t ASeriesIndex, double AScale = 1.0);

    // The same map on any canvas of DrawingAreaWidth x DrawingAreaHeight
    // (SVG, PDF): every step after the sizing of the bitmap. The canvas must
    // start white and its brush must be white.
    void DrawPathwayOnCanvas(TCanvas& ACanvas, int32_t ASeriesIndex);

    // A two-colour band five pixels high (rows Y - 2 .. Y + 2) from X1 up to,
    // not including, X2: pixels whose x leaves a remainder below 10 when
    // divided by 20 take ColorA, the others ColorB. Drawn as runs of one
    // colour, clipped to the canvas; the brush is left alone.
    static void DrawDashedLine(TCanvas& ACanvas, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                               TColor ColorA, TColor ColorB);

    // Texts left of the plot stay in the caption band, from LeftMargin to
    // the plot's left edge: one that would reach past it is cut with "…".
    // The captions of a drawing with AGeometry, as ACanvas measures them:
    // the axis title (in a time-based map followed by " – " and the caption
    // of the time column shown, which stands alone when the axis is
    // hidden), the scenarios' names and the actions' names.
    std::vector<TMapCaption> Captions(TCanvas& ACanvas, const TMapGeometry& AGeometry,
                                      int32_t ASeriesIndex) const;

private:
    void DrawMap(TCanvas& ACanvas, const TMapGeometry& AGeometry);
    void DrawCurrentSituationLine(TCanvas& ACanvas, const TMapGeometry& AGeometry);
    void DrawElementLine(TCanvas& ACanvas, const TMapGeometry& AGeometry, int32_t AIndex);
    void DrawTransfer(TCanvas& ACanvas, const TMapGeometry& AGeometry, int32_t AIndex);
    void DrawElementMarker(TCanvas& ACanvas, const TMapGeometry& AGeometry, int32_t AIndex);
    void DrawAxes(TCanvas& ACanvas, const TMapGeometry& AGeometry);
    void DrawTippingAxis(TCanvas& ACanvas, const TMapGeometry& AGeometry);
    void DrawScenarioAxes(TCanvas& ACanvas, const TMapGeometry& AGeometry);
    QString BandText(TCanvas& ACanvas, const QString& AText) const;
    bool TimeBased() const;
    // Empty unless a time-based map shows one of its time columns.
    QString TimeColumnCaption(int32_t ASeriesIndex) const;
    TMapCaption AxisTitle(TCanvas& ACanvas, int32_t ASeriesIndex) const;

    TGraphicsSettings& FSettings;
    const TElementsList& FElementsList;
    const TScenarioFrame& FScenarioFrame;
};

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
