#include "map/XAxisSettingsFormUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/TestSupport.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(XAxisSettingsForm, ShowsTwoDecimalsAndReadsThemBack) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        TXAxisSettingsForm Form;
        Form.SetMinTippingPoint(0.1234);
        Form.SetMaxTippingPoint(20000);
        EXPECT_EQ(Form.MinValueEdit()->text(), QString("0") + Sep + "12");
        EXPECT_EQ(Form.MaxTippingPoint(), 20000);
        EXPECT_EQ(Form.MinTippingPoint(), 0.12);
        Form.MinValueEdit()->setText("1" + QString(Sep) + "2" + QString(Sep) + "3");
        EXPECT_THROW(Form.MinTippingPoint(), ECorvinalError);
    }
}

TEST(XAxisSettingsForm, ShowXAxisEnablesCaptionAndTicks) {
    TXAxisSettingsForm Form;
    EXPECT_EQ(Form.windowTitle(), "TippingPoint Settings");
    EXPECT_EQ(Form.size(), QSize(482, 224));
    Form.SetXAxixCaption("Sea level rise (cm)");
    Form.SetShowXAxis(false);
    EXPECT_FALSE(Form.Edit1()->isEnabled());
    EXPECT_FALSE(Form.TicksSpinEdit()->isEnabled());
    EXPECT_EQ(Form.XAxixCaption(), "Sea level rise (cm)"); // still read back
    Form.CheckBox1()->click();
    EXPECT_TRUE(Form.ShowXAxis());
    EXPECT_TRUE(Form.Edit1()->isEnabled());
    EXPECT_TRUE(Form.TicksSpinEdit()->isEnabled());
    EXPECT_EQ(Form.CheckBox1()->text(), "Show Tipping conditions axis");
}

TEST(XAxisSettingsForm, TicksAreClampedToTwoToTwenty) {
    TXAxisSettingsForm Form;
    Form.SetTicksXAxis(25);
    EXPECT_EQ(Form.TicksXAxis(), 20);
    Form.SetTicksXAxis(-4);
    EXPECT_EQ(Form.TicksXAxis(), 2);
}

TEST(XAxisSettingsForm, TypedTicksPastTwentyGiveTwenty) {
    TXAxisSettingsForm Form;
    Form.TicksSpinEdit()->Editor()->selectAll();
    QTest::keyClicks(Form.TicksSpinEdit()->Editor(), QStringLiteral("25"));
    EXPECT_EQ(Form.TicksXAxis(), 20);
}

} // namespace
