#pragma once

#include "base/ColorUnit.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <cstdint>
#include <functional>

// Colours of the model (red in the lowest byte) become QColor only here.
// System colours take the classic desktop defaults so that a map looks the
// same on every machine; clNone draws white, clDefault black.
QColor ColorToQColor(TColor Color);

// The face every map text uses: "DejaVu Sans" where it is installed (maps
// then come out the same everywhere), the default face otherwise.
QString MapFontFamily();

// Font sizes are points at 96 dots per inch, as on the screen the maps are
// made for: 12 pt is 16 px. Sizes are kept within 1 .. 1000 px.
int32_t FontPointsToPixels(int32_t Points);

// A value computed in 64 bits, so that hostile settings cannot overflow,
// held to what an int32_t coordinate or setting can take.
int32_t ClampToInt32(int64_t Value);

// The pixels of the straight line from (X1, Y1) to (X2, Y2), its end pixel
// left out, as runs of pixels in one row or column, each reported as a
// rectangle one pixel thick (right and bottom excluded). Only what lies near
// the area 0 .. Width x 0 .. Height is reported, so far-off lines cost
// nothing.
void LineRuns(
    int32_t X1, int32_t Y1, int32_t X2, int32_t Y2, int32_t Width, int32_t Height,
    const std::function<void(int64_t Left, int64_t Top, int64_t Right, int64_t Bottom)>& Run);

// The small drawing surface the map painters draw on. It keeps the drawing
// state (pen, brush, font, pen position); subclasses only render.
//
// Pixel rules: a one-pixel line leaves out its last pixel; a wider pen is
// centred on the line and has round ends; a filled rectangle includes its
// left and top edges and excludes its right and bottom ones (an empty or
// inverted rectangle fills nothing); text stands on an opaque box of the brush
// colour, as wide and high as TextWidth and TextHeight say.
class TCanvas {
public:
    TCanvas(int32_t Width, int32_t Height) : FWidth(Width), FHeight(Height) {}
    virtual ~TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The drawing area; nothing outside it is visible, so painters may skip
    // work there.
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }

    TColor PenColor() const { return FPenColor; }
    void SetPenColor(TColor Value) { FPenColor = Value; }
    int32_t PenWidth() const { return FPenWidth; }
    void SetPenWidth(int32_t Value) { FPenWidth = Value < 1 ? 1 : Value; }
    TColor BrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value) { FBrushColor = Value; }
    int32_t FontSize() const { return FFontSize; }
    void SetFontSize(int32_t Value) { FFontSize = Value; }
    bool FontBold() const { return FFontBold; }
    void SetFontBold(bool Value) { FFontBold = Value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    QPoint PenPos() const { return FPenPos; }

    void MoveTo(int32_t X, int32_t Y) { FPenPos = QPoint(X, Y); }
    // A line from the pen position with the current pen; the pen moves on.
    void LineTo(int32_t X, int32_t Y);

    // Outlined with the pen, filled with the brush.
    virtual void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) = 0;
    // Fills with the brush colour.
    virtual void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;
    // Fills with the given colour and leaves the brush alone: the map's brush
    // must stay white for the text boxes.
    virtual void FillSolidRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
                               TColor Color) = 0;
    virtual void SetPixel(int32_t X, int32_t Y, TColor Color);
    // A convex polygon filled with the given colour, without outline; the
    // brush is left alone. Its corners stand for pixel centres, and every
    // pixel whose centre lies inside or on the edge is set, row by row.
    virtual void FillPolygon(const QPolygon& Points, TColor Color);
    virtual void TextOut(int32_t X, int32_t Y, const QString& Text) = 0;
    virtual int32_t TextWidth(const QString& Text) = 0;
    virtual int32_t TextHeight(const QString& Text) = 0;

    // Text as it fits into Width pixels in the current font: whole when it
    // fits, otherwise cut after the last whole character that leaves room
    // for "…" and ended with it (spaces before the cut dropped); empty when
    // not even "…" fits.
    QString ElidedText(const QString& Text, int32_t Width);

protected:
    virtual void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) = 0;

private:
    int32_t FWidth;
    int32_t FHeight;
    TColor FPenColor = clBlack;
    int32_t FPenWidth = 1;
    TColor FBrushColor = clWhite;
    int32_t FFontSize = 12;
    bool FFontBold = false;
    TColor FFontColor = clBlack;
    QPoint FPenPos;
};

// The canvas over a QPainter, so that one painter code draws into a QImage,
// an SVG (QSvgGenerator) and a PDF (QPdfWriter). The painter's transformation
// (a scale for large exports) is kept; Width and Height are in the canvas's
// own units. Shapes are drawn aliased, text antialiased. The painter is
// borrowed: its state (pen, brush, font, hints) is given back as it was when
// the canvas ends.
class TPainterCanvas : public TCanvas {
public:
    TPainterCanvas(QPainter& Painter, int32_t Width, int32_t Height);
    ~TPainterCanvas() override;

    void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;
    void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) override;
    void FillSolidRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
                       TColor Color) override;
    void FillPolygon(const QPolygon& Points, TColor Color) override;
    void TextOut(int32_t X, int32_t Y, const QString& Text) override;
    int32_t TextWidth(const QString& Text) override;
    int32_t TextHeight(const QString& Text) override;

    // The font the current FontSize and FontBold stand for.
    QFont CurrentFont() const;

protected:
    void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override;

private:
    void ThinLine(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
    void WideLine(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
    void FillClipped(int64_t Left, int64_t Top, int64_t Right, int64_t Bottom, TColor Color);
    // The pixels whose centres lie within the disc, row by row.
    void FillDisc(double CX, double CY, double R, TColor Color);
    // Metrics of the current font size, kept while the size stays: a map
    // writes thousands of captions in one size.
    const QFontMetrics& Metrics();

    QPainter& FPainter;
    bool FRaster = false;
    int32_t FMetricsPixels = 0; // negative for a bold font, 0 before the first
    QFont FFont;
    QFontMetrics FMetrics{QFont()};
    // The last text measured, so that a text measured to see whether it fits
    // is not measured again when it is written.
    QString FMeasuredText;
    int32_t FMeasuredPixels = 0;
    int32_t FMeasuredWidth = 0;
};

namespace CanvasDetail {
// The surface under a measuring canvas. A base of it, so that the painter
// stands before the canvas that borrows it and ends after it.
struct TScratchSurface {
    QImage Image{1, 1, QImage::Format_RGB32};
    QPainter Painter{&Image};
};
} // namespace CanvasDetail

// A canvas that draws nowhere, for measuring texts as the map writes them
// (the caption band that fits them, the box of a caption the band cut): it
// owns the one-pixel image and the painter it measures with. Width and
// Height are those of the map it measures for.
class TMeasuringCanvas : private CanvasDetail::TScratchSurface, public TPainterCanvas {
public:
    TMeasuringCanvas(int32_t Width, int32_t Height) : TPainterCanvas(Painter, Width, Height) {}
};
