#pragma once

#include "map/CanvasUnit.h"

// A canvas that draws nothing and measures text as 8 pixels per character
// wide and the font's pixel size + 3 high (19 at 12 points), so that the
// positions and cuts a test expects can be worked out by hand. Tests that
// want to see what is drawn override the drawing calls.
class TFixedTextCanvas : public TCanvas {
public:
    TFixedTextCanvas(int32_t Width = 1000, int32_t Height = 400) : TCanvas(Width, Height) {}

    void Ellipse(int32_t, int32_t, int32_t, int32_t) override {}
    void FillRect(int32_t, int32_t, int32_t, int32_t) override {}
    void FillSolidRect(int32_t, int32_t, int32_t, int32_t, TColor) override {}
    void TextOut(int32_t, int32_t, const QString&) override {}
    int32_t TextWidth(const QString& Text) override { return 8 * int32_t(Text.size()); }
    int32_t TextHeight(const QString&) override { return FontPointsToPixels(FontSize()) + 3; }

protected:
    void Line(int32_t, int32_t, int32_t, int32_t) override {}
};
