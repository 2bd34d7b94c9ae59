// The BMP module's state (the last decoded picture), loading a file into it, and writing
// 8-bit BMP files.

#include "imagefiles/modBmp.h"

#include <algorithm>
#include <string>
#include <utility>

#include "imagefiles/BmpLayout.h"
#include "imagefiles/ByteWriter.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/modPalettes.h"

namespace modBmp {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kColourTableSize = 256 * 4;
constexpr uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;  // 1,078

// The last picture decoded, replaced only by a read that succeeds.
DecodedBmp& State() {
    static DecodedBmp state;
    return state;
}

}  // namespace

const std::vector<uint8_t>& BmpPixels() { return State().Pixels; }
const Palette& BmpPalette() { return State().Colours; }
const BitmapHeader& BmpHeader() { return State().Header; }

bool LoadBMPFile(const std::string& Filename, bool Remap, imagefiles::FileFailure* Why) {
    const auto file = filebytes::FileReader::Open(Filename, Why);
    if (!file) return false;
    const auto head = file->Read(0, std::min(file->Size(), kBmpHeadBytes), Why);
    if (!head) return false;
    const auto layout = ReadBmpLayout(*head, file->Size(), Why);
    if (!layout) return false;
    const auto colourTable = file->Read(layout->PaletteOffset, layout->PaletteBytes(), Why);
    if (!colourTable) return false;
    const auto pixelData = file->Read(layout->PixelOffset, layout->PixelBytes, Why);
    if (!pixelData) return false;
    auto decoded = DecodeBmpPieces(*layout, *colourTable, *pixelData, Why);
    if (!decoded) return false;
    if (Remap) modPalettes::RemapToPalette(decoded->Pixels, decoded->Colours, modPalettes::GamePalette);
    State() = std::move(*decoded);
    return true;
}

std::vector<uint8_t> EncodeBmp(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width, int32_t Height) {
    if (Width <= 0 || Height <= 0) return {};
    const auto width = static_cast<uint64_t>(Width);
    const auto height = static_cast<uint64_t>(Height);
    if (Pixels.size() < width * height) return {};
    // Rows in the file are padded to a multiple of 4 bytes (none for a width of 96).
    const uint64_t stride = (width + 3) / 4 * 4;
    const uint64_t fileSize = kPixelOffset + stride * height;
    if (fileSize > UINT32_MAX) return {};  // bfSize could not say it

    imagefiles::ByteWriter out(static_cast<std::size_t>(fileSize));
    // File header.
    out.U8('B');
    out.U8('M');
    out.U32(static_cast<uint32_t>(fileSize));  // bfSize
    out.U16(0);                                // bfReserved1
    out.U16(0);                                // bfReserved2
    out.U32(kPixelOffset);                     // bfOffBits
    // Information header.
    out.U32(kInfoHeaderSize);  // biSize
    out.I32(Width);            // biWidth
    out.I32(Height);           // biHeight, positive: rows bottom-up
    out.U16(1);                // biPlanes
    out.U16(8);                // biBitCount
    out.U32(0);                // biCompression: none
    out.U32(0);                // biSizeImage
    out.U32(0);                // biXPelsPerMeter
    out.U32(0);                // biYPelsPerMeter
    out.U32(256);              // biClrUsed
    out.U32(256);              // biClrImportant
    for (const PaletteEntry& entry : Palette) {
        out.U8(entry.Blue);
        out.U8(entry.Green);
        out.U8(entry.Red);
        out.U8(entry.Reserved);
    }
    // Pixel rows, the picture's bottom row first.
    for (uint64_t fileRow = 0; fileRow < height; ++fileRow) {
        out.Bytes(
            Pixels.subspan(static_cast<std::size_t>((height - 1 - fileRow) * width), static_cast<std::size_t>(width)));
        out.Zeros(static_cast<std::size_t>(stride - width));
    }
    return out.Release();
}

bool WriteBMPFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                  int32_t Height, imagefiles::FileFailure* Why) {
    const std::vector<uint8_t> bytes = EncodeBmp(Pixels, Palette, Width, Height);
    if (bytes.empty()) {
        imagefiles::Report(Why, imagefiles::FailureKind::WrongSize,
                           std::to_string(Width) + " x " + std::to_string(Height));
        return false;
    }
    return filebytes::WriteFileAtomically(Filename, bytes, Why);
}

}  // namespace modBmp
