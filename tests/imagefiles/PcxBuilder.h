#pragma once
// Builds 256-colour PCX files in memory for tests, seeds and mutation runs. Every field can be
// set to any value, including ones a reader must refuse. Plain C++, no test framework.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pcxbuild {

struct PcxFile {
    uint8_t Manufacturer = 10;
    uint8_t Version = 5;
    uint8_t Encoding = 1;
    uint8_t BitsPerPixel = 8;
    int16_t XMin = 0;
    int16_t YMin = 0;
    int16_t XMax = 95;
    int16_t YMax = 95;
    std::vector<uint8_t> Packets;            // the run-length pixel data, stored from offset 128
    uint8_t PaletteMarker = 12;
    std::array<uint8_t, 768> PaletteRgb{};   // 256 x (red, green, blue)
};

// A palette in which every entry differs from every other: red = i, green = 255 - i,
// blue = 7 i mod 256.
inline std::array<uint8_t, 768> DistinctPaletteRgb() {
    std::array<uint8_t, 768> rgb{};
    for (int i = 0; i < 256; ++i) {
        rgb[3 * i] = static_cast<uint8_t>(i);
        rgb[3 * i + 1] = static_cast<uint8_t>(255 - i);
        rgb[3 * i + 2] = static_cast<uint8_t>((7 * i) & 0xFF);
    }
    return rgb;
}

// Appends one run of count (1 to 63) pixels of value: a bare byte when that is unambiguous,
// otherwise a count byte and the value.
inline void AppendRun(std::vector<uint8_t>& out, int count, uint8_t value) {
    if (count == 1 && value < 0xC0) {
        out.push_back(value);
    } else {
        out.push_back(static_cast<uint8_t>(0xC0 | count));
        out.push_back(value);
    }
}

// Run-length packets for a flat pixel sequence; runs carry on across row ends.
inline std::vector<uint8_t> EncodeContinuous(const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> out;
    std::size_t i = 0;
    while (i < pixels.size()) {
        int count = 1;
        while (count < 63 && i + count < pixels.size() && pixels[i + count] == pixels[i]) ++count;
        AppendRun(out, count, pixels[i]);
        i += static_cast<std::size_t>(count);
    }
    return out;
}

// Run-length packets that end every row, as most drawing programs write them.
inline std::vector<uint8_t> EncodeByRow(const std::vector<uint8_t>& pixels, std::size_t width) {
    std::vector<uint8_t> out;
    for (std::size_t rowStart = 0; rowStart < pixels.size(); rowStart += width) {
        std::size_t x = 0;
        while (x < width) {
            int count = 1;
            const uint8_t value = pixels[rowStart + x];
            while (count < 63 && x + count < width && pixels[rowStart + x + count] == value) ++count;
            AppendRun(out, count, value);
            x += static_cast<std::size_t>(count);
        }
    }
    return out;
}

// The file's bytes: the 128-byte header, the packets, the marker and the palette.
inline std::vector<uint8_t> Build(const PcxFile& pcx) {
    std::vector<uint8_t> out;
    out.reserve(128 + pcx.Packets.size() + 1 + pcx.PaletteRgb.size());
    out.resize(128, 0);
    auto put16 = [&out](std::size_t offset, int value) {
        const auto bits = static_cast<uint16_t>(value);
        out[offset] = static_cast<uint8_t>(bits & 0xFF);
        out[offset + 1] = static_cast<uint8_t>(bits >> 8);
    };
    out[0] = pcx.Manufacturer;
    out[1] = pcx.Version;
    out[2] = pcx.Encoding;
    out[3] = pcx.BitsPerPixel;
    put16(4, pcx.XMin);
    put16(6, pcx.YMin);
    put16(8, pcx.XMax);
    put16(10, pcx.YMax);
    put16(12, 72);                                  // horizontal resolution
    put16(14, 72);                                  // vertical resolution
    out[65] = 1;                                    // one plane
    put16(66, (pcx.XMax - pcx.XMin + 2) & ~1);      // bytes per line, even
    put16(68, 1);                                   // colour palette
    out.insert(out.end(), pcx.Packets.begin(), pcx.Packets.end());
    out.push_back(pcx.PaletteMarker);
    out.insert(out.end(), pcx.PaletteRgb.begin(), pcx.PaletteRgb.end());
    return out;
}

// A complete valid file for a width x height picture of the given pixels at origin (0, 0).
inline std::vector<uint8_t> BuildPicture(const std::vector<uint8_t>& pixels, int width, int height,
                                         bool runsCrossRows = true) {
    PcxFile pcx;
    pcx.XMax = static_cast<int16_t>(width - 1);
    pcx.YMax = static_cast<int16_t>(height - 1);
    pcx.Packets = runsCrossRows ? EncodeContinuous(pixels)
                                : EncodeByRow(pixels, static_cast<std::size_t>(width));
    pcx.PaletteRgb = DistinctPaletteRgb();
    return Build(pcx);
}

}  // namespace pcxbuild
