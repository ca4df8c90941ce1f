#include "ui/AddCombinationFormUnit.h"
#include "map/CanvasUnit.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AddCombinationFormTest : public ::testing::Test {
protected:
    TElement* AddAction(const QString& Name, double Value, TColor Color = clRed) {
        return List.AddSimpleElement(Name, Color, Value, 0, 0);
    }
    // A new pathway: "Current Situation" at 10, the current element.
    TElement* AddCurrentSituation(double Value = 10, TColor Color = clGray) {
        TElement* Current = AddAction("Current Situation", Value, Color);
        List.SetCurrentElementID(Current->ID());
        return Current;
    }
    TElement* AddPathway(TElement* First, TElement* Second, TCombinationType Type, double Value) {
        return AddTestPathway(List, First, Second, Type, Value);
    }
    void Show() {
        Form.SetMyElementsList(&List);
        Form.show();
        QApplication::processEvents();
    }
    static void ClickRow(QListWidget* ListBox, int Row) {
        QTest::mouseClick(ListBox->viewport(), Qt::LeftButton, {},
                          ListBox->visualItemRect(ListBox->item(Row)).center());
    }
    bool Allowed() const {
        const bool ErrorsShown = Form.NotAllowedLabel()->isVisibleTo(&Form);
        EXPECT_EQ(Form.ReasonLabel()->isVisibleTo(&Form), ErrorsShown);
        EXPECT_EQ(Form.OKButton()->isEnabled(), !ErrorsShown);
        return !ErrorsShown;
    }
    static QStringList Texts(const QListWidget* ListBox) {
        QStringList Result;
        for (int I = 0; I < ListBox->count(); ++I)
            Result << ListBox->item(I)->text();
        return Result;
    }

    TElementsList List;
    TAddCombinationForm Form;
};

TEST_F(AddCombinationFormTest, TitleSizeAndPlace) {
    QWidget MainWindow;
    MainWindow.setGeometry(60, 40, 640, 480); // within the offscreen screen
    MainWindow.show();
    TAddCombinationForm OnWindow(&MainWindow);
    OnWindow.show();
    EXPECT_EQ(OnWindow.windowTitle(), "Define pathway");
    EXPECT_EQ(OnWindow.size(), QSize(479, 222));
    EXPECT_EQ(OnWindow.minimumSize(), OnWindow.maximumSize());
    EXPECT_LE(
        (OnWindow.frameGeometry().center() - MainWindow.frameGeometry().center()).manhattanLength(),
        4);
    EXPECT_EQ(OnWindow.NotAllowedLabel()->text(), "This Pathway is not allowed");
    EXPECT_EQ(OnWindow.ReasonLabel()->text(), "You can not make combinations with Current "
                                              "Situation, or make combinations with same action");
}

TEST_F(AddCombinationFormTest, ANewPathwayOffersOnlyTheCurrentSituation) {
    AddCurrentSituation();
    Show();
    EXPECT_EQ(Texts(Form.FirstListBox()), QStringList{"Current Situation"});
    EXPECT_EQ(Texts(Form.SecondListBox()), QStringList{"Current Situation"});
    EXPECT_EQ(Form.FirstElement(), List.Elements(0));
    EXPECT_EQ(Form.SecondElement(), List.Elements(0));
    EXPECT_FALSE(Allowed());
    // Enter does nothing while OK is disabled.
    Form.setResult(-1);
    QTest::keyClick(Form.FirstListBox(), Qt::Key_Return);
    EXPECT_TRUE(Form.isVisible());
    EXPECT_EQ(Form.result(), -1);
}

TEST_F(AddCombinationFormTest, OneActionBesideTheCurrentSituationMakesNoPathway) {
    AddCurrentSituation();
    AddAction("A", 20);
    Show();
    for (int First : {0, 1})
        for (int Second : {0, 1}) {
            ClickRow(Form.FirstListBox(), First);
            ClickRow(Form.SecondListBox(), Second);
            EXPECT_EQ(Form.FirstElement(), List.Elements(First));
            EXPECT_EQ(Form.SecondElement(), List.Elements(Second));
            EXPECT_FALSE(Allowed()) << First << " " << Second;
        }
}

TEST_F(AddCombinationFormTest, TwoOtherActionsMakeAPathway) {
    AddCurrentSituation();
    TElement* A = AddAction("A", 20);
    TElement* B = AddAction("B", 30, clBlue);
    Show();
    ClickRow(Form.FirstListBox(), 1);
    ClickRow(Form.SecondListBox(), 2);
    EXPECT_TRUE(Allowed());
    EXPECT_EQ(Form.FirstElement(), A);
    EXPECT_EQ(Form.SecondElement(), B);
    // Ctrl+click keeps the item selected: the choice stays visible.
    QTest::mouseClick(Form.SecondListBox()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      Form.SecondListBox()->visualItemRect(Form.SecondListBox()->item(2)).center());
    EXPECT_EQ(Form.SecondElement(), B);
    EXPECT_TRUE(Allowed());
    // Back to the same action twice, then the other way round.
    ClickRow(Form.SecondListBox(), 1);
    EXPECT_FALSE(Allowed());
    ClickRow(Form.FirstListBox(), 2);
    EXPECT_TRUE(Allowed());
    EXPECT_EQ(Form.FirstElement(), B);
    EXPECT_EQ(Form.SecondElement(), A);
    QTest::keyClick(Form.SecondListBox(), Qt::Key_Return);
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_FALSE(Form.isVisible());
}

TEST_F(AddCombinationFormTest, KeyboardOnly) {
    AddCurrentSituation();
    TElement* A = AddAction("A", 20);
    TElement* B = AddAction("B", 30);
    Show();
    Form.activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(Form.isActiveWindow());
    Form.FirstListBox()->setFocus();
    QTest::keyClick(Form.FirstListBox(), Qt::Key_Down);
    EXPECT_EQ(Form.FirstElement(), A);
    QTest::keyClick(Form.FirstListBox(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Form.SecondListBox());
    QTest::keyClick(Form.SecondListBox(), Qt::Key_End);
    EXPECT_EQ(Form.SecondElement(), B);
    QTest::keyClick(Form.SecondListBox(), Qt::Key_Up);
    EXPECT_EQ(Form.SecondElement(), A);
    EXPECT_FALSE(Allowed());
    QTest::keyClick(Form.SecondListBox(), Qt::Key_Down);
    EXPECT_TRUE(Allowed());
    QTest::keyClick(Form.SecondListBox(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Form.MethodComboBox());
    QTest::keyClick(Form.MethodComboBox(), Qt::Key_Down);
    EXPECT_EQ(Form.Combination(), ctSequence);
    QTest::keyClick(Form.MethodComboBox(), Qt::Key_Return);
    EXPECT_EQ(Form.result(), QDialog::Accepted);

    Show();
    QTest::keyClick(Form.FirstListBox(), Qt::Key_Escape);
    EXPECT_EQ(Form.result(), QDialog::Rejected);
    EXPECT_FALSE(Form.isVisible());
}

TEST_F(AddCombinationFormTest, PathwayElementsAreOfferedInBothLists) {
    AddCurrentSituation();
    TElement* Dike = AddAction("Dike", 20);
    TElement* Pump = AddAction("Pump", 30, clBlue);
    TElement* Both = AddPathway(Dike, Pump, ctCombine, 30);
    TElement* Barrier = AddAction("Barrier", 50, clGreen);
    Show();
    const QStringList Expected = {"Current Situation", "Dike", "Pump", "Dike + Pump", "Barrier"};
    EXPECT_EQ(Texts(Form.FirstListBox()), Expected);
    EXPECT_EQ(Texts(Form.SecondListBox()), Expected);
    // Names too long for the narrow lists are cut short; the tool tip has them.
    EXPECT_EQ(Form.SecondListBox()->item(3)->toolTip(), "Dike + Pump");
    ClickRow(Form.FirstListBox(), 3);
    ClickRow(Form.SecondListBox(), 4);
    EXPECT_TRUE(Allowed());
    EXPECT_EQ(Form.FirstElement(), Both);
    EXPECT_EQ(Form.SecondElement(), Barrier);
    ClickRow(Form.FirstListBox(), 4);
    ClickRow(Form.SecondListBox(), 3);
    EXPECT_TRUE(Allowed());
    EXPECT_EQ(Form.FirstElement(), Barrier);
    EXPECT_EQ(Form.SecondElement(), Both);
}

TEST_F(AddCombinationFormTest, TheMethodIsKeptBetweenShowings) {
    AddCurrentSituation();
    AddAction("A", 20);
    AddAction("B", 30);
    Show();
    EXPECT_EQ(Form.MethodComboBox()->currentText(), "Combine");
    EXPECT_EQ(Form.Combination(), ctCombine);
    QTest::keyClick(Form.MethodComboBox(), Qt::Key_Down);
    EXPECT_EQ(Form.MethodComboBox()->currentText(), "Sequence");
    Form.reject();
    Show();
    EXPECT_EQ(Form.Combination(), ctSequence);
    // The lists start over at their first item.
    EXPECT_EQ(Form.FirstElement(), List.Elements(0));
    EXPECT_EQ(Form.SecondElement(), List.Elements(0));
    QTest::keyClick(Form.MethodComboBox(), Qt::Key_Up);
    EXPECT_EQ(Form.Combination(), ctCombine);
}

TEST_F(AddCombinationFormTest, NoListNothingToChoose) {
    AddCurrentSituation();
    AddAction("A", 20);
    AddAction("B", 30);
    Show();
    Form.SetMyElementsList(nullptr);
    EXPECT_EQ(Form.MyElementsList(), nullptr);
    EXPECT_EQ(Form.FirstListBox()->count(), 0);
    EXPECT_EQ(Form.SecondListBox()->count(), 0);
    EXPECT_EQ(Form.FirstElement(), nullptr);
    EXPECT_EQ(Form.SecondElement(), nullptr);
    EXPECT_FALSE(Allowed());
    TElementsList Empty;
    Form.SetMyElementsList(&Empty);
    EXPECT_EQ(Form.FirstElement(), nullptr);
    EXPECT_FALSE(Allowed());
}

// Each item: the element's pathway bar from 0 to its own value in the
// rectangle (left + 2, top + 2) .. (left + 64, bottom - 2), then its name.
TEST_F(AddCombinationFormTest, ItemsShowThePathwayBarAndTheName) {
    for (TPathwayType Type : {ptConditionBased, ptTimeBased}) {
        List.ClearElements();
        List.SetPathwayType(Type);
        List.SetTippingTimeValuesCount(1);
        TElement* Current = AddCurrentSituation(0, clGray);
        TElement* Dike = AddAction("Dike", 2, clRed);
        TElement* Pump = AddAction("Pump", 6, clBlue);
        TElement* Both = AddPathway(Dike, Pump, ctCombine, 6);
        if (Type == ptTimeBased) {
            Current->SetTippingPointValue(3); // not the value of a time-based pathway
            Dike->SetTippingPointValue(0);
            Pump->SetTippingPointValue(0);
            Both->SetTippingPointValue(0);
            Dike->SetTippingTimeValue(0, 2);
            Pump->SetTippingTimeValue(0, 6);
            Both->SetTippingTimeValue(0, 6);
        }
        Show();
        ClickRow(Form.FirstListBox(), 3);
        const QImage Image = Form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QListWidget* ListBox = Form.FirstListBox();
        auto ItemRect = [&](int Row) {
            const QRect Rect = ListBox->visualItemRect(ListBox->item(Row));
            return Rect.translated(ListBox->viewport()->mapTo(&Form, QPoint(0, 0)));
        };
        auto Pixel = [&](const QRect& Item, int X, int Y) {
            return QColor(Image.pixel(Item.left() + X, Item.top() + Y));
        };
        const QPalette::ColorGroup Group =
            Form.isActiveWindow() ? QPalette::Active : QPalette::Inactive;
        const QColor Highlight = ListBox->palette().color(Group, QPalette::Highlight);
        const QColor Base = ListBox->palette().color(Group, QPalette::Base);

        // Dike + Pump, selected: Dike from 0 to 2, then the two bands (Pump
        // on top, Dike below) from 2 to 6, all over 62 pixels.
        const QRect Selected = ItemRect(3);
        EXPECT_EQ(Selected.height(), TAddCombinationForm::ItemHeight);
        EXPECT_EQ(Pixel(Selected, 1, 10), Highlight);
        EXPECT_EQ(Pixel(Selected, 2 + 10, 10), ColorToQColor(clRed));
        EXPECT_EQ(Pixel(Selected, 2 + 50, 4), ColorToQColor(clBlue));
        EXPECT_EQ(Pixel(Selected, 2 + 50, 15), ColorToQColor(clRed));
        EXPECT_EQ(Pixel(Selected, 2 + 61, 2), ColorToQColor(clBlue));
        EXPECT_EQ(Pixel(Selected, 2 + 50, 1), Highlight);  // above the bar
        EXPECT_EQ(Pixel(Selected, 2 + 50, 18), Highlight); // below it
        EXPECT_EQ(Pixel(Selected, 64, 10), Highlight);     // right of it
        EXPECT_EQ(Pixel(Selected, Selected.width() - 5, 10), Highlight);

        // Pump, not selected: the whole bar from the current situation at 0.
        const QRect Plain = ItemRect(2);
        EXPECT_EQ(Pixel(Plain, 1, 10), Base);
        EXPECT_EQ(Pixel(Plain, 2, 2), ColorToQColor(clBlue));
        EXPECT_EQ(Pixel(Plain, 63, 17), ColorToQColor(clBlue));
        EXPECT_EQ(Pixel(Plain, Plain.width() - 5, 10), Base);

        // The name starts 70 pixels in.
        auto InkBetween = [&](const QRect& Item, int From, int To) {
            for (int X = From; X < To; ++X)
                for (int Y = 1; Y < Item.height() - 1; ++Y)
                    if (Pixel(Item, X, Y) != Base)
                        return true;
            return false;
        };
        EXPECT_FALSE(InkBetween(Plain, 64, 70));
        EXPECT_TRUE(InkBetween(Plain, 70, 100));
        Form.hide();
    }
}

} // namespace
