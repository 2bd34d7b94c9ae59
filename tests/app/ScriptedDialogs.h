#pragma once
// Dialogs for window tests: each records what it was asked and answers from a queue that the
// test fills beforehand. An answer may also run a step first (for example to start another
// command while the window waits for the answer). An empty queue fails the test loudly.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/CommonDialog.h"
#include "app/Prompts.h"
#include "app/UrlOpener.h"

struct ShownDialog {
    CommonDialog::Kind Kind;
    std::string Filter;
    std::string DefaultExt;
    std::string FileName;
    std::string InitDir;
    int Flags;
};

class ScriptedCommonDialog : public CommonDialog {
public:
    // nullopt stands for Cancel.
    std::deque<std::optional<std::string>> Answers;
    std::vector<ShownDialog> Shown;

    void Choose(const std::string& file) { Answers.emplace_back(file); }
    void Cancel() { Answers.emplace_back(std::nullopt); }

protected:
    std::optional<std::string> AskForFile(Kind kind) override {
        Shown.push_back({kind, Filter, DefaultExt, FileName, InitDir, Flags});
        if (Answers.empty()) {
            ADD_FAILURE() << "file dialog shown with no scripted answer";
            return std::nullopt;
        }
        std::optional<std::string> answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
};

struct ShownMessage {
    std::string Text;
    std::string Title;
    MsgIcon Icon;
    MsgButtons Buttons;
};

struct ShownInput {
    std::string Prompt;
    std::string Title;
    std::string Default;
};

class ScriptedPrompts : public Prompts {
public:
    std::deque<MsgAnswer> MsgAnswers;       // OK boxes need no entry: they are answered OK
    std::deque<std::string> InputAnswers;   // "" stands for Cancel as well
    std::vector<ShownMessage> Messages;
    std::vector<ShownInput> Inputs;
    // Runs when a message box is shown, before it is answered (e.g. to look at the status bar
    // while the box is open).
    std::function<void(const ShownMessage&)> OnMessage;

    MsgAnswer MsgBox(const std::string& Text, const std::string& Title, MsgIcon Icon, MsgButtons Buttons) override {
        Messages.push_back({Text, Title, Icon, Buttons});
        if (OnMessage) OnMessage(Messages.back());
        if (Buttons == MsgButtons::OK) return MsgAnswer::OK;
        if (MsgAnswers.empty()) {
            ADD_FAILURE() << "question \"" << Text << "\" asked with no scripted answer";
            return MsgAnswer::No;
        }
        const MsgAnswer answer = MsgAnswers.front();
        MsgAnswers.pop_front();
        return answer;
    }

    std::string InputBox(const std::string& Prompt, const std::string& Title, const std::string& Default) override {
        Inputs.push_back({Prompt, Title, Default});
        if (InputAnswers.empty()) {
            ADD_FAILURE() << "input box \"" << Prompt << "\" shown with no scripted answer";
            return std::string();
        }
        std::string answer = InputAnswers.front();
        InputAnswers.pop_front();
        return answer;
    }
};

class RecordingUrlOpener : public UrlOpener {
public:
    std::vector<std::string> Opened;
    void Open(const std::string& Url) override { Opened.push_back(Url); }
};
