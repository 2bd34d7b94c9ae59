// NearestColourSearch: the nearest-colour rule answered from a grid of short candidate lists
// (BoxCandidates.h says what a box's list holds and why it is enough). The game palette's grid
// is made at build time; any other palette's is made here, a box at a time, the first time a
// colour in that box is asked for, so a program pays, in time and in memory, only for the
// boxes it asks about.

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "imagefiles/BoxCandidates.h"
#include "imagefiles/GameColours.h"
#include "imagefiles/GameGrid.h"
#include "imagefiles/PaletteColumns.h"
#include "imagefiles/RecentItems.h"
#include "imagefiles/modPalettes.h"

namespace modPalettes {

namespace {

constexpr Palette kGame = GameColoursAsPalette();

}  // namespace

struct NearestColourSearch::CellIndex {
    explicit CellIndex(const Palette& target) : Target(target), repeated_(RepeatedColours(target)) {}

    // The list of the box, made now if it is asked for the first time. Once made, a list never
    // moves and never changes, so it is read without the lock.
    ColumnsView Box(std::size_t box) const {
        const PaletteColumns* list = boxes_[box].load(std::memory_order_acquire);
        return list != nullptr ? list->View() : MakeBox(box);
    }

    const Palette Target;

private:
    ColumnsView MakeBox(std::size_t box) const {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (const PaletteColumns* made = boxes_[box].load(std::memory_order_relaxed)) return made->View();
        const BoxCandidates candidates = LazyGrid::CandidatesOfBox(Target, repeated_, box);
        made_.push_back(
            std::make_unique<const PaletteColumns>(Target, std::span(candidates.Indices).first(candidates.Count)));
        boxes_[box].store(made_.back().get(), std::memory_order_release);
        return made_.back()->View();
    }

    const std::array<bool, 256> repeated_;
    mutable std::array<std::atomic<const PaletteColumns*>, LazyGrid::kCount> boxes_{};
    mutable std::mutex mutex_;  // guards made_ and the making of a box
    mutable std::vector<std::unique_ptr<const PaletteColumns>> made_;
};

// The grids of the last few other palettes used are kept, with the boxes made so far.
NearestColourSearch::NearestColourSearch(const Palette& Target) {
    if (Target == kGame) return;  // the built-in grid
    // Never destroyed: a program that ends need not spend its last moments freeing every box.
    static auto& recent = *new RecentItems<Palette, std::shared_ptr<const CellIndex>, 4>;
    index_ = recent.Find(Target, [&] { return std::make_shared<const CellIndex>(Target); });
}

uint8_t NearestColourSearch::Nearest(int red, int green, int blue) const {
    if (red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255)
        return NearestIndexPlain(index_ ? index_->Target : kGame, red, green, blue);  // outside the grid
    const ColumnsView box = index_ ? index_->Box(LazyGrid::BoxOf(red, green, blue)) : GameGridBox(red, green, blue);
    return box.Nearest(red, green, blue);
}

}  // namespace modPalettes
