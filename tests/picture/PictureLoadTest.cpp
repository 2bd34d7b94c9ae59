#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"
#include "PictureTestUtil.h"

namespace {

using testsupport::ReadBytes;
using testsupport::WriteBytes;
using Loader = std::function<bool(classUnitGAF&, int32_t)>;

std::vector<uint8_t> Pattern(int width, int height, int seed) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 13 + i / 96 * 5 + seed) & 0xFF);
    return pixels;
}

// A file colour table unlike the game palette, so that every load has real matching to do.
Palette OddPalette() {
    Palette p{};
    for (std::size_t i = 0; i < 256; ++i)
        p[i] = PaletteEntry{static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i), 0};
    return p;
}

// What a slot must hold after loading these file pixels: each one's colour by the plain rule.
Picture Expected(const std::vector<uint8_t>& pixels, const Palette& filePalette) {
    Picture out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const PaletteEntry& c = filePalette[pixels[i]];
        out[i] = modPalettes::NearestIndexPlain(modPalettes::GamePalette, c.Red, c.Green, c.Blue);
    }
    return out;
}

// A version 5 PCX file, every pixel its own packet (values with both top bits set as runs of 1).
std::vector<uint8_t> EncodePcx(const std::vector<uint8_t>& pixels, const Palette& palette, int width, int height) {
    std::vector<uint8_t> file(128, 0);
    file[0] = 10, file[1] = 5, file[2] = 1, file[3] = 8, file[65] = 1;
    file[8] = static_cast<uint8_t>(width - 1), file[10] = static_cast<uint8_t>(height - 1);
    for (uint8_t v : pixels) {
        if ((v & 0xC0) == 0xC0) file.push_back(0xC1);
        file.push_back(v);
    }
    file.push_back(12);
    for (const PaletteEntry& e : palette) file.insert(file.end(), {e.Red, e.Green, e.Blue});
    return file;
}

class PictureLoad : public ::testing::Test {
protected:
    // Writes a BMP or PCX file, as the name's extension says, and gives its path.
    std::string File(const std::string& name, const std::vector<uint8_t>& pixels, const Palette& palette, int w = 96,
                     int h = 96) {
        WriteBytes(dir.file(name), name.ends_with(".pcx") ? EncodePcx(pixels, palette, w, h)
                                                          : modBmp::EncodeBmp(pixels, palette, w, h));
        return dir.file(name);
    }
    // Loads path into a slot with the reader its extension names.
    static Loader Load(const std::string& path) {
        return [path](classUnitGAF& s, int32_t t) {
            return path.ends_with(".pcx") ? s.LoadPCXPicture(path, t) : s.LoadBMPPicture(path, t);
        };
    }

    testsupport::TempDir dir;
    const Palette odd = OddPalette();
    const std::vector<uint8_t> a = Pattern(96, 96, 0);
    const std::vector<uint8_t> b = Pattern(96, 96, 101);
};

// 95 x 96 and 96 x 95 files, missing and junk files are refused before any slot changes, also
// for a TAPic outside 0 to 2 (the size is checked first); a good file there is true and inert.
TEST_F(PictureLoad, RefusalsAndNoSlotLeaveEverySlotAlone) {
    int yields = 0;
    classUnitGAF set([&] { ++yields; });
    picturetest::FillSlotsDistinctly(set);
    const auto before = picturetest::Slots(set);
    const std::vector<uint8_t> small = Pattern(96, 95, 3);
    for (const char* junk : {"junk.bmp", "junk.pcx"}) WriteBytes(dir.file(junk), std::vector<uint8_t>(2000, 0x42));
    const std::vector<Loader> refused{
        Load(File("w.bmp", small, odd, 95, 96)), Load(File("h.bmp", small, odd, 96, 95)),
        Load(File("w.pcx", small, odd, 95, 96)), Load(File("h.pcx", small, odd, 96, 95)),
        Load(dir.file("missing.bmp")),          Load(dir.file("missing.pcx")),
        Load(dir.file("junk.bmp")),             Load(dir.file("junk.pcx"))};
    for (std::size_t i = 0; i < refused.size(); ++i)
        for (int32_t tapic : {0, 3}) EXPECT_FALSE(refused[i](set, tapic)) << "case " << i << " TAPic " << tapic;
    EXPECT_TRUE(set.LoadBMPPicture(File("a.bmp", a, odd), 3));
    EXPECT_TRUE(set.LoadPCXPicture(File("a.pcx", a, odd), -1));
    EXPECT_EQ(picturetest::Slots(set), before);
    EXPECT_EQ(yields, 0);
}

// While a load copies, a command run in its yield loads another file into the same slot and
// into another one, and greys and crosses the slot: the load still ends with its own picture.
TEST_F(PictureLoad, CommandsDuringTheYieldsCannotDisturbTheCopy) {
    const Palette& game = modPalettes::GamePalette;
    const Picture expectedA = Expected(a, odd), expectedB = Expected(b, game);
    ASSERT_NE(expectedA, expectedB);
    const std::string bmpA = File("a.bmp", a, odd), pcxA = File("a.pcx", a, odd);
    const std::string bmpB = File("b.bmp", b, game), pcxB = File("b.pcx", b, game);
    const std::pair<std::string, std::string> combinations[] = {{bmpA, bmpB}, {bmpA, pcxB}, {pcxA, pcxB}, {pcxA, bmpB}};
    for (std::size_t c = 0; c < 4; ++c) {
        const Loader outer = Load(combinations[c].first), inner = Load(combinations[c].second);
        classUnitGAF* self = nullptr;
        int yields = 0;
        classUnitGAF set([&] {
            if (++yields != 5000) return;
            EXPECT_TRUE(inner(*self, 0));
            EXPECT_TRUE(inner(*self, 2));
            self->MakePicGrey(0);
            self->AddBlackCross(0, 9);
        });
        self = &set;
        ASSERT_TRUE(outer(set, 0)) << "combination " << c;
        EXPECT_EQ(yields, 3 * 9216) << "combination " << c;
        EXPECT_EQ(*set.Slot(0), expectedA) << "combination " << c;
        EXPECT_EQ(*set.Slot(2), expectedB) << "combination " << c;
        EXPECT_EQ(picturetest::CountOf(*set.Slot(1), 255), std::size_t{kPicturePixels}) << "combination " << c;
    }
}

TEST_F(PictureLoad, SaveAsBmpWritesBottomRowFirstAndReloads) {
    classUnitGAF set;
    ASSERT_TRUE(set.LoadBMPPicture(File("a.bmp", a, odd), 1));
    set.AddCavedogLikeBorder(1);
    ASSERT_TRUE(set.SaveAsBMP(1, dir.file("saved.bmp")));
    const auto bytes = ReadBytes(dir.file("saved.bmp"));
    ASSERT_EQ(bytes.size(), 10294u);
    EXPECT_EQ(bytes[1078], picturetest::At(*set.Slot(1), 0, 95));
    EXPECT_EQ(bytes[10293], picturetest::At(*set.Slot(1), 95, 0));
    ASSERT_TRUE(set.LoadBMPPicture(dir.file("saved.bmp"), 0));
    EXPECT_EQ(*set.Slot(0), *set.Slot(1));  // already lowest indices: nothing collapses

    // Indices sharing a colour with a lower one come back as the lowest.
    const std::pair<uint8_t, uint8_t> collapses[] = {{10, 0}, {15, 0}, {240, 0}, {245, 0}, {248, 7}, {251, 208}};
    for (const auto& [saved, loaded] : collapses) {
        set.ResetToBackground(2, saved);
        ASSERT_TRUE(set.SaveAsBMP(2, dir.file("c.bmp")));
        ASSERT_TRUE(set.LoadBMPPicture(dir.file("c.bmp"), 2));
        EXPECT_EQ(picturetest::CountOf(*set.Slot(2), loaded), std::size_t{kPicturePixels}) << int(saved);
    }

    EXPECT_FALSE(set.SaveAsBMP(3, dir.file("none.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.bmp")));
    EXPECT_FALSE(set.SaveAsBMP(0, dir.file("missing/x.bmp")));
}

}  // namespace
