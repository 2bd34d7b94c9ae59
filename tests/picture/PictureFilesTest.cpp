#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace {

using testsupport::ReadBytes;
using testsupport::WriteBytes;

// Writes a BMP file, or a version 5 PCX file with every pixel its own packet, as the extension says.
std::string Write(const testsupport::TempDir& dir, const std::string& name, const std::vector<uint8_t>& px, int w = 96,
                  int h = 96) {
    std::vector<uint8_t> pcx(128, 0);
    pcx[0] = 10;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[65] = 1;
    pcx[8] = uint8_t(w - 1);
    pcx[10] = uint8_t(h - 1);
    for (uint8_t v : px) (v & 0xC0) == 0xC0 ? pcx.insert(pcx.end(), {0xC1, v}) : pcx.insert(pcx.end(), v);
    pcx.push_back(12);
    for (const PaletteEntry& e : modPalettes::GamePalette) pcx.insert(pcx.end(), {e.Red, e.Green, e.Blue});
    WriteBytes(dir.file(name), name.ends_with(".pcx") ? pcx : modBmp::EncodeBmp(px, modPalettes::GamePalette, w, h));
    return dir.file(name);
}

bool Load(classUnitGAF& set, const std::string& path, int32_t tapic) {
    return path.ends_with(".pcx") ? set.LoadPCXPicture(path, tapic) : set.LoadBMPPicture(path, tapic);
}

std::array<Picture, 3> Slots(const classUnitGAF& set) { return {*set.Slot(0), *set.Slot(1), *set.Slot(2)}; }

// Wrong-sized and missing files are refused before the slot changes; a good file for slot 3
// is true and inert. A command run in a load's yield loads other files into the same slot and
// another, greys and crosses it: the outer load still ends with exactly its own picture.
TEST(PictureLoad, RefusalsLeaveTheSlotsAndYieldsCannotDisturbTheCopy) {
    testsupport::TempDir dir;
    classUnitGAF refusing;
    const std::vector<uint8_t> small(95 * 96, 7);
    for (const std::string& path :
         {Write(dir, "w.bmp", small, 95, 96), Write(dir, "h.bmp", small, 96, 95), Write(dir, "w.pcx", small, 95, 96),
          Write(dir, "h.pcx", small, 96, 95), dir.file("missing.bmp")})
        EXPECT_FALSE(Load(refusing, path, 0)) << path;
    std::vector<uint8_t> a(9216), b(9216);
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = uint8_t(i * 13 + i / 96 * 5);
        b[i] = uint8_t(i * 7 + 101);
    }
    const std::string outer[] = {Write(dir, "a.bmp", a), Write(dir, "a.pcx", a)};
    const std::string inner[] = {Write(dir, "b.pcx", b), Write(dir, "b.bmp", b)};
    EXPECT_TRUE(Load(refusing, outer[0], 3));
    EXPECT_TRUE(Load(refusing, outer[1], 3));
    EXPECT_EQ(Slots(refusing), Slots(classUnitGAF()));
    for (int c = 0; c < 2; ++c) {
        classUnitGAF alone, *self = nullptr;
        ASSERT_TRUE(Load(alone, outer[c], 0));
        ASSERT_TRUE(Load(alone, inner[c], 2));
        int yields = 0;
        classUnitGAF set([&] {
            if (++yields != 5000) return;
            EXPECT_TRUE(Load(*self, inner[c], 0));
            EXPECT_TRUE(Load(*self, inner[c], 2));
            self->MakePicGrey(0);
            self->AddBlackCross(0, 9);
        });
        self = &set;
        ASSERT_TRUE(Load(set, outer[c], 0));
        EXPECT_EQ(yields, 3 * 9216);
        EXPECT_EQ(Slots(set), Slots(alone)) << outer[c];
    }
}

// Frames are the slots reduced to 64 x 64 in slot order (black 12 gives 0, empty 100, white 255).
// Only the exact "UseNameEntry" stands for Name(); names are upper-cased Windows-1252, cut to 31.
// All or nothing: a name without a Windows-1252 code or an unusable destination fails and leaves
// what was there; a good write replaces a longer old file whole.
TEST(SaveGadget, FramesNamesAndAllOrNothing) {
    testsupport::TempDir dir;
    classUnitGAF set;
    set.ResetToBackground(0, 12);
    set.ResetToBackground(1, kEmptyIndex);
    set.Name("fromname");
    const std::string name31 = "abcdefghijklmnopqrstuvwxyz01234", upper31 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234";
    const std::pair<std::string, std::string> names[] = {{"UseNameEntry", "FROMNAME"},
                                                         {name31, upper31},
                                                         {name31 + "567890abc", upper31},
                                                         {"caf\xC3\xA9 \xC5\x93uvre", "CAF\xC9 \x8CUVRE"},
                                                         {"usenameentry", "USENAMEENTRY"}};  // café œuvre
    for (const auto& [given, stored] : names) {
        ASSERT_TRUE(set.SaveGadget(dir.file("n.gaf"), given)) << given;
        const auto file = ReadBytes(dir.file("n.gaf"));
        ASSERT_EQ(file.size(), 12440u);
        EXPECT_EQ(std::string(file.begin() + 24, file.begin() + 56), stored + std::string(32 - stored.size(), '\0'));
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 104, file.begin() + 4200), std::vector<uint8_t>(4096, 0));
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 4224, file.begin() + 8320), std::vector<uint8_t>(4096, 100));
        EXPECT_EQ(std::vector<uint8_t>(file.begin() + 8344, file.end()), std::vector<uint8_t>(4096, 255));
    }
    const auto existing = dir.file("existing.gaf");
    WriteBytes(existing, std::vector<uint8_t>(20000, 0xAA));
    EXPECT_FALSE(set.SaveGadget(existing, "arm\xCE\xA9"));  // Ω
    set.Name("\xCE\xA9mega");
    EXPECT_FALSE(set.SaveGadget(existing));
    EXPECT_EQ(ReadBytes(existing), std::vector<uint8_t>(20000, 0xAA));
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(set.SaveGadget(dir.file("missing/x.gaf"), "x"));
    EXPECT_FALSE(set.SaveGadget(dir.file("folder"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder"));
    ASSERT_TRUE(set.SaveGadget(existing, "usenameentry"));
    EXPECT_EQ(ReadBytes(existing), ReadBytes(dir.file("n.gaf")));
}

// Each refusal of a file operation with its reason: the reader's own, the slot's size, the unit
// name's character, the writer's cause.
TEST(PictureFiles, RefusalsSayWhy) {
    testsupport::TempDir dir;
    classUnitGAF set;
    const std::vector<uint8_t> small(95 * 96, 7);
    const std::string narrow = Write(dir, "narrow.bmp", small, 95, 96), low = Write(dir, "low.pcx", small, 96, 95);
    using enum imagefiles::FailureKind;
    const std::tuple<const char*, std::function<bool(imagefiles::FileFailure*)>, imagefiles::FailureKind, std::string>
        cases[] = {
            {"95 wide BMP", [&](auto* why) { return set.LoadBMPPicture(narrow, 0, why); }, WrongSize, "95 x 96"},
            {"95 high PCX", [&](auto* why) { return set.LoadPCXPicture(low, 0, why); }, WrongSize, "96 x 95"},
            {"BMP read as PCX", [&](auto* why) { return set.LoadPCXPicture(narrow, 0, why); }, OtherKind, "BMP"},
            {"missing", [&](auto* why) { return set.LoadBMPPicture(dir.file("gone.bmp"), 0, why); }, CannotOpen,
             "No such file or directory"},
            {"slot 3 saved", [&](auto* why) { return set.SaveAsBMP(3, dir.file("s.bmp"), why); }, CannotWrite,
             "no picture 3"},
            {"saved into a folder", [&](auto* why) { return set.SaveAsBMP(0, dir.path().string(), why); }, CannotWrite,
             "a folder"},
            {"name with omega", [&](auto* why) { return set.SaveGadget(dir.file("g.gaf"), "arm\xCE\xA9", why); },
             BadName, "\"\xCE\xA9\""},
            {"name not UTF-8", [&](auto* why) { return set.SaveGadget(dir.file("g.gaf"), "arm\xCE", why); }, BadName,
             "a byte that is not UTF-8 (0xCE)"},
            {"GAF into a missing folder", [&](auto* why) { return set.SaveGadget(dir.file("no/g.gaf"), "arm", why); },
             CannotWrite, "No such file or directory"}};
    for (const auto& [what, operation, kind, detail] : cases) {
        imagefiles::FileFailure why;
        EXPECT_FALSE(operation(&why)) << what;
        EXPECT_EQ(why.Kind, kind) << what;
        EXPECT_EQ(why.Detail, detail) << what;
    }
    EXPECT_EQ(Slots(set), Slots(classUnitGAF()));
}

}  // namespace
