#include "widgets/ErrorReportUnit.h"

#include "base/ErrorUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QApplication>
#include <QMainWindow>
#include <QWidget>

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

void ReportError(const std::exception& E) {
    Modal().ShowError(ReportParent(), ErrorText(E));
}
