#include "picture/SlotSource.h"

#include <tuple>

namespace {

// A background picture is compared by the frame it shows, not by where it is held.
bool SameSettings(const import::ImportSettings& a, const import::ImportSettings& b) {
    const bool sameFrame =
        a.BackgroundFrame == b.BackgroundFrame ||
        (a.BackgroundFrame && b.BackgroundFrame && a.BackgroundFrame->Pixels == b.BackgroundFrame->Pixels);
    return sameFrame && std::tie(a.Fit, a.Trim, a.Background, a.Match, a.Dither, a.Avoid, a.Strict) ==
                            std::tie(b.Fit, b.Trim, b.Background, b.Match, b.Dither, b.Avoid, b.Strict);
}

}  // namespace

bool operator==(const SlotSource& a, const SlotSource& b) {
    if (a.From != b.From) return false;
    if (a.From != SlotSource::Origin::File) return true;
    return a.File == b.File && a.Kind == b.Kind &&
           (a.Kind != PictureFileKind::Imported || SameSettings(a.Settings, b.Settings));
}
