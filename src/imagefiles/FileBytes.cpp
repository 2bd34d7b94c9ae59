#include "imagefiles/FileBytes.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace filebytes {

namespace {

// Closes a descriptor on every way out of a function, unless released.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (a deferred write error can surface
    // only here).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool ReadFully(int fd, uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // an error, or the file became shorter than it was
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes everything or reports failure. A write that stops short (a full disk, a file-size
// limit with SIGXFSZ ignored) is retried for the rest, which then fails with an error.
bool WriteFully(int fd, const uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A name for the temporary file next to the destination, unlikely to collide with anything;
// creation uses O_EXCL, so a collision is retried rather than overwritten. Only the start of
// the destination's name is kept, so that a name near the file system's length limit still
// leaves room for the suffix.
std::string TemporaryName(const std::filesystem::path& destination, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    constexpr std::size_t kStemBytes = 32;
    std::string stem = destination.filename().string();
    if (stem.size() > kStemBytes) {
        std::size_t cut = kStemBytes;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;  // not inside a UTF-8 character
        stem.resize(cut);
    }
    return (destination.parent_path() /
            ("." + stem + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(seed) + "-" +
             std::to_string(counter++) + "-" + std::to_string(attempt)))
        .string();
}

// The file a chain of links ends at, which need not exist yet (a dangling link names the file
// to create). Nothing for an unreadable link or a loop.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) return std::nullopt;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
    // O_NONBLOCK so that opening a FIFO cannot hang; such a path is refused just below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) return std::nullopt;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) return std::nullopt;
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size > maxBytes) return std::nullopt;

    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    if (!ReadFully(fd.get(), bytes.data(), bytes.size())) return std::nullopt;
    // A file that grew while it was read is not the file that was measured.
    uint8_t extra = 0;
    ssize_t n;
    do {
        n = ::read(fd.get(), &extra, 1);
    } while (n < 0 && errno == EINTR);
    if (n != 0) return std::nullopt;
    return bytes;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes) {
    if (path.empty()) return false;
    // A link is written through, so the link itself survives.
    const auto followed = FollowLinks(path);
    if (!followed) return false;
    std::filesystem::path destination = *followed;
    if (destination.filename().empty()) return false;  // "folder/" names no file

    // Only a regular file that may be written is replaced; its permissions carry over to the
    // new file. A read-only file stays as it is, even for a user whom permissions do not stop.
    mode_t keepMode = 0;
    bool replacing = false;
    struct stat existing {};
    if (::stat(destination.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) return false;
        if ((existing.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, destination.c_str(), W_OK, AT_EACCESS) != 0)
            return false;
        replacing = true;
        keepMode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }
    if (destination.parent_path().empty()) destination = std::filesystem::path(".") / destination;

    std::string temporary;
    int rawFd = -1;
    for (unsigned attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temporary = TemporaryName(destination, attempt);
        rawFd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (rawFd < 0 && errno != EEXIST) return false;  // no such folder, no permission, ...
    }
    FileDescriptor fd(rawFd);
    if (!fd.valid()) return false;

    bool ok = WriteFully(fd.get(), bytes.data(), bytes.size());
    if (ok && replacing) ok = ::fchmod(fd.get(), keepMode) == 0;
    ok = fd.close() && ok;
    if (ok) ok = ::rename(temporary.c_str(), destination.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace filebytes
