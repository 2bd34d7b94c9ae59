#include "imagefiles/FileKind.h"

#include <algorithm>
#include <array>

namespace imagefiles {

namespace {

struct Signature {
    FileKind Kind;
    std::array<uint8_t, 4> Bytes;
    std::size_t Length;
};

// Longer signatures first; PCX's single byte only when nothing else matched.
constexpr std::array<Signature, 5> kSignatures{{
    {FileKind::Png, {0x89, 'P', 'N', 'G'}, 4},
    {FileKind::Gaf, {0x00, 0x01, 0x01, 0x00}, 4},
    {FileKind::Jpeg, {0xFF, 0xD8, 0xFF, 0}, 3},
    {FileKind::Bmp, {'B', 'M', 0, 0}, 2},
    {FileKind::Pcx, {0x0A, 0, 0, 0}, 1},
}};

}  // namespace

FileKind DetectFileKind(std::span<const uint8_t> start) {
    for (const Signature& signature : kSignatures) {
        if (start.size() >= signature.Length &&
            std::equal(signature.Bytes.begin(), signature.Bytes.begin() + signature.Length, start.begin()))
            return signature.Kind;
    }
    return FileKind::Unknown;
}

std::string_view FileKindName(FileKind kind) {
    switch (kind) {
        case FileKind::Bmp: return "BMP";
        case FileKind::Pcx: return "PCX";
        case FileKind::Png: return "PNG";
        case FileKind::Jpeg: return "JPEG";
        case FileKind::Gaf: return "GAF";
        case FileKind::Unknown: break;
    }
    return "unknown";
}

}  // namespace imagefiles
