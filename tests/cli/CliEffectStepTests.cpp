// The steps that change a slot in place, --auto, and how SLOT names the slots.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <ostream>
#include <functional>

#include "cli/CliTestSupport.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace {

using clitest::RunTool;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

// Runs the given steps after loading the pattern picture into every slot, then saves all
// three slots; returns the three saved files' bytes (empty when the run failed).
struct SlotsAfter {
    int Exit = -1;
    std::string Err;
    std::array<std::vector<uint8_t>, 3> Files;
};

SlotsAfter RunOnPattern(const TempDir& dir, const std::vector<std::string>& steps) {
    const std::string bmp = dir.file("pattern.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    std::vector<std::string> args;
    for (const char* slot : {"0", "1", "2"}) args.insert(args.end(), {"--load-bmp", slot, bmp});
    args.insert(args.end(), steps.begin(), steps.end());
    for (const char* slot : {"0", "1", "2"}) {
        args.insert(args.end(), {"--save-bmp", slot, dir.file(std::string("slot") + slot + ".bmp")});
    }
    SlotsAfter after;
    const auto run = RunTool(args);
    after.Exit = run.Exit;
    after.Err = run.Err;
    if (run.Exit == 0) {
        for (int slot = 0; slot < 3; ++slot) after.Files[slot] = ReadBytes(dir.file("slot" + std::to_string(slot) + ".bmp"));
    }
    return after;
}

// The three slots' files when the pattern is loaded everywhere and then Change is applied
// directly to the picture set.
std::array<std::vector<uint8_t>, 3> DirectOnPattern(const TempDir& dir, const std::function<void(classUnitGAF&)>& change) {
    const std::string bmp = dir.file("pattern.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    classUnitGAF unit;
    for (int32_t slot = 0; slot < 3; ++slot) EXPECT_TRUE(unit.LoadBMPPicture(bmp, slot));
    change(unit);
    std::array<std::vector<uint8_t>, 3> files;
    for (int32_t slot = 0; slot < 3; ++slot) files[static_cast<size_t>(slot)] = clitest::BmpFileOf(*unit.Slot(slot));
    return files;
}

struct EffectCase {
    const char* Label;
    std::vector<std::string> Steps;
    std::function<void(classUnitGAF&)> Direct;
};

// Failures name the case, not its bytes.
void PrintTo(const EffectCase& value, std::ostream* os) { *os << value.Label; }

class EffectStepTest : public ::testing::TestWithParam<EffectCase> {};

// Each step calls its own effect on its own slot, and only there.
TEST_P(EffectStepTest, EqualsTheEffectCalledDirectly) {
    TempDir dir;
    const auto after = RunOnPattern(dir, GetParam().Steps);
    ASSERT_EQ(after.Exit, 0) << after.Err;
    const auto expected = DirectOnPattern(dir, GetParam().Direct);
    const auto untouched = DirectOnPattern(dir, [](classUnitGAF&) {});
    for (size_t slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(after.Files[slot], expected[slot]) << "slot " << slot;
    }
    EXPECT_NE(expected, untouched) << "the case must change something to tell effects apart";
}

INSTANTIATE_TEST_SUITE_P(
    Cli, EffectStepTest,
    ::testing::Values(
        EffectCase{"Border", {"--border", "highlighted"}, [](classUnitGAF& u) { u.AddCavedogLikeBorder(1, 1); }},
        EffectCase{"Lighter", {"--lighter", "disabled"}, [](classUnitGAF& u) { u.MakePicLighter(2); }},
        EffectCase{"Grey", {"--grey", "normal"}, [](classUnitGAF& u) { u.MakePicGrey(0); }},
        EffectCase{"Grid", {"--grid", "2"}, [](classUnitGAF& u) { u.AddGrid(2); }},
        EffectCase{"Fill", {"--fill", "1", "42"}, [](classUnitGAF& u) { u.ResetToBackground(1, 42); }},
        EffectCase{"CrossTwo", {"--cross", "0", "2"}, [](classUnitGAF& u) { u.AddBlackCross(0, 2); }},
        EffectCase{"CrossFractionHalfToEven", {"--cross", "0", " 2.5 "}, [](classUnitGAF& u) { u.AddBlackCross(0, 2); }},
        EffectCase{"CrossFractionUp", {"--cross", "0", "3.5"}, [](classUnitGAF& u) { u.AddBlackCross(0, 4); }},
        EffectCase{"CrossSeven", {"--cross", "1", "+7"}, [](classUnitGAF& u) { u.AddBlackCross(1, 7); }},
        EffectCase{"StepsInOrder", {"--grey", "1", "--lighter", "1"}, [](classUnitGAF& u) {
            u.MakePicGrey(1);
            u.MakePicLighter(1);
        }}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(CliCross, SpacedFractionDrawsTheSameCrossAsTwo) {
    TempDir dir;
    const auto spaced = RunOnPattern(dir, {"--cross", "normal", " 2.5 "});
    const auto two = RunOnPattern(dir, {"--cross", "normal", "2"});
    const auto three = RunOnPattern(dir, {"--cross", "normal", "3"});
    ASSERT_EQ(spaced.Exit, 0);
    EXPECT_EQ(spaced.Files, two.Files);
    EXPECT_NE(spaced.Files, three.Files);
}

TEST(CliCross, TextThatIsNoNumberFailsWithTheWindowsMessage) {
    for (const std::string& size : std::vector<std::string>{"abc", "", "  ", "2x"}) {
        TempDir dir;
        const std::string after = dir.file("after.bmp");
        const auto run = RunTool({"--cross", "normal", size, "--save-bmp", "normal", after});
        EXPECT_EQ(run.Exit, 1) << '"' << size << '"';
        const std::string shown = size.empty() || size.find(' ') != std::string::npos ? "\"" + size + "\"" : size;
        EXPECT_EQ(run.Err, "iconwright-cli: --cross normal " + shown + ": You must enter a number !\n");
        EXPECT_FALSE(std::filesystem::exists(after));
    }
}

TEST(CliCross, SizeOutsideSixteenBitsFails) {
    for (const std::string& size : std::vector<std::string>{"40000", "-32769"}) {
        const auto run = RunTool({"--cross", "2", size});
        EXPECT_EQ(run.Exit, 1) << size;
        EXPECT_EQ(run.Err, "iconwright-cli: --cross 2 " + size + ": The cross size must lie between -32768 and 32767\n");
    }
}

TEST(CliFill, ColourOutsideThePaletteChangesNothing) {
    TempDir dir;
    const auto untouched = DirectOnPattern(dir, [](classUnitGAF&) {});
    for (const char* color : {"256", "-1", "32767", "-32768", "40000", "-99999999999999999999"}) {
        const auto after = RunOnPattern(dir, {"--fill", "normal", color});
        ASSERT_EQ(after.Exit, 0) << color << ": " << after.Err;
        EXPECT_EQ(after.Files, untouched) << color;
    }
}

TEST(CliSlots, WordsAndNumbersNameTheSameSlots) {
    const std::array<const char*, 3> words{"normal", "highlighted", "disabled"};
    for (int slot = 0; slot < 3; ++slot) {
        for (const std::string& name : {std::string(words[static_cast<size_t>(slot)]), std::to_string(slot)}) {
            TempDir dir;
            std::vector<std::string> args{"--fill", name, "7"};
            for (int other = 0; other < 3; ++other) {
                args.insert(args.end(), {"--save-bmp", words[static_cast<size_t>(other)],
                                         dir.file(std::to_string(other) + ".bmp")});
            }
            ASSERT_EQ(RunTool(args).Exit, 0) << name;
            for (int other = 0; other < 3; ++other) {
                const auto pixels = clitest::BmpPixelBytes(dir.file(std::to_string(other) + ".bmp"));
                ASSERT_EQ(pixels.size(), 9216u);
                const uint8_t expected = other == slot ? 7 : 255;
                EXPECT_EQ(std::count(pixels.begin(), pixels.end(), expected), 9216) << name << " slot " << other;
            }
        }
    }
}

// A PCX file whose colours sit at other indices than in the game palette, so that reading it
// with the wrong palette, or not as PCX at all, shows.
std::vector<uint8_t> ShuffledPcx() {
    Palette reversed{};
    for (size_t i = 0; i < 256; ++i) reversed[i] = modPalettes::GamePalette[255 - i];
    const Picture pattern = clitest::PatternPicture();
    return clitest::PcxFileOf(std::vector<uint8_t>(pattern.begin(), pattern.end()), 96, reversed);
}

TEST(CliAuto, UpperCasePcxNameUsesThePcxReader) {
    TempDir dir;
    const std::string pcx = dir.file("CORKROG.PCX");
    WriteBytes(pcx, ShuffledPcx());
    const std::string bmp = dir.file("pattern.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));

    std::vector<std::string> args{"--load-bmp", "normal", bmp, "--auto", pcx};
    for (const char* slot : {"0", "1", "2"}) args.insert(args.end(), {"--save-bmp", slot, dir.file(std::string("s") + slot)});
    const auto run = RunTool(args);
    ASSERT_EQ(run.Exit, 0) << run.Err;

    classUnitGAF direct;
    ASSERT_TRUE(direct.LoadBMPPicture(bmp, 0));
    ASSERT_TRUE(direct.LoadPCXPicture(pcx, 1));
    ASSERT_TRUE(direct.LoadPCXPicture(pcx, 2));
    direct.MakePicLighter(1);
    direct.MakePicGrey(2);
    for (int32_t slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(ReadBytes(dir.file("s" + std::to_string(slot))), clitest::BmpFileOf(*direct.Slot(slot)))
            << "slot " << slot;
    }
    EXPECT_NE(*direct.Slot(1), *direct.Slot(2));
}

TEST(CliAuto, OtherNamesUseTheBmpReader) {
    TempDir dir;
    // BMP contents under a name that merely contains ".pcx" are read as BMP...
    const std::string bmp = dir.file("unit.pcx.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    ASSERT_EQ(RunTool({"--auto", bmp}).Exit, 0);
    // ...while BMP contents named .Pcx go to the PCX reader, which refuses them.
    const std::string misnamed = dir.file("unit.Pcx");
    WriteBytes(misnamed, clitest::BmpFileOf(clitest::PatternPicture()));
    const auto run = RunTool({"--auto", misnamed});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, "iconwright-cli: --auto " + misnamed + ": Error whilst processing task\n");
}

TEST(CliAuto, MissingFileFailsAndStopsTheRun) {
    TempDir dir;
    const std::string missing = dir.file("gone.pcx");
    const std::string after = dir.file("after.gaf");
    const auto run = RunTool({"--unit", "corkrog", "--auto", missing, "--write-gaf", after});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, "iconwright-cli: --auto " + missing + ": Error whilst processing task\n");
    EXPECT_FALSE(std::filesystem::exists(after));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
