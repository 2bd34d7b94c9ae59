#pragma once
// Every frame of a GAF file as a PNG file of its own: DIR/<entry>/<n>.png for frame n (counted
// from 0) of each entry, layers drawn, in the game palette. The command line and the window
// both extract through here, so their files and folder names are the same.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gaf/GafReader.h"
#include "imagefiles/FileFailure.h"

namespace gaf {

// An entry name (UTF-8) made safe as one folder name: '/', '\', control characters and a leading
// '.' each become '_'; an empty name becomes "_".
std::string EntryFolderName(std::string_view name);

// The folder of every entry, in order: EntryFolderName, and for a name already taken the first
// of name~2, name~3, ... that is still free.
std::vector<std::string> EntryFolderNames(const DecodedGaf& gaf);

// The index a frame's PNG file makes transparent: its transparency index when it is compressed or
// drawn from layers, where that index marks pixels the file leaves empty. A raw single-layer
// frame, such as a build-menu picture, stores every pixel, so its PNG has no transparency.
std::optional<uint8_t> PngTransparentIndex(const DecodedFrame& frame);

// Called with the path of each file as soon as it is written.
using WrittenFile = std::function<void(const std::string& path)>;

// Writes every frame of gaf under Dir, creating Dir and the entry folders as needed, each file all
// or nothing. Stops at the first file or folder that cannot be made, with the reason in Why (which
// may be null); the files written before it stay.
bool ExtractGafFrames(const DecodedGaf& gaf, const std::string& Dir, const WrittenFile& Written,
                      imagefiles::FileFailure* Why = nullptr);

}  // namespace gaf
