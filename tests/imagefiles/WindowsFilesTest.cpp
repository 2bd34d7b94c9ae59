// The file calls on Windows, through the same interface the core uses everywhere: UTF-8 names
// reach the disk as the names the user typed, either separator and a drive letter work, a
// replacing write is all-or-nothing, and what is refused on POSIX is refused here too.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "imagefiles/FileBytes.h"
#include "support/TestFiles.h"

namespace {

using imagefiles::FailureKind;
using imagefiles::FileFailure;

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string WithBackslashes(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

TEST(WindowsFiles, Utf8NamesAndBothSeparatorsReachTheSameFile) {
    testsupport::TempDir dir;
    const std::string name =
        "\xC3\x9C"
        "ber \xE2\x9C\x93 \xE6\x97\xA5.bin";  // "Über ✓ 日.bin"
    const std::vector<uint8_t> bytes{1, 2, 3, 0, 255};
    std::string slashed = dir.file(name);
    for (char& c : slashed)
        if (c == '\\') c = '/';
    FileFailure why;
    ASSERT_TRUE(filebytes::WriteFileAtomically(slashed, bytes, &why)) << why.Detail;
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string>{name});
    const auto read = filebytes::ReadFileBytes(WithBackslashes(slashed), 100, &why);
    ASSERT_TRUE(read.has_value()) << why.Detail;
    EXPECT_EQ(*read, bytes);
    ASSERT_EQ(slashed[1], ':') << "a drive letter: " << slashed;
}

TEST(WindowsFiles, AReplacingWriteLeavesOnlyTheNewFile) {
    testsupport::TempDir dir;
    const std::string path = dir.file("out.gaf");
    testsupport::WriteBytes(path, std::vector<uint8_t>(5000, 0xAA));
    const std::vector<uint8_t> bytes(300, 0x42);
    FileFailure why;
    ASSERT_TRUE(filebytes::WriteFileAtomically(path, bytes, &why)) << why.Detail;
    EXPECT_EQ(testsupport::ReadBytes(path), bytes);
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string>{"out.gaf"}) << "no temporary file left";
}

TEST(WindowsFiles, ReadOnlyFilesFoldersAndDevicesAreRefused) {
    testsupport::TempDir dir;
    const std::string locked = dir.file("locked.bin");
    testsupport::WriteBytes(locked, {7, 7});
    const std::wstring wide = std::filesystem::path(std::u8string(locked.begin(), locked.end())).wstring();
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
    FileFailure why;
    EXPECT_FALSE(filebytes::WriteFileAtomically(locked, std::vector<uint8_t>{1}, &why));
    EXPECT_EQ(why.Kind, FailureKind::CannotWrite);
    ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testsupport::ReadBytes(locked), (std::vector<uint8_t>{7, 7}));

    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(filebytes::WriteFileAtomically(dir.file("folder"), std::vector<uint8_t>{1}, &why));
    EXPECT_EQ(why.Kind, FailureKind::CannotWrite);
    EXPECT_FALSE(filebytes::ReadFileBytes(dir.file("folder"), 100, &why).has_value());
    EXPECT_EQ(why.Kind, FailureKind::CannotOpen);
    EXPECT_FALSE(filebytes::ReadFileBytes("NUL", 100, &why).has_value());
    EXPECT_EQ(why.Kind, FailureKind::CannotOpen);
    EXPECT_FALSE(filebytes::WriteFileAtomically(dir.file("missing\\out.bin"), std::vector<uint8_t>{1}, &why));
    EXPECT_EQ(why.Kind, FailureKind::CannotWrite);
    EXPECT_FALSE(why.Detail.empty());
    EXPECT_EQ(NamesIn(dir.path()), (std::vector<std::string>{"folder", "locked.bin"}));
}

}  // namespace
