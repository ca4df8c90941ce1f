#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "base/ReadReportUnit.h"
#include "document/DecisionsUnit.h"
#include "document/PathwayFileUnit.h"
#include "document/ScorecardUnit.h"
#include "map/CanvasUnit.h"
#include "map/MapExportUnit.h"
#include "map/MapFitUnit.h"
#include "map/PathwayMapUnit.h"
#include "ui/ApplicationUnit.h"
#include "ui/MainUnit.h"
#include "ui/VersionUnit.h"
#include "widgets/ErrorReportUnit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

namespace {

// Without a display the toolkit would abort with its own message; say plainly
// what is missing instead.
bool DisplayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

void PrintLine(FILE* Stream, const QString& Text) {
    std::fputs(Text.toLocal8Bit().constData(), Stream);
    std::fputc('\n', Stream);
}

// Loads FILE as the main window would. What the file holds that could not be
// read is said on standard error, a warning a line; the command goes on with
// the defaults, as the window does.
void LoadWithWarnings(TPathwayDocument& Doc, const QString& FileName) {
    TReadReport Report;
    Doc.Load(FileName, &Report);
    for (const QString& Line : Report.Lines())
        PrintLine(stderr, QStringLiteral("corvinal: warning: ") + Line);
}

// The toolkit's chatter about the desktop session (a runtime folder that is
// not set, say) means nothing to a command that draws into a file.
QtMessageHandler GDefaultMessages = nullptr;

void QuietMessages(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
    if (Type == QtDebugMsg || Type == QtInfoMsg ||
        Message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    if (GDefaultMessages)
        GDefaultMessages(Type, Context, Message);
}

// Loads FILE as the main window would and writes its map to OUTPUT.
int ExportCommand(int Argc, char** Argv, const QString& Output, const QString& SeriesText,
                  const QString& ScaleText, bool Fit, const QString& FileName) {
    // Drawing needs fonts but no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    GDefaultMessages = qInstallMessageHandler(QuietMessages);
    QGuiApplication App(Argc, Argv);
    InitFormatSettings(QLocale::system());
    try {
        double Scale = 1;
        if (!ScaleText.isEmpty()) {
            // Read as numbers in files are, so that "1,5" and "1.5" mean the
            // same in every shell's locale.
            if (!TryFileStrToFloat(ScaleText, Scale))
                throw ECorvinalError(
                    QStringLiteral("The scale \"%1\" is not a number.").arg(ScaleText));
        }
        TPathwayDocument Doc;
        LoadWithWarnings(Doc, FileName);
        const TElementsList& Elements = Doc.Elements;

        // The map view shows a condition-based map with an empty series
        // selector, and a time-based one at the first time column.
        int32_t Series = -1;
        if (Elements.PathwayType() == ptTimeBased) {
            Series = Elements.TippingTimeValuesCount() > 0 ? 0 : -1;
            if (!SeriesText.isEmpty()) {
                int32_t Wanted = 0;
                if (!TryStrToInt(SeriesText, Wanted) || Wanted < 0 ||
                    Wanted >= Elements.TippingTimeValuesCount())
                    throw ECorvinalError(
                        QStringLiteral("There is no series %1: the pathway has %2 time "
                                       "column(s), numbered from 0.")
                            .arg(SeriesText)
                            .arg(Elements.TippingTimeValuesCount()));
                Series = Wanted;
            }
        }
        if (Fit) {
            // Measured as the map writes its captions; the file itself is
            // left as it is.
            TMeasuringCanvas Canvas(1, 1);
            Doc.Settings =
                FittedSettings(Doc.Settings, Doc.Elements, Doc.Scenarios, Series, Canvas);
        }
        TPathwayMap Map(Doc.Settings, Doc.Elements, Doc.Scenarios);
        // The decision points the file's graph settings ask for, as the map
        // view shows them.
        Map.SetDecisionPoints(
            MapDecisionPoints(Doc.Elements, Doc.Scenarios, Doc.Settings.DecisionPoints(), Series));
        ExportMap(Map, Output, Series, Scale);
        return 0;
    } catch (const std::exception& E) {
        PrintLine(stderr, QStringLiteral("corvinal: ") + ErrorText(E));
        return 1;
    }
}

// Loads FILE as the main window would and writes one of its tables to
// OUTPUT: the scorecard or the decisions.
int TableCommand(int Argc, char** Argv, const QString& Output, const QString& FileName,
                 void (*Save)(const QString&, const TElementsList&, const TScenarioFrame&)) {
    GDefaultMessages = qInstallMessageHandler(QuietMessages);
    // Nothing is drawn: no fonts, no platform plugin.
    QCoreApplication App(Argc, Argv);
    InitFormatSettings(QLocale::system());
    try {
        TPathwayDocument Doc;
        LoadWithWarnings(Doc, FileName);
        // The file just read must not be replaced by its own table, as a
        // slip of the arguments would have it.
        const QString Read = QFileInfo(FileName).canonicalFilePath();
        if (!Read.isEmpty() && QFileInfo(Output).canonicalFilePath() == Read)
            throw ECorvinalError(QStringLiteral("Cannot write %1: it is the pathway file being "
                                                "read.")
                                     .arg(QDir::toNativeSeparators(Output)));
        Save(Output, Doc.Elements, Doc.Scenarios);
        return 0;
    } catch (const std::exception& E) {
        PrintLine(stderr, QStringLiteral("corvinal: ") + ErrorText(E));
        return 1;
    }
}

} // namespace

int main(int Argc, char** Argv) {
    QStringList Arguments;
    for (int I = 0; I < Argc; ++I)
        Arguments << QString::fromLocal8Bit(Argv[I]);

    QCommandLineParser Parser;
    Parser.setApplicationDescription(
        QStringLiteral("Corvinal draws adaptation pathways maps.\n\n"
                       "Without options it shows the start dialog, which offers to open FILE.\n"
                       "With --export it draws the map of FILE into OUTPUT (.png, .svg or .pdf)\n"
                       "without opening a window.\n"
                       "With --scorecard it writes the scorecard of FILE to CSV: a row per action\n"
                       "and pathway with its type, tipping value(s), costs and, in a\n"
                       "condition-based pathway, the year it tips under each scenario (\"<=2010\"\n"
                       "in or before a scenario's first year, \">2100\" after its last, empty\n"
                       "when it defines fewer than two years). UTF-8, a point as decimal\n"
                       "separator whatever the locale.\n"
                       "With --decisions it writes, per pathway, the year by which it must be\n"
                       "decided on under each scenario: the year its predecessor tips less the\n"
                       "lead time of the action it changes to (\"now\" when that year has come,\n"
                       "\">2080\" when the predecessor tips after the last year)."));
    const QCommandLineOption HelpOption = Parser.addHelpOption();
    const QCommandLineOption VersionOption = Parser.addVersionOption();
    const QCommandLineOption ExportOption(
        QStringLiteral("export"),
        QStringLiteral("Draw the map of FILE into OUTPUT; the extension names the format."),
        QStringLiteral("OUTPUT"));
    const QCommandLineOption SeriesOption(
        QStringLiteral("series"),
        QStringLiteral("Time column N of a time-based pathway (default 0)."), QStringLiteral("N"));
    const QCommandLineOption ScaleOption(
        QStringLiteral("scale"),
        QStringLiteral("Multiply the size of the image by S (default 1), for slides and posters."),
        QStringLiteral("S"));
    const QCommandLineOption FitOption(
        QStringLiteral("fit"),
        QStringLiteral("Fit the map to its content before drawing it: a caption band as wide as "
                       "the longest caption, rows one and a half lines apart (the file is not "
                       "changed)."));
    const QCommandLineOption ScorecardOption(
        QStringLiteral("scorecard"),
        QStringLiteral("Write the scorecard of FILE (costs and tipping years) to CSV."),
        QStringLiteral("CSV"));
    const QCommandLineOption DecisionsOption(
        QStringLiteral("decisions"),
        QStringLiteral("Write the decisions of FILE (the year by which each pathway must be "
                       "decided on, per scenario) to CSV."),
        QStringLiteral("CSV"));
    Parser.addOptions(
        {ExportOption, SeriesOption, ScaleOption, FitOption, ScorecardOption, DecisionsOption});
    Parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A .pathway file."),
                                 QStringLiteral("[FILE]"));

    if (!Parser.parse(Arguments)) {
        PrintLine(stderr, QStringLiteral("corvinal: ") + Parser.errorText());
        PrintLine(stderr, QStringLiteral("Try 'corvinal --help'."));
        return 2;
    }
    if (Parser.isSet(HelpOption)) {
        PrintLine(stdout, Parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QStringLiteral("corvinal")));
        return 0;
    }
    if (Parser.isSet(VersionOption)) {
        PrintLine(stdout, QStringLiteral("corvinal %1").arg(QStringLiteral(CORVINAL_VERSION)));
        return 0;
    }
    if (int(Parser.isSet(ExportOption)) + int(Parser.isSet(ScorecardOption)) +
            int(Parser.isSet(DecisionsOption)) >
        1) {
        PrintLine(stderr, QStringLiteral("corvinal: --export, --scorecard and --decisions cannot "
                                         "be combined; run corvinal once for each."));
        return 2;
    }
    if (Parser.isSet(ExportOption)) {
        if (Parser.positionalArguments().size() != 1) {
            PrintLine(stderr, QStringLiteral("corvinal: --export needs exactly one FILE to draw."));
            return 2;
        }
        return ExportCommand(Argc, Argv, Parser.value(ExportOption), Parser.value(SeriesOption),
                             Parser.value(ScaleOption), Parser.isSet(FitOption),
                             Parser.positionalArguments().first());
    }
    if (Parser.isSet(SeriesOption) || Parser.isSet(ScaleOption) || Parser.isSet(FitOption)) {
        PrintLine(stderr,
                  QStringLiteral("corvinal: --series, --scale and --fit go with --export."));
        return 2;
    }
    if (Parser.isSet(ScorecardOption)) {
        if (Parser.positionalArguments().size() != 1) {
            PrintLine(stderr,
                      QStringLiteral("corvinal: --scorecard needs exactly one FILE to read."));
            return 2;
        }
        return TableCommand(Argc, Argv, Parser.value(ScorecardOption),
                            Parser.positionalArguments().first(), &SaveScorecardCsv);
    }
    if (Parser.isSet(DecisionsOption)) {
        if (Parser.positionalArguments().size() != 1) {
            PrintLine(stderr,
                      QStringLiteral("corvinal: --decisions needs exactly one FILE to read."));
            return 2;
        }
        return TableCommand(Argc, Argv, Parser.value(DecisionsOption),
                            Parser.positionalArguments().first(), &SaveDecisionsCsv);
    }

    if (!DisplayAvailable()) {
        PrintLine(stderr, QStringLiteral("Corvinal needs a graphical display, and none is "
                                         "available (neither DISPLAY nor WAYLAND_DISPLAY is "
                                         "set). To draw a map without one, use --export."));
        return 2;
    }
    TCorvinalApplication App(Argc, Argv);
    try {
        TForm2 Form2(Parser.positionalArguments());
        if (Form2.StartCancelled())
            return 0;
        Form2.CreateDialogs();
        Form2.showMaximized();
        return App.exec();
    } catch (const std::exception& E) {
        ReportError(E);
        return 1;
    }
}
