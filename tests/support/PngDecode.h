#pragma once
// Decodes a PNG file through libspng exactly as stored (indices for an indexed file), for tests
// that check what the writers put into the file.

#include <spng.h>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "imagefiles/PaletteEntry.h"

namespace pngdecode {

struct StoredPng {
    spng_ihdr Header{};
    std::vector<PaletteEntry> Colours;           // PLTE, with Reserved 0
    std::optional<std::vector<uint8_t>> Alphas;  // tRNS of an indexed file, when there is one
    std::vector<uint8_t> Pixels;                 // as stored, rows top first
};

inline std::optional<StoredPng> Decode(const std::vector<uint8_t>& file) {
    const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(0), spng_ctx_free);
    if (!ctx || spng_set_png_buffer(ctx.get(), file.data(), file.size()) != 0) return std::nullopt;
    StoredPng png;
    if (spng_get_ihdr(ctx.get(), &png.Header) != 0) return std::nullopt;
    spng_plte plte{};
    if (spng_get_plte(ctx.get(), &plte) == 0) {
        for (uint32_t i = 0; i < plte.n_entries; ++i)
            png.Colours.push_back({plte.entries[i].blue, plte.entries[i].green, plte.entries[i].red, 0});
    }
    spng_trns trns{};
    if (spng_get_trns(ctx.get(), &trns) == 0)
        png.Alphas.emplace(trns.type3_alpha, trns.type3_alpha + trns.n_type3_entries);
    std::size_t size = 0;
    if (spng_decoded_image_size(ctx.get(), SPNG_FMT_PNG, &size) != 0) return std::nullopt;
    png.Pixels.resize(size);
    if (spng_decode_image(ctx.get(), png.Pixels.data(), size, SPNG_FMT_PNG, 0) != 0) return std::nullopt;
    return png;
}

}  // namespace pngdecode
