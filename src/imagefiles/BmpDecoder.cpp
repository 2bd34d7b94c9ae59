// DecodeBmp: a BMP file to top-down palette indices. The bytes are hostile until proven
// otherwise: every size and offset is checked against the file, with 64-bit arithmetic, before
// anything is allocated or read.

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "imagefiles/BmpLayout.h"
#include "imagefiles/BmpRunLength.h"
#include "imagefiles/ByteReader.h"
#include "imagefiles/FileKind.h"
#include "imagefiles/ReadLimits.h"
#include "imagefiles/modBmp.h"

namespace modBmp {

namespace {

using imagefiles::ByteReader;
using imagefiles::FailureKind;
using imagefiles::FileFailure;
using imagefiles::Report;

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;  // OS/2 BITMAPCOREHEADER: 16-bit sizes, 3-byte colours
constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kV2HeaderSize = 52;    // BITMAPV2INFOHEADER (adds colour masks)
constexpr uint32_t kV3HeaderSize = 56;    // BITMAPV3INFOHEADER (adds an alpha mask)
constexpr uint32_t kV4HeaderSize = 108;   // BITMAPV4HEADER
constexpr uint32_t kV5HeaderSize = 124;   // BITMAPV5HEADER
static_assert(kFileHeaderSize + kV5HeaderSize == kBmpHeadBytes);

constexpr uint32_t kCompressionNone = 0;  // BI_RGB
constexpr uint32_t kCompressionRle8 = 1;  // BI_RLE8
constexpr uint32_t kCompressionRle4 = 2;  // BI_RLE4

// Run-length data describes at most 255 pixels per two bytes, except where end-of-line,
// delta and end-of-bitmap leave pixels unwritten. A picture more than 256 times larger than
// its compressed data, beyond a small allowance for such gaps, is refused as implausible.
constexpr int64_t kRunLengthPixelsPerByte = 256;
constexpr int64_t kRunLengthAllowance = 64 * 1024;
// Nor does run-length data need more than two bytes per pixel (each pixel a run of its own)
// and an end of line per row; twice that is read, and nothing beyond it.
constexpr uint64_t kRunLengthBytesPerPixel = 4;

bool IsInfoHeaderSize(uint32_t size) {
    return size == kInfoHeaderSize || size == kV2HeaderSize || size == kV3HeaderSize || size == kV4HeaderSize ||
           size == kV5HeaderSize;
}

std::string CompressionName(uint32_t compression) {
    switch (compression) {
        case kCompressionRle8: return "RLE8";
        case kCompressionRle4: return "RLE4";
        case 3: return "bit-field";
        case 4: return "JPEG";
        case 5: return "PNG";
        default: return std::to_string(compression);
    }
}

// The fields the two kinds of header share. The core header (OS/2) holds the sizes in 16 unsigned
// bits, its rows always bottom-up, and a colour table of exactly 2^BitCount three-byte entries;
// the information headers hold them in 32 signed bits (a negative height: rows stored top-down),
// then the compression and how many colours the table holds (0: as many as the depth allows).
std::optional<BmpLayout> ReadHeader(const ByteReader& in, uint32_t headerSize, FileFailure* Why) {
    const bool core = headerSize == kCoreHeaderSize;
    const uint64_t sizeBytes = core ? 2 : 4;
    const auto size = [&](uint64_t offset) -> std::optional<int64_t> {
        if (core) return in.U16(offset);
        return in.I32(offset);
    };
    const auto width = size(18);
    const auto height = size(18 + sizeBytes);
    const auto planes = in.U16(18 + 2 * sizeBytes);
    const auto bitCount = in.U16(20 + 2 * sizeBytes);
    const auto compression = core ? std::optional<uint32_t>(kCompressionNone) : in.U32(30);
    const auto coloursUsed = core ? std::optional<uint32_t>(0) : in.U32(46);
    if (!width || !height || !planes || !bitCount || !compression || !coloursUsed) {
        Report(Why, FailureKind::Truncated, "the headers");
        return std::nullopt;
    }
    if (*planes != 1) {
        Report(Why, FailureKind::Malformed, std::to_string(*planes) + " planes");
        return std::nullopt;
    }
    BmpLayout layout;
    layout.Width = *width;
    layout.Height = *height < 0 ? -*height : *height;
    layout.TopDown = *height < 0;
    layout.BitCount = *bitCount;
    layout.Compression = *compression;
    layout.PaletteEntrySize = core ? 3 : 4;
    if (layout.BitCount == 1 || layout.BitCount == 4 || layout.BitCount == 8) {
        const uint64_t most = uint64_t{1} << layout.BitCount;
        if (*coloursUsed > most) {
            Report(Why, FailureKind::Malformed,
                   std::to_string(*coloursUsed) + " colours used with " + std::to_string(layout.BitCount) + " bits");
            return std::nullopt;
        }
        layout.ColourCount = *coloursUsed == 0 ? most : *coloursUsed;
    }
    return layout;
}

// Only what can be delivered as palette indices: 1, 4 or 8 bits, uncompressed or with the
// run-length scheme made for that depth. Run-length data is always stored bottom-up.
bool CheckDepthAndCompression(const BmpLayout& layout, FileFailure* Why) {
    const uint32_t compression = layout.Compression;
    const std::string bits = std::to_string(layout.BitCount);
    if (compression != kCompressionNone && compression != kCompressionRle8 && compression != kCompressionRle4) {
        Report(Why, FailureKind::Unsupported, CompressionName(compression) + " compression");
        return false;
    }
    if ((compression == kCompressionRle8 && layout.BitCount != 8) ||
        (compression == kCompressionRle4 && layout.BitCount != 4)) {
        Report(Why, FailureKind::Unsupported, CompressionName(compression) + " compression with " + bits + " bits");
        return false;
    }
    if (layout.BitCount != 1 && layout.BitCount != 4 && layout.BitCount != 8) {
        Report(Why, FailureKind::Unsupported, bits + "-bit colour");
        return false;
    }
    if (compression != kCompressionNone && layout.TopDown) {
        Report(Why, FailureKind::Malformed, "run-length data stored top-down");
        return false;
    }
    return true;
}

// The pixel data the decoding may need, as far as the file holds it: uncompressed, every row
// with its padding; run-length data, up to the most such data can sensibly take.
uint64_t PixelExtent(const BmpLayout& layout, uint64_t fileSize) {
    const uint64_t available = fileSize - layout.PixelOffset;
    const auto width = static_cast<uint64_t>(layout.Width);
    const auto rows = static_cast<uint64_t>(layout.Height);
    if (layout.Compression != kCompressionNone)
        return std::min(available, kRunLengthBytesPerPixel * (width * rows + rows + 1));
    const uint64_t stride = (width * static_cast<uint64_t>(layout.BitCount) + 31) / 32 * 4;
    return std::min(available, stride * rows);
}

Palette ReadColourTable(std::span<const uint8_t> table, const BmpLayout& layout) {
    Palette colours{};
    for (uint64_t i = 0; i < layout.ColourCount; ++i) {
        const auto at = static_cast<std::size_t>(i * layout.PaletteEntrySize);
        PaletteEntry& entry = colours[static_cast<std::size_t>(i)];
        entry.Blue = table[at];
        entry.Green = table[at + 1];
        entry.Red = table[at + 2];
        entry.Reserved = layout.PaletteEntrySize == 4 ? table[at + 3] : 0;
    }
    return colours;
}

// Uncompressed rows are padded to a multiple of 4 bytes. The last row's padding may be
// missing, its pixels may not.
std::optional<std::vector<uint8_t>> UnpackRows(std::span<const uint8_t> data, const BmpLayout& layout,
                                               FileFailure* Why) {
    const uint64_t bitsPerRow = static_cast<uint64_t>(layout.Width) * static_cast<uint64_t>(layout.BitCount);
    const uint64_t stride = (bitsPerRow + 31) / 32 * 4;
    const uint64_t rowBytes = (bitsPerRow + 7) / 8;
    const uint64_t rows = static_cast<uint64_t>(layout.Height);
    const ByteReader in(data);
    if (!in.Has(0, stride * (rows - 1) + rowBytes)) {
        Report(Why, FailureKind::Truncated, "the pixel rows");
        return std::nullopt;
    }

    const auto width = static_cast<std::size_t>(layout.Width);
    std::vector<uint8_t> pixels(width * static_cast<std::size_t>(rows));
    const int bits = layout.BitCount;
    const unsigned mask = (1u << bits) - 1u;
    const int perByte = 8 / bits;
    for (uint64_t fileRow = 0; fileRow < rows; ++fileRow) {
        const std::span<const uint8_t> source = *in.Bytes(fileRow * stride, rowBytes);
        const uint64_t pictureRow = layout.TopDown ? fileRow : rows - 1 - fileRow;
        uint8_t* target = pixels.data() + static_cast<std::size_t>(pictureRow) * width;
        if (bits == 8) {  // a byte a pixel, the usual case: the row as it stands
            std::copy_n(source.begin(), width, target);
            continue;
        }
        for (std::size_t x = 0; x < width; ++x) {
            // The leftmost pixel sits in the most significant bits of its byte.
            const int shift = 8 - bits * (static_cast<int>(x % static_cast<std::size_t>(perByte)) + 1);
            target[x] = static_cast<uint8_t>((source[x / static_cast<std::size_t>(perByte)] >> shift) & mask);
        }
    }
    return pixels;
}

std::optional<std::vector<uint8_t>> DecodeCompressed(std::span<const uint8_t> data, const BmpLayout& layout,
                                                     FileFailure* Why) {
    const int64_t pixelCount = layout.Width * layout.Height;
    if (pixelCount > static_cast<int64_t>(data.size()) * kRunLengthPixelsPerByte + kRunLengthAllowance) {
        Report(Why, FailureKind::Truncated, "the run-length data");
        return std::nullopt;
    }
    std::vector<uint8_t> pixels(static_cast<std::size_t>(pixelCount), 0);
    if (!imagefiles::DecodeRunLength(data, layout.BitCount, static_cast<int32_t>(layout.Width),
                                     static_cast<int32_t>(layout.Height), pixels)) {
        Report(Why, FailureKind::Truncated, "the run-length data");
        return std::nullopt;
    }
    return pixels;
}

// A BMP file begins with "BM"; anything else is refused, naming its kind where it is a known one.
bool CheckSignature(std::span<const uint8_t> head, FileFailure* Why) {
    const ByteReader in(head);
    const auto b = in.U8(0);
    const auto m = in.U8(1);
    if (b && m && *b == 'B' && *m == 'M') return true;
    const imagefiles::FileKind kind = imagefiles::DetectFileKind(head);
    if (kind == imagefiles::FileKind::Unknown || kind == imagefiles::FileKind::Bmp)
        Report(Why, FailureKind::Unrecognised);
    else
        Report(Why, FailureKind::OtherKind, std::string(imagefiles::FileKindName(kind)));
    return false;
}

// The file header and the information header, with where the colour table and the pixels start.
std::optional<BmpLayout> ReadHeaders(const ByteReader& in, uint64_t fileSize, FileFailure* Why) {
    const auto pixelOffset = in.U32(10);
    const auto headerSize = in.U32(14);
    if (!pixelOffset || !headerSize) {
        Report(Why, FailureKind::Truncated, "the headers");
        return std::nullopt;
    }
    if (*headerSize != kCoreHeaderSize && !IsInfoHeaderSize(*headerSize)) {
        Report(Why, FailureKind::Unsupported, "a " + std::to_string(*headerSize) + "-byte information header");
        return std::nullopt;
    }
    std::optional<BmpLayout> layout = ReadHeader(in, *headerSize, Why);
    if (!layout) return std::nullopt;
    if (kFileHeaderSize + *headerSize > fileSize) {
        Report(Why, FailureKind::Truncated, "the headers");
        return std::nullopt;
    }
    layout->PaletteOffset = kFileHeaderSize + *headerSize;
    layout->PixelOffset = *pixelOffset;
    return layout;
}

bool CheckPictureSize(const BmpLayout& layout, FileFailure* Why) {
    if (layout.Width <= 0 || layout.Height <= 0) {
        Report(Why, FailureKind::Malformed,
               "a size of " + std::to_string(layout.Width) + " x " + std::to_string(layout.Height));
        return false;
    }
    if (layout.Width * layout.Height > imagefiles::kMaxPicturePixels) {
        Report(Why, FailureKind::TooManyPixels, "more than " + std::to_string(imagefiles::kMaxPicturePixels));
        return false;
    }
    return true;
}

// The colour table sits between the headers and the pixels and must not run into either the
// pixel data or the end of the file; the two pieces together stay within the read limit.
bool PlacePieces(BmpLayout& layout, uint64_t fileSize, FileFailure* Why) {
    const uint64_t paletteEnd = layout.PaletteOffset + layout.PaletteBytes();
    if (paletteEnd > layout.PixelOffset) {
        Report(Why, FailureKind::Malformed, "the colour table runs into the pixel data");
        return false;
    }
    if (paletteEnd > fileSize || layout.PixelOffset >= fileSize) {
        Report(Why, FailureKind::Truncated, paletteEnd > fileSize ? "the colour table" : "the pixel data");
        return false;
    }
    layout.PixelBytes = PixelExtent(layout, fileSize);
    const uint64_t toRead = layout.PaletteBytes() + layout.PixelBytes;
    if (toRead > imagefiles::kMaxReadBytes) {
        Report(Why, FailureKind::TooLarge,
               std::to_string(toRead) + " bytes to read, more than " + std::to_string(imagefiles::kMaxReadBytes));
        return false;
    }
    return true;
}

}  // namespace

std::optional<BmpLayout> ReadBmpLayout(std::span<const uint8_t> head, uint64_t fileSize, FileFailure* Why) {
    if (!CheckSignature(head, Why)) return std::nullopt;
    std::optional<BmpLayout> layout = ReadHeaders(ByteReader(head), fileSize, Why);
    if (!layout || !CheckDepthAndCompression(*layout, Why) || !CheckPictureSize(*layout, Why) ||
        !PlacePieces(*layout, fileSize, Why))
        return std::nullopt;
    return layout;
}

std::optional<DecodedBmp> DecodeBmpPieces(const BmpLayout& layout, std::span<const uint8_t> colourTable,
                                          std::span<const uint8_t> pixelData, FileFailure* Why) {
    auto pixels = layout.Compression == kCompressionNone ? UnpackRows(pixelData, layout, Why)
                                                         : DecodeCompressed(pixelData, layout, Why);
    if (!pixels) return std::nullopt;

    DecodedBmp decoded;
    decoded.Header.Width = static_cast<int32_t>(layout.Width);
    decoded.Header.Height = static_cast<int32_t>(layout.Height);
    decoded.Header.Size = static_cast<int32_t>(layout.Width * layout.Height);
    decoded.Pixels = std::move(*pixels);
    decoded.Colours = ReadColourTable(colourTable, layout);
    return decoded;
}

std::optional<DecodedBmp> DecodeBmp(std::span<const uint8_t> file, FileFailure* Why) {
    const auto layout = ReadBmpLayout(file.first(std::min<std::size_t>(file.size(), kBmpHeadBytes)), file.size(), Why);
    if (!layout) return std::nullopt;
    return DecodeBmpPieces(*layout, file.subspan(layout->PaletteOffset, layout->PaletteBytes()),
                           file.subspan(layout->PixelOffset, layout->PixelBytes), Why);
}

}  // namespace modBmp
