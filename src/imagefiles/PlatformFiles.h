#pragma once
// The operating system's file calls that the core makes, and nothing else: one implementation
// per system (PlatformFilesPosix.cpp; a Windows one against this same header). Paths and names
// are UTF-8 text. These are single steps; what is refused and in which order the steps run is
// decided by their callers (FileBytes.cpp), the same on every system.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace platformfiles {

// Why a call failed: the cause as far as a caller acts on it, and the system's own words for it
// ("No space left on device"), which become the detail of the reason the user reads.
enum class Cause {
    None,
    NotFound,       // no such file or folder
    AlreadyExists,  // a file of that name is there already (creating a new file)
    IsLink,         // the name is a symbolic link where no link may be followed
    Other,
};

struct SystemError {
    Cause What = Cause::None;
    std::string Text;
};

// An open file or folder, closed when it goes. Native is the system's handle (a descriptor on
// POSIX); Path is the path it was opened by, for systems that address files by path.
class Handle {
public:
    Handle() = default;
    explicit Handle(std::intptr_t native, std::string path = {}) : native_(native), path_(std::move(path)) {}
    ~Handle();
    Handle(Handle&& other) noexcept;
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool Valid() const { return native_ != kInvalid; }
    std::intptr_t Native() const { return native_; }
    const std::string& Path() const { return path_; }
    // Closes now; false, with the error, when closing reports an error (a deferred write error can
    // surface only here).
    bool Close(SystemError* error = nullptr);

    static constexpr std::intptr_t kInvalid = -1;

private:
    std::intptr_t native_ = kInvalid;
    std::string path_;
};

enum class EntryKind { Missing, Regular, Folder, Link, Other };

// A file as the folder lists it, a link not followed.
struct EntryInfo {
    EntryKind Kind = EntryKind::Missing;
    uint64_t Size = 0;
    uint32_t Permissions = 0;  // the POSIX permission bits (07777); a system without them: 0666 or 0444
    uint32_t Owner = 0;        // numeric owner and group where the system has them, else 0
    uint32_t Group = 0;
};

// ---- Reading ----
// Opens a file for reading, following links (the user named it), without waiting on a pipe or
// becoming a terminal's reader; Info describes what was opened.
Handle OpenForReading(const std::string& path, EntryInfo& info, SystemError& error);
// Reads up to into.size() bytes at offset; Got is 0 at the end of the file.
bool ReadAt(const Handle& file, uint64_t offset, std::span<uint8_t> into, std::size_t& got, SystemError& error);

// ---- Folders ----
// A folder the user named, links followed; with create, made first (with its parents) when missing.
Handle OpenFolder(const std::string& path, bool create, SystemError& error);
// The folder name inside folder, made first when missing and create is set. A link there is
// never followed (IsLink), whatever it points at.
Handle OpenFolderBelow(const Handle& folder, const std::string& name, bool create, SystemError& error);
// The entry name inside folder, a link not followed; Missing when there is none.
EntryInfo Inspect(const Handle& folder, const std::string& name, SystemError& error);
// True when the writer may write the file name inside folder (its effective rights).
bool MayWrite(const Handle& folder, const std::string& name);
// The names inside folder, "." and ".." left out; empty when it cannot be listed.
std::vector<std::string> ListFolder(const Handle& folder);
// Renames from over to, both inside folder, replacing to in one step.
bool RenameInFolder(const Handle& folder, const std::string& from, const std::string& to, SystemError& error);
// Removes the file name inside folder; false when it could not.
bool RemoveInFolder(const Handle& folder, const std::string& name);
// Flushes the folder's entries to the disk, where the system can; failures are not reported.
void SyncFolder(const Handle& folder);

// ---- Links the user named ----
// The file that writing to path writes: the end of its chain of links, which need not exist. A
// link is followed only where the system itself would follow it on opening; otherwise false with
// IsLink, or for a loop or an unreadable link, with the system's error.
bool ResolveNamedDestination(const std::string& path, std::string& target, SystemError& error);

// ---- Writing ----
// Creates a new file name inside folder, never through a link, failing (AlreadyExists) when the
// name is taken. With replaced, the file has that file's permissions from its creation on and,
// where the writer may give them, its owner and group; else the usual permissions for a new file.
Handle CreateNewFile(const Handle& folder, const std::string& name, const EntryInfo* replaced, SystemError& error);
// Writes all of bytes at the file's current end; a write that stops short is an error.
bool WriteAll(const Handle& file, std::span<const uint8_t> bytes, SystemError& error);
// Puts the file's content on the disk.
bool SyncFile(const Handle& file, SystemError& error);

// ---- Temporary files and the writers that hold them ----
// Marks file, just created as name inside folder, as in use by a running writer, for as long as
// it stays open (an advisory lock that ends with the writer, however it ends). False when the name
// no longer names file or another process holds it: the writer then makes another.
bool MarkInUse(const Handle& folder, const std::string& name, const Handle& file);
// Removes the file name inside folder unless a running writer holds it (MarkInUse).
void RemoveIfAbandoned(const Handle& folder, const std::string& name);

}  // namespace platformfiles
