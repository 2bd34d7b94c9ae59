#include "web/PageSession.h"

#include <algorithm>
#include <filesystem>

#include "gaf/GafExtraction.h"
#include "imagefiles/FileKind.h"
#include "imagefiles/PictureDecoders.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportPicture.h"
#include "import/ImportSettingsText.h"
#include "picture/AutoGeneration.h"
#include "picture/CommandMessages.h"
#include "picture/CrossSizeText.h"
#include "picture/FailureReasons.h"
#include "picture/UnitExport.h"

namespace web {

namespace {

using imagefiles::FileFailure;

// How a refused picture's reason names the page's import command.
constexpr ImportCommandWords kImportButtonWords{"Import picture...", "Import picture"};

// The palette is filled once, before the first picture set is made.
bool FillGamePaletteOnce() {
    static const bool filled = (modPalettes::InitGamePalette(), true);
    return filled;
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

Outcome Failed(std::string message, std::string reason) {
    return Outcome{false, std::move(message), std::move(reason), {}};
}

// A reason of the import road as the window words it: the file's name, then the core's phrase.
std::string ImportReason(const std::string& path, const FileFailure& why) {
    return FileName(path) + ": " + import::DescribeImportFailure(why) + ".";
}

// A reader's own detail as a sentence, as the window shows a GAF file's refusal.
std::string DetailSentence(const FileFailure& why) {
    std::string sentence = imagefiles::ReasonText(why);
    if (sentence.empty()) return {};
    if (sentence[0] >= 'a' && sentence[0] <= 'z') sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
    return sentence + ".";
}

}  // namespace

PageSession::PageSession() : paletteFilled_(FillGamePaletteOnce()) {}

std::string PageSession::FileKindOf(const std::vector<uint8_t>& Start) {
    return std::string(imagefiles::FileKindName(imagefiles::DetectFileKind(Start)));
}

std::vector<uint8_t> PageSession::PaletteRgba() const {
    std::vector<uint8_t> rgba;
    rgba.reserve(256 * 4);
    for (const PaletteEntry& entry : modPalettes::GamePalette) {
        rgba.insert(rgba.end(), {entry.Red, entry.Green, entry.Blue, 255});
    }
    return rgba;
}

std::vector<uint8_t> PageSession::Slot(int32_t TAPic) const {
    const Picture picture = unit_.WorkingCopy(TAPic);
    return {picture.begin(), picture.end()};
}

void PageSession::SetSlot(int32_t TAPic, const std::vector<uint8_t>& Pixels) {
    if (Pixels.size() != static_cast<std::size_t>(kPicturePixels)) return;
    Picture picture{};
    std::copy(Pixels.begin(), Pixels.end(), picture.begin());
    unit_.SetSlot(TAPic, picture);
}

std::vector<uint8_t> PageSession::GafFrame(int32_t TAPic) const {
    const gaf::Frame frame = unit_.ReducedFrame(TAPic);
    return {frame.begin(), frame.end()};
}

void PageSession::SetName(const std::string& UnitName) { unit_.Name(UnitName); }

Outcome PageSession::LoadPicture(int32_t TAPic, const std::string& Path, bool Pcx) {
    FileFailure why;
    const bool loaded = Pcx ? unit_.LoadPCXPicture(Path, TAPic, &why) : unit_.LoadBMPPicture(Path, TAPic, &why);
    if (!loaded) return Failed(CommandMessages::kBadPicture, DescribeLoadFailure(Path, why, kImportButtonWords));
    return Outcome{true, {}, {}, {}};
}

Outcome PageSession::SavePicture(int32_t TAPic, const std::string& Path, const std::string& Format) const {
    FileFailure why;
    bool saved = false;
    if (Format == "pcx") {
        saved = SaveSlotAsPCX(unit_, TAPic, Path, &why);
    } else if (Format == "png") {
        saved = SaveSlotAsPNG(unit_, TAPic, Path, &why);
    } else {
        saved = unit_.SaveAsBMP(TAPic, Path, &why);
    }
    if (!saved) return Failed(CommandMessages::kPictureNotSaved, DescribeWriteFailure(Path, why));
    return Outcome{true, {}, {}, {}};
}

void PageSession::AddBorder(int32_t TAPic) { unit_.AddCavedogLikeBorder(TAPic, 1); }
void PageSession::AddGrid(int32_t TAPic) { unit_.AddGrid(TAPic); }
void PageSession::MakeLighter(int32_t TAPic) { unit_.MakePicLighter(TAPic); }
void PageSession::MakeGrey(int32_t TAPic) { unit_.MakePicGrey(TAPic); }

Outcome PageSession::AddCross(int32_t TAPic, const std::string& SizeText) {
    const CrossSizeAnswer size = ParseCrossSize(SizeText);
    switch (size.Verdict) {
        case CrossSizeVerdict::Empty:
        case CrossSizeVerdict::OutOfRange: return Failed({}, {});
        case CrossSizeVerdict::NotANumber: return Failed(kNotANumberMessage, {});
        case CrossSizeVerdict::Accepted: break;
    }
    unit_.AddBlackCross(TAPic, size.Size);
    return Outcome{true, {}, {}, {}};
}

std::optional<import::ImportSettings> PageSession::Settings(const ImportWords& Words, Outcome* Failure) {
    import::ImportSettings settings;
    const auto refuse = [&](std::string reason) {
        *Failure = Failed(CommandMessages::kPictureNotImported, std::move(reason));
        return std::nullopt;
    };
    const auto fit = import::ParseFitMode(Words.Fit);
    const auto trim = import::ParseOnOff(Words.Trim);
    const auto match = import::ParseMatchRule(Words.Match);
    const auto dither = import::ParseDitherMode(Words.Dither);
    const auto strict = import::ParseOnOff(Words.Strict);
    const auto background = import::ParseHexColour(Words.Background);
    if (!fit || !trim || !match || !dither || !strict || !background) return refuse({});
    std::string avoidProblem;
    const auto avoid = import::ParseAvoidList(Words.Avoid, &avoidProblem);
    if (!avoid) return refuse(avoidProblem);
    settings.Fit = *fit;
    settings.Trim = *trim;
    settings.Match = *match;
    settings.Dither = *dither;
    settings.Strict = *strict;
    settings.Background = *background;
    settings.Avoid = *avoid;
    if (!Words.BackgroundFile.empty()) {
        if (Words.BackgroundFile != backgroundPath_ || !backgroundFrame_) {
            FileFailure why;
            auto frame = import::LoadBackgroundFrame(Words.BackgroundFile, &why);
            if (!frame) return refuse("the background picture: " + ImportReason(Words.BackgroundFile, why));
            backgroundFrame_ = std::make_shared<const imagefiles::RgbaPicture>(std::move(*frame));
            backgroundPath_ = Words.BackgroundFile;
        }
        settings.BackgroundFrame = backgroundFrame_;
    }
    return settings;
}

ImportPreview PageSession::PreviewImport(const std::string& Path, const ImportWords& Words) {
    ImportPreview preview;
    const auto settings = Settings(Words, &preview.Result);
    if (!settings) return preview;
    FileFailure why;
    if (Path != previewPath_ || !previewPicture_) {
        previewPicture_ = imagefiles::ReadPictureFile(Path, &why);
        previewPath_ = previewPicture_ ? Path : std::string();
        if (!previewPicture_) {
            preview.Result = Failed(CommandMessages::kPictureNotImported, ImportReason(Path, why));
            return preview;
        }
    }
    const auto result = import::ImportDecoded(*previewPicture_, *settings, modPalettes::GamePalette, &why);
    if (!result) {
        preview.Result = Failed(CommandMessages::kPictureNotImported, ImportReason(Path, why));
        return preview;
    }
    preview.Result = Outcome{true, {}, {}, import::DescribeReport(result->Report)};
    preview.Composited = result->Frames.Composited.Pixels;
    preview.Indices.assign(result->Indices.begin(), result->Indices.end());
    return preview;
}

Outcome PageSession::ImportPicture(int32_t TAPic, const std::string& Path, const ImportWords& Words) {
    Outcome failure;
    const auto settings = Settings(Words, &failure);
    if (!settings) return failure;
    FileFailure why;
    import::ConversionReport report;
    if (!unit_.ImportPicture(Path, TAPic, *settings, &report, &why))
        return Failed(CommandMessages::kPictureNotImported, ImportReason(Path, why));
    return Outcome{true, {}, {}, import::DescribeReport(report)};
}

Outcome PageSession::GenerateFromBasis(const std::string& Path, const std::string& Kind, const ImportWords& Words) {
    import::ImportSettings settings;
    PictureFileKind kind = Kind == "pcx" ? PictureFileKind::Pcx : PictureFileKind::Bmp;
    if (Kind == "import") {
        Outcome failure;
        const auto chosen = Settings(Words, &failure);
        if (!chosen) return failure;
        settings = *chosen;
        kind = PictureFileKind::Imported;
    }
    FileFailure why;
    const AutoGenerationResult result = GenerateHighlightedAndDisabled(unit_, Path, kind, {}, &why, settings);
    if (result == AutoGenerationResult::Done) return Outcome{true, {}, {}, {}};
    return Failed(CommandMessages::kTaskFailed, kind == PictureFileKind::Imported ? ImportReason(Path, why) : "");
}

Outcome PageSession::WriteGaf(const std::string& Path) const {
    if (unit_.Name().empty()) return Failed(CommandMessages::kNoUnitName, {});
    FileFailure why;
    if (!unit_.SaveGadget(Path, "UseNameEntry", &why))
        return Failed(CommandMessages::kGafNotWritten, DescribeWriteFailure(Path, why));
    return Outcome{true, {}, {}, {}};
}

Outcome PageSession::ExportUnit(const std::string& Dir, std::vector<std::string>* Files) const {
    if (unit_.Name().empty()) return Failed(CommandMessages::kNoUnitName, {});
    FileFailure why;
    const auto files = ::ExportUnit(unit_, Dir, &why);
    if (!files) return Failed(CommandMessages::kUnitNotExported, DescribeWriteFailure(Dir, why));
    if (Files) *Files = {files->Gadget, files->UnitPicture};
    return Outcome{true, {}, {}, {}};
}

Outcome PageSession::OpenGaf(const std::string& Path) {
    FileFailure why;
    auto opened = gaf::ReadGafFile(Path, &why);
    if (!opened) return Failed(CommandMessages::kGafNotOpened, DetailSentence(why));
    gaf_ = std::move(opened);
    return Outcome{true, {}, {}, {}};
}

Outcome PageSession::ExtractGaf(const std::string& Dir, std::vector<std::string>* Files) const {
    if (!gaf_) return Failed(CommandMessages::kFramesNotWritten, {});
    FileFailure why;
    std::vector<std::string> written;
    const auto told = [&](const std::string& path, std::size_t) {
        written.push_back(path);
        return true;
    };
    const bool extracted = gaf::ExtractGafFrames(*gaf_, Dir, told, &why).has_value();
    if (Files) *Files = std::move(written);
    if (!extracted) return Failed(CommandMessages::kFramesNotWritten, DetailSentence(why));
    return Outcome{true, {}, {}, {}};
}

}  // namespace web
