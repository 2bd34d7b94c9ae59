// Whole-file and ranged reads, and all-or-nothing writes: the destination ends as the whole new
// file or as it was, keeps its permissions, owner and links, and no temporary file outlives a
// killed writer for long.

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "imagefiles/FileBytes.h"
#include "imagefiles/PlatformFiles.h"
#include "support/Refusals.h"
#include "support/TestFiles.h"

using filebytes::WriteFileAtomically;
using imagefiles::FailureKind;
using imagefiles::FileFailure;
using testsupport::ReadBytes;
using testsupport::Said;
using testsupport::WriteBytes;
using Names = std::vector<std::string>;

namespace {

std::vector<uint8_t> Counting(std::size_t size) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    return bytes;
}

Names FolderEntries(const std::filesystem::path& folder) {
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

}  // namespace

// The refusals come from opening the file, which every reader does first.
TEST(ReadFileBytes, ReadsRegularFilesWithinTheLimitAndSaysWhyNot) {
    testsupport::TempDir dir;
    WriteBytes(dir.file("a.bin"), Counting(5000));
    EXPECT_EQ(filebytes::ReadFileBytes(dir.file("a.bin"), 5000), Counting(5000));
    WriteBytes(dir.file("empty.bin"), {});
    EXPECT_EQ(filebytes::ReadFileBytes(dir.file("empty.bin"), 10), std::vector<uint8_t>{});
    // A FIFO with no writer would block a plain open; it must be refused at once.
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const std::tuple<std::string, std::size_t, FailureKind, std::string> refused[] = {
        {dir.file("a.bin"), 4999, FailureKind::TooLarge, "5000 bytes, more than 4999"},
        {dir.file("missing.bin"), 1000, FailureKind::CannotOpen, "No such file or directory"},
        {dir.path().string(), 1000, FailureKind::CannotOpen, "a folder"},
        {dir.file("pipe"), 1000, FailureKind::CannotOpen, "not a regular file"},
    };
    for (const auto& [path, limit, kind, detail] : refused) {
        FileFailure why;
        EXPECT_FALSE(filebytes::ReadFileBytes(path, limit, &why)) << path;
        EXPECT_EQ(testsupport::Said(why), testsupport::Said({kind, detail})) << path;
    }
}

TEST(FileReader, ReadsTheRangesAskedForAndNothingPastTheEnd) {
    testsupport::TempDir dir;
    WriteBytes(dir.file("a.bin"), Counting(100));
    auto file = filebytes::FileReader::Open(dir.file("a.bin"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Size(), 100u);
    const auto all = Counting(100);
    EXPECT_EQ(file->Read(90, 10), std::vector<uint8_t>(all.begin() + 90, all.end()));
    EXPECT_EQ(file->Read(100, 0), std::vector<uint8_t>{});
    for (const auto& [offset, count] : {std::pair<uint64_t, uint64_t>{95, 6}, {101, 0}, {1, UINT64_MAX}}) {
        FileFailure why;
        EXPECT_FALSE(file->Read(offset, count, &why)) << offset << "+" << count;
        EXPECT_EQ(why.Kind, FailureKind::Truncated) << offset << "+" << count;
    }
}

TEST(WriteFileAtomically, WritesNewFilesAndReplacesLongerOnesWholeKeepingTheirPermissions) {
    testsupport::TempDir dir;
    ASSERT_TRUE(WriteFileAtomically(dir.file("out.bin"), Counting(3000)));
    ASSERT_EQ(::chmod(dir.file("out.bin").c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(dir.file("out.bin"), Counting(100)));
    EXPECT_EQ(ReadBytes(dir.file("out.bin")), Counting(100));
    EXPECT_EQ(ModeOf(dir.file("out.bin")), 0640u);
    ASSERT_TRUE(WriteFileAtomically(dir.file("empty.bin"), {}));
    EXPECT_EQ(std::filesystem::file_size(dir.file("empty.bin")), 0u);
    // A name near the file system's 255-byte limit still leaves room for the temporary file.
    const std::string longName(250, 'n');
    ASSERT_TRUE(WriteFileAtomically(dir.file(longName), Counting(20)));
    EXPECT_EQ(ReadBytes(dir.file(longName)), Counting(20));
    EXPECT_EQ(FolderEntries(dir.path()), (Names{"empty.bin", longName, "out.bin"}));
}

// A link is written through and survives; a dangling link names the file to create; a loop of
// links is a failure.
TEST(WriteFileAtomically, WritesThroughLinksSoThatTheLinksSurvive) {
    testsupport::TempDir dir;
    WriteBytes(dir.file("target.bin"), Counting(10));
    const std::pair<const char*, const char*> links[] = {
        {"target.bin", "link.bin"}, {"made.bin", "dangling.bin"}, {"loop-b", "loop-a"}, {"loop-a", "loop-b"}};
    for (const auto& [target, link] : links) std::filesystem::create_symlink(target, dir.file(link));
    ASSERT_TRUE(WriteFileAtomically(dir.file("link.bin"), Counting(64)));
    EXPECT_EQ(ReadBytes(dir.file("target.bin")), Counting(64));
    ASSERT_TRUE(WriteFileAtomically(dir.file("dangling.bin"), Counting(30)));
    EXPECT_EQ(ReadBytes(dir.file("made.bin")), Counting(30));
    FileFailure why;
    EXPECT_FALSE(WriteFileAtomically(dir.file("loop-a"), Counting(30), &why));
    EXPECT_EQ(why.SystemText, "Too many levels of symbolic links");
    for (const auto& [target, link] : links) EXPECT_TRUE(std::filesystem::is_symlink(dir.file(link))) << link;
}

TEST(WriteFileAtomically, FailsWithItsReasonWithoutTouchingAFolderAReadOnlyFileOrAMissingFolder) {
    testsupport::TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    WriteBytes(dir.path() / "folder" / "inside.txt", {1, 2, 3});
    WriteBytes(dir.file("locked.bin"), Counting(10));
    ASSERT_EQ(::chmod(dir.file("locked.bin").c_str(), 0444), 0);  // left alone even by root
    const std::pair<std::string, std::string> refused[] = {
        {dir.file("folder"), "a folder"},
        {dir.file("locked.bin"), "the file is read-only"},
        {dir.file("no-such-folder/out.bin"),
         "the folder " + dir.file("no-such-folder") + ": No such file or directory"},
        {"", "no file name"},
    };
    for (const auto& [path, detail] : refused) {
        FileFailure why;
        EXPECT_FALSE(WriteFileAtomically(path, Counting(64), &why)) << path;
        EXPECT_EQ(testsupport::Said(why), testsupport::Said({FailureKind::CannotWrite, detail})) << path;
    }
    EXPECT_EQ(ReadBytes(dir.path() / "folder" / "inside.txt"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadBytes(dir.file("locked.bin")), Counting(10));
    EXPECT_EQ(FolderEntries(dir.path()), (Names{"folder", "locked.bin"}));
}

// A writer killed by a file-size limit in the middle of its write leaves its temporary file:
// that file already has the destination's private mode, not the umask's, and the next write of
// the same destination removes it.
TEST(WriteFileAtomically, TheTemporaryFileHasTheDestinationsModeAndAKilledWritersIsRemovedLater) {
    testsupport::TempDir dir;
    const std::string destination = dir.file("out.bin");
    WriteBytes(destination, Counting(10));
    ASSERT_EQ(::chmod(destination.c_str(), 0600), 0);
    const mode_t umaskBefore = ::umask(022);
    const int status =
        testsupport::UnderFileSizeLimit(4096, false, [&] { return WriteFileAtomically(destination, Counting(10000)); });
    ::umask(umaskBefore);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "wait status " << status;
    const Names left = FolderEntries(dir.path());
    ASSERT_EQ(left.size(), 2u);
    EXPECT_TRUE(left[0].starts_with(".out.bin.tmp-")) << left[0];
    EXPECT_EQ(ModeOf(dir.file(left[0])), 0600u);
    EXPECT_EQ(ReadBytes(destination), Counting(10));
    ASSERT_TRUE(WriteFileAtomically(destination, Counting(20)));
    EXPECT_EQ(FolderEntries(dir.path()), Names{"out.bin"});
    EXPECT_EQ(ReadBytes(destination), Counting(20));
}

// A writer that holds its temporary file (created and locked as WriteFileAtomically does), in
// this process namespace or in a new one, where its process id means nothing here. It ends when
// Stop is closed; Process is then waited for. Process -1 when no such writer could be made.
struct HeldFile {
    pid_t Process = -1;
    int Stop = -1;
};

HeldFile HoldTemporaryFile(const std::string& folder, const std::string& name, bool otherPidNamespace) {
    int ready[2], stop[2];
    if (::pipe(ready) != 0 || ::pipe(stop) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(stop[1]);
        if (otherPidNamespace && ::unshare(CLONE_NEWPID) != 0) ::_exit(3);
        const pid_t writer = otherPidNamespace ? ::fork() : 0;  // the first process of the new namespace
        if (writer > 0) ::waitpid(writer, nullptr, 0), ::_exit(0);
        platformfiles::SystemError error;
        const auto where = platformfiles::OpenFolder(folder, false, error);
        const auto file = platformfiles::CreateNewFile(where, name, nullptr, error);
        const char held = platformfiles::MarkInUse(where, name, file) ? 'y' : 'n';
        if (::write(ready[1], &held, 1) != 1) ::_exit(4);
        char none;
        while (::read(stop[0], &none, 1) > 0) {
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(stop[0]);
    char held = 0;
    const bool holding = ::read(ready[0], &held, 1) == 1 && held == 'y';
    ::close(ready[0]);
    if (!holding) {
        ::close(stop[1]);
        ::waitpid(child, nullptr, 0);
        return {};
    }
    return {child, stop[1]};
}

// Only this destination's temporary files that no writer holds go; a running writer's file
// (in this PID namespace or another one: a writer in a container sharing the folder), another
// destination's and names that only look alike stay.
TEST(WriteFileAtomically, RemovesOnlyTheTemporaryFilesOfTheSameDestinationThatNoWriterHolds) {
    testsupport::TempDir dir;
    const std::pair<std::string, bool> files[] = {
        {".out.bin.tmp-7-0-0", false},  {".out.bin.tmp-123-123456-99-3", false},
        {".other.bin.tmp-7-0-0", true}, {".out.bin.tmp-7-0-0.keep", true},
        {"out.bin.tmp-7-0-0", true},    {".out.bin.tmp-x7-0-0", true},
        {".out.bin.tmp-", true},        {".out.bin.tmp--7", true},
    };
    for (const auto& file : files) WriteBytes(dir.file(file.first), {1});
    const HeldFile here = HoldTemporaryFile(dir.path(), ".out.bin.tmp-1-1-1", false);
    ASSERT_GT(here.Process, 0);
    const HeldFile elsewhere = HoldTemporaryFile(dir.path(), ".out.bin.tmp-2-2-2", true);
    if (elsewhere.Process < 0) std::cerr << "no second PID namespace here (needs root): that writer is not tried\n";
    EXPECT_TRUE(WriteFileAtomically(dir.file("out.bin"), Counting(5)));
    for (const auto& [name, kept] : files) EXPECT_EQ(std::filesystem::exists(dir.file(name)), kept) << name;
    EXPECT_TRUE(std::filesystem::exists(dir.file(".out.bin.tmp-1-1-1")));
    if (elsewhere.Process > 0) {
        EXPECT_TRUE(std::filesystem::exists(dir.file(".out.bin.tmp-2-2-2")));
    }
    for (const HeldFile& writer : {elsewhere, here}) ::close(writer.Stop);
    for (const HeldFile& writer : {elsewhere, here}) {
        if (writer.Process > 0) ::waitpid(writer.Process, nullptr, 0);
    }
    // Once their writers have ended, the next write removes them.
    EXPECT_TRUE(WriteFileAtomically(dir.file("out.bin"), Counting(6)));
    EXPECT_FALSE(std::filesystem::exists(dir.file(".out.bin.tmp-1-1-1")));
    EXPECT_FALSE(std::filesystem::exists(dir.file(".out.bin.tmp-2-2-2")));
    EXPECT_EQ(ReadBytes(dir.file("out.bin")), Counting(6));
}

// A named destination that is a link in a sticky world-writable folder (such as /tmp) is
// followed only where the kernel would follow it: when the link is the writer's or the folder
// owner's. Another user's link there is refused and its target left alone.
TEST(WriteFileAtomically, FollowsALinkInASharedStickyFolderOnlyWhereTheKernelWould) {
    if (::geteuid() != 0) GTEST_SKIP() << "making links of other users needs root";
    testsupport::TempDir dir;
    const std::string shared = dir.file("shared");
    std::filesystem::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    const struct {
        uid_t FolderOwner, LinkOwner;
        bool Followed;
    } cases[] = {{0, 12345, false}, {0, 0, true}, {12345, 12345, true}, {12345, 23456, false}};
    for (const auto& c : cases) {
        ASSERT_EQ(::chown(shared.c_str(), c.FolderOwner, 0), 0);
        WriteBytes(dir.file("victim.bin"), Counting(10));
        const std::string link = shared + "/out.bin";
        std::filesystem::remove(link);
        std::filesystem::create_symlink(dir.file("victim.bin"), link);
        ASSERT_EQ(::lchown(link.c_str(), c.LinkOwner, 0), 0);
        FileFailure why;
        EXPECT_EQ(WriteFileAtomically(link, Counting(20), &why), c.Followed) << c.FolderOwner << " " << c.LinkOwner;
        EXPECT_EQ(ReadBytes(dir.file("victim.bin")), Counting(c.Followed ? 20 : 10));
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        if (!c.Followed) {
            EXPECT_EQ(Said(why), Said({FailureKind::CannotWrite,
                                       link + " is a link of another user in a shared sticky folder, which the "
                                              "system does not follow",
                                       "Permission denied"}));
        }
    }
}

// Root replacing another user's file gives the new file that user's owner and group and the
// old mode, set-group bit included (a change of owner would clear it).
TEST(WriteFileAtomically, RootKeepsTheOwnerGroupAndModeOfAnotherUsersFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    testsupport::TempDir dir;
    const std::string path = dir.file("theirs.bin");
    WriteBytes(path, Counting(10));
    ASSERT_EQ(::chown(path.c_str(), 12345, 23456), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, Counting(30)));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(std::tuple(info.st_uid, info.st_gid, info.st_mode & 07777), std::tuple(12345u, 23456u, 02640u));
    EXPECT_EQ(ReadBytes(path), Counting(30));
}
