#include <QApplication>

#include <cstdio>
#include <memory>
#include <string_view>

#include "IconwrightVersion.h"

#include "app/AppArt.h"
#include "app/QtMainWindow.h"
#include "app/frmMain.h"

int main(int argc, char** argv) {
    // Answered before the application starts, so that it needs no display.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("iconwright %s\n", kIconwrightVersion);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(kIconwrightVersion));
    // Also where the remembered places are kept (QSettings): ~/.config/ORBIT/Iconwright.conf.
    QApplication::setApplicationName(QStringLiteral("Iconwright"));
    QApplication::setOrganizationName(QStringLiteral("ORBIT"));
    QApplication::setDesktopFileName(QStringLiteral("iconwright"));
    QApplication::setWindowIcon(AppArt::WindowIcon());

    std::unique_ptr<frmMain> window = MakeQtMainWindow();
    QObject::connect(window.get(), &frmMain::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window->show();
    return QApplication::exec();
}
