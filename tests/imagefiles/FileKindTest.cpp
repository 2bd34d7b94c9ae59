// Telling a picture file's kind by its first bytes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imagefiles/FileKind.h"

using imagefiles::DetectFileKind;
using imagefiles::FileKind;

TEST(DetectFileKind, EachSignatureAndTheNearMisses) {
    const std::tuple<std::vector<uint8_t>, FileKind, std::string> cases[] = {
        {{'B', 'M', 0x36, 0x28}, FileKind::Bmp, "BMP"},
        {{0x0A, 5, 1, 8}, FileKind::Pcx, "PCX"},
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, FileKind::Png, "PNG"},
        {{0xFF, 0xD8, 0xFF, 0xE1}, FileKind::Jpeg, "JPEG"},
        {{0x00, 0x01, 0x01, 0x00, 1, 0, 0, 0}, FileKind::Gaf, "GAF"},
        {{'B', 'M'}, FileKind::Bmp, "BMP"},  // the signature alone is enough
        {{0x0A}, FileKind::Pcx, "PCX"},
        {{'B'}, FileKind::Unknown, "unknown"},
        {{}, FileKind::Unknown, "unknown"},
        {{0x89, 'P', 'N'}, FileKind::Unknown, "unknown"},  // cut short
        {{0x89, 'P', 'N', 'g'}, FileKind::Unknown, "unknown"},
        {{0xFF, 0xD8, 0xFE}, FileKind::Unknown, "unknown"},
        {{0x00, 0x01, 0x01}, FileKind::Unknown, "unknown"},
        {{0x00, 0x01, 0x02, 0x00}, FileKind::Unknown, "unknown"},
        {{'b', 'm'}, FileKind::Unknown, "unknown"},
        {{0x0B, 5}, FileKind::Unknown, "unknown"},
        {{'G', 'I', 'F', '8', '9', 'a', 1, 0}, FileKind::Gif, "GIF"},
        {{'G', 'I', 'F', '8', '7', 'a'}, FileKind::Gif, "GIF"},
        {{'G', 'I', 'F', '8', '8', 'a'}, FileKind::Unknown, "unknown"},
        {{'I', 'I', '*', 0}, FileKind::Tiff, "TIFF"},
        {{'M', 'M', 0, '*'}, FileKind::Tiff, "TIFF"},
        {{'8', 'B', 'P', 'S'}, FileKind::Photoshop, "Photoshop"},
        {{'q', 'o', 'i', 'f'}, FileKind::Qoi, "QOI"},
        {{'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'E', 'B', 'P'}, FileKind::WebP, "WebP"},
        {{'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'A', 'V', 'E'}, FileKind::Unknown, "unknown"},  // a sound
        {{'R', 'I', 'F', 'F', 1, 2, 3, 4, 'W', 'E', 'B'}, FileKind::Unknown, "unknown"},
    };
    for (const auto& [bytes, kind, name] : cases) {
        EXPECT_EQ(DetectFileKind(bytes), kind) << testing::PrintToString(bytes);
        EXPECT_EQ(imagefiles::FileKindName(DetectFileKind(bytes)), name) << testing::PrintToString(bytes);
    }
}
