#include "scenarios/ScenarioDefinitionUnit.h"
#include "scenarios/AddScenarioFormUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "widgets/FloatEditUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Shows a window as the active one, where the keys go.
void Activate(QWidget* Window) {
    Window->show();
    QApplication::setActiveWindow(Window);
    QApplication::processEvents();
}

// Clicks a button as the event loop would deliver it, so that an error
// raised by the click reaches the application's error report.
void ClickThroughEventLoop(QPushButton* Button) {
    QMetaObject::invokeMethod(Button, "click", Qt::QueuedConnection);
    QCoreApplication::processEvents();
}

// The main window's side of the dialog: a scenario table, copied into the
// dialog before it shows and back when it ends with OK.
class ScenarioDefinition : public ::testing::Test {
protected:
    ScenarioDefinition() { SetUpScenarioYears(Table); }
    ~ScenarioDefinition() override { Form.hide(); }

    void AddToTable(const QString& Caption, const QStringList& Cells) {
        AddScenarioColumn(Table, Caption, Cells);
    }
    // What the "Scenarios" command of the main window does; Play is the user.
    int RunScenariosCommand(double MaxTippingPointValue, std::function<void()> Play) {
        Form.LoadMatrix(Table.ScenariosStringGrid());
        Form.SetMaxTippingPointValue(MaxTippingPointValue);
        Script.OnExec([this, Play](QDialog* Dialog) {
            Activate(Dialog);
            Play();
            return Dialog->isVisible() ? int(QDialog::Rejected) : Dialog->result();
        });
        const int Result = Modal().Exec(&Form);
        if (Result == QDialog::Accepted) {
            TScenarioFrame::CopyScenarioValues(Form.ScenarioMatrixGrid(),
                                               Table.ScenariosStringGrid());
            Table.SetScenarioIsDirty(true);
        }
        return Result;
    }
    // Shows the dialog on the table without running the command.
    void Open() {
        Form.LoadMatrix(Table.ScenariosStringGrid());
        Activate(&Form);
    }

    // The add dialog, played by Play when it shows. The definition dialog
    // below it becomes active again when it closes.
    void WhenAddDialogShows(std::function<void(TAddScenarioForm*)> Play) {
        Script.OnExec([this, Play](QDialog* Dialog) {
            Activate(Dialog);
            Play(static_cast<TAddScenarioForm*>(Dialog));
            const int Result = Dialog->isVisible() ? int(QDialog::Rejected) : Dialog->result();
            Dialog->hide();
            Activate(&Form);
            return Result;
        });
    }
    static void Click(QPushButton* Button) {
        ASSERT_TRUE(Button->isEnabled()) << Button->text().toStdString();
        QTest::mouseClick(Button, Qt::LeftButton);
    }
    void ClickCommand(QPushButton* Button) {
        Form.UpdateActions(); // the idle moment before the user's click
        Click(Button);
    }
    void ClickCell(int Col, int Row) {
        TScenarioMatrixView* View = Form.MatrixView();
        QTest::mouseClick(View->viewport(), Qt::LeftButton, Qt::NoModifier,
                          View->CellRect(Col, Row).center());
    }
    // Keys go where the focus is, as the user's do.
    static void Press(Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QWidget* Focus = QApplication::focusWidget();
        ASSERT_NE(Focus, nullptr);
        QTest::keyClick(Focus, Key, Modifiers);
    }
    static void Type(const QString& Keys) {
        QWidget* Focus = QApplication::focusWidget();
        ASSERT_NE(Focus, nullptr);
        QTest::keyClicks(Focus, Keys);
    }
    static void ReplaceText(QLineEdit* Field, const QString& Keys) {
        Field->setFocus();
        Field->selectAll();
        QTest::keyClicks(Field, Keys);
    }

    const TCellGrid& Matrix() const { return Form.ScenarioMatrixGrid(); }
    QStringList Column(const TCellGrid& Grid, int Col) const {
        QStringList Cells;
        for (int R = 1; R < Grid.RowCount(); ++R)
            Cells << Grid.Cells(Col, R);
        return Cells;
    }
    QStringList Captions(const TCellGrid& Grid) const {
        QStringList Result;
        for (int C = 1; C < Grid.ColCount(); ++C)
            Result << Grid.Cells(C, 0);
        return Result;
    }
    bool Enabled(QAction* Action) {
        Form.UpdateActions();
        return Action->isEnabled();
    }

    TScriptedModal Script;
    TScenarioFrame Table;
    TScenarioDefinitionForm Form;
};

TEST_F(ScenarioDefinition, Layout) {
    EXPECT_EQ(Form.windowTitle(), "ScenarioDefinitionForm");
    EXPECT_EQ(Form.size(), QSize(615, 300));
    TScenarioMatrixView* View = Form.MatrixView();
    EXPECT_EQ(View->geometry(), QRect(0, 0, 471, 259));
    EXPECT_EQ(Form.CommandPanel()->geometry(), QRect(471, 0, 144, 259));
    EXPECT_EQ(Form.ButtonBar()->geometry(), QRect(0, 259, 615, 41));
    const struct {
        QPushButton* Button;
        const char* Caption;
        QRect Geometry;
    } Buttons[] = {
        {Form.AddScenarioButton(), "Add Scenario", QRect(6, 16, 123, 22)},
        {Form.RenameScenarioButton(), "Rename Scenario", QRect(6, 44, 123, 22)},
        {Form.InterpolateEmptyCellsButton(), "Interpolate Empty Cells", QRect(6, 72, 123, 22)},
        {Form.DeleteScenarioButton(), "Delete Scenario", QRect(6, 136, 123, 22)},
        {Form.CancelButton(), "Cancel", QRect(424, 6, 75, 25)},
        {Form.OKButton(), "OK", QRect(515, 6, 75, 25)},
    };
    QList<QKeySequence> Mnemonics;
    for (const auto& B : Buttons) {
        // The ampersand only underlines the letter that Alt presses.
        EXPECT_EQ(QString(B.Button->text()).remove('&'), B.Caption);
        const QRect Shown = B.Button->geometry();
        if (B.Button->parentWidget() == Form.CommandPanel()) {
            // Where the face is wider than Tahoma, the commands widen
            // together inside the panel instead of cutting their captions.
            EXPECT_EQ(Shown.top(), B.Geometry.top()) << B.Caption;
            EXPECT_EQ(Shown.height(), B.Geometry.height());
            EXPECT_GE(Shown.width(), std::max(B.Geometry.width(), B.Button->sizeHint().width()));
            EXPECT_GE(Shown.left(), 0);
            EXPECT_LE(Shown.right(), Form.CommandPanel()->width() - 1);
            EXPECT_EQ(Shown.left(), Form.AddScenarioButton()->x());
            EXPECT_EQ(Shown.width(), Form.AddScenarioButton()->width());
        } else {
            EXPECT_EQ(Shown, B.Geometry) << B.Caption;
        }
        const QKeySequence Mnemonic = QKeySequence::mnemonic(B.Button->text());
        if (!Mnemonic.isEmpty()) {
            EXPECT_FALSE(Mnemonics.contains(Mnemonic)) << B.Caption;
            Mnemonics << Mnemonic;
        }
    }
    EXPECT_EQ(Mnemonics.size(), 4); // every command has one
    EXPECT_TRUE(Form.OKButton()->isDefault());
    Activate(&Form);
    EXPECT_EQ(Form.frameGeometry().topLeft(),
              QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    Form.hide();

    AddToTable("Low", {"0", "5"});
    AddToTable("High", {"0", "10"});
    Open();
    EXPECT_EQ(View->verticalHeader()->width(), 64);
    EXPECT_EQ(View->columnWidth(0), 96);
    EXPECT_EQ(View->columnWidth(1), 96);
    EXPECT_EQ(View->horizontalHeader()->height(), 22);
    EXPECT_TRUE(View->horizontalHeader()->font().bold());
    EXPECT_TRUE(View->verticalHeader()->font().bold());
    // All ten years show without scrolling.
    EXPECT_LE(View->CellRect(1, 10).bottom(), View->viewport()->height());
}

TEST_F(ScenarioDefinition, ColumnsWidenForLongCaptionsAndKeepTheUsersWidth) {
    AddToTable("Low", {"1"});
    AddToTable("Extreme sea level rise after 2050", {"2"});
    AddToTable("High", {"3"});
    Open();
    TScenarioMatrixView* View = Form.MatrixView();
    QHeaderView* Header = View->horizontalHeader();
    EXPECT_EQ(View->columnWidth(0), 96);
    EXPECT_GT(View->columnWidth(1), 96);
    EXPECT_GE(View->columnWidth(1), Header->sectionSizeHint(1));
    // A width the user dragged stays; a renamed column fits its new caption.
    Header->resizeSection(2, 150);
    ClickCell(1, 1);
    Script.AnswerInput(QString("A much longer caption than before"));
    ClickCommand(Form.RenameScenarioButton());
    EXPECT_EQ(View->columnWidth(2), 150);
    EXPECT_GE(View->columnWidth(0), Header->sectionSizeHint(0));
    EXPECT_GT(View->columnWidth(0), 96);
}

TEST_F(ScenarioDefinition, ShowsTheTablesCopyWithYearsDownAndCaptionsAcross) {
    AddToTable("Low", {"0", "5"});
    AddToTable("High", {"0", "10", " 20 "});
    Open();
    TScenarioMatrixView* View = Form.MatrixView();
    QAbstractItemModel* Model = View->model();
    ASSERT_EQ(Model->columnCount(), 2);
    ASSERT_EQ(Model->rowCount(), 10);
    EXPECT_EQ(Model->headerData(0, Qt::Horizontal).toString(), "Low");
    EXPECT_EQ(Model->headerData(1, Qt::Horizontal).toString(), "High");
    EXPECT_EQ(Model->headerData(0, Qt::Vertical).toString(), "2010");
    EXPECT_EQ(Model->headerData(9, Qt::Vertical).toString(), "2100");
    EXPECT_EQ(Model->index(2, 1).data().toString(), " 20 ");
    for (int R = 0; R < Table.ScenariosStringGrid().RowCount(); ++R)
        for (int C = 0; C < Table.ScenariosStringGrid().ColCount(); ++C)
            EXPECT_EQ(Matrix().Cells(C, R), Table.ScenariosStringGrid().Cells(C, R));
    // The headers are no cells: the current cell is a value cell.
    EXPECT_EQ(View->Col(), 1);
    EXPECT_EQ(View->Row(), 1);
    // Clicking a caption or a year selects neither a column nor a row.
    ClickCell(2, 3);
    QTest::mouseClick(View->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(View->horizontalHeader()->sectionViewportPosition(0) + 10, 10));
    QTest::mouseClick(View->verticalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(10, View->verticalHeader()->sectionViewportPosition(5) + 5));
    EXPECT_EQ(View->Col(), 2);
    EXPECT_EQ(View->Row(), 3);
    EXPECT_EQ(View->selectionModel()->selectedIndexes().size(), 1);
}

TEST_F(ScenarioDefinition, TheFirstScenarioProposesZeroAndTheLargestTippingValueButAtLeast100) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        const struct {
            double MaxTippingPointValue;
            QString Proposed;
        } Cases[] = {{35, "100.00"}, {250, "250.00"}};
        for (const auto& Case : Cases) {
            QString First;
            QString Last;
            bool FirstEditable = false;
            RunScenariosCommand(Case.MaxTippingPointValue, [&] {
                WhenAddDialogShows([&](TAddScenarioForm* Add) {
                    First = Add->FirstValueEdit()->text();
                    Last = Add->LastValueEdit()->text();
                    FirstEditable = Add->FirstValueEdit()->isEnabled();
                    EXPECT_EQ(Add->ScenarioName(), "New Scenario");
                    Click(Add->CancelButton());
                });
                ClickCommand(Form.AddScenarioButton());
                Click(Form.CancelButton());
            });
            EXPECT_EQ(First, LocalNumber("0.00"));
            EXPECT_EQ(Last, LocalNumber(Case.Proposed));
            EXPECT_TRUE(FirstEditable);
            EXPECT_EQ(Matrix().ColCount(), 1); // cancelled
        }
    }
}

TEST_F(ScenarioDefinition, AddingUpTo2050WithAndWithoutInterpolation) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        for (bool Interpolate : {true, false}) {
            Table.SetupScenariosGrid();
            RunScenariosCommand(35, [&] {
                WhenAddDialogShows([&](TAddScenarioForm* Add) {
                    ReplaceText(Add->NameEdit(), "Moderate");
                    Add->LastYearSpinEdit()->setFocus();
                    while (Add->LastAnchorYear() > 2050)
                        Press(Qt::Key_Down);
                    ReplaceText(Add->LastValueEdit(), "40");
                    if (Add->AutoInterpolate() != Interpolate)
                        QTest::mouseClick(Add->AutoInterpolateCheckBox(), Qt::LeftButton, {},
                                          QPoint(6, Add->AutoInterpolateCheckBox()->height() / 2));
                    Add->UpdateActions();
                    Click(Add->OKButton());
                });
                ClickCommand(Form.AddScenarioButton());
                EXPECT_EQ(Form.MatrixView()->Col(), 1); // the new column is current
                Click(Form.OKButton());
            });
            const QStringList Expected =
                Interpolate
                    ? QStringList{"0.00", "10.00", "20.00", "30.00", "40.00", "", "", "", "", ""}
                    : QStringList{"0.00", "", "", "", "40.00", "", "", "", "", ""};
            EXPECT_EQ(Captions(Table.ScenariosStringGrid()), QStringList{"Moderate"});
            EXPECT_EQ(Column(Table.ScenariosStringGrid(), 1), LocalNumber(Expected)) << Interpolate;
            EXPECT_TRUE(Table.ScenarioIsDirty());
        }
    }
}

TEST_F(ScenarioDefinition, LeavingTheLastYearAt2100FillsEveryDecade) {
    TSeparatorGuard Guard('.');
    Open();
    WhenAddDialogShows([](TAddScenarioForm* Add) {
        ReplaceText(Add->LastValueEdit(), "90");
        Press(Qt::Key_Return);
    });
    ClickCommand(Form.AddScenarioButton());
    EXPECT_EQ(Column(Matrix(), 1), QStringList({"0.00", "10.00", "20.00", "30.00", "40.00", "50.00",
                                                "60.00", "70.00", "80.00", "90.00"}));
}

TEST_F(ScenarioDefinition, AFurtherScenarioStartsFromTheRightmostOneAndKeepsTheLastChoices) {
    TSeparatorGuard Guard(',');
    AddToTable("Low", {"3", "4"});
    Open();
    // The first use chooses 2070, 55 and no interpolation.
    WhenAddDialogShows([](TAddScenarioForm* Add) {
        EXPECT_FALSE(Add->FirstValueEdit()->isEnabled());
        EXPECT_EQ(Add->FirstValueEdit()->text(), "3,00");
        ReplaceText(Add->NameEdit(), "Mid");
        Add->LastYearSpinEdit()->setFocus();
        for (int I = 0; I < 3; ++I)
            Press(Qt::Key_Down);
        ReplaceText(Add->LastValueEdit(), "55,5");
        Add->AutoInterpolateCheckBox()->setFocus();
        Press(Qt::Key_Space);
        Add->UpdateActions();
        Click(Add->OKButton());
    });
    ClickCommand(Form.AddScenarioButton());
    ASSERT_EQ(Matrix().ColCount(), 3);
    EXPECT_EQ(Column(Matrix(), 2), QStringList({"3,00", "", "", "", "", "", "55,50", "", "", ""}));

    // The rightmost scenario now starts at 3,00; its 2010 cell is made
    // empty, which reads as 0.
    ClickCell(2, 1);
    Press(Qt::Key_F2);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(Matrix().Cells(2, 1), "");
    WhenAddDialogShows([](TAddScenarioForm* Add) {
        EXPECT_EQ(Add->ScenarioName(), "New Scenario");
        EXPECT_EQ(Add->FirstValueEdit()->text(), "0,00");
        EXPECT_FALSE(Add->FirstValueEdit()->isEnabled());
        EXPECT_EQ(Add->LastAnchorYear(), 2070);
        EXPECT_EQ(Add->LastValueEdit()->text(), "55,50");
        EXPECT_FALSE(Add->AutoInterpolate());
        Click(Add->CancelButton());
    });
    ClickCommand(Form.AddScenarioButton());
    EXPECT_EQ(Matrix().ColCount(), 3);
    EXPECT_TRUE(Script.AllAnswered());
}

TEST_F(ScenarioDefinition, ARightmost2010CellThatHoldsNoNumberStopsAddScenario) {
    TSeparatorGuard Guard('.');
    AddToTable("Odd", {"1..2"});
    Open();
    ClickThroughEventLoop(Form.AddScenarioButton());
    EXPECT_EQ(Script.Errors, QStringList{"Cell does not contain a float value"});
    EXPECT_TRUE(Script.ExecutedDialogs.isEmpty()); // the add dialog never showed
    EXPECT_EQ(Matrix().ColCount(), 2);
}

TEST_F(ScenarioDefinition, TypedValuesAreStoredAsTyped) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Table.SetupScenariosGrid();
        AddToTable("S", {"1", "2", "3"});
        Open();
        // F2 edits the clicked cell; only what can be a number gets in.
        ClickCell(1, 2);
        Press(Qt::Key_F2);
        ASSERT_TRUE(Form.MatrixView()->IsEditing());
        Press(Qt::Key_Backspace);
        Type(QString("-1a2") + Sep + "50" + Sep + "-");
        Press(Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_FALSE(Form.MatrixView()->IsEditing());
        EXPECT_EQ(Matrix().Cells(1, 2), QString("-12") + Sep + "50");
        // Typing a digit starts an edit that replaces the cell; Enter also starts one.
        ClickCell(1, 3);
        Type("7");
        Press(Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(Matrix().Cells(1, 3), "7");
        Press(Qt::Key_Return);
        ASSERT_TRUE(Form.MatrixView()->IsEditing());
        Press(Qt::Key_End);
        Type("5");
        Press(Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(Matrix().Cells(1, 3), "75");
        // A letter neither edits nor moves.
        Type("x");
        EXPECT_FALSE(Form.MatrixView()->IsEditing());
        EXPECT_EQ(Form.MatrixView()->Row(), 3);
        Form.hide();
    }
}

TEST_F(ScenarioDefinition, EscapeDropsAnEditAndThenCancelsTheDialog) {
    AddToTable("S", {"1", "2"});
    Open();
    QSignalSpy Rejected(&Form, &QDialog::rejected);
    ClickCell(1, 1);
    Type("9");
    ASSERT_TRUE(Form.MatrixView()->IsEditing());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Form.MatrixView()->IsEditing());
    EXPECT_EQ(Matrix().Cells(1, 1), "1");
    EXPECT_EQ(Rejected.count(), 0);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Rejected.count(), 1);
}

TEST_F(ScenarioDefinition, EnterEndsAnEditWithoutEndingTheDialogAndPressesAFocusedButton) {
    AddToTable("S", {"1", "2"});
    Open();
    QSignalSpy Accepted(&Form, &QDialog::accepted);
    ClickCell(1, 2);
    Press(Qt::Key_Enter);
    Type("4");
    Press(Qt::Key_Enter);
    QApplication::processEvents();
    EXPECT_EQ(Matrix().Cells(1, 2), "4");
    EXPECT_EQ(Accepted.count(), 0);
    EXPECT_TRUE(Form.isVisible());
    // Enter on a focused command button presses it, as everywhere.
    Script.OnExec([](QDialog* Dialog) { return Dialog->result(); });
    Form.AddScenarioButton()->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(Accepted.count(), 0);
    EXPECT_EQ(Script.ExecutedDialogs, QStringList{"TAddScenarioForm"});
}

TEST_F(ScenarioDefinition, TabMovesWithinTheMatrixAndCtrlTabLeavesIt) {
    AddToTable("A", {"1"});
    AddToTable("B", {"2"});
    Open();
    TScenarioMatrixView* View = Form.MatrixView();
    ASSERT_EQ(QApplication::focusWidget(), View);
    Press(Qt::Key_Tab);
    EXPECT_EQ(View->Col(), 2);
    EXPECT_EQ(QApplication::focusWidget(), View);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), Form.AddScenarioButton());
    Press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Form.RenameScenarioButton());
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), View);
    // Tab in an open editor keeps the edit and edits the next cell.
    Press(Qt::Key_Left);
    Type("4");
    Press(Qt::Key_Tab);
    EXPECT_EQ(Matrix().Cells(1, 1), "4");
    EXPECT_EQ(View->Col(), 2);
    ASSERT_TRUE(View->IsEditing());
    Press(Qt::Key_Escape);
    // Leaving backwards from an open editor keeps what was typed.
    Type("8");
    ASSERT_TRUE(View->IsEditing());
    Press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(View->IsEditing());
    EXPECT_EQ(QApplication::focusWidget(), Form.OKButton());
    EXPECT_EQ(Matrix().Cells(2, 1), "8");
}

TEST_F(ScenarioDefinition, InterpolateEmptyCellsFillsOneGapPerUse) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Table.SetupScenariosGrid();
        AddToTable("Full", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
        AddToTable("Gaps", {"10", "", "", "", "50", "", "70", "", "", ""});
        Open();
        ClickCell(2, 4);
        ClickCommand(Form.InterpolateEmptyCellsButton());
        EXPECT_EQ(Column(Matrix(), 2), LocalNumber(QStringList({"10", "20.00", "30.00", "40.00",
                                                                "50", "", "70", "", "", ""})));
        ClickCommand(Form.InterpolateEmptyCellsButton());
        EXPECT_EQ(Matrix().Cells(2, 6), LocalNumber("60.00"));
        EXPECT_TRUE(Script.Messages.isEmpty());
        const QStringList Before = Column(Matrix(), 2);
        ClickCommand(Form.InterpolateEmptyCellsButton());
        EXPECT_EQ(Script.Messages, QStringList{"Assign at least two values in column 2"});
        EXPECT_EQ(Column(Matrix(), 2), Before);
        // A full column: nothing to do, nothing to say.
        ClickCell(1, 7);
        ClickCommand(Form.InterpolateEmptyCellsButton());
        EXPECT_EQ(Script.Messages.size(), 1);
        EXPECT_EQ(Column(Matrix(), 1).last(), "10");
        Script.Messages.clear();
        Form.hide();
    }
}

TEST_F(ScenarioDefinition, AnEmpty2010CellLeavesTheColumnAsItIsWithTheMessage) {
    AddToTable("New Scenario", {"", "", "30", "", "", "", "", "", "", "100"});
    Open();
    const QStringList Before = Column(Matrix(), 1);
    ClickCommand(Form.InterpolateEmptyCellsButton());
    EXPECT_EQ(Script.Messages, QStringList{"Assign at least two values in column 1"});
    EXPECT_EQ(Script.MessageParents, QList<QWidget*>{&Form});
    EXPECT_TRUE(Script.Errors.isEmpty());
    EXPECT_EQ(Column(Matrix(), 1), Before);
}

TEST_F(ScenarioDefinition, RenameTakesTheEditedTextAndCancelKeepsTheCaption) {
    AddToTable("Low", {"1"});
    AddToTable("High", {"2"});
    Open();
    ClickCell(2, 1);
    Script.AnswerInput(std::nullopt);
    ClickCommand(Form.RenameScenarioButton());
    EXPECT_EQ(Captions(Matrix()), QStringList({"Low", "High"}));
    EXPECT_EQ(Script.InputTitles, QStringList{"Enter new scenario name"});
    EXPECT_EQ(Script.InputPrompts, QStringList{"New name"});
    EXPECT_EQ(Script.InputInitialTexts, QStringList{"High"});
    for (const QString& Name : {QString("Very high"), QString()}) {
        Script.AnswerInput(Name);
        ClickCommand(Form.RenameScenarioButton());
        EXPECT_EQ(Captions(Matrix()), QStringList({"Low", Name}));
        EXPECT_EQ(Form.MatrixView()->model()->headerData(1, Qt::Horizontal).toString(), Name);
    }
    EXPECT_EQ(Script.InputParents, (QList<QWidget*>{&Form, &Form, &Form}));
}

TEST_F(ScenarioDefinition, DeleteAsksFirstAndMovesTheColumnsOnTheRightLeft) {
    AddToTable("A", {"1"});
    AddToTable("B", {"2"});
    AddToTable("C", {"3"});
    Open();
    ClickCell(2, 1);
    Script.AnswerConfirm(false);
    ClickCommand(Form.DeleteScenarioButton());
    EXPECT_EQ(Script.Confirmations, QStringList{"Delete scenario \"B\"?"});
    EXPECT_EQ(Script.ConfirmParents, QList<QWidget*>{&Form});
    EXPECT_EQ(Captions(Matrix()), QStringList({"A", "B", "C"}));
    Script.AnswerConfirm(true);
    ClickCommand(Form.DeleteScenarioButton());
    EXPECT_EQ(Captions(Matrix()), QStringList({"A", "C"}));
    EXPECT_EQ(Matrix().Cells(2, 1), "3");
    // The scenario that moved into its place is the current one.
    EXPECT_EQ(Form.MatrixView()->Col(), 2);
    Script.AnswerConfirm(true);
    ClickCommand(Form.DeleteScenarioButton());
    EXPECT_EQ(Script.Confirmations.last(), "Delete scenario \"C\"?");
    EXPECT_EQ(Form.MatrixView()->Col(), 1);
}

TEST_F(ScenarioDefinition, DeletingTheOnlyScenarioLeavesOnlyTheAddCommand) {
    AddToTable("Only", {"1", "2"});
    Open();
    EXPECT_TRUE(Enabled(Form.RenameScenarioAction()));
    EXPECT_TRUE(Enabled(Form.InterpolateEmptyCellsAction()));
    EXPECT_TRUE(Enabled(Form.DeleteScenarioAction()));
    Script.AnswerConfirm(true);
    ClickCommand(Form.DeleteScenarioButton());
    EXPECT_EQ(Matrix().ColCount(), 1);
    EXPECT_EQ(Column(Matrix(), 0).first(), "2010");
    Form.UpdateActions();
    EXPECT_TRUE(Form.AddScenarioButton()->isEnabled());
    EXPECT_FALSE(Form.RenameScenarioButton()->isEnabled());
    EXPECT_FALSE(Form.InterpolateEmptyCellsButton()->isEnabled());
    EXPECT_FALSE(Form.DeleteScenarioButton()->isEnabled());
    // With nothing left to edit, Enter in the matrix is OK's.
    QSignalSpy Accepted(&Form, &QDialog::accepted);
    Form.MatrixView()->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(Accepted.count(), 1);
}

TEST_F(ScenarioDefinition, TheCommandsFollowTheCurrentCellWhenTheApplicationIsIdle) {
    Open();
    // What the event loop tells when it runs out of work and waits.
    Q_EMIT QAbstractEventDispatcher::instance()->aboutToBlock();
    EXPECT_TRUE(Form.AddScenarioButton()->isEnabled());
    EXPECT_FALSE(Form.RenameScenarioButton()->isEnabled());
    EXPECT_FALSE(Form.DeleteScenarioButton()->isEnabled());
    AddToTable("S", {"1"});
    Form.LoadMatrix(Table.ScenariosStringGrid());
    Q_EMIT QAbstractEventDispatcher::instance()->aboutToBlock();
    EXPECT_TRUE(Form.RenameScenarioButton()->isEnabled());
    EXPECT_TRUE(Form.InterpolateEmptyCellsButton()->isEnabled());
    EXPECT_TRUE(Form.DeleteScenarioButton()->isEnabled());
}

TEST_F(ScenarioDefinition, CancelLeavesTheTableAndItsDirtyFlagAsTheyWere) {
    AddToTable("Low", {"1", "2"});
    AddToTable("High", {"3", "4"});
    const TCellGrid Before = Table.ScenariosStringGrid();
    const int Result = RunScenariosCommand(10, [&] {
        WhenAddDialogShows([](TAddScenarioForm* Add) {
            ReplaceText(Add->LastValueEdit(), "9");
            Add->UpdateActions();
            Click(Add->OKButton());
        });
        ClickCommand(Form.AddScenarioButton());
        Script.AnswerInput(QString("Renamed"));
        ClickCommand(Form.RenameScenarioButton());
        ClickCell(1, 2);
        Script.AnswerConfirm(true);
        ClickCommand(Form.DeleteScenarioButton());
        ClickCell(2, 1);
        Type("5");
        ASSERT_EQ(Captions(Matrix()), QStringList({"High", "Renamed"}));
        Click(Form.CancelButton());
    });
    EXPECT_EQ(Result, QDialog::Rejected);
    EXPECT_FALSE(Table.ScenarioIsDirty());
    const TCellGrid& After = Table.ScenariosStringGrid();
    ASSERT_EQ(After.ColCount(), Before.ColCount());
    for (int C = 0; C < Before.ColCount(); ++C)
        EXPECT_EQ(Column(After, C), Column(Before, C));
    EXPECT_EQ(Captions(After), QStringList({"Low", "High"}));
    // The next showing starts from the table again, with no edit open.
    Open();
    EXPECT_EQ(Captions(Matrix()), QStringList({"Low", "High"}));
    EXPECT_FALSE(Form.MatrixView()->IsEditing());
}

TEST_F(ScenarioDefinition, OKHandsBackEveryCellAnOpenEditIncluded) {
    AddToTable("Low", {"1", "2"});
    const int Result = RunScenariosCommand(10, [&] {
        ClickCell(1, 2);
        Type("6");
        ASSERT_TRUE(Form.MatrixView()->IsEditing());
        Click(Form.OKButton());
    });
    EXPECT_EQ(Result, QDialog::Accepted);
    EXPECT_EQ(Column(Table.ScenariosStringGrid(), 1).mid(0, 2), QStringList({"1", "6"}));
    EXPECT_EQ(Captions(Table.ScenariosStringGrid()), QStringList{"Low"});
}

TEST_F(ScenarioDefinition, TheAddDialogIsCreatedOnceAndReused) {
    TAddScenarioForm* Add = Form.AddScenarioForm();
    ASSERT_NE(Add, nullptr);
    Open();
    WhenAddDialogShows([](TAddScenarioForm* Shown) { Click(Shown->CancelButton()); });
    ClickCommand(Form.AddScenarioButton());
    EXPECT_EQ(Form.AddScenarioForm(), Add);
    EXPECT_EQ(Script.ExecutedDialogs, QStringList{"TAddScenarioForm"});
}

} // namespace
