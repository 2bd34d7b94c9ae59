#include "import/ImportPicture.h"

#include "imagefiles/PictureDecoders.h"
#include "imagefiles/modPalettes.h"
#include "import/Composite.h"
#include "import/FitPicture.h"
#include "import/MapToPalette.h"

namespace import {

using imagefiles::FailureKind;
using imagefiles::RgbaPicture;

std::optional<PreparedFrames> PrepareFrames(const RgbaPicture& picture, const ImportSettings& settings,
                                            imagefiles::FileFailure* Why) {
    const bool visible = picture.Width > 0 && picture.Height > 0 && HasVisiblePixel(picture);
    // Trimming a picture with nothing visible leaves nothing to fit.
    if (picture.Width <= 0 || picture.Height <= 0 || (!visible && settings.Trim)) {
        imagefiles::Report(Why, FailureKind::FullyTransparent, "the picture is fully transparent");
        return std::nullopt;
    }
    PreparedFrames frames;
    if (!visible) {
        // Nothing of it shows, wherever it is fitted: the frame is the background alone.
        frames.FullyTransparent = true;
        frames.Fitted = imagefiles::RgbaPicture{kFrameSide, kFrameSide, std::vector<uint8_t>(kFramePixels * 4, 0)};
    } else {
        frames.Fitted =
            settings.Trim ? FitToFrame(TrimTransparentEdges(picture), settings.Fit) : FitToFrame(picture, settings.Fit);
    }
    frames.Composited = CompositeOver(
        frames.Fitted, settings.BackgroundFrame ? *settings.BackgroundFrame : SolidFrame(settings.Background));
    return frames;
}

std::optional<ImportResult> ImportDecoded(const RgbaPicture& picture, const ImportSettings& settings,
                                          const Palette& palette, imagefiles::FileFailure* Why) {
    if (settings.Avoid.all()) {
        imagefiles::Report(Why, FailureKind::Unsupported, "every palette index is avoided");
        return std::nullopt;
    }
    auto frames = PrepareFrames(picture, settings, Why);
    if (!frames) return std::nullopt;
    return MapPreparedFrames(std::move(*frames), settings, palette, Why);
}

std::optional<ImportResult> MapPreparedFrames(PreparedFrames frames, const ImportSettings& settings,
                                              const Palette& palette, imagefiles::FileFailure* Why) {
    if (settings.Avoid.all()) {
        imagefiles::Report(Why, FailureKind::Unsupported, "every palette index is avoided");
        return std::nullopt;
    }
    if (settings.Strict && !CheckExactColours(frames.Composited, palette, settings.Avoid, Why)) return std::nullopt;
    MappedFrame mapped = MapToPalette(frames.Composited, palette, settings.Match, settings.Dither, settings.Avoid);
    mapped.Report.FullyTransparent = frames.FullyTransparent;
    return ImportResult{std::move(frames), mapped.Indices, mapped.Report};
}

bool SameFrames(const ImportSettings& a, const ImportSettings& b) {
    return a.Fit == b.Fit && a.Trim == b.Trim && a.Background == b.Background && a.BackgroundFrame == b.BackgroundFrame;
}

std::optional<ImportResult> ImportFile(const std::string& path, const ImportSettings& settings,
                                       imagefiles::FileFailure* Why) {
    const auto picture = imagefiles::ReadPictureFile(path, Why);
    if (!picture) return std::nullopt;
    return ImportDecoded(*picture, settings, modPalettes::GamePalette, Why);
}

std::optional<RgbaPicture> LoadBackgroundFrame(const std::string& path, imagefiles::FileFailure* Why) {
    const auto picture = imagefiles::ReadPictureFile(path, Why);
    if (!picture) return std::nullopt;
    return MakeBackgroundFrame(*picture);
}

}  // namespace import
