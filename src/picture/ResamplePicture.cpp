#include "picture/ResamplePicture.h"

#include <cstddef>
#include <memory>
#include <vector>

#include "imagefiles/modPalettes.h"
#include "picture/Picture.h"
#include "picture/RoundHalfEven.h"

namespace {

struct CellSums {
    // 64-bit so that no picture, however large, can overflow a sum.
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

// The empty-neighbour test reads flat indices; one outside the source holds nothing, so it is
// not empty.
bool IsEmptyAt(std::span<const uint8_t> source, int64_t flat) {
    return flat >= 0 && flat < static_cast<int64_t>(source.size()) &&
           source[static_cast<std::size_t>(flat)] == kEmptyIndex;
}

// Answers of the nearest-colour rule already found for one palette. A reduction asks for up to
// one colour per destination pixel, and pictures (and the same pictures written again) repeat
// their averages a lot, so most questions are answered by one look-up. Every answer comes from
// NearestColourSearch, so the memo cannot change a result.
class NearestColourMemo {
public:
    explicit NearestColourMemo(const Palette& palette) : palette_(palette), search_(palette) { Clear(); }

    const Palette& ForPalette() const { return palette_; }

    uint8_t Nearest(int red, int green, int blue) {
        const uint32_t key = ((static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) |
                              static_cast<uint32_t>(blue)) + 1;  // 0 marks a free slot
        std::size_t slot = (key * 2654435761u) >> (32 - kSlotBits);
        while (keys_[slot] != 0) {
            if (keys_[slot] == key) return answers_[slot];
            slot = (slot + 1) & (kSlots - 1);
        }
        const uint8_t answer = search_.Nearest(red, green, blue);
        if (used_ >= kSlots / 4 * 3) {  // keep probes short: start afresh rather than fill up
            Clear();
            return answer;
        }
        keys_[slot] = key;
        answers_[slot] = answer;
        ++used_;
        return answer;
    }

private:
    static constexpr int kSlotBits = 15;
    static constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;

    void Clear() {
        keys_.assign(kSlots, 0);
        answers_.assign(kSlots, 0);
        used_ = 0;
    }

    Palette palette_;
    modPalettes::NearestColourSearch search_;
    std::vector<uint32_t> keys_;
    std::vector<uint8_t> answers_;
    std::size_t used_ = 0;
};

// The memo for Palette, kept between calls while the same palette keeps coming (every caller
// passes the game palette).
NearestColourMemo& MemoFor(const Palette& palette) {
    thread_local std::unique_ptr<NearestColourMemo> memo;
    if (!memo || memo->ForPalette() != palette) memo = std::make_unique<NearestColourMemo>(palette);
    return *memo;
}

}  // namespace

void ResamplePicture(std::span<const uint8_t> Source, int32_t SourceWidth, int32_t SourceHeight,
                     std::span<uint8_t> Destination, int32_t DestWidth, int32_t DestHeight,
                     const Palette& Palette, int16_t Margin) {
    if (SourceWidth <= 0 || SourceHeight <= 0 || DestWidth <= 0 || DestHeight <= 0) return;
    const int64_t sourcePixels = int64_t{SourceWidth} * SourceHeight;
    const int64_t destPixels = int64_t{DestWidth} * DestHeight;
    if (static_cast<int64_t>(Source.size()) < sourcePixels || static_cast<int64_t>(Destination.size()) < destPixels)
        return;

    const std::vector<int64_t> columnMap = AxisMap(SourceWidth, DestWidth);
    const std::vector<int64_t> rowMap = AxisMap(SourceHeight, DestHeight);
    std::vector<CellSums> cells(Destination.size());
    const auto cellCount = static_cast<int64_t>(cells.size());

    // A negative margin would start outside the picture; only positions inside it are visited.
    const int32_t firstY = Margin > 0 ? Margin : 0;
    const int32_t lastY = Margin > 0 ? SourceHeight - 1 - Margin : SourceHeight - 1;
    const int32_t firstX = Margin > 0 ? Margin : 0;
    const int32_t lastX = Margin > 0 ? SourceWidth - 1 - Margin : SourceWidth - 1;

    for (int32_t y = firstY; y <= lastY; ++y) {
        const int64_t rowStart = int64_t{y} * SourceWidth;
        const int64_t cellRow = int64_t{DestWidth} * rowMap[static_cast<std::size_t>(y)];
        for (int32_t x = firstX; x <= lastX; ++x) {
            const int64_t flat = rowStart + x;
            const uint8_t p = Source[static_cast<std::size_t>(flat)];
            if (p == kEmptyIndex) continue;
            if (Margin != 0 &&
                (IsEmptyAt(Source, flat - Margin) || IsEmptyAt(Source, flat + Margin) ||
                 IsEmptyAt(Source, flat - int64_t{Margin} * SourceWidth) ||
                 IsEmptyAt(Source, flat + int64_t{Margin} * SourceWidth)))
                continue;
            const int64_t cell = cellRow + columnMap[static_cast<std::size_t>(x)];
            if (cell < 0 || cell >= cellCount) continue;
            CellSums& sums = cells[static_cast<std::size_t>(cell)];
            sums.Count += 1;
            sums.Red += Palette[p].Red;
            sums.Green += Palette[p].Green;
            sums.Blue += Palette[p].Blue;
        }
    }

    NearestColourMemo& nearest = MemoFor(Palette);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CellSums& sums = cells[i];
        if (sums.Count <= 0) {
            Destination[i] = kEmptyIndex;
            continue;
        }
        const auto count = static_cast<double>(sums.Count);
        const auto red = static_cast<int>(RoundHalfEven(static_cast<double>(sums.Red) / count));
        const auto green = static_cast<int>(RoundHalfEven(static_cast<double>(sums.Green) / count));
        const auto blue = static_cast<int>(RoundHalfEven(static_cast<double>(sums.Blue) / count));
        Destination[i] = nearest.Nearest(red, green, blue);
    }
}
