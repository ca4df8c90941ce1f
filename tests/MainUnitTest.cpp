#include "AboutUnit.h"
#include "MainUnit.h"
#include "ScriptedModal.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// Plays the user on the start dialog: clicks the button Pick chooses.
TScriptedModal::TExecHandler StartWith(QPushButton* (TAboutForm::*Pick)() const) {
    return [Pick](QDialog* Dialog) {
        auto* About = qobject_cast<TAboutForm*>(Dialog);
        EXPECT_NE(About, nullptr);
        if (!About)
            return int(QDialog::Rejected);
        (About->*Pick)()->click();
        return About->result();
    };
}

TEST(MainWindow, NewConditionBasedPathway) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewConditionButton));
    TForm2 Form({});
    EXPECT_FALSE(Form.StartCancelled());
    EXPECT_EQ(Form.windowTitle(), "Corvinal");
    EXPECT_FALSE(Form.ElementsListIsDirty());
    EXPECT_TRUE(Form.PathwayFileName().isEmpty());
    TElementsList* List = Form.MyElementsList();
    ASSERT_EQ(Form.ActionCount(), 1);
    TElement* E = List->Elements(0);
    EXPECT_EQ(E->ID(), 1);
    EXPECT_EQ(E->Caption(), "Current Situation");
    EXPECT_EQ(E->MyColor(), RGBToColor(128, 128, 128));
    EXPECT_EQ(E->TippingPointValue(), 10);
    EXPECT_EQ(E->InitialCosts(), 0);
    EXPECT_EQ(E->RecurrentCosts(), 1);
    EXPECT_EQ(List->CurrentElementID(), 1);
    EXPECT_EQ(List->PathwayType(), ptConditionBased);
    EXPECT_EQ(List->TippingTimeValuesCount(), 1);
    EXPECT_EQ(List->TippingTimeColumnCaption(0), "Time0");
    EXPECT_EQ(Script.ExecutedDialogs, QStringList{"TAboutForm"});
}

TEST(MainWindow, NewTimeBasedPathway) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewTimeButton));
    TForm2 Form({});
    TElementsList* List = Form.MyElementsList();
    ASSERT_EQ(Form.ActionCount(), 1);
    EXPECT_EQ(List->PathwayType(), ptTimeBased);
    EXPECT_EQ(List->Elements(0)->TippingTimeValue(0), 10);
    EXPECT_EQ(List->Elements(0)->TippingPointValue(), 0);
    EXPECT_EQ(List->CurrentElementID(), 1);
}

TEST(MainWindow, CloseApplicationNeverShowsTheWindow) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::CloseButton));
    TForm2 Form({});
    EXPECT_TRUE(Form.StartCancelled());
    EXPECT_FALSE(Form.isVisible());
    EXPECT_EQ(Form.ActionCount(), 0);
    EXPECT_EQ(Script.ExecutedDialogs, QStringList{"TAboutForm"});
}

TEST(MainWindow, LeavingTheStartDialogOtherwiseQuitsToo) {
    TScriptedModal Script;
    Script.OnExec([](QDialog* Dialog) {
        Dialog->reject();
        return Dialog->result();
    });
    TForm2 Form({});
    EXPECT_TRUE(Form.StartCancelled());
}

} // namespace
