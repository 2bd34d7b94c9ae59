// The steps that read and write files: the road from a BMP file to the GAF file, the preview,
// and how a failing step ends the run.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/CliTestSupport.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/TestFiles.h"

namespace {

using clitest::RunTool;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

constexpr const char* kBadPicture = "The background image must be a 96x96, 256 color bitmap";

TEST(CliRoad, GafFileEqualsWhatTheSameStepsWriteDirectly) {
    TempDir dir;
    const std::string bmp = dir.file("armcamp.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    const std::string gaf = dir.file("armcamp_GADGET.GAF");

    const auto run = RunTool({"--unit", "armcamp", "--load-bmp", "normal", bmp, "--write-gaf", gaf});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "");

    classUnitGAF direct;
    direct.Name("armcamp");
    ASSERT_TRUE(direct.LoadBMPPicture(bmp, 0));
    const std::string expected = dir.file("direct.GAF");
    ASSERT_TRUE(direct.SaveGadget(expected));

    const auto written = ReadBytes(gaf);
    EXPECT_EQ(written.size(), 12440u);
    EXPECT_EQ(written, ReadBytes(expected));
    // The loaded picture really went in: a white normal frame would read differently.
    classUnitGAF white;
    white.Name("armcamp");
    ASSERT_TRUE(white.SaveGadget(dir.file("white.GAF")));
    EXPECT_NE(written, ReadBytes(dir.file("white.GAF")));
}

TEST(CliRoad, NameIsEncodedAsWindows1252AndUpperCased) {
    TempDir dir;
    const std::string gaf = dir.file("cafe.gaf");
    const auto run = RunTool({"--unit", "caf\xC3\xA9", "--write-gaf", gaf});  // "café"
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const auto bytes = ReadBytes(gaf);
    ASSERT_EQ(bytes.size(), 12440u);
    const std::vector<uint8_t> name(bytes.begin() + 24, bytes.begin() + 29);
    EXPECT_EQ(name, (std::vector<uint8_t>{'C', 'A', 'F', 0xC9, 0}));
}

TEST(CliWriteGaf, WithoutAUnitNameFails) {
    TempDir dir;
    const std::string gaf = dir.file("x.gaf");
    for (const auto& args : std::vector<std::vector<std::string>>{{"--write-gaf", gaf},
                                                                   {"--unit", "", "--write-gaf", gaf}}) {
        const auto run = RunTool(args);
        EXPECT_EQ(run.Exit, 1);
        EXPECT_EQ(run.Err, "iconwright-cli: --write-gaf " + gaf +
                               ": You can't save without specifying your units UNITNAME\n");
        EXPECT_FALSE(std::filesystem::exists(gaf));
    }
}

TEST(CliWriteGaf, NameWithoutAWindows1252CodeFailsAndWritesNothing) {
    TempDir dir;
    const std::string gaf = dir.file("omega.gaf");
    const auto run = RunTool({"--unit", "arm\xCE\xA9", "--write-gaf", gaf});  // "armΩ"
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, "iconwright-cli: --write-gaf " + gaf +
                           ": The .GAF file could not be written. The unit name has a character that "
                           "Windows-1252 has no code for.\n");
    EXPECT_FALSE(std::filesystem::exists(gaf));
}

TEST(CliWriteGaf, UnwritableDestinationFails) {
    TempDir dir;
    const std::string gaf = dir.file("no-such-folder/x.gaf");
    const auto run = RunTool({"--unit", "armcamp", "--write-gaf", gaf});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, "iconwright-cli: --write-gaf " + gaf + ": The .GAF file could not be written.\n");
}

TEST(CliSaveBmp, UnwritableDestinationFails) {
    TempDir dir;
    const auto run = RunTool({"--save-bmp", "disabled", dir.path().string()});  // a folder
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, "iconwright-cli: --save-bmp disabled " + dir.path().string() +
                           ": The picture could not be saved.\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
}

TEST(CliSaveBmp, WritesTheSlotAsLoaded) {
    TempDir dir;
    const std::string bmp = dir.file("in.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    const std::string saved = dir.file("out.bmp");
    ASSERT_EQ(RunTool({"--load-bmp", "2", bmp, "--save-bmp", "disabled", saved}).Exit, 0);

    classUnitGAF direct;
    ASSERT_TRUE(direct.LoadBMPPicture(bmp, 2));
    EXPECT_EQ(ReadBytes(saved), clitest::BmpFileOf(*direct.Slot(2)));
}

TEST(CliFailure, StopsAtTheFailingStepAndKeepsEarlierFiles) {
    TempDir dir;
    const std::string before = dir.file("before.bmp");
    const std::string missing = dir.file("my pic\n.bmp");
    const std::string after = dir.file("after.bmp");

    const auto run = RunTool({"--save-bmp", "normal", before, "--load-bmp", "normal", missing, "--save-bmp",
                          "normal", after});

    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Out, "");
    // The line break in the name is escaped: the failure stays one line.
    EXPECT_EQ(run.Err, "iconwright-cli: --load-bmp normal \"" + dir.file("my pic\\n.bmp") + "\": " + kBadPicture + "\n");
    EXPECT_EQ(ReadBytes(before).size(), 10294u);
    EXPECT_FALSE(std::filesystem::exists(after));
}

TEST(CliFailure, PictureOfTheWrongSizeIsRefusedWithTheWindowsMessage) {
    TempDir dir;
    const std::string small = dir.file("small.bmp");
    const std::vector<uint8_t> pixels(95 * 96, 3);
    WriteBytes(small, modBmp::EncodeBmp(pixels, modPalettes::GamePalette, 95, 96));
    const auto bmpRun = RunTool({"--load-bmp", "highlighted", small});
    EXPECT_EQ(bmpRun.Exit, 1);
    EXPECT_EQ(bmpRun.Err, "iconwright-cli: --load-bmp highlighted " + small + ": " + kBadPicture + "\n");

    const std::string pcx = dir.file("small.pcx");
    WriteBytes(pcx, clitest::PcxFileOf(std::vector<uint8_t>(64 * 64, 3), 64, modPalettes::GamePalette));
    const auto pcxRun = RunTool({"--load-pcx", "1", pcx});
    EXPECT_EQ(pcxRun.Exit, 1);
    EXPECT_EQ(pcxRun.Err, "iconwright-cli: --load-pcx 1 " + pcx + ": " + kBadPicture + "\n");
}

TEST(CliLoadPcx, LoadsThroughThePcxReader) {
    TempDir dir;
    const Picture pattern = clitest::PatternPicture();
    const std::string pcx = dir.file("pic.pcx");
    WriteBytes(pcx, clitest::PcxFileOf(std::vector<uint8_t>(pattern.begin(), pattern.end()), 96,
                                       modPalettes::GamePalette));
    const std::string saved = dir.file("out.bmp");
    ASSERT_EQ(RunTool({"--load-pcx", "normal", pcx, "--save-bmp", "0", saved}).Exit, 0);

    classUnitGAF direct;
    ASSERT_TRUE(direct.LoadPCXPicture(pcx, 0));
    EXPECT_EQ(ReadBytes(saved), clitest::BmpFileOf(*direct.Slot(0)));
}

TEST(CliPreview, WritesTheReducedFrameAsA64By64Bmp) {
    TempDir dir;
    const std::string bmp = dir.file("in.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    const std::string preview = dir.file("preview.bmp");
    ASSERT_EQ(RunTool({"--load-bmp", "highlighted", bmp, "--preview", "highlighted", preview}).Exit, 0);

    const auto bytes = ReadBytes(preview);
    ASSERT_EQ(bytes.size(), 1078u + 64u * 64u);
    EXPECT_EQ(bytes[18], 64);  // width
    EXPECT_EQ(bytes[22], 64);  // height, positive: bottom-up rows
    EXPECT_EQ(bytes[28], 8);   // bits per pixel
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& entry = modPalettes::GamePalette[static_cast<size_t>(i)];
        const size_t at = 54 + 4 * static_cast<size_t>(i);
        ASSERT_EQ(bytes[at], entry.Blue) << i;
        ASSERT_EQ(bytes[at + 1], entry.Green) << i;
        ASSERT_EQ(bytes[at + 2], entry.Red) << i;
    }

    classUnitGAF direct;
    ASSERT_TRUE(direct.LoadBMPPicture(bmp, 1));
    const auto frame = direct.ReducedFrame(1);
    const auto pixels = clitest::BmpPixelBytes(preview);
    for (int row = 0; row < 64; ++row) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(pixels[static_cast<size_t>((63 - row) * 64 + x)], frame[static_cast<size_t>(row * 64 + x)])
                << "row " << row << " column " << x;
        }
    }
    // A white slot would have given a white frame; the pattern did not.
    EXPECT_NE(std::count(pixels.begin(), pixels.end(), uint8_t{255}), 64 * 64);
}

TEST(CliPreview, UnwritableDestinationFails) {
    TempDir dir;
    const std::string preview = dir.file("missing/p.bmp");
    const auto run = RunTool({"--preview", "0", preview});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, "iconwright-cli: --preview 0 " + preview + ": The preview could not be saved.\n");
}

}  // namespace
