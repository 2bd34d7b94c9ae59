// The picture writers write all or nothing: sizes they cannot write are refused before any file
// is touched, and a write that fails halfway leaves the old file whole and no temporary file.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <filesystem>
#include <functional>
#include <random>
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

using modPalettes::GamePalette;
using Bytes = std::vector<uint8_t>;

TEST(PictureWriters, ImpossibleSizesAndAFullDiskLeaveTheOldFile) {
    Bytes pixels(70000), old(500, 0xA5);
    std::mt19937 random(3);  // random pixels: no writer can pack 200 x 200 of them into 4096 bytes
    for (auto& pixel : pixels) pixel = static_cast<uint8_t>(random());
    const std::tuple<const char*, std::function<bool(const std::string&, int, int)>, std::pair<int, int>> writers[] = {
        {"BMP", [&](auto& f, int w, int h) { return modBmp::WriteBMPFile(f, pixels, GamePalette, w, h); }, {96, 0}},
        {"PCX", [&](auto& f, int w, int h) { return modPCX::WritePCXFile(f, pixels, GamePalette, w, h); }, {32768, 1}},
        {"PNG", [&](auto& f, int w, int h) { return modPNG::WritePNGFile(f, pixels, GamePalette, w, h); }, {1, 65537}},
    };
    for (const auto& [kind, write, tooLarge] : writers) {
        SCOPED_TRACE(kind);
        testsupport::TempDir dir;
        const std::string destination = dir.file("old");
        testsupport::WriteBytes(destination, old);
        for (auto [width, height] :
             {std::pair{0, 96}, std::pair{96, -1}, std::pair{100, 701}, tooLarge, std::pair{1 << 30, 1 << 30}})
            EXPECT_FALSE(write(destination, width, height)) << width << " x " << height;
        // A full disk, simulated by a file-size limit: the write comes back short.
        const int status = testsupport::UnderFileSizeLimit(4096, true, [&] { return !write(destination, 200, 200); });
        ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write reported success; 3: no limit could be set";
        EXPECT_EQ(testsupport::ReadBytes(destination), old);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}
