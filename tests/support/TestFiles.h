#pragma once
// Small helpers for tests that touch the file system.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// A fresh, empty folder under the system's temporary folder, removed with everything in it
// when the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of a file in the folder, as the UTF-8 text the program's operations take; a "/" in
    // name becomes the system's separator.
    std::string file(const std::string& name) const;

private:
    std::filesystem::path path_;
};

// A path as the program joins it: more (whose "/" become the system's separator) added to path
// (kept as given) by the system's separator. On POSIX simply path + "/" + more.
std::string Joined(const std::string& path, const std::string& more);

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes);

// Runs work in a child process whose files may not grow past limitBytes: a write beyond comes
// back short when ignoreSignal, else SIGXFSZ ends the child. The child's wait status; it exits
// with 0 when work gave true, 1 when false, 3 when the limit could not be set.
#ifndef _WIN32  // Windows has no file-size limit, no fork and no mount namespaces
int UnderFileSizeLimit(std::size_t limitBytes, bool ignoreSignal, const std::function<bool()>& work);

// Runs work in a child process in which folder is a file system of its own of 4 KiB (a tmpfs in
// a mount namespace of the child's): a write past it fails for want of room. The child's wait
// status, as UnderFileSizeLimit's; 3 when no such file system could be made (it needs root).
int OnAFullDisk(const std::filesystem::path& folder, const std::function<bool()>& work);
#endif

}  // namespace testsupport
