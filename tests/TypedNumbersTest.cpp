// Every place where the user types a number reads it by one rule: the user's
// locale, strictly. Each text is typed key by key (the number fields' key
// filter takes what it takes) and pasted (which passes the filter), under
// four locales, into every input place; what the place holds afterwards and
// the message shown are checked against one table.

#include "document/ScorecardUnit.h"
#include "map/XAxisSettingsFormUnit.h"
#include "scenarios/AddScenarioFormUnit.h"
#include "scenarios/ScenarioDefinitionUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserInput.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/AddMeasureFormUnit.h"
#include "ui/MainUnit.h"
#include "ui/ScorecardFrameUnit.h"
#include "widgets/FloatEditUnit.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

const double No = std::numeric_limits<double>::quiet_NaN();
// Empty, or a lone "-": 0 in a cell, no number in a dialog's field.
const double Blank = std::numeric_limits<double>::infinity();
// What every place holds before the text is entered.
const double Before = 7;

struct TTyping {
    const char* Text;
    // Under C, en_US, de_DE and nl_NL (the order of TestLocales).
    double Keys[4];
    double Pasted[4];
};

const TTyping Typings[] = {
    // The comma is no key of a point locale: the field shows 15 as it is typed.
    {"1,5", {15, 15, 1.5, 1.5}, {No, No, 1.5, 1.5}},
    {"1,500", {1500, 1500, 1.5, 1.5}, {1500, 1500, 1.5, 1.5}},
    {"1.5", {1.5, 1.5, 15, 15}, {1.5, 1.5, No, No}},
    {"0,12", {12, 12, 0.12, 0.12}, {No, No, 0.12, 0.12}},
    {"2x5", {25, 25, 25, 25}, {No, No, No, No}},
    {"  3 ", {3, 3, 3, 3}, {3, 3, 3, 3}},
    {"-", {Blank, Blank, Blank, Blank}, {Blank, Blank, Blank, Blank}},
    {"1e3", {13, 13, 13, 13}, {1000, 1000, 1000, 1000}},
    {"", {Blank, Blank, Blank, Blank}, {Blank, Blank, Blank, Blank}},
};

// What a place holds after the entry and what it said.
struct TOutcome {
    double Value = No; // No: nothing was taken
    QStringList Errors;
};

// Replaces the text of a focused field as the user does: select, delete,
// then type the keys or paste the text.
void Enter(QLineEdit* Field, const QString& Text, bool Paste) {
    Field->setFocus();
    Field->selectAll();
    QTest::keyClick(Field, Qt::Key_Backspace);
    if (Paste) {
        QApplication::clipboard()->setText(Text);
        QTest::keyClick(Field, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(Field, Text);
    }
}

// A place: enters a text and tells what it holds afterwards. Cells read an
// empty text or a lone "-" as 0; dialog fields do not.
struct TPlace {
    const char* Name;
    bool Cell;
    std::function<TOutcome(const QString& Text, bool Paste)> Enter;
};

class TypedNumbers : public ::testing::Test {
protected:
    void SetUp() override {
        Script.OnExec([](QDialog* Dialog) {
            static_cast<TAboutForm*>(Dialog)->NewConditionButton()->click();
            return Dialog->result();
        });
        Window = std::make_unique<TForm2>(QStringList());
        Window->CreateDialogs();
        Window->resize(1000, 700);
        Window->show();
        QApplication::setActiveWindow(Window.get());
        Element = Window->MyElementsList()->Elements(0);
    }
    void TearDown() override { Window->hide(); }

    // The element the window's places edit, at the value they start from.
    void Reset() {
        // The dialogs of other places may have had the focus.
        QApplication::setActiveWindow(Window.get());
        Element->SetTippingPointValue(Before);
        Element->SetRecurrentCosts(Before);
        Window->ActionsStringGrid()->DrawActionsStringGrid();
        Window->ScorecardFrame()->Refresh();
        Script.Errors.clear();
    }

    TOutcome GridCell(const QString& Text, bool Paste) {
        Reset();
        Window->PageControl()->setCurrentIndex(0);
        TActionsStringGrid* Grid = Window->ActionsStringGrid();
        const QModelIndex Index = Grid->Model()->index(0, TActionsGridModel::FirstValueColumn);
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, Grid->visualRect(Index).center());
        auto* Field = qobject_cast<QLineEdit*>(Grid->Editor());
        EXPECT_NE(Field, nullptr);
        if (!Field)
            return {};
        Enter(Field, Text, Paste);
        PressKey(Qt::Key_Return);
        return {Element->TippingPointValue(), Script.Errors};
    }

    TOutcome ScorecardCost(const QString& Text, bool Paste) {
        Reset();
        Window->PageControl()->setCurrentIndex(1);
        Settle();
        TScorecardFrame* Card = Window->ScorecardFrame();
        const int Col = Card->Model()->Scorecard()->ColumnOf(TScorecard::ckRecurrentCosts);
        Card->View()->setFocus();
        Card->View()->setCurrentIndex(Card->Model()->index(0, Col));
        PressKey(Qt::Key_F2);
        auto* Field = qobject_cast<QLineEdit*>(Card->View()->Editor());
        EXPECT_NE(Field, nullptr);
        if (!Field)
            return {};
        Enter(Field, Text, Paste);
        PressKey(Qt::Key_Return);
        return {Element->RecurrentCosts(), Script.Errors};
    }

    TOutcome EditMeasure(const QString& Text, bool Paste) {
        Reset();
        Window->PageControl()->setCurrentIndex(0);
        bool Refused = false;
        Script.OnExec([&](QDialog* Dialog) {
            auto* Form = static_cast<TAddMeasureForm*>(Dialog);
            Form->show();
            QApplication::setActiveWindow(Form);
            Enter(Form->TippingValueEdit(), Text, Paste);
            QTest::mouseClick(Form->OKButton(), Qt::LeftButton);
            // A refused OK leaves the dialog open on the field.
            Refused = Form->result() != QDialog::Accepted;
            if (Refused) {
                EXPECT_TRUE(Form->isVisible());
                EXPECT_EQ(QApplication::focusWidget(), Form->TippingValueEdit());
                EXPECT_EQ(Form->TippingValueEdit()->selectedText(),
                          Form->TippingValueEdit()->text());
                QTest::keyClick(Form->TippingValueEdit(), Qt::Key_Escape);
            }
            Form->hide();
            return Form->result();
        });
        Window->ActionsStringGrid()->SetSelection(1, TActionsGridModel::NameColumn);
        Window->EditMeasureAction()->trigger();
        Settle();
        return {Element->TippingPointValue(), Script.Errors};
    }

    TOutcome ScenarioCell(const QString& Text, bool Paste) {
        Script.Errors.clear();
        TScenarioFrame Scenarios;
        SetUpScenarioYears(Scenarios);
        AddScenarioColumn(Scenarios, "Wet", {"7"});
        TScenarioDefinitionForm Form;
        Form.LoadMatrix(Scenarios.ScenariosStringGrid());
        Form.show();
        QApplication::setActiveWindow(&Form);
        TScenarioMatrixView* View = Form.MatrixView();
        View->setFocus();
        View->SetCurrentCell(1, 1);
        PressKey(Qt::Key_F2);
        auto* Field = View->CellEditor();
        EXPECT_NE(Field, nullptr);
        if (!Field)
            return {};
        Enter(Field, Text, Paste);
        PressKey(Qt::Key_Return);
        Settle();
        const QString Cell = Form.ScenarioMatrixGrid().Cells(1, 1);
        Form.hide();
        // The cell is kept as text; the map reads it by the file's rule.
        return {CellToFloat(Cell), Script.Errors};
    }

    TOutcome AddScenarioAnchor(const QString& Text, bool Paste) {
        Script.Errors.clear();
        TAddScenarioForm Form;
        Form.SetFirstAnchorValue(0);
        Form.SetLastAnchorValue(Before);
        Form.show();
        QApplication::setActiveWindow(&Form);
        Enter(Form.LastValueEdit(), Text, Paste);
        Form.UpdateActions();
        QTest::mouseClick(Form.OKButton(), Qt::LeftButton);
        const bool Accepted = Form.result() == QDialog::Accepted;
        if (!Accepted) {
            EXPECT_TRUE(Form.isVisible());
            EXPECT_EQ(QApplication::focusWidget(), Form.LastValueEdit());
        }
        return {Accepted ? Form.LastAnchorValue() : Before, Script.Errors};
    }

    TOutcome XAxisMinimum(const QString& Text, bool Paste) {
        Script.Errors.clear();
        TXAxisSettingsForm Form;
        Form.SetMinTippingPoint(Before);
        Form.SetMaxTippingPoint(1e6);
        Form.show();
        QApplication::setActiveWindow(&Form);
        Enter(Form.MinValueEdit(), Text, Paste);
        QTest::mouseClick(Form.OKButton(), Qt::LeftButton);
        const bool Accepted = Form.result() == QDialog::Accepted;
        if (!Accepted) {
            EXPECT_TRUE(Form.isVisible());
            EXPECT_EQ(QApplication::focusWidget(), Form.MinValueEdit());
            EXPECT_EQ(Form.MinValueEdit()->selectedText(), Form.MinValueEdit()->text());
        }
        return {Accepted ? Form.MinTippingPointKept() : Before, Script.Errors};
    }

    TScriptedModal Script;
    std::unique_ptr<TForm2> Window;
    TElement* Element = nullptr;
};

TEST_F(TypedNumbers, EveryPlaceReadsTheUsersLocaleStrictly) {
    const TPlace Places[] = {
        {"grid value cell", true, [this](const QString& T, bool P) { return GridCell(T, P); }},
        {"scorecard cost", true, [this](const QString& T, bool P) { return ScorecardCost(T, P); }},
        {"scenario matrix cell", true,
         [this](const QString& T, bool P) { return ScenarioCell(T, P); }},
        {"Edit measure", false, [this](const QString& T, bool P) { return EditMeasure(T, P); }},
        {"Add Scenario anchor", false,
         [this](const QString& T, bool P) { return AddScenarioAnchor(T, P); }},
        {"X-Axis minimum", false, [this](const QString& T, bool P) { return XAxisMinimum(T, P); }},
    };
    const QList<QLocale> Locales = TestLocales();
    for (int L = 0; L < Locales.size(); ++L) {
        TLocaleGuard Guard(Locales[L]);
        for (const TPlace& Place : Places) {
            for (const TTyping& Typing : Typings) {
                for (const bool Paste : {false, true}) {
                    const QString Text = QString::fromLatin1(Typing.Text);
                    double Expected = (Paste ? Typing.Pasted : Typing.Keys)[L];
                    if (Expected == Blank)
                        Expected = Place.Cell ? 0 : No;
                    const TOutcome Got = Place.Enter(Text, Paste);
                    const std::string Case = std::string(Place.Name) + ", " +
                                             (Paste ? "pasted \"" : "typed \"") + Typing.Text +
                                             "\", " + Locales[L].name().toStdString();
                    if (std::isnan(Expected)) {
                        EXPECT_EQ(Got.Value, Before) << Case;
                        ASSERT_EQ(Got.Errors.size(), 1) << Case;
                        if (Place.Cell)
                            EXPECT_EQ(Got.Errors[0], "Cell does not contain a float value") << Case;
                        else
                            EXPECT_TRUE(
                                Got.Errors[0].endsWith("'' is not a valid floating point value"))
                                << Case << ": " << Got.Errors[0].toStdString();
                    } else {
                        EXPECT_EQ(Got.Value, Expected) << Case;
                        EXPECT_TRUE(Got.Errors.isEmpty())
                            << Case << ": " << Got.Errors.join("; ").toStdString();
                    }
                }
            }
        }
    }
}

} // namespace
