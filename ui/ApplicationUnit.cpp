#include "ui/ApplicationUnit.h"

#include "base/ErrorUnit.h"
#include "base/NumberFormatUnit.h"
#include "ui/VersionUnit.h"
#include "widgets/ErrorReportUnit.h"
#include "widgets/KeyboardUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QIcon>
#include <QMainWindow>

QIcon ApplicationIcon() {
    // The resource lives in this static library; without the call the linker
    // would leave it out of the program.
    Q_INIT_RESOURCE(corvinal_icons);
    QIcon Icon;
    for (int Size : ApplicationIconSizes)
        Icon.addFile(QStringLiteral(":/icons/%1.png").arg(Size), QSize(Size, Size));
    return Icon;
}

TCorvinalApplication::TCorvinalApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    setOrganizationName(QStringLiteral("Corvinal"));
    setOrganizationDomain(QStringLiteral("corvinal.org"));
    setApplicationName(QStringLiteral("Corvinal"));
    setApplicationVersion(QStringLiteral(CORVINAL_VERSION));
    // Every window and dialog takes the application's icon. The desktop
    // entry's name lets Wayland compositors (which see no window icons) and
    // task bars find the installed icon and the menu entry.
    setWindowIcon(ApplicationIcon());
    setDesktopFileName(QStringLiteral("org.corvinal.Corvinal"));
    InitFormatSettings(QLocale::system());
    installEventFilter(new TEnterPressesFocusedButton(this));
}

namespace {

int GEscapedErrors = 0;

} // namespace

int TCorvinalApplication::EscapedErrors() {
    return GEscapedErrors;
}

bool TCorvinalApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& E) {
        ++GEscapedErrors;
        ReportError(E);
    }
    return false;
}
