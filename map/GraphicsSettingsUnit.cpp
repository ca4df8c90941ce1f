#include "map/GraphicsSettingsUnit.h"

#include "base/NumberFormatUnit.h"
#include "base/ReadReportUnit.h"
#include "file/XmlNumberUnit.h"
#include "file/XmlUnit.h"
#include "map/CanvasUnit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void TGraphicsSettings::ResetToDefaults() {
    FMaxTippingPointValue = 20000;
    FMinTippingPointValue = 0;
    FLeftMargin = 10;
    FTitlesAreaWidth = 200;
    FTopMargin = 10;
    FBottomMargin = 10;
    FRightMargin = 50;
    FYOffset = 20;
    FOvershoot = 10;
    FTicksXAxis = 3;
    FXAxisTitle = QStringLiteral("[no caption]");
    FDrawingAreaWidth = 1000;
    FDrawingAreaHeight = 400;
    FFontSize = 12;
    FTitle.clear();
    FLegend = false;
    FDecisionPoints = 0;
    FRowSpacing = 0;
}

int32_t TGraphicsSettings::TitleFontSize() const {
    return int32_t(std::min<int64_t>(int64_t(FFontSize) + 4, 1000));
}

// Two lines of the title's font: the title and the room between it and the
// first row, whose caption reaches half a line above it.
int32_t TGraphicsSettings::TitleBandHeight() const {
    return FTitle.isEmpty() ? 0 : 2 * FontPointsToPixels(TitleFontSize());
}

// Two lines of the map's font and a little more: one row of symbols, each
// with its text, a line below the axes and clear of the credit line at the
// foot of the picture.
int32_t TGraphicsSettings::LegendBandHeight() const {
    return FLegend ? 2 * FontPointsToPixels(FFontSize) + 6 : 0;
}

namespace {

const TXmlNodeTypes ElementsOnly{ntElement};

void AddTextChild(TXmlNode* Parent, const QString& Name, const QString& Text) {
    Parent->AddChild(Name)->Text = Text;
}

const QString Place = QStringLiteral("Graph settings");

// A field keeps its default where the section has no number for it.
void ReadInt(const TXmlNode* Section, const QString& Name, int32_t& Field, TReadReport* Report) {
    Field = NodeIntOr(Section->Find(Name, ElementsOnly), Field, Report, [] { return Place; });
}

void ReadFloat(const TXmlNode* Section, const QString& Name, double& Field, TReadReport* Report) {
    Field = NodeFloatOr(Section->Find(Name, ElementsOnly), Field, Report, [] { return Place; });
}

} // namespace

bool TGraphicsSettings::SameAs(const TGraphicsSettings& Other) const {
    return SameStoredAs(Other) && FShowXAxis == Other.FShowXAxis;
}

bool TGraphicsSettings::SameStoredAs(const TGraphicsSettings& Other) const {
    // Doubles by their bits, so that a NaN read from a file equals itself.
    const auto Same = [](double A, double B) { return std::memcmp(&A, &B, sizeof A) == 0; };
    return FDrawingAreaWidth == Other.FDrawingAreaWidth &&
           FDrawingAreaHeight == Other.FDrawingAreaHeight && FLeftMargin == Other.FLeftMargin &&
           FTitlesAreaWidth == Other.FTitlesAreaWidth && FRightMargin == Other.FRightMargin &&
           FTopMargin == Other.FTopMargin && FBottomMargin == Other.FBottomMargin &&
           FYOffset == Other.FYOffset && FOvershoot == Other.FOvershoot &&
           FTicksXAxis == Other.FTicksXAxis && FXAxisTitle == Other.FXAxisTitle &&
           FFontSize == Other.FFontSize && FTitle == Other.FTitle && FLegend == Other.FLegend &&
           FDecisionPoints == Other.FDecisionPoints && FRowSpacing == Other.FRowSpacing &&
           Same(FMaxTippingPointValue, Other.FMaxTippingPointValue) &&
           Same(FMinTippingPointValue, Other.FMinTippingPointValue);
}

void TGraphicsSettings::WriteToXML(TXmlDoc& XML) const {
    TXmlNode* Section = XML.AddChild(QStringLiteral("graphsettings"));
    AddTextChild(Section, QStringLiteral("maxtippingpoint"),
                 FloatToStrGeneral(FMaxTippingPointValue));
    AddTextChild(Section, QStringLiteral("mintippingpoint"),
                 FloatToStrGeneral(FMinTippingPointValue));
    AddTextChild(Section, QStringLiteral("leftmargin"), QString::number(FLeftMargin));
    AddTextChild(Section, QStringLiteral("titlesareawidth"), QString::number(FTitlesAreaWidth));
    AddTextChild(Section, QStringLiteral("topmargin"), QString::number(FTopMargin));
    AddTextChild(Section, QStringLiteral("bottommargin"), QString::number(FBottomMargin));
    AddTextChild(Section, QStringLiteral("rightmargin"), QString::number(FRightMargin));
    AddTextChild(Section, QStringLiteral("yoffset"), QString::number(FYOffset));
    AddTextChild(Section, QStringLiteral("overshoot"), QString::number(FOvershoot));
    AddTextChild(Section, QStringLiteral("ticksxaxis"), QString::number(FTicksXAxis));
    AddTextChild(Section, QStringLiteral("xaxistitle"), FXAxisTitle);
    AddTextChild(Section, QStringLiteral("drawingareawidth"), QString::number(FDrawingAreaWidth));
    AddTextChild(Section, QStringLiteral("drawingareaheight"), QString::number(FDrawingAreaHeight));
    AddTextChild(Section, QStringLiteral("fontsize"), QString::number(FFontSize));
    // Written only when used: files without them stay as they were, and
    // older readers pass them by.
    if (!FTitle.isEmpty())
        AddTextChild(Section, QStringLiteral("title"), FTitle);
    if (FLegend)
        AddTextChild(Section, QStringLiteral("legend"), QStringLiteral("1"));
    if (FDecisionPoints != 0)
        AddTextChild(Section, QStringLiteral("decisionpoints"), QString::number(FDecisionPoints));
    if (FRowSpacing != 0)
        AddTextChild(Section, QStringLiteral("rowspacing"), QString::number(FRowSpacing));
}

void TGraphicsSettings::ReadFromXML(const TXmlDoc& XML, TReadReport* Report) {
    ResetToDefaults();
    if (const TXmlNode* Section =
            XML.ChildNodes().Find(QStringLiteral("graphsettings"), ElementsOnly)) {
        ReadFloat(Section, QStringLiteral("maxtippingpoint"), FMaxTippingPointValue, Report);
        ReadFloat(Section, QStringLiteral("mintippingpoint"), FMinTippingPointValue, Report);
        ReadInt(Section, QStringLiteral("leftmargin"), FLeftMargin, Report);
        ReadInt(Section, QStringLiteral("titlesareawidth"), FTitlesAreaWidth, Report);
        ReadInt(Section, QStringLiteral("topmargin"), FTopMargin, Report);
        ReadInt(Section, QStringLiteral("bottommargin"), FBottomMargin, Report);
        ReadInt(Section, QStringLiteral("rightmargin"), FRightMargin, Report);
        ReadInt(Section, QStringLiteral("yoffset"), FYOffset, Report);
        ReadInt(Section, QStringLiteral("overshoot"), FOvershoot, Report);
        ReadInt(Section, QStringLiteral("ticksxaxis"), FTicksXAxis, Report);
        if (const TXmlNode* Title = Section->Find(QStringLiteral("xaxistitle"), ElementsOnly))
            FXAxisTitle = Title->Text;
        ReadInt(Section, QStringLiteral("drawingareawidth"), FDrawingAreaWidth, Report);
        ReadInt(Section, QStringLiteral("drawingareaheight"), FDrawingAreaHeight, Report);
        ReadInt(Section, QStringLiteral("fontsize"), FFontSize, Report);
        if (const TXmlNode* Title = Section->Find(QStringLiteral("title"), ElementsOnly))
            FTitle = Title->Text;
        int32_t Legend = 0;
        ReadInt(Section, QStringLiteral("legend"), Legend, Report);
        FLegend = Legend != 0;
        ReadInt(Section, QStringLiteral("decisionpoints"), FDecisionPoints, Report);
        ReadInt(Section, QStringLiteral("rowspacing"), FRowSpacing, Report);
    }
    FGraphicsSettingIsDirty = false;
    // A range the map cannot be drawn with is kept as the file has it (the
    // user sets it right in the axis settings), but it is said at once.
    const QString Range = TippingRangeProblem(FMinTippingPointValue, FMaxTippingPointValue);
    if (Report && !Range.isEmpty())
        Report->Add(Place + QStringLiteral(": ") + Range);
}

QString TGraphicsSettings::TippingRangeProblem(double Min, double Max) {
    if (!std::isfinite(Min) || !std::isfinite(Max))
        return QStringLiteral("The ends of the tipping-point axis must be numbers.");
    if (Min >= Max)
        return QStringLiteral("The tipping-point axis runs from %1 to %2: its minimum must lie "
                              "below its maximum.")
            .arg(FloatToStrGeneral(Min), FloatToStrGeneral(Max));
    return QString();
}

QString TGraphicsSettings::DrawingAreaProblem(int32_t AxisBandHeight) const {
    // What the area must hold besides one pixel of plot each way.
    const int64_t Across = int64_t(FLeftMargin) + FTitlesAreaWidth + FRightMargin;
    const int64_t Down = HeightAroundPlot(AxisBandHeight);
    if (PlotWidth() >= 1 && FDrawingAreaHeight - Down >= 1)
        return QString();
    return QStringLiteral("A drawing area of %1 x %2 pixels is too small: the margins, the "
                          "caption band of %3 pixels and the axes need at least %4 x %5 "
                          "pixels.")
        .arg(FDrawingAreaWidth)
        .arg(FDrawingAreaHeight)
        .arg(FTitlesAreaWidth)
        .arg(std::max<int64_t>(Across + 1, 1))
        .arg(std::max<int64_t>(Down + 1, 1));
}
