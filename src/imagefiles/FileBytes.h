#pragma once
// Reading files whole or piece by piece, and all-or-nothing writes. Paths are UTF-8 text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "imagefiles/FileFailure.h"
#include "imagefiles/PlatformFiles.h"

namespace filebytes {

// A regular file opened for reading, read at the offsets its headers name rather than whole.
class FileReader {
public:
    // Nothing (CannotOpen) when the path is missing, unreadable, or not a regular file (a
    // folder, a device, a pipe: a pipe is refused at once rather than waited on).
    static std::optional<FileReader> Open(const std::string& path, imagefiles::FileFailure* Why = nullptr);

    FileReader(FileReader&& other) noexcept = default;
    FileReader& operator=(FileReader&& other) noexcept = default;

    // The size the file had when it was opened.
    uint64_t Size() const { return size_; }

    // The count bytes at offset; nothing (Truncated) when the file does not hold them all.
    std::optional<std::vector<uint8_t>> Read(uint64_t offset, uint64_t count,
                                             imagefiles::FileFailure* Why = nullptr) const;

    // True when the file holds more than Size() bytes by now: it grew after it was opened.
    bool HasMoreThanItsSize() const;

private:
    FileReader(platformfiles::Handle file, uint64_t size) : file_(std::move(file)), size_(size) {}

    platformfiles::Handle file_;
    uint64_t size_ = 0;
};

// The whole content of a regular file, or nothing when the path is not a regular file, cannot
// be read, or is larger than maxBytes (TooLarge, checked before anything is allocated or read).
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes,
                                                  imagefiles::FileFailure* Why = nullptr);

// Writes bytes to a temporary file in the destination's folder and renames it over the
// destination only once it is complete and on the disk; the folder is then flushed too, so that
// after a power cut the destination holds the old file or the new one. Returns false, leaving
// the destination as it was, when any step fails (CannotWrite, with the cause) or when the
// destination exists and is not a writable regular file.
//
// A replaced file keeps its permissions, which the temporary file has from its creation on, and,
// where the writer may give them (root may), its owner and group. A link is written through and
// survives. The new file is a new file: other hard links to the old one keep the old content.
// Temporary files of the same destination left by writers that were killed are removed; those
// of writers still running are left alone.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                         imagefiles::FileFailure* Why = nullptr);

}  // namespace filebytes
