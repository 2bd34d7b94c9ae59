#!/usr/bin/env bash
# Configures build/ and builds every target there (the programs, the tests and the benchmarks),
# or only the targets named as arguments. Warnings are errors unless IW_WERROR=OFF.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIW_WERROR="${IW_WERROR:-ON}" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build build -j"$(nproc)" "${targets[@]}"
