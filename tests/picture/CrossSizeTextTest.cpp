#include <gtest/gtest.h>

#include <string>

#include "picture/CrossSizeText.h"

namespace {

void ExpectAccepted(std::string_view text, int16_t size) {
    const CrossSizeAnswer answer = ParseCrossSize(text);
    EXPECT_EQ(answer.Verdict, CrossSizeVerdict::Accepted) << '"' << text << '"';
    EXPECT_EQ(answer.Size, size) << '"' << text << '"';
}

void ExpectVerdict(std::string_view text, CrossSizeVerdict verdict) {
    EXPECT_EQ(ParseCrossSize(text).Verdict, verdict) << '"' << text << '"';
}

TEST(ParseCrossSize, WholeNumbersWithSpacesAndSigns) {
    ExpectAccepted("2", 2);
    ExpectAccepted(" 2 ", 2);
    ExpectAccepted("\t7\t", 7);
    ExpectAccepted("+3", 3);
    ExpectAccepted("-4", -4);
    ExpectAccepted("0", 0);
    ExpectAccepted("-0", 0);
    ExpectAccepted("007", 7);
    ExpectAccepted("32767", 32767);
    ExpectAccepted("-32768", -32768);
}

TEST(ParseCrossSize, FractionsRoundHalfToEven) {
    ExpectAccepted("2.5", 2);
    ExpectAccepted("3.5", 4);
    ExpectAccepted("-2.5", -2);
    ExpectAccepted("-3.5", -4);
    ExpectAccepted("2.50000000000000000001", 3);  // just above the half
    ExpectAccepted("2.49999999999999999999", 2);
    ExpectAccepted("0.5", 0);
    ExpectAccepted(".5", 0);
    ExpectAccepted("1.5", 2);
    ExpectAccepted("5.", 5);
    ExpectAccepted("2.7", 3);
    ExpectAccepted("-32768.5", -32768);
    ExpectAccepted("32766.5", 32766);
    ExpectAccepted("0.04", 0);
}

TEST(ParseCrossSize, Exponents) {
    ExpectAccepted("1e2", 100);
    ExpectAccepted("1E+2", 100);
    ExpectAccepted("25e-1", 2);
    ExpectAccepted("35E-1", 4);
    ExpectAccepted("3.2767e4", 32767);
    ExpectAccepted("1e-999999999999999999999", 0);
    ExpectAccepted("0e999999999999999999999", 0);
    ExpectVerdict("1e5", CrossSizeVerdict::OutOfRange);
    ExpectVerdict("1e999999999999999999999", CrossSizeVerdict::OutOfRange);
}

TEST(ParseCrossSize, OutOfRange) {
    ExpectVerdict("40000", CrossSizeVerdict::OutOfRange);
    ExpectVerdict("32768", CrossSizeVerdict::OutOfRange);
    ExpectVerdict("-32769", CrossSizeVerdict::OutOfRange);
    ExpectVerdict("32767.5", CrossSizeVerdict::OutOfRange);  // rounds to 32768
    ExpectVerdict("-32768.51", CrossSizeVerdict::OutOfRange);
    ExpectVerdict(std::string(5000, '9'), CrossSizeVerdict::OutOfRange);
    ExpectAccepted("0." + std::string(5000, '0') + "1", 0);
}

TEST(ParseCrossSize, EmptyAndNotANumber) {
    ExpectVerdict("", CrossSizeVerdict::Empty);
    // Only the empty answer means "nothing"; blanks alone are text that is not a number.
    for (const char* text : {"   ", " \t ", "abc", "1,5", "0x10", "2 3", "+", "-", ".", "+.", "1e", "1e+", "e5", "--2", "2-",
                             "1.2.3", "2a", "\xC2\xA0" "2", "inf", "nan", "1_000"})
        ExpectVerdict(text, CrossSizeVerdict::NotANumber);
}

}  // namespace
