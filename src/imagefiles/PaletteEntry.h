#pragma once
// One colour of a 256-colour palette, laid out as a BMP colour-table entry.

#include <array>
#include <cstdint>

struct PaletteEntry {
    uint8_t Blue = 0;
    uint8_t Green = 0;
    uint8_t Red = 0;
    uint8_t Reserved = 0;

    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};
static_assert(sizeof(PaletteEntry) == 4, "a palette entry is the 4 bytes of a BMP colour-table entry");

// Every palette in the program has exactly 256 entries, indices 0 to 255.
using Palette = std::array<PaletteEntry, 256>;
