#include "import/ImportSettingsText.h"

#include <charconv>
#include <cstdio>

namespace import {

namespace {

std::optional<int> ParseIndex(std::string_view text) {
    if (text.empty() || text.size() > 3) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value > 255) return std::nullopt;
    return value;
}

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

}  // namespace

std::optional<FitMode> ParseFitMode(std::string_view text) {
    if (text == "contain") return FitMode::Contain;
    if (text == "cover") return FitMode::Cover;
    if (text == "stretch") return FitMode::Stretch;
    if (text == "none") return FitMode::None;
    return std::nullopt;
}

std::optional<bool> ParseOnOff(std::string_view text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

std::optional<MatchRule> ParseMatchRule(std::string_view text) {
    if (text == "rgb") return MatchRule::Rgb;
    if (text == "perceptual") return MatchRule::Perceptual;
    return std::nullopt;
}

std::optional<DitherMode> ParseDitherMode(std::string_view text) {
    if (text == "none") return DitherMode::None;
    if (text == "floyd-steinberg") return DitherMode::FloydSteinberg;
    return std::nullopt;
}

std::optional<Colour> ParseHexColour(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    uint8_t parts[3];
    for (std::size_t k = 0; k < 3; ++k) {
        const auto high = HexDigit(text[1 + 2 * k]);
        const auto low = HexDigit(text[2 + 2 * k]);
        if (!high || !low) return std::nullopt;
        parts[k] = static_cast<uint8_t>(*high * 16 + *low);
    }
    return Colour{parts[0], parts[1], parts[2]};
}

std::optional<std::bitset<256>> ParseAvoidList(std::string_view text, std::string* Error) {
    const auto fail = [&](std::string why) -> std::optional<std::bitset<256>> {
        if (Error) *Error = std::move(why);
        return std::nullopt;
    };
    std::bitset<256> avoid;
    if (text == "none") return avoid;
    if (text.empty()) return fail("an empty list (use none to avoid nothing)");
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const auto first = ParseIndex(item.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : ParseIndex(item.substr(dash + 1));
        if (!first || !last)
            return fail("\"" + std::string(item) + "\" is not an index 0 to 255 or a range such as 240-255");
        if (*last < *first) return fail("the range \"" + std::string(item) + "\" runs backwards");
        for (int k = *first; k <= *last; ++k) avoid.set(static_cast<std::size_t>(k));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (avoid.all()) return fail("all 256 indices avoided leaves none to choose");
    return avoid;
}

std::string_view MatchRuleName(MatchRule rule) { return rule == MatchRule::Rgb ? "rgb" : "perceptual"; }

std::string DescribeImportFailure(const imagefiles::FileFailure& failure) {
    using imagefiles::FailureKind;
    const std::string detail = imagefiles::ReasonText(failure);
    const auto with = [&](std::string text) { return detail.empty() ? text : text + " (" + detail + ")"; };
    switch (failure.Kind) {
        case FailureKind::CannotOpen: return with("the file cannot be opened");
        case FailureKind::TooLarge: return with("the file is too large");
        case FailureKind::OtherKind:
            return "a " + (detail.empty() ? std::string("kind of") : detail) +
                   " picture, which cannot be imported (use PNG, JPEG, BMP or PCX)";
        case FailureKind::Unrecognised: return "not a PNG, JPEG, BMP or PCX picture";
        case FailureKind::Truncated: return with("the file is cut short");
        case FailureKind::Malformed: return with("the file is damaged");
        case FailureKind::Unsupported: return with("the picture cannot be imported");
        case FailureKind::TooManyPixels: return with("the picture is too large");
        case FailureKind::FullyTransparent: return "the picture is fully transparent";
        case FailureKind::NotExact: return detail + ", which is not a game colour";
        case FailureKind::WrongSize:
        case FailureKind::BadName:
        case FailureKind::CannotWrite:
        case FailureKind::Cancelled: break;
    }
    return with("the picture cannot be imported");
}

std::string DescribeReport(const ConversionReport& report) {
    char text[160];
    if (report.Rule == MatchRule::Rgb)
        std::snprintf(text, sizeof text, "%d pixels, %d exact, mean error %.2f, largest error %.0f (rgb)",
                      report.Pixels, report.ExactPixels, report.MeanError, report.LargestError);
    else
        std::snprintf(text, sizeof text, "%d pixels, %d exact, mean error %.4f, largest error %.4f (perceptual, OKLab)",
                      report.Pixels, report.ExactPixels, report.MeanError, report.LargestError);
    return text;
}

}  // namespace import
