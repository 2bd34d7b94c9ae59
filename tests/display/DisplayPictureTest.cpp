#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/MemoryPictureBox.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

namespace {

constexpr uint32_t kMarker = 0x123456;  // a colour the game palette does not hold
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;      // index 249
constexpr uint32_t kDarkGrey = 0x4B4B4B;  // index 91, left band of the border
constexpr uint32_t kMidGrey = 0x8B8B8B;   // index 87, right band of the border

uint32_t Rgb(uint8_t index) {
    const PaletteEntry& e = modPalettes::GamePalette[index];
    return (static_cast<uint32_t>(e.Red) << 16) | (static_cast<uint32_t>(e.Green) << 8) | e.Blue;
}

// Expects the Side x Side picture (indices) at (Left, Top) of the box, as far as it lies on it.
void ExpectPictureAt(const MemoryPictureBox& box, std::span<const uint8_t> picture, int Side, int Left, int Top) {
    int mismatches = 0;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const int bx = Left + x;
            const int by = Top + y;
            if (bx < 0 || by < 0 || bx >= box.Width() || by >= box.Height()) {
                continue;
            }
            const uint32_t expected = Rgb(picture[static_cast<std::size_t>(y * Side + x)]);
            if (box.ColourAt(bx, by) != expected && ++mismatches <= 5) {
                ADD_FAILURE() << "picture pixel " << x << "," << y << " at box " << bx << "," << by;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Counts the box pixels outside the rectangle that are not Colour.
int OthersOutside(const MemoryPictureBox& box, int Left, int Top, int Side, uint32_t Colour) {
    int count = 0;
    for (int y = 0; y < box.Height(); ++y) {
        for (int x = 0; x < box.Width(); ++x) {
            const bool inside = x >= Left && x < Left + Side && y >= Top && y < Top + Side;
            count += !inside && box.ColourAt(x, y) != Colour ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

TEST(DisplayPicture, FullSizeAtTheTopLeftInExactColours) {
    classUnitGAF unit;
    unit.AddCavedogLikeBorder(1);  // slot 1: a picture that is not symmetric
    MemoryPictureBox box(97, 97, kMarker);
    unit.DisplayPicture(1, box);  // Size 1, CenterPic false by default

    EXPECT_EQ(box.ColourAt(0, 0), kDarkGrey);
    EXPECT_EQ(box.ColourAt(1, 0), kDarkGrey);
    EXPECT_EQ(box.ColourAt(2, 0), kWhite);
    EXPECT_EQ(box.ColourAt(95, 0), kWhite);
    EXPECT_EQ(box.ColourAt(95, 1), kMidGrey);
    EXPECT_EQ(box.ColourAt(0, 50), kDarkGrey);
    EXPECT_EQ(box.ColourAt(50, 50), kWhite);
    EXPECT_EQ(box.ColourAt(40, 95), kBlack);
    ExpectPictureAt(box, *unit.Slot(1), 96, 0, 0);
    // The box is not cleared: its last row and column keep what they showed.
    EXPECT_EQ(OthersOutside(box, 0, 0, 96, kMarker), 0);
    EXPECT_EQ(box.RefreshCount(), 1);
}

TEST(DisplayPicture, CentresThePreviewSizeInAHundredPixelBox) {
    classUnitGAF unit;
    unit.ResetToBackground(0, 249);
    MemoryPictureBox box(100, 100, kMarker);
    unit.DisplayPicture(0, box, 0, true);

    // (100 - 64) / 2 = 18: the picture covers 18 .. 81 both ways.
    EXPECT_EQ(box.ColourAt(17, 17), kMarker);
    EXPECT_EQ(box.ColourAt(18, 18), kRed);
    EXPECT_EQ(box.ColourAt(81, 81), kRed);
    EXPECT_EQ(box.ColourAt(82, 82), kMarker);
    EXPECT_EQ(box.ColourAt(17, 50), kMarker);
    EXPECT_EQ(box.ColourAt(50, 17), kMarker);
    EXPECT_EQ(box.ColourAt(82, 50), kMarker);
    EXPECT_EQ(box.ColourAt(50, 82), kMarker);
    EXPECT_EQ(OthersOutside(box, 18, 18, 64, kMarker), 0);
    EXPECT_EQ(box.RefreshCount(), 1);
}

TEST(DisplayPicture, PreviewSizeShowsTheReducedFrame) {
    classUnitGAF unit;
    unit.AddCavedogLikeBorder(2);
    unit.AddBlackCross(2, 3);
    MemoryPictureBox box(100, 100, kMarker);
    unit.DisplayPicture(2, box, 0, true);
    const auto frame = unit.ReducedFrame(2);
    ExpectPictureAt(box, frame, 64, 18, 18);
    EXPECT_EQ(OthersOutside(box, 18, 18, 64, kMarker), 0);

    // Not centred: the same frame at the top left.
    MemoryPictureBox corner(70, 70, kMarker);
    unit.DisplayPicture(2, corner, 0, false);
    ExpectPictureAt(corner, frame, 64, 0, 0);
    EXPECT_EQ(OthersOutside(corner, 0, 0, 64, kMarker), 0);
}

TEST(DisplayPicture, CentringRoundsHalvesToTheEvenNeighbour) {
    classUnitGAF unit;
    unit.AddCavedogLikeBorder(0);
    const struct {
        int32_t BoxWidth, BoxHeight, Size, Left, Top;
    } cases[] = {
        {101, 101, 1, 2, 2},  // 2.5 -> 2
        {103, 103, 1, 4, 4},  // 3.5 -> 4
        {81, 73, 0, 8, 4},    // 8.5 -> 8, 4.5 -> 4 (the operations page's preview boxes)
        {61, 61, 1, -18, -18},  // -17.5 -> -18: larger than the box, clipped
        {40, 97, 1, -28, 0},  // -28 exactly, 0.5 -> 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.BoxWidth << "x" << c.BoxHeight << " size " << c.Size);
        MemoryPictureBox box(c.BoxWidth, c.BoxHeight, kMarker);
        unit.DisplayPicture(0, box, c.Size, true);
        const int side = c.Size == 0 ? 64 : 96;
        if (c.Size == 0) {
            ExpectPictureAt(box, unit.ReducedFrame(0), side, c.Left, c.Top);
        } else {
            ExpectPictureAt(box, *unit.Slot(0), side, c.Left, c.Top);
        }
        EXPECT_EQ(OthersOutside(box, c.Left, c.Top, side, kMarker), 0);
    }

    // The box smaller than the picture: its top left pixel is picture pixel (18, 18).
    MemoryPictureBox small(61, 61, kMarker);
    unit.DisplayPicture(0, small, 1, true);
    EXPECT_EQ(small.ColourAt(0, 0), Rgb((*unit.Slot(0))[18 * 96 + 18]));
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
        MemoryPictureBox box(97, 97, kMarker);
        unit.DisplayPicture(taPic, box);
        EXPECT_EQ(box.ColourAt(0, 0), kBlack);
        EXPECT_EQ(box.ColourAt(95, 95), kBlack);
        EXPECT_EQ(OthersOutside(box, 0, 0, 96, kMarker), 0);
        int black = 0;
        for (const uint32_t colour : box.Canvas()) {
            black += colour == kBlack ? 1 : 0;
        }
        EXPECT_EQ(black, 96 * 96);

        MemoryPictureBox preview(100, 100, kMarker);
        unit.DisplayPicture(taPic, preview, 0, true);
        EXPECT_EQ(preview.ColourAt(18, 18), kBlack);
        EXPECT_EQ(preview.ColourAt(81, 81), kBlack);
        EXPECT_EQ(OthersOutside(preview, 18, 18, 64, kMarker), 0);
    }
}

TEST(DisplayPicture, LeavesTheSlotAndTheRestOfTheBoxAlone) {
    classUnitGAF unit;
    unit.AddBlackCross(0);
    const Picture before = *unit.Slot(0);

    // Two pictures drawn into one box: the second, centred and smaller, leaves the first
    // visible around it.
    MemoryPictureBox box(100, 100, kMarker);
    unit.DisplayPicture(0, box, 1, false);
    unit.ResetToBackground(1, 249);
    unit.DisplayPicture(1, box, 0, true);
    EXPECT_EQ(box.ColourAt(0, 0), kBlack);       // the cross's top left corner
    EXPECT_EQ(box.ColourAt(5, 5), kBlack);       // on the first diagonal
    EXPECT_EQ(box.ColourAt(10, 5), kWhite);      // beside it
    EXPECT_EQ(box.ColourAt(18, 18), kRed);       // the second picture
    EXPECT_EQ(box.ColourAt(97, 97), kMarker);    // neither picture
    EXPECT_EQ(box.RefreshCount(), 2);
    EXPECT_EQ(*unit.Slot(0), before);
}
