#pragma once
// The picture slot (import/PictureSlot.h) and the index the picture set's resampler gives a
// meaning.

#include <cstdint>

#include "import/PictureSlot.h"

// The index ResamplePicture treats as empty: such a source pixel contributes nothing, and a
// destination pixel no source pixel reaches becomes this index.
constexpr uint8_t kEmptyIndex = 100;
