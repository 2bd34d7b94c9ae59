#include "import/LinearLight.h"

#include <algorithm>
#include <cmath>

namespace import {

namespace {

double DecodeSrgb(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

struct Tables {
    std::array<float, 256> Linear{};
    // Boundaries[v] is where linear values stop going to v and start going to v + 1: the decoding
    // of (v + 0.5) / 255. A table value sits strictly between its two boundaries, so it comes back
    // as itself.
    std::array<float, 255> Boundaries{};

    Tables() {
        for (int v = 0; v < 256; ++v) Linear[static_cast<std::size_t>(v)] = static_cast<float>(DecodeSrgb(v / 255.0));
        for (int v = 0; v < 255; ++v)
            Boundaries[static_cast<std::size_t>(v)] = static_cast<float>(DecodeSrgb((v + 0.5) / 255.0));
    }
};

const Tables& TheTables() {
    static const Tables tables;
    return tables;
}

}  // namespace

const std::array<float, 256>& LinearFromSrgb() { return TheTables().Linear; }

uint8_t ToSrgb8(float linear) {
    if (!(linear > 0.0f)) return 0;  // NaN too
    const auto& boundaries = TheTables().Boundaries;
    // The number of boundaries at or below the value.
    const auto above = std::upper_bound(boundaries.begin(), boundaries.end(), linear);
    return static_cast<uint8_t>(above - boundaries.begin());
}

}  // namespace import
