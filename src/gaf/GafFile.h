#pragma once
// The game's GAF layout for a build-menu icon: one entry, three raw 64 x 64 frames.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imagefiles/ByteWriter.h"

namespace gaf {

constexpr uint32_t kVersion = 0x00010100;
constexpr int kEntryNameBytes = 32;  // the name field, always ending in a zero byte
constexpr int kMaxEntryNameChars = 31;
constexpr int kFrameSide = 64;
constexpr int kFramePixels = kFrameSide * kFrameSide;
constexpr uint8_t kTransparentIndex = 9;
constexpr std::size_t kGadgetFileSize = 12440;

using Frame = std::array<uint8_t, kFramePixels>;

// Writes one frame header (24 bytes, pointing at the pixels right behind it) and its pixels at
// the writer's current position.
void WriteGafFrame(imagefiles::ByteWriter& File, std::span<const uint8_t> Pixels, int16_t Width, int16_t Height);

// The whole 12,440-byte file. entryName holds the name's single-byte codes (already
// upper-cased); only its first 31 bytes are stored.
std::vector<uint8_t> BuildGadgetFile(std::string_view entryName, const std::array<Frame, 3>& frames);

}  // namespace gaf
