#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "picture/Effects.h"
#include "picture/classUnitGAF.h"
#include "PictureTestUtil.h"

namespace {

using picturetest::At;
using picturetest::CountOf;
using picturetest::Uniform;

// The black columns of one row.
std::set<int> BlackColumns(const Picture& pic, int y) {
    std::set<int> columns;
    for (int x = 0; x < 96; ++x)
        if (At(pic, x, y) == 0) columns.insert(x);
    return columns;
}

std::set<int> Range(int first, int last) {
    std::set<int> out;
    for (int i = first; i <= last; ++i) out.insert(i);
    return out;
}

std::set<int> Union(std::set<int> a, const std::set<int>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

Picture CrossOnWhite(int16_t size) {
    Picture pic = Uniform(255);
    DrawCross(pic, size);
    return pic;
}

Picture BorderOnWhite(int16_t size) {
    Picture pic = Uniform(255);
    DrawBorder(pic, size);
    return pic;
}

TEST(MakePicLighter, BlackBecomes59AndWhiteStays) {
    classUnitGAF set;
    set.ResetToBackground(0, 0);
    set.MakePicLighter(0);
    EXPECT_EQ(CountOf(*set.Slot(0), 59), static_cast<std::size_t>(kPicturePixels));

    set.MakePicLighter(1);  // white
    EXPECT_EQ(CountOf(*set.Slot(1), 255), static_cast<std::size_t>(kPicturePixels));
}

TEST(MakePicGrey, MedianGreyThenNearestGameColour) {
    classUnitGAF set;
    Picture probe = Uniform(255);
    const std::vector<uint8_t> inputs{249, 251, 100, 80, 81, 82, 83, 84, 85, 86, 87,
                                      88, 89, 90, 91, 92, 93, 94, 95};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        set.ResetToBackground(2, inputs[i]);
        set.MakePicGrey(2);
        probe[i] = (*set.Slot(2))[0];
        EXPECT_EQ(CountOf(*set.Slot(2), probe[i]), static_cast<std::size_t>(kPicturePixels));
    }
    EXPECT_EQ(probe[0], 0);    // pure red
    EXPECT_EQ(probe[1], 255);  // yellow
    EXPECT_EQ(probe[2], 86);   // (123, 151, 255) -> grey 151 -> (155, 155, 155)
    for (std::size_t i = 3; i < inputs.size(); ++i) EXPECT_EQ(probe[i], inputs[i]) << "grey " << int(inputs[i]);
}

TEST(DrawCross, OnePixelLinesForSizesUpToOne) {
    std::set<int> expectedRow0{0, 95};
    for (int16_t size : {int16_t{1}, int16_t{0}, int16_t{-1}, int16_t{-32768}}) {
        const Picture pic = CrossOnWhite(size);
        EXPECT_EQ(CountOf(pic, 0), 192u) << "size " << size;
        for (int x = 0; x < 96; ++x) {
            EXPECT_EQ(At(pic, x, x), 0);
            EXPECT_EQ(At(pic, 95 - x, x), 0);
        }
        EXPECT_EQ(pic, CrossOnWhite(1));
    }
}

TEST(DrawCross, DefaultSizeTwoGivesThreePixelStrokes) {
    const Picture pic = CrossOnWhite(2);
    EXPECT_EQ(CountOf(pic, 0), 568u);
    EXPECT_EQ(BlackColumns(pic, 0), (std::set<int>{0, 1, 94, 95}));
    EXPECT_EQ(BlackColumns(pic, 1), (std::set<int>{0, 1, 2, 93, 94, 95}));
    EXPECT_EQ(BlackColumns(pic, 48), Range(46, 49));

    classUnitGAF set;
    set.AddBlackCross(0);
    EXPECT_EQ(*set.Slot(0), pic);
}

TEST(DrawCross, ReachRoundsHalfToEven) {
    EXPECT_EQ(CrossOnWhite(4), CrossOnWhite(5));  // reach 2 and 2
    EXPECT_NE(CrossOnWhite(6), CrossOnWhite(7));  // reach 3 and 4
    EXPECT_NE(CrossOnWhite(3), CrossOnWhite(2));  // reach 2 and 1

    const Picture six = CrossOnWhite(6);
    EXPECT_EQ(BlackColumns(six, 48), Range(44, 51));  // (48, 48) and (47, 48), 3 to each side
    const Picture seven = CrossOnWhite(7);
    EXPECT_EQ(BlackColumns(seven, 48), Range(43, 52));
}

TEST(DrawCross, StrokesCarryOverRowEnds) {
    // Reach 3: the strokes around (95, 0) and (94, 1) run on into the start of the next row.
    const Picture pic = CrossOnWhite(6);
    EXPECT_EQ(BlackColumns(pic, 0), Union(Range(0, 3), Range(92, 95)));
    EXPECT_EQ(BlackColumns(pic, 1), Union(Range(0, 4), Range(91, 95)));
    EXPECT_EQ(BlackColumns(pic, 2), Union(Range(0, 5), Range(90, 95)));

    // Reach 100 from (0, 0) alone blackens all of row 0 and the start of row 1.
    const Picture wide = CrossOnWhite(200);
    EXPECT_EQ(BlackColumns(wide, 0), Range(0, 95));
    EXPECT_EQ(BlackColumns(wide, 1), Range(0, 95));
}

TEST(DrawCross, HugeSizesStayInsideThePicture) {
    EXPECT_EQ(CountOf(CrossOnWhite(32767), 0), static_cast<std::size_t>(kPicturePixels));
    EXPECT_EQ(CountOf(CrossOnWhite(9300), 0), static_cast<std::size_t>(kPicturePixels));
}

TEST(ResetToBackground, FillsWithAnyStorableColour) {
    classUnitGAF set;
    set.ResetToBackground(0, 7);
    EXPECT_EQ(CountOf(*set.Slot(0), 7), static_cast<std::size_t>(kPicturePixels));
    set.ResetToBackground(0, 0);
    EXPECT_EQ(CountOf(*set.Slot(0), 0), static_cast<std::size_t>(kPicturePixels));
    set.ResetToBackground(0);
    EXPECT_EQ(CountOf(*set.Slot(0), 255), static_cast<std::size_t>(kPicturePixels));

    set.ResetToBackground(1, 9);
    set.ResetToBackground(1, 256);
    set.ResetToBackground(1, -1);
    set.ResetToBackground(1, 32767);
    EXPECT_EQ(CountOf(*set.Slot(1), 9), static_cast<std::size_t>(kPicturePixels));
}

TEST(DrawBorder, SizeOneBandsAndCorners) {
    const Picture pic = BorderOnWhite(1);
    for (int x = 0; x < 96; ++x) EXPECT_EQ(At(pic, x, 0), x <= 1 ? 91 : 255) << x;
    for (int y = 1; y <= 94; ++y)
        for (int x = 0; x < 96; ++x) {
            const int expected = x <= 1 ? 91 : x == 95 ? 87 : 255;
            EXPECT_EQ(At(pic, x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(BlackColumns(pic, 95), Range(0, 95));

    Picture twice = pic;
    DrawBorder(twice, 1);
    EXPECT_EQ(twice, pic);

    classUnitGAF set;
    set.AddCavedogLikeBorder(0);
    EXPECT_EQ(*set.Slot(0), pic);
}

TEST(DrawBorder, SizesZeroAndTwo) {
    Picture grey = Uniform(20);
    DrawBorder(grey, 0);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) {
            const int expected = x == 0 ? 91 : x == 95 ? 87 : 20;  // (0, 0) of the top band is overdrawn
            EXPECT_EQ(At(grey, x, y), expected) << x << "," << y;
        }

    const Picture two = BorderOnWhite(2);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) {
            int expected = 255;
            if (y >= 94) expected = 0;
            else if (x <= 2) expected = 91;
            else if (y <= 1) expected = 255;
            else if (x >= 94) expected = 87;
            EXPECT_EQ(At(two, x, y), expected) << x << "," << y;
        }
}

TEST(DrawBorder, NegativeAndVeryLargeSizes) {
    Picture negative = Uniform(20);
    DrawBorder(negative, -5);
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x) EXPECT_EQ(At(negative, x, y), x == 95 ? 87 : 20);

    Picture ninetyFive = Uniform(20);
    DrawBorder(ninetyFive, 95);  // the bottom band covers rows 1 to 95, row 0 is the left band's
    for (int x = 0; x < 96; ++x) EXPECT_EQ(At(ninetyFive, x, 0), 91);
    EXPECT_EQ(CountOf(ninetyFive, 0), static_cast<std::size_t>(95 * 96));

    for (int16_t size : {int16_t{96}, int16_t{200}, int16_t{341}, int16_t{342}, int16_t{32767}}) {
        EXPECT_EQ(CountOf(BorderOnWhite(size), 0), static_cast<std::size_t>(kPicturePixels)) << size;
    }
}

TEST(AddGrid, UniformSlotsGetIndex100Lines) {
    for (uint8_t colour : {uint8_t{0}, uint8_t{255}, uint8_t{15}}) {
        classUnitGAF set;
        set.ResetToBackground(1, colour);
        set.AddGrid(1);
        const uint8_t rest = colour == 15 ? 0 : colour;  // black collapses to its lowest index
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 96; ++x) {
                const bool line = x % 6 == 3 || y % 6 == 3;
                ASSERT_EQ(At(*set.Slot(1), x, y), line ? kEmptyIndex : rest) << int(colour) << " " << x << "," << y;
            }
    }
}

TEST(Effects, SlotsOutsideTheSetChangeNothing) {
    const std::vector<std::function<void(classUnitGAF&, int32_t)>> effects{
        [](classUnitGAF& s, int32_t t) { s.MakePicLighter(t); },
        [](classUnitGAF& s, int32_t t) { s.MakePicGrey(t); },
        [](classUnitGAF& s, int32_t t) { s.AddBlackCross(t, 6); },
        [](classUnitGAF& s, int32_t t) { s.ResetToBackground(t, 4); },
        [](classUnitGAF& s, int32_t t) { s.AddCavedogLikeBorder(t, 2); },
        [](classUnitGAF& s, int32_t t) { s.AddGrid(t); },
    };
    for (std::size_t e = 0; e < effects.size(); ++e) {
        for (int32_t tapic : {3, -1, 1000}) {
            classUnitGAF set;
            picturetest::FillSlotsDistinctly(set);
            const Picture before0 = *set.Slot(0), before1 = *set.Slot(1), before2 = *set.Slot(2);
            effects[e](set, tapic);
            EXPECT_EQ(*set.Slot(0), before0) << "effect " << e << " TAPic " << tapic;
            EXPECT_EQ(*set.Slot(1), before1) << "effect " << e << " TAPic " << tapic;
            EXPECT_EQ(*set.Slot(2), before2) << "effect " << e << " TAPic " << tapic;
        }
    }
}

TEST(Effects, EachChangesOnlyItsOwnSlot) {
    classUnitGAF set;
    picturetest::FillSlotsDistinctly(set);
    const Picture before0 = *set.Slot(0), before2 = *set.Slot(2);
    set.AddGrid(1);
    set.MakePicGrey(1);
    set.AddBlackCross(1);
    EXPECT_EQ(*set.Slot(0), before0);
    EXPECT_EQ(*set.Slot(2), before2);
}

}  // namespace
