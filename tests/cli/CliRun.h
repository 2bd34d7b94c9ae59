#pragma once
// Runs iconwright-cli's steps in the test process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"

namespace clitest {

using Args = std::vector<std::string>;

struct CliRun {
    int Exit;
    std::string Out, Err;
};

inline CliRun RunTool(const Args& args) {
    std::ostringstream out, err;
    const int exit = RunCli(args, out, err);
    return {exit, out.str(), err.str()};
}

}  // namespace clitest
