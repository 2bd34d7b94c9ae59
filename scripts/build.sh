#!/usr/bin/env bash
# Configures and builds the program, the CLI, the tests and the benchmarks into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIW_WERROR="${IW_WERROR:-ON}" >/dev/null
cmake --build build -j"$(nproc)"
