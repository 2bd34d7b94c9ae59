#pragma once
// The picture set's resampler: area averaging into destination cells, then the nearest palette
// colour.

#include <cstdint>
#include <span>

#include "imagefiles/PaletteEntry.h"

// Rewrites every element of Destination (DestWidth x DestHeight). Source holds SourceWidth x
// SourceHeight indices into Palette. Source pixels of index 100, and pixels with a neighbour of
// index 100 at distance Margin, contribute nothing; cells nothing reaches become 100.
// Sizes that are not positive, or arrays too short for the sizes given, leave Destination as it
// was. Source and Destination must not overlap.
void ResamplePicture(std::span<const uint8_t> Source, int32_t SourceWidth, int32_t SourceHeight,
                     std::span<uint8_t> Destination, int32_t DestWidth, int32_t DestHeight, const Palette& Palette,
                     int16_t Margin);
