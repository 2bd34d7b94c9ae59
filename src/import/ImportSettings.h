#pragma once
// What an import does with a truecolour picture on its way to a 96 x 96 game-palette picture.
// The window and iconwright-cli keep one of these and change it step by step.

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>

#include "imagefiles/RgbaPicture.h"
#include "import/PictureSlot.h"

namespace import {

// Earlier names of the picture slot, still used by the window's import preview.
constexpr int kFrameSide = kPictureSide;
constexpr int kFramePixels = kPicturePixels;
using IndexFrame = Picture;

enum class FitMode {
    Contain,  // scaled to fit whole, aspect kept, centred on the background
    Cover,    // scaled to cover the frame, aspect kept, centre cropped
    Stretch,  // each axis scaled to 96
    None,     // not scaled: centred, cropped where larger
};

enum class MatchRule {
    Rgb,         // the game's own rule: least sum of absolute RGB differences, ties to the lowest index
    Perceptual,  // least Euclidean distance in OKLab, ties to the lowest index
};

enum class DitherMode {
    None,
    FloydSteinberg,  // serpentine error diffusion in linear light
};

struct Colour {
    uint8_t Red = 0;
    uint8_t Green = 0;
    uint8_t Blue = 0;

    friend bool operator==(const Colour&, const Colour&) = default;
};

struct ImportSettings {
    FitMode Fit = FitMode::Contain;
    // Crop edge rows and columns whose pixels all have alpha 0 before fitting.
    bool Trim = false;
    Colour Background{};
    // When set, shows behind the picture instead of the colour: a 96 x 96 opaque frame, as
    // MakeBackgroundFrame makes it from a picture file.
    std::shared_ptr<const imagefiles::RgbaPicture> BackgroundFrame;
    MatchRule Match = MatchRule::Rgb;
    DitherMode Dither = DitherMode::None;
    // Indices never chosen. Avoiding all 256 leaves nothing to choose: the import refuses it.
    std::bitset<256> Avoid;
    // Fail unless every pixel, after fitting and the background, is exactly an allowed game colour.
    bool Strict = false;
};

// How far the game-palette picture is from the truecolour one, in the rule's own space: for
// MatchRule::Rgb the sum of the absolute RGB differences (0 to 765), for MatchRule::Perceptual the
// Euclidean OKLab distance (0 to about 1).
struct ConversionReport {
    MatchRule Rule = MatchRule::Rgb;
    int32_t Pixels = kPicturePixels;
    int32_t ExactPixels = 0;  // pixels whose game colour is exactly their own colour
    double MeanError = 0;
    double LargestError = 0;
};

}  // namespace import
