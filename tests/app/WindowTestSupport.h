#pragma once
// A real frmMain with scripted dialogs, shown off screen, and helpers to click its buttons and
// compare its slots and picture boxes with a picture set driven directly.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedDialogs.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "picture/Picture.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace apptest {

// 8-bit BMP / 256-colour PCX files in the game palette with a many-coloured pattern (seed
// varies it); the PCX version can be set to one the reader refuses.
void WritePatternBmp(const std::string& file, int width, int height, int seed);
void WritePatternPcx(const std::string& file, int width, int height, int seed, uint8_t version = 5);

// Slot TAPic of a fresh picture set after Steps: what the window must hold after the same work.
Picture Reference(int TAPic, const std::function<void(classUnitGAF&)>& Steps);
// Slot 0 of a fresh picture set after loading file (which must succeed).
Picture Loaded(const std::string& file, bool pcx = false);
Picture WhitePicture();

// Game-palette colours as 0xRRGGBB, index by index.
std::vector<uint32_t> ColoursOf(const uint8_t* indices, std::size_t count);
inline std::vector<uint32_t> ColoursOf(const Picture& pic) { return ColoursOf(pic.data(), pic.size()); }
// The canvas colours of a side x side square at (left, top) of box.
std::vector<uint32_t> CanvasSquare(const QtPictureBox& box, int left, int top, int side = 96);
// True while the hourglass is the application's pointer.
bool BusyPointer();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QAbstractButton* Button(const char* name) const;
    void Click(const char* name);
    // Answers the next file dialog with file, then clicks.
    void ClickChoosing(const char* name, const std::string& file);
    QLabel* Label(const char* name) const;
    QtPictureBox* Box(int TAPic) const { return window->PicUnitpic(TAPic); }
    QString Message() const { return window->MessagePanel()->text(); }
    int Progress() const { return window->ProgressPanel()->value(); }
    const Picture& Slot(int TAPic) { return *window->UnitGAF().Slot(TAPic); }
    // The box shows slot TAPic at its top-left corner.
    void ExpectBoxShowsSlot(int TAPic);
    // Exactly one message box was shown since the last call, with these text, title and icon.
    void ExpectOneMessage(const std::string& text, const std::string& title, MsgIcon icon);
    std::vector<std::string> MessageTexts() const;

    testsupport::TempDir dir;
    ScriptedCommonDialog* dialog = nullptr;
    ScriptedPrompts* prompts = nullptr;
    RecordingUrlOpener* links = nullptr;
    std::unique_ptr<frmMain> window;
};

}  // namespace apptest
