#include "map/GraphicsSettingsUnit.h"

#include "base/NumberFormatUnit.h"
#include "file/XmlUnit.h"

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
}

namespace {

const TXmlNodeTypes ElementsOnly{ntElement};

void AddTextChild(TXmlNode* Parent, const QString& Name, const QString& Text) {
    Parent->AddChild(Name)->Text = Text;
}

void ReadInt(const TXmlNode* Section, const QString& Name, int32_t& Field) {
    if (const TXmlNode* Node = Section->Find(Name, ElementsOnly)) {
        int32_t Value = 0;
        if (TryStrToInt(Node->Text, Value))
            Field = Value;
    }
}

void ReadFloat(const TXmlNode* Section, const QString& Name, double& Field) {
    if (const TXmlNode* Node = Section->Find(Name, ElementsOnly)) {
        double Value = 0;
        if (TryStrToFloat(Node->Text, Value))
            Field = Value;
    }
}

} // namespace

bool TGraphicsSettings::SameAs(const TGraphicsSettings& Other) const {
    return SameStoredAs(Other) && FXAxisHeight == Other.FXAxisHeight &&
           FShowXAxis == Other.FShowXAxis;
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
           FFontSize == Other.FFontSize &&
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
}

void TGraphicsSettings::ReadFromXML(const TXmlDoc& XML) {
    ResetToDefaults();
    if (const TXmlNode* Section =
            XML.ChildNodes().Find(QStringLiteral("graphsettings"), ElementsOnly)) {
        ReadFloat(Section, QStringLiteral("maxtippingpoint"), FMaxTippingPointValue);
        ReadFloat(Section, QStringLiteral("mintippingpoint"), FMinTippingPointValue);
        ReadInt(Section, QStringLiteral("leftmargin"), FLeftMargin);
        ReadInt(Section, QStringLiteral("titlesareawidth"), FTitlesAreaWidth);
        ReadInt(Section, QStringLiteral("topmargin"), FTopMargin);
        ReadInt(Section, QStringLiteral("bottommargin"), FBottomMargin);
        ReadInt(Section, QStringLiteral("rightmargin"), FRightMargin);
        ReadInt(Section, QStringLiteral("yoffset"), FYOffset);
        ReadInt(Section, QStringLiteral("overshoot"), FOvershoot);
        ReadInt(Section, QStringLiteral("ticksxaxis"), FTicksXAxis);
        if (const TXmlNode* Title = Section->Find(QStringLiteral("xaxistitle"), ElementsOnly))
            FXAxisTitle = Title->Text;
        ReadInt(Section, QStringLiteral("drawingareawidth"), FDrawingAreaWidth);
        ReadInt(Section, QStringLiteral("drawingareaheight"), FDrawingAreaHeight);
        ReadInt(Section, QStringLiteral("fontsize"), FFontSize);
    }
    FGraphicsSettingIsDirty = false;
}
