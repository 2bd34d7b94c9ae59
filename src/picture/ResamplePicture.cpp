#include "picture/ResamplePicture.h"

#include <cstddef>
#include <memory>
#include <vector>

#include "imagefiles/modPalettes.h"
#include "picture/Picture.h"
#include "picture/RoundHalfEven.h"

namespace {

// One destination cell's source pixels: how many, and their components added up. Sum is wide
// enough for every cell of the picture at hand (see ResamplePicture).
template <typename Sum>
struct CellSums {
    Sum Count = 0;
    Sum Red = 0;
    Sum Green = 0;
    Sum Blue = 0;
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
int RoundedAverage(int64_t sum, int64_t count) {
    if (sum >= (int64_t{1} << 52))
        return static_cast<int>(RoundHalfEven(static_cast<double>(sum) / static_cast<double>(count)));
    const int64_t quotient = sum / count;
    const int64_t twiceRemainder = 2 * (sum % count);
    const bool up = twiceRemainder > count || (twiceRemainder == count && quotient % 2 == 1);
    return static_cast<int>(quotient + (up ? 1 : 0));
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
        const uint32_t key =
            ((static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) | static_cast<uint32_t>(blue)) +
            1;  // 0 marks a free slot
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
    // Room for the colours of a 64 x 64 frame; a memo that fills up starts afresh. Kept small,
    // since every page of it costs a fault when a program starts.
    static constexpr int kSlotBits = 13;
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

template <typename Sum>
void ResampleWith(std::span<const uint8_t> Source, int32_t SourceWidth, int32_t SourceHeight,
                  std::span<uint8_t> Destination, int32_t DestWidth, int32_t DestHeight, const Palette& Palette,
                  int16_t Margin) {
    const std::vector<int64_t> columnMap = AxisMap(SourceWidth, DestWidth);
    const std::vector<int64_t> rowMap = AxisMap(SourceHeight, DestHeight);
    // Kept between calls: a fresh buffer of this size would be new memory from the system every
    // time, each page of it a fault.
    thread_local std::vector<CellSums<Sum>> cells;
    cells.assign(Destination.size(), CellSums<Sum>{});
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
            if (Margin != 0 && (IsEmptyAt(Source, flat - Margin) || IsEmptyAt(Source, flat + Margin) ||
                                IsEmptyAt(Source, flat - int64_t{Margin} * SourceWidth) ||
                                IsEmptyAt(Source, flat + int64_t{Margin} * SourceWidth)))
                continue;
            const int64_t cell = cellRow + columnMap[static_cast<std::size_t>(x)];
            if (cell < 0 || cell >= cellCount) continue;
            CellSums<Sum>& sums = cells[static_cast<std::size_t>(cell)];
            sums.Count += 1;
            sums.Red += Palette[p].Red;
            sums.Green += Palette[p].Green;
            sums.Blue += Palette[p].Blue;
        }
    }

    NearestColourMemo& nearest = MemoFor(Palette);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CellSums<Sum>& sums = cells[i];
        if (sums.Count <= 0) {
            Destination[i] = kEmptyIndex;
            continue;
        }
        const auto count = static_cast<int64_t>(sums.Count);
        Destination[i] = nearest.Nearest(RoundedAverage(static_cast<int64_t>(sums.Red), count),
                                         RoundedAverage(static_cast<int64_t>(sums.Green), count),
                                         RoundedAverage(static_cast<int64_t>(sums.Blue), count));
    }
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
    // A cell gathers at most every source pixel, each adding at most 255 to a sum: below 2^24
    // source pixels 32-bit sums cannot overflow and take half the memory; larger pictures add
    // in 64 bits, which no picture held in memory can overflow.
    if (sourcePixels < (int64_t{1} << 24))
        ResampleWith<uint32_t>(Source, SourceWidth, SourceHeight, Destination, DestWidth, DestHeight, Palette, Margin);
    else
        ResampleWith<int64_t>(Source, SourceWidth, SourceHeight, Destination, DestWidth, DestHeight, Palette, Margin);
}
