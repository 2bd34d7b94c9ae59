// WriteBMPFile: the exact bytes of the 8-bit file, and all-or-nothing writes.

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/BmpBuilder.h"
#include "support/TestFiles.h"

using modBmp::EncodeBmp;
using modBmp::WriteBMPFile;
using modPalettes::GamePalette;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// A 96 x 96 picture whose every pixel differs from its neighbours and whose rows differ.
std::vector<uint8_t> SlotPixels() {
    std::vector<uint8_t> pixels(96 * 96);
    for (std::size_t k = 0; k < pixels.size(); ++k) pixels[k] = static_cast<uint8_t>(k * 37 + k / 96);
    return pixels;
}

std::size_t EntriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(WriteBMPFile, WritesTheExactHeaderColourTableAndBottomUpRows) {
    TempDir dir;
    const auto pixels = SlotPixels();
    ASSERT_TRUE(WriteBMPFile(dir.file("slot.bmp"), pixels, GamePalette, 96, 96));
    const auto file = ReadBytes(dir.file("slot.bmp"));
    ASSERT_EQ(file.size(), 10294u);

    std::vector<uint8_t> header{0x42, 0x4D, 0x36, 0x28, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x04, 0x00, 0x00, 0x28,
                                0x00, 0x00, 0x00, 0x60, 0x00, 0x00, 0x00, 0x60, 0x00, 0x00, 0x00, 0x01, 0x00, 0x08, 0x00};
    header.insert(header.end(), 16, 0x00);
    header.insert(header.end(), {0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00});
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 54), header);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1050, file.begin() + 1054), (std::vector<uint8_t>{0, 0, 0xFF, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1074, file.begin() + 1078), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(0, std::memcmp(file.data() + 54, GamePalette.data(), 1024)) << "the colour table is the palette, byte for byte";

    EXPECT_EQ(file[1078], pixels[9120]);  // bottom-left pixel
    EXPECT_EQ(file[10293], pixels[95]);   // top-right pixel
    for (std::size_t k = 0; k < pixels.size(); ++k)
        ASSERT_EQ(file[1078 + (95 - k / 96) * 96 + k % 96], pixels[k]) << "pixel " << k;
}

TEST(WriteBMPFile, ReplacesALongerFileWithExactlyTheNewOne) {
    TempDir dir;
    WriteBytes(dir.file("slot.bmp"), std::vector<uint8_t>(50000, 0xAB));
    ASSERT_TRUE(WriteBMPFile(dir.file("slot.bmp"), SlotPixels(), GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(dir.file("slot.bmp")), EncodeBmp(SlotPixels(), GamePalette, 96, 96));
    EXPECT_EQ(std::filesystem::file_size(dir.file("slot.bmp")), 10294u);
}

TEST(EncodeBmp, PadsRowsOfOtherWidthsToFourBytesAndCountsThePaddingInTheFileSize) {
    for (int width : {95, 97, 1, 2, 3, 64}) {
        const auto pixels = bmpbuild::PatternPixels(width, 5, 256);
        const auto file = EncodeBmp(pixels, GamePalette, width, 5);
        const auto rows = bmpbuild::PackRows(pixels, width, 5, 8);
        ASSERT_EQ(file.size(), 1078 + rows.size()) << "width " << width;
        EXPECT_EQ(file[2] | (file[3] << 8) | (file[4] << 16), static_cast<int>(file.size())) << "width " << width;
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 1078, file.end()), rows) << "width " << width;
    }
}

TEST(WriteBMPFile, RefusesSizesThePixelsCannotFill) {
    TempDir dir;
    const auto pixels = SlotPixels();
    for (auto [width, height] : {std::pair{0, 96}, std::pair{96, -96}, std::pair{96, 97}, std::pair{1 << 30, 1 << 30}})
        EXPECT_FALSE(WriteBMPFile(dir.file("a.bmp"), pixels, GamePalette, width, height)) << width << " x " << height;
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.bmp")));
}

TEST(WriteBMPFile, FailsForAMissingFolderOrADirectoryAsDestinationLeavingThemAlone) {
    TempDir dir;
    EXPECT_FALSE(WriteBMPFile(dir.file("missing/slot.bmp"), SlotPixels(), GamePalette, 96, 96));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));

    std::filesystem::create_directory(dir.file("slot.bmp"));
    WriteBytes(dir.path() / "slot.bmp" / "keep.txt", {9, 9});
    EXPECT_FALSE(WriteBMPFile(dir.file("slot.bmp"), SlotPixels(), GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(dir.path() / "slot.bmp" / "keep.txt"), (std::vector<uint8_t>{9, 9}));
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(WriteBMPFile, FailsInAReadOnlyFolderLeavingTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    TempDir dir;
    const std::vector<uint8_t> old(300, 0x11);
    WriteBytes(dir.file("slot.bmp"), old);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(WriteBMPFile(dir.file("slot.bmp"), SlotPixels(), GamePalette, 96, 96));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(ReadBytes(dir.file("slot.bmp")), old);
}

// A full disk, simulated by a file-size limit in a child process (SIGXFSZ ignored, so the write
// comes back short instead of killing the process): the old file survives byte for byte and no
// temporary file is left behind.
TEST(WriteBMPFile, FailsWhenTheDiskIsFullLeavingTheOldFile) {
    TempDir dir;
    const std::vector<uint8_t> old(500, 0x5A);
    const std::string destination = dir.file("slot.bmp");
    WriteBytes(destination, old);
    const auto pixels = SlotPixels();

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        ::_exit(WriteBMPFile(destination, pixels, GamePalette, 96, 96) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child was killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write reported success; 3: no limit could be set";
    EXPECT_EQ(ReadBytes(destination), old);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);
}
