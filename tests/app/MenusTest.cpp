// The menu bar above the pages, and the window's keyboard: shortcuts and access keys pressed
// on the real window.

#include <QApplication>
#include <QMenuBar>
#include <QTest>

#include "WindowTestSupport.h"

using namespace apptest;

TEST_F(WindowTest, MenuBarSitsAboveTheUnchangedClientAreaAndItsCommandsWork) {
    const int menuHeight = window->MenuBar()->height();
    ASSERT_GT(menuHeight, 0);
    EXPECT_EQ(window->size(), QSize(544, 290 + menuHeight));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("ClientArea"))->geometry(), QRect(0, menuHeight, 544, 290));
    ShowPage(frmMain::kNormalPage);
    Command("About")->trigger();
    EXPECT_EQ(Page(), frmMain::kAboutPage);
    prompts->MsgAnswers = {MsgAnswer::No};
    Command("Exit")->trigger();
    EXPECT_EQ(TakeMessages(), Strings{"Are you sure you want to quit (unsaved changes will be lost)"});
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, KeyboardTurnsPagesUndoesRedoesAndOpensTheFileCommands) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto press = [this](int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(window.get(), static_cast<Qt::Key>(key), modifiers);
    };
    const std::pair<int, int> pages[] = {{Qt::Key_3, frmMain::kDisabledPage},
                                         {Qt::Key_1, frmMain::kNormalPage},
                                         {Qt::Key_4, frmMain::kOperationsPage},
                                         {Qt::Key_2, frmMain::kHighlightedPage},
                                         {Qt::Key_5, frmMain::kAboutPage}};
    for (const auto& [key, page] : pages) {
        press(key);
        EXPECT_EQ(Page(), page) << key;
    }
    ShowPage(frmMain::kNormalPage);
    press(Qt::Key_F1, Qt::NoModifier);
    EXPECT_EQ(Page(), frmMain::kAboutPage);
    // Alt+H stays the Highlighted page's own access key: a second holder of it would take
    // every other press.
    for (int round = 0; round < 3; ++round) {
        ShowPage(frmMain::kAboutPage);
        press(Qt::Key_H, Qt::AltModifier);
        EXPECT_EQ(Page(), frmMain::kHighlightedPage) << round;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << round;
    }

    Click("Command31");  // a border on slot 1
    const Picture bordered = Slot(1), white = Reference(1);
    const std::tuple<int, Qt::KeyboardModifiers, Picture> steps[] = {
        {Qt::Key_Z, Qt::ControlModifier, white},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, bordered},
        {Qt::Key_Z, Qt::ControlModifier, white},
        {Qt::Key_Y, Qt::ControlModifier, bordered}};
    for (const auto& [key, modifiers, expected] : steps) {
        press(key, modifiers);
        EXPECT_EQ(Slot(1), expected) << key << " " << modifiers;
    }

    // Ctrl+O opens a GAF file, Ctrl+E exports the unit.
    dialog->Cancel();
    press(Qt::Key_O);
    EXPECT_EQ(dialog->OfferedFilters.back(), "GAF files (*.gaf)|*.gaf");
    prompts->InputAnswers = {""};
    press(Qt::Key_E);
    EXPECT_EQ(TakeMessages(), Strings{"You can't save without specifying your units UNITNAME"});
}
