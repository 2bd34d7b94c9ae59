// iconwright-cli run in-process: lines checked before anything runs, failing steps, every step.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>
#include "CliRun.h"
#include "cli/CliHelp.h"
#include "cli/CliRunner.h"
#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"
#include "support/PcxBuilder.h"
#include "support/TestFiles.h"

namespace {

using clitest::Args;
using clitest::CliRun;
using clitest::RunTool;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

// A 96 x 96 picture of many indices as "in.bmp" and, in a palette of its own, as "IN.PCX".
struct Inputs : testsupport::TempDir {
    std::string Bmp = file("in.bmp"), Pcx = file("IN.PCX");
    Inputs() {
        std::vector<uint8_t> pattern;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x) pattern.push_back(static_cast<uint8_t>((x * 7 + y * 13 + x * y) % 256));
        WriteBytes(Bmp, modBmp::EncodeBmp(pattern, modPalettes::GamePalette, 96, 96));
        WriteBytes(Pcx, pcxbuild::BuildWithPackets(0, 0, 95, 95, pcxbuild::Encode(pattern)));
    }
};

// Each bad tail follows a good --save-bmp step: its file must not appear, since nothing runs.
TEST(CliUsage, ErrorExitsWithTwoAndRunsNothing) {
    const std::string slotHint = " (use normal, highlighted, disabled, 0, 1 or 2)";
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--shine", "normal"}, "unknown step \"--shine\""},
        {{"armcamp.bmp"}, "expected a step, found \"armcamp.bmp\""},
        {{"--fill", "disabled"}, "--fill: missing COLOR"},
        // A word starting with "--" is the next step, never an argument.
        {{"--load-bmp", "normal", "--write-gaf", "x.gaf"}, "--load-bmp: missing FILE"},
        {{"--border", "3"}, "--border: bad SLOT \"3\"" + slotHint},
        {{"--grid", "Normal"}, "--grid: bad SLOT \"Normal\"" + slotHint},
        {{"--grid", "1\n"}, "--grid: bad SLOT \"1\\n\"" + slotHint},  // still one line
        {{"--fill", "normal", "1.5"}, "--fill: bad COLOR \"1.5\" (a whole number)"},
    };
    testsupport::TempDir dir;
    const std::string earlier = dir.file("earlier.bmp");
    for (const auto& [tail, error] : cases) {
        Args args{"--save-bmp", "normal", earlier};
        args.insert(args.end(), tail.begin(), tail.end());
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.Exit, 2) << error;
        EXPECT_EQ(run.Out + run.Err,
                  "iconwright-cli: " + error + "\nTry 'iconwright-cli --help' for the list of steps.\n");
        EXPECT_FALSE(std::filesystem::exists(earlier)) << error;
    }
    for (const Args& args : {Args{"--help"}, Args{"--save-bmp", "normal", earlier, "--bad", "--help"}}) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Out + "|" + run.Err, std::string(CliHelpText()) + "|");
        EXPECT_FALSE(std::filesystem::exists(earlier));
    }
}

// Each case runs between a step that writes before.bmp and one that would write after.bmp.
TEST(CliFailure, StopsAtTheFailingStepWithOneLineNamingIt) {
    Inputs in;
    const std::string d = in.path().string(), before = in.file("before.bmp"), after = in.file("after.bmp");
    WriteBytes(in.file("small.bmp"),
               modBmp::EncodeBmp(std::vector<uint8_t>(95 * 96, 3), modPalettes::GamePalette, 95, 96));
    const std::string noGaf = "The .GAF file could not be written.";
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--load-bmp", "highlighted", d + "/small.bmp"},
         "--load-bmp highlighted " + d +
             "/small.bmp: The background image must be a 96x96, 256 color bitmap. small.bmp is 95 x 96 pixels; "
             "pictures must be 96 x 96 (--import can fit it)."},
        {{"--load-bmp", "0", d + "/my pic\n.bmp"},
         "--load-bmp 0 \"" + d +
             "/my pic\\n.bmp\": The background image must be a 96x96, 256 color bitmap. my pic\\n.bmp cannot be "
             "opened (No such file or directory). Check that the file is there and readable."},
        {{"--write-gaf", d + "/x.gaf"},
         "--write-gaf " + d + "/x.gaf: You can't save without specifying your units UNITNAME"},
        {{"--unit", "arm\xCE\xA9", "--write-gaf", d + "/x.gaf"},  // "armΩ"
         "--write-gaf " + d + "/x.gaf: " + noGaf + " The unit name has a character that Windows-1252 has no code for."},
        {{"--unit", "armcamp", "--write-gaf", d + "/no/x.gaf"},
         "--write-gaf " + d + "/no/x.gaf: " + noGaf +
             " x.gaf could not be written (No such file or directory). Choose another folder or file name, or free "
             "some space."},
        {{"--preview", "0", d + "/no/p.bmp"}, "--preview 0 " + d + "/no/p.bmp: The preview could not be saved."},
        {{"--cross", "normal", "abc"}, "--cross normal abc: You must enter a number !"},
        {{"--cross", "2", "40000"}, "--cross 2 40000: The cross size must lie between -32768 and 32767"},
        {{"--auto", d + "/gone.pcx"}, "--auto " + d + "/gone.pcx: Error whilst processing task"},
    };
    for (const auto& [steps, error] : cases) {
        std::filesystem::remove(before);
        Args args{"--save-bmp", "normal", before};
        args.insert(args.end(), steps.begin(), steps.end());
        args.insert(args.end(), {"--save-bmp", "normal", after});
        const CliRun run = RunTool(args);
        EXPECT_EQ(run.Exit, 1) << error;
        EXPECT_EQ(run.Out + run.Err, "iconwright-cli: " + error + "\n");
        EXPECT_EQ(ReadBytes(before).size(), 10294u) << error;
        EXPECT_FALSE(std::filesystem::exists(after)) << error;
        EXPECT_FALSE(std::filesystem::exists(in.file("x.gaf"))) << error;
    }
}

// The road from the README, plus a preview, against the same operations called directly.
TEST(CliRoad, GafAndPreviewEqualTheDirectlyDrivenPictureSet) {
    Inputs in;
    const std::string gaf = in.file("armcamp_GADGET.GAF"), preview = in.file("preview.bmp");
    const CliRun run = RunTool({"--unit", "armcamp", "--load-bmp", "normal", in.Bmp, "--border", "normal", "--auto",
                                in.Bmp, "--write-gaf", gaf, "--preview", "highlighted", preview});
    ASSERT_EQ(run.Out + run.Err + std::to_string(run.Exit), "0");

    classUnitGAF direct;
    direct.Name("armcamp");
    for (int32_t slot : {kNormalPic, kHighlightedPic, kDisabledPic})
        ASSERT_TRUE(direct.LoadBMPPicture(in.Bmp, slot)) << slot;
    direct.AddCavedogLikeBorder(0, 1);
    direct.MakePicLighter(1);
    direct.MakePicGrey(2);
    ASSERT_TRUE(direct.SaveGadget(in.file("direct.GAF")));
    EXPECT_EQ(ReadBytes(gaf), ReadBytes(in.file("direct.GAF")));
    EXPECT_EQ(ReadBytes(preview), modBmp::EncodeBmp(direct.ReducedFrame(1), modPalettes::GamePalette, 64, 64));
}

// The pattern is loaded into all three slots first, so a wrong slot, operation or argument shows.
TEST(CliSlotSteps, EachStepEqualsThePictureSetOperation) {
    using U = classUnitGAF;
    Inputs in;
    const std::vector<std::tuple<Args, std::function<void(U&)>, bool>> cases{
        {{"--border", "highlighted"}, [](U& u) { u.AddCavedogLikeBorder(1, 1); }, true},
        {{"--lighter", "disabled"}, [](U& u) { u.MakePicLighter(2); }, true},
        {{"--grey", "normal"}, [](U& u) { u.MakePicGrey(0); }, true},
        {{"--grid", "2"}, [](U& u) { u.AddGrid(2); }, true},
        {{"--fill", "1", "42"}, [](U& u) { u.ResetToBackground(1, 42); }, true},
        // A COLOR outside 0 to 255 changes nothing, even one whose low 16 bits would be 7.
        {{"--fill", "0", "256"}, [](U&) {}, false},
        {{"--fill", "2", "65543"}, [](U&) {}, false},
        // The SIZE by the cross prompt's rules: spaces allowed, halves rounded to even.
        {{"--cross", "0", " 2.5 "}, [](U& u) { u.AddBlackCross(0, 2); }, true},
        {{"--cross", "1", "3.5"}, [](U& u) { u.AddBlackCross(1, 4); }, true},
        {{"--load-pcx", "1", in.Pcx}, [&in](U& u) { EXPECT_TRUE(u.LoadPCXPicture(in.Pcx, 1)); }, true},
        // --auto reads a name ending in .PCX, in any case, with the PCX reader; slot 0 is left alone.
        {{"--fill", "0", "9", "--auto", in.Pcx},
         [&in](U& u) {
             EXPECT_TRUE(u.LoadPCXPicture(in.Pcx, 1));
             EXPECT_TRUE(u.LoadPCXPicture(in.Pcx, 2));
             u.ResetToBackground(0, 9);
             u.MakePicLighter(1);
             u.MakePicGrey(2);
         },
         true},
    };
    const auto slotFiles = [](const U& u) {  // each slot as --save-bmp writes it
        std::vector<std::vector<uint8_t>> files;
        for (int32_t s = 0; s < 3; ++s)
            files.push_back(modBmp::EncodeBmp(*u.Slot(s), modPalettes::GamePalette, 96, 96));
        return files;
    };
    U loaded;
    for (int32_t s = 0; s < 3; ++s) ASSERT_TRUE(loaded.LoadBMPPicture(in.Bmp, s));
    for (const auto& [steps, direct, changes] : cases) {
        Args args;
        for (const char* s : {"0", "1", "2"}) args.insert(args.end(), {"--load-bmp", s, in.Bmp});
        args.insert(args.end(), steps.begin(), steps.end());
        for (const char* s : {"0", "1", "2"}) args.insert(args.end(), {"--save-bmp", s, in.file(s)});
        SCOPED_TRACE(testing::PrintToString(steps));

        ASSERT_EQ(RunTool(args).Err, "");
        U expected = loaded;
        direct(expected);
        const auto files = slotFiles(expected);
        for (size_t s = 0; s < 3; ++s) EXPECT_EQ(ReadBytes(in.file(std::to_string(s))), files[s]) << "slot " << s;
        EXPECT_EQ(files != slotFiles(loaded), changes);
    }
}

// The program itself under a file-size limit smaller than the GAF file, with the signal such a
// limit sends at its default (ending the process): the program ignores it, so the write fails
// like any other, exit status 1, and the old file and the folder stay as they were.
TEST(CliProcess, AFileSizeLimitIsAFailedStepNotASignal) {
    Inputs in;
    const std::string gaf = in.file("armcamp_GADGET.GAF");
    WriteBytes(gaf, std::vector<uint8_t>(100, 0x5A));
    int errors[2];
    ASSERT_EQ(::pipe(errors), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(errors[1], 2);
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        ::execl(IW_CLI_PATH, IW_CLI_PATH, "--unit", "armcamp", "--load-bmp", "normal", in.Bmp.c_str(), "--write-gaf",
                gaf.c_str(), static_cast<char*>(nullptr));
        ::_exit(4);
    }
    ::close(errors[1]);
    std::string err;
    char buffer[256];
    for (ssize_t n; (n = ::read(errors[0], buffer, sizeof buffer)) > 0;) err.append(buffer, std::size_t(n));
    ::close(errors[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_TRUE(err.starts_with("iconwright-cli: --write-gaf " + gaf + ": The .GAF file could not be written.")) << err;
    EXPECT_EQ(ReadBytes(gaf), std::vector<uint8_t>(100, 0x5A));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(in.path()), {}), 3)
        << "in.bmp, IN.PCX and the GAF file";
}

}  // namespace
