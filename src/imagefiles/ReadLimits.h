#pragma once
// The one limit policy of the picture readers. No picture this program works with comes near
// these; they bound what a hostile file can make a reader read and allocate.
//
// A reader reads a file's headers first and then only what they describe (a PCX file's
// palette sits at its end, and the import's and the GAF reader's decoders take the whole file).
// When that is more than kMaxReadBytes, or a palette picture has more than kMaxPicturePixels,
// the file is refused before anything more is read or allocated.

#include <cstdint>

namespace imagefiles {

inline constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;
// Four bytes per pixel: room for any palette picture within the pixel limit, and for a truecolour
// picture within the import's limit stored at up to 16 bytes per pixel.
inline constexpr uint64_t kMaxReadBytes = 4 * static_cast<uint64_t>(kMaxPicturePixels);  // 256 MiB

}  // namespace imagefiles
