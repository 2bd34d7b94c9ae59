#pragma once
// Message boxes and input boxes, as the window's commands use them. The window talks to this
// interface only, so that tests can answer from a script.

#include <string>

enum class MsgIcon { None, Information, Warning, Question };
enum class MsgButtons { OK, YesNo, OKCancel };
enum class MsgAnswer { OK, Yes, No, Cancel };

class Prompts {
public:
    virtual ~Prompts() = default;

    // Shows Text with the given title, icon and buttons and returns the button pressed.
    // Informative, when not empty, is shown below Text in smaller print: the reason behind a
    // failure, while Text stays the message the command always gives.
    virtual MsgAnswer MsgBox(const std::string& Text, const std::string& Title, MsgIcon Icon, MsgButtons Buttons,
                             const std::string& Informative) = 0;

    // Asks for one line of text; "" when the user cancels.
    virtual std::string InputBox(const std::string& Prompt, const std::string& Title, const std::string& Default) = 0;
};
