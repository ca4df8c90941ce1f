#include "ui/ApplicationUnit.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int Argc, char** Argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TCorvinalApplication App(Argc, Argv);
    // The recent files and every other setting go to a throw-away place,
    // never to the user's own.
    QTemporaryDir Settings;
    for (QSettings::Format Format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(Format, QSettings::UserScope, Settings.path());
    ::testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
