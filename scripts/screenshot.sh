#!/usr/bin/env bash
# Screenshot smoke test: starts the window under a virtual X server, waits for it, and saves
# PNG pictures of it under build/: screenshot-about.png (the window as it opens) and, when the
# road helper was built, screenshot-normal.png (a picture loaded, with a border) and
# screenshot-operations.png (the Operations page after the whole road: the automatic
# generation, the preview, the GAF written).
# Fails when the window never appears. Prints "skipped" when Xvfb is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${IW_BUILD_DIR:-build}"

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "skipped: Xvfb or xdotool is not installed"
  exit 0
fi
import=/usr/bin/import
[[ -x "$import" ]] || import="$(command -v import || true)"
if [[ -z "$import" ]]; then
  echo "skipped: ImageMagick's import is not installed"
  exit 0
fi
if [[ ! -x "$build/iconwright" ]]; then
  echo "screenshot: $build/iconwright has not been built" >&2
  exit 1
fi

# A free display number: no lock file and no socket.
display=99
while [[ -e /tmp/.X${display}-lock || -e /tmp/.X11-unix/X${display} ]]; do display=$((display + 1)); done

xvfb_pid=""
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  [[ -n "${runtime_dir:-}" ]] && rm -rf "$runtime_dir"
  return 0
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
runtime_dir="$(mktemp -d)"
export XDG_RUNTIME_DIR="$runtime_dir"
for _ in $(seq 1 50); do
  [[ -e /tmp/.X11-unix/X${display} ]] && break
  sleep 0.1
done

QT_QPA_PLATFORM=xcb "$build/iconwright" >/dev/null 2>&1 &
app_pid=$!

window=""
for _ in $(seq 1 100); do  # at most about 20 seconds
  window="$(xdotool search --onlyvisible --name "Iconwright by ORBIT" 2>/dev/null | head -n 1 || true)"
  [[ -n "$window" ]] && break
  if ! kill -0 "$app_pid" 2>/dev/null; then break; fi
  sleep 0.2
done
if [[ -z "$window" ]]; then
  echo "screenshot: the Iconwright window did not appear" >&2
  exit 1
fi
sleep 1  # let the first paint finish
"$import" -window "$window" "$build/screenshot-about.png"
echo "screenshot: $build/screenshot-about.png"
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=""

road="$build/tests/iconwright-road-screenshot"
if [[ -x "$road" ]]; then
  QT_QPA_PLATFORM=xcb timeout 60 "$road" "$build/screenshot-operations.png"
  echo "screenshot: $build/screenshot-operations.png"
fi
