#pragma once
// How the typed size of the black cross is understood, shared by the window's cross command and
// the CLI's --cross step.

#include <cstdint>
#include <string_view>

enum class CrossSizeVerdict {
    Empty,       // the empty answer (also a cancelled prompt): nothing happens
    NotANumber,  // "You must enter a number !"
    OutOfRange,  // a number outside -32768 to 32767: nothing happens
    Accepted,
};

struct CrossSizeAnswer {
    CrossSizeVerdict Verdict = CrossSizeVerdict::Empty;
    int16_t Size = 0;  // meaningful when Accepted
};

// Surrounding spaces and a sign are allowed; a fraction is rounded to the nearest whole number,
// halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
CrossSizeAnswer ParseCrossSize(std::string_view text);

inline constexpr const char* kCrossSizePrompt = "How large do you want the cross ?\r\nValue is in pixels";
inline constexpr const char* kCrossSizeTitle = "Cross height";
inline constexpr const char* kCrossSizeDefault = "2";
inline constexpr const char* kNotANumberMessage = "You must enter a number !";
