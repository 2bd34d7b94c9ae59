#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"
#include "PictureTestUtil.h"

namespace {

using testsupport::ReadBytes;

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, std::size_t first, std::size_t count) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(first),
            bytes.begin() + static_cast<std::ptrdiff_t>(first + count)};
}

// Frames are the slots reduced to 64 x 64, in slot order: a lone black pixel at (1, 1) among
// empty ones comes out as index 0 at (1, 1), all else 100; an empty slot as 100, black 12 as 0.
TEST(SaveGadget, FramesAreTheReducedSlotsInOrder) {
    testsupport::TempDir dir;
    std::vector<uint8_t> lone(9216, kEmptyIndex);
    lone[96 + 1] = 243;
    testsupport::WriteBytes(dir.file("lone.bmp"), modBmp::EncodeBmp(lone, modPalettes::GamePalette, 96, 96));
    classUnitGAF set;
    ASSERT_TRUE(set.LoadBMPPicture(dir.file("lone.bmp"), 0));
    set.ResetToBackground(1, kEmptyIndex);
    set.ResetToBackground(2, 12);
    ASSERT_TRUE(set.SaveGadget(dir.file("frames.gaf"), "lone"));
    const auto file = ReadBytes(dir.file("frames.gaf"));
    ASSERT_EQ(file.size(), 12440u);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(file[104 + static_cast<std::size_t>(i)], i == 65 ? 0 : 100) << i;
    EXPECT_EQ(Slice(file, 4224, 4096), std::vector<uint8_t>(4096, kEmptyIndex));
    EXPECT_EQ(Slice(file, 8344, 4096), std::vector<uint8_t>(4096, 0));
}

// Only the exact text "UseNameEntry" stands for Name(); names are Windows-1252, upper-cased by
// the code page's own pairs and cut to 31 characters; byte 55 stays zero.
TEST(SaveGadget, NameRules) {
    testsupport::TempDir dir;
    classUnitGAF set;
    set.Name("fromname");
    const std::string name31 = "abcdefghijklmnopqrstuvwxyz01234", upper31 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";
    const struct {
        std::string given, stored;
    } cases[] = {{"UseNameEntry", "FROMNAME"},
                 {"usenameentry", "USENAMEENTRY"},
                 {name31, upper31},
                 {name31 + "567890abc", upper31},
                 {"", ""},
                 {"caf\xC3\xA9 \xC5\x93uvre", "CAF\xC9 \x8CUVRE"}};  // café œuvre
    for (const auto& c : cases) {
        ASSERT_TRUE(set.SaveGadget(dir.file("n.gaf"), c.given)) << c.given;
        const auto file = ReadBytes(dir.file("n.gaf"));
        std::vector<uint8_t> field(c.stored.begin(), c.stored.end());
        field.resize(32, 0);
        EXPECT_EQ(Slice(file, 24, 32), field) << c.given;
        EXPECT_EQ(file.size(), 12440u);
    }
    EXPECT_EQ(set.Name(), "fromname");
}

// All or nothing: a name without Windows-1252 codes or an unusable destination fails and
// leaves what was there; a good write replaces a longer old file whole, the same every time.
TEST(SaveGadget, FailuresTouchNothingAndSuccessReplacesWhole) {
    testsupport::TempDir dir;
    classUnitGAF set;
    const auto existing = dir.file("existing.gaf");
    testsupport::WriteBytes(existing, std::vector<uint8_t>(20000, 0xAA));
    EXPECT_FALSE(set.SaveGadget(existing, "arm\xCE\xA9"));                 // Ω
    EXPECT_FALSE(set.SaveGadget(existing, "\xF0\x9F\x98\x80" "armcamp"));  // an emoji first
    set.Name("\xCE\xA9mega");
    EXPECT_FALSE(set.SaveGadget(dir.file("fresh.gaf")));
    EXPECT_EQ(ReadBytes(existing), std::vector<uint8_t>(20000, 0xAA));

    set.Name("x");
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(set.SaveGadget(dir.file("missing/x.gaf")));
    EXPECT_FALSE(set.SaveGadget(""));
    EXPECT_FALSE(set.SaveGadget(dir.file("folder")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 2)
        << "only the old file and the folder";

    picturetest::FillSlotsDistinctly(set);
    const auto slots = picturetest::Slots(set);
    ASSERT_TRUE(set.SaveGadget(dir.file("first.gaf")));
    ASSERT_TRUE(set.SaveGadget(existing));
    EXPECT_EQ(ReadBytes(existing), ReadBytes(dir.file("first.gaf")));
    EXPECT_EQ(ReadBytes(existing).size(), 12440u);
    EXPECT_EQ(picturetest::Slots(set), slots);
}

}  // namespace
