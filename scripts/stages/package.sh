#!/usr/bin/env bash
# The Debian package as a user gets it: built by scripts/package.sh, its control data (name,
# version, the computed Depends), its contents, lintian's findings, and the installed programs,
# unpacked into a scratch root, running: iconwright-cli's road gives the same bytes as
# build/iconwright-cli's.
set -euo pipefail
cd "$(dirname "$0")/../.."
[[ -x build/iconwright-cli ]] || scripts/build.sh iconwright-cli >/dev/null

started=$SECONDS
deb=$(bash scripts/package.sh | tail -n 1)
echo "package: $deb built in $((SECONDS - started)) s, $(stat -c %s "$deb") bytes"
version=$(build/iconwright-cli --version | cut -d' ' -f2)
[[ $(basename "$deb") == "iconwright_${version}_amd64.deb" ]] || { echo "package: unexpected name $deb" >&2; exit 1; }

failures=0
fail() { echo "package: $*" >&2; failures=$((failures + 1)); }

# Control data: the version set in CMakeLists.txt, and dependencies computed from the programs'
# shared libraries (Qt for the window, the C library for both).
field() { dpkg-deb --field "$deb" "$1"; }
[[ $(field Package) == iconwright ]] || fail "Package is $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version is $(field Version), not $version"
[[ $(field Architecture) == amd64 ]] || fail "Architecture is $(field Architecture)"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 libturbojpeg0; do
  [[ $depends == *"$library "* || $depends == *"$library," || $depends == *"$library" ]] ||
    fail "Depends lacks $library: $depends"
done
dpkg-deb --field "$deb"

# Contents: exactly these files (folders aside).
expected="./usr/bin/iconwright
./usr/bin/iconwright-cli
./usr/share/applications/iconwright.desktop
./usr/share/doc/iconwright/changelog.gz
./usr/share/doc/iconwright/copyright
./usr/share/icons/hicolor/48x48/apps/iconwright.png
./usr/share/icons/hicolor/scalable/apps/iconwright.svg
./usr/share/man/man1/iconwright-cli.1.gz
./usr/share/man/man1/iconwright.1.gz"
contents=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[[ $contents == "$expected" ]] || fail "contents differ:"$'\n'"$(diff <(echo "$expected") <(echo "$contents"))"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
cli=$root/usr/bin/iconwright-cli
[[ $("$cli" --version) == "iconwright-cli $version" ]] || fail "installed iconwright-cli --version: $("$cli" --version)"
[[ $("$root/usr/bin/iconwright" --version) == "iconwright $version" ]] || fail "installed iconwright --version"
ldd "$root/usr/bin/iconwright" | grep -q "not found" && fail "the window lacks libraries: $(ldd "$root/usr/bin/iconwright" | grep 'not found')"

# The manual page is iconwright-cli's --help: it reads without warnings and names every step.
manual=$(MANWIDTH=100 man --warnings -l "$root/usr/share/man/man1/iconwright-cli.1.gz" 2>"$root/man-warnings")
[[ -s $root/man-warnings ]] && fail "man page warnings: $(cat "$root/man-warnings")"
for step in $("$cli" --help | grep -o '^  --[a-z-]*'); do
  grep -q -- "$step" <<<"$manual" || fail "the manual page lacks $step"
done

# The road: a 96 x 96 picture made by the build's own CLI, then loaded, generated and written by
# the installed one; GAF, PCX and PNG bytes equal those of build/iconwright-cli.
work=$root/road
mkdir -p "$work"
build/iconwright-cli --fill normal 37 --cross normal 20 --border normal --grid normal --save-bmp normal "$work/in.bmp" >/dev/null
road=(--unit armcamp --load-bmp normal "$work/in.bmp" --auto "$work/in.bmp" --border highlighted)
run_road() {
  mkdir -p "$2"
  "$1" "${road[@]}" --write-gaf "$2/armcamp_GADGET.GAF" --save-pcx disabled "$2/d.pcx" \
    --save-png highlighted "$2/h.png" >/dev/null
}
run_road "$cli" "$work/installed"
run_road build/iconwright-cli "$work/built"
for file in armcamp_GADGET.GAF d.pcx h.png; do
  cmp "$work/installed/$file" "$work/built/$file" || fail "the installed iconwright-cli wrote another $file"
done

# lintian, where it can be installed. The findings left are explained here:
#   statically-linked-binary  iconwright-cli is static on purpose (a run takes milliseconds;
#                             loading shared libraries was most of it), see CMakeLists.txt.
#   embedded-library          the same: libspng, zlib and libjpeg-turbo are inside it; their
#                             notices are in the copyright file.
# and, shown but not failing: binary-has-unneeded-section .comment (the compiler's version note,
# which CMake's strip keeps), spelling-error-in-binary "decompres" (a message inside zlib). The
# copyright file is plain text, not Debian's machine-readable form, because it carries the
# embedded libraries' notices verbatim.
if command -v lintian >/dev/null || bash scripts/install-deps.sh --packages lintian >/dev/null 2>&1; then
  if ! lintian --fail-on error,warning --suppress-tags statically-linked-binary,embedded-library \
    --display-info "$deb"; then
    fail "lintian has findings"
  fi
else
  echo "package: lintian could not be installed; its check is skipped"
fi

((failures == 0)) || { echo "package: $failures check(s) failed" >&2; exit 1; }
echo "package: $deb checked"
