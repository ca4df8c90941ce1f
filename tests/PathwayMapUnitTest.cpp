#include "map/PathwayMapUnit.h"
#include "base/ErrorUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/FixedTextCanvas.h"
#include "tests/support/MapRows.h"
#include "tests/support/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

namespace {

constexpr TColor Gray = RGBToColor(128, 128, 128);

// What a recording canvas saw: every drawing call with the drawing state of
// the moment.
struct TRecording {
    enum TKind { kLine, kEllipse, kFillRect, kSolidRect, kPixel, kText };
    struct TOp {
        TKind Kind;
        int32_t X1, Y1, X2, Y2;
        QString Text;
        TColor Pen;
        int32_t PenWidth;
        TColor Brush;
        TColor Color; // of solid rectangles and pixels
        int32_t FontSize;
        TColor FontColor;
    };

    std::vector<TOp> Of(TKind Kind) const {
        std::vector<TOp> Result;
        std::copy_if(Ops.begin(), Ops.end(), std::back_inserter(Result),
                     [&](const TOp& Op) { return Op.Kind == Kind; });
        return Result;
    }
    const TOp* Text(const QString& T) const {
        for (const TOp& Op : Ops)
            if (Op.Kind == kText && Op.Text == T)
                return &Op;
        return nullptr;
    }
    std::vector<QString> TextsAt(int32_t Y) const {
        std::vector<QString> Result;
        for (const TOp& Op : Ops)
            if (Op.Kind == kText && Op.Y1 == Y)
                Result.push_back(Op.Text);
        return Result;
    }
    bool HasLine(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) const {
        return std::any_of(Ops.begin(), Ops.end(), [&](const TOp& Op) {
            return Op.Kind == kLine && Op.X1 == X1 && Op.Y1 == Y1 && Op.X2 == X2 && Op.Y2 == Y2;
        });
    }

    std::vector<TOp> Ops;
};

// A canvas that records what is drawn, its text measured by hand.
class TRecordingCanvas : public TFixedTextCanvas, public TRecording {
public:
    TRecordingCanvas(int32_t W = 1000, int32_t H = 400) : TFixedTextCanvas(W, H) {}

    void Ellipse(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override {
        Record(kEllipse, X1, Y1, X2, Y2);
    }
    void FillRect(int32_t L, int32_t T, int32_t R, int32_t B) override {
        Record(kFillRect, L, T, R, B);
    }
    void FillSolidRect(int32_t L, int32_t T, int32_t R, int32_t B, TColor C) override {
        Record(kSolidRect, L, T, R, B, QString(), C);
    }
    void SetPixel(int32_t X, int32_t Y, TColor C) override {
        Record(kPixel, X, Y, X, Y, QString(), C);
    }
    void TextOut(int32_t X, int32_t Y, const QString& Text) override {
        Record(kText, X, Y, X, Y, Text);
    }

protected:
    void Line(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) override {
        Record(kLine, X1, Y1, X2, Y2);
    }

private:
    void Record(TKind Kind, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                const QString& Text = QString(), TColor Color = 0) {
        Ops.push_back({Kind, X1, Y1, X2, Y2, Text, PenColor(), PenWidth(), BrushColor(), Color,
                       FontSize(), FontColor()});
    }
};

class PathwayMap : public ::testing::Test {
protected:
    void SetUp() override {
        List.SetCurrentElementID(-1);
        SetUpScenarioYears(Scenarios);
    }
    // What a new condition-based pathway holds.
    TElement* NewPathway() {
        List.SetTippingTimeValuesCount(1);
        TElement* Current = Action(QStringLiteral("Current Situation"), 10, Gray);
        List.SetCurrentElementID(Current->ID());
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(100);
        return Current;
    }
    TElement* Action(const QString& Name, double Value, TColor Color) {
        return List.AddSimpleElement(Name, Color, Value, 0, 0);
    }
    TElement* Pathway(double Value, const TElement* Predecessor, const TElement* Second,
                      TCombinationType Type = ctSequence) {
        TElement* E =
            List.AddCombinationElement(QStringLiteral("P"), Value, Predecessor->ID(), Second->ID());
        E->SetCombinationType(Type);
        return E;
    }
    // A scenario with one cell per decade from 2010 ("" for no value).
    void AddScenario(const QString& Caption, const QStringList& Cells) {
        AddScenarioColumn(Scenarios, Caption, Cells);
    }
    TRecording Record(int32_t Series = -1) {
        TRecordingCanvas Canvas(Settings.DrawingAreaWidth(), Settings.DrawingAreaHeight());
        Map.DrawPathwayOnCanvas(Canvas, Series);
        return Canvas;
    }
    QImage Render(int32_t Series = -1) {
        QImage Image;
        Map.DrawPathwayOnBitmap(Image, Series);
        return Image;
    }
    static QRgb Rgb(TColor C) { return ColorToQColor(C).rgb(); }

    TGraphicsSettings Settings;
    TElementsList List;
    TScenarioFrame Scenarios;
    TPathwayMap Map{Settings, List, Scenarios};
};

TEST_F(PathwayMap, NewPathwayIsDrawnInOrder) {
    NewPathway();
    const TRecording C = Record();
    ASSERT_GE(C.Ops.size(), 4u);
    // Credit line first, in 8 points.
    EXPECT_EQ(C.Ops[0].Kind, TRecording::kText);
    EXPECT_EQ(C.Ops[0].Text, MapCreditLine());
    EXPECT_EQ(C.Ops[0].X1, 10);
    EXPECT_EQ(C.Ops[0].Y1, 400 - 14);
    EXPECT_EQ(C.Ops[0].FontSize, 8);
    // The current-situation line in the current element's grey, width 5.
    EXPECT_EQ(C.Ops[1].Kind, TRecording::kLine);
    EXPECT_EQ(QRect(C.Ops[1].X1, C.Ops[1].Y1, C.Ops[1].X2, C.Ops[1].Y2), QRect(284, 10, 284, 320));
    EXPECT_EQ(C.Ops[1].Pen, Gray);
    EXPECT_EQ(C.Ops[1].PenWidth, 5);
    // Then the axes, then the caption centred on row 165 (text height 19).
    const TRecordingCanvas::TOp* Caption = C.Text(QStringLiteral("Current Situation"));
    ASSERT_TRUE(Caption);
    EXPECT_EQ(Caption->X1, 10);
    EXPECT_EQ(Caption->Y1, 165 - 19 / 2);
    EXPECT_EQ(Caption->FontColor, Gray);
    EXPECT_EQ(Caption->FontSize, 12);
    EXPECT_LT(C.Text(QStringLiteral("[no caption]")), Caption);
    // Its line with the run-on, and the black end bar.
    const auto Lines = C.Of(TRecording::kLine);
    ASSERT_GE(Lines.size(), 2u);
    const auto& Line = Lines[Lines.size() - 2];
    const auto& Bar = Lines.back();
    EXPECT_EQ(QRect(Line.X1, Line.Y1, Line.X2, Line.Y2), QRect(210, 165, 294, 165));
    EXPECT_EQ(Line.Pen, Gray);
    EXPECT_EQ(Line.PenWidth, 5);
    EXPECT_EQ(QRect(Bar.X1, Bar.Y1, Bar.X2, Bar.Y2), QRect(294, 160, 294, 170));
    EXPECT_EQ(Bar.Pen, clBlack);
    EXPECT_EQ(Bar.PenWidth, 5);
    EXPECT_TRUE(C.Of(TRecording::kEllipse).empty()) << "the current element has no marker";
    EXPECT_EQ(C.Ops.back().Kind, TRecording::kLine);
}

TEST_F(PathwayMap, NewPathwayPixels) {
    NewPathway();
    const QImage Image = Render();
    ASSERT_EQ(Image.size(), QSize(1000, 400));
    const QRgb Grey = qRgb(128, 128, 128), Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255);
    // The element's line: width 5 on row 165, from x 210 on.
    for (int X : {210, 250, 280, 290}) {
        for (int Y = 163; Y <= 167; ++Y) {
            EXPECT_EQ(Image.pixel(X, Y), Grey) << X << "," << Y;
        }
        EXPECT_EQ(Image.pixel(X, 162), White) << X;
        EXPECT_EQ(Image.pixel(X, 168), White) << X;
    }
    EXPECT_EQ(Image.pixel(208, 165), Grey); // round start
    EXPECT_EQ(Image.pixel(207, 165), White);
    // The end bar at x 294 from y 160 to 170.
    for (int Y : {160, 165, 170}) {
        for (int X = 292; X <= 296; ++X) {
            EXPECT_EQ(Image.pixel(X, Y), Black) << X << "," << Y;
        }
    }
    EXPECT_EQ(Image.pixel(291, 160), White);
    EXPECT_EQ(Image.pixel(294, 157), White);
    EXPECT_EQ(Image.pixel(294, 173), White);
    // The current-situation line at x 284 from TopMargin to AxisTop.
    for (int Y : {10, 100, 300, 320}) {
        EXPECT_EQ(Image.pixel(284, Y), Grey) << Y;
    }
    EXPECT_EQ(Image.pixel(281, 100), White);
    EXPECT_EQ(Image.pixel(287, 100), White);
    EXPECT_EQ(Image.pixel(284, 6), White);
    // No marker around the line start.
    EXPECT_EQ(Image.pixel(210, 157), White);
    EXPECT_EQ(Image.pixel(202, 165), White);
    // The axis line at AxisTop + 20 from x 210 to 950, with its end tick.
    EXPECT_EQ(Image.pixel(400, 340), Black);
    EXPECT_EQ(Image.pixel(949, 340), Black);
    EXPECT_EQ(Image.pixel(950, 349), Black);
    EXPECT_EQ(Image.pixel(950, 350), White);
    EXPECT_EQ(Image.pixel(400, 341), White);
}

TEST_F(PathwayMap, EmptyListGivesGreyLineAtZeroCreditLineAndAxes) {
    const QImage Image = Render();
    const QRgb Grey = qRgb(128, 128, 128), White = qRgb(255, 255, 255);
    for (int Y : {10, 150, 320}) {
        EXPECT_EQ(Image.pixel(210, Y), Grey) << Y;
    }
    EXPECT_EQ(Image.pixel(215, 150), White);
    int Ink = 0; // the credit line at the foot
    for (int Y = 386; Y < 400; ++Y)
        for (int X = 10; X < 100; ++X)
            if (qGray(Image.pixel(X, Y)) < 128)
                ++Ink;
    EXPECT_GT(Ink, 20);
    EXPECT_EQ(Image.pixel(580, 340), qRgb(0, 0, 0));
}

TEST_F(PathwayMap, DefaultAxisLabelsAreCentredOnTheirTicks) {
    const TRecording C = Record();
    const int32_t A = 320;
    EXPECT_EQ(C.TextsAt(A + 40), (std::vector<QString>{"0", "20000", "10000"}));
    EXPECT_EQ(C.Text("0")->X1, 210 - 4);
    EXPECT_EQ(C.Text("10000")->X1, 580 - 20);
    EXPECT_EQ(C.Text("20000")->X1, 950 - 20);
    EXPECT_TRUE(C.HasLine(210, A + 20, 210, A + 30));
    EXPECT_TRUE(C.HasLine(580, A + 20, 580, A + 30));
    EXPECT_TRUE(C.HasLine(950, A + 20, 950, A + 30));
    EXPECT_TRUE(C.HasLine(210, A + 20, 950, A + 20));
    const auto* Title = C.Text("[no caption]");
    ASSERT_TRUE(Title);
    EXPECT_EQ(QPoint(Title->X1, Title->Y1), QPoint(10, A + 20));
    EXPECT_EQ(Title->FontColor, clBlack);
    for (const auto& Op : C.Of(TRecording::kLine)) {
        if (Op.Y1 >= A + 20) {
            EXPECT_EQ(Op.PenWidth, 1);
            EXPECT_EQ(Op.Pen, clBlack);
        }
    }
}

struct TLabelCase {
    double Min, Max;
    QChar Separator;
    std::vector<QString> Labels; // minimum, maximum, middle
};

TEST_F(PathwayMap, MiddleLabelsDependOnTheWidthOfTheRange) {
    const TLabelCase Cases[] = {
        {0, 100, '.', {"0", "100", "50"}},
        {0, 50, '.', {"0", "50", "25.0"}},
        {0, 0.5, '.', {"0", "0.5", "0.250"}},
        {0, 0.5, ',', {"0", "0,5", "0,250"}},
        {0, 50, ',', {"0", "50", "25,0"}},
        {0, 2000, '.', {"0", "2000", "1000"}},
        {-0.25, 0.25, '.', {"-0.25", "0.25", "0.000"}},
    };
    for (const TLabelCase& Case : Cases) {
        TSeparatorGuard Guard(Case.Separator);
        Settings.SetMinTippingPointValue(Case.Min);
        Settings.SetMaxTippingPointValue(Case.Max);
        EXPECT_EQ(Record().TextsAt(320 + 40), Case.Labels) << Case.Min << " .. " << Case.Max;
    }
}

TEST_F(PathwayMap, TickCountIsHeldToTwoToTwenty) {
    const std::pair<int32_t, size_t> Cases[] = {
        {3, 1}, {2, 0}, {1, 0}, {-5, 0}, {20, 18}, {21, 18}, {INT32_MAX, 18}, {INT32_MIN, 0}};
    for (const auto& [Ticks, Middle] : Cases) {
        Settings.SetTicksXAxis(Ticks);
        EXPECT_EQ(Record().TextsAt(360).size(), 2 + Middle) << Ticks;
    }
}

TEST_F(PathwayMap, HiddenTippingAxisKeepsTheScenarioAxes) {
    AddScenario(QStringLiteral("Wet"), {"0", "5000"});
    Settings.SetShowXAxis(false);
    const TRecording C = Record();
    const int32_t A = 400 - 10 - 120;
    EXPECT_FALSE(C.Text("[no caption]"));
    EXPECT_TRUE(C.TextsAt(A + 40).empty());
    EXPECT_FALSE(C.HasLine(210, A + 20, 950, A + 20));
    EXPECT_TRUE(C.Text("Wet"));
    EXPECT_TRUE(C.Text("2020"));
}

TEST_F(PathwayMap, ScenarioAxesTickTheDefinedYears) {
    AddScenario(QStringLiteral("Wet"), {"0", "", "", "", "10000"});
    AddScenario(QStringLiteral("Flat"), {"5000", "5000", "5000"});
    AddScenario(QStringLiteral("Close"), {"0", "100", "200", "2000"});
    const TRecording C = Record();
    EXPECT_EQ(Map.Geometry(-1).AxisBandHeight(), 50 * 3 + 70);
    const int32_t A = 400 - 10 - 220;
    // Wet: name, polyline from PlotLeft over the two defined years, ticks.
    const int32_t Y0 = A + 60;
    EXPECT_EQ(QPoint(C.Text("Wet")->X1, C.Text("Wet")->Y1), QPoint(10, Y0));
    EXPECT_TRUE(C.HasLine(210, Y0, 210, Y0 + 10));
    EXPECT_TRUE(C.HasLine(210, Y0, 580, Y0));
    EXPECT_TRUE(C.HasLine(580, Y0, 580, Y0 + 10));
    EXPECT_EQ(C.TextsAt(Y0 + 20), (std::vector<QString>{"2010", "2050"}));
    EXPECT_EQ(C.Text("2050")->X1, 580 - 16);
    // Flat: three ticks at one x, only the first label.
    const int32_t Y1 = A + 110;
    EXPECT_EQ(C.TextsAt(Y1 + 20), (std::vector<QString>{"2010"}));
    const auto Lines = C.Of(TRecording::kLine);
    EXPECT_EQ(std::count_if(Lines.begin(), Lines.end(),
                            [&](const auto& L) {
                                return L.X1 == 395 && L.Y1 == Y1 && L.X2 == 395 && L.Y2 == Y1 + 10;
                            }),
              3);
    // Close: 2020 would overlap 2010 (x 214 against 210) and is left out;
    // 2030 (x 217) overlaps 2010 too; 2040 (x 284) is far enough.
    const int32_t Y2 = A + 160;
    EXPECT_EQ(C.TextsAt(Y2 + 20), (std::vector<QString>{"2010", "2040"}));
}

TEST_F(PathwayMap, TimeBasedMapShowsTheSelectedSeries) {
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(2);
    List.SetTippingTimeColumnCaption(1, QStringLiteral("Wet"));
    TElement* Current = Action(QStringLiteral("Now"), 0, Gray);
    Current->SetTippingTimeValue(0, 2020);
    Current->SetTippingTimeValue(1, 2030);
    List.SetCurrentElementID(Current->ID());
    TElement* Dike = Action(QStringLiteral("Dike"), 0, clBlue);
    Dike->SetTippingTimeValue(0, 2050);
    Dike->SetTippingTimeValue(1, 2080);
    AddScenario(QStringLiteral("Wet scenario"), {"2000"});
    AddScenario(QStringLiteral("Dry scenario"), {"2000"});
    Settings.SetMinTippingPointValue(2000);
    Settings.SetMaxTippingPointValue(2100);
    Settings.SetXAxisTitle(QStringLiteral("Year"));
    for (const int32_t Series : {0, 1}) {
        const TRecording C = Record(Series);
        EXPECT_EQ(Map.Geometry(Series).AxisBandHeight(), 70);
        const int32_t XNow = Series == 0 ? 358 : 432, XDike = Series == 0 ? 580 : 802;
        EXPECT_TRUE(C.HasLine(XNow, 10, XNow, 320)) << Series;
        EXPECT_TRUE(C.HasLine(XNow, 320, XDike + 10, 320)) << Series;
        // Its axis is time: no scenario axes, and the title says which time
        // column the map shows.
        EXPECT_FALSE(C.Text("Wet scenario"));
        EXPECT_FALSE(C.Text("Dry scenario"));
        EXPECT_EQ(C.TextsAt(340).front(), Series == 0 ? QStringLiteral("Year \u2013 Time0")
                                                      : QStringLiteral("Year \u2013 Wet"));
    }
    // Without a column to show (an empty selector) the title stands alone.
    EXPECT_EQ(Record(-1).TextsAt(340).front(), QStringLiteral("Year"));
    EXPECT_EQ(Record(2).TextsAt(340).front(), QStringLiteral("Year"));
}

TEST_F(PathwayMap, VisualEffectsSuppressLinesAndTransfersOnly) {
    TElement* Current = NewPathway();
    (void)Current;
    TElement* Hidden = Action(QStringLiteral("Hidden"), 30, clBlue);
    TElement* Green = Action(QStringLiteral("Green"), 40, clGreen);
    TElement* After = Pathway(60, Hidden, Green);
    Hidden->SetVisualEffect(veHide);
    {
        const TRecording C = Record();
        EXPECT_TRUE(C.Text("Hidden")) << "captions are written whatever the effect";
        for (const auto& L : C.Of(TRecording::kLine)) {
            EXPECT_NE(L.Pen, clBlue) << "neither its line nor the transfer from it";
        }
        // Green's row is the last; After tips later: a sub-row, which would
        // lie on the axis line 20 below and so lies 10 below instead.
        const int32_t Y = 320;
        const int32_t YAfter = Y + 10;
        EXPECT_TRUE(C.HasLine(432, YAfter, 654 + 10, YAfter));
        // Markers for all but the current element, After's where Hidden tips.
        const auto Markers = C.Of(TRecording::kEllipse);
        ASSERT_EQ(Markers.size(), 3u);
        EXPECT_EQ(QRect(Markers[2].X1, Markers[2].Y1, Markers[2].X2, Markers[2].Y2),
                  QRect(432 - 7, YAfter - 7, 432 + 7, YAfter + 7));
        EXPECT_EQ(Markers[0].Y1, 165 - 7); // Hidden's own station, at x 284
        EXPECT_EQ(Markers[0].X1, 284 - 7);
        EXPECT_EQ(Markers[0].PenWidth, 5);
        EXPECT_EQ(Markers[0].Brush, clWhite);
    }
    Hidden->SetVisualEffect(veShow);
    After->SetVisualEffect(veGrayed);
    const TRecording C = Record();
    EXPECT_TRUE(C.HasLine(432, 330, 432, 165)) << "the transfer from Hidden";
    EXPECT_FALSE(C.HasLine(432, 330, 654 + 10, 330)) << "but not After's own line";
}

TEST_F(PathwayMap, ElementsEndingBeforeTheCurrentSituationGetNoRunOn) {
    NewPathway()->SetTippingPointValue(50);
    Action(QStringLiteral("Early"), 20, clRed);
    const TRecording C = Record();
    // Early lies on row 320 and runs from where the current situation tips
    // (x 580) back to its own x (358), without run-on or end bar.
    EXPECT_TRUE(C.HasLine(580, 320, 358, 320));
    for (const auto& L : C.Of(TRecording::kLine)) {
        EXPECT_FALSE(L.Pen == clBlack && L.PenWidth == 5 && L.Y1 == 315) << "no end bar";
    }
}

TEST_F(PathwayMap, CombinedElementsAreDashedRuns) {
    NewPathway();
    TElement* Red = Action(QStringLiteral("Red"), 20, clRed);
    TElement* Blue = Action(QStringLiteral("Blue"), 30, clBlue);
    Pathway(50, Red, Blue, ctCombine);
    const TRecording C = Record();
    const auto Runs = C.Of(TRecording::kSolidRect);
    ASSERT_FALSE(Runs.empty());
    for (const auto& R : Runs) {
        EXPECT_EQ(R.Y2 - R.Y1, 5);
        EXPECT_LE(R.X2 - R.X1, 10);
        EXPECT_EQ(R.Color, R.X1 % 20 < 10 ? clBlue : clRed);
        EXPECT_EQ(R.Brush, clWhite) << "the brush stays white";
    }
    EXPECT_EQ(Runs.front().X1, 358);
    EXPECT_EQ(Runs.back().X2, 580 + 10);
}

TEST_F(PathwayMap, DashedBandPixels) {
    QImage Image(300, 200, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        QPainter Painter(&Image);
        TPainterCanvas Canvas(Painter, 300, 200);
        TPathwayMap::DrawDashedLine(Canvas, 210, 165, 250, 165, clBlue, clRed);
        EXPECT_EQ(Canvas.BrushColor(), clWhite);
    }
    const QRgb Own = qRgb(0, 0, 255), Predecessor = qRgb(255, 0, 0), White = qRgb(255, 255, 255);
    for (int Y = 163; Y <= 167; ++Y) {
        for (int X = 210; X < 250; ++X) {
            const bool OwnColour = (X >= 220 && X < 230) || X >= 240;
            EXPECT_EQ(Image.pixel(X, Y), OwnColour ? Own : Predecessor) << X << "," << Y;
        }
        EXPECT_EQ(Image.pixel(250, Y), White);
        EXPECT_EQ(Image.pixel(209, Y), White);
    }
    for (int X = 205; X < 255; ++X) {
        EXPECT_EQ(Image.pixel(X, 162), White);
        EXPECT_EQ(Image.pixel(X, 168), White);
    }
}

TEST_F(PathwayMap, DashedLinesRunEitherWayAndStayOnTheCanvas) {
    TRecordingCanvas C(100, 100);
    TPathwayMap::DrawDashedLine(C, 35, 50, 5, 50, clBlue, clRed); // pixels 35 down to 6
    TPathwayMap::DrawDashedLine(C, 7, 20, 7, 20, clBlue, clRed);  // nothing
    TPathwayMap::DrawDashedLine(C, -2000000000, 80, 2000000000, 80, clBlue, clRed);
    std::vector<QRect> Near;
    int Far = 0;
    for (const auto& R : C.Ops) {
        if (R.Y1 == 48)
            Near.push_back(QRect(QPoint(R.X1, R.Y1), QPoint(R.X2 - 1, R.Y2 - 1)));
        else if (R.Y1 == 78)
            ++Far;
        EXPECT_TRUE(R.X1 >= -10 && R.X2 <= 110);
    }
    EXPECT_EQ(Near, (std::vector<QRect>{QRect(QPoint(6, 48), QPoint(9, 52)),
                                        QRect(QPoint(10, 48), QPoint(19, 52)),
                                        QRect(QPoint(20, 48), QPoint(29, 52)),
                                        QRect(QPoint(30, 48), QPoint(35, 52))}));
    EXPECT_LE(Far, 14);
}

TEST_F(PathwayMap, TransfersJoinThePredecessorsRow) {
    NewPathway();
    TElement* Dike = Action(QStringLiteral("Dike"), 30, clBlue);
    TElement* Pump = Action(QStringLiteral("Pump"), 60, clRed);
    TElement* Switch = Pathway(80, Dike, Pump);
    (void)Switch;
    const TRecording C = Record();
    // Rows 10, 165, 320; the pathway outlasts the pump: a sub-row, at 330
    // rather than on the axis line at 340. The transfer stands where the
    // dike tips, in the dike's colour.
    const auto Lines = C.Of(TRecording::kLine);
    const auto Transfer = std::find_if(Lines.begin(), Lines.end(), [](const auto& L) {
        return L.X1 == 432 && L.Y1 == 330 && L.X2 == 432 && L.Y2 == 165;
    });
    ASSERT_NE(Transfer, Lines.end());
    EXPECT_EQ(Transfer->Pen, clBlue);
    EXPECT_EQ(Transfer->PenWidth, 5);
    EXPECT_TRUE(C.HasLine(432, 330, 802 + 10, 330));
}

TEST_F(PathwayMap, DrawingAreaMustBeNeitherEmptyNorHuge) {
    const struct {
        int32_t W, H;
        double Scale;
        QString Message;
    } Cases[] = {
        {0, 400, 1, "The map cannot be drawn: a drawing area of 0 x 400 pixels is empty."},
        {1000, -5, 1, "The map cannot be drawn: a drawing area of 1000 x -5 pixels is empty."},
        {50000, 50000, 1,
         "The map cannot be drawn: a drawing area of 50000 x 50000 pixels is too large (at "
         "most 100 million pixels)."},
        {1000, 400, 20,
         "The map cannot be drawn: a drawing area of 20000 x 8000 pixels is too large (at "
         "most 100 million pixels)."},
        {INT32_MAX, INT32_MAX, 1,
         "The map cannot be drawn: a drawing area of 2147483647 x 2147483647 pixels is too "
         "large (at most 100 million pixels)."},
        {1000, 400, 0.0001, "The map cannot be drawn: a drawing area of 0 x 0 pixels is empty."},
    };
    for (const auto& Case : Cases) {
        Settings.SetDrawingAreaWidth(Case.W);
        Settings.SetDrawingAreaHeight(Case.H);
        QImage Image;
        try {
            Map.DrawPathwayOnBitmap(Image, -1, Case.Scale);
            ADD_FAILURE() << "no error for " << Case.W << " x " << Case.H;
        } catch (const ECorvinalError& E) {
            EXPECT_EQ(E.Message(), Case.Message);
        }
    }
    Settings.SetDrawingAreaWidth(1000);
    Settings.SetDrawingAreaHeight(400);
    for (const double Scale : {0.0, -2.0, std::nan(""), HUGE_VAL}) {
        EXPECT_THROW(Map.ImageSize(Scale), ECorvinalError) << Scale;
    }
    EXPECT_EQ(Map.ImageSize(2), QSize(2000, 800));
    EXPECT_EQ(Map.ImageSize(1.5), QSize(1500, 600));
}

TEST_F(PathwayMap, EqualRangeAbandonsTheDrawing) {
    NewPathway();
    Settings.SetMaxTippingPointValue(0);
    QImage Image;
    try {
        Map.DrawPathwayOnBitmap(Image, -1);
        FAIL() << "no error";
    } catch (const ECorvinalError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Floating point division by zero"));
    }
}

TEST_F(PathwayMap, ScaledDrawingIsTheSameMapLarger) {
    NewPathway();
    QImage Small, Large;
    Map.DrawPathwayOnBitmap(Small, -1);
    Map.DrawPathwayOnBitmap(Large, -1, 2);
    ASSERT_EQ(Large.size(), QSize(2000, 800));
    for (const QPoint P : {QPoint(250, 165), QPoint(294, 160), QPoint(284, 100), QPoint(400, 340),
                           QPoint(250, 162), QPoint(600, 200)}) {
        EXPECT_EQ(Large.pixel(2 * P.x(), 2 * P.y()), Small.pixel(P)) << P.x() << "," << P.y();
        EXPECT_EQ(Large.pixel(2 * P.x() + 1, 2 * P.y() + 1), Small.pixel(P))
            << P.x() << "," << P.y();
    }
}

TEST_F(PathwayMap, HandEditedLoopsAndExtremeValuesStillDraw) {
    NewPathway();
    TElement* A = Action(QStringLiteral("A"), 20, clRed);
    TElement* P = Pathway(30, A, A, ctCombine);
    TElement* Q = Pathway(40, P, P, ctCombine);
    P->SetPredecessorID(Q->ID()); // P and Q lead to each other both ways
    P->SetCombinationSecondID(Q->ID());
    TElement* Lost = Pathway(50, A, A);
    Lost->SetPredecessorID(999);
    Lost->SetCombinationSecondID(-7);
    Action(QStringLiteral("Far"), 1e308, clBlue);
    Action(QStringLiteral("NaN"), std::nan(""), clGreen);
    AddScenario(QStringLiteral("Huge"), {"-1e308", "1e308", "1e308", "0"});
    Settings.SetOvershoot(INT32_MAX);
    Settings.SetYOffset(INT32_MIN);
    Settings.SetFontSize(-3);
    EXPECT_NO_THROW(Render());
    Settings.SetMinTippingPointValue(-1e308);
    Settings.SetMaxTippingPointValue(1e308);
    const QImage Image = Render();
    EXPECT_EQ(Image.size(), QSize(1000, 400));
    // A range that is no number is refused, not drawn at the left end.
    Settings.SetMinTippingPointValue(std::nan(""));
    EXPECT_THROW(Record(), ECorvinalError);
}

// ---------------------------------------------------------------- maps that used to overlap

// A colour of its own for each of N actions: clearly coloured, never black,
// grey or white.
TColor OwnColour(int32_t I, int32_t N) {
    const QColor C = QColor::fromHsv(int(I * 359 / std::max(1, N)), 255, I % 2 ? 160 : 220);
    return RGBToColor(uint8_t(C.red()), uint8_t(C.green()), uint8_t(C.blue()));
}

class OverlappingMaps : public PathwayMap {
protected:
    std::vector<TElement*> Actions(int32_t N, const std::vector<double>& Values,
                                   const QString& Name = QStringLiteral("Action %1")) {
        std::vector<TElement*> Result;
        for (int32_t I = 0; I < N; ++I)
            Result.push_back(
                Action(Name.arg(I), Values[size_t(I) % Values.size()], OwnColour(I, N)));
        List.SetCurrentElementID(Result.front()->ID());
        return Result;
    }
    TElement* Pathway(double Value, const TElement* Predecessor, const TElement* Second,
                      TCombinationType Type = ctSequence) {
        TElement* E = PathwayMap::Pathway(Value, Predecessor, Second, Type);
        E->SetMyColor(Second->MyColor());
        return E;
    }

    // Draws the map with every caption (names, axis title, scenario names)
    // blanked and gives the pixels that the captions make differ.
    std::vector<QPoint> CaptionPixels(const QImage& Drawn) {
        std::vector<QString> Names;
        for (int32_t I = 0; I < List.Count(); ++I) {
            Names.push_back(List.Elements(I)->Caption());
            List.Elements(I)->SetCaption(QString());
        }
        const QString Title = Settings.XAxisTitle();
        Settings.SetXAxisTitle(QString());
        QStringList Scenario;
        for (int32_t S = 0; S < Scenarios.Count(); ++S) {
            Scenario << Scenarios.ScenarioCaption(S);
            Scenarios.ScenariosStringGrid().SetCells(S + 1, 0, QString());
        }
        const QImage Blank = Render();
        for (int32_t I = 0; I < List.Count(); ++I)
            List.Elements(I)->SetCaption(Names[size_t(I)]);
        Settings.SetXAxisTitle(Title);
        for (int32_t S = 0; S < Scenarios.Count(); ++S)
            Scenarios.ScenariosStringGrid().SetCells(S + 1, 0, Scenario[S]);
        std::vector<QPoint> Result;
        for (int Y = 0; Y < Drawn.height(); ++Y)
            for (int X = 0; X < Drawn.width(); ++X)
                if (Drawn.pixel(X, Y) != Blank.pixel(X, Y))
                    Result.emplace_back(X, Y);
        return Result;
    }

    // The pixels of every line, on its five rows and away from what crosses
    // them (stations, transfers, end bars, arrowheads, the current-situation
    // line), that show a colour no element on its row has: pixels another
    // line shares with it.
    std::vector<QPoint> SharedLinePixels(const QImage& Image, const TMapGeometry& G) {
        std::set<int32_t> Crossing; // columns where something crosses the rows
        for (int32_t I = 0; I < G.Count(); ++I) {
            for (int32_t D = -10; D <= 10; ++D)
                Crossing.insert(G.StationXAt(I) + D);
            const TMapLine L = G.LineAt(I);
            for (int32_t D = -3; D <= 3 && L.End == leEndBar; ++D)
                Crossing.insert(L.XEnd + D);
        }
        const int32_t Now = G.ValueToX(G.CurrentTippingValue());
        for (int32_t D = -3; D <= 3; ++D)
            Crossing.insert(Now + D);
        std::vector<QPoint> Result;
        for (int32_t I = 0; I < G.Count(); ++I) {
            const TElement* Owner = RowOwner(G, G.Element(I));
            std::set<QRgb> Own;
            for (int32_t J = 0; J < G.Count(); ++J)
                if (RowOwner(G, G.Element(J)) == Owner) {
                    Own.insert(Rgb(G.ColorAt(J)));
                    if (G.Element(J).CombinationType() == ctCombine && G.PredecessorIndex(J) >= 0)
                        Own.insert(Rgb(G.ColorAt(G.PredecessorIndex(J))));
                }
            const TMapLine L = G.LineAt(I);
            const int32_t Right =
                std::min({std::max(L.X1, L.X2), G.PlotRight() - 3, Image.width()});
            for (int32_t X = std::min(L.X1, L.X2) + 3; X < Right - 3; ++X)
                for (int32_t Y = L.Y - 2; Y <= L.Y + 2 && !Crossing.count(X); ++Y)
                    if (!Own.count(Image.pixel(X, Y)))
                        Result.emplace_back(X, Y);
        }
        return Result;
    }

    // Pixels of the axis line that are not black, and pixels on or below it,
    // in and right of the plot, that show an element's colour.
    std::vector<QPoint> CoveredAxisPixels(const QImage& Image, const TMapGeometry& G) {
        std::vector<QPoint> Result;
        const int32_t Axis = G.AxisTop() + 20;
        for (int32_t X = G.PlotLeft(); X <= G.PlotRight(); ++X)
            if (Image.pixel(X, Axis) != qRgb(0, 0, 0))
                Result.emplace_back(X, Axis);
        std::set<QRgb> Colours;
        for (int32_t I = 0; I < G.Count(); ++I)
            Colours.insert(Rgb(G.ColorAt(I)));
        for (int32_t Y = Axis; Y < Image.height(); ++Y)
            for (int32_t X = G.PlotLeft() - 10; X < Image.width(); ++X)
                if (Colours.count(Image.pixel(X, Y)))
                    Result.emplace_back(X, Y);
        return Result;
    }
};

std::string Where(const std::vector<QPoint>& Points) {
    return Points.empty() ? std::string()
                          : std::to_string(Points.size()) + " pixels, the first at " +
                                std::to_string(Points[0].x()) + "," + std::to_string(Points[0].y());
}

// Maps drawn from real plans, where names ran into the plot, lines hid under
// one another or lay on the axis, and signs were missing at the edges.
TEST_F(OverlappingMaps, CaptionsLinesAndAxisStayApart) {
    const struct {
        const char* What;
        std::function<void()> Build;
    } Cases[] = {
        {"long names",
         [&] {
             const auto A = Actions(4, {10, 40, 60, 80});
             A[1]->SetCaption("Dike reinforcement + river widening");
             A[2]->SetCaption("Raise defences downstream of the barrier");
             A[3]->SetCaption("Flood-proofing of buildings and critical infrastructure");
             Settings.SetXAxisTitle("Peak river discharge at the border (m\u00b3/s)");
             AddScenario("Rapid economic growth with strong climate change",
                         {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90"});
         }},
        {"thirty actions",
         [&] {
             const auto A = Actions(30, {10, 30, 45, 60, 75});
             Pathway(70, A[1], A[3]);
             Pathway(90, A[2], A[4], ctCombine);
             Pathway(85, A[10], A[13]);
             Pathway(95, A[20], A[28]);
             Pathway(80, A[21], A[29], ctCombine);
         }},
        {"a Combine pathway on a sub-row",
         [&] {
             // Rows 20 apart: the pathway's sub-row below the dike lies on
             // the barrier's row.
             Settings.SetDrawingAreaHeight(390);
             Settings.SetMaxTippingPointValue(4);
             const auto A = Actions(16, {0.5, 1.0, 1.5, 2.5, 3.0});
             A[3]->SetCaption("Dike raising");
             A[3]->SetTippingPointValue(1.5);
             A[4]->SetCaption("Storm surge barrier");
             A[4]->SetTippingPointValue(3.0);
             Pathway(2.0, A[1], A[3], ctCombine);
         }},
        {"a last-row pathway",
         [&] {
             const auto A = Actions(3, {10, 40, 60});
             Pathway(90, A[1], A[2]);
             Pathway(95, A[1], A[2], ctCombine);
         }},
        {"values beyond the axis",
         [&] {
             const auto A = Actions(5, {10, 100, 150, 60, 400});
             Pathway(180, A[3], A[2]);
             Pathway(250, A[2], A[4]);
             AddScenario("Extreme", {"0", "", "", "", "50", "", "", "", "", "170"});
         }},
        {"a sparse and a dense scenario axis",
         [&] {
             const auto A = Actions(4, {10, 40, 60, 80});
             Pathway(90, A[1], A[3]);
             AddScenario("Sparse", {"0", "", "", "", "40", "", "", "", "", "100"});
             AddScenario("Dense", {"0", "1", "2", "3", "5", "7", "9", "12", "15", "18"});
         }},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.What);
        List.ClearElements();
        Scenarios.ScenariosStringGrid().SetColCount(1);
        Settings = TGraphicsSettings();
        Settings.SetMinTippingPointValue(0);
        Settings.SetMaxTippingPointValue(100);
        Case.Build();
        const QImage Image = Render();
        const TMapGeometry G(Settings, List, Scenarios, -1);
        // The geometry: overlapping lines at least 5 rows apart, all rows in
        // the plot.
        EXPECT_GE(ClosestOverlappingRows(G), RowSpacing);
        EXPECT_TRUE(RowsWithinThePlot(G));
        // The picture: what the captions write lies in their band, no line
        // shares a pixel with another, the axis lies open.
        std::vector<QPoint> Outside;
        for (const QPoint& P : CaptionPixels(Image))
            if (P.x() < Settings.LeftMargin() || P.x() >= G.PlotLeft())
                Outside.push_back(P);
        EXPECT_TRUE(Outside.empty()) << "captions outside their band: " << Where(Outside);
        const std::vector<QPoint> Shared = SharedLinePixels(Image, G);
        EXPECT_TRUE(Shared.empty()) << "lines sharing pixels: " << Where(Shared);
        const std::vector<QPoint> Covered = CoveredAxisPixels(Image, G);
        EXPECT_TRUE(Covered.empty()) << "the axis covered: " << Where(Covered);
        EXPECT_EQ(Settings.TitlesAreaWidth(), 200);
    }
}

TEST_F(PathwayMap, LongCaptionsAreCutAtTheBandsEdge) {
    NewPathway();
    Action(QStringLiteral("Raise defences downstream of the barrier"), 40, clBlue); // 40 characters
    Action(QStringLiteral("Storm surge barrier"), 60, clRed);
    Settings.SetXAxisTitle(QStringLiteral("Peak river discharge at the border"));
    AddScenario(QStringLiteral("Rapid economic growth with strong climate change"), {"0", "100"});
    const TRecording C = Record();
    // 8 pixels a character: the band of 200 holds 24 and the ellipsis.
    EXPECT_TRUE(C.Text(QStringLiteral("Raise defences downstrea\u2026")));
    EXPECT_TRUE(C.Text(QStringLiteral("Storm surge barrier")));
    EXPECT_TRUE(C.Text(QStringLiteral("Peak river discharge at\u2026")));
    EXPECT_TRUE(C.Text(QStringLiteral("Rapid economic growth wi\u2026")));
    EXPECT_EQ(Settings.TitlesAreaWidth(), 200);
    // The captions as the map writes them, with their whole texts.
    TRecordingCanvas Canvas;
    const TMapGeometry G(Settings, List, Scenarios, -1);
    const std::vector<TMapCaption> Captions = Map.Captions(Canvas, G, -1);
    ASSERT_EQ(Captions.size(), 5u);
    EXPECT_EQ(Captions[0].Whole, QStringLiteral("Peak river discharge at the border"));
    EXPECT_EQ(Captions[0].Box, QRect(10, 320 - 50 + 20, 24 * 8, 19));
    EXPECT_EQ(Captions[1].Shown, QStringLiteral("Rapid economic growth wi\u2026"));
    EXPECT_EQ(Captions[3].Whole, QStringLiteral("Raise defences downstream of the barrier"));
    EXPECT_EQ(Captions[3].Box, QRect(10, G.YAt(1) - 19 / 2, 200, 19));
    EXPECT_EQ(Captions[4].Shown, Captions[4].Whole);
    // A band too narrow for the ellipsis writes nothing.
    Settings.SetTitlesAreaWidth(4);
    EXPECT_TRUE(C.Text(QStringLiteral("Storm surge barrier")));
    EXPECT_EQ(Record().TextsAt(G.YAt(2) - 19 / 2 - 50 + 50).size(), 1u);
}

TEST_F(PathwayMap, LinesBeyondTheAxisEndInAnArrowhead) {
    NewPathway();
    TElement* Far = Action(QStringLiteral("Relocate the port"), 150, clBlue);
    Action(QStringLiteral("Edge"), 100, clRed);
    const QImage Image = Render();
    const TRecording C = Record();
    const int32_t Y = 165, Right = 950;
    // The line ends on the plot's edge; a black arrowhead points on.
    EXPECT_TRUE(C.HasLine(284, Y, Right, Y));
    const auto Polygons = C.Of(TRecording::kSolidRect);
    const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Blue = Rgb(clBlue);
    EXPECT_EQ(Image.pixel(Right - 5, Y), Blue);
    for (int32_t DY = -6; DY <= 6; ++DY) {
        EXPECT_EQ(Image.pixel(Right, Y + DY), Black) << DY;
    }
    EXPECT_EQ(Image.pixel(Right + 10, Y), Black);
    EXPECT_EQ(Image.pixel(Right + 11, Y), White);
    EXPECT_EQ(Image.pixel(Right + 5, Y - 4), White);
    EXPECT_EQ(Image.pixel(Right, Y - 7), White);
    // Nothing else of it beyond: no end bar in the margin.
    for (int32_t X = Right + 11; X < 1000; ++X)
        for (int32_t DY = -8; DY <= 8; ++DY)
            ASSERT_EQ(Image.pixel(X, Y + DY), White) << X << "," << DY;
    // An element tipping on the edge keeps its end bar in the margin.
    EXPECT_EQ(Image.pixel(Right + 10, 320 - 7), Black);
    EXPECT_EQ(Image.pixel(Right + 10, 320), Black);
    // Starting beyond the edge too: the station stands on it.
    Pathway(200, Far, Far);
    const auto Markers = Record().Of(TRecording::kEllipse);
    EXPECT_EQ(Markers.back().X1, Right - 7);
}

TEST_F(PathwayMap, TimeBasedAxisLabelsAreWholeYears) {
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(1);
    const struct {
        double Min, Max;
        int32_t Ticks;
        std::vector<QString> Labels; // minimum, maximum, middle
        std::vector<int32_t> MiddleX;
    } Cases[] = {
        // 70 years gave "2030.0" and so on.
        {2020, 2090, 8, {"2020", "2090", "2030", "2040", "2050", "2060", "2070", "2080"}, {}},
        // Ticks stand on whole years: 2043 and 2067, not 2043.33 and 2066.67.
        {2020, 2090, 4, {"2020", "2090", "2043", "2067"}, {210 + 243, 210 + 497}},
        // More ticks than years: each year once.
        {2020, 2025, 20, {"2020", "2025", "2021", "2022", "2023", "2024"}, {}},
        {2020.4, 2030.6, 3, {"2020", "2031", "2026"}, {}},
    };
    for (const auto& Case : Cases) {
        Settings.SetMinTippingPointValue(Case.Min);
        Settings.SetMaxTippingPointValue(Case.Max);
        Settings.SetTicksXAxis(Case.Ticks);
        const TRecording C = Record(0);
        EXPECT_EQ(C.TextsAt(320 + 40), Case.Labels) << Case.Min << " .. " << Case.Max;
        for (size_t I = 0; I < Case.MiddleX.size(); ++I) {
            EXPECT_EQ(C.Text(Case.Labels[2 + I])->X1, Case.MiddleX[I] - 16);
        }
    }
}

TEST_F(PathwayMap, TimeBasedTitleNamesTheColumnShown) {
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(2);
    List.SetTippingTimeColumnCaption(0, QStringLiteral("Moderate"));
    List.SetTippingTimeColumnCaption(1, QStringLiteral("Dry, rapid population growth and heat"));
    Settings.SetMinTippingPointValue(2000);
    Settings.SetMaxTippingPointValue(2100);
    const struct {
        const char* Title;
        int32_t Series;
        bool ShowAxis;
        QString Shown;
    } Cases[] = {
        {"Year", 0, true, "Year \u2013 Moderate"},
        // Too long for the band: the title is cut before the column.
        {"Time of tipping point [year]", 0, true, "Time of tippi\u2026 \u2013 Moderate"},
        // The column alone does not leave room for the title: only it shows.
        {"Year", 1, true, "Dry, rapid population gr\u2026"},
        // Without the axis the column still names itself.
        {"Year", 0, false, "Moderate"},
        {"", 0, true, "Moderate"},
    };
    for (const auto& Case : Cases) {
        Settings.SetXAxisTitle(QString::fromUtf8(Case.Title));
        Settings.SetShowXAxis(Case.ShowAxis);
        const TRecording C = Record(Case.Series);
        const std::vector<QString> Texts = C.TextsAt(320 + 20);
        ASSERT_EQ(Texts.size(), 1u) << Case.Title;
        EXPECT_EQ(Texts.front(), Case.Shown) << Case.Title;
        EXPECT_EQ(C.Text(Case.Shown)->X1, 10);
    }
}

TEST_F(PathwayMap, YearLabelsKeepASpaceApartAndInsideThePicture) {
    Settings.SetMaxTippingPointValue(185); // 4 pixels a unit from x 210
    // Decades 8 pixels apart, labels 32 wide: every fifth label fits.
    AddScenario(QStringLiteral("Dense"), {"0", "2", "4", "6", "8", "10", "12", "14", "16", "18"});
    // 2030 at x 246 would start 4 pixels after 2010 ends: "20102030".
    AddScenario(QStringLiteral("Touching"), {"0", "", "9"});
    AddScenario(QStringLiteral("Sparse"), {"0", "", "", "", "40", "", "", "", "", "90"});
    // 2090 at x 990 would be cut at the picture's edge; 2100 lies off it.
    AddScenario(QStringLiteral("Past the edge"), {"0", "", "", "", "", "", "", "", "195", "200"});
    const TRecording C = Record();
    const int32_t A = 400 - 10 - 270;
    auto Labels = [&](int32_t S) { return C.TextsAt(A + 80 + 50 * S); };
    auto Ticks = [&](int32_t S) {
        const auto Lines = C.Of(TRecording::kLine);
        return std::count_if(Lines.begin(), Lines.end(), [&](const auto& L) {
            return L.Y1 == A + 60 + 50 * S && L.Y2 == A + 70 + 50 * S && L.X1 == L.X2;
        });
    };
    EXPECT_EQ(Labels(0), (std::vector<QString>{"2010", "2060"}));
    EXPECT_EQ(Ticks(0), 10) << "every tick stays";
    EXPECT_EQ(Labels(1), (std::vector<QString>{"2010"}));
    EXPECT_EQ(Ticks(1), 2);
    EXPECT_EQ(Labels(2), (std::vector<QString>{"2010", "2050", "2100"}));
    EXPECT_EQ(Labels(3), (std::vector<QString>{"2010", "2090"}));
    for (const auto& Op : C.Of(TRecording::kText))
        if (Op.Text == QStringLiteral("2090")) {
            EXPECT_EQ(Op.X1, 1000 - 32);
        }
}

// ---------------------------------------------------------------- DrawPathwayBar

class PathwayBar : public PathwayMap {
protected:
    TRecording Bar(const TElement& E, const QRect& R, double Lo, double Hi) {
        TRecordingCanvas C;
        DrawPathwayBar(E, 0, C, R, Lo, Hi);
        return C;
    }
};

TEST_F(PathwayBar, EqualLowAndHighDrawNothing) {
    NewPathway();
    TElement* A = Action(QStringLiteral("A"), 20, clRed);
    TRecordingCanvas C;
    C.SetBrushColor(clYellow);
    DrawPathwayBar(*A, 0, C, QRect(0, 0, 64, 16), 5, 5);
    EXPECT_TRUE(C.Ops.empty());
    EXPECT_EQ(C.BrushColor(), clYellow);
}

TEST_F(PathwayBar, BandsStackFromTopToBottomAndTheCurrentSituationComesLast) {
    NewPathway(); // current situation tips at 10
    TElement* Red = Action(QStringLiteral("Red"), 40, clRed);
    TElement* Blue = Action(QStringLiteral("Blue"), 60, clBlue);
    TElement* Both = Pathway(80, Red, Blue, ctCombine); // bands: blue, red
    QImage Image(100, 30, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        QPainter Painter(&Image);
        TPainterCanvas Canvas(Painter, 100, 30);
        DrawPathwayBar(*Both, 0, Canvas, QRect(10, 5, 80, 20), 0, 80);
        EXPECT_EQ(Canvas.BrushColor(), Gray);
    }
    // lo 0 at x 10 and hi 80 at x 90: one pixel per unit.
    const QRgb R = qRgb(255, 0, 0), B = qRgb(0, 0, 255), G = qRgb(128, 128, 128),
               W = qRgb(255, 255, 255);
    EXPECT_EQ(Image.pixel(60, 5), B); // Both, band 0: rows 5 .. 14
    EXPECT_EQ(Image.pixel(60, 14), B);
    EXPECT_EQ(Image.pixel(60, 15), R); // band 1: rows 15 .. 24
    EXPECT_EQ(Image.pixel(89, 24), R);
    EXPECT_EQ(Image.pixel(90, 15), W);
    EXPECT_EQ(Image.pixel(60, 25), W);
    EXPECT_EQ(Image.pixel(30, 5), R); // Red, from the current situation to 40
    EXPECT_EQ(Image.pixel(30, 24), R);
    EXPECT_EQ(Image.pixel(10, 5), G); // the current situation, 0 to 10
    EXPECT_EQ(Image.pixel(19, 24), G);
    EXPECT_EQ(Image.pixel(20, 10), R);
    EXPECT_EQ(Image.pixel(9, 10), W);
}

TEST_F(PathwayBar, PredecessorLoopsEndAndLongChainsAreWalkedOnce) {
    NewPathway();
    TElement* A = Action(QStringLiteral("A"), 20, clRed);
    TElement* P = Pathway(30, A, A);
    TElement* Q = Pathway(40, P, A);
    P->SetPredecessorID(Q->ID());
    EXPECT_EQ(Bar(*Q, QRect(0, 0, 64, 16), 0, 40).Of(TRecording::kFillRect).size(), 3u);

    // 100,000 pathway elements, each following the one before.
    List.ClearElements();
    TElement* First = new TElement(1, &List);
    First->SetTippingPointValue(1);
    for (int32_t ID = 2; ID <= 100000; ++ID) {
        TElement* E = new TElement(ID, &List);
        E->SetPredecessorID(ID - 1);
        E->SetCombinationSecondID(1);
        E->SetTippingPointValue(ID);
    }
    List.SetCurrentElementID(1);
    const TRecording C = Bar(*List.Elements(99999), QRect(0, 0, 64, 16), 0, 100000);
    EXPECT_EQ(C.Of(TRecording::kFillRect).size(), 100000u + 1);
}

TEST_F(PathwayBar, BandsThinnerThanAPixelArePaintedPerRow) {
    NewPathway();
    TElement* Red = Action(QStringLiteral("Red"), 20, clRed);
    TElement* Blue = Action(QStringLiteral("Blue"), 20, clBlue);
    TElement* Level = Pathway(20, Red, Blue, ctCombine);
    for (int I = 0; I < 40; ++I) // doubles the bands each time, up to the limit
        Level = Pathway(20, Level, Level, ctCombine);
    ASSERT_EQ(Level->ColorCount(), INT32_MAX);
    List.SetCurrentElementID(-1);
    const TRecording C = Bar(*Level, QRect(0, 0, 64, 16), 0, 20);
    const auto Rects = C.Of(TRecording::kFillRect);
    // Level k has 2^(k+1) bands: levels 4 .. 40 one rectangle per row (16
    // each), levels 3 .. 0 one per band (16, 8, 4, 2), and Red one.
    EXPECT_EQ(Rects.size(), 37u * 16 + 16 + 8 + 4 + 2 + 1);
    for (int Row = 0; Row < 16; ++Row) {
        EXPECT_EQ(Rects[size_t(Row)].Y1, Row);
        EXPECT_EQ(Rects[size_t(Row)].Y2, Row + 1);
        EXPECT_TRUE(Rects[size_t(Row)].Brush == clRed || Rects[size_t(Row)].Brush == clBlue);
    }
}

TEST_F(PathwayBar, FewBandsAreOneRectangleEach) {
    TElement* Red = Action(QStringLiteral("Red"), 10, clRed);
    TElement* Blue = Action(QStringLiteral("Blue"), 20, clBlue);
    TElement* Green = Action(QStringLiteral("Green"), 20, clGreen);
    TElement* P = Pathway(30, Red, Blue, ctCombine);
    TElement* Q = Pathway(40, P, Green, ctCombine); // green, blue, red
    const TRecording C = Bar(*Q, QRect(0, 0, 40, 10), 0, 40);
    const auto Rects = C.Of(TRecording::kFillRect);
    ASSERT_EQ(Rects.size(), 3u + 2 + 1);
    // 10 rows in three bands: 0 .. 3, 3 .. 7, 7 .. 10 (3.33 and 6.67 rounded).
    EXPECT_EQ(QRect(Rects[0].X1, Rects[0].Y1, Rects[0].X2, Rects[0].Y2), QRect(30, 0, 40, 3));
    EXPECT_EQ(Rects[0].Brush, clGreen);
    EXPECT_EQ(QRect(Rects[1].X1, Rects[1].Y1, Rects[1].X2, Rects[1].Y2), QRect(30, 3, 40, 7));
    EXPECT_EQ(Rects[1].Brush, clBlue);
    EXPECT_EQ(Rects[2].Y2, 10);
    EXPECT_EQ(Rects[2].Brush, clRed);
    EXPECT_EQ(QRect(Rects[3].X1, Rects[3].Y1, Rects[3].X2, Rects[3].Y2), QRect(10, 0, 30, 5));
    EXPECT_EQ(Rects[5].Brush, clRed); // Red itself, from 0 without a current element
    EXPECT_EQ(QRect(Rects[5].X1, Rects[5].Y1, Rects[5].X2, Rects[5].Y2), QRect(0, 0, 10, 10));
}

// ------------------------------------------------------------ for reports

TEST_F(PathwayMap, TitleStandsInABandAboveThePlot) {
    NewPathway();
    Settings.SetTitle(QStringLiteral("Delta plan"));
    const TRecording C = Record();
    const TRecordingCanvas::TOp* Title = C.Text(QStringLiteral("Delta plan"));
    ASSERT_TRUE(Title);
    EXPECT_EQ(QPoint(Title->X1, Title->Y1), QPoint(10, 10));
    EXPECT_EQ(Title->FontSize, 16);
    EXPECT_EQ(Title->FontColor, clBlack);
    // The plot starts below two lines of the title's 21 pixels: the
    // current-situation line from 52, the one action halfway down to 320.
    EXPECT_TRUE(C.HasLine(284, 52, 284, 320));
    EXPECT_TRUE(C.HasLine(210, 186, 294, 186));
    EXPECT_EQ(C.Text(QStringLiteral("Current Situation"))->Y1, 186 - 19 / 2);
    // A title longer than the picture is cut, and the captions say so.
    Settings.SetTitle(QString(200, QLatin1Char('x')));
    TRecordingCanvas Canvas;
    const std::vector<TMapCaption> Captions = Map.Captions(Canvas, Map.Geometry(-1), -1);
    ASSERT_FALSE(Captions.empty());
    EXPECT_EQ(Captions.front().Whole, Settings.Title());
    EXPECT_LE(Captions.front().Box.width(), 1000 - 2 * 10);
    EXPECT_TRUE(Captions.front().Shown.endsWith(QStringLiteral("\u2026")));
}

TEST_F(PathwayMap, LegendStandsUnderTheAxes) {
    TElement* Current = NewPathway();
    Settings.SetLegend(true);
    // The axis band moves up by the legend's band: two lines of 16 pixels and 6.
    const int32_t A = 400 - 10 - 38 - 70;
    const int32_t Row = A + 70 + 16, TextTop = Row - 19 / 2;
    TRecording C = Record();
    EXPECT_TRUE(C.HasLine(284, 10, 284, A));
    EXPECT_EQ(C.TextsAt(TextTop),
              (std::vector<QString>{"Action starts", "Tipping point", "Combined actions"}));
    // Its station is the map's: a ring of the 5-pixel pen around the row.
    const auto Rings = C.Of(TRecording::kEllipse);
    ASSERT_EQ(Rings.size(), 1u);
    EXPECT_EQ(QRect(Rings[0].X1, Rings[0].Y1, Rings[0].X2, Rings[0].Y2),
              QRect(27 - 7, Row - 7, 27 + 7, Row + 7));
    EXPECT_EQ(Rings[0].PenWidth, 5);
    // A preferred route and decision points add their entries.
    Current->SetPreferred(true);
    Map.SetDecisionPoints({TMapDecisionPoint{0, 5, false, QStringLiteral("Decide")}});
    C = Record();
    EXPECT_EQ(C.TextsAt(TextTop),
              (std::vector<QString>{"Action starts", "Tipping point", "Combined actions",
                                    "Preferred route", "Decision point"}));
    // Without the legend nothing of it is drawn.
    Settings.SetLegend(false);
    C = Record();
    EXPECT_FALSE(C.Text(QStringLiteral("Action starts")));
}

TEST_F(PathwayMap, PreferredRouteLiesUnderItsLinesAndTransfers) {
    NewPathway();
    TElement* Dike = Action(QStringLiteral("Dike"), 60, clBlue);
    TElement* Barrier = Action(QStringLiteral("Barrier"), 90, clRed);
    TElement* Route = Pathway(90, Dike, Barrier); // on the barrier's row
    Dike->SetPreferred(true);
    Route->SetPreferred(true);
    const QImage Image = Render();
    const QRgb Band = Rgb(PreferredBandColor), White = qRgb(255, 255, 255);
    // Rows 10, 165 and 320; x of a value 210 + 7.4 v. The dike's line from
    // 284 to 664 on a band 17 pixels wide, the line itself on top.
    EXPECT_EQ(Image.pixel(400, 165), Rgb(clBlue));
    EXPECT_EQ(Image.pixel(400, 157), Band);
    EXPECT_EQ(Image.pixel(400, 173), Band);
    EXPECT_EQ(Image.pixel(400, 156), White);
    EXPECT_EQ(Image.pixel(400, 174), White);
    // The route's transfer at x 654 from row 320 up to 165, and its line on
    // from there; the barrier's own line, not marked, has no band.
    EXPECT_EQ(Image.pixel(654 - 8, 240), Band);
    EXPECT_EQ(Image.pixel(654, 240), Rgb(clBlue));
    EXPECT_EQ(Image.pixel(750, 312), Band);
    EXPECT_EQ(Image.pixel(400, 312), White);
    // Beneath every line: drawn before the current-situation line.
    const TRecording C = Record();
    const auto Lines = C.Of(TRecording::kLine);
    const auto BandLine = std::find_if(
        Lines.begin(), Lines.end(), [](const auto& L) { return L.PenWidth == PreferredBandWidth; });
    const auto CurrentLine = std::find_if(Lines.begin(), Lines.end(), [](const auto& L) {
        return L.X1 == 284 && L.Y1 == 10 && L.Y2 == 320;
    });
    ASSERT_NE(BandLine, Lines.end());
    ASSERT_NE(CurrentLine, Lines.end());
    EXPECT_LT(BandLine, CurrentLine);
    EXPECT_EQ(BandLine->Pen, PreferredBandColor);
}

TEST_F(PathwayMap, DecisionPointsSitOnThePredecessorsLine) {
    NewPathway();
    Action(QStringLiteral("Dike"), 60, clBlue);     // row 165, line 284 .. 664
    Action(QStringLiteral("Barrier"), 90, clGreen); // row 320
    Map.SetDecisionPoints(
        {TMapDecisionPoint{1, 40, false, QString()}, TMapDecisionPoint{2, 50, true, QString()}});
    const QImage Image = Render();
    // At value 40 (x 506): white inside, the dike's blue around it.
    EXPECT_EQ(Image.pixel(506, 165), qRgb(255, 255, 255));
    EXPECT_EQ(Image.pixel(506 - 7, 165), Rgb(clBlue));
    EXPECT_EQ(Image.pixel(506, 165 - 7), Rgb(clBlue));
    EXPECT_EQ(Image.pixel(506, 165 - 9), qRgb(255, 255, 255));
    // Due now: red at the line's start, over its station, edged in black.
    EXPECT_EQ(Image.pixel(284, 320), qRgb(220, 20, 20));
    EXPECT_EQ(Image.pixel(284 - 7, 320), qRgb(0, 0, 0));
    EXPECT_EQ(Image.pixel(284, 320 - 8), qRgb(0, 0, 0));
    // Without decision points the line runs on unbroken.
    Map.SetDecisionPoints({});
    EXPECT_EQ(Render().pixel(506, 165), Rgb(clBlue));
}

TEST_F(PathwayMap, DrawingChangesNoSetting) {
    NewPathway();
    AddScenario(QStringLiteral("Wet"), {"0", "50"});
    Settings.SetTitle(QStringLiteral("Plan"));
    Settings.SetLegend(true);
    const TGraphicsSettings Before = Settings;
    Render();
    Record();
    EXPECT_TRUE(Settings.SameAs(Before));
    EXPECT_EQ(Map.Geometry(-1).AxisBandHeight(), 120);
}

} // namespace
