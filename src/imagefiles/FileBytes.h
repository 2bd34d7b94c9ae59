#pragma once
// Reading files whole or piece by piece, and all-or-nothing writes. Paths are UTF-8 text.

#include <cstddef>
#include <cstdint>
#include <memory>
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

// A file written in full to a temporary file next to its destination and put on the disk, but
// not yet in place: Commit renames it over the destination. Dropped uncommitted, the temporary
// file goes and the destination stays as it was. Several of them committed one after the other
// put a set of files in place together (nothing is renamed before every file is on the disk).
class PendingFile {
public:
    PendingFile(PendingFile&&) noexcept = default;
    PendingFile& operator=(PendingFile&&) noexcept = default;
    ~PendingFile();

    // Renames the temporary file over the destination and flushes the folder. False, with the
    // reason, when the rename fails; the destination is then as it was.
    bool Commit(imagefiles::FileFailure* Why = nullptr);
    // The destination's path as the caller named it.
    const std::string& Path() const { return path_; }

private:
    friend class OutputFolder;
    friend std::optional<PendingFile> PrepareFile(const std::string&, std::span<const uint8_t>,
                                                  imagefiles::FileFailure*);
    PendingFile(std::string path, std::shared_ptr<platformfiles::Handle> folder, platformfiles::Handle file,
                std::string temporary, std::string name)
        : path_(std::move(path)),
          folder_(std::move(folder)),
          file_(std::move(file)),
          temporary_(std::move(temporary)),
          name_(std::move(name)) {}

    std::string path_;
    std::shared_ptr<platformfiles::Handle> folder_;
    platformfiles::Handle file_;  // open until committed: its lock tells others the writer is alive
    std::string temporary_;
    std::string name_;
};

// An open folder that files are written into by name. Below it nothing follows a symbolic link:
// files and folders are made relative to the open folder, and a link found there is refused.
class OutputFolder {
public:
    // The folder the user named (links in its path followed, as the user named them), made with
    // its parents when missing and create is set.
    static std::optional<OutputFolder> Open(const std::string& path, bool create,
                                            imagefiles::FileFailure* Why = nullptr);

    // The folder name inside this one, made when missing.
    std::optional<OutputFolder> Below(const std::string& name, imagefiles::FileFailure* Why = nullptr) const;

    // bytes written to a temporary file next to name and on the disk, to be committed.
    std::optional<PendingFile> Prepare(const std::string& name, std::span<const uint8_t> bytes,
                                       imagefiles::FileFailure* Why = nullptr) const;
    // Prepare and Commit in one.
    bool WriteFile(const std::string& name, std::span<const uint8_t> bytes,
                   imagefiles::FileFailure* Why = nullptr) const;

    const std::string& Path() const { return path_; }

private:
    OutputFolder(std::string path, platformfiles::Handle folder)
        : path_(std::move(path)), folder_(std::make_shared<platformfiles::Handle>(std::move(folder))) {}

    std::string path_;
    std::shared_ptr<platformfiles::Handle> folder_;
};

// The steps of WriteFileAtomically before the rename, for a caller that puts several files in
// place together.
std::optional<PendingFile> PrepareFile(const std::string& path, std::span<const uint8_t> bytes,
                                       imagefiles::FileFailure* Why = nullptr);

// Writes bytes to a temporary file in the destination's folder and renames it over the
// destination only once it is complete and on the disk; the folder is then flushed too, so that
// after a power cut the destination holds the old file or the new one. Returns false, leaving
// the destination as it was, when any step fails (CannotWrite, with the system's reason) or when
// the destination exists and is not a writable regular file.
//
// A replaced file keeps its permissions, which the temporary file has from its creation on, and,
// where the writer may give them (root may), its owner and group. A link the user named is
// written through and survives, where the system itself would follow it: a link of another user
// in a sticky world-writable folder (such as /tmp) is refused, unless it is the folder owner's.
// The new file is a new file: other hard links to the old one keep the old content.
// Temporary files of the same destination whose writer has ended are removed; a writer holds a
// lock on its temporary file for as long as it runs, so a running writer's file is left alone,
// whichever process namespace it runs in.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                         imagefiles::FileFailure* Why = nullptr);

}  // namespace filebytes
