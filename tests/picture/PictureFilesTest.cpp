// The picture set's files: loads into a slot, the GAF file SaveGadget writes, and each refusal
// with its reason.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "imagefiles/PcxWriter.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/UnitName.h"
#include "picture/classUnitGAF.h"
#include "support/MissingFileText.h"
#include "support/Refusals.h"
#include "support/TestFiles.h"

namespace {

using testsupport::ReadBytes;
using testsupport::WriteBytes;

// Writes a BMP or PCX file in the game palette, as the extension says.
std::string Write(const testsupport::TempDir& dir, const std::string& name, const std::vector<uint8_t>& px, int w = 96,
                  int h = 96) {
    const auto& palette = modPalettes::GamePalette;
    WriteBytes(dir.file(name),
               name.ends_with(".pcx") ? modPCX::EncodePcx(px, palette, w, h) : modBmp::EncodeBmp(px, palette, w, h));
    return dir.file(name);
}

bool Load(classUnitGAF& set, const std::string& path, int32_t tapic) {
    return path.ends_with(".pcx") ? set.LoadPCXPicture(path, tapic) : set.LoadBMPPicture(path, tapic);
}

std::array<Picture, 3> Slots(const classUnitGAF& set) { return {*set.Slot(0), *set.Slot(1), *set.Slot(2)}; }

// A good file for slot 3 is true and inert. A command run in a load's yield loads other files
// into the same slot and another, greys and crosses it: the outer load still ends with exactly
// its own picture.
TEST(PictureLoad, YieldsCannotDisturbTheCopy) {
    testsupport::TempDir dir;
    std::vector<uint8_t> a(9216), b(9216);
    for (std::size_t i = 0; i < a.size(); ++i) a[i] = uint8_t(i * 13 + i / 96 * 5), b[i] = uint8_t(i * 7 + 101);
    const std::string outer[] = {Write(dir, "a.bmp", a), Write(dir, "a.pcx", a)};
    const std::string inner[] = {Write(dir, "b.pcx", b), Write(dir, "b.bmp", b)};
    for (int c = 0; c < 2; ++c) {
        classUnitGAF alone, *self = nullptr;
        EXPECT_TRUE(Load(alone, outer[c], 3));
        EXPECT_EQ(Slots(alone), Slots(classUnitGAF()));
        ASSERT_TRUE(Load(alone, outer[c], 0) && Load(alone, inner[c], 2));
        int yields = 0;
        classUnitGAF set([&] {
            if (++yields != 5000) return;
            EXPECT_TRUE(Load(*self, inner[c], 0) && Load(*self, inner[c], 2));
            self->MakePicGrey(0), self->AddBlackCross(0, 9);
        });
        self = &set;
        ASSERT_TRUE(Load(set, outer[c], 0));
        EXPECT_EQ(yields, 3 * 9216);
        EXPECT_EQ(Slots(set), Slots(alone)) << outer[c];
    }
}

// Frames are the slots reduced to 64 x 64 in slot order (black 12 gives 0, empty 100, white 255).
// Only the exact "UseNameEntry" stands for Name(); names are upper-cased Windows-1252, cut to 31.
// A good write replaces a longer old file whole.
TEST(SaveGadget, FramesAndNames) {
    testsupport::TempDir dir;
    classUnitGAF set;
    set.ResetToBackground(0, 12), set.ResetToBackground(1, kEmptyIndex);
    set.Name("fromname");
    const std::string name31 = "abcdefghijklmnopqrstuvwxyz01234", upper31 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";
    const std::pair<std::string, std::string> names[] = {{"UseNameEntry", "FROMNAME"},
                                                         {name31 + "567890abc", upper31},
                                                         {"caf\xC3\xA9 \xC5\x93uvre", "CAF\xC9 \x8CUVRE"},
                                                         {"usenameentry", "USENAMEENTRY"}};  // café œuvre
    WriteBytes(dir.file("n.gaf"), std::vector<uint8_t>(20000, 0xAA));
    for (const auto& [given, stored] : names) {
        ASSERT_TRUE(set.SaveGadget(dir.file("n.gaf"), given)) << given;
        const auto file = ReadBytes(dir.file("n.gaf"));
        ASSERT_EQ(file.size(), 12440u);
        EXPECT_EQ(std::string(file.begin() + 24, file.begin() + 56), stored + std::string(32 - stored.size(), '\0'));
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 104, file.begin() + 4200), std::vector<uint8_t>(4096, 0));
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 4224, file.begin() + 8320), std::vector<uint8_t>(4096, 100));
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 8344, file.end()), std::vector<uint8_t>(4096, 255));
    }
}

// Each refusal of a file operation with its reason: the reader's own, the slot's size, the unit
// name's character, the writer's cause. None changes a slot, nor a file already there.
TEST(PictureFiles, RefusalsSayWhy) {
    testsupport::TempDir dir;
    classUnitGAF set, named;
    named.Name("\xCE\xA9mega");  // Ω
    const std::vector<uint8_t> small(95 * 96, 7), old(20000, 0xAA);
    const std::string narrow = Write(dir, "narrow.bmp", small, 95, 96), low = Write(dir, "low.pcx", small, 96, 95);
    const std::string gaf = dir.file("g.gaf");
    WriteBytes(gaf, old);
    using enum imagefiles::FailureKind;
    using Operation = std::function<bool(imagefiles::FileFailure*)>;
    const std::tuple<Operation, imagefiles::FailureKind, std::string> cases[] = {
        {[&](auto* why) { return set.LoadBMPPicture(narrow, 0, why); }, WrongSize, "95 x 96"},
        {[&](auto* why) { return set.LoadPCXPicture(low, 0, why); }, WrongSize, "96 x 95"},
        {[&](auto* why) { return set.LoadPCXPicture(narrow, 0, why); }, OtherKind, "BMP"},
        {[&](auto* why) { return set.LoadBMPPicture(dir.file("gone.bmp"), 0, why); }, CannotOpen,
         testsupport::MissingFileText(dir.file("gone.bmp"))},
        {[&](auto* why) { return set.SaveAsBMP(3, dir.file("s.bmp"), why); }, CannotWrite, "no picture 3"},
        {[&](auto* why) { return set.SaveGadget(gaf, "arm\xCE\xA9", why); }, BadName, *UnitNameProblem("\xCE\xA9")},
        {[&](auto* why) { return named.SaveGadget(gaf, "UseNameEntry", why); }, BadName, *UnitNameProblem("\xCE\xA9")},
        {[&](auto* why) { return set.SaveGadget(gaf, "arm\xCE", why); }, BadName, *UnitNameProblem("\xCE")},
        {[&](auto* why) { return set.SaveGadget(dir.file("no/g.gaf"), "arm", why); }, CannotWrite,
         "the folder " + dir.file("no") + ": " + testsupport::MissingFileText(dir.file("no"))}};
    for (const auto& [operation, kind, detail] : cases) {
        imagefiles::FileFailure why;
        EXPECT_FALSE(operation(&why)) << detail;
        EXPECT_EQ(testsupport::Said(why), testsupport::Said({kind, detail}));
    }
    EXPECT_EQ(Slots(set), Slots(classUnitGAF()));
    EXPECT_EQ(ReadBytes(gaf), old);
}

}  // namespace
