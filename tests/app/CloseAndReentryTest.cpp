// Closing the window, and commands that start while a load is paused in its per-pixel yield.

#include <QTimer>

#include <tuple>

#include "WindowTestSupport.h"

namespace apptest {
namespace {

using Closing = WindowTest;

TEST_F(Closing, CloseBoxAndExitAskTheSameQuestionAndNoKeepsEverything) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 11);
    ClickChoosing("Command1", file);
    prompts->InputAnswers = {"armcamp"};
    dialog->Cancel();
    Click("Command26");  // sets the unit name, then the file dialog is cancelled
    const Picture before = Slot(0);
    const CommonDialog& d = window->FileDialog();
    const std::vector<std::string> settings = {d.Filter, d.DefaultExt, d.FileName};

    prompts->MsgAnswers = {MsgAnswer::No, MsgAnswer::No};
    EXPECT_FALSE(window->close());
    Click("Command27");
    ASSERT_EQ(prompts->Messages.size(), 2u);
    for (const ShownMessage& m : prompts->Messages) {
        EXPECT_EQ(m.Text, "Are you sure you want to quit (unsaved changes will be lost)");
        EXPECT_EQ(m.Title, "Exit Iconwright");
        EXPECT_EQ(m.Icon, MsgIcon::Question);
        EXPECT_EQ(m.Buttons, MsgButtons::YesNo);
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->IsUnloaded());
    EXPECT_EQ(Slot(0), before);
    EXPECT_EQ(window->UnitGAF().Name(), "armcamp");
    EXPECT_EQ((std::vector<std::string>{d.Filter, d.DefaultExt, d.FileName}), settings);

    bool unloaded = false;
    QObject::connect(window.get(), &frmMain::unloaded, [&] { unloaded = true; });
    prompts->MsgAnswers = {MsgAnswer::Yes};
    Click("Command27");
    EXPECT_TRUE(unloaded);
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_FALSE(window->isVisible());
}

// A close confirmed while a load is paused must neither free nor touch what the load still
// uses: the window hides at once and unloads when the load has finished; No changes nothing.
TEST_F(Closing, DuringAPausedLoad) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 12);
    const Picture expected = Loaded(file);
    // No while loading slot 1, then Yes while loading slot 0 (still white, so an unload
    // before the load has finished shows).
    const std::tuple<MsgAnswer, const char*, int> cases[] = {{MsgAnswer::No, "Command2", 1},
                                                             {MsgAnswer::Yes, "Command1", 0}};
    for (const auto& [answer, button, slot] : cases) {
        SCOPED_TRACE(button);
        const bool yes = answer == MsgAnswer::Yes;
        bool loadDoneAtUnload = false;
        bool visibleRightAfterAnswer = false;
        const QMetaObject::Connection watch = QObject::connect(window.get(), &frmMain::unloaded, window.get(),
                         [&, slot = slot] { loadDoneAtUnload = Slot(slot) == expected && !Box(slot)->HasBorder(); });
        prompts->MsgAnswers = {answer};
        QTimer::singleShot(0, window.get(), [&] {  // at the load's first yield
            window->close();
            visibleRightAfterAnswer = window->isVisible();
        });
        ClickChoosing(button, file);
        EXPECT_EQ(visibleRightAfterAnswer, !yes);
        EXPECT_EQ(window->IsUnloaded(), yes);
        EXPECT_EQ(loadDoneAtUnload, yes);
        EXPECT_EQ(Slot(slot), expected);
        ExpectBoxShowsSlot(slot);
        prompts->Messages.clear();
        QObject::disconnect(watch);
    }
}

TEST_F(Closing, YesDuringTheGenerationFinishesItWithoutItsClosingMessage) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 20);
    ClickChoosing("Command1", file);
    prompts->MsgAnswers = {MsgAnswer::Yes};
    QTimer::singleShot(0, window.get(), [&] { Click("Command27"); });
    Click("Command28");
    // The work was finished; the "Done!" box was not put in front of a user who has quit.
    EXPECT_EQ(Slot(1), Reference(1, [&](classUnitGAF& u) {
                  u.LoadBMPPicture(file, 1);
                  u.MakePicLighter(1);
              }));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Are you sure you want to quit (unsaved changes will be lost)"});
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_FALSE(window->isVisible());
}

using Reentry = WindowTest;

TEST_F(Reentry, SecondLoadDuringALoadsYield) {
    const std::string first = dir.file("first.bmp");
    const std::string second = dir.file("second.bmp");
    WritePatternBmp(first, 96, 96, 14);
    WritePatternBmp(second, 96, 96, 15);
    const Picture outer = Loaded(first);
    const Picture inner = Loaded(second);
    for (const char* innerButton : {"Command2", "Command1"}) {
        SCOPED_TRACE(innerButton);
        dialog->Choose(first);
        dialog->Choose(second);  // for the inner load
        QTimer::singleShot(0, window.get(), [&] { Click(innerButton); });
        Click("Command1");
        EXPECT_TRUE(prompts->Messages.empty());
        ExpectBoxShowsSlot(0);
        if (innerButton == std::string("Command2")) {  // another page: both pictures arrive whole
            EXPECT_EQ(Slot(0), outer);
            EXPECT_EQ(Slot(1), inner);
            ExpectBoxShowsSlot(1);
            continue;
        }
        // The same slot: the inner load finished first, then the outer one copied the rest of
        // its own picture over it; only what the outer copy had already passed is the inner's.
        int fromOuter = 0;
        for (std::size_t i = 0; i < outer.size(); ++i) {
            ASSERT_TRUE(Slot(0)[i] == outer[i] || Slot(0)[i] == inner[i]) << i;
            fromOuter += Slot(0)[i] == outer[i];
        }
        EXPECT_GT(fromOuter, 9000);
    }
}

TEST_F(Reentry, EffectsDuringALoadsYield) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 18);
    QTimer::singleShot(0, window.get(), [&] {
        Click("Command6");   // grid on the disabled page
        Click("Command23");  // light on the highlighted page
        Click("Command4");   // border on the page being loaded
    });
    ClickChoosing("Command1", file);
    EXPECT_EQ(Slot(1), Reference(1, [](classUnitGAF& u) { u.MakePicLighter(1); }));
    EXPECT_EQ(Slot(2), Reference(2, [](classUnitGAF& u) { u.AddGrid(2); }));
    EXPECT_FALSE(Button("Command23")->isEnabled());
    // The border went onto slot 0 when the copy had done one pixel; the copy then went on over
    // the rest, so at most that pixel can differ from the file.
    const Picture expected = Loaded(file);
    int differing = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) differing += Slot(0)[i] != expected[i];
    EXPECT_LE(differing, 1);
    ExpectBoxShowsSlot(0);
}

}  // namespace
}  // namespace apptest
