// The GAF viewer on its own: entries, frames and fields, the frames drawn in the game palette
// over a checkerboard where the file leaves pixels empty.

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "WindowTestSupport.h"
#include "app/GafFrameView.h"
#include "app/GafViewer.h"
#include "imagefiles/modPalettes.h"
#include "support/GafBuilder.h"

using namespace apptest;

namespace {

using gafbuild::Compressed;
using gafbuild::Raw;

// What a view at scale must show for frame: each frame pixel a scale x scale square of its game
// colour, and the checkerboard, counted in view pixels, where a compressed or layered frame
// holds its transparency index.
std::vector<uint32_t> ExpectedDrawing(const gaf::DecodedFrame& frame, int scale) {
    const bool leavesPixelsEmpty = frame.Compression != 0 || frame.Layers != 0;
    std::vector<uint32_t> colours;
    for (int y = 0; y < frame.Height * scale; ++y) {
        for (int x = 0; x < frame.Width * scale; ++x) {
            const uint8_t index = frame.Pixels[static_cast<std::size_t>(y / scale * frame.Width + x / scale)];
            const PaletteEntry& c = modPalettes::GamePalette[index];
            colours.push_back(leavesPixelsEmpty && index == frame.Transparency
                                  ? GafFrameView::CheckerColour(x, y) & 0xFFFFFFu
                                  : uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
        }
    }
    return colours;
}

// Layers over a frame of their own size and place, which holds no pixels itself.
gafbuild::Frame Layered(uint16_t width, uint16_t height, int16_t x, int16_t y, std::vector<gafbuild::Frame> layers) {
    gafbuild::Frame frame = Raw(width, height, {}, x, y, 0);
    frame.Layers = std::move(layers);
    return frame;
}

class GafViewerTest : public ::testing::Test {
protected:
    void Open(const std::vector<gafbuild::Entry>& entries) {
        testsupport::WriteBytes(dir.file("opened.gaf"), gafbuild::Build(entries).Bytes);
        auto decoded = gaf::ReadGafFile(dir.file("opened.gaf"));
        ASSERT_TRUE(decoded);
        viewer = std::make_unique<GafViewer>(std::move(*decoded), dir.file("opened.gaf"), dialog, prompts);
        viewer->show();
        QApplication::processEvents();
    }
    template <class Widget>
    Widget* Find(const char* name) const {
        return viewer->findChild<Widget*>(QString::fromLatin1(name));
    }
    // The items of a list, or the shown frame's fields.
    Strings Shown(const char* list) const {
        Strings texts;
        for (int i = 0; list != nullptr && i < Find<QListWidget>(list)->count(); ++i)
            texts.push_back(Find<QListWidget>(list)->item(i)->text().toStdString());
        for (const char* name :
             {"FrameWidth", "FrameHeight", "FrameX", "FrameY", "FrameTransparency", "FrameCompressed", "FrameLayers"})
            if (list == nullptr) texts.push_back(Find<QLabel>(name)->text().toStdString());
        return texts;
    }
    // The colours the view at scale paints, row by row.
    std::vector<uint32_t> Drawn(int scale) const {
        const QImage image = Find<GafFrameView>(scale == 1 ? "Frame1x" : "Frame2x")->grab().toImage();
        std::vector<uint32_t> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) colours.push_back(image.pixel(x, y) & 0xFFFFFFu);
        return colours;
    }
    void Select(const char* list, int row) { Find<QListWidget>(list)->setCurrentRow(row); }

    testsupport::TempDir dir;
    ScriptedCommonDialog dialog;
    ScriptedPrompts prompts;
    std::unique_ptr<GafViewer> viewer;
};

TEST_F(GafViewerTest, FramesShowTheirFieldsAndColoursAndTheCheckerboardWhereEmpty) {
    Bytes runs(20 * 12);
    for (std::size_t k = 0; k < runs.size(); ++k)
        runs[k] = (k / 5 + k / 20) % 3 == 0 ? 200 : static_cast<uint8_t>(k * 7);
    const auto layers = {Compressed(10, 10, Bytes(100, 44), 4, 4, 9), Raw(4, 4, Bytes(16, 77), -8, -6)};
    Open({{"FX", {Compressed(20, 12, runs, 3, -2, 200), Raw(3, 2, {9, 1, 9, 2, 9, 3}, -7, 5)}},
          {""},
          {"LAYERS", {Layered(24, 18, 12, 9, layers)}}});
    EXPECT_EQ(viewer->windowTitle(), "opened.gaf - GAF file");
    EXPECT_EQ(Shown("Entries"), (Strings{"FX", "(no name)", "LAYERS"}));
    const Strings frames{"Frame 0 (20 x 12)", "Frame 1 (3 x 2)"};
    const std::tuple<const char*, int, Strings, Strings> rows[] = {
        {"Entries", 0, frames, {"20", "12", "3", "-2", "200", "Yes", "0"}},
        {"Frames", 1, frames, {"3", "2", "-7", "5", "9", "No", "0"}},  // raw: index 9 is a colour
        {"Entries", 1, {}, Strings(7, "")},                            // an entry without frames shows nothing
        {"Entries", 2, {"Frame 0 (24 x 18)"}, {"24", "18", "12", "9", "0", "No", "2"}}};
    for (const auto& [list, row, items, fields] : rows) {
        Select(list, row);
        EXPECT_EQ(Shown("Frames"), items) << list << " " << row;
        EXPECT_EQ(Shown(nullptr), fields) << list << " " << row;
        const gaf::DecodedFrame* frame = viewer->CurrentFrame();
        for (int scale : {1, 2})
            EXPECT_EQ(Drawn(scale), frame ? ExpectedDrawing(*frame, scale) : std::vector<uint32_t>{}) << list << row;
    }
}

// "Export frames as PNG..." clicked: the frames are written off the GUI thread under the folder
// chosen, and one message says how many; a file in the way of an entry's folder stops it with the
// reason and the count written before.
TEST_F(GafViewerTest, ExportFramesWritesEveryFrameAndSaysHowManyOrWhyNot) {
    Open({{"A", {Raw(2, 1, {1, 2}), Raw(1, 1, {3})}}, {"B", {Raw(1, 1, {4})}}});
    const std::string out = dir.file("frames");
    dialog.Choose(out);
    QTest::mouseClick(Find<QPushButton>("ExportFrames"), Qt::LeftButton);
    for (const char* file : {"/A/0.png", "/A/1.png", "/B/0.png"}) EXPECT_TRUE(std::filesystem::exists(out + file));
    std::filesystem::create_directories(dir.file("again"));
    testsupport::WriteBytes(dir.file("again/B"), {1});
    dialog.Choose(dir.file("again"));
    QTest::mouseClick(Find<QPushButton>("ExportFrames"), Qt::LeftButton);
    ASSERT_EQ(prompts.Messages.size(), 2u);
    EXPECT_EQ(std::tuple(prompts.Messages[0].Text, prompts.Messages[0].Icon),
              std::tuple("3 PNG files were written to " + out + ".", MsgIcon::Information));
    EXPECT_EQ(std::tuple(prompts.Messages[1].Text, prompts.Messages[1].Informative, prompts.Messages[1].Icon),
              std::tuple(std::string("The frames could not all be written."),
                         "The folder " + dir.file("again/B") + ": Not a directory. 2 PNG files were written before it.",
                         MsgIcon::Warning));
}

}  // namespace
