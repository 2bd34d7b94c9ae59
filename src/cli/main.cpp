#include <iostream>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    modPalettes::InitGamePalette();
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, std::cout, std::cerr);
}
