#pragma once
// The import settings and outcomes as words: what a user types for each setting (iconwright-cli's
// steps, a window's fields) and the one-line texts for a failure and a conversion report.

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "imagefiles/FileFailure.h"
#include "import/ImportSettings.h"

namespace import {

std::optional<FitMode> ParseFitMode(std::string_view text);        // contain, cover, stretch, none
std::optional<bool> ParseOnOff(std::string_view text);             // on, off
std::optional<MatchRule> ParseMatchRule(std::string_view text);    // rgb, perceptual
std::optional<DitherMode> ParseDitherMode(std::string_view text);  // none, floyd-steinberg
std::optional<Colour> ParseHexColour(std::string_view text);       // #RRGGBB, either case

// Indices and ranges separated by commas, such as "0,240-255"; "none" is the empty set. Nothing,
// with Error saying why, for anything else, for a range that runs backwards, for an index above
// 255 and for a list that avoids all 256.
std::optional<std::bitset<256>> ParseAvoidList(std::string_view text, std::string* Error);

std::string_view MatchRuleName(MatchRule rule);  // "rgb", "perceptual"

// A failure of the import road as a phrase without a full stop, e.g. "the picture is fully
// transparent" or "pixel 3,0 is #123456, which is not a game colour".
std::string DescribeImportFailure(const imagefiles::FileFailure& failure);

// "9216 pixels, 8120 exact, mean error 1.85, largest error 14 (rgb)", followed by "; the picture
// is fully transparent" when the picture did not show and only the background was mapped.
std::string DescribeReport(const ConversionReport& report);

}  // namespace import
