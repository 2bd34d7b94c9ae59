#pragma once
// Pictures and checks the import tests share.

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "imagefiles/RgbaPicture.h"

namespace importtest {

using imagefiles::RgbaPicture;

inline RgbaPicture MakePicture(int width, int height, uint32_t seed, bool opaque = true) {
    RgbaPicture picture{width, height, {}};
    std::mt19937 random(seed);
    picture.Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i)
        picture.Pixels[i] = (i % 4 == 3 && opaque) ? 255 : static_cast<uint8_t>(random());
    return picture;
}

inline RgbaPicture Solid(int width, int height, std::array<uint8_t, 4> rgba) {
    RgbaPicture picture{width, height, {}};
    for (int i = 0; i < width * height; ++i) picture.Pixels.insert(picture.Pixels.end(), rgba.begin(), rgba.end());
    return picture;
}

inline std::array<uint8_t, 4> PixelOf(const RgbaPicture& picture, int x, int y) {
    const auto at =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.Width) + static_cast<std::size_t>(x)) * 4;
    return {picture.Pixels[at], picture.Pixels[at + 1], picture.Pixels[at + 2], picture.Pixels[at + 3]};
}

// The largest single allocation made through operator new while a Watch is alive (defined in
// AllocationWatch.cpp, which replaces the global operator new of the test program).
struct AllocationWatch {
    AllocationWatch();
    ~AllocationWatch();
    std::size_t Largest() const;
};

}  // namespace importtest
