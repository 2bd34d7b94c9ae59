#pragma once
// Small helpers shared by the picture set's tests.

#include <algorithm>
#include <array>
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

// Gives the three slots different content, so that a change to any of them shows.
inline void FillSlotsDistinctly(classUnitGAF& set) {
    set.ResetToBackground(0, 3);
    set.ResetToBackground(1, 160);
    set.AddBlackCross(1, 2);
    set.ResetToBackground(2, 200);
    set.AddCavedogLikeBorder(2, 3);
}

inline std::array<Picture, 3> Slots(const classUnitGAF& set) { return {*set.Slot(0), *set.Slot(1), *set.Slot(2)}; }

}  // namespace picturetest
