#include "imagefiles/PaletteColumns.h"

#include <array>
#include <cassert>

namespace modPalettes {

namespace {

constexpr int16_t kFarthest = 765;  // 3 x 255: no two colours are farther apart

// |a - b| in 16 bits, as the larger of the two differences: two subtractions and a maximum, each
// one instruction on eight lanes at once.
int16_t Difference(int16_t a, int16_t b) {
    const auto forward = static_cast<int16_t>(a - b);
    const auto backward = static_cast<int16_t>(b - a);
    return forward > backward ? forward : backward;
}

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

uint8_t ColumnsView::Nearest(int red, int green, int blue) const {
    const auto r = static_cast<int16_t>(red);
    const auto g = static_cast<int16_t>(green);
    const auto b = static_cast<int16_t>(blue);
    // First the smallest distance, then the first entry at it; the count of whole groups lets
    // the compiler run the first loop kColumnLanes entries at a time.
    std::array<int16_t, 256> distance;
    const std::size_t count = Groups * kColumnLanes;
    const int16_t* reds = Red;
    const int16_t* greens = Green;
    const int16_t* blues = Blue;
    int16_t smallest = kFarthest;
    for (std::size_t i = 0; i < count; ++i) {
        distance[i] = static_cast<int16_t>(Difference(r, reds[i]) + Difference(g, greens[i]) + Difference(b, blues[i]));
        smallest = distance[i] < smallest ? distance[i] : smallest;
    }
    if (smallest >= kFarthest && FallsBackTo255) return 255;  // as in the plain rule: only a nearer entry replaces 255
    std::size_t i = 0;
    while (distance[i] != smallest) ++i;
    return static_cast<uint8_t>(Index[i]);
}

}  // namespace modPalettes
