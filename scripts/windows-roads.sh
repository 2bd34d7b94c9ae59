#!/usr/bin/env bash
# Runs build-windows/iconwright-cli.exe under Wine and build/iconwright-cli on the same roads and
# compares every file they write (GAF, PCX, PNG, BMP) byte for byte:
#   bmp      a 96 x 96 BMP file loaded, generated and written
#   png      an RGBA PNG file of another size imported with dithering
#   png16    a 16-bit PNG file imported, fitted by cover, matched perceptually
#   jpeg     a JPEG file imported over a background colour
#   mixed    PCX, JPEG and BMP into the three slots, effects, a unit exported into a folder with
#            a UTF-8 name, its GAF file's frames extracted; the Windows side gets backslash paths
#            with a drive letter
# Needs both programs built (scripts/build.sh iconwright-cli, scripts/windows.sh) and Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
wine=${IW_WINE:-/usr/lib/wine/wine64}
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine-prefix} WINEDEBUG=-all
linux_cli=$PWD/build/iconwright-cli
windows_cli=$PWD/build-windows/iconwright-cli.exe
convert=/usr/bin/convert  # ImageMagick, for the input pictures only
[[ -x $convert ]] || bash scripts/install-deps.sh --packages imagemagick >/dev/null

work=$(mktemp -d "$PWD/build-windows/roads.XXXXXX")
trap 'rm -rf "$work"' EXIT
in=$work/in
mkdir -p "$in"
# The inputs: the pictures are made once and read by both programs.
"$linux_cli" --fill normal 37 --cross normal 20 --border normal --grid normal --save-bmp normal "$in/unit.bmp" \
  --lighter normal --save-pcx normal "$in/UNIT.PCX" >/dev/null
"$convert" -size 130x90 -define gradient:angle=30 gradient:'#ff8000-#0040c0' \
  \( -size 130x90 radial-gradient:white-black \) -alpha off -compose copy-opacity -composite "PNG32:$in/render.png"
"$convert" -size 200x120 gradient:'#102030-#f0e0d0' -depth 16 "PNG48:$in/deep.png"
"$convert" -size 160x160 -seed 7 plasma:'#208040-#c0a060' -quality 85 "$in/photo.jpg"

# The Windows side's spelling of a path: a drive letter (Wine's Z: is the root) and backslashes.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

declare -A roads=(
  [bmp]='--unit armcamp --load-bmp normal IN/unit.bmp --auto IN/unit.bmp --write-gaf OUT/armcamp_GADGET.GAF --save-pcx highlighted OUT/h.pcx --save-png disabled OUT/d.png'
  [png]='--unit corlab --dither floyd-steinberg --import normal IN/render.png --auto-import IN/render.png --write-gaf OUT/corlab_GADGET.GAF --save-pcx normal OUT/n.pcx --save-png normal OUT/n.png'
  [png16]='--unit deep --fit cover --match perceptual --import normal IN/deep.png --auto-import IN/deep.png --write-gaf OUT/deep_GADGET.GAF --save-png highlighted OUT/h.png --preview-png normal OUT/p.png'
  [jpeg]='--unit photo --background #202830 --import normal IN/photo.jpg --import disabled IN/photo.jpg --grey disabled --write-gaf OUT/photo_GADGET.GAF --save-bmp normal OUT/n.bmp --save-pcx disabled OUT/d.pcx'
  [mixed]='--unit Über --load-pcx normal IN/UNIT.PCX --import highlighted IN/photo.jpg --lighter highlighted --load-bmp disabled IN/unit.bmp --grey disabled --grid disabled --cross normal 12 --export-unit OUT/Über_mod --gaf-extract OUT/Über_mod/anims/Über_GADGET.GAF OUT/frames'
)

failures=0
for road in bmp png png16 jpeg mixed; do
  for side in linux windows; do
    out=$work/$road-$side
    mkdir -p "$out"
    args=()
    for word in ${roads[$road]}; do
      if [[ $side == windows ]]; then
        word=${word//IN\//$(windows_path "$in")\\}
        word=${word//OUT\//$(windows_path "$out")\\}
        word=${word//\//\\}
      else
        word=${word//IN\//$in/}
        word=${word//OUT\//$out/}
      fi
      args+=("$word")
    done
    if [[ $side == windows ]]; then
      "$wine" "$windows_cli" "${args[@]}" >"$work/$road-$side.out" 2>&1 || { echo "roads: $road failed on Windows: $(cat "$work/$road-$side.out")"; failures=$((failures + 1)); }
    else
      "$linux_cli" "${args[@]}" >"$work/$road-$side.out" 2>&1 || { echo "roads: $road failed on Linux: $(cat "$work/$road-$side.out")"; failures=$((failures + 1)); }
    fi
  done
  files=$(cd "$work/$road-linux" && find . -type f | sort)
  if [[ -z $files ]]; then echo "roads: $road wrote nothing"; failures=$((failures + 1)); continue; fi
  if diff -r "$work/$road-linux" "$work/$road-windows" >/dev/null; then
    echo "roads: $road: $(wc -l <<<"$files") files byte-identical ($(tr '\n' ' ' <<<"$files"))"
  else
    echo "roads: $road differs:"; diff -r "$work/$road-linux" "$work/$road-windows" || true
    failures=$((failures + 1))
  fi
done
((failures == 0)) || { echo "roads: $failures road(s) failed" >&2; exit 1; }
