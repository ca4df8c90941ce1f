#include "ui/MainUnit.h"
#include "base/ErrorUnit.h"
#include "document/DecisionsUnit.h"
#include "document/PathwayFileUnit.h"
#include "document/ScorecardUnit.h"
#include "file/XmlUnit.h"
#include "map/CanvasUnit.h"
#include "map/GraphSettingsUnit.h"
#include "map/GraphicsFrameUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/MapHitTestUnit.h"
#include "map/XAxisSettingsFormUnit.h"
#include "scenarios/AddScenarioFormUnit.h"
#include "scenarios/ScenarioDefinitionUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserInput.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/AddCombinationFormUnit.h"
#include "ui/AddMeasureFormUnit.h"
#include "ui/ApplicationUnit.h"
#include "ui/DecisionsFrameUnit.h"
#include "ui/ElementEditsUnit.h"
#include "ui/SaveAndCloseUnit.h"
#include "ui/ScorecardFrameUnit.h"
#include "ui/TimeColumnSettingsUnit.h"
#include "widgets/ColorBoxUnit.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QUrl>
#include <algorithm>
#include <gtest/gtest.h>
#include <type_traits>

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
    EXPECT_EQ(Form.PageControl()->count(), 3);
    EXPECT_EQ(Form.PageControl()->tabText(0), "Pathways");
    EXPECT_EQ(Form.PageControl()->tabText(1), "Scorecard");
    EXPECT_EQ(Form.PageControl()->tabText(2), "Decisions");
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
    // the map shows the scenario axis: an axis band of 120 below a 400-high map
    const QImage Map = Form.Frame11()->ShownImage();
    EXPECT_EQ(Map.size(), QSize(1000, 400));
    EXPECT_EQ(Form.Frame11()->AxisBandHeight(), 120);
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

    // "Save Pathway As..." writes the file and names the document after it,
    // as any save does: New and Open ask this question too, and the user may
    // stay with the document after all.
    Script.OnExec(CloseWith(&TCloseForm::SaveAsButton));
    Script.AnswerSaveFile(Name);
    EXPECT_TRUE(Form->FormCloseQuery());
    EXPECT_TRUE(QFile::exists(Name));
    EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Name));
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_EQ(Form->RecentFiles().value(0), QDir::toNativeSeparators(Name));

    // "Save Pathway File" writes to the document's own file, without a message.
    Form->SetPathwayFileName(Dir.filePath("own.pathway"));
    Form->SetElementsListIsDirty(true);
    Script.OnExec(CloseWith(&TCloseForm::SaveButton));
    EXPECT_TRUE(Form->FormCloseQuery());
    EXPECT_TRUE(QFile::exists(Dir.filePath("own.pathway")));
    EXPECT_TRUE(Script.Messages.isEmpty());
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(SavingAndClosing, AChangeToTheMapSettingsAsksToo) {
    Script.OnExec([](QDialog* Dialog) {
        auto* Settings = qobject_cast<TGraphSettingsForm*>(Dialog);
        Settings->SetFontSize(14);
        Settings->OKButton()->click();
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

// A file whose map cannot be drawn opens, with one message that names what
// it holds and why the map cannot be drawn; the map view says why too.
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
    // Said over the window, once it is shown.
    EXPECT_TRUE(Script.Messages.isEmpty());
    Form.show();
    Settle();
    EXPECT_TRUE(Script.Errors.isEmpty());
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_EQ(Script.Messages[0],
              QDir::toNativeSeparators(Name) +
                  " is open, but some of its values could not be used as they stand:\n\n"
                  "Graph settings: The tipping-point axis runs from 5 to 5: its minimum must "
                  "lie below its maximum.\n\n"
                  "The map cannot be drawn: Floating point division by zero");
    EXPECT_EQ(Form.PathwayFileName(), QDir::toNativeSeparators(Name));
    EXPECT_EQ(Form.ActionsStringGrid()->Cells(2, 1), "A");
    EXPECT_FALSE(Form.DocumentIsDirty());
    EXPECT_TRUE(Form.Frame11()->ShownImage().isNull());
    EXPECT_TRUE(Form.Frame11()->Image1()->text().contains("Floating point division by zero"));
    Form.hide();
    Form.show(); // a later showing does not report the same failure again
    Settle();
    EXPECT_EQ(Script.Messages.size(), 1);
    EXPECT_TRUE(Script.Errors.isEmpty());
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

// ------------------------------------------------------------ editing

// A shown main window with a new pathway, its grid and its script.
class Editing : public ::testing::Test {
protected:
    void Start(QPushButton* (TAboutForm::*Pick)() const = &TAboutForm::NewConditionButton,
               const QStringList& Arguments = {}) {
        Script.OnExec(StartWith(Pick));
        Form = std::make_unique<TForm2>(Arguments);
        Form->CreateDialogs();
        Form->resize(1000, 700);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        Grid = Form->ActionsStringGrid();
        List = Form->MyElementsList();
    }
    // Adds an action through the command and types its name and value.
    TElement* AddAction(const QString& Name, const QString& Value) {
        Form->AddSimpleElementAction().Button->click();
        const int32_t Row = Grid->RowCount() - 1;
        EXPECT_EQ(Grid->Row(), Row);
        EXPECT_EQ(Grid->Col(), TActionsGridModel::NameColumn);
        // The name cell is ready for typing: the first key opens the editor.
        TypeKeys(Name);
        PressKey(Qt::Key_Return);
        Type(Row, TActionsGridModel::FirstValueColumn, Value);
        return Grid->ElementOfRow(Row);
    }
    // Clicks into a cell, as the user does.
    void ClickCell(int32_t Row, int32_t Col) {
        const QModelIndex Index = Grid->Model()->index(Row - 1, Col);
        static_cast<QAbstractItemView*>(Grid)->scrollTo(Index);
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, Grid->visualRect(Index).center());
    }
    // Clicks into the cell, types Text over its text and ends with End.
    void Type(int32_t Row, int32_t Col, const QString& Text, Qt::Key End = Qt::Key_Return) {
        ClickCell(Row, Col);
        auto* Field = qobject_cast<QLineEdit*>(Grid->Editor());
        ASSERT_NE(Field, nullptr);
        EXPECT_EQ(QApplication::focusWidget(), Field);
        Field->selectAll();
        TypeKeys(Text);
        PressKey(End);
    }

    TScriptedModal Script;
    std::unique_ptr<TForm2> Form;
    TActionsStringGrid* Grid = nullptr;
    TElementsList* List = nullptr;
};

TEST_F(Editing, AddActionTwiceGivesTwoNewActionsWithTheirOwnColours) {
    Start();
    Form->AddSimpleElementAction().Button->click();
    Form->AddSimpleElementAction().Button->click();
    ASSERT_EQ(List->Count(), 3);
    for (int32_t Index : {1, 2}) {
        const TElement* E = List->Elements(Index);
        EXPECT_EQ(E->Caption(), "NewAction");
        EXPECT_EQ(E->ID(), Index + 1);
        EXPECT_EQ(E->TippingPointValue(), 0);
        EXPECT_EQ(E->InitialCosts(), 0);
        EXPECT_EQ(E->RecurrentCosts(), 0);
        for (int Shift : {0, 8, 16})
            EXPECT_LE((E->OwnColor() >> Shift) & 0xFF, 254);
        EXPECT_EQ(E->OwnColor() & 0xFF000000, 0);
    }
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Col(), TActionsGridModel::NameColumn);
    EXPECT_TRUE(Form->DocumentIsDirty());
    // Typing replaces the name at once.
    TypeKeys("Dike");
    PressKey(Qt::Key_Return);
    EXPECT_EQ(List->Elements(2)->Caption(), "Dike");
    EXPECT_EQ(Grid->Cells(2, 3), "Dike");
}

TEST_F(Editing, NamesAndValuesTypedIntoTheGrid) {
    Start();
    TElement* Dike = AddAction("Dike", LocalNumber("2.5"));
    EXPECT_EQ(Dike->Caption(), "Dike");
    EXPECT_EQ(Dike->TippingPointValue(), 2.5);
    EXPECT_EQ(Grid->Cells(4, 2), LocalNumber("2.50"));
    // Below the current situation's 10: the warning colour.
    EXPECT_EQ(Grid->Model()->CellColor(4, 2), TActionsGridModel::WarningColor());

    // The same name again changes nothing.
    Form->ClearDirtyFlags();
    Type(2, TActionsGridModel::NameColumn, "Dike");
    EXPECT_FALSE(Form->DocumentIsDirty());
    // A new name, with Tab to end the edit.
    Type(2, TActionsGridModel::NameColumn, "High dike", Qt::Key_Tab);
    EXPECT_EQ(Dike->Caption(), "High dike");
    EXPECT_TRUE(Form->DocumentIsDirty());
    // Escape cancels.
    Form->ClearDirtyFlags();
    Type(2, TActionsGridModel::NameColumn, "Wall", Qt::Key_Escape);
    EXPECT_EQ(Dike->Caption(), "High dike");
    EXPECT_FALSE(Grid->IsEditing());
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, AValueCellLeftUnchangedKeepsItsStoredValue) {
    Start();
    TElement* Dike = AddAction("Dike", "1");
    Dike->SetTippingPointValue(1.125);
    Grid->DrawActionsStringGrid();
    Form->ClearDirtyFlags();
    ClickCell(2, TActionsGridModel::FirstValueColumn);
    ASSERT_TRUE(Grid->IsEditing());
    QTest::keyClick(Grid->Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Dike->TippingPointValue(), 1.125);
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, AValueThatIsNoNumberIsReportedAndTheStoredValueShows) {
    Start();
    TElement* Dike = AddAction("Dike", LocalNumber("2.5"));
    Form->ClearDirtyFlags();
    // The number field refuses a second separator key by key; a pasted text
    // gets through it.
    ClickCell(2, TActionsGridModel::FirstValueColumn);
    auto* Field = qobject_cast<QLineEdit*>(Grid->Editor());
    ASSERT_NE(Field, nullptr);
    Field->setText(LocalNumber("1.2.3"));
    QTest::keyClick(Field, Qt::Key_Return);
    Settle();
    EXPECT_EQ(Script.Errors, QStringList{"Cell does not contain a float value"});
    EXPECT_EQ(Dike->TippingPointValue(), 2.5);
    EXPECT_EQ(Grid->Cells(4, 2), LocalNumber("2.50"));
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, KeysStartEndAndLeaveEdits) {
    Start();
    AddAction("Dike", "3");
    Grid->setFocus();
    Grid->SetSelection(2, TActionsGridModel::NameColumn);
    QTest::keyClick(Grid, Qt::Key_Return);
    ASSERT_TRUE(Grid->IsEditing());
    QTest::keyClick(Grid->Editor(), Qt::Key_Escape);
    EXPECT_FALSE(Grid->IsEditing());
    QTest::keyClick(Grid, Qt::Key_F2);
    ASSERT_TRUE(Grid->IsEditing());
    QTest::keyClick(Grid->Editor(), Qt::Key_End);
    QTest::keyClicks(Grid->Editor(), " wall");
    QTest::keyClick(Grid->Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(List->Elements(1)->Caption(), "Dike wall");
    // Ctrl+Tab leaves the grid for the command panel, also from an editor.
    QTest::keyClick(Grid, Qt::Key_F2);
    ASSERT_TRUE(Grid->IsEditing());
    QTest::keyClick(Grid->Editor(), Qt::Key_Tab, Qt::ControlModifier);
    Settle();
    EXPECT_FALSE(Grid->IsEditing());
    QWidget* Focus = QApplication::focusWidget();
    ASSERT_NE(Focus, nullptr);
    EXPECT_NE(Focus, Grid);
    EXPECT_FALSE(Grid->isAncestorOf(Focus));
    QTest::keyClick(Focus, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
}

TEST_F(Editing, TheTypeDropDownOffersCombineAndSequence) {
    Start();
    AddAction("Dike", "3");
    AddAction("Pump", "4");
    List->AddCombinationElement("Dike + Pump", 3, 2, 3)->SetCombinationType(ctCombine);
    Grid->DrawActionsStringGrid();
    Form->ClearDirtyFlags();
    // An action's type cell cannot be edited.
    ClickCell(2, TActionsGridModel::TypeColumn);
    EXPECT_FALSE(Grid->IsEditing());
    ClickCell(4, TActionsGridModel::TypeColumn);
    auto* Combo = qobject_cast<QComboBox*>(Grid->Editor());
    ASSERT_NE(Combo, nullptr);
    ASSERT_EQ(Combo->count(), 2);
    EXPECT_EQ(Combo->itemText(0), "Combine");
    EXPECT_EQ(Combo->itemText(1), "Sequence");
    const QImage Before = Form->Frame11()->ShownImage();
    QTest::keyClick(Combo, Qt::Key_Down);
    Settle();
    EXPECT_EQ(List->Elements(3)->CombinationType(), ctSequence);
    EXPECT_EQ(Grid->Cells(3, 4), "Sequence");
    EXPECT_TRUE(Form->DocumentIsDirty());
    EXPECT_NE(Form->Frame11()->ShownImage(), Before);
}

TEST_F(Editing, TimeColumnsAreEditedOneByOne) {
    Start(&TAboutForm::NewTimeButton);
    for (const char* Name : {"2050", "2100"}) {
        Script.AnswerInput(QString::fromLatin1(Name));
        Form->AddTimeColumnAction().Button->click();
    }
    Type(1, TActionsGridModel::FirstValueColumn + 1, "2045");
    const TElement* Current = List->Elements(0);
    EXPECT_EQ(Current->TippingTimeValue(0), 10);
    EXPECT_EQ(Current->TippingTimeValue(1), 2045);
    EXPECT_EQ(Current->TippingTimeValue(2), 10);
}

TEST_F(Editing, AddScenarioCopiesTheLastColumn) {
    Start(&TAboutForm::NewTimeButton);
    Form->ClearDirtyFlags();
    Script.AnswerInput(QString("  High \t"));
    Form->AddTimeColumnAction().Button->click();
    EXPECT_EQ(Script.InputTitles, QStringList{"Enter name for new scenario column"});
    EXPECT_EQ(Script.InputPrompts, QStringList{"Enter name"});
    EXPECT_EQ(Script.InputInitialTexts, QStringList{""});
    ASSERT_EQ(List->TippingTimeValuesCount(), 2);
    EXPECT_EQ(List->TippingTimeColumnCaption(1), "High");
    EXPECT_EQ(List->Elements(0)->TippingTimeValue(1), 10);
    EXPECT_EQ(Grid->Cells(5, 0), "High");
    QComboBox* Series = Form->Frame11()->ComboBox1();
    ASSERT_EQ(Series->count(), 2);
    EXPECT_EQ(Series->itemText(1), "High");
    EXPECT_EQ(Series->currentIndex(), 0);
    EXPECT_TRUE(Form->DocumentIsDirty());

    // The map follows the selector: after "High" was shown, a new column
    // brings both back to the first.
    Type(1, TActionsGridModel::FirstValueColumn + 1, "40");
    Series->setCurrentIndex(1);
    Form->Frame11()->ComboBox1Change();
    const QImage High = Form->Frame11()->ShownImage();
    Script.AnswerInput(QString("Low"));
    Form->AddTimeColumnAction().Button->click();
    EXPECT_EQ(Series->currentIndex(), 0);
    EXPECT_NE(Form->Frame11()->ShownImage(), High);

    // A cancelled or blank name changes nothing.
    Form->ClearDirtyFlags();
    Script.AnswerInput(std::nullopt);
    Form->AddTimeColumnAction().Button->click();
    Script.AnswerInput(QString("   "));
    Form->AddTimeColumnAction().Button->click();
    EXPECT_EQ(List->TippingTimeValuesCount(), 3);
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, DeleteUpAndDown) {
    Start();
    TElement* Dike = AddAction("Dike", "3");
    TElement* Pump = AddAction("Pump", "4");
    List->AddCombinationElement("Dike + Pump", 3, Dike->ID(), Pump->ID());
    Grid->DrawActionsStringGrid();

    Grid->SetSelection(2, TActionsGridModel::NameColumn);
    Form->UpdateActions();
    EXPECT_FALSE(Form->DeleteElementAction().Button->isEnabled());
    EXPECT_FALSE(Form->MoveUpAction().Button->isEnabled() && Grid->Row() < 2);
    Grid->SetSelection(4, TActionsGridModel::NameColumn);
    Form->UpdateActions();
    EXPECT_TRUE(Form->DeleteElementAction().Button->isEnabled());
    EXPECT_FALSE(Form->MoveDownAction().Button->isEnabled());
    Form->DeleteElementAction().Button->click();
    ASSERT_EQ(List->Count(), 3);
    Grid->SetSelection(2, TActionsGridModel::NameColumn);
    Form->UpdateActions();
    EXPECT_TRUE(Form->DeleteElementAction().Button->isEnabled());

    // Down and up again restore the order; the moved element stays selected.
    Grid->SetSelection(1, TActionsGridModel::NameColumn);
    Form->UpdateActions();
    EXPECT_FALSE(Form->MoveUpAction().Button->isEnabled());
    Form->MoveDownAction().Button->click();
    EXPECT_EQ(List->Elements(1)->Caption(), "Current Situation");
    EXPECT_EQ(Grid->Row(), 2);
    Form->UpdateActions();
    EXPECT_TRUE(Form->MoveUpAction().Button->isEnabled());
    Form->MoveUpAction().Button->click();
    EXPECT_EQ(List->Elements(0)->Caption(), "Current Situation");
    EXPECT_EQ(List->Elements(1), Dike);
    EXPECT_EQ(Grid->Row(), 1);

    // The current situation may go when nothing is built on it.
    Form->DeleteElementAction().Button->click();
    ASSERT_EQ(List->Count(), 2);
    EXPECT_EQ(List->CurrentElementID(), -1);
    EXPECT_EQ(Grid->Cells(0, 1), QString::number(Dike->ID()));
}

TEST_F(Editing, AnEditStillOpenIsAppliedBeforeACommand) {
    Start();
    AddAction("Dike", "3");
    AddAction("Pump", "4");
    // Typed but not ended: "Up" moves the element, and the name goes with it.
    ClickCell(3, TActionsGridModel::NameColumn);
    auto* Field = qobject_cast<QLineEdit*>(Grid->Editor());
    ASSERT_NE(Field, nullptr);
    Field->selectAll();
    QTest::keyClicks(Field, "Pumping station");
    Form->UpdateActions();
    Form->MoveUpAction().Button->click();
    Settle();
    EXPECT_EQ(List->Elements(1)->Caption(), "Pumping station");
    EXPECT_EQ(List->Elements(2)->Caption(), "Dike");
    // And "Save" writes what was typed.
    ClickCell(3, TActionsGridModel::FirstValueColumn);
    Field = qobject_cast<QLineEdit*>(Grid->Editor());
    ASSERT_NE(Field, nullptr);
    Field->selectAll();
    QTest::keyClicks(Field, "7");
    QTemporaryDir Dir;
    Form->SetPathwayFileName(Dir.filePath("typed.pathway"));
    Form->SaveAction().Button->click();
    EXPECT_TRUE(ReadAll(Dir.filePath("typed.pathway")).contains("<tippingpointvalue>7<"));
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, TheColourCellOfAnAction) {
    Start();
    TElement* Dike = AddAction("Dike", "3");
    TElement* Pump = AddAction("Pump", "4");
    List->AddCombinationElement("Dike + Pump", 3, Dike->ID(), Pump->ID());
    Grid->DrawActionsStringGrid();
    Form->ClearDirtyFlags();
    const TColor Old = Dike->OwnColor();
    // Cancelled: nothing changes.
    Script.AnswerColor(std::nullopt);
    Form->ActionsStringGridButtonClick(1, 2);
    EXPECT_EQ(Script.LastColorOffered, Old);
    EXPECT_EQ(Dike->OwnColor(), Old);
    EXPECT_FALSE(Form->DocumentIsDirty());
    // Chosen, here with the keyboard on the selected row.
    Grid->SetSelection(2, TActionsGridModel::NameColumn);
    Script.AnswerColor(RGBToColor(192, 160, 64));
    Form->ChooseColorAction()->trigger();
    EXPECT_EQ(Dike->OwnColor(), RGBToColor(192, 160, 64));
    EXPECT_EQ(Grid->Model()->CellColor(1, 2), QColor(192, 160, 64));
    EXPECT_TRUE(Form->DocumentIsDirty());
    // A pathway element's colour cell does nothing.
    Form->ActionsStringGridButtonClick(1, 4);
    EXPECT_EQ(Script.ColorRequests, 2);
    EXPECT_TRUE(Script.AllAnswered());
}

// ------------------------------------------------------------ dialogs

// Dialogs whose commands follow enabling rules have them asked when the
// application is idle; a script plays the idle moment.
template <typename T, typename = void> struct THasUpdateActions : std::false_type {};
template <typename T>
struct THasUpdateActions<T, std::void_t<decltype(std::declval<T&>().UpdateActions())>>
    : std::true_type {};

// Plays the user on a dialog of type T: Play fills it in, then OK is
// clicked (or Cancel when Ok is false). The dialog's result is returned.
template <typename T>
TScriptedModal::TExecHandler Playing(std::function<void(T&)> Play, bool Ok = true) {
    return [Play, Ok](QDialog* Dialog) {
        auto* Form = qobject_cast<T*>(Dialog);
        EXPECT_NE(Form, nullptr);
        if (!Form)
            return int(QDialog::Rejected);
        Form->setResult(QDialog::Rejected);
        if (Play)
            Play(*Form);
        if constexpr (THasUpdateActions<T>::value)
            Form->UpdateActions();
        QPushButton* Button = Ok ? Form->OKButton() : Form->CancelButton();
        EXPECT_TRUE(Button->isEnabled());
        QTest::mouseClick(Button, Qt::LeftButton);
        return Form->result();
    };
}

void Retype(QLineEdit* Field, const QString& Keys) {
    Field->selectAll();
    QTest::keyClick(Field, Qt::Key_Backspace);
    QTest::keyClicks(Field, Keys);
}

// Picks Element in a list of "Define pathway" by clicking its item.
void Pick(QListWidget* List, int Row) {
    QListWidgetItem* Item = List->item(Row);
    ASSERT_NE(Item, nullptr);
    List->scrollToItem(Item);
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualItemRect(Item).center());
}

TEST_F(Editing, PathwayBuildsAnElementFromTwoOthers) {
    Start();
    TElement* Dike = AddAction("Dike", LocalNumber("1.5"));
    TElement* Pump = AddAction("Pump", "3");
    Form->ClearDirtyFlags();
    Script.OnExec(Playing<TAddCombinationForm>([](TAddCombinationForm& Dialog) {
        Pick(Dialog.FirstListBox(), 1);
        Pick(Dialog.SecondListBox(), 2);
        EXPECT_FALSE(Dialog.NotAllowedLabel()->isVisibleTo(&Dialog));
    }));
    Form->CombineAction().Button->click();
    ASSERT_EQ(List->Count(), 4);
    const TElement* E = List->Elements(3);
    EXPECT_EQ(E->Caption(), "Dike + Pump");
    EXPECT_EQ(E->TippingPointValue(), 1.5);
    EXPECT_EQ(E->PredecessorID(), Dike->ID());
    EXPECT_EQ(E->CombinationSecondID(), Pump->ID());
    EXPECT_EQ(E->MyColor(), Pump->MyColor());
    EXPECT_EQ(E->CombinationType(), ctCombine);
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_TRUE(Form->DocumentIsDirty());

    // Cancelled: nothing.
    Form->ClearDirtyFlags();
    Script.OnExec(Playing<TAddCombinationForm>(nullptr, false));
    Form->CombineAction().Button->click();
    EXPECT_EQ(List->Count(), 4);
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, PathwayInATimeBasedPathwayTakesFirstsTimeValues) {
    Start(&TAboutForm::NewTimeButton);
    Script.AnswerInput(QString("High"));
    Form->AddTimeColumnAction().Button->click();
    TElement* Dike = AddAction("Dike", "2030");
    Type(2, TActionsGridModel::FirstValueColumn + 1, "2045");
    AddAction("Pump", "2060");
    Script.OnExec(Playing<TAddCombinationForm>([](TAddCombinationForm& Dialog) {
        Pick(Dialog.FirstListBox(), 1);
        Pick(Dialog.SecondListBox(), 2);
    }));
    Form->CombineAction().Button->click();
    ASSERT_EQ(List->Count(), 4);
    EXPECT_EQ(List->Elements(3)->TippingTimeValue(0), Dike->TippingTimeValue(0));
    EXPECT_EQ(List->Elements(3)->TippingTimeValue(1), 2045);
}

TEST_F(Editing, ScenariosAreEditedOnACopy) {
    Start();
    AddAction("Dike", "250");
    Form->ClearDirtyFlags();
    // Cancel after adding a scenario leaves the table and its flag alone.
    Script.OnExec(Playing<TScenarioDefinitionForm>(
        [this](TScenarioDefinitionForm& Dialog) {
            Script.OnExec(Playing<TAddScenarioForm>([](TAddScenarioForm& Add) {
                EXPECT_EQ(Add.LastAnchorValue(), 250); // the largest tipping value
                Retype(Add.NameEdit(), "Wet");
            }));
            Dialog.UpdateActions();
            QTest::mouseClick(Dialog.AddScenarioButton(), Qt::LeftButton);
            EXPECT_EQ(Dialog.ScenarioMatrixGrid().ColCount(), 2);
        },
        false));
    Form->ScenarioEditAction().Button->click();
    EXPECT_EQ(Form->ScenarioFrame1()->Count(), 0);
    EXPECT_FALSE(Form->DocumentIsDirty());

    // OK hands the matrix back, and the map shows its axis.
    const QImage Before = Form->Frame11()->ShownImage();
    Script.OnExec(Playing<TScenarioDefinitionForm>([this](TScenarioDefinitionForm& Dialog) {
        Script.OnExec(Playing<TAddScenarioForm>(
            [](TAddScenarioForm& Add) { Retype(Add.NameEdit(), "Wet"); }));
        Dialog.UpdateActions();
        QTest::mouseClick(Dialog.AddScenarioButton(), Qt::LeftButton);
    }));
    Form->ScenarioEditAction().Button->click();
    ASSERT_EQ(Form->ScenarioFrame1()->Count(), 1);
    EXPECT_EQ(Form->ScenarioFrame1()->ScenarioCaption(0), "Wet");
    EXPECT_TRUE(Form->ScenarioFrame1()->ScenarioIsDirty());
    EXPECT_NE(Form->Frame11()->ShownImage(), Before);
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(Editing, EditMeasureShowsAndStoresTheElement) {
    Start();
    TElement* Dike = AddAction("Dike", LocalNumber("1.5"));
    Dike->SetInitialCosts(1000);
    Dike->SetRecurrentCosts(20);
    Form->ClearDirtyFlags();
    Script.OnExec(Playing<TAddMeasureForm>([](TAddMeasureForm& Dialog) {
        EXPECT_EQ(Dialog.MeasureName(), "Dike");
        EXPECT_EQ(Dialog.TippingValue(), 1.5);
        EXPECT_EQ(Dialog.InitialCosts(), 1000);
        EXPECT_EQ(Dialog.RecurrentCosts(), 20);
        EXPECT_FALSE(Dialog.PresentActionChecked());
        EXPECT_EQ(Dialog.CombinationType(), ctNone);
        Retype(Dialog.NameEdit(), "Dike ring");
        Retype(Dialog.TippingValueEdit(), "4");
        Retype(Dialog.InitialCostsEdit(), "2500");
        Retype(Dialog.RecurrentCostsEdit(), "35");
    }));
    // The ID cell is a button that opens the dialog.
    Form->ActionsStringGridButtonClick(0, 2);
    EXPECT_EQ(Dike->Caption(), "Dike ring");
    EXPECT_EQ(Dike->TippingPointValue(), 4);
    EXPECT_EQ(Dike->InitialCosts(), 2500);
    EXPECT_EQ(Dike->RecurrentCosts(), 35);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Cells(2, 2), "Dike ring");
    EXPECT_TRUE(Form->DocumentIsDirty());

    // Cancel changes nothing.
    Form->ClearDirtyFlags();
    Script.OnExec(Playing<TAddMeasureForm>(
        [](TAddMeasureForm& Dialog) { Retype(Dialog.NameEdit(), "Wall"); }, false));
    Form->ActionsStringGridButtonClick(0, 2);
    EXPECT_EQ(Dike->Caption(), "Dike ring");
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, EditMeasureWithANumberThatIsNoneChangesNothing) {
    Start();
    TElement* Dike = AddAction("Dike", LocalNumber("1.5"));
    const TColor Colour = Dike->OwnColor();
    Form->ClearDirtyFlags();
    for (int Field = 0; Field < 2; ++Field) {
        Script.Errors.clear();
        Script.OnExec(Playing<TAddMeasureForm>([Field](TAddMeasureForm& Dialog) {
            Retype(Dialog.NameEdit(), "Wall");
            QTest::keyClick(Dialog.ColorBox(), Qt::Key_End); // another colour
            Retype(Field == 0 ? Dialog.TippingValueEdit() : Dialog.RecurrentCostsEdit(), "-");
        }));
        // Through the event loop, as the key would come.
        Grid->SetSelection(2, TActionsGridModel::NameColumn);
        QMetaObject::invokeMethod(
            Form.get(), [this] { Form->EditMeasureAction()->trigger(); }, Qt::QueuedConnection);
        Settle();
        EXPECT_EQ(Script.Errors, QStringList{"''-'' is not a valid floating point value"});
        EXPECT_EQ(Dike->Caption(), "Dike");
        EXPECT_EQ(Dike->OwnColor(), Colour);
        EXPECT_EQ(Dike->TippingPointValue(), 1.5);
        EXPECT_EQ(Grid->Cells(2, 2), "Dike");
        EXPECT_FALSE(Form->DocumentIsDirty());
    }
}

TEST_F(Editing, PresentActionMovesTheMarker) {
    Start();
    TElement* Dike = AddAction("Dike", "3");
    // Unchecked on the current situation: no current element at all.
    Script.OnExec(Playing<TAddMeasureForm>([](TAddMeasureForm& Dialog) {
        EXPECT_TRUE(Dialog.PresentActionChecked());
        QTest::mouseClick(Dialog.PresentActionCheckBox(), Qt::LeftButton);
    }));
    Form->ActionsStringGridButtonClick(0, 1);
    EXPECT_EQ(List->CurrentElementID(), -1);
    EXPECT_EQ(Grid->Cells(0, 1), "1");
    // No current situation: no warnings.
    EXPECT_EQ(Grid->Model()->CellColor(4, 2), TActionsGridModel::ValueColor());
    // Checked on Dike: the marker goes there.
    Script.OnExec(Playing<TAddMeasureForm>([](TAddMeasureForm& Dialog) {
        EXPECT_FALSE(Dialog.PresentActionChecked());
        QTest::mouseClick(Dialog.PresentActionCheckBox(), Qt::LeftButton);
    }));
    Form->ActionsStringGridButtonClick(0, 2);
    EXPECT_EQ(List->CurrentElementID(), Dike->ID());
    EXPECT_EQ(Grid->Cells(0, 2), "-->2");
    EXPECT_EQ(Grid->Cells(0, 1), "1");
}

TEST_F(Editing, EditMeasureOfAPathwayElementStoresItsTransferCosts) {
    Start();
    TElement* Dike = AddAction("Dike", "3");
    TElement* Pump = AddAction("Pump", "4");
    TElement* Both = List->AddCombinationElement("Dike + Pump", 3, Dike->ID(), Pump->ID());
    Both->SetCombinationType(ctCombine);
    Both->SetInitialCosts(7);
    Grid->DrawActionsStringGrid();
    Script.OnExec(Playing<TAddMeasureForm>([](TAddMeasureForm& Dialog) {
        EXPECT_EQ(Dialog.CombinationType(), ctCombine);
        EXPECT_EQ(Dialog.CombinationFirstID(), 2);
        EXPECT_EQ(Dialog.CombinationSecondID(), 3);
        Retype(Dialog.TransferCostsEdit(), "150");
        Retype(Dialog.InitialCostsEdit(), "99"); // not shown for a pathway element
    }));
    Form->ActionsStringGridButtonClick(0, 4);
    EXPECT_EQ(Both->TransferCosts(), 150);
    EXPECT_EQ(Both->InitialCosts(), 7);
    EXPECT_EQ(Both->CombinationType(), ctCombine);
    EXPECT_EQ(Both->OwnColor(), clBlack); // the colour shown was Pump's, untouched
}

TEST_F(Editing, CostsTypedAreKeptWhateverTheElementsKind) {
    Start();
    TElement* Dike = AddAction("Dike", "3");
    TElement* Pump = AddAction("Pump", "4");
    // A file may leave a pathway element without a type: the dialog shows its
    // initial costs then, and keeps what is typed there.
    TElement* Plain = List->AddCombinationElement("Dike + Pump", 3, Dike->ID(), Pump->ID());
    Grid->DrawActionsStringGrid();
    Script.OnExec(Playing<TAddMeasureForm>([](TAddMeasureForm& Dialog) {
        EXPECT_TRUE(Dialog.InitialCostsEdit()->isVisibleTo(&Dialog));
        Retype(Dialog.InitialCostsEdit(), "99");
    }));
    Form->ActionsStringGridButtonClick(0, 4);
    EXPECT_EQ(Plain->InitialCosts(), 99);
}

TEST_F(Editing, AltUpAndDownBelongToTheOpenTypeDropDown) {
    Start();
    TElement* Dike = AddAction("Dike", "3");
    TElement* Pump = AddAction("Pump", "4");
    AddTestPathway(*List, Dike, Pump, ctCombine, 3);
    Grid->DrawActionsStringGrid();
    Form->ClearDirtyFlags();
    ClickCell(4, TActionsGridModel::TypeColumn);
    ASSERT_NE(qobject_cast<QComboBox*>(Grid->Editor()), nullptr);
    Form->UpdateActions();
    PressKey(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(List->Elements(3)->Caption(), "Dike + Pump");
    EXPECT_FALSE(Form->DocumentIsDirty());
    // Without an open editor they move the row.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    Grid->CloseEditor();
    Grid->setFocus();
    Form->UpdateActions();
    PressKey(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(List->Elements(2)->Caption(), "Dike + Pump");
}

TEST_F(Editing, ASystemColourIsOfferedAsItIsDrawn) {
    Start();
    TElement* Dike = AddAction("Dike", "3");
    Dike->SetMyColor(TColor(0xFF00000Fu)); // the button face, from a file
    Script.AnswerColor(std::nullopt);
    Form->Edits()->ChooseElementColor(1);
    const QColor Face = ColorToQColor(TColor(0xFF00000Fu));
    EXPECT_EQ(Script.LastColorOffered, RGBToColor(Face.red(), Face.green(), Face.blue()));
}

TEST_F(Editing, TimeColumnSettings) {
    Start(&TAboutForm::NewTimeButton);
    Script.AnswerInput(QString("2050"));
    Form->AddTimeColumnAction().Button->click();
    Form->ClearDirtyFlags();
    const int32_t Col = TActionsGridModel::FirstValueColumn + 1;
    // The same name and a new width: only the width.
    Script.OnExec(Playing<TTimeColumnSettingsForm>([](TTimeColumnSettingsForm& Dialog) {
        EXPECT_EQ(Dialog.ColumnName(), "2050");
        Dialog.WidthSpinEdit()->Editor()->selectAll();
        QTest::keyClicks(Dialog.WidthSpinEdit()->Editor(), "180");
    }));
    Form->ActionsStringGridButtonClick(Col, 0);
    EXPECT_EQ(Grid->ColumnWidth(Col), 180);
    EXPECT_FALSE(Form->DocumentIsDirty());
    // A new name: header, caption, selector; with the key on the current column.
    Grid->SetSelection(1, Col);
    Script.OnExec(Playing<TTimeColumnSettingsForm>(
        [](TTimeColumnSettingsForm& Dialog) { Retype(Dialog.NameEdit(), "High 2050"); }));
    // The map was on the second column; the selector and the map go back to
    // the first together.
    Type(1, Col, "2045");
    QComboBox* Series = Form->Frame11()->ComboBox1();
    Series->setCurrentIndex(1);
    Form->Frame11()->ComboBox1Change();
    const QImage Second = Form->Frame11()->ShownImage();
    Form->ColumnSettingsAction()->trigger();
    EXPECT_EQ(Series->currentIndex(), 0);
    EXPECT_NE(Form->Frame11()->ShownImage(), Second);
    EXPECT_EQ(List->TippingTimeColumnCaption(1), "High 2050");
    EXPECT_EQ(Grid->Cells(Col, 0), "High 2050");
    EXPECT_EQ(Form->Frame11()->ComboBox1()->itemText(1), "High 2050");
    EXPECT_TRUE(Form->DocumentIsDirty());
    // Cancel changes nothing.
    Form->ClearDirtyFlags();
    Script.OnExec(Playing<TTimeColumnSettingsForm>(
        [](TTimeColumnSettingsForm& Dialog) { Retype(Dialog.NameEdit(), "Low"); }, false));
    Form->ActionsStringGridButtonClick(Col, 0);
    EXPECT_EQ(List->TippingTimeColumnCaption(1), "High 2050");
    EXPECT_FALSE(Form->DocumentIsDirty());
}

TEST_F(Editing, TheConditionColumnHeaderSetsOnlyTheWidth) {
    Start();
    Script.OnExec(Playing<TTimeColumnSettingsForm>([](TTimeColumnSettingsForm& Dialog) {
        EXPECT_EQ(Dialog.ColumnName(), "Condition tipping point");
        Retype(Dialog.NameEdit(), "Sea level");
        Dialog.WidthSpinEdit()->Editor()->selectAll();
        QTest::keyClicks(Dialog.WidthSpinEdit()->Editor(), "5");
    }));
    Form->ActionsStringGridButtonClick(TActionsGridModel::FirstValueColumn, 0);
    EXPECT_EQ(Grid->Cells(4, 0), "Condition tipping point");
    EXPECT_EQ(Grid->ColumnWidth(4), 20); // no narrower than that
    EXPECT_FALSE(Form->DocumentIsDirty());
}

// ------------------------------------------------------------ history

const QString Delta = QStringLiteral(CORVINAL_SOURCE_DIR "/examples/delta.pathway");
const QString Drought = QStringLiteral(CORVINAL_SOURCE_DIR "/examples/drought.pathway");

// What a save of the window's document would write, without saving.
QByteArray SavedBytes(TForm2& Form) {
    TXmlDoc XML;
    WritePathwayDocument(XML, *Form.MyElementsList(), *Form.ScenarioFrame1(),
                         Form.Frame11()->Settings());
    return XML.SaveToBytes();
}

TEST_F(Editing, EveryKindOfEditIsUndoneExactly) {
    struct TCase {
        const char* Step;
        QString File;
        std::function<void()> Edit;
    };
    const TCase Cases[] = {
        {"Add Action", Delta, [this] { Form->AddSimpleElementAction().Button->click(); }},
        {"Delete Action", Delta,
         [this] {
             Grid->SetSelection(Grid->RowCount() - 1, TActionsGridModel::NameColumn);
             Form->UpdateActions();
             Form->DeleteElementAction().Button->click();
         }},
        {"Move Down", Delta,
         [this] {
             Grid->SetSelection(2, TActionsGridModel::NameColumn);
             Form->UpdateActions();
             Form->MoveDownAction().Button->click();
         }},
        {"Define pathway", Delta,
         [this] {
             Script.OnExec(Playing<TAddCombinationForm>([](TAddCombinationForm& Dialog) {
                 Pick(Dialog.FirstListBox(), 1);
                 Pick(Dialog.SecondListBox(), 2);
             }));
             Form->CombineAction().Button->click();
         }},
        {"Scenarios", Delta,
         [this] {
             Script.OnExec(Playing<TScenarioDefinitionForm>([this](TScenarioDefinitionForm& D) {
                 Script.OnExec(Playing<TAddScenarioForm>([](TAddScenarioForm& Add) {
                     Retype(Add.NameEdit(), "Dry");
                     Retype(Add.LastValueEdit(), "50");
                 }));
                 D.UpdateActions();
                 QTest::mouseClick(D.AddScenarioButton(), Qt::LeftButton);
             }));
             Form->ScenarioEditAction().Button->click();
         }},
        {"Edit measure", Delta,
         [this] {
             Script.OnExec(Playing<TAddMeasureForm>([](TAddMeasureForm& Dialog) {
                 Retype(Dialog.NameEdit(), "Higher dikes");
                 Retype(Dialog.InitialCostsEdit(), "250");
             }));
             Form->ActionsStringGridButtonClick(0, 2);
         }},
        {"Rename", Delta, [this] { Type(2, TActionsGridModel::NameColumn, "Dikes"); }},
        {"Edit tipping value", Delta,
         [this] { Type(2, TActionsGridModel::FirstValueColumn, "86"); }},
        {"Change type", Delta,
         [this] {
             ClickCell(7, TActionsGridModel::TypeColumn); // a sequence
             PressKey(Qt::Key_Up);
         }},
        {"Color", Delta,
         [this] {
             Script.AnswerColor(RGBToColor(1, 2, 3));
             Form->ActionsStringGridButtonClick(1, 2);
         }},
        {"X-Axis settings", Delta,
         [this] {
             Script.OnExec(Playing<TXAxisSettingsForm>(
                 [](TXAxisSettingsForm& Dialog) { Retype(Dialog.Edit1(), "Rise (m)"); }));
             Form->Frame11()->SpeedButton1Click();
         }},
        {"Graph settings", Delta,
         [this] {
             Script.OnExec(Playing<TGraphSettingsForm>(
                 [](TGraphSettingsForm& Dialog) { Dialog.SetFontSize(16); }));
             Form->Frame11()->SpeedButton2Click();
         }},
        {"Add Scenario", Drought,
         [this] {
             Script.AnswerInput(QString("Extreme"));
             Form->AddTimeColumnAction().Button->click();
         }},
        {"Rename time column", Drought,
         [this] {
             Script.OnExec(Playing<TTimeColumnSettingsForm>(
                 [](TTimeColumnSettingsForm& Dialog) { Retype(Dialog.NameEdit(), "Very dry"); }));
             Form->ActionsStringGridButtonClick(TActionsGridModel::FirstValueColumn, 0);
         }},
        {"Edit tipping value", Drought,
         [this] { Type(3, TActionsGridModel::FirstValueColumn + 1, "2061"); }},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Step);
        Start(&TAboutForm::OpenButton, {Case.File});
        const QByteArray Opened = SavedBytes(*Form);
        // Undo never reaches past the opening.
        EXPECT_FALSE(Form->UndoAction()->isEnabled());
        Case.Edit();
        Settle();
        const QByteArray Edited = SavedBytes(*Form);
        EXPECT_NE(Edited, Opened);
        EXPECT_TRUE(Form->DocumentIsDirty());
        EXPECT_EQ(Form->UndoAction()->text(), QStringLiteral("&Undo ") + Case.Step);
        EXPECT_EQ(Form->UndoStack()->count(), 1);
        Form->UndoAction()->trigger();
        Settle();
        EXPECT_EQ(SavedBytes(*Form), Opened);
        EXPECT_FALSE(Form->DocumentIsDirty());
        EXPECT_EQ(Grid->RowCount() - 1, Form->MyElementsList()->Count());
        Form->RedoAction()->trigger();
        Settle();
        EXPECT_EQ(SavedBytes(*Form), Edited);
        EXPECT_TRUE(Form->DocumentIsDirty());
        EXPECT_TRUE(Script.AllAnswered());
    }
}

TEST_F(Editing, TheDirtyStateFollowsTheHistory) {
    QTemporaryDir Dir;
    Start();
    AddAction("Dike", "3");
    ASSERT_TRUE(Form->DocumentIsDirty());
    Script.AnswerSaveFile(Dir.filePath("saved.pathway"));
    Form->SaveAction().Button->click();
    EXPECT_FALSE(Form->DocumentIsDirty());
    Type(2, TActionsGridModel::NameColumn, "Dike ring");
    EXPECT_TRUE(Form->DocumentIsDirty());
    Form->UndoAction()->trigger(); // back to the state saved
    EXPECT_FALSE(Form->DocumentIsDirty());
    Form->UndoAction()->trigger(); // past it
    EXPECT_TRUE(Form->DocumentIsDirty());
    Form->RedoAction()->trigger();
    EXPECT_FALSE(Form->DocumentIsDirty());
    // The selection goes with the step: the renamed row.
    Grid->SetSelection(1, TActionsGridModel::NameColumn);
    Form->RedoAction()->trigger();
    Settle();
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(List->Elements(1)->Caption(), "Dike ring");
}

TEST_F(Editing, AnOKThatChangesNothingPushesNothing) {
    Start(&TAboutForm::OpenButton, {Delta});
    Script.OnExec(Playing<TAddMeasureForm>(nullptr));
    Form->ActionsStringGridButtonClick(0, 2);
    Script.OnExec(Playing<TXAxisSettingsForm>(nullptr));
    Form->Frame11()->SpeedButton1Click();
    Script.OnExec(Playing<TScenarioDefinitionForm>(nullptr));
    Form->ScenarioEditAction().Button->click();
    Type(2, TActionsGridModel::NameColumn, List->Elements(1)->Caption());
    EXPECT_EQ(Form->UndoStack()->count(), 0);
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(Editing, MenusAndTheirKeys) {
    Start();
    QStringList Menus;
    for (QAction* Menu : Form->menuBar()->actions())
        Menus << Menu->text();
    EXPECT_EQ(Menus, QStringList({"&File", "&Edit", "&View", "&Help"}));
    EXPECT_EQ(Form->NewConditionAction()->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_EQ(Form->OpenAction()->shortcut(), QKeySequence(QKeySequence::Open));
    const QList<QKeySequence> SaveAs = QKeySequence::keyBindings(QKeySequence::SaveAs);
    EXPECT_EQ(Form->SaveAsAction()->shortcut(),
              SaveAs.isEmpty() ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) : SaveAs.first());
    EXPECT_FALSE(Form->QuitAction()->shortcut().isEmpty());
    EXPECT_EQ(Form->UndoAction()->shortcut(), QKeySequence(QKeySequence::Undo));
    EXPECT_TRUE(Form->RedoAction()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    EXPECT_TRUE(
        Form->RedoAction()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    // One action for the menu entry and the button.
    EXPECT_TRUE(Form->FileMenu()->actions().contains(Form->SaveAction().Action));
    EXPECT_TRUE(Form->EditMenu()->actions().contains(Form->AddSimpleElementAction().Action));
    EXPECT_EQ(Form->UndoAction()->text(), "&Undo");
    EXPECT_FALSE(Form->UndoAction()->isEnabled());
    // Ctrl+Z in the window undoes.
    AddAction("Dike", "3");
    EXPECT_EQ(Form->UndoAction()->text(), "&Undo Edit tipping value");
    Grid->setFocus();
    PressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(List->Elements(1)->TippingPointValue(), 0);
    EXPECT_EQ(Form->RedoAction()->text(), "&Redo Edit tipping value");
    Script.OnExec([](QDialog* Dialog) {
        EXPECT_NE(qobject_cast<TAboutBox*>(Dialog), nullptr);
        return int(QDialog::Accepted);
    });
    Form->AboutAction()->trigger();
    EXPECT_TRUE(Script.AllAnswered());
}

// An error in a command stops at the command, however the command came (its
// key, its button, its menu entry): it is reported once, and the window goes
// on working.
TEST_F(Editing, ACommandThatFailsIsReportedAndTheWindowGoesOn) {
    Start();
    QTemporaryDir Dir;
    QFile Blocker(Dir.filePath("not-a-folder"));
    ASSERT_TRUE(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    const QString Name = Dir.filePath("not-a-folder/plan.pathway");
    Form->SetPathwayFileName(Name);
    const std::pair<const char*, std::function<void()>> Ways[] = {
        {"key",
         [&] {
             Grid->setFocus();
             PressKey(Qt::Key_S, Qt::ControlModifier);
         }},
        {"button", [&] { QTest::mouseClick(Form->SaveAction().Button, Qt::LeftButton); }},
        {"menu entry",
         [&] {
             QMenu* Menu = Form->FileMenu();
             Menu->popup(Form->mapToGlobal(QPoint(10, 10)));
             Settle();
             QTest::mouseClick(Menu, Qt::LeftButton, {},
                               Menu->actionGeometry(Form->SaveAction().Action).center());
         }},
    };
    for (const auto& [Way, Run] : Ways) {
        Script.Errors.clear();
        const int32_t Before = List->Count();
        Run();
        Settle();
        ASSERT_EQ(Script.Errors.size(), 1) << Way;
        EXPECT_TRUE(Script.Errors[0].contains("plan.pathway")) << Script.Errors[0].toStdString();
        EXPECT_TRUE(Script.Messages.isEmpty()) << Way;
        EXPECT_FALSE(QFile::exists(Name));
        // The window goes on.
        Form->AddSimpleElementAction().Button->click();
        EXPECT_EQ(List->Count(), Before + 1) << Way;
        EXPECT_TRUE(Form->isVisible());
    }
    // Stopped at the command, never passed through the toolkit.
    EXPECT_EQ(TCorvinalApplication::EscapedErrors(), 0);
}

// The keyboard has no dead ends: Ctrl+Tab leaves the tabs, the map's
// settings have menu entries and keys, Enter presses a focused button, and
// Escape in a menu gives the keyboard back.
TEST_F(Editing, TheKeyboardReachesEverythingAndGetsBack) {
    Start();
    // Ctrl+Tab leaves the tab bar instead of flipping its tabs.
    QTabBar* Bar = Form->PageControl()->tabBar();
    Bar->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Bar);
    const int Tab = Form->PageControl()->currentIndex();
    PressKey(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(Form->PageControl()->currentIndex(), Tab);
    EXPECT_FALSE(Form->PageControl()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_NE(QApplication::focusWidget(), Bar);
    Bar->setFocus();
    PressKey(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), Bar);

    // The View menu: the map's two settings dialogs with their keys, and
    // the tabs.
    EXPECT_EQ(Form->ViewMenu()->title(), "&View");
    EXPECT_TRUE(Form->ViewMenu()->actions().contains(Form->XAxisSettingsAction()));
    EXPECT_TRUE(Form->ViewMenu()->actions().contains(Form->GraphSettingsAction()));
    for (const auto& [Key, Dialog] :
         {std::pair<Qt::Key, QString>{Qt::Key_X, "TXAxisSettingsForm"},
          std::pair<Qt::Key, QString>{Qt::Key_G, "TGraphSettingsForm"}}) {
        Script.OnExec([](QDialog*) { return int(QDialog::Rejected); });
        Grid->setFocus();
        PressKey(Key, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Script.ExecutedDialogs.value(Script.ExecutedDialogs.size() - 1), Dialog);
    }

    // Enter presses the command button that has the focus.
    const int32_t Count = List->Count();
    Form->AddSimpleElementAction().Button->setFocus();
    PressKey(Qt::Key_Return);
    EXPECT_EQ(List->Count(), Count + 1);

    // Alt+E opens the Edit menu; Escape closes it and gives the keyboard
    // back to the grid at once.
    Grid->setFocus();
    PressKey(Qt::Key_E, Qt::AltModifier);
    ASSERT_TRUE(Form->EditMenu()->isVisible());
    QTest::keyClick(Form->EditMenu(), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(Form->EditMenu()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), Grid);
    EXPECT_EQ(Form->menuBar()->activeAction(), nullptr);
    // The next key is the grid's.
    const int32_t Row = Grid->Row();
    PressKey(Qt::Key_Up);
    EXPECT_EQ(Grid->Row(), Row - 1);
    EXPECT_EQ(TCorvinalApplication::EscapedErrors(), 0);
}

// A dialog opened again starts at its first field, whatever field it was
// left in, so that what is typed lands where the user expects.
TEST_F(Editing, EveryReusedDialogOpensAtItsFirstField) {
    Start();
    const struct {
        QDialog* Dialog;
        QWidget* First;
        QWidget* Other;
    } Cases[] = {
        {Form->TimeColumnSettingsForm(), Form->TimeColumnSettingsForm()->NameEdit(),
         Form->TimeColumnSettingsForm()->WidthSpinEdit()},
        {Form->AddMeasureForm(), Form->AddMeasureForm()->NameEdit(),
         Form->AddMeasureForm()->RecurrentCostsEdit()},
        {Form->AddCombinationForm(), Form->AddCombinationForm()->FirstListBox(),
         Form->AddCombinationForm()->SecondListBox()},
    };
    for (const auto& Case : Cases) {
        for (int Showing = 0; Showing < 2; ++Showing) {
            Case.Dialog->show();
            QApplication::setActiveWindow(Case.Dialog);
            Settle();
            EXPECT_EQ(QApplication::focusWidget(), Case.First)
                << Case.Dialog->metaObject()->className() << " showing " << Showing;
            Case.Other->setFocus();
            Case.Dialog->hide();
        }
    }
    // The settings dialogs of the map, reached through the view.
    TXAxisSettingsForm XAxis;
    TGraphSettingsForm Graph;
    for (QDialog* Dialog : {static_cast<QDialog*>(&XAxis), static_cast<QDialog*>(&Graph)}) {
        Dialog->show();
        QApplication::setActiveWindow(Dialog);
        Settle();
        QWidget* First = Dialog == &XAxis ? static_cast<QWidget*>(XAxis.MinValueEdit())
                                          : static_cast<QWidget*>(Graph.LeftMarginSpinEdit());
        EXPECT_TRUE(QApplication::focusWidget() == First ||
                    First->isAncestorOf(QApplication::focusWidget()))
            << Dialog->metaObject()->className();
        Dialog->hide();
    }
}

// In "Define pathway" both lists keep a choice; the one the arrow keys move
// shows it in the highlight colour, the other in grey.
TEST_F(Editing, TheFocusedListOfDefinePathwayShowsIt) {
    Start(&TAboutForm::OpenButton, {Delta});
    TAddCombinationForm* Form2 = Form->AddCombinationForm();
    Form2->SetMyElementsList(List);
    Form2->show();
    QApplication::setActiveWindow(Form2);
    Pick(Form2->FirstListBox(), 1);
    Pick(Form2->SecondListBox(), 2);
    const auto Shown = [](QListWidget* List) {
        return List->palette().color(QPalette::Active, QPalette::Highlight);
    };
    EXPECT_EQ(QApplication::focusWidget(), Form2->SecondListBox());
    EXPECT_NE(Shown(Form2->FirstListBox()), Shown(Form2->SecondListBox()));
    EXPECT_EQ(Shown(Form2->SecondListBox()),
              QApplication::palette().color(QPalette::Active, QPalette::Highlight));
    Form2->FirstListBox()->setFocus();
    Settle();
    EXPECT_EQ(Shown(Form2->FirstListBox()),
              QApplication::palette().color(QPalette::Active, QPalette::Highlight));
    EXPECT_NE(Shown(Form2->SecondListBox()), Shown(Form2->FirstListBox()));
    Form2->hide();
}

TEST_F(Editing, NewAndOpenAskTheCloseQuestionFirst) {
    QTemporaryDir Dir;
    // Cancel: nothing changes.
    Start(&TAboutForm::OpenButton, {Delta});
    Type(2, TActionsGridModel::NameColumn, "Dikes");
    const QByteArray Edited = SavedBytes(*Form);
    Script.OnExec([](QDialog* Dialog) {
        auto* Close = qobject_cast<TCloseForm*>(Dialog);
        EXPECT_EQ(Close->ReturnButton()->text(), "Cancel");
        Close->setResult(QDialog::Rejected);
        Close->ReturnButton()->click();
        return Close->result();
    });
    Form->NewConditionAction()->trigger();
    EXPECT_EQ(SavedBytes(*Form), Edited);
    EXPECT_EQ(Form->UndoStack()->count(), 1);
    // Exit without saving: the new document, with nothing kept.
    Script.OnExec(CloseWith(&TCloseForm::ExitButton));
    Script.AnswerConfirm(true);
    Form->NewTimeAction()->trigger();
    EXPECT_EQ(Script.Confirmations.last(), "File not saved. All edits will be lost. Continue?");
    EXPECT_TRUE(Form->PathwayFileName().isEmpty());
    EXPECT_EQ(Form->windowTitle(), "Corvinal");
    ASSERT_EQ(List->Count(), 1);
    EXPECT_EQ(List->PathwayType(), ptTimeBased);
    EXPECT_EQ(List->TippingTimeColumnCaption(0), "Time0");
    EXPECT_EQ(Form->ScenarioFrame1()->Count(), 0);
    EXPECT_EQ(Form->Frame11()->MaxTippingPointValue(), 100);
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_EQ(Form->UndoStack()->count(), 0);
    // The new document is what the start dialog's "New" gives.
    Script.OnExec(StartWith(&TAboutForm::NewTimeButton));
    TForm2 Fresh({});
    EXPECT_EQ(SavedBytes(*Form), SavedBytes(Fresh));

    // Save, then open: the edit is in the file, the opened one is shown.
    AddAction("Dam", "2050");
    const QString Saved = Dir.filePath("dam.pathway");
    Script.OnExec(CloseWith(&TCloseForm::SaveAsButton));
    Script.AnswerSaveFile(Saved);
    Script.AnswerOpenFile(Delta);
    Form->OpenAction()->trigger();
    EXPECT_TRUE(ReadAll(Saved).contains("<caption>Dam</caption>"));
    EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Delta));
    EXPECT_EQ(List->PathwayType(), ptConditionBased);
    EXPECT_EQ(Form->UndoStack()->count(), 0);
    EXPECT_EQ(Form->RecentFiles().value(0), QDir::toNativeSeparators(Delta));
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join("; ").toStdString();
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(Editing, AFailedOpenKeepsEverything) {
    QTemporaryDir Dir;
    Start(&TAboutForm::OpenButton, {Delta});
    Type(2, TActionsGridModel::NameColumn, "Dikes");
    const QByteArray Edited = SavedBytes(*Form);
    const QString Junk = Dir.filePath("junk.pathway");
    QFile File(Junk);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write("not a pathway");
    File.close();
    for (const QString& Name : {Junk, Dir.filePath("missing.pathway")}) {
        Script.Errors.clear();
        Script.OnExec(CloseWith(&TCloseForm::ExitButton));
        Script.AnswerConfirm(true);
        QMetaObject::invokeMethod(
            Form.get(), [this, Name] { Form->OpenDocumentFile(Name); }, Qt::QueuedConnection);
        Settle();
        EXPECT_EQ(Script.Errors.size(), 1);
        EXPECT_EQ(SavedBytes(*Form), Edited);
        EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Delta));
        EXPECT_EQ(Form->UndoStack()->count(), 1);
        EXPECT_TRUE(Form->DocumentIsDirty());
    }
}

// Opening says, in one message, what the file holds that could not be used;
// a file without such values opens without a word, and a map that cannot
// be drawn never leaves the previous document's map on show.
TEST_F(Editing, OpeningAFileSaysWhatCouldNotBeRead) {
    QTemporaryDir Dir;
    Start(&TAboutForm::OpenButton, {Delta});
    EXPECT_TRUE(Script.Messages.isEmpty());
    QByteArray Bytes = ReadAll(Delta);
    ASSERT_TRUE(Bytes.contains("<initialcosts>0</initialcosts>"));
    Bytes.replace(Bytes.indexOf("<initialcosts>0<"), 16, "<initialcosts>1.2.3<");
    const auto Write = [&Dir](const QString& Name, const QByteArray& Content) {
        QFile File(Dir.filePath(Name));
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Content);
        return Dir.filePath(Name);
    };
    const QString Bad = Write("bad.pathway", Bytes);
    const auto Open = [this](const QString& Name) {
        QMetaObject::invokeMethod(
            Form.get(), [this, Name] { Form->OpenDocumentFile(Name); }, Qt::QueuedConnection);
        Settle();
    };
    Open(Bad);
    ASSERT_EQ(Script.Messages.size(), 1);
    EXPECT_TRUE(Script.Messages[0].startsWith(QDir::toNativeSeparators(Bad) + " is open"));
    EXPECT_TRUE(
        Script.Messages[0].contains(", initialcosts: \"1.2.3\" is not a number; 0 is used."))
        << Script.Messages[0].toStdString();
    EXPECT_TRUE(Script.Errors.isEmpty());
    EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Bad));
    EXPECT_FALSE(Form->DocumentIsDirty());

    Open(Delta);
    EXPECT_EQ(Script.Messages.size(), 1);
    EXPECT_FALSE(Form->Frame11()->ShownImage().isNull());

    QByteArray Flat = ReadAll(Delta);
    Flat.replace("<maxtippingpoint>200<", "<maxtippingpoint>0<");
    Open(Write("flat.pathway", Flat));
    ASSERT_EQ(Script.Messages.size(), 2);
    EXPECT_TRUE(Script.Messages[1].endsWith("its minimum must lie below its maximum.\n\nThe map "
                                            "cannot be drawn: Floating point division by zero"))
        << Script.Messages[1].toStdString();
    EXPECT_TRUE(Form->Frame11()->ShownImage().isNull());
    EXPECT_TRUE(Script.Errors.isEmpty());
}

// Min = Max in the axis settings is refused in the dialog: no undo step, no
// change, no dirty mark.
TEST_F(Editing, ARangeThatCannotBeDrawnIsNoStep) {
    Start();
    const QByteArray Saved = SavedBytes(*Form);
    Script.OnExec([](QDialog* Dialog) {
        auto* XAxis = qobject_cast<TXAxisSettingsForm*>(Dialog);
        EXPECT_NE(XAxis, nullptr);
        if (!XAxis)
            return int(QDialog::Rejected);
        Retype(XAxis->MinValueEdit(), "3");
        Retype(XAxis->MaxValueEdit(), "3");
        QTest::mouseClick(XAxis->OKButton(), Qt::LeftButton);
        EXPECT_NE(XAxis->result(), QDialog::Accepted);
        XAxis->CancelButton()->click();
        return XAxis->result();
    });
    Form->Frame11()->SpeedButton1()->click();
    EXPECT_EQ(Script.Errors, QStringList{"The tipping-point axis runs from 3 to 3: its minimum "
                                         "must lie below its maximum."});
    EXPECT_EQ(Form->UndoStack()->count(), 0);
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_EQ(SavedBytes(*Form), Saved);
    EXPECT_NO_THROW(Form->Frame11()->Draw());
}

// A map that cannot be drawn says so in a box after every change, undo and
// redo. The box's event loop repaints the tables behind it, which by then
// show the document as it is: an undo makes every element anew, and a table
// still reading the elements it was made from would read freed ones.
TEST_F(Editing, TheTablesBehindTheMapsErrorShowTheDocumentAsItIs) {
    QTemporaryDir Dir;
    QByteArray Flat = ReadAll(Delta);
    ASSERT_TRUE(Flat.contains("<maxtippingpoint>200<"));
    Flat.replace("<maxtippingpoint>200<", "<maxtippingpoint>0<");
    const QString Name = Dir.filePath("flat.pathway");
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(Flat);
    File.close();
    Start(&TAboutForm::OpenButton, {Name});
    Settle();
    ASSERT_TRUE(Form->Frame11()->ShownImage().isNull());
    TScorecardFrame* Card = Form->ScorecardFrame();
    TDecisionsFrame* Decisions = Form->DecisionsFrame();
    Grid->setFocus();
    PressKey(Qt::Key_PageDown, Qt::ControlModifier);
    PressKey(Qt::Key_PageDown, Qt::ControlModifier);
    ASSERT_EQ(Form->PageControl()->currentWidget(), Decisions);

    int Boxes = 0;
    Script.WhileBoxIsUp([&] {
        ++Boxes;
        Decisions->View()->viewport()->repaint();
        Card->View()->viewport()->repaint();
        // What tables made from the document as it is now show.
        TScorecardModel FreshCard;
        FreshCard.SetDocument(List, Form->ScenarioFrame1());
        TDecisionsModel FreshDecisions;
        FreshDecisions.SetDocument(List, Form->ScenarioFrame1());
        TScorecardModel* Shown = Card->Model();
        ASSERT_EQ(Shown->rowCount(), FreshCard.rowCount());
        ASSERT_EQ(Shown->columnCount(), FreshCard.columnCount());
        for (int Row = 0; Row < Shown->rowCount(); ++Row)
            for (int Col = 0; Col < Shown->columnCount(); ++Col)
                for (int Role : {int(Qt::DisplayRole), int(Qt::CheckStateRole)})
                    EXPECT_EQ(Shown->index(Row, Col).data(Role),
                              FreshCard.index(Row, Col).data(Role))
                        << Row << ", " << Col;
        TDecisionsModel* Listed = Decisions->Model();
        ASSERT_EQ(Listed->rowCount(), FreshDecisions.rowCount());
        ASSERT_EQ(Listed->columnCount(), FreshDecisions.columnCount());
        for (int Row = 0; Row < Listed->rowCount(); ++Row)
            for (int Col = 0; Col < Listed->columnCount(); ++Col)
                EXPECT_EQ(Listed->Text(Row, Col), FreshDecisions.Text(Row, Col))
                    << Row << ", " << Col;
    });
    const int32_t Count = List->Count();
    QTest::mouseClick(Form->AddSimpleElementAction().Button, Qt::LeftButton);
    Settle();
    EXPECT_EQ(List->Count(), Count + 1);
    EXPECT_EQ(Boxes, 1);
    Grid->setFocus();
    PressKey(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(List->Count(), Count);
    EXPECT_EQ(Boxes, 2);
    PressKey(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(List->Count(), Count + 1);
    EXPECT_EQ(Boxes, 3);
    EXPECT_EQ(Script.Errors, QStringList(3, "Floating point division by zero"));
}

TEST_F(Editing, SaveAsNamesTheDocument) {
    QTemporaryDir Dir;
    Start();
    AddAction("Dike", "3");
    const QString Name = Dir.filePath("dike.pathway");
    Script.AnswerSaveFile(Name);
    Form->SaveAsAction()->trigger();
    EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Name));
    EXPECT_EQ(Script.Messages.last(), QDir::toNativeSeparators(Name) + " saved");
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_TRUE(ReadAll(Name).contains("<caption>Dike</caption>"));
    // Cancelled: nothing.
    Script.AnswerSaveFile("");
    Form->SaveAsAction()->trigger();
    EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Name));
}

TEST_F(Editing, RecentFilesAndDroppedFiles) {
    QTemporaryDir Dir;
    const QString Gone = Dir.filePath("gone.pathway");
    QFile::copy(Delta, Gone);
    Start(&TAboutForm::OpenButton, {Gone});
    Start(&TAboutForm::OpenButton, {Drought});
    EXPECT_EQ(Form->RecentFiles().mid(0, 2),
              QStringList({QDir::toNativeSeparators(Drought), QDir::toNativeSeparators(Gone)}));
    // A file that has gone is dropped with a message when chosen.
    QFile::remove(Gone);
    Q_EMIT Form->RecentMenu()->aboutToShow();
    QAction* Entry = nullptr;
    for (QAction* Action : Form->RecentMenu()->actions())
        if (Action->text().endsWith(QDir::toNativeSeparators(Gone)))
            Entry = Action;
    ASSERT_NE(Entry, nullptr);
    Entry->trigger();
    EXPECT_TRUE(Script.Messages.last().startsWith(QDir::toNativeSeparators(Gone)));
    EXPECT_FALSE(Form->RecentFiles().contains(QDir::toNativeSeparators(Gone)));
    EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Drought));
    EXPECT_TRUE(Form->RecentMenu()->isEnabled());

    // A .pathway file dropped onto the window opens.
    QMimeData Data;
    Data.setUrls({QUrl::fromLocalFile(Delta)});
    QDragEnterEvent Enter(QPoint(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Form.get(), &Enter);
    EXPECT_TRUE(Enter.isAccepted());
    QDropEvent Drop(QPointF(10, 10), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Form.get(), &Drop);
    Settle();
    EXPECT_EQ(Form->PathwayFileName(), QDir::toNativeSeparators(Delta));
    // Other files are not taken.
    QMimeData Text;
    Text.setUrls({QUrl::fromLocalFile(Dir.filePath("notes.txt"))});
    QDragEnterEvent Other(QPoint(10, 10), Qt::CopyAction, &Text, Qt::LeftButton, Qt::NoModifier);
    Other.setAccepted(false);
    QCoreApplication::sendEvent(Form.get(), &Other);
    EXPECT_FALSE(Other.isAccepted());
}

TEST_F(Editing, ManyEditsAndAsManyUndos) {
    Start(&TAboutForm::OpenButton, {Delta});
    const QByteArray Opened = SavedBytes(*Form);
    Form->AddSimpleElementAction().Button->click();
    TypeKeys("Wall");
    PressKey(Qt::Key_Return);
    Type(2, TActionsGridModel::FirstValueColumn, "91");
    Grid->SetSelection(3, TActionsGridModel::NameColumn);
    Form->UpdateActions();
    Form->MoveDownAction().Button->click();
    Script.AnswerColor(RGBToColor(9, 9, 9));
    Form->ActionsStringGridButtonClick(1, 5);
    const QByteArray Edited = SavedBytes(*Form);
    ASSERT_EQ(Form->UndoStack()->count(), 5); // Add, Rename, value, move, colour
    for (int Step = 0; Step < 5; ++Step)
        Form->UndoAction()->trigger();
    Settle();
    EXPECT_EQ(SavedBytes(*Form), Opened);
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_FALSE(Form->UndoAction()->isEnabled());
    for (int Step = 0; Step < 5; ++Step)
        Form->RedoAction()->trigger();
    Settle();
    EXPECT_EQ(SavedBytes(*Form), Edited);
}

TEST_F(Editing, WhatTheFileDoesNotHoldIsNoChange) {
    Start(&TAboutForm::OpenButton, {Delta});
    Script.OnExec(Playing<TXAxisSettingsForm>([](TXAxisSettingsForm& Dialog) {
        QTest::mouseClick(Dialog.CheckBox1(), Qt::LeftButton); // the axis hidden
    }));
    Form->Frame11()->SpeedButton1Click();
    EXPECT_FALSE(Form->Frame11()->Settings().ShowXAxis());
    EXPECT_EQ(Form->UndoStack()->count(), 0);
    EXPECT_FALSE(Form->DocumentIsDirty());
    // It is the view's choice and stays over an undo and a new document.
    Type(2, TActionsGridModel::NameColumn, "Dikes");
    Form->UndoAction()->trigger();
    EXPECT_FALSE(Form->Frame11()->Settings().ShowXAxis());
}

TEST_F(Editing, UndoKeepsTheTimeColumnTheMapShows) {
    Start(&TAboutForm::OpenButton, {Drought});
    QComboBox* Series = Form->Frame11()->ComboBox1();
    ASSERT_GE(Series->count(), 3);
    Series->setCurrentIndex(2);
    Form->Frame11()->ComboBox1Change();
    Type(2, TActionsGridModel::FirstValueColumn, "2033");
    EXPECT_EQ(Series->currentIndex(), 2);
    Form->UndoAction()->trigger();
    Settle();
    EXPECT_EQ(Series->currentIndex(), 2);
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(Editing, SavingFromTheCloseQuestionBeforeNew) {
    QTemporaryDir Dir;
    const QString Copy = Dir.filePath("delta.pathway");
    QFile::copy(Delta, Copy);
    Start(&TAboutForm::OpenButton, {Copy});
    Type(2, TActionsGridModel::NameColumn, "Dikes");
    Script.OnExec(CloseWith(&TCloseForm::SaveButton));
    Form->NewConditionAction()->trigger();
    EXPECT_TRUE(ReadAll(Copy).contains("<caption>Dikes</caption>"));
    EXPECT_TRUE(Form->PathwayFileName().isEmpty());
    EXPECT_EQ(List->Count(), 1);
    EXPECT_FALSE(Form->DocumentIsDirty());
    // A failed Open through the menu keeps the new document.
    AddAction("Dam", "3");
    const QByteArray Before = SavedBytes(*Form);
    Script.OnExec(CloseWith(&TCloseForm::ExitButton));
    Script.AnswerConfirm(true);
    Script.AnswerOpenFile(Dir.filePath("missing.pathway"));
    QMetaObject::invokeMethod(
        Form.get(), [this] { Form->OpenAction()->trigger(); }, Qt::QueuedConnection);
    Settle();
    EXPECT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(SavedBytes(*Form), Before);
    EXPECT_TRUE(Form->DocumentIsDirty());
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(Editing, TheRecentFilesAreTheLastTenNewestFirst) {
    QTemporaryDir Dir;
    Start();
    for (int File = 0; File < 12; ++File) {
        Script.AnswerSaveFile(Dir.filePath(QStringLiteral("v%1.pathway").arg(File)));
        Form->SaveAsAction()->trigger();
    }
    const QStringList Recent = Form->RecentFiles();
    ASSERT_EQ(Recent.size(), 10);
    EXPECT_EQ(Recent.first(), QDir::toNativeSeparators(Dir.filePath("v11.pathway")));
    EXPECT_EQ(Recent.last(), QDir::toNativeSeparators(Dir.filePath("v2.pathway")));
    Q_EMIT Form->RecentMenu()->aboutToShow();
    ASSERT_EQ(Form->RecentMenu()->actions().size(), 10);
    EXPECT_TRUE(Form->RecentMenu()->actions().last()->text().startsWith("&0 "));
}

// ------------------------------------------------------------ scorecard

// The preferred route: the Edit menu's command (with its key) and the
// scorecard's check box mark and unmark an element, each an undo step.
TEST_F(Editing, ThePreferredRouteIsMarkedAndUnmarkedAsSteps) {
    Start(&TAboutForm::OpenButton, {Delta});
    const QByteArray Opened = SavedBytes(*Form);
    Grid->setFocus();
    Grid->SetSelection(3, TActionsGridModel::NameColumn);
    Settle();
    EXPECT_TRUE(Form->EditMenu()->actions().contains(Form->PreferredRouteAction()));
    EXPECT_FALSE(Form->PreferredRouteAction()->isChecked());
    PressKey(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(List->Elements(2)->Preferred());
    EXPECT_EQ(Form->UndoAction()->text(), "&Undo Preferred route");
    EXPECT_TRUE(Form->PreferredRouteAction()->isChecked());
    EXPECT_TRUE(SavedBytes(*Form).contains("<preferred>1</preferred>"));
    // The scorecard shows it and takes it away again.
    Form->PageControl()->setCurrentIndex(1);
    Settle();
    TScorecardFrame* Card = Form->ScorecardFrame();
    const QModelIndex Cell =
        Card->Model()->index(2, Card->Model()->Scorecard()->ColumnOf(TScorecard::ckPreferred));
    EXPECT_EQ(Cell.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    Card->Model()->setData(Cell, Qt::Unchecked, Qt::CheckStateRole);
    Settle();
    EXPECT_FALSE(List->Elements(2)->Preferred());
    EXPECT_EQ(Form->UndoAction()->text(), "&Undo Leave preferred route");
    EXPECT_EQ(SavedBytes(*Form), Opened);
    Form->UndoAction()->trigger();
    EXPECT_TRUE(List->Elements(2)->Preferred());
    Form->UndoAction()->trigger();
    EXPECT_EQ(SavedBytes(*Form), Opened);
    EXPECT_FALSE(Form->DocumentIsDirty());
}

// The map's decision points stay with their scenario when scenarios before
// it go, and go with it.
TEST_F(Editing, DecisionPointsFollowTheirScenario) {
    Start(&TAboutForm::OpenButton, {Delta});
    TScenarioFrame* Scenarios = Form->ScenarioFrame1();
    ASSERT_EQ(Scenarios->Count(), 3);
    const QString Third = Scenarios->ScenarioCaption(2);
    Form->RecordStep("Decision points",
                     [this] { Form->Frame11()->Settings().SetDecisionPoints(3); });
    const auto DeleteScenario = [this](int Col) {
        Script.OnExec(
            Playing<TScenarioDefinitionForm>([this, Col](TScenarioDefinitionForm& Dialog) {
                Dialog.MatrixView()->SetCurrentCell(Col, 1);
                Dialog.UpdateActions();
                Script.AnswerConfirm(true);
                QTest::mouseClick(Dialog.DeleteScenarioButton(), Qt::LeftButton);
            }));
        Form->ScenarioEditAction().Button->click();
    };
    DeleteScenario(1);
    ASSERT_EQ(Scenarios->Count(), 2);
    EXPECT_EQ(Form->Frame11()->Settings().DecisionPoints(), 2);
    EXPECT_EQ(Scenarios->ScenarioCaption(1), Third);
    DeleteScenario(2);
    EXPECT_EQ(Form->Frame11()->Settings().DecisionPoints(), 0);
    // Undo brings scenario and choice back together.
    Form->UndoAction()->trigger();
    EXPECT_EQ(Form->Frame11()->Settings().DecisionPoints(), 2);
    EXPECT_TRUE(Script.AllAnswered());
}

// Lead times come through "Edit measure" and the scorecard, each an undo
// step, and the Decisions tab follows: by when each pathway must be decided
// on, in list order or by the earliest year, selected with the grid.
TEST_F(Editing, LeadTimesAndTheDecisionsTab) {
    Start(&TAboutForm::OpenButton, {Delta});
    const QByteArray Opened = SavedBytes(*Form);
    // "Raise dikes" (row 2) takes 15 years, through Edit measure.
    Script.OnExec(Playing<TAddMeasureForm>([](TAddMeasureForm& Dialog) {
        EXPECT_TRUE(Dialog.LeadTimeSpinEdit()->isEnabled());
        Dialog.LeadTimeSpinEdit()->Editor()->selectAll();
        QTest::keyClicks(Dialog.LeadTimeSpinEdit()->Editor(), "15");
    }));
    Grid->SetSelection(2, TActionsGridModel::NameColumn);
    Form->EditMeasureAction()->trigger();
    EXPECT_EQ(List->Elements(1)->LeadTime(), 15);
    EXPECT_EQ(Form->UndoAction()->text(), "&Undo Edit measure");
    // A pathway shows the lead time of the action it changes to, which it
    // cannot change.
    int32_t ToDikes = -1;
    for (int32_t Index = 0; Index < List->Count(); ++Index)
        if (List->Elements(Index)->CombinationSecondID() == List->Elements(1)->ID())
            ToDikes = Index;
    ASSERT_GE(ToDikes, 0);
    Script.OnExec(Playing<TAddMeasureForm>(
        [](TAddMeasureForm& Dialog) {
            EXPECT_EQ(Dialog.LeadTime(), 15);
            EXPECT_FALSE(Dialog.LeadTimeSpinEdit()->isEnabled());
        },
        false));
    Grid->SetSelection(ToDikes + 1, TActionsGridModel::NameColumn);
    Form->EditMeasureAction()->trigger();

    // "Pumping station" (row 3) takes 30, typed into the scorecard.
    Form->PageControl()->setCurrentIndex(1);
    Settle();
    TScorecardFrame* Card = Form->ScorecardFrame();
    const int Col = Card->Model()->Scorecard()->ColumnOf(TScorecard::ckLeadTime);
    Card->View()->setFocus();
    Card->View()->setCurrentIndex(Card->Model()->index(2, Col));
    PressKey(Qt::Key_F2);
    ASSERT_TRUE(Card->View()->IsEditing());
    PressKey(Qt::Key_A, Qt::ControlModifier);
    TypeKeys("30");
    PressKey(Qt::Key_Return);
    EXPECT_EQ(List->Elements(2)->LeadTime(), 30);
    EXPECT_EQ(Form->UndoAction()->text(), "&Undo Edit lead time");
    // More than a hundred years is no lead time, and changes nothing.
    Card->View()->setFocus();
    PressKey(Qt::Key_F2);
    PressKey(Qt::Key_A, Qt::ControlModifier);
    TypeKeys("150");
    PressKey(Qt::Key_Return);
    EXPECT_EQ(Script.Errors, QStringList{"A lead time is a whole number of years from 0 to 100."});
    EXPECT_EQ(List->Elements(2)->LeadTime(), 30);

    // The Decisions tab: a row per pathway, the lead time of its "to".
    Form->PageControl()->setCurrentIndex(2);
    Settle();
    TDecisionsFrame* Decisions = Form->DecisionsFrame();
    TDecisionsModel* Model = Decisions->Model();
    const TDecisions* Table = Model->Decisions();
    ASSERT_NE(Table, nullptr);
    int32_t Pathways = 0;
    for (int32_t Index = 0; Index < List->Count(); ++Index)
        Pathways += List->Elements(Index)->IsPrimaryElement() ? 0 : 1;
    EXPECT_EQ(Model->rowCount(), Pathways);
    EXPECT_EQ(Model->Caption(5), Form->ScenarioFrame1()->ScenarioCaption(0));
    const int32_t DikesRow = Model->RowOfListIndex(ToDikes);
    ASSERT_GE(DikesRow, 0);
    EXPECT_EQ(Model->Text(DikesRow, 4), "15");
    // The grid's selection is the table's, and back.
    Grid->SetSelection(ToDikes + 1, TActionsGridModel::NameColumn);
    EXPECT_EQ(Decisions->View()->currentIndex().row(), DikesRow);
    Decisions->View()->setFocus();
    Decisions->View()->setCurrentIndex(Model->index(0, 1));
    EXPECT_EQ(Grid->Row(), Model->ListIndexOfRow(0) + 1);
    // A click on a header orders the rows by their earliest decision.
    QHeaderView* Header = Decisions->View()->horizontalHeader();
    QTest::mouseClick(Header->viewport(), Qt::LeftButton, {},
                      QPoint(Header->sectionViewportPosition(5) + 10, Header->height() / 2));
    EXPECT_TRUE(Model->SortedByEarliest());
    const auto Rank = [](const TDecisionYear& Year) {
        return std::make_pair(Year.Kind == TDecisionYear::dyNow     ? 0
                              : Year.Kind == TDecisionYear::dyYear  ? 1
                              : Year.Kind == TDecisionYear::dyAfter ? 2
                                                                    : 3,
                              Year.Year);
    };
    for (int32_t Row = 1; Row < Model->rowCount(); ++Row)
        EXPECT_LE(Rank(Model->EarliestOfRow(Row - 1)), Rank(Model->EarliestOfRow(Row))) << Row;
    EXPECT_EQ(Model->EarliestOfRow(0).Kind, TDecisionYear::dyNow);
    QTest::mouseClick(Header->viewport(), Qt::LeftButton, {},
                      QPoint(Header->sectionViewportPosition(5) + 10, Header->height() / 2));
    EXPECT_FALSE(Model->SortedByEarliest());
    EXPECT_EQ(Model->ListIndexOfRow(0), Table->ListIndex(0));
    // Ctrl+C copies the selected cells as tab-separated text.
    Decisions->View()->setFocus();
    Decisions->View()->setCurrentIndex(Model->index(0, 1));
    QApplication::clipboard()->clear();
    PressKey(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), Model->Text(0, 1) + "\n");
    // File > Export Decisions writes the CSV of the document.
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("decisions.csv");
    Script.AnswerSaveFile(Name);
    Form->ExportDecisionsAction()->trigger();
    EXPECT_EQ(ReadAll(Name), DecisionsCsv(*List, *Form->ScenarioFrame1()));
    // Both lead times go back step by step.
    Form->UndoAction()->trigger();
    Form->UndoAction()->trigger();
    EXPECT_EQ(SavedBytes(*Form), Opened);
}

TEST_F(Editing, CostsTypedIntoTheScorecardAreUndoSteps) {
    Start(&TAboutForm::OpenButton, {Delta});
    const QByteArray Opened = SavedBytes(*Form);
    Form->PageControl()->setCurrentIndex(1);
    Settle();
    TScorecardFrame* Card = Form->ScorecardFrame();
    TScorecardView* View = Card->View();
    const int Col = Card->Model()->Scorecard()->ColumnOf(TScorecard::ckInitialCosts);
    const QModelIndex Cell = Card->Model()->index(1, Col);
    View->setFocus();
    View->setCurrentIndex(Cell);
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(View->IsEditing());
    PressKey(Qt::Key_A, Qt::ControlModifier);
    TypeKeys("777");
    PressKey(Qt::Key_Return);
    EXPECT_EQ(List->Elements(1)->InitialCosts(), 777);
    EXPECT_EQ(Form->UndoAction()->text(), "&Undo Edit initial costs");
    EXPECT_EQ(Cell.data().toString(), QString("777") + DecimalSeparator() + "00");
    EXPECT_TRUE(Form->DocumentIsDirty());
    Form->UndoAction()->trigger();
    EXPECT_EQ(SavedBytes(*Form), Opened);
    EXPECT_NE(Cell.data().toString(), QString("777") + DecimalSeparator() + "00");
    // A text that is no number is reported and changes nothing.
    View->setFocus();
    PressKey(Qt::Key_F2);
    ASSERT_TRUE(View->IsEditing());
    qobject_cast<QLineEdit*>(View->Editor())
        ->setText(QString("1") + DecimalSeparator() + "2" + DecimalSeparator() + "3");
    PressKey(Qt::Key_Return);
    EXPECT_EQ(Script.Errors, QStringList{"Cell does not contain a float value"});
    EXPECT_EQ(SavedBytes(*Form), Opened);
}

TEST_F(Editing, GridScorecardAndMapSelectTheSameElement) {
    Start(&TAboutForm::OpenButton, {Delta});
    TScorecardFrame* Card = Form->ScorecardFrame();
    Grid->SetSelection(4, TActionsGridModel::NameColumn);
    EXPECT_EQ(Card->CurrentRow(), 3);
    EXPECT_EQ(Form->Frame11()->HaloElement(), List->Elements(3));
    Form->PageControl()->setCurrentIndex(1);
    Settle();
    QTest::mouseClick(Card->View()->viewport(), Qt::LeftButton, {},
                      Card->View()->visualRect(Card->Model()->index(5, 2)).center());
    EXPECT_EQ(Grid->Row(), 6);
    EXPECT_EQ(Form->Frame11()->HaloElement(), List->Elements(5));
    // A click on the map selects the element under the pointer.
    Form->PageControl()->setCurrentIndex(0);
    Form->Frame11()->Draw();
    const TMapGeometry Geometry(Form->Frame11()->Settings(), *List,
                                *Form->Frame11()->MyScenarioFrame(), -1);
    QPoint Station;
    for (const TMapShape& Shape : ElementShapes(Geometry, 2))
        if (Shape.Kind == TMapShape::skStation)
            Station = Shape.From;
    // Pathways that start there share the station: the topmost is chosen.
    const std::vector<int32_t> Hits = Form->Frame11()->ElementsAt(Station);
    ASSERT_GE(Hits.size(), 2u);
    EXPECT_NE(std::find(Hits.begin(), Hits.end(), 2), Hits.end());
    Form->Frame11()->ClickAt(Station);
    EXPECT_EQ(Grid->Row(), Hits.front() + 1);
    EXPECT_EQ(Card->CurrentRow(), Hits.front());
}

TEST_F(Editing, ScorecardKeysAndExport) {
    QTemporaryDir Dir;
    Start(&TAboutForm::OpenButton, {Delta});
    // Ctrl+PgDown and Ctrl+PgUp switch the tabs.
    Grid->setFocus();
    PressKey(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Form->PageControl()->currentIndex(), 1);
    PressKey(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Form->PageControl()->currentIndex(), 0);
    // Ctrl+Tab leaves the scorecard as it leaves the grid.
    Form->PageControl()->setCurrentIndex(1);
    Form->ScorecardFrame()->View()->setFocus();
    PressKey(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_NE(QApplication::focusWidget(), Form->ScorecardFrame()->View());
    // File > Export Scorecard writes the CSV of the document.
    const QString Name = Dir.filePath("delta.csv");
    Script.AnswerSaveFile(Name);
    Form->ExportScorecardAction()->trigger();
    EXPECT_EQ(ReadAll(Name), ScorecardCsv(*List, *Form->ScenarioFrame1()));
    EXPECT_TRUE(ReadAll(Name).startsWith("\xEF\xBB\xBFID,"));
    EXPECT_EQ(Script.SaveFilters.last(), "csv files [*.csv]|*.csv|all files [*.*]|*.*");
}

TEST_F(Editing, TheSelectionStaysInStepThroughEveryChange) {
    Start(&TAboutForm::OpenButton, {Delta});
    TScorecardFrame* Card = Form->ScorecardFrame();
    const auto InStep = [&] {
        EXPECT_EQ(Card->CurrentRow(), Grid->Row() - 1);
        EXPECT_EQ(Form->Frame11()->HaloElement(), Grid->ElementOfRow(Grid->Row()));
        EXPECT_NE(Form->Frame11()->HaloElement(), nullptr);
    };
    InStep(); // from the start
    Form->AddSimpleElementAction().Button->click();
    InStep();
    Form->UpdateActions();
    Form->DeleteElementAction().Button->click();
    InStep();
    Form->UndoAction()->trigger(); // the element comes back, made anew
    InStep();
    Form->RedoAction()->trigger();
    InStep();
    Script.AnswerColor(RGBToColor(5, 5, 5));
    Grid->SetSelection(3, TActionsGridModel::NameColumn);
    Form->ChooseColorAction()->trigger();
    Form->UndoAction()->trigger();
    InStep();
    Script.OnExec(CloseWith(&TCloseForm::ExitButton));
    Script.AnswerConfirm(true);
    Form->NewConditionAction()->trigger();
    InStep();
}

} // namespace
