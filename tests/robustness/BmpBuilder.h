#pragma once
// Builds BMP files of the kinds a 256-colour reader accepts: 1-, 4- and 8-bit, uncompressed,
// RLE8 and RLE4, 40-, 108- and 124-byte information headers, bottom-up and top-down rows.
// Plain C++, no test framework, so the fuzz seed maker can use it too.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace bmpbuild {

enum class Compression : uint32_t { None = 0, Rle8 = 1, Rle4 = 2 };

struct BmpPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    int BitsPerPixel = 8;                // 1, 4 or 8
    Compression Kind = Compression::None;
    uint32_t InfoHeaderSize = 40;        // 40, 108 or 124
    bool TopDown = false;                // negative height; uncompressed only
    std::vector<uint8_t> Pixels;         // Width x Height indices, top row first
    std::vector<uint8_t> ColourTableBgr; // (1 << BitsPerPixel) x (blue, green, red)
};

namespace detail {

inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
}

// Rows in the order they are stored: bottom row first unless top-down.
inline std::vector<const uint8_t*> RowsInFileOrder(const BmpPicture& bmp) {
    std::vector<const uint8_t*> rows;
    for (int32_t r = 0; r < bmp.Height; ++r) {
        const int32_t y = bmp.TopDown ? r : bmp.Height - 1 - r;
        rows.push_back(bmp.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bmp.Width));
    }
    return rows;
}

inline std::vector<uint8_t> Uncompressed(const BmpPicture& bmp) {
    const std::size_t stride = ((static_cast<std::size_t>(bmp.Width) * bmp.BitsPerPixel + 31) / 32) * 4;
    std::vector<uint8_t> out;
    for (const uint8_t* row : RowsInFileOrder(bmp)) {
        std::vector<uint8_t> packed(stride, 0);
        for (int32_t x = 0; x < bmp.Width; ++x) {
            const auto bit = static_cast<std::size_t>(x) * bmp.BitsPerPixel;
            // The leftmost pixel sits in the highest bits of its byte.
            const int shift = 8 - bmp.BitsPerPixel - static_cast<int>(bit % 8);
            packed[bit / 8] = static_cast<uint8_t>(packed[bit / 8] | (row[x] << shift));
        }
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

// Length of the run of equal values starting at x, at most limit.
inline int32_t RunLength(const uint8_t* row, int32_t x, int32_t width, int32_t limit) {
    int32_t n = 1;
    while (x + n < width && n < limit && row[x + n] == row[x]) ++n;
    return n;
}

// Length of the stretch from x in which no two neighbours are equal, at most limit.
inline int32_t LiteralLength(const uint8_t* row, int32_t x, int32_t width, int32_t limit) {
    int32_t n = 1;
    while (x + n < width && n < limit && row[x + n] != row[x + n - 1]) ++n;
    return n;
}

// RLE8 and RLE4 packets: runs of equal values as encoded packets, stretches of three or more
// differing values in absolute mode (padded to a 16-bit boundary), an end-of-line escape after
// every row and an end-of-bitmap escape at the end.
inline std::vector<uint8_t> RunLengthEncoded(const BmpPicture& bmp) {
    const bool four = bmp.Kind == Compression::Rle4;
    std::vector<uint8_t> out;
    for (const uint8_t* row : RowsInFileOrder(bmp)) {
        int32_t x = 0;
        while (x < bmp.Width) {
            const int32_t literal = LiteralLength(row, x, bmp.Width, 255);
            if (literal >= 3) {
                out.push_back(0);
                out.push_back(static_cast<uint8_t>(literal));
                std::size_t written = 0;
                if (four) {
                    for (int32_t k = 0; k < literal; k += 2) {
                        const uint8_t low = k + 1 < literal ? row[x + k + 1] : 0;
                        out.push_back(static_cast<uint8_t>((row[x + k] << 4) | low));
                        ++written;
                    }
                } else {
                    out.insert(out.end(), row + x, row + x + literal);
                    written = static_cast<std::size_t>(literal);
                }
                if (written % 2) out.push_back(0);
                x += literal;
            } else {
                const int32_t run = RunLength(row, x, bmp.Width, 255);
                out.push_back(static_cast<uint8_t>(run));
                out.push_back(four ? static_cast<uint8_t>((row[x] << 4) | row[x]) : row[x]);
                x += run;
            }
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}

}  // namespace detail

inline std::vector<uint8_t> Build(const BmpPicture& bmp) {
    const std::size_t colours = std::size_t{1} << bmp.BitsPerPixel;
    if (bmp.ColourTableBgr.size() != 3 * colours ||
        bmp.Pixels.size() != static_cast<std::size_t>(bmp.Width) * static_cast<std::size_t>(bmp.Height))
        throw std::invalid_argument("inconsistent BMP picture");

    const auto data = bmp.Kind == Compression::None ? detail::Uncompressed(bmp) : detail::RunLengthEncoded(bmp);
    const auto offBits = static_cast<uint32_t>(14 + bmp.InfoHeaderSize + 4 * colours);

    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    detail::Put32(out, offBits + static_cast<uint32_t>(data.size()));
    detail::Put32(out, 0);
    detail::Put32(out, offBits);

    detail::Put32(out, bmp.InfoHeaderSize);
    detail::Put32(out, static_cast<uint32_t>(bmp.Width));
    detail::Put32(out, static_cast<uint32_t>(bmp.TopDown ? -bmp.Height : bmp.Height));
    detail::Put16(out, 1);
    detail::Put16(out, static_cast<uint32_t>(bmp.BitsPerPixel));
    detail::Put32(out, static_cast<uint32_t>(bmp.Kind));
    detail::Put32(out, static_cast<uint32_t>(data.size()));
    detail::Put32(out, 2835);  // 72 dots per inch
    detail::Put32(out, 2835);
    detail::Put32(out, static_cast<uint32_t>(colours));
    detail::Put32(out, 0);
    out.resize(14 + bmp.InfoHeaderSize, 0);  // later header versions: masks, colour space, all zero

    for (std::size_t i = 0; i < colours; ++i) {
        out.insert(out.end(), bmp.ColourTableBgr.begin() + static_cast<std::ptrdiff_t>(3 * i),
                   bmp.ColourTableBgr.begin() + static_cast<std::ptrdiff_t>(3 * i + 3));
        out.push_back(0);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

}  // namespace bmpbuild
