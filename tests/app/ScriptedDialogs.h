#pragma once
// Dialogs for window tests: each records what it was asked and answers from a queue that the
// test fills beforehand. An empty queue fails the test loudly.

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/CommonDialog.h"
#include "app/Prompts.h"
#include "app/UrlOpener.h"

// The next scripted answer, or Fallback and a test failure when none is left.
template <class Answer>
Answer NextAnswer(std::deque<Answer>& Queue, Answer Fallback, const std::string& Asked) {
    if (Queue.empty()) {
        ADD_FAILURE() << Asked << " with no scripted answer";
        return Fallback;
    }
    Answer answer = Queue.front();
    Queue.pop_front();
    return answer;
}

struct ShownDialog {
    CommonDialog::Kind Kind;
    std::string Filter, DefaultExt, FileName, InitDir;
    int Flags;
};

class ScriptedCommonDialog : public CommonDialog {
public:
    std::deque<std::optional<std::string>> Answers;  // nullopt stands for Cancel
    std::vector<ShownDialog> Shown;

    void Choose(const std::string& file) { Answers.emplace_back(file); }
    void Cancel() { Answers.emplace_back(std::nullopt); }

protected:
    std::optional<std::string> AskForFile(Kind kind) override {
        Shown.push_back({kind, Filter, DefaultExt, FileName, InitDir, Flags});
        return NextAnswer<std::optional<std::string>>(Answers, std::nullopt, "file dialog shown");
    }
};

struct ShownMessage {
    std::string Text, Title;
    MsgIcon Icon;
    MsgButtons Buttons;
};

struct ShownInput {
    std::string Prompt, Title, Default;
};

class ScriptedPrompts : public Prompts {
public:
    std::deque<MsgAnswer> MsgAnswers;      // OK boxes need no entry
    std::deque<std::string> InputAnswers;  // "" stands for Cancel as well
    std::vector<ShownMessage> Messages;
    std::vector<ShownInput> Inputs;
    std::function<void()> OnMessage;  // runs while a message box is open

    MsgAnswer MsgBox(const std::string& Text, const std::string& Title, MsgIcon Icon, MsgButtons Buttons) override {
        Messages.push_back({Text, Title, Icon, Buttons});
        if (OnMessage) OnMessage();
        if (Buttons == MsgButtons::OK) return MsgAnswer::OK;
        return NextAnswer(MsgAnswers, MsgAnswer::No, "question \"" + Text + "\" asked");
    }

    std::string InputBox(const std::string& Prompt, const std::string& Title, const std::string& Default) override {
        Inputs.push_back({Prompt, Title, Default});
        return NextAnswer(InputAnswers, std::string(), "input box \"" + Prompt + "\" shown");
    }
};

class RecordingUrlOpener : public UrlOpener {
public:
    std::vector<std::string> Opened;
    void Open(const std::string& Url) override { Opened.push_back(Url); }
};
