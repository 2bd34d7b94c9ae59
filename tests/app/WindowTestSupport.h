#pragma once
// A real frmMain with scripted dialogs, shown off screen, and helpers to click its buttons and
// look at its pictures.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>

#include <cstdint>
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

// Width x height game-palette indices in a pattern that uses many colours; seed varies it.
std::vector<uint8_t> PatternPixels(int width, int height, int seed);

// Writes an 8-bit BMP file in the game palette holding PatternPixels(width, height, seed).
void WritePatternBmp(const std::string& file, int width, int height, int seed);

// Writes a 256-colour PCX file of the given size with a pattern; version 5 unless given.
void WritePatternPcx(const std::string& file, int width, int height, int seed, uint8_t version = 5);

// Slot 0 of a fresh picture set after LoadBMPPicture / LoadPCXPicture of file: what a load
// into any slot must give.
Picture ReferenceBmp(const std::string& file);
Picture ReferencePcx(const std::string& file);

// A fresh slot: every pixel palette index 255.
Picture WhitePicture();

// The game palette colour of each index of pic as 0xRRGGBB, row by row.
std::vector<uint32_t> ColoursOf(const Picture& pic);
// The canvas colours of a 96 x 96 square at (left, top) of box.
std::vector<uint32_t> CanvasSquare(const QtPictureBox& box, int left, int top, int side = 96);

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds (or rebuilds) the window with fresh scripted dialogs.
    void OpenWindow();

    QAbstractButton* Button(const char* name) const;
    void Click(const char* name);
    QLabel* Label(const char* name) const;
    QtPictureBox* Box(int TAPic) const { return window->PicUnitpic(TAPic); }
    QString Message() const { return window->MessagePanel()->text(); }
    int Progress() const { return window->ProgressPanel()->value(); }
    const Picture& Slot(int TAPic) { return *window->UnitGAF().Slot(TAPic); }

    // The texts of the message boxes shown so far.
    std::vector<std::string> MessageTexts() const;

    testsupport::TempDir dir;
    ScriptedCommonDialog* dialog = nullptr;
    ScriptedPrompts* prompts = nullptr;
    RecordingUrlOpener* links = nullptr;
    std::unique_ptr<frmMain> window;
};

}  // namespace apptest
