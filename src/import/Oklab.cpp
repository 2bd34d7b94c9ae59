#include "import/Oklab.h"

#include <emmintrin.h>  // every processor this program is built for has SSE2
#include <array>
#include <bit>
#include <cstdint>

#include "import/LinearLight.h"

namespace import {

namespace {

// Cube roots by Halley's iteration from a bit-level first guess: faster than the library's and as
// close as float holds. The three roots of a colour are taken side by side; each lane does the
// same float operations in the same order, so equal colours land on equal coordinates (ties stay
// ties).
float FirstGuess(float x) {
    return x > 0.0f ? std::bit_cast<float>(std::bit_cast<uint32_t>(x) / 3 + 709921077u) : 0.0f;
}

std::array<float, 3> CubeRoots(float l, float m, float s) {
    const __m128 x = _mm_setr_ps(l, m, s, 1.0f);
    __m128 y = _mm_setr_ps(FirstGuess(l), FirstGuess(m), FirstGuess(s), 1.0f);
    const __m128 two = _mm_set1_ps(2.0f);
    for (int step = 0; step < 2; ++step) {
        const __m128 y3 = _mm_mul_ps(_mm_mul_ps(y, y), y);
        y = _mm_div_ps(_mm_mul_ps(y, _mm_add_ps(y3, _mm_mul_ps(two, x))), _mm_add_ps(_mm_mul_ps(two, y3), x));
    }
    // A zero lane divides 0 by 0; its root is 0.
    y = _mm_and_ps(y, _mm_cmpgt_ps(x, _mm_setzero_ps()));
    alignas(16) float out[4];
    _mm_store_ps(out, y);
    return {out[0], out[1], out[2]};
}

}  // namespace

Oklab OklabFromLinear(float red, float green, float blue) {
    const auto [l, m, s] = CubeRoots(0.4122214708f * red + 0.5363325363f * green + 0.0514459929f * blue,
                                     0.2119034982f * red + 0.6806995451f * green + 0.1073969566f * blue,
                                     0.0883024619f * red + 0.2817188376f * green + 0.6299787005f * blue);
    return Oklab{0.2104542553f * l + 0.7936177850f * m - 0.0040720468f * s,
                 1.9779984951f * l - 2.4285922050f * m + 0.4505937099f * s,
                 0.0259040371f * l + 0.7827717662f * m - 0.8086757660f * s};
}

Oklab OklabFromSrgb(Colour colour) {
    return OklabFromLinear(ToLinear(colour.Red), ToLinear(colour.Green), ToLinear(colour.Blue));
}

}  // namespace import
