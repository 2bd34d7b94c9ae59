#pragma once
// iconwright-cli's work, apart from the process: parse the steps, run them on one picture set.

#include <string>
#include <vector>

#include "cli/CliOutput.h"

// Exit statuses of iconwright-cli.
enum CliExit : int { kCliDone = 0, kCliStepFailed = 1, kCliUsage = 2 };

// Runs the steps given as arguments (without the program name) left to right on one fresh
// picture set. The game palette must already be filled.
int RunCli(const std::vector<std::string>& args, CliOutput& out, CliOutput& err);
