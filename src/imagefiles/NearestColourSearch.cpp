// NearestColourSearch: the nearest-colour rule answered from a grid of small candidate lists.
//
// The colour cube is divided into cells of kLeafSize^3 colours. Each cell keeps, in index
// order, every palette entry that can be at the smallest distance from some colour inside the
// cell; a query scans only its cell's list with the plain rule (start at 255 / 765, strictly
// nearer wins), so it gets the plain answer whenever the list holds every entry that is
// nearest, or tied for nearest, for that colour.
//
// Why a list holds them: for a box B and a set P of entries that holds every nearest entry of
// every colour in B, let T = min over e in P of maxDist(e, B), the farthest any colour of B can
// be from e. For a colour q in B and an entry n nearest to it, d(q, n) <= d(q, e) <= T for that
// e, and minDist(n, B) <= d(q, n). So {e in P : minDist(e, B) <= T} again holds every nearest
// entry (all tied ones included) of every colour in B. Starting from the whole palette for the
// whole cube, each box is split into eight and its list filtered this way down to the cells.

#include <algorithm>
#include <mutex>
#include <vector>

#include "imagefiles/modPalettes.h"

namespace modPalettes {

namespace {

constexpr int kLeafSize = 8;                          // colours per cell side
constexpr int kCellsPerAxis = 256 / kLeafSize;         // 32
constexpr int kCellBits = 5;                           // log2(kCellsPerAxis)
constexpr int kCellCount = kCellsPerAxis * kCellsPerAxis * kCellsPerAxis;
static_assert(1 << kCellBits == kCellsPerAxis);

struct Candidate {
    uint8_t Red;
    uint8_t Green;
    uint8_t Blue;
    uint8_t Index;
};

struct Box {
    int Low[3];
    int Size;
};

int AxisMinDistance(int value, int low, int high) { return value < low ? low - value : (value > high ? value - high : 0); }
int AxisMaxDistance(int value, int low, int high) { return std::max(value - low, high - value); }

int MinDistance(const Candidate& c, const Box& box) {
    const int last = box.Size - 1;
    return AxisMinDistance(c.Red, box.Low[0], box.Low[0] + last) +
           AxisMinDistance(c.Green, box.Low[1], box.Low[1] + last) +
           AxisMinDistance(c.Blue, box.Low[2], box.Low[2] + last);
}
int MaxDistance(const Candidate& c, const Box& box) {
    const int last = box.Size - 1;
    return AxisMaxDistance(c.Red, box.Low[0], box.Low[0] + last) +
           AxisMaxDistance(c.Green, box.Low[1], box.Low[1] + last) +
           AxisMaxDistance(c.Blue, box.Low[2], box.Low[2] + last);
}

int CellOf(int red, int green, int blue) {
    const int shift = 8 - kCellBits;
    return ((red >> shift) << (2 * kCellBits)) | ((green >> shift) << kCellBits) | (blue >> shift);
}

}  // namespace

struct NearestColourSearch::CellIndex {
    explicit CellIndex(const Palette& target) : Target(target), CellFirst(kCellCount), CellLength(kCellCount) {
        // An entry repeating the colour of a lower index can never win: it is never strictly
        // nearer than that one. Leaving it out keeps lists short for palettes full of repeats.
        std::vector<Candidate> all;
        for (std::size_t k = 0; k < target.size(); ++k) {
            const Candidate c{target[k].Red, target[k].Green, target[k].Blue, static_cast<uint8_t>(k)};
            const bool repeat = std::any_of(all.begin(), all.end(), [&](const Candidate& earlier) {
                return earlier.Red == c.Red && earlier.Green == c.Green && earlier.Blue == c.Blue;
            });
            if (!repeat) all.push_back(c);
        }
        // One working list per level, allocated up front: a list must not move while the
        // levels below read it.
        for (int size = 256; size > kLeafSize; size /= 2) scratch_.emplace_back();
        Refine(Box{{0, 0, 0}, 256}, all, 0);
    }

    // Filters parent's list (which holds every nearest entry of every colour in box) down to
    // each eighth of the box, and so on down to the cells.
    void Refine(const Box& box, const std::vector<Candidate>& parent, std::size_t depth) {
        if (box.Size == kLeafSize) {
            const int cell = CellOf(box.Low[0], box.Low[1], box.Low[2]);
            CellFirst[static_cast<std::size_t>(cell)] = static_cast<uint32_t>(Candidates.size());
            CellLength[static_cast<std::size_t>(cell)] = static_cast<uint16_t>(parent.size());
            Candidates.insert(Candidates.end(), parent.begin(), parent.end());
            return;
        }
        const int half = box.Size / 2;
        for (int octant = 0; octant < 8; ++octant) {
            const Box child{{box.Low[0] + (octant & 1 ? half : 0), box.Low[1] + (octant & 2 ? half : 0),
                             box.Low[2] + (octant & 4 ? half : 0)},
                            half};
            int bound = 765;
            for (const Candidate& c : parent) bound = std::min(bound, MaxDistance(c, child));
            std::vector<Candidate>& list = scratch_[depth];
            list.clear();
            for (const Candidate& c : parent)
                if (MinDistance(c, child) <= bound) list.push_back(c);
            Refine(child, list, depth + 1);
        }
    }

    Palette Target;
    std::vector<uint32_t> CellFirst;   // where each cell's list starts in Candidates
    std::vector<uint16_t> CellLength;  // how many entries it has
    std::vector<Candidate> Candidates;

private:
    std::vector<std::vector<Candidate>> scratch_;  // one working list per level while building
};

// Building the grid takes a few milliseconds (for the game palette about 109,000 list entries,
// some 3 per cell, 0.6 MiB in all), as much as some ten thousand plain searches; so it is done
// once per palette, and the grids of the last few palettes used are kept (in practice the game
// palette and the grey palette derived from it).
NearestColourSearch::NearestColourSearch(const Palette& Target) {
    static std::mutex mutex;
    static std::vector<std::shared_ptr<const CellIndex>> recent;  // most recently used first
    constexpr std::size_t kKept = 4;

    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = std::find_if(recent.begin(), recent.end(),
                                    [&](const std::shared_ptr<const CellIndex>& index) { return index->Target == Target; });
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

    const auto cell = static_cast<std::size_t>(CellOf(red, green, blue));
    const Candidate* candidate = index_->Candidates.data() + index_->CellFirst[cell];
    const Candidate* const end = candidate + index_->CellLength[cell];
    // The plain rule over the cell's list, which is in index order.
    int bestIndex = 255;
    int bestDistance = 765;
    for (; candidate != end; ++candidate) {
        const int d = std::abs(red - candidate->Red) + std::abs(green - candidate->Green) +
                      std::abs(blue - candidate->Blue);
        if (d < bestDistance) {
            bestDistance = d;
            bestIndex = candidate->Index;
        }
    }
    return static_cast<uint8_t>(bestIndex);
}

}  // namespace modPalettes
