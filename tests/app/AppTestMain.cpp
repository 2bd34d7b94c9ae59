#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    // Set before the application exists, also for test discovery at build time.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // tests close windows on purpose
    // The windows' remembered places go to a folder of the test run's own, never into the
    // user's settings.
    QTemporaryDir settings;
    if (!settings.isValid()) return 1;
    QApplication::setOrganizationName(QStringLiteral("IconwrightTests"));
    QApplication::setApplicationName(QStringLiteral("tests_app"));
    for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, settings.path());
        QSettings::setPath(format, QSettings::SystemScope, settings.path());
    }
    modPalettes::InitGamePalette();  // reference picture sets may be built before any window
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
