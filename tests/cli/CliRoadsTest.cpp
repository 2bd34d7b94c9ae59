// iconwright-cli's roads in-process, against the operations called directly: the README's road
// with a preview; the export road with the look inside GAF files; imports whose settings carry
// over, each reporting one line; and standard output that cannot be written.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "CliRun.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "picture/UnitExport.h"
#include "picture/classUnitGAF.h"
#include "support/GafBuilder.h"

namespace {

using clitest::Args;
using clitest::CliRun;
using clitest::RunTool;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

// The roads from the README and the help text: the GAF file written and exported, list and
// extract, the previews and saved pictures. Extracting the GAF file gives exactly the
// --preview-png files.
TEST(CliRoad, FilesEqualTheDirectlyDrivenPictureSet) {
    clitest::Inputs in;
    const std::string d = in.path().string() + "/", gaf = d + "mod/anims/armcamp_GADGET.GAF";
    Args road{"--unit",      "armcamp",    "--load-bmp",    "normal",      in.Bmp,       "--border",
              "normal",      "--auto",     in.Bmp,          "--write-gaf", d + "w.gaf",  "--preview",
              "highlighted", d + "p.bmp",  "--export-unit", d + "mod",     "--save-pcx", "disabled",
              d + "s.pcx",   "--save-png", "highlighted",   d + "s.png"};
    for (const char* slot : {"0", "1", "2"}) road.insert(road.end(), {"--preview-png", slot, d + "p" + slot + ".png"});
    const CliRun run = RunTool(road);
    ASSERT_EQ(run.Err + std::to_string(run.Exit), "0");
    EXPECT_EQ(run.Out, gaf + "\n" + d + "mod/unitpics/ARMCAMP.PCX\n");

    classUnitGAF direct;
    direct.Name("armcamp");
    for (int32_t slot : {kNormalPic, kHighlightedPic, kDisabledPic}) ASSERT_TRUE(direct.LoadBMPPicture(in.Bmp, slot));
    direct.AddCavedogLikeBorder(0, 1), direct.MakePicLighter(1), direct.MakePicGrey(2);
    ASSERT_TRUE(direct.SaveGadget(d + "direct.GAF"));
    ASSERT_TRUE(ExportUnit(direct, d + "direct"));
    EXPECT_EQ(ReadBytes(d + "w.gaf"), ReadBytes(d + "direct.GAF"));
    EXPECT_EQ(ReadBytes(gaf), ReadBytes(d + "direct/anims/armcamp_GADGET.GAF"));
    EXPECT_EQ(ReadBytes(d + "mod/unitpics/ARMCAMP.PCX"), ReadBytes(d + "direct/unitpics/ARMCAMP.PCX"));
    EXPECT_EQ(ReadBytes(d + "p.bmp"), modBmp::EncodeBmp(direct.ReducedFrame(1), modPalettes::GamePalette, 64, 64));
    EXPECT_EQ(ReadBytes(d + "s.pcx"), modPCX::EncodePcx(*direct.Slot(2), modPalettes::GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(d + "s.png"), modPNG::EncodePng(*direct.Slot(1), modPalettes::GamePalette, 96, 96));

    const CliRun listed = RunTool({"--gaf-list", gaf});
    const std::string frame = R"({"width":64,"height":64,"x":0,"y":0,"transparency":9,"compressed":false,"layers":0})";
    EXPECT_EQ(listed.Out + listed.Err,
              R"({"entries":[{"name":"ARMCAMP","frames":[)" + frame + "," + frame + "," + frame + "]}]}\n");
    const CliRun extracted = RunTool({"--gaf-extract", gaf, d + "frames"});
    const std::string frames = d + "frames/ARMCAMP/";
    EXPECT_EQ(extracted.Out + extracted.Err, frames + "0.png\n" + frames + "1.png\n" + frames + "2.png\n");
    for (const char* n : {"0", "1", "2"})
        EXPECT_EQ(ReadBytes(frames + n + ".png"), ReadBytes(d + "p" + n + ".png")) << "frame " << n;
}

// Names are decoded from Windows-1252 and escaped by the JSON writer; the flags come as stored.
TEST(CliGafList, NamesAndEveryFieldOfEveryFrame) {
    testsupport::TempDir dir;
    gafbuild::Frame layered = gafbuild::Raw(2, 1, {}, 1, 0, 0);
    layered.Layers = {gafbuild::Raw(1, 1, {1})};
    WriteBytes(dir.file("x.gaf"), gafbuild::Build({{std::string("A\x01\x80\"\\\0hidden", 11),
                                                    {gafbuild::Compressed(3, 2, {1, 2, 3, 4, 5, 6}, -3, 2, 200)}},
                                                   {"", {layered}}})
                                      .Bytes);
    const CliRun run = RunTool({"--gaf-list", dir.file("x.gaf")});
    EXPECT_EQ(run.Out + run.Err + std::to_string(run.Exit),
              R"({"entries":[{"name":"A\u0001)"
              "\xE2\x82\xAC"
              R"(\"\\","frames":[{"width":3,"height":2,"x":-3,"y":2,)"
              R"("transparency":200,"compressed":true,"layers":0}]},{"name":"","frames":[{"width":2,"height":1,)"
              R"("x":1,"y":0,"transparency":0,"compressed":false,"layers":1}]}]})"
              "\n0");
}

// White is avoided from the second import on: the perceptual rule takes FFFBF0 (246) for it.
TEST(CliImport, SettingsCarryOverAndEachImportReportsOneLine) {
    testsupport::TempDir dir;
    const std::string red = dir.file("red.png"), half = dir.file("half.png"), bg = dir.file("bg.png"),
                      out = dir.file("out.bmp");
    clitest::WriteSolidPng(red, 200, 100, {255, 0, 0, 255});
    clitest::WriteSolidPng(half, 96, 96, {0, 0, 255, 128});
    clitest::WriteSolidPng(bg, 10, 10, {0, 255, 0, 255});
    const CliRun run = RunTool({"--unit",  "armcamp",     "--background",   "#FFFFFF",    "--import",
                                "normal",  red,           "--save-bmp",     "0",          out,
                                "--avoid", "255",         "--match",        "perceptual", "--import",
                                "1",       red,           "--background",   bg,           "--auto-import",
                                half,      "--write-gaf", dir.file("x.gaf")});
    EXPECT_EQ(run.Err + std::to_string(run.Exit), "0");
    EXPECT_EQ(run.Out, "--import normal " + red +
                           ": 9216 pixels, 9216 exact, mean error 0.00, largest error 0 (rgb)\n" + "--import 1 " + red +
                           ": 9216 pixels, 4608 exact, mean error 0.0060, largest error 0.0119 (perceptual, OKLab)\n" +
                           "--auto-import " + half +
                           ": 9216 pixels, 0 exact, mean error 0.0032, largest error 0.0032 (perceptual, OKLab)\n");
    ASSERT_TRUE(modBmp::LoadBMPFile(out, false));
    EXPECT_EQ(modBmp::BmpPixels()[0], 255);        // the white background above the picture
    EXPECT_EQ(modBmp::BmpPixels()[96 * 48], 249);  // red
    EXPECT_TRUE(std::filesystem::exists(dir.file("x.gaf")));
}

TEST(CliFileFailure, StandardOutputThatCannotBeWrittenFailsTheStep) {
    clitest::Inputs in;
    const std::string gaf = in.file("good.gaf"), frames = in.file("frames"), mod = in.file("mod");
    WriteBytes(gaf, gafbuild::Build({{"A", {gafbuild::Raw(1, 1, {1})}}}).Bytes);
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--gaf-list", gaf}, "--gaf-list " + gaf},
        {{"--gaf-extract", gaf, frames}, "--gaf-extract " + gaf + " " + frames},
        {{"--unit", "a", "--export-unit", mod}, "--export-unit " + mod}};
    for (const auto& [args, step] : cases) {
        std::FILE* full = std::fopen("/dev/full", "w");  // every write to it fails for want of room
        ASSERT_NE(full, nullptr);
        CliOutput out(full), err;
        EXPECT_EQ(RunCli(args, out, err), 1) << step;
        EXPECT_EQ(err.Text(), "iconwright-cli: " + step + ": Standard output could not be written.\n");
        std::fclose(full);
    }
}

}  // namespace
