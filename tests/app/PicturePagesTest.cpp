// The window as it opens, the picture pages' commands and closing, clicked on the real buttons.

#include <QTimer>
#include <QUndoStack>

#include <array>

#include "WindowTestSupport.h"
#include "app/FrameBox.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modBmp.h"
#include "support/PcxBuilder.h"

using namespace apptest;

namespace {
using Slots = std::array<Picture, 3>;
const std::string kDone = "Done! Go to the Operations menu and see how your menu looks and to save a .GAF";
}  // namespace

TEST_F(WindowTest, FreshWindowShowsAboutReadyBorderedBoxesAndAWhitePreview) {
    EXPECT_EQ(Page(), frmMain::kAboutPage);
    EXPECT_EQ(window->MessagePanel()->text(), "Ready");
    EXPECT_LT(Progress(), window->ProgressPanel()->minimum()) << "the progress panel starts empty";
    EXPECT_TRUE(Box(0)->HasBorder() && Box(1)->HasBorder() && Box(2)->HasBorder());
    // Make "light" works on the highlighted page only, Make "grey" on the disabled page only.
    for (const char* b : {"Command12", "Command15", "Command29", "Command35"})
        EXPECT_FALSE(Button(b)->isEnabled()) << b;

    // The About frame's caption sits on the frame's line, the text clear of both, and the link
    // over the text's last words without a patch of another colour behind it.
    const auto* frame = window->findChild<FrameBox*>(QStringLiteral("Frame1"));
    const QRect caption = frame->CaptionRect(), text = window->findChild<QLabel*>(QStringLiteral("Label6"))->geometry();
    EXPECT_TRUE(frame->rect().contains(caption) && caption.top() < frame->LineTop() &&
                caption.bottom() > frame->LineTop());
    EXPECT_TRUE(text.top() >= caption.bottom() + 2 && text.left() >= 4);
    const QImage page = window->findChild<FrameBox*>(QStringLiteral("Frame1"))->grab().toImage();
    const QPoint link = window->findChild<QLabel*>(QStringLiteral("Label9"))->geometry().topLeft() + QPoint(1, 1);
    EXPECT_EQ(page.pixel(link), page.pixel(frame->width() - 4, frame->height() - 4));

    // White 64 x 64 squares centred, halves to even: (81 - 64) / 2 gives 8, (73 - 64) / 2 gives 4.
    ShowPage(frmMain::kOperationsPage);
    EXPECT_EQ(Progress(), 100);
    for (int i = 0; i < 3; ++i) {
        std::vector<uint32_t> expected(81 * 73, window->Picture1(i)->BackgroundColour().rgb() & 0xFFFFFFu);
        for (int y = 4; y < 68; ++y) std::fill_n(expected.begin() + y * 81 + 8, 64, 0xFFFFFFu);
        EXPECT_EQ(window->Picture1(i)->ReadColours({0, 0, 81, 73}), expected) << i;
    }
}

// Every command of the picture pages, clicked in turn, does its operation on its own page's slot
// and leaves the others alone, and is one step of the history: undone and redone, each step
// gives back the slots, turns to the page it was made on, and redraws the boxes and previews of
// the slots it changed.
TEST_F(WindowTest, EachCommandWorksOnItsOwnSlotAndIsOneStepBackAndForth) {
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp"), c = dir.file("c.pcx");
    WritePatternBmp(a, 96, 96, 21);
    WritePatternBmp(b, 96, 96, 22);
    std::vector<uint8_t> pixels(96 * 96);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 5 / 96);
    testsupport::WriteBytes(c, pcxbuild::Build({.Packets = pcxbuild::Encode(pixels, 96)}));
    using U = classUnitGAF&;
    const struct {
        const char* Button;
        std::string File, Answer, Name;
        int Page;
        std::function<void(U)> Mirror;
    } steps[] = {
        {"Command1", a, "", "Load BMP", 0, [&](U u) { u.LoadBMPPicture(a, 0); }},
        {"Command4", "", "", "Add a Cavedog style border", 0, [](U u) { u.AddCavedogLikeBorder(0, 1); }},
        {"cmdAddGrid", "", "", "Add a grid (for disabled picture)", 0, [](U u) { u.AddGrid(0); }},
        {"Command2", b, "", "Load BMP", 1, [&](U u) { u.LoadBMPPicture(b, 1); }},
        {"Command30", "", "2.5", "Add a black cross", 1, [](U u) { u.AddBlackCross(1, 2); }},  // halves to even
        {"Command23", "", "", "Make \"light\" (for highlighted picture)", 1, [](U u) { u.MakePicLighter(1); }},
        {"Command28", "", "", "Use this image as the basis for the other two", 1,  // both slots, from b
         [&](U u) { u.LoadBMPPicture(b, 1), u.LoadBMPPicture(b, 2), u.MakePicLighter(1), u.MakePicGrey(2); }},
        {"Command11", c, "", "Load PCX", 2, [&](U u) { u.LoadPCXPicture(c, 2); }},
        {"Command34", "", "", "Make \"grey\" (for disabled picture)", 2, [](U u) { u.MakePicGrey(2); }},
        {"Command6", "", "", "Add a grid (for disabled picture)", 2, [](U u) { u.AddGrid(2); }}};
    // The slots, and the file each box and preview names as its picture's origin.
    using State = std::pair<Slots, Strings>;
    const auto current = [&] {
        State state{{Slot(0), Slot(1), Slot(2)}, {}};
        for (int k = 0; k < 3; ++k)
            state.second.push_back((Box(k)->toolTip() + " / " + window->Picture1(k)->toolTip()).toStdString());
        return state;
    };
    classUnitGAF mirror;
    std::vector<State> states{current()};
    for (const auto& step : steps) {
        if (!step.File.empty()) dialog->Choose(step.File);
        if (!step.Answer.empty()) prompts->InputAnswers = {step.Answer};
        Click(step.Button);
        step.Mirror(mirror);
        EXPECT_EQ(current().first, (Slots{*mirror.Slot(0), *mirror.Slot(1), *mirror.Slot(2)})) << step.Button;
        EXPECT_NE(current(), states.back()) << step.Button;
        states.push_back(current());
        EXPECT_EQ(Caption(Command("Undo")), "Undo " + step.Name);
    }
    EXPECT_EQ(TakeMessages(), Strings{kDone});
    ASSERT_EQ(window->UndoStack()->count(), static_cast<int>(std::size(steps)));
    // Effects keep the origin; the generation names itself.
    const std::string generated = "(made by automatic generation)";
    EXPECT_EQ(states.back().second, (Strings{a + " / " + a, generated + " / " + generated, c + " / " + c}));

    // The previews show each slot's 64 x 64 reduction centred in their 81 x 73 boxes.
    ShowPage(frmMain::kOperationsPage);
    const auto expectShown = [&](std::size_t i, bool undone) {
        const std::string what = (undone ? "undo " : "redo ") + std::string(steps[i].Button);
        EXPECT_EQ(current(), states[undone ? i : i + 1]) << what;
        EXPECT_EQ(Page(), steps[i].Page) << what;
        for (int k = 0; k < 3; ++k) {
            if (states[i].first[std::size_t(k)] == states[i + 1].first[std::size_t(k)]) continue;
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
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(Caption(Command("Redo")), "Redo " + steps[i].Name);
        Command("Redo")->trigger();
        expectShown(i, false);
    }
    EXPECT_FALSE(Command("Redo")->isEnabled());
    EXPECT_TRUE(TakeMessages().empty());
    // Make "light" stays off for the run: neither undo nor the new pictures bring it back.
    EXPECT_FALSE(Button("Command23")->isEnabled());
    // A loaded picture's box loses its border: the 97 x 97 canvas shows the picture at the
    // top-left, the last row and column bare.
    std::vector<uint32_t> expected(97 * 97, Box(1)->BackgroundColour().rgb() & 0xFFFFFFu);
    const std::vector<uint32_t> picture = ColoursOf(Slot(1));
    for (int y = 0; y < 96; ++y) std::copy_n(picture.begin() + y * 96, 96, expected.begin() + y * 97);
    EXPECT_EQ(Box(1)->ReadColours({0, 0, 97, 97}), expected);
}

// Refused pictures and answers, cancelled dialogs, a failed generation, a load that changes
// nothing and a save: each says what it has to say, changes no slot or box and adds no step.
TEST_F(WindowTest, RefusedCancelledAndUnchangingCommandsSayWhyAndAddNoStep) {
    const std::string good = dir.file("good.bmp");
    WritePatternBmp(good, 96, 96, 3);
    WritePatternBmp(dir.file("narrow.bmp"), 95, 96, 4);
    WritePatternBmp(dir.file("bmp.pcx"), 96, 96, 5);  // a good BMP, which the PCX reader must refuse
    const Bytes bytes = testsupport::ReadBytes(good);
    testsupport::WriteBytes(dir.file("cut.bmp"), Bytes(bytes.begin(), bytes.end() - 500));
    Click("Command1", good);
    const Slots loaded{Slot(0), Slot(1), Slot(2)};
    const std::vector<uint32_t> drawn = Box(0)->ReadColours({0, 0, 97, 97});
    // A cancelled load: the dialog was set up for BMP files with no name proposed.
    dialog->DefaultExt = "pcx", dialog->FileName = "left over";
    dialog->Cancel();
    Click("Command1");
    EXPECT_EQ(dialog->DefaultExt + "|" + dialog->FileName, "bmp|");
    const std::string refused = "The background image must be a 96x96, 256 color bitmap | ";
    const std::tuple<const char*, const char*, const char*, std::string> rows[] = {
        {"Command1", "narrow.bmp", "",
         refused + "narrow.bmp is 95 x 96 pixels; pictures must be 96 x 96 (Import "
                   "picture can fit it)."},
        {"Command9", "bmp.pcx", "", refused + "bmp.pcx is a BMP picture. Use File > Import picture... to bring it in."},
        {"Command1", "cut.bmp", "",
         refused + "cut.bmp is cut short (the pixel rows). Save it again in your drawing "
                   "program."},
        {"Command28", "", "", "Error whilst processing task | "},
        {"Command20", "", "abc", "You must enter a number ! | "},
        {"Command20", "", "", ""},  // typed empty, or Cancel
        {"Command20", "", "40000", ""},
        {"Command1", "good.bmp", "", ""},  // the same picture again: the slot does not change
        {"Command17", "saved.bmp", "", ""}};
    for (const auto& [button, file, answer, shown] : rows) {
        if (*file != 0) dialog->Choose(dir.file(file));
        if (std::string(button) == "Command20") prompts->InputAnswers = {answer};
        Click(button);
        EXPECT_EQ(TakeMessages(true), shown.empty() ? Strings{} : Strings{shown}) << button << file << answer;
        EXPECT_EQ(window->UndoStack()->count(), 1) << button << file << answer;
        EXPECT_TRUE((Slots{Slot(0), Slot(1), Slot(2)}) == loaded && Box(0)->ReadColours({0, 0, 97, 97}) == drawn)
            << button << file << answer;
    }
    EXPECT_EQ(Caption(Command("Undo")), "Undo Load BMP");
}

// The chosen filter decides the writer, whatever the name's extension; each save dialog offers
// BMP first, and the next dialog its own first filter.
TEST_F(WindowTest, SaveWritesTheChosenFilterAndSaysWhyItCouldNot) {
    prompts->InputAnswers = {"4"};
    Click("Command20");
    const Picture& slot = Slot(0);
    const std::tuple<const char*, int32_t, Bytes> rows[] = {
        {"saved.pcx", 2, modPCX::EncodePcx(slot, modPalettes::GamePalette, 96, 96)},
        {"wrong.bmp", 3, modPNG::EncodePng(slot, modPalettes::GamePalette, 96, 96)},
        {"plain", 0, modBmp::EncodeBmp(slot, modPalettes::GamePalette, 96, 96)},
    };
    for (const auto& [file, filter, expected] : rows) {
        dialog->Choose(dir.file(file), filter);
        Click("Command17");
        EXPECT_EQ(dialog->OfferedFilters.back(),
                  "BMP files (*.bmp)|*.bmp|PCX files (*.pcx)|*.pcx|PNG files (*.png)|*.png");
        EXPECT_EQ(dialog->OfferedIndices.back(), 1) << file;
        EXPECT_EQ(testsupport::ReadBytes(dir.file(file)), expected) << file;
    }
    dialog->Cancel();
    Click("Command9");
    EXPECT_EQ(dialog->OfferedFilters.back() + " " + std::to_string(dialog->OfferedIndices.back()),
              "PCX files (*.pcx)|*.pcx 1");
    for (int32_t filter : {3, 2, 1}) {
        dialog->Choose(dir.file("no such folder/saved.bmp"), filter);
        Click("Command17");
    }
    ASSERT_EQ(prompts->Messages.size(), 3u);
    EXPECT_EQ(prompts->Messages[2].Informative,
              "saved.bmp could not be written (No such file or directory). Choose another folder or file name, or "
              "free some space.");
    EXPECT_EQ(TakeMessages(), Strings(3, "The picture could not be saved."));
}

TEST_F(WindowTest, CloseAnsweredNoKeepsEverythingAndYesDuringAPausedLoadClosesAfterIt) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 11);
    Click("Command2", file);
    const Picture loaded = Slot(1);
    prompts->MsgAnswers = {MsgAnswer::No, MsgAnswer::No};
    EXPECT_FALSE(window->close());
    Click("Command27");
    EXPECT_EQ(TakeMessages(), Strings(2, "Are you sure you want to quit (unsaved changes will be lost)"));
    EXPECT_TRUE(window->isVisible() && !window->IsUnloaded() && Slot(1) == loaded);

    // Yes at the load's first yield: the window hides at once, and unloads only once the load
    // has finished with the picture set.
    bool loadDoneAtUnload = false, visibleAfterYes = true;
    QObject::connect(window.get(), &frmMain::unloaded, [&] { loadDoneAtUnload = Slot(0) == loaded; });
    prompts->MsgAnswers = {MsgAnswer::Yes};
    QTimer::singleShot(0, window.get(), [&] { window->close(), visibleAfterYes = window->isVisible(); });
    Click("Command1", file);
    EXPECT_FALSE(visibleAfterYes);
    EXPECT_TRUE(loadDoneAtUnload && window->IsUnloaded());
}

// A command run while a load is paused at a yield is a step of its own; the load's step spans
// the whole load, so undoing it gives back the slot as it was before the load began.
TEST_F(WindowTest, ACommandRunDuringAPausedLoadIsItsOwnStepInsideTheLoad) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 25);
    QTimer::singleShot(0, window.get(), [&] { Click("Command4"); });
    Click("Command1", file);
    const Picture loaded = Slot(0);
    ASSERT_EQ(window->UndoStack()->count(), 2);
    EXPECT_EQ(Caption(Command("Undo")), "Undo Load BMP");
    Command("Undo")->trigger();
    EXPECT_EQ(Slot(0), Reference(0));
    EXPECT_EQ(Caption(Command("Undo")), "Undo Add a Cavedog style border");
    Command("Redo")->trigger();
    EXPECT_EQ(Slot(0), loaded);
}
