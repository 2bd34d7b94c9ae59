#include "support/TestFiles.h"

#ifndef _WIN32
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#endif
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <fstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        auto candidate = base / ("iconwright-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable so they can be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

// Through char8_t, which std::filesystem reads and writes as UTF-8 on every system (a plain
// string is the ANSI code page on Windows), with the system's separators, as the program's own
// joined paths have them.
std::string TempDir::file(const std::string& name) const {
    const std::u8string path = (path_ / std::u8string(name.begin(), name.end())).make_preferred().u8string();
    return std::string(path.begin(), path.end());
}

std::string Joined(const std::string& path, const std::string& more) {
    const auto u8 = [](const std::string& text) {
        return std::filesystem::path(std::u8string(text.begin(), text.end()));
    };
    const std::u8string joined = (u8(path) / u8(more).make_preferred()).u8string();
    return std::string(joined.begin(), joined.end());
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

#ifndef _WIN32
int UnderFileSizeLimit(std::size_t limitBytes, bool ignoreSignal, const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, ignoreSignal ? SIG_IGN : SIG_DFL);
        const rlimit limit{limitBytes, limitBytes};
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 3 : work() ? 0 : 1);
    }
    int status = -1;
    if (child < 0 || ::waitpid(child, &status, 0) != child) throw std::runtime_error("cannot run a child process");
    return status;
}

int OnAFullDisk(const std::filesystem::path& folder, const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        const bool mounted = ::unshare(CLONE_NEWNS) == 0 &&
                             ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                             ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=4k") == 0;
        ::_exit(!mounted ? 3 : work() ? 0 : 1);
    }
    int status = -1;
    if (child < 0 || ::waitpid(child, &status, 0) != child) throw std::runtime_error("cannot run a child process");
    return status;
}

#endif

}  // namespace testsupport
