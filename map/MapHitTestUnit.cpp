#include "map/MapHitTestUnit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>

namespace {

// Half the width of the map's 5-pixel pen; the raster fills the pixels whose
// centres lie within it.
constexpr double HalfPen = 2.5;
// A station is a circle of radius 7 drawn with that pen.
constexpr double StationRadius = 7 + HalfPen;
// Every shape but a transfer lies within this many pixels of its row.
constexpr double RowReach = StationRadius;

// Hands the shapes of one element to Emit, in drawing order. The rules are
// the painter's (TPathwayMap): what it leaves out, this leaves out.
template <typename TEmit>
void ForEachShape(const TMapGeometry& G, int32_t I, bool Lines, bool Stations, TEmit&& Emit) {
    const TElement& E = G.Element(I);
    const int32_t Y = G.YAt(I);
    if (Lines && E.VisualEffect() == veShow) {
        const TMapLine Line = G.LineAt(I);
        const int32_t X1 = Line.X1, X2 = Line.X2;
        if (E.CombinationType() == ctCombine) {
            // The band leaves out the pixel at X2, whichever way it runs.
            const int32_t Left = X1 < X2 ? X1 : X2 + 1;
            const int32_t Right = X1 < X2 ? X2 - 1 : X1;
            if (X1 != X2)
                Emit(TMapShape{TMapShape::skLine, I, QPoint(), QPoint(), 0,
                               QRect(QPoint(Left, Y - 2), QPoint(Right, Y + 2))});
        } else if (X1 != X2) {
            // A stroke without length leaves nothing on the bitmap.
            Emit(TMapShape{TMapShape::skLine, I, QPoint(X1, Y), QPoint(X2, Y), HalfPen, QRect()});
        }
        if (Line.End == leEndBar)
            Emit(TMapShape{TMapShape::skEndBar, I, QPoint(Line.XEnd, ClampPixel(int64_t(Y) - 5)),
                           QPoint(Line.XEnd, ClampPixel(int64_t(Y) + 5)), HalfPen, QRect()});
        else if (Line.End == leArrowHead)
            Emit(TMapShape{TMapShape::skArrowHead, I, QPoint(Line.XEnd, Y),
                           QPoint(ClampPixel(int64_t(Line.XEnd) + ArrowLength), Y),
                           double(ArrowHalfHeight), QRect()});
    }
    if (Lines && G.TransferShownAt(I)) {
        const int32_t X = G.StationXAt(I);
        const int32_t YP = G.YAt(G.PredecessorIndex(I));
        if (YP != Y)
            Emit(
                TMapShape{TMapShape::skTransfer, I, QPoint(X, Y), QPoint(X, YP), HalfPen, QRect()});
    }
    if (Stations && E.ID() != G.ElementsList().CurrentElementID()) {
        const QPoint Centre(G.StationXAt(I), Y);
        Emit(TMapShape{TMapShape::skStation, I, Centre, Centre, StationRadius, QRect()});
    }
}

// How far Point lies from the nearest point of the segment A-B (A itself
// when both ends are one point).
double SegmentDistance(QPointF Point, QPointF A, QPointF B) {
    const double DX = B.x() - A.x(), DY = B.y() - A.y();
    const double Length2 = DX * DX + DY * DY;
    double T = Length2 > 0 ? ((Point.x() - A.x()) * DX + (Point.y() - A.y()) * DY) / Length2 : 0;
    T = std::clamp(T, 0.0, 1.0);
    return std::hypot(Point.x() - (A.x() + T * DX), Point.y() - (A.y() + T * DY));
}

bool EmptyRange(const TMapGeometry& G) {
    return G.Settings().MaxTippingPointValue() == G.Settings().MinTippingPointValue();
}

} // namespace

// The raster sets the pixels whose centres lie in the triangle, its edges
// included: those within HalfWidth x (1 - d / length) of the row, d pixels
// right of the base. Outside, the distance to the nearest edge.
double TMapShape::ArrowDistance(QPoint Point) const {
    const double Length = To.x() - From.x();
    const double D = Point.x() - From.x(), Across = std::fabs(double(Point.y() - From.y()));
    if (Length > 0 && D >= 0 && Across <= HalfWidth * (1 - D / Length))
        return 0;
    const QPointF Corners[3] = {QPointF(From.x(), From.y() - HalfWidth), QPointF(To),
                                QPointF(From.x(), From.y() + HalfWidth)};
    double Nearest = std::numeric_limits<double>::infinity();
    for (int K = 0; K < 3; ++K)
        Nearest = std::min(Nearest, SegmentDistance(Point, Corners[K], Corners[(K + 1) % 3]));
    return Nearest;
}

double TMapShape::DistanceTo(QPoint Point) const {
    const double PX = Point.x(), PY = Point.y();
    if (!Band.isNull()) {
        const double DX = std::max({double(Band.left()) - PX, 0.0, PX - double(Band.right())});
        const double DY = std::max({double(Band.top()) - PY, 0.0, PY - double(Band.bottom())});
        return std::hypot(DX, DY);
    }
    if (Kind == skArrowHead)
        return ArrowDistance(Point);
    // The nearest point of the segment, then the stroke around it.
    return std::max(0.0, SegmentDistance(Point, From, To) - HalfWidth);
}

std::vector<TMapShape> ElementShapes(const TMapGeometry& Geometry, int32_t AIndex) {
    std::vector<TMapShape> Shapes;
    if (EmptyRange(Geometry))
        return Shapes;
    ForEachShape(Geometry, AIndex, true, true,
                 [&](const TMapShape& Shape) { Shapes.push_back(Shape); });
    return Shapes;
}

std::vector<int32_t> ElementsAt(const TMapGeometry& Geometry, QPoint Point, int32_t Tolerance) {
    std::vector<int32_t> Result;
    if (EmptyRange(Geometry))
        return Result;
    const double Reach = std::max(0, Tolerance);
    const int32_t N = Geometry.Count();
    // Stations lie over everything else, so they are taken first; then the
    // lines, bars and transfers, both passes from the end of the list back,
    // each element tested once per pass.
    size_t Stations = 0;
    for (const bool StationPass : {true, false}) {
        for (int32_t I = N - 1; I >= 0; --I) {
            // Only a transfer reaches beyond its row, down or up to its
            // predecessor's; most elements are passed over on the rows alone.
            const double Y = Point.y(), Row = Geometry.YAt(I);
            if (std::fabs(Y - Row) > RowReach + Reach) {
                const int32_t Predecessor = Geometry.PredecessorIndex(I);
                if (StationPass || Predecessor < 0)
                    continue;
                const double Other = Geometry.YAt(Predecessor);
                if (Y < std::min(Row, Other) - HalfPen - Reach ||
                    Y > std::max(Row, Other) + HalfPen + Reach)
                    continue;
            }
            bool Hit = false;
            ForEachShape(Geometry, I, !StationPass, StationPass, [&](const TMapShape& Shape) {
                Hit = Hit || Shape.DistanceTo(Point) <= Reach;
            });
            // The stations found lie in falling order of index.
            if (Hit &&
                (StationPass || !std::binary_search(Result.begin(), Result.begin() + Stations, I,
                                                    std::greater<int32_t>())))
                Result.push_back(I);
        }
        if (StationPass)
            Stations = Result.size();
    }
    return Result;
}

std::vector<int32_t> DecisionPointsAt(const TMapGeometry& Geometry,
                                      const std::vector<TMapDecisionPoint>& APoints, QPoint Point,
                                      int32_t Tolerance) {
    std::vector<int32_t> Result;
    if (EmptyRange(Geometry))
        return Result;
    const int64_t Reach = int64_t(DiamondHalf) + std::max(0, Tolerance);
    for (int32_t K = int32_t(APoints.size()) - 1; K >= 0; --K) {
        QPoint Centre;
        if (!DecisionPointCentre(Geometry, APoints[size_t(K)], Centre))
            continue;
        // A diamond is the set of pixels within its half-diagonal of its
        // centre, counted along the axes.
        const int64_t Distance = std::llabs(int64_t(Point.x()) - Centre.x()) +
                                 std::llabs(int64_t(Point.y()) - Centre.y());
        if (Distance <= Reach)
            Result.push_back(K);
    }
    return Result;
}
