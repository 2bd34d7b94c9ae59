#pragma once
// A real frmMain with scripted dialogs, shown off screen, and what its tests share.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>

#include <functional>
#include <memory>

#include "ScriptedDialogs.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace apptest {

using Strings = std::vector<std::string>;
// A 256-colour BMP in the game palette with many colours; seed varies the pattern.
void WritePatternBmp(const std::string& file, int width, int height, int seed);
// Slot TAPic of a fresh picture set after Steps: what the window must hold after the same work.
Picture Reference(int TAPic, const std::function<void(classUnitGAF&)>& Steps = {});
// Game-palette colours as a picture box reads them back.
std::vector<uint32_t> ColoursOf(const Picture& picture);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    // A new window with new scripted dialogs on the settings as they are: the next run.
    void OpenWindow();
    // Clicks the named button; the file dialog, if file is given, answers with it.
    void Click(const char* name, const std::string& file = {});
    QAbstractButton* Button(const char* name) const;
    QtPictureBox* Box(int TAPic) const { return window->PicUnitpic(TAPic); }
    int Progress() const { return window->ProgressPanel()->value(); }
    const Picture& Slot(int TAPic) { return *window->UnitGAF().Slot(TAPic); }
    Strings TakeMessages();  // the texts of the message boxes shown since the last call
    // The command of a menu, by its menu's and its own caption as shown (without '&'); the
    // Edit menu's first two are Undo and Redo, whatever step they name.
    QAction* MenuCommand(const QString& menu, const QString& caption) const;
    QAction* UndoCommand() const;
    QAction* RedoCommand() const;
    int Page() const { return window->SSTab1()->currentIndex(); }

    testsupport::TempDir dir;
    ScriptedCommonDialog* dialog = nullptr;
    ScriptedPrompts* prompts = nullptr;
    ScriptedImportOptions* importOptions = nullptr;
    std::unique_ptr<frmMain> window;
};

}  // namespace apptest
