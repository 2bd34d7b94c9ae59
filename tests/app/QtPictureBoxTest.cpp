// The Qt picture box paints exactly as the memory picture box, keeps its canvas when the
// border goes, and the file dialog's filters convert to Qt's form.

#include "WindowTestSupport.h"
#include "app/QtCommonDialog.h"
#include "display/MemoryPictureBox.h"
#include "imagefiles/modPalettes.h"

namespace apptest {
namespace {

// A borderless Qt box and a memory box of the same size and background.
struct BoxPair {
    explicit BoxPair(int side) : qt(false), memory(side, side, 0) {
        qt.resize(side, side);
        memory.Fill(qt.BackgroundColour().rgb() & 0xFFFFFFu);
    }
    std::vector<uint32_t> QtCanvas() const { return qt.ReadColours({0, 0, qt.width(), qt.height()}); }
    QtPictureBox qt;
    MemoryPictureBox memory;
};

// DisplayPicture centres with halves to even: (100 - 64) / 2 = 18, (101 - 96) / 2 = 2.5 -> 2;
// Size 2 draws nothing; a slot outside 0 to 2 draws black.
TEST(QtPictureBox, DisplayPictureDrawsAsIntoTheMemoryBox) {
    testsupport::TempDir dir;
    const std::string file = dir.file("pattern.bmp");
    WritePatternBmp(file, 96, 96, 51);
    classUnitGAF set;
    ASSERT_TRUE(set.LoadBMPPicture(file, 0));
    const auto frame = set.ReducedFrame(0);
    struct Case {
        int Side, TAPic, Size;
        bool Centre;
        int Offset;
        std::vector<uint32_t> Shown;
    };
    const Case cases[] = {{100, 0, 0, true, 18, ColoursOf(frame.data(), frame.size())},
                          {101, 0, 1, true, 2, ColoursOf(*set.Slot(0))},
                          {97, 3, 1, false, 0, ColoursOf(Picture{})},
                          {97, 0, 2, false, 0, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << c.Side << " TAPic " << c.TAPic << " Size " << c.Size);
        BoxPair box(c.Side);
        const std::vector<uint32_t> empty = box.QtCanvas();
        set.DisplayPicture(c.TAPic, box.qt, c.Size, c.Centre);
        set.DisplayPicture(c.TAPic, box.memory, c.Size, c.Centre);
        EXPECT_EQ(box.QtCanvas(), box.memory.Canvas());
        if (c.Shown.empty()) {
            EXPECT_EQ(box.QtCanvas(), empty);
        } else {
            EXPECT_EQ(CanvasSquare(box.qt, c.Offset, c.Offset, c.Size == 0 ? 64 : 96), c.Shown);
        }
    }
}

TEST(QtPictureBox, ClippedAndStretchedBlocksMatchTheMemoryBox) {
    std::vector<uint8_t> pixels(10 * 6);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37);
    const IndexedBlock block{pixels, 10, 6, 10, &modPalettes::GamePalette};
    const std::pair<PixelRect, PixelRect> draws[] = {
        {{0, 0, 10, 6}, {-3, -2, 10, 6}},  // clipped at the top left
        {{4, 3, 1, 1}, {15, 15, 10, 6}},   // source partly outside the block: canvas kept
        {{2, 1, 8, 5}, {1, 1, 25, 3}},     // stretched up and down
    };
    for (bool stretch : {false, true}) {
        BoxPair box(24);
        for (const auto& [source, dest] : draws) {
            box.qt.DrawIndexed(block, source, dest, stretch);
            box.memory.DrawIndexed(block, source, dest, stretch);
            ASSERT_EQ(box.QtCanvas(), box.memory.Canvas()) << "stretch " << stretch << " dest " << dest.Left;
        }
    }
}

TEST(QtPictureBox, RemovingTheBorderKeepsWhatWasDrawn) {
    QtPictureBox box(true);
    box.resize(97, 97);
    EXPECT_EQ(box.InnerWidth(), 93);
    const std::vector<uint8_t> black(4, 0);
    box.DrawIndexed({black, 2, 2, 2, &modPalettes::GamePalette}, {0, 0, 2, 2}, {0, 0, 2, 2}, false);
    const uint32_t drawn = box.ReadColours({0, 0, 1, 1})[0];
    box.SetBorder(false);
    EXPECT_EQ(box.InnerWidth(), 97);
    EXPECT_EQ(box.ReadColours({1, 1, 1, 1})[0], drawn);
    EXPECT_EQ(box.ReadColours({96, 96, 1, 1})[0], box.BackgroundColour().rgb() & 0xFFFFFFu);
}

TEST(QtCommonDialogFilters, ConvertToQtNameFilters) {
    EXPECT_EQ(QtCommonDialog::QtNameFilters("BMP files (*.bmp)|*.bmp"), "BMP files (*.bmp)");
    EXPECT_EQ(QtCommonDialog::QtNameFilters("GAF files (*.gaf)|*.gaf|All files|*.*"),
              "GAF files (*.gaf);;All files (*.*)");
    EXPECT_EQ(QtCommonDialog::QtNameFilters("Pictures|*.bmp;*.pcx"), "Pictures (*.bmp *.pcx)");
    EXPECT_EQ(QtCommonDialog::QtNameFilters(""), "All files (*)");
}

}  // namespace
}  // namespace apptest
