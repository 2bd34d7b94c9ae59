#pragma once
// The six drawing functions of an 8-bit surface: tiles, lines, pixels and region grabs.
//
// A surface is BmpWidth x |BmpHeight| bytes of palette indices, top row first, BmpWidth bytes
// per row; a negative BmpHeight means the same top-down rows. Bits is the surface's pixel
// memory. Every function clips to the surface and to the buffers it is given: nothing is
// written outside Bits, nothing is read outside a tile buffer, and an empty Bits (a surface
// without pixel memory) or a surface whose size does not fit Bits draws nothing.
// Coordinates are computed in 64-bit, so no 32-bit argument can overflow them.

#include <cstdint>
#include <span>

namespace TileDrawing {

// Copies a Width x Height tile (rows of Width bytes in Tile) onto the surface with its top left
// pixel at (xPos, yPos). Parts outside the surface, and tile pixels beyond the end of Tile,
// are not drawn.
void WriteTile(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
               std::span<uint8_t> Bits, std::span<const uint8_t> Tile);

// A straight line from (x1, y1) to (x2, y2), both ends included, in one colour: the pixels
// Bresenham's algorithm picks (on an exact tie the pixel farther from the start), those outside
// the surface skipped.
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t Color, int32_t BmpWidth, int32_t BmpHeight,
              std::span<uint8_t> Bits);

// Sets the byte at Offset of Bits; an offset outside Bits writes nothing.
void WritePixel(std::span<uint8_t> Bits, int64_t Offset, uint8_t Color);

// WriteTile with MaskColor as the special colour: with ClearFlag non-zero, tile pixels of
// MaskColor are drawn in BackColor (the tile's background is cleared to it); with ClearFlag 0
// they are not drawn at all, so the surface shows through them.
void ClearTile(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
               std::span<uint8_t> Bits, std::span<const uint8_t> Tile, uint8_t MaskColor, uint8_t BackColor,
               int32_t ClearFlag);

// WriteTile in which tile pixels of MaskColor are drawn as ReplaceColor.
void MaskTile(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
              std::span<uint8_t> Bits, std::span<const uint8_t> Tile, uint8_t MaskColor, uint8_t ReplaceColor);

// The reverse of WriteTile: copies the Width x Height region with its top left pixel at
// (xPos, yPos) into Buffer (rows of Width bytes). Buffer elements whose pixel lies outside the
// surface, and pixels beyond the end of Buffer, are left as they were.
void GetRegion(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, int32_t BmpWidth, int32_t BmpHeight,
               std::span<const uint8_t> Bits, std::span<uint8_t> Buffer);

}  // namespace TileDrawing
