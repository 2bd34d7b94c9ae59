// Command lines that are wrong, or that ask for help: nothing may run.

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "cli/CliHelp.h"
#include "cli/CliRunner.h"
#include "cli/CliSteps.h"
#include "cli/CliTestSupport.h"
#include "support/TestFiles.h"

namespace {

using clitest::RunTool;

constexpr const char* kHint = "Try 'iconwright-cli --help' for the list of steps.\n";

struct BadLine {
    const char* Label;
    std::vector<std::string> Tail;  // comes after a good --save-bmp step
    std::string Error;              // the first stderr line, without the program name
};

// Failures name the case, not its bytes.
void PrintTo(const BadLine& value, std::ostream* os) { *os << value.Label; }

class UsageErrorTest : public ::testing::TestWithParam<BadLine> {};

// A good step before the bad one proves that nothing ran: its file must not appear.
TEST_P(UsageErrorTest, ExitsWithTwoAndRunsNothing) {
    testsupport::TempDir dir;
    const std::string earlier = dir.file("earlier.bmp");
    std::vector<std::string> args{"--save-bmp", "normal", earlier};
    args.insert(args.end(), GetParam().Tail.begin(), GetParam().Tail.end());

    const auto run = RunTool(args);

    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Err, "iconwright-cli: " + GetParam().Error + "\n" + kHint);
    EXPECT_EQ(run.Out, "");
    EXPECT_FALSE(std::filesystem::exists(earlier));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, UsageErrorTest,
    ::testing::Values(
        BadLine{"UnknownStep", {"--shine", "normal"}, "unknown step \"--shine\""},
        BadLine{"StrayWord", {"armcamp.bmp"}, "expected a step, found \"armcamp.bmp\""},
        BadLine{"SingleDash", {"-unit", "x"}, "unknown step \"-unit\""},
        BadLine{"MissingFileAtEnd", {"--load-bmp", "normal"}, "--load-bmp: missing FILE"},
        BadLine{"MissingSlotAtEnd", {"--grey"}, "--grey: missing SLOT"},
        BadLine{"MissingNameAtEnd", {"--unit"}, "--unit: missing NAME"},
        BadLine{"MissingSizeAtEnd", {"--cross", "normal"}, "--cross: missing SIZE"},
        BadLine{"MissingColorAtEnd", {"--fill", "disabled"}, "--fill: missing COLOR"},
        BadLine{"NextStepIsNoArgument", {"--load-bmp", "normal", "--write-gaf", "x.gaf"}, "--load-bmp: missing FILE"},
        BadLine{"SlotThree", {"--border", "3"}, "--border: bad SLOT \"3\" (use normal, highlighted, disabled, 0, 1 or 2)"},
        BadLine{"SlotNormalx", {"--lighter", "normalx"}, "--lighter: bad SLOT \"normalx\" (use normal, highlighted, disabled, 0, 1 or 2)"},
        BadLine{"SlotMinusOne", {"--grid", "-1"}, "--grid: bad SLOT \"-1\" (use normal, highlighted, disabled, 0, 1 or 2)"},
        BadLine{"SlotCapitalised", {"--grid", "Normal"}, "--grid: bad SLOT \"Normal\" (use normal, highlighted, disabled, 0, 1 or 2)"},
        BadLine{"SlotSpaced", {"--grid", " 1"}, "--grid: bad SLOT \" 1\" (use normal, highlighted, disabled, 0, 1 or 2)"},
        BadLine{"ColorWord", {"--fill", "normal", "abc"}, "--fill: bad COLOR \"abc\" (a whole number)"},
        BadLine{"ColorFraction", {"--fill", "normal", "1.5"}, "--fill: bad COLOR \"1.5\" (a whole number)"},
        BadLine{"ColorTrailing", {"--fill", "normal", "12px"}, "--fill: bad COLOR \"12px\" (a whole number)"},
        BadLine{"ColorEmpty", {"--fill", "normal", ""}, "--fill: bad COLOR \"\" (a whole number)"},
        BadLine{"ColorDoubleSign", {"--fill", "normal", "+-3"}, "--fill: bad COLOR \"+-3\" (a whole number)"},
        BadLine{"SlotWithLineBreak", {"--grid", "1\n"}, "--grid: bad SLOT \"1\\n\" (use normal, highlighted, disabled, 0, 1 or 2)"}),
    [](const auto& info) { return std::string(info.param.Label); });

// Any whole number is a COLOR; those beyond 16 bits are held at the nearest 16-bit value, which
// lies outside 0 to 255 as they do.
TEST(CliParse, EveryWholeNumberIsAColor) {
    const std::vector<std::pair<std::string, int>> cases{
        {"-32768", -32768}, {"32767", 32767}, {"+7", 7}, {"0", 0}, {"-0", 0}, {"007", 7}, {"256", 256},
        {"-1", -1}, {"32768", 32767}, {"40000", 32767}, {"-32769", -32768}, {"99999999999999999999", 32767},
        {"-000000000000000000001", -1}};
    for (const auto& [text, color] : cases) {
        const auto line = ParseCliSteps({"--fill", "0", text});
        ASSERT_EQ(line.Result, CliCommandLine::Outcome::Run) << text;
        EXPECT_EQ(line.Steps.at(0).Color, color) << text;
    }
}

TEST(CliParse, SlotsByWordAndByNumber) {
    EXPECT_EQ(ParseSlotName("normal"), 0);
    EXPECT_EQ(ParseSlotName("0"), 0);
    EXPECT_EQ(ParseSlotName("highlighted"), 1);
    EXPECT_EQ(ParseSlotName("1"), 1);
    EXPECT_EQ(ParseSlotName("disabled"), 2);
    EXPECT_EQ(ParseSlotName("2"), 2);
    EXPECT_EQ(ParseSlotName("3"), -1);
    EXPECT_EQ(ParseSlotName("01"), -1);
    EXPECT_EQ(ParseSlotName(""), -1);
}

TEST(CliParse, KeepsEveryStepInOrderWithItsWords) {
    const auto line = ParseCliSteps({"--unit", "armcamp", "--cross", "disabled", " 2.5 ", "--auto", "a.pcx"});
    ASSERT_EQ(line.Result, CliCommandLine::Outcome::Run);
    ASSERT_EQ(line.Steps.size(), 3u);
    EXPECT_EQ(line.Steps[0].Kind, CliStepKind::Unit);
    EXPECT_EQ(line.Steps[0].Text, "armcamp");
    EXPECT_EQ(line.Steps[1].Kind, CliStepKind::Cross);
    EXPECT_EQ(line.Steps[1].Slot, 2);
    EXPECT_EQ(line.Steps[1].Text, " 2.5 ");  // read by the cross prompt's rules when it runs
    EXPECT_EQ(DescribeStep(line.Steps[1]), "--cross disabled \" 2.5 \"");
    EXPECT_EQ(line.Steps[2].Kind, CliStepKind::Auto);
    EXPECT_EQ(DescribeStep(line.Steps[2]), "--auto a.pcx");
}

TEST(CliParse, EmptyNameIsAnArgumentNotAMissingOne) {
    const auto line = ParseCliSteps({"--unit", ""});
    ASSERT_EQ(line.Result, CliCommandLine::Outcome::Run);
    EXPECT_EQ(DescribeStep(line.Steps.at(0)), "--unit \"\"");
}

TEST(CliHelp, PrintsTheStepsAndRunsNothingWhereverItStands) {
    testsupport::TempDir dir;
    const std::string file = dir.file("never.bmp");
    const std::vector<std::vector<std::string>> lines{
        {"--help"},
        {"--save-bmp", "normal", file, "--help"},
        {"--help", "--save-bmp", "normal", file},
        {"--save-bmp", "normal", file, "--no-such-step", "--help"},
    };
    for (const auto& args : lines) {
        const auto run = RunTool(args);
        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Out, CliHelpText());
        EXPECT_EQ(run.Err, "");
        EXPECT_FALSE(std::filesystem::exists(file));
    }
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

TEST(CliHelp, NamesEveryStep) {
    const std::string help(CliHelpText());
    EXPECT_EQ(help.rfind("Usage: iconwright-cli [STEP]...\n", 0), 0u);
    for (std::string_view name : CliStepNames()) {
        EXPECT_NE(help.find("  " + std::string(name) + " "), std::string::npos) << name;
    }
}

TEST(CliHelp, NoArgumentsIsAUsageErrorThatShowsTheHelp) {
    const auto run = RunTool({});
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "iconwright-cli: no steps given\n\n" + std::string(CliHelpText()));
}

}  // namespace
