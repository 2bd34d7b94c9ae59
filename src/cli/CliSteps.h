#pragma once
// The steps of iconwright-cli as text: which steps exist, what arguments each takes, and the
// turning of a whole command line into a list of steps (or a usage error) before anything runs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class CliStepKind {
    Unit,      // --unit NAME
    LoadBmp,   // --load-bmp SLOT FILE
    LoadPcx,   // --load-pcx SLOT FILE
    SaveBmp,   // --save-bmp SLOT FILE
    Preview,   // --preview SLOT FILE
    WriteGaf,  // --write-gaf FILE
    Border,    // --border SLOT
    Cross,     // --cross SLOT SIZE
    Lighter,   // --lighter SLOT
    Grey,      // --grey SLOT
    Grid,      // --grid SLOT
    Fill,      // --fill SLOT COLOR
    Auto,      // --auto FILE
    // Import settings: each changes how every later import behaves.
    Fit,         // --fit MODE
    Background,  // --background COLOR|FILE
    Trim,        // --trim on|off
    Match,       // --match RULE
    Dither,      // --dither METHOD
    Avoid,       // --avoid LIST
    Strict,      // --strict on|off
    Import,      // --import SLOT FILE
    AutoImport,  // --auto-import FILE
    SavePcx,     // --save-pcx SLOT FILE
    SavePng,     // --save-png SLOT FILE
    PreviewPng,  // --preview-png SLOT FILE
    ExportUnit,  // --export-unit DIR
    GafList,     // --gaf-list FILE
    GafExtract,  // --gaf-extract FILE DIR
};

// One step, checked and ready to run.
struct CliStep {
    CliStepKind Kind = CliStepKind::Unit;
    // The step as it was written (its name, then its arguments), for messages about it.
    std::vector<std::string> Words;
    int32_t Slot = 0;   // TAPic, for steps that take a SLOT
    std::string Text;   // FILE or NAME; for --cross the SIZE, for an import setting its value, exactly as written
    std::string Dir;    // DIR, for steps that take one
    int16_t Color = 0;  // --fill; beyond 16 bits held at the nearest 16-bit value
};

struct CliCommandLine {
    enum class Outcome {
        Run,         // Steps holds every step, in order
        Help,        // --help was given somewhere: print the help, run nothing
        Version,     // --version was given somewhere (and --help was not): print the version, run nothing
        UsageError,  // Error says what is wrong; run nothing
    };
    Outcome Result = Outcome::Run;
    std::vector<CliStep> Steps;
    std::string Error;
};

// Checks every argument before any step runs. A missing argument, or a SLOT or COLOR that cannot
// be read, is a usage error; the cross SIZE is only kept as text, because a SIZE the cross prompt would refuse is a
// failure of that step when it runs, as it is in the window.
CliCommandLine ParseCliSteps(const std::vector<std::string>& args);

// The step names in the order the help lists them ("--unit", "--load-bmp", ...).
std::vector<std::string_view> CliStepNames();

// "normal", "highlighted", "disabled" or "0", "1", "2" as a TAPic; -1 for anything else.
int32_t ParseSlotName(std::string_view text);

// The step as one line of text for messages: its words joined by spaces, a word that is
// empty or holds a space or a control character shown in double quotes, with the control
// characters escaped (a file name with a line break still gives one line).
std::string DescribeStep(const CliStep& step);

// Text with its control characters (gaf::ControlCharacterLength: C0, DEL and C1) written as
// escapes (\n, \t, \x1B, \x7F, a C1 control as its two UTF-8 bytes \xC2\x85), so that a message
// holding a file name stays on one line.
std::string EscapeControlCharacters(std::string_view text);
