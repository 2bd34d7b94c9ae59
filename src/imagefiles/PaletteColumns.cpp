#include "imagefiles/PaletteColumns.h"

#include <emmintrin.h>  // every processor this program is built for has SSE2
#include <array>
#include <bit>
#include <cassert>

namespace modPalettes {

namespace {

constexpr int16_t kFarthest = 765;  // 3 x 255: no two colours are farther apart

// |a - b| in 16 bits on eight lanes, as the larger of the two differences.
__m128i Difference(__m128i a, __m128i b) { return _mm_max_epi16(_mm_sub_epi16(a, b), _mm_sub_epi16(b, a)); }

}  // namespace

PaletteColumns::PaletteColumns(const Palette& Target, std::span<const uint8_t> Indices, bool FallsBackTo255)
    : groups_((Indices.size() + kLanes - 1) / kLanes),
      fallsBackTo255_(FallsBackTo255),
      values_(4 * Count(), kColumnPadding) {
    assert(Indices.size() <= 256);
    int16_t* red = values_.data();
    int16_t* green = red + Count();
    int16_t* blue = green + Count();
    int16_t* index = blue + Count();
    for (std::size_t i = 0; i < Indices.size(); ++i) {
        const PaletteEntry& entry = Target[Indices[i]];
        red[i] = entry.Red;
        green[i] = entry.Green;
        blue[i] = entry.Blue;
        index[i] = Indices[i];
    }
}

ColumnsView PaletteColumns::View() const {
    const int16_t* red = values_.data();
    return {red, red + Count(), red + 2 * Count(), red + 3 * Count(), groups_, fallsBackTo255_};
}

// Eight entries at a time: the distances and their least, then the first group holding an entry at
// the least and the first such entry in it, which is the lowest index.
uint8_t ColumnsView::Nearest(int red, int green, int blue) const {
    const __m128i r = _mm_set1_epi16(static_cast<int16_t>(red));
    const __m128i g = _mm_set1_epi16(static_cast<int16_t>(green));
    const __m128i b = _mm_set1_epi16(static_cast<int16_t>(blue));
    const auto load = [](const int16_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    static_assert(kColumnLanes == 8, "one SSE2 register of 16-bit lanes per group");
    __m128i distance[256 / kColumnLanes];
    __m128i least = _mm_set1_epi16(kFarthest);
    for (std::size_t group = 0; group < Groups; ++group) {
        const std::size_t at = group * kColumnLanes;
        distance[group] = _mm_add_epi16(_mm_add_epi16(Difference(r, load(Red + at)), Difference(g, load(Green + at))),
                                        Difference(b, load(Blue + at)));
        least = _mm_min_epi16(least, distance[group]);
    }
    // The least of the eight lanes, in every lane.
    least = _mm_min_epi16(least, _mm_shuffle_epi32(least, 0x4E));
    least = _mm_min_epi16(least, _mm_shuffle_epi32(least, 0xB1));
    least = _mm_min_epi16(least, _mm_shufflelo_epi16(_mm_shufflehi_epi16(least, 0xB1), 0xB1));
    const auto smallest = static_cast<int16_t>(_mm_cvtsi128_si32(least));
    if (smallest >= kFarthest && FallsBackTo255) return 255;  // as in the plain rule: only a nearer entry replaces 255
    for (std::size_t group = 0; group < Groups; ++group) {
        const auto lanes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(distance[group], least)));
        if (lanes != 0)
            return static_cast<uint8_t>(
                Index[group * kColumnLanes + static_cast<std::size_t>(std::countr_zero(lanes)) / 2]);
    }
    return 255;  // no entry at all
}

}  // namespace modPalettes
