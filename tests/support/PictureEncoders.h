#pragma once
// PNG and JPEG files made in memory through the same libraries the import reads them with
// (libspng's encoder, TurboJPEG's compressor), for the import tests, the benchmarks and the fuzzer's
// seeds. Plain C++ without a test framework.

#include <spng.h>
#include <turbojpeg.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imagefiles/RgbaPicture.h"

namespace pictureencode {

struct PngLayout {
    uint32_t Width = 0, Height = 0;
    uint8_t ColourType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    uint8_t BitDepth = 8;
    bool Interlaced = false;
    std::vector<uint8_t> Samples{};                 // rows in the PNG's own packing, 16-bit samples in host order
    std::vector<std::array<uint8_t, 3>> Colours{};  // PLTE
    std::vector<uint8_t> PaletteAlphas{};           // tRNS for a palette picture
    std::array<uint16_t, 3> TransparentColour{};    // tRNS for grey (first value) or RGB pictures
    bool HasTransparentColour = false;
};

// The file, or nothing when the encoder refuses the layout.
inline std::vector<uint8_t> EncodePng(const PngLayout& layout) {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{layout.Width, layout.Height, layout.BitDepth, layout.ColourType, 0, 0, layout.Interlaced};
    int error = spng_set_ihdr(ctx, &header);
    spng_plte plte{};
    plte.n_entries = static_cast<uint32_t>(layout.Colours.size());
    for (std::size_t i = 0; i < layout.Colours.size(); ++i)
        plte.entries[i] = {layout.Colours[i][0], layout.Colours[i][1], layout.Colours[i][2], 255};
    if (!error && plte.n_entries) error = spng_set_plte(ctx, &plte);
    const auto& [red, green, blue] = layout.TransparentColour;  // grey: the first
    spng_trns trns{red, red, green, blue, static_cast<uint32_t>(layout.PaletteAlphas.size()), {}};
    std::copy(layout.PaletteAlphas.begin(), layout.PaletteAlphas.end(), trns.type3_alpha);
    if (!error && (trns.n_type3_entries || layout.HasTransparentColour)) error = spng_set_trns(ctx, &trns);
    if (!error)
        error =
            spng_encode_image(ctx, layout.Samples.data(), layout.Samples.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t length = 0;
    void* bytes = error ? nullptr : spng_get_png_buffer(ctx, &length, &error);
    std::vector<uint8_t> file(static_cast<uint8_t*>(bytes), static_cast<uint8_t*>(bytes) + (bytes ? length : 0));
    std::free(bytes);
    spng_ctx_free(ctx);
    return file;
}

// An 8-bit RGBA PNG of the picture.
inline std::vector<uint8_t> EncodeRgbaPng(const imagefiles::RgbaPicture& picture, bool interlaced = false) {
    return EncodePng({.Width = static_cast<uint32_t>(picture.Width),
                      .Height = static_cast<uint32_t>(picture.Height),
                      .Interlaced = interlaced,
                      .Samples = picture.Pixels});
}

// A JPEG of pixels in TurboJPEG pixel format pixelFormat (TJPF_RGB, TJPF_GRAY, TJPF_CMYK, ...).
inline std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& pixels, int width, int height, int pixelFormat,
                                       int subsampling, int quality, bool progressive = false) {
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    std::vector<uint8_t> file;
    if (tjCompress2(handle, pixels.data(), width, 0, height, pixelFormat, &buffer, &length, subsampling, quality,
                    progressive ? TJFLAG_PROGRESSIVE : 0) == 0)
        file.assign(buffer, buffer + length);
    tjFree(buffer);
    tjDestroy(handle);
    return file;
}

}  // namespace pictureencode
