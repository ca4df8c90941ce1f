#include "ui/ApplicationUnit.h"

#include <gtest/gtest.h>

int main(int Argc, char** Argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TCorvinalApplication App(Argc, Argv);
    ::testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
