#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <vector>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPalettes.h"

namespace {

// A 96 x 96 file in the game palette, written once to the temporary folder.
class SlotFile {
public:
    SlotFile()
        : path_((std::filesystem::temp_directory_path() / ("iconwright-bench-" + std::to_string(::getpid()) + ".bmp"))
                    .string()) {
        std::vector<uint8_t> pixels(96 * 96);
        for (std::size_t k = 0; k < pixels.size(); ++k) pixels[k] = static_cast<uint8_t>(k * 37 + k / 96);
        written_ = modBmp::WriteBMPFile(path_, pixels, modPalettes::GamePalette, 96, 96);
    }
    ~SlotFile() { std::filesystem::remove(path_); }
    const std::string& path() const { return path_; }
    bool written() const { return written_; }

private:
    std::string path_;
    bool written_ = false;
};

void BM_LoadBMPFile_96x96(benchmark::State& state) {
    const SlotFile file;
    if (!file.written()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    for (auto _ : state) {
        if (!modBmp::LoadBMPFile(file.path(), true)) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(modBmp::BmpPixels().data());
    }
}
BENCHMARK(BM_LoadBMPFile_96x96);

void BM_WriteBMPFile_96x96(benchmark::State& state) {
    const SlotFile file;
    std::vector<uint8_t> pixels(96 * 96, 7);
    for (auto _ : state) {
        if (!modBmp::WriteBMPFile(file.path(), pixels, modPalettes::GamePalette, 96, 96)) {
            state.SkipWithError("write failed");
            break;
        }
    }
}
BENCHMARK(BM_WriteBMPFile_96x96);

}  // namespace
