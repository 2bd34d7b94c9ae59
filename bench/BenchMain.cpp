#include <benchmark/benchmark.h>

#include "imagefiles/modPalettes.h"

int main(int argc, char** argv) {
    modPalettes::InitGamePalette();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
