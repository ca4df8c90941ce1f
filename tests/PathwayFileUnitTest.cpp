#include "document/PathwayFileUnit.h"
#include "base/ErrorUnit.h"
#include "base/ReadReportUnit.h"
#include "file/XmlUnit.h"
#include "map/GraphicsSettingsUnit.h"
#include "model/ElementsUnit.h"
#include "scenarios/ScenarioFrameUnit.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

// A document that saves to and loads from bytes in memory.
struct TDocument : TPathwayDocument {
    QByteArray Save() const {
        TXmlDoc XML;
        WritePathwayDocument(XML, Elements, Scenarios, Settings);
        return XML.SaveToBytes();
    }
    void Load(const QByteArray& Bytes, TReadReport* Report = nullptr) {
        TXmlDoc XML;
        XML.LoadFromBytes(Bytes, PathwayReadBufferSize);
        ReadPathwayDocument(XML, Elements, Settings, Scenarios, Report);
    }
    void AddScenario(const QString& Caption, const QStringList& Cells) {
        AddScenarioColumn(Scenarios, Caption, Cells);
    }
};

// The worked example: a new pathway, one more action (Dike) and one pathway
// element, with one scenario (Wet).
void BuildExample(TDocument& Doc, TPathwayType Type, QChar Sep) {
    TElementsList& L = Doc.Elements;
    L.SetPathwayType(Type);
    L.SetTippingTimeValuesCount(1);
    TElement* Start = L.AddSimpleElement("Current Situation", RGBToColor(128, 128, 128), 10, 0, 1);
    L.SetCurrentElementID(Start->ID());
    TElement* Dike = L.AddSimpleElement("Dike", RGBToColor(0xC0, 0xA0, 0x40), 2.5, 0, 0);
    TElement* Path = L.AddCombinationElement("Current Situation + Dike", 6, 1, 2);
    Path->SetMyColor(Dike->MyColor());
    Path->SetCombinationType(ctSequence);
    if (Type == ptTimeBased) {
        L.SetTippingTimeValuesCount(2);
        L.SetTippingTimeColumnCaption(1, "Dry");
    }
    QStringList Cells;
    for (const char* V : {"0", "0.5", "1", "1.5", "2", "2.5", "3", "3.5", "4", ""})
        Cells << QString(V).replace('.', Sep);
    Doc.AddScenario("Wet", Cells);
    Doc.Settings.SetMinTippingPointValue(0);
    Doc.Settings.SetMaxTippingPointValue(100);
}

QByteArray Layout(const QStringList& Lines) {
    QByteArray Bytes("\xEF\xBB\xBF");
    Bytes += Lines.join("\r\n").toUtf8();
    return Bytes;
}

QStringList ElementLines(int Id, const QString& Caption, const QString& Color,
                         const QStringList& Values, int Pred, int Second, const QString& Type,
                         const QString& Recurrent) {
    QStringList L;
    L << QString("  <element id=\"%1\">").arg(Id) << "    <caption>" + Caption + "</caption>"
      << "    <color>" + Color + "</color>";
    L << Values;
    L << QString("    <predecessorid>%1</predecessorid>").arg(Pred)
      << QString("    <combinationsecond>%1</combinationsecond>").arg(Second)
      << "    <combinationtype>" + Type + "</combinationtype>"
      << "    <initialcosts>0</initialcosts>"
      << "    <transfercosts>0</transfercosts>"
      << "    <recurrentcosts>" + Recurrent + "</recurrentcosts>"
      << "  </element>";
    return L;
}

QStringList TailLines(QChar Sep) {
    QStringList L;
    L << "<scenarios>"
      << "  <scenario>"
      << "    <caption>Wet</caption>";
    const char* Years[] = {"0", "0.5", "1", "1.5", "2", "2.5", "3", "3.5", "4"};
    for (int I = 0; I < 9; ++I)
        L << QString("    <year%1>%2</year%1>")
                 .arg(2010 + 10 * I)
                 .arg(QString(Years[I]).replace('.', Sep));
    L << "    <year2100/>"
      << "  </scenario>"
      << "</scenarios>";
    L << "<graphsettings>"
      << "  <maxtippingpoint>100</maxtippingpoint>"
      << "  <mintippingpoint>0</mintippingpoint>"
      << "  <leftmargin>10</leftmargin>"
      << "  <titlesareawidth>200</titlesareawidth>"
      << "  <topmargin>10</topmargin>"
      << "  <bottommargin>10</bottommargin>"
      << "  <rightmargin>50</rightmargin>"
      << "  <yoffset>20</yoffset>"
      << "  <overshoot>10</overshoot>"
      << "  <ticksxaxis>3</ticksxaxis>"
      << "  <xaxistitle>[no caption]</xaxistitle>"
      << "  <drawingareawidth>1000</drawingareawidth>"
      << "  <drawingareaheight>400</drawingareaheight>"
      << "  <fontsize>12</fontsize>"
      << "</graphsettings>";
    return L;
}

class WorkedExample : public ::testing::TestWithParam<QChar> {};

INSTANTIATE_TEST_SUITE_P(Separators, WorkedExample,
                         ::testing::Values(QLatin1Char('.'), QLatin1Char(','), ArabicSeparator),
                         [](const auto& Info) { return SeparatorName(Info.param); });

TEST_P(WorkedExample, ConditionBasedBytes) {
    TSeparatorGuard Guard(GetParam());
    const QString TwoAndAHalf = QString("2") + GetParam() + "5";
    TDocument Doc;
    BuildExample(Doc, ptConditionBased, GetParam());
    QStringList Lines;
    Lines << "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
          << "<pathways>"
          << "  <pathwaytype>conditionbased</pathwaytype>";
    Lines << ElementLines(1, "Current Situation", "clGray",
                          {"    <tippingpointvalue>10</tippingpointvalue>"}, -1, -1, "ctNone", "1");
    Lines << ElementLines(2, "Dike", "$0040A0C0",
                          {"    <tippingpointvalue>" + TwoAndAHalf + "</tippingpointvalue>"}, -1,
                          -1, "ctNone", "0");
    Lines << ElementLines(3, "Current Situation + Dike", "$0040A0C0",
                          {"    <tippingpointvalue>6</tippingpointvalue>"}, 1, 2, "ctSequence",
                          "0");
    Lines << "  <CurrentElement>1</CurrentElement>"
          << "</pathways>";
    Lines << TailLines(GetParam());
    EXPECT_EQ(Doc.Save(), Layout(Lines));
}

TEST_P(WorkedExample, TimeBasedBytes) {
    TSeparatorGuard Guard(GetParam());
    TDocument Doc;
    BuildExample(Doc, ptTimeBased, GetParam());
    QStringList Lines;
    Lines << "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
          << "<pathways>"
          << "  <pathwaytype>timebased</pathwaytype>"
          << "  <tippingvaluescount>2</tippingvaluescount>"
          << "  <TippingTimeCaption0>Time0</TippingTimeCaption0>"
          << "  <TippingTimeCaption1>Dry</TippingTimeCaption1>";
    // In a time-based list the values land in column 0.
    const QString Two5 = QString("2") + GetParam() + "5";
    Lines << ElementLines(1, "Current Situation", "clGray",
                          {"    <tippingtimevalue0>10</tippingtimevalue0>",
                           "    <tippingtimevalue1>0</tippingtimevalue1>"},
                          -1, -1, "ctNone", "1");
    Lines << ElementLines(2, "Dike", "$0040A0C0",
                          {"    <tippingtimevalue0>" + Two5 + "</tippingtimevalue0>",
                           "    <tippingtimevalue1>0</tippingtimevalue1>"},
                          -1, -1, "ctNone", "0");
    Lines << ElementLines(3, "Current Situation + Dike", "$0040A0C0",
                          {"    <tippingtimevalue0>6</tippingtimevalue0>",
                           "    <tippingtimevalue1>0</tippingtimevalue1>"},
                          1, 2, "ctSequence", "0");
    Lines << "  <CurrentElement>1</CurrentElement>"
          << "</pathways>";
    Lines << TailLines(GetParam());
    EXPECT_EQ(Doc.Save(), Layout(Lines));
}

TEST_P(WorkedExample, ReadsBackAsSaved) {
    TSeparatorGuard Guard(GetParam());
    for (TPathwayType Type : {ptConditionBased, ptTimeBased}) {
        TDocument Doc;
        BuildExample(Doc, Type, GetParam());
        const QByteArray Bytes = Doc.Save();
        TDocument Back;
        Back.Settings.SetShowXAxis(false);
        Back.Settings.SetGraphicsSettingIsDirty(true);
        Back.Scenarios.SetScenarioIsDirty(true);
        Back.Load(Bytes);
        const TElementsList& L = Back.Elements;
        ASSERT_EQ(L.Count(), 3);
        EXPECT_EQ(L.PathwayType(), Type);
        EXPECT_EQ(L.CurrentElementID(), 1);
        const TElement* Dike = L.Elements(1);
        EXPECT_EQ(Dike->Caption(), "Dike");
        EXPECT_EQ(Dike->MyColor(), RGBToColor(0xC0, 0xA0, 0x40));
        if (Type == ptConditionBased) {
            EXPECT_EQ(L.TippingTimeValuesCount(), 0);
            EXPECT_EQ(Dike->TippingPointValue(), 2.5);
        } else {
            EXPECT_EQ(L.TippingTimeValuesCount(), 2);
            EXPECT_EQ(L.TippingTimeColumnCaption(1), "Dry");
            EXPECT_EQ(Dike->TippingTimeValue(0), 2.5);
        }
        const TElement* Path = L.Elements(2);
        EXPECT_EQ(Path->PredecessorID(), 1);
        EXPECT_EQ(Path->CombinationSecondID(), 2);
        EXPECT_EQ(Path->CombinationType(), ctSequence);
        EXPECT_EQ(Path->OwnColor(), Dike->MyColor());
        EXPECT_EQ(L.Elements(0)->RecurrentCosts(), 1);
        EXPECT_EQ(Back.Scenarios.Count(), 1);
        EXPECT_EQ(Back.Scenarios.ScenarioCaption(0), "Wet");
        EXPECT_DOUBLE_EQ(Back.Scenarios.ScenarioValue(2015, 0), 0.25);
        EXPECT_EQ(Back.Scenarios.ScenariosStringGrid().Cells(1, 10), "");
        EXPECT_FALSE(Back.Scenarios.ScenarioIsDirty());
        EXPECT_EQ(Back.Settings.MaxTippingPointValue(), 100);
        EXPECT_FALSE(Back.Settings.GraphicsSettingIsDirty());
        EXPECT_FALSE(Back.Settings.ShowXAxis()); // not stored, kept
        EXPECT_EQ(Back.Save(), Bytes);
    }
}

// ------------------------------------------------------------ hand-made files

QByteArray File(const QString& Body) {
    return ("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + Body).toUtf8();
}

TEST(PathwayFile, DefaultsForMissingAndUnreadableValues) {
    TSeparatorGuard Guard('.');
    TDocument Doc;
    Doc.Load(File(R"(<pathways>
  <pathwaytype>TimeBased</pathwaytype>
  <element id="abc"><caption>  padded  </caption></element>
  <element><caption>skipped</caption></element>
  <element id=""><caption>skipped too</caption></element>
  <element id="7">
    <tippingpointvalue>2,5</tippingpointvalue>
    <predecessorid> 3</predecessorid>
    <combinationsecond>3 </combinationsecond>
    <combinationtype>
 ctcombine </combinationtype>
    <initialcosts>x</initialcosts>
    <color>$1F</color>
  </element>
  <element id="$10"><predecessorid>$1F</predecessorid><combinationtype>both</combinationtype></element>
  <element id="7"><caption>second seven</caption></element>
</pathways>)"));
    const TElementsList& L = Doc.Elements;
    EXPECT_EQ(L.PathwayType(), ptConditionBased); // letter case counts
    ASSERT_EQ(L.Count(), 4);
    EXPECT_EQ(L.Elements(0)->ID(), 0);
    EXPECT_EQ(L.Elements(0)->Caption(), "  padded  ");
    EXPECT_EQ(L.Elements(0)->MyColor(), clBlack);
    const TElement* Seven = L.Elements(1);
    EXPECT_EQ(Seven->TippingPointValue(), 2.5); // either separator, whatever the locale
    EXPECT_EQ(Seven->PredecessorID(), 3);
    EXPECT_EQ(Seven->CombinationSecondID(), -1);
    EXPECT_EQ(Seven->CombinationType(), ctCombine);
    EXPECT_EQ(Seven->InitialCosts(), 0);
    EXPECT_EQ(Seven->OwnColor(), 31);
    EXPECT_EQ(Seven->VisualEffect(), veShow);
    EXPECT_EQ(L.Elements(2)->ID(), 16);
    EXPECT_EQ(L.Elements(2)->PredecessorID(), 31);
    EXPECT_EQ(L.Elements(2)->CombinationType(), ctNone);
    EXPECT_EQ(L.FindElement(7), Seven);  // duplicates load, the first wins
    EXPECT_EQ(L.CurrentElementID(), -1); // no CurrentElement: unchanged
}

// Files travel between colleagues whose locales differ: the worked example
// written with a point, the same with a comma, and one with values that are
// no number, each read under four locales.
TEST(PathwayFile, FilesReadTheSameUnderEveryLocale) {
    TDocument Point;
    TDocument Comma;
    {
        TSeparatorGuard Guard('.');
        BuildExample(Point, ptConditionBased, '.');
        BuildExample(Comma, ptConditionBased, ',');
    }
    QByteArray PointBytes;
    QByteArray CommaBytes;
    {
        TSeparatorGuard Guard('.');
        PointBytes = Point.Save();
    }
    {
        TSeparatorGuard Guard(',');
        CommaBytes = Comma.Save();
    }
    ASSERT_TRUE(CommaBytes.contains("<tippingpointvalue>2,5</tippingpointvalue>"));
    ASSERT_TRUE(PointBytes.contains("<tippingpointvalue>2.5</tippingpointvalue>"));
    QByteArray Unreadable = PointBytes;
    Unreadable.replace("<tippingpointvalue>2.5<", "<tippingpointvalue>2x5<");
    Unreadable.replace("<recurrentcosts>1<", "<recurrentcosts>1.2.3<");
    Unreadable.replace("<year2030>1<", "<year2030>abc<");
    Unreadable.replace("<maxtippingpoint>100<", "<maxtippingpoint>1,5e<");
    Unreadable.replace("<predecessorid>1<", "<predecessorid>1 <");

    for (const QLocale& Locale : TestLocales()) {
        TLocaleGuard Guard(Locale);
        const std::string Name = Locale.name().toStdString();
        for (const QByteArray& Bytes : {PointBytes, CommaBytes}) {
            TDocument Doc;
            TReadReport Report;
            Doc.Load(Bytes, &Report);
            EXPECT_TRUE(Report.IsEmpty())
                << Name << ": " << Report.Lines().join("; ").toStdString();
            ASSERT_EQ(Doc.Elements.Count(), 3) << Name;
            EXPECT_EQ(Doc.Elements.Elements(1)->TippingPointValue(), 2.5) << Name;
            EXPECT_EQ(Doc.Elements.Elements(0)->RecurrentCosts(), 1) << Name;
            EXPECT_EQ(Doc.Settings.MaxTippingPointValue(), 100) << Name;
            EXPECT_EQ(Doc.Scenarios.ScenarioValue(2020, 0), 0.5) << Name;
            EXPECT_EQ(Doc.Scenarios.ScenarioValue(2045, 0), 1.75) << Name;
        }
        TDocument Doc;
        TReadReport Report;
        Doc.Load(Unreadable, &Report);
        EXPECT_EQ(Doc.Elements.Elements(1)->TippingPointValue(), 0);
        EXPECT_EQ(Doc.Elements.Elements(0)->RecurrentCosts(), 0);
        EXPECT_EQ(Doc.Elements.Elements(2)->PredecessorID(), -1);
        EXPECT_EQ(Doc.Settings.MaxTippingPointValue(), 20000);
        // No value for the year, as if it were missing: the map still draws.
        EXPECT_EQ(Doc.Scenarios.ScenariosStringGrid().Cells(1, 3), "");
        EXPECT_EQ(Report.Lines(),
                  QStringList({"Element 1 \"Current Situation\", recurrentcosts: \"1.2.3\" is "
                               "not a number; 0 is used.",
                               "Element 2 \"Dike\", tippingpointvalue: \"2x5\" is not a number; "
                               "0 is used.",
                               "Element 3 \"Current Situation + Dike\", predecessorid: \"1 \" is "
                               "not a number; -1 is used.",
                               "Graph settings, maxtippingpoint: \"1,5e\" is not a number; 20000 "
                               "is used.",
                               "Scenario \"Wet\", year 2030: \"abc\" is not a number; no value "
                               "is used."}))
            << Name;
    }
}

// Whatever else a file holds that cannot be read is named too: the element
// by its id and name, the field, the text; a range the map cannot be drawn
// with as well.
TEST(PathwayFile, TheReportNamesEveryValueThatCannotBeUsed) {
    TDocument Doc;
    TReadReport Report;
    Doc.Load(File(R"(<pathways><pathwaytype>timebased</pathwaytype>
<tippingvaluescount>two</tippingvaluescount>
<element id="one"><caption>Dike</caption><tippingtimevalue0>2O30</tippingtimevalue0></element>
<element id="2"><caption>Barrier</caption><tippingpointvalue>7</tippingpointvalue></element>
<CurrentElement>first</CurrentElement></pathways>
<graphsettings><mintippingpoint>3</mintippingpoint><maxtippingpoint>3,0</maxtippingpoint>
<fontsize>12pt</fontsize></graphsettings>)"),
             &Report);
    EXPECT_EQ(Report.Lines(),
              QStringList({"Pathways, tippingvaluescount: \"two\" is not a number; 1 is used.",
                           "Element \"Dike\", id: \"one\" is not a number; 0 is used.",
                           "Element 0 \"Dike\", tippingtimevalue0: \"2O30\" is not a number; 0 "
                           "is used.",
                           "Pathways, CurrentElement: \"first\" is not a number; -1 is used.",
                           "Graph settings, fontsize: \"12pt\" is not a number; 12 is used.",
                           "Graph settings: The tipping-point axis runs from 3 to 3: its "
                           "minimum must lie below its maximum."}));
    // Read without a report, the same file gives the same document.
    TDocument Quiet;
    Quiet.Load(
        File(R"(<pathways><element id="1"><initialcosts>x</initialcosts></element></pathways>)"));
    EXPECT_EQ(Quiet.Elements.Elements(0)->InitialCosts(), 0);
}

TEST(PathwayFile, TimeColumnsFromTheFile) {
    TDocument Doc;
    Doc.Load(File(R"(<pathways><pathwaytype>timebased</pathwaytype>
<tippingvaluescount>3</tippingvaluescount><TippingTimeCaption2>Late</TippingTimeCaption2>
<element id="1"><tippingtimevalue1>5</tippingtimevalue1><tippingtimevalue3>9</tippingtimevalue3>
<tippingtimevalue01>8</tippingtimevalue01><tippingpointvalue>4</tippingpointvalue></element>
</pathways>)"));
    const TElementsList& L = Doc.Elements;
    EXPECT_EQ(L.PathwayType(), ptTimeBased);
    ASSERT_EQ(L.TippingTimeValuesCount(), 3);
    EXPECT_EQ(L.TippingTimeColumnCaption(0), "Time0");
    EXPECT_EQ(L.TippingTimeColumnCaption(1), "Time1");
    EXPECT_EQ(L.TippingTimeColumnCaption(2), "Late");
    const TElement* E = L.Elements(0);
    EXPECT_EQ(E->TippingTimeValue(0), 0);
    EXPECT_EQ(E->TippingTimeValue(1), 5);
    EXPECT_EQ(E->TippingTimeValuesLength(), 3);
    EXPECT_EQ(E->TippingPointValue(), 4); // read in a time-based file too

    TDocument NoCount;
    NoCount.Load(File("<pathways><pathwaytype>timebased</pathwaytype><tippingvaluescount>many</"
                      "tippingvaluescount></pathways>"));
    EXPECT_EQ(NoCount.Elements.TippingTimeValuesCount(), 1);
}

// Children in any order, names given twice and names that only look like a
// column's: the first child of each name counts, and only a name as the
// writer makes it names a column.
TEST(PathwayFile, TheFirstChildOfEachNameCountsWhateverTheOrder) {
    TSeparatorGuard Guard('.');
    TDocument Doc;
    Doc.Load(File(R"(<pathways><CurrentElement>2</CurrentElement>
<pathwaytype>timebased</pathwaytype><TippingTimeCaption1>First</TippingTimeCaption1>
<TippingTimeCaption01>Padded</TippingTimeCaption01><tippingvaluescount>2</tippingvaluescount>
<TippingTimeCaption1>Second</TippingTimeCaption1><pathwaytype>conditionbased</pathwaytype>
<element id="1"><recurrentcosts>3</recurrentcosts><caption>A</caption><caption>B</caption>
<tippingtimevalue1>4</tippingtimevalue1><color>clRed</color><tippingtimevalue1>5</tippingtimevalue1>
<Caption>C</Caption></element>
<element id="2"><predecessorid>1</predecessorid><caption>D</caption><predecessorid>9</predecessorid></element>
<CurrentElement>1</CurrentElement></pathways>)"));
    const TElementsList& L = Doc.Elements;
    EXPECT_EQ(L.PathwayType(), ptTimeBased);
    ASSERT_EQ(L.TippingTimeValuesCount(), 2);
    EXPECT_EQ(L.TippingTimeColumnCaption(0), "Time0");
    EXPECT_EQ(L.TippingTimeColumnCaption(1), "First");
    ASSERT_EQ(L.Count(), 2);
    const TElement* One = L.Elements(0);
    EXPECT_EQ(One->Caption(), "A");
    EXPECT_EQ(One->RecurrentCosts(), 3);
    EXPECT_EQ(One->TippingTimeValue(1), 4);
    EXPECT_EQ(One->OwnColor(), clRed);
    EXPECT_EQ(L.Elements(1)->Caption(), "D");
    EXPECT_EQ(L.Elements(1)->PredecessorID(), 1);
    EXPECT_EQ(L.CurrentElementID(), 2);
}

// Short plain numbers take a shorter road than other numbers; both give the
// same values, under either locale and with either separator, and what is
// no number gives the default 0. In the texts, # stands for the locale's
// separator and @ for the other one.
TEST(PathwayFile, ShortNumbersReadAsOtherNumbers) {
    const struct {
        const char* Text;
        double Value;
    } Cases[] = {{"+4", 4},
                 {"-0", 0},
                 {"007", 7},
                 {" 12\t", 12},
                 {"123456789012345", 123456789012345.0},
                 {"1234567890123456789", 1234567890123456789.0},
                 {"-98765432109876543", -98765432109876543.0},
                 {"101#25", 101.25},
                 {"-0#5", -0.5},
                 {"0#1", 0.1},
                 {"123456789012#345", 123456789012.345},
                 {"1234567890123#456", 1234567890123.456},
                 {"0#000000000000001", 1e-15},
                 {"1#", 1},
                 {"#5", 0.5},
                 {"1e3", 1000},
                 {"1#5E-2", 0.015},
                 {"1@5", 1.5},
                 {"1#2#3", 0},
                 {"1 2", 0},
                 {"--1", 0},
                 {"+", 0},
                 {"-", 0},
                 {"#", 0},
                 {"\xEF\xBC\x91\xEF\xBC\x92", 0}}; // full-width digits
    for (char Sep : {'.', ','}) {
        TSeparatorGuard Guard(Sep);
        const char Other = Sep == '.' ? ',' : '.';
        for (const auto& C : Cases) {
            const QString Text = QString::fromUtf8(C.Text).replace('#', Sep).replace('@', Other);
            TDocument Doc;
            Doc.Load(
                File(QString::fromUtf8("<pathways><element id=\"1\"><initialcosts>%1</initialcosts>"
                                       "</element></pathways>")
                         .arg(Text)));
            const double Read = Doc.Elements.Elements(0)->InitialCosts();
            EXPECT_EQ(Read, C.Value) << C.Text << " with " << Sep;
        }
    }
}

TEST(PathwayFile, AbsurdTimeColumnCountsStopTheLoad) {
    for (const char* Count : {"-3", "10001", "2147483647"}) {
        TDocument Doc;
        try {
            Doc.Load(File(QString("<pathways><pathwaytype>timebased</pathwaytype>"
                                  "<tippingvaluescount>%1</tippingvaluescount>"
                                  "<element id=\"1\"/></pathways>")
                              .arg(Count)));
            ADD_FAILURE() << Count;
        } catch (const ECorvinalError& E) {
            EXPECT_TRUE(E.Message().contains(QString(Count))) << E.what();
        }
        EXPECT_EQ(Doc.Elements.Count(), 0);
        EXPECT_GE(Doc.Elements.TippingTimeValuesCount(), 0);
    }
    // Columns times elements is bounded too.
    QString Many = "<pathways><pathwaytype>timebased</pathwaytype><tippingvaluescount>10000</"
                   "tippingvaluescount>";
    for (int I = 0; I < 2001; ++I)
        Many += "<element id=\"1\"/>";
    TDocument Doc;
    EXPECT_THROW(Doc.Load(File(Many + "</pathways>")), ECorvinalError);
}

TEST(PathwayFile, ABadColourStopsTheLoadWhereItStands) {
    TDocument Doc;
    Doc.Settings.SetFontSize(20);
    Doc.AddScenario("kept", {"1"});
    try {
        Doc.Load(
            File(R"(<pathways><element id="1"><caption>A</caption><color>clRed</color></element>
<element id="2"><caption>B</caption><color>#808080</color><tippingpointvalue>5</tippingpointvalue></element>
<element id="3"/></pathways><graphsettings><fontsize>8</fontsize></graphsettings><scenarios/>)"));
        FAIL();
    } catch (const ECorvinalError& E) {
        EXPECT_STREQ(E.what(), "''#808080'' is not a valid integer value");
    }
    const TElementsList& L = Doc.Elements;
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.Elements(0)->MyColor(), clRed);
    EXPECT_EQ(L.Elements(1)->Caption(), "B");
    EXPECT_EQ(L.Elements(1)->TippingPointValue(), 0);
    EXPECT_EQ(Doc.Settings.FontSize(), 20); // graph settings and scenarios not read
    EXPECT_EQ(Doc.Scenarios.Count(), 1);
}

TEST(PathwayFile, MissingSections) {
    TDocument Doc;
    Doc.Elements.AddSimpleElement("kept", clRed, 3, 0, 0);
    Doc.Elements.SetCurrentElementID(1);
    Doc.Settings.SetFontSize(20);
    Doc.Settings.SetGraphicsSettingIsDirty(true);
    Doc.AddScenario("kept", {"1"});
    Doc.Scenarios.SetScenarioIsDirty(true);
    Doc.Load(File("<other/>"));
    EXPECT_EQ(Doc.Elements.Count(), 1);
    EXPECT_EQ(Doc.Elements.CurrentElementID(), 1);
    EXPECT_EQ(Doc.Settings.FontSize(), 12); // defaults whatever was there
    EXPECT_FALSE(Doc.Settings.GraphicsSettingIsDirty());
    EXPECT_EQ(Doc.Scenarios.Count(), 1);
    EXPECT_TRUE(Doc.Scenarios.ScenarioIsDirty());

    Doc.Load(
        File("<graphsettings><fontsize>4</fontsize><ticksxaxis>25</ticksxaxis>"
             "<maxtippingpoint>1,5</maxtippingpoint><xaxistitle>  </xaxistitle>"
             "</graphsettings><scenarios><scenario><caption>S</caption>"
             "<year2010>1</year2010><year2060> 2 </year2060></scenario><scenario/></scenarios>"));
    EXPECT_EQ(Doc.Settings.FontSize(), 4);
    EXPECT_EQ(Doc.Settings.TicksXAxis(), 25);
    EXPECT_EQ(Doc.Settings.XAxisTitle(), "");
    EXPECT_EQ(Doc.Settings.MaxTippingPointValue(), 1.5);
    ASSERT_EQ(Doc.Scenarios.Count(), 2);
    EXPECT_EQ(Doc.Scenarios.ScenariosStringGrid().Cells(1, 6), " 2 ");
    EXPECT_EQ(Doc.Scenarios.ScenariosStringGrid().Cells(1, 5), "");
    EXPECT_EQ(Doc.Scenarios.ScenarioCaption(1), "");
    EXPECT_FALSE(Doc.Scenarios.ScenarioIsDirty());
}

// A title, a legend and a preferred route are written only when used, each
// as the last child of its place, and read back; a file that uses none of
// them is the file it always was (the worked example above).
TEST(PathwayFile, TitleLegendAndPreferredRouteWhenUsed) {
    TSeparatorGuard Guard('.');
    TDocument Doc;
    BuildExample(Doc, ptConditionBased, '.');
    const QByteArray Plain = Doc.Save();
    EXPECT_FALSE(Plain.contains("<preferred>") || Plain.contains("<title>") ||
                 Plain.contains("<legend>"));
    Doc.Elements.Elements(2)->SetPreferred(true);
    Doc.Settings.SetTitle("Delta plan <2026> & after");
    Doc.Settings.SetLegend(true);
    const QByteArray Marked = Doc.Save();
    EXPECT_TRUE(Marked.contains("    <recurrentcosts>0</recurrentcosts>\r\n"
                                "    <preferred>1</preferred>\r\n  </element>\r\n"
                                "  <CurrentElement>"));
    EXPECT_EQ(Marked.count("<preferred>"), 1);
    EXPECT_TRUE(Marked.contains("  <fontsize>12</fontsize>\r\n"
                                "  <title>Delta plan &lt;2026&gt; &amp; after</title>\r\n"
                                "  <legend>1</legend>\r\n</graphsettings>"));
    TDocument Back;
    TReadReport Report;
    Back.Load(Marked, &Report);
    EXPECT_TRUE(Report.IsEmpty());
    EXPECT_TRUE(Back.Elements.Elements(2)->Preferred());
    EXPECT_FALSE(Back.Elements.Elements(1)->Preferred());
    EXPECT_EQ(Back.Settings.Title(), "Delta plan <2026> & after");
    EXPECT_TRUE(Back.Settings.Legend());
    EXPECT_EQ(Back.Save(), Marked);
    // Taking them away again gives the plain file back.
    Back.Elements.Elements(2)->SetPreferred(false);
    Back.Settings.SetTitle(QString());
    Back.Settings.SetLegend(false);
    EXPECT_EQ(Back.Save(), Plain);
    // A flag that is no number is said, and taken as not set.
    TDocument Odd;
    TReadReport OddReport;
    Odd.Load(File("<pathways><element id=\"4\"><caption>A</caption><preferred>yes</preferred>"
                  "</element></pathways><graphsettings><legend>on</legend></graphsettings>"),
             &OddReport);
    EXPECT_FALSE(Odd.Elements.Elements(0)->Preferred());
    EXPECT_FALSE(Odd.Settings.Legend());
    EXPECT_EQ(OddReport.Lines(),
              QStringList({"Element 4 \"A\", preferred: \"yes\" is not a number; 0 is used.",
                           "Graph settings, legend: \"on\" is not a number; 0 is used."}));
}

// The map's choice of decision points and a row spacing (set by fitting the
// map to its content) are written only when set, after the title and the
// legend, and read back; what cannot be read is said and left unset.
TEST(PathwayFile, DecisionPointsAndRowSpacingWhenSet) {
    TSeparatorGuard Guard('.');
    TDocument Doc;
    BuildExample(Doc, ptConditionBased, '.');
    const QByteArray Plain = Doc.Save();
    EXPECT_FALSE(Plain.contains("<decisionpoints>") || Plain.contains("<rowspacing>"));
    Doc.Settings.SetLegend(true);
    Doc.Settings.SetDecisionPoints(2);
    Doc.Settings.SetRowSpacing(27);
    const QByteArray Set = Doc.Save();
    EXPECT_TRUE(Set.contains("  <legend>1</legend>\r\n"
                             "  <decisionpoints>2</decisionpoints>\r\n"
                             "  <rowspacing>27</rowspacing>\r\n</graphsettings>"));
    TDocument Back;
    TReadReport Report;
    Back.Load(Set, &Report);
    EXPECT_TRUE(Report.IsEmpty());
    EXPECT_EQ(Back.Settings.DecisionPoints(), 2);
    EXPECT_EQ(Back.Settings.RowSpacing(), 27);
    EXPECT_EQ(Back.Save(), Set);
    Back.Settings.SetLegend(false);
    Back.Settings.SetDecisionPoints(0);
    Back.Settings.SetRowSpacing(0);
    EXPECT_EQ(Back.Save(), Plain);
    TDocument Odd;
    TReadReport OddReport;
    Odd.Load(File("<pathways></pathways><graphsettings><decisionpoints>High</decisionpoints>"
                  "<rowspacing>2,5</rowspacing></graphsettings>"),
             &OddReport);
    EXPECT_EQ(Odd.Settings.DecisionPoints(), 0);
    EXPECT_EQ(Odd.Settings.RowSpacing(), 0);
    EXPECT_EQ(OddReport.Lines(),
              QStringList({"Graph settings, decisionpoints: \"High\" is not a number; 0 is used.",
                           "Graph settings, rowspacing: \"2,5\" is not a number; 0 is used."}));
}

// A lead time is written only where it is not 0, after the costs; one
// outside 0 to 100 years is held to them, with a word.
TEST(PathwayFile, LeadTimesWhenUsed) {
    TSeparatorGuard Guard('.');
    TDocument Doc;
    BuildExample(Doc, ptConditionBased, '.');
    const QByteArray Plain = Doc.Save();
    EXPECT_FALSE(Plain.contains("<leadtime>"));
    Doc.Elements.Elements(1)->SetLeadTime(20);
    const QByteArray Timed = Doc.Save();
    EXPECT_TRUE(Timed.contains("    <recurrentcosts>0</recurrentcosts>\r\n"
                               "    <leadtime>20</leadtime>\r\n  </element>"));
    EXPECT_EQ(Timed.count("<leadtime>"), 1);
    TDocument Back;
    Back.Load(Timed);
    EXPECT_EQ(Back.Elements.Elements(1)->LeadTime(), 20);
    EXPECT_EQ(Back.Elements.Elements(2)->EffectiveLeadTime(), 20); // leads to Dike
    EXPECT_EQ(Back.Save(), Timed);

    TDocument Odd;
    TReadReport Report;
    Odd.Load(File("<pathways><element id=\"1\"><caption>A</caption><leadtime>250</leadtime>"
                  "</element><element id=\"2\"><caption>B</caption><leadtime>-3</leadtime>"
                  "</element><element id=\"3\"><caption>C</caption><leadtime>ten</leadtime>"
                  "</element></pathways>"),
             &Report);
    EXPECT_EQ(Odd.Elements.Elements(0)->LeadTime(), 100);
    EXPECT_EQ(Odd.Elements.Elements(1)->LeadTime(), 0);
    EXPECT_EQ(Odd.Elements.Elements(2)->LeadTime(), 0);
    EXPECT_EQ(Report.Lines(),
              QStringList({"Element 1 \"A\", leadtime: 250 years is outside 0 to 100; 100 is used.",
                           "Element 2 \"B\", leadtime: -3 years is outside 0 to 100; 0 is used.",
                           "Element 3 \"C\", leadtime: \"ten\" is not a number; 0 is used."}));
}

TEST(PathwayFile, EmptyAndConditionListsWriteNoTimeColumns) {
    TDocument Doc;
    Doc.Elements.SetTippingTimeValuesCount(1);
    QByteArray Bytes = Doc.Save();
    EXPECT_TRUE(
        Bytes.contains("<pathways>\r\n  <pathwaytype>conditionbased</pathwaytype>\r\n"
                       "  <CurrentElement>-1</CurrentElement>\r\n</pathways>\r\n<scenarios/>"));
    EXPECT_FALSE(Bytes.contains("tippingvaluescount"));
    EXPECT_FALSE(Bytes.contains("Time0"));
    Doc.Load(Bytes);
    EXPECT_EQ(Doc.Elements.TippingTimeValuesCount(), 0);
}

TEST(PathwayFile, WhitespaceOnlyTextsComeBackEmpty) {
    TDocument Doc;
    Doc.Elements.AddSimpleElement(" \t\r\n ", clRed, 1, 0, 0);
    Doc.Settings.SetXAxisTitle("   ");
    Doc.AddScenario("  ", {" "});
    Doc.Load(Doc.Save());
    EXPECT_EQ(Doc.Elements.Elements(0)->Caption(), "");
    EXPECT_EQ(Doc.Settings.XAxisTitle(), "");
    EXPECT_EQ(Doc.Scenarios.ScenarioCaption(0), "");
    EXPECT_EQ(Doc.Scenarios.ScenariosStringGrid().Cells(1, 1), "");
}

TEST(PathwayFile, SaveAndLoadThroughFiles) {
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("dike.pathway");
    TDocument Doc;
    BuildExample(Doc, ptConditionBased, DecimalSeparator());
    SavePathwayFile(Name, Doc.Elements, Doc.Scenarios, Doc.Settings);
    TDocument Back;
    LoadPathwayFile(Name, Back.Elements, Back.Settings, Back.Scenarios);
    EXPECT_EQ(Back.Save(), Doc.Save());
    EXPECT_THROW(LoadPathwayFile(Dir.filePath("missing.pathway"), Back.Elements, Back.Settings,
                                 Back.Scenarios),
                 ECorvinalError);
    EXPECT_EQ(Back.Elements.Count(), 3);
}

TEST(PathwayFile, AFileWithoutAnySectionIsNoPathwayFileAndChangesNothing) {
    QTemporaryDir Dir;
    TDocument Doc;
    BuildExample(Doc, ptConditionBased, DecimalSeparator());
    Doc.Settings.SetGraphicsSettingIsDirty(true);
    const QByteArray Before = Doc.Save();
    struct TCase {
        const char* Name;
        QByteArray Bytes;
    };
    const TCase Cases[] = {{"random.pathway", QByteArray("\x89PNG\r\n\x1a\n\x00\x01junk", 14)},
                           {"empty.pathway", QByteArray()},
                           {"other.pathway", "<?xml version=\"1.0\"?><other><pathways/></other>"}};
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const QString Name = Dir.filePath(QString::fromLatin1(Case.Name));
        QFile F(Name);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Case.Bytes);
        F.close();
        try {
            LoadPathwayFile(Name, Doc.Elements, Doc.Settings, Doc.Scenarios);
            ADD_FAILURE() << "no error";
        } catch (const ECorvinalError& E) {
            EXPECT_EQ(E.Message(), Name + " is not a pathway file");
        }
        EXPECT_EQ(Doc.Save(), Before);
        EXPECT_TRUE(Doc.Settings.GraphicsSettingIsDirty());
    }
    // One section is enough.
    const QString Name = Dir.filePath("scenarios.pathway");
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write("<scenarios/>");
    F.close();
    LoadPathwayFile(Name, Doc.Elements, Doc.Settings, Doc.Scenarios);
    EXPECT_EQ(Doc.Scenarios.Count(), 0);
}

// ------------------------------------------------------------ round trip

QString RandomText(std::mt19937& Rng) {
    static const QStringList Pieces = {"Dike", "Pump",    "&",   "<",    ">",  "\"",
                                       "'",    " ",       "\n",  "\r\n", "\t", "é",
                                       "水",   "a&amp;b", "]]>", "<!--", "x"};
    QString Text;
    const int N = int(Rng() % 6);
    for (int I = 0; I < N; ++I)
        Text += Pieces[int(Rng() % Pieces.size())];
    // Texts made only of blanks come back empty, by design; keep them out.
    if (Text.trimmed().isEmpty())
        Text += "x";
    return Text;
}

double RandomValue(std::mt19937& Rng) {
    switch (Rng() % 5) {
    case 0:
        return 0;
    case 1:
        return double(int(Rng() % 2001) - 1000);
    case 2:
        return std::uniform_real_distribution<double>(-1e6, 1e6)(Rng);
    case 3:
        return std::ldexp(std::uniform_real_distribution<double>(0.5, 1)(Rng),
                          int(Rng() % 200) - 100);
    default:
        return int(Rng() % 1000) / 8.0;
    }
}

void RandomDocument(std::mt19937& Rng, TDocument& Doc, TPathwayType Type) {
    TElementsList& L = Doc.Elements;
    L.SetPathwayType(Type);
    L.SetTippingTimeValuesCount(Type == ptTimeBased ? int(Rng() % 5) : 1);
    for (int I = 0; I < L.TippingTimeValuesCount(); ++I)
        L.SetTippingTimeColumnCaption(I, RandomText(Rng));
    const int Count = 50 + int(Rng() % 150);
    for (int I = 0; I < Count; ++I) {
        TElement* E = new TElement(int(Rng() % 400) - 20, &L);
        E->SetCaption(RandomText(Rng));
        E->SetMyColor(TColor(Rng()));
        E->SetTippingPointValue(RandomValue(Rng));
        for (int C = 0; C < L.TippingTimeValuesCount(); ++C)
            E->SetTippingTimeValue(C, RandomValue(Rng));
        if (Rng() % 2) {
            E->SetPredecessorID(int(Rng() % 400) - 20);
            E->SetCombinationSecondID(int(Rng() % 400) - 20);
            E->SetCombinationType(TCombinationType(Rng() % 3));
        }
        E->SetInitialCosts(RandomValue(Rng));
        E->SetTransferCosts(RandomValue(Rng));
        E->SetRecurrentCosts(RandomValue(Rng));
    }
    L.SetCurrentElementID(int(Rng() % 50) - 2);
    const int Scenarios = int(Rng() % 6);
    for (int S = 0; S < Scenarios; ++S) {
        QStringList Cells;
        // A cell holds a number or nothing: a text that is no number is read
        // as no value.
        for (int R = 0; R < 10; ++R)
            Cells << (Rng() % 3 == 0 ? QString() : FloatToStrGeneral(RandomValue(Rng)));
        Doc.AddScenario(RandomText(Rng), Cells);
    }
    TGraphicsSettings& G = Doc.Settings;
    G.SetMaxTippingPointValue(RandomValue(Rng));
    G.SetMinTippingPointValue(RandomValue(Rng));
    G.SetLeftMargin(int(Rng() % 100));
    G.SetTicksXAxis(int(Rng() % 30) - 5);
    G.SetXAxisTitle(RandomText(Rng));
    G.SetDrawingAreaWidth(int(Rng() % 3000));
    G.SetFontSize(int(Rng() % 30));
}

TEST(PathwayFile, GeneratedDocumentsRoundTripToTheSameBytes) {
    std::mt19937 Rng(20261209);
    for (QChar Sep : TestSeparators) {
        TSeparatorGuard Guard(Sep);
        for (int Round = 0; Round < 20; ++Round) {
            TDocument Doc;
            RandomDocument(Rng, Doc, Round % 2 ? ptTimeBased : ptConditionBased);
            const QByteArray First = Doc.Save();
            TDocument Back;
            Back.Load(First);
            ASSERT_EQ(Back.Save(), First) << "round " << Round;
            ASSERT_EQ(Back.Elements.Count(), Doc.Elements.Count());
        }
    }
}

} // namespace
