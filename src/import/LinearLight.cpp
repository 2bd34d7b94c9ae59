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
    // For linear values in [k / kBuckets, (k + 1) / kBuckets): the 8-bit value at the bucket's
    // start. Boundaries lie at least 1 / (255 x 12.92) apart, more than a bucket's width, so at
    // most one boundary falls inside a bucket and one comparison finishes the answer.
    static constexpr int kBuckets = 4096;
    std::array<uint8_t, kBuckets + 1> BucketStart{};

    Tables() {
        for (int v = 0; v < 256; ++v) Linear[static_cast<std::size_t>(v)] = static_cast<float>(DecodeSrgb(v / 255.0));
        for (int v = 0; v < 255; ++v)
            Boundaries[static_cast<std::size_t>(v)] = static_cast<float>(DecodeSrgb((v + 0.5) / 255.0));
        for (int k = 0; k <= kBuckets; ++k) {
            const float start = static_cast<float>(k) / kBuckets;
            BucketStart[static_cast<std::size_t>(k)] = static_cast<uint8_t>(
                std::upper_bound(Boundaries.begin(), Boundaries.end(), start) - Boundaries.begin());
        }
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
    if (linear >= 1.0f) return 255;
    const Tables& tables = TheTables();
    // The number of boundaries at or below the value: those below the bucket, and perhaps one in it.
    const auto bucket = static_cast<std::size_t>(linear * Tables::kBuckets);
    uint8_t value = tables.BucketStart[bucket];
    while (value < 255 && tables.Boundaries[value] <= linear) ++value;
    return value;
}

}  // namespace import
