#include "ui/SaveAndCloseUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/ScriptedModal.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Clicks a button as the event loop would deliver it, so that an error
// raised by the click reaches the application's error report.
void ClickThroughEventLoop(QPushButton* Button) {
    QMetaObject::invokeMethod(Button, "click", Qt::QueuedConnection);
    QCoreApplication::processEvents();
}

class CloseForm : public ::testing::Test {
protected:
    TScriptedModal Script;
    QStringList Saved;
    bool FailSave = false;
    TCloseForm Form{[this](const QString& Name) {
        if (FailSave)
            throw ECorvinalError("Cannot create file \"" + Name + "\". Permission denied");
        Saved << Name;
    }};
};

TEST_F(CloseForm, FourButtonsInOneColumn) {
    EXPECT_EQ(Form.windowTitle(), "Corvinal");
    const QPushButton* Buttons[] = {Form.SaveButton(), Form.SaveAsButton(), Form.ReturnButton(),
                                    Form.ExitButton()};
    const char* Captions[] = {"Save Pathway File", "Save Pathway As...", "Cancel exit",
                              "Exit without save"};
    for (int I = 0; I < 4; ++I) {
        EXPECT_EQ(Buttons[I]->text(), Captions[I]);
        EXPECT_EQ(Buttons[I]->size(), QSize(265, 57));
    }
}

TEST_F(CloseForm, SaveNeedsAFileName) {
    EXPECT_FALSE(Form.SaveButton()->isEnabled());
    Form.SetFileName(" ");
    EXPECT_TRUE(Form.SaveButton()->isEnabled()); // blanks are not trimmed here
    Form.SetFileName("/data/dike.pathway");
    Form.SaveButton()->click();
    EXPECT_EQ(Saved, QStringList{"/data/dike.pathway"});
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_TRUE(Script.Messages.isEmpty());
}

TEST_F(CloseForm, EnterSavesAndEscapeGoesBack) {
    Form.SetFileName("/data/dike.pathway");
    Form.show();
    QApplication::setActiveWindow(&Form);
    EXPECT_EQ(QApplication::focusWidget(), Form.SaveButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Saved, QStringList{"/data/dike.pathway"});
    EXPECT_EQ(Form.result(), QDialog::Accepted);

    // Without a name Enter asks for one; Escape is "Cancel exit".
    Form.SetFileName(QString());
    Form.show();
    QApplication::setActiveWindow(&Form);
    EXPECT_EQ(QApplication::focusWidget(), Form.SaveAsButton());
    Script.AnswerSaveFile("");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Script.SaveFilters.size(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(Form.result(), QDialog::Rejected);
    EXPECT_FALSE(Form.isVisible());
}

TEST_F(CloseForm, AFailedSaveKeepsTheDialogOpen) {
    Form.SetFileName("/data/dike.pathway");
    Form.setResult(QDialog::Rejected);
    FailSave = true;
    ClickThroughEventLoop(Form.SaveButton());
    EXPECT_EQ(Script.Errors.size(), 1);
    EXPECT_NE(Form.result(), QDialog::Accepted);
    EXPECT_TRUE(Saved.isEmpty());
}

TEST_F(CloseForm, SaveAsAsksForANameAndStaysOpenOnCancel) {
    Script.AnswerSaveFile("");
    Form.setResult(QDialog::Rejected);
    Form.SaveAsButton()->click();
    EXPECT_TRUE(Saved.isEmpty());
    EXPECT_NE(Form.result(), QDialog::Accepted);
    EXPECT_EQ(Script.SaveFilters.first(),
              "pathway files [*.pathway]|*.pathway|all files [*.*]|*.*");
    EXPECT_EQ(Script.SaveExtensions.first(), ".pathway");
    EXPECT_TRUE(Script.SaveAskOverwrite.first());

    Script.AnswerSaveFile("/elsewhere/copy.pathway");
    Form.SaveAsButton()->click();
    EXPECT_EQ(Saved, QStringList{"/elsewhere/copy.pathway"});
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_EQ(Form.FileName(), ""); // the document keeps its own name
}

TEST_F(CloseForm, ExitWithoutSaveAsksFirst) {
    Form.setResult(QDialog::Rejected);
    Script.AnswerConfirm(false);
    Form.ExitButton()->click();
    EXPECT_NE(Form.result(), QDialog::Accepted);
    EXPECT_EQ(Script.Confirmations,
              QStringList{"File not saved. All edits will be lost. Continue to exit?"});
    Script.AnswerConfirm(true);
    Form.ExitButton()->click();
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_TRUE(Saved.isEmpty());
}

TEST_F(CloseForm, CancelExitReturns) {
    Form.ReturnButton()->click();
    EXPECT_EQ(Form.result(), QDialog::Rejected);
    EXPECT_TRUE(Saved.isEmpty());
}

} // namespace
