// Writes the game palette's nearest-colour grid as C++ arrays (included by GameGrid.cpp), so
// that the program carries the finished grid instead of making it at every start.
//
//   MakeGameGrid OUTPUT
//
// Each box's candidates are four runs of lanes one after another (red, green, blue, index),
// whole groups of kColumnLanes, padded as PaletteColumns pads them.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "imagefiles/BoxCandidates.h"
#include "imagefiles/GameColours.h"
#include "imagefiles/PaletteColumns.h"

int main(int argc, char** argv) {
    using namespace modPalettes;
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeGameGrid OUTPUT\n");
        return 2;
    }
    const Palette game = GameColoursAsPalette();
    const std::array<bool, 256> repeated = RepeatedColours(game);

    std::vector<uint32_t> offsets;  // in values, where each box's runs start
    std::vector<int16_t> values;
    for (std::size_t box = 0; box < GameGridBoxes::kCount; ++box) {
        offsets.push_back(static_cast<uint32_t>(values.size()));
        const BoxCandidates candidates = GameGridBoxes::CandidatesOfBox(game, repeated, box);
        const std::size_t lanes = (candidates.Count + kColumnLanes - 1) / kColumnLanes * kColumnLanes;
        for (int column = 0; column < 4; ++column)
            for (std::size_t i = 0; i < lanes; ++i) {
                if (i >= candidates.Count) {
                    values.push_back(kColumnPadding);
                    continue;
                }
                const uint8_t index = candidates.Indices[i];
                const PaletteEntry& e = game[index];
                values.push_back(column == 0 ? e.Red : column == 1 ? e.Green : column == 2 ? e.Blue : index);
            }
    }
    offsets.push_back(static_cast<uint32_t>(values.size()));

    const std::string temporary = std::string(argv[1]) + ".tmp";
    std::ofstream out(temporary, std::ios::trunc);
    out << "// Made by MakeGameGrid at build time from BoxCandidates.h and GameColours.h.\n";
    out << "constexpr uint32_t kGameGridOffsets[" << offsets.size() << "] = {";
    for (std::size_t i = 0; i < offsets.size(); ++i) out << (i % 16 ? " " : "\n    ") << offsets[i] << ",";
    out << "\n};\nconstexpr int16_t kGameGridValues[" << values.size() << "] = {";
    for (std::size_t i = 0; i < values.size(); ++i) out << (i % 24 ? " " : "\n    ") << values[i] << ",";
    out << "\n};\n";
    out.close();
    if (!out || std::rename(temporary.c_str(), argv[1]) != 0) {
        std::fprintf(stderr, "MakeGameGrid: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
