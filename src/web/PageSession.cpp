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
#include "picture/UnitName.h"

namespace web {

namespace {

using imagefiles::FileFailure;

// How a refused picture's reason names the page's commands.
constexpr ImportCommandWords kImportButtonWords{"Import picture...", "Import picture", "Load BMP", "Load PCX"};

// The palette is filled once, before the first picture set is made.
bool FillGamePaletteOnce() {
    static const bool filled = (modPalettes::InitGamePalette(), true);
    return filled;
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

Outcome Failed(std::string message, std::string reason) {
    return Outcome{false, std::move(message), std::move(reason), {}};
}

// A reason of the import road in the window's words.
std::string ImportReason(const std::string& path, const FileFailure& why) {
    return DescribeImportFileFailure(FileName(path), why);
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

PageSession::SourceFields PageSession::Source(int32_t TAPic) const {
    const SlotSource* source = unit_.Source(TAPic);
    if (!source) return {"none", {}};
    switch (source->From) {
        case SlotSource::Origin::File: return {"file", source->File};
        case SlotSource::Origin::Generated: return {"generated", {}};
        case SlotSource::Origin::None: break;
    }
    return {"none", {}};
}

int32_t PageSession::KeepRecord(int32_t TAPic) {
    const int32_t number = nextRecord_++;
    records_.emplace(number, unit_.Record(TAPic));
    return number;
}

void PageSession::RestoreRecord(int32_t TAPic, int32_t Record) {
    const auto kept = records_.find(Record);
    if (kept != records_.end()) unit_.Restore(TAPic, kept->second);
}

bool PageSession::SameRecords(int32_t A, int32_t B) const {
    const auto a = records_.find(A);
    const auto b = records_.find(B);
    return a != records_.end() && b != records_.end() && a->second == b->second;
}

void PageSession::ForgetRecord(int32_t Record) { records_.erase(Record); }

std::string PageSession::NameCutWarning(const std::string& UnitName) {
    return UnitNameCutWarning(UnitName).value_or(std::string());
}

Outcome PageSession::LoadPicture(int32_t TAPic, const std::string& Path, bool Pcx) {
    FileFailure why;
    const bool loaded = Pcx ? unit_.LoadPCXPicture(Path, TAPic, &why) : unit_.LoadBMPPicture(Path, TAPic, &why);
    if (!loaded) return Failed(CommandMessages::kBadPicture, DescribeLoadFailure(Path, why, kImportButtonWords));
    return Outcome{true, {}, {}, {}};
}

Outcome PageSession::SavePicture(int32_t TAPic, const std::string& Path, const std::string& Format) {
    FileFailure why;
    bool saved = false;
    PictureFileKind kind = PictureFileKind::Bmp;
    if (Format == "pcx") {
        kind = PictureFileKind::Pcx;
        saved = SaveSlotAsPCX(unit_, TAPic, Path, &why);
    } else if (Format == "png") {
        // Read back through the import, whose plain settings take a 96 x 96 game-palette
        // picture as it is.
        kind = PictureFileKind::Imported;
        saved = SaveSlotAsPNG(unit_, TAPic, Path, &why);
    } else {
        saved = unit_.SaveAsBMP(TAPic, Path, &why);
    }
    if (!saved) return Failed(CommandMessages::kPictureNotSaved, DescribeWriteFailure(Path, why));
    unit_.SetSource(TAPic, SlotSource::FromFile(Path, kind));
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

Outcome PageSession::GenerateFromNormal() {
    const SlotSource basis = *unit_.Source(0);
    FileFailure why;
    const AutoGenerationResult result = GenerateHighlightedAndDisabled(unit_, basis, {}, &why);
    switch (result) {
        case AutoGenerationResult::Done: return Outcome{true, {}, {}, {}};
        case AutoGenerationResult::NoSourceFile:
            return Failed(CommandMessages::kTaskFailed, CommandMessages::kNoNormalSource);
        case AutoGenerationResult::FirstLoadFailed:
        case AutoGenerationResult::SecondLoadFailed: break;
    }
    return Failed(CommandMessages::kTaskFailed, basis.Kind == PictureFileKind::Imported
                                                    ? ImportReason(basis.File, why)
                                                    : DescribeLoadFailure(basis.File, why, kImportButtonWords));
}

Outcome PageSession::WriteGaf(const std::string& Path) const {
    if (unit_.Name().empty()) return Failed(CommandMessages::kNoUnitName, {});
    if (const auto problem = UnitNameProblem(unit_.Name())) return Failed(CommandMessages::kGafNotWritten, *problem);
    FileFailure why;
    if (!unit_.SaveGadget(Path, "UseNameEntry", &why))
        return Failed(CommandMessages::kGafNotWritten, DescribeWriteFailure(Path, why));
    return Outcome{true, {}, {}, {}};
}

Outcome PageSession::ExportUnit(const std::string& Dir, std::vector<std::string>* Files) const {
    if (unit_.Name().empty()) return Failed(CommandMessages::kNoUnitName, {});
    if (const auto problem = UnitNameProblem(unit_.Name())) return Failed(CommandMessages::kUnitNotExported, *problem);
    FileFailure why;
    const auto files = ::ExportUnit(unit_, Dir, &why);
    if (!files) return Failed(CommandMessages::kUnitNotExported, DescribeWriteFailure(Dir, why));
    if (Files) *Files = {files->Gadget, files->UnitPicture};
    return Outcome{true, {}, {}, {}};
}

Outcome PageSession::OpenGaf(const std::string& Path) {
    FileFailure why;
    auto opened = gaf::ReadGafFile(Path, &why);
    if (!opened) return Failed(CommandMessages::kGafNotOpened, imagefiles::ReasonSentence(why));
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
    if (!extracted) return Failed(CommandMessages::kFramesNotWritten, imagefiles::ReasonSentence(why));
    return Outcome{true, {}, {}, {}};
}

}  // namespace web
