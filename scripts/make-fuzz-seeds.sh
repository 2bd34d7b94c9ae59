#!/usr/bin/env bash
# Makes the fuzz targets' seed corpora in tests/fuzz/seeds/<target>, which are kept in the
# repository: the valid BMP, PCX and GAF files of the reader tests and a few pictures of each
# kind the import reads, all small. Run it again when the samples change, and commit the result.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${IW_FUZZ_BUILD:-build-fuzz}"
cmake -S . -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DIW_FUZZ=ON -DIW_WITH_QT=OFF -DIW_WITH_BENCH=OFF >/dev/null
cmake --build "$build" --target make_seeds make_import_seeds -j"$(nproc)"

seeds=tests/fuzz/seeds
made="$build/seeds"
rm -rf "$made" "$seeds"
"$build/tests/fuzz/make_seeds" "$made"
"$build/tests/fuzz/make_import_seeds" "$made/import"
mkdir -p "$seeds"
for target in bmp pcx gaf import; do cp -r "$made/$target" "$seeds/$target"; done
# Listing and extraction start from the GAF samples too.
cp -r "$made/gaf" "$seeds/extract"
echo "make-fuzz-seeds: $(find "$seeds" -type f | wc -l) files, $(du -sh "$seeds" | cut -f1) in $seeds"
