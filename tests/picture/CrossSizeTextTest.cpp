#include <gtest/gtest.h>

#include <string>

#include "picture/CrossSizeText.h"

namespace {

TEST(ParseCrossSize, AcceptedAnswersRoundHalfToEven) {
    const struct {
        std::string text;
        int16_t size;
    } cases[] = {
        {"2", 2}, {" 2 ", 2}, {"\t7\t", 7}, {"  +3  ", 3}, {"-4", -4}, {"-0", 0}, {"007", 7},
        {"32767", 32767}, {"-32768", -32768},
        // Halves go to the even neighbour, whatever the sign; anything past the half goes up.
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-3.5", -4}, {"0.5", 0}, {".5", 0}, {"5.", 5}, {"2.7", 3},
        {"2.50000000000000000001", 3}, {"2.49999999999999999999", 2}, {"-32768.5", -32768}, {"32766.5", 32766},
        {"0.04", 0}, {"0." + std::string(5000, '0') + "1", 0},
        // Exponents, also ones far beyond any floating-point range.
        {"1e2", 100}, {"1E+2", 100}, {"25e-1", 2}, {"35E-1", 4}, {"3.2767e4", 32767}, {"1e-400", 0},
        {"1e-999999999999999999999", 0}, {"0e999999999999999999999", 0},
    };
    for (const auto& c : cases) {
        const CrossSizeAnswer answer = ParseCrossSize(c.text);
        EXPECT_EQ(answer.Verdict, CrossSizeVerdict::Accepted) << '"' << c.text << '"';
        EXPECT_EQ(answer.Size, c.size) << '"' << c.text << '"';
    }
}

TEST(ParseCrossSize, EmptyOutOfRangeAndNotANumber) {
    EXPECT_EQ(ParseCrossSize("").Verdict, CrossSizeVerdict::Empty);
    for (const std::string& text : {std::string("40000"), std::string("32768"), std::string("-32769"),
                                    std::string("32767.5"), std::string("-32768.51"), std::string("1e5"),
                                    std::string("1e999999999999999999999"), std::string(5000, '9')})
        EXPECT_EQ(ParseCrossSize(text).Verdict, CrossSizeVerdict::OutOfRange) << '"' << text << '"';
    // Only the empty answer means "nothing"; blanks alone are text that is not a number.
    for (const char* text : {"   ", " \t ", "abc", "1,5", "0x10", "2 3", "+", "-", ".", "+.", "1e", "1e+", "e5",
                             "--2", "2-", "1.2.3", "2a", "\xC2\xA0" "2", "inf", "nan", "1_000"})
        EXPECT_EQ(ParseCrossSize(text).Verdict, CrossSizeVerdict::NotANumber) << '"' << text << '"';
}

}  // namespace
