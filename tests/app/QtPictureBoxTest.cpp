// The Qt picture box paints exactly as the memory picture box, keeps its canvas when the
// border goes, and the file dialog's filters convert to Qt's form.

#include <QApplication>

#include "app/QtCommonDialog.h"
#include "app/QtPictureBox.h"
#include "display/MemoryPictureBox.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "WindowTestSupport.h"

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

classUnitGAF PatternedSet(const testsupport::TempDir& dir) {
    const std::string file = dir.file("pattern.bmp");
    WritePatternBmp(file, 96, 96, 51);
    classUnitGAF set;
    EXPECT_TRUE(set.LoadBMPPicture(file, 0));
    return set;
}

TEST(QtPictureBox, CentringRoundsHalvesToEvenLikeTheMemoryBox) {
    testsupport::TempDir dir;
    const classUnitGAF set = PatternedSet(dir);

    BoxPair hundred(100);
    set.DisplayPicture(0, hundred.qt, 0, true);
    set.DisplayPicture(0, hundred.memory, 0, true);
    EXPECT_EQ(hundred.QtCanvas(), hundred.memory.Canvas());
    const auto frame = set.ReducedFrame(0);
    const PaletteEntry& first = modPalettes::GamePalette[frame[0]];
    EXPECT_EQ(hundred.qt.ReadColours({18, 18, 1, 1})[0],
              (uint32_t{first.Red} << 16) | (uint32_t{first.Green} << 8) | first.Blue)
        << "(100 - 64) / 2 = 18";

    BoxPair odd(101);
    set.DisplayPicture(0, odd.qt, 1, true);
    set.DisplayPicture(0, odd.memory, 1, true);
    EXPECT_EQ(odd.QtCanvas(), odd.memory.Canvas());
    EXPECT_EQ(CanvasSquare(odd.qt, 2, 2), ColoursOf(*set.Slot(0))) << "2.5 rounds to 2";
}

TEST(QtPictureBox, SizeTwoDrawsNothingAndAMissingSlotDrawsBlack) {
    testsupport::TempDir dir;
    const classUnitGAF set = PatternedSet(dir);
    BoxPair box(97);
    const std::vector<uint32_t> empty = box.QtCanvas();
    set.DisplayPicture(0, box.qt, 2, false);
    EXPECT_EQ(box.QtCanvas(), empty);

    set.DisplayPicture(3, box.qt, 1, false);
    set.DisplayPicture(3, box.memory, 1, false);
    EXPECT_EQ(box.QtCanvas(), box.memory.Canvas());
    EXPECT_EQ(CanvasSquare(box.qt, 0, 0), std::vector<uint32_t>(96 * 96, ColoursOf(Picture{})[0]));
}

TEST(QtPictureBox, ClippedAndStretchedBlocksMatchTheMemoryBox) {
    std::vector<uint8_t> pixels(10 * 6);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37);
    const IndexedBlock block{pixels, 10, 6, 10, &modPalettes::GamePalette};
    const std::pair<PixelRect, PixelRect> draws[] = {
        {{0, 0, 10, 6}, {-3, -2, 10, 6}},      // clipped at the top left
        {{4, 3, 1, 1}, {15, 15, 10, 6}},       // source partly outside the block: canvas kept
        {{0, 0, 10, 6}, {1, 1, 25, 13}},       // stretched up
        {{2, 1, 8, 5}, {12, 0, 3, 2}},         // stretched down
        {{0, 0, 10, 6}, {5, 5, 0, 4}},         // nothing
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
    std::vector<uint8_t> red(4, 0);
    const IndexedBlock block{red, 2, 2, 2, &modPalettes::GamePalette};
    box.DrawIndexed(block, {0, 0, 2, 2}, {0, 0, 2, 2}, false);
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
