#!/usr/bin/env bash
# Builds the Debian package build-package/iconwright_<version>_amd64.deb: the window, the
# command-line tool, the desktop entry, the icons, the manual pages and the copyright file.
# build-package/ is configured without the tests and the benchmarks, because CPack builds every
# target before it packs. The compiler and linker flags are Debian's own (dpkg-buildflags, with
# every hardening: fortified functions, stack protection, relocations read-only and bound at
# start), added to the usual optimisation.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --packages cmake make gcc g++ dpkg-dev qt6-base-dev zlib1g-dev libturbojpeg0-dev \
  nlohmann-json3-dev
bash scripts/install-deps.sh --source libspng
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flags() { dpkg-buildflags --get "$1"; }
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIW_WITH_TESTS=OFF -DIW_WITH_BENCH=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" \
  -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-package/CMakeCache.txt)
deb="build-package/iconwright_${version}_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "package.sh: CPack did not write $deb" >&2; exit 1; }
echo "$deb"
