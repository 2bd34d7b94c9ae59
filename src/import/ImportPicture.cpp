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
    if (picture.Width <= 0 || picture.Height <= 0 || !HasVisiblePixel(picture)) {
        imagefiles::Report(Why, FailureKind::FullyTransparent, "the picture is fully transparent");
        return std::nullopt;
    }
    PreparedFrames frames;
    frames.Fitted =
        settings.Trim ? FitToFrame(TrimTransparentEdges(picture), settings.Fit) : FitToFrame(picture, settings.Fit);
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
    if (settings.Strict && !CheckExactColours(frames->Composited, palette, settings.Avoid, Why)) return std::nullopt;
    MappedFrame mapped = MapToPalette(frames->Composited, palette, settings.Match, settings.Dither, settings.Avoid);
    return ImportResult{std::move(*frames), mapped.Indices, mapped.Report};
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
