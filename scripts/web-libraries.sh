#!/usr/bin/env bash
# Builds zlib, libspng and TurboJPEG from Debian's source packages (unpacked in .deps/ by
# scripts/install-deps.sh --source) with emscripten, once, into a cache of their own:
#
#   .deps/web-emscripten-<version>/lib/{libz,libspng,libturbojpeg}.a
#   .deps/web-emscripten-<version>/include/{zlib.h,zconf.h,spng.h,turbojpeg.h}
#
# Prints the cache's path. A cache that is complete is used as it is; the emscripten version is
# part of its name, so a new compiler builds a new one.
set -euo pipefail
cd "$(dirname "$0")/.."
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"

version=$(emcc -dumpversion 2>/dev/null)
cache="$PWD/.deps/web-emscripten-$version"
if [[ -f $cache/.complete ]]; then
  echo "$cache"
  exit 0
fi

for source in zlib libspng libjpeg-turbo; do
  [[ -d .deps/$source ]] || bash scripts/install-deps.sh --source "$source" >&2
done

rm -rf "$cache"
mkdir -p "$cache/lib" "$cache/include" "$cache/objects"
flags=(-O2)

# zlib: its library sources, without the gz* file functions, which nothing here calls.
zlib_objects=()
for name in adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil; do
  emcc "${flags[@]}" -c ".deps/zlib/$name.c" -o "$cache/objects/z-$name.o" >&2
  zlib_objects+=("$cache/objects/z-$name.o")
done
emar rcs "$cache/lib/libz.a" "${zlib_objects[@]}"
cp .deps/zlib/zlib.h .deps/zlib/zconf.h "$cache/include/"

# libspng: one file, built as the native build builds it (on zlib, no architecture filters).
emcc "${flags[@]}" -DSPNG_STATIC -DSPNG_DISABLE_OPT -I"$cache/include" -c .deps/libspng/spng/spng.c \
  -o "$cache/objects/spng.o" >&2
emar rcs "$cache/lib/libspng.a" "$cache/objects/spng.o"
cp .deps/libspng/spng/spng.h "$cache/include/"

# TurboJPEG: libjpeg-turbo's own CMake build. Its type-size probes go wrong under emscripten
# (size_t comes out as 9 bytes), so the sizes are given; there is no SIMD for wasm here.
emcmake cmake -S .deps/libjpeg-turbo -B "$cache/jpeg-build" -DCMAKE_BUILD_TYPE=Release \
  -DENABLE_SHARED=FALSE -DENABLE_STATIC=TRUE -DWITH_TURBOJPEG=TRUE -DWITH_JAVA=FALSE -DWITH_SIMD=0 \
  -DHAVE_SIZE_T=TRUE -DSIZE_T=4 -DHAVE_UNSIGNED_LONG=TRUE -DUNSIGNED_LONG=4 >&2
cmake --build "$cache/jpeg-build" -j2 --target turbojpeg-static >&2
cp "$cache/jpeg-build/libturbojpeg.a" "$cache/lib/"
cp .deps/libjpeg-turbo/turbojpeg.h "$cache/include/"

rm -rf "$cache/objects" "$cache/jpeg-build"
touch "$cache/.complete"
echo "$cache"
