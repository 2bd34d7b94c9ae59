#include "import/PaletteMatcher.h"

#include <cmath>
#include <limits>

namespace import {

namespace {

constexpr int kFarthestRgb = 765;           // 3 x 255: the plain rule's starting distance
constexpr int16_t kAvoidedRgbPenalty = 2048;  // beyond any distance, small enough for 16 bits
constexpr std::size_t kMemoSlots = 1 << 15;  // a 96 x 96 frame asks at most 9,216 questions

}  // namespace

PaletteMatcher::PaletteMatcher(const Palette& palette, MatchRule rule, const std::bitset<256>& avoid)
    : rule_(rule), avoid_(avoid), memoKeys_(kMemoSlots, 0), memoAnswers_(kMemoSlots, 0) {
    for (std::size_t k = 0; k < 256; ++k) {
        const Colour c{palette[k].Red, palette[k].Green, palette[k].Blue};
        colours_[k] = c;
        red_[k] = c.Red;
        green_[k] = c.Green;
        blue_[k] = c.Blue;
        rgbPenalty_[k] = avoid[k] ? kAvoidedRgbPenalty : 0;
        lab_[k] = OklabFromSrgb(c);
        l_[k] = lab_[k].L;
        a_[k] = lab_[k].A;
        b_[k] = lab_[k].B;
        labPenalty_[k] = avoid[k] ? std::numeric_limits<float>::infinity() : 0.0f;
    }
}

Colour PaletteMatcher::EntryColour(uint8_t index) const { return colours_[index]; }

uint8_t PaletteMatcher::SearchRgb(Colour colour) const {
    const int16_t r = colour.Red, g = colour.Green, b = colour.Blue;
    alignas(32) std::array<int16_t, 256> distance;
    for (std::size_t k = 0; k < 256; ++k)
        distance[k] = static_cast<int16_t>(std::abs(r - red_[k]) + std::abs(g - green_[k]) + std::abs(b - blue_[k]) +
                                           rgbPenalty_[k]);
    int16_t least = std::numeric_limits<int16_t>::max();
    for (std::size_t k = 0; k < 256; ++k) least = distance[k] < least ? distance[k] : least;
    // The plain rule starts from index 255 at distance 765 and takes only a strictly nearer entry.
    if (least >= kFarthestRgb && !avoid_[255]) return 255;
    std::size_t k = 0;
    while (distance[k] != least) ++k;
    return static_cast<uint8_t>(k);
}

uint8_t PaletteMatcher::SearchOklab(Colour colour) const {
    const Oklab q = OklabFromSrgb(colour);
    alignas(32) std::array<float, 256> distance;
    for (std::size_t k = 0; k < 256; ++k) {
        const float dl = q.L - l_[k], da = q.A - a_[k], db = q.B - b_[k];
        distance[k] = dl * dl + da * da + db * db + labPenalty_[k];
    }
    float least = std::numeric_limits<float>::infinity();
    for (std::size_t k = 0; k < 256; ++k) least = distance[k] < least ? distance[k] : least;
    std::size_t k = 0;
    while (k < 255 && distance[k] != least) ++k;
    return static_cast<uint8_t>(k);
}

uint8_t PaletteMatcher::Nearest(Colour colour) {
    const uint32_t key = ((uint32_t{colour.Red} << 16) | (uint32_t{colour.Green} << 8) | colour.Blue) + 1;
    std::size_t slot = (key * 2654435761u) >> (32 - 15);
    while (memoKeys_[slot] != 0) {
        if (memoKeys_[slot] == key) return memoAnswers_[slot];
        slot = (slot + 1) & (kMemoSlots - 1);
    }
    const uint8_t answer = rule_ == MatchRule::Rgb ? SearchRgb(colour) : SearchOklab(colour);
    if (memoUsed_ < kMemoSlots / 2) {
        memoKeys_[slot] = key;
        memoAnswers_[slot] = answer;
        ++memoUsed_;
    }
    return answer;
}

double PaletteMatcher::Distance(Colour colour, uint8_t index) const {
    const Colour e = colours_[index];
    if (rule_ == MatchRule::Rgb)
        return std::abs(colour.Red - e.Red) + std::abs(colour.Green - e.Green) + std::abs(colour.Blue - e.Blue);
    const Oklab q = OklabFromSrgb(colour);
    const Oklab p = lab_[index];
    const double dl = double{q.L} - p.L, da = double{q.A} - p.A, db = double{q.B} - p.B;
    return std::sqrt(dl * dl + da * da + db * db);
}

}  // namespace import
