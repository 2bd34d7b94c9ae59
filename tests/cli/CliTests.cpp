// iconwright-cli run in-process: lines checked before anything runs, failing steps, every step;
// and the program itself under a file-size limit.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "CliRun.h"
#include "cli/CliHelp.h"
#include "picture/classUnitGAF.h"
#include "support/GafBuilder.h"

namespace {

using clitest::Args;
using clitest::CliRun;
using clitest::RunTool;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

// Each bad tail follows a good --save-bmp step: its file must not appear, since nothing runs.
TEST(CliUsage, ErrorExitsWithTwoAndRunsNothing) {
    const std::string slotHint = " (use normal, highlighted, disabled, 0, 1 or 2)",
                      notIndex = " is not an index 0 to 255 or a range such as 240-255)";
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--shine", "normal"}, "unknown step \"--shine\""},
        {{"armcamp.bmp"}, "expected a step, found \"armcamp.bmp\""},
        {{"--fill", "disabled"}, "--fill: missing COLOR"},
        {{"--gaf-extract", "x.gaf"}, "--gaf-extract: missing DIR"},
        // A word starting with "--" is the next step, never an argument.
        {{"--load-bmp", "normal", "--write-gaf", "x.gaf"}, "--load-bmp: missing FILE"},
        {{"--border", "3"}, "--border: bad SLOT \"3\"" + slotHint},
        {{"--grid", "Normal"}, "--grid: bad SLOT \"Normal\"" + slotHint},
        {{"--grid", "1\n"}, "--grid: bad SLOT \"1\\n\"" + slotHint},  // still one line
        {{"--fill", "normal", "1.5"}, "--fill: bad COLOR \"1.5\" (a whole number)"},
        {{"--fit", "zoom"}, "--fit: bad MODE \"zoom\" (use contain, cover, stretch or none)"},
        {{"--strict", "ON"}, "--strict: bad on|off \"ON\" (use on or off)"},
        {{"--match", "lab"}, "--match: bad RULE \"lab\" (use rgb or perceptual)"},
        {{"--dither", "fs"}, "--dither: bad METHOD \"fs\" (use none or floyd-steinberg)"},
        {{"--avoid", "0-255"}, "--avoid: bad LIST \"0-255\" (all 256 indices avoided leaves none to choose)"},
        {{"--avoid", "0,256"}, "--avoid: bad LIST \"0,256\" (\"256\"" + notIndex},
        {{"--avoid", "1,,2"}, "--avoid: bad LIST \"1,,2\" (\"\"" + notIndex},
        {{"--avoid", "9-3"}, "--avoid: bad LIST \"9-3\" (the range \"9-3\" runs backwards)"},
        {{"--avoid", ""}, "--avoid: bad LIST \"\" (an empty list (use none to avoid nothing))"},
        {{"--background", "#12345G"},
         "--background: bad COLOR|FILE \"#12345G\" (a colour is #RRGGBB; anything else not starting with # is a "
         "picture file)"}};
    testsupport::TempDir dir;
    const std::string earlier = dir.file("earlier.bmp");
    for (const auto& [tail, error] : cases) {
        Args args{"--save-bmp", "normal", earlier};
        args.insert(args.end(), tail.begin(), tail.end());
        const CliRun run = RunTool(args);
        EXPECT_EQ(std::to_string(run.Exit) + run.Out + run.Err,
                  "2iconwright-cli: " + error + "\nTry 'iconwright-cli --help' for the list of steps.\n");
        EXPECT_FALSE(std::filesystem::exists(earlier)) << error;
    }
    for (const Args& args : {Args{"--help"}, Args{"--save-bmp", "normal", earlier, "--bad", "--help"}}) {
        const CliRun run = RunTool(args);
        EXPECT_EQ(std::to_string(run.Exit) + run.Out + "|" + run.Err, "0" + std::string(CliHelpText()) + "|");
        EXPECT_FALSE(std::filesystem::exists(earlier));
    }
}

// Each failing step runs after one that writes before.bmp and ahead of one that would write
// after.bmp: the run stops there with exit status 1 and one line naming the step and the reason,
// after what the step printed before it failed.
TEST(CliFailure, StopsAtTheFailingStepWithOneLineNamingIt) {
    clitest::Inputs in;
    const std::string d = in.path().string() + "/", before = d + "before.bmp", after = d + "after.bmp";
    WriteBytes(d + "small.bmp", modBmp::EncodeBmp(std::vector<uint8_t>(95 * 96, 3), modPalettes::GamePalette, 95, 96));
    WriteBytes(d + "text.gaf", {'G', 'A', 'F', '!', 0, 0, 0, 0, 0, 0, 0, 0});
    const auto bad = gafbuild::Row({gafbuild::Skip(3)});  // runs past a row 2 wide
    WriteBytes(d + "bad.gaf", gafbuild::Build({{"T", {{.Width = 2, .Compression = 1, .Data = bad}}}}).Bytes);
    WriteBytes(d + "good.gaf",
               gafbuild::Build({{"A", {gafbuild::Raw(1, 1, {1})}}, {"B", {gafbuild::Raw(1, 1, {2})}}}).Bytes);
    std::filesystem::create_directory(d + "out");
    WriteBytes(d + "out/B", {});
    clitest::WriteSolidPng(d + "clear.png", 5, 5, {1, 1, 1, 0});
    clitest::WriteSolidPng(d + "odd.png", 5, 5, {1, 2, 3, 255});
    WriteBytes(d + "anim.gif", {'G', 'I', 'F', '8', '9', 'a', 0, 0});
    const std::string badPicture = "The background image must be a 96x96, 256 color bitmap. ",
                      noGaf = "The .GAF file could not be written.",
                      noName = "You can't save without specifying your units UNITNAME",
                      notStored = " The unit name has a character that Windows-1252 has no code for.",
                      notSaved = "The picture could not be saved.", notRead = "The GAF file could not be read: ",
                      gif = "a GIF picture, which cannot be imported (use PNG, JPEG, BMP or PCX)";
    // The failing step is the last on its line.
    struct Case {
        Args Line;
        std::string Reason, Out = {};
    };
    const std::vector<Case> cases{
        {{"--load-bmp", "highlighted", d + "small.bmp"},
         badPicture + "small.bmp is 95 x 96 pixels; pictures must be 96 x 96 (--import can fit it)."},
        {{"--write-gaf", d + "x.gaf"}, noName},
        {{"--unit", "arm\xCE\xA9", "--write-gaf", d + "x.gaf"}, noGaf + notStored},  // "armΩ"
        {{"--unit", "armcamp", "--write-gaf", d + "no/x.gaf"},
         noGaf + " x.gaf could not be written (No such file or directory). Choose another folder or file name, or "
                 "free some space."},
        {{"--preview", "0", d + "no/p.bmp"}, "The preview could not be saved."},
        {{"--cross", "normal", "abc"}, "You must enter a number !"},
        {{"--cross", "2", "40000"}, "The cross size must lie between -32768 and 32767"},
        {{"--auto", d + "gone.pcx"}, "Error whilst processing task"},
        {{"--export-unit", d + "mod"}, noName},
        {{"--unit", "arm\xCE\xA9", "--export-unit", d + "mod"}, noGaf + notStored},
        {{"--unit", "arm/camp", "--export-unit", d + "mod"},
         noGaf + " The unit name holds a '/', which cannot be part of a file name."},
        {{"--unit", "armcamp", "--export-unit", in.Bmp},
         "The unit's files could not be written: the folder " + in.Bmp + "/anims cannot be made."},
        {{"--save-pcx", "normal", d + "no/x.pcx"}, notSaved},
        {{"--save-png", "1", d + "no/x.png"}, notSaved},
        {{"--preview-png", "2", d + "no/x.png"}, "The preview could not be saved."},
        {{"--gaf-list", d + "text.gaf"},
         notRead + "not a GAF file: it starts with 0x21464147, not the version 0x00010100."},
        {{"--gaf-extract", d + "bad.gaf", d + "out"},
         notRead + "frame 0 of entry T: row 0: a packet runs past the row's width."},
        {{"--gaf-extract", d + "good.gaf", d + "out"},
         "The frames could not all be written: the folder " + d + "out/B cannot be made.",
         d + "out/A/0.png\n"},
        {{"--import", "0", d + "clear.png"}, "the picture is fully transparent"},
        {{"--strict", "on", "--import", "0", d + "odd.png"}, "pixel 0,0 is #010203, which is not a game colour"},
        {{"--import", "0", d + "anim.gif"}, gif},
        {{"--import", "0", d + "none.png"}, "the file cannot be opened (No such file or directory)"},
        {{"--auto-import", d + "clear.png"}, "the picture is fully transparent"},
        {{"--background", d + "anim.gif"}, "the background picture: " + gif}};
    for (const Case& c : cases) {
        std::filesystem::remove(before);
        Args args{"--save-bmp", "normal", before};
        args.insert(args.end(), c.Line.begin(), c.Line.end());
        args.insert(args.end(), {"--save-bmp", "normal", after});
        std::string step;
        for (auto word = c.Line.begin(); word != c.Line.end(); ++word) {
            if (word->starts_with("--")) step.clear();
            step += (step.empty() ? "" : " ") + *word;
        }
        const CliRun run = RunTool(args);
        EXPECT_EQ(std::to_string(run.Exit) + run.Out + run.Err,
                  "1" + c.Out + "iconwright-cli: " + step + ": " + c.Reason + "\n");
        EXPECT_EQ(ReadBytes(before).size(), 10294u) << step;
        EXPECT_FALSE(std::filesystem::exists(after) || std::filesystem::exists(d + "mod") ||
                     std::filesystem::exists(d + "x.gaf"))
            << step;
    }
    // A file name is quoted, and a control character in it written as an escape, so that the
    // line stays one line.
    const CliRun run = RunTool({"--load-bmp", "0", d + "my pic\n.bmp"});
    EXPECT_EQ(std::to_string(run.Exit) + run.Err,
              "1iconwright-cli: --load-bmp 0 \"" + d + "my pic\\n.bmp\": " + badPicture +
                  "my pic\\n.bmp cannot be opened (No such file or directory). Check that the file is there "
                  "and readable.\n");
}

// The slot steps on the pattern loaded into all three slots, against the same operations called
// directly: a wrong slot, operation or argument shows in the slots' files.
TEST(CliSlotSteps, EachStepEqualsThePictureSetOperation) {
    clitest::Inputs in;
    using U = classUnitGAF&;
    const std::vector<std::pair<Args, std::function<void(U)>>> runs{
        // A COLOR outside 0 to 255 changes nothing, even one whose low 16 bits would be 7; the cross
        // SIZE is read by the prompt's rules: spaces allowed, halves rounded to even.
        {{"--load-pcx",  "1",       in.Pcx,  "--fill", "2",         "42",       "--fill", "0",     "256",
          "--fill",      "2",       "65543", "--grey", "normal",    "--cross",  "0",      " 2.5 ", "--border",
          "highlighted", "--cross", "1",     "3.5",    "--lighter", "disabled", "--grid", "2"},
         [&](U u) {
             EXPECT_TRUE(u.LoadPCXPicture(in.Pcx, 1));
             u.ResetToBackground(2, 42), u.MakePicGrey(0), u.AddBlackCross(0, 2), u.AddCavedogLikeBorder(1, 1);
             u.AddBlackCross(1, 4), u.MakePicLighter(2), u.AddGrid(2);
         }},
        // --auto reads a name ending in .PCX, in any case, with the PCX reader; slot 0 is left alone.
        {{"--fill", "0", "9", "--auto", in.Pcx}, [&](U u) {
             EXPECT_TRUE(u.LoadPCXPicture(in.Pcx, 1) && u.LoadPCXPicture(in.Pcx, 2));
             u.ResetToBackground(0, 9), u.MakePicLighter(1), u.MakePicGrey(2);
         }}};
    for (const auto& [steps, direct] : runs) {
        Args args;
        classUnitGAF expected;
        for (const char* s : {"0", "1", "2"}) args.insert(args.end(), {"--load-bmp", s, in.Bmp});
        for (int32_t s = 0; s < 3; ++s) ASSERT_TRUE(expected.LoadBMPPicture(in.Bmp, s));
        args.insert(args.end(), steps.begin(), steps.end());
        for (const char* s : {"0", "1", "2"}) args.insert(args.end(), {"--save-bmp", s, in.file(s)});
        SCOPED_TRACE(testing::PrintToString(steps));
        ASSERT_EQ(RunTool(args).Err, "");
        direct(expected);
        for (int32_t s = 0; s < 3; ++s)
            EXPECT_EQ(ReadBytes(in.file(std::to_string(s))),
                      modBmp::EncodeBmp(*expected.Slot(s), modPalettes::GamePalette, 96, 96))
                << "slot " << s;
    }
}

// The program itself under a file-size limit smaller than the GAF file, with the signal such a
// limit sends at its default (ending the process): the program ignores it, so the write fails
// like any other, exit status 1, and the old file and the folder stay as they were.
TEST(CliProcess, AFileSizeLimitIsAFailedStepNotASignal) {
    clitest::Inputs in;
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
