#pragma once

#include <QObject>
#include <QStringList>

class QMenu;
class QWidget;

// The files opened or saved last, newest first, kept in the user's settings
// and offered in a menu ("Open Recent"), with the number keys of their
// places. A file that is gone is taken off the list, with a word, instead of
// being opened.
class TRecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int Count = 10;

    // Menu is filled now and whenever it is about to show.
    TRecentFiles(QMenu* Menu, QWidget* Window);

    QStringList Files() const;
    // FileName goes to the top of the list, once.
    void Add(const QString& FileName);
    void FillMenu();

Q_SIGNALS:
    // The user picked a file that is still there.
    void OpenRequested(const QString& FileName);

private:
    void Store(const QStringList& Files);

    QMenu* FMenu;
    QWidget* FWindow;
};
