#include "GraphicsSettingsUnit.h"

#include "NumberFormatUnit.h"
#include "XmlUnit.h"

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

void ReadInt(const TXmlNode* Section, const char* Name, int32_t& Field) {
    if (const TXmlNode* Node = Section->Find(QLatin1String(Name), ElementsOnly)) {
        int32_t Value = 0;
        if (TryStrToInt(Node->Text, Value))
            Field = Value;
    }
}

void ReadFloat(const TXmlNode* Section, const char* Name, double& Field) {
    if (const TXmlNode* Node = Section->Find(QLatin1String(Name), ElementsOnly)) {
        double Value = 0;
        if (TryStrToFloat(Node->Text, Value))
            Field = Value;
    }
}

} // namespace

void TGraphicsSettings::WriteToXML(TXmlDoc& XML) const {
    TXmlNode* Section = XML.AddChild(QStringLiteral("graphsettings"));
    AddTextChild(Section, QStringLiteral("maxtippingpoint"), FloatToStrGeneral(FMaxTippingPointValue));
    AddTextChild(Section, QStringLiteral("mintippingpoint"), FloatToStrGeneral(FMinTippingPointValue));
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
        ReadFloat(Section, "maxtippingpoint", FMaxTippingPointValue);
        ReadFloat(Section, "mintippingpoint", FMinTippingPointValue);
        ReadInt(Section, "leftmargin", FLeftMargin);
        ReadInt(Section, "titlesareawidth", FTitlesAreaWidth);
        ReadInt(Section, "topmargin", FTopMargin);
        ReadInt(Section, "bottommargin", FBottomMargin);
        ReadInt(Section, "rightmargin", FRightMargin);
        ReadInt(Section, "yoffset", FYOffset);
        ReadInt(Section, "overshoot", FOvershoot);
        ReadInt(Section, "ticksxaxis", FTicksXAxis);
        if (const TXmlNode* Title = Section->Find(QStringLiteral("xaxistitle"), ElementsOnly))
            FXAxisTitle = Title->Text;
        ReadInt(Section, "drawingareawidth", FDrawingAreaWidth);
        ReadInt(Section, "drawingareaheight", FDrawingAreaHeight);
        ReadInt(Section, "fontsize", FFontSize);
    }
    FGraphicsSettingIsDirty = false;
}
