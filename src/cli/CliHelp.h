#pragma once
// The text iconwright-cli --help prints.

#include <string_view>

std::string_view CliHelpText();
