#include "WindowTestSupport.h"

#include <QApplication>
#include <QGuiApplication>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

namespace apptest {

std::vector<uint8_t> PatternPixels(int width, int height, int seed) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y * width + x)] = static_cast<uint8_t>((x * 7 + y * 13 + seed * 31) % 256);
        }
    }
    return pixels;
}

void WritePatternBmp(const std::string& file, int width, int height, int seed) {
    const std::vector<uint8_t> pixels = PatternPixels(width, height, seed);
    testsupport::WriteBytes(file, modBmp::EncodeBmp(pixels, modPalettes::GamePalette, width, height));
}

void WritePatternPcx(const std::string& file, int width, int height, int seed, uint8_t version) {
    const std::vector<uint8_t> pixels = PatternPixels(width, height, seed);
    std::vector<uint8_t> bytes(128, 0);
    auto put16 = [&bytes](std::size_t at, int value) {
        bytes[at] = static_cast<uint8_t>(value & 0xFF);
        bytes[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
    };
    bytes[0] = 10;
    bytes[1] = version;
    bytes[2] = 1;
    bytes[3] = 8;
    put16(8, width - 1);
    put16(10, height - 1);
    bytes[65] = 1;
    put16(66, (width + 1) & ~1);
    put16(68, 1);
    for (int y = 0; y < height; ++y) {
        const int lineBytes = (width + 1) & ~1;
        for (int x = 0; x < lineBytes; ++x) {
            const uint8_t value = x < width ? pixels[static_cast<std::size_t>(y * width + x)] : 0;
            bytes.push_back(0xC1);  // a run of one: safe for every value
            bytes.push_back(value);
        }
    }
    bytes.push_back(12);
    for (const PaletteEntry& entry : modPalettes::GamePalette) {
        bytes.push_back(entry.Red);
        bytes.push_back(entry.Green);
        bytes.push_back(entry.Blue);
    }
    testsupport::WriteBytes(file, bytes);
}

Picture ReferenceBmp(const std::string& file) {
    classUnitGAF reference;
    EXPECT_TRUE(reference.LoadBMPPicture(file, 0)) << file;
    return *reference.Slot(0);
}

Picture ReferencePcx(const std::string& file) {
    classUnitGAF reference;
    EXPECT_TRUE(reference.LoadPCXPicture(file, 0)) << file;
    return *reference.Slot(0);
}

Picture WhitePicture() {
    Picture white;
    white.fill(255);
    return white;
}

std::vector<uint32_t> ColoursOf(const Picture& pic) {
    std::vector<uint32_t> colours;
    for (uint8_t index : pic) {
        const PaletteEntry& e = modPalettes::GamePalette[index];
        colours.push_back((uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | e.Blue);
    }
    return colours;
}

std::vector<uint32_t> CanvasSquare(const QtPictureBox& box, int left, int top, int side) {
    return box.ReadColours(PixelRect{left, top, side, side});
}

void WindowTest::SetUp() { OpenWindow(); }

void WindowTest::TearDown() {
    window.reset();
    // Commands put the busy pointer back themselves; make sure no test leaks one into the next.
    while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
}

void WindowTest::OpenWindow() {
    window.reset();
    auto scriptedDialog = std::make_unique<ScriptedCommonDialog>();
    auto scriptedPrompts = std::make_unique<ScriptedPrompts>();
    auto recordingLinks = std::make_unique<RecordingUrlOpener>();
    dialog = scriptedDialog.get();
    prompts = scriptedPrompts.get();
    links = recordingLinks.get();
    window = std::make_unique<frmMain>(std::move(scriptedDialog), std::move(scriptedPrompts), std::move(recordingLinks));
    window->show();
    QApplication::processEvents();
}

QAbstractButton* WindowTest::Button(const char* name) const {
    auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
}

void WindowTest::Click(const char* name) {
    QAbstractButton* button = Button(name);
    ASSERT_NE(button, nullptr);
    button->click();
}

QLabel* WindowTest::Label(const char* name) const {
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
}

std::vector<std::string> WindowTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : prompts->Messages) texts.push_back(m.Text);
    return texts;
}

}  // namespace apptest
