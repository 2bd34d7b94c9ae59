#!/usr/bin/env bash
# The web page's goals measured beside the native CLI in one run: ready time, the whole job
# (1024 x 1024 RGBA PNG imported with dithering, generation, GAF) in the page and in
# iconwright-cli, and the gzipped size of the wasm and the script. Builds what is missing first.
#
#   bash bench/web-vs-cli.sh            (IW_BENCH_RUNS=N for another number of runs, default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -x build/iconwright-cli ]] || scripts/build.sh iconwright-cli
[[ -f build-web/iconwright.wasm ]] || bash scripts/web.sh
node bench/web-vs-cli.mjs
