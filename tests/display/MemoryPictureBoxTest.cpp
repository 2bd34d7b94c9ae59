#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "display/BlockMapping.h"
#include "display/MemoryPictureBox.h"

namespace {

// A palette whose entry i is the colour 0x0000ii, so that canvas colours read as indices.
Palette IndexPalette() {
    Palette palette{};
    for (int i = 0; i < 256; ++i) {
        palette[static_cast<std::size_t>(i)].Blue = static_cast<uint8_t>(i);
    }
    return palette;
}

constexpr uint32_t kBack = 0xABCDEF;

}  // namespace

TEST(MemoryPictureBox, StartsInItsBackgroundAndCountsRefreshes) {
    MemoryPictureBox box(5, 3);
    EXPECT_EQ(box.InnerWidth(), 5.0);
    EXPECT_EQ(box.InnerHeight(), 3.0);
    EXPECT_EQ(box.Canvas(), std::vector<uint32_t>(15, MemoryPictureBox::kDefaultBackground));
    EXPECT_EQ(box.RefreshCount(), 0);
    box.Refresh();
    box.Refresh();
    EXPECT_EQ(box.RefreshCount(), 2);

    MemoryPictureBox empty(-3, 4);
    EXPECT_EQ(empty.InnerWidth(), 0.0);
    EXPECT_TRUE(empty.Canvas().empty());
}

TEST(MemoryPictureBox, DrawsIndexedBlocksThroughTheirColourTableClipped) {
    const Palette palette = IndexPalette();
    // A 3 x 2 block stored with a stride of 4 (the fourth byte of each row is not part of it).
    const std::vector<uint8_t> pixels{1, 2, 3, 99, 4, 5, 6, 99};
    const IndexedBlock block{pixels, 3, 2, 4, &palette};

    MemoryPictureBox box(4, 3, kBack);
    box.DrawIndexed(block, {0, 0, 3, 2}, {2, 2, 3, 2}, false);  // hangs over the right and bottom
    EXPECT_EQ(box.Canvas(), (std::vector<uint32_t>{kBack, kBack, kBack, kBack,  //
                                                   kBack, kBack, kBack, kBack,  //
                                                   kBack, kBack, 1, 2}));

    MemoryPictureBox left(4, 3, kBack);
    left.DrawIndexed(block, {1, 0, 1, 1}, {-1, 1, 3, 2}, false);  // source from column 1
    // Canvas (-1 + i, 1 + j) takes block (1 + i, j); column i = 2 lies beyond the block's width.
    EXPECT_EQ(left.Canvas(), (std::vector<uint32_t>{kBack, kBack, kBack, kBack,  //
                                                    3, kBack, kBack, kBack,      //
                                                    6, kBack, kBack, kBack}));

    // No colour table: nothing can be drawn.
    MemoryPictureBox none(4, 3, kBack);
    none.DrawIndexed({pixels, 3, 2, 4, nullptr}, {0, 0, 3, 2}, {0, 0, 3, 2}, false);
    EXPECT_EQ(none.Canvas(), std::vector<uint32_t>(12, kBack));
}

TEST(MemoryPictureBox, StretchRepeatsAndDropsByIntegerSteps) {
    const Palette palette = IndexPalette();
    const std::vector<uint8_t> pixels{10, 11, 12};
    const IndexedBlock row{pixels, 3, 1, 3, &palette};

    MemoryPictureBox wide(5, 1, kBack);
    wide.DrawIndexed(row, {0, 0, 3, 1}, {0, 0, 5, 1}, true);  // dest x takes source x * 3 / 5
    EXPECT_EQ(wide.Canvas(), (std::vector<uint32_t>{10, 10, 11, 11, 12}));

    MemoryPictureBox narrow(2, 1, kBack);
    narrow.DrawIndexed(row, {0, 0, 3, 1}, {0, 0, 2, 1}, true);  // x * 3 / 2: 0 and 1
    EXPECT_EQ(narrow.Canvas(), (std::vector<uint32_t>{10, 11}));

    // Negative or zero sizes draw nothing (no mirroring).
    MemoryPictureBox mirrored(3, 1, kBack);
    mirrored.DrawIndexed(row, {2, 0, -3, 1}, {0, 0, 3, 1}, true);
    mirrored.DrawIndexed(row, {0, 0, 3, 1}, {2, 0, -3, 1}, true);
    mirrored.DrawIndexed(row, {0, 0, 0, 1}, {0, 0, 3, 1}, true);
    EXPECT_EQ(mirrored.Canvas(), std::vector<uint32_t>(3, kBack));
}

TEST(MemoryPictureBox, NeverReadsPastABlockThatClaimsMoreThanItHolds) {
    const Palette palette = IndexPalette();
    auto pixels = std::make_unique<uint8_t[]>(5);  // exact size, for AddressSanitizer
    for (int i = 0; i < 5; ++i) {
        pixels[static_cast<std::size_t>(i)] = static_cast<uint8_t>(20 + i);
    }
    const IndexedBlock claims3x3{{pixels.get(), 5}, 3, 3, 3, &palette};
    MemoryPictureBox box(3, 3, kBack);
    box.DrawIndexed(claims3x3, {0, 0, 3, 3}, {0, 0, 3, 3}, false);
    EXPECT_EQ(box.Canvas(), (std::vector<uint32_t>{20, 21, 22, 23, 24, kBack, kBack, kBack, kBack}));

    // A stride shorter than a row is no valid block.
    MemoryPictureBox overlap(3, 3, kBack);
    overlap.DrawIndexed({{pixels.get(), 5}, 3, 1, 2, &palette}, {0, 0, 3, 1}, {0, 0, 3, 1}, false);
    EXPECT_EQ(overlap.Canvas(), std::vector<uint32_t>(9, kBack));
}

TEST(MemoryPictureBox, ReadColoursGivesBlackOutsideTheCanvas) {
    MemoryPictureBox box(2, 2, kBack);
    const Palette palette = IndexPalette();
    const std::vector<uint8_t> one{7};
    box.DrawIndexed({one, 1, 1, 1, &palette}, {0, 0, 1, 1}, {1, 1, 1, 1}, false);
    EXPECT_EQ(box.ReadColours({0, 0, 3, 2}), (std::vector<uint32_t>{kBack, kBack, 0, kBack, 7, 0}));
    EXPECT_EQ(box.ReadColours({-1, -1, 1, 1}), (std::vector<uint32_t>{0}));
    EXPECT_TRUE(box.ReadColours({0, 0, 0, 5}).empty());
    EXPECT_EQ(box.ColourAt(1, 1), 7u);
    EXPECT_EQ(box.ColourAt(2, 0), 0u);
}

TEST(BlockMapping, WorkStaysWithinTheCanvasWhateverTheRectangles) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    int visits = 0;
    std::vector<std::pair<int32_t, int32_t>> pairs;
    BlockMapping::ForEachMappedPixel(kMax, kMax, {0, 0, kMax, kMax}, {kMin, kMin, kMax, kMax}, true, 4, 4,
                                     [&](int32_t, int32_t, int32_t, int32_t) { ++visits; });
    EXPECT_EQ(visits, 0);  // the destination ends at -2, left of and above the canvas

    BlockMapping::ForEachMappedPixel(10, 10, {5, 5, 1, 1}, {-2, -1, kMax, kMax}, false, 3, 2,
                                     [&](int32_t cx, int32_t cy, int32_t sx, int32_t sy) {
                                         pairs.emplace_back(cx * 100 + cy, sx * 100 + sy);
                                     });
    const std::vector<std::pair<int32_t, int32_t>> expected{{0, 706}, {100, 806}, {200, 906},
                                                            {1, 707}, {101, 807}, {201, 907}};
    EXPECT_EQ(pairs, expected);
}

TEST(BlockMapping, ColourOfPacksRedGreenBlue) {
    EXPECT_EQ(BlockMapping::ColourOf({0x33, 0x22, 0x11, 0x99}), 0x112233u);
}
