#include <gtest/gtest.h>

#include <QApplication>

#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    // No display needed: the window tests draw off screen. Set before the application exists,
    // also for test discovery at build time.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Tests close windows on purpose; that must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);
    // Some tests build a picture set before any window has filled the palette.
    modPalettes::InitGamePalette();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
