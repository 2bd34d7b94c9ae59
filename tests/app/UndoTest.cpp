// The undo history, driven by clicks on the real buttons and the Edit menu's commands.

#include <QTimer>
#include <QUndoStack>

#include <array>

#include "WindowTestSupport.h"
#include "support/PcxBuilder.h"

using namespace apptest;

namespace {

using Slots = std::array<Picture, 3>;

// A step: the button, the file the dialog answers or the text the input box answers, the name
// the history gives it, and the page it was made on.
struct Step {
    const char* Button;
    std::string File = {}, Answer = {}, Name = {};
    int Page = 0;
};

class UndoTest : public WindowTest {
protected:
    Slots Current() { return {Slot(0), Slot(1), Slot(2)}; }
    void Run(const Step& step) {
        if (!step.File.empty()) dialog->Choose(step.File);
        if (!step.Answer.empty()) prompts->InputAnswers = {step.Answer};
        Click(step.Button);
    }
};

}  // namespace

TEST_F(UndoTest, UndoAndRedoWalkEveryStepBackAndForthAcrossTheSlots) {
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp"), c = dir.file("c.pcx");
    WritePatternBmp(a, 96, 96, 21);
    WritePatternBmp(b, 96, 96, 22);
    std::vector<uint8_t> pixels(96 * 96);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 5 / 96);
    testsupport::WriteBytes(c, pcxbuild::Build({.Packets = pcxbuild::Encode(pixels, 96)}));
    const Step steps[] = {
        {"Command1", a, "", "Load BMP", 0},
        {"Command4", "", "", "Add a Cavedog style border", 0},
        {"Command2", b, "", "Load BMP", 1},
        {"Command30", "", "3", "Add a black cross", 1},
        {"Command23", "", "", "Make \"light\" (for highlighted picture)", 1},
        {"Command28", "", "", "Use this image as the basis for the other two", 1},  // both slots, from b
        {"Command11", c, "", "Load PCX", 2},
        {"Command6", "", "", "Add a grid (for disabled picture)", 2},
    };
    std::vector<Slots> states{Current()};
    for (const Step& step : steps) {
        Run(step);
        ASSERT_NE(Current(), states.back()) << step.Button;
        states.push_back(Current());
        EXPECT_EQ(Caption(Command("Undo")), "Undo " + step.Name);
    }
    TakeMessages();
    ASSERT_EQ(window->UndoStack()->count(), static_cast<int>(std::size(steps)));

    // Each step undone and redone: the slots, the page it was made on, and every box and preview
    // (its 64 x 64 reduction centred in the 81 x 73 box) of a slot the step changed.
    ShowPage(frmMain::kOperationsPage);
    const auto expectShown = [&](std::size_t i, bool undone) {
        const std::string what = (undone ? "undo " : "redo ") + Caption(Command(undone ? "Redo" : "Undo"));
        EXPECT_EQ(Current(), states[undone ? i : i + 1]) << what;
        EXPECT_EQ(Page(), steps[i].Page) << what;
        for (int k = 0; k < 3; ++k) {
            if (states[i][std::size_t(k)] == states[i + 1][std::size_t(k)]) continue;
            EXPECT_EQ(Box(k)->ReadColours({0, 0, 96, 96}), ColoursOf(Slot(k))) << what << " slot " << k;
            EXPECT_EQ(window->Picture1(k)->ReadColours({8, 4, 64, 64}), ColoursOf(window->UnitGAF().ReducedFrame(k)))
                << what << " slot " << k;
        }
    };
    for (std::size_t i = std::size(steps); i-- > 0;) {
        EXPECT_EQ(Caption(Command("Undo")), "Undo " + steps[i].Name);
        Command("Undo")->trigger();
        expectShown(i, true);
    }
    EXPECT_FALSE(Command("Undo")->isEnabled());
    EXPECT_EQ(Caption(Command("Undo")), "Undo");
    EXPECT_FALSE(Button("Command23")->isEnabled()) << "undo leaves Make \"light\" as it was";
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(Caption(Command("Redo")), "Redo " + steps[i].Name);
        Command("Redo")->trigger();
        expectShown(i, false);
    }
    EXPECT_FALSE(Command("Redo")->isEnabled());
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(UndoTest, FailedCancelledAndUnchangingCommandsAddNoStep) {
    const std::string good = dir.file("good.bmp"), narrow = dir.file("narrow.bmp");
    WritePatternBmp(good, 96, 96, 23);
    WritePatternBmp(narrow, 95, 96, 24);
    Click("Command1", good);
    const Slots loaded = Current();
    dialog->Cancel();
    Click("Command9");  // load cancelled: the generation that follows has no file named
    prompts->InputAnswers = {"abc", "", "40000"};
    const Step rows[] = {{"Command1", narrow},
                         {"Command20"},
                         {"Command20"},
                         {"Command20"},
                         {"Command28"},
                         {"Command1", good},  // the same picture again: the slot does not change
                         {"Command17", dir.file("saved.bmp")}};
    for (const Step& row : rows) {
        Run(row);
        EXPECT_EQ(window->UndoStack()->count(), 1) << row.Button << " " << row.File;
        EXPECT_EQ(Current(), loaded) << row.Button << " " << row.File;
    }
    EXPECT_EQ(Caption(Command("Undo")), "Undo Load BMP");
}

// A command run while a load is paused at a yield is a step of its own; the load's step spans
// the whole load, so undoing it gives back the slot as it was before the load began.
TEST_F(UndoTest, ACommandRunDuringAPausedLoadIsItsOwnStepInsideTheLoad) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 25);
    const Picture before = Slot(0);
    QTimer::singleShot(0, window.get(), [&] { Click("Command4"); });
    Click("Command1", file);
    const Picture loaded = Slot(0);
    ASSERT_EQ(window->UndoStack()->count(), 2);
    EXPECT_EQ(Caption(Command("Undo")), "Undo Load BMP");
    Command("Undo")->trigger();
    EXPECT_EQ(Slot(0), before);
    EXPECT_EQ(Caption(Command("Undo")), "Undo Add a Cavedog style border");
    Command("Redo")->trigger();
    EXPECT_EQ(Slot(0), loaded);
}
