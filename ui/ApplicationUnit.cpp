#include "ui/ApplicationUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "widgets/ModalSeamUnit.h"

TCorvinalApplication::TCorvinalApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    setApplicationName(QStringLiteral("Corvinal"));
    setApplicationVersion(QStringLiteral(CORVINAL_VERSION));
    InitFormatSettings(QLocale::system());
}

void ReportException(const std::exception& E) {
    Modal().ShowError(QApplication::activeWindow(), ErrorText(E));
}

bool TCorvinalApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        ReportException(E);
    }
    return false;
}
