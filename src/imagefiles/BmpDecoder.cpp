// DecodeBmp: a BMP file held in memory to top-down palette indices. The bytes are hostile
// until proven otherwise: every size and offset is checked against the data, with 64-bit
// arithmetic, before anything is allocated or read.

#include <cstddef>
#include <utility>

#include "imagefiles/BmpRunLength.h"
#include "imagefiles/ByteReader.h"
#include "imagefiles/modBmp.h"

namespace modBmp {

namespace {

using imagefiles::ByteReader;

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;  // OS/2 BITMAPCOREHEADER: 16-bit sizes, 3-byte colours
constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kV2HeaderSize = 52;    // BITMAPV2INFOHEADER (adds colour masks)
constexpr uint32_t kV3HeaderSize = 56;    // BITMAPV3INFOHEADER (adds an alpha mask)
constexpr uint32_t kV4HeaderSize = 108;   // BITMAPV4HEADER
constexpr uint32_t kV5HeaderSize = 124;   // BITMAPV5HEADER

constexpr uint32_t kCompressionNone = 0;  // BI_RGB
constexpr uint32_t kCompressionRle8 = 1;  // BI_RLE8
constexpr uint32_t kCompressionRle4 = 2;  // BI_RLE4

// No picture this program works with comes near this; it bounds what a file can make us
// allocate (64 MiB of indices).
constexpr int64_t kMaxPixels = int64_t{64} * 1024 * 1024;
// Run-length data describes at most 255 pixels per two bytes, except where end-of-line,
// delta and end-of-bitmap leave pixels unwritten. A picture more than 256 times larger than
// its compressed data, beyond a small allowance for such gaps, is refused as implausible.
constexpr int64_t kRunLengthPixelsPerByte = 256;
constexpr int64_t kRunLengthAllowance = 64 * 1024;

struct Layout {
    int64_t Width = 0;
    int64_t Height = 0;  // always positive; TopDown says in which order the rows are stored
    bool TopDown = false;
    int BitCount = 0;
    uint32_t Compression = kCompressionNone;
    uint64_t PaletteOffset = 0;
    uint64_t PaletteEntrySize = 4;
    uint64_t ColourCount = 0;
    uint64_t PixelOffset = 0;
};

bool IsInfoHeaderSize(uint32_t size) {
    return size == kInfoHeaderSize || size == kV2HeaderSize || size == kV3HeaderSize || size == kV4HeaderSize ||
           size == kV5HeaderSize;
}

// Reads the core header's fields. Its sizes are unsigned 16-bit, rows always bottom-up, and
// its colour table holds exactly 2^BitCount three-byte entries.
std::optional<Layout> ReadCoreHeader(const ByteReader& in) {
    const auto width = in.U16(18);
    const auto height = in.U16(20);
    const auto planes = in.U16(22);
    const auto bitCount = in.U16(24);
    if (!width || !height || !planes || !bitCount || *planes != 1) return std::nullopt;
    Layout layout;
    layout.Width = *width;
    layout.Height = *height;
    layout.BitCount = *bitCount;
    layout.PaletteEntrySize = 3;
    if (layout.BitCount == 1 || layout.BitCount == 4 || layout.BitCount == 8)
        layout.ColourCount = uint64_t{1} << layout.BitCount;
    return layout;
}

std::optional<Layout> ReadInfoHeader(const ByteReader& in) {
    const auto width = in.I32(18);
    const auto height = in.I32(22);
    const auto planes = in.U16(26);
    const auto bitCount = in.U16(28);
    const auto compression = in.U32(30);
    const auto coloursUsed = in.U32(46);
    if (!width || !height || !planes || !bitCount || !compression || !coloursUsed || *planes != 1)
        return std::nullopt;
    Layout layout;
    layout.Width = *width;
    layout.Height = *height < 0 ? -int64_t{*height} : int64_t{*height};
    layout.TopDown = *height < 0;
    layout.BitCount = *bitCount;
    layout.Compression = *compression;
    if (layout.BitCount == 1 || layout.BitCount == 4 || layout.BitCount == 8) {
        const uint64_t most = uint64_t{1} << layout.BitCount;
        if (*coloursUsed > most) return std::nullopt;
        layout.ColourCount = *coloursUsed == 0 ? most : *coloursUsed;
    }
    return layout;
}

std::optional<Layout> ReadLayout(const ByteReader& in) {
    const auto b = in.U8(0);
    const auto m = in.U8(1);
    const auto pixelOffset = in.U32(10);
    const auto headerSize = in.U32(14);
    if (!b || !m || *b != 'B' || *m != 'M' || !pixelOffset || !headerSize) return std::nullopt;

    std::optional<Layout> layout;
    if (*headerSize == kCoreHeaderSize)
        layout = ReadCoreHeader(in);
    else if (IsInfoHeaderSize(*headerSize))
        layout = ReadInfoHeader(in);
    if (!layout || !in.Has(kFileHeaderSize, *headerSize)) return std::nullopt;

    // Only what can be delivered as palette indices: 1, 4 or 8 bits, uncompressed or with the
    // run-length scheme made for that depth. Run-length data is always stored bottom-up.
    if (layout->BitCount != 1 && layout->BitCount != 4 && layout->BitCount != 8) return std::nullopt;
    const bool rle8 = layout->Compression == kCompressionRle8 && layout->BitCount == 8;
    const bool rle4 = layout->Compression == kCompressionRle4 && layout->BitCount == 4;
    if (layout->Compression != kCompressionNone && !rle8 && !rle4) return std::nullopt;
    if (layout->Compression != kCompressionNone && layout->TopDown) return std::nullopt;

    if (layout->Width <= 0 || layout->Height <= 0) return std::nullopt;
    if (layout->Width * layout->Height > kMaxPixels) return std::nullopt;

    // The colour table sits between the headers and the pixels and must not run into either
    // the pixel data or the end of the file.
    layout->PaletteOffset = kFileHeaderSize + *headerSize;
    layout->PixelOffset = *pixelOffset;
    const uint64_t paletteEnd = layout->PaletteOffset + layout->ColourCount * layout->PaletteEntrySize;
    if (paletteEnd > layout->PixelOffset || !in.Has(layout->PaletteOffset, paletteEnd - layout->PaletteOffset))
        return std::nullopt;
    if (layout->PixelOffset >= in.size()) return std::nullopt;
    return layout;
}

Palette ReadColourTable(const ByteReader& in, const Layout& layout) {
    Palette colours{};
    for (uint64_t i = 0; i < layout.ColourCount; ++i) {
        const uint64_t at = layout.PaletteOffset + i * layout.PaletteEntrySize;
        PaletteEntry& entry = colours[static_cast<std::size_t>(i)];
        entry.Blue = *in.U8(at);
        entry.Green = *in.U8(at + 1);
        entry.Red = *in.U8(at + 2);
        entry.Reserved = layout.PaletteEntrySize == 4 ? *in.U8(at + 3) : 0;
    }
    return colours;
}

// Uncompressed rows are padded to a multiple of 4 bytes. The last row's padding may be
// missing, its pixels may not.
std::optional<std::vector<uint8_t>> UnpackRows(const ByteReader& in, const Layout& layout) {
    const uint64_t bitsPerRow = static_cast<uint64_t>(layout.Width) * static_cast<uint64_t>(layout.BitCount);
    const uint64_t stride = (bitsPerRow + 31) / 32 * 4;
    const uint64_t rowBytes = (bitsPerRow + 7) / 8;
    const uint64_t rows = static_cast<uint64_t>(layout.Height);
    if (!in.Has(layout.PixelOffset, stride * (rows - 1) + rowBytes)) return std::nullopt;

    const auto width = static_cast<std::size_t>(layout.Width);
    std::vector<uint8_t> pixels(width * static_cast<std::size_t>(rows));
    const int bits = layout.BitCount;
    const unsigned mask = (1u << bits) - 1u;
    const int perByte = 8 / bits;
    for (uint64_t fileRow = 0; fileRow < rows; ++fileRow) {
        const std::span<const uint8_t> source = *in.Bytes(layout.PixelOffset + fileRow * stride, rowBytes);
        const uint64_t pictureRow = layout.TopDown ? fileRow : rows - 1 - fileRow;
        uint8_t* target = pixels.data() + static_cast<std::size_t>(pictureRow) * width;
        for (std::size_t x = 0; x < width; ++x) {
            // The leftmost pixel sits in the most significant bits of its byte.
            const int shift = 8 - bits * (static_cast<int>(x % static_cast<std::size_t>(perByte)) + 1);
            target[x] = static_cast<uint8_t>((source[x / static_cast<std::size_t>(perByte)] >> shift) & mask);
        }
    }
    return pixels;
}

std::optional<std::vector<uint8_t>> DecodeCompressed(const ByteReader& in, const Layout& layout) {
    const uint64_t dataSize = in.size() - layout.PixelOffset;
    const int64_t pixelCount = layout.Width * layout.Height;
    if (pixelCount > static_cast<int64_t>(dataSize) * kRunLengthPixelsPerByte + kRunLengthAllowance)
        return std::nullopt;
    std::vector<uint8_t> pixels(static_cast<std::size_t>(pixelCount), 0);
    if (!imagefiles::DecodeRunLength(*in.Bytes(layout.PixelOffset, dataSize), layout.BitCount,
                                     static_cast<int32_t>(layout.Width), static_cast<int32_t>(layout.Height),
                                     pixels))
        return std::nullopt;
    return pixels;
}

}  // namespace

std::optional<DecodedBmp> DecodeBmp(std::span<const uint8_t> file) {
    const ByteReader in(file);
    const auto layout = ReadLayout(in);
    if (!layout) return std::nullopt;

    auto pixels = layout->Compression == kCompressionNone ? UnpackRows(in, *layout) : DecodeCompressed(in, *layout);
    if (!pixels) return std::nullopt;

    DecodedBmp decoded;
    decoded.Header.Width = static_cast<int32_t>(layout->Width);
    decoded.Header.Height = static_cast<int32_t>(layout->Height);
    decoded.Header.Size = static_cast<int32_t>(layout->Width * layout->Height);
    decoded.Pixels = std::move(*pixels);
    decoded.Colours = ReadColourTable(in, *layout);
    return decoded;
}

}  // namespace modBmp
