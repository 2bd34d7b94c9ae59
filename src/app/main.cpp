#include <QApplication>

#include <memory>

#include "app/QtCommonDialog.h"
#include "app/QtPrompts.h"
#include "app/QtUrlOpener.h"
#include "app/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Iconwright"));
    QApplication::setOrganizationName(QStringLiteral("ORBIT"));
    QApplication::setDesktopFileName(QStringLiteral("iconwright"));

    frmMain window(std::make_unique<QtCommonDialog>(), std::make_unique<QtPrompts>(),
                   std::make_unique<QtUrlOpener>());
    QObject::connect(&window, &frmMain::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return QApplication::exec();
}
