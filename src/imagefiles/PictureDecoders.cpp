// DecodePicture: the file's first bytes choose the decoder. Pictures of other kinds that people
// commonly try are named in the refusal, so the message can say what to convert.

#include "imagefiles/PictureDecoders.h"

#include <array>
#include <filesystem>
#include <string_view>

#include "imagefiles/ByteReader.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/modPCX.h"

namespace imagefiles {

namespace {

// A 16 Mi-pixel picture stored without compression at 8 bytes per pixel, with room to spare.
constexpr std::size_t kMaxFileBytes = std::size_t{256} * 1024 * 1024;

bool StartsWith(std::span<const uint8_t> file, std::string_view signature) {
    if (file.size() < signature.size()) return false;
    for (std::size_t i = 0; i < signature.size(); ++i)
        if (file[i] != static_cast<uint8_t>(signature[i])) return false;
    return true;
}

constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1A\n", 8};
constexpr std::string_view kJpegSignature{"\xFF\xD8\xFF", 3};
constexpr uint8_t kPcxManufacturer = 10;  // ZSoft

// Kinds that are not taken, by their signatures.
struct OtherKind {
    std::string_view Signature;
    std::string_view Name;
};
constexpr std::array<OtherKind, 6> kOtherKinds{{
    {"GIF87a", "GIF"},
    {"GIF89a", "GIF"},
    {{"II*\0", 4}, "TIFF"},
    {{"MM\0*", 4}, "TIFF"},
    {"8BPS", "Photoshop"},
    {"qoif", "QOI"},
}};

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
    if (width > 0 && height > 0 && width * height > maxPixels) {
        ReportTooManyPixels(Why, width, height, maxPixels);
        return std::nullopt;
    }
    const auto decoded = modPCX::DecodePcx(file);
    if (!decoded) {
        Report(Why, FailureKind::Malformed, "a PCX file the reader cannot take (version 5, 256 colours)");
        return std::nullopt;
    }
    RgbaPicture picture;
    picture.Width = decoded->LastX + 1;
    picture.Height = decoded->LastY + 1;
    picture.Pixels.resize(decoded->Pixels.size() * 4);
    for (std::size_t i = 0; i < decoded->Pixels.size(); ++i) {
        const PaletteEntry& colour = decoded->Colours[decoded->Pixels[i]];
        picture.Pixels[4 * i] = colour.Red;
        picture.Pixels[4 * i + 1] = colour.Green;
        picture.Pixels[4 * i + 2] = colour.Blue;
        picture.Pixels[4 * i + 3] = 255;
    }
    return picture;
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

void ReportTooManyPixels(FileFailure* Why, int64_t width, int64_t height, int64_t maxPixels) {
    constexpr int64_t kMi = int64_t{1} << 20;
    std::string limit = WithThousands(maxPixels) + " pixels";
    if (maxPixels % kMi == 0) limit = std::to_string(maxPixels / kMi) + " Mi pixels (" + WithThousands(maxPixels) + ")";
    std::string detail = "more than the limit of " + limit;
    if (width > 0 && height > 0) detail = std::to_string(width) + " x " + std::to_string(height) + " pixels, " + detail;
    Report(Why, FailureKind::TooManyPixels, detail);
}

std::optional<RgbaPicture> DecodePicture(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels) {
    if (StartsWith(file, kPngSignature)) return DecodePng(file, Why, maxPixels);
    if (StartsWith(file, kJpegSignature)) return DecodeJpeg(file, Why, maxPixels);
    if (StartsWith(file, "BM")) return DecodeTruecolourBmp(file, Why, maxPixels);
    if (!file.empty() && file[0] == kPcxManufacturer) return DecodePcxColours(file, Why, maxPixels);
    for (const OtherKind& kind : kOtherKinds) {
        if (StartsWith(file, kind.Signature)) {
            Report(Why, FailureKind::OtherKind, std::string(kind.Name));
            return std::nullopt;
        }
    }
    if (StartsWith(file, "RIFF") && file.size() >= 12 && StartsWith(file.subspan(8), "WEBP")) {
        Report(Why, FailureKind::OtherKind, "WebP");
        return std::nullopt;
    }
    Report(Why, FailureKind::Unrecognised);
    return std::nullopt;
}

std::optional<RgbaPicture> ReadPictureFile(const std::string& path, FileFailure* Why, int64_t maxPixels) {
    const auto bytes = filebytes::ReadFileBytes(path, kMaxFileBytes);
    if (!bytes) {
        // The reader does not say why; a regular file above the limit is the one cause worth telling.
        std::error_code error;
        const bool large = std::filesystem::is_regular_file(path, error) &&
                           std::filesystem::file_size(path, error) > kMaxFileBytes && !error;
        if (large)
            Report(Why, FailureKind::TooLarge, "more than 256 MiB");
        else
            Report(Why, FailureKind::CannotOpen);
        return std::nullopt;
    }
    return DecodePicture(*bytes, Why, maxPixels);
}

}  // namespace imagefiles
