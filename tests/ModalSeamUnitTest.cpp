#include "widgets/ModalSeamUnit.h"

#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(ModalSeam, FilterEntriesShowTheirPatternOnce) {
    const QStringList Pathway = FilterToNameFilters(
        QStringLiteral("pathway files [*.pathway]|*.pathway|all files [*.*]|*.*"));
#ifdef Q_OS_WIN
    const QString All = QStringLiteral("all files (*.*)");
#else
    const QString All = QStringLiteral("all files (*)");
#endif
    EXPECT_EQ(Pathway, QStringList({QStringLiteral("pathway files (*.pathway)"), All}));
    // Descriptions without brackets and lists of patterns pass as they are.
    EXPECT_EQ(FilterToNameFilters(QStringLiteral("Images|*.png;*.svg")),
              QStringList({QStringLiteral("Images (*.png *.svg)")}));
    EXPECT_TRUE(FilterToNameFilters(QString()).isEmpty());
}

TEST(ModalSeam, BoxesStandInTheMiddleOfTheMainWindow) {
    QMainWindow Main;
    Main.setGeometry(300, 200, 800, 600);
    Main.show();
    // A dialog placed elsewhere asks the question; it stays the box's parent.
    QDialog Asking(&Main);
    Asking.setGeometry(0, 0, 300, 200);
    Asking.show();
    QPoint Centre;
    QWidget* Parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(Box, nullptr);
        Centre = Box->frameGeometry().center();
        Parent = Box->parentWidget();
        Box->button(QMessageBox::Ok)->click();
    });
    EXPECT_TRUE(Modal().Confirm(&Asking, QStringLiteral("Delete scenario \"Wet\"?")));
    EXPECT_EQ(Parent, &Asking);
    // Within a few pixels: the box settles its size as it is shown.
    EXPECT_LE((Centre - Main.frameGeometry().center()).manhattanLength(), 12);
}

} // namespace
