// libFuzzer target for the whole import road: any byte sequence is decoded (PNG, JPEG, BMP or PCX
// by its first bytes), fitted and mapped onto the game palette, or refused with a reason; never a
// crash, an out-of-bounds access or an oversized allocation (run with -malloc_limit_mb). The
// pixel limit is lowered so that a valid picture's own buffers stay within the allocation limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imagefiles/PictureDecoders.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool paletteReady = (modPalettes::InitGamePalette(), true);
    (void)paletteReady;
    constexpr int64_t kFuzzPixels = int64_t{1} << 20;
    imagefiles::FileFailure why;
    const auto picture = imagefiles::DecodePicture(std::span<const uint8_t>(data, size), &why, kFuzzPixels);
    if (!picture) {
        if (why.Detail.size() > 4096) std::abort();  // a reason, not a dump
        return 0;
    }
    if (picture->Width <= 0 || picture->Height <= 0 ||
        picture->Pixels.size() !=
            static_cast<std::size_t>(picture->Width) * static_cast<std::size_t>(picture->Height) * 4)
        std::abort();
    // The settings come from the file's last byte, so every mode gets its share.
    import::ImportSettings settings;
    const uint8_t choice = size > 0 ? data[size - 1] : 0;
    settings.Fit = static_cast<import::FitMode>(choice & 3);
    settings.Trim = (choice & 4) != 0;
    settings.Match = (choice & 8) ? import::MatchRule::Perceptual : import::MatchRule::Rgb;
    settings.Dither = (choice & 16) ? import::DitherMode::FloydSteinberg : import::DitherMode::None;
    if (choice & 32) settings.Avoid.set(0).set(255);
    settings.Strict = (choice & 64) != 0;
    const auto result = import::ImportDecoded(*picture, settings, modPalettes::GamePalette, &why);
    if (result) {
        for (uint8_t index : result->Indices)
            if (settings.Avoid[index]) std::abort();
        if (result->Report.ExactPixels < 0 || result->Report.ExactPixels > kPicturePixels) std::abort();
    }
    return 0;
}
