#pragma once
// Dialogs for window tests: they answer from queues the test fills beforehand, and a dialog
// shown with an empty queue fails the test.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/CommonDialog.h"
#include "app/ImportOptionsAsker.h"
#include "app/Prompts.h"
#include "app/UrlOpener.h"

template <class Answer>
Answer NextAnswer(std::deque<Answer>& Queue, Answer Fallback, const std::string& Shown) {
    if (Queue.empty()) ADD_FAILURE() << Shown << " shown with no scripted answer";
    if (Queue.empty()) return Fallback;
    Answer answer = Queue.front();
    Queue.pop_front();
    return answer;
}

class ScriptedCommonDialog : public CommonDialog {
public:
    struct Answer {
        std::optional<std::string> Chosen;  // nullopt stands for Cancel
        int32_t Filter = 0;                 // the filter the user picked, counted from 1; 0 keeps it
    };
    std::deque<Answer> Answers;  // file and folder dialogs answer from the same queue
    // What each dialog opened with: file name (file dialogs), folder (both).
    std::vector<std::string> ProposedNames, StartFolders;
    void Choose(const std::string& file, int32_t filter = 0) { Answers.push_back({file, filter}); }
    void Cancel() { Answers.push_back({std::nullopt}); }

protected:
    std::optional<std::string> AskForFile(Kind) override {
        ProposedNames.push_back(FileName);
        StartFolders.push_back(StartFolder);
        const Answer answer = NextAnswer<Answer>(Answers, {}, "file dialog");
        if (answer.Chosen && answer.Filter != 0) FilterIndex = answer.Filter;
        return answer.Chosen;
    }
    std::optional<std::string> AskForFolder(const std::string& Title) override {
        StartFolders.push_back(StartFolder);
        return NextAnswer<Answer>(Answers, {}, "folder dialog: " + Title).Chosen;
    }
};

struct ShownMessage {
    std::string Text, Informative, Title;
    MsgIcon Icon = MsgIcon::None;
};

struct ScriptedPrompts : Prompts {
    std::deque<MsgAnswer> MsgAnswers;      // OK boxes need no entry
    std::deque<std::string> InputAnswers;  // "" is also what Cancel gives
    std::vector<ShownMessage> Messages;

    MsgAnswer MsgBox(const std::string& Text, const std::string& Title, MsgIcon Icon, MsgButtons Buttons,
                     const std::string& Informative) override {
        Messages.push_back({Text, Informative, Title, Icon});
        return Buttons == MsgButtons::OK ? MsgAnswer::OK : NextAnswer(MsgAnswers, MsgAnswer::No, Text);
    }
    std::string InputBox(const std::string& Prompt, const std::string&, const std::string&) override {
        return NextAnswer(InputAnswers, std::string(), Prompt);
    }
};

// No test follows a link: a window that opened one would fail nowhere, so none is opened.
struct NoUrlOpener : UrlOpener {
    void Open(const std::string&) override {}
};

// The import options dialog: each answer is OK with the given options, or Cancel.
struct ScriptedImportOptions : ImportOptionsAsker {
    struct Question {
        std::string File;
        ImportChoices Start;
    };
    std::deque<std::optional<ImportChoices>> Answers;
    std::vector<Question> Asked;
    void Ok(const ImportChoices& choices) { Answers.emplace_back(choices); }
    void Cancel() { Answers.emplace_back(std::nullopt); }

    std::optional<ImportChoices> Ask(const std::string& Filename, const imagefiles::RgbaPicture&,
                                     const ImportChoices& Start) override {
        Asked.push_back({Filename, Start});
        return NextAnswer<std::optional<ImportChoices>>(Answers, std::nullopt, "import options for " + Filename);
    }
};
