#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Iconwright window.
set -euo pipefail
cd "$(dirname "$0")/.."
IW_WITH_XVFB=0 scripts/install-deps.sh
scripts/build.sh
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: showing the command-line tool's help instead of the window."
  exec build/iconwright-cli --help
fi
exec build/iconwright "$@"
