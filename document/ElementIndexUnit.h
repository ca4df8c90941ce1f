#pragma once

#include "model/ElementsUnit.h"

#include <cstdint>
#include <unordered_map>

// Lookups by id through one index over a list, the first match winning as
// in the model. The list's own lookups scan it from the front, and the
// tables of a plan of thousands of elements (the scorecard, the decisions)
// are worked out again at every edit: built in one pass, this keeps them
// linear in the plan's size. The list must outlive the index and stay
// unchanged while it is in use.
class TElementIndex {
public:
    explicit TElementIndex(const TElementsList& Elements);

    // -1 for an id that names no element.
    int32_t IndexOf(int32_t ID) const {
        const auto It = FIndexOf.find(ID);
        return It == FIndexOf.end() ? -1 : It->second;
    }
    // Null for an id that names no element.
    const TElement* Find(int32_t ID) const {
        const int32_t Index = IndexOf(ID);
        return Index < 0 ? nullptr : FElements.Elements(Index);
    }
    // The lead time of Element as TElement::EffectiveLeadTime finds it: an
    // action's own, that of the action a pathway element changes to; 0 for
    // none and where the chain of elements changed to breaks off or loops.
    int32_t LeadTime(const TElement* Element) const;

private:
    const TElementsList& FElements;
    std::unordered_map<int32_t, int32_t> FIndexOf;
};
