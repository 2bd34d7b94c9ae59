// The nearest-colour rule: the plain search that defines it, and the remap of a whole picture.

#include <cstdlib>
#include <numeric>

#include "imagefiles/PaletteColumns.h"
#include "imagefiles/modPalettes.h"

namespace modPalettes {

namespace {

constexpr int kFarthest = 765;  // 3 x 255: no two colours are farther apart

int Distance(const PaletteEntry& entry, int red, int green, int blue) {
    return std::abs(red - entry.Red) + std::abs(green - entry.Green) + std::abs(blue - entry.Blue);
}

}  // namespace

uint8_t NearestIndexPlain(const Palette& Target, int red, int green, int blue) {
    int bestIndex = 255;
    int bestDistance = kFarthest;
    for (int k = 0; k < 256; ++k) {
        const int d = Distance(Target[static_cast<std::size_t>(k)], red, green, blue);
        if (d < bestDistance) {
            bestIndex = k;
            bestDistance = d;
        }
    }
    return static_cast<uint8_t>(bestIndex);
}

void RemapToPalette(std::span<uint8_t> Pixels, const Palette& SourcePalette, const Palette& TargetPalette) {
    if (Pixels.empty()) return;
    // One answer per source index, then one look-up per pixel. For 256 questions a search over
    // the whole palette, eight entries at a time, costs less than preparing a grid.
    std::array<uint8_t, 256> every{};
    std::iota(every.begin(), every.end(), uint8_t{0});
    const PaletteColumns search(TargetPalette, every);
    std::array<uint8_t, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PaletteEntry& c = SourcePalette[i];
        table[i] = search.Nearest(c.Red, c.Green, c.Blue);
    }
    for (uint8_t& pixel : Pixels) pixel = table[pixel];
}

}  // namespace modPalettes
