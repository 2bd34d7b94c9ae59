#include "gaf/GafReader.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "gaf/ControlCharacters.h"
#include "gaf/GafFile.h"
#include "gaf/Windows1252.h"
#include "imagefiles/ByteReader.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/ReadLimits.h"

namespace gaf {

namespace {

using imagefiles::FailureKind;

constexpr uint64_t kFileHeaderBytes = 12;                    // version, entry count, a zero
constexpr uint64_t kEntryHeaderBytes = 8 + kEntryNameBytes;  // frame count, two unknowns, name
constexpr uint64_t kFrameTableEntryBytes = 8;                // frame header offset, unknown
constexpr uint64_t kFrameHeaderBytes = 24;
constexpr uint64_t kLayerOffsetBytes = 4;
// What the decoded file holds for each header, and more than a DecodedFrame or DecodedEntry
// takes, so that the budget bounds the memory of the result.
constexpr uint64_t kHeaderCost = 128;
static_assert(sizeof(DecodedFrame) <= kHeaderCost && sizeof(DecodedEntry) <= kHeaderCost);

constexpr uint8_t kRawPixels = 0;
constexpr uint8_t kRunLengthRows = 1;

std::string Hex32(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

struct FrameHeader {
    uint16_t Width = 0;
    uint16_t Height = 0;
    int16_t X = 0;
    int16_t Y = 0;
    uint8_t Transparency = 0;
    uint8_t Compression = 0;
    uint16_t Layers = 0;
    uint32_t Unknown1 = 0;
    uint32_t DataOffset = 0;
    uint32_t Unknown2 = 0;
};

class Decoder {
public:
    Decoder(std::span<const uint8_t> file, WorkBudget& budget) : file_(file), budget_(budget) {}

    std::optional<DecodedGaf> Decode();
    const imagefiles::FileFailure& Failure() const { return failure_; }

private:
    // Names the part being decoded for as long as it lives ("frame 2", "entry ARMCAMP").
    class Place {
    public:
        Place(std::vector<std::string>& places, std::string name) : places_(places) {
            places_.push_back(std::move(name));
        }
        ~Place() { places_.pop_back(); }
        Place(const Place&) = delete;
        Place& operator=(const Place&) = delete;
        void Rename(std::string name) { places_.back() = std::move(name); }

    private:
        std::vector<std::string>& places_;
    };

    // Records the reason (with the place, innermost first) and gives false for the caller to return.
    bool Fail(FailureKind kind, const std::string& what) {
        std::string where;
        for (auto place = places_.rbegin(); place != places_.rend(); ++place) {
            if (!where.empty()) where += " of ";
            where += *place;
        }
        failure_ = {kind, where.empty() ? what : where + ": " + what};
        return false;
    }

    bool Charge(uint64_t steps) {
        imagefiles::FileFailure refused;
        return budget_.ChargeSteps(steps, &refused) || Fail(refused.Kind, refused.Detail);
    }
    bool ChargeParts(uint64_t parts) {
        imagefiles::FileFailure refused;
        return budget_.ChargeParts(parts, &refused) || Fail(refused.Kind, refused.Detail);
    }

    // "<what> at offset 80 runs past the end of the file (100 bytes)"
    bool FailPastTheEnd(const std::string& what, uint64_t offset, bool plural = false) {
        return Fail(FailureKind::Truncated, what + " at offset " + std::to_string(offset) +
                                                (plural ? " run" : " runs") + " past the end of the file (" +
                                                std::to_string(file_.size()) + " bytes)");
    }

    bool DecodeEntry(uint64_t offset, std::size_t index, DecodedEntry& entry);
    bool DecodeFrame(uint64_t headerOffset, int depth, DecodedFrame& frame);
    bool ReadFrameHeader(uint64_t offset, FrameHeader& header);
    bool DecodeRawPixels(uint32_t dataOffset, DecodedFrame& frame);
    bool DecodeRows(uint32_t dataOffset, DecodedFrame& frame);
    bool DecodeRow(std::span<const uint8_t> row, uint16_t y, DecodedFrame& frame);
    bool DrawLayers(uint32_t tableOffset, int depth, DecodedFrame& frame);

    std::span<const uint8_t> file_;
    imagefiles::ByteReader reader_{file_};
    WorkBudget& budget_;
    const GafLimits& limits_ = budget_.Limits();
    std::vector<std::string> places_;
    std::vector<uint64_t> openFrames_;  // the header offsets of the frames being decoded, outermost first
    imagefiles::FileFailure failure_;
};

std::optional<DecodedGaf> Decoder::Decode() {
    const auto version = reader_.U32(0);
    if (!version) {
        Fail(FailureKind::Unrecognised, "not a GAF file: " + std::to_string(file_.size()) + " bytes are too few");
        return std::nullopt;
    }
    if (*version != kVersion) {
        Fail(FailureKind::Unrecognised,
             "not a GAF file: it starts with " + Hex32(*version) + ", not the version " + Hex32(kVersion));
        return std::nullopt;
    }
    if (!reader_.Has(0, kFileHeaderBytes)) {
        Fail(FailureKind::Truncated, "the file ends inside its header");
        return std::nullopt;
    }
    const uint32_t entryCount = *reader_.U32(4);
    if (!reader_.Has(kFileHeaderBytes, uint64_t{entryCount} * 4)) {
        FailPastTheEnd("the offsets of its " + std::to_string(entryCount) + " entries", kFileHeaderBytes, true);
        return std::nullopt;
    }

    if (!ChargeParts(entryCount)) return std::nullopt;
    DecodedGaf gaf;
    for (uint32_t i = 0; i < entryCount; ++i) {
        DecodedEntry entry;
        if (!DecodeEntry(*reader_.U32(kFileHeaderBytes + uint64_t{i} * 4), i, entry)) return std::nullopt;
        gaf.Entries.push_back(std::move(entry));
    }
    return gaf;
}

bool Decoder::DecodeEntry(uint64_t offset, std::size_t index, DecodedEntry& entry) {
    Place place(places_, "entry " + std::to_string(index));
    if (!reader_.Has(offset, kEntryHeaderBytes)) return FailPastTheEnd("its header", offset);
    if (!Charge(kHeaderCost)) return false;
    const uint16_t frameCount = *reader_.U16(offset);
    entry.Unknown1 = *reader_.U16(offset + 2);
    entry.Unknown2 = *reader_.U32(offset + 4);
    const auto nameField = *reader_.Bytes(offset + 8, kEntryNameBytes);
    const auto nameEnd = std::find(nameField.begin(), nameField.end(), uint8_t{0});
    entry.Name = windows1252::ToUtf8(std::string(nameField.begin(), nameEnd));
    if (!entry.Name.empty() && !HasControlCharacter(entry.Name)) place.Rename("entry " + entry.Name);

    const uint64_t table = offset + kEntryHeaderBytes;
    if (!reader_.Has(table, uint64_t{frameCount} * kFrameTableEntryBytes)) {
        return FailPastTheEnd("the offsets of its " + std::to_string(frameCount) + " frames", table, true);
    }
    if (!ChargeParts(frameCount)) return false;
    for (uint16_t k = 0; k < frameCount; ++k) {
        Place framePlace(places_, "frame " + std::to_string(k));
        DecodedFrame frame;
        if (!DecodeFrame(*reader_.U32(table + uint64_t{k} * kFrameTableEntryBytes), 0, frame)) return false;
        entry.Frames.push_back(std::move(frame));
    }
    return true;
}

bool Decoder::ReadFrameHeader(uint64_t offset, FrameHeader& header) {
    if (!reader_.Has(offset, kFrameHeaderBytes)) return FailPastTheEnd("its header", offset);
    header.Width = *reader_.U16(offset);
    header.Height = *reader_.U16(offset + 2);
    header.X = static_cast<int16_t>(*reader_.U16(offset + 4));
    header.Y = static_cast<int16_t>(*reader_.U16(offset + 6));
    header.Transparency = *reader_.U8(offset + 8);
    header.Compression = *reader_.U8(offset + 9);
    header.Layers = *reader_.U16(offset + 10);
    header.Unknown1 = *reader_.U32(offset + 12);
    header.DataOffset = *reader_.U32(offset + 16);
    header.Unknown2 = *reader_.U32(offset + 20);
    return true;
}

bool Decoder::DecodeFrame(uint64_t headerOffset, int depth, DecodedFrame& frame) {
    FrameHeader header;
    if (!ReadFrameHeader(headerOffset, header)) return false;
    if (!Charge(kHeaderCost)) return false;
    frame.Width = header.Width;
    frame.Height = header.Height;
    frame.X = header.X;
    frame.Y = header.Y;
    frame.Transparency = header.Transparency;
    frame.Compression = header.Compression;
    frame.Layers = header.Layers;
    frame.Unknown1 = header.Unknown1;
    frame.Unknown2 = header.Unknown2;

    if (header.Width == 0 || header.Height == 0) {
        return Fail(FailureKind::Malformed,
                    "a frame of " + std::to_string(header.Width) + " x " + std::to_string(header.Height) + " pixels");
    }
    const uint64_t pixels = uint64_t{header.Width} * header.Height;
    if (pixels > limits_.MaxFramePixels) {
        return Fail(FailureKind::TooManyPixels, std::to_string(header.Width) + " x " + std::to_string(header.Height) +
                                                    " pixels, more than the " + CountText(limits_.MaxFramePixels) +
                                                    " a frame may have");
    }
    if (!Charge(pixels)) return false;

    openFrames_.push_back(headerOffset);
    bool decoded = false;
    if (header.Layers != 0) {
        decoded = DrawLayers(header.DataOffset, depth, frame);
    } else if (header.Compression == kRawPixels) {
        decoded = DecodeRawPixels(header.DataOffset, frame);
    } else if (header.Compression == kRunLengthRows) {
        decoded = DecodeRows(header.DataOffset, frame);
    } else {
        decoded = Fail(FailureKind::Unsupported, "compression " + std::to_string(header.Compression) +
                                                     " (known: 0, raw pixels, and 1, run-length rows)");
    }
    openFrames_.pop_back();
    return decoded;
}

bool Decoder::DecodeRawPixels(uint32_t dataOffset, DecodedFrame& frame) {
    const uint64_t count = uint64_t{frame.Width} * frame.Height;
    const auto pixels = reader_.Bytes(dataOffset, count);
    if (!pixels) return FailPastTheEnd("its " + std::to_string(count) + " pixels", dataOffset, true);
    frame.Pixels.assign(pixels->begin(), pixels->end());
    return true;
}

bool Decoder::DecodeRows(uint32_t dataOffset, DecodedFrame& frame) {
    frame.Pixels.assign(std::size_t{frame.Width} * frame.Height, frame.Transparency);
    uint64_t position = dataOffset;
    for (uint16_t y = 0; y < frame.Height; ++y) {
        const auto rowBytes = reader_.U16(position);
        if (!rowBytes) return FailPastTheEnd("row " + std::to_string(y) + ": its byte count", position);
        const auto row = reader_.Bytes(position + 2, *rowBytes);
        if (!row) {
            return FailPastTheEnd("row " + std::to_string(y) + ": its " + std::to_string(*rowBytes) + " bytes",
                                  position + 2, true);
        }
        if (!Charge(2 + uint64_t{*rowBytes}) || !DecodeRow(*row, y, frame)) return false;
        position += 2 + uint64_t{*rowBytes};
    }
    return true;
}

// A control byte b: b & 1, (b >> 1) transparent pixels; else b & 2, the next byte (b >> 2) + 1
// times; else the next (b >> 2) + 1 bytes as they are. The row's pixels start transparent, so
// a skip and the pixels after the last packet need no writing.
bool Decoder::DecodeRow(std::span<const uint8_t> row, uint16_t y, DecodedFrame& frame) {
    const std::size_t width = frame.Width;
    uint8_t* const pixels = frame.Pixels.data() + std::size_t{y} * width;
    const auto pastWidth = [&] {
        return Fail(FailureKind::Malformed, "row " + std::to_string(y) + ": a packet runs past the row's width");
    };
    const auto pastBytes = [&] {
        return Fail(FailureKind::Malformed, "row " + std::to_string(y) + ": a packet runs past the row's byte count");
    };
    std::size_t x = 0;
    std::size_t next = 0;
    while (next < row.size()) {
        const uint8_t control = row[next++];
        if (control & 1) {
            const std::size_t count = control >> 1;
            if (count > width - x) return pastWidth();
            x += count;
        } else if (control & 2) {
            const std::size_t count = (control >> 2) + 1;
            if (count > width - x) return pastWidth();
            if (next >= row.size()) return pastBytes();
            std::fill_n(pixels + x, count, row[next++]);
            x += count;
        } else {
            const std::size_t count = (control >> 2) + 1;
            if (count > width - x) return pastWidth();
            if (count > row.size() - next) return pastBytes();
            std::copy_n(row.begin() + static_cast<std::ptrdiff_t>(next), count, pixels + x);
            next += count;
            x += count;
        }
    }
    return true;
}

// Each layer is placed with its origin on the frame's origin: layer pixel (px, py) lands on
// frame pixel (px - layer.X + frame.X, py - layer.Y + frame.Y). A layer's transparent pixels
// leave what lies beneath; whatever falls outside the frame is cut off.
bool Decoder::DrawLayers(uint32_t tableOffset, int depth, DecodedFrame& frame) {
    if (depth >= limits_.MaxLayerDepth) {
        return Fail(FailureKind::Unsupported,
                    "layers nested more than " + std::to_string(limits_.MaxLayerDepth) + " deep");
    }
    const uint64_t tableBytes = uint64_t{frame.Layers} * kLayerOffsetBytes;
    if (!reader_.Has(tableOffset, tableBytes)) {
        return FailPastTheEnd("the offsets of its " + std::to_string(frame.Layers) + " layers", tableOffset, true);
    }
    if (!Charge(tableBytes) || !ChargeParts(frame.Layers)) return false;

    const int32_t width = frame.Width;
    const int32_t height = frame.Height;
    frame.Pixels.assign(std::size_t{frame.Width} * frame.Height, frame.Transparency);
    for (uint16_t i = 0; i < frame.Layers; ++i) {
        Place place(places_, "layer " + std::to_string(i));
        const uint32_t layerOffset = *reader_.U32(tableOffset + uint64_t{i} * kLayerOffsetBytes);
        if (std::find(openFrames_.begin(), openFrames_.end(), layerOffset) != openFrames_.end()) {
            return Fail(FailureKind::Malformed, "the layer at offset " + std::to_string(layerOffset) +
                                                    " is the frame itself or a frame that holds it");
        }
        DecodedFrame layer;
        if (!DecodeFrame(layerOffset, depth + 1, layer)) return false;

        const int32_t shiftX = int32_t{frame.X} - layer.X;
        const int32_t shiftY = int32_t{frame.Y} - layer.Y;
        // Only the layer's rows and columns that land inside the frame are visited.
        const int32_t firstX = std::max(0, -shiftX), lastX = std::min<int32_t>(layer.Width, width - shiftX);
        const int32_t firstY = std::max(0, -shiftY), lastY = std::min<int32_t>(layer.Height, height - shiftY);
        for (int32_t py = firstY; py < lastY; ++py) {
            const uint8_t* source = layer.Pixels.data() + static_cast<std::size_t>(py) * layer.Width;
            uint8_t* target = frame.Pixels.data() + static_cast<std::size_t>(py + shiftY) * frame.Width;
            for (int32_t px = firstX; px < lastX; ++px) {
                if (source[px] != layer.Transparency) target[px + shiftX] = source[px];
            }
        }
    }
    return true;
}

}  // namespace

std::optional<DecodedGaf> DecodeGaf(std::span<const uint8_t> file, imagefiles::FileFailure* Why, WorkBudget& Budget) {
    Decoder decoder(file, Budget);
    auto decoded = decoder.Decode();
    if (!decoded && Why) *Why = decoder.Failure();
    return decoded;
}

std::optional<DecodedGaf> DecodeGaf(std::span<const uint8_t> file, imagefiles::FileFailure* Why,
                                    const GafLimits& Limits) {
    WorkBudget budget(Limits);
    return DecodeGaf(file, Why, budget);
}

std::optional<DecodedGaf> ReadGafFile(const std::string& Filename, imagefiles::FileFailure* Why, WorkBudget& Budget) {
    const auto bytes = filebytes::ReadFileBytes(Filename, imagefiles::kMaxReadBytes, Why);
    if (!bytes) return std::nullopt;
    return DecodeGaf(*bytes, Why, Budget);
}

std::optional<DecodedGaf> ReadGafFile(const std::string& Filename, imagefiles::FileFailure* Why) {
    WorkBudget budget;
    return ReadGafFile(Filename, Why, budget);
}

}  // namespace gaf
