#!/usr/bin/env bash
# Times the export of a whole mod through the command line, the way a modder's script does it:
# one iconwright-cli run per unit, each loading its picture, generating the other two and
# writing the unit's GAF and PCX files. Prints the total and the time per unit.
#
#   bench/export-mod.sh [UNITS] [CLI]      (defaults: 500, build/iconwright-cli)
set -euo pipefail
cd "$(dirname "$0")/.."

units="${1:-500}"
cli="${2:-build/iconwright-cli}"
if [[ ! -x "$cli" ]]; then
    echo "export-mod: $cli not found; build it first (scripts/build.sh)" >&2
    exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Ten different 96 x 96 pictures to draw the units from.
for k in $(seq 0 9); do
    "$cli" --fill normal $((16 + 23 * k)) --cross normal $((2 + k)) --border normal --grid normal \
        --save-bmp normal "$work/base$k.bmp"
done

start=$(date +%s%N)
for i in $(seq 1 "$units"); do
    picture="$work/base$((i % 10)).bmp"
    "$cli" --unit "unit$i" --load-bmp normal "$picture" --auto "$picture" --export-unit "$work/mod" >/dev/null
done
end=$(date +%s%N)

gafs=$(find "$work/mod/anims" -name '*_GADGET.GAF' | wc -l)
pcxs=$(find "$work/mod/unitpics" -name '*.PCX' | wc -l)
if [[ "$gafs" -ne "$units" || "$pcxs" -ne "$units" ]]; then
    echo "export-mod: expected $units GAF and PCX files, found $gafs and $pcxs" >&2
    exit 1
fi
elapsed_ms=$(((end - start) / 1000000))
echo "export-mod: $units units in $((elapsed_ms / 1000)).$(printf '%03d' $((elapsed_ms % 1000))) s" \
     "($((elapsed_ms * 1000 / units)) us per unit), $gafs GAF and $pcxs PCX files"
