#include "map/GraphSettingsUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(GraphSettingsForm, FieldsAndLimits) {
    TGraphSettingsForm Form;
    EXPECT_EQ(Form.windowTitle(), "GraphSettings");
    // Taller than the first layout by the title's row.
    EXPECT_EQ(Form.size(), QSize(482, 300));
    Form.SetLeftMargin(-30);
    Form.SetDrawingAreaWidth(150000);
    Form.SetFontSize(4);
    EXPECT_EQ(Form.LeftMargin(), -30);
    EXPECT_EQ(Form.DrawingAreaWidth(), 150000);
    EXPECT_EQ(Form.FontSize(), 6);
    Form.SetFontSize(99);
    EXPECT_EQ(Form.FontSize(), 20);
    EXPECT_EQ(Form.DrawingAreaWidthSpinEdit()->singleStep(), 100);
    EXPECT_EQ(Form.DrawingAreaHeightSpinEdit()->singleStep(), 100);
    EXPECT_EQ(Form.LeftMarginSpinEdit()->singleStep(), 1);
}

TEST(GraphSettingsForm, TypedFontSizePastTwentyGivesTwenty) {
    TGraphSettingsForm Form;
    Form.FontSizeSpinEdit()->Editor()->selectAll();
    QTest::keyClicks(Form.FontSizeSpinEdit()->Editor(), QStringLiteral("25"));
    EXPECT_EQ(Form.FontSize(), 20);
}

} // namespace
