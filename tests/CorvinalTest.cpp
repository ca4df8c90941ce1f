#include "tests/support/TestSupport.h"
#include "ui/VersionUnit.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString Program = QStringLiteral(CORVINAL_EXECUTABLE);
const QString Examples = QStringLiteral(CORVINAL_SOURCE_DIR "/examples");
const QString TestData = QStringLiteral(CORVINAL_TEST_DATA);

struct TRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

TRun RunCorvinal(const QStringList& Arguments,
                 QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment()) {
    QProcess Process;
    Process.setProcessEnvironment(Environment);
    Process.start(Program, Arguments);
    EXPECT_TRUE(Process.waitForFinished(60000));
    TRun Result;
    Result.ExitCode = Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1;
    Result.Out = QString::fromLocal8Bit(Process.readAllStandardOutput());
    Result.Err = QString::fromLocal8Bit(Process.readAllStandardError());
    return Result;
}

QString WriteFile(const QTemporaryDir& Dir, const QString& Name, const QByteArray& Bytes) {
    const QString Path = Dir.filePath(Name);
    QFile File(Path);
    EXPECT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(Bytes);
    return Path;
}

TEST(CommandLine, ExportsTheExampleInEveryFormat) {
    QTemporaryDir Dir;
    const QString Example = Examples + "/delta.pathway";
    TRun R = RunCorvinal({"--export", Dir.filePath("map.png"), Example});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    EXPECT_EQ(QImage(Dir.filePath("map.png")).size(), QSize(1000, 560));

    R = RunCorvinal({"--export", Dir.filePath("estuary.png"), Examples + "/estuary.pathway"});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    EXPECT_EQ(QImage(Dir.filePath("estuary.png")).size(), QSize(1200, 700));

    R = RunCorvinal({"--export", Dir.filePath("big.PNG"), "--scale", "2", Example});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    EXPECT_EQ(QImage(Dir.filePath("big.PNG")).size(), QSize(2000, 1120));

    R = RunCorvinal({"--export", Dir.filePath("map.svg"), Example});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    QFile Svg(Dir.filePath("map.svg"));
    ASSERT_TRUE(Svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(Svg.readAll().contains("<svg"));

    R = RunCorvinal({"--export", Dir.filePath("map.pdf"), Example});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    QFile Pdf(Dir.filePath("map.pdf"));
    ASSERT_TRUE(Pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(Pdf.read(5), "%PDF-");
}

TEST(CommandLine, SeriesOfATimeBasedPathway) {
    QTemporaryDir Dir;
    const QString Example = Examples + "/drought.pathway";
    ASSERT_EQ(RunCorvinal({"--export", Dir.filePath("0.png"), Example}).ExitCode, 0);
    ASSERT_EQ(RunCorvinal({"--export", Dir.filePath("2.png"), "--series", "2", Example}).ExitCode,
              0);
    EXPECT_NE(QImage(Dir.filePath("0.png")), QImage(Dir.filePath("2.png")));
    // The picture names the time column it shows.
    ASSERT_EQ(RunCorvinal({"--export", Dir.filePath("2.svg"), "--series", "2", Example}).ExitCode,
              0);
    QFile Svg(Dir.filePath("2.svg"));
    ASSERT_TRUE(Svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        QString::fromUtf8(Svg.readAll()).contains(QStringLiteral(">Year \u2013 Wet</text>")));
    const TRun R = RunCorvinal({"--export", Dir.filePath("9.png"), "--series", "9", Example});
    EXPECT_NE(R.ExitCode, 0);
    EXPECT_TRUE(R.Err.contains("series 9")) << R.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Dir.filePath("9.png")));
}

// The worked example written under a point locale, the same written under a
// comma locale, and a copy with values that are no number, exported and
// scored under four locales: the same pictures and tables everywhere, and a
// warning a line for what could not be read.
TEST(CommandLine, FilesReadTheSameUnderEveryLocale) {
    QTemporaryDir Dir;
    const QByteArray Point = ReadAll(TestData + "/dike.pathway");
    ASSERT_TRUE(Point.contains("<tippingpointvalue>2.5</tippingpointvalue>"));
    QByteArray Comma = Point;
    Comma.replace("2.5<", "2,5<")
        .replace("0.5<", "0,5<")
        .replace("1.5<", "1,5<")
        .replace("3.5<", "3,5<");
    QByteArray Unreadable = Point;
    Unreadable.replace("<tippingpointvalue>2.5<", "<tippingpointvalue>2x5<")
        .replace("<year2030>1<", "<year2030>one<");
    const QString Files[] = {WriteFile(Dir, "point.pathway", Point),
                             WriteFile(Dir, "comma.pathway", Comma),
                             WriteFile(Dir, "unreadable.pathway", Unreadable)};
    const QStringList Warnings = {
        "corvinal: warning: Element 2 \"Dike\", tippingpointvalue: \"2x5\" is not a number; 0 "
        "is used.",
        "corvinal: warning: Scenario \"Wet\", year 2030: \"one\" is not a number; no value is "
        "used."};
    QByteArray Picture;
    QByteArray Table;
    for (const char* Locale : {"C", "en_US.UTF-8", "de_DE.UTF-8", "nl_NL.UTF-8"}) {
        QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
        Environment.insert("LC_ALL", Locale);
        Environment.insert("LANG", Locale);
        for (const QString& File : Files) {
            const bool Bad = File.endsWith("unreadable.pathway");
            const QString Png = Dir.filePath("map.png");
            const QString Csv = Dir.filePath("card.csv");
            QFile::remove(Png);
            QFile::remove(Csv);
            const std::string Case = std::string(Locale) + " " + File.toStdString();
            TRun R = RunCorvinal({"--export", Png, File}, Environment);
            ASSERT_EQ(R.ExitCode, 0) << Case << R.Err.toStdString();
            EXPECT_EQ(R.Err.trimmed().split('\n'), Bad ? Warnings : QStringList{""}) << Case;
            R = RunCorvinal({"--scorecard", Csv, File}, Environment);
            ASSERT_EQ(R.ExitCode, 0) << Case << R.Err.toStdString();
            EXPECT_EQ(R.Err.trimmed().split('\n'), Bad ? Warnings : QStringList{""}) << Case;
            if (Bad)
                continue;
            if (Picture.isEmpty()) {
                Picture = ReadAll(Png);
                Table = ReadAll(Csv);
            }
            EXPECT_EQ(ReadAll(Png), Picture) << Case;
            EXPECT_EQ(ReadAll(Csv), Table) << Case;
        }
    }
    EXPECT_EQ(Table, ReadAll(TestData + "/dike.csv"));
}

TEST(CommandLine, ErrorsLeaveNoOutput) {
    QTemporaryDir Dir;
    const QString Equal = WriteFile(
        Dir, "equal.pathway",
        "<graphsettings><maxtippingpoint>5</maxtippingpoint><mintippingpoint>5</mintippingpoint>"
        "</graphsettings>");
    const QString Huge = WriteFile(Dir, "huge.pathway",
                                   "<graphsettings><drawingareawidth>50000</drawingareawidth>"
                                   "<drawingareaheight>50000</drawingareaheight></graphsettings>");
    const QString BadColour =
        WriteFile(Dir, "colour.pathway",
                  "<pathways><element id=\"1\"><color>#808080</color></element></pathways>");
    const QString Junk = WriteFile(Dir, "junk.pathway", "GIF89a\x01\x02 not xml at all");
    const struct {
        QStringList Arguments;
        const char* Message;
    } Cases[] = {
        {{"--export", Dir.filePath("out.png"), Junk}, "junk.pathway is not a pathway file"},
        {{"--export", Dir.filePath("out.png"), Dir.filePath("missing.pathway")},
         "Cannot open file"},
        {{"--export", Dir.filePath("out.png"), BadColour},
         "''#808080'' is not a valid integer value"},
        {{"--export", Dir.filePath("out.png"), Equal}, "Floating point division by zero"},
        {{"--export", Dir.filePath("out.png"), Huge}, "too large"},
        {{"--export", Dir.filePath("out.bmp"), Examples + "/delta.pathway"}, "png"},
        {{"--export", Dir.filePath("out.png"), "--scale", "zero", Examples + "/delta.pathway"},
         "scale"},
        {{"--export", Dir.filePath("out.png"), "--scale", "0", Examples + "/delta.pathway"},
         "scale"},
    };
    for (const auto& C : Cases) {
        const TRun R = RunCorvinal(C.Arguments);
        EXPECT_NE(R.ExitCode, 0) << C.Message;
        EXPECT_TRUE(R.Err.contains(C.Message)) << R.Err.toStdString();
        EXPECT_FALSE(QFile::exists(Dir.filePath("out.png"))) << C.Message;
        EXPECT_FALSE(QFile::exists(Dir.filePath("out.bmp"))) << C.Message;
    }
    // An earlier picture under the same name survives a failed export.
    const QString Old = WriteFile(Dir, "old.png", "old");
    EXPECT_NE(RunCorvinal({"--export", Old, Equal}).ExitCode, 0);
    QFile Kept(Old);
    ASSERT_TRUE(Kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(Kept.readAll(), "old");
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 5); // no temporary files left
    EXPECT_EQ(RunCorvinal({"--export", Dir.filePath("out.png"), Junk}).ExitCode, 1);
}

// The environment of a user whose numbers use Separator.
QProcessEnvironment UserLocale(QChar Separator) {
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    const QString Locale = Separator == QLatin1Char(',') ? "de_DE.UTF-8" : "en_US.UTF-8";
    Environment.insert("LC_ALL", Locale);
    Environment.insert("LANG", Locale);
    return Environment;
}

TEST(CommandLine, ScorecardOfTheWorkedExampleUnderEitherSeparator) {
    QTemporaryDir Dir;
    const QByteArray Expected = ReadAll(TestData + "/dike.csv");
    ASSERT_FALSE(Expected.isEmpty());
    // The example as saved by a user of each separator: the file's numbers
    // follow the user, the CSV does not.
    for (const QChar Sep : TestSeparators) {
        const QString Text = QString::fromUtf8(ReadAll(TestData + "/dike.pathway"))
                                 .replace(QRegularExpression(">(\\d+)\\.(\\d+)<"),
                                          QStringLiteral(">\\1") + Sep + "\\2<");
        const QString File = WriteFile(Dir, "dike.pathway", Text.toUtf8());
        const QString Output = Dir.filePath("dike.csv");
        const TRun R = RunCorvinal({"--scorecard", Output, File}, UserLocale(Sep));
        ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
        EXPECT_TRUE(R.Out.isEmpty() && R.Err.isEmpty())
            << R.Out.toStdString() << R.Err.toStdString();
        EXPECT_EQ(ReadAll(Output), Expected) << Sep.toLatin1();
    }
}

TEST(CommandLine, ScorecardErrorsLeaveNoOutput) {
    QTemporaryDir Dir;
    const QString Dike = TestData + "/dike.pathway";
    const QString Junk = WriteFile(Dir, "junk.pathway", "GIF89a\x01\x02 not xml at all");
    const QString Typo =
        WriteFile(Dir, "typo.pathway",
                  "<scenarios><scenario><caption>Wet</caption><year2010>1</year2010>"
                  "<year2020>abc</year2020></scenario></scenarios>");
    const QString Old = WriteFile(Dir, "old.csv", "old");
    const QString Out = Dir.filePath("out.csv");
    const struct {
        QStringList Arguments;
        const char* Message;
    } Cases[] = {
        {{"--scorecard", Out, Junk}, "junk.pathway is not a pathway file"},
        {{"--scorecard", Out, Dir.filePath("missing.pathway")}, "Cannot open file"},
        {{"--scorecard", Dir.filePath("no/such/folder/out.csv"), Dike}, "Cannot write"},
        {{"--scorecard", Dir.path(), Dike}, "Cannot write"},
        {{"--scorecard", Typo, Typo}, "it is the pathway file being read"},
    };
    const QByteArray TypoBytes = ReadAll(Typo);
    for (const auto& C : Cases) {
        const TRun R = RunCorvinal(C.Arguments, UserLocale(QLatin1Char('.')));
        EXPECT_EQ(R.ExitCode, 1) << C.Message;
        EXPECT_TRUE(R.Err.startsWith("corvinal: ")) << R.Err.toStdString();
        EXPECT_TRUE(R.Err.contains(C.Message)) << R.Err.toStdString();
        EXPECT_FALSE(QFile::exists(Out)) << C.Message;
    }
    // The earlier file and the one read stay as they were, and no temporary
    // file is left over.
    EXPECT_EQ(ReadAll(Old), "old");
    EXPECT_EQ(ReadAll(Typo), TypoBytes);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"junk.pathway", "old.csv", "typo.pathway"}));
}

TEST(CommandLine, ScorecardMistakesOfUse) {
    QTemporaryDir Dir;
    const QString Dike = TestData + "/dike.pathway";
    const QString Out = Dir.filePath("out.csv");
    const struct {
        QStringList Arguments;
        const char* Message;
    } Cases[] = {
        {{"--scorecard", Out}, "exactly one FILE"},
        {{"--scorecard", Out, Dike, Dike}, "exactly one FILE"},
        {{"--scorecard", Out, "--export", Dir.filePath("map.png"), Dike}, "cannot be combined"},
        {{"--scorecard", Out, "--series", "1", Dike}, "go with --export"},
        {{"--scorecard", Out, "--scale", "2", Dike}, "go with --export"},
        {{"--scorecard", Out, "--fit", Dike}, "go with --export"},
        {{"--fit", Dike}, "go with --export"},
        {{"--decisions", Out}, "exactly one FILE"},
        {{"--decisions", Out, "--scorecard", Dir.filePath("card.csv"), Dike}, "cannot be combined"},
    };
    for (const auto& C : Cases) {
        const TRun R = RunCorvinal(C.Arguments);
        EXPECT_EQ(R.ExitCode, 2) << C.Message;
        EXPECT_TRUE(R.Err.contains(C.Message)) << R.Err.toStdString();
    }
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());
}

// The decisions of the estuary example: a record per pathway, with the lead
// time of the action it changes to and a year per scenario; errors as for
// the scorecard.
TEST(CommandLine, DecisionsOfAPlan) {
    QTemporaryDir Dir;
    QByteArray Plan = ReadAll(TestData + "/dike.pathway");
    Plan.replace("<recurrentcosts>0</recurrentcosts>\r\n  </element>\r\n  <element id=\"3\">",
                 "<recurrentcosts>0</recurrentcosts>\r\n    <leadtime>5</leadtime>\r\n"
                 "  </element>\r\n  <element id=\"3\">");
    ASSERT_TRUE(Plan.contains("<leadtime>5</leadtime>"));
    const QString File = WriteFile(Dir, "dike.pathway", Plan);
    const QString Out = Dir.filePath("decisions.csv");
    TRun R = RunCorvinal({"--decisions", Out, File}, UserLocale(QLatin1Char(',')));
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    EXPECT_TRUE(R.Err.isEmpty()) << R.Err.toStdString();
    // The current situation tips at 10, past the Wet scenario's last value
    // of 4 by 2090: decide after 2090 less Dike's five years.
    EXPECT_EQ(ReadAll(Out), "\xEF\xBB\xBF"
                            "ID,From,To,Type,Lead Time,Wet\r\n"
                            "3,Current Situation,Dike,Sequence,5,>2085\r\n");
    R = RunCorvinal({"--decisions", Dir.filePath("no/such/folder/x.csv"), File});
    EXPECT_EQ(R.ExitCode, 1);
    EXPECT_TRUE(R.Err.contains("Cannot write")) << R.Err.toStdString();
}

TEST(CommandLine, HelpVersionAndMistakes) {
    TRun R = RunCorvinal({"--help"});
    EXPECT_EQ(R.ExitCode, 0);
    EXPECT_TRUE(R.Out.contains("--export"));
    EXPECT_TRUE(R.Out.contains("--scorecard <CSV>"));
    EXPECT_TRUE(R.Out.contains("\"<=2010\""));
    EXPECT_TRUE(R.Out.contains("Usage: corvinal"));
    R = RunCorvinal({"--version"});
    EXPECT_EQ(R.ExitCode, 0);
    EXPECT_EQ(R.Out.trimmed(), "corvinal " CORVINAL_VERSION);
    R = RunCorvinal({"--bogus"});
    EXPECT_NE(R.ExitCode, 0);
    EXPECT_TRUE(R.Err.contains("bogus"));
    R = RunCorvinal({"--export", "x.png"});
    EXPECT_NE(R.ExitCode, 0);
    R = RunCorvinal({"--scale", "2", "a.pathway"});
    EXPECT_NE(R.ExitCode, 0);
}

TEST(CommandLine, WithoutADisplayTheWindowSaysSo) {
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.remove("DISPLAY");
    Environment.remove("WAYLAND_DISPLAY");
    Environment.remove("QT_QPA_PLATFORM");
    const TRun R = RunCorvinal({Examples + "/delta.pathway"}, Environment);
    EXPECT_EQ(R.ExitCode, 2);
    EXPECT_TRUE(R.Err.contains("needs a graphical display")) << R.Err.toStdString();
}

// --fit draws the map fitted to its content without changing the file: the
// estuary's band cuts names, so the fitted picture is wider; its decision
// points, stored in the file, are drawn as the window draws them.
TEST(CommandLine, FitsTheMapAndDrawsTheDecisionPointsAsStored) {
    QTemporaryDir Dir;
    QByteArray Plan = ReadAll(Examples + "/estuary.pathway");
    Plan.replace("</graphsettings>", "  <title>Estuary</title>\r\n  <legend>1</legend>\r\n"
                                     "</graphsettings>");
    const QString File = WriteFile(Dir, "estuary.pathway", Plan);
    TRun R = RunCorvinal({"--export", Dir.filePath("plain.png"), File});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    R = RunCorvinal({"--export", Dir.filePath("fit.png"), "--fit", File});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    const QImage Plain(Dir.filePath("plain.png")), Fitted(Dir.filePath("fit.png"));
    EXPECT_EQ(Plain.size(), QSize(1200, 700));
    EXPECT_GT(Fitted.width(), 1200);
    EXPECT_NE(Fitted.height(), 700);
    EXPECT_EQ(ReadAll(File), Plan);
    // With decision points chosen the picture differs only by them (and
    // the legend's entry).
    QByteArray Chosen = Plan;
    Chosen.replace("<legend>1</legend>",
                   "<legend>1</legend>\r\n  <decisionpoints>2</decisionpoints>");
    const QString ChosenFile = WriteFile(Dir, "chosen.pathway", Chosen);
    R = RunCorvinal({"--export", Dir.filePath("chosen.png"), ChosenFile});
    ASSERT_EQ(R.ExitCode, 0) << R.Err.toStdString();
    const QImage Marked(Dir.filePath("chosen.png"));
    ASSERT_EQ(Marked.size(), Plain.size());
    EXPECT_NE(Marked, Plain);
    EXPECT_EQ(Marked.copy(0, 0, 320, 700), Plain.copy(0, 0, 320, 700));
}

} // namespace
