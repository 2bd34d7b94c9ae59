// classUnitGAF::DisplayPicture: which picture lands where in the box, in exact colours, and
// that nothing else of the box or the slot changes.

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "display/MemoryPictureBox.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

namespace {

constexpr uint32_t kMarker = 0x123456;  // a colour the game palette does not hold

// Expects the Side x Side picture at (Left, Top) of the box, as far as it lies on the box, and
// every other box pixel still kMarker.
void ExpectOnlyPictureAt(const MemoryPictureBox& box, std::span<const uint8_t> picture, int Side, int Left, int Top) {
    int mismatches = 0;
    for (int y = 0; y < box.Height(); ++y) {
        for (int x = 0; x < box.Width(); ++x) {
            const bool inside = x >= Left && x < Left + Side && y >= Top && y < Top + Side;
            uint32_t expected = kMarker;
            if (inside) {
                const PaletteEntry& e =
                    modPalettes::GamePalette[picture[static_cast<std::size_t>((y - Top) * Side + x - Left)]];
                expected = (static_cast<uint32_t>(e.Red) << 16) | (static_cast<uint32_t>(e.Green) << 8) | e.Blue;
            }
            if (box.ColourAt(x, y) != expected && ++mismatches <= 5) {
                ADD_FAILURE() << "box pixel " << x << "," << y << (inside ? " (picture)" : " (outside)");
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace

// The picture tabs' call (Size 1, not centred) and the operations page's (Size 0, centred),
// with the centre offset rounded half to even: a 100 box gives 18 for the 64 preview, a 101
// box 2 for the full picture (2.5), a box smaller than the picture a negative offset.
TEST(DisplayPicture, DrawsTheChosenPictureAtTheRoundedOffset) {
    classUnitGAF unit;
    unit.AddCavedogLikeBorder(1);  // a picture that is not symmetric
    unit.AddBlackCross(1, 3);
    const struct {
        int32_t BoxWidth, BoxHeight, Size;
        bool Centre;
        int Left, Top;
    } cases[] = {
        {97, 97, 1, false, 0, 0},    {70, 70, 0, false, 0, 0},  {100, 100, 0, true, 18, 18},
        {101, 101, 1, true, 2, 2},   {103, 103, 1, true, 4, 4}, {81, 73, 0, true, 8, 4},  // 8.5, 4.5
        {61, 61, 1, true, -18, -18}, {40, 97, 1, true, -28, 0},                           // -17.5; -28 exactly and 0.5
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.BoxWidth << "x" << c.BoxHeight << " size " << c.Size << (c.Centre ? " centred" : ""));
        MemoryPictureBox box(c.BoxWidth, c.BoxHeight, kMarker);
        unit.DisplayPicture(1, box, c.Size, c.Centre);
        if (c.Size == 0) {
            ExpectOnlyPictureAt(box, unit.ReducedFrame(1), 64, c.Left, c.Top);
        } else {
            ExpectOnlyPictureAt(box, *unit.Slot(1), 96, c.Left, c.Top);
        }
        EXPECT_EQ(box.RefreshCount(), 1);
    }

    // The defaults are Size 1 and not centred.
    MemoryPictureBox box(97, 97, kMarker);
    unit.DisplayPicture(1, box);
    ExpectOnlyPictureAt(box, *unit.Slot(1), 96, 0, 0);
}

TEST(DisplayPicture, OtherSizesDrawNothingButStillRefresh) {
    classUnitGAF unit;
    for (const int32_t size : {2, -1, 64, 96}) {
        for (const bool centre : {false, true}) {
            MemoryPictureBox box(100, 100, kMarker);
            unit.DisplayPicture(0, box, size, centre);
            EXPECT_EQ(box.Canvas(), std::vector<uint32_t>(100 * 100, kMarker)) << size;
            EXPECT_EQ(box.RefreshCount(), 1);
        }
    }
}

TEST(DisplayPicture, PictureNumbersOutsideTheSetShowBlack) {
    classUnitGAF unit;  // all three slots white
    for (const int32_t taPic : {3, -1}) {
        SCOPED_TRACE(taPic);
        MemoryPictureBox box(97, 97, kMarker);
        unit.DisplayPicture(taPic, box);
        ExpectOnlyPictureAt(box, std::vector<uint8_t>(96 * 96, 0), 96, 0, 0);

        MemoryPictureBox preview(100, 100, kMarker);
        unit.DisplayPicture(taPic, preview, 0, true);
        ExpectOnlyPictureAt(preview, std::vector<uint8_t>(64 * 64, 0), 64, 18, 18);
    }
}

TEST(DisplayPicture, LeavesTheSlotAndTheRestOfTheBoxAlone) {
    classUnitGAF unit;
    unit.AddBlackCross(0);
    const Picture before = *unit.Slot(0);

    // A second, smaller picture centred in the same box leaves the first visible around it.
    MemoryPictureBox box(100, 100, kMarker);
    unit.DisplayPicture(0, box, 1, false);
    unit.ResetToBackground(1, 249);
    unit.DisplayPicture(1, box, 0, true);
    EXPECT_EQ(box.ColourAt(0, 0), 0x000000u);    // the cross's corner
    EXPECT_EQ(box.ColourAt(10, 5), 0xFFFFFFu);   // beside it
    EXPECT_EQ(box.ColourAt(18, 18), 0xFF0000u);  // the second picture
    EXPECT_EQ(box.ColourAt(97, 97), kMarker);    // neither picture
    EXPECT_EQ(box.RefreshCount(), 2);
    EXPECT_EQ(*unit.Slot(0), before);
}
