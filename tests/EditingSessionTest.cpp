// A whole editing session, as a user would go through it: from an empty
// start to the worked example of the file format, through the commands,
// the grid and the dialogs alone, then saved. The saved bytes must be those
// of tests/data/dike.pathway.

#include "scenarios/AddScenarioFormUnit.h"
#include "scenarios/ScenarioDefinitionUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserInput.h"
#include "ui/AboutUnit.h"
#include "ui/ActionsGridUnit.h"
#include "ui/AddCombinationFormUnit.h"
#include "ui/AddMeasureFormUnit.h"
#include "ui/MainUnit.h"
#include "widgets/ColorBoxUnit.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Retype(QLineEdit* Field, const QString& Text) {
    Field->setFocus();
    QTest::keyClick(Field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Field, Qt::Key_Backspace);
    QTest::keyClicks(Field, Text);
}

void Click(QPushButton* Button) {
    ASSERT_TRUE(Button->isEnabled()) << Button->text().toStdString();
    QTest::mouseClick(Button, Qt::LeftButton);
}

class EditingSession : public ::testing::Test {
protected:
    void SetUp() override {
        Script.OnExec([](QDialog* Dialog) {
            auto* About = qobject_cast<TAboutForm*>(Dialog);
            EXPECT_NE(About, nullptr);
            if (!About)
                return int(QDialog::Rejected);
            QTest::mouseClick(About->NewConditionButton(), Qt::LeftButton);
            return About->result();
        });
        Form = std::make_unique<TForm2>(QStringList());
        Form->CreateDialogs();
        Form->resize(1000, 700);
        Form->show();
        QApplication::setActiveWindow(Form.get());
        Grid = Form->ActionsStringGrid();
    }

    // Clicks into a grid cell and types over its text; Enter ends the edit.
    void TypeIntoCell(int32_t Row, int32_t Col, const QString& Text) {
        const QModelIndex Index = Grid->Model()->index(Row - 1, Col);
        QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, Grid->visualRect(Index).center());
        ASSERT_TRUE(Grid->IsEditing());
        PressKey(Qt::Key_A, Qt::ControlModifier);
        TypeKeys(Text);
        PressKey(Qt::Key_Return);
    }

    // "Edit measure" for a row, through its ID cell, with Play on the dialog.
    void EditMeasure(int32_t Row, std::function<void(TAddMeasureForm&)> Play) {
        Script.OnExec([Play](QDialog* Dialog) {
            auto* Measure = qobject_cast<TAddMeasureForm*>(Dialog);
            EXPECT_NE(Measure, nullptr);
            if (!Measure)
                return int(QDialog::Rejected);
            Measure->setResult(QDialog::Rejected);
            Play(*Measure);
            QTest::mouseClick(Measure->OKButton(), Qt::LeftButton);
            return Measure->result();
        });
        TFixedColumnsView* Fixed = Grid->FixedColumnsView();
        const QModelIndex Id = Grid->Model()->index(Row - 1, 0);
        QTest::mouseClick(Fixed->viewport(), Qt::LeftButton, {}, Fixed->visualRect(Id).center());
        Settle();
    }

    TScriptedModal Script;
    QTemporaryDir Dir;
    std::unique_ptr<TForm2> Form;
    TActionsStringGrid* Grid = nullptr;
};

TEST_F(EditingSession, BuildsTheWorkedExampleFromAnEmptyStart) {
    TSeparatorGuard Point(QLatin1Char('.'));

    // An action, named and valued in the grid.
    Click(Form->AddSimpleElementAction().Button);
    TypeKeys("Dike");
    PressKey(Qt::Key_Return);
    TypeIntoCell(2, TActionsGridModel::FirstValueColumn, "2.5");

    // Its colour through "Edit measure": the custom entry of the colour box.
    EditMeasure(2, [this](TAddMeasureForm& Dialog) {
        EXPECT_EQ(Dialog.MeasureName(), "Dike");
        Script.AnswerColor(RGBToColor(0xC0, 0xA0, 0x40));
        QTest::keyClick(Dialog.ColorBox(), Qt::Key_Home);
    });

    // "Define pathway" refuses the current situation: it stops being the
    // present action for a moment.
    EditMeasure(1, [](TAddMeasureForm& Dialog) {
        ASSERT_TRUE(Dialog.PresentActionChecked());
        QTest::mouseClick(Dialog.PresentActionCheckBox(), Qt::LeftButton);
    });
    Script.OnExec([](QDialog* Dialog) {
        auto* Define = qobject_cast<TAddCombinationForm*>(Dialog);
        EXPECT_NE(Define, nullptr);
        if (!Define)
            return int(QDialog::Rejected);
        Define->setResult(QDialog::Rejected);
        // Current Situation, then Dike, in sequence.
        QListWidget* Second = Define->SecondListBox();
        QTest::mouseClick(Second->viewport(), Qt::LeftButton, {},
                          Second->visualItemRect(Second->item(1)).center());
        Define->MethodComboBox()->setFocus();
        QTest::keyClick(Define->MethodComboBox(), Qt::Key_Down);
        QTest::mouseClick(Define->OKButton(), Qt::LeftButton);
        return Define->result();
    });
    Click(Form->CombineAction().Button);
    ASSERT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Grid->Cells(2, 3), "Current Situation + Dike");
    EXPECT_EQ(Grid->Cells(3, 3), "Sequence");
    TypeIntoCell(3, TActionsGridModel::FirstValueColumn, "6");
    EditMeasure(1, [](TAddMeasureForm& Dialog) {
        QTest::mouseClick(Dialog.PresentActionCheckBox(), Qt::LeftButton);
    });
    EXPECT_EQ(Grid->Cells(0, 1), "-->1");

    // The scenario Wet, its values typed into the matrix as they should read.
    Script.OnExec([this](QDialog* Dialog) {
        auto* Define = qobject_cast<TScenarioDefinitionForm*>(Dialog);
        EXPECT_NE(Define, nullptr);
        if (!Define)
            return int(QDialog::Rejected);
        Define->setResult(QDialog::Rejected);
        Script.OnExec([](QDialog* AddDialog) {
            auto* Add = qobject_cast<TAddScenarioForm*>(AddDialog);
            EXPECT_NE(Add, nullptr);
            if (!Add)
                return int(QDialog::Rejected);
            Add->setResult(QDialog::Rejected);
            Retype(Add->NameEdit(), "Wet");
            Retype(Add->FirstValueEdit(), "0");
            Add->LastYearSpinEdit()->setFocus();
            QTest::keyClick(Add->LastYearSpinEdit(), Qt::Key_Down);
            Retype(Add->LastValueEdit(), "4");
            Add->UpdateActions();
            QTest::mouseClick(Add->OKButton(), Qt::LeftButton);
            return Add->result();
        });
        Define->UpdateActions();
        QTest::mouseClick(Define->AddScenarioButton(), Qt::LeftButton);
        TScenarioMatrixView* Matrix = Define->MatrixView();
        const char* Values[] = {"0", "0.5", "1", "1.5", "2", "2.5", "3", "3.5", "4"};
        for (int Row = 1; Row <= 9; ++Row) {
            Matrix->setFocus();
            Matrix->SetCurrentCell(1, Row);
            QTest::keyClick(Matrix, Qt::Key_F2);
            QLineEdit* Editor = Matrix->CellEditor();
            EXPECT_NE(Editor, nullptr);
            if (!Editor)
                break;
            QTest::keyClick(Editor, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(Editor, QString::fromLatin1(Values[Row - 1]));
            QTest::keyClick(Editor, Qt::Key_Return);
            Settle();
        }
        QTest::mouseClick(Define->OKButton(), Qt::LeftButton);
        return Define->result();
    });
    Click(Form->ScenarioEditAction().Button);

    // Saved under a name the user gives.
    const QString Name = Dir.filePath("dike.pathway");
    Script.AnswerSaveFile(Name);
    Click(Form->SaveAction().Button);
    EXPECT_EQ(ReadAll(Name), ReadAll(CORVINAL_TEST_DATA "/dike.pathway"));
    EXPECT_FALSE(Form->DocumentIsDirty());
    EXPECT_TRUE(Script.Errors.isEmpty()) << Script.Errors.join("; ").toStdString();
    EXPECT_TRUE(Script.AllAnswered());
}

} // namespace
