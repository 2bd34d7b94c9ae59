#include "imagefiles/PngWriter.h"

#include <spng.h>
#include <cstdlib>
#include <memory>

#include "imagefiles/FileBytes.h"

namespace modPNG {

namespace {

constexpr uint8_t kBitDepth = 8;
// PNG allows sides up to 2^31 - 1, but no picture of ours comes near this; the cap keeps the
// row size and the pixel count far from any overflow.
constexpr int32_t kLargestSide = 1 << 16;

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

struct BufferDeleter {
    void operator()(void* buffer) const { std::free(buffer); }
};

spng_plte PlteOf(const Palette& Palette) {
    spng_plte plte{};
    plte.n_entries = static_cast<uint32_t>(Palette.size());
    for (std::size_t i = 0; i < Palette.size(); ++i) {
        plte.entries[i].red = Palette[i].Red;
        plte.entries[i].green = Palette[i].Green;
        plte.entries[i].blue = Palette[i].Blue;
    }
    return plte;
}

// An indexed picture's tRNS lists alphas for the first entries only; the entries behind the list
// are opaque, so it ends at the transparent one.
spng_trns TrnsFor(uint8_t transparentIndex) {
    spng_trns trns{};
    trns.n_type3_entries = static_cast<uint32_t>(transparentIndex) + 1;
    for (uint32_t i = 0; i < trns.n_type3_entries; ++i) trns.type3_alpha[i] = 0xFF;
    trns.type3_alpha[transparentIndex] = 0;
    return trns;
}

}  // namespace

std::vector<uint8_t> EncodePng(std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width, int32_t Height,
                               std::optional<uint8_t> TransparentIndex) {
    if (Width < 1 || Height < 1 || Width > kLargestSide || Height > kLargestSide) return {};
    const std::size_t pixelCount = static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height);
    if (Pixels.size() < pixelCount) return {};

    const Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) return {};
    spng_ctx* ctx = context.get();
    if (spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1) != 0) return {};

    spng_ihdr ihdr{};
    ihdr.width = static_cast<uint32_t>(Width);
    ihdr.height = static_cast<uint32_t>(Height);
    ihdr.bit_depth = kBitDepth;
    ihdr.color_type = SPNG_COLOR_TYPE_INDEXED;
    if (spng_set_ihdr(ctx, &ihdr) != 0) return {};
    spng_plte plte = PlteOf(Palette);
    if (spng_set_plte(ctx, &plte) != 0) return {};
    if (TransparentIndex) {
        spng_trns trns = TrnsFor(*TransparentIndex);
        if (spng_set_trns(ctx, &trns) != 0) return {};
    }
    if (spng_encode_image(ctx, Pixels.data(), pixelCount, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0) return {};

    std::size_t length = 0;
    int error = 0;
    const std::unique_ptr<void, BufferDeleter> buffer(spng_get_png_buffer(ctx, &length, &error));
    if (!buffer || error != 0) return {};
    const auto* bytes = static_cast<const uint8_t*>(buffer.get());
    return std::vector<uint8_t>(bytes, bytes + length);
}

bool WritePNGFile(const std::string& Filename, std::span<const uint8_t> Pixels, const Palette& Palette, int32_t Width,
                  int32_t Height, std::optional<uint8_t> TransparentIndex, imagefiles::FileFailure* Why) {
    const std::vector<uint8_t> bytes = EncodePng(Pixels, Palette, Width, Height, TransparentIndex);
    if (bytes.empty()) {
        imagefiles::Report(Why, imagefiles::FailureKind::CannotWrite, "the PNG encoder failed");
        return false;
    }
    return filebytes::WriteFileAtomically(Filename, bytes, Why);
}

}  // namespace modPNG
