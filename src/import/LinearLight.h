#pragma once
// 8-bit sRGB samples to linear light and back. The way back is the exact inverse of the way
// there: every 8-bit value survives the round trip unchanged, and a linear value between two
// table entries goes to the 8-bit value whose sRGB encoding is nearest.

#include <array>
#include <cstdint>

namespace import {

// Linear light in [0, 1] of each 8-bit sRGB value (the sRGB transfer function, computed in double
// and held as float).
const std::array<float, 256>& LinearFromSrgb();

inline float ToLinear(uint8_t value) { return LinearFromSrgb()[value]; }

// The 8-bit sRGB value of a linear value: v such that the linear value lies between the decodings
// of (v - 0.5) / 255 and (v + 0.5) / 255. Values outside [0, 1] give 0 or 255.
uint8_t ToSrgb8(float linear);

}  // namespace import
