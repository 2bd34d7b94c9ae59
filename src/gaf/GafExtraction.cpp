#include "gaf/GafExtraction.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "imagefiles/PngWriter.h"
#include "imagefiles/Utf8Path.h"
#include "imagefiles/modPalettes.h"

namespace gaf {

namespace {

constexpr uint8_t kCompressedNone = 0;

bool IsC1Control(std::string_view name, std::size_t at) {
    if (static_cast<uint8_t>(name[at]) != 0xC2 || at + 1 >= name.size()) return false;
    const auto second = static_cast<uint8_t>(name[at + 1]);
    return second >= 0x80 && second <= 0x9F;
}

}  // namespace

std::string EntryFolderName(std::string_view name) {
    std::string folder;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<uint8_t>(name[i]);
        if (IsC1Control(name, i)) {
            folder += '_';
            ++i;  // the second byte of the character
        } else if (b < 0x20 || b == 0x7F || b == '/' || b == '\\' || (i == 0 && b == '.')) {
            folder += '_';
        } else {
            folder += name[i];
        }
    }
    return folder.empty() ? "_" : folder;
}

std::vector<std::string> EntryFolderNames(const DecodedGaf& gaf) {
    std::vector<std::string> folders;
    std::set<std::string> taken;
    for (const DecodedEntry& entry : gaf.Entries) {
        const std::string base = EntryFolderName(entry.Name);
        std::string folder = base;
        for (unsigned repeat = 2; taken.contains(folder); ++repeat) folder = base + "~" + std::to_string(repeat);
        taken.insert(folder);
        folders.push_back(std::move(folder));
    }
    return folders;
}

std::optional<uint8_t> PngTransparentIndex(const DecodedFrame& frame) {
    if (frame.Layers == 0 && frame.Compression == kCompressedNone) return std::nullopt;
    return frame.Transparency;
}

bool ExtractGafFrames(const DecodedGaf& gaf, const std::string& Dir, const WrittenFile& Written,
                      imagefiles::FileFailure* Why) {
    const std::vector<std::string> folders = EntryFolderNames(gaf);
    for (std::size_t e = 0; e < gaf.Entries.size(); ++e) {
        const std::filesystem::path folder = imagefiles::PathFromUtf8(Dir) / imagefiles::PathFromUtf8(folders[e]);
        const auto& frames = gaf.Entries[e].Frames;
        if (frames.empty()) continue;
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error || !std::filesystem::is_directory(folder, error)) {
            imagefiles::Report(Why, imagefiles::FailureKind::CannotWrite,
                               "the folder " + imagefiles::Utf8FromPath(folder) + " cannot be made");
            return false;
        }
        for (std::size_t n = 0; n < frames.size(); ++n) {
            const DecodedFrame& frame = frames[n];
            const std::string path = imagefiles::Utf8FromPath(folder / (std::to_string(n) + ".png"));
            if (!modPNG::WritePNGFile(path, frame.Pixels, modPalettes::GamePalette, frame.Width, frame.Height,
                                      PngTransparentIndex(frame))) {
                imagefiles::Report(Why, imagefiles::FailureKind::CannotWrite, path + " cannot be written");
                return false;
            }
            if (Written) Written(path);
        }
    }
    return true;
}

}  // namespace gaf
