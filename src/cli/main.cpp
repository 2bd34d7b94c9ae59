#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CliRunner.h"
#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    // Past a file-size limit the system would end the process with SIGXFSZ in the middle of a
    // write, leaving a temporary file behind; ignored, the write fails with an error instead and
    // the step reports it like any other failed write.
    std::signal(SIGXFSZ, SIG_IGN);
    modPalettes::InitGamePalette();
    std::vector<std::string> args(argv + 1, argv + argc);
    CliOutput out(stdout);
    CliOutput err(stderr);
    const int exit = RunCli(args, out, err);
    out.Flush();  // a failure to write has been reported by the step that wrote
    return exit;
}
