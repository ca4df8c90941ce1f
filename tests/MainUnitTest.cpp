#include "ui/MainUnit.h"
#include "base/ErrorUnit.h"
#include "map/GraphSettingsUnit.h"
#include "map/GraphicsFrameUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/SaveAndCloseUnit.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString ExampleFile = QStringLiteral(CORVINAL_TEST_DATA "/dike.pathway");

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

// Plays the user on the close dialog: clicks the button Pick chooses, and
// goes on clicking "Cancel exit" when the dialog stays open.
TScriptedModal::TExecHandler CloseWith(QPushButton* (TCloseForm::*Pick)() const) {
    return [Pick](QDialog* Dialog) {
        auto* Form = qobject_cast<TCloseForm*>(Dialog);
        EXPECT_NE(Form, nullptr);
        if (!Form)
            return int(QDialog::Rejected);
        Form->setResult(QDialog::Rejected);
        (Form->*Pick)()->click();
        return Form->result();
    };
}

QByteArray ReadAll(const QString& Name) {
    QFile File(Name);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

TEST(MainWindow, NewConditionBasedPathway) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewConditionButton));
    TForm2 Form({});
    Form.CreateDialogs();
    EXPECT_FALSE(Form.StartCancelled());
    EXPECT_EQ(Form.windowTitle(), "Corvinal");
    EXPECT_FALSE(Form.DocumentIsDirty());
    EXPECT_TRUE(Form.PathwayFileName().isEmpty());

    TElementsList* List = Form.MyElementsList();
    ASSERT_EQ(Form.ActionCount(), 1);
    const TElement* E = List->Elements(0);
    EXPECT_EQ(E->ID(), 1);
    EXPECT_EQ(E->Caption(), "Current Situation");
    EXPECT_EQ(E->MyColor(), RGBToColor(128, 128, 128));
    EXPECT_EQ(E->TippingPointValue(), 10);
    EXPECT_EQ(E->RecurrentCosts(), 1);
    EXPECT_EQ(List->CurrentElementID(), 1);
    EXPECT_EQ(List->TippingTimeValuesCount(), 1);

    TActionsStringGrid* Grid = Form.ActionsStringGrid();
    ASSERT_EQ(Grid->ColCount(), 5);
    ASSERT_EQ(Grid->RowCount(), 2);
    const QStringList Headers = {"ID", "Color", "Action or Pathway", "Type of pathway",
                                 "Condition tipping point"};
    for (int C = 0; C < 5; ++C)
        EXPECT_EQ(Grid->Cells(C, 0), Headers[C]);
    EXPECT_EQ(Grid->Cells(0, 1), "-->1");
    EXPECT_EQ(Grid->Cells(2, 1), "Current Situation");
    EXPECT_EQ(Grid->Cells(3, 1), "");
    EXPECT_EQ(Grid->Cells(4, 1), QString("10") + DecimalSeparator() + "00");

    EXPECT_EQ(Form.Frame11()->MinTippingPointValue(), 0);
    EXPECT_EQ(Form.Frame11()->MaxTippingPointValue(), 100);
    EXPECT_EQ(Form.Frame11()->ShownImage().size(), QSize(1000, 400));
    EXPECT_FALSE(Form.Frame11()->ComboBox1()->isVisibleTo(Form.Frame11()));
    EXPECT_EQ(Script.ExecutedDialogs, QStringList{"TAboutForm"});

    // A new pathway closed without any change closes without a question.
    EXPECT_TRUE(Form.FormCloseQuery());
    EXPECT_TRUE(Script.AllAnswered());
}

TEST(MainWindow, NewTimeBasedPathway) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewTimeButton));
    TForm2 Form({});
    TElementsList* List = Form.MyElementsList();
    ASSERT_EQ(Form.ActionCount(), 1);
    EXPECT_EQ(List->PathwayType(), ptTimeBased);
    EXPECT_EQ(List->Elements(0)->TippingTimeValue(0), 10);
    EXPECT_EQ(Form.ActionsStringGrid()->Cells(4, 0), "Time0");
    QComboBox* Series = Form.Frame11()->ComboBox1();
    ASSERT_EQ(Series->count(), 1);
    EXPECT_EQ(Series->itemText(0), "Time0");
    EXPECT_TRUE(Series->isVisibleTo(Form.Frame11()));
    Form.UpdateActions();
    EXPECT_FALSE(Form.ScenarioEditAction().Action->isEnabled());
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

TEST(MainWindow, LayoutAndCommandPanel) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewConditionButton));
    TForm2 Form({});
    EXPECT_EQ(Form.CommandPanel()->width(), 144);
    EXPECT_EQ(Form.Splitter()->handleWidth(), 3);
    EXPECT_EQ(Form.PageControl()->count(), 1);
    EXPECT_EQ(Form.PageControl()->tabText(0), "Pathways");
    const struct {
        const TCommand& Command;
        const char* Caption;
        QRect Geometry;
    } Buttons[] = {
        {Form.AddSimpleElementAction(), "Add Action", QRect(15, 7, 113, 35)},
        {Form.DeleteElementAction(), "Delete Action", QRect(15, 42, 113, 35)},
        {Form.CombineAction(), "Pathway", QRect(15, 76, 113, 35)},
        {Form.MoveDownAction(), "Down", QRect(15, 110, 57, 35)},
        {Form.MoveUpAction(), "Up", QRect(71, 110, 57, 35)},
        {Form.SaveAction(), "Save", QRect(15, 144, 113, 35)},
        {Form.AddTimeColumnAction(), "Add Scenario", QRect(15, 189, 113, 35)},
        {Form.ScenarioEditAction(), "Scenarios", QRect(15, 230, 113, 35)},
    };
    for (const auto& B : Buttons) {
        EXPECT_EQ(B.Command.Button->text(), B.Caption);
        EXPECT_EQ(B.Command.Button->geometry(), B.Geometry) << B.Caption;
        EXPECT_EQ(B.Command.Button->parentWidget(), Form.CommandPanel());
    }
    Form.UpdateActions();
    EXPECT_TRUE(Form.SaveAction().Button->isEnabled());
    EXPECT_FALSE(Form.AddTimeColumnAction().Button->isEnabled()); // condition-based
    EXPECT_EQ(Form.SaveAction().Action->shortcut(), QKeySequence(QKeySequence::Save));
}

TEST(MainWindow, OpensTheWorkedExample) {
    TSeparatorGuard Guard('.');
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::OpenButton));
    TForm2 Form({ExampleFile});
    EXPECT_EQ(Form.PathwayFileName(), QFileInfo(ExampleFile).absoluteFilePath());
    EXPECT_TRUE(Form.windowTitle().startsWith("Corvinal ["));
    EXPECT_TRUE(Form.windowTitle().endsWith("dike.pathway]"));
    EXPECT_FALSE(Form.DocumentIsDirty());

    TActionsStringGrid* Grid = Form.ActionsStringGrid();
    ASSERT_EQ(Grid->RowCount(), 4);
    const char* Ids[] = {"-->1", "2", "3"};
    const char* Names[] = {"Current Situation", "Dike", "Current Situation + Dike"};
    const char* Types[] = {"", "", "Sequence"};
    const char* Values[] = {"10.00", "2.50", "6.00"};
    for (int R = 1; R <= 3; ++R) {
        EXPECT_EQ(Grid->Cells(0, R), Ids[R - 1]);
        EXPECT_EQ(Grid->Cells(2, R), Names[R - 1]);
        EXPECT_EQ(Grid->Cells(3, R), Types[R - 1]);
        EXPECT_EQ(Grid->Cells(4, R), Values[R - 1]);
    }
    TActionsGridModel* Model = Grid->Model();
    EXPECT_EQ(Model->CellColor(4, 1), TActionsGridModel::ValueColor());
    EXPECT_EQ(Model->CellColor(4, 2), TActionsGridModel::WarningColor()); // 2.5 below 10
    EXPECT_EQ(Model->CellColor(4, 3), TActionsGridModel::WarningColor()); // 6 below its predecessor
    EXPECT_EQ(Model->CellColor(3, 1), TActionsGridModel::CreamColor());
    EXPECT_TRUE(Model->CellReadOnly(3, 1));

    EXPECT_EQ(Form.ScenarioFrame1()->Count(), 1);
    EXPECT_EQ(Form.ScenarioFrame1()->ScenarioCaption(0), "Wet");
    EXPECT_EQ(Form.Frame11()->MaxTippingPointValue(), 100);
    // the map shows the scenario axis: XAxisHeight 120 below a 400-high map
    const QImage Map = Form.Frame11()->ShownImage();
    EXPECT_EQ(Map.size(), QSize(1000, 400));
    EXPECT_EQ(Form.Frame11()->Settings().XAxisHeight(), 120);
}

TEST(MainWindow, AFileThatCannotBeOpenedLeavesANewPathway) {
    QTemporaryDir Dir;
    const QString Missing = Dir.filePath("missing.pathway");
    const QString BadColour = Dir.filePath("bad.pathway");
    QFile Bad(BadColour);
    ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
    Bad.write("<pathways><element id=\"1\"><caption>A</caption><color>#123</color></element>"
              "</pathways><graphsettings><maxtippingpoint>5</maxtippingpoint></graphsettings>");
    Bad.close();
    const QString Junk = Dir.filePath("notes.pathway");
    QFile JunkFile(Junk);
    ASSERT_TRUE(JunkFile.open(QIODevice::WriteOnly));
    JunkFile.write("Meeting notes, not a pathway.\n");
    JunkFile.close();
    for (const QString& Name : {Missing, BadColour, Junk}) {
        TScriptedModal Script;
        Script.OnExec(StartWith(&TAboutForm::OpenButton));
        TForm2 Form({Name});
        ASSERT_EQ(Script.Errors.size(), 1) << Name.toStdString();
        EXPECT_FALSE(Form.StartCancelled());
        EXPECT_TRUE(Form.PathwayFileName().isEmpty());
        EXPECT_EQ(Form.windowTitle(), "Corvinal");
        ASSERT_EQ(Form.ActionCount(), 1);
        EXPECT_EQ(Form.MyElementsList()->Elements(0)->Caption(), "Current Situation");
        EXPECT_EQ(Form.MyElementsList()->PathwayType(), ptConditionBased);
        EXPECT_EQ(Form.Frame11()->MaxTippingPointValue(), 100);
        EXPECT_FALSE(Form.DocumentIsDirty());
        // "Save" asks for a name rather than writing over the file.
        Form.SetElementsListIsDirty(true);
        Script.AnswerSaveFile("");
        Form.SaveActionExecute();
        EXPECT_EQ(Script.SaveFilters.size(), 1);
        if (Name == Junk) {
            EXPECT_EQ(Script.Errors.first(), Junk + " is not a pathway file");
        }
    }
    EXPECT_FALSE(QFile::exists(Missing));
    EXPECT_EQ(ReadAll(Junk), "Meeting notes, not a pathway.\n");
}

class SavingAndClosing : public ::testing::Test {
protected:
    void SetUp() override {
        Script.OnExec(StartWith(&TAboutForm::NewConditionButton));
        Form = std::make_unique<TForm2>(QStringList());
        Form->CreateDialogs();
    }
    TScriptedModal Script;
    QTemporaryDir Dir;
    std::unique_ptr<TForm2> Form;
};

TEST_F(SavingAndClosing, SaveOnANewPathwayAsksForAName) {
    Form->SetElementsListIsDirty(true);
    Script.AnswerSaveFile("");
    Form->SaveActionExecute();
    EXPECT_TRUE(Script.Messages.isEmpty());
    EXPECT_EQ(Form->windowTitle(), "Corvinal");
    EXPECT_TRUE(Form->DocumentIsDirty());
    EXPECT_EQ(Script.SaveFilters.first(),
              "pathway files [*.pathway]|*.pathway|all files [*.*]|*.*");
    EXPECT_EQ(Script.SaveExtensions.first(), ".pathway");
    EXPECT_TRUE(Script.SaveAskOverwrite.first());

    const QString Name = Dir.filePath("dike.pathway");
    Script.AnswerSaveFile(Name);
    Form->SaveActionExecute();
    EXPECT_EQ(Script.Messages, QStringList{Name + " saved"});
    EXPECT_EQ(Form->PathwayFileName(), Name);
    EXPECT_TRUE(Form->windowTitle().endsWith("dike.pathway]"));
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_TRUE(ReadAll(Name).startsWith("\xEF\xBB\xBF<?xml"));
    EXPECT_TRUE(Form->FormCloseQuery()); // nothing to ask after saving

    // A named document saves at once, without a dialog.
    Form->Frame11()->SetGraphicsSettingIsDirty(true);
    Form->SaveActionExecute();
    EXPECT_EQ(Script.SaveFilters.size(), 2);
    EXPECT_EQ(Script.Messages.size(), 2);
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(SavingAndClosing, AFailedSaveKeepsTheFlagsAndTheName) {
    QFile Blocker(Dir.filePath("not-a-folder"));
    ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    const QString Name = Dir.filePath("not-a-folder/dike.pathway");
    Form->SetElementsListIsDirty(true);
    Script.AnswerSaveFile(Name);
    EXPECT_THROW(Form->SaveActionExecute(), ECorvinalError);
    EXPECT_TRUE(Script.Messages.isEmpty());
    EXPECT_TRUE(Form->DocumentIsDirty());
    EXPECT_EQ(Form->PathwayFileName(), Name);
    EXPECT_THROW(Form->SaveActionExecute(), ECorvinalError); // no second question
    EXPECT_EQ(Script.SaveFilters.size(), 1);
}

TEST_F(SavingAndClosing, CloseDialogButtons) {
    const QString Name = Dir.filePath("dike.pathway");
    Form->SetElementsListIsDirty(true);

    // Without a file name the first button is disabled.
    Script.OnExec([](QDialog* Dialog) {
        auto* Close = qobject_cast<TCloseForm*>(Dialog);
        EXPECT_FALSE(Close->SaveButton()->isEnabled());
        Close->ReturnButton()->click();
        return Close->result();
    });
    EXPECT_FALSE(Form->FormCloseQuery());
    EXPECT_TRUE(Form->DocumentIsDirty());

    // "Exit without save", then Cancel in the confirmation: still open; then
    // "Cancel exit" returns to the window.
    Script.OnExec([](QDialog* Dialog) {
        auto* Close = qobject_cast<TCloseForm*>(Dialog);
        Close->setResult(QDialog::Rejected);
        Close->ExitButton()->click();
        EXPECT_NE(Close->result(), QDialog::Accepted);
        Close->ReturnButton()->click();
        return Close->result();
    });
    Script.AnswerConfirm(false);
    EXPECT_FALSE(Form->FormCloseQuery());

    Script.OnExec(CloseWith(&TCloseForm::ExitButton));
    Script.AnswerConfirm(true);
    EXPECT_TRUE(Form->FormCloseQuery());
    EXPECT_FALSE(QFile::exists(Name));

    // "Save Pathway As..." writes elsewhere and keeps the document's name.
    Script.OnExec(CloseWith(&TCloseForm::SaveAsButton));
    Script.AnswerSaveFile(Name);
    EXPECT_TRUE(Form->FormCloseQuery());
    EXPECT_TRUE(QFile::exists(Name));
    EXPECT_TRUE(Form->PathwayFileName().isEmpty());
    EXPECT_TRUE(Form->DocumentIsDirty()); // the close dialog's saves clear nothing

    // "Save Pathway File" writes to the document's own file, without a message.
    Form->SetPathwayFileName(Dir.filePath("own.pathway"));
    Script.OnExec(CloseWith(&TCloseForm::SaveButton));
    EXPECT_TRUE(Form->FormCloseQuery());
    EXPECT_TRUE(QFile::exists(Dir.filePath("own.pathway")));
    EXPECT_TRUE(Script.Messages.isEmpty());
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(SavingAndClosing, AChangeToTheMapSettingsAsksToo) {
    Script.OnExec([](QDialog* Dialog) {
        qobject_cast<TGraphSettingsForm*>(Dialog)->OKButton()->click();
        return Dialog->result();
    });
    Form->Frame11()->SpeedButton2Click();
    EXPECT_TRUE(Form->DocumentIsDirty());
    Script.OnExec(CloseWith(&TCloseForm::ReturnButton));
    QCloseEvent Event;
    QCoreApplication::sendEvent(Form.get(), &Event);
    EXPECT_FALSE(Event.isAccepted());
    EXPECT_EQ(Script.ExecutedDialogs.last(), "TCloseForm");
}

TEST(MainWindow, SavedFileReadsBackTheSame) {
    TSeparatorGuard Guard('.');
    QTemporaryDir Dir;
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::OpenButton));
    TForm2 Opened({ExampleFile});
    const QString Copy = Dir.filePath("copy.pathway");
    Opened.WriteDocumentTo(Copy);
    EXPECT_EQ(ReadAll(Copy), ReadAll(ExampleFile));
}

TEST(MainWindow, AFileThatCannotBeDrawnStillOpens) {
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("flat.pathway");
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("<pathways><element id=\"1\"><caption>A</caption></element></pathways>"
               "<graphsettings><maxtippingpoint>5</maxtippingpoint>"
               "<mintippingpoint>5</mintippingpoint></graphsettings>");
    File.close();
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::OpenButton));
    TForm2 Form({Name});
    EXPECT_EQ(Script.Errors, QStringList{"Floating point division by zero"});
    EXPECT_EQ(Form.PathwayFileName(), QDir::toNativeSeparators(Name));
    EXPECT_EQ(Form.ActionsStringGrid()->Cells(2, 1), "A");
    EXPECT_FALSE(Form.DocumentIsDirty());
    Form.show(); // the first showing does not report the same failure again
    EXPECT_EQ(Script.Errors.size(), 1);
    Form.hide();
    EXPECT_THROW(Form.Frame11()->Draw(), ECorvinalError);
}

TEST(MainWindow, ShowingTheWindowRedrawsTheMap) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewConditionButton));
    TForm2 Form({});
    const QImage Before = Form.Frame11()->ShownImage();
    Form.MyElementsList()->Elements(0)->SetTippingPointValue(60);
    Form.show();
    EXPECT_NE(Form.Frame11()->ShownImage(), Before);
    Form.hide();
}

TEST(MainWindow, TheTitleShortensLongPaths) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewConditionButton));
    TForm2 Form({});
    QString Long = QDir::separator();
    for (int I = 0; I < 30; ++I)
        Long += QString("folder%1").arg(I) + QDir::separator();
    Long += "dike.pathway";
    Form.SetPathwayFileName(Long);
    const QString Title = Form.windowTitle();
    ASSERT_TRUE(Title.startsWith("Corvinal [") && Title.endsWith("]"));
    const QString Shown = Title.mid(10, Title.size() - 11);
    EXPECT_LE(QFontMetrics(Form.font()).horizontalAdvance(Shown), 400);
    // the first folders give way to "...", the last ones and the name stay
    EXPECT_TRUE(Shown.contains(QString("...") + QDir::separator())) << Shown.toStdString();
    EXPECT_FALSE(Shown.contains("folder0")) << Shown.toStdString();
    EXPECT_TRUE(Shown.endsWith(QString("folder29") + QDir::separator() + "dike.pathway"))
        << Shown.toStdString();
    EXPECT_EQ(Form.PathwayFileName(), Long); // only the title is shortened
}

TEST(MainWindow, TheSeriesSelectorLeavesTheButtonsFree) {
    TScriptedModal Script;
    Script.OnExec(StartWith(&TAboutForm::NewTimeButton));
    TForm2 Form({});
    TGraphicsFrame* Map = Form.Frame11();
    const QRect Selector = Map->ComboBox1()->geometry();
    for (QPushButton* Button : {Map->SpeedButton1(), Map->SpeedButton2(), Map->SpeedButton3()})
        EXPECT_FALSE(Selector.intersects(Button->geometry())) << Button->text().toStdString();
}

TEST_F(SavingAndClosing, AnAllowedCloseClosesTheWindow) {
    Form->show();
    ASSERT_TRUE(Form->isVisible());
    Form->SetElementsListIsDirty(true);
    Script.OnExec(CloseWith(&TCloseForm::ExitButton));
    Script.AnswerConfirm(true);
    EXPECT_TRUE(Form->close());
    EXPECT_FALSE(Form->isVisible());
}

} // namespace
