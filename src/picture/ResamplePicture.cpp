#include "picture/ResamplePicture.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <vector>

#include "imagefiles/modPalettes.h"
#include "import/RoundHalfEven.h"
#include "picture/Picture.h"

namespace {

// One destination cell's source pixels: how many, and their components added up. A cell gathers
// at most every source pixel, each adding at most 255: no picture held in memory comes near
// overflowing 64 bits.
struct CellSums {
    int64_t Count = 0;
    int64_t Red = 0;
    int64_t Green = 0;
    int64_t Blue = 0;
};

// The destination position of each source position along one axis. The ratio is held as a
// 32-bit float (80/96 is 0.8333333f) and the quotient taken in double, then rounded half to
// even; 96 to 80 therefore sends 6k + 3 to 5k + 2, just below the half.
std::vector<int64_t> AxisMap(int32_t sourceLength, int32_t destLength) {
    const auto ratio = static_cast<float>(static_cast<double>(sourceLength) / static_cast<double>(destLength));
    std::vector<int64_t> map(static_cast<std::size_t>(sourceLength));
    for (int32_t s = 0; s < sourceLength; ++s)
        map[static_cast<std::size_t>(s)] =
            static_cast<int64_t>(RoundHalfEven(static_cast<double>(s) / static_cast<double>(ratio)));
    return map;
}

// sum / count rounded to the nearest integer, halves to even, as RoundHalfEven rounds the
// quotient in double. Below 2^52 the integer remainder gives the same answer (the double
// quotient of two such integers is exactly a half only when the true one is) at a fraction of
// the cost; larger sums, which no picture held in memory reaches, take the double road.
// Sums below 2^32, those of every cell of a picture of fewer than 16 million pixels, divide in
// 32 bits, which takes the processor a fraction of a 64-bit division.
int RoundedAverage(int64_t sum, int64_t count) {
    if (sum >= (int64_t{1} << 52))
        return static_cast<int>(RoundHalfEven(static_cast<double>(sum) / static_cast<double>(count)));
    if (sum < (int64_t{1} << 32))
        return static_cast<int>(DivideRoundingHalfEven(static_cast<uint32_t>(sum), static_cast<uint32_t>(count)));
    return static_cast<int>(DivideRoundingHalfEven(sum, count));
}

// The empty-neighbour test reads flat indices; one outside the source holds nothing, so it is
// not empty.
bool IsEmptyAt(std::span<const uint8_t> source, int64_t flat) {
    return flat >= 0 && flat < static_cast<int64_t>(source.size()) &&
           source[static_cast<std::size_t>(flat)] == kEmptyIndex;
}

// The cells from first up to (not including) end, as destination pixels: the nearest colour to
// each cell's rounded average, or the empty index for a cell nothing reached.
void EmitCells(std::vector<CellSums>& ring, int64_t first, int64_t end, std::span<uint8_t> destination,
               const modPalettes::NearestColourSearch& nearest) {
    const std::size_t slotMask = ring.size() - 1;
    for (int64_t cell = first; cell < end; ++cell) {
        CellSums& sums = ring[static_cast<std::size_t>(cell) & slotMask];
        if (sums.Count <= 0) {
            destination[static_cast<std::size_t>(cell)] = kEmptyIndex;
        } else {
            destination[static_cast<std::size_t>(cell)] =
                nearest.Nearest(RoundedAverage(sums.Red, sums.Count), RoundedAverage(sums.Green, sums.Count),
                                RoundedAverage(sums.Blue, sums.Count));
        }
        sums = CellSums{};  // the slot's next cell starts empty
    }
}

void ResampleWith(std::span<const uint8_t> Source, int32_t SourceWidth, int32_t SourceHeight,
                  std::span<uint8_t> Destination, int32_t DestWidth, int32_t DestHeight, const Palette& Palette,
                  int16_t Margin) {
    const std::vector<int64_t> columnMap = AxisMap(SourceWidth, DestWidth);
    const std::vector<int64_t> rowMap = AxisMap(SourceHeight, DestHeight);
    const auto cellCount = static_cast<int64_t>(Destination.size());
    const modPalettes::NearestColourSearch nearest(Palette);

    // A negative margin would start outside the picture; only positions inside it are visited.
    const int32_t firstY = Margin > 0 ? Margin : 0;
    const int32_t lastY = Margin > 0 ? SourceHeight - 1 - Margin : SourceHeight - 1;
    const int32_t firstX = Margin > 0 ? Margin : 0;
    const int32_t lastX = Margin > 0 ? SourceWidth - 1 - Margin : SourceWidth - 1;
    if (firstX > lastX || firstY > lastY) {
        std::fill(Destination.begin(), Destination.end(), kEmptyIndex);
        return;
    }

    // Cell (flat destination index) of source (x, y): DestWidth x rowMap[y] + columnMap[x]. Both
    // maps only grow, so one source row reaches the cells from its row's first to its row's
    // last column, a span of the same width for every row, and no later row reaches a cell
    // before the current row's first. The sums are therefore kept for that span only, in a ring,
    // and every cell before a row's first is final when the row starts.
    const int64_t firstColumn = columnMap[static_cast<std::size_t>(firstX)];
    const int64_t lastColumn = columnMap[static_cast<std::size_t>(lastX)];
    // A power of two, so that a cell's slot is a mask of its index rather than a division.
    std::vector<CellSums> ring(std::bit_ceil(static_cast<std::size_t>(lastColumn - firstColumn + 1)));
    const std::size_t slotMask = ring.size() - 1;
    int64_t emitted = 0;  // the cells before this one are written

    for (int32_t y = firstY; y <= lastY; ++y) {
        const int64_t cellRow = int64_t{DestWidth} * rowMap[static_cast<std::size_t>(y)];
        const int64_t final = std::clamp<int64_t>(cellRow + firstColumn, emitted, cellCount);
        EmitCells(ring, emitted, final, Destination, nearest);
        emitted = final;

        const int64_t rowStart = int64_t{y} * SourceWidth;
        for (int32_t x = firstX; x <= lastX; ++x) {
            const int64_t flat = rowStart + x;
            const uint8_t p = Source[static_cast<std::size_t>(flat)];
            if (p == kEmptyIndex) continue;
            if (Margin != 0 && (IsEmptyAt(Source, flat - Margin) || IsEmptyAt(Source, flat + Margin) ||
                                IsEmptyAt(Source, flat - int64_t{Margin} * SourceWidth) ||
                                IsEmptyAt(Source, flat + int64_t{Margin} * SourceWidth)))
                continue;
            const int64_t cell = cellRow + columnMap[static_cast<std::size_t>(x)];
            if (cell < 0 || cell >= cellCount) continue;
            CellSums& sums = ring[static_cast<std::size_t>(cell) & slotMask];
            sums.Count += 1;
            sums.Red += Palette[p].Red;
            sums.Green += Palette[p].Green;
            sums.Blue += Palette[p].Blue;
        }
    }
    EmitCells(ring, emitted, cellCount, Destination, nearest);
}

}  // namespace

void ResamplePicture(std::span<const uint8_t> Source, int32_t SourceWidth, int32_t SourceHeight,
                     std::span<uint8_t> Destination, int32_t DestWidth, int32_t DestHeight, const Palette& Palette,
                     int16_t Margin) {
    if (SourceWidth <= 0 || SourceHeight <= 0 || DestWidth <= 0 || DestHeight <= 0) return;
    const int64_t sourcePixels = int64_t{SourceWidth} * SourceHeight;
    const int64_t destPixels = int64_t{DestWidth} * DestHeight;
    if (static_cast<int64_t>(Source.size()) < sourcePixels || static_cast<int64_t>(Destination.size()) < destPixels)
        return;
    ResampleWith(Source, SourceWidth, SourceHeight, Destination, DestWidth, DestHeight, Palette, Margin);
}
