#!/usr/bin/env bash
# Builds the five fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer,
# libspng compiled with the same instrumentation): the BMP, PCX and GAF readers, the import road,
# and the GAF listing and extraction. Runs each for a bounded number of inputs from its seed
# corpus in tests/fuzz/seeds (made by scripts/make-fuzz-seeds.sh). Any crash, sanitizer report,
# leak, single allocation above 64 MiB or input slower than 10 s fails the run. Skipped, with a
# note, when clang is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz-smoke: skipped: clang not available"
    exit 0
fi

build="${IW_FUZZ_BUILD:-build-fuzz}"
runs="${IW_FUZZ_RUNS:-20000}"
jobs="$(nproc)"
targets=(bmp pcx gaf import extract)

cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DIW_FUZZ=ON -DIW_WITH_QT=OFF -DIW_WITH_BENCH=OFF >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}" -j"$jobs"

work="$build/fuzz-run"
rm -rf "$work"
mkdir -p "$work/artifacts"
for target in "${targets[@]}"; do
    echo "fuzz-smoke: fuzz_$target, $runs runs"
    mkdir -p "$work/corpus-$target"
    seeds=("tests/fuzz/seeds/$target")
    # The import road reads the palette readers' files too.
    if [[ $target == import ]]; then seeds+=(tests/fuzz/seeds/bmp tests/fuzz/seeds/pcx); fi
    # The first folder collects new interesting inputs; the seeds are only read.
    "$build/tests/fuzz/fuzz_$target" -runs="$runs" -max_len=20000 -seed=1 \
        -rss_limit_mb=512 -malloc_limit_mb=64 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/$target-" \
        "$work/corpus-$target" "${seeds[@]}"
done
echo "fuzz-smoke: no crash in the readers, the import road, the listing or the extraction"
