#include "gaf/GafExtraction.h"

#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "gaf/ControlCharacters.h"
#include "gaf/Windows1252.h"
#include "imagefiles/FileBytes.h"
#include "imagefiles/PngWriter.h"
#include "imagefiles/Utf8Path.h"
#include "imagefiles/modPalettes.h"

namespace gaf {

namespace {

constexpr uint8_t kCompressedNone = 0;

// Characters no Windows file name may hold, besides the separators and control characters.
constexpr std::string_view kWindowsForbidden = "<>:\"|?*";

// CON, PRN, AUX, NUL, COM0-9 and LPT0-9 (with ¹, ² or ³ too), in any case and with or without an
// extension, name a device on Windows: a file "CON.png" would be written to the console.
bool IsWindowsDeviceName(std::string_view folder) {
    std::string_view stem = folder.substr(0, folder.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    std::string upper(stem);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
    if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0)) return false;
    const std::string_view number = std::string_view(upper).substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

// The key under which two folder names are the same folder on a file system that ignores case,
// as Windows' and macOS's do: upper-cased by the code page's letter pairs, which the names came from.
std::string FoldedForComparison(const std::string& folder) {
    const auto bytes = windows1252::FromUtf8(folder);
    return bytes ? windows1252::ToUpper(*bytes) : folder;
}

}  // namespace

std::string EntryFolderName(std::string_view name) {
    std::string folder;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const std::size_t control = ControlCharacterLength(name, i);
        if (control != 0) {
            folder += '_';
            i += control - 1;
        } else if (name[i] == '/' || name[i] == '\\' || kWindowsForbidden.find(name[i]) != std::string_view::npos ||
                   (i == 0 && name[i] == '.')) {
            folder += '_';
        } else {
            folder += name[i];
        }
    }
    if (folder.empty()) return "_";
    // Windows drops a trailing dot or space, which would make "A." the folder "A".
    if (folder.back() == '.' || folder.back() == ' ') folder.back() = '_';
    return IsWindowsDeviceName(folder) ? "_" + folder : folder;
}

std::vector<std::string> EntryFolderNames(const DecodedGaf& gaf) {
    std::vector<std::string> folders;
    folders.reserve(gaf.Entries.size());
    std::unordered_set<std::string> taken;  // folded, so that "a" does not land in the folder of "A"
    taken.reserve(gaf.Entries.size());
    std::unordered_map<std::string, unsigned> nextRepeat;  // per folded name, the number to try next
    for (const DecodedEntry& entry : gaf.Entries) {
        const std::string base = EntryFolderName(entry.Name), foldedBase = FoldedForComparison(base);
        std::string folder = base, folded = foldedBase;
        if (taken.contains(folded)) {
            unsigned& repeat = nextRepeat.try_emplace(foldedBase, 2).first->second;
            do {
                const std::string suffix = "~" + std::to_string(repeat++);
                folder = base + suffix, folded = foldedBase + suffix;
            } while (taken.contains(folded));
        }
        folders.push_back(std::move(folder));
        taken.insert(std::move(folded));
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
