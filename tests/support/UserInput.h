#pragma once

// Driving widgets as a user does: keys go to the widget that has the focus,
// and what the keys leave to the event loop is run before looking.

#include <QApplication>
#include <QString>
#include <QTest>

// Runs what keys and clicks left to the event loop: an item editor hands its
// text on after the key, and the window takes it up after that.
inline void Settle() {
    for (int Round = 0; Round < 3; ++Round)
        QCoreApplication::processEvents();
}

// Types Text, key by key, into the widget with the focus (whichever it
// becomes after each key).
inline void TypeKeys(const QString& Text) {
    for (QChar C : Text)
        QTest::keyClick(QApplication::focusWidget(), C.toLatin1());
}

// Presses Key in the widget with the focus and settles.
inline void PressKey(Qt::Key Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Key, Modifiers);
    Settle();
}
