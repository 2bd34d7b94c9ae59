// What the window keeps between runs (the folder of each kind of file dialog, the window's
// position), and the status bar's note on a load.
// The settings live in the test run's own folder (AppTestMain), never in the user's.

#include <QCoreApplication>
#include <QSettings>
#include <QStatusBar>

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

TEST_F(WindowTest, TheStatusBarNotesALoadUntilTheNextStatusText) {
    const std::string picture = dir.file("armcamp.bmp");
    WritePatternBmp(picture, 96, 96, 32);
    Click("Command1", picture);
    EXPECT_EQ(window->StatusBar()->currentMessage(), "Loaded armcamp.bmp");
    EXPECT_EQ(window->MessagePanel()->text(), "Ready") << "the note leaves the message panel's text alone";
    ShowPage(frmMain::kOperationsPage);
    EXPECT_EQ(window->StatusBar()->currentMessage(), "") << "a status text of a command ends the note";
    EXPECT_TRUE(window->MessagePanel()->isVisibleTo(window.get()));
}
