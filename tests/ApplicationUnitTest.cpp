#include "ui/ApplicationUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/ScriptedModal.h"

#include <QEvent>
#include <QMainWindow>
#include <QObject>
#include <gtest/gtest.h>

namespace {

// An event handler that fails the way commands do: by raising.
class TFailingHandler : public QObject {
public:
    int Handled = 0;
    bool event(QEvent* Event) override {
        if (Event->type() == QEvent::User) {
            ++Handled;
            throw ECorvinalError("Cell does not contain a float value");
        }
        return QObject::event(Event);
    }
};

TEST(Application, AnErrorReachesTheUserAndTheProgramGoesOn) {
    TScriptedModal Script;
    TFailingHandler Handler;
    QCoreApplication::postEvent(&Handler, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&Handler, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(Handler.Handled, 2);
    EXPECT_EQ(Script.Errors, QStringList({"Cell does not contain a float value",
                                          "Cell does not contain a float value"}));
}

TEST(Application, ErrorTextsAreUtf8) {
    TScriptedModal Script;
    class TUnicodeFailure : public QObject {
    public:
        bool event(QEvent* Event) override {
            if (Event->type() == QEvent::User)
                throw ECorvinalError(QString::fromUtf8("Cannot open file \"Ü\"."));
            return QObject::event(Event);
        }
    } Handler;
    QEvent Event(QEvent::User);
    QCoreApplication::sendEvent(&Handler, &Event);
    ASSERT_EQ(Script.Errors.size(), 1);
    EXPECT_EQ(Script.Errors.first(), QString::fromUtf8("Cannot open file \"Ü\"."));
}

TEST(Application, AnErrorIsShownOverTheMainWindow) {
    TScriptedModal Script;
    QMainWindow Window;
    Window.show();
    TFailingHandler Handler;
    QCoreApplication::postEvent(&Handler, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    ASSERT_EQ(Script.MessageParents.size(), 1);
    EXPECT_EQ(Script.MessageParents.first(), &Window);
}

} // namespace
