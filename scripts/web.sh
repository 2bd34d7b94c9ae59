#!/usr/bin/env bash
# Builds the web page into build-web/, a folder that any static host can serve as it is:
#
#   build-web/index.html, app.js, iconwright.wasm   the page (the wasm fetched beside the script)
#   build-web/sw.js                                 keeps those files for a visit without a network
#   build-web/iconwright-single.html                the whole page in one file, opens from file://
#
#   bash scripts/web.sh            build
#   bash scripts/web.sh --serve    build, then serve build-web/ on 127.0.0.1 (prints the address)
#
# Installs Debian's emscripten (and node, npm, a host C++ compiler) where missing. Intermediate
# files go to build-wasm/; the libraries to a cache under .deps/ (built once).
set -euo pipefail
cd "$(dirname "$0")/.."
# emcc runs its JavaScript tools with node, which finds Debian's acorn only through NODE_PATH when
# node is not Debian's own.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

# Only a missing command is installed: node and npm may come from another package than Debian's.
missing=()
command -v emcc >/dev/null || missing+=(emscripten)
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
command -v c++ >/dev/null || missing+=(g++)
((${#missing[@]} == 0)) || bash scripts/install-deps.sh --packages "${missing[@]}"

libraries=$(bash scripts/web-libraries.sh)

# The game palette's grid, made by its generator as a host program.
mkdir -p build-wasm/host
grid=build-wasm/host/GameGridTable.inc
if [[ ! -f $grid || src/imagefiles/generator/MakeGameGrid.cpp -nt $grid || -n $(find src/imagefiles -name '*.h' -newer "$grid") ]]; then
  c++ -std=c++20 -O2 -Isrc src/imagefiles/generator/MakeGameGrid.cpp -o build-wasm/host/make-game-grid
  build-wasm/host/make-game-grid "$grid"
fi

emcmake cmake -S src/web -B build-wasm/module -DCMAKE_BUILD_TYPE=Release -DIW_WEB_LIBRARIES="$libraries" \
  -DIW_GENERATED_DIR="$PWD/build-wasm/host" >/dev/null
cmake --build build-wasm/module -j2

# The page's script, bundled around the module.
if [[ ! -d web/node_modules || web/package-lock.json -nt web/node_modules/.package-lock.json ]]; then
  (cd web && npm ci --no-audit --no-fund --loglevel=error)
fi
(cd web && npx --no-install tsc --noEmit -p .)
rm -rf build-web
mkdir -p build-web
node web/build.mjs build-wasm/module build-web
ls -l build-web

if [[ ${1:-} == --serve ]]; then
  exec node web/serve.mjs build-web "${IW_WEB_PORT:-8080}"
fi
