// iconwright-cli run in-process: lines checked before anything runs and failing steps;
// and the program itself under a file-size limit.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>

#include "CliRun.h"
#include "IconwrightVersion.h"
#include "cli/CliHelp.h"
#include "support/GafBuilder.h"
#include "support/MissingFileText.h"

namespace {

using Bytes = std::vector<uint8_t>;
using clitest::Args;
using clitest::CliRun;
using clitest::RunTool;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

// Each bad tail follows a good --save-bmp step: its file must not appear, since nothing runs. One
// row for each rule of the reading.
TEST(CliUsage, ErrorExitsWithTwoAndRunsNothing) {
    const std::vector<std::pair<Args, std::string>> cases{
        {{"--shine", "normal"}, "unknown step \"--shine\""},
        {{"armcamp.bmp"}, "expected a step, found \"armcamp.bmp\""},
        {{"--gaf-extract", "x.gaf"}, "--gaf-extract: missing DIR"},
        // A word starting with "--" is the next step, never an argument.
        {{"--load-bmp", "normal", "--write-gaf", "x.gaf"}, "--load-bmp: missing FILE"},
        {{"--grid", "1\n"}, "--grid: bad SLOT \"1\\n\" (use normal, highlighted, disabled, 0, 1 or 2)"},
        {{"--grid", "1\x7F\xC2\x85"},
         "--grid: bad SLOT \"1\\x7F\\xC2\\x85\" (use normal, highlighted, disabled, 0, 1 or 2)"},
        {{"--fill", "normal", "1.5"}, "--fill: bad COLOR \"1.5\" (a whole number)"},
        {{"--fit", "zoom"}, "--fit: bad MODE \"zoom\" (use contain, cover, stretch or none)"},
        {{"--strict", "ON"}, "--strict: bad on|off \"ON\" (use on or off)"},
        // The reasons a list does not read, which only this line shows.
        {{"--avoid", "0-255"}, "--avoid: bad LIST \"0-255\" (all 256 indices avoided leaves none to choose)"},
        {{"--avoid", "0,256"},
         "--avoid: bad LIST \"0,256\" (\"256\" is not an index 0 to 255 or a range such as 240-255)"},
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
    const CliRun help = RunTool({"--save-bmp", "normal", earlier, "--bad", "--help"});
    EXPECT_EQ(std::to_string(help.Exit) + help.Out + "|" + help.Err, "0" + std::string(CliHelpText()) + "|");
    EXPECT_FALSE(std::filesystem::exists(earlier));
    const CliRun version = RunTool({"--save-bmp", "normal", earlier, "--bad", "--version"});
    EXPECT_EQ(std::to_string(version.Exit) + version.Out + "|" + version.Err,
              "0iconwright-cli " + std::string(kIconwrightVersion) + "\n|");
    EXPECT_FALSE(std::filesystem::exists(earlier));
}

// Each failing step runs after one that writes before.bmp and ahead of one that would write
// after.bmp: the run stops there with exit status 1 and one line naming the step and the reason,
// after what the step printed before it failed. A file name is quoted, and a control character
// in it written as an escape, so that the line stays one line.
TEST(CliFailure, StopsAtTheFailingStepWithOneLineNamingIt) {
    clitest::Inputs in;
    const std::string d = in.path().string() + "/", before = d + "before.bmp", after = d + "after.bmp";
    WriteBytes(d + "good.gaf",
               gafbuild::Build({{"A", {gafbuild::Raw(1, 1, {1})}}, {"B", {gafbuild::Raw(1, 1, {2})}}}).Bytes);
    std::filesystem::create_directory(d + "out");
    WriteBytes(d + "out/B", {});
    clitest::WriteSolidPng(d + "clear.png", 5, 5, {1, 1, 1, 0});
    struct Case {
        Args Line;
        std::string Step, Reason, Out = {};
    };
    const std::vector<Case> cases{
        {{"--load-bmp", "0", d + "my pic\n.bmp"},
         "--load-bmp 0 \"" + d + "my pic\\n.bmp\"",
         "The background image must be a 96x96, 256 color bitmap. my pic\\n.bmp cannot be opened (" +
             testsupport::MissingFileText(d + "my pic\n.bmp") + "). Check that the file is there and readable."},
        // DEL alone must make the word quoted: a row of its own, apart from the newline above.
        {{"--load-bmp", "0", d + "del\x7F.bmp"},
         "--load-bmp 0 \"" + d + "del\\x7F.bmp\"",
         "The background image must be a 96x96, 256 color bitmap. del\\x7F.bmp cannot be opened (" +
             testsupport::MissingFileText(d + "del\x7F.bmp") + "). Check that the file is there and readable."},
        {{"--write-gaf", d + "x.gaf"},
         "--write-gaf " + d + "x.gaf",
         "You can't save without specifying your units UNITNAME"},
        {{"--cross", "normal", "abc"}, "--cross normal abc", "You must enter a number !"},
        {{"--gaf-extract", d + "good.gaf", d + "out"},
         "--gaf-extract " + d + "good.gaf " + d + "out",
         "The frames could not all be written: the folder " + testsupport::Joined(d + "out", "B") +
             ": Not a directory.",
         testsupport::Joined(d + "out", "A/0.png") + "\n1 file written\n"},
        {{"--trim", "on", "--import", "0", d + "clear.png"},
         "--import 0 " + d + "clear.png",
         "the picture is fully transparent"},
        {{"--unit", "arm/camp", "--write-gaf", d + "x.gaf"},
         "--write-gaf " + d + "x.gaf",
         "The .GAF file could not be written. The unit name has \"/\", which a unit name cannot hold: it would make "
         "a sub-path or an entry the game cannot name."}};
    for (const Case& c : cases) {
        std::filesystem::remove(before);
        Args args{"--save-bmp", "normal", before};
        args.insert(args.end(), c.Line.begin(), c.Line.end());
        args.insert(args.end(), {"--save-bmp", "normal", after});
        const CliRun run = RunTool(args);
        EXPECT_EQ(std::to_string(run.Exit) + run.Out + run.Err,
                  "1" + c.Out + "iconwright-cli: " + c.Step + ": " + c.Reason + "\n");
        EXPECT_EQ(ReadBytes(before).size(), 10294u) << c.Step;
        EXPECT_FALSE(std::filesystem::exists(after) || std::filesystem::exists(d + "x.gaf")) << c.Step;
    }
}

// A name longer than the GAF entry is written cut, as scripts may expect, with the warning the
// window gives on standard error; the run goes on.
TEST(CliFailure, ALongUnitNameIsWrittenCutWithAWarning) {
    clitest::Inputs in;
    const std::string gaf = in.path().string() + "/long.gaf", name = "abcdefghijklmnopqrstuvwxyz012345";
    const CliRun run = RunTool({"--unit", name, "--write-gaf", gaf, "--save-bmp", "normal", in.file("after.bmp")});
    EXPECT_EQ(std::to_string(run.Exit) + run.Out + run.Err,
              "0iconwright-cli: --write-gaf " + gaf +
                  ": The entry inside the file will be named ABCDEFGHIJKLMNOPQRSTUVWXYZ01234: the game reads 31 "
                  "characters.\n");
    EXPECT_EQ(ReadBytes(gaf).size(), 12440u);
    EXPECT_TRUE(std::filesystem::exists(in.file("after.bmp")));
}

// Import settings in combination: --trim and --strict each set their own setting, and a colour
// background given after a picture background replaces the picture. The picture: a 2 x 2 red
// square in a transparent 40 x 40, which trimmed fills the frame with exactly the game's red and
// untrimmed is scaled with soft edges that no game colour holds.
TEST(CliSteps, ImportSettingsInCombination) {
    testsupport::TempDir dir;
    const std::string dot = dir.file("dot.png"), green = dir.file("green.png"), out = dir.file("out.bmp");
    imagefiles::RgbaPicture picture{40, 40, std::vector<uint8_t>(40 * 40 * 4, 0)};
    for (int y : {19, 20})
        for (int x : {19, 20})
            std::copy_n(std::array<uint8_t, 4>{255, 0, 0, 255}.begin(), 4, &picture.Pixels[(y * 40 + x) * 4]);
    WriteBytes(dot, pictureencode::EncodeRgbaPng(picture));
    clitest::WriteSolidPng(green, 10, 10, {0, 255, 0, 255});
    const auto slot = [&](const Args& settings) {
        Args args = settings;
        args.insert(args.end(), {"--import", "0", dot, "--save-bmp", "0", out});
        const CliRun run = RunTool(args);
        EXPECT_TRUE(run.Exit == 0 || run.Exit == 1) << run.Err;
        return std::pair(
            run.Exit, run.Exit == 0 && modBmp::LoadBMPFile(out, false) ? modBmp::BmpPixels() : std::vector<uint8_t>{});
    };
    const auto [trimmedExit, trimmed] = slot({"--trim", "on", "--strict", "off"});
    EXPECT_EQ(trimmedExit, 0);
    EXPECT_EQ(trimmed, std::vector<uint8_t>(9216, 249));  // red, edge to edge
    const CliRun strict = RunTool({"--trim", "off", "--strict", "on", "--import", "0", dot});
    EXPECT_EQ(strict.Exit, 1);
    EXPECT_NE(strict.Err.find(": pixel "), std::string::npos) << strict.Err;
    const auto [bothExit, both] = slot({"--strict", "on", "--trim", "on"});
    EXPECT_EQ(bothExit, 0);
    EXPECT_EQ(both, trimmed);

    const auto [colourExit, overColour] = slot({"--background", green, "--background", "#0000FF"});
    ASSERT_EQ(colourExit, 0);
    EXPECT_EQ(overColour[0], 252);  // blue, not the green picture
    const auto [pictureExit, overPicture] = slot({"--background", "#0000FF", "--background", green});
    ASSERT_EQ(pictureExit, 0);
    EXPECT_EQ(overPicture[0], 250);  // green
}

#ifndef _WIN32  // Windows has no file-size limit (RLIMIT_FSIZE), no SIGXFSZ and no fork
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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(in.path()), {}), 3) << "in.bmp, IN.PCX, the GAF file";
}

// Every writer of the CLI, on a full disk and past a file-size limit: exit status 1 and the
// system's reason in the message, not only "could not be saved".
TEST(CliProcess, EachWriterSaysWhyOnAFullDiskAndPastASizeLimit) {
    clitest::Inputs in;
    Bytes noise(100 * 100);
    uint32_t state = 1;  // a picture that does not compress: its PNG file is larger than the room given
    for (uint8_t& pixel : noise) pixel = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 24);
    WriteBytes(in.file("big.gaf"), gafbuild::Build({{"BIG", {gafbuild::Raw(100, 100, noise)}}}).Bytes);
    const std::string out = in.file("out"), o = out + "/";
    std::filesystem::create_directory(out);
    const std::vector<Args> writers{
        {"--save-bmp", "normal", o + "a.bmp"},
        {"--save-pcx", "normal", o + "a.pcx"},
        {"--save-png", "normal", o + "a.png"},
        {"--preview", "normal", o + "p.bmp"},
        {"--preview-png", "normal", o + "p.png"},
        {"--write-gaf", o + "a.gaf"},
        {"--export-unit", o + "mod"},
        {"--gaf-extract", in.file("big.gaf"), o + "frames"},
    };
    for (const bool fullDisk : {true, false}) {
        const std::string reason = fullDisk ? "No space left on device" : "File too large";
        for (const Args& writer : writers) {
            Args args{"--unit", "armcamp", "--load-bmp", "normal", in.Bmp};
            args.insert(args.end(), writer.begin(), writer.end());
            const auto failsWithReason = [&] {
                const CliRun run = RunTool(args);
                return run.Exit == 1 && run.Err.find(reason) != std::string::npos;
            };
            const int status = fullDisk ? testsupport::OnAFullDisk(out, failsWithReason)
                                        : testsupport::UnderFileSizeLimit(3000, true, failsWithReason);
            if (WIFEXITED(status) && WEXITSTATUS(status) == 3) GTEST_SKIP() << "no full disk here (needs root)";
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << writer[0] << ": " << reason;
        }
    }
}

#endif

}  // namespace
