#pragma once
// Which window a message box or file dialog belongs to: the one the user is working in (the
// GAF viewer, the import dialog) when one of ours is active, so that it is that window, not the
// main window, that has the focus again once the dialog closes; else the given window.

#include <QApplication>
#include <QWidget>

inline QWidget* DialogOwner(QWidget* Fallback) {
    QWidget* active = QApplication::activeWindow();
    return active != nullptr && active->isVisible() ? active : Fallback;
}
