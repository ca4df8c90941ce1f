#include "map/CanvasUnit.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

namespace {

// Coordinates beyond this are clipped in floating point before any integer
// walk, so that no product of two coordinates can overflow 64 bits.
constexpr int64_t SafeCoordinate = int64_t(1) << 29;

// Clips the segment P-Q to the rectangle (Liang-Barsky). False when nothing
// of it lies inside.
bool ClipSegment(double& X1, double& Y1, double& X2, double& Y2, double Left, double Top,
                 double Right, double Bottom) {
    double T0 = 0, T1 = 1;
    const double Dx = X2 - X1, Dy = Y2 - Y1;
    const double P[4] = {-Dx, Dx, -Dy, Dy};
    const double Q[4] = {X1 - Left, Right - X1, Y1 - Top, Bottom - Y1};
    for (int I = 0; I < 4; ++I) {
        if (P[I] == 0) {
            if (Q[I] < 0)
                return false;
            continue;
        }
        const double T = Q[I] / P[I];
        if (P[I] < 0)
            T0 = std::max(T0, T);
        else
            T1 = std::min(T1, T);
        if (T0 > T1)
            return false;
    }
    const double NX1 = X1 + T0 * Dx, NY1 = Y1 + T0 * Dy;
    const double NX2 = X1 + T1 * Dx, NY2 = Y1 + T1 * Dy;
    X1 = NX1;
    Y1 = NY1;
    X2 = NX2;
    Y2 = NY2;
    return true;
}

int64_t FloorDiv(int64_t A, int64_t B) { // B > 0
    int64_t Q = A / B;
    if ((A % B) != 0 && A < 0)
        --Q;
    return Q;
}

} // namespace

QColor ColorToQColor(TColor Color) {
    const uint32_t Value = uint32_t(PlainColor(Color));
    return QColor(Value & 0xFF, (Value >> 8) & 0xFF, (Value >> 16) & 0xFF);
}

QString MapFontFamily() {
    static const QString Family = [] {
        const QString Wanted = QStringLiteral("DejaVu Sans");
        return QFontDatabase::families().contains(Wanted) ? Wanted : QFont().family();
    }();
    return Family;
}

int32_t ClampToInt32(int64_t Value) {
    return int32_t(std::clamp<int64_t>(Value, INT32_MIN, INT32_MAX));
}

int32_t FontPointsToPixels(int32_t Points) {
    // Rounded half away from zero, as the screen's point-to-pixel conversion is.
    const int64_t Pixels = (int64_t(Points) * 96 + 36) / 72;
    return int32_t(std::clamp<int64_t>(Pixels, 1, 1000));
}

void LineRuns(int32_t AX1, int32_t AY1, int32_t AX2, int32_t AY2, int32_t Width, int32_t Height,
              const std::function<void(int64_t, int64_t, int64_t, int64_t)>& Run) {
    constexpr int64_t Margin = 4;
    const int64_t W = std::max(0, Width), H = std::max(0, Height);
    int64_t X1 = AX1, Y1 = AY1, X2 = AX2, Y2 = AY2;
    if (X1 == X2 && Y1 == Y2)
        return;
    if (Y1 == Y2 || X1 == X2) {
        const bool Horizontal = Y1 == Y2;
        const int64_t A = Horizontal ? X1 : Y1, B = Horizontal ? X2 : Y2;
        int64_t Lo = B > A ? A : B + 1;
        int64_t Hi = B > A ? B : A + 1;
        Lo = std::max(Lo, -Margin);
        Hi = std::min(Hi, (Horizontal ? W : H) + Margin);
        if (Lo >= Hi)
            return;
        if (Horizontal)
            Run(Lo, Y1, Hi, Y1 + 1);
        else
            Run(X1, Lo, X1 + 1, Hi);
        return;
    }
    // A diagonal line far off the area is cut down first; the pixels of the
    // visible part may then shift by one, which nobody can see.
    if (std::max({std::llabs(X1), std::llabs(Y1), std::llabs(X2), std::llabs(Y2)}) >
        SafeCoordinate) {
        double DX1 = double(X1), DY1 = double(Y1), DX2 = double(X2), DY2 = double(Y2);
        if (!ClipSegment(DX1, DY1, DX2, DY2, -Margin, -Margin, double(W + Margin),
                         double(H + Margin)))
            return;
        X1 = std::llround(DX1);
        Y1 = std::llround(DY1);
        X2 = std::llround(DX2);
        Y2 = std::llround(DY2);
        if (X1 == X2 && Y1 == Y2)
            return;
    }
    // Pixel i of n (the end left out) on the major axis; the minor coordinate
    // is i * minor / major rounded half up.
    const int64_t Dx = X2 - X1, Dy = Y2 - Y1;
    const int64_t Sx = Dx < 0 ? -1 : 1, Sy = Dy < 0 ? -1 : 1;
    const int64_t Ax = std::llabs(Dx), Ay = std::llabs(Dy);
    const bool XMajor = Ax >= Ay;
    const int64_t N = XMajor ? Ax : Ay;
    const int64_t Major0 = XMajor ? X1 : Y1;
    const int64_t MajorStep = XMajor ? Sx : Sy;
    const int64_t MajorLimit = XMajor ? W : H;
    const int64_t Minor0 = XMajor ? Y1 : X1;
    const int64_t MinorStep = XMajor ? Sy : Sx;
    const int64_t AMajor = XMajor ? Ax : Ay, AMinor = XMajor ? Ay : Ax;
    // Only the steps whose major coordinate lies near the area are walked.
    int64_t First = 0, Last = N - 1;
    if (MajorStep > 0) {
        First = std::max(First, -Margin - Major0);
        Last = std::min(Last, MajorLimit + Margin - Major0);
    } else {
        First = std::max(First, Major0 - (MajorLimit + Margin));
        Last = std::min(Last, Major0 + Margin);
    }
    auto MinorAt = [&](int64_t I) {
        return Minor0 + MinorStep * FloorDiv(2 * I * AMinor + AMajor, 2 * AMajor);
    };
    int64_t RunStart = -1, RunMinor = 0;
    auto Flush = [&](int64_t EndI) {
        if (RunStart < 0)
            return;
        const int64_t A = Major0 + MajorStep * RunStart;
        const int64_t B = Major0 + MajorStep * (EndI - 1);
        const int64_t Lo = std::min(A, B), Hi = std::max(A, B) + 1;
        if (XMajor)
            Run(Lo, RunMinor, Hi, RunMinor + 1);
        else
            Run(RunMinor, Lo, RunMinor + 1, Hi);
    };
    for (int64_t I = First; I <= Last; ++I) {
        const int64_t M = MinorAt(I);
        if (RunStart >= 0 && M == RunMinor)
            continue;
        Flush(I);
        RunStart = I;
        RunMinor = M;
    }
    Flush(Last + 1);
}

// ---------------------------------------------------------------- TCanvas

void TCanvas::LineTo(int32_t X, int32_t Y) {
    Line(FPenPos.x(), FPenPos.y(), X, Y);
    FPenPos = QPoint(X, Y);
}

void TCanvas::SetPixel(int32_t X, int32_t Y, TColor Color) {
    if (X == INT32_MAX || Y == INT32_MAX)
        return;
    FillSolidRect(X, Y, X + 1, Y + 1, Color);
}

void TCanvas::FillPolygon(const QPolygon& Points, TColor Color) {
    if (Points.isEmpty())
        return;
    int64_t Top = Points.first().y(), Bottom = Top;
    for (const QPoint& P : Points) {
        Top = std::min<int64_t>(Top, P.y());
        Bottom = std::max<int64_t>(Bottom, P.y());
    }
    // Rows off the canvas are skipped; a convex polygon meets each row in
    // one run, from the leftmost to the rightmost crossing of its edges.
    Top = std::max<int64_t>(Top, -1);
    Bottom = std::min<int64_t>(Bottom, int64_t(Height()) + 1);
    const qsizetype N = Points.size();
    for (int64_t Y = Top; Y <= Bottom; ++Y) {
        double Left = std::numeric_limits<double>::infinity();
        double Right = -Left;
        for (qsizetype I = 0; I < N; ++I) {
            const QPoint P = Points[I], Q = Points[(I + 1) % N];
            if (Y < std::min(P.y(), Q.y()) || Y > std::max(P.y(), Q.y()))
                continue;
            double X1 = P.x(), X2 = Q.x();
            if (P.y() != Q.y())
                X1 = X2 = P.x() + double(Y - P.y()) * (Q.x() - P.x()) / (Q.y() - P.y());
            Left = std::min({Left, X1, X2});
            Right = std::max({Right, X1, X2});
        }
        if (Left > Right)
            continue;
        const int64_t L = int64_t(std::ceil(Left - 1e-9)), R = int64_t(std::floor(Right + 1e-9));
        if (L <= R)
            FillSolidRect(ClampToInt32(L), int32_t(Y), ClampToInt32(R + 1), int32_t(Y + 1), Color);
    }
}

QString TCanvas::ElidedText(const QString& Text, int32_t Width) {
    if (TextWidth(Text) <= Width)
        return Text;
    const QString Ellipsis = QStringLiteral("\u2026");
    if (TextWidth(Ellipsis) > Width)
        return QString();
    // Cuts fall between whole characters (an accent stays on its letter).
    std::vector<qsizetype> Cuts{0};
    QTextBoundaryFinder Finder(QTextBoundaryFinder::Grapheme, Text);
    for (qsizetype At = Finder.toNextBoundary(); At > 0 && At < Text.size();
         At = Finder.toNextBoundary())
        Cuts.push_back(At);
    auto Cut = [&](size_t K) {
        QString Head = Text.left(Cuts[K]);
        while (!Head.isEmpty() && Head.back().isSpace())
            Head.chop(1);
        return Head + Ellipsis;
    };
    // The longest head that fits: widths grow with the head.
    size_t Lo = 0, Hi = Cuts.size() - 1;
    while (Lo < Hi) {
        const size_t Mid = Lo + (Hi - Lo + 1) / 2;
        if (TextWidth(Cut(Mid)) <= Width)
            Lo = Mid;
        else
            Hi = Mid - 1;
    }
    return Cut(Lo);
}

// ---------------------------------------------------------------- TPainterCanvas

TPainterCanvas::TPainterCanvas(QPainter& Painter, int32_t Width, int32_t Height)
    : TCanvas(Width, Height), FPainter(Painter) {
    FPainter.save();
    FRaster = FPainter.paintEngine() && FPainter.paintEngine()->type() == QPaintEngine::Raster;
    FPainter.setRenderHint(QPainter::Antialiasing, false);
    FPainter.setRenderHint(QPainter::TextAntialiasing, true);
}

TPainterCanvas::~TPainterCanvas() {
    if (FPainter.isActive())
        FPainter.restore();
}

QFont TPainterCanvas::CurrentFont() const {
    QFont Font(MapFontFamily());
    Font.setPixelSize(FontPointsToPixels(FontSize()));
    Font.setBold(FontBold());
    return Font;
}

void TPainterCanvas::Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
    if (PenWidth() <= 1)
        ThinLine(X1, Y1, X2, Y2);
    else
        WideLine(X1, Y1, X2, Y2);
}

// One-pixel lines are set as runs of whole pixels rather than stroked, so
// that the rule "the last pixel is left out" holds exactly in every direction
// and the vector outputs show the same pixels as the raster one.
void TPainterCanvas::ThinLine(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
    const TColor Color = PenColor();
    LineRuns(X1, Y1, X2, Y2, Width(), Height(),
             [&](int64_t L, int64_t T, int64_t R, int64_t B) { FillClipped(L, T, R, B, Color); });
}

// Wide pens have round ends and are centred on the line: a pen of width 5 on
// row y covers rows y - 2 .. y + 2. Shapes are placed on pixel centres (the
// pixel (x, y) stands for the point (x + 0.5, y + 0.5)).
//
// On raster devices the shapes of the map (horizontal and vertical lines,
// circles) are filled here row by row, sampling pixel centres: exact, the
// same on every Qt version, and several times faster than Qt's stroker, which
// matters for maps of thousands of elements. Vector devices get real strokes,
// which stay lines and circles for whoever edits the file.
void TPainterCanvas::WideLine(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
    double DX1 = X1 + 0.5, DY1 = Y1 + 0.5, DX2 = X2 + 0.5, DY2 = Y2 + 0.5;
    const double Margin = PenWidth() + 2.0;
    if (!ClipSegment(DX1, DY1, DX2, DY2, -Margin, -Margin, Width() + Margin, Height() + Margin))
        return;
    if (DX1 == DX2 && DY1 == DY2)
        return; // a line without length leaves nothing
    const double W = PenWidth(), H = W / 2;
    if (FRaster && (DX1 == DX2 || DY1 == DY2)) {
        const TColor Color = PenColor();
        const double Lo = std::min(DX1 == DX2 ? DY1 : DX1, DX1 == DX2 ? DY2 : DX2);
        const double Hi = std::max(DX1 == DX2 ? DY1 : DX1, DX1 == DX2 ? DY2 : DX2);
        const double Across = DX1 == DX2 ? DX1 : DY1;
        // Pixels whose centres lie within the band.
        const int64_t A0 = int64_t(std::ceil(Across - H - 0.5));
        const int64_t A1 = int64_t(std::floor(Across + H - 0.5)) + 1;
        const int64_t L0 = int64_t(std::ceil(Lo - 0.5)), L1 = int64_t(std::floor(Hi - 0.5)) + 1;
        if (DY1 == DY2)
            FillClipped(L0, A0, L1, A1, Color);
        else
            FillClipped(A0, L0, A1, L1, Color);
        FillDisc(DX1, DY1, H, Color);
        FillDisc(DX2, DY2, H, Color);
        return;
    }
    FPainter.setPen(QPen(ColorToQColor(PenColor()), W, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    FPainter.drawLine(QPointF(DX1, DY1), QPointF(DX2, DY2));
}

void TPainterCanvas::FillDisc(double CX, double CY, double R, TColor Color) {
    const double Top = std::max(std::ceil(CY - R - 0.5), -1.0);
    const double Bottom = std::min(std::floor(CY + R - 0.5), double(Height()) + 1);
    for (double Y = Top; Y <= Bottom; ++Y) {
        const double DY = Y + 0.5 - CY;
        const double Q = R * R - DY * DY;
        if (Q < 0)
            continue;
        const double Half = std::sqrt(Q);
        const double L = std::max(std::ceil(CX - Half - 0.5), -1.0);
        const double Right = std::min(std::floor(CX + Half - 0.5), double(Width()) + 1);
        if (L <= Right)
            FillClipped(int64_t(L), int64_t(Y), int64_t(Right) + 1, int64_t(Y) + 1, Color);
    }
}

void TPainterCanvas::Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
    const double Margin = PenWidth() + 2.0;
    const double Left = std::min(X1, X2), Right = std::max(X1, X2);
    const double Top = std::min(Y1, Y2), Bottom = std::max(Y1, Y2);
    if (Right + Margin < 0 || Bottom + Margin < 0 || Left - Margin > Width() ||
        Top - Margin > Height())
        return;
    const QRectF Box(Left + 0.5, Top + 0.5, Right - Left, Bottom - Top);
    if (FRaster && PenWidth() > 1 && Box.width() == Box.height()) {
        // A circle with a wide outline is a ring: the outer disc in the pen
        // colour, the inner one in the brush colour.
        const double R = Box.width() / 2, H = PenWidth() / 2.0;
        FillDisc(Box.center().x(), Box.center().y(), R + H, PenColor());
        if (R > H)
            FillDisc(Box.center().x(), Box.center().y(), R - H, BrushColor());
        return;
    }
    QPen Outline(ColorToQColor(PenColor()), PenWidth(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (PenWidth() <= 1)
        Outline.setCosmetic(true);
    FPainter.setPen(Outline);
    FPainter.setBrush(ColorToQColor(BrushColor()));
    FPainter.drawEllipse(Box);
    FPainter.setBrush(Qt::NoBrush);
}

void TPainterCanvas::FillPolygon(const QPolygon& Points, TColor Color) {
    if (FRaster) {
        TCanvas::FillPolygon(Points, Color);
        return;
    }
    // Vector devices get the real shape; the outline of one pixel takes in
    // the half pixels around the corners' centres that the raster sets too.
    QPolygonF Shape;
    for (const QPoint& P : Points)
        Shape << QPointF(P.x() + 0.5, P.y() + 0.5);
    FPainter.setPen(QPen(ColorToQColor(Color), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    FPainter.setBrush(ColorToQColor(Color));
    FPainter.drawPolygon(Shape);
    FPainter.setBrush(Qt::NoBrush);
}

void TPainterCanvas::FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
    FillSolidRect(Left, Top, Right, Bottom, BrushColor());
}

void TPainterCanvas::FillSolidRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom,
                                   TColor Color) {
    FillClipped(Left, Top, Right, Bottom, Color);
}

void TPainterCanvas::FillClipped(int64_t Left, int64_t Top, int64_t Right, int64_t Bottom,
                                 TColor Color) {
    if (Right <= Left || Bottom <= Top)
        return;
    // Cut to the canvas, so that far-away rectangles never reach the painter.
    const int64_t L = std::max<int64_t>(Left, -1), T = std::max<int64_t>(Top, -1);
    const int64_t R = std::min<int64_t>(Right, int64_t(Width()) + 1);
    const int64_t B = std::min<int64_t>(Bottom, int64_t(Height()) + 1);
    if (R <= L || B <= T)
        return;
    FPainter.fillRect(QRect(int(L), int(T), int(R - L), int(B - T)), ColorToQColor(Color));
}

const QFontMetrics& TPainterCanvas::Metrics() {
    // One key for size and weight: the pixel size, negative when bold.
    const int32_t Pixels = FontPointsToPixels(FontSize()) * (FontBold() ? -1 : 1);
    if (Pixels != FMetricsPixels) {
        FFont = CurrentFont();
        FMetrics = QFontMetrics(FFont);
        FMetricsPixels = Pixels;
    }
    return FMetrics;
}

void TPainterCanvas::TextOut(int32_t X, int32_t Y, const QString& Text) {
    const int W = TextWidth(Text);
    const QFontMetrics& M = Metrics();
    const int H = std::max(0, M.height());
    if (int64_t(X) + W < 0 || int64_t(Y) + H < 0 || X > Width() || Y > Height())
        return;
    FPainter.fillRect(QRect(X, Y, W, H), ColorToQColor(BrushColor()));
    FPainter.setFont(FFont);
    FPainter.setPen(ColorToQColor(FontColor()));
    FPainter.drawText(QPointF(X, double(Y) + M.ascent()), Text);
}

int32_t TPainterCanvas::TextWidth(const QString& Text) {
    const QFontMetrics& M = Metrics();
    if (FMeasuredPixels != FMetricsPixels || FMeasuredText != Text) {
        FMeasuredWidth = std::max(0, M.horizontalAdvance(Text));
        FMeasuredText = Text;
        FMeasuredPixels = FMetricsPixels;
    }
    return FMeasuredWidth;
}

int32_t TPainterCanvas::TextHeight(const QString&) {
    return std::max(0, Metrics().height());
}
