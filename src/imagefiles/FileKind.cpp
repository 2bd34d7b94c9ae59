#include "imagefiles/FileKind.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace imagefiles {

namespace {

struct Signature {
    FileKind Kind;
    std::string_view Bytes;  // what the file starts with
};

// Longer signatures first; PCX's single byte only when nothing else matched.
constexpr std::array<Signature, 11> kSignatures{{
    {FileKind::Png, {"\x89PNG", 4}},
    {FileKind::Gaf, {"\x00\x01\x01\x00", 4}},
    {FileKind::Gif, "GIF87a"},
    {FileKind::Gif, "GIF89a"},
    {FileKind::Tiff, {"II*\0", 4}},
    {FileKind::Tiff, {"MM\0*", 4}},
    {FileKind::Photoshop, "8BPS"},
    {FileKind::Qoi, "qoif"},
    {FileKind::Jpeg, "\xFF\xD8\xFF"},
    {FileKind::Bmp, "BM"},
    {FileKind::Pcx, "\x0A"},
}};

bool StartsWith(std::span<const uint8_t> bytes, std::string_view start) {
    return bytes.size() >= start.size() &&
           std::equal(start.begin(), start.end(), bytes.begin(),
                      [](char expected, uint8_t actual) { return static_cast<uint8_t>(expected) == actual; });
}

}  // namespace

FileKind DetectFileKind(std::span<const uint8_t> start) {
    // A WebP file is a RIFF file whose form, after four bytes of size, is "WEBP".
    if (StartsWith(start, "RIFF") && start.size() >= 12 && StartsWith(start.subspan(8), "WEBP")) return FileKind::WebP;
    for (const Signature& signature : kSignatures)
        if (StartsWith(start, signature.Bytes)) return signature.Kind;
    return FileKind::Unknown;
}

std::string_view FileKindName(FileKind kind) {
    switch (kind) {
        case FileKind::Bmp: return "BMP";
        case FileKind::Pcx: return "PCX";
        case FileKind::Png: return "PNG";
        case FileKind::Jpeg: return "JPEG";
        case FileKind::Gaf: return "GAF";
        case FileKind::Gif: return "GIF";
        case FileKind::Tiff: return "TIFF";
        case FileKind::Photoshop: return "Photoshop";
        case FileKind::Qoi: return "QOI";
        case FileKind::WebP: return "WebP";
        case FileKind::Unknown: break;
    }
    return "unknown";
}

}  // namespace imagefiles
