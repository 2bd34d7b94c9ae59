// The code page's upper-casing: every letter that has an upper-case partner in Windows-1252, and
// the characters that have none stay as they are.

#include <gtest/gtest.h>

#include "gaf/Windows1252.h"

namespace {

std::string UpperCased(const std::string& utf8) {
    const auto bytes = windows1252::FromUtf8(utf8);
    EXPECT_TRUE(bytes) << utf8;
    return windows1252::ToUtf8(windows1252::ToUpper(bytes.value_or("")));
}

TEST(Windows1252, EveryLetterWithAnUpperCasePartnerIsUpperCased) {
    EXPECT_EQ(UpperCased("abcdefghijklmnopqrstuvwxyz"), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(UpperCased("àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"), "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ");
    EXPECT_EQ(UpperCased("šœžÿ"), "ŠŒŽŸ");
    // Upper-case letters, letters without a partner in the code page, and everything else.
    const std::string unchanged = "ABZ ÀÞ ŠŒŽŸ ß µ ƒ ª º ÷ × 09 @[`{ €";
    EXPECT_EQ(UpperCased(unchanged), unchanged);
}

}  // namespace
