#include "model/ElementsUnit.h"
#include "base/ErrorUnit.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

TElement* AddAction(TElementsList& List, const QString& Name, TColor Color, double Value = 0) {
    return List.AddSimpleElement(Name, Color, Value, 0, 0);
}

TElement* AddPathway(TElementsList& List, TElement* First, TElement* Second,
                     TCombinationType Type) {
    TElement* E = List.AddCombinationElement(First->Caption() + " + " + Second->Caption(),
                                             First->TippingPointValue(), First->ID(), Second->ID());
    E->SetMyColor(Second->MyColor());
    E->SetCombinationType(Type);
    return E;
}

// ------------------------------------------------------------------ colours

TEST(Colors, NamesAndTexts) {
    EXPECT_EQ(ColorToString(0x00808080), "clGray");
    EXPECT_EQ(ColorToString(0x00FF8000), "$00FF8000");
    EXPECT_EQ(ColorToString(int32_t(0xFF000019u)), "$FF000019");
    EXPECT_EQ(ColorToString(int32_t(0xFF00001Au)), "clHotLight");
    EXPECT_EQ(ColorToString(RGBToColor(0xC0, 0xA0, 0x40)), "$0040A0C0");
    EXPECT_EQ(StringToColor("CLGRAY"), 0x00808080);
    EXPECT_EQ(StringToColor("$00808080"), 0x00808080);
    EXPECT_EQ(StringToColor("8421504"), 0x00808080);
    EXPECT_EQ(StringToColor("clnone"), clNone);
    EXPECT_EQ(StringToColor("$FF000019"), int32_t(0xFF000019u));
    EXPECT_EQ(StringToColor(" 255"), clRed);
    EXPECT_EQ(StringToColor("-$10"), -16);
    EXPECT_THROW(StringToColor("255 "), ECorvinalError);
}

TEST(Colors, BadTextsFailWithTheConversionError) {
    for (const char* Bad : {"#808080", "", "grey", "clGrey"}) {
        try {
            StringToColor(QString::fromLatin1(Bad));
            ADD_FAILURE() << Bad;
        } catch (const ECorvinalError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("''%1'' is not a valid integer value").arg(Bad));
        }
    }
}

TEST(Colors, AllFiftyTwoNamesRoundTripAndAreDistinct) {
    const char* Names[] = {"clBlack",
                           "clMaroon",
                           "clGreen",
                           "clOlive",
                           "clNavy",
                           "clPurple",
                           "clTeal",
                           "clGray",
                           "clSilver",
                           "clRed",
                           "clLime",
                           "clYellow",
                           "clBlue",
                           "clFuchsia",
                           "clAqua",
                           "clWhite",
                           "clMoneyGreen",
                           "clSkyBlue",
                           "clCream",
                           "clMedGray",
                           "clNone",
                           "clDefault",
                           "clScrollBar",
                           "clBackground",
                           "clActiveCaption",
                           "clInactiveCaption",
                           "clMenu",
                           "clWindow",
                           "clWindowFrame",
                           "clMenuText",
                           "clWindowText",
                           "clCaptionText",
                           "clActiveBorder",
                           "clInactiveBorder",
                           "clAppWorkSpace",
                           "clHighlight",
                           "clHighlightText",
                           "clBtnFace",
                           "clBtnShadow",
                           "clGrayText",
                           "clBtnText",
                           "clInactiveCaptionText",
                           "clBtnHighlight",
                           "cl3DDkShadow",
                           "cl3DLight",
                           "clInfoText",
                           "clInfoBk",
                           "clHotLight",
                           "clGradientActiveCaption",
                           "clGradientInactiveCaption",
                           "clMenuHighlight",
                           "clMenuBar"};
    ASSERT_EQ(std::size(Names), 52u);
    std::map<TColor, QString> Seen;
    for (const char* Name : Names) {
        const TColor C = StringToColor(QString::fromLatin1(Name));
        EXPECT_EQ(ColorToString(C), QString::fromLatin1(Name));
        EXPECT_TRUE(Seen.emplace(C, Name).second) << Name;
    }
    EXPECT_EQ(StringToColor("clMenuBar"), int32_t(0xFF00001Eu));
    EXPECT_EQ(StringToColor("clSkyBlue"), 0x00F0CAA6);
}

// ------------------------------------------------------------------ elements

TEST(Element, FreshElementDefaults) {
    TElementsList List;
    List.SetTippingTimeValuesCount(3);
    AddAction(List, "A", clRed);
    TElement* E = new TElement(7, &List);
    EXPECT_EQ(List.Elements(List.Count() - 1), E);
    EXPECT_EQ(E->ID(), 7);
    EXPECT_TRUE(E->Caption().isEmpty());
    EXPECT_EQ(E->MyColor(), clBlack);
    EXPECT_EQ(E->TippingPointValue(), 0);
    EXPECT_EQ(E->PredecessorID(), -1);
    EXPECT_EQ(E->CombinationSecondID(), -1);
    EXPECT_EQ(E->CombinationType(), ctNone);
    EXPECT_EQ(E->VisualEffect(), veShow);
    EXPECT_EQ(E->TippingTimeValuesLength(), 3);
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(E->TippingTimeValue(I), 0);
    EXPECT_EQ(E->InitialCosts(), 0);
    EXPECT_EQ(E->RecurrentCosts(), 0);
    EXPECT_EQ(E->TransferCosts(), 0);
    EXPECT_EQ(E->ElementsList(), &List);
}

TEST(Element, PathwayElementTakesTheColourOfItsSecondElement) {
    TElementsList List;
    TElement* A = AddAction(List, "A", clGreen);
    TElement* B = AddAction(List, "B", clRed);
    TElement* P = List.AddCombinationElement("A + B", 0, A->ID(), B->ID());
    P->SetMyColor(clYellow);
    EXPECT_EQ(P->MyColor(), clRed);
    EXPECT_EQ(P->OwnColor(), clYellow);
    EXPECT_FALSE(P->IsPrimaryElement());
}

TEST(Element, ColourBandsWorkedExample) {
    TElementsList List;
    TElement* A = AddAction(List, "A", clRed);
    TElement* B = AddAction(List, "B", clBlue);
    TElement* C = AddAction(List, "C", clGreen);
    TElement* P = AddPathway(List, A, B, ctCombine);
    TElement* Q = AddPathway(List, P, C, ctCombine);
    TElement* R = AddPathway(List, A, P, ctSequence);
    TElement* S = AddPathway(List, C, P, ctCombine);
    const struct {
        TElement* E;
        TColor Color;
        std::vector<TColor> Bands;
    } Rows[] = {
        {P, clBlue, {clBlue, clRed}},
        {Q, clGreen, {clGreen, clBlue, clRed}},
        {R, clBlue, {clBlue}},
        {S, clBlue, {clBlue, clRed, clGreen}},
    };
    for (const auto& Row : Rows) {
        EXPECT_EQ(Row.E->MyColor(), Row.Color) << Row.E->Caption().toStdString();
        ASSERT_EQ(Row.E->ColorCount(), int32_t(Row.Bands.size())) << Row.E->Caption().toStdString();
        for (int I = 0; I < int(Row.Bands.size()); ++I)
            EXPECT_EQ(Row.E->Colors(I), Row.Bands[I]) << Row.E->Caption().toStdString() << I;
    }
}

TEST(Element, SequenceHasOneBandWhateverItsSecondElement) {
    TElementsList List;
    TElement* A = AddAction(List, "A", clRed);
    TElement* B = AddAction(List, "B", clBlue);
    TElement* C = AddAction(List, "C", clGreen);
    TElement* P = AddPathway(List, A, B, ctCombine);
    TElement* Q = AddPathway(List, P, C, ctCombine);
    TElement* Seq = AddPathway(List, A, Q, ctSequence);
    EXPECT_EQ(Q->ColorCount(), 3);
    EXPECT_EQ(Seq->ColorCount(), 1);
    EXPECT_EQ(Seq->Colors(0), clGreen);
}

TEST(Element, OnlySecondIdMinusOneMakesAnAction) {
    TElementsList List;
    TElement* E = AddAction(List, "A", clRed);
    E->SetCombinationSecondID(-2);
    EXPECT_FALSE(E->IsPrimaryElement());
    EXPECT_EQ(E->CombinationSecondElement(), nullptr);
    EXPECT_FALSE(List.IsPrimaryElementIndex(0));
}

TEST(Element, TimeValues) {
    TElementsList List;
    List.SetTippingTimeValuesCount(3);
    TElement* E = AddAction(List, "A", clRed);
    E->SetTippingTimeValue(0, 1);
    E->SetTippingTimeValue(1, 2);
    E->SetTippingTimeValue(2, 3);
    EXPECT_EQ(E->TippingTimeValue(5), 0);
    EXPECT_EQ(E->TippingTimeValue(-1), 0);
    E->SetTippingTimeValuesLength(1);
    EXPECT_EQ(E->TippingTimeValuesLength(), 1);
    EXPECT_EQ(E->TippingTimeValue(0), 1);
    E->SetTippingTimeValuesLength(3);
    EXPECT_EQ(E->TippingTimeValue(1), 0);
    EXPECT_EQ(E->TippingTimeValue(2), 0);
}

TEST(Element, WritingATimeValueOutsideTheColumnsFails) {
    TElementsList List;
    List.SetTippingTimeValuesCount(2);
    TElement* E = AddAction(List, "A", clRed);
    for (int Index : {-1, 2, 1000000}) {
        try {
            E->SetTippingTimeValue(Index, 5);
            ADD_FAILURE() << Index;
        } catch (const ECorvinalError& Error) {
            EXPECT_EQ(Error.Message(), QStringLiteral("List index out of bounds (%1)").arg(Index));
        }
    }
    EXPECT_EQ(E->TippingTimeValue(0), 0);
    EXPECT_EQ(E->TippingTimeValue(1), 0);
}

// Hand-edited files can make references loop or point nowhere; the colour
// queries must still end.
TEST(Element, ColourQueriesEndOnLoopsAndMissingElements) {
    TElementsList List;
    TElement* A = new TElement(1, &List);
    TElement* B = new TElement(2, &List);
    A->SetCombinationSecondID(2);
    A->SetPredecessorID(2);
    A->SetCombinationType(ctCombine);
    B->SetCombinationSecondID(1);
    B->SetPredecessorID(1);
    B->SetCombinationType(ctCombine);
    TElement* Self = new TElement(3, &List);
    Self->SetCombinationSecondID(3);
    Self->SetPredecessorID(3);
    Self->SetCombinationType(ctCombine);
    TElement* Dangling = new TElement(4, &List);
    Dangling->SetCombinationSecondID(99);
    Dangling->SetPredecessorID(98);
    Dangling->SetCombinationType(ctCombine);
    for (TElement* E : {A, B, Self, Dangling}) {
        E->MyColor();
        const int32_t Count = E->ColorCount();
        EXPECT_GE(Count, 1);
        for (int I = 0; I < Count + 2; ++I)
            E->Colors(I);
    }
}

// Each level combines the previous one with itself: the band count doubles
// per level, which must neither take exponential time nor overflow.
TEST(Element, SharedCombinationsAreCountedWithoutBlowingUp) {
    TElementsList List;
    TElement* Previous = AddAction(List, "A", clRed);
    for (int Level = 0; Level < 40; ++Level) {
        TElement* E = List.AddCombinationElement("x", 0, Previous->ID(), Previous->ID());
        E->SetCombinationType(ctCombine);
        Previous = E;
    }
    EXPECT_EQ(Previous->ColorCount(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Previous->Colors(12345), clRed);
}

TEST(Element, EffectiveColorsAgreeWithMyColor) {
    std::mt19937 Rng(7);
    for (int Round = 0; Round < 50; ++Round) {
        TElementsList List;
        const int Count = 1 + int(Rng() % 30);
        for (int I = 0; I < Count; ++I) {
            TElement* E = new TElement(int(Rng() % 25), &List); // duplicate ids too
            E->SetMyColor(TColor(Rng() % 1000));
            if (Rng() % 3)
                E->SetCombinationSecondID(int(Rng() % 30) - 2); // loops, missing ones
        }
        const std::vector<TColor> Colors = List.EffectiveColors();
        ASSERT_EQ(int(Colors.size()), Count);
        for (int I = 0; I < Count; ++I)
            EXPECT_EQ(Colors[size_t(I)], List.Elements(I)->MyColor()) << Round << " " << I;
    }
}

// ------------------------------------------------------------------ list

class SixElements : public ::testing::Test {
protected:
    void SetUp() override {
        const struct {
            int Id;
            const char* Caption;
            int Pred, Second;
            TCombinationType Type;
        } Rows[] = {
            {1, "Current Situation", -1, -1, ctNone},
            {2, "Dike", -1, -1, ctNone},
            {3, "Pump", -1, -1, ctNone},
            {4, "Current Situation + Dike", 1, 2, ctSequence},
            {5, "Current Situation + Pump", 1, 3, ctSequence},
            {6, "Current Situation + Dike + Pump", 4, 3, ctSequence},
        };
        for (const auto& R : Rows) {
            TElement* E = new TElement(R.Id, &List);
            E->SetCaption(R.Caption);
            E->SetPredecessorID(R.Pred);
            E->SetCombinationSecondID(R.Second);
            E->SetCombinationType(R.Type);
        }
    }
    TElementsList List;
};

TEST_F(SixElements, CountsAndRelations) {
    EXPECT_EQ(List.PrimaryCount(), 3);
    EXPECT_EQ(List.NextFreeID(), 7);
    const struct {
        int Id, Parent, ChildNumber, ChildCount, DependencyCount;
    } Expected[] = {
        {1, -1, 0, 0, 2}, {2, -1, 1, 1, 1}, {3, -1, 2, 2, 2},
        {4, 2, 0, 0, 1},  {5, 3, 0, 0, 0},  {6, 3, 1, 0, 0},
    };
    for (const auto& X : Expected) {
        EXPECT_EQ(List.GetParentID(X.Id), X.Parent) << X.Id;
        EXPECT_EQ(List.ChildNumber(X.Id), X.ChildNumber) << X.Id;
        EXPECT_EQ(List.ChildCount(X.Id), X.ChildCount) << X.Id;
        EXPECT_EQ(List.DependencyCount(X.Id), X.DependencyCount) << X.Id;
        EXPECT_EQ(List.FindElement(X.Id)->ChildNumber(), X.ChildNumber) << X.Id;
    }
    EXPECT_EQ(List.GetPredecessorID(6), 4);
    EXPECT_TRUE(List.IsPrimaryElementID(2));
    EXPECT_FALSE(List.IsPrimaryElementID(4));
    EXPECT_EQ(List.ElementIDs(3), 4);
}

TEST_F(SixElements, ExchangesRenumberChildren) {
    List.Exchange(1, 2);
    EXPECT_EQ(List.ChildNumber(2), 2);
    EXPECT_EQ(List.ChildNumber(3), 1);
    List.Exchange(1, 2);
    List.Exchange(4, 5);
    EXPECT_EQ(List.ChildNumber(5), 1);
    EXPECT_EQ(List.ChildNumber(6), 0);
}

TEST_F(SixElements, UnknownIdsFailWithTheListIndexError) {
    for (auto Query : {+[](const TElementsList& L) { L.GetParentID(42); },
                       +[](const TElementsList& L) { L.GetPredecessorID(42); },
                       +[](const TElementsList& L) { L.IsPrimaryElementID(42); },
                       +[](const TElementsList& L) { L.ChildNumber(42); }}) {
        try {
            Query(List);
            ADD_FAILURE();
        } catch (const ECorvinalError& E) {
            EXPECT_STREQ(E.what(), "List index out of bounds (-1)");
        }
    }
    EXPECT_THROW(List.Elements(6), ECorvinalError);
    EXPECT_THROW(List.IsPrimaryElementIndex(-3), ECorvinalError);
    EXPECT_EQ(List.FindIndex(42), -1);
    EXPECT_EQ(List.FindElement(42), nullptr);
}

TEST(List, EmptyList) {
    TElementsList List;
    EXPECT_EQ(List.CurrentElementID(), 0);
    EXPECT_EQ(List.PathwayType(), ptConditionBased);
    EXPECT_EQ(List.TippingTimeValuesCount(), 0);
    EXPECT_EQ(List.NextFreeID(), 1);
    EXPECT_EQ(List.PrimaryCount(), 0);
    EXPECT_EQ(List.MaxTippingPoint(), 0);
    EXPECT_EQ(List.FindIndex(1), -1);
    EXPECT_EQ(List.FindElement(1), nullptr);
}

TEST(List, NextFreeIdNeverFillsGaps) {
    TElementsList List;
    for (int Id : {1, 5, 3})
        new TElement(Id, &List);
    TElement* Six = AddAction(List, "x", clRed);
    EXPECT_EQ(Six->ID(), 6);
    List.Delete(List.FindIndex(6));
    EXPECT_EQ(AddAction(List, "y", clRed)->ID(), 6);

    TElementsList NonPositive;
    new TElement(-4, &NonPositive);
    new TElement(0, &NonPositive);
    EXPECT_EQ(NonPositive.NextFreeID(), 1);

    TElementsList Largest;
    new TElement(std::numeric_limits<int32_t>::max(), &Largest);
    EXPECT_EQ(Largest.NextFreeID(), std::numeric_limits<int32_t>::max());
}

TEST(List, MaxTippingPointIsNeverNegative) {
    TElementsList List;
    AddAction(List, "a", clRed, -5);
    AddAction(List, "b", clRed, -1);
    EXPECT_EQ(List.MaxTippingPoint(), 0);
    AddAction(List, "c", clRed, 7.5);
    EXPECT_EQ(List.MaxTippingPoint(), 7.5);
}

TEST(List, DuplicateIdsFindTheFirst) {
    TElementsList List;
    TElement* First = new TElement(3, &List);
    new TElement(3, &List);
    First->SetCombinationSecondID(-1);
    EXPECT_EQ(List.FindIndex(3), 0);
    EXPECT_EQ(List.FindElement(3), First);
    EXPECT_EQ(List.ChildNumber(3), 0);
}

TEST(List, AddingToATimeBasedList) {
    TElementsList List;
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(3);
    TElement* E = List.AddSimpleElement("A", clRed, 40, 1, 2);
    EXPECT_EQ(E->TippingTimeValue(0), 40);
    EXPECT_EQ(E->TippingTimeValue(1), 0);
    EXPECT_EQ(E->TippingTimeValue(2), 0);
    EXPECT_EQ(E->TippingPointValue(), 0);
    EXPECT_EQ(E->InitialCosts(), 1);
    EXPECT_EQ(E->RecurrentCosts(), 2);
    EXPECT_EQ(E->TransferCosts(), 0);

    TElementsList NoColumns;
    NoColumns.SetPathwayType(ptTimeBased);
    TElement* Lost = NoColumns.AddSimpleElement("B", clRed, 40, 0, 0);
    EXPECT_EQ(NoColumns.Count(), 1);
    EXPECT_EQ(Lost->TippingPointValue(), 0);
    EXPECT_EQ(NoColumns.AddCombinationElement("C", 5, 1, 1)->TippingTimeValuesLength(), 0);
}

TEST(List, AddingAPathwayElement) {
    TElementsList List;
    TElement* E = List.AddCombinationElement("A + B", 1.5, 1, 2);
    EXPECT_EQ(E->ID(), 1);
    EXPECT_EQ(E->TippingPointValue(), 1.5);
    EXPECT_EQ(E->PredecessorID(), 1);
    EXPECT_EQ(E->CombinationSecondID(), 2);
    EXPECT_EQ(E->OwnColor(), 0);
    EXPECT_EQ(E->CombinationType(), ctNone);
}

TEST(List, TimeColumnCaptions) {
    TElementsList List;
    TElement* E = AddAction(List, "A", clRed);
    List.SetTippingTimeValuesCount(1);
    List.SetTippingTimeColumnCaption(0, "Now");
    List.SetTippingTimeValuesCount(3);
    EXPECT_EQ(List.TippingTimeColumnCaption(0), "Now");
    EXPECT_EQ(List.TippingTimeColumnCaption(1), "Time1");
    EXPECT_EQ(List.TippingTimeColumnCaption(2), "Time2");
    EXPECT_EQ(E->TippingTimeValuesLength(), 3);
    List.SetTippingTimeColumnCaption(1, "Kept?");
    List.SetTippingTimeValuesCount(3);
    EXPECT_EQ(List.TippingTimeColumnCaption(1), "Kept?");
    List.SetTippingTimeValuesCount(1);
    EXPECT_EQ(List.TippingTimeColumnCaption(0), "Now");
    EXPECT_EQ(E->TippingTimeValuesLength(), 1);
    List.SetTippingTimeValuesCount(2);
    EXPECT_EQ(List.TippingTimeColumnCaption(1), "Time1");
    EXPECT_THROW(List.TippingTimeColumnCaption(2), ECorvinalError);
    EXPECT_THROW(List.SetTippingTimeValuesCount(-1), ECorvinalError);
    EXPECT_EQ(List.TippingTimeValuesCount(), 2);
}

TEST(List, DependencyCountsAnElementOnce) {
    TElementsList List;
    TElement* A = AddAction(List, "A", clRed);
    List.AddCombinationElement("A + A", 0, A->ID(), A->ID());
    EXPECT_EQ(List.DependencyCount(A->ID()), 1);
    EXPECT_EQ(A->DependencyCount(), 1);
    EXPECT_EQ(A->ChildCount(), 1);
}

TEST(List, ClearElementsKeepsTheSettings) {
    TElementsList List;
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(2);
    List.SetTippingTimeColumnCaption(1, "Dry");
    List.SetCurrentElementID(9);
    AddAction(List, "A", clRed);
    AddAction(List, "B", clRed);
    List.ClearElements();
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.PathwayType(), ptTimeBased);
    EXPECT_EQ(List.TippingTimeValuesCount(), 2);
    EXPECT_EQ(List.TippingTimeColumnCaption(1), "Dry");
    EXPECT_EQ(List.CurrentElementID(), 9);
}

TEST(List, DeleteAndExchangeCheckBounds) {
    TElementsList List;
    AddAction(List, "A", clRed);
    EXPECT_THROW(List.Delete(1), ECorvinalError);
    EXPECT_THROW(List.Exchange(0, 1), ECorvinalError);
    List.Delete(0);
    EXPECT_EQ(List.Count(), 0);
}

} // namespace
