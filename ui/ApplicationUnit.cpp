#include "ui/ApplicationUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QMainWindow>

TCorvinalApplication::TCorvinalApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    setOrganizationName(QStringLiteral("Corvinal"));
    setOrganizationDomain(QStringLiteral("corvinal.org"));
    setApplicationName(QStringLiteral("Corvinal"));
    setApplicationVersion(QStringLiteral(CORVINAL_VERSION));
    InitFormatSettings(QLocale::system());
}

namespace {

// The error box sits over the window the user works in: an open dialog, or
// else the main window, also while no window has the focus yet.
QWidget* ReportParent() {
    if (QWidget* Modal = QApplication::activeModalWidget())
        return Modal;
    if (QWidget* Active = QApplication::activeWindow())
        return Active;
    for (QWidget* Window : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(Window) && Window->isVisible())
            return Window;
    return nullptr;
}

} // namespace

void ReportException(const std::exception& E) {
    Modal().ShowError(ReportParent(), ErrorText(E));
}

bool TCorvinalApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        ReportException(E);
    }
    return false;
}
