// DisplayPicture: which picture lands where in the box, in exact colours, and nothing else drawn.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "display/MemoryPictureBox.h"
#include "imagefiles/modPalettes.h"
#include "picture/classUnitGAF.h"

TEST(DisplayPicture, DrawsTheChosenPictureAtTheRoundedOffsetAndNothingAround) {
    classUnitGAF unit;
    unit.AddCavedogLikeBorder(1);  // not symmetric, so a wrong offset or a flip shows
    unit.AddBlackCross(1, 3);
    const uint8_t* full = unit.Slot(1)->data();
    const auto reduced = unit.ReducedFrame(1);
    const std::vector<uint8_t> black(96 * 96, 0);
    const struct {
        int32_t TAPic, BoxSide, Size;
        bool Centre;
        int Side, Offset;
        const uint8_t* picture;
    } cases[] = {
        {1, 100, 0, true, 64, 18, reduced.data()},
        {1, 101, 1, true, 96, 2, full},
        {1, 103, 1, true, 96, 4, full},  // 2.5, 3.5: half to even
        {1, 100, 2, false, 0, 0, nullptr},
        {3, 97, 1, false, 96, 0, black.data()},  // size 2: nothing; 3: black
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "picture " << c.TAPic << " size " << c.Size << " box " << c.BoxSide);
        MemoryPictureBox box(c.BoxSide, c.BoxSide, 0x123456);
        unit.DisplayPicture(c.TAPic, box, c.Size, c.Centre);
        int wrong = 0;
        for (int i = 0; i < c.BoxSide * c.BoxSide; ++i) {
            const int x = i % c.BoxSide - c.Offset, y = i / c.BoxSide - c.Offset;
            const bool inside = x >= 0 && x < c.Side && y >= 0 && y < c.Side;
            const PaletteEntry& e = modPalettes::GamePalette[inside ? c.picture[y * c.Side + x] : 0];
            const uint32_t expected = inside ? (uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | e.Blue : 0x123456;
            wrong += box.Canvas()[static_cast<std::size_t>(i)] != expected;
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(box.RefreshCount(), 1);
    }
}
