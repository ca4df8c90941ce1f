#include "SpinEditUnit.h"

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

} // namespace
