#!/usr/bin/env bash
# Installs what is missing, builds the two programs (not the tests or the benchmarks), and
# starts the Iconwright window.
set -euo pipefail
cd "$(dirname "$0")/.."
# The packages are checked only when the build folder is new or the set-up changed since it
# last ran, so that a later start goes straight to the build.
stamp=build/.set-up-done
if [[ ! -f $stamp || scripts/install-deps.sh -nt $stamp || ! -f .deps/libspng/spng/spng.c ]]; then
  IW_WITH_XVFB=0 scripts/install-deps.sh
  mkdir -p build
  touch "$stamp"
fi
# A first build treats warnings as warnings, so that a compiler newer than ours cannot keep the
# window from starting. A build folder that exists keeps its own setting (scripts/test.sh makes
# it ON), so that going between the two scripts does not rebuild everything.
werror=OFF
if [[ -f build/CMakeCache.txt ]]; then
  werror="$(sed -n 's/^IW_WERROR:BOOL=//p' build/CMakeCache.txt)"
fi
IW_WERROR="${IW_WERROR:-${werror:-OFF}}" scripts/build.sh iconwright iconwright-cli
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: showing the command-line tool's help instead of the window."
  exec build/iconwright-cli --help
fi
exec build/iconwright "$@"
