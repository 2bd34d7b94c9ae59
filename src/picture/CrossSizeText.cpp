#include "picture/CrossSizeText.h"

#include <cstddef>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A decimal number split into its parts: sign, all significant digits (integer part then
// fraction), and the power of ten of the last digit.
struct DecimalNumber {
    bool Negative = false;
    std::string Digits;  // without leading or trailing zeros; empty for zero
    long long LastDigitPower = 0;
};

// [sign] digits [. [digits]] | [sign] . digits, then an optional e/E [sign] digits.
bool ParseDecimal(std::string_view text, DecimalNumber& number) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) number.Negative = text[pos++] == '-';

    std::string digits;
    std::size_t integerDigits = 0;
    std::size_t fractionDigits = 0;
    while (pos < text.size() && IsDigit(text[pos])) digits.push_back(text[pos++]), ++integerDigits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) digits.push_back(text[pos++]), ++fractionDigits;
    }
    if (integerDigits + fractionDigits == 0) return false;

    long long exponent = 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negativeExponent = text[pos++] == '-';
        if (pos == text.size() || !IsDigit(text[pos])) return false;
        // Beyond a billion the exponent's exact value no longer matters to the verdict, and
        // holding it there keeps the arithmetic below far from overflow.
        constexpr long long kExponentCap = 1'000'000'000;
        while (pos < text.size() && IsDigit(text[pos])) {
            if (exponent < kExponentCap) exponent = exponent * 10 + (text[pos] - '0');
            ++pos;
        }
        if (negativeExponent) exponent = -exponent;
    }
    if (pos != text.size()) return false;

    long long power = exponent - static_cast<long long>(fractionDigits);
    const std::size_t lastNonZero = digits.find_last_not_of('0');
    if (lastNonZero == std::string::npos) return true;  // zero, whatever its sign or exponent
    power += static_cast<long long>(digits.size() - 1 - lastNonZero);
    digits.erase(lastNonZero + 1);
    digits.erase(0, digits.find_first_not_of('0'));
    number.Digits = std::move(digits);
    number.LastDigitPower = power;
    return true;
}

// The magnitude rounded to a whole number, halves to even; nothing when it is surely beyond
// 32768 (the largest magnitude any 16-bit value or its rounding can need).
bool RoundMagnitude(const DecimalNumber& number, long long& magnitude) {
    const auto count = static_cast<long long>(number.Digits.size());
    const long long integerCount = count + number.LastDigitPower;  // digits before the point
    if (integerCount > 6) return false;

    long long whole = 0;
    for (long long i = 0; i < integerCount; ++i)
        whole = whole * 10 + (i < count ? number.Digits[static_cast<std::size_t>(i)] - '0' : 0);

    // Trailing zeros are gone, so any fraction digit after the first makes it non-zero.
    if (integerCount < count) {
        const long long firstFraction = integerCount >= 0 ? integerCount : -1;
        if (firstFraction >= 0) {
            const int first = number.Digits[static_cast<std::size_t>(firstFraction)] - '0';
            const bool more = firstFraction + 1 < count;
            if (first > 5 || (first == 5 && more) || (first == 5 && whole % 2 == 1)) ++whole;
        }
        // Otherwise the fraction starts with a zero: below one half, rounded down.
    }
    magnitude = whole;
    return true;
}

}  // namespace

CrossSizeAnswer ParseCrossSize(std::string_view text) {
    // Only an empty answer (or a cancelled prompt) means "nothing"; spaces alone are text that
    // is not a number.
    if (text.empty()) return {CrossSizeVerdict::Empty, 0};

    DecimalNumber number;
    if (!ParseDecimal(Trim(text), number)) return {CrossSizeVerdict::NotANumber, 0};
    if (number.Digits.empty()) return {CrossSizeVerdict::Accepted, 0};

    long long magnitude = 0;
    if (!RoundMagnitude(number, magnitude)) return {CrossSizeVerdict::OutOfRange, 0};
    const long long value = number.Negative ? -magnitude : magnitude;
    if (value < -32768 || value > 32767) return {CrossSizeVerdict::OutOfRange, 0};
    return {CrossSizeVerdict::Accepted, static_cast<int16_t>(value)};
}
