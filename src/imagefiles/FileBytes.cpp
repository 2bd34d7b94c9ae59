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

// A name for the temporary file next to the destination: the stem, then a random seed, a
// counter and the attempt. Creation refuses a name that is taken, so a collision is retried,
// never overwritten.
std::string TemporaryName(const std::string& destination, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    return TemporaryStem(destination) + std::to_string(seed) + "-" + std::to_string(counter++) + "-" +
           std::to_string(attempt);
}

// True for a name TemporaryName makes for a destination with this stem (and for the names of
// earlier versions, which carried one more number): the stem, then digits and dashes only.
bool IsTemporaryName(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem) || name.size() == stem.size()) return false;
    name.remove_prefix(stem.size());
    return name.find_first_not_of("0123456789-") == std::string_view::npos && name.front() != '-' && name.back() != '-';
}

// Removes the temporary files of this destination that no writer holds any more: a writer killed
// in the middle of a write leaves one behind, and nothing else would ever remove it. A running
// writer holds a lock on its file, in whatever process namespace it runs, and its file stays.
void RemoveStaleTemporaries(const Handle& folder, const std::string& destination) {
    const std::string stem = TemporaryStem(destination);
    for (const std::string& name : platformfiles::ListFolder(folder)) {
        if (IsTemporaryName(name, stem)) platformfiles::RemoveIfAbandoned(folder, name);
    }
}

std::string Joined(const std::string& folder, const std::string& name) {
    return imagefiles::Utf8FromPath(imagefiles::PathFromUtf8(folder) / imagefiles::PathFromUtf8(name));
}

bool CannotWrite(FileFailure* Why, std::string detail, std::string systemText = {}) {
    Report(Why, FailureKind::CannotWrite, std::move(detail), std::move(systemText));
    return false;
}

// What is at the destination now, when it may be replaced: only a regular file that may be
// written is. A read-only file stays as it is, even for a user whom permissions do not stop.
bool MayReplace(const Handle& folder, const std::string& path, const std::string& name,
                std::optional<EntryInfo>& existing, FileFailure* Why) {
    SystemError error;
    const EntryInfo info = platformfiles::Inspect(folder, name, error);
    if (error.What != platformfiles::Cause::None) return CannotWrite(Why, "", error.Text);
    switch (info.Kind) {
        case EntryKind::Missing: return true;
        case EntryKind::Folder: return CannotWrite(Why, "a folder");
        case EntryKind::Link: return CannotWrite(Why, path + " is a symbolic link, which is not followed here");
        case EntryKind::Other: return CannotWrite(Why, "not a regular file");
        case EntryKind::Regular: break;
    }
    if ((info.Permissions & 0222) == 0 || !platformfiles::MayWrite(folder, name))
        return CannotWrite(Why, "the file is read-only");
    existing = info;
    return true;
}

// A new temporary file next to the destination, under the first free name, locked as in use.
Handle CreateTemporary(const Handle& folder, const std::string& destination, const std::optional<EntryInfo>& existing,
                       std::string& temporary, FileFailure* Why) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(destination, attempt);
        SystemError error;
        Handle file = platformfiles::CreateNewFile(folder, temporary, existing ? &*existing : nullptr, error);
        if (file.Valid() && platformfiles::MarkInUse(folder, temporary, file)) return file;
        if (file.Valid()) continue;  // taken for stale by another writer's clean-up in between
        if (error.What != platformfiles::Cause::AlreadyExists) {  // no permission, a full disk, ...
            CannotWrite(Why, "", error.Text);
            return Handle();
        }
    }
    CannotWrite(Why, "no free name for a temporary file");
    return Handle();
}

// Fills the temporary file and puts it on the disk; on failure it goes.
bool Fill(const Handle& folder, const Handle& file, const std::string& temporary, std::span<const uint8_t> bytes,
          FileFailure* Why) {
    SystemError error;
    if (platformfiles::WriteAll(file, bytes, error) && platformfiles::SyncFile(file, error)) return true;
    platformfiles::RemoveInFolder(folder, temporary);
    return CannotWrite(Why, "", error.Text);
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

PendingFile::~PendingFile() {
    if (file_.Valid()) platformfiles::RemoveInFolder(*folder_, temporary_);
}

bool PendingFile::Commit(FileFailure* Why) {
    SystemError error;
    if (!platformfiles::RenameInFolder(*folder_, temporary_, name_, error)) {
        platformfiles::RemoveInFolder(*folder_, temporary_);
        file_ = Handle();
        return CannotWrite(Why, "", error.Text);
    }
    // Closed only now: until the rename its lock kept other writers' clean-up away from it. The
    // content is on the disk already, so a late error of the close changes nothing.
    file_.Close();
    platformfiles::SyncFolder(*folder_);
    return true;
}

std::optional<OutputFolder> OutputFolder::Open(const std::string& path, bool create, FileFailure* Why) {
    SystemError error;
    Handle folder = platformfiles::OpenFolder(path.empty() ? "." : path, create, error);
    if (!folder.Valid()) {
        CannotWrite(Why, "the folder " + path, error.Text);
        return std::nullopt;
    }
    return OutputFolder(path, std::move(folder));
}

std::optional<OutputFolder> OutputFolder::Below(const std::string& name, FileFailure* Why) const {
    const std::string path = Joined(path_, name);
    SystemError error;
    Handle folder = platformfiles::OpenFolderBelow(*folder_, name, true, error);
    if (folder.Valid()) return OutputFolder(path, std::move(folder));
    if (error.What == platformfiles::Cause::IsLink)
        CannotWrite(Why, path + " is a symbolic link, which is not followed here");
    else
        CannotWrite(Why, "the folder " + path, error.Text);
    return std::nullopt;
}

std::optional<PendingFile> OutputFolder::Prepare(const std::string& name, std::span<const uint8_t> bytes,
                                                 FileFailure* Why) const {
    const std::string path = Joined(path_, name);
    std::optional<EntryInfo> existing;
    if (!MayReplace(*folder_, path, name, existing, Why)) return std::nullopt;
    RemoveStaleTemporaries(*folder_, name);
    std::string temporary;
    Handle file = CreateTemporary(*folder_, name, existing, temporary, Why);
    if (!file.Valid() || !Fill(*folder_, file, temporary, bytes, Why)) return std::nullopt;
    return PendingFile(path, folder_, std::move(file), temporary, name);
}

bool OutputFolder::WriteFile(const std::string& name, std::span<const uint8_t> bytes, FileFailure* Why) const {
    auto pending = Prepare(name, bytes, Why);
    return pending && pending->Commit(Why);
}

std::optional<PendingFile> PrepareFile(const std::string& path, std::span<const uint8_t> bytes, FileFailure* Why) {
    if (path.empty()) {
        CannotWrite(Why, "no file name");
        return std::nullopt;
    }
    // A link is written through, so the link itself survives.
    std::string target;
    SystemError error;
    if (!platformfiles::ResolveNamedDestination(path, target, error)) {
        if (error.What == platformfiles::Cause::IsLink)
            CannotWrite(Why,
                        path + " is a link of another user in a shared sticky folder, which the system does not follow",
                        error.Text);
        else
            CannotWrite(Why, "", error.Text);
        return std::nullopt;
    }
    const std::filesystem::path destination = imagefiles::PathFromUtf8(target);
    const std::string name = imagefiles::Utf8FromPath(destination.filename());
    if (name.empty()) {  // "folder/" names no file
        CannotWrite(Why, "the name is a folder");
        return std::nullopt;
    }
    const auto folder = OutputFolder::Open(imagefiles::Utf8FromPath(destination.parent_path()), false, Why);
    if (!folder) return std::nullopt;
    auto pending = folder->Prepare(name, bytes, Why);
    if (pending) pending->path_ = path;
    return pending;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, FileFailure* Why) {
    auto pending = PrepareFile(path, bytes, Why);
    return pending && pending->Commit(Why);
}

}  // namespace filebytes
