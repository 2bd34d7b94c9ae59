#include "gaf/GafExtraction.h"

#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "gaf/ControlCharacters.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/Utf8Path.h"
#include "imagefiles/modPalettes.h"

namespace gaf {

namespace {

constexpr uint8_t kCompressedNone = 0;

}  // namespace

std::string EntryFolderName(std::string_view name) {
    std::string folder;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const std::size_t control = ControlCharacterLength(name, i);
        if (control != 0) {
            folder += '_';
            i += control - 1;
        } else if (name[i] == '/' || name[i] == '\\' || (i == 0 && name[i] == '.')) {
            folder += '_';
        } else {
            folder += name[i];
        }
    }
    return folder.empty() ? "_" : folder;
}

std::vector<std::string> EntryFolderNames(const DecodedGaf& gaf) {
    std::vector<std::string> folders;
    folders.reserve(gaf.Entries.size());  // never moved again: taken views the names in place
    std::unordered_set<std::string_view> taken;
    taken.reserve(gaf.Entries.size());
    std::unordered_map<std::string, unsigned> nextRepeat;  // per name, the number to try next
    for (const DecodedEntry& entry : gaf.Entries) {
        const std::string base = EntryFolderName(entry.Name);
        std::string folder = base;
        if (taken.contains(folder)) {
            unsigned& repeat = nextRepeat.try_emplace(base, 2).first->second;
            do folder = base + "~" + std::to_string(repeat++);
            while (taken.contains(folder));
        }
        folders.push_back(std::move(folder));
        taken.insert(folders.back());
    }
    return folders;
}

std::optional<uint8_t> PngTransparentIndex(const DecodedFrame& frame) {
    if (frame.Layers == 0 && frame.Compression == kCompressedNone) return std::nullopt;
    return frame.Transparency;
}

std::size_t FramesToExtract(const DecodedGaf& gaf) {
    std::size_t frames = 0;
    for (const DecodedEntry& entry : gaf.Entries) frames += entry.Frames.size();
    return frames;
}

bool MakeExtractedFiles(const DecodedGaf& gaf, WorkBudget& Budget, imagefiles::FileFailure* Why,
                        const ExtractedFileSink& Sink) {
    const std::vector<std::string> folders = EntryFolderNames(gaf);
    for (std::size_t e = 0; e < gaf.Entries.size(); ++e) {
        const auto& frames = gaf.Entries[e].Frames;
        for (std::size_t n = 0; n < frames.size(); ++n) {
            const DecodedFrame& frame = frames[n];
            const std::string name = std::to_string(n) + ".png";
            const std::vector<uint8_t> png = modPNG::EncodePng(frame.Pixels, modPalettes::GamePalette, frame.Width,
                                                               frame.Height, PngTransparentIndex(frame));
            if (png.empty()) {
                imagefiles::Report(Why, imagefiles::FailureKind::CannotWrite,
                                   folders[e] + "/" + name + ": the PNG encoder failed");
                return false;
            }
            if (!Budget.ChargeFile(png.size(), Why) || !Sink(folders[e], name, png)) return false;
        }
    }
    return true;
}

std::optional<std::size_t> ExtractGafFrames(const DecodedGaf& gaf, const std::string& Dir, const WrittenFile& Written,
                                            imagefiles::FileFailure* Why, WorkBudget& Budget) {
    const auto top = filebytes::OutputFolder::Open(Dir, true, Why);
    if (!top) return std::nullopt;
    std::optional<filebytes::OutputFolder> folder;  // the current entry's
    std::size_t written = 0;
    const auto write = [&](const std::string& folderName, const std::string& name, std::span<const uint8_t> png) {
        if (!folder || imagefiles::Utf8FromPath(imagefiles::PathFromUtf8(folder->Path()).filename()) != folderName) {
            folder = top->Below(folderName, Why);
            if (!folder) return false;
        }
        const std::string path =
            imagefiles::Utf8FromPath(imagefiles::PathFromUtf8(folder->Path()) / imagefiles::PathFromUtf8(name));
        if (!folder->WriteFile(name, png, Why)) {
            if (Why && Why->Detail.empty()) Why->Detail = path;  // which of the many files
            return false;
        }
        ++written;
        if (Written && !Written(path, written)) {
            imagefiles::Report(Why, imagefiles::FailureKind::Cancelled,
                               std::to_string(written) + (written == 1 ? " file" : " files") + " written");
            return false;
        }
        return true;
    };
    if (!MakeExtractedFiles(gaf, Budget, Why, write)) return std::nullopt;
    return written;
}

std::optional<std::size_t> ExtractGafFrames(const DecodedGaf& gaf, const std::string& Dir, const WrittenFile& Written,
                                            imagefiles::FileFailure* Why) {
    WorkBudget budget;
    return ExtractGafFrames(gaf, Dir, Written, Why, budget);
}

}  // namespace gaf
