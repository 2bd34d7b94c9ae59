#pragma once
// Reading the game's GAF files in general, not only build-menu icons: any number of entries,
// frames of any size, raw pixels or the game's run-length rows, frames drawn from layers.
//
// The file is hostile until proven otherwise. Every offset and size is checked against the file
// before it is followed, and a malformed file gives a reason, never a crash, a hang or a huge
// allocation. What keeps a small file from asking for much (GafLimits holds the numbers, and
// WorkBudget, which an extraction goes on charging, keeps the account):
// - at most MaxParts entries and frames are visited (256 Ki), charged by the counts the file
//   gives before any of them is decoded;
// - a frame or layer has at most MaxFramePixels pixels (16 Mi, e.g. 4096 x 4096);
// - the whole decoding has a budget of MaxWork steps (256 Mi): every frame and layer costs one
//   step per pixel, one per byte of run-length data or layer table it reads and 128 for its
//   header, and every entry 128 for its header. A frame or entry that several offsets share is
//   decoded, and paid for, once per offset. The budget is charged before anything is allocated,
//   so the decoded file never holds more than MaxWork bytes, and the time spent is in
//   proportion to it;
// - layers may hold layers, at most MaxLayerDepth deep (8); a layer that is its own frame or
//   one of the frames containing it is refused.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gaf/WorkBudget.h"
#include "imagefiles/FileFailure.h"

namespace gaf {

struct DecodedFrame {
    uint16_t Width = 0;
    uint16_t Height = 0;
    int16_t X = 0;  // where the frame's origin lies inside its own picture
    int16_t Y = 0;
    uint8_t Transparency = 0;     // the index that stands for a transparent pixel
    uint8_t Compression = 0;      // as stored: 0 raw pixels, 1 run-length rows
    uint16_t Layers = 0;          // the sub-frame count: layers drawn into this frame, or 0
    uint32_t Unknown1 = 0;        // the 32-bit field after the sub-frame count
    uint32_t Unknown2 = 0;        // the 32-bit field after the data offset
    std::vector<uint8_t> Pixels;  // Width x Height indices, top row first, layers drawn
};

struct DecodedEntry {
    std::string Name;       // UTF-8, decoded from Windows-1252 and cut at the first zero byte
    uint16_t Unknown1 = 0;  // the 16-bit field after the frame count
    uint32_t Unknown2 = 0;  // the 32-bit field after it
    std::vector<DecodedFrame> Frames;
};

struct DecodedGaf {
    std::vector<DecodedEntry> Entries;
};

// Decodes a whole GAF file held in memory, every frame with its layers drawn. Nothing, with the
// reason in Why (which may be null), when the file is not a GAF file of version 0x00010100 or
// anything in it is out of place. Reasons name the place, e.g. "frame 2 of entry ARMCAMP: row
// 7: a packet runs past the row's width".
std::optional<DecodedGaf> DecodeGaf(std::span<const uint8_t> file, imagefiles::FileFailure* Why = nullptr,
                                    const GafLimits& Limits = {});
std::optional<DecodedGaf> DecodeGaf(std::span<const uint8_t> file, imagefiles::FileFailure* Why, WorkBudget& Budget);

// Reads and decodes Filename (at most 256 MiB). A file that cannot be read gives the reader's
// reason (CannotOpen or TooLarge, with the system's words).
std::optional<DecodedGaf> ReadGafFile(const std::string& Filename, imagefiles::FileFailure* Why = nullptr);
std::optional<DecodedGaf> ReadGafFile(const std::string& Filename, imagefiles::FileFailure* Why, WorkBudget& Budget);

}  // namespace gaf
