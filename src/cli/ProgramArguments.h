#pragma once
// The program's arguments (without the program's own name) as UTF-8 text, whatever the system.

#include <string>
#include <vector>

// On Windows the narrow argv holds the arguments in the ANSI code page, which cannot spell every
// file or unit name: they are taken from the wide (UTF-16) command line instead. Elsewhere they
// are argv's bytes as they are.
std::vector<std::string> ProgramArguments(int argc, char** argv);
