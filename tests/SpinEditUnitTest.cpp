#include "widgets/SpinEditUnit.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

TEST(SpinEdit, TextThatIsNoIntegerReadsAsTheLowerLimit) {
    TSpinEdit Free;
    TSpinEdit Limited(6, 20);
    Free.Editor()->setText("abc");
    Limited.Editor()->setText("");
    EXPECT_EQ(Free.Value(), 0);
    EXPECT_EQ(Limited.Value(), 6);
}

TEST(SpinEdit, ATypedValueIsClampedWhenTheFieldIsLeft) {
    TSpinEdit FontSize(6, 20);
    FontSize.Editor()->setText("4");
    EXPECT_EQ(FontSize.Value(), 6);
    FontSize.interpretText(); // what leaving the field does
    EXPECT_EQ(FontSize.value(), 6);
    TSpinEdit Free;
    Free.Editor()->setText("-123456");
    Free.interpretText();
    EXPECT_EQ(Free.value(), -123456);
}

} // namespace
