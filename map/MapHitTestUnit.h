#pragma once

#include "map/MapGeometryUnit.h"
#include "map/PathwayMapUnit.h"

#include <QPoint>
#include <QRect>
#include <cstdint>
#include <vector>

// What the map draws for an element, in bitmap pixels, as the painter lays it
// out: its line (when its VisualEffect is veShow) with the end bar past its
// tipping point or the arrowhead at the plot's edge, the transfer that leads to it from its
// predecessor's row, and its station. The pointer is answered from these, never from pixels, so a
// map under a halo or a tooltip answers the same.
struct TMapShape {
    enum TKind : uint8_t { skLine, skEndBar, skTransfer, skStation, skArrowHead };
    TKind Kind;
    int32_t Element; // list index
    // Every pixel whose distance from the segment From-To is at most
    // HalfWidth: a stroke of the 5-pixel pen with its round ends, or, for a
    // station, a disc (From = To) that takes in the ring and its white middle.
    // An arrowhead is the triangle from its base's middle From, HalfWidth up
    // and down, to its tip To.
    QPoint From;
    QPoint To;
    double HalfWidth;
    // The dashed line of a combined element has square ends: the pixels of
    // Band instead of the segment. Null for every other shape.
    QRect Band;

    // How far Point lies outside the shape, in pixels; 0 on any of its pixels.
    double DistanceTo(QPoint Point) const;

private:
    double ArrowDistance(QPoint Point) const;
};

// The shapes of the element at list index AIndex in the order they are
// drawn; empty for an empty tipping range, where no map can be drawn.
std::vector<TMapShape> ElementShapes(const TMapGeometry& Geometry, int32_t AIndex);

// The list indexes of the elements with a shape within Tolerance pixels of
// Point, each once, topmost first: stations before lines, bars and transfers
// (they are drawn last), and among each of the two later-drawn before
// earlier, which is later in the list before earlier. Lines, bars,
// arrowheads, transfers: all but stations. A transfer belongs to
// the element it leads to. The current-situation line and the captions are
// no shapes of an element.
std::vector<int32_t> ElementsAt(const TMapGeometry& Geometry, QPoint Point, int32_t Tolerance = 3);

// The decision points of APoints whose diamond lies within Tolerance pixels
// of Point, by their index in APoints, the one drawn last (on top) first.
// None for an empty tipping range.
std::vector<int32_t> DecisionPointsAt(const TMapGeometry& Geometry,
                                      const std::vector<TMapDecisionPoint>& APoints, QPoint Point,
                                      int32_t Tolerance = 3);
