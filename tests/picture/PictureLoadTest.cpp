#include <gtest/gtest.h>

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
using testsupport::TempDir;
using testsupport::WriteBytes;

// A file colour table unlike the game palette, so that every load has real matching to do.
Palette OddPalette() {
    Palette p{};
    for (std::size_t i = 0; i < 256; ++i)
        p[i] = PaletteEntry{static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i), 0};
    return p;
}

std::vector<uint8_t> Pattern(int width, int height, int seed) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 13 + i / 96 * 5 + seed) & 0xFF);
    return pixels;
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

std::string WriteBmp(const TempDir& dir, const std::string& name, const std::vector<uint8_t>& pixels,
                     const Palette& palette, int width, int height) {
    const auto path = dir.file(name);
    WriteBytes(path, modBmp::EncodeBmp(pixels, palette, width, height));
    return path;
}

// An 8-bit, one-plane, version 5 PCX file; every pixel its own packet (values with both top
// bits set as runs of one).
std::string WritePcx(const TempDir& dir, const std::string& name, const std::vector<uint8_t>& pixels,
                     const Palette& palette, int width, int height) {
    using testsupport::PutU16;
    using testsupport::PutU8;
    std::vector<uint8_t> file;
    PutU8(file, 10);
    PutU8(file, 5);
    PutU8(file, 1);
    PutU8(file, 8);
    PutU16(file, 0);
    PutU16(file, 0);
    PutU16(file, static_cast<unsigned>(width - 1));
    PutU16(file, static_cast<unsigned>(height - 1));
    file.resize(65, 0);
    PutU8(file, 1);
    PutU16(file, static_cast<unsigned>(width));
    PutU16(file, 1);
    file.resize(128, 0);
    for (uint8_t v : pixels) {
        if ((v & 0xC0) == 0xC0) PutU8(file, 0xC1);
        PutU8(file, v);
    }
    PutU8(file, 12);
    for (const PaletteEntry& e : palette) {
        PutU8(file, e.Red);
        PutU8(file, e.Green);
        PutU8(file, e.Blue);
    }
    const auto path = dir.file(name);
    WriteBytes(path, file);
    return path;
}

struct SlotsSnapshot {
    explicit SlotsSnapshot(const classUnitGAF& set) : pics{*set.Slot(0), *set.Slot(1), *set.Slot(2)} {}
    std::array<Picture, 3> pics;
    bool operator==(const SlotsSnapshot&) const = default;
};

class PictureLoad : public ::testing::Test {
protected:
    TempDir dir;
    const Palette odd = OddPalette();
    const std::vector<uint8_t> a = Pattern(96, 96, 0);
    const std::vector<uint8_t> b = Pattern(96, 96, 101);
};

TEST_F(PictureLoad, BmpPixelsAreMatchedToTheGamePalette) {
    const auto path = WriteBmp(dir, "a.bmp", a, odd, 96, 96);
    classUnitGAF set;
    ASSERT_TRUE(set.LoadBMPPicture(path, 1));
    EXPECT_EQ(*set.Slot(1), Expected(a, odd));
    EXPECT_EQ(picturetest::CountOf(*set.Slot(0), 255), static_cast<std::size_t>(kPicturePixels));
}

TEST_F(PictureLoad, PcxPixelsAreMatchedToTheGamePalette) {
    const auto path = WritePcx(dir, "a.pcx", a, odd, 96, 96);
    classUnitGAF set;
    ASSERT_TRUE(set.LoadPCXPicture(path, 2));
    EXPECT_EQ(*set.Slot(2), Expected(a, odd));
}

TEST_F(PictureLoad, WrongSizesAndBadFilesLeaveEverySlotAlone) {
    classUnitGAF set;
    picturetest::FillSlotsDistinctly(set);
    const SlotsSnapshot before(set);
    const std::vector<uint8_t> small = Pattern(96, 95, 3);
    EXPECT_FALSE(set.LoadBMPPicture(WriteBmp(dir, "w.bmp", small, odd, 95, 96), 0));
    EXPECT_FALSE(set.LoadBMPPicture(WriteBmp(dir, "h.bmp", small, odd, 96, 95), 0));
    EXPECT_FALSE(set.LoadPCXPicture(WritePcx(dir, "w.pcx", small, odd, 95, 96), 0));
    EXPECT_FALSE(set.LoadPCXPicture(WritePcx(dir, "h.pcx", small, odd, 96, 95), 0));
    EXPECT_FALSE(set.LoadBMPPicture(dir.file("missing.bmp"), 0));
    EXPECT_FALSE(set.LoadPCXPicture(dir.file("missing.pcx"), 0));
    WriteBytes(dir.file("junk"), std::vector<uint8_t>(2000, 0x42));
    EXPECT_FALSE(set.LoadBMPPicture(dir.file("junk"), 0));
    EXPECT_FALSE(set.LoadPCXPicture(dir.file("junk"), 0));
    // The size is checked before the slot number, so a bad file is refused even for no slot.
    EXPECT_FALSE(set.LoadBMPPicture(dir.file("w.bmp"), 3));
    EXPECT_FALSE(set.LoadPCXPicture(dir.file("h.pcx"), 3));
    EXPECT_TRUE(before == SlotsSnapshot(set));
}

TEST_F(PictureLoad, NoSlotIsTrueAndChangesNothing) {
    int yields = 0;
    classUnitGAF set([&] { ++yields; });
    picturetest::FillSlotsDistinctly(set);
    const SlotsSnapshot before(set);
    EXPECT_TRUE(set.LoadBMPPicture(WriteBmp(dir, "a.bmp", a, odd, 96, 96), 3));
    EXPECT_TRUE(set.LoadPCXPicture(WritePcx(dir, "a.pcx", a, odd, 96, 96), -1));
    EXPECT_TRUE(before == SlotsSnapshot(set));
    EXPECT_EQ(yields, 0);
}

TEST_F(PictureLoad, YieldsOncePerCopiedPixel) {
    int yields = 0;
    classUnitGAF set([&] { ++yields; });
    ASSERT_TRUE(set.LoadBMPPicture(WriteBmp(dir, "a.bmp", a, odd, 96, 96), 0));
    EXPECT_EQ(yields, 9216);
    ASSERT_TRUE(set.LoadPCXPicture(WritePcx(dir, "a.pcx", a, odd, 96, 96), 0));
    EXPECT_EQ(yields, 2 * 9216);
}

// While the outer load copies, a command run in its yield loads another file into the same slot
// and into another one, and greys the slot: the outer load still ends with its own picture.
void CheckLoadSurvivesCommandsDuringItsYields(const std::function<bool(classUnitGAF&, int32_t)>& outerLoad,
                                              const std::function<bool(classUnitGAF&, int32_t)>& innerLoad,
                                              const Picture& outerPicture, const Picture& innerPicture) {
    classUnitGAF* self = nullptr;
    int yields = 0;
    bool inside = false;
    classUnitGAF set([&] {
        ++yields;
        if (inside || yields != 5000) return;
        inside = true;
        EXPECT_TRUE(innerLoad(*self, 0));
        EXPECT_TRUE(innerLoad(*self, 2));
        self->MakePicGrey(0);
        self->AddBlackCross(0, 9);
        inside = false;
    });
    self = &set;
    ASSERT_TRUE(outerLoad(set, 0));
    EXPECT_EQ(yields, 3 * 9216);
    EXPECT_EQ(*set.Slot(0), outerPicture);
    EXPECT_EQ(*set.Slot(2), innerPicture);
    EXPECT_EQ(picturetest::CountOf(*set.Slot(1), 255), static_cast<std::size_t>(kPicturePixels));
}

TEST_F(PictureLoad, CommandsDuringTheYieldsCannotDisturbTheCopy) {
    const auto bmpA = WriteBmp(dir, "a.bmp", a, odd, 96, 96);
    const auto pcxA = WritePcx(dir, "a.pcx", a, odd, 96, 96);
    const auto bmpB = WriteBmp(dir, "b.bmp", b, modPalettes::GamePalette, 96, 96);
    const auto pcxB = WritePcx(dir, "b.pcx", b, modPalettes::GamePalette, 96, 96);
    const Picture expectedA = Expected(a, odd);
    const Picture expectedB = Expected(b, modPalettes::GamePalette);
    ASSERT_NE(expectedA, expectedB);

    const auto bmp = [](const std::string& path) {
        return [path](classUnitGAF& s, int32_t t) { return s.LoadBMPPicture(path, t); };
    };
    const auto pcx = [](const std::string& path) {
        return [path](classUnitGAF& s, int32_t t) { return s.LoadPCXPicture(path, t); };
    };
    CheckLoadSurvivesCommandsDuringItsYields(bmp(bmpA), bmp(bmpB), expectedA, expectedB);
    CheckLoadSurvivesCommandsDuringItsYields(bmp(bmpA), pcx(pcxB), expectedA, expectedB);
    CheckLoadSurvivesCommandsDuringItsYields(pcx(pcxA), pcx(pcxB), expectedA, expectedB);
    CheckLoadSurvivesCommandsDuringItsYields(pcx(pcxA), bmp(bmpB), expectedA, expectedB);
}

TEST_F(PictureLoad, SaveAsBmpRoundTrips) {
    classUnitGAF set;
    ASSERT_TRUE(set.LoadBMPPicture(WriteBmp(dir, "a.bmp", a, odd, 96, 96), 1));
    set.AddCavedogLikeBorder(1);
    const auto out = dir.file("saved.bmp");
    ASSERT_TRUE(set.SaveAsBMP(1, out));
    const auto bytes = ReadBytes(out);
    ASSERT_EQ(bytes.size(), 10294u);
    EXPECT_EQ(bytes[1078], picturetest::At(*set.Slot(1), 0, 95));  // bottom row first
    EXPECT_EQ(bytes[10293], picturetest::At(*set.Slot(1), 95, 0));

    classUnitGAF other;
    ASSERT_TRUE(other.LoadBMPPicture(out, 0));
    EXPECT_EQ(*other.Slot(0), *set.Slot(1));  // already lowest indices: nothing collapses

    EXPECT_FALSE(set.SaveAsBMP(3, dir.file("none.bmp")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.bmp")));
    EXPECT_FALSE(set.SaveAsBMP(0, dir.file("missing/x.bmp")));
}

TEST_F(PictureLoad, LonePixelLandsInItsGafFrameCell) {
    std::vector<uint8_t> pixels(9216, kEmptyIndex);
    pixels[96 + 1] = 243;  // a black held at several indices
    classUnitGAF set;
    ASSERT_TRUE(set.LoadBMPPicture(WriteBmp(dir, "lone.bmp", pixels, modPalettes::GamePalette, 96, 96), 0));
    const auto path = dir.file("lone.gaf");
    ASSERT_TRUE(set.SaveGadget(path, "lone"));
    const auto file = ReadBytes(path);
    ASSERT_EQ(file.size(), 12440u);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(file[104 + static_cast<std::size_t>(i)], i == 65 ? 0 : 100) << i;
}

}  // namespace
