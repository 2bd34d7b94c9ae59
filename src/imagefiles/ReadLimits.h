#pragma once
// The one limit policy of the picture readers. No picture this program works with comes near
// these; they bound what a hostile file can make a reader read and allocate.
//
// A reader reads a file's headers first and then only what they describe (a PCX file's
// palette sits at its end, so that reader needs the whole file). When that is more than
// kMaxPictureReadBytes, or the picture has more than kMaxPicturePixels, the file is refused
// before anything more is read or allocated.

#include <cstdint>

namespace imagefiles {

inline constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;
// Four bytes per pixel: room for any picture within the pixel limit in either format.
inline constexpr uint64_t kMaxPictureReadBytes = 4 * static_cast<uint64_t>(kMaxPicturePixels);  // 256 MiB

}  // namespace imagefiles
