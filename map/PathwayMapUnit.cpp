#include "map/PathwayMapUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "scenarios/ScenarioFrameUnit.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr TColor GrayLine = RGBToColor(128, 128, 128);
constexpr int32_t LineWidth = 5;
constexpr int32_t MinTicks = 2;
constexpr int32_t MaxTicks = 20;

QString PixelText(double Value) {
    return QString::number(Value, 'f', 0);
}

} // namespace

QString MapCreditLine() {
    return QStringLiteral("Drawn with Corvinal");
}

TPathwayMap::TPathwayMap(const TGraphicsSettings& ASettings, const TElementsList& AElementsList,
                         const TScenarioFrame& AScenarioFrame)
    : FSettings(ASettings), FElementsList(AElementsList), FScenarioFrame(AScenarioFrame) {}

QSize TPathwayMap::ImageSize(double AScale) const {
    if (!std::isfinite(AScale) || AScale <= 0)
        throw ECorvinalError(
            QStringLiteral("The map cannot be drawn at a scale of %1: the scale must be a "
                           "positive number.")
                .arg(FloatToStrGeneral(AScale)));
    const double W = std::round(double(FSettings.DrawingAreaWidth()) * AScale);
    const double H = std::round(double(FSettings.DrawingAreaHeight()) * AScale);
    if (W < 1 || H < 1)
        throw ECorvinalError(
            QStringLiteral("The map cannot be drawn: a drawing area of %1 x %2 pixels is empty.")
                .arg(PixelText(W), PixelText(H)));
    if (W * H > double(MaxMapPixels))
        throw ECorvinalError(QStringLiteral("The map cannot be drawn: a drawing area of %1 x %2 "
                                            "pixels is too large (at most 100 million pixels).")
                                 .arg(PixelText(W), PixelText(H)));
    return QSize(int(W), int(H));
}

TMapGeometry TPathwayMap::Geometry(int32_t ASeriesIndex) const {
    return TMapGeometry(FSettings, FElementsList, FScenarioFrame, ASeriesIndex);
}

void TPathwayMap::DrawPathwayOnBitmap(QImage& ABitmap, int32_t ASeriesIndex, double AScale) const {
    const QSize Size = ImageSize(AScale);
    ABitmap = QImage(Size, QImage::Format_RGB32);
    if (ABitmap.isNull())
        throw ECorvinalError(QStringLiteral("The map cannot be drawn: there is not enough memory "
                                            "for a drawing area of %1 x %2 pixels.")
                                 .arg(Size.width())
                                 .arg(Size.height()));
    ABitmap.fill(Qt::white);
    QPainter Painter(&ABitmap);
    if (AScale != 1.0)
        Painter.scale(AScale, AScale);
    TPainterCanvas Canvas(Painter, FSettings.DrawingAreaWidth(), FSettings.DrawingAreaHeight());
    DrawMap(Canvas, Geometry(ASeriesIndex));
}

void TPathwayMap::DrawPathwayOnCanvas(TCanvas& ACanvas, int32_t ASeriesIndex) const {
    DrawMap(ACanvas, Geometry(ASeriesIndex));
}

// The order decides what covers what: the preferred route's band lies under
// every line, the axes lie under the lines, the stations, drawn after the
// lines, on top of line starts and transfer joints, and the decision points
// on top of everything in the plot.
void TPathwayMap::DrawMap(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    ACanvas.SetFontSize(8);
    ACanvas.TextOut(FSettings.LeftMargin(), ClampPixel(int64_t(FSettings.DrawingAreaHeight()) - 14),
                    MapCreditLine());
    DrawTitle(ACanvas);
    DrawPreferredRoute(ACanvas, AGeometry);
    ACanvas.SetFontSize(FSettings.FontSize());
    const int32_t TH = ACanvas.TextHeight(QStringLiteral("bp"));
    DrawCurrentSituationLine(ACanvas, AGeometry);
    DrawAxes(ACanvas, AGeometry);
    const int32_t N = AGeometry.Count();
    for (int32_t I = 0; I < N; ++I) {
        const TElement& E = AGeometry.Element(I);
        if (E.IsPrimaryElement()) {
            ACanvas.SetFontSize(FSettings.FontSize());
            ACanvas.SetFontColor(AGeometry.ColorAt(I));
            ACanvas.TextOut(FSettings.LeftMargin(), ClampPixel(int64_t(AGeometry.YAt(I)) - TH / 2),
                            BandText(ACanvas, E.Caption()));
        }
        if (E.VisualEffect() == veShow)
            DrawElementLine(ACanvas, AGeometry, I);
        if (AGeometry.TransferShownAt(I))
            DrawTransfer(ACanvas, AGeometry, I);
    }
    const int32_t CurrentID = FElementsList.CurrentElementID();
    for (int32_t I = 0; I < N; ++I)
        if (AGeometry.Element(I).ID() != CurrentID)
            DrawElementMarker(ACanvas, AGeometry, I);
    DrawDecisionPoints(ACanvas, AGeometry);
    DrawLegend(ACanvas, AGeometry);
}

QString TPathwayMap::BandText(TCanvas& ACanvas, const QString& AText) const {
    return ACanvas.ElidedText(AText, FSettings.TitlesAreaWidth());
}

bool TPathwayMap::TimeBased() const {
    return FElementsList.PathwayType() == ptTimeBased;
}

QString TPathwayMap::TimeColumnCaption(int32_t ASeriesIndex) const {
    if (!TimeBased() || ASeriesIndex < 0 || ASeriesIndex >= FElementsList.TippingTimeValuesCount())
        return QString();
    return FElementsList.TippingTimeColumnCaption(ASeriesIndex);
}

TMapCaption TPathwayMap::AxisTitle(TCanvas& ACanvas, int32_t ASeriesIndex) const {
    const QString Column = TimeColumnCaption(ASeriesIndex);
    const QString& Title = FSettings.XAxisTitle();
    if (Column.isEmpty())
        return TMapCaption{QRect(), BandText(ACanvas, Title), Title};
    // A time-based map says which time column it shows, also without its
    // axis; where the band is short the title is cut before the column.
    if (!FSettings.ShowXAxis() || Title.isEmpty())
        return TMapCaption{QRect(), BandText(ACanvas, Column), Column};
    const QString Tail = QStringLiteral(" \u2013 ") + Column;
    const QString Whole = Title + Tail;
    const int32_t Band = FSettings.TitlesAreaWidth();
    QString Shown = BandText(ACanvas, Whole);
    if (Shown != Whole) {
        const QString Head = ACanvas.ElidedText(Title, Band - ACanvas.TextWidth(Tail));
        Shown = !Head.isEmpty() && ACanvas.TextWidth(Head + Tail) <= Band
                    ? Head + Tail
                    : BandText(ACanvas, Column);
    }
    return TMapCaption{QRect(), Shown, Whole};
}

std::vector<TMapCaption> TPathwayMap::Captions(TCanvas& ACanvas, const TMapGeometry& AGeometry,
                                               int32_t ASeriesIndex) const {
    std::vector<TMapCaption> Result;
    ACanvas.SetFontSize(FSettings.FontSize());
    const int32_t TH = ACanvas.TextHeight(QStringLiteral("bp"));
    const int32_t Left = FSettings.LeftMargin();
    if (!FSettings.Title().isEmpty()) {
        ACanvas.SetFontSize(FSettings.TitleFontSize());
        ACanvas.SetFontBold(true);
        const QString Shown = TitleText(ACanvas);
        Result.push_back(TMapCaption{
            QRect(Left, FSettings.TopMargin(), ACanvas.TextWidth(Shown), ACanvas.TextHeight(Shown)),
            Shown, FSettings.Title()});
        ACanvas.SetFontBold(false);
        ACanvas.SetFontSize(FSettings.FontSize());
    }
    auto Add = [&](TMapCaption Caption, int64_t Top) {
        Caption.Box = QRect(Left, ClampPixel(Top), ACanvas.TextWidth(Caption.Shown), TH);
        Result.push_back(std::move(Caption));
    };
    const int64_t A = AGeometry.AxisTop();
    if (FSettings.ShowXAxis() || !TimeColumnCaption(ASeriesIndex).isEmpty())
        Add(AxisTitle(ACanvas, ASeriesIndex), A + 20);
    for (int32_t S = 0; !TimeBased() && S < FScenarioFrame.Count(); ++S) {
        const QString Name = FScenarioFrame.ScenarioCaption(S);
        Add(TMapCaption{QRect(), BandText(ACanvas, Name), Name}, A + 60 + 50 * int64_t(S));
    }
    for (int32_t I = 0; I < AGeometry.Count(); ++I) {
        const TElement& E = AGeometry.Element(I);
        if (E.IsPrimaryElement())
            Add(TMapCaption{QRect(), BandText(ACanvas, E.Caption()), E.Caption()},
                int64_t(AGeometry.YAt(I)) - TH / 2);
    }
    return Result;
}

int32_t TPathwayMap::WidestCaption(TCanvas& ACanvas, int32_t ASeriesIndex) const {
    ACanvas.SetFontSize(FSettings.FontSize());
    ACanvas.SetFontBold(false);
    int32_t Widest = 0;
    auto Take = [&](const QString& Text) { Widest = std::max(Widest, ACanvas.TextWidth(Text)); };
    if (FSettings.ShowXAxis() || !TimeColumnCaption(ASeriesIndex).isEmpty())
        Take(AxisTitle(ACanvas, ASeriesIndex).Whole);
    for (int32_t S = 0; !TimeBased() && S < FScenarioFrame.Count(); ++S)
        Take(FScenarioFrame.ScenarioCaption(S));
    for (int32_t I = 0; I < FElementsList.Count(); ++I) {
        const TElement* E = FElementsList.Elements(I);
        if (E->IsPrimaryElement())
            Take(E->Caption());
    }
    return Widest;
}

QString TPathwayMap::TitleText(TCanvas& ACanvas) const {
    const int64_t Room =
        int64_t(FSettings.DrawingAreaWidth()) - 2 * int64_t(FSettings.LeftMargin());
    return ACanvas.ElidedText(FSettings.Title(), ClampPixel(Room));
}

// Above the plot, where the title's band is, in the map's face, larger and
// bold.
void TPathwayMap::DrawTitle(TCanvas& ACanvas) const {
    if (FSettings.Title().isEmpty())
        return;
    ACanvas.SetFontSize(FSettings.TitleFontSize());
    ACanvas.SetFontBold(true);
    ACanvas.SetFontColor(clBlack);
    ACanvas.TextOut(FSettings.LeftMargin(), FSettings.TopMargin(), TitleText(ACanvas));
    ACanvas.SetFontBold(false);
}

bool TPathwayMap::HasPreferredRoute() const {
    for (int32_t I = 0; I < FElementsList.Count(); ++I)
        if (FElementsList.Elements(I)->Preferred())
            return true;
    return false;
}

// A wide light band under every line and transfer of the marked elements,
// as far as they are drawn: the lines over it keep their colours, and the
// route reads as one highlighted path through the map.
void TPathwayMap::DrawPreferredRoute(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    ACanvas.SetPenColor(PreferredBandColor);
    ACanvas.SetPenWidth(PreferredBandWidth);
    for (int32_t I = 0; I < AGeometry.Count(); ++I) {
        const TElement& E = AGeometry.Element(I);
        if (!E.Preferred())
            continue;
        if (E.VisualEffect() == veShow) {
            const TMapLine Line = AGeometry.LineAt(I);
            ACanvas.MoveTo(Line.X1, Line.Y);
            ACanvas.LineTo(Line.X2, Line.Y);
        }
        if (AGeometry.TransferShownAt(I)) {
            const int32_t X = AGeometry.StationXAt(I);
            ACanvas.MoveTo(X, AGeometry.YAt(I));
            ACanvas.LineTo(X, AGeometry.YAt(AGeometry.PredecessorIndex(I)));
        }
    }
}

void TPathwayMap::DrawDecisionPoints(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    for (const TMapDecisionPoint& Point : FDecisionPoints) {
        QPoint Centre;
        if (!DecisionPointCentre(AGeometry, Point, Centre))
            continue;
        if (Point.DueNow)
            DrawDiamond(ACanvas, Centre.x(), Centre.y(), DiamondHalf, 2, clBlack,
                        RGBToColor(220, 20, 20));
        else
            DrawDiamond(ACanvas, Centre.x(), Centre.y(), DiamondHalf, 3,
                        AGeometry.ColorAt(Point.Predecessor), clWhite);
    }
}

std::vector<TPathwayMap::TLegendEntry> TPathwayMap::LegendEntries() const {
    std::vector<TLegendEntry> Entries{{lsStation, QStringLiteral("Action starts")},
                                      {lsTippingPoint, QStringLiteral("Tipping point")},
                                      {lsCombined, QStringLiteral("Combined actions")}};
    if (HasPreferredRoute())
        Entries.push_back({lsPreferred, QStringLiteral("Preferred route")});
    if (!FDecisionPoints.empty())
        Entries.push_back({lsDecision, QStringLiteral("Decision point")});
    return Entries;
}

// One row of symbols with their texts, from the left margin, in the band
// under the axes; the symbols are the map's own, in neutral greys.
void TPathwayMap::DrawLegend(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    if (!FSettings.Legend())
        return;
    constexpr TColor Dark = RGBToColor(96, 96, 96);
    constexpr TColor Light = RGBToColor(176, 176, 176);
    constexpr int32_t SymbolWidth = 34;
    ACanvas.SetFontSize(FSettings.FontSize());
    ACanvas.SetFontBold(false);
    ACanvas.SetFontColor(clBlack);
    const int32_t TH = ACanvas.TextHeight(QStringLiteral("bp"));
    const int64_t Middle =
        int64_t(AGeometry.LegendTop()) + FontPointsToPixels(FSettings.FontSize());
    const int32_t Y = ClampPixel(Middle);
    const int32_t Gap = std::max(6, TH / 3);
    int64_t X = FSettings.LeftMargin();
    for (const TLegendEntry& Entry : LegendEntries()) {
        const int32_t L = ClampPixel(X), R = ClampPixel(X + SymbolWidth);
        const int32_t C = ClampPixel(X + SymbolWidth / 2);
        switch (Entry.Symbol) {
        case lsStation:
            ACanvas.SetPenColor(Dark);
            ACanvas.SetPenWidth(LineWidth);
            ACanvas.MoveTo(L, Y);
            ACanvas.LineTo(R, Y);
            ACanvas.SetPenColor(clBlack);
            ACanvas.Ellipse(C - 7, Y - 7, C + 7, Y + 7);
            break;
        case lsTippingPoint:
            ACanvas.SetPenColor(Dark);
            ACanvas.SetPenWidth(LineWidth);
            ACanvas.MoveTo(L, Y);
            ACanvas.LineTo(ClampPixel(int64_t(R) - 8), Y);
            ACanvas.SetPenColor(clBlack);
            ACanvas.MoveTo(ClampPixel(int64_t(R) - 8), ClampPixel(int64_t(Y) - 5));
            ACanvas.LineTo(ClampPixel(int64_t(R) - 8), ClampPixel(int64_t(Y) + 5));
            break;
        case lsCombined:
            DrawDashedLine(ACanvas, L, Y, R, Y, Dark, Light);
            break;
        case lsPreferred:
            ACanvas.SetPenColor(PreferredBandColor);
            ACanvas.SetPenWidth(PreferredBandWidth);
            ACanvas.MoveTo(ClampPixel(int64_t(L) + PreferredBandWidth / 2), Y);
            ACanvas.LineTo(ClampPixel(int64_t(R) - PreferredBandWidth / 2), Y);
            ACanvas.SetPenColor(Dark);
            ACanvas.SetPenWidth(LineWidth);
            ACanvas.MoveTo(L, Y);
            ACanvas.LineTo(R, Y);
            break;
        case lsDecision:
            ACanvas.SetPenColor(Dark);
            ACanvas.SetPenWidth(LineWidth);
            ACanvas.MoveTo(L, Y);
            ACanvas.LineTo(R, Y);
            DrawDiamond(ACanvas, C, Y, DiamondHalf, 3, Dark, clWhite);
            break;
        }
        X += SymbolWidth + Gap;
        ACanvas.TextOut(ClampPixel(X), ClampPixel(int64_t(Y) - TH / 2), Entry.Text);
        X += ACanvas.TextWidth(Entry.Text) + 3 * Gap;
    }
}

void TPathwayMap::DrawCurrentSituationLine(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    ACanvas.SetPenWidth(LineWidth);
    const int32_t Current = AGeometry.CurrentIndex();
    ACanvas.SetPenColor(Current >= 0 ? AGeometry.ColorAt(Current) : GrayLine);
    const int32_t X = AGeometry.ValueToX(AGeometry.CurrentTippingValue());
    ACanvas.MoveTo(X, AGeometry.PlotTop());
    ACanvas.LineTo(X, AGeometry.AxisTop());
}

void TPathwayMap::DrawElementLine(TCanvas& ACanvas, const TMapGeometry& AGeometry,
                                  int32_t AIndex) const {
    const TMapLine Line = AGeometry.LineAt(AIndex);
    const int32_t Y = Line.Y;
    const TElement& E = AGeometry.Element(AIndex);
    if (E.CombinationType() == ctCombine) {
        const int32_t Predecessor = AGeometry.PredecessorIndex(AIndex);
        const TColor Own = AGeometry.ColorAt(AIndex);
        DrawDashedLine(ACanvas, Line.X1, Y, Line.X2, Y, Own,
                       Predecessor >= 0 ? AGeometry.ColorAt(Predecessor) : Own);
    } else {
        ACanvas.SetPenColor(AGeometry.ColorAt(AIndex));
        ACanvas.SetPenWidth(LineWidth);
        ACanvas.MoveTo(Line.X1, Y);
        ACanvas.LineTo(Line.X2, Y);
    }
    if (Line.End == leEndBar) {
        ACanvas.SetPenColor(clBlack);
        ACanvas.SetPenWidth(LineWidth);
        ACanvas.MoveTo(Line.XEnd, ClampPixel(int64_t(Y) - 5));
        ACanvas.LineTo(Line.XEnd, ClampPixel(int64_t(Y) + 5));
    } else if (Line.End == leArrowHead) {
        const int32_t Tip = ClampPixel(int64_t(Line.XEnd) + ArrowLength);
        ACanvas.FillPolygon(
            QPolygon({QPoint(Line.XEnd, ClampPixel(int64_t(Y) - ArrowHalfHeight)), QPoint(Tip, Y),
                      QPoint(Line.XEnd, ClampPixel(int64_t(Y) + ArrowHalfHeight))}),
            clBlack);
    }
}

void TPathwayMap::DrawDashedLine(TCanvas& ACanvas, int32_t X1, int32_t Y1, int32_t X2, int32_t Y2,
                                 TColor ColorA, TColor ColorB) {
    // The colour of a pixel depends on its x alone (remainder with the sign
    // of x, as C++ computes it), so each run is cut where the dashes change.
    auto ColorOf = [&](int64_t X) { return X % 20 < 10 ? ColorA : ColorB; };
    auto FillRun = [&](int64_t Left, int64_t Top, int64_t Right, int64_t Bottom) {
        int64_t X = Left;
        while (X < Right) {
            const int64_t End =
                X < 0 ? std::min<int64_t>(Right, 0) : std::min<int64_t>(Right, X - X % 10 + 10);
            ACanvas.FillSolidRect(ClampPixel(X), ClampPixel(Top), ClampPixel(End),
                                  ClampPixel(Bottom), ColorOf(X));
            X = End;
        }
    };
    if (Y1 == Y2) {
        // The five rows show the same dashes: one rectangle per dash.
        LineRuns(X1, Y1, X2, Y2, ACanvas.Width(), ACanvas.Height(),
                 [&](int64_t L, int64_t T, int64_t R, int64_t) { FillRun(L, T - 2, R, T + 3); });
        return;
    }
    for (int32_t K = -2; K <= 2; ++K)
        LineRuns(X1, ClampPixel(int64_t(Y1) + K), X2, ClampPixel(int64_t(Y2) + K), ACanvas.Width(),
                 ACanvas.Height(), FillRun);
}

void TPathwayMap::DrawTransfer(TCanvas& ACanvas, const TMapGeometry& AGeometry,
                               int32_t AIndex) const {
    const int32_t Predecessor = AGeometry.PredecessorIndex(AIndex);
    const int32_t X = AGeometry.StationXAt(AIndex);
    ACanvas.SetPenColor(AGeometry.ColorAt(Predecessor));
    ACanvas.SetPenWidth(LineWidth);
    ACanvas.MoveTo(X, AGeometry.YAt(AIndex));
    ACanvas.LineTo(X, AGeometry.YAt(Predecessor));
}

void TPathwayMap::DrawElementMarker(TCanvas& ACanvas, const TMapGeometry& AGeometry,
                                    int32_t AIndex) const {
    ACanvas.SetPenColor(clBlack);
    ACanvas.SetPenWidth(LineWidth);
    const int32_t X = AGeometry.StationXAt(AIndex);
    const int32_t Y = AGeometry.YAt(AIndex);
    ACanvas.Ellipse(X - 7, Y - 7, X + 7, Y + 7);
}

void TPathwayMap::DrawAxes(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    ACanvas.SetPenColor(clBlack);
    ACanvas.SetPenWidth(1);
    ACanvas.SetFontSize(FSettings.FontSize());
    ACanvas.SetFontColor(clBlack);
    if (FSettings.ShowXAxis())
        DrawTippingAxis(ACanvas, AGeometry);
    else if (!TimeColumnCaption(AGeometry.SeriesIndex()).isEmpty())
        ACanvas.TextOut(FSettings.LeftMargin(), ClampPixel(int64_t(AGeometry.AxisTop()) + 20),
                        AxisTitle(ACanvas, AGeometry.SeriesIndex()).Shown);
    // A time-based map's axis is time itself: it has no scenario axes.
    if (!TimeBased())
        DrawScenarioAxes(ACanvas, AGeometry);
}

void TPathwayMap::DrawTippingAxis(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    const int64_t A = AGeometry.AxisTop();
    const int32_t Top = ClampPixel(A + 20), TickEnd = ClampPixel(A + 30),
                  LabelTop = ClampPixel(A + 40);
    const double Min = FSettings.MinTippingPointValue();
    const double Max = FSettings.MaxTippingPointValue();
    auto TickAndLabel = [&](int32_t X, const QString& Label) {
        ACanvas.MoveTo(X, Top);
        ACanvas.LineTo(X, TickEnd);
        const int32_t W = ACanvas.TextWidth(Label);
        ACanvas.TextOut(ClampPixel(int64_t(X) - W / 2), LabelTop, Label);
    };
    // The values of a time-based map are moments: its labels are whole years.
    const bool Years = TimeBased();
    auto YearText = [](double Year) { return FloatToStrGeneral(std::round(Year) + 0.0); };
    ACanvas.TextOut(FSettings.LeftMargin(), Top, AxisTitle(ACanvas, AGeometry.SeriesIndex()).Shown);
    const int32_t X0 = AGeometry.ValueToX(Min);
    const int32_t X1 = AGeometry.ValueToX(Max);
    TickAndLabel(X0, Years ? YearText(Min) : FloatToStrGeneral(Min));
    ACanvas.MoveTo(X0, Top);
    ACanvas.LineTo(X1, Top);
    TickAndLabel(X1, Years ? YearText(Max) : FloatToStrGeneral(Max));
    // A tick count from a hand-edited file is held to what the settings
    // dialog allows.
    const int32_t Ticks = std::clamp(FSettings.TicksXAxis(), MinTicks, MaxTicks);
    if (Ticks <= 2)
        return;
    const double Step = (Max - Min) / (Ticks - 1);
    const double Range = std::fabs(Max - Min);
    double LastYear = std::round(Min);
    for (int32_t I = 1; I <= Ticks - 2; ++I) {
        const double V = I * Step + Min;
        if (Years) {
            // Ticks stand on whole years; one that would repeat a year is
            // left out.
            const double Year = std::round(V);
            if (Year == LastYear || Year == std::round(Max))
                continue;
            LastYear = Year;
            TickAndLabel(AGeometry.ValueToX(Year), YearText(Year));
            continue;
        }
        QString Label = FloatToStrGeneral(V);
        if (Range < 1)
            Label = FormatFixed4(V, 3);
        else if (Range < 100)
            Label = FormatFixed4(V, 1);
        else if (Range < 1000)
            Label = FormatFixed4(V, 0);
        TickAndLabel(AGeometry.ValueToX(V), Label);
    }
}

void TPathwayMap::DrawScenarioAxes(TCanvas& ACanvas, const TMapGeometry& AGeometry) const {
    const int64_t A = AGeometry.AxisTop();
    const int32_t Count = FScenarioFrame.Count();
    const int32_t PlotLeft = AGeometry.PlotLeft();
    // Year labels closer than a space would read as one number.
    const int64_t Space = std::max(1, ACanvas.TextWidth(QStringLiteral(" ")));
    for (int32_t S = 0; S < Count; ++S) {
        const int32_t Y = ClampPixel(A + 60 + 50 * int64_t(S));
        const int32_t TickEnd = ClampPixel(int64_t(Y) + 10);
        const int32_t LabelTop = ClampPixel(int64_t(Y) + 20);
        int64_t Last = -100; // right edge of the last year label on this axis
        ACanvas.TextOut(FSettings.LeftMargin(), Y,
                        BandText(ACanvas, FScenarioFrame.ScenarioCaption(S)));
        ACanvas.MoveTo(PlotLeft, Y);
        for (int64_t Year = FScenarioFrame.BeginYear(); Year <= FScenarioFrame.EndYear();
             Year += 10) {
            if (!FScenarioFrame.ScenarioValueDefined(int(Year), S))
                continue;
            const int32_t X = AGeometry.ValueToX(FScenarioFrame.ScenarioValue(int(Year), S));
            ACanvas.LineTo(X, Y);
            ACanvas.LineTo(X, TickEnd);
            const QString Label = QString::number(Year);
            const int32_t W = ACanvas.TextWidth(Label);
            int64_t LX = int64_t(X) - W / 2;
            // A label under a tick near the picture's right edge is moved
            // in rather than cut ("2100" must not read "210").
            if (X < ACanvas.Width() && LX + W > ACanvas.Width())
                LX = std::max<int64_t>(int64_t(ACanvas.Width()) - W, 0);
            // Only the label just before is compared: a label that would
            // come closer to it than a space is left out, its tick stays.
            if (LX >= Last + Space) {
                ACanvas.TextOut(ClampPixel(LX), LabelTop, Label);
                Last = LX + W;
            }
            ACanvas.MoveTo(X, Y);
        }
    }
}

// ---------------------------------------------------------------- decision points

bool DecisionPointCentre(const TMapGeometry& AGeometry, const TMapDecisionPoint& APoint,
                         QPoint& ACentre) {
    const int32_t I = APoint.Predecessor;
    if (I < 0 || I >= AGeometry.Count() || AGeometry.Element(I).VisualEffect() != veShow)
        return false;
    const TMapLine Line = AGeometry.LineAt(I);
    int32_t X = Line.X1;
    // On the line, also where the decision's moment lies before its start
    // (a lead time longer than the line is in place).
    if (!APoint.DueNow)
        X = std::clamp(AGeometry.ValueToX(APoint.Value), std::min(Line.X1, Line.X2),
                       std::max(Line.X1, Line.X2));
    ACentre = QPoint(X, Line.Y);
    return true;
}

void DrawDiamond(TCanvas& ACanvas, int32_t X, int32_t Y, int32_t Half, int32_t Outline,
                 TColor OutlineColor, TColor FillColor) {
    auto Shape = [&](int32_t H) {
        return QPolygon({QPoint(X - H, Y), QPoint(X, Y - H), QPoint(X + H, Y), QPoint(X, Y + H)});
    };
    ACanvas.FillPolygon(Shape(Half), OutlineColor);
    if (Half > Outline)
        ACanvas.FillPolygon(Shape(Half - Outline), FillColor);
}

// ---------------------------------------------------------------- DrawPathwayBar

namespace {

// Finds elements by id, the first match winning as in the model. A bar walks
// a few predecessors as a rule, for which the model's scan is cheapest; a
// long chain gets the list indexed once instead of scanned at every step.
class TElementFinder {
public:
    explicit TElementFinder(const TElementsList& AList) : FList(AList) {}

    const TElement* Find(int32_t ID) {
        if (FIndex.empty() && ++FScans > 32) {
            FIndex.reserve(size_t(FList.Count()));
            for (int32_t I = 0; I < FList.Count(); ++I)
                FIndex.emplace(FList.Elements(I)->ID(), FList.Elements(I));
        }
        if (FIndex.empty())
            return FList.FindElement(ID);
        const auto It = FIndex.find(ID);
        return It == FIndex.end() ? nullptr : It->second;
    }

    // The model's MyColor, with lookups through the finder.
    TColor EffectiveColor(const TElement& AElement) {
        const TElement* El = &AElement;
        const int32_t Limit = FList.Count() + 1;
        for (int32_t Step = 0; Step <= Limit; ++Step) {
            if (El->IsPrimaryElement())
                return El->OwnColor();
            const TElement* Second = Find(El->CombinationSecondID());
            if (!Second)
                return El->OwnColor();
            El = Second;
        }
        return AElement.OwnColor();
    }

private:
    const TElementsList& FList;
    int32_t FScans = 0;
    std::unordered_map<int32_t, const TElement*> FIndex;
};

} // namespace

void DrawPathwayBar(const TElement& AElement, int32_t ASeriesIndex, TCanvas& ACanvas,
                    const QRect& ARect, double ALow, double AHigh) {
    const double Span = AHigh - ALow;
    if (Span == 0)
        return;
    const TElementsList* List = AElement.ElementsList();
    if (!List)
        return;
    TElementFinder Finder(*List);
    const int64_t Left = ARect.x(), Top = ARect.y();
    const int64_t W = ARect.width(), H = ARect.height();
    auto XOf = [&](double Value) { return RoundToPixel(Left + (Value - ALow) / Span * W); };
    auto YOf = [&](int64_t Band, int64_t Bands) {
        return RoundToPixel(Top + double(Band) / Bands * H);
    };
    const int32_t CurrentID = List->CurrentElementID();
    const TElement* Current = CurrentID == -1 ? nullptr : Finder.Find(CurrentID);
    auto StartValue = [&](const TElement& El) {
        if (!El.IsPrimaryElement() && El.PredecessorID() >= 0)
            if (const TElement* Predecessor = Finder.Find(El.PredecessorID()))
                return ElementTippingValue(*Predecessor, ASeriesIndex);
        if (!Current || El.ID() == CurrentID)
            return 0.0;
        return ElementTippingValue(*Current, ASeriesIndex);
    };

    std::unordered_set<const TElement*> Visited;
    for (const TElement* El = &AElement; El && Visited.insert(El).second;
         El = El->PredecessorID() < 0 ? nullptr : Finder.Find(El->PredecessorID())) {
        const int32_t X1 = XOf(StartValue(*El));
        const int32_t X2 = XOf(ElementTippingValue(*El, ASeriesIndex));
        const int64_t Bands =
            El->CombinationType() == ctCombine ? std::max<int32_t>(1, El->ColorCount()) : 1;
        auto BandColor = [&](int64_t Band) {
            return Bands == 1 ? Finder.EffectiveColor(*El) : El->Colors(int32_t(Band));
        };
        if (Bands <= H) {
            for (int64_t I = 0; I < Bands; ++I) {
                ACanvas.SetBrushColor(BandColor(I));
                ACanvas.FillRect(X1, YOf(I, Bands), X2, YOf(I + 1, Bands));
            }
            continue;
        }
        // More bands than pixel rows: each row shows the band that covers it,
        // exactly as painting every band would have left it.
        for (int64_t Row = Top; Row < Top + H; ++Row) {
            int64_t Lo = 0, Hi = Bands - 1;
            while (Lo < Hi) {
                const int64_t Mid = Lo + (Hi - Lo + 1) / 2;
                if (YOf(Mid, Bands) <= Row)
                    Lo = Mid;
                else
                    Hi = Mid - 1;
            }
            ACanvas.SetBrushColor(BandColor(Lo));
            ACanvas.FillRect(X1, ClampPixel(Row), X2, ClampPixel(Row + 1));
        }
    }
    if (Current && CurrentID > 0) {
        ACanvas.SetBrushColor(Finder.EffectiveColor(*Current));
        ACanvas.FillRect(XOf(StartValue(*Current)), ClampPixel(Top),
                         XOf(ElementTippingValue(*Current, ASeriesIndex)), ClampPixel(Top + H));
    }
}
