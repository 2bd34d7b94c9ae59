#pragma once
// The system's words for opening a path that is not there: POSIX's; on Windows, whose names may
// not hold every character a POSIX name can, those its own calls give for the same path.

#include <string>

#include "imagefiles/PlatformFiles.h"

namespace testsupport {

inline std::string MissingFileText([[maybe_unused]] const std::string& path) {
#ifdef _WIN32
    platformfiles::EntryInfo info;
    platformfiles::SystemError error;
    platformfiles::OpenForReading(path, info, error);
    return error.Text;
#else
    return "No such file or directory";
#endif
}

}  // namespace testsupport
