#pragma once
// Paths from and to the UTF-8 text the program holds. std::filesystem reads and gives a plain
// std::string in the ANSI code page on Windows, which cannot spell every name; through char8_t
// it is UTF-8 on every system, and on POSIX the bytes pass as they are.

#include <filesystem>
#include <string>
#include <string_view>

namespace imagefiles {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace imagefiles
