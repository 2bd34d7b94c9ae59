// The memory picture box and the block mapping every picture box draws through: clipping,
// stretching by whole rows and columns, and no read outside a block.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "display/BlockMapping.h"
#include "display/MemoryPictureBox.h"

namespace {

// Entry i is the colour 0x0000ii, so that canvas colours read as indices.
Palette IndexPalette() {
    Palette palette{};
    for (std::size_t i = 0; i < 256; ++i) palette[i].Blue = static_cast<uint8_t>(i);
    return palette;
}

constexpr uint32_t kBack = 0xABCDEF;

}  // namespace

TEST(MemoryPictureBox, DrawsBlocksClippedOneToOneOrStretched) {
    const Palette palette = IndexPalette();
    // A 3 x 2 block stored with a stride of 4 (the fourth byte of each row is not part of it).
    const std::vector<uint8_t> pixels{1, 2, 3, 99, 4, 5, 6, 99};
    const IndexedBlock block{pixels, 3, 2, 4, &palette};
    const struct {
        PixelRect Source, Dest;
        bool Stretch;
        std::vector<uint32_t> expected;  // the 4 x 2 canvas
    } cases[] = {
        {{0, 0, 3, 2}, {2, 1, 3, 2}, false, {kBack, kBack, kBack, kBack, kBack, kBack, 1, 2}},
        // Canvas (-1 + i, j) takes block (1 + i, j); i = 2 lies beyond the block's width.
        {{1, 0, 1, 1}, {-1, 0, 3, 2}, false, {3, kBack, kBack, kBack, 6, kBack, kBack, kBack}},
        // Canvas x takes block x * 3 / 4; y takes row y * 1 / 2.
        {{0, 0, 3, 1}, {0, 0, 4, 2}, true, {1, 1, 2, 3, 1, 1, 2, 3}},
        {{0, 0, 3, 2}, {0, 0, 2, 1}, true, {1, 2, kBack, kBack, kBack, kBack, kBack, kBack}},
        // Sizes that are not positive draw nothing (no mirroring).
        {{2, 0, -3, 1}, {0, 0, 3, 1}, true, std::vector<uint32_t>(8, kBack)},
        {{0, 0, 3, 1}, {2, 0, -3, 1}, true, std::vector<uint32_t>(8, kBack)},
        {{0, 0, 0, 1}, {0, 0, 3, 1}, true, std::vector<uint32_t>(8, kBack)},
    };
    for (const auto& c : cases) {
        MemoryPictureBox box(4, 2, kBack);
        box.DrawIndexed(block, c.Source, c.Dest, c.Stretch);
        EXPECT_EQ(box.Canvas(), c.expected) << "to " << c.Dest.Left << "," << c.Dest.Top << " " << c.Dest.Width << "x"
                                            << c.Dest.Height << (c.Stretch ? " stretched" : "");
    }
    MemoryPictureBox none(4, 2, kBack);  // without a colour table indices mean nothing
    none.DrawIndexed({pixels, 3, 2, 4, nullptr}, {0, 0, 3, 2}, {0, 0, 3, 2}, false);
    EXPECT_EQ(none.Canvas(), std::vector<uint32_t>(8, kBack));
}

TEST(MemoryPictureBox, NeverReadsPastABlockThatClaimsMoreThanItHolds) {
    const Palette palette = IndexPalette();
    auto pixels = std::make_unique<uint8_t[]>(5);  // exact size, for AddressSanitizer
    for (int i = 0; i < 5; ++i) pixels[static_cast<std::size_t>(i)] = static_cast<uint8_t>(20 + i);
    MemoryPictureBox box(3, 3, kBack);
    box.DrawIndexed({{pixels.get(), 5}, 3, 3, 3, &palette}, {0, 0, 3, 3}, {0, 0, 3, 3}, false);
    EXPECT_EQ(box.Canvas(), (std::vector<uint32_t>{20, 21, 22, 23, 24, kBack, kBack, kBack, kBack}));

    MemoryPictureBox overlap(3, 3, kBack);  // a stride shorter than a row is no valid block
    overlap.DrawIndexed({{pixels.get(), 5}, 3, 1, 2, &palette}, {0, 0, 3, 1}, {0, 0, 3, 1}, false);
    EXPECT_EQ(overlap.Canvas(), std::vector<uint32_t>(9, kBack));
}

TEST(BlockMapping, WorkStaysWithinTheCanvasWhateverTheRectangles) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    int visits = 0;
    BlockMapping::ForEachMappedPixel(kMax, kMax, {0, 0, kMax, kMax}, {kMin, kMin, kMax, kMax}, true, 4, 4,
                                     [&](int32_t, int32_t, int32_t, int32_t) { ++visits; });
    EXPECT_EQ(visits, 0);  // the destination ends at -2, left of and above the canvas

    std::vector<std::pair<int32_t, int32_t>> pairs;  // (canvas x*100+y, source x*100+y)
    BlockMapping::ForEachMappedPixel(
        10, 10, {5, 5, 1, 1}, {-2, -1, kMax, kMax}, false, 3, 2,
        [&](int32_t cx, int32_t cy, int32_t sx, int32_t sy) { pairs.emplace_back(cx * 100 + cy, sx * 100 + sy); });
    EXPECT_EQ(pairs, (std::vector<std::pair<int32_t, int32_t>>{
                         {0, 706}, {100, 806}, {200, 906}, {1, 707}, {101, 807}, {201, 907}}));
}
