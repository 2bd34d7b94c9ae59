// Command lines that are wrong, or that ask for help: nothing may run.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <streambuf>

#include "cli/CliHelp.h"
#include "cli/CliRunner.h"
#include "cli/CliSteps.h"
#include "cli/CliTestSupport.h"
#include "support/TestFiles.h"

namespace {

using clitest::RunTool;

// Each bad tail follows a good --save-bmp step; that step's file must not appear, which proves
// that the whole line is checked before anything runs.
TEST(CliUsage, ErrorExitsWithTwoAndRunsNothing) {
    const std::string slotHint = " (use normal, highlighted, disabled, 0, 1 or 2)";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--shine", "normal"}, "unknown step \"--shine\""},
        {{"-unit", "x"}, "unknown step \"-unit\""},
        {{"armcamp.bmp"}, "expected a step, found \"armcamp.bmp\""},
        {{"--load-bmp", "normal"}, "--load-bmp: missing FILE"},
        {{"--grey"}, "--grey: missing SLOT"},
        {{"--unit"}, "--unit: missing NAME"},
        {{"--cross", "normal"}, "--cross: missing SIZE"},
        {{"--fill", "disabled"}, "--fill: missing COLOR"},
        // A word starting with "--" is the next step, never an argument.
        {{"--load-bmp", "normal", "--write-gaf", "x.gaf"}, "--load-bmp: missing FILE"},
        {{"--border", "3"}, "--border: bad SLOT \"3\"" + slotHint},
        {{"--grid", "Normal"}, "--grid: bad SLOT \"Normal\"" + slotHint},
        {{"--grid", " 1"}, "--grid: bad SLOT \" 1\"" + slotHint},
        {{"--lighter", "01"}, "--lighter: bad SLOT \"01\"" + slotHint},
        // A control character is escaped: the message stays one line.
        {{"--grid", "1\n"}, "--grid: bad SLOT \"1\\n\"" + slotHint},
        {{"--fill", "normal", "abc"}, "--fill: bad COLOR \"abc\" (a whole number)"},
        {{"--fill", "normal", "1.5"}, "--fill: bad COLOR \"1.5\" (a whole number)"},
        {{"--fill", "normal", ""}, "--fill: bad COLOR \"\" (a whole number)"},
        {{"--fill", "normal", "+-3"}, "--fill: bad COLOR \"+-3\" (a whole number)"},
    };
    for (const auto& [tail, error] : cases) {
        SCOPED_TRACE(error);
        testsupport::TempDir dir;
        const std::string earlier = dir.file("earlier.bmp");
        std::vector<std::string> args{"--save-bmp", "normal", earlier};
        args.insert(args.end(), tail.begin(), tail.end());
        const auto run = RunTool(args);
        EXPECT_EQ(run.Exit, 2);
        EXPECT_EQ(run.Err, "iconwright-cli: " + error + "\nTry 'iconwright-cli --help' for the list of steps.\n");
        EXPECT_EQ(run.Out, "");
        EXPECT_FALSE(std::filesystem::exists(earlier));
    }
}

// Any whole number is a COLOR (outside 0 to 255 it changes nothing); those beyond 16 bits are
// held at the nearest 16-bit value, which lies outside 0 to 255 as they do.
TEST(CliUsage, EveryWholeNumberIsAColor) {
    const std::vector<std::pair<std::string, int>> cases{
        {"-32768", -32768}, {"32767", 32767}, {"+7", 7}, {"-0", 0}, {"007", 7}, {"256", 256}, {"-1", -1},
        {"32768", 32767}, {"-32769", -32768}, {"99999999999999999999", 32767}, {"-000000000000000000001", -1}};
    for (const auto& [text, color] : cases) {
        const auto line = ParseCliSteps({"--fill", "0", text});
        ASSERT_EQ(line.Result, CliCommandLine::Outcome::Run) << text;
        EXPECT_EQ(line.Steps.at(0).Color, color) << text;
    }
}

TEST(CliHelp, PrintsTheStepsAndRunsNothingWhereverItStands) {
    const std::string help(CliHelpText());
    EXPECT_EQ(help.rfind("Usage: iconwright-cli [STEP]...\n", 0), 0u);
    for (std::string_view name : CliStepNames()) {
        EXPECT_NE(help.find("  " + std::string(name) + " "), std::string::npos) << name;
    }

    testsupport::TempDir dir;
    const std::string file = dir.file("never.bmp");
    for (const auto& args : std::vector<std::vector<std::string>>{{"--help"},
                                                                   {"--save-bmp", "normal", file, "--help"},
                                                                   {"--help", "--save-bmp", "normal", file},
                                                                   {"--save-bmp", "normal", file, "--bad", "--help"}}) {
        const auto run = RunTool(args);
        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Out, help);
        EXPECT_EQ(run.Err, "");
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

TEST(CliHelp, NoArgumentsIsAUsageErrorThatShowsTheHelp) {
    const auto run = RunTool({});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "iconwright-cli: no steps given\n\n" + std::string(CliHelpText()));
}

// Standard output that cannot take the help (a full disk, a closed descriptor) is a failure.
TEST(CliHelp, HelpThatCannotBeWrittenFails) {
    struct FullStreamBuf : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunCli({"--help"}, out, err), 1);
    EXPECT_EQ(err.str(), "iconwright-cli: the help could not be written\n");
}

}  // namespace
