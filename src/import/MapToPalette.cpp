#include "import/MapToPalette.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "import/LinearLight.h"
#include "import/PaletteMatcher.h"

namespace import {

namespace {

using imagefiles::RgbaPicture;

Colour PixelAt(const RgbaPicture& frame, std::size_t i) {
    return Colour{frame.Pixels[4 * i], frame.Pixels[4 * i + 1], frame.Pixels[4 * i + 2]};
}

void AddToReport(ConversionReport& report, double error) {
    if (error == 0) ++report.ExactPixels;
    report.MeanError += error;
    report.LargestError = std::max(report.LargestError, error);
}

void MapPlain(const RgbaPicture& frame, PaletteMatcher& matcher, MappedFrame& mapped) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(kPicturePixels); ++i) {
        const Colour pixel = PixelAt(frame, i);
        const uint8_t index = matcher.Nearest(pixel);
        mapped.Indices[i] = index;
        AddToReport(mapped.Report, matcher.Distance(pixel, index));
    }
}

void MapDithered(const RgbaPicture& frame, PaletteMatcher& matcher, MappedFrame& mapped) {
    const std::array<float, 256>& linear = LinearFromSrgb();
    // Error carried to this row and to the next, one cell of margin on either side.
    constexpr std::size_t kRowCells = kPictureSide + 2;
    std::vector<std::array<float, 3>> here(kRowCells), below(kRowCells);
    for (int y = 0; y < kPictureSide; ++y) {
        std::fill(below.begin(), below.end(), std::array<float, 3>{});
        const bool leftToRight = y % 2 == 0;
        const int step = leftToRight ? 1 : -1;
        for (int n = 0; n < kPictureSide; ++n) {
            const int x = leftToRight ? n : kPictureSide - 1 - n;
            const auto i = static_cast<std::size_t>(y * kPictureSide + x);
            const Colour pixel = PixelAt(frame, i);
            const std::array<uint8_t, 3> samples{pixel.Red, pixel.Green, pixel.Blue};
            const auto cell = static_cast<std::size_t>(x + 1);

            std::array<float, 3> wanted{};
            std::array<uint8_t, 3> asked{};
            for (std::size_t c = 0; c < 3; ++c) {
                wanted[c] = std::clamp(linear[samples[c]] + here[cell][c], 0.0f, 1.0f);
                asked[c] = ToSrgb8(wanted[c]);
            }
            const uint8_t index = matcher.Nearest(Colour{asked[0], asked[1], asked[2]});
            mapped.Indices[i] = index;
            AddToReport(mapped.Report, matcher.Distance(pixel, index));

            const Colour chosen = matcher.EntryColour(index);
            const std::array<uint8_t, 3> got{chosen.Red, chosen.Green, chosen.Blue};
            const auto ahead = static_cast<std::size_t>(static_cast<int>(cell) + step);
            const auto behind = static_cast<std::size_t>(static_cast<int>(cell) - step);
            for (std::size_t c = 0; c < 3; ++c) {
                const float error = wanted[c] - linear[got[c]];
                here[ahead][c] += error * (7.0f / 16.0f);
                below[behind][c] += error * (3.0f / 16.0f);
                below[cell][c] += error * (5.0f / 16.0f);
                below[ahead][c] += error * (1.0f / 16.0f);
            }
        }
        std::swap(here, below);
    }
}

}  // namespace

bool CheckExactColours(const RgbaPicture& frame, const Palette& palette, const std::bitset<256>& avoid,
                       imagefiles::FileFailure* Why) {
    std::vector<uint32_t> allowed;
    for (std::size_t k = 0; k < palette.size(); ++k)
        if (!avoid[k])
            allowed.push_back((uint32_t{palette[k].Red} << 16) | (uint32_t{palette[k].Green} << 8) | palette[k].Blue);
    std::sort(allowed.begin(), allowed.end());
    const std::size_t pixels = frame.Pixels.size() / 4;
    for (std::size_t i = 0; i < pixels; ++i) {
        const Colour c = PixelAt(frame, i);
        const uint32_t key = (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
        if (std::binary_search(allowed.begin(), allowed.end(), key)) continue;
        char text[64];
        std::snprintf(text, sizeof text, "pixel %zu,%zu is #%06X", i % static_cast<std::size_t>(frame.Width),
                      i / static_cast<std::size_t>(frame.Width), static_cast<unsigned>(key));
        imagefiles::Report(Why, imagefiles::FailureKind::NotExact, text);
        return false;
    }
    return true;
}

MappedFrame MapToPalette(const RgbaPicture& frame, const Palette& palette, MatchRule rule, DitherMode dither,
                         const std::bitset<256>& avoid) {
    PaletteMatcher matcher(palette, rule, avoid);
    MappedFrame mapped;
    mapped.Report.Rule = rule;
    if (dither == DitherMode::FloydSteinberg)
        MapDithered(frame, matcher, mapped);
    else
        MapPlain(frame, matcher, mapped);
    mapped.Report.MeanError /= kPicturePixels;
    return mapped;
}

}  // namespace import
