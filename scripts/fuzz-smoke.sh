#!/usr/bin/env bash
# Builds the BMP, PCX and GAF reader fuzz targets and the import road's with clang (libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) and runs each for a bounded number of inputs from a seed corpus of
# valid files. Any crash, sanitizer report, leak or single allocation above 64 MiB fails the
# run. Skipped, with a note, when clang is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz-smoke: skipped: clang not available"
    exit 0
fi

build="${IW_FUZZ_BUILD:-build-fuzz}"
runs="${IW_FUZZ_RUNS:-20000}"
jobs="$(nproc)"

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DIW_FUZZ=ON -DIW_WITH_QT=OFF -DIW_WITH_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_bmp fuzz_pcx fuzz_gaf fuzz_import make_seeds make_import_seeds -j"$jobs"

work="$build/fuzz-run"
rm -rf "$work"
mkdir -p "$work/corpus-bmp" "$work/corpus-pcx" "$work/corpus-gaf" "$work/corpus-import" "$work/artifacts"
"$build/tests/fuzz/make_seeds" "$work/seeds"
"$build/tests/fuzz/make_import_seeds" "$work/seeds/import"

for format in bmp pcx gaf; do
    echo "fuzz-smoke: fuzz_$format, $runs runs"
    # The first folder collects new interesting inputs; the seeds are only read.
    "$build/tests/fuzz/fuzz_$format" -runs="$runs" -max_len=20000 -seed=1 \
        -rss_limit_mb=512 -malloc_limit_mb=64 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/$format-" \
        "$work/corpus-$format" "$work/seeds/$format"
done
# The import road: every kind of picture file, decoded through the libraries, fitted and mapped.
echo "fuzz-smoke: fuzz_import, $runs runs"
"$build/tests/fuzz/fuzz_import" -runs="$runs" -max_len=20000 -seed=1 \
    -rss_limit_mb=512 -malloc_limit_mb=64 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/import-" \
    "$work/corpus-import" "$work/seeds/import" "$work/seeds/bmp" "$work/seeds/pcx"
echo "fuzz-smoke: no crash in the readers or the import road"
