// ExtractGafFrames and its folder names: safe, unique names, one PNG file per frame with the
// layers drawn, and transparency only where the file leaves pixels empty.
#include <gtest/gtest.h>

#include <filesystem>

#include "gaf/GafExtraction.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modPalettes.h"
#include "support/GafBuilder.h"
#include "support/TestFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(EntryFolderName, SeparatorsControlsAndALeadingDotBecomeUnderscores) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"a/b\\c", "a_b_c"},
        {".hidden", "_hidden"},
        {"..", "_."},
        {"", "_"},
        {"x\x01y\x7F", "x_y_"},
        {"\xC2\x81Z\xC2\x9D", "_Z_"},  // U+0081 and U+009D, the undefined Windows-1252 codes
        {"\xC2\xA0\xC5\xB8\xE2\x82\xAC", "\xC2\xA0\xC5\xB8\xE2\x82\xAC"},  // no-break space, Ÿ, € stay
    };
    for (const auto& [name, folder] : cases) EXPECT_EQ(gaf::EntryFolderName(name), folder) << name;
}

TEST(EntryFolderNames, ARepeatedNameGetsTheFirstFreeNumber) {
    gaf::DecodedGaf gaf;
    for (const char* name : {"A", "A", "A~2", "", "/", "A", "a"}) gaf.Entries.emplace_back().Name = name;
    EXPECT_EQ(gaf::EntryFolderNames(gaf), (std::vector<std::string>{"A", "A~2", "A~2~2", "_", "_~2", "A~3", "a"}));
}

// Three entries: the build-menu kind (raw), a run-length frame and a layered frame, and a repeated
// name; a fourth entry without frames makes no folder.
TEST(ExtractGafFrames, OnePngPerFrameInTheGamePaletteWithTransparencyOnlyWhereItIsMeant) {
    using gafbuild::Raw;
    const Bytes raw(64 * 64, 9), runs{1, 9, 2, 200, 200, 200};
    const auto file = gafbuild::Build({
        {.Name = "ARMCAMP", .Frames = {Raw(64, 64, raw), Raw(2, 1, {3, 4})}},
        {.Name = "FX", .Frames = {gafbuild::Compressed(3, 2, runs, 0, 0, 200)}},
        {.Name = "FX", .Frames = {{.Width = 2, .Height = 2, .Transparency = 0, .Layers = {Raw(1, 1, {5})}}}},
        {.Name = "EMPTY"},
    });
    const auto gaf = gaf::DecodeGaf(file.Bytes);
    ASSERT_TRUE(gaf);
    testsupport::TempDir dir;
    const std::string out = dir.file("frames");
    std::vector<std::string> written;
    ASSERT_TRUE(gaf::ExtractGafFrames(*gaf, out, [&](const std::string& path) { written.push_back(path); }));
    EXPECT_EQ(written, (std::vector<std::string>{dir.file("frames/ARMCAMP/0.png"), dir.file("frames/ARMCAMP/1.png"),
                                                 dir.file("frames/FX/0.png"), dir.file("frames/FX~2/0.png")}));
    EXPECT_FALSE(std::filesystem::exists(out + "/EMPTY"));

    // Each file is the game-palette PNG of the frame with the layers drawn (its bytes are checked
    // in tests/imagefiles); only layers leave pixels transparent.
    const std::tuple<std::string, int, int, Bytes, std::optional<uint8_t>> expected[] = {
        {"/ARMCAMP/0.png", 64, 64, raw, std::nullopt},  // raw, single layer: index 9 is a colour here
        {"/ARMCAMP/1.png", 2, 1, {3, 4}, std::nullopt},
        {"/FX/0.png", 3, 2, runs, 200},
        {"/FX~2/0.png", 2, 2, {5, 0, 0, 0}, 0},
    };
    for (const auto& [path, width, height, pixels, transparent] : expected)
        EXPECT_EQ(testsupport::ReadBytes(out + path),
                  modPNG::EncodePng(pixels, modPalettes::GamePalette, width, height, transparent))
            << path;
}

TEST(ExtractGafFrames, StopsAtAFolderThatCannotBeMadeKeepingWhatWasWritten) {
    const auto gaf = gaf::DecodeGaf(gafbuild::Build({{.Name = "A", .Frames = {gafbuild::Raw(1, 1, {1})}},
                                                     {.Name = "B", .Frames = {gafbuild::Raw(1, 1, {2})}}})
                                        .Bytes);
    ASSERT_TRUE(gaf);
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file("B"), {1});  // a file where the folder B should go
    std::vector<std::string> written;
    imagefiles::FileFailure why;
    EXPECT_FALSE(gaf::ExtractGafFrames(
        *gaf, dir.path().string(), [&](const std::string& path) { written.push_back(path); }, &why));
    EXPECT_EQ(written, std::vector<std::string>{dir.file("A/0.png")});
    EXPECT_EQ(why.Kind, imagefiles::FailureKind::CannotWrite);
    EXPECT_EQ(why.Detail, "the folder " + dir.file("B") + " cannot be made");
    EXPECT_TRUE(std::filesystem::exists(dir.file("A/0.png")));
}

}  // namespace
