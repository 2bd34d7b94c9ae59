// iconwright-cli's roads in-process, against the operations called directly: the README's road
// with its extraction, every other step once, and standard output that cannot be written.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "CliRun.h"
#include "gaf/GafReader.h"
#include "imagefiles/modPCX.h"
#include "picture/classUnitGAF.h"
#include "support/GafBuilder.h"
#include "support/PngDecode.h"

namespace {

using Bytes = std::vector<uint8_t>;
using clitest::Args;
using clitest::CliRun;
using clitest::RunTool;
using testsupport::ReadBytes;

// The README's road, each written file decoded and compared with the pictures the operations
// give when called directly: the GAF frames and previews hold each slot reduced to 64 x 64, the
// other files the slot itself, and the extraction gives the GAF file's frames back.
TEST(CliRoad, EachFileHoldsItsSlotsPixels) {
    clitest::Inputs in;
    const std::string d = in.path().string() + "/", gaf = d + "mod/anims/armcamp_GADGET.GAF";
    const CliRun run = RunTool({"--unit",      "armcamp",    "--load-bmp",    "normal",    in.Bmp,
                                "--border",    "normal",     "--auto",        in.Bmp,      "--write-gaf",
                                d + "w.gaf",   "--preview",  "highlighted",   d + "p.bmp", "--export-unit",
                                d + "mod",     "--save-pcx", "disabled",      d + "s.pcx", "--save-png",
                                "highlighted", d + "s.png",  "--preview-png", "2",         d + "p2.png"});
    ASSERT_EQ(run.Err + std::to_string(run.Exit), "0");
    EXPECT_EQ(run.Out, testsupport::Joined(d + "mod", "anims/armcamp_GADGET.GAF") + "\n" +
                           testsupport::Joined(d + "mod", "unitpics/ARMCAMP.PCX") + "\n");

    classUnitGAF direct;
    for (int32_t slot : {kNormalPic, kHighlightedPic, kDisabledPic}) ASSERT_TRUE(direct.LoadBMPPicture(in.Bmp, slot));
    direct.AddCavedogLikeBorder(0, 1), direct.MakePicLighter(1), direct.MakePicGrey(2);
    const auto slot = [&](int32_t s) { return Bytes(direct.Slot(s)->begin(), direct.Slot(s)->end()); };
    const auto reduced = [&](int32_t s) {
        const auto frame = direct.ReducedFrame(s);
        return Bytes(frame.begin(), frame.end());
    };
    const auto png = [](const std::string& file) {
        const auto decoded = pngdecode::Decode(ReadBytes(file));
        return decoded ? decoded->Pixels : Bytes{};
    };
    const auto written = gaf::DecodeGaf(ReadBytes(d + "w.gaf"));
    ASSERT_TRUE(written);
    ASSERT_EQ(written->Entries.size(), 1u);
    EXPECT_EQ(written->Entries[0].Name, "ARMCAMP");
    ASSERT_EQ(written->Entries[0].Frames.size(), 3u);
    for (int32_t s = 0; s < 3; ++s) EXPECT_EQ(written->Entries[0].Frames[std::size_t(s)].Pixels, reduced(s)) << s;
    EXPECT_EQ(ReadBytes(gaf), ReadBytes(d + "w.gaf"));  // the export writes the GAF file as --write-gaf does
    const auto exported = modPCX::DecodePcx(ReadBytes(d + "mod/unitpics/ARMCAMP.PCX"));
    const auto saved = modPCX::DecodePcx(ReadBytes(d + "s.pcx"));
    ASSERT_TRUE(exported && saved);
    EXPECT_EQ(exported->Pixels, slot(0));
    EXPECT_EQ(saved->Pixels, slot(2));
    ASSERT_TRUE(modBmp::LoadBMPFile(d + "p.bmp", false));
    EXPECT_EQ(modBmp::BmpPixels(), reduced(1));
    EXPECT_EQ(png(d + "s.png"), slot(1));
    EXPECT_EQ(png(d + "p2.png"), reduced(2));

    const CliRun extracted = RunTool({"--gaf-extract", gaf, d + "frames"});
    const auto extractedFrame = [&](int n) {
        return testsupport::Joined(d + "frames", "ARMCAMP/" + std::to_string(n) + ".png");
    };
    EXPECT_EQ(extracted.Out + extracted.Err,
              extractedFrame(0) + "\n" + extractedFrame(1) + "\n" + extractedFrame(2) + "\n3 files written\n");
    for (int n = 0; n < 3; ++n) EXPECT_EQ(png(extractedFrame(n)), reduced(n)) << "frame " << n;
}

// The slot steps on the pattern in all three slots: a wrong slot, operation or argument shows in
// the slots' files. A COLOR outside 0 to 255 changes nothing, even one whose low 16 bits would be
// 7; the cross SIZE is read by the prompt's rules: spaces allowed, halves rounded to even.
TEST(CliSteps, EachSlotStepEqualsThePictureSetOperation) {
    clitest::Inputs in;
    Args args;
    classUnitGAF expected;
    for (const char* s : {"0", "1", "2"}) args.insert(args.end(), {"--load-bmp", s, in.Bmp});
    for (int32_t s = 0; s < 3; ++s) ASSERT_TRUE(expected.LoadBMPPicture(in.Bmp, s));
    args.insert(args.end(),
                {"--load-pcx",  "1",       in.Pcx,  "--fill", "2",         "42",       "--fill", "0",     "256",
                 "--fill",      "2",       "65543", "--grey", "normal",    "--cross",  "0",      " 2.5 ", "--border",
                 "highlighted", "--cross", "1",     "3.5",    "--lighter", "disabled", "--grid", "2"});
    for (const char* s : {"0", "1", "2"}) args.insert(args.end(), {"--save-bmp", s, in.file(s)});
    ASSERT_EQ(RunTool(args).Err, "");
    ASSERT_TRUE(expected.LoadPCXPicture(in.Pcx, 1));
    expected.ResetToBackground(2, 42), expected.MakePicGrey(0), expected.AddBlackCross(0, 2);
    expected.AddCavedogLikeBorder(1, 1), expected.AddBlackCross(1, 4), expected.MakePicLighter(2), expected.AddGrid(2);
    for (int32_t s = 0; s < 3; ++s) {
        ASSERT_TRUE(modBmp::LoadBMPFile(in.file(std::to_string(s)), false)) << s;
        EXPECT_EQ(modBmp::BmpPixels(), std::vector<uint8_t>(expected.Slot(s)->begin(), expected.Slot(s)->end()))
            << "slot " << s;
    }
}

// The import settings carry over from step to step, each import reporting one line. White is
// avoided from the second import on: the perceptual rule takes FFFBF0 (246) for it.
TEST(CliSteps, ImportSettingsCarryOverAndEachImportReportsOneLine) {
    testsupport::TempDir dir;
    const std::string red = dir.file("red.png"), half = dir.file("half.png"), bg = dir.file("bg.png");
    clitest::WriteSolidPng(red, 200, 100, {255, 0, 0, 255});
    clitest::WriteSolidPng(half, 96, 96, {0, 0, 255, 128});
    clitest::WriteSolidPng(bg, 10, 10, {0, 255, 0, 255});
    const CliRun run = RunTool({"--background", "#FFFFFF", "--import", "normal", red, "--save-bmp", "0",
                                dir.file("out.bmp"), "--avoid", "255", "--match", "perceptual", "--import", "1", red,
                                "--background", bg, "--auto-import", half});
    EXPECT_EQ(run.Err + std::to_string(run.Exit), "0");
    EXPECT_EQ(run.Out, "--import normal " + red +
                           ": 9216 pixels, 9216 exact, mean error 0.00, largest error 0 (rgb)\n" + "--import 1 " + red +
                           ": 9216 pixels, 4608 exact, mean error 0.0060, largest error 0.0119 (perceptual, OKLab)\n" +
                           "--auto-import " + half +
                           ": 9216 pixels, 0 exact, mean error 0.0032, largest error 0.0032 (perceptual, OKLab)\n");
    ASSERT_TRUE(modBmp::LoadBMPFile(dir.file("out.bmp"), false));
    EXPECT_EQ(modBmp::BmpPixels()[0], 255);        // the white background above the picture
    EXPECT_EQ(modBmp::BmpPixels()[96 * 48], 249);  // red
}

// An extraction says how many files it wrote, none included, and makes its folder even then.
TEST(CliGafExtract, SaysHowManyFilesItWroteNoneIncluded) {
    testsupport::TempDir dir;
    testsupport::WriteBytes(dir.file("empty.gaf"), gafbuild::Build({{"A", {}}, {"B", {}}}).Bytes);
    const CliRun run = RunTool({"--gaf-extract", dir.file("empty.gaf"), dir.file("out")});
    EXPECT_EQ(std::to_string(run.Exit) + run.Out + run.Err, "00 files written\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("out")));
}

// Names are decoded from Windows-1252 and escaped by the JSON writer; the flags come as stored.
TEST(CliGafList, NamesAndEveryFieldOfEveryFrame) {
    testsupport::TempDir dir;
    gafbuild::Frame layered = gafbuild::Raw(2, 1, {}, 1, 0, 0);
    layered.Layers = {gafbuild::Raw(1, 1, {1})};
    testsupport::WriteBytes(dir.file("x.gaf"),
                            gafbuild::Build({{std::string("A\x01\x80\"\\\0hidden", 11),
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

#ifndef _WIN32  // Windows has no device that is always full
// Whatever the run prints to standard output must reach it: a step that prints checks at once,
// and the lines of the others (an import's report) are checked when the run ends. Exit status 1.
TEST(CliFileFailure, StandardOutputThatCannotBeWrittenFailsTheRun) {
    clitest::Inputs in;
    clitest::WriteSolidPng(in.file("red.png"), 4, 4, {255, 0, 0, 255});
    const std::pair<Args, std::string> cases[] = {
        {{"--unit", "a", "--export-unit", in.file("mod")},
         "iconwright-cli: --export-unit " + in.file("mod") + ": Standard output could not be written.\n"},
        {{"--import", "normal", in.file("red.png")}, "iconwright-cli: standard output could not be written\n"},
    };
    for (const auto& [args, message] : cases) {
        std::FILE* full = std::fopen("/dev/full", "w");  // every write to it fails for want of room
        ASSERT_NE(full, nullptr);
        CliOutput out(full), err;
        EXPECT_EQ(RunCli(args, out, err), 1) << message;
        EXPECT_EQ(err.Text(), message);
        std::fclose(full);
    }
}
#endif

}  // namespace
