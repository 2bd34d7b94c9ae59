#include "imagefiles/modPCX.h"

#include <cstddef>
#include <utility>

#include "imagefiles/FileBytes.h"

namespace modPCX {

namespace {

constexpr std::size_t HeaderSize = 128;
constexpr std::size_t PaletteBlockSize = 769;  // marker byte + 256 x (red, green, blue)
constexpr uint8_t PaletteMarker = 12;
constexpr uint8_t AcceptedVersion = 5;
constexpr uint8_t RunFlags = 0xC0;
constexpr uint8_t RunCountMask = 0x3F;
constexpr int64_t LongestRun = 63;

// Nobody makes a 96 x 96 picture this large; the cap only keeps a hostile path (a device,
// a huge file) from being read into memory whole.
constexpr std::size_t MaxFileBytes = 64u * 1024u * 1024u;
// Packets of 63-pixel runs let such a file describe some two thousand million pixels; more
// than this many is refused rather than allocated.
constexpr int64_t MaxPixels = int64_t{64} * 1024 * 1024;

int16_t ReadInt16(std::span<const uint8_t> file, std::size_t offset) {
    const auto value = static_cast<uint16_t>(file[offset] | (file[offset + 1] << 8));
    return static_cast<int16_t>(value);
}

// The most pixels that dataBytes bytes of run-length packets can describe: every two bytes a
// run of 63, and one more pixel for an odd byte left over.
int64_t MostPixelsIn(std::size_t dataBytes) {
    const auto bytes = static_cast<int64_t>(dataBytes);
    return (bytes / 2) * LongestRun + bytes % 2;
}

Palette ReadPalette(std::span<const uint8_t> entries) {
    Palette colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        colours[i].Red = entries[3 * i];
        colours[i].Green = entries[3 * i + 1];
        colours[i].Blue = entries[3 * i + 2];
        colours[i].Reserved = 0;
    }
    return colours;
}

// Decodes run-length packets into pixels until every pixel is set. Runs cross row ends, since
// the pixels are one continuous sequence of rows. False when a run would go past the last
// pixel or the packets end before the picture is full.
bool DecodePackets(std::span<const uint8_t> data, std::vector<uint8_t>& pixels) {
    std::size_t next = 0;
    std::size_t stored = 0;
    while (stored < pixels.size()) {
        if (next >= data.size()) return false;
        const uint8_t packet = data[next++];
        std::size_t count = 1;
        uint8_t value = packet;
        if ((packet & RunFlags) == RunFlags) {
            if (next >= data.size()) return false;
            count = packet & RunCountMask;
            value = data[next++];
        }
        if (count > pixels.size() - stored) return false;
        for (std::size_t k = 0; k < count; ++k) pixels[stored++] = value;
    }
    return true;
}

// Module state: the last picture read successfully.
std::vector<uint8_t> lastPixels;
int32_t lastX = 0;
int32_t lastY = 0;
Palette lastPalette{};

}  // namespace

std::optional<DecodedPcx> DecodePcx(std::span<const uint8_t> file) {
    // The header and the palette block must both fit without overlapping; a file shorter
    // than that has no pixel data at all and so cannot describe even one pixel.
    if (file.size() < HeaderSize + PaletteBlockSize) return std::nullopt;
    if (file[1] != AcceptedVersion) return std::nullopt;

    const int32_t xMin = ReadInt16(file, 4);
    const int32_t yMin = ReadInt16(file, 6);
    const int32_t xMax = ReadInt16(file, 8);
    const int32_t yMax = ReadInt16(file, 10);
    if (xMax < xMin || yMax < yMin) return std::nullopt;

    // The palette is found from the end of the file, never by following the pixel data.
    const std::size_t paletteStart = file.size() - PaletteBlockSize;
    if (file[paletteStart] != PaletteMarker) return std::nullopt;

    // Pixel data lies between the header and the palette; the palette is never read as pixels.
    const auto data = file.subspan(HeaderSize, paletteStart - HeaderSize);
    const int64_t width = int64_t{xMax} - xMin + 1;
    const int64_t height = int64_t{yMax} - yMin + 1;
    const int64_t pixelCount = width * height;
    if (pixelCount > MostPixelsIn(data.size()) || pixelCount > MaxPixels) return std::nullopt;

    DecodedPcx decoded;
    decoded.LastX = xMax - xMin;
    decoded.LastY = yMax - yMin;
    decoded.Colours = ReadPalette(file.subspan(paletteStart + 1));
    decoded.Pixels.resize(static_cast<std::size_t>(pixelCount));
    if (!DecodePackets(data, decoded.Pixels)) return std::nullopt;
    return decoded;
}

const std::vector<uint8_t>& PcxPixels() { return lastPixels; }
int32_t PcxLastX() { return lastX; }
int32_t PcxLastY() { return lastY; }
const Palette& PcxPalette() { return lastPalette; }

bool LoadPCXFile(const std::string& Filename) {
    const auto bytes = filebytes::ReadFileBytes(Filename, MaxFileBytes);
    if (!bytes) return false;
    auto decoded = DecodePcx(*bytes);
    if (!decoded) return false;
    lastPixels = std::move(decoded->Pixels);
    lastX = decoded->LastX;
    lastY = decoded->LastY;
    lastPalette = decoded->Colours;
    return true;
}

}  // namespace modPCX
