#pragma once
// The steps that write the unit's pictures for other programs and the game, and the steps that
// look inside GAF files: --save-pcx, --save-png, --preview-png, --export-unit, --gaf-list and
// --gaf-extract.

#include <optional>
#include <string>

#include "cli/CliOutput.h"
#include "cli/CliSteps.h"

class classUnitGAF;

// True for the steps above, which RunFileStep runs.
bool IsFileStep(CliStepKind kind);

// Runs one of the steps above. Nothing when it succeeded, else the reason for the one-line
// message. Paths and listings go to out.
std::optional<std::string> RunFileStep(classUnitGAF& unit, const CliStep& step, CliOutput& out);
