#pragma once

// How the rows of a map's lines lie, as a reader of the map judges them,
// worked out pair by pair from the model and the geometry: slow, but plain.

#include "map/MapGeometryUnit.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <vector>

// The element whose row an element's line lies on by design: an action's
// own, a pathway element's that outlasts the element it changes to its own
// (a sub-row), any other pathway element's that of the element it changes
// to. Elements on the same row continue one another's line.
inline const TElement* RowOwner(const TMapGeometry& G, const TElement& E) {
    const TElement* Owner = &E;
    for (int32_t Step = 0; Step <= G.Count(); ++Step) {
        if (Owner->IsPrimaryElement() || G.ExtendsPastSecond(*Owner))
            return Owner;
        const int32_t Second = G.SecondIndex(G.IndexOf(*Owner));
        if (Second < 0)
            return nullptr;
        Owner = &G.Element(Second);
    }
    return nullptr;
}

// The smallest distance between the rows of two lines that lie on different
// rows by design and run over a common stretch of x (more than touching);
// INT32_MAX when there are no such two. The rows are the geometry's, or those
// RowOf gives by list index.
inline int32_t ClosestOverlappingRows(const TMapGeometry& G,
                                      const std::function<int32_t(int32_t)>& RowOf = nullptr) {
    struct TLine {
        const TElement* Owner;
        int32_t Y, Left, Right;
    };
    std::vector<TLine> Lines;
    for (int32_t I = 0; I < G.Count(); ++I) {
        const TMapLine L = G.LineAt(I);
        Lines.push_back({RowOwner(G, G.Element(I)), RowOf ? RowOf(I) : L.Y, std::min(L.X1, L.X2),
                         std::max(L.X1, L.X2)});
    }
    int32_t Closest = std::numeric_limits<int32_t>::max();
    for (size_t A = 0; A < Lines.size(); ++A)
        for (size_t B = A + 1; B < Lines.size(); ++B) {
            const TLine &LA = Lines[A], &LB = Lines[B];
            if (!LA.Owner || LA.Owner == LB.Owner || LA.Left == LA.Right || LB.Left == LB.Right)
                continue;
            if (std::max(LA.Left, LB.Left) < std::min(LA.Right, LB.Right))
                Closest = std::min(Closest, std::abs(LA.Y - LB.Y));
        }
    return Closest;
}

// Whether every row lies between TopMargin and the lowest row.
inline bool RowsWithinThePlot(const TMapGeometry& G) {
    for (int32_t I = 0; I < G.Count(); ++I)
        if (G.YAt(I) < G.Settings().TopMargin() || G.YAt(I) > G.LowestRow())
            return false;
    return true;
}
