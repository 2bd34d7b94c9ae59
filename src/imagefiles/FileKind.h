#pragma once
// What kind of picture file a file is, told by its first bytes, so that a reader refusing a file
// can say "a PNG file" rather than only "not a BMP file".

#include <cstdint>
#include <span>
#include <string_view>

namespace imagefiles {

enum class FileKind {
    Unknown,
    Bmp,   // "BM"
    Pcx,   // 0A: ZSoft's manufacturer byte, the weakest sign, tested last
    Png,   // 89 "PNG"
    Jpeg,  // FF D8 FF
    Gaf,   // 00 01 01 00: the game's version 0x00010100, little-endian
    // Kinds no reader here takes, told so that a refusal can name them.
    Gif,        // "GIF87a", "GIF89a"
    Tiff,       // "II*" 00, "MM" 00 "*"
    Photoshop,  // "8BPS"
    Qoi,        // "qoif"
    WebP,       // "RIFF", four bytes of size, "WEBP"
};

// The kind the first bytes of a file announce; Unknown when none of the signatures is there
// (also for too few bytes).
FileKind DetectFileKind(std::span<const uint8_t> start);

// "BMP", "PCX", "PNG", "JPEG", "GAF", "GIF", "TIFF", "Photoshop", "QOI", "WebP"; "unknown" for
// Unknown.
std::string_view FileKindName(FileKind kind);

}  // namespace imagefiles
