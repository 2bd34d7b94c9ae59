#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and fetches libspng's Debian source
# package into .deps/libspng; skips what is already there.
set -euo pipefail
cd "$(dirname "$0")/.."

# TurboJPEG reads JPEG files, libspng (built from its source, below, on zlib) reads and writes PNG
# files, nlohmann/json writes the GAF listing; ImageMagick is what the bench scripts measure
# against. dpkg-dev unpacks source packages.
packages=(cmake gcc g++ make dpkg-dev libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          clang clang-format libclang-rt-14-dev zlib1g-dev libturbojpeg0-dev nlohmann-json3-dev imagemagick)
if [[ "${IW_WITH_XVFB:-1}" == 1 ]]; then
  # For the screenshot smoke test; it is skipped when these cannot be installed. openbox is a
  # light window manager, so that the screenshots show the window and its dialogs as a desktop
  # places and decorates them.
  optional=(xvfb xdotool x11-apps x11-utils openbox)
else
  optional=()
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

missing=()
for p in "${packages[@]}" "${optional[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
  if ((${#optional[@]})); then
    $SUDO apt-get install -y -qq --no-install-recommends "${optional[@]}" ||
      echo "Note: the screenshot tools could not be installed; the screenshot smoke test will be skipped."
  fi
fi

# Debian ships libspng only as a shared library, and iconwright-cli is linked statically, so the
# build compiles libspng from Debian's own source package. apt-get fetches source packages only
# from deb-src entries: when there are none, the machine's Debian entries are repeated as
# deb-src ones.
spng_dir=.deps/libspng
if [[ ! -f $spng_dir/spng/spng.c ]]; then
  if ! apt-cache showsrc libspng 2>/dev/null | grep -q '^Package: libspng'; then
    echo "Adding deb-src entries for the machine's Debian sources (for libspng's source package)"
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        $SUDO tee /etc/apt/sources.list.d/iconwright-deb-src.sources >/dev/null
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $SUDO tee /etc/apt/sources.list.d/iconwright-deb-src.list >/dev/null
    fi
    $SUDO apt-get update -qq
  fi
  fetch=$(mktemp -d)
  (cd "$fetch" && apt-get source -qq libspng 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
  unpacked=$(find "$fetch" -mindepth 2 -maxdepth 3 -path '*/spng/spng.c' -print -quit)
  if [[ -z $unpacked ]]; then
    echo "install-deps: could not fetch libspng's source package (apt-get source libspng)" >&2
    exit 1
  fi
  rm -rf "$spng_dir"
  mkdir -p .deps
  mv "$(dirname "$(dirname "$unpacked")")" "$spng_dir"
  rm -rf "$fetch"
fi
