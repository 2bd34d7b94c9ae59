// iconwright-cli's import steps: settings checked before anything runs, one report line per
// import, failures with their reasons, settings that carry over to later imports.
#include <gtest/gtest.h>
#include <sstream>
#include "CliRun.h"
#include "cli/CliRunner.h"
#include "imagefiles/modBmp.h"
#include "support/PictureEncoders.h"
#include "support/TestFiles.h"

namespace {

using clitest::Args;
using clitest::CliRun;
using clitest::RunTool;

imagefiles::RgbaPicture Solid(int w, int h, std::array<uint8_t, 4> rgba) {
    imagefiles::RgbaPicture p{w, h, {}};
    for (int i = 0; i < w * h; ++i) p.Pixels.insert(p.Pixels.end(), rgba.begin(), rgba.end());
    return p;
}

TEST(CliImport, BadSettingsAreUsageErrorsAndNothingRuns) {
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--fit", "zoom"}, "--fit: bad MODE \"zoom\" (use contain, cover, stretch or none)"},
        {{"--trim", "yes"}, "--trim: bad on|off \"yes\" (use on or off)"},
        {{"--strict", "ON"}, "--strict: bad on|off \"ON\" (use on or off)"},
        {{"--match", "lab"}, "--match: bad RULE \"lab\" (use rgb or perceptual)"},
        {{"--dither", "fs"}, "--dither: bad METHOD \"fs\" (use none or floyd-steinberg)"},
        {{"--avoid", "0-255"}, "--avoid: bad LIST \"0-255\" (all 256 indices avoided leaves none to choose)"},
        {{"--avoid", "0,256"},
         "--avoid: bad LIST \"0,256\" (\"256\" is not an index 0 to 255 or a range such as 240-255)"},
        {{"--avoid", "9-3"}, "--avoid: bad LIST \"9-3\" (the range \"9-3\" runs backwards)"},
        {{"--avoid", "1,,2"}, "--avoid: bad LIST \"1,,2\" (\"\" is not an index 0 to 255 or a range such as 240-255)"},
        {{"--background", "#12345G"},
         "--background: bad COLOR|FILE \"#12345G\" (a colour is #RRGGBB; anything else not starting with # is a "
         "picture file)"},
        {{"--fit"}, "--fit: missing MODE"},
        {{"--import", "normal"}, "--import: missing FILE"},
        {{"--import", "4", "x.png"}, "--import: bad SLOT \"4\" (use normal, highlighted, disabled, 0, 1 or 2)"},
    };
    testsupport::TempDir dir;
    for (const auto& [tail, error] : cases) {
        Args args{"--save-bmp", "normal", dir.file("earlier.bmp")};
        args.insert(args.end(), tail.begin(), tail.end());
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.Exit, 2) << error;
        EXPECT_EQ(run.Out + run.Err,
                  "iconwright-cli: " + error + "\nTry 'iconwright-cli --help' for the list of steps.\n");
        EXPECT_FALSE(std::filesystem::exists(dir.file("earlier.bmp")));
    }
}

TEST(CliImport, SettingsCarryOverAndEachImportReportsOneLine) {
    testsupport::TempDir dir;
    const std::string red = dir.file("red.png"), half = dir.file("half.png"), bg = dir.file("bg.png");
    testsupport::WriteBytes(red, pictureencode::EncodeRgbaPng(Solid(200, 100, {255, 0, 0, 255})));
    testsupport::WriteBytes(half, pictureencode::EncodeRgbaPng(Solid(96, 96, {0, 0, 255, 128})));
    testsupport::WriteBytes(bg, pictureencode::EncodeRgbaPng(Solid(10, 10, {0, 255, 0, 255})));
    const std::string out = dir.file("out.bmp"), gaf = dir.file("x.gaf");
    const CliRun run = RunTool({"--unit",
                                "armcamp",
                                "--background",
                                "#FFFFFF",
                                "--import",
                                "normal",
                                red,
                                "--save-bmp",
                                "0",
                                out,
                                "--avoid",
                                "255",
                                "--match",
                                "perceptual",
                                "--import",
                                "1",
                                red,
                                "--background",
                                bg,
                                "--auto-import",
                                half,
                                "--write-gaf",
                                gaf});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "--import normal " + red +
                           ": 9216 pixels, 9216 exact, mean error 0.00, largest error 0 (rgb)\n"
                           "--import 1 " +
                           red +
                           ": 9216 pixels, 4608 exact, mean error 0.0060, largest error 0.0119 (perceptual, OKLab)\n"
                           "--auto-import " +
                           half +
                           ": 9216 pixels, 0 exact, mean error 0.0032, largest error 0.0032 (perceptual, OKLab)\n");
    // White is avoided from the second import on: the perceptual rule takes FFFBF0 (246) for it.
    ASSERT_TRUE(modBmp::LoadBMPFile(out, false));
    EXPECT_EQ(modBmp::BmpPixels()[0], 255);        // the white background above the picture
    EXPECT_EQ(modBmp::BmpPixels()[96 * 48], 249);  // red
    EXPECT_TRUE(std::filesystem::exists(gaf));
}

TEST(CliImport, AFailedImportExitsWithOneAndItsReason) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file("clear.png"), pictureencode::EncodeRgbaPng(Solid(5, 5, {1, 1, 1, 0})));
    testsupport::WriteBytes(dir.file("odd.png"), pictureencode::EncodeRgbaPng(Solid(96, 96, {1, 2, 3, 255})));
    testsupport::WriteBytes(dir.file("anim.gif"), {'G', 'I', 'F', '8', '9', 'a', 0, 0});
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--import", "0", dir.file("clear.png")}, "the picture is fully transparent"},
        {{"--strict", "on", "--import", "0", dir.file("odd.png")}, "pixel 0,0 is #010203, which is not a game colour"},
        {{"--import", "0", dir.file("anim.gif")},
         "a GIF picture, which cannot be imported (use PNG, JPEG, BMP or PCX)"},
        {{"--import", "0", dir.file("none.png")}, "the file cannot be opened (No such file or directory)"},
        {{"--auto-import", dir.file("clear.png")}, "the picture is fully transparent"},
    };
    for (const auto& [args, reason] : cases) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.Exit, 1);
        Args step(args.end() - 3 + (args[args.size() - 2] == "--auto-import" ? 1 : 0), args.end());
        std::string words;
        for (const auto& w : step) words += (words.empty() ? "" : " ") + w;
        EXPECT_EQ(run.Err, "iconwright-cli: " + words + ": " + reason + "\n");
        EXPECT_EQ(run.Out, "");
    }
    const CliRun run = RunTool({"--background", dir.file("anim.gif"), "--import", "0", dir.file("odd.png")});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err,
              "iconwright-cli: --background " + dir.file("anim.gif") +
                  ": the background picture: a GIF picture, which cannot be imported (use PNG, JPEG, BMP or PCX)\n");
}

}  // namespace
