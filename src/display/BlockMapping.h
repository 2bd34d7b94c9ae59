#pragma once
// Which canvas pixel takes which source pixel when a rectangle of an image is drawn onto a
// rectangle of a canvas, 1:1 or stretched. Every PictureBoxPort implementation (and the
// surface's own capture) draws through these functions, so they all clip and stretch alike.
//
// Without stretching, canvas pixel (Dest.Left + i, Dest.Top + j) takes source pixel
// (Source.Left + i, Source.Top + j) for 0 <= i < Dest.Width, 0 <= j < Dest.Height; Source's
// size is not used. With stretching, it takes source pixel
// (Source.Left + i * Source.Width / Dest.Width, Source.Top + j * Source.Height / Dest.Height),
// integer division, for the same i and j: rows and columns are repeated or dropped, never
// blended. A rectangle with a width or height that is not positive draws nothing (mirroring is
// not supported). Only pixel pairs whose canvas pixel lies on the canvas and whose source pixel
// lies in the source image are visited, row by row from the top; everything else is left
// alone. All arithmetic is 64-bit, so no 32-bit argument can overflow it, and the work is
// bounded by the canvas size whatever the rectangles are.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "display/PictureBoxPort.h"

namespace BlockMapping {

// The part of Dest that lies on the canvas, as step ranges (column i and row j as above), with
// the source steps that scale them. Empty when nothing is visible.
struct VisibleSteps {
    int64_t FirstColumn = 0;
    int64_t EndColumn = 0;  // one past the last visible column
    int64_t FirstRow = 0;
    int64_t EndRow = 0;
    PixelRect Source{};
    PixelRect Dest{};
    int64_t SourceWidth = 0;  // Source.Width when stretching, Dest.Width otherwise
    int64_t SourceHeight = 0;

    bool Empty() const { return FirstColumn >= EndColumn || FirstRow >= EndRow; }
    // The source column of visible column i and the source row of visible row j (64-bit: may
    // lie outside any image).
    int64_t SourceX(int64_t Column) const { return Source.Left + Column * SourceWidth / Dest.Width; }
    int64_t SourceY(int64_t Row) const { return Source.Top + Row * SourceHeight / Dest.Height; }
};

inline VisibleSteps ClipToCanvas(PixelRect Source, PixelRect Dest, bool Stretch, int64_t CanvasWidth,
                                 int64_t CanvasHeight) {
    VisibleSteps steps;
    steps.Source = Source;
    steps.Dest = Dest;
    steps.SourceWidth = Stretch ? Source.Width : Dest.Width;
    steps.SourceHeight = Stretch ? Source.Height : Dest.Height;
    if (Dest.Width <= 0 || Dest.Height <= 0 || steps.SourceWidth <= 0 || steps.SourceHeight <= 0 || CanvasWidth <= 0 ||
        CanvasHeight <= 0) {
        return steps;  // empty
    }
    steps.FirstColumn = std::max<int64_t>(0, -static_cast<int64_t>(Dest.Left));
    steps.EndColumn = std::min<int64_t>(Dest.Width, CanvasWidth - Dest.Left);
    steps.FirstRow = std::max<int64_t>(0, -static_cast<int64_t>(Dest.Top));
    steps.EndRow = std::min<int64_t>(Dest.Height, CanvasHeight - Dest.Top);
    return steps;
}

// Visit(canvasX, canvasY, sourceX, sourceY) for every visible pixel pair. The source image is
// SourceImageWidth x SourceImageHeight pixels, the canvas CanvasWidth x CanvasHeight.
template <class Visitor>
void ForEachMappedPixel(int64_t SourceImageWidth, int64_t SourceImageHeight, PixelRect Source, PixelRect Dest,
                        bool Stretch, int64_t CanvasWidth, int64_t CanvasHeight, Visitor&& Visit) {
    const VisibleSteps steps = ClipToCanvas(Source, Dest, Stretch, CanvasWidth, CanvasHeight);
    if (steps.Empty() || SourceImageWidth <= 0 || SourceImageHeight <= 0) {
        return;
    }
    for (int64_t row = steps.FirstRow; row < steps.EndRow; ++row) {
        const int64_t sourceY = steps.SourceY(row);
        if (sourceY < 0 || sourceY >= SourceImageHeight) {
            continue;
        }
        for (int64_t column = steps.FirstColumn; column < steps.EndColumn; ++column) {
            const int64_t sourceX = steps.SourceX(column);
            if (sourceX < 0 || sourceX >= SourceImageWidth) {
                continue;
            }
            Visit(static_cast<int32_t>(Dest.Left + column), static_cast<int32_t>(Dest.Top + row),
                  static_cast<int32_t>(sourceX), static_cast<int32_t>(sourceY));
        }
    }
}

// Visit(canvasX, canvasY, index) for every visible pixel of an indexed block, with the palette
// index the canvas pixel takes. Block pixels outside Pixels (a block whose Stride or Height
// claims more than Pixels holds) are treated as outside the block.
template <class Visitor>
void ForEachDrawnCanvasPixel(const IndexedBlock& Block, PixelRect Source, PixelRect Dest, bool Stretch,
                             int64_t CanvasWidth, int64_t CanvasHeight, Visitor&& Visit) {
    const int64_t stride = Block.Stride;
    if (stride < Block.Width) {
        return;  // rows would overlap: not a valid block
    }
    const int64_t pixelCount = static_cast<int64_t>(Block.Pixels.size());
    ForEachMappedPixel(Block.Width, Block.Height, Source, Dest, Stretch, CanvasWidth, CanvasHeight,
                       [&](int32_t canvasX, int32_t canvasY, int32_t sourceX, int32_t sourceY) {
                           const int64_t offset = sourceY * stride + sourceX;
                           if (offset < pixelCount) {
                               Visit(canvasX, canvasY, Block.Pixels[static_cast<std::size_t>(offset)]);
                           }
                       });
}

// A palette entry as a 0xRRGGBB canvas colour.
constexpr uint32_t ColourOf(const PaletteEntry& Entry) {
    return (static_cast<uint32_t>(Entry.Red) << 16) | (static_cast<uint32_t>(Entry.Green) << 8) | Entry.Blue;
}

}  // namespace BlockMapping
