#include "picture/UnitName.h"

#include <cstdio>

#include "gaf/GafFile.h"
#include "gaf/Windows1252.h"
#include "picture/CommandMessages.h"

namespace {

constexpr const char* kNotStorable =
    ", a character the game cannot store. Use only Western European letters, digits and signs (Windows-1252).";
constexpr const char* kNotNameable =
    ", which a unit name cannot hold: it would make a sub-path or an entry the game cannot name.";

// A folder separator in double quotes, a control character by its code (the single-byte code of
// each one Unnameable finds is the character's own).
std::string Named(unsigned char code) {
    if (code == '/' || code == '\\') return "\"" + std::string(1, static_cast<char>(code)) + "\"";
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", code);
    return text;
}

// The first byte of the encoded name that would make a sub-path or an entry the game cannot
// name: the two folder separators and the control characters. (The C1 controls have no code in
// the code page: the encoding refuses them already.)
std::optional<unsigned char> Unnameable(const std::string& encoded) {
    for (const char c : encoded) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || code < 0x20 || code == 0x7F) return code;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> UnitNameProblem(const std::string& Name) {
    if (Name.empty()) return CommandMessages::kNoUnitName;
    const std::optional<std::string> encoded = windows1252::FromUtf8(Name);
    if (!encoded) return "The unit name has " + windows1252::RefusedCharacter(Name).value_or("?") + kNotStorable;
    if (const auto code = Unnameable(*encoded)) return "The unit name has " + Named(*code) + kNotNameable;
    return std::nullopt;
}

std::optional<std::string> UnitNameCutWarning(const std::string& Name) {
    if (UnitNameProblem(Name)) return std::nullopt;
    const std::string encoded = *windows1252::FromUtf8(Name);
    if (encoded.size() <= static_cast<std::size_t>(gaf::kMaxEntryNameChars)) return std::nullopt;
    const std::string entry = windows1252::ToUtf8(windows1252::ToUpper(encoded.substr(0, gaf::kMaxEntryNameChars)));
    return "The entry inside the file will be named " + entry + ": the game reads " +
           std::to_string(gaf::kMaxEntryNameChars) + " characters.";
}
