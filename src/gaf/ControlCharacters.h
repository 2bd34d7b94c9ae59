#pragma once
// The one rule for control characters in names that come from files: C0 controls, DEL (0x7F)
// and, in UTF-8, the C1 controls U+0080 to U+009F. A name holding one would break a one-line
// message or make an odd folder name; the reader, the extraction and the command line all ask
// here.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace gaf {

// The length in bytes of the control character that starts at text[at]: 1 for C0 or DEL, 2 for
// a C1 control in UTF-8, 0 when no control character starts there.
inline std::size_t ControlCharacterLength(std::string_view text, std::size_t at) {
    const auto b = static_cast<uint8_t>(text[at]);
    if (b < 0x20 || b == 0x7F) return 1;
    if (b == 0xC2 && at + 1 < text.size()) {
        const auto second = static_cast<uint8_t>(text[at + 1]);
        if (second >= 0x80 && second <= 0x9F) return 2;
    }
    return 0;
}

inline bool HasControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (ControlCharacterLength(text, i) != 0) return true;
    return false;
}

}  // namespace gaf
