#pragma once
// Builds GAF files in memory for tests and seeds: any number of entries, raw or run-length
// frames, layers, and a record of where everything went so that tests can corrupt it. Plain C++
// without a test framework.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gafbuild {

struct Frame {
    uint16_t Width = 1, Height = 1;
    int16_t X = 0, Y = 0;
    uint8_t Transparency = 9;
    uint8_t Compression = 0;      // 0 raw: Data holds the pixels; 1: Data holds the rows (see Row)
    std::vector<uint8_t> Data{};  // written right behind the header
    std::vector<Frame> Layers{};  // when there are any: a table of their offsets instead of Data
};

struct Entry {
    std::string Name{};  // the stored bytes (Windows-1252), at most 32; zero-filled behind
    std::vector<Frame> Frames{};
    uint16_t Unknown1 = 1;
    uint32_t Unknown2 = 0;
};

// The file and where its pieces start.
struct Layout {
    std::vector<uint8_t> Bytes;
    std::vector<std::size_t> EntryOffsets;                     // each entry header
    std::vector<std::vector<std::size_t>> FrameHeaderOffsets;  // each entry's frames' headers
};

// Control bytes of the run-length packets.
inline uint8_t Skip(unsigned count) { return static_cast<uint8_t>(count << 1 | 1); }          // 0 to 127
inline uint8_t Repeat(unsigned count) { return static_cast<uint8_t>((count - 1) << 2 | 2); }  // 1 to 64
inline uint8_t Copy(unsigned count) { return static_cast<uint8_t>((count - 1) << 2); }        // 1 to 64

inline void Put16At(std::vector<uint8_t>& out, std::size_t at, unsigned value) {
    out[at] = static_cast<uint8_t>(value), out[at + 1] = static_cast<uint8_t>(value >> 8);
}
inline void Put32At(std::vector<uint8_t>& out, std::size_t at, uint32_t value) {
    for (int k = 0; k < 4; ++k) out[at + k] = static_cast<uint8_t>(value >> (8 * k));
}
inline void Append16(std::vector<uint8_t>& out, unsigned value) {
    out.resize(out.size() + 2), Put16At(out, out.size() - 2, value);
}
inline void Append32(std::vector<uint8_t>& out, uint32_t value) {
    out.resize(out.size() + 4), Put32At(out, out.size() - 4, value);
}

// Run-length rows: each its 16-bit byte count, then the packets.
inline std::vector<uint8_t> Rows(const std::vector<std::vector<uint8_t>>& packetsPerRow) {
    std::vector<uint8_t> rows;
    for (const auto& packets : packetsPerRow) {
        Append16(rows, static_cast<unsigned>(packets.size()));
        rows.insert(rows.end(), packets.begin(), packets.end());
    }
    return rows;
}
inline std::vector<uint8_t> Row(const std::vector<uint8_t>& packets) { return Rows({packets}); }

// A picture as the game's run-length rows: transparent pixels skipped, runs of 3 or more
// repeated, the rest copied; a row ends with its last opaque pixel.
inline std::vector<uint8_t> EncodeRows(const std::vector<uint8_t>& pixels, unsigned width, unsigned height,
                                       uint8_t transparency) {
    std::vector<std::vector<uint8_t>> rows(height);
    for (unsigned y = 0; y < height; ++y) {
        const uint8_t* px = pixels.data() + std::size_t{y} * width;
        unsigned end = width;
        while (end > 0 && px[end - 1] == transparency) --end;
        for (unsigned x = 0, n = 1; x < end; x += n, n = 1) {
            if (px[x] == transparency) {
                while (n < 127 && x + n < end && px[x + n] == transparency) ++n;
                rows[y].push_back(Skip(n));
                continue;
            }
            while (n < 64 && x + n < end && px[x + n] == px[x]) ++n;
            if (n >= 3) {
                rows[y].insert(rows[y].end(), {Repeat(n), px[x]});
                continue;
            }
            for (n = 1; n < 64 && x + n < end && px[x + n] != transparency &&
                        !(x + n + 2 < end && px[x + n] == px[x + n + 1] && px[x + n] == px[x + n + 2]);)
                ++n;
            rows[y].push_back(Copy(n));
            rows[y].insert(rows[y].end(), px + x, px + x + n);
        }
    }
    return Rows(rows);
}

// Appends the frame's header and what it points at; gives the header's offset.
inline std::size_t PutFrame(std::vector<uint8_t>& out, const Frame& frame) {
    const std::size_t header = out.size();
    Append16(out, frame.Width), Append16(out, frame.Height);
    Append16(out, static_cast<uint16_t>(frame.X)), Append16(out, static_cast<uint16_t>(frame.Y));
    out.push_back(frame.Transparency), out.push_back(frame.Compression);
    Append16(out, static_cast<unsigned>(frame.Layers.size())), Append32(out, 0);
    Append32(out, static_cast<uint32_t>(header + 24)), Append32(out, 0);  // the data follows the header
    if (frame.Layers.empty()) {
        out.insert(out.end(), frame.Data.begin(), frame.Data.end());
        return header;
    }
    const std::size_t table = out.size();
    out.resize(out.size() + 4 * frame.Layers.size());
    for (std::size_t i = 0; i < frame.Layers.size(); ++i)
        Put32At(out, table + 4 * i, static_cast<uint32_t>(PutFrame(out, frame.Layers[i])));
    return header;
}

inline Layout Build(const std::vector<Entry>& entries) {
    Layout layout;
    auto& out = layout.Bytes;
    Append32(out, 0x00010100), Append32(out, static_cast<uint32_t>(entries.size())), Append32(out, 0);
    out.resize(out.size() + 4 * entries.size());
    std::vector<std::size_t> tables;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        layout.EntryOffsets.push_back(out.size());
        Put32At(out, 12 + 4 * e, static_cast<uint32_t>(out.size()));
        Append16(out, static_cast<unsigned>(entries[e].Frames.size())), Append16(out, entries[e].Unknown1);
        Append32(out, entries[e].Unknown2);
        std::string name = entries[e].Name;
        name.resize(32, '\0');
        out.insert(out.end(), name.begin(), name.end());
        tables.push_back(out.size());
        out.resize(out.size() + 8 * entries[e].Frames.size());
    }
    for (std::size_t e = 0; e < entries.size(); ++e) {
        layout.FrameHeaderOffsets.emplace_back();
        for (std::size_t k = 0; k < entries[e].Frames.size(); ++k) {
            const std::size_t header = PutFrame(out, entries[e].Frames[k]);
            Put32At(out, tables[e] + 8 * k, static_cast<uint32_t>(header));
            layout.FrameHeaderOffsets[e].push_back(header);
        }
    }
    return layout;
}

// A frame of raw pixels, and one of run-length rows holding the pixels.
inline Frame Raw(uint16_t width, uint16_t height, std::vector<uint8_t> pixels, int16_t x = 0, int16_t y = 0,
                 uint8_t transparency = 9) {
    return {width, height, x, y, transparency, 0, std::move(pixels)};
}
inline Frame Compressed(uint16_t width, uint16_t height, const std::vector<uint8_t>& pixels, int16_t x = 0,
                        int16_t y = 0, uint8_t transparency = 9) {
    return {width, height, x, y, transparency, 1, EncodeRows(pixels, width, height, transparency)};
}

// Valid files of every kind the reader takes, small enough for a fuzzer's seeds: the build-menu
// layout, run-length frames, layers (nested, clipped, compressed), several entries sharing a
// frame, and names with the code page's high bytes.
inline std::vector<std::pair<std::string, std::vector<uint8_t>>> Samples() {
    const auto picture = [](unsigned width, unsigned height, uint8_t transparency) {
        std::vector<uint8_t> px(std::size_t{width} * height);
        for (std::size_t k = 0; k < px.size(); ++k)
            px[k] = (k / 3 + k / width) % 4 == 0 ? transparency : static_cast<uint8_t>(k * 29 / 7);
        return px;
    };
    const Frame gadget = Raw(64, 64, picture(64, 64, 200)), runs = Compressed(40, 30, picture(40, 30, 9), 3, -2);
    Frame layered = Raw(32, 24, {}, 16, 12, 0);
    layered.Layers = {Compressed(20, 20, picture(20, 20, 9), 10, 10),
                      Raw(8, 8, picture(8, 8, 9), -4, 30),
                      {.Width = 6, .Height = 6, .Layers = {Compressed(4, 4, picture(4, 4, 9))}}};
    std::vector<std::pair<std::string, std::vector<uint8_t>>> samples{
        {"gadget.gaf", Build({{.Name = "ARMCAMP", .Frames = {gadget, gadget, gadget}}}).Bytes},
        {"runs.gaf", Build({{.Name = "FX", .Frames = {runs, Compressed(127, 2, picture(127, 2, 5), 0, 0, 5)}}}).Bytes},
        {"layers.gaf", Build({{.Name = "LAYERS", .Frames = {layered}}}).Bytes},
    };
    Layout shared = Build({{.Name = "\x80\x8A\x9F one", .Frames = {runs, Raw(3, 3, picture(3, 3, 9))}},
                           {.Name = "\x81two", .Frames = {Raw(1, 1, {7}), Raw(2, 2, {1, 2, 3, 4})}},
                           {.Name = ""}});
    Put32At(shared.Bytes, shared.EntryOffsets[1] + 40, static_cast<uint32_t>(shared.FrameHeaderOffsets[0][0]));
    samples.emplace_back("entries.gaf", std::move(shared.Bytes));
    return samples;
}

}  // namespace gafbuild
