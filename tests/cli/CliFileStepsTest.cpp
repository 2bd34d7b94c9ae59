// iconwright-cli's file steps in-process: the export road and the look inside GAF files, their
// output on standard output, and one-line failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "cli/CliRunner.h"
#include "imagefiles/PcxWriter.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/UnitExport.h"
#include "picture/classUnitGAF.h"
#include "support/GafBuilder.h"
#include "support/TestFiles.h"

namespace {

using testsupport::ReadBytes;
using testsupport::WriteBytes;
using Bytes = std::vector<uint8_t>;
using clitest::Args;
using clitest::CliRun;
using clitest::RunTool;

struct Folder : testsupport::TempDir {
    std::string Bmp = file("in.bmp");
    Folder() {
        Bytes pattern(96 * 96);
        for (std::size_t k = 0; k < pattern.size(); ++k) pattern[k] = static_cast<uint8_t>(k * 11 + k / 96 * 3);
        WriteBytes(Bmp, modBmp::EncodeBmp(pattern, modPalettes::GamePalette, 96, 96));
    }
};

// The road from the help text: export, list, extract. Extracting the exported GAF file gives
// exactly the --preview-png files.
TEST(CliExportRoad, ExportListAndExtractAgreeWithThePictureSet) {
    Folder in;
    const std::string mod = in.file("mymod"), d = in.path().string();
    Args road{"--unit",   "armcamp",    "--load-bmp",    "normal",      in.Bmp,
              "--auto",   in.Bmp,       "--export-unit", mod,           "--save-pcx",
              "disabled", d + "/s.pcx", "--save-png",    "highlighted", d + "/s.png"};
    for (const char* slot : {"0", "1", "2"}) road.insert(road.end(), {"--preview-png", slot, d + "/p" + slot + ".png"});
    const CliRun exported = RunTool(road);
    ASSERT_EQ(exported.Err + std::to_string(exported.Exit), "0");
    const std::string gaf = mod + "/anims/armcamp_GADGET.GAF", pcx = mod + "/unitpics/ARMCAMP.PCX";
    EXPECT_EQ(exported.Out, gaf + "\n" + pcx + "\n");

    classUnitGAF direct;
    direct.Name("armcamp");
    for (int32_t s = 0; s < 3; ++s) ASSERT_TRUE(direct.LoadBMPPicture(in.Bmp, s));
    direct.MakePicLighter(1), direct.MakePicGrey(2);
    ASSERT_TRUE(ExportUnit(direct, in.file("direct")));
    EXPECT_EQ(ReadBytes(gaf), ReadBytes(in.file("direct/anims/armcamp_GADGET.GAF")));
    EXPECT_EQ(ReadBytes(pcx), ReadBytes(in.file("direct/unitpics/ARMCAMP.PCX")));
    EXPECT_EQ(ReadBytes(d + "/s.pcx"), modPCX::EncodePcx(*direct.Slot(2), modPalettes::GamePalette, 96, 96));
    EXPECT_EQ(ReadBytes(d + "/s.png"), modPNG::EncodePng(*direct.Slot(1), modPalettes::GamePalette, 96, 96));

    const CliRun listed = RunTool({"--gaf-list", gaf});
    const std::string frame = R"({"width":64,"height":64,"x":0,"y":0,"transparency":9,"compressed":false,"layers":0})";
    EXPECT_EQ(listed.Out + listed.Err,
              R"({"entries":[{"name":"ARMCAMP","frames":[)" + frame + "," + frame + "," + frame + "]}]}\n");

    const CliRun extracted = RunTool({"--gaf-extract", gaf, d + "/frames"});
    EXPECT_EQ(extracted.Out + extracted.Err,
              d + "/frames/ARMCAMP/0.png\n" + d + "/frames/ARMCAMP/1.png\n" + d + "/frames/ARMCAMP/2.png\n");
    for (const char* n : {"0", "1", "2"})
        EXPECT_EQ(ReadBytes(d + "/frames/ARMCAMP/" + n + ".png"), ReadBytes(d + "/p" + n + ".png")) << "frame " << n;
}

// Names are decoded from Windows-1252 and escaped by the JSON writer; the flags come as stored.
TEST(CliGafList, NamesAndEveryFieldOfEveryFrame) {
    testsupport::TempDir dir;
    const auto file = gafbuild::Build({
        {.Name = std::string("A\x01\x80\"\\\0hidden", 11),
         .Frames = {gafbuild::Compressed(3, 2, {1, 2, 3, 4, 5, 6}, -3, 2, 200)}},
        {.Name = "",
         .Frames = {{.Width = 2, .Height = 1, .X = 1, .Transparency = 0, .Layers = {gafbuild::Raw(1, 1, {1})}}}},
    });
    WriteBytes(dir.file("x.gaf"), file.Bytes);
    const CliRun run = RunTool({"--gaf-list", dir.file("x.gaf")});
    EXPECT_EQ(
        run.Out + run.Err + std::to_string(run.Exit),
        "{\"entries\":[{\"name\":\"A\\u0001\xE2\x82\xAC\\\"\\\\\",\"frames\":[{\"width\":3,\"height\":2,\"x\":-3,\"y\":"
        "2,"
        "\"transparency\":200,\"compressed\":true,\"layers\":0}]},{\"name\":\"\",\"frames\":[{\"width\":2,\"height\":1,"
        "\"x\":1,\"y\":0,\"transparency\":0,\"compressed\":false,\"layers\":1}]}]}\n0");
}

// Each case follows a step that writes before.bmp and is followed by one that would write after.bmp.
TEST(CliFileFailure, StopsAtTheFailingStepWithOneLineNamingIt) {
    Folder in;
    const std::string d = in.path().string(), before = in.file("before.bmp"), after = in.file("after.bmp");
    WriteBytes(in.file("text.gaf"), {'G', 'A', 'F', '!', 0, 0, 0, 0, 0, 0, 0, 0});
    WriteBytes(
        in.file("bad.gaf"),
        gafbuild::Build(
            {{.Name = "T", .Frames = {{.Width = 2, .Compression = 1, .Data = gafbuild::Row({gafbuild::Skip(3)})}}}})
            .Bytes);
    WriteBytes(in.file("good.gaf"), gafbuild::Build({{.Name = "A", .Frames = {gafbuild::Raw(1, 1, {1})}},
                                                     {.Name = "B", .Frames = {gafbuild::Raw(1, 1, {2})}}})
                                        .Bytes);
    std::filesystem::create_directory(in.file("out"));
    WriteBytes(in.file("out/B"), {});
    const std::string notWritten = "The .GAF file could not be written.", notRead = "The GAF file could not be read: ";
    const std::vector<std::tuple<Args, std::string, std::string>> cases{
        {{"--export-unit", d + "/mod"},
         "--export-unit " + d + "/mod: You can't save without specifying your units UNITNAME",
         ""},
        {{"--unit", "arm\xCE\xA9", "--export-unit", d + "/mod"},
         "--export-unit " + d + "/mod: " + notWritten +
             " The unit name has a character that Windows-1252 has no code for.",
         ""},
        {{"--unit", "arm/camp", "--export-unit", d + "/mod"},
         "--export-unit " + d + "/mod: " + notWritten +
             " The unit name holds a '/', which cannot be part of a file name.",
         ""},
        {{"--unit", "armcamp", "--export-unit", in.Bmp},
         "--export-unit " + in.Bmp + ": The unit's files could not be written: the folder " + in.Bmp +
             "/anims cannot be made.",
         ""},
        {{"--save-pcx", "normal", d + "/no/x.pcx"},
         "--save-pcx normal " + d + "/no/x.pcx: The picture could not be saved.",
         ""},
        {{"--save-png", "1", d + "/no/x.png"}, "--save-png 1 " + d + "/no/x.png: The picture could not be saved.", ""},
        {{"--preview-png", "2", d + "/no/x.png"},
         "--preview-png 2 " + d + "/no/x.png: The preview could not be saved.",
         ""},
        {{"--gaf-list", d + "/none.gaf"},
         "--gaf-list " + d + "/none.gaf: " + notRead + "the file cannot be opened.",
         ""},
        {{"--gaf-list", d + "/text.gaf"},
         "--gaf-list " + d + "/text.gaf: " + notRead +
             "not a GAF file: it starts with 0x21464147, not the version 0x00010100.",
         ""},
        {{"--gaf-extract", d + "/bad.gaf", d + "/out"},
         "--gaf-extract " + d + "/bad.gaf " + d + "/out: " + notRead +
             "frame 0 of entry T: row 0: a packet runs past the row's width.",
         ""},
        // What was written before the failure is listed.
        {{"--gaf-extract", d + "/good.gaf", d + "/out"},
         "--gaf-extract " + d + "/good.gaf " + d + "/out: The frames could not all be written: the folder " + d +
             "/out/B cannot be made.",
         d + "/out/A/0.png\n"},
    };
    for (const auto& [steps, error, out] : cases) {
        std::filesystem::remove(before);
        Args args{"--save-bmp", "normal", before};
        args.insert(args.end(), steps.begin(), steps.end());
        args.insert(args.end(), {"--save-bmp", "normal", after});
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.Exit, 1) << error;
        EXPECT_EQ(run.Out + run.Err, out + "iconwright-cli: " + error + "\n");
        EXPECT_TRUE(std::filesystem::exists(before)) << error;
        EXPECT_FALSE(std::filesystem::exists(after) || std::filesystem::exists(d + "/mod")) << error;
    }
    for (const auto& [args, error] :
         {std::pair{Args{"--gaf-extract", "x.gaf"}, "--gaf-extract: missing DIR"},
          std::pair{Args{"--export-unit", "--gaf-list", "x"}, "--export-unit: missing DIR"}}) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(std::to_string(run.Exit) + run.Out + run.Err,
                  "2iconwright-cli: " + std::string(error) + "\nTry 'iconwright-cli --help' for the list of steps.\n");
    }
}

TEST(CliFileFailure, StandardOutputThatCannotBeWrittenFailsTheStep) {
    Folder in;
    const std::string gaf = in.file("good.gaf"), frames = in.file("frames"), mod = in.file("mod");
    WriteBytes(gaf, gafbuild::Build({{.Name = "A", .Frames = {gafbuild::Raw(1, 1, {1})}}}).Bytes);
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--gaf-list", gaf}, "--gaf-list " + gaf},
        {{"--gaf-extract", gaf, frames}, "--gaf-extract " + gaf + " " + frames},
        {{"--unit", "a", "--export-unit", mod}, "--export-unit " + mod},
    };
    for (const auto& [args, step] : cases) {
        std::ostringstream out, err;
        out.setstate(std::ios::badbit);
        EXPECT_EQ(RunCli(args, out, err), 1) << step;
        EXPECT_EQ(err.str(), "iconwright-cli: " + step + ": Standard output could not be written.\n");
    }
}

}  // namespace
