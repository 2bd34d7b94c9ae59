// The PCX module's state (the last decoded picture), the decoding of a file held in memory, and
// loading a file into the state.

#include "imagefiles/modPCX.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "imagefiles/ByteReader.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/FileKind.h"
#include "imagefiles/ReadLimits.h"

namespace modPCX {

namespace {

using imagefiles::ByteReader;
using imagefiles::FailureKind;
using imagefiles::FileFailure;
using imagefiles::Report;

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteBlockSize = 769;  // marker byte + 256 x (red, green, blue)
constexpr uint8_t kManufacturer = 0x0A;
constexpr uint8_t kPaletteMarker = 12;
constexpr uint8_t kAcceptedVersion = 5;
constexpr uint8_t kRunFlags = 0xC0;
constexpr uint8_t kRunCountMask = 0x3F;
constexpr int64_t kLongestRun = 63;

// The most pixels that dataBytes bytes of run-length packets can describe: every two bytes a
// run of 63, and one more pixel for an odd byte left over.
int64_t MostPixelsIn(std::size_t dataBytes) {
    const auto bytes = static_cast<int64_t>(dataBytes);
    return (bytes / 2) * kLongestRun + bytes % 2;
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
// the pixels are one continuous sequence of rows. Nothing when the packets end before the
// picture is full, Malformed when a run would go past the last pixel.
bool DecodePackets(const ByteReader& data, std::vector<uint8_t>& pixels, FileFailure* Why) {
    uint64_t next = 0;
    std::size_t stored = 0;
    while (stored < pixels.size()) {
        const auto packet = data.U8(next++);
        if (!packet) {
            Report(Why, FailureKind::Truncated, "the pixel data");
            return false;
        }
        std::size_t count = 1;
        uint8_t value = *packet;
        if ((*packet & kRunFlags) == kRunFlags) {
            const auto runValue = data.U8(next++);
            if (!runValue) {
                Report(Why, FailureKind::Truncated, "the pixel data");
                return false;
            }
            count = *packet & kRunCountMask;
            value = *runValue;
        }
        if (count > pixels.size() - stored) {
            Report(Why, FailureKind::Malformed, "a run goes past the last pixel");
            return false;
        }
        for (std::size_t k = 0; k < count; ++k) pixels[stored++] = value;
    }
    return true;
}

// Why a file whose version is not 5 is refused: it may be a picture of another kind.
void ReportVersion(const ByteReader& in, FileFailure* Why) {
    const auto manufacturer = in.U8(0);
    const auto version = in.U8(1);
    if (manufacturer && *manufacturer == kManufacturer && version) {
        Report(Why, FailureKind::Unsupported, "PCX version " + std::to_string(*version));
        return;
    }
    const imagefiles::FileKind kind = imagefiles::DetectFileKind(in.Bytes(0, std::min<uint64_t>(in.size(), 4)).value());
    if (kind == imagefiles::FileKind::Unknown || kind == imagefiles::FileKind::Pcx)
        Report(Why, FailureKind::Unrecognised);
    else
        Report(Why, FailureKind::OtherKind, std::string(imagefiles::FileKindName(kind)));
}

// The last picture read successfully, replaced only by a read that succeeds.
DecodedPcx& State() {
    static DecodedPcx state;
    return state;
}

}  // namespace

std::optional<DecodedPcx> DecodePcx(std::span<const uint8_t> file, FileFailure* Why) {
    const ByteReader in(file);
    // The header and the palette block must both fit without overlapping; a file shorter
    // than that has no pixel data at all and so cannot describe even one pixel.
    if (!in.Has(0, kHeaderSize + kPaletteBlockSize)) {
        if (in.U8(0) == kManufacturer && in.U8(1) == kAcceptedVersion)
            Report(Why, FailureKind::Truncated, "the palette");
        else
            ReportVersion(in, Why);
        return std::nullopt;
    }
    if (*in.U8(1) != kAcceptedVersion) {
        ReportVersion(in, Why);
        return std::nullopt;
    }

    const int32_t xMin = *in.I16(4);
    const int32_t yMin = *in.I16(6);
    const int32_t xMax = *in.I16(8);
    const int32_t yMax = *in.I16(10);
    if (xMax < xMin || yMax < yMin) {
        Report(Why, FailureKind::Malformed, "the picture ends before it starts");
        return std::nullopt;
    }

    // The palette is found from the end of the file, never by following the pixel data.
    const std::size_t paletteStart = file.size() - kPaletteBlockSize;
    if (*in.U8(paletteStart) != kPaletteMarker) {
        Report(Why, FailureKind::Malformed, "no palette marker before the last 768 bytes");
        return std::nullopt;
    }

    // Pixel data lies between the header and the palette; the palette is never read as pixels.
    const ByteReader data(*in.Bytes(kHeaderSize, paletteStart - kHeaderSize));
    const int64_t width = int64_t{xMax} - xMin + 1;
    const int64_t height = int64_t{yMax} - yMin + 1;
    const int64_t pixelCount = width * height;
    if (pixelCount > imagefiles::kMaxPicturePixels) {
        Report(Why, FailureKind::TooManyPixels, "more than " + std::to_string(imagefiles::kMaxPicturePixels));
        return std::nullopt;
    }
    if (pixelCount > MostPixelsIn(data.size())) {
        Report(Why, FailureKind::Truncated, "the pixel data");
        return std::nullopt;
    }

    DecodedPcx decoded;
    decoded.LastX = xMax - xMin;
    decoded.LastY = yMax - yMin;
    decoded.Colours = ReadPalette(*in.Bytes(paletteStart + 1, kPaletteBlockSize - 1));
    decoded.Pixels.resize(static_cast<std::size_t>(pixelCount));
    if (!DecodePackets(data, decoded.Pixels, Why)) return std::nullopt;
    return decoded;
}

const std::vector<uint8_t>& PcxPixels() { return State().Pixels; }
int32_t PcxLastX() { return State().LastX; }
int32_t PcxLastY() { return State().LastY; }
const Palette& PcxPalette() { return State().Colours; }

bool LoadPCXFile(const std::string& Filename, FileFailure* Why) {
    // The palette sits at the end of the file, so this reader needs the whole file.
    const auto bytes = filebytes::ReadFileBytes(Filename, imagefiles::kMaxReadBytes, Why);
    if (!bytes) return false;
    auto decoded = DecodePcx(*bytes, Why);
    if (!decoded) return false;
    State() = std::move(*decoded);
    return true;
}

}  // namespace modPCX
