// The core's file calls on POSIX systems (Linux first): descriptors, calls relative to an open
// folder, and the kernel's own rules wherever it has one.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "imagefiles/PlatformFiles.h"

namespace platformfiles {

namespace {

int Fd(const Handle& handle) { return static_cast<int>(handle.Native()); }

SystemError ErrorOf(int code) {
    Cause cause = Cause::Other;
    if (code == ENOENT) cause = Cause::NotFound;
    if (code == EEXIST) cause = Cause::AlreadyExists;
    return {cause, std::strerror(code)};
}

// Stores the last call's error and gives false, for one-line failure returns.
bool Failed(SystemError& error, int code = errno) {
    error = ErrorOf(code);
    return false;
}

EntryInfo InfoOf(const struct stat& info) {
    EntryInfo entry;
    if (S_ISREG(info.st_mode))
        entry.Kind = EntryKind::Regular;
    else if (S_ISDIR(info.st_mode))
        entry.Kind = EntryKind::Folder;
    else if (S_ISLNK(info.st_mode))
        entry.Kind = EntryKind::Link;
    else
        entry.Kind = EntryKind::Other;
    entry.Size = info.st_size > 0 ? static_cast<uint64_t>(info.st_size) : 0;
    entry.Permissions = info.st_mode & 07777;
    entry.Owner = info.st_uid;
    entry.Group = info.st_gid;
    return entry;
}

// Gives the file the old file's owner and group, or failing that (only root may give a file
// away) its group, which a member of the group may; failing both it stays the writer's.
void KeepOwner(int fd, const EntryInfo& replaced) {
    if (replaced.Owner == ::geteuid() && replaced.Group == ::getegid()) return;
    if (::fchown(fd, replaced.Owner, replaced.Group) == 0) return;
    if (::fchown(fd, static_cast<uid_t>(-1), replaced.Group) == 0) return;
}

}  // namespace

Handle::~Handle() {
    if (Valid()) ::close(Fd(*this));
}

Handle::Handle(Handle&& other) noexcept
    : native_(std::exchange(other.native_, kInvalid)), path_(std::move(other.path_)) {}

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        if (Valid()) ::close(Fd(*this));
        native_ = std::exchange(other.native_, kInvalid);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool Handle::Close(SystemError* error) {
    const int fd = static_cast<int>(std::exchange(native_, kInvalid));
    if (fd < 0 || ::close(fd) == 0) return true;
    if (error) *error = ErrorOf(errno);
    return false;
}

Handle OpenForReading(const std::string& path, EntryInfo& info, SystemError& error) {
    // O_NONBLOCK so that opening a FIFO cannot hang; the caller refuses what is not a regular file.
    Handle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK), path);
    if (!file.Valid()) return Failed(error), Handle();
    struct stat status {};
    if (::fstat(Fd(file), &status) != 0) return Failed(error), Handle();
    info = InfoOf(status);
    return file;
}

bool ReadAt(const Handle& file, uint64_t offset, std::span<uint8_t> into, std::size_t& got, SystemError& error) {
    ssize_t n;
    do {
        n = ::pread(Fd(file), into.data(), into.size(), static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return Failed(error);
    got = static_cast<std::size_t>(n);
    return true;
}

Handle OpenFolder(const std::string& path, bool create, SystemError& error) {
    if (create) {
        std::error_code made;
        std::filesystem::create_directories(path, made);
        if (made && made != std::errc::file_exists) return Failed(error, made.value()), Handle();
    }
    Handle folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC), path);
    if (!folder.Valid()) Failed(error);
    return folder;
}

Handle OpenFolderBelow(const Handle& folder, const std::string& name, bool create, SystemError& error) {
    if (create && ::mkdirat(Fd(folder), name.c_str(), 0777) != 0 && errno != EEXIST) return Failed(error), Handle();
    const std::string path = (std::filesystem::path(folder.Path()) / name).string();
    Handle below(::openat(Fd(folder), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC), path);
    if (below.Valid()) return below;
    const int code = errno;
    struct stat status {};
    // O_NOFOLLOW answers ELOOP for a link, or ENOTDIR before it looks at the link.
    if ((code == ELOOP || code == ENOTDIR) && ::fstatat(Fd(folder), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(status.st_mode)) {
        error = {Cause::IsLink, "a symbolic link"};
    } else {
        Failed(error, code);
    }
    return Handle();
}

EntryInfo Inspect(const Handle& folder, const std::string& name, SystemError& error) {
    struct stat status {};
    if (::fstatat(Fd(folder), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) return InfoOf(status);
    if (errno != ENOENT) Failed(error);
    return {};
}

bool MayWrite(const Handle& folder, const std::string& name) {
    return ::faccessat(Fd(folder), name.c_str(), W_OK, AT_EACCESS) == 0;
}

std::vector<std::string> ListFolder(const Handle& folder) {
    std::vector<std::string> names;
    // The listing gets its own descriptor: closedir closes it.
    const int fd = ::openat(Fd(folder), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return names;
    DIR* listing = ::fdopendir(fd);
    if (listing == nullptr) {
        ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(listing);
    return names;
}

bool RenameInFolder(const Handle& folder, const std::string& from, const std::string& to, SystemError& error) {
    if (::renameat(Fd(folder), from.c_str(), Fd(folder), to.c_str()) == 0) return true;
    return Failed(error);
}

bool RemoveInFolder(const Handle& folder, const std::string& name) {
    return ::unlinkat(Fd(folder), name.c_str(), 0) == 0;
}

void SyncFolder(const Handle& folder) { ::fsync(Fd(folder)); }

namespace {

// The kernel's rule for links in sticky world-writable folders (fs.protected_symlinks): such a
// link is followed only by its owner or when it is the folder owner's. Resolving links here by
// hand must not bypass it.
bool KernelWouldFollow(const std::filesystem::path& link, const struct stat& linkStatus) {
    struct stat folder {};
    const std::filesystem::path parent = link.parent_path().empty() ? "." : link.parent_path();
    if (::stat(parent.c_str(), &folder) != 0) return true;  // the open that follows will say why
    const bool sharedSticky = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !sharedSticky || linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == folder.st_uid;
}

}  // namespace

bool ResolveNamedDestination(const std::string& path, std::string& target, SystemError& error) {
    std::filesystem::path current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            target = current.string();
            return true;
        }
        if (!KernelWouldFollow(current, status)) {
            error = {Cause::IsLink, std::strerror(EACCES)};
            return false;
        }
        std::error_code unreadable;
        const std::filesystem::path next = std::filesystem::read_symlink(current, unreadable);
        if (unreadable) return Failed(error, unreadable.value());
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return Failed(error, ELOOP);
}

Handle CreateNewFile(const Handle& folder, const std::string& name, const EntryInfo* replaced, SystemError& error) {
    // A replacement starts with the old file's permission bits (the umask can only narrow them,
    // and the exact bits follow before any byte is written), so it is never more open than the
    // file it replaces; a new file gets the usual 0666 less the umask.
    const mode_t mode = replaced ? (replaced->Permissions & 0777) : 0666;
    const std::string path = (std::filesystem::path(folder.Path()) / name).string();
    Handle file(
        ::openat(Fd(folder), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode),
        path);
    if (!file.Valid()) return Failed(error), Handle();
    if (replaced) {
        // The owner and group go first: a change of owner clears the set-user and set-group bits,
        // which the mode then puts back.
        KeepOwner(Fd(file), *replaced);
        if (::fchmod(Fd(file), replaced->Permissions & 07777) != 0) {
            Failed(error);
            ::unlinkat(Fd(folder), name.c_str(), 0);
            return Handle();
        }
    }
    return file;
}

bool WriteAll(const Handle& file, std::span<const uint8_t> bytes, SystemError& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        // A write that stops short (a full disk, a file-size limit with SIGXFSZ ignored) is
        // retried for the rest, which then fails with the error.
        const ssize_t n = ::write(Fd(file), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) return Failed(error, ENOSPC);  // no progress and no error: nothing more fits
        if (n < 0) return Failed(error);
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SyncFile(const Handle& file, SystemError& error) {
    if (::fsync(Fd(file)) == 0) return true;
    return Failed(error);
}

namespace {

enum class Lock { Taken, HeldByAnother, Unsupported };

// An open file description lock (not a process's lock): it belongs to the descriptor, so it is
// not shared with other threads of the writer and ends when the descriptor closes, and it is seen
// across process namespaces, where a process id means nothing. A system or file system without
// such locks (EINVAL; WebAssembly's in-memory files) has one process writing at most.
Lock TakeLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return Lock::Taken;
    return errno == EINVAL || errno == ENOSYS ? Lock::Unsupported : Lock::HeldByAnother;
}

// True when name inside folder is still the file open as fd.
bool StillNames(int folder, const std::string& name, int fd) {
    struct stat named {
    }, open{};
    return ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0 &&
           named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

}  // namespace

bool MarkInUse(const Handle& folder, const std::string& name, const Handle& file) {
    return TakeLock(Fd(file), F_WRLCK) != Lock::HeldByAnother && StillNames(Fd(folder), name, Fd(file));
}

void RemoveIfAbandoned(const Handle& folder, const std::string& name) {
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    // A read lock needs the file open for reading; a file that the writer may only write (it has
    // the mode of the file it replaces) is opened for writing and write-locked instead.
    short type = F_RDLCK;
    Handle file(::openat(Fd(folder), name.c_str(), O_RDONLY | kFlags));
    if (!file.Valid()) {
        file = Handle(::openat(Fd(folder), name.c_str(), O_WRONLY | kFlags));
        type = F_WRLCK;
    }
    // Without locks nothing tells a running writer's file from an abandoned one: it stays.
    if (!file.Valid() || TakeLock(Fd(file), type) != Lock::Taken) return;
    // Removed only while the lock is held and the name still names the file locked, so that a
    // writer that created it just now, and has not locked it yet, finds it gone and makes another.
    if (StillNames(Fd(folder), name, Fd(file))) ::unlinkat(Fd(folder), name.c_str(), 0);
}

}  // namespace platformfiles
