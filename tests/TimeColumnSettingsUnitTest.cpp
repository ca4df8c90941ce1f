#include "ui/TimeColumnSettingsUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Form = TTimeColumnSettingsForm;

void TypeName(TTimeColumnSettingsForm& Dialog, const QString& Keys) {
    QTest::keyClick(Dialog.NameEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Dialog.NameEdit(), Qt::Key_Backspace);
    QTest::keyClicks(Dialog.NameEdit(), Keys);
}

TEST(TimeColumnSettingsForm, Controls) {
    TTimeColumnSettingsForm Dialog;
    EXPECT_EQ(Dialog.windowTitle(), "TimeColumnSettingsForm");
    EXPECT_EQ(Dialog.size(), QSize(482, 225));
    EXPECT_EQ(Dialog.minimumSize(), Dialog.maximumSize());
    EXPECT_EQ(Dialog.NameEdit()->width(), 440);
    EXPECT_EQ(Dialog.DeleteButton()->text(), "Delete this Time Column");
    EXPECT_EQ(Dialog.OKButton()->text(), "OK");
    EXPECT_EQ(Dialog.CancelButton()->text(), "Cancel");
    Dialog.SetColumnName("Time0");
    EXPECT_FALSE(Dialog.DeleteButton()->isEnabled()); // and stays so
}

TEST(TimeColumnSettingsForm, OKNeedsANameThatIsNotBlank) {
    TTimeColumnSettingsForm Dialog;
    struct TCase {
        const char* Name;
        bool Ok;
    };
    for (const TCase& Case : {TCase{"", false}, TCase{"   ", false}, TCase{"High", true},
                              TCase{"  High ", true}, TCase{"\t", false}, TCase{"x", true}}) {
        Dialog.SetColumnName(Case.Name);
        EXPECT_EQ(Dialog.OKButton()->isEnabled(), Case.Ok) << "set " << Case.Name;
        EXPECT_EQ(Dialog.ColumnName(), Case.Name); // as given, blanks included
        TypeName(Dialog, Case.Name);
        EXPECT_EQ(Dialog.OKButton()->isEnabled(), Case.Ok) << "typed " << Case.Name;
    }
    // Every keystroke counts.
    TypeName(Dialog, " ");
    EXPECT_FALSE(Dialog.OKButton()->isEnabled());
    QTest::keyClicks(Dialog.NameEdit(), "W");
    EXPECT_TRUE(Dialog.OKButton()->isEnabled());
    QTest::keyClick(Dialog.NameEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(Dialog.OKButton()->isEnabled());
    // Setting the same text again is checked too.
    Dialog.SetColumnName(" ");
    EXPECT_FALSE(Dialog.OKButton()->isEnabled());
}

TEST(TimeColumnSettingsForm, WidthsFrom20To2000) {
    TTimeColumnSettingsForm Dialog;
    struct TCase {
        int32_t Set, Read;
    };
    for (const TCase& Case :
         {TCase{116, 116}, TCase{Form::MinColumnWidth, 20}, TCase{Form::MaxColumnWidth, 2000},
          TCase{0, 20}, TCase{-50, 20}, TCase{19, 20}, TCase{2001, 2000}, TCase{1000000, 2000}}) {
        Dialog.SetColumnWidth(Case.Set);
        EXPECT_EQ(Dialog.ColumnWidth(), Case.Read) << Case.Set;
    }
}

TEST(TimeColumnSettingsForm, ATypedWidthIsKeptWithinTheLimits) {
    TTimeColumnSettingsForm Dialog;
    Dialog.SetColumnName("Time0");
    Dialog.SetColumnWidth(116);
    Dialog.show();
    Dialog.activateWindow();
    QApplication::processEvents();
    ASSERT_TRUE(Dialog.isActiveWindow());
    QLineEdit* Typing = Dialog.WidthSpinEdit()->Editor();
    Dialog.WidthSpinEdit()->setFocus();
    QTest::keyClick(Typing, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Typing, "5");
    EXPECT_EQ(Dialog.ColumnWidth(), 20); // read while typing
    QTest::keyClick(Dialog.WidthSpinEdit(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), Dialog.WidthSpinEdit());
    EXPECT_EQ(Dialog.WidthSpinEdit()->text(), "20");
    EXPECT_EQ(Dialog.ColumnWidth(), 20);
    Dialog.WidthSpinEdit()->setFocus();
    QTest::keyClick(Typing, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Typing, "350");
    EXPECT_EQ(Dialog.ColumnWidth(), 350);
    QTest::keyClick(Dialog.WidthSpinEdit(), Qt::Key_Up);
    EXPECT_EQ(Dialog.ColumnWidth(), 351);
}

TEST(TimeColumnSettingsForm, EnterConfirmsWhenOKIsEnabledEscapeCancels) {
    TTimeColumnSettingsForm Dialog;
    Dialog.SetColumnWidth(116);
    struct TCase {
        const char* Name;
        Qt::Key Key;
        int Result;
        bool StaysOpen;
    };
    for (const TCase& Case : {TCase{"High", Qt::Key_Return, QDialog::Accepted, false},
                              TCase{"  ", Qt::Key_Return, -1, true},
                              TCase{"High", Qt::Key_Escape, QDialog::Rejected, false},
                              TCase{"", Qt::Key_Escape, QDialog::Rejected, false}}) {
        Dialog.setResult(-1);
        Dialog.show();
        TypeName(Dialog, Case.Name);
        QTest::keyClick(Dialog.NameEdit(), Case.Key);
        EXPECT_EQ(Dialog.result(), Case.Result) << Case.Name;
        EXPECT_EQ(Dialog.isVisible(), Case.StaysOpen) << Case.Name;
    }
    // Enter in the width field confirms too.
    Dialog.show();
    Dialog.SetColumnName("Low");
    QTest::keyClick(Dialog.WidthSpinEdit(), Qt::Key_Return);
    EXPECT_EQ(Dialog.result(), QDialog::Accepted);
    for (QPushButton* Button : {Dialog.OKButton(), Dialog.CancelButton()}) {
        Dialog.show();
        QTest::mouseClick(Button, Qt::LeftButton);
        EXPECT_EQ(Dialog.result(),
                  Button == Dialog.OKButton() ? QDialog::Accepted : QDialog::Rejected);
    }
}

} // namespace
