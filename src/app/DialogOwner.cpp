#include "app/DialogOwner.h"

#include <QApplication>
#include <QPointer>

namespace {

QPointer<QWidget>& LastWorkWindow() {
    static QPointer<QWidget> window;
    return window;
}

}  // namespace

void FollowDialogOwners() {
    static const bool following = [] {
        QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget*, QWidget* now) {
            // A modal dialog (a progress dialog, a file dialog) is gone by the time its result is
            // told; the windows the user works in (the main window, the GAF viewer) are not modal.
            if (now != nullptr && !now->window()->isModal()) LastWorkWindow() = now->window();
        });
        return true;
    }();
    (void)following;
}

QWidget* DialogOwner(QWidget* Fallback) {
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active->isVisible()) return active;
    QWidget* last = LastWorkWindow();
    if (last != nullptr && last->isVisible()) return last;
    return Fallback;
}
