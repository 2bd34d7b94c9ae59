#pragma once
// iconwright-cli's import steps: the settings steps, which change how every later import behaves,
// and --import and --auto-import, which run the import road with the settings as they stand.

#include <optional>
#include <string>
#include <string_view>

#include "cli/CliOutput.h"
#include "cli/CliSteps.h"
#include "import/ImportSettings.h"

class classUnitGAF;

// The word the help and the messages use for a settings step's value ("MODE", "on|off", ...).
std::string_view ImportSettingArgName(CliStepKind kind);

// Empty when word is a good value for the settings step kind; else what a good value looks like,
// for the usage error. A --background value that does not start with # is a FILE, checked when the
// step runs.
std::string CheckImportSetting(CliStepKind kind, std::string_view word);

bool IsImportStep(CliStepKind kind);

// Runs one import step. Nothing when it succeeded; else the reason it failed. An import writes
// its conversion report to out as one line.
std::optional<std::string> RunImportStep(classUnitGAF& unit, import::ImportSettings& settings, const CliStep& step,
                                         CliOutput& out);
