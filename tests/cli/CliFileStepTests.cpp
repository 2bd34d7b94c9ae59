// The steps that write files: the road from a BMP file to the GAF file, the preview, and how a
// failing step ends the run.

#include <gtest/gtest.h>

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

TEST(CliRoad, GafFileEqualsWhatTheSameStepsWriteDirectly) {
    TempDir dir;
    const std::string bmp = dir.file("armcamp.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    const std::string gaf = dir.file("armcamp_GADGET.GAF");

    const auto run = RunTool({"--unit", "armcamp", "--load-bmp", "normal", bmp, "--write-gaf", gaf});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out + run.Err, "");

    classUnitGAF direct;
    direct.Name("armcamp");
    ASSERT_TRUE(direct.LoadBMPPicture(bmp, 0));
    ASSERT_TRUE(direct.SaveGadget(dir.file("direct.GAF")));
    EXPECT_EQ(ReadBytes(gaf).size(), 12440u);
    EXPECT_EQ(ReadBytes(gaf), ReadBytes(dir.file("direct.GAF")));
}

// The argument is UTF-8; the GAF entry name is Windows-1252, upper-cased.
TEST(CliRoad, NameIsEncodedAsWindows1252AndUpperCased) {
    TempDir dir;
    const std::string gaf = dir.file("cafe.gaf");
    ASSERT_EQ(RunTool({"--unit", "caf\xC3\xA9", "--write-gaf", gaf}).Exit, 0);  // "café"
    const auto bytes = ReadBytes(gaf);
    ASSERT_EQ(bytes.size(), 12440u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 24, bytes.begin() + 29),
              (std::vector<uint8_t>{'C', 'A', 'F', 0xC9, 0}));
}

// The slot's 64 x 64 reduction, as the GAF file holds it, in an 8-bit BMP in the game palette.
TEST(CliPreview, WritesTheReducedFrameAsA64By64Bmp) {
    TempDir dir;
    const std::string bmp = dir.file("in.bmp");
    WriteBytes(bmp, clitest::BmpFileOf(clitest::PatternPicture()));
    const std::string preview = dir.file("preview.bmp");
    ASSERT_EQ(RunTool({"--load-bmp", "highlighted", bmp, "--preview", "highlighted", preview}).Exit, 0);

    const auto bytes = ReadBytes(preview);
    ASSERT_EQ(bytes.size(), 1078u + 64u * 64u);
    EXPECT_EQ(bytes[18], 64);  // width
    EXPECT_EQ(bytes[22], 64);  // height
    EXPECT_EQ(bytes[28], 8);   // bits per pixel
    classUnitGAF direct;
    ASSERT_TRUE(direct.LoadBMPPicture(bmp, 1));
    EXPECT_EQ(bytes, modBmp::EncodeBmp(direct.ReducedFrame(1), modPalettes::GamePalette, 64, 64));
}

// Every case runs between a step that writes before.bmp and one that would write after.bmp:
// the failing step is named on one line, the earlier file stays, the later step does not run.
TEST(CliFailure, StopsAtTheFailingStepWithOneLineNamingIt) {
    const std::string badPicture = "The background image must be a 96x96, 256 color bitmap";
    const std::string notANumber = "You must enter a number !";
    const std::string crossRange = "The cross size must lie between -32768 and 32767";
    const std::string noGaf = "The .GAF file could not be written.";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--load-bmp", "normal", "DIR/my pic\n.bmp"}, "--load-bmp normal \"DIR/my pic\\n.bmp\": " + badPicture},
        {{"--load-bmp", "highlighted", "DIR/small.bmp"}, "--load-bmp highlighted DIR/small.bmp: " + badPicture},
        {{"--load-pcx", "1", "DIR/small.pcx"}, "--load-pcx 1 DIR/small.pcx: " + badPicture},
        {{"--write-gaf", "DIR/x.gaf"}, "--write-gaf DIR/x.gaf: You can't save without specifying your units UNITNAME"},
        {{"--unit", "", "--write-gaf", "DIR/x.gaf"},
         "--write-gaf DIR/x.gaf: You can't save without specifying your units UNITNAME"},
        {{"--unit", "arm\xCE\xA9", "--write-gaf", "DIR/x.gaf"},  // "armΩ"
         "--write-gaf DIR/x.gaf: " + noGaf + " The unit name has a character that Windows-1252 has no code for."},
        {{"--unit", "armcamp", "--write-gaf", "DIR/missing/x.gaf"}, "--write-gaf DIR/missing/x.gaf: " + noGaf},
        {{"--save-bmp", "disabled", "DIR"}, "--save-bmp disabled DIR: The picture could not be saved."},
        {{"--preview", "0", "DIR/missing/p.bmp"}, "--preview 0 DIR/missing/p.bmp: The preview could not be saved."},
        {{"--cross", "normal", "abc"}, "--cross normal abc: " + notANumber},
        {{"--cross", "normal", "2x"}, "--cross normal 2x: " + notANumber},
        {{"--cross", "normal", ""}, "--cross normal \"\": " + notANumber},
        {{"--cross", "normal", "  "}, "--cross normal \"  \": " + notANumber},
        {{"--cross", "2", "40000"}, "--cross 2 40000: " + crossRange},
        {{"--cross", "2", "-32769"}, "--cross 2 -32769: " + crossRange},
        {{"--auto", "DIR/gone.pcx"}, "--auto DIR/gone.pcx: Error whilst processing task"},
        // BMP contents named .Pcx go to the PCX reader, which refuses them.
        {{"--auto", "DIR/unit.Pcx"}, "--auto DIR/unit.Pcx: Error whilst processing task"},
    };
    for (const auto& [steps, error] : cases) {
        SCOPED_TRACE(error);
        TempDir dir;
        const std::string folder = dir.path().string();
        WriteBytes(dir.file("small.bmp"), modBmp::EncodeBmp(std::vector<uint8_t>(95 * 96, 3), modPalettes::GamePalette, 95, 96));
        WriteBytes(dir.file("small.pcx"), clitest::PcxFileOf(std::vector<uint8_t>(64 * 64, 3), 64, modPalettes::GamePalette));
        WriteBytes(dir.file("unit.Pcx"), clitest::BmpFileOf(clitest::PatternPicture()));

        std::vector<std::string> args{"--save-bmp", "normal", dir.file("before.bmp")};
        for (const std::string& word : steps) args.push_back(clitest::InDir(word, folder));
        args.insert(args.end(), {"--save-bmp", "normal", dir.file("after.bmp")});
        const auto run = RunTool(args);

        EXPECT_EQ(run.Exit, 1);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, "iconwright-cli: " + clitest::InDir(error, folder) + "\n");
        EXPECT_EQ(ReadBytes(dir.file("before.bmp")).size(), 10294u);
        EXPECT_FALSE(std::filesystem::exists(dir.file("after.bmp")));
        EXPECT_FALSE(std::filesystem::exists(dir.file("x.gaf")));
        EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
    }
}

}  // namespace
