#include "widgets/ColorBoxUnit.h"
#include "map/CanvasUnit.h"
#include "tests/support/ScriptedModal.h"

#include <QAbstractItemView>
#include <QIcon>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr TColor clBtnFace = TColor(0xFF00000Fu);
constexpr TColor clHighlight = TColor(0xFF00000Du);
constexpr TColor cl3DDkShadow = TColor(0xFF000015u);

QColor SwatchColor(const TColorBox& Box, int Index) {
    const QImage Image = Box.itemIcon(Index).pixmap(Box.iconSize()).toImage();
    return QColor(Image.pixel(Image.width() / 2, Image.height() / 2));
}

TEST(ColorBox, OffersNamedColoursWithSwatchAndName) {
    TColorBox Box;
    EXPECT_EQ(Box.itemText(TColorBox::CustomEntryIndex), "Custom...");
    struct TCase {
        TColor Color;
        const char* Name;
    };
    for (const TCase& Case :
         {TCase{clBlack, "Black"}, TCase{clWhite, "White"}, TCase{clMoneyGreen, "Money Green"},
          TCase{clMedGray, "Med Gray"}, TCase{clBtnFace, "Btn Face"},
          TCase{cl3DDkShadow, "3D Dk Shadow"}, TCase{TColor(0xFF00001Eu), "Menu Bar"}}) {
        const int Index = Box.IndexOfColor(Case.Color);
        ASSERT_GT(Index, TColorBox::CustomEntryIndex) << Case.Name;
        EXPECT_EQ(Box.itemText(Index), Case.Name);
        EXPECT_EQ(SwatchColor(Box, Index), ColorToQColor(Case.Color)) << Case.Name;
    }
    // Colours without a place in the lists.
    EXPECT_EQ(Box.IndexOfColor(TColor(0xFF000019u)), -1);
    EXPECT_EQ(Box.IndexOfColor(clNone), -1);
    EXPECT_EQ(Box.IndexOfColor(RGBToColor(1, 2, 3)), -1);
}

TEST(ColorBox, EveryColourReadsBackAsItWasSet) {
    TColorBox Box;
    const int ItemsBefore = Box.count();
    for (TColor Color : {clRed, clSkyBlue, clHighlight, TColor(0xFF000019u), RGBToColor(1, 2, 3),
                         clNone, clDefault}) {
        Box.SetColor(Color);
        EXPECT_EQ(Box.Color(), Color) << ColorToString(Color).toStdString();
        EXPECT_EQ(Box.currentIndex(), Box.IndexOfColor(Color));
    }
    // One custom item at a time, right below "Custom...", showing the colour.
    Box.SetColor(RGBToColor(0x40, 0xA0, 0xC0));
    EXPECT_EQ(Box.count(), ItemsBefore + 1);
    EXPECT_EQ(Box.currentIndex(), TColorBox::CustomEntryIndex + 1);
    EXPECT_EQ(Box.currentText(), "$00C0A040");
    EXPECT_EQ(SwatchColor(Box, Box.currentIndex()), QColor(0x40, 0xA0, 0xC0));
    Box.SetColor(clDefault);
    EXPECT_EQ(Box.currentText(), "Default");
}

TEST(ColorBox, PickingAListedColourByKeyboard) {
    TScriptedModal Script;
    TColorBox Box;
    Box.SetColor(clBlack);
    QTest::keyClick(&Box, Qt::Key_Down);
    EXPECT_EQ(Box.Color(), clMaroon);
    EXPECT_EQ(Script.ColorRequests, 0);
}

TEST(ColorBox, CustomEntryAsksForAColourWithTheCurrentOnePreselected) {
    TScriptedModal Script;
    TColorBox Box;
    Box.SetColor(clRed);
    Script.AnswerColor(RGBToColor(0x33, 0x66, 0x99));
    QTest::keyClick(&Box, Qt::Key_Home); // onto "Custom..."
    EXPECT_EQ(Script.ColorRequests, 1);
    EXPECT_EQ(Script.LastColorOffered, clRed);
    EXPECT_EQ(Box.Color(), RGBToColor(0x33, 0x66, 0x99));
    EXPECT_EQ(Box.currentIndex(), TColorBox::CustomEntryIndex + 1);

    // A chosen colour that has a name selects the named item.
    Script.AnswerColor(clAqua);
    QTest::keyClick(&Box, Qt::Key_Home);
    EXPECT_EQ(Box.Color(), clAqua);
    EXPECT_EQ(Box.currentText(), "Aqua");

    // Cancel keeps the colour and its item.
    Script.AnswerColor(std::nullopt);
    QTest::keyClick(&Box, Qt::Key_Home);
    EXPECT_EQ(Box.Color(), clAqua);
    EXPECT_EQ(Box.currentText(), "Aqua");
    EXPECT_TRUE(Script.AllAnswered());
}

TEST(ColorBox, CustomEntryOffersASystemColourAsItLooks) {
    TScriptedModal Script;
    TColorBox Box;
    Box.SetColor(clBtnFace);
    Script.AnswerColor(std::nullopt);
    QTest::keyClick(&Box, Qt::Key_Home);
    const QColor Look = ColorToQColor(clBtnFace);
    EXPECT_EQ(Script.LastColorOffered, RGBToColor(Look.red(), Look.green(), Look.blue()));
    EXPECT_EQ(Box.Color(), clBtnFace);
}

// Through the open list, as a mouse user would pick it but without its
// timing: the popup ignores releases too soon after it opened.
TEST(ColorBox, CustomEntryFromTheOpenList) {
    TScriptedModal Script;
    TColorBox Box;
    Box.SetColor(clGreen);
    Box.show();
    Box.showPopup();
    QAbstractItemView* View = Box.view();
    Script.AnswerColor(RGBToColor(10, 20, 30));
    QTest::keyClick(View, Qt::Key_Home);
    QTest::keyClick(View, Qt::Key_Return);
    EXPECT_EQ(Script.LastColorOffered, clGreen);
    EXPECT_EQ(Box.Color(), RGBToColor(10, 20, 30));
}

} // namespace
