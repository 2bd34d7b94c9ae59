#pragma once
// Builds 256-colour PCX files in memory for tests, seeds and mutation runs. Every field can be
// set to any value, including ones a reader must refuse. Plain C++ without a test framework.

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
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
    std::vector<uint8_t> Packets;           // the run-length pixel data, stored from offset 128
    uint8_t PaletteMarker = 12;
    std::array<uint8_t, 768> PaletteRgb{};  // 256 x (red, green, blue)
};

// Every entry differs from every other: red = i, green = 255 - i, blue = 7 i mod 256.
inline std::array<uint8_t, 768> DistinctPaletteRgb() {
    std::array<uint8_t, 768> rgb{};
    for (std::size_t i = 0; i < 256; ++i) {
        rgb[3 * i] = static_cast<uint8_t>(i);
        rgb[3 * i + 1] = static_cast<uint8_t>(255 - i);
        rgb[3 * i + 2] = static_cast<uint8_t>(7 * i);
    }
    return rgb;
}

// One run of count (1 to 63) pixels: a bare byte when that is unambiguous, else count and value.
inline void AppendRun(std::vector<uint8_t>& out, int count, uint8_t value) {
    if (count == 1 && value < 0xC0) {
        out.push_back(value);
    } else {
        out.push_back(static_cast<uint8_t>(0xC0 | count));
        out.push_back(value);
    }
}

// Packets for a flat pixel sequence. Runs carry on across row ends unless rowWidth is given, in
// which case every row ends its own runs, as most drawing programs write them.
inline std::vector<uint8_t> Encode(const std::vector<uint8_t>& pixels, std::size_t rowWidth = 0) {
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i < pixels.size();) {
        const std::size_t rowEnd = rowWidth ? (i / rowWidth + 1) * rowWidth : pixels.size();
        int count = 1;
        while (count < 63 && i + count < rowEnd && pixels[i + count] == pixels[i]) ++count;
        AppendRun(out, count, pixels[i]);
        i += static_cast<std::size_t>(count);
    }
    return out;
}

// The file's bytes: the 128-byte header, the packets, the marker and the palette.
inline std::vector<uint8_t> Build(const PcxFile& pcx) {
    std::vector<uint8_t> out;
    out.reserve(128 + pcx.Packets.size() + 1 + pcx.PaletteRgb.size());  // also spares g++ 12 a false array-bounds warning
    out.resize(128, 0);
    auto put16 = [&out](std::size_t offset, int value) {
        out[offset] = static_cast<uint8_t>(value & 0xFF);
        out[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
    };
    out[0] = pcx.Manufacturer;
    out[1] = pcx.Version;
    out[2] = pcx.Encoding;
    out[3] = pcx.BitsPerPixel;
    put16(4, pcx.XMin);
    put16(6, pcx.YMin);
    put16(8, pcx.XMax);
    put16(10, pcx.YMax);
    put16(12, 72);                              // resolution
    put16(14, 72);
    out[65] = 1;                                // one plane
    put16(66, (pcx.XMax - pcx.XMin + 2) & ~1);  // bytes per line, even
    put16(68, 1);                               // colour palette
    out.insert(out.end(), pcx.Packets.begin(), pcx.Packets.end());
    out.push_back(pcx.PaletteMarker);
    out.insert(out.end(), pcx.PaletteRgb.begin(), pcx.PaletteRgb.end());
    return out;
}

// A valid file with the distinct palette for the given extent and packets.
inline std::vector<uint8_t> BuildWithPackets(int xMin, int yMin, int xMax, int yMax, std::vector<uint8_t> packets) {
    PcxFile pcx;
    pcx.XMin = static_cast<int16_t>(xMin);
    pcx.YMin = static_cast<int16_t>(yMin);
    pcx.XMax = static_cast<int16_t>(xMax);
    pcx.YMax = static_cast<int16_t>(yMax);
    pcx.Packets = std::move(packets);
    pcx.PaletteRgb = DistinctPaletteRgb();
    return Build(pcx);
}

// A valid file of a width x height picture at origin (0, 0).
inline std::vector<uint8_t> BuildPicture(const std::vector<uint8_t>& pixels, int width, int height,
                                         bool runsCrossRows = true) {
    return BuildWithPackets(0, 0, width - 1, height - 1,
                            Encode(pixels, runsCrossRows ? 0 : static_cast<std::size_t>(width)));
}

}  // namespace pcxbuild
