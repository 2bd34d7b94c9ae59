// What the window keeps from one run to the next. The settings live in the test run's own folder
// (AppTestMain), never in the user's.

#include <QCoreApplication>
#include <QDir>
#include <QSettings>

#include "WindowTestSupport.h"

using namespace apptest;

// Each kind of file dialog opens where it was last used, also in the next run; a kind never used
// opens where any dialog was last used in this run, else in the folder the program was started
// in, never in the program's own; the window opens where it was closed, unless no screen shows
// that place; the import options OK'd last start the next run's.
TEST_F(WindowTest, DialogFoldersTheWindowsPlaceAndImportOptionsLastIntoTheNextRun) {
    const std::string startedIn = QDir::currentPath().toStdString();
    ASSERT_NE(startedIn, QCoreApplication::applicationDirPath().toStdString());
    const std::string pictures = dir.file("pictures"), saved = dir.file("saved"), picture = pictures + "/a.bmp";
    std::filesystem::create_directories(pictures);
    std::filesystem::create_directories(saved);
    WritePatternBmp(picture, 96, 96, 31);
    Click("Command1", picture);            // open-bmp: first use
    Click("Command17", saved + "/s.bmp");  // save-bmp: first use
    Click("Command1", picture);            // open-bmp again
    dialog->Cancel();
    Click("Command9");  // open-pcx: never used
    EXPECT_EQ(dialog->StartFolders, (Strings{startedIn, pictures, pictures, pictures}));
    ShowPage(frmMain::kNormalPage);
    ImportChoices chosen;
    chosen.Settings.Fit = import::FitMode::Stretch, chosen.Settings.Background = {1, 2, 3};
    dialog->Choose(picture);
    importOptions->Ok(chosen);
    Command("Import picture...")->trigger();
    window->move(123, 45);
    prompts->MsgAnswers = {MsgAnswer::Yes};
    ASSERT_TRUE(window->close());

    OpenWindow();
    EXPECT_EQ(window->pos(), QPoint(123, 45));
    for (const char* button : {"Command10", "Command2", "Command18"}) {
        dialog->Cancel();
        Click(button);
    }
    EXPECT_EQ(dialog->StartFolders, (Strings{startedIn, pictures, saved}));
    ShowPage(frmMain::kNormalPage);
    dialog->Choose(picture);
    importOptions->Cancel();
    Command("Import picture...")->trigger();
    EXPECT_EQ(Compared(importOptions->Asked.at(0).Start.Settings), Compared(chosen.Settings));

    QSettings().setValue(QStringLiteral("Window/Position"), QPoint(-20000, -20000));
    OpenWindow();
    EXPECT_NE(window->pos(), QPoint(-20000, -20000));
}
