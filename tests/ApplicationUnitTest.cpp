#include "ui/ApplicationUnit.h"
#include "base/ErrorUnit.h"
#include "tests/support/ScriptedModal.h"
#include "ui/AboutUnit.h"

#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QMainWindow>
#include <QObject>
#include <QSet>
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

TEST(Application, EveryWindowShowsTheIconDrawnForCorvinal) {
    const QIcon Icon = QApplication::windowIcon();
    ASSERT_FALSE(Icon.isNull());
    for (int Size : ApplicationIconSizes) {
        SCOPED_TRACE(Size);
        EXPECT_TRUE(Icon.availableSizes().contains(QSize(Size, Size)));
        const QImage Image = Icon.pixmap(QSize(Size, Size)).toImage();
        ASSERT_EQ(Image.size(), QSize(Size, Size));
        // A drawing, not a blank square: the tile, the lines, the stations
        // and the bars.
        QSet<QRgb> Colours;
        for (int Y = 0; Y < Size; ++Y)
            for (int X = 0; X < Size; ++X)
                Colours.insert(Image.pixel(X, Y));
        EXPECT_GE(Colours.size(), 5);
    }
    QDialog Dialog;
    EXPECT_EQ(Dialog.windowIcon().cacheKey(), Icon.cacheKey());
    TAboutForm Start({});
    EXPECT_EQ(Start.windowIcon().cacheKey(), Icon.cacheKey());
}

TEST(Application, NamesItsDesktopEntry) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), "org.corvinal.Corvinal");
}

} // namespace
