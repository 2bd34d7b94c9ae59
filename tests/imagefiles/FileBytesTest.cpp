#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

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

// Everything in the folder; a write must leave no temporary file behind.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(ReadFileBytes, ReadsARegularFileWithinTheLimit) {
    TempDir dir;
    const auto content = Counting(5000);
    WriteBytes(dir.file("a.bin"), content);
    EXPECT_EQ(ReadFileBytes(dir.file("a.bin"), 5000), content);
    EXPECT_FALSE(ReadFileBytes(dir.file("a.bin"), 4999).has_value());

    WriteBytes(dir.file("empty.bin"), {});
    const auto empty = ReadFileBytes(dir.file("empty.bin"), 10);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->empty());
}

TEST(ReadFileBytes, RefusesWhatIsNotARegularFile) {
    TempDir dir;
    EXPECT_FALSE(ReadFileBytes(dir.file("missing.bin"), 1000).has_value());
    EXPECT_FALSE(ReadFileBytes(dir.path().string(), 1000).has_value());
    EXPECT_FALSE(ReadFileBytes("/dev/zero", 1000).has_value());
    EXPECT_FALSE(ReadFileBytes("", 1000).has_value());
    // A FIFO with no writer would block a plain open; it must be refused at once.
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReadFileBytes(dir.file("pipe"), 1000).has_value());
}

TEST(WriteFileAtomically, WritesANewFileAndReplacesALongerOneWhole) {
    TempDir dir;
    const auto first = Counting(3000);
    ASSERT_TRUE(WriteFileAtomically(dir.file("out.bin"), first));
    EXPECT_EQ(ReadBytes(dir.file("out.bin")), first);

    const auto second = Counting(100);
    ASSERT_TRUE(WriteFileAtomically(dir.file("out.bin"), second));
    EXPECT_EQ(ReadBytes(dir.file("out.bin")), second);
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"out.bin"});

    ASSERT_TRUE(WriteFileAtomically(dir.file("empty.bin"), {}));
    EXPECT_EQ(std::filesystem::file_size(dir.file("empty.bin")), 0u);
}

TEST(WriteFileAtomically, KeepsTheReplacedFilesPermissionsAndWritesThroughALink) {
    TempDir dir;
    WriteBytes(dir.file("target.bin"), Counting(10));
    ASSERT_EQ(::chmod(dir.file("target.bin").c_str(), 0640), 0);
    std::filesystem::create_symlink("target.bin", dir.file("link.bin"));

    const auto content = Counting(64);
    ASSERT_TRUE(WriteFileAtomically(dir.file("link.bin"), content));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.bin")));
    EXPECT_EQ(ReadBytes(dir.file("target.bin")), content);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("target.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(WriteFileAtomically, FailsWithoutTouchingWhatIsNotARegularFile) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    WriteBytes(dir.path() / "folder" / "inside.txt", {1, 2, 3});
    EXPECT_FALSE(WriteFileAtomically(dir.file("folder"), Counting(10)));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder"));
    EXPECT_EQ(ReadBytes(dir.path() / "folder" / "inside.txt"), (std::vector<uint8_t>{1, 2, 3}));

    EXPECT_FALSE(WriteFileAtomically(dir.file("no-such-folder/out.bin"), Counting(10)));
    EXPECT_FALSE(WriteFileAtomically("", Counting(10)));
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"folder"});
}

TEST(WriteFileAtomically, WritesADestinationWhoseNameIsNearTheLengthLimit) {
    TempDir dir;
    const std::string name(250, 'n');
    ASSERT_TRUE(WriteFileAtomically(dir.file(name), Counting(20)));
    EXPECT_EQ(ReadBytes(dir.file(name)), Counting(20));
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{name});
}

TEST(WriteFileAtomically, LeavesAReadOnlyFileAsItWas) {
    TempDir dir;
    WriteBytes(dir.file("locked.bin"), Counting(10));
    ASSERT_EQ(::chmod(dir.file("locked.bin").c_str(), 0444), 0);
    EXPECT_FALSE(WriteFileAtomically(dir.file("locked.bin"), Counting(64)));
    EXPECT_EQ(ReadBytes(dir.file("locked.bin")), Counting(10));
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"locked.bin"});
}

TEST(WriteFileAtomically, ADanglingLinkNamesTheFileToCreate) {
    TempDir dir;
    std::filesystem::create_symlink("made.bin", dir.file("link.bin"));
    ASSERT_TRUE(WriteFileAtomically(dir.file("link.bin"), Counting(30)));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.bin")));
    EXPECT_EQ(ReadBytes(dir.file("made.bin")), Counting(30));

    std::filesystem::create_symlink("loop-b", dir.file("loop-a"));
    std::filesystem::create_symlink("loop-a", dir.file("loop-b"));
    EXPECT_FALSE(WriteFileAtomically(dir.file("loop-a"), Counting(30)));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("loop-a")));
}
