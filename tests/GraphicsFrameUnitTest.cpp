#include "map/GraphicsFrameUnit.h"
#include "base/ErrorUnit.h"
#include "document/DocumentSessionUnit.h"
#include "file/XmlUnit.h"
#include "map/GraphSettingsUnit.h"
#include "map/MapGeometryUnit.h"
#include "map/MapHitTestUnit.h"
#include "map/XAxisSettingsFormUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestSupport.h"
#include "widgets/FloatEditUnit.h"
#include "widgets/SpinEditUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

// A map view over a new condition-based pathway, as the main window sets it up.
class MapView : public ::testing::Test {
protected:
    void SetUp() override {
        Frame.SetSession(&Session);
        Frame.SetSettingsForms(&XAxisForm, &GraphForm);
        Session.New(ptConditionBased);
    }
    // The steps the view's settings dialogs made.
    int Steps() const { return Session.UndoStack()->count(); }

    // Plays the user on a settings dialog: Edit changes fields, then OK or Cancel.
    template <typename TForm> void Answer(std::function<void(TForm&)> Edit, bool Ok) {
        Script.OnExec([Edit, Ok](QDialog* Dialog) {
            auto* Form = qobject_cast<TForm*>(Dialog);
            EXPECT_NE(Form, nullptr);
            if (!Form)
                return int(QDialog::Rejected);
            if (Edit)
                Edit(*Form);
            (Ok ? Form->OKButton() : Form->CancelButton())->click();
            return Form->result();
        });
    }

    TScriptedModal Script;
    TDocumentSession Session;
    TElementsList& List = Session.Elements();
    TScenarioFrame& Scenarios = Session.Scenarios();
    TXAxisSettingsForm XAxisForm;
    TGraphSettingsForm GraphForm;
    TGraphicsFrame Frame;
};

TEST_F(MapView, ShowsTheMapAtItsNaturalSize) {
    EXPECT_EQ(Frame.ShownImage().size(), QSize(1000, 400));
    EXPECT_EQ(Frame.Image1()->size(), QSize(1000, 400));
    EXPECT_EQ(Frame.ShownImage().pixelColor(250, 165), QColor(128, 128, 128));
    EXPECT_FALSE(Frame.ComboBox1()->isVisibleTo(&Frame));
    EXPECT_EQ(Frame.SeriesIndex(), -1);
    EXPECT_EQ(Frame.SpeedButton1()->text(), "X-Axis settings");
    EXPECT_EQ(Frame.SpeedButton2()->text(), "Graph Settings");
    EXPECT_EQ(Frame.SpeedButton3()->text(), "Save Image");
    EXPECT_EQ(Frame.SpeedButton1()->geometry(), QRect(15, 8, 113, 35));
    EXPECT_EQ(Frame.SpeedButton2()->geometry(), QRect(16, 79, 113, 35));
    EXPECT_EQ(Frame.SpeedButton3()->geometry(), QRect(16, 142, 113, 35));
    Frame.resize(900, 700);
    Frame.Panel1Resize();
    EXPECT_EQ(Frame.SpeedButton3()->y(), 142);
}

TEST_F(MapView, AFailedDrawingKeepsThePreviousPicture) {
    const QImage Before = Frame.ShownImage();
    Frame.SetMaxTippingPointValue(0);
    try {
        Frame.Draw();
        FAIL();
    } catch (const ECorvinalError& E) {
        EXPECT_STREQ(E.what(), "Floating point division by zero");
    }
    EXPECT_EQ(Frame.ShownImage(), Before);
}

TEST_F(MapView, TippingPointSettingsOkKeepsWhatWasNotTouched) {
    Frame.Settings().SetMinTippingPointValue(0.1234);
    Frame.Settings().SetMaxTippingPointValue(12.345);
    Frame.Settings().SetTicksXAxis(25);
    Frame.Settings().SetFontSize(4);
    Answer<TXAxisSettingsForm>(
        [](TXAxisSettingsForm& Form) {
            EXPECT_EQ(Form.TicksXAxis(), 20);
            EXPECT_EQ(Form.XAxixCaption(), "[no caption]");
        },
        true);
    Frame.SpeedButton1Click();
    EXPECT_EQ(Frame.MinTippingPointValue(), 0.1234);
    EXPECT_EQ(Frame.MaxTippingPointValue(), 12.345);
    EXPECT_EQ(Frame.Settings().TicksXAxis(), 25);
    Answer<TGraphSettingsForm>(nullptr, true);
    Frame.SpeedButton2Click();
    EXPECT_EQ(Frame.Settings().FontSize(), 4);
    // What is typed is taken as shown.
    Answer<TXAxisSettingsForm>(
        [](TXAxisSettingsForm& Form) {
            Form.MinValueEdit()->setText(QString("0") + DecimalSeparator() + "13");
            Form.SetTicksXAxis(5);
        },
        true);
    Frame.SpeedButton1Click();
    EXPECT_DOUBLE_EQ(Frame.MinTippingPointValue(), 0.13);
    EXPECT_EQ(Frame.Settings().MaxTippingPointValue(), 12.345);
    EXPECT_EQ(Frame.Settings().TicksXAxis(), 5);
}

// A setting the map cannot be drawn with is refused in its dialog, which
// stays open on the field: nothing changes, nothing is marked, nobody is
// told of a change.
TEST_F(MapView, SettingsThatCannotBeDrawnAreRefusedWhileTheDialogStaysOpen) {
    const auto Type = [](QLineEdit* Field, const QString& Text) {
        Field->selectAll();
        QTest::keyClick(Field, Qt::Key_Backspace);
        QTest::keyClicks(Field, Text);
    };
    struct TCase {
        const char* Name;
        std::function<void()> Open;
        QString Error;
    };
    const QString Range = "The tipping-point axis runs from %1 to %2: its minimum must lie "
                          "below its maximum.";
    // Four margins and the caption band of 200 need 261 x 91 pixels and more
    // with the axis band of 70.
    const QString Small = "A drawing area of %1 x %2 pixels is too small: the margins, the "
                          "caption band of 200 pixels and the axes need at least 261 x 91 "
                          "pixels.";
    QWidget* Refused = nullptr;
    const auto XAxis = [&](const QString& Min, const QString& Max) {
        return [&, Min, Max] {
            Answer<TXAxisSettingsForm>(
                [&, Min, Max](TXAxisSettingsForm& Form) {
                    Form.show();
                    Type(Form.MinValueEdit(), Min);
                    Type(Form.MaxValueEdit(), Max);
                    Form.OKButton()->click();
                    EXPECT_NE(Form.result(), QDialog::Accepted);
                    Refused = Form.focusWidget();
                    Form.hide();
                },
                false);
            Frame.SpeedButton1Click();
        };
    };
    const auto Area = [&](int Width, int Height, const QString& Title = QString()) {
        return [&, Width, Height, Title] {
            Answer<TGraphSettingsForm>(
                [&, Width, Height, Title](TGraphSettingsForm& Form) {
                    Form.show();
                    Form.SetTitle(Title);
                    Form.SetDrawingAreaWidth(Width);
                    Form.SetDrawingAreaHeight(Height);
                    Form.OKButton()->click();
                    EXPECT_NE(Form.result(), QDialog::Accepted);
                    Refused = Form.focusWidget();
                    Form.hide();
                },
                false);
            Frame.SpeedButton2Click();
        };
    };
    const TCase Cases[] = {
        {"Min = Max", XAxis("3", "3"), Range.arg("3", "3")},
        {"Min > Max", XAxis("5", "3"), Range.arg("5", "3")},
        {"too narrow", Area(260, 400), Small.arg(260).arg(400)},
        {"too low", Area(1000, 90), Small.arg(1000).arg(90)},
        // A title takes two lines of 21 pixels above the plot.
        {"too low for the title", Area(1000, 132, "Plan"),
         QString(Small).replace("261 x 91", "261 x 133").arg(1000).arg(132)},
    };
    for (const TCase& Case : Cases) {
        const TGraphicsSettings Before = Frame.Settings();
        const QImage Picture = Frame.ShownImage();
        Script.Errors.clear();
        Refused = nullptr;
        Case.Open();
        EXPECT_EQ(Script.Errors, QStringList{Case.Error}) << Case.Name;
        EXPECT_NE(Refused, nullptr) << Case.Name;
        EXPECT_TRUE(Frame.Settings().SameAs(Before)) << Case.Name;
        EXPECT_FALSE(Frame.GraphicsSettingIsDirty()) << Case.Name;
        EXPECT_EQ(Frame.ShownImage(), Picture) << Case.Name;
    }
    EXPECT_EQ(Steps(), 0);
    // The refused field is the one to put right.
    Script.Errors.clear();
    XAxis("3", "3")();
    EXPECT_EQ(Refused, XAxisForm.MaxValueEdit());
    Area(260, 400)();
    EXPECT_EQ(Refused, GraphForm.DrawingAreaWidthSpinEdit());
    Area(1000, 90)();
    EXPECT_EQ(Refused, GraphForm.DrawingAreaHeightSpinEdit());
    // Each scenario adds to the axis band the area must hold.
    AddScenarioColumn(Scenarios, "Wet", {"0", "50"});
    Script.Errors.clear();
    Area(1000, 140)();
    EXPECT_EQ(Script.Errors.value(0), Small.arg(1000).arg(140).replace("x 91", "x 141"));
}

// A document whose map cannot be drawn shows why in place of the map of the
// document before it.
TEST_F(MapView, AMapThatCannotBeDrawnIsExplainedInsteadOfTheOldPicture) {
    ASSERT_FALSE(Frame.ShownImage().isNull());
    EXPECT_EQ(Frame.DrawOrExplain(), QString());
    Frame.SetMaxTippingPointValue(0);
    EXPECT_EQ(Frame.DrawOrExplain(), "Floating point division by zero");
    EXPECT_TRUE(Frame.ShownImage().isNull());
    EXPECT_TRUE(Frame.Image1()->text().contains("Floating point division by zero"));
    EXPECT_TRUE(Frame.ElementsAt(QPoint(250, 165)).empty());
    EXPECT_TRUE(Frame.ToolTipAt(QPoint(250, 165)).isEmpty());
    // Nothing to save, and saying so.
    QTemporaryDir Dir;
    Script.AnswerSaveFile(Dir.filePath("map.png"));
    EXPECT_THROW(Frame.SpeedButton3Click(), ECorvinalError);
    EXPECT_FALSE(QFile::exists(Dir.filePath("map.png")));
    Frame.SetMaxTippingPointValue(100);
    EXPECT_EQ(Frame.DrawOrExplain(), QString());
    EXPECT_FALSE(Frame.ShownImage().isNull());
    EXPECT_FALSE(Frame.ElementsAt(QPoint(250, 165)).empty());
}

TEST_F(MapView, TheTitleAndTheLegendAreGraphSettings) {
    Answer<TGraphSettingsForm>(
        [](TGraphSettingsForm& Form) {
            EXPECT_EQ(Form.Title(), "");
            EXPECT_FALSE(Form.Legend());
            QTest::keyClicks(Form.TitleEdit(), "Rhine delta");
            QTest::mouseClick(Form.LegendCheckBox(), Qt::LeftButton);
        },
        true);
    Frame.SpeedButton2Click();
    EXPECT_EQ(Frame.Settings().Title(), "Rhine delta");
    EXPECT_TRUE(Frame.Settings().Legend());
    EXPECT_EQ(Steps(), 1);
    Answer<TGraphSettingsForm>(
        [](TGraphSettingsForm& Form) {
            EXPECT_EQ(Form.Title(), "Rhine delta");
            EXPECT_TRUE(Form.Legend());
        },
        true);
    Frame.SpeedButton2Click();
    EXPECT_EQ(Steps(), 1); // nothing changed
}

TEST_F(MapView, OkRedrawsAndCancelChangesNothing) {
    const QImage Before = Frame.ShownImage();
    List.Elements(0)->SetTippingPointValue(50); // the map only follows a redraw
    Answer<TXAxisSettingsForm>([](TXAxisSettingsForm& Form) { Form.SetMaxTippingPoint(7); }, false);
    Frame.SpeedButton1Click();
    Answer<TGraphSettingsForm>([](TGraphSettingsForm& Form) { Form.SetFontSize(20); }, false);
    Frame.SpeedButton2Click();
    EXPECT_FALSE(Frame.GraphicsSettingIsDirty());
    EXPECT_EQ(Frame.ShownImage(), Before);
    EXPECT_EQ(Frame.MaxTippingPointValue(), 100);
    EXPECT_EQ(Frame.Settings().FontSize(), 12);

    Answer<TGraphSettingsForm>(nullptr, true);
    Frame.SpeedButton2Click();
    EXPECT_TRUE(Frame.GraphicsSettingIsDirty());
    EXPECT_NE(Frame.ShownImage(), Before);
}

TEST_F(MapView, HidingTheTippingAxisKeepsTheScenarioAxes) {
    Scenarios.ScenariosStringGrid().SetColCount(2);
    Scenarios.ScenariosStringGrid().SetCells(1, 0, "Wet");
    Scenarios.ScenariosStringGrid().SetCells(1, 1, "0");
    Scenarios.ScenariosStringGrid().SetCells(1, 10, "90");
    Answer<TXAxisSettingsForm>(
        [](TXAxisSettingsForm& Form) {
            Form.CheckBox1()->click();
            EXPECT_FALSE(Form.Edit1()->isEnabled());
            EXPECT_FALSE(Form.TicksSpinEdit()->isEnabled());
        },
        true);
    Frame.SpeedButton1Click();
    EXPECT_FALSE(Frame.Settings().ShowXAxis());
    const QImage Map = Frame.ShownImage();
    const int AxisTop = 400 - 10 - (50 + 70);
    // no tipping axis line at AxisTop + 20, the scenario axis at AxisTop + 60
    EXPECT_EQ(Map.pixelColor(500, AxisTop + 20), QColor(Qt::white));
    EXPECT_EQ(Map.pixelColor(500, AxisTop + 60), QColor(Qt::black));
}

TEST_F(MapView, GraphSettingsResizeTheImageAndItScrolls) {
    Answer<TGraphSettingsForm>(
        [](TGraphSettingsForm& Form) {
            EXPECT_EQ(Form.DrawingAreaWidth(), 1000);
            Form.SetDrawingAreaWidth(1500);
        },
        true);
    Frame.resize(800, 500);
    Frame.show();
    Frame.SpeedButton2Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame.Image1()->width(), 1500);
    EXPECT_EQ(Frame.ShownImage().width(), 1500);
    EXPECT_GT(Frame.ScrollBox1()->horizontalScrollBar()->maximum(), 0);
}

TEST_F(MapView, SeriesSelectorOfATimeBasedPathway) {
    List.SetPathwayType(ptTimeBased);
    List.SetTippingTimeValuesCount(3);
    List.SetTippingTimeColumnCaption(1, "Dry");
    List.Elements(0)->SetTippingTimeValue(0, 10);
    List.Elements(0)->SetTippingTimeValue(2, 80);
    Frame.UpdateSeriesSelector();
    ASSERT_EQ(Frame.ComboBox1()->count(), 3);
    EXPECT_TRUE(Frame.ComboBox1()->isVisibleTo(&Frame));
    EXPECT_EQ(Frame.ComboBox1()->itemText(1), "Dry");
    EXPECT_EQ(Frame.SeriesIndex(), 0);
    Frame.Draw();
    const QImage First = Frame.ShownImage();
    Frame.ComboBox1()->setCurrentIndex(2);
    Frame.ComboBox1Change();
    EXPECT_NE(Frame.ShownImage(), First);
    Frame.UpdateSeriesSelector(); // the user's choice is lost
    EXPECT_EQ(Frame.SeriesIndex(), 0);
}

TEST_F(MapView, SaveImageWritesTheShownPicture) {
    QTemporaryDir Dir;
    Script.AnswerSaveFile(""); // cancelled
    Frame.SpeedButton3Click();
    EXPECT_EQ(Script.SaveFilters.first(), MapImageFilter);
    EXPECT_TRUE(MapImageFilter.startsWith("png files [*.png]|*.png|all files [*.*]|*.*|"));
    EXPECT_EQ(Script.SaveExtensions.first(), ".png");
    EXPECT_FALSE(Script.SaveAskOverwrite.first());

    const QImage Shown = Frame.ShownImage();
    // A failed drawing leaves the previous picture, and that is what is saved.
    Frame.SetMaxTippingPointValue(0);
    EXPECT_THROW(Frame.Draw(), ECorvinalError);
    const QString Png = Dir.filePath("map.png");
    QFile Old(Png);
    ASSERT_TRUE(Old.open(QIODevice::WriteOnly));
    Old.write("old");
    Old.close();
    Script.AnswerSaveFile(Png);
    Frame.SpeedButton3Click();
    QImage Saved(Png);
    ASSERT_FALSE(Saved.isNull());
    EXPECT_EQ(Saved.convertToFormat(QImage::Format_RGB32),
              Shown.convertToFormat(QImage::Format_RGB32));
}

TEST_F(MapView, SaveImageKeepsTheNameChosen) {
    QTemporaryDir Dir;
    Script.AnswerSaveFile(Dir.filePath("map.jpg"), 1); // "all files"
    Frame.SpeedButton3Click();
    EXPECT_EQ(QImage(Dir.filePath("map.jpg"), "PNG").size(), QSize(1000, 400));
    Script.AnswerSaveFile(Dir.filePath("bare"), 0);
    Frame.SpeedButton3Click();
    EXPECT_FALSE(QImage(Dir.filePath("bare.png")).isNull());
}

TEST_F(MapView, SaveImageAsVectorFiles) {
    QTemporaryDir Dir;
    Script.AnswerSaveFile(Dir.filePath("map"), 2);
    Frame.SpeedButton3Click();
    QFile Svg(Dir.filePath("map.svg"));
    ASSERT_TRUE(Svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(Svg.readAll().contains("<svg"));
    Script.AnswerSaveFile(Dir.filePath("map.pdf"), 1);
    Frame.SpeedButton3Click();
    QFile Pdf(Dir.filePath("map.pdf"));
    ASSERT_TRUE(Pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(Pdf.read(5) == "%PDF-");
}

TEST_F(MapView, ReadingAFileResetsTheSettingsButNotShowXAxis) {
    Frame.Settings().SetShowXAxis(false);
    Frame.Settings().SetFontSize(20);
    Frame.SetGraphicsSettingIsDirty(true);
    TXmlDoc XML;
    XML.LoadFromBytes("<graphsettings><drawingareawidth>1200</drawingareawidth></graphsettings>");
    Frame.ReadFromXML(XML);
    EXPECT_EQ(Frame.Settings().FontSize(), 12);
    EXPECT_EQ(Frame.DrawingAreaWidth(), 1200);
    EXPECT_EQ(Frame.Image1()->width(), 1200);
    EXPECT_FALSE(Frame.Settings().ShowXAxis());
    EXPECT_FALSE(Frame.GraphicsSettingIsDirty());
}

// ------------------------------------------------------------ the pointer

TEST_F(MapView, TheMapAnswersThePointerFromItsGeometry) {
    TElement* Dike = List.AddSimpleElement("Dike", RGBToColor(0, 0, 200), 40, 0, 0);
    AddScenarioColumn(Scenarios, "Wet", {"0", "10", "20", "30", "40", "50"});
    Frame.Draw();
    const TMapGeometry Geometry(Frame.Settings(), List, Scenarios, -1);
    const std::vector<TMapShape> Shapes = ElementShapes(Geometry, 1);
    ASSERT_FALSE(Shapes.empty());
    QPoint Station;
    for (const TMapShape& Shape : Shapes)
        if (Shape.Kind == TMapShape::skStation)
            Station = Shape.From;
    // The tooltip names the element, its tipping value and its year.
    const QString Tip = Frame.ToolTipAt(Station);
    EXPECT_TRUE(Tip.contains("<b>Dike</b><br>Tipping value: 40<br>Wet: 2050")) << Tip.toStdString();
    EXPECT_TRUE(Frame.ToolTipAt(QPoint(2, 2)).isEmpty());
    // Names are shown as written, never as markup.
    Dike->SetCaption("<i>Dike</i> & wall");
    EXPECT_TRUE(Frame.ToolTipAt(Station).contains("&lt;i&gt;Dike&lt;/i&gt; &amp; wall"));
    // Where many elements meet, the first few are named and the rest counted.
    for (int Pathway = 0; Pathway < 7; ++Pathway)
        AddTestPathway(List, List.Elements(0), Dike, ctSequence, 40);
    const QString Crowded = Frame.ToolTipAt(Station);
    EXPECT_EQ(Crowded.count("Tipping value"), 5);
    EXPECT_TRUE(Crowded.contains("and 3 more")) << Crowded.toStdString();
    while (List.Count() > 2)
        List.Delete(List.Count() - 1);
    Dike->SetCaption("Dike");
    // A click selects the topmost element under the pointer.
    QSignalSpy Clicked(&Frame, &TGraphicsFrame::ElementClicked);
    QTest::mouseClick(Frame.Image1(), Qt::LeftButton, {}, Station);
    ASSERT_EQ(Clicked.size(), 1);
    EXPECT_EQ(Clicked.first().first().toInt(), 1);
    QTest::mouseClick(Frame.Image1(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(Clicked.size(), 1);

    // The halo is painted over the shown picture, never into it.
    const QImage Picture = Frame.ShownImage();
    Frame.Image1()->resize(Picture.size());
    const QImage Plain = Frame.Image1()->grab().toImage();
    Frame.SetHaloElement(Dike);
    EXPECT_FALSE(Frame.HaloRegions().empty());
    const QImage Marked = Frame.Image1()->grab().toImage();
    EXPECT_NE(Marked, Plain);
    EXPECT_NE(Marked.pixel(Station), Plain.pixel(Station));
    EXPECT_EQ(Frame.ShownImage(), Picture);
    EXPECT_EQ(Dike->VisualEffect(), veShow);
    // An element that has gone leaves no halo.
    List.Delete(1);
    EXPECT_TRUE(Frame.HaloRegions().empty());
}

// A caption the band cut still tells its whole name when pointed at.
TEST_F(MapView, ACutCaptionShowsItsWholeNameWhenPointedAt) {
    List.AddSimpleElement("Flood-proofing of buildings and critical infrastructure",
                          RGBToColor(0, 120, 0), 40, 0, 0);
    List.AddSimpleElement("Dike", RGBToColor(0, 0, 200), 60, 0, 0);
    Frame.Draw();
    const TMapGeometry Geometry(Frame.Settings(), List, Scenarios, -1);
    const QPoint Cut(100, Geometry.YAt(1)), Whole(20, Geometry.YAt(2));
    EXPECT_EQ(Frame.ToolTipAt(Cut),
              "<p style='white-space:pre'>Flood-proofing of buildings and critical "
              "infrastructure</p>");
    EXPECT_TRUE(Frame.ToolTipAt(Whole).isEmpty()) << "a whole caption needs no tooltip";
    EXPECT_TRUE(Frame.ToolTipAt(QPoint(100, Geometry.YAt(1) + 30)).isEmpty());
    EXPECT_EQ(Frame.Settings().TitlesAreaWidth(), 200);
}

// The decision points are a choice of the map view below its buttons: none
// or a scenario, each choice one step of the document; the map marks them
// and the pointer names the decision.
TEST_F(MapView, DecisionPointsAreChosenBelowTheButtons) {
    TElement* Dike = List.AddSimpleElement("Dike", RGBToColor(0, 0, 200), 40, 0, 0);
    TElement* Barrier = List.AddSimpleElement("Barrier", RGBToColor(200, 0, 0), 80, 0, 0);
    Barrier->SetLeadTime(10);
    AddTestPathway(List, Dike, Barrier, ctSequence, 80);
    AddScenarioColumn(Scenarios, "Low", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    AddScenarioColumn(Scenarios, "High",
                      {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90"});
    Frame.DocumentChanged();
    QComboBox* Box = Frame.DecisionPointsComboBox();
    ASSERT_EQ(Box->count(), 3);
    EXPECT_EQ(Frame.DecisionPointsLabel()->text(), "&Decision points:");
    EXPECT_EQ(Box->itemText(0), "none");
    EXPECT_EQ(Box->itemText(2), "High");
    EXPECT_EQ(Box->currentIndex(), 0);
    EXPECT_GT(Box->y(), Frame.SpeedButton3()->geometry().bottom());
    // Under High the dike tips in 2050: the barrier is decided on by 2040,
    // when the sea stands at 30, on the dike's line.
    const TMapGeometry G(Frame.Settings(), List, Scenarios, -1);
    const QPoint Point(G.ValueToX(30), G.YAt(1));
    const QColor Dikes(0, 0, 200);
    EXPECT_EQ(Frame.ShownImage().pixelColor(Point), Dikes);
    EXPECT_FALSE(Frame.ToolTipAt(Point).contains("Decide"));
    Box->setCurrentIndex(2);
    Frame.DecisionPointsComboBoxChange();
    EXPECT_EQ(Steps(), 1);
    EXPECT_EQ(Session.UndoStack()->undoText(), "Decision points");
    EXPECT_EQ(Frame.Settings().DecisionPoints(), 2);
    EXPECT_EQ(Frame.ShownImage().pixelColor(Point), QColor(Qt::white));
    EXPECT_EQ(Frame.ShownImage().pixelColor(Point - QPoint(7, 0)), Dikes);
    EXPECT_TRUE(Frame.ToolTipAt(Point).contains("Decide on Barrier by 2040 (High)"));
    // The same choice again is no step; undo takes it back, the box too.
    Frame.DecisionPointsComboBoxChange();
    EXPECT_EQ(Steps(), 1);
    Session.UndoStack()->undo();
    EXPECT_EQ(Frame.Settings().DecisionPoints(), 0);
    EXPECT_EQ(Box->currentIndex(), 0);
    EXPECT_EQ(Frame.ShownImage().pixelColor(Point), Dikes);
    Session.UndoStack()->redo();
    EXPECT_EQ(Box->currentIndex(), 2);
    // A time-based map marks the time column it shows, or nothing.
    Session.New(ptTimeBased);
    ASSERT_EQ(Box->count(), 2);
    EXPECT_EQ(Box->itemText(1), "on");
    EXPECT_EQ(Box->currentIndex(), 0);
    EXPECT_GT(Box->y(), Frame.SpeedButton3()->geometry().bottom());
}

// "Fit to content" fills the dialog's fields from the fields as they stand;
// OK makes them one step, Cancel forgets them.
TEST_F(MapView, FitToContentFillsTheFieldsAndOkMakesItOneStep) {
    List.Elements(0)->SetCaption("A current situation whose name is longer than the band");
    Frame.DocumentChanged();
    Answer<TGraphSettingsForm>([](TGraphSettingsForm& Form) { Form.FitButton()->click(); }, false);
    Frame.SpeedButton2Click();
    EXPECT_EQ(Steps(), 0);
    EXPECT_EQ(Frame.Settings().TitlesAreaWidth(), 200);
    TGraphicsSettings Expected;
    Answer<TGraphSettingsForm>(
        [&](TGraphSettingsForm& Form) {
            EXPECT_TRUE(Form.FitButton()->isEnabled());
            Form.SetFontSize(14);
            Form.FitButton()->click();
            TGraphicsSettings Asked = Frame.Settings();
            Asked.SetFontSize(14);
            Expected = Frame.FittedSettings(Asked);
            EXPECT_EQ(Form.TitlesAreaWidth(), Expected.TitlesAreaWidth());
            EXPECT_EQ(Form.DrawingAreaWidth(), Expected.DrawingAreaWidth());
            EXPECT_EQ(Form.DrawingAreaHeight(), Expected.DrawingAreaHeight());
            EXPECT_EQ(Form.RowSpacing(), Expected.RowSpacing());
        },
        true);
    Frame.SpeedButton2Click();
    EXPECT_EQ(Steps(), 1);
    EXPECT_GT(Expected.TitlesAreaWidth(), 200);
    EXPECT_EQ(Expected.DrawingAreaWidth(), 1000 + Expected.TitlesAreaWidth() - 200);
    EXPECT_TRUE(Frame.Settings().SameStoredAs(Expected));
    EXPECT_EQ(Frame.ShownImage().size(),
              QSize(Expected.DrawingAreaWidth(), Expected.DrawingAreaHeight()));
    EXPECT_FALSE(GraphForm.FitButton()->isEnabled());
    Session.UndoStack()->undo();
    EXPECT_EQ(Frame.Settings().TitlesAreaWidth(), 200);
    EXPECT_EQ(Frame.Settings().FontSize(), 12);
    EXPECT_EQ(Frame.Settings().RowSpacing(), 0);
}

} // namespace
