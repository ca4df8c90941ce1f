#include "model/ElementsUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "base/ReadReportUnit.h"
#include "file/XmlNumberUnit.h"
#include "file/XmlUnit.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>

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

int32_t TElement::EffectiveLeadTime() const {
    const TElement* El = this;
    const int32_t Limit = FElementsList->Count() + 1;
    for (int32_t Step = 0; Step <= Limit; ++Step) {
        if (El->IsPrimaryElement())
            return El->FLeadTime;
        const TElement* Second = El->CombinationSecondElement();
        if (!Second)
            return 0;
        El = Second;
    }
    return 0;
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

int32_t TElement::ChildCount() const {
    return FElementsList->ChildCount(FMyID);
}
int32_t TElement::DependencyCount() const {
    return FElementsList->DependencyCount(FMyID);
}
int32_t TElement::ChildNumber() const {
    return FElementsList->ChildNumber(FMyID);
}

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

void TElement::AssignFields(const TElement& Source) {
    FMyID = Source.FMyID;
    FCaption = Source.FCaption;
    FMyColor = Source.FMyColor;
    FTippingPointValue = Source.FTippingPointValue;
    FTippingTimeValues = Source.FTippingTimeValues;
    FPredecessorID = Source.FPredecessorID;
    FCombinationSecondID = Source.FCombinationSecondID;
    FVisualEffect = Source.FVisualEffect;
    FCombinationType = Source.FCombinationType;
    FRecurrentCosts = Source.FRecurrentCosts;
    FTransferCosts = Source.FTransferCosts;
    FInitialCosts = Source.FInitialCosts;
    FPreferred = Source.FPreferred;
    FLeadTime = Source.FLeadTime;
}

namespace {

// Numbers compare by their bits: a NaN read from a file is the same NaN, and
// 0 and -0, which a save writes differently, are not the same.
bool SameNumber(double A, double B) {
    return std::memcmp(&A, &B, sizeof A) == 0;
}

} // namespace

bool TElement::SameFields(const TElement& Other) const {
    if (FTippingTimeValues.size() != Other.FTippingTimeValues.size())
        return false;
    for (size_t I = 0; I < FTippingTimeValues.size(); ++I)
        if (!SameNumber(FTippingTimeValues[I], Other.FTippingTimeValues[I]))
            return false;
    return FMyID == Other.FMyID && FCaption == Other.FCaption && FMyColor == Other.FMyColor &&
           SameNumber(FTippingPointValue, Other.FTippingPointValue) &&
           FPredecessorID == Other.FPredecessorID &&
           FCombinationSecondID == Other.FCombinationSecondID &&
           FVisualEffect == Other.FVisualEffect && FCombinationType == Other.FCombinationType &&
           SameNumber(FRecurrentCosts, Other.FRecurrentCosts) &&
           SameNumber(FTransferCosts, Other.FTransferCosts) &&
           SameNumber(FInitialCosts, Other.FInitialCosts) && FPreferred == Other.FPreferred &&
           FLeadTime == Other.FLeadTime;
}

// ---------------------------------------------------------------- TElementsList

TElementsList::TElementsList()
    : FCurrentElementID(0), FPathwayType(ptConditionBased), FTippingTimeValuesCount(0) {}

TElementsList::~TElementsList() {
    ClearElements();
}

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

void TElementsList::Assign(const TElementsList& Source) {
    if (&Source == this)
        return;
    ClearElements();
    FItems.reserve(Source.FItems.size());
    FTippingTimeValuesCount = Source.FTippingTimeValuesCount;
    for (const TElement* From : Source.FItems) {
        TElement* Element = new TElement(From->ID(), this);
        Element->AssignFields(*From);
    }
    FTippingTimeColumnCaptions = Source.FTippingTimeColumnCaptions;
    FCurrentElementID = Source.FCurrentElementID;
    FPathwayType = Source.FPathwayType;
}

bool TElementsList::SameAs(const TElementsList& Other) const {
    if (FItems.size() != Other.FItems.size() || FCurrentElementID != Other.FCurrentElementID ||
        FPathwayType != Other.FPathwayType ||
        FTippingTimeValuesCount != Other.FTippingTimeValuesCount ||
        FTippingTimeColumnCaptions != Other.FTippingTimeColumnCaptions)
        return false;
    for (size_t I = 0; I < FItems.size(); ++I)
        if (!FItems[I]->SameFields(*Other.FItems[I]))
            return false;
    return true;
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

std::vector<TColor> TElementsList::EffectiveColors() const {
    const size_t N = FItems.size();
    std::unordered_map<int32_t, size_t> FirstIndex;
    FirstIndex.reserve(N);
    for (size_t I = 0; I < N; ++I)
        FirstIndex.emplace(FItems[I]->ID(), I);
    enum TState : uint8_t { sNew, sOnPath, sDone };
    std::vector<TState> State(N, sNew);
    std::vector<TColor> Colors(N, clBlack);
    std::vector<bool> Looped(N, false);
    std::vector<size_t> Path;
    for (size_t Start = 0; Start < N; ++Start) {
        if (State[Start] == sDone)
            continue;
        // Follow the second elements until an action, a missing element, an
        // element already known, or a loop.
        Path.clear();
        size_t I = Start;
        TColor End = clBlack;
        bool Loop = false;
        for (;;) {
            if (State[I] == sDone) {
                End = Colors[I];
                Loop = Looped[I];
                break;
            }
            if (State[I] == sOnPath) {
                Loop = true;
                break;
            }
            State[I] = sOnPath;
            Path.push_back(I);
            const TElement* E = FItems[I];
            if (E->IsPrimaryElement()) {
                End = E->OwnColor();
                break;
            }
            const auto Second = FirstIndex.find(E->CombinationSecondID());
            if (Second == FirstIndex.end()) {
                End = E->OwnColor();
                break;
            }
            I = Second->second;
        }
        // A chain that runs into a loop shows each element's own colour, as
        // MyColor does.
        for (size_t P : Path) {
            Colors[P] = Loop ? FItems[P]->OwnColor() : End;
            Looped[P] = Loop;
            State[P] = sDone;
        }
    }
    return Colors;
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

// ---------------------------------------------------------------- file section

namespace {

const TXmlNodeTypes ElementsOnly{ntElement};

// A hostile file could ask for billions of time columns; the model keeps one
// value per column in every element, so refuse what cannot sensibly be held.
const int32_t MaxTimeColumns = 10000;
const int64_t MaxTimeValues = 20000000;

QString CombinationTypeText(TCombinationType Type) {
    switch (Type) {
    case ctCombine:
        return QStringLiteral("ctCombine");
    case ctSequence:
        return QStringLiteral("ctSequence");
    case ctNone:
        break;
    }
    return QStringLiteral("ctNone");
}

// Blanks, tabs, line breaks and other control characters removed at both ends.
QStringView TrimControl(QStringView Text) {
    qsizetype Begin = 0;
    qsizetype End = Text.size();
    while (Begin < End && Text[Begin].unicode() <= ' ')
        ++Begin;
    while (End > Begin && Text[End - 1].unicode() <= ' ')
        --End;
    return Text.mid(Begin, End - Begin);
}

void AddTextChild(TXmlNode* Parent, const QString& Name, const QString& Text) {
    Parent->AddChild(Name)->Text = Text;
}

const QString TimeValuePrefix = QStringLiteral("tippingtimevalue");
const QString TimeCaptionPrefix = QStringLiteral("TippingTimeCaption");

// The column number of a Prefix + i name as the writer makes it (decimal, no
// sign, no leading zeros); -1 for any other name. The prefix is compared with
// the given letter case rule; digits have no letter case.
int32_t NumberedColumn(const QString& Name, const QString& Prefix,
                       Qt::CaseSensitivity Sensitivity = Qt::CaseSensitive) {
    const qsizetype Digits = Name.size() - Prefix.size();
    if (Digits <= 0 || Digits > 9 || !Name.startsWith(Prefix, Sensitivity))
        return -1;
    if (Digits > 1 && Name.at(Prefix.size()) == QLatin1Char('0'))
        return -1;
    int32_t Column = 0;
    for (qsizetype I = Prefix.size(); I < Name.size(); ++I) {
        const char16_t C = Name.at(I).unicode();
        if (C < u'0' || C > u'9')
            return -1;
        Column = Column * 10 + int32_t(C - u'0');
    }
    return Column;
}

// The column number of a "tippingtimevalue" + i name; -1 for any other name.
int32_t TimeValueColumn(const QString& Name) {
    return NumberedColumn(Name, TimeValuePrefix);
}

// Asks for the children of an element that will be read soon. A large file
// no longer fits the processor's caches, and reading it would otherwise wait
// for memory at nearly every child.
void PrefetchChildren(const TXmlNode* Node) {
#if defined(__GNUC__)
    for (const TXmlNode* Child : Node->ChildNodes) {
        // Name, Text and NodeType lie at its start.
        __builtin_prefetch(Child);
        __builtin_prefetch(reinterpret_cast<const char*>(Child) + sizeof(QString) * 2);
    }
#else
    (void)Node;
#endif
}

// Names compared as the document compares them (TXmlDoc::SameName), without
// a call for each comparison when letter case counts, as it does in every
// pathway file.
class TNameRule {
public:
    explicit TNameRule(const TXmlDoc& XML)
        : FXML(XML), FCaseInsensitive(XML.Options.Contains(doCaseInsensitive)) {}
    bool Same(const QString& A, const QString& B) const {
        if (FCaseInsensitive)
            return FXML.SameName(A, B);
        return A.size() == B.size() &&
               (A.constData() == B.constData() ||
                std::memcmp(A.constData(), B.constData(), size_t(A.size()) * sizeof(QChar)) == 0);
    }
    Qt::CaseSensitivity Sensitivity() const {
        return FCaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    }

private:
    const TXmlDoc& FXML;
    bool FCaseInsensitive;
};

} // namespace

void TElementsList::WriteToXML(TXmlDoc& XML) const {
    TXmlNode* Pathways = XML.AddChild(QStringLiteral("pathways"));
    if (FPathwayType == ptConditionBased) {
        AddTextChild(Pathways, QStringLiteral("pathwaytype"), QStringLiteral("conditionbased"));
    } else {
        AddTextChild(Pathways, QStringLiteral("pathwaytype"), QStringLiteral("timebased"));
        AddTextChild(Pathways, QStringLiteral("tippingvaluescount"),
                     QString::number(FTippingTimeValuesCount));
        for (int32_t I = 0; I < FTippingTimeValuesCount; ++I)
            AddTextChild(Pathways, QStringLiteral("TippingTimeCaption%1").arg(I),
                         FTippingTimeColumnCaptions.at(I));
    }
    const std::vector<TColor> Colors = EffectiveColors();
    for (size_t Index = 0; Index < FItems.size(); ++Index) {
        const TElement* E = FItems[Index];
        TXmlNode* Node = Pathways->AddChild(QStringLiteral("element"));
        Node->SetAttribute(QStringLiteral("id"), QString::number(E->ID()));
        AddTextChild(Node, QStringLiteral("caption"), E->Caption());
        AddTextChild(Node, QStringLiteral("color"), ColorToString(Colors[Index]));
        if (FPathwayType == ptConditionBased) {
            AddTextChild(Node, QStringLiteral("tippingpointvalue"),
                         FloatToStrGeneral(E->TippingPointValue()));
        } else {
            for (int32_t I = 0; I < FTippingTimeValuesCount; ++I)
                AddTextChild(Node, TimeValuePrefix + QString::number(I),
                             FloatToStrGeneral(E->TippingTimeValue(I)));
        }
        AddTextChild(Node, QStringLiteral("predecessorid"), QString::number(E->PredecessorID()));
        AddTextChild(Node, QStringLiteral("combinationsecond"),
                     QString::number(E->CombinationSecondID()));
        AddTextChild(Node, QStringLiteral("combinationtype"),
                     CombinationTypeText(E->CombinationType()));
        AddTextChild(Node, QStringLiteral("initialcosts"), FloatToStrGeneral(E->InitialCosts()));
        AddTextChild(Node, QStringLiteral("transfercosts"), FloatToStrGeneral(E->TransferCosts()));
        AddTextChild(Node, QStringLiteral("recurrentcosts"),
                     FloatToStrGeneral(E->RecurrentCosts()));
        // Written only when used, so that files without lead times or a
        // preferred route stay as they were and older readers pass them by.
        if (E->LeadTime() != 0)
            AddTextChild(Node, QStringLiteral("leadtime"), QString::number(E->LeadTime()));
        if (E->Preferred())
            AddTextChild(Node, QStringLiteral("preferred"), QStringLiteral("1"));
    }
    AddTextChild(Pathways, QStringLiteral("CurrentElement"), QString::number(FCurrentElementID));
}

void TElementsList::ReadFromXML(const TXmlDoc& XML, TReadReport* Report) {
    const TXmlNode* Pathways = XML.ChildNodes().Find(QStringLiteral("pathways"), ElementsOnly);
    if (!Pathways)
        return;
    ClearElements();
    SetPathwayType(ptConditionBased);
    SetTippingTimeValuesCount(0);

    // One pass over the section finds every "element" and the first child of
    // each other name, where a lookup per name would scan all the elements
    // (and one per column caption would do so again for every column).
    static const QString TypeName = QStringLiteral("pathwaytype");
    static const QString CountName = QStringLiteral("tippingvaluescount");
    static const QString CurrentName = QStringLiteral("CurrentElement");
    static const QString ElementName = QStringLiteral("element");
    const TNameRule Names(XML);
    const TXmlNode* TypeNode = nullptr;
    const TXmlNode* CountNode = nullptr;
    const TXmlNode* CurrentNode = nullptr;
    std::vector<const TXmlNode*> ElementNodes;
    ElementNodes.reserve(size_t(Pathways->ChildNodes.Count()));
    // By column, the first caption of each column that a pathway can have.
    std::vector<const TXmlNode*> CaptionNodes;
    for (const TXmlNode* Child : Pathways->ChildNodes) {
        if (Child->NodeType != ntElement)
            continue;
        if (Names.Same(Child->Name, ElementName)) {
            ElementNodes.push_back(Child);
        } else if (Names.Same(Child->Name, TypeName)) {
            if (!TypeNode)
                TypeNode = Child;
        } else if (Names.Same(Child->Name, CountName)) {
            if (!CountNode)
                CountNode = Child;
        } else if (Names.Same(Child->Name, CurrentName)) {
            if (!CurrentNode)
                CurrentNode = Child;
        } else {
            const int32_t Column =
                NumberedColumn(Child->Name, TimeCaptionPrefix, Names.Sensitivity());
            if (Column < 0 || Column >= MaxTimeColumns)
                continue;
            if (size_t(Column) >= CaptionNodes.size())
                CaptionNodes.resize(size_t(Column) + 1, nullptr);
            if (!CaptionNodes[size_t(Column)])
                CaptionNodes[size_t(Column)] = Child;
        }
    }

    const auto InPathways = [] { return QStringLiteral("Pathways"); };

    if (TypeNode) {
        if (TypeNode->Text == QLatin1String("conditionbased"))
            SetPathwayType(ptConditionBased);
        else if (TypeNode->Text == QLatin1String("timebased"))
            SetPathwayType(ptTimeBased);
    }

    if (FPathwayType == ptTimeBased) {
        int32_t Count = 1;
        if (CountNode)
            Count = NodeIntOr(CountNode, 1, Report, InPathways);
        if (Count < 0 || Count > MaxTimeColumns)
            throw ECorvinalError(
                QStringLiteral("The file asks for %1 time columns; a pathway can hold from 0 "
                               "to %2.")
                    .arg(Count)
                    .arg(MaxTimeColumns));
        if (int64_t(Count) * int64_t(ElementNodes.size()) > MaxTimeValues)
            throw ECorvinalError(
                QStringLiteral("The file asks for %1 elements with %2 time columns each, more "
                               "tipping values than can sensibly be held (at most %3).")
                    .arg(ElementNodes.size())
                    .arg(Count)
                    .arg(MaxTimeValues));
        SetTippingTimeValuesCount(1);
        SetTippingTimeValuesCount(Count);
        for (int32_t I = 0; I < Count && size_t(I) < CaptionNodes.size(); ++I)
            if (const TXmlNode* Caption = CaptionNodes[size_t(I)])
                SetTippingTimeColumnCaption(I, Caption->Text);
    }

    // One pass over each element's children finds the first child of every
    // name, so that reading stays linear however many time columns there are.
    enum TSlot {
        sCaption,
        sColor,
        sTippingPoint,
        sPredecessor,
        sSecond,
        sType,
        sInitial,
        sTransfer,
        sRecurrent,
        sLeadTime,
        sPreferred,
        sSlotCount
    };
    static const QString SlotNames[sSlotCount] = {
        QStringLiteral("caption"),           QStringLiteral("color"),
        QStringLiteral("tippingpointvalue"), QStringLiteral("predecessorid"),
        QStringLiteral("combinationsecond"), QStringLiteral("combinationtype"),
        QStringLiteral("initialcosts"),      QStringLiteral("transfercosts"),
        QStringLiteral("recurrentcosts"),    QStringLiteral("leadtime"),
        QStringLiteral("preferred")};
    static const QString IdName = QStringLiteral("id");
    std::vector<const TXmlNode*> TimeSlots(size_t(FTippingTimeValuesCount), nullptr);
    std::vector<int32_t> UsedTimeSlots;
    FItems.reserve(FItems.size() + ElementNodes.size());

    for (size_t Index = 0; Index < ElementNodes.size(); ++Index) {
        const TXmlNode* Node = ElementNodes[Index];
        if (Index + 2 < ElementNodes.size())
            PrefetchChildren(ElementNodes[Index + 2]);
        const TXmlAttribute* IdAttribute = Node->AttributeList.Find(IdName);
        if (!IdAttribute || IdAttribute->Value().isEmpty())
            continue;
        int32_t Id = 0;
        const bool IdRead = TryStrToInt(IdAttribute->Value(), Id);
        if (!IdRead)
            Id = 0;

        const TXmlNode* Slots[sSlotCount] = {};
        for (int32_t Column : UsedTimeSlots)
            TimeSlots[size_t(Column)] = nullptr;
        UsedTimeSlots.clear();
        // Children mostly come in the order written: the slot after the last
        // one found is tried first.
        int Expected = 0;
        for (const TXmlNode* Child : Node->ChildNodes) {
            if (Child->NodeType != ntElement)
                continue;
            int Found = -1;
            if (Expected < sSlotCount && Names.Same(Child->Name, SlotNames[Expected])) {
                Found = Expected;
            } else {
                for (int S = 0; S < sSlotCount; ++S)
                    if (Names.Same(Child->Name, SlotNames[S])) {
                        Found = S;
                        break;
                    }
            }
            if (Found >= 0) {
                // Of two children of one name the first counts.
                if (!Slots[Found])
                    Slots[Found] = Child;
                Expected = Found + 1;
                continue;
            }
            if (FPathwayType != ptTimeBased)
                continue;
            const int32_t Column = TimeValueColumn(Child->Name);
            if (Column >= 0 && Column < FTippingTimeValuesCount && !TimeSlots[size_t(Column)]) {
                TimeSlots[size_t(Column)] = Child;
                UsedTimeSlots.push_back(Column);
            }
        }

        TElement* E = new TElement(Id, this);
        if (Slots[sCaption])
            E->SetCaption(Slots[sCaption]->Text);
        // Built only when something is reported: most files have nothing to say.
        const auto Where = [E] { return ElementPlace(E->ID(), E->Caption()); };
        if (!IdRead && Report)
            Report->Unreadable(QStringLiteral("Element \"%1\"").arg(E->Caption()), IdName,
                               IdAttribute->Value(), QStringLiteral("0"));
        if (Slots[sColor])
            E->SetMyColor(StringToColor(Slots[sColor]->Text));
        E->SetTippingPointValue(NodeFloatOr(Slots[sTippingPoint], 0, Report, Where));
        for (int32_t Column : UsedTimeSlots)
            E->SetTippingTimeValue(Column,
                                   NodeFloatOr(TimeSlots[size_t(Column)], 0, Report, Where));
        E->SetPredecessorID(NodeIntOr(Slots[sPredecessor], -1, Report, Where));
        E->SetCombinationSecondID(NodeIntOr(Slots[sSecond], -1, Report, Where));
        if (Slots[sType]) {
            const QStringView Type = TrimControl(Slots[sType]->Text);
            if (Type.compare(QLatin1String("ctCombine"), Qt::CaseInsensitive) == 0)
                E->SetCombinationType(ctCombine);
            else if (Type.compare(QLatin1String("ctSequence"), Qt::CaseInsensitive) == 0)
                E->SetCombinationType(ctSequence);
        }
        E->SetInitialCosts(NodeFloatOr(Slots[sInitial], 0, Report, Where));
        E->SetTransferCosts(NodeFloatOr(Slots[sTransfer], 0, Report, Where));
        E->SetRecurrentCosts(NodeFloatOr(Slots[sRecurrent], 0, Report, Where));
        const int32_t LeadTime = NodeIntOr(Slots[sLeadTime], 0, Report, Where);
        // A lead time outside the years an action can take is held to them,
        // with a word.
        const int32_t Held = std::clamp(LeadTime, MinLeadTime, MaxLeadTime);
        if (Held != LeadTime && Report)
            Report->Add(QStringLiteral("%1, leadtime: %2 years is outside %3 to %4; %5 is used.")
                            .arg(Where())
                            .arg(LeadTime)
                            .arg(MinLeadTime)
                            .arg(MaxLeadTime)
                            .arg(Held));
        E->SetLeadTime(Held);
        E->SetPreferred(NodeIntOr(Slots[sPreferred], 0, Report, Where) != 0);
    }

    if (CurrentNode)
        SetCurrentElementID(NodeIntOr(CurrentNode, -1, Report, InPathways));
}
