#include "document/ScorecardUnit.h"
#include "base/ErrorUnit.h"
#include "document/PathwayFileUnit.h"
#include "file/XmlUnit.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString DikeFile = QStringLiteral(CORVINAL_TEST_DATA "/dike.pathway");
const QString DikeCsv = QStringLiteral(CORVINAL_TEST_DATA "/dike.csv");

class Scorecard : public ::testing::TestWithParam<QChar> {
protected:
    QChar Sep() const { return GetParam(); }
    // A text written with a point, in the user's form.
    QString Local(const char* Text) const {
        return QString::fromUtf8(Text).replace(QLatin1Char('.'), Sep());
    }
    // The worked example as it was saved under the user's separator: the file
    // holds its numbers in the user's form.
    void LoadDike() {
        QByteArray Bytes = ReadAll(DikeFile);
        ASSERT_FALSE(Bytes.isEmpty());
        const QString Text = QString::fromUtf8(Bytes).replace(
            QRegularExpression(QStringLiteral(">(-?\\d+)\\.(\\d+)<")),
            QStringLiteral(">\\1") + Sep() + QStringLiteral("\\2<"));
        TXmlDoc XML;
        XML.LoadFromBytes(Text.toUtf8());
        ReadPathwayDocument(XML, Doc.Elements, Doc.Settings, Doc.Scenarios);
    }
    TElement* Action(const QString& Name, double Value, double Initial = 0, double Recurrent = 0) {
        return Doc.Elements.AddSimpleElement(Name, clRed, Value, Initial, Recurrent);
    }

    TSeparatorGuard Guard{GetParam()};
    TPathwayDocument Doc;
};

INSTANTIATE_TEST_SUITE_P(Separators, Scorecard, ::testing::ValuesIn(TestSeparators),
                         [](const auto& Info) {
                             return Info.param == QLatin1Char('.') ? std::string("Point")
                                                                   : std::string("Comma");
                         });

TEST_P(Scorecard, WorkedExampleAsCsvIsTheFixture) {
    LoadDike();
    ASSERT_EQ(Doc.Elements.Count(), 3);
    EXPECT_EQ(ScorecardCsv(Doc.Elements, Doc.Scenarios), ReadAll(DikeCsv));
    QTemporaryDir Dir;
    const QString Name = Dir.filePath("dike.csv");
    SaveScorecardCsv(Name, Doc.Elements, Doc.Scenarios);
    EXPECT_EQ(ReadAll(Name), ReadAll(DikeCsv));
}

TEST_P(Scorecard, ColumnsOfAConditionBasedPathway) {
    LoadDike();
    AddScenarioColumn(Doc.Scenarios, "Dry", {"0", "0.1"});
    const TScorecard Card(Doc.Elements, Doc.Scenarios);
    using C = TScorecard;
    const struct {
        TScorecard::TColumnKind Kind;
        const char* Caption;
        int32_t Scenario;
    } Columns[] = {
        {C::ckID, "ID", -1},
        {C::ckColor, "Color", -1},
        {C::ckName, "Action or Pathway", -1},
        {C::ckType, "Type", -1},
        {C::ckPreferred, "Preferred", -1},
        {C::ckTippingValue, "Condition tipping point", -1},
        {C::ckInitialCosts, "Initial Costs", -1},
        {C::ckTransferCosts, "Transfer Costs", -1},
        {C::ckRecurrentCosts, "Recurrent Costs", -1},
        {C::ckLeadTime, "Lead Time", -1},
        {C::ckTippingYear, "Wet", 0},
        {C::ckTippingYear, "Dry", 1},
    };
    ASSERT_EQ(Card.ColumnCount(), int32_t(std::size(Columns)));
    ASSERT_EQ(Card.RowCount(), 3);
    for (int32_t Col = 0; Col < Card.ColumnCount(); ++Col) {
        EXPECT_EQ(Card.Kind(Col), Columns[Col].Kind) << Col;
        EXPECT_EQ(Card.Caption(Col), Columns[Col].Caption) << Col;
        EXPECT_EQ(Card.Scenario(Col), Columns[Col].Scenario) << Col;
        EXPECT_EQ(Card.TimeColumn(Col), -1) << Col;
        EXPECT_EQ(Card.ColumnOf(Columns[Col].Kind, Columns[Col].Scenario), Col);
    }
    EXPECT_EQ(Card.ColumnOf(C::ckTimeValue), -1);
    EXPECT_EQ(Card.ColumnOf(C::ckTippingYear, 2), -1);
    EXPECT_TRUE(HasTippingYears(Doc.Elements));
}

TEST_P(Scorecard, CellsAsShownCopiedAndWritten) {
    Doc.Elements.SetTippingTimeValuesCount(1);
    TElement* Start = Action("Current Situation", 10, 0, 1);
    Doc.Elements.SetCurrentElementID(Start->ID());
    TElement* Dike = Action("Dike, high", 1234.5678, 1e20, -3.5);
    TElement* Both = AddTestPathway(Doc.Elements, Start, Dike, ctCombine, 0.125);
    Both->SetTransferCosts(0.005);
    AddScenarioColumn(Doc.Scenarios, "Wet", {"0", "5", "10", "15"});
    const TScorecard Card(Doc.Elements, Doc.Scenarios);
    const struct {
        int32_t Row;
        TScorecard::TColumnKind Kind;
        const char* Shown;
        const char* Copied;
        const char* Written;
    } Cases[] = {
        {0, TScorecard::ckID, "-->1", "1", "1"},
        {1, TScorecard::ckID, "2", "2", "2"},
        {1, TScorecard::ckColor, "", "", ""},
        {1, TScorecard::ckName, "Dike, high", "Dike, high", "Dike, high"},
        {0, TScorecard::ckType, "Action", "Action", "Action"},
        {2, TScorecard::ckType, "Combine", "Combine", "Combine"},
        {1, TScorecard::ckTippingValue, "1234.57", "1234.5678", "1234.5678"},
        {2, TScorecard::ckTippingValue, "0.13", "0.125", "0.125"},
        {1, TScorecard::ckInitialCosts, "100000000000000000000.00", "1E20", "1E20"},
        {2, TScorecard::ckTransferCosts, "0.01", "0.005", "0.005"},
        {1, TScorecard::ckRecurrentCosts, "-3.50", "-3.5", "-3.5"},
        {0, TScorecard::ckTippingYear, "2030", "2030", "2030"},
        {1, TScorecard::ckTippingYear, "> 2040", "> 2040", ">2040"},
        {2, TScorecard::ckTippingYear, "2010", "2010", "2010"},
    };
    for (const auto& C : Cases) {
        const int32_t Col = Card.ColumnOf(C.Kind);
        ASSERT_GE(Col, 0);
        const bool Number = Card.IsNumberColumn(Col);
        // Only numbers take the user's separator; the written form keeps the
        // point.
        EXPECT_EQ(Card.Text(C.Row, Col), Number ? Local(C.Shown) : QString::fromUtf8(C.Shown))
            << C.Shown;
        EXPECT_EQ(Card.CopyText(C.Row, Col), Number ? Local(C.Copied) : QString::fromUtf8(C.Copied))
            << C.Copied;
        EXPECT_EQ(Card.CsvText(C.Row, Col), QString::fromUtf8(C.Written)) << C.Written;
    }
    EXPECT_EQ(Card.Number(1, Card.ColumnOf(TScorecard::ckInitialCosts)), 1e20);
    EXPECT_EQ(Card.Number(1, Card.ColumnOf(TScorecard::ckName)), 0);
    EXPECT_FALSE(Card.IsNumberColumn(Card.ColumnOf(TScorecard::ckTippingYear)));
}

TEST_P(Scorecard, EveryElementTipsAtItsTippingValueUnderEveryScenario) {
    LoadDike();
    AddScenarioColumn(Doc.Scenarios, "Falling", {"9", "6", "", "3"});
    AddScenarioColumn(Doc.Scenarios, "Single", {"", "1"});
    Action("Late", 3.7);
    const TScorecard Card(Doc.Elements, Doc.Scenarios);
    for (int32_t Row = 0; Row < Card.RowCount(); ++Row)
        for (int32_t S = 0; S < Doc.Scenarios.Count(); ++S) {
            const TElement& E = Card.Element(Row);
            const TTippingYear Expected =
                ScenarioTippingYear(Doc.Scenarios, S, E.TippingPointValue());
            EXPECT_EQ(Card.TippingYear(Row, S), Expected) << Row << " " << S;
            EXPECT_EQ(ElementTippingYear(E, Doc.Scenarios, S), Expected) << Row << " " << S;
            EXPECT_EQ(Card.Text(Row, Card.ColumnOf(TScorecard::ckTippingYear, S)),
                      TippingYearText(Expected));
        }
    // A few by hand: Dike (2.5) under Wet, Falling and Single; Late (3.7).
    EXPECT_EQ(Card.TippingYear(1, 0), (TTippingYear{TTippingYear::tyYear, 2060}));
    EXPECT_EQ(Card.TippingYear(1, 1), (TTippingYear{TTippingYear::tyAfter, 2040}));
    EXPECT_EQ(Card.TippingYear(1, 2), (TTippingYear{TTippingYear::tyNone, 0}));
    EXPECT_EQ(Card.TippingYear(3, 0), (TTippingYear{TTippingYear::tyYear, 2084}));
    EXPECT_EQ(Card.TippingYear(3, 1), (TTippingYear{TTippingYear::tyYear, 2035}));
}

TEST_P(Scorecard, ATimeBasedPathwayShowsItsTimeColumnsAndNoYears) {
    TElementsList& L = Doc.Elements;
    L.SetPathwayType(ptTimeBased);
    L.SetTippingTimeValuesCount(2);
    L.SetTippingTimeColumnCaption(1, "Dry");
    TElement* Start = Action("Current Situation", 0);
    Start->SetTippingTimeValue(0, 2030);
    Start->SetTippingTimeValue(1, 2027.5);
    // Scenarios left over from a condition-based past make no columns.
    AddScenarioColumn(Doc.Scenarios, "Wet", {"0", "1"});
    const TScorecard Card(L, Doc.Scenarios);
    EXPECT_FALSE(HasTippingYears(L));
    EXPECT_EQ(ElementTippingYear(*Start, Doc.Scenarios, 0), TTippingYear{});
    EXPECT_EQ(Card.ColumnCount(), 11);
    EXPECT_EQ(Card.ColumnOf(TScorecard::ckTippingValue), -1);
    EXPECT_EQ(Card.ColumnOf(TScorecard::ckTippingYear), -1);
    const int32_t Dry = Card.ColumnOf(TScorecard::ckTimeValue, 1);
    EXPECT_EQ(Dry, 6);
    EXPECT_EQ(Card.TimeColumn(Dry), 1);
    EXPECT_EQ(Card.Caption(Dry), "Dry");
    EXPECT_EQ(Card.Caption(5), "Time0");
    EXPECT_EQ(Card.Text(0, Dry), Local("2027.50"));
    EXPECT_EQ(ScorecardCsv(L, Doc.Scenarios),
              "\xEF\xBB\xBF"
              "ID,Action or Pathway,Type,Time0,Dry,Initial Costs,Transfer Costs,Recurrent Costs\r\n"
              "1,Current Situation,Action,2030,2027.5,0,0,0\r\n");
}

// The preferred route is a column of the tab; the CSV has it only where a
// route is marked, so that the tables of plans without one stay as they were.
TEST_P(Scorecard, ThePreferredRouteIsWrittenWhereItIsMarked) {
    LoadDike();
    const int32_t Col = TScorecard(Doc.Elements, Doc.Scenarios).ColumnOf(TScorecard::ckPreferred);
    ASSERT_EQ(Col, 4);
    EXPECT_FALSE(ScorecardCsv(Doc.Elements, Doc.Scenarios).contains("Preferred"));
    Doc.Elements.Elements(2)->SetPreferred(true);
    const TScorecard Card(Doc.Elements, Doc.Scenarios);
    EXPECT_EQ(Card.Text(2, Col), "");
    EXPECT_EQ(Card.CopyText(2, Col), "yes");
    EXPECT_EQ(Card.CopyText(1, Col), "");
    const QList<QByteArray> Lines = ScorecardCsv(Doc.Elements, Doc.Scenarios).split('\n');
    EXPECT_TRUE(Lines[0].endsWith("ID,Action or Pathway,Type,Preferred,Condition tipping point,"
                                  "Initial Costs,Transfer Costs,Recurrent Costs,Wet\r"));
    EXPECT_TRUE(Lines[2].startsWith("2,Dike,Action,,")) << Lines[2].toStdString();
    EXPECT_TRUE(Lines[3].startsWith("3,Current Situation + Dike,Sequence,yes,"))
        << Lines[3].toStdString();
}

// Lead times are typed into the tab; a pathway shows the one of the action
// it changes to. The CSV has the column only where a lead time is set.
TEST_P(Scorecard, LeadTimesAreAColumnOfTheirOwn) {
    LoadDike();
    EXPECT_FALSE(ScorecardCsv(Doc.Elements, Doc.Scenarios).contains("Lead Time"));
    Doc.Elements.Elements(1)->SetLeadTime(15);
    const TScorecard Card(Doc.Elements, Doc.Scenarios);
    const int32_t Col = Card.ColumnOf(TScorecard::ckLeadTime);
    EXPECT_EQ(Card.Text(1, Col), "15");
    EXPECT_EQ(Card.Text(2, Col), "15"); // leads to Dike
    EXPECT_EQ(Card.Text(0, Col), "0");
    const QList<QByteArray> Lines = ScorecardCsv(Doc.Elements, Doc.Scenarios).split('\n');
    EXPECT_TRUE(Lines[0].contains("Recurrent Costs,Lead Time,Wet")) << Lines[0].toStdString();
    EXPECT_TRUE(Lines[2].startsWith("2,Dike,Action,2.5,0,0,0,15,")) << Lines[2].toStdString();
}

TEST_P(Scorecard, CsvFieldsAreQuotedWhereTheyMustBe) {
    const struct {
        const char* Name;
        const char* Field;
    } Cases[] = {
        {"Dike", "Dike"},
        {"Dike, high", "\"Dike, high\""},
        {"The \"big\" one", "\"The \"\"big\"\" one\""},
        {"Two\nlines", "\"Two\nlines\""},
        {"Two\r\nlines", "\"Two\r\nlines\""},
        {" padded ", "\" padded \""},
        {"Rhein \u2264 Maas", "Rhein \u2264 Maas"},
        {"", ""},
    };
    for (const auto& C : Cases)
        Action(QString::fromUtf8(C.Name), 1);
    AddScenarioColumn(Doc.Scenarios, "Wet, \"very\"", {"0", "2"});
    QByteArray Expected("\xEF\xBB\xBF");
    Expected += "ID,Action or Pathway,Type,Condition tipping point,Initial Costs,Transfer Costs,"
                "Recurrent Costs,\"Wet, \"\"very\"\"\"\r\n";
    int Id = 0;
    for (const auto& C : Cases)
        Expected += QByteArray::number(++Id) + "," + C.Field + ",Action,1,0,0,0,2015\r\n";
    EXPECT_EQ(ScorecardCsv(Doc.Elements, Doc.Scenarios), Expected);
}

TEST_P(Scorecard, AScenarioThatCannotBeReadStopsTheExportButNotTheTable) {
    LoadDike();
    AddScenarioColumn(Doc.Scenarios, "Typo", {"1", "abc", "3"});
    const TScorecard Card(Doc.Elements, Doc.Scenarios);
    EXPECT_EQ(Card.ScenarioError(0), "");
    EXPECT_EQ(Card.ScenarioError(1), "Cell does not contain a float value");
    EXPECT_EQ(Card.TippingYear(1, 0), (TTippingYear{TTippingYear::tyYear, 2060}));
    EXPECT_EQ(Card.Text(1, Card.ColumnOf(TScorecard::ckTippingYear, 1)), "\u2013");

    QTemporaryDir Dir;
    const QString Old = Dir.filePath("card.csv");
    {
        QFile File(Old);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write("earlier");
    }
    try {
        SaveScorecardCsv(Old, Doc.Elements, Doc.Scenarios);
        FAIL() << "no error";
    } catch (const ECorvinalError& E) {
        EXPECT_EQ(E.Message(), "The tipping years under scenario \"Typo\" cannot be computed: "
                               "Cell does not contain a float value");
    }
    EXPECT_EQ(ReadAll(Old), "earlier");
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("card.csv")});
}

TEST_P(Scorecard, FilesThatCannotBeWrittenAreReportedAndLeftAlone) {
    LoadDike();
    QTemporaryDir Dir;
    const QString Folder = Dir.filePath("folder.csv");
    ASSERT_TRUE(QDir().mkdir(Folder));
    for (const QString& Name : {Dir.filePath("missing/card.csv"), Folder}) {
        try {
            SaveScorecardCsv(Name, Doc.Elements, Doc.Scenarios);
            FAIL() << "no error for " << Name.toStdString();
        } catch (const ECorvinalError& E) {
            EXPECT_TRUE(
                E.Message().startsWith("Cannot write " + QDir::toNativeSeparators(Name) + ": "))
                << E.Message().toStdString();
        }
    }
    EXPECT_TRUE(QFileInfo(Folder).isDir());
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("folder.csv")});
}

} // namespace
