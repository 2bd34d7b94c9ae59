#pragma once
// The nearest palette entry to a colour by one of the import's rules, over the entries that are
// not avoided. With nothing avoided the RGB rule gives exactly what modPalettes::NearestIndexPlain
// gives; with entries avoided it is the same rule over the others (where the plain rule would fall
// back on an avoided 255, the lowest allowed index among the farthest).

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "imagefiles/PaletteColumns.h"
#include "imagefiles/PaletteEntry.h"
#include "import/ImportSettings.h"
#include "import/Oklab.h"

namespace import {

class PaletteMatcher {
public:
    // At least one entry must be allowed.
    PaletteMatcher(const Palette& palette, MatchRule rule, const std::bitset<256>& avoid);

    uint8_t Nearest(Colour colour);

    // The distance from colour to entry index in the rule's space (see ConversionReport).
    double Distance(Colour colour, uint8_t index) const;  // not thread-safe: keeps the last colour

    Colour EntryColour(uint8_t index) const;

private:
    uint8_t SearchOklab(Colour colour, const Oklab& lab) const;
    uint8_t NearestInBand(const Oklab& lab, std::size_t low, std::size_t high) const;
    std::size_t BandStart(float lightness) const;

    static constexpr std::size_t kLightnessBuckets = 64;

    MatchRule rule_;
    std::array<Colour, 256> colours_{};
    // The allowed entries, for the RGB rule's search.
    modPalettes::PaletteColumns allowedColumns_;
    std::array<Oklab, 256> lab_{};
    // The allowed entries' coordinates in order of lightness, and their indices.
    std::vector<float> lightL_, lightA_, lightB_;
    std::vector<uint8_t> lightnessIndex_;
    std::size_t allowedCount_ = 0;
    std::size_t paddedCount_ = 0;
    std::array<std::size_t, kLightnessBuckets + 1> lightnessBucket_{};  // where each L / 64 starts, at most
    std::array<uint8_t, 512> cellGuess_{};
    // Answers already found: pictures repeat colours a lot. Open addressing on colour + 1.
    std::vector<uint32_t> memoKeys_;
    std::vector<uint8_t> memoAnswers_;
    std::size_t memoUsed_ = 0;
    // The last colour whose OKLab coordinates were worked out: a search is usually followed by the
    // distance to its answer.
    mutable Colour lastColour_{0, 0, 0};
    mutable Oklab lastLab_{};
};

}  // namespace import
