#include "widgets/SpinEditUnit.h"

#include <QLineEdit>
#include <QTest>
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

// Typed key by key, as a user does: digits that lead past the upper limit
// are taken, and leaving the field clamps them.
TEST(SpinEdit, TypedDigitsPastTheLimitAreClampedWhenTheFieldIsLeft) {
    struct TCase {
        int Min, Max;
        const char* Typed;
        int Expected;
    };
    for (const TCase& Case : {TCase{2, 20, "25", 20}, TCase{6, 20, "25", 20}, TCase{6, 20, "4", 6},
                              TCase{6, 20, "12", 12}, TCase{20, 2000, "99999", 2000}}) {
        SCOPED_TRACE(Case.Typed);
        TSpinEdit Field(Case.Min, Case.Max);
        Field.Editor()->selectAll();
        QTest::keyClicks(Field.Editor(), QString::fromLatin1(Case.Typed));
        EXPECT_EQ(Field.Editor()->text(), QString::fromLatin1(Case.Typed));
        EXPECT_EQ(Field.Value(), Case.Expected);
        Field.interpretText(); // what leaving the field does
        EXPECT_EQ(Field.value(), Case.Expected);
    }
}

TEST(SpinEdit, LettersAreStillRefused) {
    TSpinEdit Field(2, 20);
    Field.Editor()->selectAll();
    QTest::keyClicks(Field.Editor(), QStringLiteral("1x5"));
    EXPECT_EQ(Field.Editor()->text(), QStringLiteral("15"));
}

} // namespace
