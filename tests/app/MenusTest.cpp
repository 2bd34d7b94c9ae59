// The menu bar above the pages, and the window's keyboard: shortcuts and access keys pressed
// on the real window.

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

#include "WindowTestSupport.h"

using namespace apptest;

namespace {
QString Shown(QString caption) { return caption.remove(QLatin1Char('&')); }
}  // namespace

TEST_F(WindowTest, MenuBarSitsAboveTheUnchangedClientAreaAndOffersItsCommands) {
    const int menuHeight = window->MenuBar()->height();
    ASSERT_GT(menuHeight, 0);
    EXPECT_EQ(window->size(), QSize(544, 290 + menuHeight));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("ClientArea"))->geometry(), QRect(0, menuHeight, 544, 290));
    EXPECT_EQ(window->SSTab1()->geometry(), QRect(0, 0, 545, 265));
    EXPECT_EQ(window->StatusBar()->geometry(), QRect(0, 272, 543, 17));

    std::vector<std::pair<std::string, Strings>> menus;
    for (QAction* entry : window->MenuBar()->actions()) {
        Strings commands;
        for (QAction* command : entry->menu()->actions()) {
            commands.push_back(command->isSeparator() ? "--" : Shown(command->text()).toStdString());
        }
        menus.emplace_back(entry->text().toStdString(), commands);
    }
    const std::vector<std::pair<std::string, Strings>> expected = {
        {"&File", {"Import picture...", "Open GAF...", "Export unit...", "--", "Exit"}},
        {"&Edit", {"Undo", "Redo"}},
        {"Help", {"About"}}};
    EXPECT_EQ(menus, expected);

    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    MenuCommand("Help", "About")->trigger();
    EXPECT_EQ(Page(), frmMain::kAboutPage);
    prompts->MsgAnswers = {MsgAnswer::No};
    MenuCommand("File", "Exit")->trigger();
    EXPECT_EQ(TakeMessages(), Strings{"Are you sure you want to quit (unsaved changes will be lost)"});
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTest, KeyboardTurnsPagesUndoesRedoesAndOpensTheMenus) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const struct {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        int Page;
    } pages[] = {
        {Qt::Key_3, Qt::ControlModifier, frmMain::kDisabledPage},
        {Qt::Key_1, Qt::ControlModifier, frmMain::kNormalPage},
        {Qt::Key_4, Qt::ControlModifier, frmMain::kOperationsPage},
        {Qt::Key_2, Qt::ControlModifier, frmMain::kHighlightedPage},
        {Qt::Key_5, Qt::ControlModifier, frmMain::kAboutPage},
        {Qt::Key_F1, Qt::NoModifier, frmMain::kAboutPage},
    };
    for (const auto& row : pages) {
        QTest::keyClick(window.get(), static_cast<Qt::Key>(row.Key), row.Modifiers);
        EXPECT_EQ(Page(), row.Page) << row.Key;
    }
    // Alt+H stays the Highlighted page's own access key: a second holder of it would take
    // every other press.
    for (int press = 0; press < 3; ++press) {
        window->SSTab1()->setCurrentIndex(frmMain::kAboutPage);
        QTest::keyClick(window.get(), Qt::Key_H, Qt::AltModifier);
        EXPECT_EQ(Page(), frmMain::kHighlightedPage) << press;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << press;
    }

    Click("Command31");  // a border on slot 1
    const Picture bordered = Slot(1), white = Reference(1);
    const struct {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        Picture Expected;
    } steps[] = {
        {Qt::Key_Z, Qt::ControlModifier, white},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, bordered},
        {Qt::Key_Z, Qt::ControlModifier, white},
        {Qt::Key_Y, Qt::ControlModifier, bordered},
    };
    for (const auto& step : steps) {
        QTest::keyClick(window.get(), static_cast<Qt::Key>(step.Key), step.Modifiers);
        EXPECT_EQ(Slot(1), step.Expected) << step.Key << " " << step.Modifiers;
    }

    for (const auto& [key, title] : {std::pair{Qt::Key_F, "&File"}, std::pair{Qt::Key_E, "&Edit"}}) {
        QTest::keyClick(window.get(), key, Qt::AltModifier);
        auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(open, nullptr) << title;
        EXPECT_EQ(open->title().toStdString(), title);
        QTest::keyClick(open, Qt::Key_Escape);
    }
}
