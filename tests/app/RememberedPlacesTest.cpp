// What the window keeps between runs (the folder of each kind of file dialog, the window's
// position) and what it tells about each picture's origin (tooltips, the status bar's note).
// The settings live in the test run's own folder (AppTestMain), never in the user's.

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStatusBar>
#include <QUndoStack>

#include <filesystem>

#include "WindowTestSupport.h"

using namespace apptest;

namespace {

// A second run: a new window on the same settings, with scripted dialogs of its own.
struct NextRun {
    ScriptedCommonDialog* Dialog = nullptr;
    std::unique_ptr<frmMain> Window;
};
NextRun StartAgain() {
    auto dialog = std::make_unique<ScriptedCommonDialog>();
    NextRun run{dialog.get(), nullptr};
    run.Window =
        std::make_unique<frmMain>(std::move(dialog), std::make_unique<ScriptedPrompts>(),
                                  std::make_unique<RecordingUrlOpener>(), std::make_unique<ScriptedImportOptions>());
    return run;
}

}  // namespace

TEST_F(WindowTest, EachKindOfDialogOpensWhereItWasLastUsedAlsoInTheNextRun) {
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
    std::filesystem::create_directories(dir.path() / "pictures");
    std::filesystem::create_directories(dir.path() / "saved");
    const std::string picture = (dir.path() / "pictures" / "a.bmp").string();
    WritePatternBmp(picture, 96, 96, 31);

    Click("Command1", picture);                                     // open-bmp: first use
    Click("Command17", (dir.path() / "saved" / "s.bmp").string());  // save-bmp: first use
    Click("Command1", picture);                                     // open-bmp again
    dialog->Cancel();
    Click("Command9");  // open-pcx: never used
    const Strings firstRun{programFolder, programFolder, (dir.path() / "pictures").string(), programFolder};
    EXPECT_EQ(dialog->StartFolders, firstRun);
    EXPECT_EQ(dialog->InitDir, programFolder) << "the initial folder itself never changes";

    window.reset();
    NextRun next = StartAgain();
    for (const char* button : {"Command10", "Command2", "Command18"}) {
        next.Dialog->Cancel();
        next.Window->findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    }
    const Strings secondRun{programFolder, (dir.path() / "pictures").string(), (dir.path() / "saved").string()};
    EXPECT_EQ(next.Dialog->StartFolders, secondRun);

    EXPECT_FALSE(QSettings().fileName().startsWith(QDir::homePath() + QStringLiteral("/.config")))
        << "the tests' settings stay out of the user's";
}

TEST_F(WindowTest, TheWindowOpensWhereItWasClosed) {
    window->move(123, 45);
    prompts->MsgAnswers = {MsgAnswer::Yes};
    ASSERT_TRUE(window->close());
    window.reset();
    NextRun next = StartAgain();
    EXPECT_EQ(next.Window->pos(), QPoint(123, 45));

    // A place no screen shows any more is not used.
    QSettings().setValue(QStringLiteral("Window/Position"), QPoint(-20000, -20000));
    NextRun third = StartAgain();
    EXPECT_NE(third.Window->pos(), QPoint(-20000, -20000));
}

TEST_F(WindowTest, BoxesNameTheFileTheirPictureCameFromAndTheStatusBarNotesTheLoad) {
    const std::string picture = dir.file("armcamp.bmp");
    WritePatternBmp(picture, 96, 96, 32);
    const QString tip = QDir::toNativeSeparators(QString::fromStdString(picture));
    const auto tooltips = [&](int k) {
        return std::make_pair(Box(k)->toolTip().toStdString(), window->Picture1(k)->toolTip().toStdString());
    };
    const std::pair<std::string, std::string> none, fromFile{tip.toStdString(), tip.toStdString()},
        generated{"(made by automatic generation)", "(made by automatic generation)"};

    Click("Command1", picture);
    EXPECT_EQ(window->StatusBar()->currentMessage(), "Loaded armcamp.bmp");
    EXPECT_EQ(window->MessagePanel()->text(), "Ready") << "the note leaves the message panel's text alone";
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(window->StatusBar()->currentMessage(), "") << "a status text of a command ends the note";
    EXPECT_TRUE(window->MessagePanel()->isVisibleTo(window.get()));

    Click("Command4");  // an effect keeps the picture's origin
    Click("Command28");
    TakeMessages();
    EXPECT_EQ(tooltips(0), fromFile);
    EXPECT_EQ(tooltips(1), generated);
    EXPECT_EQ(tooltips(2), generated);

    // Undo gives the boxes back their earlier names with their pictures.
    UndoCommand()->trigger();
    EXPECT_EQ(tooltips(1), none);
    EXPECT_EQ(tooltips(2), none);
    UndoCommand()->trigger();
    UndoCommand()->trigger();
    EXPECT_EQ(tooltips(0), none);
    RedoCommand()->trigger();
    EXPECT_EQ(tooltips(0), fromFile);
    EXPECT_EQ(window->UndoStack()->index(), 1);
}
