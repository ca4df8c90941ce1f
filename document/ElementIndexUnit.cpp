#include "document/ElementIndexUnit.h"

#include <algorithm>

TElementIndex::TElementIndex(const TElementsList& Elements) : FElements(Elements) {
    const int32_t N = Elements.Count();
    FIndexOf.reserve(size_t(std::max(0, N)));
    // emplace keeps the first element of an id.
    for (int32_t I = 0; I < N; ++I)
        FIndexOf.emplace(Elements.Elements(I)->ID(), I);
}

int32_t TElementIndex::LeadTime(const TElement* Element) const {
    // As many steps as the model takes before it gives up on a loop.
    const int32_t Limit = FElements.Count() + 1;
    for (int32_t Step = 0; Element && Step <= Limit; ++Step) {
        if (Element->IsPrimaryElement())
            return Element->LeadTime();
        Element = Find(Element->CombinationSecondID());
    }
    return 0;
}
