// NearestColourSearch: the nearest-colour rule answered from a grid of short candidate lists.
//
// The colour cube is divided into boxes of kBoxSide^3 colours. Each box keeps, in index order,
// every palette entry that can be at the smallest distance from some colour inside the box; a
// query runs the plain rule (start at 255 / 765, strictly nearer wins) over its box's list
// only, so it gets the plain answer whenever the list holds every entry that is nearest, or
// tied for nearest, for that colour.
//
// Why a list holds them: let T = min over all entries e of maxDist(e, B), the farthest any
// colour of the box B can be from e. For a colour q in B and an entry n nearest to it,
// d(q, n) <= d(q, e) <= T for that e, and minDist(n, B) <= d(q, n). So
// {e : minDist(e, B) <= T} holds every nearest entry (all tied ones included) of every colour
// in B.
//
// A box's list is made the first time a colour in it is asked for. A program run that reduces
// a few pictures asks about colours in some of the 512 boxes and pays, in time and in memory,
// only for those, so the first answer comes at once.

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "imagefiles/PaletteColumns.h"
#include "imagefiles/modPalettes.h"

namespace modPalettes {

namespace {

constexpr int kBoxBits = 3;                // 8 boxes per axis
constexpr int kBoxSide = 256 >> kBoxBits;  // 32 colours per box side
constexpr std::size_t kBoxCount = std::size_t{1} << (3 * kBoxBits);
constexpr int16_t kFarthest = 765;  // 3 x 255

std::size_t BoxOf(int red, int green, int blue) {
    const int shift = 8 - kBoxBits;
    return (static_cast<std::size_t>(red >> shift) << (2 * kBoxBits)) |
           (static_cast<std::size_t>(green >> shift) << kBoxBits) | static_cast<std::size_t>(blue >> shift);
}

int16_t Larger(int16_t a, int16_t b) { return a > b ? a : b; }
int16_t Smaller(int16_t a, int16_t b) { return a < b ? a : b; }

// How far a component can be from the range low .. low + kBoxSide - 1, and how near it comes.
int16_t AxisFarthest(int16_t value, int16_t low) {
    return Larger(static_cast<int16_t>(value - low), static_cast<int16_t>(low + kBoxSide - 1 - value));
}
int16_t AxisNearest(int16_t value, int16_t low) {
    return static_cast<int16_t>(Larger(static_cast<int16_t>(low - value), 0) +
                                Larger(static_cast<int16_t>(value - (low + kBoxSide - 1)), 0));
}

// The palette's entries in index order, each colour only at its lowest index: an entry that
// repeats the colour of a lower index is never strictly nearer than that one, so it can never
// win. Leaving it out keeps lists short for palettes full of repeats.
PaletteColumns DistinctColours(const Palette& target) {
    std::array<uint32_t, 256> keys{};  // colour, then index: equal colours sort by index
    for (std::size_t k = 0; k < target.size(); ++k)
        keys[k] = (static_cast<uint32_t>(target[k].Red) << 24) | (static_cast<uint32_t>(target[k].Green) << 16) |
                  (static_cast<uint32_t>(target[k].Blue) << 8) | static_cast<uint32_t>(k);
    std::sort(keys.begin(), keys.end());
    std::array<bool, 256> repeat{};
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i] >> 8 == keys[i - 1] >> 8) repeat[keys[i] & 0xFF] = true;
    std::array<uint8_t, 256> distinct{};
    std::size_t count = 0;
    for (std::size_t k = 0; k < target.size(); ++k)
        if (!repeat[k]) distinct[count++] = static_cast<uint8_t>(k);
    return PaletteColumns(target, std::span(distinct).first(count));
}

// The entries of all that can be nearest to some colour of the box with the low corner given.
PaletteColumns Within(const Palette& target, const PaletteColumns& all, int16_t lowRed, int16_t lowGreen,
                      int16_t lowBlue) {
    const std::size_t count = all.Groups() * PaletteColumns::kLanes;
    const int16_t* red = all.Red();
    const int16_t* green = all.Green();
    const int16_t* blue = all.Blue();
    int16_t bound = kFarthest;
    std::array<int16_t, 256> nearest;
    for (std::size_t i = 0; i < count; ++i) {
        bound = Smaller(bound, static_cast<int16_t>(AxisFarthest(red[i], lowRed) + AxisFarthest(green[i], lowGreen) +
                                                    AxisFarthest(blue[i], lowBlue)));
        nearest[i] = static_cast<int16_t>(AxisNearest(red[i], lowRed) + AxisNearest(green[i], lowGreen) +
                                          AxisNearest(blue[i], lowBlue));
    }
    std::array<uint8_t, 256> kept{};
    std::size_t keptCount = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (nearest[i] <= bound)  // never a padding entry: it is thousands away from every box
            kept[keptCount++] = static_cast<uint8_t>(all.Index()[i]);
    return PaletteColumns(target, std::span(kept).first(keptCount));
}

}  // namespace

struct NearestColourSearch::CellIndex {
    explicit CellIndex(const Palette& target) : Target(target), all_(DistinctColours(target)) {}

    // The list of the box holding (red, green, blue), made now if it is asked for the first
    // time. Once made, a list never moves and never changes, so it is read without the lock.
    const PaletteColumns& Box(int red, int green, int blue) const {
        const std::size_t box = BoxOf(red, green, blue);
        const PaletteColumns* list = boxes_[box].load(std::memory_order_acquire);
        return list != nullptr ? *list : MakeBox(box, red, green, blue);
    }

    const Palette Target;

private:
    const PaletteColumns& MakeBox(std::size_t box, int red, int green, int blue) const {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (const PaletteColumns* made = boxes_[box].load(std::memory_order_relaxed)) return *made;  // another thread's
        const auto low = [](int component) { return static_cast<int16_t>(component / kBoxSide * kBoxSide); };
        made_.push_back(std::make_unique<const PaletteColumns>(Within(Target, all_, low(red), low(green), low(blue))));
        boxes_[box].store(made_.back().get(), std::memory_order_release);
        return *made_.back();
    }

    const PaletteColumns all_;
    mutable std::array<std::atomic<const PaletteColumns*>, kBoxCount> boxes_{};
    mutable std::mutex mutex_;  // guards made_ and the making of a box
    mutable std::vector<std::unique_ptr<const PaletteColumns>> made_;
};

// The grids of the last few palettes used are kept (in practice the game palette), with the
// boxes made so far.
NearestColourSearch::NearestColourSearch(const Palette& Target) {
    static std::mutex mutex;
    static std::vector<std::shared_ptr<const CellIndex>> recent;  // most recently used first
    constexpr std::size_t kKept = 4;

    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = std::find_if(recent.begin(), recent.end(), [&](const std::shared_ptr<const CellIndex>& index) {
        return index->Target == Target;
    });
    if (found != recent.end()) {
        std::rotate(recent.begin(), found, found + 1);
    } else {
        recent.insert(recent.begin(), std::make_shared<const CellIndex>(Target));
        if (recent.size() > kKept) recent.pop_back();
    }
    index_ = recent.front();
}

uint8_t NearestColourSearch::Nearest(int red, int green, int blue) const {
    if (red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255)
        return NearestIndexPlain(index_->Target, red, green, blue);  // outside the grid
    return index_->Box(red, green, blue).Nearest(red, green, blue);
}

}  // namespace modPalettes
