// classUnitGAF::DisplayPicture lives with the display surface it draws through, so that the
// picture layer below knows nothing of picture boxes.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>

#include "display/PictureBoxPort.h"
#include "display/classFastWin.h"
#include "gaf/GafFile.h"
#include "import/RoundHalfEven.h"
#include "picture/classUnitGAF.h"

namespace {

// A pixel position from a real one: the nearest integer, halves to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -0.5 -> 0), limited to the 32-bit range; not a number gives 0.
int32_t ToPixel(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(RoundHalfEven(value), lowest, highest));
}

}  // namespace

void classUnitGAF::DisplayPicture(int32_t TAPic, PictureBoxPort& Pict, int32_t Size, bool CenterPic) const {
    // The picture is drawn from a copy, never from the slot itself; a TAPic outside 0 to 2
    // shows black.
    const Picture workingCopy = WorkingCopy(TAPic);
    gaf::Frame reduced{};
    std::span<const uint8_t> drawn = workingCopy;
    int32_t side = 0;  // other sizes: an empty surface, so nothing visible is drawn
    if (Size == 0) {
        reduced = ReducedFrame(TAPic);  // the 64 x 64 frame the GAF file stores
        drawn = reduced;
        side = gaf::kFrameSide;
    } else if (Size == 1) {
        side = kPictureSide;
    }

    classFastWin surface;
    surface.Initialize(side, side, &Pict);
    surface.TileDraw(0, 0, side, side, drawn, 0);

    int32_t left = 0;
    int32_t top = 0;
    if (CenterPic) {
        // Around the picture the box keeps whatever it showed before.
        left = ToPixel((Pict.InnerWidth() - side) / 2.0);
        top = ToPixel((Pict.InnerHeight() - side) / 2.0);
    }
    surface.Show(Pict, left, top, side, side, 0, 0);
    Pict.Refresh();
}
