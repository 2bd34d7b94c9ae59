#include "app/QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

void QtUrlOpener::Open(const std::string& Url) {
    // The result is ignored on purpose: with no browser or mail program there is nothing
    // useful to tell the user, and the window must carry on as before.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(Url), QUrl::TolerantMode));
}
