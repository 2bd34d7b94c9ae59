#pragma once
// Which window a message box or file dialog belongs to: the one the user works in (the GAF
// viewer, the import dialog) rather than the main window, so that it is that window that has the
// focus again once the dialog closes.

#include <QWidget>

// Starts following which of the program's windows the user works in; the Qt window calls it once.
void FollowDialogOwners();

// The active window; when none is active (right after another dialog closed), the window the
// user last worked in that is not modal, if it is still shown; else Fallback.
QWidget* DialogOwner(QWidget* Fallback);
