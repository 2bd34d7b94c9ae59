#!/usr/bin/env bash
# iconwright-cli's whole job (load a picture, make the other two, write the GAF file) against
# one ImageMagick convert that only reduces and remaps a picture, as whole processes, side by
# side in one run: the two take turns, so that whatever else the machine does falls on both.
#
#   bash bench/cli-vs-convert.sh [path/to/iconwright-cli] [runs]
#
# Prints the median wall time of each and the ratio cli / convert.
set -euo pipefail

cli=${1:-build/iconwright-cli}
runs=${2:-30}
convert=/usr/bin/convert  # the real ImageMagick; a `convert` earlier on PATH may be a stand-in
[[ -x $cli ]] || { echo "no iconwright-cli at $cli (build it first)" >&2; exit 2; }
[[ -x $convert ]] || { echo "no ImageMagick at $convert" >&2; exit 2; }
cli=$(realpath "$cli")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# in.bmp: 96 x 96, every one of the 256 indices, in the game palette's colour table (taken from
# a slot the CLI saves) with the pixels written by hand. palette.bmp: the same picture as the
# CLI's slot holds it, so that convert remaps onto the game colours the CLI maps onto.
"$cli" --save-bmp normal white.bmp
head -c 1078 white.bmp >in.bmp
perl -e 'print pack("C*", map { ($_ * 37 + int($_ / 96) * 11) & 255 } 0 .. 9215)' >>in.bmp
"$cli" --load-bmp normal in.bmp --save-bmp normal palette.bmp

cli_job=("$cli" --unit armcamp --load-bmp normal in.bmp --auto in.bmp --write-gaf armcamp_GADGET.GAF)
convert_job=("$convert" in.bmp -filter box -resize 64x64 -dither None -remap palette.bmp BMP3:out.bmp)

# Microseconds taken by one run of the command given; bash's own clock, so no process is
# started to read the time.
elapsed_us() {
    local start=$EPOCHREALTIME
    "$@" >/dev/null
    local end=$EPOCHREALTIME
    echo $(((${end/./} - ${start/./})))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

"${cli_job[@]}" && "${convert_job[@]}"  # once each untimed: both start from a warm file cache
: >cli.times
: >convert.times
for ((i = 0; i < runs; i++)); do
    elapsed_us "${cli_job[@]}" >>cli.times
    elapsed_us "${convert_job[@]}" >>convert.times
done

cli_median=$(median <cli.times)
convert_median=$(median <convert.times)
awk -v a="$cli_median" -v b="$convert_median" -v n="$runs" 'BEGIN {
    printf "runs each:                %d\n", n
    printf "iconwright-cli median:    %.2f ms\n", a / 1000
    printf "convert median:           %.2f ms\n", b / 1000
    printf "ratio cli / convert:      %.3f\n", a / b
}'
