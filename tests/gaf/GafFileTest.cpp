#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gaf/GafFile.h"

namespace {

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, std::size_t first, std::size_t count) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(first),
            bytes.begin() + static_cast<std::ptrdiff_t>(first + count)};
}

std::array<gaf::Frame, 3> DistinctFrames() {
    std::array<gaf::Frame, 3> frames{};
    for (std::size_t f = 0; f < frames.size(); ++f)
        for (std::size_t i = 0; i < frames[f].size(); ++i) frames[f][i] = static_cast<uint8_t>(i * 7 + f * 31);
    return frames;
}

TEST(ByteWriter, WritesLittleEndianValuesInOrder) {
    gaf::ByteWriter w;
    w.U8(0xAB);
    w.U16(0x1234);
    w.I16(-2);
    w.U32(0xDEADBEEF);
    const std::array<uint8_t, 2> tail{7, 8};
    w.Bytes(tail);
    EXPECT_EQ(w.Data(), (std::vector<uint8_t>{0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE, 7, 8}));
    EXPECT_EQ(w.Position(), 11u);
}

TEST(WriteGafFrame, HeaderPointsAtThePixelsRightBehindIt) {
    gaf::ByteWriter w;
    for (int i = 0; i < 1000; ++i) w.U8(0xEE);  // the frame starts at 1000 = 0x3E8
    const std::vector<uint8_t> pixels{1, 2, 3, 4, 5, 6};
    gaf::WriteGafFrame(w, pixels, 3, 2);
    const auto& out = w.Data();
    ASSERT_EQ(out.size(), 1000u + 24u + 6u);
    EXPECT_EQ(Slice(out, 1000, 24), (std::vector<uint8_t>{3, 0, 2, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0,
                                                         0x00, 0x04, 0, 0,  // 1000 + 24 = 1024
                                                         0, 0, 0, 0}));
    EXPECT_EQ(Slice(out, 1024, 6), pixels);
}

TEST(BuildGadgetFile, FixedLayoutForArmcamp) {
    const auto frames = DistinctFrames();
    const std::vector<uint8_t> file = gaf::BuildGadgetFile("ARMCAMP", frames);
    ASSERT_EQ(file.size(), gaf::kGadgetFileSize);

    EXPECT_EQ(Slice(file, 0, 16), (std::vector<uint8_t>{0x00, 0x01, 0x01, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0,
                                                       0x10, 0, 0, 0}));
    std::vector<uint8_t> entry{0x03, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0x41, 0x52, 0x4d, 0x43, 0x41, 0x4d, 0x50};
    entry.resize(40, 0);
    EXPECT_EQ(Slice(file, 16, 40), entry);
    EXPECT_EQ(Slice(file, 56, 24), (std::vector<uint8_t>{0x50, 0, 0, 0, 0, 0, 0, 0, 0x68, 0x10, 0, 0, 0, 0, 0, 0,
                                                        0x80, 0x20, 0, 0, 0, 0, 0, 0}));

    const std::array<std::size_t, 3> headers{80, 4200, 8320};
    for (std::size_t f = 0; f < 3; ++f) {
        const uint32_t pixelsAt = static_cast<uint32_t>(headers[f] + 24);
        EXPECT_EQ(Slice(file, headers[f], 24),
                  (std::vector<uint8_t>{0x40, 0, 0x40, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0,
                                        static_cast<uint8_t>(pixelsAt & 0xFF), static_cast<uint8_t>(pixelsAt >> 8), 0,
                                        0, 0, 0, 0, 0}))
            << "frame " << f;
        EXPECT_EQ(Slice(file, pixelsAt, 4096), std::vector<uint8_t>(frames[f].begin(), frames[f].end()))
            << "frame " << f;
    }
}

TEST(BuildGadgetFile, NameIsCutTo31BytesAndByte55StaysZero) {
    const auto frames = DistinctFrames();
    const std::string name31(31, 'A');
    const auto file31 = gaf::BuildGadgetFile(name31, frames);
    EXPECT_EQ(Slice(file31, 24, 31), std::vector<uint8_t>(31, 'A'));
    EXPECT_EQ(file31[55], 0);

    const std::string name40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789WXYZ";
    const auto file40 = gaf::BuildGadgetFile(name40, frames);
    ASSERT_EQ(file40.size(), gaf::kGadgetFileSize);
    EXPECT_EQ(Slice(file40, 24, 31), std::vector<uint8_t>(name40.begin(), name40.begin() + 31));
    EXPECT_EQ(file40[55], 0);
    EXPECT_EQ(file40[56], 0x50);  // the frame table is not pushed back by the long name

    const auto fileEmpty = gaf::BuildGadgetFile("", frames);
    EXPECT_EQ(Slice(fileEmpty, 24, 32), std::vector<uint8_t>(32, 0));
}

TEST(BuildGadgetFile, HighBytesOfTheNameAreStoredUnchanged) {
    const auto file = gaf::BuildGadgetFile(std::string("\xC9\x80\xFF", 3), DistinctFrames());
    EXPECT_EQ(Slice(file, 24, 4), (std::vector<uint8_t>{0xC9, 0x80, 0xFF, 0x00}));
}

}  // namespace
