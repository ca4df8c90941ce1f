#pragma once

#include <QApplication>
#include <QIcon>

// The sizes of the icon, drawn for Corvinal and rendered from data/.
inline constexpr int ApplicationIconSizes[] = {16, 32, 48, 64, 128, 256};

// The icon of the windows, from the program's resources.
QIcon ApplicationIcon();

// The application object. Commands and event handlers let their errors
// propagate; this is the one place that catches them, shows the text in a
// message box and lets the event loop go on with the state reached so far.
class TCorvinalApplication : public QApplication {
public:
    TCorvinalApplication(int& Argc, char** Argv);
    bool notify(QObject* Receiver, QEvent* Event) override;
};

// Shows the text of the current exception through the modal seam. Used by
// notify() and by the few places that run outside the event loop (start-up).
void ReportException(const std::exception& E);
