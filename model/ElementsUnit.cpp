#include "ElementsUnit.h"

#include "ErrorUnit.h"
#include "NumberFormatUnit.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

// ---------------------------------------------------------------- colour text

namespace {

struct TColorName {
    const char* Name;
    TColor Value;
};

constexpr TColor SystemColor(int N) { return TColor(0xFF000000u + uint32_t(N)); }

const TColorName ColorNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clNone", clNone},
    {"clDefault", clDefault},
    {"clScrollBar", SystemColor(0)},
    {"clBackground", SystemColor(1)},
    {"clActiveCaption", SystemColor(2)},
    {"clInactiveCaption", SystemColor(3)},
    {"clMenu", SystemColor(4)},
    {"clWindow", SystemColor(5)},
    {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)},
    {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)},
    {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)},
    {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)},
    {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)},
    {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)},
    {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)},
    {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)},
    {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)},
    {"clInfoBk", SystemColor(24)},
    {"clHotLight", SystemColor(26)},
    {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)},
    {"clMenuHighlight", SystemColor(29)},
    {"clMenuBar", SystemColor(30)},
};

} // namespace

QString ColorToString(TColor Color) {
    for (const TColorName& Entry : ColorNames)
        if (Entry.Value == Color)
            return QString::fromLatin1(Entry.Name);
    return QStringLiteral("$%1").arg(uint32_t(Color), 8, 16, QLatin1Char('0')).toUpper();
}

bool TryStringToColor(const QString& Text, TColor& Color) {
    for (const TColorName& Entry : ColorNames)
        if (Text.compare(QLatin1String(Entry.Name), Qt::CaseInsensitive) == 0) {
            Color = Entry.Value;
            return true;
        }
    int32_t Value = 0;
    if (!TryStrToInt(Text, Value))
        return false;
    Color = Value;
    return true;
}

TColor StringToColor(const QString& Text) {
    TColor Color = 0;
    if (!TryStringToColor(Text, Color))
        StrToInt(Text); // raises the conversion error with the text
    return Color;
}

// ---------------------------------------------------------------- TElement

TElement::TElement(int32_t MyID, TElementsList* MyElementsList)
    : FMyID(MyID), FMyColor(clBlack), FTippingPointValue(0), FPredecessorID(-1),
      FCombinationSecondID(-1), FElementsList(MyElementsList), FVisualEffect(veShow),
      FCombinationType(ctNone), FRecurrentCosts(0), FTransferCosts(0), FInitialCosts(0) {
    SetTippingTimeValuesLength(MyElementsList->TippingTimeValuesCount());
    MyElementsList->Append(this);
}

TElement* TElement::PredecessorElement() const {
    if (FPredecessorID < 0)
        return nullptr;
    return FElementsList->FindElement(FPredecessorID);
}

TElement* TElement::CombinationSecondElement() const {
    return FElementsList->FindElement(FCombinationSecondID);
}

// The chains followed below are acyclic and complete in any file the
// application wrote; a hand-edited file may break both, so every walk is
// bounded by the list's length and treats a missing element as a dead end.

TColor TElement::MyColor() const {
    const TElement* El = this;
    const int32_t Limit = FElementsList->Count() + 1;
    for (int32_t Step = 0; Step <= Limit; ++Step) {
        if (El->IsPrimaryElement())
            return El->FMyColor;
        const TElement* Second = El->CombinationSecondElement();
        if (!Second)
            return El->FMyColor;
        El = Second;
    }
    return FMyColor;
}

int32_t TElement::ColorCount() const {
    if (FCombinationType != ctCombine)
        return 1;
    // Post-order walk with memo: shared parts are counted once per call, and an
    // element met again on the current path (a loop) counts as one band.
    std::unordered_map<const TElement*, int64_t> Done;
    std::unordered_set<const TElement*> OnPath;
    std::vector<std::pair<const TElement*, bool>> Stack;
    Stack.emplace_back(this, false);
    auto ValueOf = [&](const TElement* El) -> int64_t {
        if (!El)
            return 1;
        auto It = Done.find(El);
        return It == Done.end() ? 1 : It->second;
    };
    while (!Stack.empty()) {
        const TElement* El = Stack.back().first;
        if (!Stack.back().second) {
            if (Done.count(El)) {
                Stack.pop_back();
                continue;
            }
            if (El->FCombinationType != ctCombine) {
                Done[El] = 1;
                Stack.pop_back();
                continue;
            }
            Stack.back().second = true;
            OnPath.insert(El);
            for (const TElement* Child : {El->PredecessorElement(), El->CombinationSecondElement()})
                if (Child && !Done.count(Child) && !OnPath.count(Child))
                    Stack.emplace_back(Child, false);
        } else {
            const int64_t Sum =
                ValueOf(El->PredecessorElement()) + ValueOf(El->CombinationSecondElement());
            Done[El] = std::min<int64_t>(Sum, std::numeric_limits<int32_t>::max());
            OnPath.erase(El);
            Stack.pop_back();
        }
    }
    return int32_t(Done[this]);
}

TColor TElement::Colors(int32_t Band) const {
    const TElement* El = this;
    int64_t I = Band;
    const int32_t Limit = FElementsList->Count() + 1;
    for (int32_t Step = 0; Step <= Limit; ++Step) {
        if (I <= 0)
            return El->MyColor();
        const TElement* Second = El->CombinationSecondElement();
        const int64_t N = Second ? Second->ColorCount() : 1;
        if (I < N) {
            if (!Second)
                return clBlack;
            El = Second;
        } else {
            I -= N;
            const TElement* Predecessor = El->PredecessorElement();
            if (!Predecessor)
                return clBlack;
            El = Predecessor;
        }
    }
    return clBlack;
}

int32_t TElement::ChildCount() const { return FElementsList->ChildCount(FMyID); }
int32_t TElement::DependencyCount() const { return FElementsList->DependencyCount(FMyID); }
int32_t TElement::ChildNumber() const { return FElementsList->ChildNumber(FMyID); }

double TElement::TippingTimeValue(int32_t Index) const {
    if (Index < 0 || Index >= TippingTimeValuesLength())
        return 0;
    return FTippingTimeValues[size_t(Index)];
}

void TElement::SetTippingTimeValue(int32_t Index, double Value) {
    if (Index < 0 || Index >= TippingTimeValuesLength())
        RaiseListIndexError(Index);
    FTippingTimeValues[size_t(Index)] = Value;
}

void TElement::SetTippingTimeValuesLength(int32_t Count) {
    if (Count < 0)
        RaiseListIndexError(Count);
    if (Count == TippingTimeValuesLength())
        return;
    FTippingTimeValues.resize(size_t(Count), 0.0);
}

// ---------------------------------------------------------------- TElementsList

TElementsList::TElementsList()
    : FCurrentElementID(0), FPathwayType(ptConditionBased), FTippingTimeValuesCount(0) {}

TElementsList::~TElementsList() { ClearElements(); }

TElement* TElementsList::Elements(int32_t Index) const {
    if (Index < 0 || Index >= Count())
        RaiseListIndexError(Index);
    return FItems[size_t(Index)];
}

void TElementsList::Delete(int32_t Index) {
    TElement* Element = Elements(Index);
    FItems.erase(FItems.begin() + Index);
    delete Element;
}

void TElementsList::Exchange(int32_t Index1, int32_t Index2) {
    Elements(Index1);
    Elements(Index2);
    std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
}

bool TElementsList::IsPrimaryElementIndex(int32_t Index) const {
    return Elements(Index)->IsPrimaryElement();
}

bool TElementsList::IsPrimaryElementID(int32_t ID) const {
    return IsPrimaryElementIndex(FindIndex(ID));
}

TElement* TElementsList::AddSimpleElement(const QString& MyName, TColor MyColor, double MyValue,
                                          double MyInitialCosts, double MyRecurrentCosts) {
    TElement* Element = new TElement(NextFreeID(), this);
    Element->SetCaption(MyName);
    Element->SetMyColor(MyColor);
    if (FPathwayType == ptConditionBased)
        Element->SetTippingPointValue(MyValue);
    else if (Element->TippingTimeValuesLength() > 0)
        Element->SetTippingTimeValue(0, MyValue);
    Element->SetPredecessorID(-1);
    Element->SetCombinationSecondID(-1);
    Element->SetVisualEffect(veShow);
    Element->SetInitialCosts(MyInitialCosts);
    Element->SetRecurrentCosts(MyRecurrentCosts);
    return Element;
}

TElement* TElementsList::AddCombinationElement(const QString& MyName, double MyTippingValue,
                                               int32_t MyFirstID, int32_t MySecondID) {
    TElement* Element = new TElement(NextFreeID(), this);
    Element->SetCaption(MyName);
    if (FPathwayType == ptConditionBased)
        Element->SetTippingPointValue(MyTippingValue);
    else if (Element->TippingTimeValuesLength() > 0)
        Element->SetTippingTimeValue(0, MyTippingValue);
    Element->SetPredecessorID(MyFirstID);
    Element->SetCombinationSecondID(MySecondID);
    Element->SetVisualEffect(veShow);
    return Element;
}

void TElementsList::ClearElements() {
    while (!FItems.empty()) {
        TElement* Element = FItems.back();
        FItems.pop_back();
        delete Element;
    }
}

int32_t TElementsList::FindIndex(int32_t MyID) const {
    for (size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I]->ID() == MyID)
            return int32_t(I);
    return -1;
}

TElement* TElementsList::FindElement(int32_t MyID) const {
    const int32_t Index = FindIndex(MyID);
    return Index < 0 ? nullptr : FItems[size_t(Index)];
}

int32_t TElementsList::PrimaryCount() const {
    return int32_t(std::count_if(FItems.begin(), FItems.end(),
                                 [](const TElement* E) { return E->IsPrimaryElement(); }));
}

int32_t TElementsList::GetParentID(int32_t ID) const {
    return Elements(FindIndex(ID))->CombinationSecondID();
}

int32_t TElementsList::GetPredecessorID(int32_t ID) const {
    return Elements(FindIndex(ID))->PredecessorID();
}

int32_t TElementsList::ChildCount(int32_t ID) const {
    return int32_t(std::count_if(FItems.begin(), FItems.end(), [ID](const TElement* E) {
        return E->CombinationSecondID() == ID;
    }));
}

int32_t TElementsList::DependencyCount(int32_t ID) const {
    return int32_t(std::count_if(FItems.begin(), FItems.end(), [ID](const TElement* E) {
        return E->CombinationSecondID() == ID || E->PredecessorID() == ID;
    }));
}

int32_t TElementsList::ChildNumber(int32_t ID) const {
    const int32_t Parent = GetParentID(ID);
    const int32_t K = FindIndex(ID);
    int32_t Number = 0;
    for (int32_t I = 0; I < K; ++I)
        if (FItems[size_t(I)]->CombinationSecondID() == Parent)
            ++Number;
    return Number;
}

double TElementsList::MaxTippingPoint() const {
    double Result = 0;
    for (const TElement* E : FItems)
        if (E->TippingPointValue() > Result)
            Result = E->TippingPointValue();
    return Result;
}

int32_t TElementsList::NextFreeID() const {
    int64_t Result = 1;
    for (const TElement* E : FItems)
        if (int64_t(E->ID()) + 1 > Result)
            Result = int64_t(E->ID()) + 1;
    // An id of 2147483647 from a file leaves no larger id; the wrapped value
    // would collide with negative ids, so stay at the largest one.
    return int32_t(std::min<int64_t>(Result, std::numeric_limits<int32_t>::max()));
}

void TElementsList::SetTippingTimeValuesCount(int32_t Value) {
    if (Value == FTippingTimeValuesCount)
        return;
    if (Value < 0)
        RaiseListIndexError(Value);
    const int32_t OldCount = FTippingTimeValuesCount;
    FTippingTimeValuesCount = Value;
    for (TElement* E : FItems)
        E->SetTippingTimeValuesLength(Value);
    while (FTippingTimeColumnCaptions.size() > Value)
        FTippingTimeColumnCaptions.removeLast();
    for (int32_t I = OldCount; I < Value; ++I) {
        if (I < FTippingTimeColumnCaptions.size())
            FTippingTimeColumnCaptions[I] = QStringLiteral("Time%1").arg(I);
        else
            FTippingTimeColumnCaptions.append(QStringLiteral("Time%1").arg(I));
    }
}

QString TElementsList::TippingTimeColumnCaption(int32_t Index) const {
    if (Index < 0 || Index >= FTippingTimeColumnCaptions.size())
        RaiseListIndexError(Index);
    return FTippingTimeColumnCaptions.at(Index);
}

void TElementsList::SetTippingTimeColumnCaption(int32_t Index, const QString& Value) {
    if (Index < 0 || Index >= FTippingTimeColumnCaptions.size())
        RaiseListIndexError(Index);
    FTippingTimeColumnCaptions[Index] = Value;
}
