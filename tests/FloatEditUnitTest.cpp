#include "widgets/FloatEditUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

TEST(FloatEdit, KeyFilter) {
    for (QChar Sep : {QChar(u'.'), QChar(u','), ArabicSeparator}) {
        TSeparatorGuard Guard(Sep);
        const QChar Other = Sep == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
        EXPECT_TRUE(TFloatEdit::AcceptsKey('7', "1", 1));
        EXPECT_TRUE(TFloatEdit::AcceptsKey('\b', "1", 1));
        EXPECT_TRUE(TFloatEdit::AcceptsKey(Sep, "1", 1));
        EXPECT_FALSE(TFloatEdit::AcceptsKey(Sep, QString("1") + Sep + "5", 3));
        EXPECT_FALSE(TFloatEdit::AcceptsKey(Other, "1", 1));
        EXPECT_TRUE(TFloatEdit::AcceptsKey('-', "15", 0));
        EXPECT_FALSE(TFloatEdit::AcceptsKey('-', "15", 1));
        EXPECT_FALSE(TFloatEdit::AcceptsKey('-', "-15", 0));
        EXPECT_FALSE(TFloatEdit::AcceptsKey('e', "1", 1));
        EXPECT_FALSE(TFloatEdit::AcceptsKey(QChar(0x4E00), "1", 1));
    }
}

} // namespace

namespace {

void Type(TFloatEdit& Edit, const QString& Keys) {
    for (QChar C : Keys) {
        QKeyEvent Press(QEvent::KeyPress, 0, Qt::NoModifier, QString(C));
        QCoreApplication::sendEvent(&Edit, &Press);
    }
}

TEST(FloatEdit, SwallowsWhatCannotBeANumber) {
    TSeparatorGuard Guard('.');
    TFloatEdit Edit;
    Type(Edit, "-1,5.2-5e.");
    EXPECT_EQ(Edit.text(), "-15.25");
    EXPECT_EQ(ReadFloatField(&Edit), -15.25);
}

TEST(FloatEdit, TakesTheArabicSeparatorWhereItIsTheUsers) {
    TSeparatorGuard Guard(ArabicSeparator);
    TFloatEdit Edit;
    Type(Edit, QString("1.5,") + ArabicSeparator + "25" + ArabicSeparator);
    EXPECT_EQ(Edit.text(), QString("15") + ArabicSeparator + "25");
    EXPECT_EQ(ReadFloatField(&Edit), 15.25);
}

} // namespace
