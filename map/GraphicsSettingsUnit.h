#pragma once

#include <QString>
#include <cstdint>

class TReadReport;
class TXmlDoc;

// The graph settings of one map: margins, drawing size, tipping range, ticks,
// axis title and font size, with their defaults. Widget-free; the map view
// owns one and the painters read it.
class TGraphicsSettings {
public:
    TGraphicsSettings() { ResetToDefaults(); }

    // Every setting that the file holds back to its default; ShowXAxis, the
    // dirty flag and XAxisHeight are left alone.
    void ResetToDefaults();

    int32_t DrawingAreaWidth() const { return FDrawingAreaWidth; }
    void SetDrawingAreaWidth(int32_t Value) { FDrawingAreaWidth = Value; }
    int32_t DrawingAreaHeight() const { return FDrawingAreaHeight; }
    void SetDrawingAreaHeight(int32_t Value) { FDrawingAreaHeight = Value; }
    int32_t LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int32_t Value) { FLeftMargin = Value; }
    int32_t TitlesAreaWidth() const { return FTitlesAreaWidth; }
    void SetTitlesAreaWidth(int32_t Value) { FTitlesAreaWidth = Value; }
    int32_t RightMargin() const { return FRightMargin; }
    void SetRightMargin(int32_t Value) { FRightMargin = Value; }
    int32_t TopMargin() const { return FTopMargin; }
    void SetTopMargin(int32_t Value) { FTopMargin = Value; }
    int32_t BottomMargin() const { return FBottomMargin; }
    void SetBottomMargin(int32_t Value) { FBottomMargin = Value; }
    int32_t XAxisHeight() const { return FXAxisHeight; }
    void SetXAxisHeight(int32_t Value) { FXAxisHeight = Value; }
    int32_t YOffset() const { return FYOffset; }
    void SetYOffset(int32_t Value) { FYOffset = Value; }
    int32_t Overshoot() const { return FOvershoot; }
    void SetOvershoot(int32_t Value) { FOvershoot = Value; }
    int32_t TicksXAxis() const { return FTicksXAxis; }
    void SetTicksXAxis(int32_t Value) { FTicksXAxis = Value; }
    const QString& XAxisTitle() const { return FXAxisTitle; }
    void SetXAxisTitle(const QString& Value) { FXAxisTitle = Value; }
    int32_t FontSize() const { return FFontSize; }
    void SetFontSize(int32_t Value) { FFontSize = Value; }
    // The map's title, drawn above the plot; none when empty.
    const QString& Title() const { return FTitle; }
    void SetTitle(const QString& Value) { FTitle = Value; }
    // Whether a legend of the map's symbols is drawn under the axes.
    bool Legend() const { return FLegend; }
    void SetLegend(bool Value) { FLegend = Value; }
    double MaxTippingPointValue() const { return FMaxTippingPointValue; }
    void SetMaxTippingPointValue(double Value) { FMaxTippingPointValue = Value; }
    double MinTippingPointValue() const { return FMinTippingPointValue; }
    void SetMinTippingPointValue(double Value) { FMinTippingPointValue = Value; }
    bool ShowXAxis() const { return FShowXAxis; }
    void SetShowXAxis(bool Value) { FShowXAxis = Value; }
    bool GraphicsSettingIsDirty() const { return FGraphicsSettingIsDirty; }
    void SetGraphicsSettingIsDirty(bool Value) { FGraphicsSettingIsDirty = Value; }

    // Derived, never stored: computed in 64 bits so that hostile settings
    // cannot overflow, then used as pixels.
    int64_t PlotLeft() const { return int64_t(FLeftMargin) + FTitlesAreaWidth; }
    int64_t PlotWidth() const {
        return int64_t(FDrawingAreaWidth) - FLeftMargin - FRightMargin - FTitlesAreaWidth;
    }
    int64_t AxisTop() const { return int64_t(FDrawingAreaHeight) - FBottomMargin - FXAxisHeight; }
    int64_t PlotHeight() const { return AxisTop() - FTopMargin; }

    // The same settings (the dirty flag aside).
    bool SameAs(const TGraphicsSettings& Other) const;
    // The same settings as far as a file stores them: whether the axis is
    // shown and the axis band's height are the view's, not the document's.
    bool SameStoredAs(const TGraphicsSettings& Other) const;

    // The "graphsettings" section of a .pathway document. Reading resets every
    // stored setting to its default first and clears the dirty flag; given a
    // report, it names every value it could not read and a tipping range
    // that cannot be drawn.
    void WriteToXML(TXmlDoc& XML) const;
    void ReadFromXML(const TXmlDoc& XML, TReadReport* Report = nullptr);

    // Why the tipping range cannot be drawn (its minimum not below its
    // maximum, or an end that is no finite number); empty when it can.
    static QString TippingRangeProblem(double Min, double Max);
    // Why the drawing area cannot hold the margins, the caption band, the
    // axis band of XAxisHeight and at least one pixel of plot; empty when it
    // can.
    QString DrawingAreaProblem() const;

private:
    int32_t FDrawingAreaWidth;
    int32_t FDrawingAreaHeight;
    int32_t FLeftMargin;
    int32_t FTitlesAreaWidth;
    int32_t FRightMargin;
    int32_t FTopMargin;
    int32_t FBottomMargin;
    int32_t FXAxisHeight = 70;
    int32_t FYOffset;
    int32_t FOvershoot;
    int32_t FTicksXAxis;
    QString FXAxisTitle;
    int32_t FFontSize;
    QString FTitle;
    bool FLegend = false;
    double FMaxTippingPointValue;
    double FMinTippingPointValue;
    bool FShowXAxis = true;
    bool FGraphicsSettingIsDirty = false;
};
