#pragma once
// Message boxes and input boxes shown with QMessageBox and QInputDialog, each a child of the
// window the user works in (DialogOwner), else of the main window: centred on it, carrying its
// icon, and above it under every window manager, also when no window is active (as right after
// a file dialog or another box has closed).

#include <QPointer>
#include <QWidget>

#include "app/Prompts.h"

class QtPrompts : public Prompts {
public:
    void SetParentWindow(QWidget* window) { window_ = window; }

    MsgAnswer MsgBox(const std::string& Text, const std::string& Title, MsgIcon Icon, MsgButtons Buttons,
                     const std::string& Informative) override;
    std::string InputBox(const std::string& Prompt, const std::string& Title, const std::string& Default) override;

private:
    QPointer<QWidget> window_;
};
