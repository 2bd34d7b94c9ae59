#include "import/PaletteMatcher.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace import {

namespace {

constexpr int kFarthestRgb = 765;             // 3 x 255: the plain rule's starting distance
constexpr int16_t kAvoidedRgbPenalty = 2048;  // beyond any distance, small enough for 16 bits
constexpr std::size_t kMemoSlots = 1 << 15;   // a 96 x 96 frame asks at most 9,216 questions

std::size_t CellOf(Colour c) {
    return (static_cast<std::size_t>(c.Red >> 5) << 6) | (static_cast<std::size_t>(c.Green >> 5) << 3) |
           static_cast<std::size_t>(c.Blue >> 5);
}

// The first index whose distance is least (which some index has).
uint8_t FirstAt(const std::array<int16_t, 256>& distance, int16_t least) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(least);
    for (std::size_t k = 0; k < 256; k += 8) {
        const int mask = _mm_movemask_epi8(
            _mm_cmpeq_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(distance.data() + k)), wanted));
        if (mask != 0)
            return static_cast<uint8_t>(k +
                                        static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask))) / 2);
    }
    return 255;
#else
    std::size_t k = 0;
    while (k < 255 && distance[k] != least) ++k;
    return static_cast<uint8_t>(k);
#endif
}

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
    }
    lastLab_ = OklabFromSrgb(lastColour_);
    std::vector<uint8_t> order;
    for (std::size_t k = 0; k < 256; ++k)
        if (!avoid[k]) order.push_back(static_cast<uint8_t>(k));
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

// Both searches work in two passes over all 256 entries, four or eight at a time: the least
// distance, then the first entry at it, which is the lowest index.
uint8_t PaletteMatcher::SearchRgb(Colour colour) const {
    alignas(16) std::array<int16_t, 256> distance;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i r = _mm_set1_epi16(colour.Red), g = _mm_set1_epi16(colour.Green), b = _mm_set1_epi16(colour.Blue);
    const auto absolute = [&](__m128i d) { return _mm_max_epi16(d, _mm_sub_epi16(zero, d)); };
    __m128i least = _mm_set1_epi16(INT16_MAX);
    for (std::size_t k = 0; k < 256; k += 8) {
        const auto at = [&](const std::array<int16_t, 256>& a) {
            return _mm_load_si128(reinterpret_cast<const __m128i*>(a.data() + k));
        };
        const __m128i d =
            _mm_add_epi16(_mm_add_epi16(absolute(_mm_sub_epi16(r, at(red_))), absolute(_mm_sub_epi16(g, at(green_)))),
                          _mm_add_epi16(absolute(_mm_sub_epi16(b, at(blue_))), at(rgbPenalty_)));
        _mm_store_si128(reinterpret_cast<__m128i*>(distance.data() + k), d);
        least = _mm_min_epi16(least, d);
    }
    least = _mm_min_epi16(least, _mm_shuffle_epi32(least, 0x4E));
    least = _mm_min_epi16(least, _mm_shuffle_epi32(least, 0xB1));
    least = _mm_min_epi16(least, _mm_shufflelo_epi16(_mm_shufflehi_epi16(least, 0xB1), 0xB1));
    const auto leastValue = static_cast<int16_t>(_mm_cvtsi128_si32(least));
#else
    int16_t leastValue = INT16_MAX;
    for (std::size_t k = 0; k < 256; ++k) {
        distance[k] = static_cast<int16_t>(std::abs(colour.Red - red_[k]) + std::abs(colour.Green - green_[k]) +
                                           std::abs(colour.Blue - blue_[k]) + rgbPenalty_[k]);
        leastValue = std::min(leastValue, distance[k]);
    }
#endif
    // The plain rule starts from index 255 at distance 765 and takes only a strictly nearer entry.
    if (leastValue >= kFarthestRgb && !avoid_[255]) return 255;
    return FirstAt(distance, leastValue);
}

// The allowed entries are kept in order of lightness L. An entry at squared distance d from the
// query differs from it in L by at most sqrt(d), so once a few entries of similar lightness have
// given a distance to beat, only the band of entries that close in L can beat or tie it.
// The lowest index among the entries in [low, high) of the lightness order (both multiples of 4)
// nearest to q.
uint8_t PaletteMatcher::NearestInBand(const Oklab& q, std::size_t low, std::size_t high) const {
    alignas(16) std::array<float, 256 + 4> distance;
    float least = std::numeric_limits<float>::infinity();
#if defined(__SSE2__)
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
#else
    for (std::size_t i = low; i < high; ++i) {
        const float dl = q.L - lightL_[i], da = q.A - lightA_[i], db = q.B - lightB_[i];
        distance[i] = dl * dl + da * da + db * db;
        least = std::min(least, distance[i]);
    }
#endif
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
        answer = SearchRgb(colour);
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
