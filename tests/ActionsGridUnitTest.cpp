#include "ui/ActionsGridUnit.h"

#include "map/CanvasUnit.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QColor LightBlue(166, 202, 240);
const QColor Red(255, 0, 0);
const QColor Cream(255, 251, 240);
const QColor Related(255, 240, 245);

// A grid over its own list, both owned by the test.
class ActionsGridTest : public ::testing::Test {
protected:
    void SetUp() override { Grid.resize(900, 300); }

    TElement* AddAction(const QString& Name, double Value, TColor Color = clRed) {
        return List.AddSimpleElement(Name, Color, Value, 0, 0);
    }
    TElement* AddPathway(TElement* First, TElement* Second, TCombinationType Type, double Value) {
        return AddTestPathway(List, First, Second, Type, Value);
    }
    void Show() {
        Grid.SetElementsList(&List);
        Grid.show();
        QApplication::processEvents();
    }
    QColor Color(int Col, int Row) const { return Grid.Model()->CellColor(Col, Row); }
    // Where a cell of the fixed columns lies in the grid widget.
    QRect FixedCellRect(int Col, int Row) const {
        TFixedColumnsView* View = Grid.FixedColumnsView();
        const QRect Rect = View->visualRect(Grid.Model()->index(Row - 1, Col));
        return Rect.translated(View->viewport()->mapTo(&Grid, QPoint(0, 0)));
    }
    QRect DataCellRect(int Col, int Row) const {
        const QRect Rect = Grid.visualRect(Grid.Model()->index(Row - 1, Col));
        return Rect.translated(Grid.viewport()->mapTo(&Grid, QPoint(0, 0)));
    }
    QImage Render() {
        QApplication::processEvents();
        return Grid.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    TElementsList List;
    TActionsStringGrid Grid;
};

void SendMouse(QWidget* Target, QEvent::Type Type, const QPoint& Pos) {
    QMouseEvent Event(Type, QPointF(Pos), QPointF(Target->mapToGlobal(Pos)), Qt::LeftButton,
                      Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Target, &Event);
}

void Click(QWidget* Target, const QPoint& Press, const QPoint& Release) {
    SendMouse(Target, QEvent::MouseButtonPress, Press);
    SendMouse(Target, QEvent::MouseButtonRelease, Release);
}

} // namespace

TEST_F(ActionsGridTest, ActionBelowTheCurrentSituationIsRed) {
    TElement* A = AddAction("A", 10);
    AddAction("B", 5);
    AddAction("C", 10);
    List.SetCurrentElementID(A->ID());
    Show();
    EXPECT_EQ(Color(4, 1), LightBlue);
    EXPECT_EQ(Color(4, 2), Red);
    EXPECT_EQ(Color(4, 3), LightBlue) << "equal values give no warning";
    EXPECT_EQ(Grid.Cells(0, 1), "-->" + QString::number(A->ID()));
    EXPECT_EQ(Grid.Cells(0, 2), "2");
    EXPECT_EQ(Grid.Cells(0, 3), "3");
}

TEST_F(ActionsGridTest, NoCurrentElementGivesNoMarkerAndNoWarning) {
    for (int32_t CurrentID : {-1, 99}) {
        TElementsList Own;
        Own.AddSimpleElement("A", clRed, 10, 0, 0);
        Own.AddSimpleElement("B", clRed, 5, 0, 0);
        Own.SetCurrentElementID(CurrentID);
        Grid.SetElementsList(&Own);
        for (int Row : {1, 2}) {
            EXPECT_FALSE(Grid.Cells(0, Row).startsWith("-->")) << CurrentID;
            EXPECT_EQ(Color(4, Row), LightBlue) << CurrentID;
        }
        Grid.SetElementsList(nullptr);
    }
}

TEST_F(ActionsGridTest, PathwayElementIsComparedWithItsPredecessor) {
    TElement* Current = AddAction("Current Situation", 1);
    List.SetCurrentElementID(Current->ID());
    TElement* A = AddAction("A", 10);
    TElement* B = AddAction("B", 20, clBlue);
    TElement* AB = AddPathway(A, B, ctSequence, 10);
    Show();
    const int Row = Grid.RowOfElement(AB);
    struct {
        double Value;
        QColor Expected;
    } const Cases[] = {{10, LightBlue}, {9, Red}, {11, LightBlue}};
    for (const auto& Case : Cases) {
        AB->SetTippingPointValue(Case.Value);
        Grid.DrawActionsStringGrid();
        EXPECT_EQ(Color(4, Row), Case.Expected) << Case.Value;
    }
    // Below the current situation, but pathway elements only look back.
    AB->SetTippingPointValue(0.5);
    A->SetTippingPointValue(0);
    Grid.DrawElementRow(AB, Row);
    EXPECT_EQ(Color(4, Row), LightBlue);
    // A predecessor that went missing gives no warning.
    AB->SetTippingPointValue(-5);
    AB->SetPredecessorID(77);
    EXPECT_EQ(Color(4, Row), LightBlue);
}

TEST_F(ActionsGridTest, TimeColumnsAreCheckedOneByOne) {
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(3);
    List.SetTippingTimeColumnCaption(1, "2050");
    List.SetTippingTimeColumnCaption(2, "2100");
    TElement* Current = AddAction("Current Situation", 0);
    TElement* A = AddAction("A", 0);
    const double CurrentValues[] = {10, 20, 30};
    const double AValues[] = {5, 25, 30};
    for (int I = 0; I < 3; ++I) {
        Current->SetTippingTimeValue(I, CurrentValues[I]);
        A->SetTippingTimeValue(I, AValues[I]);
    }
    List.SetCurrentElementID(Current->ID());
    Show();
    EXPECT_EQ(Grid.ColCount(), 7);
    const QStringList Headers = {"ID",   "Color", "Action or Pathway", "Type of pathway", "Time0",
                                 "2050", "2100"};
    for (int Col = 0; Col < 7; ++Col)
        EXPECT_EQ(Grid.Cells(Col, 0), Headers[Col]) << Col;
    EXPECT_EQ(Color(4, 2), Red);
    EXPECT_EQ(Color(5, 2), LightBlue);
    EXPECT_EQ(Color(6, 2), LightBlue);
    for (int Col = 4; Col < 7; ++Col)
        EXPECT_EQ(Color(Col, 1), LightBlue) << Col;
}

TEST_F(ActionsGridTest, ColumnsFollowThePathwayType) {
    AddAction("A", 1);
    Show();
    EXPECT_EQ(Grid.ColCount(), 5);
    EXPECT_EQ(Grid.RowCount(), 2);
    const QStringList Headers = {"ID", "Color", "Action or Pathway", "Type of pathway",
                                 "Condition tipping point"};
    for (int Col = 0; Col < 5; ++Col)
        EXPECT_EQ(Grid.Cells(Col, 0), Headers[Col]) << Col;

    List.SetPathwayType(ptTimeBased);
    for (int32_t Count : {1, 4, 2, 0}) {
        List.SetTippingTimeValuesCount(Count);
        Grid.DrawActionsStringGrid();
        EXPECT_EQ(Grid.ColCount(), Count + 4) << Count;
        EXPECT_EQ(Grid.Model()->columnCount(), Count + 4) << Count;
        for (int I = 0; I < Count; ++I)
            EXPECT_EQ(Grid.Cells(4 + I, 0), List.TippingTimeColumnCaption(I)) << Count;
        // Only the id and colour columns show in the fixed part.
        for (int Col = 2; Col < Grid.ColCount(); ++Col)
            EXPECT_TRUE(Grid.FixedColumnsView()->isColumnHidden(Col)) << Col;
    }
    List.SetPathwayType(ptConditionBased);
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.ColCount(), 5);
    EXPECT_EQ(Grid.Cells(4, 0), "Condition tipping point");
}

TEST_F(ActionsGridTest, TypeCellOfAnActionIsEmptyCreamAndReadOnly) {
    TElement* A = AddAction("A", 1);
    TElement* B = AddAction("B", 2);
    AddPathway(A, B, ctCombine, 1);
    AddPathway(B, A, ctSequence, 2);
    Show();
    TActionsGridModel* Model = Grid.Model();
    EXPECT_EQ(Grid.Cells(3, 1), "");
    EXPECT_EQ(Color(3, 1), Cream);
    EXPECT_TRUE(Model->CellReadOnly(3, 1));
    EXPECT_FALSE(Model->flags(Model->index(0, 3)) & Qt::ItemIsEditable);

    EXPECT_EQ(Grid.Cells(3, 3), "Combine");
    EXPECT_EQ(Grid.Cells(3, 4), "Sequence");
    for (int Row : {3, 4}) {
        EXPECT_FALSE(Color(3, Row).isValid()) << Row;
        EXPECT_TRUE(Model->flags(Model->index(Row - 1, 3)) & Qt::ItemIsEditable) << Row;
    }
    // Names and values can be edited; the buttons cannot, nor be selected.
    EXPECT_TRUE(Model->flags(Model->index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(Model->flags(Model->index(0, 4)) & Qt::ItemIsEditable);
    for (int Col : {0, 1})
        EXPECT_EQ(Model->flags(Model->index(0, Col)), Qt::ItemIsEnabled) << Col;
}

TEST_F(ActionsGridTest, ValuesShowTwoDecimalsWithTheUsersSeparator) {
    TElement* A = AddAction("A", 12.3456);
    TElement* B = AddAction("B", 2.5);
    TElement* C = AddAction("C", -0.005);
    Show();
    for (QChar Separator : TestSeparators) {
        TSeparatorGuard Guard(Separator);
        const QString Sep(Separator);
        EXPECT_EQ(Grid.Cells(4, Grid.RowOfElement(A)), "12" + Sep + "35");
        EXPECT_EQ(Grid.Cells(4, Grid.RowOfElement(B)), "2" + Sep + "50");
        EXPECT_EQ(Grid.Cells(4, Grid.RowOfElement(C)), FormatFloat2(-0.005));
    }
}

TEST_F(ActionsGridTest, RowsAndElementsFindEachOther) {
    TElement* A = AddAction("A", 1);
    TElement* B = AddAction("B", 2);
    Show();
    EXPECT_EQ(Grid.ElementOfRow(0), nullptr);
    EXPECT_EQ(Grid.ElementOfRow(1), A);
    EXPECT_EQ(Grid.ElementOfRow(2), B);
    EXPECT_EQ(Grid.ElementOfRow(3), nullptr);
    EXPECT_EQ(Grid.ElementOfRow(-1), nullptr);
    EXPECT_EQ(Grid.RowOfElement(A), 1);
    EXPECT_EQ(Grid.RowOfElement(B), 2);
    EXPECT_EQ(Grid.RowOfElement(nullptr), -1);
    TElementsList Other;
    EXPECT_EQ(Grid.RowOfElement(Other.AddSimpleElement("X", clRed, 0, 0, 0)), -1);

    // Reordered list: the rows follow after the rebuild.
    List.Exchange(0, 1);
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.ElementOfRow(1), B);
    EXPECT_EQ(Grid.RowOfElement(A), 2);

    // An element deleted before the next rebuild is never handed out.
    List.Delete(1);
    EXPECT_EQ(Grid.ElementOfRow(2), nullptr);
    EXPECT_EQ(Grid.Cells(2, 2), "");
    EXPECT_FALSE(Color(4, 2).isValid());
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.RowCount(), 2);
}

TEST_F(ActionsGridTest, SelectingAPathwayHighlightsTheRowsItIsBuiltFrom) {
    TElement* Current = AddAction("Current Situation", 1);
    List.SetCurrentElementID(Current->ID());
    TElement* A = AddAction("A", 10);
    TElement* B = AddAction("B", 20);
    TElement* AB = AddPathway(A, B, ctCombine, 10);
    Show();
    std::vector<int> Reported;
    QObject::connect(&Grid, &TActionsStringGrid::SelectedRangeChanged,
                     [&](int Top) { Reported.push_back(Top); });

    Grid.SetSelection(Grid.RowOfElement(AB), 2);
    EXPECT_EQ(Grid.RowOfPredecessor(), 2);
    EXPECT_EQ(Grid.RowOfCombinationSecond(), 3);
    for (int Row = 1; Row <= 4; ++Row)
        EXPECT_EQ(Color(2, Row), Row == 2 || Row == 3 ? Related : QColor()) << Row;
    ASSERT_FALSE(Reported.empty());
    EXPECT_EQ(Reported.back(), 4);

    Grid.SetSelection(Grid.RowOfElement(B), 4);
    EXPECT_EQ(Grid.RowOfPredecessor(), -1);
    EXPECT_EQ(Grid.RowOfCombinationSecond(), -1);
    for (int Row = 1; Row <= 4; ++Row)
        EXPECT_FALSE(Color(2, Row).isValid()) << Row;
}

TEST_F(ActionsGridTest, HighlightMovesOnlyWhenItsRowChangesAndStaysOnItsRowNumber) {
    for (int I = 0; I < 5; ++I)
        AddAction(QString("A%1").arg(I), I);
    Show();
    int NameCellChanges = 0;
    QObject::connect(Grid.Model(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& From, const QModelIndex& To) {
                         if (From == To && From.column() == 2)
                             ++NameCellChanges;
                     });
    Grid.SetRowOfPredecessor(3);
    EXPECT_EQ(Color(2, 3), Related);
    EXPECT_EQ(NameCellChanges, 1);
    Grid.SetRowOfPredecessor(3);
    EXPECT_EQ(NameCellChanges, 1) << "setting the same row does nothing";
    Grid.SetRowOfPredecessor(5);
    EXPECT_FALSE(Color(2, 3).isValid());
    EXPECT_EQ(Color(2, 5), Related);
    EXPECT_EQ(NameCellChanges, 3);
    // Row 0 is the header: stored, but nothing is painted.
    Grid.SetRowOfPredecessor(0);
    EXPECT_EQ(Grid.RowOfPredecessor(), 0);
    EXPECT_FALSE(Color(2, 5).isValid());
    EXPECT_EQ(NameCellChanges, 4);
    EXPECT_EQ(Grid.Cells(2, 0), "Action or Pathway");

    // Both highlights on one row: taking one away keeps the other.
    Grid.SetRowOfPredecessor(2);
    Grid.SetRowOfCombinationSecond(2);
    Grid.SetRowOfPredecessor(-1);
    EXPECT_EQ(Color(2, 2), Related);

    // Kept by row number when the rows change elements.
    List.Exchange(1, 3);
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.RowOfCombinationSecond(), 2);
    EXPECT_EQ(Color(2, 2), Related);
    EXPECT_EQ(Grid.Cells(2, 2), "A3");
}

TEST_F(ActionsGridTest, NewConditionPathwayShowsItsSingleRow) {
    for (TPathwayType Type : {ptConditionBased, ptTimeBased}) {
        TElementsList Own;
        Own.SetCurrentElementID(-1);
        TActionsStringGrid NewGrid;
        NewGrid.SetElementsList(&Own);
        EXPECT_EQ(NewGrid.RowCount(), 1);
        EXPECT_EQ(NewGrid.Row(), 0);
        // The steps of a new pathway: the row is added and painted.
        Own.SetPathwayType(Type);
        Own.SetTippingTimeValuesCount(1);
        TElement* Start = Own.AddSimpleElement("Current Situation", clGray, 10, 0, 1);
        Own.SetCurrentElementID(Start->ID());
        NewGrid.DrawElementRow(Start, 1);

        TSeparatorGuard Guard(QLatin1Char(','));
        EXPECT_EQ(NewGrid.RowCount(), 2);
        EXPECT_EQ(NewGrid.ColCount(), 5);
        EXPECT_EQ(NewGrid.Cells(4, 0),
                  Type == ptConditionBased ? "Condition tipping point" : "Time0");
        EXPECT_EQ(NewGrid.Cells(0, 1), "-->1");
        EXPECT_EQ(NewGrid.Model()->CellColor(1, 1), QColor(128, 128, 128));
        EXPECT_EQ(NewGrid.Cells(2, 1), "Current Situation");
        EXPECT_EQ(NewGrid.Cells(3, 1), "");
        EXPECT_TRUE(NewGrid.Model()->CellReadOnly(3, 1));
        EXPECT_EQ(NewGrid.Cells(4, 1), "10,00");
        // A grid with data rows always has a current cell in a data row.
        EXPECT_EQ(NewGrid.Row(), 1);
        EXPECT_EQ(NewGrid.Col(), 2);
    }
}

TEST_F(ActionsGridTest, CurrentCellKeepsItsRowAcrossRebuilds) {
    for (int I = 0; I < 5; ++I)
        AddAction(QString("A%1").arg(I), I);
    Show();
    Grid.SetSelection(3, 4);
    EXPECT_EQ(Grid.Row(), 3);
    EXPECT_EQ(Grid.Col(), 4);
    List.Delete(0);
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.Row(), 3);
    EXPECT_EQ(Grid.ElementOfRow(Grid.Row())->Caption(), "A3");
    // The current row goes away: the new last row takes over.
    Grid.SetSelection(4, 2);
    List.Delete(3);
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.Row(), 3);
    EXPECT_EQ(Grid.Col(), 2);
    // Rows outside the data and the fixed columns cannot be selected.
    Grid.SetSelection(0, 2);
    Grid.SetSelection(9, 2);
    EXPECT_EQ(Grid.Row(), 3);
    Grid.SetSelection(2, 0);
    EXPECT_EQ(Grid.Row(), 2);
    EXPECT_EQ(Grid.Col(), 2);
    // The keyboard cannot reach them either.
    QKeyEvent Left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(&Grid, &Left);
    EXPECT_EQ(Grid.Col(), 2);
    List.ClearElements();
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.Row(), 0);
}

TEST_F(ActionsGridTest, FixedCellsReportClicksAndLeaveTheSelectionAlone) {
    AddAction("A", 1);
    AddAction("B", 2);
    Show();
    Grid.SetSelection(2, 4);
    std::vector<std::pair<int, int>> Clicks;
    // Grid-numbered here: the header is row 0, the element at list index i
    // row i + 1.
    QObject::connect(&Grid, &TActionsStringGrid::ElementButtonClick,
                     [&](int Col, int Index) { Clicks.emplace_back(Col, Index + 1); });
    QObject::connect(&Grid, &TActionsStringGrid::HeaderClick,
                     [&](int Col) { Clicks.emplace_back(Col, 0); });
    TFixedColumnsView* Fixed = Grid.FixedColumnsView();
    const QPoint IdOfRow1 = Fixed->visualRect(Grid.Model()->index(0, 0)).center();
    const QPoint ColorOfRow2 = Fixed->visualRect(Grid.Model()->index(1, 1)).center();
    Click(Fixed->viewport(), IdOfRow1, IdOfRow1);
    Click(Fixed->viewport(), ColorOfRow2, ColorOfRow2);
    // Pressed on one button, released on another: no click.
    Click(Fixed->viewport(), IdOfRow1, ColorOfRow2);
    QHeaderView* Header = Grid.horizontalHeader();
    const QPoint Section4(Header->sectionViewportPosition(4) + 30, 10);
    Click(Header->viewport(), Section4, Section4);
    QHeaderView* FixedHeader = Fixed->horizontalHeader();
    const QPoint Section0(FixedHeader->sectionViewportPosition(0) + 30, 10);
    Click(FixedHeader->viewport(), Section0, Section0);

    // A click below the last row changes nothing either.
    Click(Grid.viewport(), QPoint(300, Grid.viewport()->height() - 5),
          QPoint(300, Grid.viewport()->height() - 5));

    const std::vector<std::pair<int, int>> Expected = {{0, 1}, {1, 2}, {4, 0}, {0, 0}};
    EXPECT_EQ(Clicks, Expected);
    EXPECT_EQ(Grid.Row(), 2);
    EXPECT_EQ(Grid.Col(), 4);
    EXPECT_EQ(Grid.selectionModel()->selectedIndexes().size(), 1);
}

TEST_F(ActionsGridTest, ColumnWidthsAreViewState) {
    AddAction("A", 1);
    Show();
    const int Expected[] = {64, 64, 500};
    for (int Col = 0; Col < 3; ++Col)
        EXPECT_EQ(Grid.ColumnWidth(Col), Expected[Col]) << Col;
    // The other columns start at 116, wider where the caption needs it.
    QFont Bold = Grid.horizontalHeader()->font();
    Bold.setBold(true);
    for (int Col = 3; Col < 5; ++Col) {
        EXPECT_GE(Grid.ColumnWidth(Col), 116) << Col;
        EXPECT_GT(Grid.ColumnWidth(Col), QFontMetrics(Bold).horizontalAdvance(Grid.Cells(Col, 0)))
            << Col;
    }
    Grid.SetColumnWidth(1, 80);
    Grid.SetColumnWidth(4, 150);
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(2);
    Grid.DrawActionsStringGrid();
    EXPECT_EQ(Grid.ColumnWidth(1), 80);
    EXPECT_EQ(Grid.ColumnWidth(4), 150);
    EXPECT_EQ(Grid.ColumnWidth(5), 116);
    // The fixed part widens with its columns.
    EXPECT_EQ(Grid.FixedColumnsView()->columnWidth(1), 80);
    EXPECT_EQ(Grid.FixedColumnsView()->width(), 64 + 80);
}

TEST_F(ActionsGridTest, FixedColumnsStayWhileTheRestScrolls) {
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(10);
    for (int I = 0; I < 300; ++I)
        AddAction(QString("A%1").arg(I), I);
    Show();
    TFixedColumnsView* Fixed = Grid.FixedColumnsView();
    const QRect FixedBefore = Fixed->geometry();
    Grid.horizontalScrollBar()->setValue(Grid.horizontalScrollBar()->maximum());
    Grid.verticalScrollBar()->setValue(250);
    QApplication::processEvents();
    EXPECT_GT(Grid.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(Fixed->geometry(), FixedBefore);
    EXPECT_EQ(Fixed->verticalScrollBar()->value(), 250);
    EXPECT_EQ(Fixed->rowAt(0), Grid.rowAt(0));
    // A cell scrolled in from the left is not left under the fixed part.
    Grid.SetSelection(Grid.rowAt(0) + 1, 2);
    EXPECT_GE(Grid.visualRect(Grid.currentIndex()).left(), Fixed->width());

    // New rows selected at once, before either view has laid them out.
    Grid.verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    for (int I = 0; I < 300; ++I)
        AddAction(QString("B%1").arg(I), I);
    Grid.DrawActionsStringGrid();
    Grid.SetSelection(Grid.RowCount() - 1, 2);
    QApplication::processEvents();
    EXPECT_GT(Grid.verticalScrollBar()->value(), 500);
    EXPECT_EQ(Fixed->verticalScrollBar()->value(), Grid.verticalScrollBar()->value());
    EXPECT_EQ(Fixed->rowAt(0), Grid.rowAt(0));
}

TEST_F(ActionsGridTest, RenderedGridShowsButtonsBarsAndOutline) {
    TElement* Current = AddAction("Current Situation", 10, clGray);
    List.SetCurrentElementID(Current->ID());
    TElement* A = AddAction("Dike", 20, clRed);
    TElement* B = AddAction("Pump", 30, clBlue);
    TElement* AB = AddPathway(A, B, ctCombine, 40);
    AddPathway(B, A, ctSequence, 25);
    TElement* Low = AddAction("Low", 5, clGreen);
    Show();
    Grid.SetSelection(Grid.RowOfElement(AB), 2);
    const QImage Image = Render();

    // The action's button face is its colour.
    const QRect DikeColor = FixedCellRect(1, Grid.RowOfElement(A));
    EXPECT_EQ(QColor(Image.pixel(DikeColor.center())), QColor(255, 0, 0));

    // The bar of Dike + Pump in its colour cell (2 pixels in), scaled 0 to
    // 40: the current situation up to 10, Dike from 10 to 20, then the
    // combination from 20 to 40 as two stripes, Pump's blue above Dike's red.
    const QRect Cell = FixedCellRect(1, Grid.RowOfElement(AB));
    const QRect Bar = Cell.adjusted(2, 2, -2, -2);
    auto At = [&](double Fraction, double Height) {
        return QColor(Image.pixel(Bar.left() + int(Fraction * Bar.width()),
                                  Bar.top() + int(Height * Bar.height())));
    };
    EXPECT_EQ(At(0.1, 0.5), QColor(128, 128, 128));
    EXPECT_EQ(At(0.4, 0.5), QColor(255, 0, 0));
    EXPECT_EQ(At(0.8, 0.2), QColor(0, 0, 255));
    EXPECT_EQ(At(0.8, 0.8), QColor(255, 0, 0));
    // Outside the bar the button shows.
    EXPECT_NE(QColor(Image.pixel(Cell.left() + 1, Cell.center().y())), QColor(128, 128, 128));

    // The selected name cell is outlined, not filled.
    const QRect Name = DataCellRect(2, Grid.RowOfElement(AB));
    EXPECT_EQ(QColor(Image.pixel(Name.left(), Name.center().y())), QColor(Qt::black));
    EXPECT_EQ(QColor(Image.pixel(Name.left() + 1, Name.center().y())), QColor(Qt::black));
    EXPECT_EQ(QColor(Image.pixel(Name.center().x() + 100, Name.center().y())), QColor(Qt::white));
    // The highlighted rows it is built from.
    const QRect DikeName = DataCellRect(2, Grid.RowOfElement(A));
    EXPECT_EQ(QColor(Image.pixel(DikeName.center() + QPoint(150, 0))), Related);
    // Value cells in their colours.
    const QRect LowValue = DataCellRect(4, Grid.RowOfElement(Low));
    EXPECT_EQ(QColor(Image.pixel(LowValue.center() + QPoint(40, 0))), Red);
}
