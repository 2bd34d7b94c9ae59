// DecodeBmp and LoadBMPFile: every accepted kind decodes to top-down indices, anything else is
// refused, and a refusal leaves the module state alone.

#include <gtest/gtest.h>
#include <climits>
#include <fstream>
#include "imagefiles/modBmp.h"
#include "support/BmpBuilder.h"
#include "support/Refusals.h"
#include "support/TestFiles.h"

using namespace bmpbuild;
using modBmp::DecodeBmp;
using testsupport::Said;
using enum imagefiles::FailureKind;

TEST(DecodeBmp, ReadsEveryAcceptedKindOfFile) {
    const struct {
        int width, height, bits;
        uint32_t compression, headerSize;
        bool topDown;
    } kinds[] = {{97, 3, 8, 0, 40, true}, {13, 3, 1, 0, 124, false}, {5, 4, 4, 0, 40, false},
                 {6, 3, 8, 0, 12, false}, {96, 96, 8, 1, 40, false}, {11, 6, 4, 2, 124, false}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(testing::Message() << "kind " << &k - kinds);
        const BmpLayout layout = PictureLayout(k.width, k.height, k.bits, k.compression, k.headerSize, k.topDown);
        const auto decoded = DecodeBmp(Build(layout));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(std::tuple(decoded->Header.Width, decoded->Header.Height, decoded->Header.Size),
                  std::tuple(k.width, k.height, k.width * k.height));
        EXPECT_EQ(decoded->Pixels, PatternPixels(k.width, k.height, 1 << k.bits));
        for (std::size_t i = 0; i < 256; ++i)
            ASSERT_EQ(decoded->Colours[i], i < layout.Colours.size() ? layout.Colours[i] : PaletteEntry{}) << i;
    }
}

// Packed by hand, so that the builder and the reader cannot share a mistake.
TEST(DecodeBmp, HandPackedPixelsAndRunLengthPackets) {
    const auto with = [](int w, int h, int bits, std::vector<uint8_t> data) {
        BmpLayout s = PictureLayout(w, h, bits, bits == 1 ? 0 : bits == 8 ? 1 : 2);
        s.PixelData = std::move(data);
        return Build(s);
    };
    const std::pair<std::vector<uint8_t>, std::vector<uint8_t>> examples[] = {
        {with(10, 1, 1, {0xB2, 0x40, 0, 0}), {1, 0, 1, 1, 0, 0, 1, 0, 0, 1}},  // leftmost pixel in the high bit
        // Bottom row: three 5s, literal 1 2 3 padded; end of line; delta 2 right 1 up; two 9s; end.
        {with(6, 3, 8, {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1}),
         {0, 0, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 5, 5, 5, 1, 2, 3}},
        // RLE4: four alternating 1 2, literal 3 4 5; end of line; literal of five nibbles padded; end.
        {with(7, 2, 4, {4, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0, 0, 1}),
         {6, 7, 8, 9, 10, 0, 0, 1, 2, 1, 2, 3, 4, 5}},
        {with(4, 2, 8, {6, 7, 0, 0, 1, 8, 0, 1}), {8, 0, 0, 0, 7, 7, 7, 7}},  // a run clipped at the row end
    };
    for (const auto& [file, pixels] : examples) {
        const auto decoded = DecodeBmp(file);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->Pixels, pixels);
    }
    const auto file = Build(PictureLayout(95, 3, 8));  // only the last row's padding may be missing
    EXPECT_TRUE(DecodeBmp(std::vector<uint8_t>(file.begin(), file.end() - 1)));
}

// Each damage to a small valid file, and the reason the refusal gives; then files that are no
// BMP at all, whose signature is looked at first.
TEST(DecodeBmp, RefusesTruncatedHostileAndUnsupportedFilesSayingWhy) {
    using S = BmpLayout&;
    const std::tuple<void (*)(S), imagefiles::FailureKind, std::string> damages[] = {
        {[](S s) { s.PixelData.resize(15); }, Truncated, "the pixel rows"},
        {[](S s) { s.Width = 0; }, Malformed, "a size of 0 x 4"},
        {[](S s) { s.Height = INT_MIN; }, TooManyPixels, "more than 67108864"},
        {[](S s) { s.Width = s.Height = 30000, s.Colours.resize(16), s.ColoursUsed = 16; }, TooManyPixels,
         "more than 67108864"},  // in 200 bytes
        {[](S s) {
             s.Width = s.Height = 2000, s.Compression = 1, s.PixelData = {0, 1};
         },
         Truncated, "the run-length data"},  // 4 Mi pixels from 2 bytes
        {[](S s) { s.BitCount = 4, s.ColoursUsed = 17, s.Colours.resize(17); }, Malformed,
         "17 colours used with 4 bits"},
        {[](S s) { s.PixelOffset = 14 + 40 + 16 * 4; }, Malformed, "the colour table runs into the pixel data"},
        {[](S s) { s.PixelOffset = 100000; }, Truncated, "the pixel data"},
        {[](S s) { s.Planes = 2; }, Malformed, "2 planes"},
        {[](S s) { s.Colours.resize(10), s.PixelData.clear(), s.PixelOffset = 14 + 40 + 1024; }, Truncated,
         "the colour table"},
        {[](S s) { s.BitCount = 24, s.PixelData.resize(64); }, Unsupported, "24-bit colour"},
        {[](S s) { s.Compression = 1, s.BitCount = 16; }, Unsupported, "RLE8 compression with 16 bits"},
        {[](S s) { s.Compression = 3, s.BitCount = 16; }, Unsupported, "bit-field compression"},
        {[](S s) {
             s.Compression = 1, s.Height = -4, s.PixelData = {0, 1};
         },
         Malformed, "run-length data stored top-down"},
        {[](S s) {
             s.Compression = 1, s.PixelData = {0, 4, 1, 2};
         },
         Truncated, "the run-length data"},
        {[](S s) { s.HeaderSize = 64; }, Unsupported, "a 64-byte information header"}};
    for (const auto& [damage, kind, detail] : damages) {
        BmpLayout layout = PictureLayout(4, 4, 8);
        damage(layout);
        imagefiles::FileFailure why;
        EXPECT_FALSE(DecodeBmp(Build(layout), &why)) << detail;
        EXPECT_EQ(Said(why), Said({kind, detail}));
    }
    const auto good = Build(PictureLayout(4, 4, 8));
    const std::tuple<std::vector<uint8_t>, imagefiles::FailureKind, std::string> strangers[] = {
        {{}, Unrecognised, ""},
        {{good.begin(), good.begin() + 30}, Truncated, "the headers"},
        {{0x0A, 5, 1, 8}, OtherKind, "PCX"}};
    for (const auto& [bytes, kind, detail] : strangers) {
        imagefiles::FileFailure why;
        EXPECT_FALSE(DecodeBmp(bytes, &why)) << testing::PrintToString(bytes);
        EXPECT_EQ(Said(why), Said({kind, detail}));
    }
}

// (That a refused load leaves the last picture is checked on damaged files in tests/robustness.)
TEST(LoadBMPFile, MapsOntoTheGamePaletteOnRequest) {
    testsupport::TempDir dir;
    BmpLayout layout = PictureLayout(3, 2, 8);  // colours not in the game palette
    layout.Colours = {
        {0x64, 0x64, 0x64, 0}, {0xC0, 0xC0, 0xC0, 0}, {0, 0x80, 0xFF, 0}, {0x7F, 0x7F, 0x7F, 0}, {1, 1, 1, 0}};
    layout.ColoursUsed = 5;
    layout.PixelData = PackRows({0, 1, 2, 3, 4, 0}, 3, 2, 8);
    testsupport::WriteBytes(dir.file("a.bmp"), Build(layout));
    ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("a.bmp"), false));
    EXPECT_EQ(modBmp::BmpPixels(), (std::vector<uint8_t>{0, 1, 2, 3, 4, 0}));
    ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("a.bmp"), true));
    EXPECT_EQ(modBmp::BmpPixels(), (std::vector<uint8_t>{89, 84, 210, 7, 0, 89}));
    EXPECT_EQ(modBmp::BmpPalette()[2], layout.Colours[2]);  // the file's own table stays
}

// A 200 MB file (sparse: it takes no room on the disk) is refused after its first bytes when
// they are no BMP signature, and a valid header at the start of one makes the reader read the
// picture it describes and nothing else.
TEST(LoadBMPFile, ReadsTheHeadersFirstAndThenOnlyWhatTheyDescribe) {
#ifdef _WIN32  // Windows has no /proc (under Wine it is Linux's, counting Wine's own reads too)
    GTEST_SKIP() << "the system does not count the bytes a process reads";
#endif
    const auto bytesReadSoFar = [] {  // through read and pread, as the system counts them
        std::ifstream io("/proc/self/io");
        std::string name;
        long long value = -1;
        while (io >> name >> value && name != "rchar:") value = -1;
        return value;
    };
    if (bytesReadSoFar() < 0) GTEST_SKIP() << "the system does not count the bytes a process reads";
    testsupport::TempDir dir;
    const std::pair<std::vector<uint8_t>, bool> cases[] = {{std::vector<uint8_t>(64, 0x20), false},
                                                           {Build(PictureLayout(4, 4, 8)), true}};
    for (const auto& [start, accepted] : cases) {
        testsupport::WriteBytes(dir.file("big.bmp"), start);
        std::filesystem::resize_file(dir.file("big.bmp"), 200'000'000);
        imagefiles::FileFailure why;
        const long long before = bytesReadSoFar();
        EXPECT_EQ(modBmp::LoadBMPFile(dir.file("big.bmp"), false, &why), accepted);
        EXPECT_LT(bytesReadSoFar() - before, 4096) << accepted;  // reading /proc/self/io itself adds a few hundred
        EXPECT_EQ(why.Kind == Unrecognised, !accepted);
    }
    EXPECT_EQ(modBmp::BmpPixels(), PatternPixels(4, 4, 256));
}
