#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "display/MemoryPictureBox.h"
#include "display/classFastWin.h"
#include "imagefiles/modPalettes.h"

namespace {

// Records what the surface asks of a picture box.
class RecordingBox : public PictureBoxPort {
public:
    struct Draw {
        std::vector<uint8_t> Pixels;
        IndexedBlock Block;
        PixelRect Source;
        PixelRect Dest;
        bool Stretch = false;
    };
    double InnerWidth() const override { return 200; }
    double InnerHeight() const override { return 200; }
    void DrawIndexed(const IndexedBlock& block, PixelRect Source, PixelRect Dest, bool Stretch) override {
        draws.push_back({{block.Pixels.begin(), block.Pixels.end()}, block, Source, Dest, Stretch});
    }
    std::vector<uint32_t> ReadColours(PixelRect Area) const override {
        return std::vector<uint32_t>(static_cast<std::size_t>(Area.Width) * static_cast<std::size_t>(Area.Height), 0);
    }
    void Refresh() override {}

    std::vector<Draw> draws;
};

uint32_t Rgb(uint8_t index) {
    const PaletteEntry& e = modPalettes::GamePalette[index];
    return (static_cast<uint32_t>(e.Red) << 16) | (static_cast<uint32_t>(e.Green) << 8) | e.Blue;
}

// Indices whose colour stands at no lower index of the game palette, so that the nearest-colour
// search gives them back unchanged.
std::vector<uint8_t> DistinctColourIndices() {
    std::vector<uint8_t> indices;
    for (int i = 0; i < 256; ++i) {
        if (modPalettes::NearestIndexPlain(modPalettes::GamePalette, modPalettes::GamePalette[i].Red,
                                           modPalettes::GamePalette[i].Green, modPalettes::GamePalette[i].Blue) == i) {
            indices.push_back(static_cast<uint8_t>(i));
        }
    }
    return indices;
}

uint32_t U32At(const uint8_t* bytes) {
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

TEST(classFastWinInitialize, MakesATopDownSurfaceOfTheGivenSize) {
    MemoryPictureBox box(100, 100);
    classFastWin surface;
    EXPECT_EQ(surface.hWindow(), nullptr);
    EXPECT_EQ(surface.addrBits(), nullptr);
    EXPECT_EQ(surface.hBitmap(), 0);

    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    EXPECT_EQ(surface.BmpWidth(), 96);
    EXPECT_EQ(surface.BmpHeight(), 96);
    EXPECT_EQ(surface.hWindow(), &box);
    EXPECT_NE(surface.hBitmap(), 0);
    ASSERT_NE(surface.addrBits(), nullptr);
    ASSERT_EQ(surface.Pixels().size(), 9216u);

    // The first 96 bytes are the top row, the next 96 the second.
    std::vector<uint8_t> rows(2 * 96);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<uint8_t>(i < 96 ? 1 + i : 200);
    }
    ASSERT_TRUE(surface.TileDraw(0, 0, 96, 2, rows));
    EXPECT_EQ(std::memcmp(surface.addrBits(), rows.data(), rows.size()), 0);
    EXPECT_EQ(surface.addrBits()[2 * 96], 0);

    // A second Initialize gives new pixel memory with a new id.
    const int32_t firstId = surface.hBitmap();
    ASSERT_TRUE(surface.Initialize(64, 64, &box));
    EXPECT_NE(surface.hBitmap(), firstId);
    EXPECT_EQ(surface.Pixels().size(), 4096u);
}

TEST(classFastWinInitialize, BitmapDescriptionHoldsTheHeaderAndTheGameColours) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    const auto bytes = surface.Description().Bytes();
    ASSERT_EQ(bytes.size(), 1064u);
    const std::array<uint8_t, 40> header{0x28, 0, 0, 0,    0x60, 0, 0, 0, 0xA0, 0xFF, 0xFF, 0xFF, 1, 0,
                                         8,    0, 0, 0,    0,    0, 0, 0, 0,    0,    0,    0,    0, 0,
                                         0,    0, 0, 0,    0,    1, 0, 0, 0,    1,    0,    0};
    EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
    // The colour table is the game palette, byte for byte (blue, green, red, 0).
    EXPECT_EQ(std::memcmp(bytes.data() + 40, modPalettes::GamePalette.data(), 1024), 0);
    const uint8_t red[4] = {0x00, 0x00, 0xFF, 0x00};
    EXPECT_EQ(std::memcmp(bytes.data() + 40 + 249 * 4, red, 4), 0);
    const uint8_t entry9[4] = {0xFC, 0x54, 0x54, 0x00};
    EXPECT_EQ(std::memcmp(bytes.data() + 40 + 9 * 4, entry9, 4), 0);

    const classFastWin::LogicalPalette& logical = surface.GamePaletteSelection();
    EXPECT_EQ(logical.Version, 0x300);
    EXPECT_EQ(logical.NumEntries, 256);
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& game = modPalettes::GamePalette[static_cast<std::size_t>(i)];
        const auto& entry = logical.Entries[static_cast<std::size_t>(i)];
        EXPECT_EQ(entry.Red, game.Red) << i;
        EXPECT_EQ(entry.Green, game.Green) << i;
        EXPECT_EQ(entry.Blue, game.Blue) << i;
        EXPECT_EQ(entry.Flags, 4) << i;
    }
    EXPECT_EQ(logical.Entries[252].Blue, 0xFF);
    EXPECT_EQ(logical.Entries[252].Red, 0);
}

TEST(classFastWinInitialize, NegativeHeightGivesTheSameTopDownRowsAndIsKept) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(64, -32, &box));
    EXPECT_EQ(surface.BmpHeight(), -32);
    EXPECT_EQ(surface.Pixels().size(), 64u * 32u);
    EXPECT_EQ(static_cast<int32_t>(U32At(surface.Description().Bytes().data() + 8)), -32);

    // Drawing reaches the last of the 32 rows, and row 0 is at the start of the memory.
    const std::vector<uint8_t> pixel{7};
    ASSERT_TRUE(surface.TileDraw(63, 31, 1, 1, pixel));
    ASSERT_TRUE(surface.TileDraw(0, 0, 1, 1, pixel));
    EXPECT_EQ(surface.Pixels()[64 * 32 - 1], 7);
    EXPECT_EQ(surface.Pixels()[0], 7);

    classFastWin positive;
    ASSERT_TRUE(positive.Initialize(64, 32, &box));
    EXPECT_EQ(static_cast<int32_t>(U32At(positive.Description().Bytes().data() + 8)), -32);
}

TEST(classFastWinInitialize, RejectsSizesWithoutMakingMemoryAndStaysSafe) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const struct {
        int32_t w, h;
    } sizes[] = {{0, 0}, {0, 96}, {96, 0}, {-4, 4}, {16385, 1}, {1, 16385}, {1, kMin}, {kMax, kMax}};
    for (const auto& size : sizes) {
        RecordingBox box;
        classFastWin surface;
        EXPECT_FALSE(surface.Initialize(size.w, size.h, &box)) << size.w << "x" << size.h;
        EXPECT_EQ(surface.addrBits(), nullptr);
        EXPECT_EQ(surface.hBitmap(), 0);
        EXPECT_EQ(surface.BmpWidth(), size.w);
        EXPECT_EQ(surface.BmpHeight(), size.h);
        EXPECT_EQ(surface.hWindow(), &box);

        // Nothing below may touch memory the surface does not have.
        std::vector<uint8_t> buffer(16, 3);
        EXPECT_TRUE(surface.TileDraw(0, 0, 4, 4, buffer));
        surface.LineDraw(0, 0, 100, 100, 1);
        surface.PixelDraw(0, 0, 1);
        surface.PixelDraw(5, 5, 1);
        EXPECT_TRUE(surface.ClearTileDraw(0, 0, 4, 4, buffer, 3, 1, 1));
        EXPECT_TRUE(surface.MaskTileDraw(0, 0, 4, 4, buffer, 3, 1));
        EXPECT_TRUE(surface.GrabRegion(0, 0, 4, 4, buffer));
        EXPECT_EQ(buffer, std::vector<uint8_t>(16, 3));
        surface.Show(box, 0, 0, 4, 4, 0, 0);
        surface.Show(box, 0, 0, 4, 4, 0, 0, 8, 8, true);
        surface.Blt(box, 0, 0, 4, 4, 0, 0);
        EXPECT_TRUE(box.draws.empty());
    }
    classFastWin largest;
    RecordingBox box;
    EXPECT_TRUE(largest.Initialize(16384, 1, &box));
}

TEST(classFastWinShow, WithoutStretchCopiesTheWholeDestinationBlock) {
    RecordingBox box;
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    surface.Show(box, 3, 4, 96, 96, 0, 0);  // SrcWidth and SrcHeight at their defaults of 1
    ASSERT_EQ(box.draws.size(), 1u);
    const RecordingBox::Draw& draw = box.draws[0];
    EXPECT_EQ(draw.Source.Left, 0);
    EXPECT_EQ(draw.Source.Top, 0);
    EXPECT_EQ(draw.Source.Width, 96);
    EXPECT_EQ(draw.Source.Height, 96);
    EXPECT_EQ(draw.Dest.Left, 3);
    EXPECT_EQ(draw.Dest.Top, 4);
    EXPECT_EQ(draw.Dest.Width, 96);
    EXPECT_EQ(draw.Dest.Height, 96);
    EXPECT_FALSE(draw.Stretch);
    EXPECT_EQ(draw.Block.Width, 96);
    EXPECT_EQ(draw.Block.Height, 96);
    EXPECT_EQ(draw.Block.Stride, 96);
    EXPECT_EQ(draw.Pixels.size(), 9216u);
    ASSERT_NE(draw.Block.Colours, nullptr);
    EXPECT_EQ(*draw.Block.Colours, modPalettes::GamePalette);

    // On a real canvas: every pixel of the 96 x 96 block arrives, not just one.
    MemoryPictureBox canvas(100, 100, 0x123456);
    std::vector<uint8_t> picture(9216, 249);
    surface.TileDraw(0, 0, 96, 96, picture);
    surface.Show(canvas, 0, 0, 96, 96, 0, 0);
    EXPECT_EQ(canvas.ColourAt(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.ColourAt(95, 95), 0xFF0000u);
    EXPECT_EQ(canvas.ColourAt(96, 95), 0x123456u);
    EXPECT_EQ(canvas.ColourAt(95, 96), 0x123456u);
}

TEST(classFastWinShow, FromAnOffsetAndStretched) {
    MemoryPictureBox box(8, 8, 0x123456);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(4, 4, &box));
    // Indices 0..15 are 16 different colours of the game palette.
    std::vector<uint8_t> tile(16);
    for (std::size_t i = 0; i < tile.size(); ++i) {
        tile[i] = static_cast<uint8_t>(16 + i);
    }
    surface.TileDraw(0, 0, 4, 4, tile);

    // 1:1 from (1, 2): a 2 x 2 block of the surface at (5, 6).
    surface.Show(box, 5, 6, 2, 2, 1, 2);
    EXPECT_EQ(box.ColourAt(5, 6), Rgb(16 + 9));
    EXPECT_EQ(box.ColourAt(6, 6), Rgb(16 + 10));
    EXPECT_EQ(box.ColourAt(5, 7), Rgb(16 + 13));
    EXPECT_EQ(box.ColourAt(6, 7), Rgb(16 + 14));
    EXPECT_EQ(box.ColourAt(4, 6), 0x123456u);
    EXPECT_EQ(box.ColourAt(7, 7), 0x123456u);

    // Stretched to twice the size: each surface pixel fills a 2 x 2 square.
    surface.Show(box, 0, 0, 8, 8, 0, 0, 4, 4, true);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(box.ColourAt(x, y), Rgb(static_cast<uint8_t>(16 + (y / 2) * 4 + x / 2))) << x << "," << y;
        }
    }

    // Shrunk to half: every other row and column is dropped, never blended.
    MemoryPictureBox small(2, 2, 0x123456);
    surface.Show(small, 0, 0, 2, 2, 0, 0, 4, 4, true);
    EXPECT_EQ(small.ColourAt(0, 0), Rgb(16));
    EXPECT_EQ(small.ColourAt(1, 0), Rgb(18));
    EXPECT_EQ(small.ColourAt(0, 1), Rgb(24));
    EXPECT_EQ(small.ColourAt(1, 1), Rgb(26));
}

TEST(classFastWinShow, BeforeInitializeDrawsNothing) {
    RecordingBox box;
    const classFastWin surface;
    surface.Show(box, 0, 0, 96, 96, 0, 0);
    surface.Show(box, 0, 0, 96, 96, 0, 0, 96, 96, true);
    EXPECT_TRUE(box.draws.empty());
}

TEST(classFastWinTileDraw, TilePositionOutsideTheBufferFailsBeforeDrawing) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(96, 96, &box));
    const std::vector<uint8_t> picture(9216, 7);
    EXPECT_FALSE(surface.TileDraw(0, 0, 96, 96, picture, 9216));
    EXPECT_FALSE(surface.TileDraw(0, 0, 96, 96, picture, -1));
    EXPECT_FALSE(surface.TileDraw(0, 0, 1, 1, {}, 0));
    EXPECT_EQ(std::vector<uint8_t>(surface.Pixels().begin(), surface.Pixels().end()), std::vector<uint8_t>(9216, 0));

    // The last element exists: one pixel is drawn, and the read stops at the buffer's end.
    EXPECT_TRUE(surface.TileDraw(0, 0, 96, 96, picture, 9215));
    EXPECT_EQ(surface.Pixels()[0], 7);
    EXPECT_EQ(surface.Pixels()[1], 0);
}

TEST(classFastWinTileDraw, TilePositionSelectsATileInALargerBuffer) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(4, 4, &box));
    const std::vector<uint8_t> twoTiles{1, 2, 3, 4, 5, 6, 7, 8};  // two 2 x 2 tiles
    ASSERT_TRUE(surface.TileDraw(1, 1, 2, 2, twoTiles, 4));
    const std::vector<uint8_t> expected{0, 0, 0, 0, 0, 5, 6, 0, 0, 7, 8, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(surface.Pixels().begin(), surface.Pixels().end()), expected);
}

TEST(classFastWinDrawing, PixelDrawSkipsCoordinatesOffTheSurface) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(8, 4, &box));
    surface.PixelDraw(3, 2, 9);
    surface.PixelDraw(7, 3, 9);
    // Each of these has an offset inside the memory or overflowing 32 bits, but no pixel.
    surface.PixelDraw(8, 0, 1);   // would be (0, 1)
    surface.PixelDraw(-1, 1, 1);  // would be (7, 0)
    surface.PixelDraw(0, 4, 1);
    surface.PixelDraw(0, -1, 1);
    surface.PixelDraw(std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(), 1);
    surface.PixelDraw(std::numeric_limits<int32_t>::min(), 0, 1);
    surface.PixelDraw(1 << 30, 1 << 29, 1);  // y * 8 + x leaves the 32-bit range
    std::vector<uint8_t> expected(32, 0);
    expected[2 * 8 + 3] = 9;
    expected[3 * 8 + 7] = 9;
    EXPECT_EQ(std::vector<uint8_t>(surface.Pixels().begin(), surface.Pixels().end()), expected);
}

TEST(classFastWinDrawing, OtherOperationsReachTheTileFunctions) {
    MemoryPictureBox box(10, 10);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(4, 4, &box));
    surface.LineDraw(0, 3, 3, 0, 5);
    const std::vector<uint8_t> tile{1, 2, 2, 1};
    ASSERT_TRUE(surface.ClearTileDraw(0, 0, 2, 2, tile, 2, 9, 0));  // 2 transparent
    ASSERT_TRUE(surface.MaskTileDraw(2, 2, 2, 2, tile, 1, 8));       // 1 becomes 8
    const std::vector<uint8_t> expected{1, 0, 0, 5, 0, 1, 5, 0, 0, 5, 8, 2, 5, 0, 2, 8};
    EXPECT_EQ(std::vector<uint8_t>(surface.Pixels().begin(), surface.Pixels().end()), expected);

    std::vector<uint8_t> region(4, 0xAA);
    ASSERT_TRUE(surface.GrabRegion(3, 3, 2, 2, region));
    EXPECT_EQ(region, (std::vector<uint8_t>{8, 0xAA, 0xAA, 0xAA}));

    EXPECT_FALSE(surface.ClearTileDraw(0, 0, 2, 2, {}, 2, 9, 0));
    EXPECT_FALSE(surface.MaskTileDraw(0, 0, 2, 2, {}, 1, 8));
    std::vector<uint8_t> none;
    EXPECT_FALSE(surface.GrabRegion(0, 0, 2, 2, none));
}

TEST(classFastWinBlt, CapturesTheBoxBackAsGamePaletteIndices) {
    const std::vector<uint8_t> distinct = DistinctColourIndices();
    ASSERT_GE(distinct.size(), 200u);
    std::vector<uint8_t> picture(16 * 16);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = distinct[(i * 7) % distinct.size()];
    }
    MemoryPictureBox box(20, 20);
    classFastWin shown;
    ASSERT_TRUE(shown.Initialize(16, 16, &box));
    shown.TileDraw(0, 0, 16, 16, picture);
    shown.Show(box, 2, 3, 16, 16, 0, 0);

    classFastWin captured;
    ASSERT_TRUE(captured.Initialize(16, 16, &box));
    captured.Blt(box, 0, 0, 16, 16, 2, 3);
    EXPECT_EQ(std::vector<uint8_t>(captured.Pixels().begin(), captured.Pixels().end()), picture);

    // A colour the palette lacks comes back as its nearest game colour; outside the box reads
    // black.
    MemoryPictureBox grey(4, 4, 0xC0C0C0);
    classFastWin surface;
    ASSERT_TRUE(surface.Initialize(4, 4, &grey));
    surface.Blt(grey, -1, -1, 4, 4, 2, 2);  // clipped: only 3 x 3 lands, from box (3, 3) on
    const std::vector<uint8_t> expected{84, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(surface.Pixels().begin(), surface.Pixels().end()), expected);
}

TEST(classFastWinBlt, StretchedCaptureDropsAndRepeatsPixels) {
    MemoryPictureBox box(8, 8);
    classFastWin shown;
    ASSERT_TRUE(shown.Initialize(8, 8, &box));
    std::vector<uint8_t> picture(64);
    for (std::size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<uint8_t>(16 + i);  // 16..79 are distinct game colours
    }
    shown.TileDraw(0, 0, 8, 8, picture);
    shown.Show(box, 0, 0, 8, 8, 0, 0);

    classFastWin half;
    ASSERT_TRUE(half.Initialize(4, 4, &box));
    half.Blt(box, 0, 0, 4, 4, 0, 0, 8, 8, true);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(half.Pixels()[static_cast<std::size_t>(y * 4 + x)], 16 + (2 * y) * 8 + 2 * x) << x << "," << y;
        }
    }

    // A strong reduction from a huge source rectangle stays cheap and reads black outside.
    classFastWin far;
    ASSERT_TRUE(far.Initialize(2, 1, &box));
    far.Blt(box, 0, 0, 2, 1, 0, 0, std::numeric_limits<int32_t>::max(), 1, true);
    EXPECT_EQ(far.Pixels()[0], 16);
    EXPECT_EQ(far.Pixels()[1], 0);

    classFastWin twice;
    ASSERT_TRUE(twice.Initialize(4, 4, &box));
    twice.Blt(box, 0, 0, 4, 4, 6, 6, 2, 2, true);
    EXPECT_EQ(twice.Pixels()[0], 16 + 6 * 8 + 6);
    EXPECT_EQ(twice.Pixels()[1], 16 + 6 * 8 + 6);
    EXPECT_EQ(twice.Pixels()[2], 16 + 6 * 8 + 7);
    EXPECT_EQ(twice.Pixels()[15], 16 + 7 * 8 + 7);
}
