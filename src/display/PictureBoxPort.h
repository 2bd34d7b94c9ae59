#pragma once
// What a picture box offers the display surface: an inner size, a persistent canvas that takes
// 8-bit indexed blocks with a 256-colour table, and a refresh. The window's picture boxes
// implement it with Qt; MemoryPictureBox implements it in plain memory.

#include <cstdint>
#include <span>
#include <vector>

#include "imagefiles/PaletteEntry.h"

struct IndexedBlock {
    std::span<const uint8_t> Pixels;  // Height rows of Stride bytes, top row first
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Stride = 0;
    const Palette* Colours = nullptr;
};

struct PixelRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

class PictureBoxPort {
public:
    virtual ~PictureBoxPort() = default;

    // Inner (client) size in pixels.
    virtual double InnerWidth() const = 0;
    virtual double InnerHeight() const = 0;

    // Draws the Source rectangle of the block onto the Dest rectangle of the canvas, clipped to
    // the canvas. Without Stretch the block is copied 1:1 (Dest's size, Source's position);
    // with Stretch rows and columns are repeated or dropped, never blended. What is drawn stays
    // until something is drawn over it.
    virtual void DrawIndexed(const IndexedBlock& block, PixelRect Source, PixelRect Dest, bool Stretch) = 0;

    // The canvas colours of a rectangle as 0xRRGGBB, row by row; pixels outside the canvas read
    // as black.
    virtual std::vector<uint32_t> ReadColours(PixelRect Area) const = 0;

    // Makes what was drawn visible on the screen.
    virtual void Refresh() = 0;
};
