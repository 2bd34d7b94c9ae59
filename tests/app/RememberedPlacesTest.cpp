// What the window keeps between runs (the folder of each kind of file dialog, the window's
// position) and what it tells about each picture's origin (tooltips, the status bar's note).
// The settings live in the test run's own folder (AppTestMain), never in the user's.

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStatusBar>
#include <QUndoStack>

#include "WindowTestSupport.h"

using namespace apptest;

TEST_F(WindowTest, EachKindOfDialogOpensWhereItWasLastUsedAlsoInTheNextRun) {
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::string pictures = dir.file("pictures"), saved = dir.file("saved"), picture = pictures + "/a.bmp";
    std::filesystem::create_directories(pictures);
    std::filesystem::create_directories(saved);
    WritePatternBmp(picture, 96, 96, 31);
    Click("Command1", picture);            // open-bmp: first use
    Click("Command17", saved + "/s.bmp");  // save-bmp: first use
    Click("Command1", picture);            // open-bmp again
    dialog->Cancel();
    Click("Command9");  // open-pcx: never used
    EXPECT_EQ(dialog->StartFolders, (Strings{programFolder, programFolder, pictures, programFolder}));
    EXPECT_EQ(dialog->InitDir, programFolder) << "the initial folder itself never changes";

    OpenWindow();
    for (const char* button : {"Command10", "Command2", "Command18"}) {
        dialog->Cancel();
        Click(button);
    }
    EXPECT_EQ(dialog->StartFolders, (Strings{programFolder, pictures, saved}));
}

TEST_F(WindowTest, TheWindowOpensWhereItWasClosed) {
    window->move(123, 45);
    prompts->MsgAnswers = {MsgAnswer::Yes};
    ASSERT_TRUE(window->close());
    OpenWindow();
    EXPECT_EQ(window->pos(), QPoint(123, 45));

    // A place no screen shows any more is not used.
    QSettings().setValue(QStringLiteral("Window/Position"), QPoint(-20000, -20000));
    OpenWindow();
    EXPECT_NE(window->pos(), QPoint(-20000, -20000));
}

TEST_F(WindowTest, BoxesNameTheFileTheirPictureCameFromAndTheStatusBarNotesTheLoad) {
    const std::string picture = dir.file("armcamp.bmp");
    WritePatternBmp(picture, 96, 96, 32);
    const std::string file = QDir::toNativeSeparators(QString::fromStdString(picture)).toStdString(),
                      generated = "(made by automatic generation)";
    const auto tooltips = [&] {
        Strings tips;
        for (int k = 0; k < 3; ++k) {
            tips.push_back(Box(k)->toolTip().toStdString());
            EXPECT_EQ(window->Picture1(k)->toolTip(), Box(k)->toolTip()) << k;
        }
        return tips;
    };

    Click("Command1", picture);
    EXPECT_EQ(window->StatusBar()->currentMessage(), "Loaded armcamp.bmp");
    EXPECT_EQ(window->MessagePanel()->text(), "Ready") << "the note leaves the message panel's text alone";
    ShowPage(frmMain::kOperationsPage);
    EXPECT_EQ(window->StatusBar()->currentMessage(), "") << "a status text of a command ends the note";
    EXPECT_TRUE(window->MessagePanel()->isVisibleTo(window.get()));

    Click("Command4");  // an effect keeps the picture's origin
    Click("Command28");
    EXPECT_EQ(tooltips(), (Strings{file, generated, generated}));
    // Undo gives the boxes back their earlier names with their pictures.
    Command("Undo")->trigger();
    EXPECT_EQ(tooltips(), (Strings{file, "", ""}));
    Command("Undo")->trigger();
    Command("Undo")->trigger();
    EXPECT_EQ(tooltips(), Strings(3, ""));
    Command("Redo")->trigger();
    EXPECT_EQ(tooltips(), (Strings{file, "", ""}));
    EXPECT_EQ(window->UndoStack()->index(), 1);
}
