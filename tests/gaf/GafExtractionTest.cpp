// ExtractGafFrames and its folder names: safe, unique names, one PNG file per frame with the
// layers drawn, and transparency only where the file leaves pixels empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "gaf/GafExtraction.h"
#include "imagefiles/modPalettes.h"
#include "support/GafBuilder.h"
#include "support/PngDecode.h"
#include "support/Refusals.h"
#include "support/TestFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The same folder names on every system: what Windows forbids or reads as a device is changed too.
TEST(EntryFolderName, SeparatorsControlsAndWhatWindowsRefusesBecomeUnderscores) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"a/b\\c", "a_b_c"},
        {"a<b>c:d\"e|f?g*h", "a_b_c_d_e_f_g_h"},
        {".hidden", "_hidden"},
        {"..", "__"},
        {"END.", "END_"},
        {"END ", "END_"},
        {"CON", "_CON"},
        {"nul.txt", "_nul.txt"},
        {"Lpt9 .x", "_Lpt9 .x"},
        {"COM\xC2\xB9", "_COM\xC2\xB9"},  // COM with a superscript one
        {"COM10", "COM10"},
        {"CONSOLE", "CONSOLE"},
        {"", "_"},
        {"x\x01y\x7F", "x_y_"},
        {"\xC2\x81Z\xC2\x9D", "_Z_"},  // U+0081 and U+009D, the undefined Windows-1252 codes
        {"\xC2\xA0\xC5\xB8\xE2\x82\xAC", "\xC2\xA0\xC5\xB8\xE2\x82\xAC"},  // no-break space, Ÿ, € stay
    };
    for (const auto& [name, folder] : cases) EXPECT_EQ(gaf::EntryFolderName(name), folder) << name;
}

// A name that differs only in case is taken too: on Windows and macOS its files would replace
// the other entry's.
TEST(EntryFolderNames, ARepeatedNameGetsTheFirstFreeNumber) {
    gaf::DecodedGaf gaf;
    for (const char* name : {"A", "A", "A~2", "", "/", "A", "a", "\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"})
        gaf.Entries.emplace_back().Name = name;
    EXPECT_EQ(gaf::EntryFolderNames(gaf), (std::vector<std::string>{"A", "A~2", "A~2~2", "_", "_~2", "A~3", "a~4",
                                                                    "\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89~2"}));
}

// 20,000 entries of one name: each name goes on from the number it last gave, so this takes
// linear time (trying ~2, ~3, ... afresh for each took seconds).
TEST(EntryFolderNames, TwentyThousandAlikeNamesAreNumberedInTurn) {
    gaf::DecodedGaf gaf;
    for (int i = 0; i < 20000; ++i) gaf.Entries.emplace_back().Name = "DUP";
    const std::vector<std::string> folders = gaf::EntryFolderNames(gaf);
    ASSERT_EQ(folders.size(), 20000u);
    EXPECT_EQ(folders[0], "DUP");
    for (std::size_t i = 1; i < folders.size(); ++i) ASSERT_EQ(folders[i], "DUP~" + std::to_string(i + 1));
}

struct Written {
    std::vector<std::string> Paths;
    gaf::WrittenFile Told() {
        return [this](const std::string& path, std::size_t count) {
            Paths.push_back(path);
            return count == Paths.size();
        };
    }
};

// Three entries: the build-menu kind (raw), a run-length frame and a layered frame, and a repeated
// name; a fourth entry without frames makes no folder. Each file holds the frame's indices with
// the layers drawn, all 256 game colours, and a tRNS chunk only where the file leaves pixels empty.
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
    Written written;
    EXPECT_EQ(gaf::ExtractGafFrames(*gaf, out, written.Told()), std::optional<std::size_t>(4));
    EXPECT_EQ(written.Paths, (std::vector<std::string>{
                                 testsupport::Joined(out, "ARMCAMP/0.png"), testsupport::Joined(out, "ARMCAMP/1.png"),
                                 testsupport::Joined(out, "FX/0.png"), testsupport::Joined(out, "FX~2/0.png")}));
    EXPECT_FALSE(std::filesystem::exists(out + "/EMPTY"));

    const std::tuple<std::string, uint32_t, uint32_t, Bytes, int> expected[] = {
        {"/ARMCAMP/0.png", 64, 64, raw, -1},  // raw, single layer: index 9 is a colour here
        {"/ARMCAMP/1.png", 2, 1, {3, 4}, -1},
        {"/FX/0.png", 3, 2, runs, 200},
        {"/FX~2/0.png", 2, 2, {5, 0, 0, 0}, 0},
    };
    for (const auto& [path, width, height, pixels, transparent] : expected) {
        const auto png = pngdecode::Decode(testsupport::ReadBytes(out + path));
        ASSERT_TRUE(png) << path;
        EXPECT_EQ(std::tuple(png->Header.width, png->Header.height, png->Header.color_type, png->Header.bit_depth),
                  std::tuple(width, height, uint8_t{3}, uint8_t{8}))
            << path;
        EXPECT_EQ(png->Pixels, pixels) << path;
        EXPECT_EQ(png->Colours,
                  std::vector<PaletteEntry>(modPalettes::GamePalette.begin(), modPalettes::GamePalette.end()));
        // tRNS may stop after the transparent index: every entry it holds is opaque but that one.
        std::optional<Bytes> alphas;
        if (transparent >= 0) {
            alphas.emplace(std::max(png->Alphas.value_or(Bytes{}).size(), std::size_t(transparent) + 1), 255);
            (*alphas)[std::size_t(transparent)] = 0;
        }
        EXPECT_EQ(png->Alphas, alphas) << path;
    }
}

// Where a folder or file goes, something else already there stops the extraction with its path:
// a plain file, or a symbolic link planted to lead the writes elsewhere, which is never followed.
// The files written before stay; the link's target is untouched.
TEST(ExtractGafFrames, StopsAtWhatCannotBeMadeAndNeverFollowsALinkBelowTheFolder) {
    const auto gaf = gaf::DecodeGaf(gafbuild::Build({{.Name = "A", .Frames = {gafbuild::Raw(1, 1, {1})}},
                                                     {.Name = "B", .Frames = {gafbuild::Raw(1, 1, {2})}}})
                                        .Bytes);
    ASSERT_TRUE(gaf);
    const std::function<void(testsupport::TempDir&)> plant[] = {
        [](testsupport::TempDir& dir) { testsupport::WriteBytes(dir.file("out/B"), {1}); },
        [](testsupport::TempDir& dir) { std::filesystem::create_directory_symlink("../outside", dir.file("out/B")); },
        [](testsupport::TempDir& dir) {
            std::filesystem::create_directory(dir.file("out/B"));
            std::filesystem::create_symlink("../../outside/victim.txt", dir.file("out/B/0.png"));
        },
    };
    const std::string reasons[] = {"the folder {out}/B: Not a directory",
                                   "{out}/B is a symbolic link, which is not followed here",
                                   "{out}/B/0.png is a symbolic link, which is not followed here"};
    for (std::size_t k = 0; k < std::size(plant); ++k) {
        testsupport::TempDir dir;
        std::filesystem::create_directories(dir.file("out"));
        std::filesystem::create_directories(dir.file("outside"));
        testsupport::WriteBytes(dir.file("outside/victim.txt"), {7});
        plant[k](dir);
        Written written;
        imagefiles::FileFailure why;
        EXPECT_FALSE(gaf::ExtractGafFrames(*gaf, dir.file("out"), written.Told(), &why)) << k;
        EXPECT_EQ(written.Paths, std::vector<std::string>{dir.file("out/A/0.png")});
        std::string reason = reasons[k];
        reason.replace(reason.find("{out}"), 5, dir.file("out"));
        EXPECT_EQ(std::tuple(why.Kind, imagefiles::ReasonText(why)),
                  std::tuple(imagefiles::FailureKind::CannotWrite, reason));
        EXPECT_EQ(testsupport::ReadBytes(dir.file("outside/victim.txt")), Bytes{7});
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("outside")), {}), 1);
    }
}

// Reading and extracting draw on one budget: files written past its limit are refused before
// they are written, and a WrittenFile that answers false stops the extraction (Cancelled).
TEST(ExtractGafFrames, StopsAtTheBudgetsEndOrWhenToldTo) {
    const auto bytes =
        gafbuild::Build(
            {{.Name = "A", .Frames = {gafbuild::Raw(1, 1, {1}), gafbuild::Raw(1, 1, {2}), gafbuild::Raw(1, 1, {3})}}})
            .Bytes;
    gaf::WorkBudget budget({.MaxFilesWritten = 2});
    const auto gaf = gaf::DecodeGaf(bytes, nullptr, budget);
    ASSERT_TRUE(gaf);
    testsupport::TempDir dir;
    imagefiles::FileFailure why;
    Written written;
    EXPECT_FALSE(gaf::ExtractGafFrames(*gaf, dir.file("out"), written.Told(), &why, budget));
    EXPECT_EQ(written.Paths.size(), 2u);
    EXPECT_EQ(testsupport::Said(why), testsupport::Said({imagefiles::FailureKind::TooManyPixels,
                                                         "the extraction would write more than 2 files"}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out/A/2.png")));

    const auto stopAfterOne = [](const std::string&, std::size_t) { return false; };
    EXPECT_FALSE(gaf::ExtractGafFrames(*gaf, dir.file("again"), stopAfterOne, &why));
    EXPECT_EQ(testsupport::Said(why), testsupport::Said({imagefiles::FailureKind::Cancelled, "1 file written"}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("again/A/1.png")));
}

}  // namespace
