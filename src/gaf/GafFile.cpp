#include "gaf/GafFile.h"

#include <algorithm>
#include <cassert>

namespace gaf {

namespace {

// The fixed sizes of the pieces, front to back. Every offset the file stores follows from them.
constexpr std::size_t kFileHeaderBytes = 16;                    // version, entry count, reserved, entry offset
constexpr std::size_t kEntryHeaderBytes = 8 + kEntryNameBytes;  // frames, 1, reserved, name
constexpr std::size_t kFrameTableBytes = 3 * 8;                 // (frame header offset, reserved) per frame
constexpr std::size_t kFrameHeaderBytes = 24;
constexpr std::size_t kFrameBytes = kFrameHeaderBytes + kFramePixels;
constexpr std::size_t kFirstFrameOffset = kFileHeaderBytes + kEntryHeaderBytes + kFrameTableBytes;

static_assert(kFirstFrameOffset == 80);
static_assert(kFirstFrameOffset + 3 * kFrameBytes == kGadgetFileSize);

}  // namespace

void WriteGafFrame(imagefiles::ByteWriter& File, std::span<const uint8_t> Pixels, int16_t Width, int16_t Height) {
    const auto headerStart = static_cast<uint32_t>(File.Position());
    File.I16(Width);
    File.I16(Height);
    File.I16(0);  // x offset
    File.I16(0);  // y offset
    File.U8(kTransparentIndex);
    File.U8(0);   // raw pixels, no compression
    File.U16(0);  // no sub-frames
    File.U32(0);
    File.U32(headerStart + static_cast<uint32_t>(kFrameHeaderBytes));  // the pixels follow the header
    File.U32(0);
    File.Bytes(Pixels);
}

std::vector<uint8_t> BuildGadgetFile(std::string_view entryName, const std::array<Frame, 3>& frames) {
    imagefiles::ByteWriter file(kGadgetFileSize);

    file.U32(kVersion);
    file.U32(1);  // one entry
    file.U32(0);
    // The entry-offset table has one element; the entry starts right behind it.
    const auto entryOffset = static_cast<uint32_t>(file.Position() + 4);
    file.U32(entryOffset);
    assert(entryOffset == kFileHeaderBytes);

    assert(file.Position() == entryOffset);
    file.U16(3);  // frames
    file.U16(1);
    file.U32(0);
    const std::size_t storedChars = std::min<std::size_t>(entryName.size(), kMaxEntryNameChars);
    for (std::size_t i = 0; i < static_cast<std::size_t>(kEntryNameBytes); ++i)
        file.U8(i < storedChars ? static_cast<uint8_t>(entryName[i]) : 0);

    // Each frame header is followed by its pixels; the first one comes right after this table.
    const std::size_t firstFrame = file.Position() + kFrameTableBytes;
    assert(firstFrame == kFirstFrameOffset);
    for (std::size_t k = 0; k < frames.size(); ++k) {
        file.U32(static_cast<uint32_t>(firstFrame + k * kFrameBytes));
        file.U32(0);
    }

    for (std::size_t k = 0; k < frames.size(); ++k) {
        assert(file.Position() == firstFrame + k * kFrameBytes);
        WriteGafFrame(file, frames[k], kFrameSide, kFrameSide);
    }
    assert(file.Position() == kGadgetFileSize);
    return file.Release();
}

}  // namespace gaf
