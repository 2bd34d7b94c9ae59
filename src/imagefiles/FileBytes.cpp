#include "imagefiles/FileBytes.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

#include "imagefiles/PlatformFiles.h"
#include "imagefiles/Utf8Path.h"

namespace filebytes {

namespace {

using imagefiles::FailureKind;
using imagefiles::FileFailure;
using imagefiles::Report;
using platformfiles::EntryInfo;
using platformfiles::EntryKind;
using platformfiles::Handle;
using platformfiles::SystemError;

// The start of the destination's name that temporary names carry: only so much of it that a
// name near the file system's length limit still leaves room for the suffix.
std::string TemporaryStem(const std::string& destination) {
    constexpr std::size_t kStemBytes = 32;
    std::string stem = destination;
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
// counter and the attempt. Creation refuses a name that is taken, so a collision is retried,
// never overwritten.
std::string TemporaryName(const std::string& destination, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return TemporaryStem(destination) + std::to_string(platformfiles::ProcessId()) + "-" + std::to_string(seed) + "-" +
           std::to_string(counter++) + "-" + std::to_string(attempt);
}

// The writer's process id in a temporary name made by TemporaryName for a destination with this
// stem: the four numbers after the stem, and nothing else. Nothing for any other name.
std::optional<int> WriterOf(std::string_view name, std::string_view stem) {
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
    return static_cast<int>(pid);
}

// Removes the temporary files of this destination whose writer no longer runs: a writer killed
// in the middle of a write leaves one behind, and nothing else would ever remove it. A file
// whose writer still runs, or may (another user's process), is left alone.
void RemoveStaleTemporaries(const Handle& folder, const std::string& destination) {
    const std::string stem = TemporaryStem(destination);
    for (const std::string& name : platformfiles::ListFolder(folder)) {
        const std::optional<int> writer = WriterOf(name, stem);
        if (!writer || *writer == platformfiles::ProcessId()) continue;
        if (platformfiles::ProcessMayBeRunning(*writer)) continue;
        platformfiles::RemoveInFolder(folder, name);
    }
}

bool CannotWrite(FileFailure* Why, std::string detail) {
    Report(Why, FailureKind::CannotWrite, std::move(detail));
    return false;
}

// What is at the destination now, when it may be replaced: only a regular file that may be
// written is. A read-only file stays as it is, even for a user whom permissions do not stop.
bool MayReplace(const Handle& folder, const std::string& name, std::optional<EntryInfo>& existing, FileFailure* Why) {
    SystemError error;
    const EntryInfo info = platformfiles::Inspect(folder, name, error);
    if (error.What != platformfiles::Cause::None) return CannotWrite(Why, error.Text);
    if (info.Kind == EntryKind::Missing) return true;
    if (info.Kind == EntryKind::Folder) return CannotWrite(Why, "a folder");
    if (info.Kind != EntryKind::Regular) return CannotWrite(Why, "not a regular file");
    if ((info.Permissions & 0222) == 0 || !platformfiles::MayWrite(folder, name))
        return CannotWrite(Why, "the file is read-only");
    existing = info;
    return true;
}

// A new temporary file next to the destination, under the first free name.
Handle CreateTemporary(const Handle& folder, const std::string& destination, const std::optional<EntryInfo>& existing,
                       std::string& temporary, FileFailure* Why) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(destination, attempt);
        SystemError error;
        Handle file = platformfiles::CreateNewFile(folder, temporary, existing ? &*existing : nullptr, error);
        if (file.Valid()) return file;
        if (error.What != platformfiles::Cause::AlreadyExists) {  // no permission, a full disk, ...
            CannotWrite(Why, error.Text);
            return Handle();
        }
    }
    CannotWrite(Why, "no free name for a temporary file");
    return Handle();
}

// Fills the temporary file, puts it on the disk and renames it over the destination; on any
// failure the temporary file goes and the destination stays as it was.
bool FillAndRename(const Handle& folder, Handle file, const std::string& temporary, const std::string& destination,
                   std::span<const uint8_t> bytes, FileFailure* Why) {
    SystemError error;
    bool ok = platformfiles::WriteAll(file, bytes, error) && platformfiles::SyncFile(file, error);
    ok = file.Close(ok ? &error : nullptr) && ok;
    ok = ok && platformfiles::RenameInFolder(folder, temporary, destination, error);
    if (!ok) {
        platformfiles::RemoveInFolder(folder, temporary);
        return CannotWrite(Why, error.Text);
    }
    platformfiles::SyncFolder(folder);
    return true;
}

}  // namespace

std::optional<FileReader> FileReader::Open(const std::string& path, FileFailure* Why) {
    EntryInfo info;
    SystemError error;
    Handle file = platformfiles::OpenForReading(path, info, error);
    if (!file.Valid()) {
        Report(Why, FailureKind::CannotOpen, error.Text);
        return std::nullopt;
    }
    if (info.Kind != EntryKind::Regular) {
        Report(Why, FailureKind::CannotOpen, info.Kind == EntryKind::Folder ? "a folder" : "not a regular file");
        return std::nullopt;
    }
    return FileReader(std::move(file), info.Size);
}

std::optional<std::vector<uint8_t>> FileReader::Read(uint64_t offset, uint64_t count, FileFailure* Why) const {
    if (offset > size_ || count > size_ - offset) {
        Report(Why, FailureKind::Truncated);
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t got = 0;
        SystemError error;
        if (!platformfiles::ReadAt(file_, offset + done, std::span(bytes).subspan(done), got, error)) {
            Report(Why, FailureKind::CannotOpen, error.Text);
            return std::nullopt;
        }
        if (got == 0) {  // the file became shorter than it was
            Report(Why, FailureKind::Truncated);
            return std::nullopt;
        }
        done += got;
    }
    return bytes;
}

bool FileReader::HasMoreThanItsSize() const {
    uint8_t extra = 0;
    std::size_t got = 0;
    SystemError error;
    return !platformfiles::ReadAt(file_, size_, std::span(&extra, 1), got, error) || got != 0;
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
    if (path.empty()) return CannotWrite(Why, "no file name");
    // A link is written through, so the link itself survives.
    std::string target;
    SystemError error;
    if (!platformfiles::ResolveNamedDestination(path, target, error)) return CannotWrite(Why, error.Text);
    const std::filesystem::path destination = imagefiles::PathFromUtf8(target);
    const std::string name = imagefiles::Utf8FromPath(destination.filename());
    if (name.empty()) return CannotWrite(Why, "the name is a folder");  // "folder/" names no file
    const std::string parent =
        destination.parent_path().empty() ? "." : imagefiles::Utf8FromPath(destination.parent_path());
    const Handle folder = platformfiles::OpenFolder(parent, false, error);
    if (!folder.Valid()) return CannotWrite(Why, error.Text);
    std::optional<EntryInfo> existing;
    if (!MayReplace(folder, name, existing, Why)) return false;
    RemoveStaleTemporaries(folder, name);
    std::string temporary;
    Handle file = CreateTemporary(folder, name, existing, temporary, Why);
    if (!file.Valid()) return false;
    return FillAndRename(folder, std::move(file), temporary, name, bytes, Why);
}

}  // namespace filebytes
