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

    // Every setting that the file holds back to its default; ShowXAxis and
    // the dirty flag are left alone.
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
    // Which decision points the map shows: 0 none, N those under scenario N
    // (counted from 1); a time-based map shows those of the time column it
    // shows for any N above 0. A scenario that is not there shows none.
    int32_t DecisionPoints() const { return FDecisionPoints; }
    void SetDecisionPoints(int32_t Value) { FDecisionPoints = Value; }
    // The least distance, in pixels, between the lines of two rows of the
    // map and between an action's row and its sub-rows; 0 leaves it to the
    // map (5 pixels, 8 within one action's rows, sub-rows YOffset apart).
    int32_t RowSpacing() const { return FRowSpacing; }
    void SetRowSpacing(int32_t Value) { FRowSpacing = Value; }
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
    // The band above the plot that holds the title, and the one under the
    // axes that holds the legend: none when they are not shown. They follow
    // the font size, so that a larger font gets the room it needs.
    int32_t TitleBandHeight() const;
    int32_t LegendBandHeight() const;
    // The height of the picture besides the plot: the top margin, the
    // title's band, an axis band of AxisBandHeight, the legend's band and the
    // bottom margin.
    int64_t HeightAroundPlot(int32_t AxisBandHeight) const {
        return int64_t(FTopMargin) + TitleBandHeight() + AxisBandHeight + LegendBandHeight() +
               FBottomMargin;
    }
    // The title's font size in points: four above the map's.
    int32_t TitleFontSize() const;

    // The same settings (the dirty flag aside).
    bool SameAs(const TGraphicsSettings& Other) const;
    // The same settings as far as a file stores them: whether the axis is
    // shown is the view's, not the document's.
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
    // title and legend bands, an axis band of AxisBandHeight and at least one
    // pixel of plot; empty when it can.
    QString DrawingAreaProblem(int32_t AxisBandHeight) const;

private:
    int32_t FDrawingAreaWidth;
    int32_t FDrawingAreaHeight;
    int32_t FLeftMargin;
    int32_t FTitlesAreaWidth;
    int32_t FRightMargin;
    int32_t FTopMargin;
    int32_t FBottomMargin;
    int32_t FYOffset;
    int32_t FOvershoot;
    int32_t FTicksXAxis;
    QString FXAxisTitle;
    int32_t FFontSize;
    QString FTitle;
    bool FLegend = false;
    int32_t FDecisionPoints = 0;
    int32_t FRowSpacing = 0;
    double FMaxTippingPointValue;
    double FMinTippingPointValue;
    bool FShowXAxis = true;
    bool FGraphicsSettingIsDirty = false;
};
