// BMP files for import: 16-, 24- and 32-bit pixels decoded here, through their colour masks;
// 1-, 4- and 8-bit files through the palette reader, their indices turned into the colours of
// their own colour table. The header is read here first in both cases, so that the import's
// pixel limit holds before either reader allocates anything.

#include <algorithm>
#include <array>
#include <bit>
#include <string>

#include "imagefiles/ByteReader.h"
#include "imagefiles/PictureDecoders.h"
#include "imagefiles/modBmp.h"

namespace imagefiles {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;  // OS/2: 16-bit sizes, no compression field
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV3HeaderSize = 56;  // the first with an alpha mask in the header

constexpr uint32_t kRgb = 0;             // BI_RGB
constexpr uint32_t kBitFields = 3;       // BI_BITFIELDS: red, green and blue masks
constexpr uint32_t kAlphaBitFields = 6;  // BI_ALPHABITFIELDS: and an alpha mask

// Where the masks sit: just after a 40-byte header, inside the larger ones, at the same offsets.
constexpr uint64_t kMasksOffset = 54;

struct Header {
    int64_t Width = 0;
    int64_t Height = 0;
    bool TopDown = false;
    int BitCount = 0;
    uint32_t Compression = kRgb;
    uint32_t HeaderSize = 0;
    uint64_t PixelOffset = 0;
};

// One channel's mask: the value is (pixel & Mask) >> Shift, at most Maximum.
struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Maximum = 0;

    uint8_t Read(uint32_t pixel) const {
        const uint64_t value = (pixel & Mask) >> Shift;
        return static_cast<uint8_t>((value * 255 + Maximum / 2) / Maximum);
    }
};

std::optional<Header> ReadHeader(const ByteReader& in, FileFailure* Why) {
    const auto pixelOffset = in.U32(10);
    const auto headerSize = in.U32(14);
    if (!pixelOffset || !headerSize) {
        Report(Why, FailureKind::Truncated, "the BMP header is cut short");
        return std::nullopt;
    }
    Header header;
    header.HeaderSize = *headerSize;
    header.PixelOffset = *pixelOffset;
    if (*headerSize == kCoreHeaderSize) {
        const auto width = in.U16(18);
        const auto height = in.U16(20);
        const auto bitCount = in.U16(24);
        if (!width || !height || !bitCount) {
            Report(Why, FailureKind::Truncated, "the BMP header is cut short");
            return std::nullopt;
        }
        header.Width = *width;
        header.Height = *height;
        header.BitCount = *bitCount;
        return header;
    }
    if (*headerSize < kInfoHeaderSize) {
        Report(Why, FailureKind::Malformed, "a BMP header of " + std::to_string(*headerSize) + " bytes");
        return std::nullopt;
    }
    const auto width = in.I32(18);
    const auto height = in.I32(22);
    const auto bitCount = in.U16(28);
    const auto compression = in.U32(30);
    if (!width || !height || !bitCount || !compression || !in.Has(14, *headerSize)) {
        Report(Why, FailureKind::Truncated, "the BMP header is cut short");
        return std::nullopt;
    }
    header.Width = *width;
    header.Height = *height < 0 ? -int64_t{*height} : int64_t{*height};
    header.TopDown = *height < 0;
    header.BitCount = *bitCount;
    header.Compression = *compression;
    return header;
}

std::optional<Channel> MakeChannel(uint32_t mask, int bitCount) {
    if (mask == 0) return std::nullopt;
    const int shift = std::countr_zero(mask);
    const uint32_t run = mask >> shift;
    if ((run & (run + 1)) != 0) return std::nullopt;  // not one contiguous run of bits
    if (bitCount < 32 && (mask >> bitCount) != 0) return std::nullopt;
    return Channel{mask, shift, run};
}

// The four channels (alpha's Mask 0 when there is none), or a reason.
std::optional<std::array<Channel, 4>> ReadChannels(const ByteReader& in, const Header& header, FileFailure* Why) {
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
    if (header.Compression == kRgb) {
        if (header.BitCount == 16)
            masks = {0x7C00, 0x03E0, 0x001F, 0};
        else
            masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
    } else {
        const bool withAlpha = header.Compression == kAlphaBitFields || header.HeaderSize >= kV3HeaderSize;
        for (int k = 0; k < (withAlpha ? 4 : 3); ++k) {
            const auto mask = in.U32(kMasksOffset + 4 * static_cast<uint64_t>(k));
            if (!mask) {
                Report(Why, FailureKind::Truncated, "the BMP colour masks are cut short");
                return std::nullopt;
            }
            masks[static_cast<std::size_t>(k)] = *mask;
        }
        const uint64_t masksEnd = kMasksOffset + (withAlpha ? 16 : 12);
        if (header.HeaderSize == kInfoHeaderSize && header.PixelOffset < masksEnd) {
            Report(Why, FailureKind::Malformed, "the BMP pixels overlap its colour masks");
            return std::nullopt;
        }
    }
    std::array<Channel, 4> channels{};
    for (std::size_t k = 0; k < 4; ++k) {
        if (k == 3 && masks[k] == 0) break;  // no alpha
        const auto channel = MakeChannel(masks[k], header.BitCount);
        const bool overlaps = k > 0 && std::any_of(masks.begin(), masks.begin() + static_cast<std::ptrdiff_t>(k),
                                                   [&](uint32_t other) { return (other & masks[k]) != 0; });
        if (!channel || overlaps) {
            Report(Why, FailureKind::Malformed, "the BMP colour masks are not separate runs of bits");
            return std::nullopt;
        }
        channels[k] = *channel;
    }
    return channels;
}

std::optional<RgbaPicture> DecodeMasked(const ByteReader& in, const Header& header, FileFailure* Why) {
    const bool rgb = header.Compression == kRgb;
    const bool fields = header.Compression == kBitFields || header.Compression == kAlphaBitFields;
    const bool depthOk = header.BitCount == 16 || header.BitCount == 32 || (header.BitCount == 24 && rgb);
    if (!depthOk || (!rgb && !fields) || (header.HeaderSize == kCoreHeaderSize && header.BitCount != 24)) {
        Report(
            Why, FailureKind::Unsupported,
            "a " + std::to_string(header.BitCount) + "-bit BMP with compression " + std::to_string(header.Compression));
        return std::nullopt;
    }
    const auto channels = ReadChannels(in, header, Why);
    if (!channels) return std::nullopt;

    const uint64_t bytesPerPixel = static_cast<uint64_t>(header.BitCount) / 8;
    const uint64_t rowBytes = static_cast<uint64_t>(header.Width) * bytesPerPixel;
    const uint64_t stride = (rowBytes + 3) / 4 * 4;
    const auto rows = static_cast<uint64_t>(header.Height);
    // Only the last row's padding may be missing.
    if (!in.Has(header.PixelOffset, stride * (rows - 1) + rowBytes)) {
        Report(Why, FailureKind::Truncated, "the BMP pixels end early");
        return std::nullopt;
    }

    RgbaPicture picture;
    picture.Width = static_cast<int32_t>(header.Width);
    picture.Height = static_cast<int32_t>(header.Height);
    picture.Pixels.resize(static_cast<std::size_t>(header.Width * header.Height * 4));
    const bool hasAlpha = (*channels)[3].Mask != 0;
    bool anyAlpha = false;
    for (uint64_t fileRow = 0; fileRow < rows; ++fileRow) {
        const std::span<const uint8_t> source = *in.Bytes(header.PixelOffset + fileRow * stride, rowBytes);
        const uint64_t pictureRow = header.TopDown ? fileRow : rows - 1 - fileRow;
        uint8_t* target = picture.Pixels.data() + pictureRow * static_cast<uint64_t>(header.Width) * 4;
        for (std::size_t x = 0; x < static_cast<std::size_t>(header.Width); ++x, target += 4) {
            const uint8_t* p = source.data() + x * bytesPerPixel;
            uint32_t pixel = 0;
            for (uint64_t b = 0; b < bytesPerPixel; ++b) pixel |= uint32_t{p[b]} << (8 * b);
            for (std::size_t k = 0; k < 3; ++k) target[k] = (*channels)[k].Read(pixel);
            target[3] = hasAlpha ? (*channels)[3].Read(pixel) : 255;
            anyAlpha = anyAlpha || target[3] != 0;
        }
    }
    // Writers that declare an alpha mask but never fill the channel are common; a picture whose
    // alpha is zero everywhere is taken as opaque, as web browsers take it.
    if (hasAlpha && !anyAlpha)
        for (std::size_t i = 3; i < picture.Pixels.size(); i += 4) picture.Pixels[i] = 255;
    return picture;
}

std::optional<RgbaPicture> DecodeIndexed(std::span<const uint8_t> file, FileFailure* Why) {
    const auto decoded = modBmp::DecodeBmp(file, Why);
    if (!decoded) return std::nullopt;
    return ColouredIndices(decoded->Header.Width, decoded->Header.Height, decoded->Pixels, decoded->Colours);
}

}  // namespace

std::optional<RgbaPicture> DecodeTruecolourBmp(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels) {
    const ByteReader in(file);
    if (file.size() < 2 || file[0] != 'B' || file[1] != 'M') {
        Report(Why, FailureKind::Unrecognised, "not a BMP file");
        return std::nullopt;
    }
    const auto header = ReadHeader(in, Why);
    if (!header) return std::nullopt;
    if (header->Width <= 0 || header->Height <= 0) {
        Report(Why, FailureKind::Malformed,
               "a BMP of " + std::to_string(header->Width) + " x " + std::to_string(header->Height) + " pixels");
        return std::nullopt;
    }
    if (!PictureSizeAllowed(Why, header->Width, header->Height, maxPixels)) {
        return std::nullopt;
    }
    if (header->BitCount <= 8) return DecodeIndexed(file, Why);
    return DecodeMasked(in, *header, Why);
}

}  // namespace imagefiles
