#include "map/CanvasUnit.h"
#include "tests/support/FixedTextCanvas.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

namespace {

using TPixels = std::set<std::pair<int, int>>;

// A white image with a canvas over it; the painter scale is optional.
class PaintedImage {
public:
    explicit PaintedImage(int W = 60, int H = 40, double Scale = 1.0)
        : Image(int(W * Scale), int(H * Scale), QImage::Format_RGB32) {
        Image.fill(Qt::white);
        Painter.begin(&Image);
        Painter.scale(Scale, Scale);
        Canvas = std::make_unique<TPainterCanvas>(Painter, W, H);
    }
    QImage& Done() {
        Canvas.reset();
        if (Painter.isActive())
            Painter.end();
        return Image;
    }
    TPixels NonWhite() {
        TPixels Result;
        const QImage& Img = Done();
        for (int Y = 0; Y < Img.height(); ++Y)
            for (int X = 0; X < Img.width(); ++X)
                if (Img.pixel(X, Y) != qRgb(255, 255, 255))
                    Result.insert({X, Y});
        return Result;
    }
    QRgb At(int X, int Y) { return Done().pixel(X, Y); }

    QImage Image;
    QPainter Painter;
    std::unique_ptr<TPainterCanvas> Canvas;
};

TPixels RowRun(int X1, int X2, int Y) { // X1..X2 inclusive on one row
    TPixels P;
    for (int X = std::min(X1, X2); X <= std::max(X1, X2); ++X)
        P.insert({X, Y});
    return P;
}

TPixels Column(int X, int Y1, int Y2) {
    TPixels P;
    for (int Y = std::min(Y1, Y2); Y <= std::max(Y1, Y2); ++Y)
        P.insert({X, Y});
    return P;
}

TEST(Canvas, ColoursHaveRedInTheLowestByte) {
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(ColorToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(ColorToQColor(RGBToColor(128, 128, 128)), QColor(128, 128, 128));
    // System colours and the two special values draw as fixed colours.
    EXPECT_EQ(ColorToQColor(TColor(0xFF000005)), QColor(255, 255, 255)); // clWindow
    EXPECT_EQ(ColorToQColor(TColor(0xFF000008)), QColor(0, 0, 0));       // clWindowText
    EXPECT_EQ(ColorToQColor(TColor(0xFF0000FF)), QColor(0, 0, 0));       // no such number
    EXPECT_EQ(ColorToQColor(clNone), QColor(255, 255, 255));
    EXPECT_EQ(ColorToQColor(clDefault), QColor(0, 0, 0));
}

TEST(Canvas, FontSizesArePointsAt96Dpi) {
    EXPECT_EQ(FontPointsToPixels(12), 16);
    EXPECT_EQ(FontPointsToPixels(8), 11);
    EXPECT_EQ(FontPointsToPixels(9), 12);
    EXPECT_EQ(FontPointsToPixels(0), 1);
    EXPECT_EQ(FontPointsToPixels(-40), 1);
    EXPECT_EQ(FontPointsToPixels(INT32_MAX), 1000);
    PaintedImage P;
    P.Canvas->SetFontSize(12);
    EXPECT_EQ(P.Canvas->CurrentFont().pixelSize(), 16);
    if (QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"))) {
        EXPECT_EQ(P.Canvas->CurrentFont().family(), QStringLiteral("DejaVu Sans"));
    }
    EXPECT_FALSE(MapFontFamily().isEmpty());
}

struct TThinLine {
    int X1, Y1, X2, Y2;
    TPixels Expected;
};

TEST(Canvas, OnePixelLineLeavesOutItsLastPixel) {
    const TThinLine Cases[] = {
        {10, 5, 20, 5, RowRun(10, 19, 5)}, // right
        {20, 7, 10, 7, RowRun(11, 20, 7)}, // left
        {4, 10, 4, 20, Column(4, 10, 19)}, // down
        {6, 20, 6, 10, Column(6, 11, 20)}, // up
        {10, 10, 10, 10, {}},              // nothing at all
        {30, 10, 35, 15, {{30, 10}, {31, 11}, {32, 12}, {33, 13}, {34, 14}}},
        {30, 30, 36, 27, {{30, 30}, {31, 29}, {32, 29}, {33, 28}, {34, 28}, {35, 27}}},
    };
    for (const TThinLine& C : Cases) {
        PaintedImage P;
        P.Canvas->SetPenColor(clBlack);
        P.Canvas->MoveTo(C.X1, C.Y1);
        P.Canvas->LineTo(C.X2, C.Y2);
        EXPECT_EQ(P.Canvas->PenPos(), QPoint(C.X2, C.Y2));
        EXPECT_EQ(P.NonWhite(), C.Expected) << C.X1 << "," << C.Y1 << " - " << C.X2 << "," << C.Y2;
    }
}

TEST(Canvas, PolylineOfOnePixelLinesJoinsWithoutGaps) {
    PaintedImage P;
    P.Canvas->MoveTo(10, 10);
    P.Canvas->LineTo(20, 10);
    P.Canvas->LineTo(20, 15);
    TPixels Expected = RowRun(10, 19, 10);
    const TPixels Down = Column(20, 10, 14);
    Expected.insert(Down.begin(), Down.end());
    EXPECT_EQ(P.NonWhite(), Expected);
}

TEST(Canvas, WidePenIsCentredWithRoundEnds) {
    PaintedImage P;
    P.Canvas->SetPenWidth(5);
    P.Canvas->SetPenColor(clRed);
    P.Canvas->MoveTo(10, 15);
    P.Canvas->LineTo(40, 15);
    const QRgb Red = qRgb(255, 0, 0), White = qRgb(255, 255, 255);
    for (int Y = 13; Y <= 17; ++Y) {
        EXPECT_EQ(P.At(25, Y), Red) << Y;
    }
    EXPECT_EQ(P.At(25, 12), White);
    EXPECT_EQ(P.At(25, 18), White);
    // The round ends reach half the width past both end points, and only on
    // the middle rows.
    EXPECT_EQ(P.At(8, 15), Red);
    EXPECT_EQ(P.At(7, 15), White);
    EXPECT_EQ(P.At(42, 15), Red);
    EXPECT_EQ(P.At(43, 15), White);
    EXPECT_EQ(P.At(8, 13), White);
    EXPECT_EQ(P.At(42, 17), White);
}

TEST(Canvas, WideVerticalPenIsCentredToo) {
    PaintedImage P;
    P.Canvas->SetPenWidth(5);
    P.Canvas->MoveTo(30, 5);
    P.Canvas->LineTo(30, 30);
    const TPixels Pixels = P.NonWhite();
    for (int X = 28; X <= 32; ++X) {
        EXPECT_TRUE(Pixels.count({X, 20})) << X;
    }
    EXPECT_FALSE(Pixels.count({27, 20}));
    EXPECT_FALSE(Pixels.count({33, 20}));
    EXPECT_TRUE(Pixels.count({30, 3}));
    EXPECT_FALSE(Pixels.count({30, 2}));
    EXPECT_TRUE(Pixels.count({30, 32}));
    EXPECT_FALSE(Pixels.count({30, 33}));
}

TEST(Canvas, FillRectIncludesLeftAndTopOnly) {
    PaintedImage P;
    P.Canvas->SetBrushColor(clBlue);
    P.Canvas->FillRect(5, 6, 9, 8);
    TPixels Expected;
    for (int Y = 6; Y < 8; ++Y)
        for (int X = 5; X < 9; ++X)
            Expected.insert({X, Y});
    EXPECT_EQ(P.NonWhite(), Expected);
    EXPECT_EQ(P.At(5, 6), qRgb(0, 0, 255));
}

TEST(Canvas, EmptyOrInvertedRectanglesFillNothing) {
    PaintedImage P;
    P.Canvas->SetBrushColor(clBlack);
    P.Canvas->FillRect(10, 10, 10, 20);
    P.Canvas->FillRect(10, 10, 5, 20);
    P.Canvas->FillRect(10, 10, 20, 4);
    P.Canvas->FillSolidRect(10, 10, 5, 5, clBlack);
    EXPECT_TRUE(P.NonWhite().empty());
}

TEST(Canvas, SolidRectAndPixelLeaveTheBrushAlone) {
    PaintedImage P;
    P.Canvas->SetBrushColor(clWhite);
    P.Canvas->FillSolidRect(0, 0, 3, 1, clGreen);
    P.Canvas->SetPixel(10, 10, clRed);
    EXPECT_EQ(P.Canvas->BrushColor(), clWhite);
    EXPECT_EQ(P.NonWhite(), (TPixels{{0, 0}, {1, 0}, {2, 0}, {10, 10}}));
    EXPECT_EQ(P.At(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(P.At(1, 0), qRgb(0, 128, 0));
}

TEST(Canvas, TextStandsOnAnOpaqueBoxOfTheBrushColour) {
    PaintedImage P(200, 60);
    P.Canvas->FillSolidRect(0, 0, 200, 60, clSilver);
    P.Canvas->SetBrushColor(clYellow);
    P.Canvas->SetFontSize(12);
    P.Canvas->SetFontColor(clBlue);
    const QString Text = QStringLiteral("Dike 2050");
    const int W = P.Canvas->TextWidth(Text), H = P.Canvas->TextHeight(Text);
    EXPECT_GT(W, 40);
    EXPECT_GE(H, 16);
    EXPECT_EQ(H, P.Canvas->TextHeight(QStringLiteral("bp")));
    P.Canvas->TextOut(20, 10, Text);
    const QRgb Yellow = qRgb(255, 255, 0), Silver = qRgb(192, 192, 192);
    EXPECT_EQ(P.At(20, 10), Yellow);
    EXPECT_EQ(P.At(20 + W - 1, 10 + H - 1), Yellow);
    EXPECT_EQ(P.At(19, 10), Silver);
    EXPECT_EQ(P.At(20 + W, 10), Silver);
    EXPECT_EQ(P.At(20, 10 + H), Silver);
    int Blue = 0;
    for (int Y = 10; Y < 10 + H; ++Y)
        for (int X = 20; X < 20 + W; ++X)
            if (qBlue(P.At(X, Y)) > 200 && qRed(P.At(X, Y)) < 60)
                ++Blue;
    EXPECT_GT(Blue, 20) << "the text itself is drawn in the font colour";
}

TEST(Canvas, TextLongerThanItsRoomIsCutWithAnEllipsis) {
    const struct {
        const char16_t* Text;
        int32_t Width;
        const char16_t* Shown;
    } Cases[] = {
        {u"Dike", 32, u"Dike"}, // fits exactly
        {u"Dike raising", 96, u"Dike raising"},
        {u"Dike raising", 95, u"Dike raisi\u2026"}, // 10 characters and the ellipsis
        {u"Dike raising", 64, u"Dike ra\u2026"},
        {u"Dike raising", 48, u"Dike\u2026"}, // the space before the cut goes
        {u"Dike raising", 8, u"\u2026"},
        {u"Dike raising", 7, u""}, // not even the ellipsis fits
        {u"Dike raising", -20, u""},
        {u"", 0, u""},
        {u"Cafe\u0301 terrace", 48, u"Cafe\u0301\u2026"}, // the accent stays on its letter
        {u"Cafe\u0301 terrace", 40, u"Caf\u2026"},
        {u"Caf\u00e9 terrace", 40, u"Caf\u00e9\u2026"},
    };
    TFixedTextCanvas Canvas;
    for (const auto& C : Cases) {
        const QString Text = QString::fromUtf16(C.Text);
        EXPECT_EQ(Canvas.ElidedText(Text, C.Width), QString::fromUtf16(C.Shown))
            << Text.toStdString() << " in " << C.Width;
    }
    // With a real font the cut text fits and keeps as much as fits.
    PaintedImage P(300, 40);
    P.Canvas->SetFontSize(12);
    const QString Name = QStringLiteral("Raise defences downstream of the barrier");
    for (const int32_t Width : {60, 120, 199, 200}) {
        const QString Shown = P.Canvas->ElidedText(Name, Width);
        EXPECT_LE(P.Canvas->TextWidth(Shown), Width) << Width;
        EXPECT_TRUE(Shown.endsWith(QChar(0x2026))) << Width;
        const QString Longer = Name.left(Shown.size()) + QChar(0x2026);
        EXPECT_GT(P.Canvas->TextWidth(Longer), Width) << Width;
    }
    EXPECT_EQ(P.Canvas->ElidedText(Name, 1000), Name);
}

TEST(Canvas, TextWidthFollowsTheFontSize) {
    PaintedImage P(300, 40);
    const QString Text = QStringLiteral("Storm surge barrier");
    P.Canvas->SetFontSize(12);
    const int32_t Small = P.Canvas->TextWidth(Text);
    P.Canvas->SetFontSize(20);
    EXPECT_GT(P.Canvas->TextWidth(Text), Small);
    P.Canvas->SetFontSize(12);
    EXPECT_EQ(P.Canvas->TextWidth(Text), Small);
    EXPECT_LT(P.Canvas->TextWidth(QStringLiteral("Storm")), Small);
}

TEST(Canvas, ConvexPolygonsFillThePixelsWhoseCentresTheyHold) {
    PaintedImage P;
    P.Canvas->SetBrushColor(clYellow);
    // An arrowhead: base from (10, 4) to (10, 16), tip at (20, 10).
    P.Canvas->FillPolygon(QPolygon({QPoint(10, 4), QPoint(20, 10), QPoint(10, 16)}), clBlack);
    EXPECT_EQ(P.Canvas->BrushColor(), clYellow);
    TPixels Expected;
    for (int Y = 4; Y <= 16; ++Y) // rows whose half width shrinks by 10/6 a row
        for (int X = 10; 6 * (X - 10) <= 10 * (6 - std::abs(Y - 10)); ++X)
            Expected.insert({X, Y});
    EXPECT_EQ(P.NonWhite(), Expected);
    PaintedImage Single;
    Single.Canvas->FillPolygon(QPolygon({QPoint(5, 5)}), clBlack);
    Single.Canvas->FillPolygon(QPolygon(), clBlack);
    EXPECT_EQ(Single.NonWhite(), (TPixels{{5, 5}}));
}

TEST(Canvas, ScaledPainterScalesThePixelRules) {
    PaintedImage P(60, 40, 2.0);
    P.Canvas->SetPenWidth(5);
    P.Canvas->MoveTo(10, 15);
    P.Canvas->LineTo(40, 15);
    P.Canvas->SetPenWidth(1);
    P.Canvas->MoveTo(10, 30);
    P.Canvas->LineTo(20, 30);
    const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255);
    EXPECT_EQ(P.At(50, 26), Black); // logical row 13
    EXPECT_EQ(P.At(50, 35), Black); // logical row 17
    EXPECT_EQ(P.At(50, 25), White);
    EXPECT_EQ(P.At(50, 36), White);
    EXPECT_EQ(P.At(20, 60), Black); // logical (10, 30)
    EXPECT_EQ(P.At(39, 61), Black); // logical (19, 30)
    EXPECT_EQ(P.At(40, 60), White); // logical (20, 30), the end pixel
}

TEST(Canvas, EllipseIsARingAroundItsCentreFilledWithTheBrush) {
    PaintedImage P;
    P.Canvas->SetPenWidth(5);
    P.Canvas->FillSolidRect(0, 0, 60, 40, clSilver);
    P.Canvas->SetBrushColor(clWhite);
    P.Canvas->Ellipse(30 - 7, 20 - 7, 30 + 7, 20 + 7);
    const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Silver = qRgb(192, 192, 192);
    EXPECT_EQ(P.At(30, 20), White);
    for (const QPoint D : {QPoint(7, 0), QPoint(-7, 0), QPoint(0, 7), QPoint(0, -7)}) {
        EXPECT_EQ(P.At(30 + D.x(), 20 + D.y()), Black) << D.x() << "," << D.y();
        EXPECT_EQ(P.At(30 + 2 * D.x(), 20 + 2 * D.y()), Silver) << D.x() << "," << D.y();
    }
}

TEST(Canvas, FarAwayCoordinatesCostNothingAndDrawTheVisiblePart) {
    PaintedImage P;
    P.Canvas->MoveTo(-2000000000, 5);
    P.Canvas->LineTo(2000000000, 5);
    P.Canvas->SetPenWidth(5);
    P.Canvas->MoveTo(20, -2000000000);
    P.Canvas->LineTo(20, 2000000000);
    P.Canvas->SetPenWidth(1);
    P.Canvas->MoveTo(-2000000000, -2000000000);
    P.Canvas->LineTo(2000000000, 2000000000);
    P.Canvas->FillSolidRect(INT32_MIN, 38, INT32_MAX, INT32_MAX, clBlack);
    P.Canvas->Ellipse(INT32_MAX - 20, 0, INT32_MAX - 6, 14);
    P.Canvas->TextOut(INT32_MAX - 5, 0, QStringLiteral("far"));
    P.Canvas->SetPixel(INT32_MAX, INT32_MAX, clBlack);
    const TPixels Pixels = P.NonWhite();
    EXPECT_TRUE(Pixels.count({0, 5}));
    EXPECT_TRUE(Pixels.count({59, 5}));
    EXPECT_TRUE(Pixels.count({20, 0}));
    EXPECT_TRUE(Pixels.count({20, 39}));
    EXPECT_TRUE(Pixels.count({30, 30}));
    EXPECT_TRUE(Pixels.count({0, 39}));
}

TEST(Canvas, LineRunsCoalesceAndStayNearTheArea) {
    std::vector<QRect> Runs;
    auto Record = [&](int64_t L, int64_t T, int64_t R, int64_t B) {
        Runs.push_back(QRect(int(L), int(T), int(R - L), int(B - T)));
    };
    LineRuns(0, 0, 8, 2, 100, 100, Record);
    // Three runs on rows 0, 1 and 2, the end pixel (8, 2) left out.
    EXPECT_EQ(Runs, (std::vector<QRect>{QRect(0, 0, 2, 1), QRect(2, 1, 4, 1), QRect(6, 2, 2, 1)}));
    Runs.clear();
    LineRuns(-1000000000, -1000000000, 1000000000, 999999999, 100, 100, Record);
    EXPECT_LT(Runs.size(), 250u);
    EXPECT_FALSE(Runs.empty());
}

} // namespace
