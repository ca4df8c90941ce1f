#pragma once

#include <QApplication>
#include <QIcon>

// The sizes of the icon, drawn for Corvinal and rendered from data/.
inline constexpr int ApplicationIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon of the windows, from the program's resources.
QIcon ApplicationIcon();

// The application object. Errors stop where the toolkit calls our code
// (widgets/ErrorReportUnit); should one get past such a place anyway, the
// event loop catches it here as a last resort, reports it and counts it.
class TCorvinalApplication : public QApplication {
public:
    TCorvinalApplication(int& Argc, char** Argv);
    bool notify(QObject* Receiver, QEvent* Event) override;
    // Errors that reached the event loop: none, where every command is
    // guarded.
    static int EscapedErrors();
};
