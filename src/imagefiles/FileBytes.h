#pragma once
// Whole-file reads and all-or-nothing writes. Paths are UTF-8 text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace filebytes {

// The whole content of a regular file, or nothing when the path is not a regular file, cannot
// be read, or is larger than maxBytes (checked before anything is allocated).
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes);

// Writes bytes to a temporary file in the destination's folder and renames it over the
// destination only once it is complete. Returns false, leaving the destination as it was, when
// any step fails or when the destination exists and is not a regular file.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace filebytes
