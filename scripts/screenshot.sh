#!/usr/bin/env bash
# Screenshot smoke test: starts the window under a virtual X server (with the openbox window
# manager when it is installed, so that windows and dialogs are placed and decorated as on a
# desktop), works it from the keyboard, and saves PNG pictures under build/:
#   screenshot-about.png      the window as it opens (the About page)
#   screenshot-message.png    a message box with a reason: a unit name the game cannot store
#   screenshot-import-strict.png  the import dialog with Strict on for a picture of other
#                             colours: "Cannot be imported", OK greyed out
#   screenshot-edit-menu.png  the Edit menu open, offering to undo a border
#   screenshot-help-about.png the About page again, reached through the Help menu
#   screenshot-written.png    the status bar right after the GAF file was written
# and, when the road helper was built, screenshot-normal.png (a picture loaded, with a border)
# and screenshot-operations.png (the Operations page after the whole road: the automatic
# generation, the preview, the GAF written).
# The program's settings go to a temporary folder: every run is a first run, and the user's
# own settings are left alone. The program starts in that folder too, so that its dialogs open
# there and the GAF file it writes lands there.
# Fails when the window or a dialog never appears. Prints "skipped" when Xvfb is not installed.
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
build="$(cd "$build" && pwd)"
convert=/usr/bin/convert
if [[ ! -x "$convert" ]]; then
  echo "skipped: ImageMagick's convert is not installed"
  exit 0
fi

# A free display number: no lock file and no socket.
display=99
while [[ -e /tmp/.X${display}-lock || -e /tmp/.X11-unix/X${display} ]]; do display=$((display + 1)); done

xvfb_pid=""
wm_pid=""
app_pid=""
cleanup() {
  [[ -n "$app_pid" ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
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
export XDG_CONFIG_HOME="$runtime_dir/config"
for _ in $(seq 1 50); do
  [[ -e /tmp/.X11-unix/X${display} ]] && break
  sleep 0.1
done
if command -v openbox >/dev/null; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
fi

# Waits up to about 20 seconds for a visible window whose title matches $1; prints its id.
find_window() {
  local found=""
  for _ in $(seq 1 100); do
    found="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)"
    [[ -n "$found" ]] && break
    if [[ -n "$app_pid" ]] && ! kill -0 "$app_pid" 2>/dev/null; then break; fi
    sleep 0.2
  done
  [[ -n "$found" ]] || { echo "screenshot: no window \"$1\" appeared" >&2; return 1; }
  echo "$found"
}

# The screen area of a window, WIDTHxHEIGHT+X+Y, for cropping the screen; the whole screen
# when xwininfo is missing (xdotool's own geometry is off by the frame under a window manager).
window_area() {
  if ! command -v xwininfo >/dev/null; then
    echo "800x600+0+0"
    return
  fi
  xwininfo -id "$1" | awk '
    /Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /Width:/ {w = $NF} /Height:/ {h = $NF}
    END {printf "%dx%d+%d+%d", w, h, x, y}'
}

# The window's area on the screen, its popups included (the menu is a window of its own).
shoot_area() {
  "$import" -window root -crop "$1" +repage "$2"
  echo "screenshot: $2"
}

# A picture in colours the game palette lacks, for the import dialog.
"$convert" -size 120x80 gradient:'#3080c0-#e0a040' "$runtime_dir/shape.png"

(cd "$runtime_dir" && exec env QT_QPA_PLATFORM=xcb "$build/iconwright" >/dev/null 2>&1) &
app_pid=$!

window="$(find_window "Iconwright by ORBIT")"
sleep 1  # let the first paint finish
"$import" -window "$window" "$build/screenshot-about.png"
echo "screenshot: $build/screenshot-about.png"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
area="$(window_area "$window")"

# A unit name with a letter the game's code page lacks: refused, with the reason.
xdotool key --clearmodifiers ctrl+4
sleep 0.5
xdotool key --clearmodifiers alt+w
find_window "Enter your unit name" >/dev/null
xdotool type --delay 50 "ARMΩ"
xdotool key Return
box="$(find_window "^Iconwright$")"
sleep 0.5
"$import" -frame -window "$box" "$build/screenshot-message.png"
echo "screenshot: $build/screenshot-message.png"
xdotool key Return
sleep 0.5

# The import dialog with Strict on: the gradient cannot be imported, and OK is greyed out. Strict
# off again, OK imports the picture into the normal slot.
xdotool key --clearmodifiers ctrl+1
sleep 0.3
xdotool key --clearmodifiers ctrl+i
find_window "^Open$" >/dev/null
sleep 0.5
xdotool type --delay 30 "shape.png"
xdotool key Return
options="$(find_window "^Import picture - shape.png$")"
sleep 0.5
xdotool key --clearmodifiers alt+s
sleep 1
"$import" -frame -window "$options" "$build/screenshot-import-strict.png"
echo "screenshot: $build/screenshot-import-strict.png"
xdotool key --clearmodifiers alt+s
sleep 0.5
xdotool key Return
sleep 0.7

# A border on the normal picture, then the Edit menu, which offers to undo it.
xdotool key --clearmodifiers alt+c
sleep 0.5
xdotool key --clearmodifiers alt+e
sleep 0.7
shoot_area "$area" "$build/screenshot-edit-menu.png"
xdotool key Escape
sleep 0.3

# Help, About from the keyboard: from the Edit menu one step to the right.
xdotool key --clearmodifiers alt+e
sleep 0.3
xdotool key Right Return
sleep 0.7
shoot_area "$area" "$build/screenshot-help-about.png"

# Quit with unsaved work: the question; No keeps the window.
xdotool key --clearmodifiers alt+F4
find_window "Exit Iconwright" >/dev/null
xdotool key Escape
sleep 0.5

# The GAF file written into the folder the program started in: the status bar says so.
xdotool key --clearmodifiers ctrl+4
sleep 0.5
xdotool key --clearmodifiers alt+w
find_window "Enter your unit name" >/dev/null
xdotool type --delay 50 "armcamp"
xdotool key Return
find_window "^Save As$" >/dev/null
sleep 0.5
xdotool key Return
sleep 1
shoot_area "$area" "$build/screenshot-written.png"
if [[ ! -s "$runtime_dir/armcamp_GADGET.GAF" ]]; then
  echo "screenshot: armcamp_GADGET.GAF was not written" >&2
  exit 1
fi

# Everything is saved now: the program ends without a question.
quit_at="$(date +%s%N)"
xdotool key --clearmodifiers alt+F4
for _ in $(seq 1 500); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.01
done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "screenshot: the program did not end within 5 seconds of a quit with nothing unsaved" >&2
  exit 1
fi
echo "screenshot: the program ended $(( ($(date +%s%N) - quit_at) / 1000000 )) ms after the quit, without a question"
app_pid=""

road="$build/tests/iconwright-road-screenshot"
if [[ -x "$road" ]]; then
  QT_QPA_PLATFORM=xcb timeout 60 "$road" "$build/screenshot-operations.png"
  echo "screenshot: $build/screenshot-operations.png"
fi
