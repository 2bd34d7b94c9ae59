#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"
#include "PictureTestUtil.h"

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, std::size_t first, std::size_t count) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(first),
            bytes.begin() + static_cast<std::ptrdiff_t>(first + count)};
}

std::vector<uint8_t> NameField(const std::vector<uint8_t>& file) { return Slice(file, 24, 32); }

std::vector<uint8_t> Padded(const std::string& name) {
    std::vector<uint8_t> field(name.begin(), name.end());
    field.resize(32, 0);
    return field;
}

TEST(SaveGadget, WritesTheWholeLayoutForArmcamp) {
    TempDir dir;
    classUnitGAF set;
    set.Name("armcamp");
    const std::string path = dir.file("armcamp_GADGET.GAF");
    ASSERT_TRUE(set.SaveGadget(path));
    const auto file = ReadBytes(path);
    ASSERT_EQ(file.size(), 12440u);

    EXPECT_EQ(Slice(file, 0, 16), (std::vector<uint8_t>{0x00, 0x01, 0x01, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0,
                                                       0x10, 0, 0, 0}));
    std::vector<uint8_t> entry{0x03, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0x41, 0x52, 0x4d, 0x43, 0x41, 0x4d, 0x50};
    entry.resize(40, 0);
    EXPECT_EQ(Slice(file, 16, 40), entry);
    EXPECT_EQ(Slice(file, 56, 24), (std::vector<uint8_t>{0x50, 0, 0, 0, 0, 0, 0, 0, 0x68, 0x10, 0, 0, 0, 0, 0, 0,
                                                        0x80, 0x20, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 80, 24), (std::vector<uint8_t>{0x40, 0, 0x40, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0,
                                                        0x68, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 4200 + 16, 4), (std::vector<uint8_t>{0x80, 0x10, 0, 0}));  // 4224
    EXPECT_EQ(Slice(file, 8320 + 16, 4), (std::vector<uint8_t>{0x98, 0x20, 0, 0}));  // 8344
    // Three white slots give three white frames.
    for (std::size_t at : {104u, 4224u, 8344u}) EXPECT_EQ(Slice(file, at, 4096), std::vector<uint8_t>(4096, 255));
}

TEST(SaveGadget, FramesAreTheReducedSlotsInOrder) {
    TempDir dir;
    classUnitGAF set;
    set.Name("x");
    set.ResetToBackground(0, kEmptyIndex);
    // The slot's only non-empty pixel, at (1, 1), is a black held at several indices.
    set.ResetToBackground(2, 12);
    const auto path = dir.file("frames.gaf");
    ASSERT_TRUE(set.SaveGadget(path));
    const auto file = ReadBytes(path);
    ASSERT_EQ(file.size(), 12440u);
    EXPECT_EQ(Slice(file, 4224, 4096), std::vector<uint8_t>(4096, 255));
    EXPECT_EQ(Slice(file, 8344, 4096), std::vector<uint8_t>(4096, 0));
    EXPECT_EQ(Slice(file, 104, 4096), std::vector<uint8_t>(4096, 100));
}

TEST(SaveGadget, NameRules) {
    TempDir dir;
    classUnitGAF set;
    set.Name("fromname");
    const auto path = dir.file("n.gaf");

    ASSERT_TRUE(set.SaveGadget(path));
    EXPECT_EQ(NameField(ReadBytes(path)), Padded("FROMNAME"));

    ASSERT_TRUE(set.SaveGadget(path, "usenameentry"));  // only the exact text stands for Name()
    EXPECT_EQ(NameField(ReadBytes(path)), Padded("USENAMEENTRY"));

    ASSERT_TRUE(set.SaveGadget(path, "corkrog"));
    EXPECT_EQ(NameField(ReadBytes(path)), Padded("CORKROG"));

    const std::string name31 = "abcdefghijklmnopqrstuvwxyz01234";
    ASSERT_TRUE(set.SaveGadget(path, name31));
    auto field = NameField(ReadBytes(path));
    EXPECT_EQ(field, Padded("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"));
    EXPECT_EQ(field[31], 0);

    ASSERT_TRUE(set.SaveGadget(path, name31 + "567890abc"));  // 40 characters
    const auto file40 = ReadBytes(path);
    EXPECT_EQ(NameField(file40), Padded("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"));
    EXPECT_EQ(file40.size(), 12440u);

    ASSERT_TRUE(set.SaveGadget(path, "caf\xC3\xA9 \xC5\x93uvre"));  // café œuvre
    EXPECT_EQ(NameField(ReadBytes(path)), Padded("CAF\xC9 \x8CUVRE"));
}

TEST(SaveGadget, ANameWithoutWindows1252CodesTouchesNothing) {
    TempDir dir;
    classUnitGAF set;
    const auto existing = dir.file("existing.gaf");
    testsupport::WriteBytes(existing, {1, 2, 3});
    EXPECT_FALSE(set.SaveGadget(existing, "arm\xCE\xA9"));                 // Ω
    EXPECT_FALSE(set.SaveGadget(existing, "\xF0\x9F\x98\x80" "armcamp"));  // an emoji first
    EXPECT_EQ(ReadBytes(existing), (std::vector<uint8_t>{1, 2, 3}));

    set.Name("\xCE\xA9mega");
    const auto fresh = dir.file("fresh.gaf");
    EXPECT_FALSE(set.SaveGadget(fresh));
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}

TEST(SaveGadget, SameInputsGiveIdenticalFilesAndOldTailsAreGone) {
    TempDir dir;
    classUnitGAF set;
    set.Name("twice");
    set.ResetToBackground(0, 77);
    set.AddCavedogLikeBorder(0);
    set.MakePicLighter(1);
    set.AddGrid(2);

    const auto first = dir.file("a.gaf");
    const auto second = dir.file("b.gaf");
    testsupport::WriteBytes(second, std::vector<uint8_t>(20000, 0xAA));
    ASSERT_TRUE(set.SaveGadget(first));
    ASSERT_TRUE(set.SaveGadget(second));
    const auto a = ReadBytes(first);
    EXPECT_EQ(a.size(), 12440u);
    EXPECT_EQ(ReadBytes(second), a);
}

TEST(SaveGadget, UnwritableDestinationsFail) {
    TempDir dir;
    classUnitGAF set;
    set.Name("x");
    EXPECT_FALSE(set.SaveGadget(dir.file("missing/x.gaf")));
    EXPECT_FALSE(set.SaveGadget(""));
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(set.SaveGadget(dir.file("folder")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder"));
}

TEST(SaveGadget, LeavesTheSlotsAndNameAlone) {
    TempDir dir;
    classUnitGAF set;
    picturetest::FillSlotsDistinctly(set);
    set.Name("keep");
    const Picture before1 = *set.Slot(1);
    ASSERT_TRUE(set.SaveGadget(dir.file("k.gaf"), "other"));
    EXPECT_EQ(*set.Slot(1), before1);
    EXPECT_EQ(set.Name(), "keep");
}

}  // namespace
