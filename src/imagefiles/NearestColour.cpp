// The nearest-colour rule: the plain search that defines it, a faster search that gives the
// same answers, and the remap of a whole picture.

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "imagefiles/modPalettes.h"

namespace modPalettes {

namespace {

constexpr int kFarthest = 765;  // 3 x 255: no two colours are farther apart

int Distance(const PaletteEntry& entry, int red, int green, int blue) {
    return std::abs(red - entry.Red) + std::abs(green - entry.Green) + std::abs(blue - entry.Blue);
}

}  // namespace

uint8_t NearestIndexPlain(const Palette& Target, int red, int green, int blue) {
    int bestIndex = 255;
    int bestDistance = kFarthest;
    for (int k = 0; k < 256; ++k) {
        const int d = Distance(Target[static_cast<std::size_t>(k)], red, green, blue);
        if (d < bestDistance) {
            bestIndex = k;
            bestDistance = d;
        }
    }
    return static_cast<uint8_t>(bestIndex);
}

NearestColourSearch::NearestColourSearch(const Palette& Target) {
    for (std::size_t k = 0; k < Target.size(); ++k) {
        const PaletteEntry& e = Target[k];
        bySum_[k] = SortedEntry{static_cast<int16_t>(e.Red + e.Green + e.Blue), e.Red, e.Green, e.Blue,
                                static_cast<uint8_t>(k)};
    }
    // Stable, so entries of equal sum stay in index order.
    std::stable_sort(bySum_.begin(), bySum_.end(),
                     [](const SortedEntry& a, const SortedEntry& b) { return a.Sum < b.Sum; });
    std::size_t position = 0;
    for (std::size_t sum = 0; sum < firstWithSumAtLeast_.size(); ++sum) {
        while (position < bySum_.size() && static_cast<std::size_t>(bySum_[position].Sum) < sum) ++position;
        firstWithSumAtLeast_[sum] = static_cast<uint16_t>(position);
    }
}

// For any two colours, |sum(a) - sum(b)| <= distance(a, b). The entries are visited in order of
// growing |sum difference| from the query, alternately above and below its sum, and the walk
// stops as soon as the next entry's sum difference alone exceeds the best distance found: no
// entry from there on can be nearer or even tie. Entries whose bound equals the best distance
// are still visited, because they may tie with it at a lower index.
//
// The plain search starts from index 255 at distance 765 and takes only strictly nearer
// entries; so it answers the lowest index at the smallest distance when that distance is below
// 765, and 255 otherwise. The walk finds the smallest distance with its lowest index and then
// applies the same final rule.
uint8_t NearestColourSearch::Nearest(int red, int green, int blue) const {
    const int query = red + green + blue;
    const int clampedQuery = std::clamp(query, 0, static_cast<int>(firstWithSumAtLeast_.size()) - 1);
    int up = firstWithSumAtLeast_[static_cast<std::size_t>(clampedQuery)];
    if (query > clampedQuery) up = static_cast<int>(bySum_.size());
    int down = up - 1;

    int bestDistance = INT_MAX;
    int bestIndex = 256;
    for (;;) {
        const int upGap = up < 256 ? bySum_[static_cast<std::size_t>(up)].Sum - query : INT_MAX;
        const int downGap = down >= 0 ? query - bySum_[static_cast<std::size_t>(down)].Sum : INT_MAX;
        const bool takeUp = upGap <= downGap;
        const int gap = takeUp ? upGap : downGap;
        if (gap == INT_MAX || gap > bestDistance) break;

        const SortedEntry& e = bySum_[static_cast<std::size_t>(takeUp ? up++ : down--)];
        const int d = std::abs(red - e.Red) + std::abs(green - e.Green) + std::abs(blue - e.Blue);
        if (d < bestDistance || (d == bestDistance && e.Index < bestIndex)) {
            bestDistance = d;
            bestIndex = e.Index;
        }
    }
    return bestDistance < kFarthest ? static_cast<uint8_t>(bestIndex) : static_cast<uint8_t>(255);
}

void RemapToPalette(std::span<uint8_t> Pixels, const Palette& SourcePalette, const Palette& TargetPalette) {
    if (Pixels.empty()) return;
    // One answer per source index, then one look-up per pixel.
    const NearestColourSearch search(TargetPalette);
    std::array<uint8_t, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PaletteEntry& c = SourcePalette[i];
        table[i] = search.Nearest(c.Red, c.Green, c.Blue);
    }
    for (uint8_t& pixel : Pixels) pixel = table[pixel];
}

}  // namespace modPalettes
