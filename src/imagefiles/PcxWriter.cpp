#include "imagefiles/PcxWriter.h"

#include <algorithm>
#include <cstddef>

#include "imagefiles/ByteWriter.h"
#include "imagefiles/FileBytes.h"

namespace modPCX {

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr uint8_t kManufacturer = 10;  // ZSoft
constexpr uint8_t kVersion = 5;        // the version with a 256-colour palette
constexpr uint8_t kRunLengthEncoded = 1;
constexpr uint8_t kBitsPerPixel = 8;
constexpr uint16_t kDotsPerInch = 72;
constexpr std::size_t kSmallPaletteColours = 16;  // the 16-colour map of older versions, at offset 16
constexpr uint8_t kPlanes = 1;
constexpr uint16_t kColourPalette = 1;  // PaletteInfo: colour or black and white, not greys
constexpr uint8_t kPaletteMarker = 12;
constexpr uint8_t kRunFlags = 0xC0;
constexpr std::size_t kLongestRun = 63;
constexpr int32_t kLargestSide = 32767;  // XMax and YMax are signed 16-bit values

void PutRgb(imagefiles::ByteWriter& out, const PaletteEntry& colour) {
    out.U8(colour.Red);
    out.U8(colour.Green);
    out.U8(colour.Blue);
}

void WriteHeader(imagefiles::ByteWriter& out, const Palette& Palette, int32_t Width, int32_t Height,
                 uint16_t BytesPerLine) {
    out.U8(kManufacturer);
    out.U8(kVersion);
    out.U8(kRunLengthEncoded);
    out.U8(kBitsPerPixel);
    // XMin and YMin 0, so that XMax and YMax are the last column and row.
    out.U16(0);
    out.U16(0);
    out.U16(static_cast<uint16_t>(Width - 1));
    out.U16(static_cast<uint16_t>(Height - 1));
    out.U16(kDotsPerInch);
    out.U16(kDotsPerInch);
    // Readers of the older 16-colour files look here; they get the palette's first colours.
    for (std::size_t i = 0; i < kSmallPaletteColours; ++i) PutRgb(out, Palette[i]);
    out.U8(0);  // reserved
    out.U8(kPlanes);
    out.U16(BytesPerLine);
    out.U16(kColourPalette);
    out.Zeros(kHeaderBytes - out.Position());  // screen sizes and the filler stay zero
}

// One row's bytes (padding included) as packets of runs that end with the row.
void EncodeRow(std::span<const uint8_t> row, imagefiles::ByteWriter& out) {
    std::size_t start = 0;
    while (start < row.size()) {
        const uint8_t value = row[start];
        std::size_t count = 1;
        while (count < kLongestRun && start + count < row.size() && row[start + count] == value) ++count;
        if (count > 1 || (value & kRunFlags) == kRunFlags) out.U8(static_cast<uint8_t>(kRunFlags | count));
        out.U8(value);
        start += count;
    }
}

}  // namespace

std::vector<uint8_t> EncodePcx(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width, int32_t Height) {
    if (Width < 1 || Height < 1 || Width > kLargestSide || Height > kLargestSide) return {};
    const auto width = static_cast<std::size_t>(Width);
    const auto height = static_cast<std::size_t>(Height);
    if (Pixels.size() < width * height) return {};
    const std::size_t bytesPerLine = (width + 1) / 2 * 2;

    imagefiles::ByteWriter out;
    WriteHeader(out, Palette, Width, Height, static_cast<uint16_t>(bytesPerLine));
    std::vector<uint8_t> row(bytesPerLine, 0);
    for (std::size_t y = 0; y < height; ++y) {
        const auto pixels = Pixels.subspan(y * width, width);
        std::copy(pixels.begin(), pixels.end(), row.begin());
        EncodeRow(row, out);
    }
    out.U8(kPaletteMarker);
    for (const PaletteEntry& colour : Palette) PutRgb(out, colour);
    return out.Release();
}

bool WritePCXFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                  int32_t Height, imagefiles::FileFailure* Why) {
    const std::vector<uint8_t> bytes = EncodePcx(Pixels, Palette, Width, Height);
    if (bytes.empty()) {
        imagefiles::Report(Why, imagefiles::FailureKind::CannotWrite, "the PCX encoder failed");
        return false;
    }
    return filebytes::WriteFileAtomically(Filename, bytes, Why);
}

}  // namespace modPCX
