#pragma once
// Message boxes and input boxes shown with QMessageBox and QInputDialog.

#include "app/Prompts.h"

class QtPrompts : public Prompts {
public:
    MsgAnswer MsgBox(const std::string& Text, const std::string& Title, MsgIcon Icon,
                     MsgButtons Buttons) override;
    std::string InputBox(const std::string& Prompt, const std::string& Title,
                         const std::string& Default) override;
};
