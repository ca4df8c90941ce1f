#include "ui/AddMeasureFormUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "widgets/ColorBoxUnit.h"
#include "widgets/FloatEditUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr TColor clBtnFace = TColor(0xFF00000Fu);

// The message a failed read reports, or an empty text when it succeeds.
template <typename TRead> QString FailureOf(TRead Read) {
    try {
        Read();
    } catch (const ECorvinalError& E) {
        return E.Message();
    }
    return QString();
}

// Empties a field the way a user does: select all, then delete.
void ClearByKeys(QLineEdit* Edit) {
    QTest::keyClick(Edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Edit, Qt::Key_Backspace);
}

void TypeInto(QLineEdit* Edit, const QString& Keys) {
    ClearByKeys(Edit);
    QTest::keyClicks(Edit, Keys);
}

class AddMeasureFormTest : public ::testing::Test {
protected:
    // Filled as the main window fills it for an element.
    void FillAsAction(bool IsCurrent) {
        Form.SetMeasureName("Dike");
        Form.SetMeasureColor(clRed);
        Form.SetTippingValue(1.5);
        Form.SetCombinationType(ctNone);
        Form.SetCombinationFirstID(-1);
        Form.SetCombinationSecondID(-1);
        Form.SetPresentActionEnabled(true);
        Form.SetPresentActionChecked(IsCurrent);
    }
    void FillAsPathway(TCombinationType Type) {
        Form.SetMeasureName("Dike + Pump");
        Form.SetMeasureColor(clBlue);
        Form.SetTippingValue(1.5);
        Form.SetCombinationType(Type);
        Form.SetCombinationFirstID(2);
        Form.SetCombinationSecondID(3);
        Form.SetPresentActionEnabled(false);
        Form.SetPresentActionChecked(false);
    }
    bool Shown(const QWidget* Widget) const { return Widget->isVisibleTo(&Form); }

    TAddMeasureForm Form;
};

TEST_F(AddMeasureFormTest, TitleSizeAndPlace) {
    QWidget MainWindow;
    MainWindow.setGeometry(60, 40, 640, 480); // within the offscreen screen
    MainWindow.show();
    TAddMeasureForm OnWindow(&MainWindow);
    OnWindow.show();
    EXPECT_EQ(OnWindow.windowTitle(), "Edit measure");
    // Taller than the first form by the lead time's row.
    EXPECT_EQ(OnWindow.size(), QSize(482, 330));
    EXPECT_EQ(OnWindow.minimumSize(), OnWindow.maximumSize());
    EXPECT_LE(
        (OnWindow.frameGeometry().center() - MainWindow.frameGeometry().center()).manhattanLength(),
        4);
    EXPECT_FALSE(OnWindow.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(AddMeasureFormTest, AnActionShowsThePresentActionChoiceButNoCombination) {
    FillAsAction(true);
    EXPECT_TRUE(Shown(Form.PresentActionCheckBox()));
    EXPECT_TRUE(Form.PresentActionEnabled());
    EXPECT_TRUE(Form.PresentActionChecked());
    EXPECT_EQ(Form.PresentActionCheckBox()->text(), "Define as present action");
    EXPECT_FALSE(Shown(Form.CombinationLabel()));
    EXPECT_FALSE(Shown(Form.CombinationComboBox()));
    EXPECT_FALSE(Shown(Form.PredecessorLabel()));
    EXPECT_FALSE(Shown(Form.PredecessorEdit()));
    EXPECT_FALSE(Shown(Form.CombinedWithLabel()));
    EXPECT_FALSE(Shown(Form.CombinedWithEdit()));
    EXPECT_TRUE(Shown(Form.InitialCostsEdit()));
    EXPECT_FALSE(Shown(Form.TransferCostsEdit()));
    EXPECT_TRUE(Shown(Form.TransferCostsLabel())); // labels stay
    EXPECT_TRUE(Shown(Form.RecurrentCostsEdit()));
    EXPECT_EQ(Form.CombinationType(), ctNone);
}

TEST_F(AddMeasureFormTest, APathwayElementShowsItsCombinationAndItsParts) {
    for (TCombinationType Type : {ctCombine, ctSequence}) {
        FillAsAction(true); // the form is reused: what was shown before must go
        FillAsPathway(Type);
        EXPECT_FALSE(Shown(Form.PresentActionCheckBox()));
        EXPECT_FALSE(Form.PresentActionEnabled());
        EXPECT_TRUE(Shown(Form.CombinationLabel()));
        EXPECT_TRUE(Shown(Form.CombinationComboBox()));
        EXPECT_EQ(Form.CombinationComboBox()->currentText(),
                  Type == ctCombine ? "Combination" : "Sequence");
        EXPECT_EQ(Form.CombinationType(), Type);
        EXPECT_TRUE(Shown(Form.PredecessorEdit()));
        EXPECT_EQ(Form.PredecessorLabel()->text(), "Predecessor");
        EXPECT_EQ(Form.PredecessorEdit()->text(), "2");
        EXPECT_TRUE(Shown(Form.CombinedWithEdit()));
        EXPECT_EQ(Form.CombinedWithLabel()->text(), "Combined with");
        EXPECT_EQ(Form.CombinedWithEdit()->text(), "3");
        EXPECT_FALSE(Shown(Form.InitialCostsEdit()));
        EXPECT_TRUE(Shown(Form.InitialCostsLabel()));
        EXPECT_TRUE(Shown(Form.TransferCostsEdit()));
        EXPECT_TRUE(Shown(Form.RecurrentCostsEdit()));
    }
}

TEST_F(AddMeasureFormTest, EachIdIsShownFromZeroOn) {
    struct TCase {
        int32_t First, Second;
        bool FirstShown, SecondShown;
    };
    for (const TCase& Case : {TCase{0, -1, true, false}, TCase{-1, 0, false, true},
                              TCase{-5, 12, false, true}, TCase{7, 8, true, true}}) {
        Form.SetCombinationFirstID(Case.First);
        Form.SetCombinationSecondID(Case.Second);
        EXPECT_EQ(Form.CombinationFirstID(), Case.First);
        EXPECT_EQ(Form.CombinationSecondID(), Case.Second);
        EXPECT_EQ(Shown(Form.PredecessorLabel()), Case.FirstShown) << Case.First;
        EXPECT_EQ(Shown(Form.PredecessorEdit()), Case.FirstShown) << Case.First;
        EXPECT_EQ(Shown(Form.CombinedWithLabel()), Case.SecondShown) << Case.Second;
        EXPECT_EQ(Shown(Form.CombinedWithEdit()), Case.SecondShown) << Case.Second;
        EXPECT_EQ(Form.PredecessorEdit()->text(), QString::number(Case.First));
        EXPECT_EQ(Form.CombinedWithEdit()->text(), QString::number(Case.Second));
    }
}

TEST_F(AddMeasureFormTest, TheUserChecksThePresentAction) {
    FillAsAction(false);
    Form.show();
    QCheckBox* Box = Form.PresentActionCheckBox();
    QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(6, Box->height() / 2)); // the box itself
    EXPECT_TRUE(Form.PresentActionChecked());
    QTest::keyClick(Box, Qt::Key_Space);
    EXPECT_FALSE(Form.PresentActionChecked());
}

TEST_F(AddMeasureFormTest, NumbersInTheGeneralFormatOfTheLocale) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        struct TCase {
            double Value;
            QString Text;
        };
        for (const TCase& Case :
             {TCase{10, "10"}, TCase{1.5, QString("1") + Sep + "5"},
              TCase{-0.25, QString("-0") + Sep + "25"}, TCase{1e15, "1E15"}, TCase{0, "0"}}) {
            Form.SetTippingValue(Case.Value);
            Form.SetInitialCosts(Case.Value);
            Form.SetTransferCosts(Case.Value);
            Form.SetRecurrentCosts(Case.Value);
            for (QLineEdit* Edit : {static_cast<QLineEdit*>(Form.TippingValueEdit()),
                                    static_cast<QLineEdit*>(Form.InitialCostsEdit()),
                                    static_cast<QLineEdit*>(Form.TransferCostsEdit()),
                                    static_cast<QLineEdit*>(Form.RecurrentCostsEdit())})
                EXPECT_EQ(Edit->text(), Case.Text);
            EXPECT_EQ(Form.TippingValue(), Case.Value);
            EXPECT_EQ(Form.InitialCosts(), Case.Value);
            EXPECT_EQ(Form.TransferCosts(), Case.Value);
            EXPECT_EQ(Form.RecurrentCosts(), Case.Value);
        }
        TypeInto(Form.TippingValueEdit(), QString("12") + Sep + "75");
        EXPECT_EQ(Form.TippingValue(), 12.75);
    }
}

TEST_F(AddMeasureFormTest, NumberFieldsSwallowWhatCannotBeANumber) {
    struct TCase {
        QChar Sep;
        const char* Typed;
        const char* Kept;
    };
    for (const TCase& Case :
         {TCase{'.', "1,5", "15"}, TCase{',', "1,5", "1,5"}, TCase{',', "1.5", "15"},
          TCase{'.', "--1", "-1"}, TCase{'.', "1-2", "12"}, TCase{'.', "1.5.2", "1.52"},
          TCase{'.', "2e3 x", "23"}}) {
        TSeparatorGuard Guard(Case.Sep);
        for (TFloatEdit* Edit : {Form.TippingValueEdit(), Form.InitialCostsEdit(),
                                 Form.TransferCostsEdit(), Form.RecurrentCostsEdit()}) {
            TypeInto(Edit, Case.Typed);
            EXPECT_EQ(Edit->text(), Case.Kept) << Case.Typed << " with " << Case.Sep.toLatin1();
        }
    }
    // "-" goes in only at the start, wherever the caret came from.
    TypeInto(Form.TippingValueEdit(), "25");
    QTest::keyClick(Form.TippingValueEdit(), Qt::Key_Left);
    QTest::keyClicks(Form.TippingValueEdit(), "-");
    EXPECT_EQ(Form.TippingValueEdit()->text(), "25");
    QTest::keyClick(Form.TippingValueEdit(), Qt::Key_Home);
    QTest::keyClicks(Form.TippingValueEdit(), "-");
    EXPECT_EQ(Form.TippingValue(), -25);
}

TEST_F(AddMeasureFormTest, ReadingATippingValueThatIsNoNumberFails) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        for (const QString& Typed : {QString(), QString("-"), QString(Sep)}) {
            Form.SetTippingValue(4);
            TypeInto(Form.TippingValueEdit(), Typed);
            EXPECT_EQ(Form.TippingValueEdit()->text(), Typed);
            EXPECT_EQ(FailureOf([this] { Form.TippingValue(); }),
                      "''" + Typed + "'' is not a valid floating point value");
            EXPECT_EQ(FailureOf([this] { Form.CheckValues(); }),
                      "''" + Typed + "'' is not a valid floating point value");
        }
    }
}

TEST_F(AddMeasureFormTest, CheckValuesReportsTheFirstFieldThatIsNoNumber) {
    FillAsPathway(ctSequence);
    Form.SetInitialCosts(100);
    Form.SetTransferCosts(20);
    Form.SetRecurrentCosts(5);
    EXPECT_NO_THROW(Form.CheckValues());
    for (TFloatEdit* Edit :
         {Form.InitialCostsEdit(), Form.TransferCostsEdit(), Form.RecurrentCostsEdit()}) {
        const QString Before = Edit->text();
        Edit->setText("-");
        EXPECT_EQ(FailureOf([this] { Form.CheckValues(); }),
                  "''-'' is not a valid floating point value");
        Edit->setText(Before);
    }
    // Top to bottom: the tipping value before the costs.
    Form.RecurrentCostsEdit()->setText("");
    TypeInto(Form.TippingValueEdit(), "-");
    EXPECT_EQ(FailureOf([this] { Form.CheckValues(); }),
              "''-'' is not a valid floating point value");
    // A form nobody filled reads as zeros.
    TAddMeasureForm Fresh;
    EXPECT_NO_THROW(Fresh.CheckValues());
    EXPECT_EQ(Fresh.TippingValue(), 0);
}

TEST_F(AddMeasureFormTest, ColoursReadBackUnchanged) {
    for (TColor Color : {clRed, clMoneyGreen, clBtnFace, TColor(0xFF000019u),
                         RGBToColor(0x12, 0x34, 0x56), clNone}) {
        Form.SetMeasureColor(Color);
        EXPECT_EQ(Form.MeasureColor(), Color) << ColorToString(Color).toStdString();
    }
}

TEST_F(AddMeasureFormTest, CustomColourThroughTheColourDialog) {
    TScriptedModal Script;
    FillAsAction(false);
    Form.show();
    Script.AnswerColor(RGBToColor(0x40, 0x80, 0xC0));
    QTest::keyClick(Form.ColorBox(), Qt::Key_Home); // "Custom..."
    EXPECT_EQ(Script.LastColorOffered, clRed);
    EXPECT_EQ(Form.MeasureColor(), RGBToColor(0x40, 0x80, 0xC0));
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(AddMeasureFormTest, CombinationFromTheListOrTyped) {
    FillAsPathway(ctCombine);
    Form.show();
    QComboBox* Combo = Form.CombinationComboBox();
    QTest::keyClick(Combo, Qt::Key_Down);
    EXPECT_EQ(Form.CombinationType(), ctSequence);
    QTest::keyClick(Combo, Qt::Key_Up);
    EXPECT_EQ(Form.CombinationType(), ctCombine);
    struct TCase {
        const char* Typed;
        TCombinationType Type;
    };
    for (const TCase& Case :
         {TCase{"Sequence", ctSequence}, TCase{"sequence", ctSequence},
          TCase{"Combination", ctCombine}, TCase{"Other", ctNone}, TCase{"", ctNone}}) {
        TypeInto(Combo->lineEdit(), Case.Typed);
        EXPECT_EQ(Form.CombinationType(), Case.Type) << Case.Typed;
    }
    Form.SetCombinationType(ctNone);
    EXPECT_EQ(Combo->currentIndex(), -1);
    EXPECT_EQ(Form.CombinationType(), ctNone);
}

TEST_F(AddMeasureFormTest, EnterConfirmsEscapeCancels) {
    FillAsPathway(ctSequence);
    struct TCase {
        QWidget* Focus;
        Qt::Key Key;
        int Result;
    };
    for (const TCase& Case :
         {TCase{Form.NameEdit(), Qt::Key_Return, QDialog::Accepted},
          TCase{Form.TippingValueEdit(), Qt::Key_Enter, QDialog::Accepted},
          TCase{Form.CombinationComboBox()->lineEdit(), Qt::Key_Return, QDialog::Accepted},
          TCase{Form.NameEdit(), Qt::Key_Escape, QDialog::Rejected},
          TCase{Form.RecurrentCostsEdit(), Qt::Key_Escape, QDialog::Rejected}}) {
        Form.setResult(-1);
        Form.show();
        Case.Focus->setFocus();
        QTest::keyClick(Case.Focus, Case.Key);
        EXPECT_EQ(Form.result(), Case.Result) << Case.Focus->metaObject()->className();
        EXPECT_FALSE(Form.isVisible());
    }
    for (QPushButton* Button : {Form.OKButton(), Form.CancelButton()}) {
        Form.show();
        QTest::mouseClick(Button, Qt::LeftButton);
        EXPECT_EQ(Form.result(), Button == Form.OKButton() ? QDialog::Accepted : QDialog::Rejected);
    }
    EXPECT_EQ(Form.OKButton()->text(), "OK");
    EXPECT_EQ(Form.CancelButton()->text(), "Cancel");
}

} // namespace
