#!/usr/bin/env bash
# Installs what is missing, checks the house style, builds everything with warnings as errors and
# runs every test:
# the unit and window tests, the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets briefly, and the screenshot smoke test.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

scripts/install-deps.sh

echo "== Format (the house style in .clang-format)"
scripts/check-format.sh

echo "== Build (warnings are errors)"
IW_WERROR=ON scripts/build.sh

echo "== Tests"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs")

echo "== Core tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DIW_WERROR=ON -DIW_SANITIZE=ON \
  -DIW_WITH_QT=OFF -DIW_WITH_BENCH=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j"$jobs" -L core)

if [[ -x scripts/fuzz-smoke.sh ]]; then
  echo "== Fuzz targets"
  scripts/fuzz-smoke.sh
fi

if [[ -x scripts/screenshot.sh ]]; then
  echo "== Screenshot smoke test"
  scripts/screenshot.sh
fi
