// Whole-file reads and all-or-nothing writes: the destination ends as the whole new file or as
// it was, with no temporary file left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

#include "imagefiles/FileBytes.h"
#include "support/TestFiles.h"

using filebytes::ReadFileBytes;
using filebytes::WriteFileAtomically;
using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

std::vector<uint8_t> Counting(std::size_t size) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    return bytes;
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(ReadFileBytes, ReadsRegularFilesWithinTheLimitAndNothingElse) {
    TempDir dir;
    WriteBytes(dir.file("a.bin"), Counting(5000));
    EXPECT_EQ(ReadFileBytes(dir.file("a.bin"), 5000), Counting(5000));
    EXPECT_FALSE(ReadFileBytes(dir.file("a.bin"), 4999));
    WriteBytes(dir.file("empty.bin"), {});
    EXPECT_EQ(ReadFileBytes(dir.file("empty.bin"), 10), std::vector<uint8_t>{});
    // A FIFO with no writer would block a plain open; it must be refused at once.
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("missing.bin"), dir.path().string(), std::string("/dev/zero"), std::string(), dir.file("pipe")})
        EXPECT_FALSE(ReadFileBytes(path, 1000)) << path;
}

TEST(WriteFileAtomically, WritesNewFilesAndReplacesLongerOnesWholeKeepingTheirPermissions) {
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir.file("out.bin"), Counting(3000)));
    ASSERT_EQ(::chmod(dir.file("out.bin").c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(dir.file("out.bin"), Counting(100)));
    EXPECT_EQ(ReadBytes(dir.file("out.bin")), Counting(100));
    EXPECT_EQ(std::filesystem::status(dir.file("out.bin")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
    ASSERT_TRUE(WriteFileAtomically(dir.file("empty.bin"), {}));
    EXPECT_EQ(std::filesystem::file_size(dir.file("empty.bin")), 0u);
    // A name near the file system's 255-byte limit still leaves room for the temporary file.
    const std::string longName(250, 'n');
    ASSERT_TRUE(WriteFileAtomically(dir.file(longName), Counting(20)));
    EXPECT_EQ(ReadBytes(dir.file(longName)), Counting(20));
    EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"empty.bin", longName, "out.bin"}));
}

TEST(WriteFileAtomically, WritesThroughLinksSoThatTheLinksSurvive) {
    TempDir dir;
    WriteBytes(dir.file("target.bin"), Counting(10));
    std::filesystem::create_symlink("target.bin", dir.file("link.bin"));
    ASSERT_TRUE(WriteFileAtomically(dir.file("link.bin"), Counting(64)));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.bin")));
    EXPECT_EQ(ReadBytes(dir.file("target.bin")), Counting(64));
    // A dangling link names the file to create; a loop of links is a failure.
    std::filesystem::create_symlink("made.bin", dir.file("dangling.bin"));
    ASSERT_TRUE(WriteFileAtomically(dir.file("dangling.bin"), Counting(30)));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("dangling.bin")));
    EXPECT_EQ(ReadBytes(dir.file("made.bin")), Counting(30));
    std::filesystem::create_symlink("loop-b", dir.file("loop-a"));
    std::filesystem::create_symlink("loop-a", dir.file("loop-b"));
    EXPECT_FALSE(WriteFileAtomically(dir.file("loop-a"), Counting(30)));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("loop-a")));
}

TEST(WriteFileAtomically, FailsWithoutTouchingAFolderAReadOnlyFileOrAMissingFolder) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    WriteBytes(dir.path() / "folder" / "inside.txt", {1, 2, 3});
    WriteBytes(dir.file("locked.bin"), Counting(10));
    ASSERT_EQ(::chmod(dir.file("locked.bin").c_str(), 0444), 0);  // left alone even by root
    for (const std::string& path : {dir.file("folder"), dir.file("locked.bin"), dir.file("no-such-folder/out.bin"), std::string()})
        EXPECT_FALSE(WriteFileAtomically(path, Counting(64))) << path;
    EXPECT_EQ(ReadBytes(dir.path() / "folder" / "inside.txt"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadBytes(dir.file("locked.bin")), Counting(10));
    EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"folder", "locked.bin"}));
}
