#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "imagefiles/modPalettes.h"

namespace {

struct Colour {
    int Red, Green, Blue;
};

// 4,096 many-coloured queries, as a 96 -> 64 reduction of a busy picture asks: averages of
// neighbouring game colours, so near the palette but rarely on it.
std::vector<Colour> ManyColouredQueries() {
    std::mt19937 random(4096);
    const Palette& game = modPalettes::GamePalette;
    std::vector<Colour> queries;
    for (int i = 0; i < 4096; ++i) {
        const PaletteEntry& a = game[random() % 256];
        const PaletteEntry& b = game[random() % 256];
        const PaletteEntry& c = game[random() % 256];
        queries.push_back({(a.Red * 2 + b.Red + c.Red) / 4, (a.Green * 2 + b.Green + c.Green) / 4,
                           (a.Blue * 2 + b.Blue + c.Blue) / 4});
    }
    return queries;
}

void BM_RemapToPalette_9216Pixels(benchmark::State& state) {
    Palette source{};
    std::mt19937 random(1);
    for (auto& e : source)
        e = PaletteEntry{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                         0};
    std::vector<uint8_t> original(96 * 96);
    for (auto& p : original) p = static_cast<uint8_t>(random());
    std::vector<uint8_t> pixels;
    for (auto _ : state) {
        pixels = original;
        modPalettes::RemapToPalette(pixels, source, modPalettes::GamePalette);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_RemapToPalette_9216Pixels);

void BM_NearestIndexPlain_4096Queries(benchmark::State& state) {
    const auto queries = ManyColouredQueries();
    for (auto _ : state) {
        unsigned total = 0;
        for (const Colour& q : queries)
            total += modPalettes::NearestIndexPlain(modPalettes::GamePalette, q.Red, q.Green, q.Blue);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_NearestIndexPlain_4096Queries);

// Includes building the search, as a reduction does once per picture.
void BM_NearestColourSearch_4096Queries(benchmark::State& state) {
    const auto queries = ManyColouredQueries();
    for (auto _ : state) {
        const modPalettes::NearestColourSearch search(modPalettes::GamePalette);
        unsigned total = 0;
        for (const Colour& q : queries) total += search.Nearest(q.Red, q.Green, q.Blue);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_NearestColourSearch_4096Queries);

// Uniformly random colours: the hardest case for the search, far from most entries.
void BM_NearestColourSearch_4096RandomColours(benchmark::State& state) {
    std::mt19937 random(7);
    std::vector<Colour> queries;
    for (int i = 0; i < 4096; ++i) {
        const uint32_t bits = random();
        queries.push_back({static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                           static_cast<int>((bits >> 16) & 0xFF)});
    }
    for (auto _ : state) {
        const modPalettes::NearestColourSearch search(modPalettes::GamePalette);
        unsigned total = 0;
        for (const Colour& q : queries) total += search.Nearest(q.Red, q.Green, q.Blue);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_NearestColourSearch_4096RandomColours);

// A search over a palette not seen before (the cache is defeated by a changing palette) and
// its first answer: what a program run pays before its first reduction.
void BM_NearestColourSearch_FirstBuild(benchmark::State& state) {
    Palette palette = modPalettes::GamePalette;
    uint8_t variant = 0;
    for (auto _ : state) {
        palette[246].Reserved = ++variant;  // a different palette each time, same colours
        const modPalettes::NearestColourSearch search(palette);
        benchmark::DoNotOptimize(search.Nearest(1, 2, 3));
    }
}
BENCHMARK(BM_NearestColourSearch_FirstBuild);

// The whole grid, every box made: what the first answers over all colours cost together.
void BM_NearestColourSearch_WholeGrid(benchmark::State& state) {
    Palette palette = modPalettes::GamePalette;
    uint8_t variant = 0;
    for (auto _ : state) {
        palette[246].Reserved = ++variant;
        const modPalettes::NearestColourSearch search(palette);
        unsigned total = 0;
        for (int red = 0; red < 256; red += 32)
            for (int green = 0; green < 256; green += 32)
                for (int blue = 0; blue < 256; blue += 32) total += search.Nearest(red, green, blue);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_NearestColourSearch_WholeGrid)->Unit(benchmark::kMicrosecond);

}  // namespace
