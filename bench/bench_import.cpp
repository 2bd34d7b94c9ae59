// The import road's speed: mapping a 96 x 96 frame in every mode (goal: at most 2 ms), and a whole
// 1024 x 1024 RGBA PNG decoded, fitted with contain and mapped with dithering (goal: at most 40 ms).
// The import dialog's work on a 4096 x 4096 PNG: what it does before its first preview shows
// (decode, fit, map: goal at most 1 s), and what a change of an option that keeps the fit costs
// (the kept frames mapped again: goal at most 50 ms).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "imagefiles/PictureDecoders.h"
#include "imagefiles/modPalettes.h"
#include "import/ImportPicture.h"
#include "import/MapToPalette.h"
#include "support/PictureEncoders.h"

namespace {

using imagefiles::RgbaPicture;

// Every pixel a different colour: the worst case for the matcher's memo.
RgbaPicture NoiseFrame() {
    RgbaPicture frame{96, 96, {}};
    std::mt19937 random(96);
    for (int i = 0; i < 96 * 96; ++i)
        frame.Pixels.insert(frame.Pixels.end(), {uint8_t(random()), uint8_t(random()), uint8_t(random()), 255});
    return frame;
}

void BM_MapFrame(benchmark::State& state) {
    const RgbaPicture frame = NoiseFrame();
    const auto rule = state.range(0) ? import::MatchRule::Perceptual : import::MatchRule::Rgb;
    const auto dither = state.range(1) ? import::DitherMode::FloydSteinberg : import::DitherMode::None;
    for (auto _ : state) {
        const auto mapped = import::MapToPalette(frame, modPalettes::GamePalette, rule, dither, {});
        benchmark::DoNotOptimize(mapped.Indices.data());
    }
    state.SetLabel(std::string(state.range(0) ? "perceptual" : "rgb") + (state.range(1) ? ", floyd-steinberg" : ""));
}
BENCHMARK(BM_MapFrame)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMicrosecond);

// A rendered-looking unit: a shaded sphere and a ring over a transparent background, with a
// little grain, as a modder's 3D render comes out.
RgbaPicture Render(int side) {
    RgbaPicture picture{side, side, {}};
    picture.Pixels.reserve(static_cast<std::size_t>(side) * side * 4);
    std::mt19937 random(7);
    const double c = side / 2.0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const double dx = (x - c) / c, dy = (y - c) / c, r = std::hypot(dx, dy);
            const double shade = std::clamp(1.0 - std::hypot(dx + 0.3, dy + 0.3), 0.0, 1.0);
            const bool ring = std::abs(r - 0.8) < 0.06;
            const bool body = r < 0.6;
            const int grain = static_cast<int>(random() % 7) - 3;
            const auto level = [&](double v) {
                return static_cast<uint8_t>(std::clamp(v * 255.0 + grain, 0.0, 255.0));
            };
            if (body)
                picture.Pixels.insert(picture.Pixels.end(),
                                      {level(0.3 + 0.6 * shade), level(0.4 * shade), level(0.2), 255});
            else if (ring)
                picture.Pixels.insert(picture.Pixels.end(), {level(0.7), level(0.7), level(0.75), 200});
            else
                picture.Pixels.insert(picture.Pixels.end(), {0, 0, 0, 0});
        }
    return picture;
}

void BM_ImportPng1024ContainDithered(benchmark::State& state) {
    const auto file = pictureencode::EncodeRgbaPng(Render(1024));
    import::ImportSettings settings;
    settings.Dither = import::DitherMode::FloydSteinberg;
    for (auto _ : state) {
        const auto picture = imagefiles::DecodePicture(file, nullptr);
        const auto result = import::ImportDecoded(*picture, settings, modPalettes::GamePalette, nullptr);
        benchmark::DoNotOptimize(result->Indices.data());
    }
    state.SetLabel(std::to_string(file.size() / 1024) + " KiB file");
}
BENCHMARK(BM_ImportPng1024ContainDithered)->Unit(benchmark::kMillisecond);

void BM_DecodePng1024(benchmark::State& state) {
    const auto file = pictureencode::EncodeRgbaPng(Render(1024));
    for (auto _ : state) benchmark::DoNotOptimize(imagefiles::DecodePicture(file, nullptr)->Pixels.data());
}
BENCHMARK(BM_DecodePng1024)->Unit(benchmark::kMillisecond);

void BM_Fit1024Contain(benchmark::State& state) {
    const RgbaPicture picture = Render(1024);
    import::ImportSettings settings;
    for (auto _ : state)
        benchmark::DoNotOptimize(import::PrepareFrames(picture, settings, nullptr)->Fitted.Pixels.data());
}
BENCHMARK(BM_Fit1024Contain)->Unit(benchmark::kMillisecond);

// One 4096 x 4096 render as a PNG file, made once for the dialog's cases.
const std::vector<uint8_t>& Png4096() {
    static const std::vector<uint8_t> file = pictureencode::EncodeRgbaPng(Render(4096));
    return file;
}

void BM_ImportDialogOpens4096(benchmark::State& state) {
    const auto& file = Png4096();
    const import::ImportSettings settings;
    for (auto _ : state) {
        const auto picture = imagefiles::DecodePicture(file, nullptr);
        auto frames = import::PrepareFrames(*picture, settings, nullptr);
        const auto result = import::MapPreparedFrames(std::move(*frames), settings, modPalettes::GamePalette, nullptr);
        benchmark::DoNotOptimize(result->Indices.data());
    }
    state.SetLabel(std::to_string(file.size() / 1024) + " KiB file");
}
BENCHMARK(BM_ImportDialogOpens4096)->Unit(benchmark::kMillisecond)->Iterations(3);

// Match, dither, avoid or strict changed: the dialog maps the frames it kept.
void BM_ImportDialogOptionChange4096(benchmark::State& state) {
    const auto picture = imagefiles::DecodePicture(Png4096(), nullptr);
    import::ImportSettings settings;
    const auto frames = import::PrepareFrames(*picture, settings, nullptr);
    settings.Match = state.range(0) ? import::MatchRule::Perceptual : import::MatchRule::Rgb;
    settings.Dither = state.range(1) ? import::DitherMode::FloydSteinberg : import::DitherMode::None;
    for (auto _ : state) {
        const auto result = import::MapPreparedFrames(*frames, settings, modPalettes::GamePalette, nullptr);
        benchmark::DoNotOptimize(result->Indices.data());
    }
    state.SetLabel(std::string(state.range(0) ? "perceptual" : "rgb") + (state.range(1) ? ", floyd-steinberg" : ""));
}
BENCHMARK(BM_ImportDialogOptionChange4096)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

// Fit, trim or background changed: the kept picture fitted again.
void BM_ImportDialogFitChange4096(benchmark::State& state) {
    const auto picture = imagefiles::DecodePicture(Png4096(), nullptr);
    import::ImportSettings settings;
    settings.Fit = import::FitMode::Cover;
    for (auto _ : state)
        benchmark::DoNotOptimize(import::PrepareFrames(*picture, settings, nullptr)->Fitted.Pixels.data());
}
BENCHMARK(BM_ImportDialogFitChange4096)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
