// Closing the window, and commands that start while a load is paused in its per-pixel yield.

#include <QApplication>
#include <QTimer>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "picture/classUnitGAF.h"

namespace apptest {
namespace {

using Closing = WindowTest;

TEST_F(Closing, AnsweredNoKeepsEverything) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 11);
    dialog->Choose(file);
    Click("Command1");
    prompts->InputAnswers = {"armcamp"};
    dialog->Cancel();
    Click("Command26");  // sets the unit name, then the file dialog is cancelled
    const Picture before = Slot(0);
    const std::string filter = window->FileDialog().Filter;
    const std::string extension = window->FileDialog().DefaultExt;
    const std::string fileName = window->FileDialog().FileName;

    prompts->MsgAnswers = {MsgAnswer::No};
    EXPECT_FALSE(window->close());
    prompts->MsgAnswers = {MsgAnswer::No};
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
    EXPECT_EQ(window->FileDialog().Filter, filter);
    EXPECT_EQ(window->FileDialog().DefaultExt, extension);
    EXPECT_EQ(window->FileDialog().FileName, fileName);
}

TEST_F(Closing, AnsweredYesUnloadsTheWindow) {
    bool unloaded = false;
    QObject::connect(window.get(), &frmMain::unloaded, [&] { unloaded = true; });
    prompts->MsgAnswers = {MsgAnswer::Yes};
    Click("Command27");
    EXPECT_TRUE(unloaded);
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompts->Messages.size(), 1u);
}

TEST_F(Closing, YesDuringAPausedLoadHidesAtOnceAndFinishesAfterTheLoad) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 12);
    const Picture expected = ReferenceBmp(file);

    bool visibleRightAfterYes = true;
    bool unloadedAfterLoad = false;
    QObject::connect(window.get(), &frmMain::unloaded, [&] {
        // By now the load has finished and drawn its picture.
        unloadedAfterLoad = Slot(0) == expected && !Box(0)->HasBorder();
    });
    prompts->MsgAnswers = {MsgAnswer::Yes};
    // Runs at the load's first yield.
    QTimer::singleShot(0, window.get(), [&] {
        window->close();
        visibleRightAfterYes = window->isVisible();
    });
    dialog->Choose(file);
    Click("Command1");

    EXPECT_FALSE(visibleRightAfterYes);
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_TRUE(unloadedAfterLoad);
    EXPECT_EQ(Slot(0), expected);
    EXPECT_EQ(CanvasSquare(*Box(0), 0, 0), ColoursOf(expected));
    EXPECT_EQ(prompts->Messages.size(), 1u);
}

TEST_F(Closing, NoDuringAPausedLoadLetsTheLoadFinish) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 13);
    prompts->MsgAnswers = {MsgAnswer::No};
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    dialog->Choose(file);
    Click("Command1");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->IsUnloaded());
    EXPECT_EQ(Slot(0), ReferenceBmp(file));
}

TEST_F(Closing, YesDuringTheGenerationFinishesItWithoutItsClosingMessage) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 20);
    dialog->Choose(file);
    Click("Command1");
    prompts->MsgAnswers = {MsgAnswer::Yes};
    QTimer::singleShot(0, window.get(), [&] { Click("Command27"); });
    Click("Command28");

    // The work was finished; the "Done!" box was not put in front of a user who has quit.
    classUnitGAF reference;
    ASSERT_TRUE(reference.LoadBMPPicture(file, 1));
    reference.MakePicLighter(1);
    EXPECT_EQ(Slot(1), *reference.Slot(1));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{AppTexts::kQuitQuestion});
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_FALSE(window->isVisible());
}

using Reentry = WindowTest;

TEST_F(Reentry, SecondLoadDuringALoadsYieldLeavesBothPictures) {
    const std::string first = dir.file("first.bmp");
    const std::string second = dir.file("second.bmp");
    WritePatternBmp(first, 96, 96, 14);
    WritePatternBmp(second, 96, 96, 15);
    dialog->Choose(first);
    dialog->Choose(second);
    QTimer::singleShot(0, window.get(), [&] { Click("Command2"); });
    Click("Command1");

    EXPECT_EQ(dialog->Shown.size(), 2u);
    EXPECT_EQ(Slot(0), ReferenceBmp(first));
    EXPECT_EQ(Slot(1), ReferenceBmp(second));
    EXPECT_EQ(CanvasSquare(*Box(0), 0, 0), ColoursOf(Slot(0)));
    EXPECT_EQ(CanvasSquare(*Box(1), 0, 0), ColoursOf(Slot(1)));
    EXPECT_TRUE(prompts->Messages.empty());
}

TEST_F(Reentry, SecondLoadIntoTheSameSlotDuringItsYieldDoesNotCorruptIt) {
    const std::string first = dir.file("first.bmp");
    const std::string second = dir.file("second.bmp");
    WritePatternBmp(first, 96, 96, 16);
    WritePatternBmp(second, 96, 96, 17);
    dialog->Choose(first);
    dialog->Choose(second);
    QTimer::singleShot(0, window.get(), [&] { Click("Command1"); });
    Click("Command1");

    // The inner load finished first; the outer one then copied the rest of its own picture.
    // Every pixel comes from the outer file, except what the outer copy had already passed.
    const Picture outer = ReferenceBmp(first);
    const Picture inner = ReferenceBmp(second);
    int fromOuter = 0;
    for (std::size_t i = 0; i < outer.size(); ++i) {
        ASSERT_TRUE(Slot(0)[i] == outer[i] || Slot(0)[i] == inner[i]) << i;
        fromOuter += Slot(0)[i] == outer[i];
    }
    EXPECT_GT(fromOuter, 9000);
    EXPECT_EQ(CanvasSquare(*Box(0), 0, 0), ColoursOf(Slot(0))) << "the box shows what the slot holds";
}

TEST_F(Reentry, EffectOnAnotherPageDuringALoadsYield) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 18);
    dialog->Choose(file);
    QTimer::singleShot(0, window.get(), [&] {
        Click("Command6");   // grid on the disabled page
        Click("Command23");  // light on the highlighted page
    });
    Click("Command1");

    classUnitGAF reference;
    reference.AddGrid(2);
    reference.MakePicLighter(1);
    EXPECT_EQ(Slot(0), ReferenceBmp(file));
    EXPECT_EQ(Slot(1), *reference.Slot(1));
    EXPECT_EQ(Slot(2), *reference.Slot(2));
    EXPECT_FALSE(Button("Command23")->isEnabled());
    EXPECT_EQ(CanvasSquare(*Box(0), 0, 0), ColoursOf(Slot(0)));
}

TEST_F(Reentry, EffectOnTheSamePageDuringALoadsYieldIsOverwrittenByTheLoad) {
    const std::string file = dir.file("picture.bmp");
    WritePatternBmp(file, 96, 96, 19);
    dialog->Choose(file);
    QTimer::singleShot(0, window.get(), [&] { Click("Command4"); });
    Click("Command1");

    // The border went onto the slot while the copy had done one pixel; the copy then went on
    // over the rest, so only pixels already copied could still differ from the file.
    const Picture expected = ReferenceBmp(file);
    int differing = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) differing += Slot(0)[i] != expected[i];
    EXPECT_LE(differing, 1);
    EXPECT_EQ(CanvasSquare(*Box(0), 0, 0), ColoursOf(Slot(0)));
}

}  // namespace
}  // namespace apptest
