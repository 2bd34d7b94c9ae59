#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need that are missing, and fetches
# Debian source packages into .deps/ with a private apt configuration: /etc/apt is never written.
#
#   scripts/install-deps.sh                 the packages of the native build and its tests
#   scripts/install-deps.sh --packages P..  only the named packages (the web and Windows stages)
#   scripts/install-deps.sh --source NAME   only NAME's source package, unpacked into .deps/NAME
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# Installs the packages of $@ that are not installed yet, and only those.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  if ! $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null 2>&1; then
    $SUDO apt-get -o DPkg::Lock::Timeout=900 update -qq
    $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# apt-get fetches source packages only from deb-src entries. The machine's own Debian entries
# are repeated as deb-src ones in a source list of our own under .deps/apt, with package lists
# and caches of our own beside it, and every apt call that reads them names them with -o.
apt_dir="$PWD/.deps/apt"
private_apt=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
             -o "APT::Sandbox::User=root")
prepare_private_apt() {
  [[ -f $apt_dir/lists/.updated ]] && return 0
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] || continue
    # deb822 stanzas: only the Debian ones, as deb-src.
    awk 'BEGIN { RS = ""; ORS = "\n\n" } /URIs: [^\n]*debian/ { sub(/Types: deb\n/, "Types: deb-src\n"); print }' "$f" \
      >>"$apt_dir/sources.list.d/debian-src.sources"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f ]] || continue
    sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' "$f" >>"$apt_dir/sources.list"
  done
  apt-get "${private_apt[@]}" update -qq
  touch "$apt_dir/lists/.updated"
}

# Unpacks the source package $1 (an apt-get source argument such as zlib=1:1.2.13.dfsg-1) into
# .deps/$2, unless the file $3 below it is already there.
fetch_source() {
  local wanted=$1 target=.deps/$2 marker=$3
  [[ -f $target/$marker ]] && return 0
  install_missing dpkg-dev
  prepare_private_apt
  local fetch
  fetch=$(mktemp -d)
  (cd "$fetch" && apt-get "${private_apt[@]}" source -qq "$wanted" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
  local unpacked
  unpacked=$(find "$fetch" -mindepth 1 -maxdepth 1 -type d -print -quit)
  if [[ -z $unpacked || ! -f $unpacked/$marker ]]; then
    echo "install-deps: could not fetch the source package $wanted" >&2
    rm -rf "$fetch"
    exit 1
  fi
  rm -rf "$target"
  mkdir -p .deps
  mv "$unpacked" "$target"
  rm -rf "$fetch"
}

case "${1:-}" in
  --packages)
    shift
    install_missing "$@"
    exit 0
    ;;
  --source)
    case "${2:-}" in
      libspng) fetch_source libspng libspng spng/spng.c ;;
      # The security version's source may be gone from the mirror while its lists still name it.
      zlib) fetch_source zlib=1:1.2.13.dfsg-1 zlib zlib.h ;;
      libjpeg-turbo) fetch_source libjpeg-turbo libjpeg-turbo turbojpeg.h ;;
      googletest) fetch_source googletest googletest CMakeLists.txt ;;
      *) echo "install-deps: no such source: ${2:-}" >&2; exit 2 ;;
    esac
    exit 0
    ;;
esac

# TurboJPEG reads JPEG files, libspng (built from its source, below, on zlib) reads and writes PNG
# files, nlohmann/json writes the GAF listing; ImageMagick is what the bench scripts measure
# against. dpkg-dev unpacks source packages. clang brings libFuzzer and its sanitizer runtime.
packages=(cmake gcc g++ make dpkg-dev libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          clang libclang-rt-dev clang-format zlib1g-dev libturbojpeg0-dev nlohmann-json3-dev imagemagick)
install_missing "${packages[@]}"
if [[ "${IW_WITH_XVFB:-1}" == 1 ]]; then
  # For the screenshot smoke test; it is skipped when these cannot be installed. openbox is a
  # light window manager, so that the screenshots show the window and its dialogs as a desktop
  # places and decorates them.
  install_missing xvfb xdotool x11-apps x11-utils openbox ||
    echo "Note: the screenshot tools could not be installed; the screenshot smoke test will be skipped."
fi

# Debian ships libspng only as a shared library, and iconwright-cli is linked statically, so the
# build compiles libspng from Debian's own source package.
fetch_source libspng libspng spng/spng.c
