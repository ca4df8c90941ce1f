#pragma once

#include "base/ColorUnit.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TReadReport;
class TXmlDoc;

enum TCombinationType : uint8_t { ctNone, ctCombine, ctSequence };
enum TVisualEffectsType : uint8_t { veHide, veShow, veGrayed, veHighlight };
enum TPathwayType : uint8_t { ptConditionBased, ptTimeBased };

class TElementsList;

// One row of the pathway model: an action (second id -1) or a pathway element
// that leads from its predecessor to its second element. Elements refer to each
// other by id only, so the list can be reordered, saved and loaded freely.
class TElement {
public:
    // Appends the new element to List, which owns it from then on.
    TElement(int32_t MyID, TElementsList* MyElementsList);
    TElement(const TElement&) = delete;
    TElement& operator=(const TElement&) = delete;

    int32_t ID() const { return FMyID; }
    void SetID(int32_t Value) { FMyID = Value; }
    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; }
    double TippingPointValue() const { return FTippingPointValue; }
    void SetTippingPointValue(double Value) { FTippingPointValue = Value; }
    int32_t PredecessorID() const { return FPredecessorID; }
    void SetPredecessorID(int32_t Value) { FPredecessorID = Value; }
    TElement* PredecessorElement() const;
    int32_t CombinationSecondID() const { return FCombinationSecondID; }
    void SetCombinationSecondID(int32_t Value) { FCombinationSecondID = Value; }
    TElement* CombinationSecondElement() const;
    // The effective colour: a pathway element shows the colour of the action
    // it finally leads to. The write stores the own colour of any element.
    TColor MyColor() const;
    void SetMyColor(TColor Value) { FMyColor = Value; }
    TColor OwnColor() const { return FMyColor; }
    int32_t ColorCount() const;
    TColor Colors(int32_t Band) const;
    bool IsPrimaryElement() const { return FCombinationSecondID == -1; }
    TElementsList* ElementsList() const { return FElementsList; }
    void SetElementsList(TElementsList* Value) { FElementsList = Value; }
    TVisualEffectsType VisualEffect() const { return FVisualEffect; }
    void SetVisualEffect(TVisualEffectsType Value) { FVisualEffect = Value; }
    TCombinationType CombinationType() const { return FCombinationType; }
    void SetCombinationType(TCombinationType Value) { FCombinationType = Value; }
    bool IsCombination() const { return FCombinationType == ctCombine; }
    double InitialCosts() const { return FInitialCosts; }
    void SetInitialCosts(double Value) { FInitialCosts = Value; }
    double RecurrentCosts() const { return FRecurrentCosts; }
    void SetRecurrentCosts(double Value) { FRecurrentCosts = Value; }
    double TransferCosts() const { return FTransferCosts; }
    void SetTransferCosts(double Value) { FTransferCosts = Value; }
    // Part of the preferred route, which the map lays a wide band under.
    bool Preferred() const { return FPreferred; }
    void SetPreferred(bool Value) { FPreferred = Value; }
    // The years it takes to prepare and carry out the action, 0 to 100; set
    // on actions.
    int32_t LeadTime() const { return FLeadTime; }
    void SetLeadTime(int32_t Value) { FLeadTime = Value; }
    // The lead time that counts: a pathway element's is that of the action
    // it changes to, as its colour is.
    int32_t EffectiveLeadTime() const;

    int32_t ChildCount() const;
    int32_t DependencyCount() const;
    int32_t ChildNumber() const;

    // 0 for a column that is not stored, negative ones included.
    double TippingTimeValue(int32_t Index) const;
    // Fails with the list index error for a column that is not stored.
    void SetTippingTimeValue(int32_t Index, double Value);
    int32_t TippingTimeValuesLength() const { return int32_t(FTippingTimeValues.size()); }
    void SetTippingTimeValuesLength(int32_t Count);

    // Every stored field of the element, but not its list.
    void AssignFields(const TElement& Source);
    bool SameFields(const TElement& Other) const;

private:
    int32_t FMyID;
    QString FCaption;
    TColor FMyColor;
    double FTippingPointValue;
    std::vector<double> FTippingTimeValues;
    int32_t FPredecessorID;
    int32_t FCombinationSecondID;
    TElementsList* FElementsList;
    TVisualEffectsType FVisualEffect;
    TCombinationType FCombinationType;
    double FRecurrentCosts;
    double FTransferCosts;
    double FInitialCosts;
    bool FPreferred = false;
    int32_t FLeadTime = 0;
};

// The lead times an action can have, in whole years.
constexpr int32_t MinLeadTime = 0;
constexpr int32_t MaxLeadTime = 100;

// The pathway model: the ordered list of elements (it owns them) and the
// settings that hold for all of them. Lookups scan from the front, so where
// two elements share an id the first one wins.
class TElementsList {
public:
    TElementsList();
    ~TElementsList();
    TElementsList(const TElementsList&) = delete;
    TElementsList& operator=(const TElementsList&) = delete;

    int32_t Count() const { return int32_t(FItems.size()); }
    TElement* Elements(int32_t Index) const;
    int32_t ElementIDs(int32_t Index) const { return Elements(Index)->ID(); }
    // Removes the element at Index and destroys it.
    void Delete(int32_t Index);
    void Exchange(int32_t Index1, int32_t Index2);

    bool IsPrimaryElementIndex(int32_t Index) const;
    bool IsPrimaryElementID(int32_t ID) const;
    TElement* AddSimpleElement(const QString& MyName, TColor MyColor, double MyValue,
                               double MyInitialCosts, double MyRecurrentCosts);
    TElement* AddCombinationElement(const QString& MyName, double MyTippingValue, int32_t MyFirstID,
                                    int32_t MySecondID);
    void ClearElements();
    int32_t FindIndex(int32_t MyID) const;
    TElement* FindElement(int32_t MyID) const;
    int32_t PrimaryCount() const;
    int32_t GetParentID(int32_t ID) const;
    int32_t GetPredecessorID(int32_t ID) const;
    int32_t ChildCount(int32_t ID) const;
    int32_t DependencyCount(int32_t ID) const;
    int32_t ChildNumber(int32_t ID) const;
    double MaxTippingPoint() const;
    int32_t NextFreeID() const;
    // MyColor of every element, in list order, in one pass over the list
    // (asking each element would scan the list once per element).
    std::vector<TColor> EffectiveColors() const;

    int32_t CurrentElementID() const { return FCurrentElementID; }
    void SetCurrentElementID(int32_t Value) { FCurrentElementID = Value; }
    TPathwayType PathwayType() const { return FPathwayType; }
    void SetPathwayType(TPathwayType Value) { FPathwayType = Value; }
    int32_t TippingTimeValuesCount() const { return FTippingTimeValuesCount; }
    void SetTippingTimeValuesCount(int32_t Value);
    QString TippingTimeColumnCaption(int32_t Index) const;
    void SetTippingTimeColumnCaption(int32_t Index, const QString& Value);

    // The "pathways" section of a .pathway document. Reading keeps the
    // default of every number it cannot read and, given a report, says so
    // there.
    void WriteToXML(TXmlDoc& XML) const;
    void ReadFromXML(const TXmlDoc& XML, TReadReport* Report = nullptr);

    // Makes this list an exact copy of Source: elements, order, settings and
    // time column captions. Elements of this list are destroyed and new ones
    // made, so pointers to them go stale.
    void Assign(const TElementsList& Source);
    // Whether the two lists hold the same elements in the same order with the
    // same settings: what a save would write alike.
    bool SameAs(const TElementsList& Other) const;

private:
    friend class TElement;
    void Append(TElement* Element) { FItems.push_back(Element); }

    std::vector<TElement*> FItems;
    QStringList FTippingTimeColumnCaptions;
    int32_t FCurrentElementID;
    TPathwayType FPathwayType;
    int32_t FTippingTimeValuesCount;
};
