#pragma once
// A picture slot: 96 x 96 game-palette indices, top row first, index = y * 96 + x. The import
// makes one; the picture set holds three.

#include <array>
#include <cstdint>

constexpr int kPictureSide = 96;
constexpr int kPicturePixels = kPictureSide * kPictureSide;  // 9,216

using Picture = std::array<uint8_t, kPicturePixels>;
