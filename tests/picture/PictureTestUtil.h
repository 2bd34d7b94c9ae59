#pragma once
// Small helpers shared by the picture set's tests.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "picture/Picture.h"
#include "picture/classUnitGAF.h"

namespace picturetest {

inline uint8_t At(const Picture& pic, int x, int y) { return pic[static_cast<std::size_t>(y * kPictureSide + x)]; }

inline std::size_t CountOf(const Picture& pic, uint8_t index) {
    return static_cast<std::size_t>(std::count(pic.begin(), pic.end(), index));
}

inline Picture Uniform(uint8_t index) {
    Picture pic{};
    pic.fill(index);
    return pic;
}

// A picture using many indices, none of them the empty index 100.
inline Picture ManyColours() {
    Picture pic{};
    for (std::size_t i = 0; i < pic.size(); ++i) {
        auto v = static_cast<uint8_t>((i * 37 + i / 96 * 11) & 0xFF);
        pic[i] = v == kEmptyIndex ? 101 : v;
    }
    return pic;
}

// Gives the three slots different content, so that a change to any of them shows.
inline void FillSlotsDistinctly(classUnitGAF& set) {
    set.ResetToBackground(0, 3);
    set.ResetToBackground(1, 160);
    set.AddBlackCross(1, 2);
    set.ResetToBackground(2, 200);
    set.AddCavedogLikeBorder(2, 3);
}

}  // namespace picturetest
