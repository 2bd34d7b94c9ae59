#pragma once
// Builds 256-colour PCX files in memory, any field set to any value, for tests, seeds and
// mutation runs. Plain C++ without a test framework.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pcxbuild {
struct PcxFile {
    uint8_t Version = 5;
    int16_t XMin = 0, YMin = 0, XMax = 95, YMax = 95;
    std::vector<uint8_t> Packets{};  // the run-length pixel data, from offset 128
    uint8_t PaletteMarker = 12;
    std::array<uint8_t, 768> PaletteRgb = [] {  // entry i: red i, green 255 - i, blue 7 i
        std::array<uint8_t, 768> rgb{};
        for (std::size_t i = 0; i < 768; ++i)
            rgb[i] = static_cast<uint8_t>(i % 3 == 0 ? i / 3 : i % 3 == 1 ? 255 - i / 3 : 7 * (i / 3));
        return rgb;
    }();
};

// One run of 1 to 63 pixels: a bare byte when that is unambiguous, else count and value.
inline void AppendRun(std::vector<uint8_t>& out, int count, uint8_t value) {
    if (count != 1 || value >= 0xC0) out.push_back(static_cast<uint8_t>(0xC0 | count));
    out.push_back(value);
}
// Packets for pixels; runs carry on across row ends unless rowWidth is given.
inline std::vector<uint8_t> Encode(const std::vector<uint8_t>& px, std::size_t rowWidth = 0) {
    std::vector<uint8_t> out;
    for (std::size_t i = 0, n = 0; i < px.size(); i += n) {
        for (n = 1; n < 63 && i + n < (rowWidth ? (i / rowWidth + 1) * rowWidth : px.size()) && px[i + n] == px[i];)
            ++n;
        AppendRun(out, static_cast<int>(n), px[i]);
    }
    return out;
}
// ZSoft version Version, run-length encoded, 8 bits in one plane, 72 dpi, even bytes per line,
// a colour palette.
inline std::vector<uint8_t> Build(const PcxFile& pcx) {
    std::vector<uint8_t> out{10, pcx.Version, 1, 8};
    out.reserve(128 + pcx.Packets.size() + 769);  // also spares g++ 12 a false array-bounds warning
    for (int v : {pcx.XMin, pcx.YMin, pcx.XMax, pcx.YMax, int16_t(72), int16_t(72)})
        out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
    out.resize(128, 0);
    out[65] = 1, out[66] = uint8_t((pcx.XMax - pcx.XMin + 2) & ~1), out[67] = uint8_t((pcx.XMax - pcx.XMin + 2) >> 8);
    out[68] = 1;
    out.insert(out.end(), pcx.Packets.begin(), pcx.Packets.end());
    out.push_back(pcx.PaletteMarker);
    out.insert(out.end(), pcx.PaletteRgb.begin(), pcx.PaletteRgb.end());
    return out;
}
inline std::vector<uint8_t> BuildWithPackets(int xMin, int yMin, int xMax, int yMax, std::vector<uint8_t> packets) {
    PcxFile pcx{.XMin = int16_t(xMin), .YMin = int16_t(yMin), .XMax = int16_t(xMax), .YMax = int16_t(yMax)};
    pcx.Packets = std::move(packets);
    return Build(pcx);
}
}  // namespace pcxbuild
