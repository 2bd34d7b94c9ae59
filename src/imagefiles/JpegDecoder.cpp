// DecodeJpeg: JPEG files through TurboJPEG. The library keeps libjpeg's error jumps inside its
// own C frames and answers with return codes; the header is read on its own first, so the size
// is checked before any pixel memory is allocated.

#include <turbojpeg.h>

#include <memory>
#include <string>

#include "imagefiles/PictureDecoders.h"

namespace imagefiles {

namespace {

struct HandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleDeleter>;

std::string LibraryMessage(tjhandle handle) { return std::string("JPEG: ") + tjGetErrorStr2(handle); }

}  // namespace

std::optional<RgbaPicture> DecodeJpeg(std::span<const uint8_t> file, FileFailure* Why, int64_t maxPixels) {
    const Handle handle(tjInitDecompress());
    if (!handle) {
        Report(Why, FailureKind::TooLarge, "no memory for the JPEG decoder");
        return std::nullopt;
    }
    // The library takes a length of unsigned long; the file reader's limit keeps far below it.
    const auto length = static_cast<unsigned long>(file.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourSpace = 0;
    if (tjDecompressHeader3(handle.get(), file.data(), length, &width, &height, &subsampling, &colourSpace) != 0) {
        Report(Why, FailureKind::Malformed, LibraryMessage(handle.get()));
        return std::nullopt;
    }
    if (colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK) {
        Report(Why, FailureKind::Unsupported, "a CMYK JPEG (save it as RGB)");
        return std::nullopt;
    }
    if (width <= 0 || height <= 0) {
        Report(Why, FailureKind::Malformed, "JPEG: no picture size");
        return std::nullopt;
    }
    if (!PictureSizeAllowed(Why, width, height, maxPixels)) {
        return std::nullopt;
    }

    RgbaPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    // A warning (such as data that ends early) fails the decode rather than leaving grey rows,
    // and a progressive file may not make the decoder run more than 500 scans.
    constexpr int kFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;
    if (tjDecompress2(handle.get(), file.data(), length, picture.Pixels.data(), width, 0, height, TJPF_RGBA, kFlags) !=
        0) {
        // libjpeg says "Premature end of JPEG file" when the data stops before the last row.
        const std::string message = LibraryMessage(handle.get());
        const bool truncated = message.find("Premature end") != std::string::npos;
        Report(Why, truncated ? FailureKind::Truncated : FailureKind::Malformed, message);
        return std::nullopt;
    }
    return picture;
}

}  // namespace imagefiles
