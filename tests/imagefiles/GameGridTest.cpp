// The game palette's grid is a table made at build time; every box of it must give the plain
// rule's answer. Box edges are where a table laid out wrongly or a box missing a candidate
// shows, so every colour whose components lie at or next to an edge of the 16-wide boxes is
// asked, with the game palette's repeated colours (black, grey, yellow) among the answers.

#include <gtest/gtest.h>

#include "imagefiles/modPalettes.h"

using modPalettes::GamePalette;
using modPalettes::NearestColourSearch;
using modPalettes::NearestIndexPlain;

TEST(GamePaletteGrid, EveryColourAtABoxEdgeGetsThePlainRulesIndex) {
    const NearestColourSearch search(GamePalette);
    std::vector<int> edges;
    for (int v = 0; v < 256; ++v)
        if (v % 16 <= 1 || v % 16 >= 14) edges.push_back(v);
    int mismatches = 0;
    for (int r : edges)
        for (int g : edges)
            for (int b : edges) {
                const int plain = NearestIndexPlain(GamePalette, r, g, b);
                const int fast = search.Nearest(r, g, b);
                if (plain != fast && ++mismatches <= 5)
                    ADD_FAILURE() << "colour (" << r << "," << g << "," << b << "): plain " << plain << ", grid "
                                  << fast;
            }
    EXPECT_EQ(mismatches, 0);
}
