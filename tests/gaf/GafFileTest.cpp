#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "gaf/GafFile.h"

namespace {

// Every offset and header byte of the file, and each frame's pixels right behind its header;
// the frames differ everywhere, so a swapped or shifted frame shows.
TEST(BuildGadgetFile, ByteExactLayoutForArmcamp) {
    std::array<gaf::Frame, 3> frames{};
    for (std::size_t f = 0; f < 3; ++f)
        for (std::size_t i = 0; i < frames[f].size(); ++i) frames[f][i] = static_cast<uint8_t>(i * 7 + f * 31);
    const std::vector<uint8_t> file = gaf::BuildGadgetFile("ARMCAMP", frames);
    ASSERT_EQ(file.size(), 12440u);
    const auto Slice = [&file](std::size_t first, std::size_t count) {
        return std::vector<uint8_t>(file.begin() + std::ptrdiff_t(first), file.begin() + std::ptrdiff_t(first + count));
    };
    EXPECT_EQ(Slice(0, 16), (std::vector<uint8_t>{0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}));
    std::vector<uint8_t> entry{3, 0, 1, 0, 0, 0, 0, 0, 'A', 'R', 'M', 'C', 'A', 'M', 'P'};
    entry.resize(40, 0);
    EXPECT_EQ(Slice(16, 40), entry);
    EXPECT_EQ(Slice(56, 24), (std::vector<uint8_t>{0x50, 0, 0, 0, 0,    0,    0, 0, 0x68, 0x10, 0, 0,
                                                   0,    0, 0, 0, 0x80, 0x20, 0, 0, 0,    0,    0, 0}));
    for (std::size_t f = 0; f < 3; ++f) {
        const std::size_t header = 80 + f * 4120, pixels = header + 24;  // pixels at 104, 4224, 8344
        const std::vector<uint8_t> frameHeader{
            0x40, 0, 0x40, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, uint8_t(pixels & 0xFF), uint8_t(pixels >> 8),
            0,    0, 0,    0, 0, 0};
        EXPECT_EQ(Slice(header, 24), frameHeader) << "frame " << f;
        EXPECT_EQ(Slice(pixels, 4096), std::vector<uint8_t>(frames[f].begin(), frames[f].end())) << "frame " << f;
    }
}

}  // namespace
