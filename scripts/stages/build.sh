#!/usr/bin/env bash
# Builds everything in build/ with warnings as errors and runs the unit and window tests
# (the window offscreen).
set -euo pipefail
cd "$(dirname "$0")/../.."
IW_WERROR=ON scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
