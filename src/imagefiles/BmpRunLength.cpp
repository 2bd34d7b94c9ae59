#include "imagefiles/BmpRunLength.h"

#include <algorithm>
#include <cstddef>

namespace imagefiles {

namespace {

// The current position in the picture, in file order (row 0 is the bottom row). Pixels that
// fall outside the picture are clipped: a run longer than what is left of its row, or a delta
// that jumps past the right edge, simply loses the pixels beyond the edge; they never wrap into
// the next row. Rows above the top end the decoding.
class RunCursor {
public:
    RunCursor(int32_t width, int32_t height, std::span<uint8_t> pixels)
        : width_(width), height_(height), pixels_(pixels) {}

    bool PastTop() const { return y_ >= height_; }

    // Writes count pixels whose indices pixelAt(i) gives, i from 0, clipping at the row's end.
    template <typename PixelAt>
    void Put(int64_t count, PixelAt pixelAt) {
        if (y_ < height_ && x_ < width_) {
            const int64_t inside = std::min<int64_t>(count, width_ - x_);
            uint8_t* row = pixels_.data() + static_cast<std::size_t>((height_ - 1 - y_) * width_);
            for (int64_t i = 0; i < inside; ++i) row[x_ + i] = pixelAt(i);
        }
        x_ += count;
    }

    void EndOfLine() {
        x_ = 0;
        ++y_;
    }
    void Move(int dx, int dy) {
        x_ += dx;
        y_ += dy;
    }

private:
    int64_t width_;
    int64_t height_;
    std::span<uint8_t> pixels_;
    int64_t x_ = 0;
    int64_t y_ = 0;
};

// In RLE4 data two pixels share a byte, the left one in the high nibble.
uint8_t Nibble(uint8_t byte, int64_t i) { return (i % 2 == 0) ? static_cast<uint8_t>(byte >> 4) : (byte & 0x0F); }

}  // namespace

bool DecodeRunLength(std::span<const uint8_t> data, int bitsPerPixel, int32_t width, int32_t height,
                     std::span<uint8_t> Pixels) {
    const bool fourBit = bitsPerPixel == 4;
    RunCursor cursor(width, height, Pixels);
    std::size_t at = 0;
    const auto remaining = [&] { return data.size() - at; };

    while (!cursor.PastTop()) {
        if (remaining() < 2) return false;  // the data stops before the picture does
        const uint8_t count = data[at];
        const uint8_t value = data[at + 1];
        at += 2;

        if (count > 0) {  // an encoded run: count pixels of one byte
            if (fourBit)
                cursor.Put(count, [value](int64_t i) { return Nibble(value, i); });
            else
                cursor.Put(count, [value](int64_t) { return value; });
            continue;
        }
        switch (value) {
            case 0: cursor.EndOfLine(); break;
            case 1: return true;  // end of bitmap: whatever was not written stays 0
            case 2: {
                if (remaining() < 2) return false;
                cursor.Move(data[at], data[at + 1]);
                at += 2;
                break;
            }
            default: {  // an absolute run of value literal pixels, padded to a 16-bit boundary
                const std::size_t literalBytes = fourBit ? (value + 1u) / 2u : value;
                if (remaining() < literalBytes) return false;
                const uint8_t* literal = data.data() + at;
                if (fourBit)
                    cursor.Put(value, [literal](int64_t i) { return Nibble(literal[i / 2], i); });
                else
                    cursor.Put(value, [literal](int64_t i) { return literal[i]; });
                // The padding byte after an odd-sized run may be missing at the very end of a file.
                at += std::min(literalBytes + (literalBytes & 1u), remaining());
                break;
            }
        }
    }
    return true;  // every row is decoded; anything after the last one is ignored
}

}  // namespace imagefiles
