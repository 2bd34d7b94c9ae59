// Speed of the picture set's heavier operations: the 96 to 64 reduction, writing a GAF file and
// loading a BMP file.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"
#include "picture/ResamplePicture.h"
#include "picture/classUnitGAF.h"

namespace {

// Every cell of the reduction averages a different mix, so the nearest-colour search has no
// easy answers.
Picture ManyColoured() {
    Picture pic{};
    for (std::size_t i = 0; i < pic.size(); ++i) {
        auto v = static_cast<uint8_t>((i * 37 + (i / 96) * 11 + (i * i) % 7) & 0xFF);
        pic[i] = v == kEmptyIndex ? 101 : v;
    }
    return pic;
}

std::filesystem::path BenchFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("iconwright-bench-" + std::to_string(::getpid()) + "-" + name);
}

void BM_ResamplePicture96To64(benchmark::State& state) {
    const Picture source = ManyColoured();
    std::array<uint8_t, 64 * 64> frame{};
    for (auto _ : state) {
        ResamplePicture(source, 96, 96, frame, 64, 64, modPalettes::GamePalette, 0);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_ResamplePicture96To64)->Unit(benchmark::kMicrosecond);

// The same reduction, every other call onto a palette that is not the game's (it differs only in
// a reserved byte): that palette's grid is made at run time, box by box, and kept.
void BM_ResamplePicture96To64AlternatingPalettes(benchmark::State& state) {
    const Picture source = ManyColoured();
    Palette other = modPalettes::GamePalette;
    other[0].Reserved = 1;
    std::array<uint8_t, 64 * 64> frame{};
    bool flip = false;
    for (auto _ : state) {
        ResamplePicture(source, 96, 96, frame, 64, 64, flip ? other : modPalettes::GamePalette, 0);
        flip = !flip;
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_ResamplePicture96To64AlternatingPalettes)->Unit(benchmark::kMicrosecond);

// Loads the same many-coloured file into all three slots, then writes the GAF file.
void BM_SaveGadget(benchmark::State& state) {
    const Picture source = ManyColoured();
    const auto bmp = BenchFile("source.bmp");
    const auto gaf = BenchFile("ARMCAMP_GADGET.GAF");
    if (!modBmp::WriteBMPFile(bmp.string(), source, modPalettes::GamePalette, 96, 96)) {
        state.SkipWithError("cannot write the source file");
        return;
    }
    classUnitGAF set;
    set.Name("armcamp");
    for (int32_t slot = 0; slot < 3; ++slot) set.LoadBMPPicture(bmp.string(), slot);
    set.MakePicLighter(1);
    set.MakePicGrey(2);
    for (auto _ : state) {
        if (!set.SaveGadget(gaf.string())) state.SkipWithError("SaveGadget failed");
    }
    std::filesystem::remove(bmp);
    std::filesystem::remove(gaf);
}
BENCHMARK(BM_SaveGadget)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_LoadBMPPicture(benchmark::State& state) {
    const auto bmp = BenchFile("load.bmp");
    if (!modBmp::WriteBMPFile(bmp.string(), ManyColoured(), modPalettes::GamePalette, 96, 96)) {
        state.SkipWithError("cannot write the source file");
        return;
    }
    int yields = 0;
    classUnitGAF set([&yields] { ++yields; });
    for (auto _ : state) {
        if (!set.LoadBMPPicture(bmp.string(), 0)) state.SkipWithError("LoadBMPPicture failed");
    }
    benchmark::DoNotOptimize(yields);
    std::filesystem::remove(bmp);
}
BENCHMARK(BM_LoadBMPPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
