#include "ui/RecentFilesUnit.h"

#include "document/DocumentSessionUnit.h"
#include "widgets/ModalSeamUnit.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

const QString RecentFilesKey = QStringLiteral("RecentFiles");

} // namespace

TRecentFiles::TRecentFiles(QMenu* Menu, QWidget* Window)
    : QObject(Menu), FMenu(Menu), FWindow(Window) {
    connect(FMenu, &QMenu::aboutToShow, this, [this] { FillMenu(); });
    FillMenu();
}

QStringList TRecentFiles::Files() const {
    return QSettings().value(RecentFilesKey).toStringList();
}

void TRecentFiles::Store(const QStringList& Files) {
    QSettings().setValue(RecentFilesKey, Files);
    FillMenu();
}

void TRecentFiles::Add(const QString& FileName) {
    const QString Path = DocumentFileName(FileName);
    QStringList Files = this->Files();
    Files.removeAll(Path);
    Files.prepend(Path);
    while (Files.size() > Count)
        Files.removeLast();
    Store(Files);
}

void TRecentFiles::FillMenu() {
    FMenu->clear();
    const QStringList Files = this->Files();
    for (int Index = 0; Index < Files.size(); ++Index) {
        const QString Path = Files.at(Index);
        QAction* Entry = FMenu->addAction(
            QStringLiteral("&%1 %2")
                .arg(Index + 1 == 10 ? 0 : Index + 1)
                .arg(QString(Path).replace(QLatin1Char('&'), QStringLiteral("&&"))));
        connect(Entry, &QAction::triggered, this, [this, Path] {
            if (!QFileInfo::exists(Path)) {
                QStringList Left = this->Files();
                Left.removeAll(Path);
                Store(Left);
                Modal().ShowMessage(FWindow, tr("%1 no longer exists; it is taken off the "
                                                "recent files.")
                                                 .arg(Path));
                return;
            }
            Q_EMIT OpenRequested(Path);
        });
    }
    FMenu->setEnabled(!Files.isEmpty());
}
