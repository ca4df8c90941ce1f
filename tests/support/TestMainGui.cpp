#include "base/NumberFormatUnit.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int Argc, char** Argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication App(Argc, Argv);
    InitFormatSettings(QLocale::system());
    ::testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
