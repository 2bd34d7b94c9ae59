#!/usr/bin/env bash
# The core tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs="$(nproc)"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DIW_WERROR=ON -DIW_SANITIZE=ON \
  -DIW_WITH_QT=OFF -DIW_WITH_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs" -L core)
