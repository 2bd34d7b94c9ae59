#include "gaf/Windows1252.h"

#include <array>
#include <cstdint>

namespace windows1252 {

namespace {

// The characters of codes 0x80 to 0x9F; 0 marks the five codes that have no character.
constexpr std::array<char32_t, 32> kHighControlsBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

std::optional<uint8_t> Encode(char32_t c) {
    // ASCII and Latin-1's printable upper half are the same codes; U+0080 to U+009F are not
    // characters of this code page.
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
    for (std::size_t i = 0; i < kHighControlsBlock.size(); ++i)
        if (kHighControlsBlock[i] != 0 && kHighControlsBlock[i] == c) return static_cast<uint8_t>(0x80 + i);
    return std::nullopt;
}

// Decodes one UTF-8 sequence at text[pos], advancing pos; nothing for malformed input
// (stray continuation bytes, truncated or overlong sequences, surrogates, beyond U+10FFFF).
std::optional<char32_t> DecodeOne(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos <= static_cast<std::size_t>(extra)) return std::nullopt;
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    pos += static_cast<std::size_t>(extra) + 1;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {  // the code page's characters all lie below U+10000
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::string ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        char32_t c = b;
        if (b >= 0x80 && b <= 0x9F && kHighControlsBlock[b - 0x80] != 0) c = kHighControlsBlock[b - 0x80];
        AppendUtf8(out, c);
    }
    return out;
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto c = DecodeOne(utf8, pos);
        if (!c) return std::nullopt;
        const auto code = Encode(*c);
        if (!code) return std::nullopt;
        out.push_back(static_cast<char>(*code));
    }
    return out;
}

std::optional<std::string> RefusedCharacter(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto c = DecodeOne(utf8, pos);
        if (!c) {
            constexpr std::string_view kHex = "0123456789ABCDEF";
            const auto byte = static_cast<uint8_t>(utf8[start]);
            return std::string("a byte that is not UTF-8 (0x") + kHex[byte >> 4] + kHex[byte & 0xF] + ")";
        }
        if (!Encode(*c)) return "\"" + std::string(utf8.substr(start, pos - start)) + "\"";
    }
    return std::nullopt;
}

std::string ToUpper(std::string_view bytes) {
    std::string out(bytes);
    for (char& ch : out) {
        const auto b = static_cast<uint8_t>(ch);
        uint8_t upper = b;
        if (b >= 'a' && b <= 'z')
            upper = static_cast<uint8_t>(b - 0x20);
        else if (b >= 0xE0 && b <= 0xFE && b != 0xF7)
            upper = static_cast<uint8_t>(b - 0x20);  // à-þ but ÷
        else if (b == 0x9A || b == 0x9C || b == 0x9E)
            upper = static_cast<uint8_t>(b - 0x10);  // š œ ž
        else if (b == 0xFF)
            upper = 0x9F;  // ÿ -> Ÿ
        ch = static_cast<char>(upper);
    }
    return out;
}

}  // namespace windows1252
