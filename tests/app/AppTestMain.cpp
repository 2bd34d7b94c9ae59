#include <gtest/gtest.h>

#include <QApplication>

#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    // Set before the application exists, also for test discovery at build time.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // tests close windows on purpose
    modPalettes::InitGamePalette();  // reference picture sets may be built before any window
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
