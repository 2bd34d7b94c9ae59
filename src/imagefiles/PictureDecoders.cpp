// DecodePicture: the file's first bytes choose the decoder. Pictures of other kinds that people
// commonly try are named in the refusal, so the message can say what to convert.

#include "imagefiles/PictureDecoders.h"

#include <string>
#include <vector>

#include "imagefiles/ByteReader.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/FileKind.h"
#include "imagefiles/ReadLimits.h"
#include "imagefiles/modPCX.h"

namespace imagefiles {

namespace {

// The palette reader's picture, its indices turned into the colours of the file's own palette.
std::optional<RgbaPicture> DecodePcxColours(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels) {
    const ByteReader in(file);
    const auto xMin = in.U16(4);
    const auto yMin = in.U16(6);
    const auto xMax = in.U16(8);
    const auto yMax = in.U16(10);
    if (!xMin || !yMin || !xMax || !yMax) {
        Report(Why, FailureKind::Truncated, "the PCX header is cut short");
        return std::nullopt;
    }
    const int64_t width = int64_t{static_cast<int16_t>(*xMax)} - static_cast<int16_t>(*xMin) + 1;
    const int64_t height = int64_t{static_cast<int16_t>(*yMax)} - static_cast<int16_t>(*yMin) + 1;
    if (width > 0 && height > 0 && !PictureSizeAllowed(Why, width, height, maxPixels)) return std::nullopt;
    const auto decoded = modPCX::DecodePcx(file, Why);
    if (!decoded) return std::nullopt;
    return ColouredIndices(decoded->LastX + 1, decoded->LastY + 1, decoded->Pixels, decoded->Colours);
}

std::string WithThousands(int64_t value) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

RgbaPicture ColouredIndices(int32_t width, int32_t height, std::span<const uint8_t> indices, const Palette& colours) {
    RgbaPicture picture{width, height, std::vector<uint8_t>(indices.size() * 4)};
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const PaletteEntry& colour = colours[indices[i]];
        picture.Pixels[4 * i] = colour.Red;
        picture.Pixels[4 * i + 1] = colour.Green;
        picture.Pixels[4 * i + 2] = colour.Blue;
        picture.Pixels[4 * i + 3] = 255;
    }
    return picture;
}

void ReportTooManyPixels(FileFailure* Why, int64_t width, int64_t height, int64_t maxPixels) {
    constexpr int64_t kMi = int64_t{1} << 20;
    std::string limit = WithThousands(maxPixels) + " pixels";
    if (maxPixels % kMi == 0) limit = std::to_string(maxPixels / kMi) + " Mi pixels (" + WithThousands(maxPixels) + ")";
    std::string detail = "more than the limit of " + limit;
    if (width > 0 && height > 0) detail = std::to_string(width) + " x " + std::to_string(height) + " pixels, " + detail;
    Report(Why, FailureKind::TooManyPixels, detail);
}

bool PictureSizeAllowed(FileFailure* Why, int64_t width, int64_t height, int64_t maxPixels) {
    if (width * height > maxPixels) {
        ReportTooManyPixels(Why, width, height, maxPixels);
        return false;
    }
    if (width > kMaxImportSide || height > kMaxImportSide) {
        Report(Why, FailureKind::TooManyPixels,
               std::to_string(width) + " x " + std::to_string(height) + " pixels, a side longer than the limit of " +
                   std::to_string(kMaxImportSide));
        return false;
    }
    return true;
}

std::optional<RgbaPicture> DecodePicture(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels) {
    const FileKind kind = DetectFileKind(file);
    switch (kind) {
        case FileKind::Png: return DecodePng(file, Why, maxPixels);
        case FileKind::Jpeg: return DecodeJpeg(file, Why, maxPixels);
        case FileKind::Bmp: return DecodeTruecolourBmp(file, Why, maxPixels);
        case FileKind::Pcx: return DecodePcxColours(file, Why, maxPixels);
        case FileKind::Unknown: Report(Why, FailureKind::Unrecognised); return std::nullopt;
        default: Report(Why, FailureKind::OtherKind, std::string(FileKindName(kind))); return std::nullopt;
    }
}

std::optional<RgbaPicture> ReadPictureFile(const std::string& path, FileFailure* Why, int64_t maxPixels) {
    const auto bytes = filebytes::ReadFileBytes(path, kMaxReadBytes, Why);
    if (!bytes) return std::nullopt;
    return DecodePicture(*bytes, Why, maxPixels);
}

}  // namespace imagefiles
