// DecodePng: PNG files through libspng, which checks every chunk's CRC and length, reports errors
// as return codes and never jumps out of our frames. Our own limits go in before the header is
// read, so a hostile file is refused from its IHDR, before the picture's memory is allocated.

#include <spng.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "imagefiles/PictureDecoders.h"

namespace imagefiles {

namespace {

// Text, colour profiles and other ancillary chunks are never needed here; these bound what a
// file can make the library hold on to. Image data chunks are streamed, not held.
constexpr std::size_t kMaxChunkBytes = std::size_t{4} * 1024 * 1024;  // may not exceed the cache limit
constexpr std::size_t kMaxChunkCacheBytes = std::size_t{8} * 1024 * 1024;

struct ContextDeleter {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

// Which limit a file over the chunk limits passed: a chunk stored larger than kMaxChunkBytes, or
// a compressed chunk that inflates past it (zTXt and iTXt text, an iCCP colour profile), which
// a small, valid file can hold.
std::string ChunkLimitText(std::span<const uint8_t> file) {
    const auto u32 = [&](std::size_t at) {
        return uint32_t{file[at]} << 24 | uint32_t{file[at + 1]} << 16 | uint32_t{file[at + 2]} << 8 | file[at + 3];
    };
    bool text = false, profile = false;
    for (std::size_t at = 8; at + 8 <= file.size();) {
        const uint32_t length = u32(at);
        const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               file.begin() + static_cast<std::ptrdiff_t>(at + 8));
        if (length > kMaxChunkBytes) return "a PNG chunk is larger than 4 MiB";
        text = text || type == "zTXt" || type == "iTXt";
        profile = profile || type == "iCCP";
        at += std::size_t{length} + 12;
    }
    if (text) return "a text chunk inflates past 4 MiB";
    if (profile) return "a colour profile inflates past 4 MiB";
    return "the PNG's extra chunks take more than 8 MiB";
}

void ReportSpngError(FileFailure* Why, int error, std::span<const uint8_t> file) {
    switch (error) {
        case SPNG_IO_EOF:
        case SPNG_EOF:
        case SPNG_EIDAT_TOO_SHORT:
            Report(Why, FailureKind::Truncated, std::string("PNG: ") + spng_strerror(error));
            return;
        case SPNG_ECHUNK_LIMITS: Report(Why, FailureKind::Unsupported, ChunkLimitText(file)); return;
        default: Report(Why, FailureKind::Malformed, std::string("PNG: ") + spng_strerror(error)); return;
    }
}

// Reduces 16-bit samples (host order, as libspng delivers them) to 8 bits in place, rounding to
// nearest: an 8-bit value stored as 16 bits (v x 257) comes back exactly.
void ReduceSixteenBitSamples(std::vector<uint8_t>& bytes) {
    const std::size_t samples = bytes.size() / 2;
    for (std::size_t i = 0; i < samples; ++i) {
        uint16_t value = 0;
        std::memcpy(&value, bytes.data() + 2 * i, sizeof value);
        bytes[i] = static_cast<uint8_t>((uint32_t{value} * 255u + 32767u) / 65535u);
    }
    bytes.resize(samples);
}

}  // namespace

std::optional<RgbaPicture> DecodePng(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels) {
    const Context ctx(spng_ctx_new(0));
    if (!ctx) {
        Report(Why, FailureKind::TooLarge, "no memory for the PNG decoder");
        return std::nullopt;
    }
    // One side may be as long as the whole pixel budget; the product is checked below.
    const auto sideLimit = static_cast<uint32_t>(std::min<int64_t>(maxPixels, INT32_MAX));
    int error = spng_set_image_limits(ctx.get(), sideLimit, sideLimit);
    if (!error) error = spng_set_chunk_limits(ctx.get(), kMaxChunkBytes, kMaxChunkCacheBytes);
    if (!error) error = spng_set_png_buffer(ctx.get(), file.data(), file.size());
    spng_ihdr header{};
    if (!error) error = spng_get_ihdr(ctx.get(), &header);
    if (error == SPNG_EUSER_WIDTH || error == SPNG_EUSER_HEIGHT) {
        ReportTooManyPixels(Why, 0, 0, maxPixels);
        return std::nullopt;
    }
    if (error) {
        ReportSpngError(Why, error, file);
        return std::nullopt;
    }
    const int64_t width = header.width;
    const int64_t height = header.height;
    if (!PictureSizeAllowed(Why, width, height, maxPixels)) return std::nullopt;

    const bool sixteenBits = header.bit_depth == 16;
    const int format = sixteenBits ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    std::size_t size = 0;
    error = spng_decoded_image_size(ctx.get(), format, &size);
    if (error) {
        ReportSpngError(Why, error, file);
        return std::nullopt;
    }
    RgbaPicture picture;
    picture.Width = static_cast<int32_t>(width);
    picture.Height = static_cast<int32_t>(height);
    picture.Pixels.resize(size);
    // SPNG_DECODE_TRNS turns a tRNS chunk (palette alphas or a transparent colour) into alpha.
    // No gamma correction: samples are taken as sRGB, as nearly every PNG writer means them.
    error = spng_decode_image(ctx.get(), picture.Pixels.data(), picture.Pixels.size(), format, SPNG_DECODE_TRNS);
    if (error) {
        ReportSpngError(Why, error, file);
        return std::nullopt;
    }
    if (sixteenBits) ReduceSixteenBitSamples(picture.Pixels);
    if (picture.Pixels.size() != static_cast<std::size_t>(width * height * 4)) {
        Report(Why, FailureKind::Malformed, "PNG: unexpected decoded size");
        return std::nullopt;
    }
    return picture;
}

}  // namespace imagefiles
