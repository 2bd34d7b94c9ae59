#include "WindowTestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>

#include "display/BlockMapping.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"

namespace apptest {

namespace {

// Many colours in a diagonal pattern; seed shifts it.
std::vector<uint8_t> PatternPixels(int width, int height, int seed) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        pixels[i] = static_cast<uint8_t>((x * 7 + y * 13 + seed * 31) % 256);
    }
    return pixels;
}

}  // namespace

void WritePatternBmp(const std::string& file, int width, int height, int seed) {
    testsupport::WriteBytes(
        file, modBmp::EncodeBmp(PatternPixels(width, height, seed), modPalettes::GamePalette, width, height));
}

void WritePatternPcx(const std::string& file, int width, int height, int seed, uint8_t version) {
    using namespace testsupport;
    const std::vector<uint8_t> pixels = PatternPixels(width, height, seed);
    const int lineBytes = (width + 1) & ~1;
    std::vector<uint8_t> bytes = {10, version, 1, 8};
    PutU16(bytes, 0);  // left and top
    PutU16(bytes, 0);
    PutU16(bytes, static_cast<unsigned>(width - 1));
    PutU16(bytes, static_cast<unsigned>(height - 1));
    bytes.resize(65, 0);
    PutU8(bytes, 1);  // one plane, its line length, a colour palette
    PutU16(bytes, static_cast<unsigned>(lineBytes));
    PutU16(bytes, 1);
    bytes.resize(128, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < lineBytes; ++x) {
            bytes.push_back(0xC1);  // a run of one: safe for every value
            bytes.push_back(x < width ? pixels[static_cast<std::size_t>(y * width + x)] : 0);
        }
    }
    bytes.push_back(12);
    for (const PaletteEntry& e : modPalettes::GamePalette) bytes.insert(bytes.end(), {e.Red, e.Green, e.Blue});
    WriteBytes(file, bytes);
}

Picture Reference(int TAPic, const std::function<void(classUnitGAF&)>& Steps) {
    classUnitGAF reference;
    Steps(reference);
    return *reference.Slot(TAPic);
}

Picture Loaded(const std::string& file, bool pcx) {
    return Reference(0, [&](classUnitGAF& u) {
        EXPECT_TRUE(pcx ? u.LoadPCXPicture(file, 0) : u.LoadBMPPicture(file, 0)) << file;
    });
}

Picture WhitePicture() {
    return Reference(0, [](classUnitGAF&) {});
}

std::vector<uint32_t> ColoursOf(const uint8_t* indices, std::size_t count) {
    std::vector<uint32_t> colours;
    for (std::size_t i = 0; i < count; ++i) colours.push_back(BlockMapping::ColourOf(modPalettes::GamePalette[indices[i]]));
    return colours;
}

std::vector<uint32_t> CanvasSquare(const QtPictureBox& box, int left, int top, int side) {
    return box.ReadColours(PixelRect{left, top, side, side});
}

bool BusyPointer() {
    return QGuiApplication::overrideCursor() != nullptr &&
           QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
}

void WindowTest::SetUp() {
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

void WindowTest::TearDown() {
    window.reset();
    // Commands put the pointer back themselves; a leaked hourglass must not reach the next test.
    while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
}

QAbstractButton* WindowTest::Button(const char* name) const {
    auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name));
    EXPECT_NE(button, nullptr) << name;
    return button;
}

void WindowTest::Click(const char* name) {
    if (QAbstractButton* button = Button(name)) button->click();
}

void WindowTest::ClickChoosing(const char* name, const std::string& file) {
    dialog->Choose(file);
    Click(name);
}

QLabel* WindowTest::Label(const char* name) const {
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
}

void WindowTest::ExpectBoxShowsSlot(int TAPic) {
    EXPECT_EQ(CanvasSquare(*Box(TAPic), 0, 0), ColoursOf(Slot(TAPic))) << "box " << TAPic;
}

void WindowTest::ExpectOneMessage(const std::string& text, const std::string& title, MsgIcon icon) {
    ASSERT_EQ(MessageTexts(), std::vector<std::string>{text});
    EXPECT_EQ(prompts->Messages[0].Title, title) << text;
    EXPECT_EQ(prompts->Messages[0].Icon, icon) << text;
    EXPECT_EQ(prompts->Messages[0].Buttons, MsgButtons::OK) << text;
    prompts->Messages.clear();
}

std::vector<std::string> WindowTest::MessageTexts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : prompts->Messages) texts.push_back(m.Text);
    return texts;
}

}  // namespace apptest
