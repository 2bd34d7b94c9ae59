#include "imagefiles/GameGrid.h"

#include <cstdint>
#include <iterator>

#include "imagefiles/BoxCandidates.h"

namespace modPalettes {

namespace {

#include "GameGridTable.inc"  // made by MakeGameGrid: kGameGridOffsets, kGameGridValues

static_assert(std::size(kGameGridOffsets) == GameGridBoxes::kCount + 1, "one run of lanes per box");

}  // namespace

ColumnsView GameGridBox(int red, int green, int blue) {
    const std::size_t box = GameGridBoxes::BoxOf(red, green, blue);
    const int16_t* red0 = kGameGridValues + kGameGridOffsets[box];
    const std::size_t lanes = (kGameGridOffsets[box + 1] - kGameGridOffsets[box]) / 4;
    return {red0, red0 + lanes, red0 + 2 * lanes, red0 + 3 * lanes, lanes / kColumnLanes, true};
}

}  // namespace modPalettes
