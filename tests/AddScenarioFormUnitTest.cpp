#include "scenarios/AddScenarioFormUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "widgets/FloatEditUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The dialog as the user sees it: shown, active, with the focus on its first
// field.
class AddScenarioForm : public ::testing::Test {
protected:
    void SetUp() override { Show(); }
    void Show() {
        Form.show();
        QApplication::setActiveWindow(&Form);
        QApplication::processEvents();
    }
    void TearDown() override { Form.hide(); }

    // Replaces a value field's text by typing, as a user would after
    // selecting it.
    void TypeInto(QLineEdit* Field, const QString& Keys) {
        Field->setFocus();
        Field->selectAll();
        QTest::keyClicks(Field, Keys);
    }
    bool OKEnabled() {
        Form.UpdateActions();
        return Form.OKButton()->isEnabled();
    }
    QString N(QString Text) const { return Text.replace(QLatin1Char('.'), DecimalSeparator()); }

    TAddScenarioForm Form;
};

TEST_F(AddScenarioForm, FieldsWhereTheyBelong) {
    EXPECT_EQ(Form.windowTitle(), "Add Scenario");
    EXPECT_EQ(Form.size(), QSize(482, 224));
    const QList<QLabel*> Labels = Form.findChildren<QLabel*>();
    QStringList Texts;
    for (const QLabel* Label : Labels)
        Texts << Label->text() + "@" + QString::number(Label->x()) + "," +
                     QString::number(Label->y());
    Texts.sort();
    EXPECT_EQ(Texts, QStringList({"Scenario Name@8,8", "Value for year@8,40"}));
    const struct {
        QWidget* Widget;
        QPoint Position;
        int Width;
    } Fields[] = {
        {Form.NameEdit(), {112, 5}, 121},        {Form.FirstYearSpinEdit(), {16, 64}, 63},
        {Form.FirstValueEdit(), {112, 64}, 121}, {Form.LastYearSpinEdit(), {16, 92}, 63},
        {Form.LastValueEdit(), {112, 92}, 121},  {Form.AutoInterpolateCheckBox(), {16, 128}, 217},
    };
    for (const auto& Field : Fields) {
        EXPECT_EQ(Field.Widget->pos(), Field.Position) << Field.Widget->metaObject()->className();
        // A caption wider than it was laid out for widens its check box.
        if (Field.Widget == Form.AutoInterpolateCheckBox())
            EXPECT_EQ(Field.Widget->width(),
                      std::max(Field.Width, Field.Widget->sizeHint().width()));
        else
            EXPECT_EQ(Field.Widget->width(), Field.Width);
        // Each row clears the next one.
        EXPECT_LE(Field.Widget->height(), 28);
    }
    EXPECT_EQ(Form.CancelButton()->geometry(), QRect(287, 176, 75, 25));
    EXPECT_EQ(Form.OKButton()->geometry(), QRect(368, 176, 75, 25));
    EXPECT_EQ(Form.CancelButton()->text(), "Cancel");
    EXPECT_EQ(Form.OKButton()->text(), "OK");
    EXPECT_EQ(Form.AutoInterpolateCheckBox()->text(), "Automatic interpolation for values");
}

TEST_F(AddScenarioForm, StartsFrom2010To2100WithInterpolation) {
    EXPECT_EQ(Form.FirstAnchorYear(), 2010);
    EXPECT_FALSE(Form.FirstYearSpinEdit()->isEnabled());
    EXPECT_EQ(Form.LastAnchorYear(), 2100);
    EXPECT_TRUE(Form.AutoInterpolate());
    EXPECT_EQ(QApplication::focusWidget(), Form.NameEdit());
}

TEST_F(AddScenarioForm, TheLastYearMovesByDecadesWithTheArrowKeysOnly) {
    TDecadeSpinEdit* Year = Form.LastYearSpinEdit();
    Year->setFocus();
    QTest::keyClicks(Year, "2050");
    QTest::keyClick(Year, Qt::Key_Backspace);
    EXPECT_EQ(Year->text(), "2100");
    QTest::keyClick(Year, Qt::Key_PageDown);
    QWheelEvent Wheel(QPointF(5, 5), Year->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Year, &Wheel);
    EXPECT_EQ(Form.LastAnchorYear(), 2100);
    QTest::keyClick(Year, Qt::Key_Up); // already at the end
    EXPECT_EQ(Form.LastAnchorYear(), 2100);
    for (int I = 0; I < 3; ++I)
        QTest::keyClick(Year, Qt::Key_Down);
    EXPECT_EQ(Form.LastAnchorYear(), 2070);
    for (int I = 0; I < 12; ++I)
        QTest::keyClick(Year, Qt::Key_Down);
    EXPECT_EQ(Form.LastAnchorYear(), 2010);
    QTest::keyClick(Year, Qt::Key_Up);
    EXPECT_EQ(Form.LastAnchorYear(), 2020);
    // The focus leaving does not read anything typed into it either.
    Form.NameEdit()->setFocus();
    EXPECT_EQ(Form.LastAnchorYear(), 2020);
}

TEST_F(AddScenarioForm, TheArrowButtonsStepTheLastYear) {
    TDecadeSpinEdit* Year = Form.LastYearSpinEdit();
    // The down arrow sits in the lower half of the box's right end.
    const QPoint DownArrow(Year->width() - 4, Year->height() * 3 / 4);
    QTest::mouseClick(Year, Qt::LeftButton, Qt::NoModifier, DownArrow);
    EXPECT_EQ(Form.LastAnchorYear(), 2090);
}

// The anchors are the user's own values: kept as typed, up to six decimals.
TEST_F(AddScenarioForm, ValuesShowAtLeastTwoDecimalsAndReadAsTyped) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Form.SetFirstAnchorValue(1.006);
        Form.SetLastAnchorValue(-250);
        EXPECT_EQ(Form.FirstValueEdit()->text(), N("1.006"));
        EXPECT_EQ(Form.LastValueEdit()->text(), N("-250.00"));
        EXPECT_EQ(Form.FirstAnchorValue(), 1.006);
        EXPECT_EQ(Form.LastAnchorValue(), -250);

        TypeInto(Form.LastValueEdit(), N("0.05"));
        EXPECT_EQ(Form.LastAnchorValue(), 0.05);
        TypeInto(Form.LastValueEdit(), N("3.1415926"));
        EXPECT_EQ(Form.LastValueEdit()->text(), N("3.1415926"));
        EXPECT_EQ(Form.LastAnchorValue(), 3.141593);
        // Leaving the field shows the value it will give.
        QTest::keyClick(Form.LastValueEdit(), Qt::Key_Tab);
        EXPECT_EQ(Form.LastValueEdit()->text(), N("3.141593"));
    }
}

TEST_F(AddScenarioForm, ValueFieldsTakeOnlyWhatCanBeANumber) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        const QChar Other = Sep == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
        TypeInto(Form.FirstValueEdit(), QString("-1a2") + Other + "5" + Sep + "7" + Sep + "-");
        EXPECT_EQ(Form.FirstValueEdit()->text(), QString("-125") + Sep + "7");
    }
}

TEST_F(AddScenarioForm, OKNeedsAnotherYearAndAnotherValue) {
    Form.SetFirstAnchorValue(0);
    Form.SetLastAnchorValue(100);
    EXPECT_TRUE(OKEnabled());
    TypeInto(Form.LastValueEdit(), "0");
    EXPECT_FALSE(OKEnabled());
    // Equal as kept, to six decimals, so equal.
    TypeInto(Form.LastValueEdit(), N("0.0000001"));
    EXPECT_FALSE(OKEnabled());
    TypeInto(Form.LastValueEdit(), N("0.001"));
    EXPECT_TRUE(OKEnabled());
    TypeInto(Form.LastValueEdit(), "40");
    EXPECT_TRUE(OKEnabled());
    for (int I = 0; I < 9; ++I)
        QTest::keyClick(Form.LastYearSpinEdit(), Qt::Key_Down);
    ASSERT_EQ(Form.LastAnchorYear(), 2010);
    EXPECT_FALSE(OKEnabled());
    QTest::keyClick(Form.LastYearSpinEdit(), Qt::Key_Up);
    EXPECT_TRUE(OKEnabled());
}

// A field that holds no number does not disable OK without a word: OK
// names the field, and the dialog stays open with it selected.
TEST_F(AddScenarioForm, AFieldThatHoldsNoNumberIsNamedWhenOKIsPressed) {
    TScriptedModal Script;
    QSignalSpy Accepted(&Form, &QDialog::accepted);
    Form.SetFirstAnchorValue(0);
    for (const QString& Text : {QString("-"), QString(), QString(DecimalSeparator())}) {
        TypeInto(Form.LastValueEdit(), "5");
        Form.LastValueEdit()->selectAll();
        QTest::keyClick(Form.LastValueEdit(), Qt::Key_Backspace);
        QTest::keyClicks(Form.LastValueEdit(), Text);
        EXPECT_TRUE(OKEnabled()) << Text.toStdString();
        EXPECT_THROW(Form.LastAnchorValue(), ECorvinalError);
        Script.Errors.clear();
        QTest::mouseClick(Form.OKButton(), Qt::LeftButton);
        EXPECT_EQ(Script.Errors,
                  QStringList{QString("''%1'' is not a valid floating point value").arg(Text)});
        EXPECT_EQ(Accepted.count(), 0);
        EXPECT_TRUE(Form.isVisible());
        EXPECT_EQ(QApplication::focusWidget(), Form.LastValueEdit());
        EXPECT_EQ(Form.LastValueEdit()->selectedText(), Text);
    }
}

TEST_F(AddScenarioForm, EnterPressesOKOnlyWhileOKIsEnabled) {
    QSignalSpy Accepted(&Form, &QDialog::accepted);
    Form.SetFirstAnchorValue(5);
    Form.SetLastAnchorValue(5);
    Form.UpdateActions();
    QTest::keyClick(Form.NameEdit(), Qt::Key_Return);
    EXPECT_EQ(Accepted.count(), 0);
    EXPECT_TRUE(Form.isVisible());

    TypeInto(Form.LastValueEdit(), "6");
    Form.UpdateActions();
    QTest::keyClick(Form.LastValueEdit(), Qt::Key_Return);
    EXPECT_EQ(Accepted.count(), 1);
    EXPECT_EQ(Form.result(), QDialog::Accepted);
}

TEST_F(AddScenarioForm, EscapeAndCancelReject) {
    QSignalSpy Rejected(&Form, &QDialog::rejected);
    QTest::keyClick(Form.NameEdit(), Qt::Key_Escape);
    EXPECT_EQ(Rejected.count(), 1);
    Form.show();
    QTest::mouseClick(Form.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(Rejected.count(), 2);
    EXPECT_EQ(Form.result(), QDialog::Rejected);
}

TEST_F(AddScenarioForm, TheFirstValueCanBeLockedAndTheCheckBoxCleared) {
    Form.SetEditFirstValueEnabled(false);
    EXPECT_FALSE(Form.FirstValueEdit()->isEnabled());
    Form.SetEditFirstValueEnabled(true);
    EXPECT_TRUE(Form.FirstValueEdit()->isEnabled());
    Form.AutoInterpolateCheckBox()->setFocus();
    QTest::keyClick(Form.AutoInterpolateCheckBox(), Qt::Key_Space);
    EXPECT_FALSE(Form.AutoInterpolate());
}

TEST_F(AddScenarioForm, TheNameIsSelectedForTypingOverAtEachShowing) {
    Form.hide();
    Form.SetScenarioName("New Scenario");
    Show();
    ASSERT_EQ(QApplication::focusWidget(), Form.NameEdit());
    QTest::keyClicks(Form.NameEdit(), "Dry");
    EXPECT_EQ(Form.ScenarioName(), "Dry");
}

TEST_F(AddScenarioForm, TheKeyboardReachesEveryField) {
    Form.SetLastAnchorValue(100);
    Form.UpdateActions(); // a disabled OK is passed over
    QList<QWidget*> Visited;
    for (int I = 0; I < 6; ++I) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Visited << QApplication::focusWidget();
    }
    // The spin box takes the focus through its text field.
    auto Owner = [](QWidget* W) -> QWidget* {
        return W && qobject_cast<QAbstractSpinBox*>(W->parentWidget()) ? W->parentWidget() : W;
    };
    QList<QWidget*> Owners;
    for (QWidget* W : Visited)
        Owners << Owner(W);
    EXPECT_EQ(Owners, (QList<QWidget*>{Form.FirstValueEdit(), Form.LastYearSpinEdit(),
                                       Form.LastValueEdit(), Form.AutoInterpolateCheckBox(),
                                       Form.CancelButton(), Form.OKButton()}));
}

// Not the fixture: the dialog here belongs to a main window.
TEST(AddScenarioFormPlacement, CentredOnTheMainWindowAboveTheDialogThatOpensIt) {
    QWidget Main;
    Main.setGeometry(40, 60, 800, 542);
    Main.show();
    QDialog Definition(&Main); // kept in a corner of the screen
    Definition.setGeometry(0, 0, 615, 300);
    Definition.show();
    TAddScenarioForm Form(&Definition);
    Form.show();
    QApplication::processEvents();
    EXPECT_EQ(Form.frameGeometry().center(), Main.frameGeometry().center());
    // Again after the main window moved.
    Form.hide();
    Main.move(200, 100);
    Form.show();
    EXPECT_EQ(Form.frameGeometry().center(), Main.frameGeometry().center());
}

TEST(AddScenarioFormPlacement, TheOKRuleIsAskedWhenTheApplicationIsIdle) {
    TAddScenarioForm Form;
    Form.show();
    Form.SetFirstAnchorValue(1);
    Form.SetLastAnchorValue(1);
    // What the event loop tells when it runs out of work and waits.
    Q_EMIT QAbstractEventDispatcher::instance()->aboutToBlock();
    EXPECT_FALSE(Form.OKButton()->isEnabled());
    Form.SetLastAnchorValue(2);
    Q_EMIT QAbstractEventDispatcher::instance()->aboutToBlock();
    EXPECT_TRUE(Form.OKButton()->isEnabled());
}

} // namespace
