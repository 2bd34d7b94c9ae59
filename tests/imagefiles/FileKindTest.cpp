// Telling a picture file's kind by its first bytes.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "imagefiles/FileKind.h"

using namespace std::literals;

// Each signature, alone (enough), and cut short or changed by one byte (not enough); the kind
// is checked through its name, which differs for every kind.
TEST(DetectFileKind, EachSignatureAndTheNearMisses) {
    // clang-format off
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"BM"sv, "BMP"}, {"\x0A"sv, "PCX"}, {"\x89PNG\r\n\x1A\n"sv, "PNG"}, {"\xFF\xD8\xFF\xE1"sv, "JPEG"},
        {"\0\x01\x01\0\x01\0\0\0"sv, "GAF"}, {"GIF87a"sv, "GIF"}, {"II*\0"sv, "TIFF"}, {"MM\0*"sv, "TIFF"},
        {"8BPS"sv, "Photoshop"}, {"qoif"sv, "QOI"}, {"RIFF\x01\x02\x03\x04WEBP"sv, "WebP"},
        {""sv, "unknown"}, {"B"sv, "unknown"}, {"\x89PNg"sv, "unknown"}, {"\xFF\xD8\xFE"sv, "unknown"},
        {"\0\x01\x02\0"sv, "unknown"}, {"GIF88a"sv, "unknown"}, {"RIFF\x01\x02\x03\x04WAVE"sv, "unknown"}};
    // clang-format on
    for (const auto& [text, name] : cases) {
        const std::vector<uint8_t> bytes(text.begin(), text.end());
        EXPECT_EQ(imagefiles::FileKindName(imagefiles::DetectFileKind(bytes)), name) << testing::PrintToString(bytes);
    }
}
