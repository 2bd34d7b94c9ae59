// The nearest-colour rule: the plain search that defines it.

#include <cstdlib>

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

}  // namespace modPalettes
