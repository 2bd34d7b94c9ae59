#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "gaf/GafFile.h"

namespace {

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, std::size_t first, std::size_t count) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(first),
            bytes.begin() + static_cast<std::ptrdiff_t>(first + count)};
}

// Three frames that differ from each other everywhere, so a swapped or shifted frame shows.
std::array<gaf::Frame, 3> DistinctFrames() {
    std::array<gaf::Frame, 3> frames{};
    for (std::size_t f = 0; f < frames.size(); ++f)
        for (std::size_t i = 0; i < frames[f].size(); ++i) frames[f][i] = static_cast<uint8_t>(i * 7 + f * 31);
    return frames;
}

// Every offset and header byte of the file, and each frame's pixels right behind its header.
TEST(BuildGadgetFile, ByteExactLayoutForArmcamp) {
    const auto frames = DistinctFrames();
    const std::vector<uint8_t> file = gaf::BuildGadgetFile("ARMCAMP", frames);
    ASSERT_EQ(file.size(), 12440u);

    EXPECT_EQ(Slice(file, 0, 16), (std::vector<uint8_t>{0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}));
    std::vector<uint8_t> entry{3, 0, 1, 0, 0, 0, 0, 0, 0x41, 0x52, 0x4d, 0x43, 0x41, 0x4d, 0x50};
    entry.resize(40, 0);
    EXPECT_EQ(Slice(file, 16, 40), entry);
    EXPECT_EQ(Slice(file, 56, 24), (std::vector<uint8_t>{0x50, 0, 0, 0, 0, 0, 0, 0, 0x68, 0x10, 0, 0, 0, 0, 0, 0,
                                                        0x80, 0x20, 0, 0, 0, 0, 0, 0}));
    const std::array<std::size_t, 3> headers{80, 4200, 8320};
    for (std::size_t f = 0; f < 3; ++f) {
        const std::size_t pixelsAt = headers[f] + 24;  // 104, 4224, 8344
        EXPECT_EQ(Slice(file, headers[f], 24),
                  (std::vector<uint8_t>{0x40, 0, 0x40, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0,
                                        static_cast<uint8_t>(pixelsAt & 0xFF), static_cast<uint8_t>(pixelsAt >> 8), 0,
                                        0, 0, 0, 0, 0}))
            << "frame " << f;
        EXPECT_EQ(Slice(file, pixelsAt, 4096), std::vector<uint8_t>(frames[f].begin(), frames[f].end()))
            << "frame " << f;
    }
}

}  // namespace
