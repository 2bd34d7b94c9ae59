// The remap of a whole picture from one palette onto another by the nearest-colour rule.

#include <array>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

#include "imagefiles/GameColours.h"
#include "imagefiles/GameGrid.h"
#include "imagefiles/PaletteColumns.h"
#include "imagefiles/RecentItems.h"
#include "imagefiles/modPalettes.h"

namespace modPalettes {

namespace {

constexpr Palette kGame = GameColoursAsPalette();

// Each colour of a palette with the lowest index that holds it. A colour the target holds is at
// distance 0 from that entry, nearer than from any other, so its answer needs no search; a
// picture whose palette is the game palette (the usual case) is remapped by look-ups alone.
class ExactColours {
public:
    explicit ExactColours(const Palette& target) {
        for (int k = 255; k >= 0; --k) {  // downwards, so that the lowest index of a colour stays
            const PaletteEntry& e = target[static_cast<std::size_t>(k)];
            std::size_t slot = SlotOf(Key(e));
            while (keys_[slot] != 0 && keys_[slot] != Key(e)) slot = (slot + 1) & (kSlots - 1);
            keys_[slot] = Key(e);
            indices_[slot] = static_cast<uint8_t>(k);
        }
    }

    std::optional<uint8_t> Find(const PaletteEntry& e) const {
        for (std::size_t slot = SlotOf(Key(e)); keys_[slot] != 0; slot = (slot + 1) & (kSlots - 1))
            if (keys_[slot] == Key(e)) return indices_[slot];
        return std::nullopt;
    }

private:
    static constexpr std::size_t kSlots = 512;  // at most 256 colours: probes stay short

    static uint32_t Key(const PaletteEntry& e) {  // 0 marks a free slot
        return ((uint32_t{e.Red} << 16) | (uint32_t{e.Green} << 8) | uint32_t{e.Blue}) + 1;
    }
    static std::size_t SlotOf(uint32_t key) { return (key * 2654435761u) >> 23; }

    std::array<uint32_t, kSlots> keys_{};
    std::array<uint8_t, kSlots> indices_{};
};

using RemapTable = std::array<uint8_t, 256>;

RemapTable MakeRemapTable(const Palette& source, const Palette& target) {
    const ExactColours exact(target);
    // For the colours the target does not hold: the game palette's grid is made already; for
    // any other palette 256 questions cost less as searches over the whole palette, eight
    // entries at a time, than as the making of a grid.
    const bool game = target == kGame;
    std::optional<PaletteColumns> search;
    RemapTable table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const PaletteEntry& c = source[i];
        if (const std::optional<uint8_t> held = exact.Find(c)) {
            table[i] = *held;
            continue;
        }
        if (game) {
            table[i] = GameGridBox(c.Red, c.Green, c.Blue).Nearest(c.Red, c.Green, c.Blue);
            continue;
        }
        if (!search) {
            std::array<uint8_t, 256> every{};
            std::iota(every.begin(), every.end(), uint8_t{0});
            search.emplace(target, every);
        }
        table[i] = search->Nearest(c.Red, c.Green, c.Blue);
    }
    return table;
}

// The tables of the last few palette pairs. A program remaps between the same few pairs again
// and again: the game palette onto itself, and the lighter and grey palettes of the effects.
RemapTable RecentRemapTable(const Palette& source, const Palette& target) {
    // Never destroyed: a program that ends need not spend its last moments freeing it.
    static auto& recent = *new RecentItems<std::pair<Palette, Palette>, RemapTable, 8>;
    return recent.Find({source, target}, [&] { return MakeRemapTable(source, target); });
}

}  // namespace

void RemapToPalette(std::span<uint8_t> Pixels, const Palette& SourcePalette, const Palette& TargetPalette) {
    if (Pixels.empty()) return;
    // One answer per source index, then one look-up per pixel.
    const RemapTable table = RecentRemapTable(SourcePalette, TargetPalette);
    for (uint8_t& pixel : Pixels) pixel = table[pixel];
}

}  // namespace modPalettes
