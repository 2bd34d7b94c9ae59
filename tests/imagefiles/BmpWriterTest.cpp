// WriteBMPFile: the exact bytes of the 8-bit file, and writes that fail without losing anything.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstring>
#include <filesystem>
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

using namespace testsupport;
using modBmp::WriteBMPFile, modPalettes::GamePalette;

namespace {
std::vector<uint8_t> SlotPixels() {  // every pixel differs from its neighbours, rows differ
    std::vector<uint8_t> pixels(96 * 96);
    for (std::size_t k = 0; k < pixels.size(); ++k) pixels[k] = static_cast<uint8_t>(k * 37 + k / 96);
    return pixels;
}
long EntriesIn(const std::filesystem::path& folder) {
    return std::distance(std::filesystem::directory_iterator(folder), {});
}
}  // namespace

TEST(WriteBMPFile, ReplacesALongerFileWithTheExactHeaderColourTableAndBottomUpRows) {
    TempDir dir;
    WriteBytes(dir.file("slot.bmp"), std::vector<uint8_t>(50000, 0xAB));
    const auto pixels = SlotPixels();
    ASSERT_TRUE(WriteBMPFile(dir.file("slot.bmp"), pixels, GamePalette, 96, 96));
    const auto file = ReadBytes(dir.file("slot.bmp"));
    ASSERT_EQ(file.size(), 10294u);
    std::vector<uint8_t> header{'B', 'M', 0x36, 0x28, 0, 0, 0, 0,  0, 0, 0x36, 4, 0, 0, 40,
                                0,   0,   0,    96,   0, 0, 0, 96, 0, 0, 0,    1, 0, 8, 0};
    header.resize(46, 0);                                   // compression, sizes, resolutions 0
    header.insert(header.end(), {0, 1, 0, 0, 0, 1, 0, 0});  // 256 colours used and important
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 54), header);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54 + 4 * 249, file.begin() + 58 + 4 * 249),
              (std::vector<uint8_t>{0, 0, 0xFF, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54 + 4 * 255, file.begin() + 1078),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(0, std::memcmp(file.data() + 54, GamePalette.data(), 1024));
    EXPECT_EQ(std::pair(file[1078], file[10293]),
              std::pair(pixels[9120], pixels[95]));  // bottom-left first, top-right last
    for (std::size_t k = 0; k < pixels.size(); ++k) ASSERT_EQ(file[1078 + (95 - k / 96) * 96 + k % 96], pixels[k]) << k;
}

TEST(WriteBMPFile, FailsForImpossibleSizesAMissingFolderOrADirectoryLeavingThemAlone) {
    TempDir dir;
    const auto pixels = SlotPixels();
    for (auto [width, height] : {std::pair{0, 96}, std::pair{96, -96}, std::pair{96, 97}, std::pair{1 << 30, 1 << 30}})
        EXPECT_FALSE(WriteBMPFile(dir.file("a.bmp"), pixels, GamePalette, width, height)) << width << " x " << height;
    EXPECT_FALSE(WriteBMPFile(dir.file("missing/slot.bmp"), pixels, GamePalette, 96, 96));
    std::filesystem::create_directory(dir.file("slot.bmp"));
    WriteBytes(dir.path() / "slot.bmp" / "keep.txt", {9, 9});
    EXPECT_FALSE(WriteBMPFile(dir.file("slot.bmp"), pixels, GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(dir.path() / "slot.bmp" / "keep.txt"), (std::vector<uint8_t>{9, 9}));
    EXPECT_EQ(EntriesIn(dir.path()), 1);  // no a.bmp, no missing/, no temporary file
}

// A full disk, simulated by a file-size limit in a child process (SIGXFSZ ignored, so the write
// comes back short): the old file survives byte for byte and no temporary file is left.
TEST(WriteBMPFile, FailsWhenTheDiskIsFullLeavingTheOldFile) {
    TempDir dir;
    const std::vector<uint8_t> old(500, 0x5A);
    const std::string destination = dir.file("slot.bmp");
    WriteBytes(destination, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        ::_exit(WriteBMPFile(destination, SlotPixels(), GamePalette, 96, 96) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write reported success; 3: no limit could be set";
    EXPECT_EQ(ReadBytes(destination), old);
    EXPECT_EQ(EntriesIn(dir.path()), 1);
}

// A read-only file is refused even for root, whom permissions do not stop; a read-only folder
// stops everyone else.
TEST(WriteBMPFile, LeavesReadOnlyFilesAndFoldersAlone) {
    TempDir dir;
    const std::vector<uint8_t> old(500, 0x5A);
    WriteBytes(dir.path() / "locked.bmp", old);
    std::filesystem::permissions(dir.path() / "locked.bmp", std::filesystem::perms::owner_read);
    EXPECT_FALSE(WriteBMPFile(dir.file("locked.bmp"), SlotPixels(), GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(dir.path() / "locked.bmp"), old);
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    std::filesystem::create_directory(dir.path() / "ro");
    std::filesystem::permissions(dir.path() / "ro",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(WriteBMPFile(dir.file("ro/slot.bmp"), SlotPixels(), GamePalette, 96, 96));
    EXPECT_EQ(EntriesIn(dir.path() / "ro"), 0);
}
