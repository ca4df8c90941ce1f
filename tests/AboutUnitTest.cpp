#include "ui/AboutUnit.h"
#include "tests/support/ScriptedModal.h"
#include "ui/VersionUnit.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString PathwayFilter = "pathway files [*.pathway]|*.pathway|all files [*.*]|*.*";

TEST(AboutForm, FiveButtonsInOneColumn) {
    TAboutForm Form({});
    const QPushButton* Buttons[] = {Form.OpenButton(), Form.OpenExistingButton(),
                                    Form.NewConditionButton(), Form.NewTimeButton(),
                                    Form.CloseButton()};
    const char* Captions[] = {"Open", "Open existing Pathway file",
                              "Start with empty Pathway (Condition based)",
                              "Start with empty Pathway (Time based)", "Close application"};
    for (int I = 0; I < 5; ++I) {
        EXPECT_EQ(Buttons[I]->text(), QString::fromLatin1(Captions[I]));
        EXPECT_EQ(Buttons[I]->size(), QSize(265, 57));
        EXPECT_EQ(Buttons[I]->x(), Buttons[0]->x());
        if (I > 0) {
            EXPECT_GT(Buttons[I]->y(), Buttons[I - 1]->y() + 56);
        }
        EXPECT_EQ(Buttons[I]->isEnabled(), I != 0);
    }
    EXPECT_EQ(Form.windowTitle(), "Corvinal");
    EXPECT_TRUE(Form.CompileDateLabel()->text().startsWith("Compile date "));
    EXPECT_GT(Form.CompileDateLabel()->text().size(), QString("Compile date ").size());
    EXPECT_FALSE(Form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(Form.Action(), oaClose);
}

// The start dialog and the about box name the version and the day the program
// was built, in the user's short date format.
TEST(AboutForm, ShowsTheVersionAndTheBuildDate) {
    const QDate Built = QDate::fromString(QStringLiteral(CORVINAL_BUILD_DATE), Qt::ISODate);
    ASSERT_TRUE(Built.isValid()) << CORVINAL_BUILD_DATE;
    TAboutForm Form({});
    EXPECT_EQ(Form.CompileDateLabel()->text(),
              "Compile date " + QLocale::system().toString(Built, QLocale::ShortFormat));
    EXPECT_TRUE(CreditsText().contains("<h2>Corvinal " CORVINAL_VERSION "</h2>"));
    TAboutBox Box;
    EXPECT_EQ(Box.CreditsLabel()->text(), CreditsText());
}

TEST(AboutForm, CommandLineFileIsOfferedUnderItsName) {
    const QString Argument =
        QDir::separator() == '/' ? "data/floods/dike.pathway" : "C:\\data\\floods\\dike.pathway";
    TAboutForm Form({Argument, "ignored"});
    EXPECT_EQ(Form.OpenButton()->text(), "Open dike.pathway");
    ASSERT_TRUE(Form.OpenButton()->isEnabled());
    Form.OpenButton()->click();
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_EQ(Form.Action(), oaOpenPathway);
    EXPECT_EQ(Form.FileName(), Argument);
}

// Keys go where the user's keys go: to the widget that has the focus.
void Press(QWidget* Window, Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QWidget* Target = QApplication::focusWidget();
    QTest::keyClick(Target ? Target : Window, Key, Modifiers);
}

TEST(AboutForm, EnterPressesTheFocusedButton) {
    {
        // The file named on the command line is offered first.
        TAboutForm Form({"dike.pathway"});
        Form.show();
        QApplication::setActiveWindow(&Form);
        EXPECT_EQ(QApplication::focusWidget(), Form.OpenButton());
        Press(&Form, Qt::Key_Return);
        EXPECT_EQ(Form.Action(), oaOpenPathway);
    }
    {
        TAboutForm Form({});
        Form.show();
        QApplication::setActiveWindow(&Form);
        EXPECT_EQ(QApplication::focusWidget(), Form.OpenExistingButton());
        Press(&Form, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), Form.NewConditionButton());
        Press(&Form, Qt::Key_Enter);
        EXPECT_EQ(Form.result(), QDialog::Accepted);
        EXPECT_EQ(Form.Action(), oaNewConditionPathway);
    }
}

// A double-click on a .pathway file: the desktop entry's "corvinal %f" hands
// over the file's absolute path, spaces and all, as the one argument.
TEST(AboutForm, AFileFromTheDesktopIsOfferedAndEnterOpensIt) {
    const QString Argument = QDir::separator() == '/'
                                 ? "/home/planner/Delta plans/dike raise 2050.pathway"
                                 : "C:\\Users\\planner\\Delta plans\\dike raise 2050.pathway";
    TAboutForm Form({Argument});
    Form.show();
    QApplication::setActiveWindow(&Form);
    EXPECT_EQ(Form.OpenButton()->text(), "Open dike raise 2050.pathway");
    EXPECT_EQ(QApplication::focusWidget(), Form.OpenButton());
    Press(&Form, Qt::Key_Return);
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_EQ(Form.Action(), oaOpenPathway);
    EXPECT_EQ(Form.FileName(), Argument);
}

TEST(AboutForm, FileNamePartFollowsThePlatformSeparators) {
#ifdef Q_OS_WIN
    EXPECT_EQ(TAboutForm::FileNamePart("C:\\a\\b.pathway"), "b.pathway");
    EXPECT_EQ(TAboutForm::FileNamePart("C:b.pathway"), "b.pathway");
    EXPECT_EQ(TAboutForm::FileNamePart("C:/a/b.pathway"), "b.pathway");
#else
    EXPECT_EQ(TAboutForm::FileNamePart("/home/me/b.pathway"), "b.pathway");
    EXPECT_EQ(TAboutForm::FileNamePart("b.pathway"), "b.pathway");
    EXPECT_EQ(TAboutForm::FileNamePart("dir/"), "");
    EXPECT_EQ(TAboutForm::FileNamePart("odd\\name.pathway"), "odd\\name.pathway");
#endif
}

TEST(AboutForm, OpenExistingAsksForAFile) {
    TScriptedModal Script;
    Script.AnswerOpenFile("");
    TAboutForm Form({});
    Form.OpenExistingButton()->click();
    // cancelled: the start dialog stays open
    EXPECT_NE(Form.result(), QDialog::Accepted);
    ASSERT_EQ(Script.OpenFilters.size(), 1);
    EXPECT_EQ(Script.OpenFilters.first(), PathwayFilter);

    // a later choice overwrites the earlier one
    Form.NewConditionButton()->click();
    EXPECT_EQ(Form.result(), QDialog::Accepted);
    EXPECT_EQ(Form.Action(), oaNewConditionPathway);

    TAboutForm Second({});
    Script.AnswerOpenFile("relative/dike.pathway");
    Second.OpenExistingButton()->click();
    EXPECT_EQ(Second.result(), QDialog::Accepted);
    EXPECT_EQ(Second.Action(), oaOpenPathway);
    EXPECT_EQ(Second.FileName(), QDir::current().absoluteFilePath("relative/dike.pathway"));
    EXPECT_TRUE(Script.AllAnswered());
}

TEST(AboutForm, EveryOtherWayOutQuits) {
    TScriptedModal Script;
    Script.AnswerOpenFile("");
    TAboutForm Form({});
    Form.OpenExistingButton()->click();
    Form.reject(); // Escape or the window manager
    EXPECT_EQ(Form.Action(), oaClose);

    TAboutForm Closing({});
    Closing.NewTimeButton()->click();
    EXPECT_EQ(Closing.Action(), oaNewTimePathway);
    TAboutForm Quitting({});
    Quitting.CloseButton()->click();
    EXPECT_EQ(Quitting.Action(), oaClose);
    EXPECT_EQ(Quitting.result(), QDialog::Accepted);
}

} // namespace
