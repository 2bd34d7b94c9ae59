#pragma once
// The game's single-byte text: Windows-1252.

#include <optional>
#include <string>
#include <string_view>

namespace windows1252 {

// Encodes UTF-8 text as Windows-1252 bytes, one per character. Nothing when the text is not
// valid UTF-8 or holds a character Windows-1252 has no code for.
std::optional<std::string> FromUtf8(std::string_view utf8);

// Why FromUtf8 refuses utf8, for a message: the first character that has no code, as UTF-8 text
// in double quotes, or "a byte that is not UTF-8 (0xCE)" for text that is not valid UTF-8.
// Nothing when FromUtf8 accepts the text.
std::optional<std::string> RefusedCharacter(std::string_view utf8);

// Decodes Windows-1252 bytes as UTF-8 text. The five codes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, as web
// browsers decode them, so every byte gives exactly one character and nothing is lost.
std::string ToUtf8(std::string_view bytes);

// Upper-cases Windows-1252 bytes by the code page's own letter pairs (a-z, the accented
// letters 0xE0-0xFE but 0xF7, and the pairs s/z/oe with caron or ligature, y with diaeresis).
std::string ToUpper(std::string_view bytes);

}  // namespace windows1252
