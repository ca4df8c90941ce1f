#include "GraphicsSettingsUnit.h"

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
