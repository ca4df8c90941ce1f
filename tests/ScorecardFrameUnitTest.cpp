#include "ui/ScorecardFrameUnit.h"

#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "tests/support/UserInput.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Scorecard : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpScenarioYears(Scenarios);
        AddScenarioColumn(Scenarios, "Wet", {"0", "10", "20", "30", "40", "50"});
        List.SetTippingTimeValuesCount(1);
        TElement* Current = List.AddSimpleElement("Current Situation", clGray, 10, 0, 1);
        List.SetCurrentElementID(Current->ID());
        Dike = List.AddSimpleElement("Dike", clBlue, 2.5, 1000, 20);
        AddTestPathway(List, Current, Dike, ctSequence, 45.125);
        Frame.SetDocument(&List, &Scenarios);
        Frame.resize(1200, 300);
        Frame.show();
        QApplication::setActiveWindow(&Frame);
    }
    int Column(TScorecard::TColumnKind Kind) const {
        return Frame.Model()->Scorecard()->ColumnOf(Kind);
    }

    TScriptedModal Script;
    TElementsList List;
    TScenarioFrame Scenarios;
    TElement* Dike = nullptr;
    TScorecardFrame Frame;
};

TEST_F(Scorecard, ShowsTheNumbersBehindTheMap) {
    QStringList Captions;
    for (int Col = 0; Col < Frame.Model()->columnCount(); ++Col)
        Captions << Frame.Model()->headerData(Col, Qt::Horizontal).toString();
    EXPECT_EQ(Captions, QStringList({"ID", "Color", "Action or Pathway", "Type", "Preferred",
                                     "Condition tipping point", "Initial Costs", "Transfer Costs",
                                     "Recurrent Costs", "Lead Time", "Wet"}));
    const auto Cell = [this](int Row, TScorecard::TColumnKind Kind) {
        return Frame.Model()->index(Row, Column(Kind)).data().toString();
    };
    EXPECT_EQ(Cell(0, TScorecard::ckID), "-->1");
    EXPECT_EQ(Cell(2, TScorecard::ckType), "Sequence");
    EXPECT_EQ(Cell(1, TScorecard::ckInitialCosts), QString("1000") + DecimalSeparator() + "00");
    EXPECT_EQ(Cell(2, TScorecard::ckTippingYear), "2055");
    // Only the costs, and an action's lead time, are typed into: a pathway
    // takes the lead time of the action it changes to.
    const int LeadTime = Column(TScorecard::ckLeadTime);
    for (int Row : {1, 2})
        for (int Col = 0; Col < Frame.Model()->columnCount(); ++Col)
            EXPECT_EQ(
                bool(Frame.Model()->flags(Frame.Model()->index(Row, Col)) & Qt::ItemIsEditable),
                Frame.Model()->IsCostColumn(Col) || (Col == LeadTime && Row == 1))
                << Row << ", " << Col;
    // It follows a change once refreshed.
    Dike->SetCaption("Dike ring");
    Frame.Refresh();
    EXPECT_EQ(Cell(1, TScorecard::ckName), "Dike ring");
}

// The preferred route's check box, clicked or toggled with the space bar,
// asks for the change; the element changes only through the window.
TEST_F(Scorecard, ThePreferredRouteIsCheckedInItsColumn) {
    QSignalSpy Toggled(Frame.Model(), &TScorecardModel::PreferredToggled);
    const QModelIndex Cell = Frame.Model()->index(2, Column(TScorecard::ckPreferred));
    EXPECT_EQ(Cell.data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    TScorecardView* View = Frame.View();
    View->scrollTo(Cell);
    const QRect Box = View->visualRect(Cell);
    // The check box stands at the cell's left, as the style draws it.
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {},
                      QPoint(Box.left() + Box.height() / 2, Box.center().y()));
    ASSERT_EQ(Toggled.size(), 1);
    EXPECT_EQ(Toggled.first().at(0).toInt(), 2);
    EXPECT_FALSE(List.Elements(2)->Preferred());
    List.Elements(2)->SetPreferred(true);
    Frame.Refresh();
    EXPECT_EQ(Cell.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    View->setFocus();
    View->setCurrentIndex(Cell);
    PressKey(Qt::Key_Space);
    EXPECT_EQ(Toggled.size(), 2);
}

TEST_F(Scorecard, CostsAreTypedAndHandedOnWhenChanged) {
    QSignalSpy Edited(&Frame, &TScorecardFrame::CostEdited);
    TScorecardView* View = Frame.View();
    View->setFocus();
    View->setCurrentIndex(Frame.Model()->index(1, Column(TScorecard::ckRecurrentCosts)));
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(View->IsEditing());
    PressKey(Qt::Key_Return); // unchanged: nothing
    EXPECT_EQ(Edited.size(), 0);
    PressKey(Qt::Key_F2);
    ASSERT_TRUE(View->IsEditing());
    PressKey(Qt::Key_A, Qt::ControlModifier);
    TypeKeys("35");
    PressKey(Qt::Key_Return);
    ASSERT_EQ(Edited.size(), 1);
    EXPECT_EQ(Edited.first().at(0).toInt(), 1); // Dike's list index
    EXPECT_EQ(Edited.first().at(1).toInt(), Column(TScorecard::ckRecurrentCosts));
    EXPECT_EQ(Edited.first().at(2).toString(), "35");
}

TEST_F(Scorecard, CtrlCCopiesTheSelectedCellsForASpreadsheet) {
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        Frame.Refresh();
        TScorecardView* View = Frame.View();
        View->setFocus();
        const QModelIndex From = Frame.Model()->index(1, Column(TScorecard::ckName));
        const QModelIndex To = Frame.Model()->index(2, Column(TScorecard::ckTippingValue));
        View->selectionModel()->select(QItemSelection(From, To),
                                       QItemSelectionModel::ClearAndSelect);
        QApplication::clipboard()->clear();
        QTest::keyClick(View, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(),
                  QString("Dike\tAction\t\t2") + Sep + "5\n" +
                      "Current Situation + Dike\tSequence\t\t45" + Sep + "125\n");
    }
}

TEST_F(Scorecard, SelectingARowIsReported) {
    QSignalSpy Selected(&Frame, &TScorecardFrame::RowSelected);
    QTest::mouseClick(Frame.View()->viewport(), Qt::LeftButton, {},
                      Frame.View()->visualRect(Frame.Model()->index(2, 2)).center());
    ASSERT_EQ(Selected.size(), 1);
    EXPECT_EQ(Selected.first().first().toInt(), 2);
    // Set from outside, it is not reported back.
    Frame.SelectRow(1);
    EXPECT_EQ(Frame.CurrentRow(), 1);
    EXPECT_EQ(Selected.size(), 1);
}

} // namespace

Q_DECLARE_METATYPE(TElement*)
