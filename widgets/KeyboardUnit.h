#pragma once

#include <QObject>
#include <initializer_list>

class QAbstractItemView;
class QMenuBar;
class QTabWidget;
class QWidget;

// What the keyboard does the same way in every window and dialog.

// A dialog that opens again starts where a user starts typing: at its first
// field, with the field's text selected so that typing replaces it.
void FocusFirstField(QWidget* Field);
// Gives Field the focus with its text selected, a line edit's or a spin
// box's, so that typing replaces it.
void FocusAndSelectAll(QWidget* Field, Qt::FocusReason Reason);

// Enter presses the push button that has the focus, in a dialog as in the
// main window, where the toolkit would press the dialog's default button or
// nothing. Installed once on the application.
class TEnterPressesFocusedButton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
};

// Ctrl+Tab and Ctrl+Shift+Tab leave a tab widget (its bar or a page without
// a focus of its own) for the next or previous control, as they leave every
// other control; switching tabs is left to Ctrl+PgUp and Ctrl+PgDown.
void LeaveTabsWithCtrlTab(QTabWidget* Tabs);

// Escape in a menu of the bar closes the menu and gives the keyboard back to
// the control that had it, instead of leaving the bar waiting for a second
// Escape.
void EscapeLeavesMenuBar(QMenuBar* Bar);

// Of several lists that keep a selection each, the one with the focus shows
// it in the highlight colour, the others in the colour of an inactive
// window, so that the user sees where the arrow keys go.
void ShowWhichSelectionHasTheFocus(std::initializer_list<QAbstractItemView*> Views);
