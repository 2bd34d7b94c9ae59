#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "gaf/Windows1252.h"

namespace {

using windows1252::FromUtf8;

// The characters of codes 0x80 to 0x9F, as UTF-8; "" for the five codes without one.
const char* const kBlock80To9F[32] = {
    "€", "",  "‚", "ƒ", "„", "…", "†", "‡", "ˆ", "‰", "Š", "‹", "Œ", "",  "Ž", "",
    "",  "‘", "’", "“", "”", "•", "–", "—", "˜", "™", "š", "›", "œ", "",  "ž", "Ÿ",
};

TEST(Windows1252FromUtf8, EveryCodeFrom80To9F) {
    for (int i = 0; i < 32; ++i) {
        const auto code = static_cast<char>(0x80 + i);
        SCOPED_TRACE(0x80 + i);
        if (*kBlock80To9F[i]) {
            EXPECT_EQ(FromUtf8(kBlock80To9F[i]), std::string(1, code));
        }
        // U+0080 to U+009F are control characters, not the code page's characters.
        EXPECT_FALSE(FromUtf8(std::string("\xC2") + code));
    }
}

TEST(Windows1252FromUtf8, AsciiAndLatin1PassThroughOthersFail) {
    EXPECT_EQ(FromUtf8("armcamp_01"), std::optional<std::string>("armcamp_01"));
    EXPECT_EQ(FromUtf8(""), std::optional<std::string>(""));
    EXPECT_EQ(FromUtf8("\xC2\xA0\xC3\xA9\xC3\xBF"), std::optional<std::string>("\xA0\xE9\xFF"));  // nbsp é ÿ
    for (const char* bad : {"Ω", "arm\xF0\x9F\x98\x80",      // characters without a code
                            "\xE9", "\xC3", "\xC3\x28", "\x80",  // Latin-1 byte, truncated, bad continuation
                            "\xC1\xA9", "\xE0\x80\xAF",          // overlong
                            "\xED\xA0\x80", "\xF4\x90\x80\x80"})  // surrogate, beyond U+10FFFF
        EXPECT_FALSE(FromUtf8(bad)) << testing::PrintToString(std::string(bad));
}

TEST(Windows1252ToUpper, LettersOfTheCodePage) {
    EXPECT_EQ(windows1252::ToUpper("armcamp_01zABC"), "ARMCAMP_01ZABC");
    EXPECT_EQ(windows1252::ToUpper("\xE0\xE9\xFE\xC9"), "\xC0\xC9\xDE\xC9");      // à é þ É
    EXPECT_EQ(windows1252::ToUpper("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");      // š œ ž ÿ
    EXPECT_EQ(windows1252::ToUpper("\xF7\xDF\xB5\x83"), "\xF7\xDF\xB5\x83");      // ÷ ß µ ƒ have no capital here
}

}  // namespace
