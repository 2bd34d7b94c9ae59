#pragma once
// The one rule for a unit name, which the window and iconwright-cli both apply before they write
// the GAF file or export the unit: the name becomes the entry inside the GAF file (upper-cased,
// in the game's single-byte code page) and the start of the files' names.

#include <optional>
#include <string>

// Why Name cannot be a unit name, as the sentence both front ends show: empty; a character
// Windows-1252 has no code for; '/', '\' or a control character, which would make a sub-path or
// an entry the game cannot name. The character is named. Nothing when the name will do.
std::optional<std::string> UnitNameProblem(const std::string& Name);

// The entry holds 31 characters and a longer name is cut to them. For such a name, the sentence
// that says so, naming the entry as it will be written; nothing for a name that fits (or one that
// UnitNameProblem refuses).
std::optional<std::string> UnitNameCutWarning(const std::string& Name);
