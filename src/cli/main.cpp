#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliOutput.h"
#include "cli/CliRunner.h"
#include "cli/ProgramArguments.h"
#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    // Past a file-size limit the system would end the process with SIGXFSZ in the middle of a
    // write, leaving a temporary file behind; ignored, the write fails with an error instead and
    // the step reports it like any other failed write.
#ifdef SIGXFSZ  // Windows has no such limit
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    modPalettes::InitGamePalette();
    const std::vector<std::string> args = ProgramArguments(argc, argv);
    CliOutput out(stdout);
    CliOutput err(stderr);
    const int exit = RunCli(args, out, err);
    out.Flush();  // a failure to write has been reported by the step that wrote
    return exit;
}
