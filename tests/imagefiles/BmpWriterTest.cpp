#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"
#include "BmpBuilder.h"

using modBmp::EncodeBmp;
using modBmp::WriteBMPFile;
using modPalettes::GamePalette;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

constexpr int kSide = 96;

// A 96 x 96 picture whose every pixel differs from its neighbours and whose rows differ.
std::vector<uint8_t> SlotPixels() { return bmptest::PatternPixels(kSide, kSide, 256); }

}  // namespace

TEST(WriteBMPFile, WritesTheExactHeaderAndColourTable) {
    TempDir dir;
    const auto pixels = SlotPixels();
    ASSERT_TRUE(WriteBMPFile(dir.file("slot.bmp"), pixels, GamePalette, kSide, kSide));
    const auto file = ReadBytes(dir.file("slot.bmp"));
    ASSERT_EQ(file.size(), 10294u);

    std::vector<uint8_t> expected{0x42, 0x4D, 0x36, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x04, 0x00, 0x00,
                                  0x28, 0x00, 0x00, 0x00, 0x60, 0x00, 0x00, 0x00, 0x60, 0x00, 0x00, 0x00, 0x01, 0x00,
                                  0x08, 0x00};
    expected.insert(expected.end(), 16, 0x00);
    expected.insert(expected.end(), {0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00});
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 54), expected);

    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1050, file.begin() + 1054), (std::vector<uint8_t>{0, 0, 0xFF, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1074, file.begin() + 1078),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0}));
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = GamePalette[static_cast<std::size_t>(i)];
        const std::size_t at = 54 + static_cast<std::size_t>(i) * 4;
        ASSERT_EQ(std::vector<uint8_t>(file.begin() + static_cast<std::ptrdiff_t>(at),
                                       file.begin() + static_cast<std::ptrdiff_t>(at + 4)),
                  (std::vector<uint8_t>{e.Blue, e.Green, e.Red, e.Reserved}))
            << "entry " << i;
    }
}

TEST(WriteBMPFile, StoresTheRowsBottomUp) {
    TempDir dir;
    const auto pixels = SlotPixels();
    ASSERT_TRUE(WriteBMPFile(dir.file("slot.bmp"), pixels, GamePalette, kSide, kSide));
    const auto file = ReadBytes(dir.file("slot.bmp"));
    ASSERT_EQ(file.size(), 10294u);
    EXPECT_EQ(file[1078], pixels[9120]);  // bottom-left pixel
    EXPECT_EQ(file[10293], pixels[95]);   // top-right pixel
    for (int fileRow = 0; fileRow < kSide; ++fileRow)
        for (int x = 0; x < kSide; ++x)
            ASSERT_EQ(file[static_cast<std::size_t>(1078 + fileRow * kSide + x)],
                      pixels[static_cast<std::size_t>((kSide - 1 - fileRow) * kSide + x)])
                << "file row " << fileRow << ", column " << x;
}

TEST(WriteBMPFile, ReplacesALongerFileWithExactlyTheNewOne) {
    TempDir dir;
    WriteBytes(dir.file("slot.bmp"), std::vector<uint8_t>(50000, 0xAB));
    ASSERT_TRUE(WriteBMPFile(dir.file("slot.bmp"), SlotPixels(), GamePalette, kSide, kSide));
    EXPECT_EQ(ReadBytes(dir.file("slot.bmp")), EncodeBmp(SlotPixels(), GamePalette, kSide, kSide));
    EXPECT_EQ(std::filesystem::file_size(dir.file("slot.bmp")), 10294u);
}

TEST(EncodeBmp, PadsRowsOfOtherWidthsToFourBytes) {
    for (int width : {95, 97, 1, 2, 3}) {
        const int height = 5;
        const auto pixels = bmptest::PatternPixels(width, height, 256);
        const auto file = EncodeBmp(pixels, GamePalette, width, height);
        const int stride = (width + 3) / 4 * 4;
        ASSERT_EQ(file.size(), static_cast<std::size_t>(1078 + stride * height)) << "width " << width;
        EXPECT_EQ(file[2] | (file[3] << 8) | (file[4] << 16), static_cast<int>(file.size()));
        for (int fileRow = 0; fileRow < height; ++fileRow) {
            for (int x = 0; x < stride; ++x) {
                const uint8_t expected =
                    x < width ? pixels[static_cast<std::size_t>((height - 1 - fileRow) * width + x)] : 0;
                ASSERT_EQ(file[static_cast<std::size_t>(1078 + fileRow * stride + x)], expected)
                    << "width " << width << ", file row " << fileRow << ", byte " << x;
            }
        }
    }
}

TEST(WriteBMPFile, RefusesSizesThePixelsCannotFill) {
    TempDir dir;
    const auto pixels = SlotPixels();
    EXPECT_FALSE(WriteBMPFile(dir.file("a.bmp"), pixels, GamePalette, 0, 96));
    EXPECT_FALSE(WriteBMPFile(dir.file("a.bmp"), pixels, GamePalette, 96, -96));
    EXPECT_FALSE(WriteBMPFile(dir.file("a.bmp"), pixels, GamePalette, 96, 97));
    EXPECT_FALSE(WriteBMPFile(dir.file("a.bmp"), pixels, GamePalette, 1 << 30, 1 << 30));
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.bmp")));
    EXPECT_TRUE(EncodeBmp(pixels, GamePalette, -1, 5).empty());
}

TEST(WriteBMPFile, FailsForAMissingFolderOrADirectoryAsDestination) {
    TempDir dir;
    EXPECT_FALSE(WriteBMPFile(dir.file("missing/slot.bmp"), SlotPixels(), GamePalette, kSide, kSide));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));

    std::filesystem::create_directory(dir.file("slot.bmp"));
    WriteBytes(dir.path() / "slot.bmp" / "keep.txt", {9, 9});
    EXPECT_FALSE(WriteBMPFile(dir.file("slot.bmp"), SlotPixels(), GamePalette, kSide, kSide));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("slot.bmp")));
    EXPECT_EQ(ReadBytes(dir.path() / "slot.bmp" / "keep.txt"), (std::vector<uint8_t>{9, 9}));
}

TEST(WriteBMPFile, FailsInAReadOnlyFolderLeavingTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    TempDir dir;
    const std::vector<uint8_t> old(300, 0x11);
    WriteBytes(dir.file("slot.bmp"), old);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(WriteBMPFile(dir.file("slot.bmp"), SlotPixels(), GamePalette, kSide, kSide));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadBytes(dir.file("slot.bmp")), old);
}

// A full disk, simulated by a file-size limit in a child process (SIGXFSZ ignored, so the
// write comes back short instead of killing the process). The existing file must survive
// byte for byte and no temporary file may be left behind.
TEST(WriteBMPFile, FailsWhenTheDiskIsFullLeavingTheOldFile) {
    TempDir dir;
    const std::vector<uint8_t> old(500, 0x5A);
    WriteBytes(dir.file("slot.bmp"), old);
    const auto pixels = SlotPixels();
    const std::string destination = dir.file("slot.bmp");

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        const bool written = WriteBMPFile(destination, pixels, GamePalette, kSide, kSide);
        ::_exit(written ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child was killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write reported success; 3: no limit could be set";
    EXPECT_EQ(ReadBytes(destination), old);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u);
}
