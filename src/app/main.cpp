#include <QApplication>

#include <memory>

#include "app/AppArt.h"
#include "app/QtMainWindow.h"
#include "app/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
