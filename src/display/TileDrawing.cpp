#include "display/TileDrawing.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace TileDrawing {
namespace {

// The surface as far as it can be drawn on: its width and row count, both 0 when the arguments
// do not describe pixel memory that Bits really holds.
struct Extent {
    int64_t Width = 0;
    int64_t Rows = 0;
};

Extent SurfaceExtent(int32_t BmpWidth, int32_t BmpHeight, std::size_t BitsSize) {
    const int64_t width = BmpWidth;
    const int64_t rows = std::llabs(static_cast<int64_t>(BmpHeight));
    if (width <= 0 || rows <= 0 || width * rows > static_cast<int64_t>(BitsSize)) {
        return {};
    }
    return {width, rows};
}

// Calls Pixel(surfaceIndex, tileIndex) for every pixel of a Width x Height block at
// (xPos, yPos) that lies on the surface and within the first TileSize block elements.
template <class PixelFunction>
void ForEachTilePixelOnSurface(int64_t xPos, int64_t yPos, int64_t Width, int64_t Height, Extent surface,
                               std::size_t TileSize, PixelFunction Pixel) {
    if (Width <= 0 || Height <= 0 || surface.Width == 0) {
        return;
    }
    const int64_t tileSize = static_cast<int64_t>(TileSize);
    const int64_t firstColumn = std::max<int64_t>(0, -xPos);
    const int64_t endColumn = std::min<int64_t>(Width, surface.Width - xPos);
    const int64_t firstRow = std::max<int64_t>(0, -yPos);
    const int64_t endRow = std::min<int64_t>(Height, surface.Rows - yPos);
    for (int64_t row = firstRow; row < endRow; ++row) {
        const int64_t tileRowStart = row * Width;
        const int64_t rowEnd = std::min(endColumn, tileSize - tileRowStart);
        if (rowEnd <= firstColumn) {
            break;  // the tile buffer ends before this row's first visible pixel
        }
        const int64_t surfaceRowStart = (yPos + row) * surface.Width + xPos;
        for (int64_t column = firstColumn; column < rowEnd; ++column) {
            Pixel(static_cast<std::size_t>(surfaceRowStart + column), static_cast<std::size_t>(tileRowStart + column));
        }
    }
}

// How far a coordinate that moves by Delta over Steps steps has moved after Step of them:
// Step * |Delta| / Steps rounded to the nearest integer, halves away from the start, which is
// the pixel Bresenham's error term selects. Both lengths are below 2^32, so the product fits.
int64_t Along(int64_t Delta, int64_t Step, int64_t Steps) {
    if (Steps == 0) {
        return 0;
    }
    const uint64_t product = static_cast<uint64_t>(Step) * static_cast<uint64_t>(std::llabs(Delta));
    const uint64_t length = static_cast<uint64_t>(Steps);
    const auto moved = static_cast<int64_t>(product / length + (2 * (product % length) >= length ? 1 : 0));
    return Delta < 0 ? -moved : moved;
}

}  // namespace

void WriteTile(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
               std::span<uint8_t> Bits, std::span<const uint8_t> Tile) {
    ForEachTilePixelOnSurface(
        xPos, yPos, Width, Height, SurfaceExtent(BmpWidth, BmpHeight, Bits.size()), Tile.size(),
        [&](std::size_t surfaceIndex, std::size_t tileIndex) { Bits[surfaceIndex] = Tile[tileIndex]; });
}

void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t Color, int32_t BmpWidth, int32_t BmpHeight,
              std::span<uint8_t> Bits) {
    const Extent surface = SurfaceExtent(BmpWidth, BmpHeight, Bits.size());
    if (surface.Width == 0) {
        return;
    }
    // One pixel per step along the longer axis, on which the coordinate moves by exactly one.
    // Only the steps whose coordinate on that axis is on the surface are walked, so a line with
    // far-away ends costs no more than one across the surface.
    const int64_t dx = static_cast<int64_t>(x2) - x1;
    const int64_t dy = static_cast<int64_t>(y2) - y1;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t start = xMajor ? x1 : y1;
    const int64_t limit = xMajor ? surface.Width : surface.Rows;
    const bool forward = (xMajor ? dx : dy) >= 0;
    const int64_t firstStep = std::max<int64_t>(0, forward ? -start : start - (limit - 1));
    const int64_t lastStep = std::min<int64_t>(steps, forward ? limit - 1 - start : start);
    for (int64_t step = firstStep; step <= lastStep; ++step) {
        const int64_t x = x1 + Along(dx, step, steps);
        const int64_t y = y1 + Along(dy, step, steps);
        if (x >= 0 && x < surface.Width && y >= 0 && y < surface.Rows) {
            Bits[static_cast<std::size_t>(y * surface.Width + x)] = Color;
        }
    }
}

void WritePixel(std::span<uint8_t> Bits, int64_t Offset, uint8_t Color) {
    if (Offset >= 0 && static_cast<uint64_t>(Offset) < Bits.size()) {
        Bits[static_cast<std::size_t>(Offset)] = Color;
    }
}

void ClearTile(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
               std::span<uint8_t> Bits, std::span<const uint8_t> Tile, uint8_t MaskColor, uint8_t BackColor,
               int32_t ClearFlag) {
    ForEachTilePixelOnSurface(xPos, yPos, Width, Height, SurfaceExtent(BmpWidth, BmpHeight, Bits.size()), Tile.size(),
                              [&](std::size_t surfaceIndex, std::size_t tileIndex) {
                                  const uint8_t pixel = Tile[tileIndex];
                                  if (pixel != MaskColor) {
                                      Bits[surfaceIndex] = pixel;
                                  } else if (ClearFlag != 0) {
                                      Bits[surfaceIndex] = BackColor;
                                  }
                              });
}

void MaskTile(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
              std::span<uint8_t> Bits, std::span<const uint8_t> Tile, uint8_t MaskColor, uint8_t ReplaceColor) {
    ForEachTilePixelOnSurface(xPos, yPos, Width, Height, SurfaceExtent(BmpWidth, BmpHeight, Bits.size()), Tile.size(),
                              [&](std::size_t surfaceIndex, std::size_t tileIndex) {
                                  const uint8_t pixel = Tile[tileIndex];
                                  Bits[surfaceIndex] = pixel == MaskColor ? ReplaceColor : pixel;
                              });
}

void GetRegion(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
               std::span<const uint8_t> Bits, std::span<uint8_t> Buffer) {
    ForEachTilePixelOnSurface(
        xPos, yPos, Width, Height, SurfaceExtent(BmpWidth, BmpHeight, Bits.size()), Buffer.size(),
        [&](std::size_t surfaceIndex, std::size_t bufferIndex) { Buffer[bufferIndex] = Bits[surfaceIndex]; });
}

}  // namespace TileDrawing
