#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "gaf/Windows1252.h"

namespace {

std::optional<std::string> Bytes(const char* raw, std::size_t n) { return std::string(raw, n); }

TEST(Windows1252FromUtf8, AsciiAndLatin1PassThrough) {
    EXPECT_EQ(windows1252::FromUtf8("armcamp_01"), std::optional<std::string>("armcamp_01"));
    EXPECT_EQ(windows1252::FromUtf8(""), std::optional<std::string>(""));
    EXPECT_EQ(windows1252::FromUtf8("\xC3\xA9"), Bytes("\xE9", 1));          // é
    EXPECT_EQ(windows1252::FromUtf8("\xC2\xA0\xC3\xBF"), Bytes("\xA0\xFF", 2));  // no-break space, ÿ
}

TEST(Windows1252FromUtf8, TheBlock80To9FMapsItsOwnCharacters) {
    EXPECT_EQ(windows1252::FromUtf8("\xE2\x82\xAC"), Bytes("\x80", 1));  // €
    EXPECT_EQ(windows1252::FromUtf8("\xC5\xA0"), Bytes("\x8A", 1));      // Š
    EXPECT_EQ(windows1252::FromUtf8("\xC5\x92"), Bytes("\x8C", 1));      // Œ
    EXPECT_EQ(windows1252::FromUtf8("\xE2\x80\x9C"), Bytes("\x93", 1));  // “
    EXPECT_EQ(windows1252::FromUtf8("\xE2\x84\xA2"), Bytes("\x99", 1));  // ™
    EXPECT_EQ(windows1252::FromUtf8("\xC5\xB8"), Bytes("\x9F", 1));      // Ÿ
    EXPECT_EQ(windows1252::FromUtf8("\xC6\x92"), Bytes("\x83", 1));      // ƒ
}

TEST(Windows1252FromUtf8, CharactersWithoutACodeGiveNothing) {
    EXPECT_FALSE(windows1252::FromUtf8("\xCE\xA9"));              // Ω
    EXPECT_FALSE(windows1252::FromUtf8("arm\xF0\x9F\x98\x80"));   // an emoji at the end
    EXPECT_FALSE(windows1252::FromUtf8("\xC2\x81"));              // U+0081: 0x81 has no character
    EXPECT_FALSE(windows1252::FromUtf8("\xC2\x8D"));
    EXPECT_FALSE(windows1252::FromUtf8("\xC2\x9D"));
    EXPECT_FALSE(windows1252::FromUtf8("\xC2\x80"));              // U+0080 is not the euro sign
}

TEST(Windows1252FromUtf8, InvalidUtf8GivesNothing) {
    EXPECT_FALSE(windows1252::FromUtf8("\xE9"));              // a Latin-1 byte, not UTF-8
    EXPECT_FALSE(windows1252::FromUtf8("\xC3"));              // truncated
    EXPECT_FALSE(windows1252::FromUtf8("\xC3\x28"));          // bad continuation
    EXPECT_FALSE(windows1252::FromUtf8("\xC1\xA9"));          // overlong 'i'
    EXPECT_FALSE(windows1252::FromUtf8("\xE0\x80\xAF"));      // overlong '/'
    EXPECT_FALSE(windows1252::FromUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(windows1252::FromUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(windows1252::FromUtf8("\x80"));              // a lone continuation byte
}

TEST(Windows1252ToUpper, LettersOfTheCodePage) {
    EXPECT_EQ(windows1252::ToUpper("armcamp_01z"), "ARMCAMP_01Z");
    EXPECT_EQ(windows1252::ToUpper("\xE9\xE0\xFE"), "\xC9\xC0\xDE");  // é à þ
    EXPECT_EQ(windows1252::ToUpper("\xF7"), "\xF7");                  // ÷ is no letter
    EXPECT_EQ(windows1252::ToUpper("\xDF\xB5"), "\xDF\xB5");          // ß and µ have no capital here
    EXPECT_EQ(windows1252::ToUpper("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");
    EXPECT_EQ(windows1252::ToUpper("ABC\xC9"), "ABC\xC9");
}

}  // namespace
