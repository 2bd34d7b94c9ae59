// The BMP module's state (the last decoded picture), loading a file into it, and writing
// 8-bit BMP files.

#include "imagefiles/modBmp.h"

#include <algorithm>
#include <string>
#include <utility>

#include "imagefiles/BmpLayout.h"
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

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}
void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
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

std::vector<uint8_t> EncodeBmp(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                               int32_t Height) {
    if (Width <= 0 || Height <= 0) return {};
    const auto width = static_cast<uint64_t>(Width);
    const auto height = static_cast<uint64_t>(Height);
    if (Pixels.size() < width * height) return {};
    // Rows in the file are padded to a multiple of 4 bytes (none for a width of 96).
    const uint64_t stride = (width + 3) / 4 * 4;
    const uint64_t fileSize = kPixelOffset + stride * height;
    if (fileSize > UINT32_MAX) return {};  // bfSize could not say it

    std::vector<uint8_t> out;
    out.reserve(static_cast<std::size_t>(fileSize));
    // File header.
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<uint32_t>(fileSize));  // bfSize
    PutU16(out, 0);                                // bfReserved1
    PutU16(out, 0);                                // bfReserved2
    PutU32(out, kPixelOffset);                     // bfOffBits
    // Information header.
    PutU32(out, kInfoHeaderSize);                 // biSize
    PutU32(out, static_cast<uint32_t>(Width));    // biWidth
    PutU32(out, static_cast<uint32_t>(Height));   // biHeight, positive: rows bottom-up
    PutU16(out, 1);                               // biPlanes
    PutU16(out, 8);                               // biBitCount
    PutU32(out, 0);                               // biCompression: none
    PutU32(out, 0);                               // biSizeImage
    PutU32(out, 0);                               // biXPelsPerMeter
    PutU32(out, 0);                               // biYPelsPerMeter
    PutU32(out, 256);                             // biClrUsed
    PutU32(out, 256);                             // biClrImportant
    for (const PaletteEntry& entry : Palette) {
        out.push_back(entry.Blue);
        out.push_back(entry.Green);
        out.push_back(entry.Red);
        out.push_back(entry.Reserved);
    }
    // Pixel rows, the picture's bottom row first.
    for (uint64_t fileRow = 0; fileRow < height; ++fileRow) {
        const auto first = Pixels.begin() + static_cast<std::ptrdiff_t>((height - 1 - fileRow) * width);
        out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(width));
        out.resize(out.size() + static_cast<std::size_t>(stride - width), 0);
    }
    return out;
}

bool WriteBMPFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette,
                  int32_t Width, int32_t Height, imagefiles::FileFailure* Why) {
    const std::vector<uint8_t> bytes = EncodeBmp(Pixels, Palette, Width, Height);
    if (bytes.empty()) {
        imagefiles::Report(Why, imagefiles::FailureKind::WrongSize, std::to_string(Width) + " x " + std::to_string(Height));
        return false;
    }
    return filebytes::WriteFileAtomically(Filename, bytes, Why);
}

}  // namespace modBmp
