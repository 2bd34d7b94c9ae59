// The core's file calls on Windows: the wide (UTF-16) calls, paths converted from the UTF-8 text
// the core holds, and the replacing rename MoveFileExW(REPLACE_EXISTING | WRITE_THROUGH). Windows
// addresses files by path, so a folder's handle keeps the folder open (it cannot be removed or
// renamed meanwhile) and the calls inside it name the folder's path and the entry's name.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "imagefiles/PlatformFiles.h"

namespace platformfiles {

namespace {

// Every share mode: the core's own reads never lock others out of a file.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE NativeOf(const Handle& handle) { return reinterpret_cast<HANDLE>(handle.Native()); }
Handle Wrap(HANDLE native, std::string path) {
    return Handle(reinterpret_cast<std::intptr_t>(native), std::move(path));
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The wide path of name inside the folder a handle was opened by.
std::wstring Inside(const Handle& folder, const std::string& name) {
    return (PathOf(folder.Path()) / PathOf(name)).wstring();
}

std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The system's words for an error, without the full stop and line break Windows ends them with.
std::string ErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    if (buffer != nullptr) ::LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty()) return "system error " + std::to_string(code);
    return Utf8(text);
}

SystemError ErrorOf(DWORD code) {
    Cause cause = Cause::Other;
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) cause = Cause::NotFound;
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) cause = Cause::AlreadyExists;
    return {cause, ErrorText(code)};
}

// Stores the last call's error and gives false, for one-line failure returns.
bool Failed(SystemError& error, DWORD code = ::GetLastError()) {
    error = ErrorOf(code);
    return false;
}

// A link on Windows is a reparse point: a symbolic link or a junction.
EntryKind KindOf(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::Link;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::Folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::Other;
    return EntryKind::Regular;
}

// Windows has no permission bits; a read-only file is what 0444 says on POSIX.
uint32_t PermissionsOf(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666; }

uint64_t SizeOf(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

// Opens a folder (links followed only when follow is set) and checks that it is one.
Handle OpenFolderPath(const std::wstring& path, std::string utf8, bool follow, SystemError& error) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE native = ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
    if (native == INVALID_HANDLE_VALUE) return Failed(error), Handle();
    Handle folder = Wrap(native, std::move(utf8));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(native, &info)) return Failed(error), Handle();
    const EntryKind kind = KindOf(info.dwFileAttributes);
    if (kind == EntryKind::Link) {
        error = {Cause::IsLink, "a symbolic link"};
        return Handle();
    }
    if (kind != EntryKind::Folder) return Failed(error, ERROR_DIRECTORY), Handle();
    return folder;
}

}  // namespace

Handle::~Handle() {
    if (Valid()) ::CloseHandle(NativeOf(*this));
}

Handle::Handle(Handle&& other) noexcept
    : native_(std::exchange(other.native_, kInvalid)), path_(std::move(other.path_)) {}

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) {
        if (Valid()) ::CloseHandle(NativeOf(*this));
        native_ = std::exchange(other.native_, kInvalid);
        path_ = std::move(other.path_);
    }
    return *this;
}

bool Handle::Close(SystemError* error) {
    const std::intptr_t native = std::exchange(native_, kInvalid);
    if (native == kInvalid || ::CloseHandle(reinterpret_cast<HANDLE>(native))) return true;
    if (error) *error = ErrorOf(::GetLastError());
    return false;
}

Handle OpenForReading(const std::string& path, EntryInfo& info, SystemError& error) {
    // Backup semantics so that a folder opens too, to be refused as a folder by the caller.
    HANDLE native = ::CreateFileW(PathOf(path).wstring().c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (native == INVALID_HANDLE_VALUE) return Failed(error), Handle();
    Handle file = Wrap(native, path);
    info = {};
    if (::GetFileType(native) != FILE_TYPE_DISK) {  // a console, a pipe, a device such as NUL
        info.Kind = EntryKind::Other;
        return file;
    }
    BY_HANDLE_FILE_INFORMATION status{};
    if (!::GetFileInformationByHandle(native, &status)) return Failed(error), Handle();
    info.Kind = KindOf(status.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT));
    info.Size = SizeOf(status.nFileSizeHigh, status.nFileSizeLow);
    info.Permissions = PermissionsOf(status.dwFileAttributes);
    return file;
}

bool ReadAt(const Handle& file, uint64_t offset, std::span<uint8_t> into, std::size_t& got, SystemError& error) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 30));
    DWORD n = 0;
    if (!::ReadFile(NativeOf(file), into.data(), wanted, &n, &at)) {
        const DWORD code = ::GetLastError();
        if (code != ERROR_HANDLE_EOF) return Failed(error, code);
        n = 0;
    }
    got = n;
    return true;
}

Handle OpenFolder(const std::string& path, bool create, SystemError& error) {
    const std::filesystem::path folder = PathOf(path);
    if (create) {
        std::error_code made;
        std::filesystem::create_directories(folder, made);
        if (made && made != std::errc::file_exists) {
            error = {made == std::errc::no_such_file_or_directory ? Cause::NotFound : Cause::Other, made.message()};
            return Handle();
        }
    }
    return OpenFolderPath(folder.wstring(), path, true, error);
}

Handle OpenFolderBelow(const Handle& folder, const std::string& name, bool create, SystemError& error) {
    const std::wstring path = Inside(folder, name);
    if (create && !::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return Failed(error), Handle();
    return OpenFolderPath(path, Utf8Path(PathOf(folder.Path()) / PathOf(name)), false, error);
}

EntryInfo Inspect(const Handle& folder, const std::string& name, SystemError& error) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(Inside(folder, name).c_str(), GetFileExInfoStandard, &data)) {
        const DWORD code = ::GetLastError();
        if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) Failed(error, code);
        return {};
    }
    EntryInfo entry;
    entry.Kind = KindOf(data.dwFileAttributes);
    entry.Size = SizeOf(data.nFileSizeHigh, data.nFileSizeLow);
    entry.Permissions = PermissionsOf(data.dwFileAttributes);
    return entry;
}

bool MayWrite(const Handle& folder, const std::string& name) {
    const std::wstring path = Inside(folder, name);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    // The file's access list decides the rest: asked by opening it for writing, changing nothing.
    HANDLE probe =
        ::CreateFileW(path.c_str(), FILE_WRITE_DATA, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return ::GetLastError() != ERROR_ACCESS_DENIED;
    ::CloseHandle(probe);
    return true;
}

std::vector<std::string> ListFolder(const Handle& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry{};
    HANDLE listing =
        ::FindFirstFileExW(Inside(folder, "*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(Utf8(name));
    } while (::FindNextFileW(listing, &entry));
    ::FindClose(listing);
    return names;
}

bool RenameInFolder(const Handle& folder, const std::string& from, const std::string& to, SystemError& error) {
    // Replaces the destination in one step, and returns only once the rename is on the disk.
    if (::MoveFileExW(Inside(folder, from).c_str(), Inside(folder, to).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    return Failed(error);
}

bool RemoveInFolder(const Handle& folder, const std::string& name) {
    return ::DeleteFileW(Inside(folder, name).c_str()) != 0;
}

// A folder's entries cannot be flushed on their own on Windows; the rename's write-through has
// put them on the disk already.
void SyncFolder(const Handle&) {}

bool ResolveNamedDestination(const std::string& path, std::string& target, SystemError& error) {
    std::filesystem::path current = PathOf(path);
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code unreadable;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, unreadable))) {
            target = Utf8Path(current);
            return true;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(current, unreadable);
        if (unreadable) {
            error = {Cause::Other, unreadable.message()};
            return false;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return Failed(error, ERROR_CANT_RESOLVE_FILENAME);
}

Handle CreateNewFile(const Handle& folder, const std::string& name, const EntryInfo*, SystemError& error) {
    // CREATE_NEW never opens what is there, a link included. The new file is an ordinary one
    // either way: Windows has no permission bits or owner to carry over, and a read-only file is
    // never replaced.
    HANDLE native = ::CreateFileW(Inside(folder, name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (native == INVALID_HANDLE_VALUE) return Failed(error), Handle();
    return Wrap(native, Utf8Path(PathOf(folder.Path()) / PathOf(name)));
}

bool WriteAll(const Handle& file, std::span<const uint8_t> bytes, SystemError& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD n = 0;
        if (!::WriteFile(NativeOf(file), bytes.data() + done, chunk, &n, nullptr)) return Failed(error);
        if (n == 0) return Failed(error, ERROR_DISK_FULL);  // no progress and no error: nothing more fits
        done += n;
    }
    return true;
}

bool SyncFile(const Handle& file, SystemError& error) {
    if (::FlushFileBuffers(NativeOf(file))) return true;
    return Failed(error);
}

// The mark is a byte-range lock on the writer's open handle, which Windows releases however the
// writer ends (the file stays open, renamable, until the writer is done with it).
bool MarkInUse(const Handle&, const std::string&, const Handle& file) {
    OVERLAPPED first{};
    return ::LockFileEx(NativeOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first) != 0;
}

void RemoveIfAbandoned(const Handle& folder, const std::string& name) {
    const std::wstring path = Inside(folder, name);
    HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    OVERLAPPED first{};
    const bool abandoned =
        ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &first) != 0;
    if (abandoned) ::UnlockFileEx(file, 0, 1, 0, &first);
    ::CloseHandle(file);
    if (abandoned) ::DeleteFileW(path.c_str());
}

}  // namespace platformfiles
