#pragma once
// Every frame of a GAF file as a PNG file of its own: DIR/<entry>/<n>.png for frame n (counted
// from 0) of each entry, layers drawn, in the game palette. The command line and the window
// both extract through here, so their files and folder names are the same.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gaf/GafReader.h"
#include "imagefiles/FileFailure.h"

namespace gaf {

// An entry name (UTF-8) made safe as one folder name on every system: '/', '\', control
// characters, the characters Windows forbids (< > : " | ? *), a leading '.' and a trailing '.' or
// space each become '_'; a Windows device name (CON, NUL, COM1, LPT1.x, ...) gets a '_' in
// front; an empty name becomes "_".
std::string EntryFolderName(std::string_view name);

// The folder of every entry, in order: EntryFolderName, and for a name already taken the first
// of name~2, name~3, ... that is still free. Names that differ only in case count as taken, since
// Windows and macOS keep them in one folder. In time linear in the number of entries: each name
// goes on from the number it last gave.
std::vector<std::string> EntryFolderNames(const DecodedGaf& gaf);

// The index a frame's PNG file makes transparent: its transparency index when it is compressed or
// drawn from layers, where that index marks pixels the file leaves empty. A raw single-layer
// frame, such as a build-menu picture, stores every pixel, so its PNG has no transparency.
std::optional<uint8_t> PngTransparentIndex(const DecodedFrame& frame);

// The number of PNG files an extraction of gaf writes: one per frame.
std::size_t FramesToExtract(const DecodedGaf& gaf);

// Receives each file of an extraction in order: its entry's folder name (EntryFolderNames), its
// own name ("<n>.png") and its bytes. Answering false stops the extraction there.
using ExtractedFileSink =
    std::function<bool(const std::string& folder, const std::string& name, std::span<const uint8_t> png)>;

// Makes every file ExtractGafFrames writes, without writing: each PNG is encoded and charged to
// Budget (one file and its bytes), then handed to Sink. False, with the reason in Why, at the
// budget's end or an encoder failure; false without a reason when Sink stops it.
bool MakeExtractedFiles(const DecodedGaf& gaf, WorkBudget& Budget, imagefiles::FileFailure* Why,
                        const ExtractedFileSink& Sink);

// Told the path of each file as soon as it is written, with how many files are written so far;
// answering false stops the extraction there (Cancelled).
using WrittenFile = std::function<bool(const std::string& path, std::size_t written)>;

// Writes every frame of gaf under Dir, creating Dir and the entry folders as needed, each file all
// or nothing. Below Dir no symbolic link is followed: a link where an entry's folder or a frame's
// file goes is refused, with its path. Each file is charged to Budget (one file and its bytes)
// before it is written. The number of files written, or nothing, with the reason in Why (which
// may be null), at the first file or folder that cannot be made, at the budget's end, or when
// Written asks to stop; the files written before stay, and Written has been told each.
std::optional<std::size_t> ExtractGafFrames(const DecodedGaf& gaf, const std::string& Dir, const WrittenFile& Written,
                                            imagefiles::FileFailure* Why, WorkBudget& Budget);
std::optional<std::size_t> ExtractGafFrames(const DecodedGaf& gaf, const std::string& Dir, const WrittenFile& Written,
                                            imagefiles::FileFailure* Why = nullptr);

}  // namespace gaf
