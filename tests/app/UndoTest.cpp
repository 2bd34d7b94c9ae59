// The undo history, driven by clicks on the real buttons and the Edit menu's commands.

#include <QTimer>
#include <QUndoStack>

#include <array>

#include "WindowTestSupport.h"
#include "display/BlockMapping.h"
#include "imagefiles/modPalettes.h"
#include "support/PcxBuilder.h"

using namespace apptest;

namespace {

using Slots = std::array<Picture, 3>;

QString Shown(QString caption) { return caption.remove(QLatin1Char('&')); }

// What a preview box shows of a slot: its 64 x 64 reduction, centred in the 81 x 73 box.
std::vector<uint32_t> PreviewArea(const QtPictureBox& box) { return box.ReadColours({8, 4, 64, 64}); }
std::vector<uint32_t> ReducedColours(const classUnitGAF& unit, int TAPic) {
    std::vector<uint32_t> colours;
    for (uint8_t index : unit.ReducedFrame(TAPic))
        colours.push_back(BlockMapping::ColourOf(modPalettes::GamePalette[index]));
    return colours;
}

}  // namespace

TEST_F(WindowTest, UndoAndRedoWalkEveryStepBackAndForthAcrossTheSlots) {
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp"), c = dir.file("c.pcx");
    WritePatternBmp(a, 96, 96, 21);
    WritePatternBmp(b, 96, 96, 22);
    std::vector<uint8_t> pixels(96 * 96);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 5 / 96);
    testsupport::WriteBytes(c, pcxbuild::Build({.Packets = pcxbuild::Encode(pixels, 96)}));

    const struct {
        const char* Button;
        std::string File;
        std::string Answer;
        std::string Name;
        int Page;
    } steps[] = {
        {"Command1", a, "", "Load BMP", 0},
        {"Command4", "", "", "Add a Cavedog style border", 0},
        {"Command2", b, "", "Load BMP", 1},
        {"Command30", "", "3", "Add a black cross", 1},
        {"Command23", "", "", "Make \"light\" (for highlighted picture)", 1},
        {"Command28", "", "", "Use this image as the basis for the other two", 1},  // both slots, from b
        {"Command11", c, "", "Load PCX", 2},
        {"Command6", "", "", "Add a grid (for disabled picture)", 2},
    };
    const auto current = [&] { return Slots{Slot(0), Slot(1), Slot(2)}; };
    std::vector<Slots> states{current()};
    for (const auto& step : steps) {
        if (!step.File.empty()) dialog->Choose(step.File);
        if (!step.Answer.empty()) prompts->InputAnswers = {step.Answer};
        Click(step.Button);
        ASSERT_NE(current(), states.back()) << step.Button;
        states.push_back(current());
        EXPECT_EQ(Shown(UndoCommand()->text()).toStdString(), "Undo " + step.Name);
    }
    TakeMessages();
    ASSERT_EQ(window->UndoStack()->count(), static_cast<int>(std::size(steps)));

    // Every slot's box and preview show the slot exactly, for the slots the step changed.
    const auto expectShown = [&](std::size_t from, std::size_t to, const std::string& what) {
        for (int k = 0; k < 3; ++k) {
            if (states[from][static_cast<std::size_t>(k)] == states[to][static_cast<std::size_t>(k)]) continue;
            EXPECT_EQ(Box(k)->ReadColours({0, 0, 96, 96}), ColoursOf(Slot(k))) << what << " slot " << k;
            EXPECT_EQ(PreviewArea(*window->Picture1(k)), ReducedColours(window->UnitGAF(), k)) << what << " slot " << k;
        }
    };
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);  // the previews show the last state
    for (std::size_t i = std::size(steps); i-- > 0;) {
        EXPECT_EQ(Shown(UndoCommand()->text()).toStdString(), "Undo " + steps[i].Name);
        UndoCommand()->trigger();
        EXPECT_EQ(current(), states[i]) << "undo " << steps[i].Button;
        EXPECT_EQ(Page(), steps[i].Page) << "undo " << steps[i].Button;
        expectShown(i, i + 1, std::string("undo ") + steps[i].Button);
    }
    EXPECT_FALSE(UndoCommand()->isEnabled());
    EXPECT_EQ(Shown(UndoCommand()->text()), "Undo");
    EXPECT_FALSE(Button("Command23")->isEnabled()) << "undo leaves Make \"light\" as it was";

    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(Shown(RedoCommand()->text()).toStdString(), "Redo " + steps[i].Name);
        RedoCommand()->trigger();
        EXPECT_EQ(current(), states[i + 1]) << "redo " << steps[i].Button;
        EXPECT_EQ(Page(), steps[i].Page) << "redo " << steps[i].Button;
        expectShown(i, i + 1, std::string("redo ") + steps[i].Button);
    }
    EXPECT_FALSE(RedoCommand()->isEnabled());
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(WindowTest, FailedCancelledAndUnchangingCommandsAddNoStep) {
    const std::string good = dir.file("good.bmp"), narrow = dir.file("narrow.bmp");
    WritePatternBmp(good, 96, 96, 23);
    WritePatternBmp(narrow, 95, 96, 24);
    Click("Command1", good);
    ASSERT_EQ(window->UndoStack()->count(), 1);
    const Slots loaded{Slot(0), Slot(1), Slot(2)};

    const struct {
        const char* Button;
        std::string File;
        std::string Answer;
        bool Cancel;
    } rows[] = {
        {"Command1", "", "", true},       // load cancelled
        {"Command1", narrow, "", false},  // load refused
        {"Command20", "", "abc", false},  // cross: not a number
        {"Command20", "", "", false},     // cross: cancelled
        {"Command20", "", "40000", false},
        {"Command28", "", "", false},   // generation after the cancelled load: no file named
        {"Command1", good, "", false},  // the same picture again: the slot does not change
        {"Command17", dir.file("saved.bmp"), "", false},
    };
    for (const auto& row : rows) {
        if (row.Cancel) dialog->Cancel();
        if (!row.File.empty()) dialog->Choose(row.File);
        if (!row.Answer.empty() || std::string(row.Button) == "Command20") prompts->InputAnswers = {row.Answer};
        if (std::string(row.Button) == "Command28") {
            dialog->Cancel();
            Click("Command9");
        }
        Click(row.Button);
        EXPECT_EQ(window->UndoStack()->count(), 1) << row.Button << " " << row.File << row.Answer;
        EXPECT_EQ((Slots{Slot(0), Slot(1), Slot(2)}), loaded) << row.Button << " " << row.File << row.Answer;
    }
    EXPECT_EQ(Shown(UndoCommand()->text()), "Undo Load BMP");
}

// A command run while a load is paused at a yield is a step of its own; the load's step spans
// the whole load, so undoing it gives back the slot as it was before the load began.
TEST_F(WindowTest, ACommandRunDuringAPausedLoadIsItsOwnStepInsideTheLoad) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 25);
    const Picture before = Slot(0);
    QTimer::singleShot(0, window.get(), [&] { Click("Command4"); });
    Click("Command1", file);
    const Picture loaded = Slot(0);
    ASSERT_EQ(window->UndoStack()->count(), 2);
    EXPECT_EQ(Shown(UndoCommand()->text()), "Undo Load BMP");
    UndoCommand()->trigger();
    EXPECT_EQ(Slot(0), before);
    EXPECT_EQ(Shown(UndoCommand()->text()), "Undo Add a Cavedog style border");
    RedoCommand()->trigger();
    EXPECT_EQ(Slot(0), loaded);
}
