// libFuzzer target: any byte sequence read as a GAF file, then listed and extracted as
// --gaf-list and --gaf-extract do, all on one work budget, the files going to a memory sink. The
// listing is valid JSON of every entry, and the extraction makes one PNG file per frame in unique
// folders, or stops at the budget's end with a reason; never a crash, a hang (the folder names
// of many alike entries) or an oversized allocation.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <string>

#include "cli/GafListing.h"
#include "gaf/GafExtraction.h"
#include "gaf/GafReader.h"
#include "imagefiles/modPalettes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool palette = (modPalettes::InitGamePalette(), true);
    (void)palette;
    gaf::WorkBudget budget({.MaxFramePixels = 1024 * 1024,
                            .MaxWork = 16 * 1024 * 1024,
                            .MaxLayerDepth = 8,
                            .MaxParts = 64 * 1024,
                            .MaxFilesWritten = 4096,
                            .MaxBytesWritten = 32 * 1024 * 1024});
    imagefiles::FileFailure why;
    const auto decoded = gaf::DecodeGaf(std::span<const uint8_t>(data, size), &why, budget);
    if (!decoded) {
        if (why.Detail.empty()) std::abort();
        return 0;
    }
    const std::string listing = GafListingJson(*decoded);
    if (listing.empty() || listing.front() != '{') std::abort();

    std::set<std::string> folders, files;
    const auto sink = [&](const std::string& folder, const std::string& name, std::span<const uint8_t> png) {
        if (folder.empty() || folder.find('/') != std::string::npos || folder.front() == '.') std::abort();
        folders.insert(folder);
        if (!files.insert(folder + "/" + name).second || png.size() < 8) std::abort();
        return true;
    };
    if (!gaf::MakeExtractedFiles(*decoded, budget, &why, sink) && why.Detail.empty()) std::abort();
    return 0;
}
