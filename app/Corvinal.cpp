#include "ApplicationUnit.h"
#include "MainUnit.h"

#include <QCommandLineParser>
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

} // namespace

int main(int Argc, char** Argv) {
    if (!DisplayAvailable()) {
        std::fprintf(stderr,
                     "Corvinal needs a graphical display, and none is available "
                     "(neither DISPLAY nor WAYLAND_DISPLAY is set).\n");
        return 2;
    }
    TCorvinalApplication App(Argc, Argv);
    QCommandLineParser Parser;
    Parser.setApplicationDescription(QStringLiteral("Adaptation pathways maps."));
    Parser.addHelpOption();
    Parser.addVersionOption();
    Parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A .pathway file the start dialog offers to open."),
                                 QStringLiteral("[file]"));
    Parser.process(App);

    try {
        TForm2 Form2(Parser.positionalArguments());
        if (Form2.StartCancelled())
            return 0;
        Form2.CreateDialogs();
        Form2.showMaximized();
        return App.exec();
    } catch (const std::exception& E) {
        ReportException(E);
        return 1;
    }
}
