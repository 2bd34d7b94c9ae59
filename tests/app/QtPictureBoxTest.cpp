// The Qt picture box draws blocks exactly as the memory picture box does, so that DisplayPicture
// shows the same on both.

#include "WindowTestSupport.h"
#include "display/MemoryPictureBox.h"

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

// Blocks clipped at the canvas, partly outside their own source, and stretched both ways: the
// two boxes agree pixel for pixel after each draw, also where a draw leaves pixels alone.
TEST(QtPictureBox, ClippedAndStretchedBlocksMatchTheMemoryBox) {
    std::vector<uint8_t> pixels(10 * 6);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37);
    const IndexedBlock block{pixels, 10, 6, 10, &modPalettes::GamePalette};
    const std::pair<PixelRect, PixelRect> draws[] = {
        {{0, 0, 10, 6}, {-3, -2, 10, 6}},  // clipped at the top left
        {{4, 3, 1, 1}, {15, 15, 10, 6}},   // source partly outside the block: canvas kept there
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

}  // namespace
}  // namespace apptest
