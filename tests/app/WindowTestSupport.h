#pragma once
// A real frmMain with scripted dialogs, shown off screen, and what its tests share.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

#include "ScriptedDialogs.h"
#include "app/QtPictureBox.h"
#include "app/frmMain.h"
#include "display/BlockMapping.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace apptest {

using Strings = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;
// A 256-colour BMP in the game palette with many colours; seed varies the pattern.
void WritePatternBmp(const std::string& file, int width, int height, int seed);
// A truecolour PNG, every pixel its own colour and opaque but for the first clearColumns columns.
void WritePatternPng(const std::string& file, int width, int height, int seed, int clearColumns = 0);
// Slot TAPic of a fresh picture set after Steps: what the window must hold after the same work.
Picture Reference(int TAPic, const std::function<void(classUnitGAF&)>& Steps = {});
// Game-palette colours of indices (a slot, a 64 x 64 frame) as a picture box reads them back.
template <class Indices>
std::vector<uint32_t> ColoursOf(const Indices& indices) {
    std::vector<uint32_t> colours;
    for (uint8_t index : indices) colours.push_back(BlockMapping::ColourOf(modPalettes::GamePalette[index]));
    return colours;
}
// Every file under root, by its path below root, with its bytes.
std::map<std::string, Bytes> FilesUnder(const std::filesystem::path& root);
inline QUrl Local(const std::string& file) { return QUrl::fromLocalFile(QString::fromStdString(file)); }
// Import settings as one value that compares and prints.
inline auto Compared(const import::ImportSettings& s) {
    return std::tuple(s.Fit, s.Trim, s.Background, s.Match, s.Dither, s.Avoid, s.Strict,
                      s.BackgroundFrame ? std::optional(s.BackgroundFrame->Pixels) : std::nullopt);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    // A new window with new scripted dialogs on the settings as they are: the next run.
    void OpenWindow();
    // Clicks the named button; the file dialog, if file is given, answers with it.
    void Click(const char* name, const std::string& file = {});
    QAbstractButton* Button(const char* name) const;
    QtPictureBox* Box(int TAPic) const { return window->PicUnitpic(TAPic); }
    const Picture& Slot(int TAPic) { return *window->UnitGAF().Slot(TAPic); }
    void ShowPage(int page) { window->SSTab1()->setCurrentIndex(page); }
    int Page() const { return window->SSTab1()->currentIndex(); }
    // The texts of the message boxes shown since the last call.
    Strings TakeMessages();
    // The menu command whose caption, as shown (without '&'), is caption or starts with it and a
    // space: "Undo" finds the Edit menu's first command whatever step it names.
    QAction* Command(const QString& caption) const;
    static std::string Caption(const QAction* command) { return command->text().remove('&').toStdString(); }
    // Drags urls over a page and drops them there, as Qt hands the events on: to the page, and up
    // to the window when the page does not take them. Whether the drop was taken.
    bool Drop(int page, const QList<QUrl>& urls);

    testsupport::TempDir dir;
    ScriptedCommonDialog* dialog = nullptr;
    ScriptedPrompts* prompts = nullptr;
    ScriptedImportOptions* importOptions = nullptr;
    std::unique_ptr<frmMain> window;
};

}  // namespace apptest
