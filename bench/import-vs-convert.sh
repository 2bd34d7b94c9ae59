#!/usr/bin/env bash
# Times, side by side in one run, iconwright-cli importing a 1024 x 1024 RGBA PNG (contain, black
# background, Floyd-Steinberg) against ImageMagick doing the same work:
#     /usr/bin/convert in.png -resize 96x96 -background black -flatten -dither FloydSteinberg \
#         -remap palette.bmp out.bmp
# with palette.bmp, a picture holding every game colour, made by iconwright-cli itself. Each command
# runs RUNS times (default 10), alternating; the script prints the median wall time of each, in ms.
# Usage: bench/import-vs-convert.sh [build folder] [picture.png]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cli="$build/iconwright-cli"
convert=/usr/bin/convert
runs="${RUNS:-10}"
[[ -x "$cli" ]] || { echo "import-vs-convert: no $cli; build iconwright-cli first" >&2; exit 1; }
[[ -x "$convert" ]] || { echo "import-vs-convert: skipped: ImageMagick's $convert is not installed"; exit 0; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Every game index once, 16 x 16 cells of 6 x 6 pixels in a 96 x 96 slot (indices 0-255 row by row).
palette_bmp="$work/palette.bmp"
# The CLI writes the game palette into every BMP it saves; only the indices are filled in here.
"$cli" --save-bmp normal "$work/white.bmp"
python3 - "$work/white.bmp" "$palette_bmp" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
# 54 bytes of headers, the 1,024-byte colour table, then 96 x 96 bottom-up indices.
for row in range(96):
    y = 95 - row
    for x in range(96):
        data[1078 + row * 96 + x] = (y // 6) * 16 + x // 6
open(sys.argv[2], "wb").write(bytes(data))
PY

picture="${2:-}"
if [[ -z "$picture" ]]; then
    picture="$work/render.png"
    # A rendered-looking unit: a shaded sphere over a transparent background.
    "$convert" -size 1024x1024 radial-gradient:'#e08040'-'#301008' \
        \( -size 1024x1024 xc:none -fill white -draw 'circle 512,512 512,100' \) \
        -compose CopyOpacity -composite -depth 8 PNG32:"$picture"
fi

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
now_ms() { date +%s%N | awk '{ printf "%.1f", $1 / 1000000 }'; }
cli_times=()
im_times=()
for ((i = 0; i < runs; i++)); do
    start=$(now_ms)
    "$cli" --dither floyd-steinberg --import normal "$picture" --save-bmp normal "$work/cli.bmp" >/dev/null
    end=$(now_ms)
    cli_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')")
    start=$(now_ms)
    "$convert" "$picture" -resize 96x96 -background black -flatten -dither FloydSteinberg -remap "$palette_bmp" "$work/im.bmp"
    end=$(now_ms)
    im_times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')")
done
cli_ms=$(printf '%s\n' "${cli_times[@]}" | median)
im_ms=$(printf '%s\n' "${im_times[@]}" | median)
echo "picture: $picture ($(stat -c %s "$picture") bytes), $runs runs each, median wall time"
echo "iconwright-cli --import: $cli_ms ms"
echo "ImageMagick convert:     $im_ms ms"
awk -v c="$cli_ms" -v m="$im_ms" 'BEGIN { printf "ratio: %.2f of convert'"'"'s time (goal: at most 0.50)\n", c / m }'
