#include "import/PaletteMatcher.h"

#include <emmintrin.h>  // every processor this program is built for has SSE2
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace import {

namespace {

constexpr std::size_t kMemoSlots = 1 << 15;  // a 96 x 96 frame asks at most 9,216 questions

std::size_t CellOf(Colour c) {
    return (static_cast<std::size_t>(c.Red >> 5) << 6) | (static_cast<std::size_t>(c.Green >> 5) << 3) |
           static_cast<std::size_t>(c.Blue >> 5);
}

std::vector<uint8_t> AllowedIndices(const std::bitset<256>& avoid) {
    std::vector<uint8_t> allowed;
    for (std::size_t k = 0; k < 256; ++k)
        if (!avoid[k]) allowed.push_back(static_cast<uint8_t>(k));
    return allowed;
}

}  // namespace

PaletteMatcher::PaletteMatcher(const Palette& palette, MatchRule rule, const std::bitset<256>& avoid)
    : rule_(rule),
      // The plain rule falls back on 255 when nothing is nearer than the farthest distance; when 255
      // is avoided the lowest allowed index among the farthest answers instead.
      allowedColumns_(palette, AllowedIndices(avoid), !avoid[255]),
      memoKeys_(kMemoSlots, 0),
      memoAnswers_(kMemoSlots, 0) {
    for (std::size_t k = 0; k < 256; ++k) {
        colours_[k] = Colour{palette[k].Red, palette[k].Green, palette[k].Blue};
        lab_[k] = OklabFromSrgb(colours_[k]);
    }
    lastLab_ = OklabFromSrgb(lastColour_);
    std::vector<uint8_t> order = AllowedIndices(avoid);
    std::stable_sort(order.begin(), order.end(), [&](uint8_t x, uint8_t y) { return lab_[x].L < lab_[y].L; });
    for (uint8_t k : order) {
        lightL_.push_back(lab_[k].L);
        lightA_.push_back(lab_[k].A);
        lightB_.push_back(lab_[k].B);
        lightnessIndex_.push_back(k);
    }
    // Padding to a whole number of groups of 4: entries no query comes near.
    allowedCount_ = order.size();
    paddedCount_ = (allowedCount_ + 3) / 4 * 4;
    lightL_.resize(paddedCount_ + 4, 1e9f);
    lightA_.resize(paddedCount_ + 4, 1e9f);
    lightB_.resize(paddedCount_ + 4, 1e9f);
    lightnessIndex_.resize(paddedCount_ + 4, 255);
    for (std::size_t bucket = 0; bucket <= kLightnessBuckets; ++bucket) {
        const float start = static_cast<float>(bucket) / kLightnessBuckets;
        lightnessBucket_[bucket] = static_cast<std::size_t>(
            std::lower_bound(lightL_.begin(), lightL_.begin() + static_cast<std::ptrdiff_t>(allowedCount_), start) -
            lightL_.begin());
    }
    // A first guess for each cell of 32 x 32 x 32 colours: the allowed entry nearest its centre.
    for (std::size_t cell = 0; cell < cellGuess_.size(); ++cell) {
        const auto centre = [&](std::size_t shift) { return static_cast<uint8_t>(((cell >> shift) & 7) * 32 + 16); };
        cellGuess_[cell] = NearestInBand(OklabFromSrgb(Colour{centre(6), centre(3), centre(0)}), 0, paddedCount_);
    }
}

Colour PaletteMatcher::EntryColour(uint8_t index) const { return colours_[index]; }

// The allowed entries are kept in order of lightness L. An entry at squared distance d from the
// query differs from it in L by at most sqrt(d), so once a few entries of similar lightness have
// given a distance to beat, only the band of entries that close in L can beat or tie it.
// The lowest index among the entries in [low, high) of the lightness order (both multiples of 4)
// nearest to q.
uint8_t PaletteMatcher::NearestInBand(const Oklab& q, std::size_t low, std::size_t high) const {
    alignas(16) std::array<float, 256 + 4> distance;
    // The least distance four entries at a time, then the lowest index at it.
    float least = std::numeric_limits<float>::infinity();
    const __m128 ql = _mm_set1_ps(q.L), qa = _mm_set1_ps(q.A), qb = _mm_set1_ps(q.B);
    __m128 least4 = _mm_set1_ps(least);
    for (std::size_t i = low; i < high; i += 4) {
        const __m128 dl = _mm_sub_ps(ql, _mm_load_ps(lightL_.data() + i));
        const __m128 da = _mm_sub_ps(qa, _mm_load_ps(lightA_.data() + i));
        const __m128 db = _mm_sub_ps(qb, _mm_load_ps(lightB_.data() + i));
        const __m128 d = _mm_add_ps(_mm_add_ps(_mm_mul_ps(dl, dl), _mm_mul_ps(da, da)), _mm_mul_ps(db, db));
        _mm_store_ps(distance.data() + i, d);
        least4 = _mm_min_ps(least4, d);
    }
    least4 = _mm_min_ps(least4, _mm_shuffle_ps(least4, least4, 0x4E));
    least4 = _mm_min_ps(least4, _mm_shuffle_ps(least4, least4, 0xB1));
    least = _mm_cvtss_f32(least4);
    uint8_t best = 255;
    for (std::size_t i = low; i < high; ++i)
        if (distance[i] == least) best = std::min(best, lightnessIndex_[i]);
    return best;
}

// The first position in the lightness order whose L is not below lightness, rounded down to a
// multiple of 4.
std::size_t PaletteMatcher::BandStart(float lightness) const {
    const auto bucket = static_cast<std::size_t>(std::clamp(lightness, 0.0f, 1.0f) * kLightnessBuckets);
    std::size_t i = lightnessBucket_[std::min(bucket, kLightnessBuckets)];
    while (i < allowedCount_ && lightL_[i] < lightness) ++i;
    return i / 4 * 4;
}

// The allowed entries are kept in order of lightness L. An entry at squared distance d from the
// query differs from it in L by at most sqrt(d); with the distance of a good first guess to beat,
// only the band of entries that close in L can beat or tie it.
uint8_t PaletteMatcher::SearchOklab(Colour colour, const Oklab& q) const {
    const Oklab& guess = lab_[cellGuess_[CellOf(colour)]];
    const float gl = q.L - guess.L, ga = q.A - guess.A, gb = q.B - guess.B;
    // A little wider than the band, so that rounding cannot leave a tying entry outside it.
    const float reach = std::sqrt(gl * gl + ga * ga + gb * gb) * 1.0001f + 1e-6f;
    const std::size_t low = BandStart(q.L - reach);
    const std::size_t high = std::min(paddedCount_, (BandStart(q.L + reach) + 8) / 4 * 4);
    return NearestInBand(q, low, high);
}

uint8_t PaletteMatcher::Nearest(Colour colour) {
    const uint32_t key = ((uint32_t{colour.Red} << 16) | (uint32_t{colour.Green} << 8) | colour.Blue) + 1;
    std::size_t slot = (key * 2654435761u) >> (32 - 15);
    while (memoKeys_[slot] != 0) {
        if (memoKeys_[slot] == key) return memoAnswers_[slot];
        slot = (slot + 1) & (kMemoSlots - 1);
    }
    uint8_t answer = 0;
    if (rule_ == MatchRule::Rgb) {
        answer = allowedColumns_.Nearest(colour.Red, colour.Green, colour.Blue);
    } else {
        lastColour_ = colour;
        lastLab_ = OklabFromSrgb(colour);
        answer = SearchOklab(colour, lastLab_);
    }
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
    if (!(colour == lastColour_)) {
        lastColour_ = colour;
        lastLab_ = OklabFromSrgb(colour);
    }
    const Oklab q = lastLab_;
    const Oklab p = lab_[index];
    const double dl = double{q.L} - p.L, da = double{q.A} - p.A, db = double{q.B} - p.B;
    return std::sqrt(dl * dl + da * da + db * db);
}

}  // namespace import
