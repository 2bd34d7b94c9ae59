#pragma once
// A picture slot: 96 x 96 game-palette indices, top row first, index = y * 96 + x.

#include <array>
#include <cstdint>

constexpr int kPictureSide = 96;
constexpr int kPicturePixels = kPictureSide * kPictureSide;  // 9,216

using Picture = std::array<uint8_t, kPicturePixels>;

// The index ResamplePicture treats as empty: such a source pixel contributes nothing, and a
// destination pixel no source pixel reaches becomes this index.
constexpr uint8_t kEmptyIndex = 100;
