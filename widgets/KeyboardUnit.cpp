#include "widgets/KeyboardUnit.h"

#include "widgets/GridKeysUnit.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <vector>

void FocusFirstField(QWidget* Field) {
    if (Field)
        FocusAndSelectAll(Field, Qt::TabFocusReason);
}

void FocusAndSelectAll(QWidget* Field, Qt::FocusReason Reason) {
    Field->setFocus(Reason);
    if (auto* Line = qobject_cast<QLineEdit*>(Field))
        Line->selectAll();
    else if (auto* Spin = qobject_cast<QAbstractSpinBox*>(Field))
        Spin->selectAll();
}

bool TEnterPressesFocusedButton::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() != QEvent::KeyPress)
        return QObject::eventFilter(Watched, Event);
    const auto* Key = static_cast<QKeyEvent*>(Event);
    auto* Button = qobject_cast<QPushButton*>(Watched);
    if (!Button || (Key->key() != Qt::Key_Return && Key->key() != Qt::Key_Enter) ||
        (Key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !Button->hasFocus() ||
        !Button->isEnabled())
        return QObject::eventFilter(Watched, Event);
    Button->click();
    return true;
}

namespace {

// The next (or previous) control in the window's tab order outside Container.
void MoveFocusOut(QWidget* Container, bool Forward) {
    QWidget* Candidate = Container;
    for (;;) {
        Candidate = Forward ? Candidate->nextInFocusChain() : Candidate->previousInFocusChain();
        if (!Candidate || Candidate == Container)
            return;
        if (Container->isAncestorOf(Candidate) || Candidate->window() != Container->window())
            continue;
        if (Candidate->isVisible() && Candidate->isEnabled() &&
            (Candidate->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
            Candidate->setFocus(Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

// Moves the focus on from a tab widget on Ctrl+Tab.
class TTabLeaver : public QObject {
public:
    explicit TTabLeaver(QTabWidget* Tabs) : QObject(Tabs), FTabs(Tabs) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() != QEvent::KeyPress && Event->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(Watched, Event);
        auto* Key = static_cast<QKeyEvent*>(Event);
        if (!IsCtrlTab(Key))
            return QObject::eventFilter(Watched, Event);
        // Taken before the tab widget's own handling, which would switch
        // the page.
        Key->accept();
        if (Event->type() == QEvent::KeyPress)
            MoveFocusOut(FTabs, !IsBackwardTab(Key));
        return true;
    }

private:
    QTabWidget* FTabs;
};

// Watches the popups of a menu bar for the Escape that closes them.
class TMenuEscape : public QObject {
public:
    explicit TMenuEscape(QMenuBar* Bar) : QObject(Bar), FBar(Bar) {}

    void Watch(QMenu* Menu) {
        Menu->installEventFilter(this);
        connect(Menu, &QMenu::aboutToShow, this, [this] {
            if (!FBefore)
                FBefore = QApplication::focusWidget();
        });
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) {
            auto* Menu = qobject_cast<QMenu*>(Watched);
            // Only a menu of the bar itself; a submenu's Escape goes back
            // to its parent menu, as it always has.
            if (Menu && FBar->actions().contains(Menu->menuAction())) {
                Menu->hide();
                QPointer<QWidget> Before = FBefore;
                FBefore = nullptr;
                // Once the bar has taken the keyboard back from the menu.
                QTimer::singleShot(0, FBar, [Bar = FBar, Before] {
                    Bar->setActiveAction(nullptr);
                    if (Bar->hasFocus() || !QApplication::focusWidget()) {
                        QKeyEvent Leave(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                        QApplication::sendEvent(Bar, &Leave);
                    }
                    if (Before)
                        Before->setFocus(Qt::OtherFocusReason);
                });
                return true;
            }
        }
        return QObject::eventFilter(Watched, Event);
    }

private:
    QMenuBar* FBar;
    QPointer<QWidget> FBefore;
};

// Dims the selection of the lists that do not have the focus.
class TSelectionFocus : public QObject {
public:
    TSelectionFocus(std::vector<QAbstractItemView*> Views, QObject* Parent)
        : QObject(Parent), FViews(std::move(Views)) {
        for (QAbstractItemView* View : FViews)
            View->installEventFilter(this);
        Update(nullptr);
    }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::FocusIn)
            Update(qobject_cast<QAbstractItemView*>(Watched));
        return QObject::eventFilter(Watched, Event);
    }

private:
    void Update(QAbstractItemView* Focused) {
        for (QAbstractItemView* View : FViews) {
            QPalette Palette = View->palette();
            const QPalette Normal = QApplication::palette(View);
            // Styles may draw an inactive window's selection as its active
            // one: a plain grey tells the lists apart in every style.
            const bool HasFocus = View == Focused;
            Palette.setColor(QPalette::Active, QPalette::Highlight,
                             HasFocus ? Normal.color(QPalette::Active, QPalette::Highlight)
                                      : Normal.color(QPalette::Active, QPalette::Midlight));
            Palette.setColor(QPalette::Active, QPalette::HighlightedText,
                             HasFocus ? Normal.color(QPalette::Active, QPalette::HighlightedText)
                                      : Normal.color(QPalette::Active, QPalette::Text));
            View->setPalette(Palette);
        }
    }

    std::vector<QAbstractItemView*> FViews;
};

} // namespace

void LeaveTabsWithCtrlTab(QTabWidget* Tabs) {
    auto* Leaver = new TTabLeaver(Tabs);
    Tabs->installEventFilter(Leaver);
    Tabs->tabBar()->installEventFilter(Leaver);
}

void EscapeLeavesMenuBar(QMenuBar* Bar) {
    auto* Escape = new TMenuEscape(Bar);
    for (QAction* Action : Bar->actions())
        if (QMenu* Menu = Action->menu())
            Escape->Watch(Menu);
}

void ShowWhichSelectionHasTheFocus(std::initializer_list<QAbstractItemView*> Views) {
    if (Views.size() == 0)
        return;
    new TSelectionFocus(std::vector<QAbstractItemView*>(Views), *Views.begin());
}
