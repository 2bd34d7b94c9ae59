#!/usr/bin/env bash
# Cross-builds iconwright-cli for 64-bit Windows with Debian's MinGW-w64:
#   build-windows/iconwright-cli.exe                       static (no DLL needed) and stripped
#   build-windows/iconwright-<version>-windows-x64.zip     the .exe and a short README.txt
#
#   scripts/windows.sh           the program and the zip
#   scripts/windows.sh --tests   also the core's unit tests, for running under Wine
#
# zlib is Debian's MinGW build (libz-mingw-w64-dev). libjpeg-turbo and GoogleTest are built once
# from their Debian source packages (unpacked in .deps/ by install-deps.sh, left untouched) into
# caches .deps/mingw-<name>-<version>/, reused by every later build; libspng is compiled by the
# project itself, as in the Linux build. The game palette's grid is made by a host build of its
# generator: its table does not depend on the system it is compiled for.
set -euo pipefail
cd "$(dirname "$0")/.."
with_tests=0
[[ ${1:-} == --tests ]] && with_tests=1

bash scripts/install-deps.sh --packages cmake make g++ g++-mingw-w64-x86-64-posix libz-mingw-w64-dev \
  nlohmann-json3-dev zip
bash scripts/install-deps.sh --source libspng
bash scripts/install-deps.sh --source libjpeg-turbo
((with_tests)) && bash scripts/install-deps.sh --source googletest

toolchain=$PWD/cmake/mingw-w64.cmake
jobs=$(nproc)

# The version of an unpacked Debian source package, from its changelog.
source_version() { sed -n '1s/^[^(]*(\([^)]*\)).*/\1/p' ".deps/$1/debian/changelog" | tr ':~' '__'; }

# Configures, builds and installs the source in .deps/$1 for Windows into the cache $2 (once).
build_into_cache() {
  local name=$1 cache=$2 targets=$3
  shift 3
  [[ -f $cache/.complete ]] && return 0
  echo "windows.sh: building $name for Windows into $cache (once)"
  local work=build-windows/third-party/$name
  rm -rf "$work" "$cache"
  cmake -S ".deps/$name" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$PWD/$cache" "$@" >/dev/null
  local t
  for t in $targets; do cmake --build "$work" -j"$jobs" --target "$t" >/dev/null; done
  "after_$name" "$work" "$cache"
  touch "$cache/.complete"
}

# TurboJPEG's static library and header only; the tools and the shared library are not needed.
# Without the SIMD code, which would need nasm; the C code decodes to the same pixels.
after_libjpeg-turbo() {
  mkdir -p "$2/lib" "$2/include"
  cp "$1/libturbojpeg.a" "$2/lib/"
  cp .deps/libjpeg-turbo/turbojpeg.h "$2/include/"
}
after_googletest() { cmake --install "$1" >/dev/null; }

jpeg_cache=.deps/mingw-libjpeg-turbo-$(source_version libjpeg-turbo)
build_into_cache libjpeg-turbo "$jpeg_cache" turbojpeg-static \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=ON -DWITH_JAVA=OFF -DWITH_SIMD=0
prefixes="$PWD/$jpeg_cache"
if ((with_tests)); then
  gtest_cache=.deps/mingw-googletest-$(source_version googletest)
  build_into_cache googletest "$gtest_cache" "gtest gtest_main" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
  prefixes="$prefixes;$PWD/$gtest_cache"
fi

# The host's generator of the game palette's grid, compiled alone (it includes only imagefiles/
# headers), so that no native build folder is needed.
grid=build-windows/host/iw_make_game_grid
if [[ ! -x $grid || src/imagefiles/generator/MakeGameGrid.cpp -nt $grid ||
      -n $(find src/imagefiles -name '*.h' -newer "$grid") ]]; then
  mkdir -p build-windows/host
  c++ -std=c++20 -O2 -Isrc src/imagefiles/generator/MakeGameGrid.cpp -o "$grid"
fi

# RelWithDebInfo as the Linux build: the same optimisation (GCC 12 at -O3 warns falsely about
# overlapping copies), and the symbols go with the strip below.
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_FIND_ROOT_PATH="$prefixes" -DCMAKE_EXE_LINKER_FLAGS=-static \
  -DIW_HOST_MAKE_GAME_GRID="$PWD/$grid" \
  -DIW_WITH_QT=OFF -DIW_WITH_BENCH=OFF -DIW_WITH_TESTS="$with_tests" -DIW_WERROR="${IW_WERROR:-ON}" >/dev/null
targets=(--target iconwright-cli)
((with_tests)) && targets+=(--target iw_windows_tests)
cmake --build build-windows -j"$jobs" "${targets[@]}"
x86_64-w64-mingw32-strip build-windows/iconwright-cli.exe

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
stage=build-windows/zip/iconwright-$version-windows-x64
rm -rf build-windows/zip
mkdir -p "$stage"
cp build-windows/iconwright-cli.exe "$stage/"
sed "s/@VERSION@/$version/" resources/windows/README.txt | sed 's/$/\r/' >"$stage/README.txt"
zip="build-windows/iconwright-$version-windows-x64.zip"
rm -f "$zip"
(cd build-windows/zip && zip -q -X -r "../$(basename "$zip")" "$(basename "$stage")")
echo "$zip"
