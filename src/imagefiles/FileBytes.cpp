#include "imagefiles/FileBytes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

namespace filebytes {

namespace {

using imagefiles::FailureKind;
using imagefiles::FileFailure;
using imagefiles::Report;

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
    int release() { return std::exchange(fd_, -1); }
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

// The system's words for the last error, as the reason's detail.
std::string ErrorText(int error) { return std::strerror(error); }

// Writes everything or reports failure. A write that stops short (a full disk, a file-size
// limit with SIGXFSZ ignored) is retried for the rest, which then fails with an error.
bool WriteFully(int fd, const uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;  // no progress and no error: nothing more fits
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The start of the destination's name that temporary names carry: only so much of it that a
// name near the file system's length limit still leaves room for the suffix.
std::string TemporaryStem(const std::filesystem::path& destination) {
    constexpr std::size_t kStemBytes = 32;
    std::string stem = destination.filename().string();
    if (stem.size() > kStemBytes) {
        std::size_t cut = kStemBytes;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a UTF-8 character
        stem.resize(cut);
    }
    return "." + stem + ".tmp-";
}

// A name for the temporary file next to the destination: the stem, then the writer's process
// id (so that a later write can tell whether the writer is still running), a random seed, a
// counter and the attempt. Creation uses O_EXCL, so a collision is retried, never overwritten.
std::string TemporaryName(const std::filesystem::path& destination, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return (destination.parent_path() /
            (TemporaryStem(destination) + std::to_string(::getpid()) + "-" + std::to_string(seed) + "-" +
             std::to_string(counter++) + "-" + std::to_string(attempt)))
        .string();
}

// The writer's process id in a temporary name made by TemporaryName for a destination with this
// stem: the four numbers after the stem, and nothing else. Nothing for any other name.
std::optional<pid_t> WriterOf(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem)) return std::nullopt;
    name.remove_prefix(stem.size());
    long long pid = 0;
    for (int number = 0; number < 4; ++number) {
        if (number > 0) {
            if (!name.starts_with('-')) return std::nullopt;
            name.remove_prefix(1);
        }
        std::size_t digits = 0;
        long long value = 0;
        while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9' && digits < 12)
            value = value * 10 + (name[digits++] - '0');
        if (digits == 0 || (digits < name.size() && name[digits] >= '0' && name[digits] <= '9')) return std::nullopt;
        if (number == 0) pid = value;
        name.remove_prefix(digits);
    }
    if (!name.empty() || pid <= 0 || pid > INT32_MAX) return std::nullopt;
    return static_cast<pid_t>(pid);
}

// Removes the temporary files of this destination whose writer no longer runs: a writer killed
// in the middle of a write leaves one behind, and nothing else would ever remove it. A file
// whose writer still runs, or may (another user's process answers EPERM), is left alone.
void RemoveStaleTemporaries(const std::filesystem::path& destination) {
    const std::string folder = destination.parent_path().string();
    const std::string stem = TemporaryStem(destination);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = ::readdir(listing)) {
        const std::optional<pid_t> writer = WriterOf(entry->d_name, stem);
        if (!writer || *writer == ::getpid()) continue;
        if (::kill(*writer, 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
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

// Gives the file the old file's owner and group, or failing that (only root may give a file
// away) its group, which a member of the group may; failing both it stays the writer's.
void KeepOwner(int fd, uid_t owner, gid_t group) {
    if (::fchown(fd, owner, group) == 0) return;
    if (::fchown(fd, static_cast<uid_t>(-1), group) == 0) return;
}

// Flushes a folder's entries (the rename) to the disk. Some file systems cannot flush a folder;
// the file itself is on the disk by then, so that is no reason to call the write failed.
void SyncFolder(const std::filesystem::path& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

}  // namespace

std::optional<FileReader> FileReader::Open(const std::string& path, FileFailure* Why) {
    // O_NONBLOCK so that opening a FIFO cannot hang; such a path is refused just below.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) {
        Report(Why, FailureKind::CannotOpen, ErrorText(errno));
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        Report(Why, FailureKind::CannotOpen, ErrorText(errno));
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode) || info.st_size < 0) {
        Report(Why, FailureKind::CannotOpen, S_ISDIR(info.st_mode) ? "a folder" : "not a regular file");
        return std::nullopt;
    }
    return FileReader(fd.release(), static_cast<uint64_t>(info.st_size));
}

FileReader::FileReader(FileReader&& other) noexcept : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

FileReader& FileReader::operator=(FileReader&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

FileReader::~FileReader() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::vector<uint8_t>> FileReader::Read(uint64_t offset, uint64_t count, FileFailure* Why) const {
    if (offset > size_ || count > size_ - offset) {
        Report(Why, FailureKind::Truncated);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            Report(Why, FailureKind::CannotOpen, ErrorText(errno));
            return std::nullopt;
        }
        if (n == 0) {  // the file became shorter than it was
            Report(Why, FailureKind::Truncated);
            return std::nullopt;
        }
        done += static_cast<std::size_t>(n);
    }
    return bytes;
}

bool FileReader::HasMoreThanItsSize() const {
    uint8_t extra = 0;
    ssize_t n;
    do {
        n = ::pread(fd_, &extra, 1, static_cast<off_t>(size_));
    } while (n < 0 && errno == EINTR);
    return n != 0;
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, std::size_t maxBytes, FileFailure* Why) {
    const std::optional<FileReader> file = FileReader::Open(path, Why);
    if (!file) return std::nullopt;
    if (file->Size() > maxBytes) {
        Report(Why, FailureKind::TooLarge,
               std::to_string(file->Size()) + " bytes, more than " + std::to_string(maxBytes));
        return std::nullopt;
    }
    auto bytes = file->Read(0, file->Size(), Why);
    if (!bytes) return std::nullopt;
    // A file that grew while it was read is not the file that was measured.
    if (file->HasMoreThanItsSize()) {
        Report(Why, FailureKind::CannotOpen, "the file changed while it was read");
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, FileFailure* Why) {
    const auto fail = [Why](std::string detail) {
        Report(Why, FailureKind::CannotWrite, std::move(detail));
        return false;
    };
    if (path.empty()) return fail("no file name");
    // A link is written through, so the link itself survives.
    const auto followed = FollowLinks(path);
    if (!followed) return fail(ErrorText(ELOOP));
    std::filesystem::path destination = *followed;
    if (destination.filename().empty()) return fail("the name is a folder");  // "folder/" names no file

    // Only a regular file that may be written is replaced. A read-only file stays as it is, even
    // for a user whom permissions do not stop.
    std::optional<struct stat> existing;
    struct stat info {};
    if (::stat(destination.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return fail("a folder");
        if (!S_ISREG(info.st_mode)) return fail("not a regular file");
        if ((info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, destination.c_str(), W_OK, AT_EACCESS) != 0)
            return fail("the file is read-only");
        existing = info;
    } else if (errno != ENOENT) {
        return fail(ErrorText(errno));
    }
    if (destination.parent_path().empty()) destination = std::filesystem::path(".") / destination;
    RemoveStaleTemporaries(destination);

    // A replacement starts with the old file's permission bits (the umask can only narrow them,
    // and the exact bits follow before any byte is written), so it is never more open than the
    // file it replaces; a new file gets the usual 0666 less the umask.
    const mode_t createMode = existing ? (existing->st_mode & 0777) : 0666;
    std::string temporary;
    int rawFd = -1;
    for (unsigned attempt = 0; attempt < 100 && rawFd < 0; ++attempt) {
        temporary = TemporaryName(destination, attempt);
        rawFd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, createMode);
        if (rawFd < 0 && errno != EEXIST) return fail(ErrorText(errno));  // no such folder, no permission, ...
    }
    FileDescriptor fd(rawFd);
    if (!fd.valid()) return fail(ErrorText(EEXIST));

    int error = 0;
    const auto step = [&error](bool ok) {
        if (!ok && error == 0) error = errno;
        return ok;
    };
    bool ok = true;
    if (existing) {
        // The owner and group go first: a change of owner clears the set-user and set-group bits,
        // which the mode then puts back.
        if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid())
            KeepOwner(fd.get(), existing->st_uid, existing->st_gid);
        ok = step(::fchmod(fd.get(), existing->st_mode & 07777) == 0);
    }
    ok = ok && step(WriteFully(fd.get(), bytes.data(), bytes.size()));
    ok = ok && step(::fsync(fd.get()) == 0);
    ok = step(fd.close()) && ok;
    ok = ok && step(::rename(temporary.c_str(), destination.c_str()) == 0);
    if (!ok) {
        ::unlink(temporary.c_str());
        return fail(ErrorText(error != 0 ? error : EIO));
    }
    SyncFolder(destination.parent_path());
    return true;
}

}  // namespace filebytes
