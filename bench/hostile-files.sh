#!/usr/bin/env bash
# The hostile files of the hardening audit, made here and run through iconwright-cli as whole
# processes: wall time and peak memory of each, and how it ended. Each must finish within its
# goal, accepted or refused with a reason; nothing here is a test (the times depend on the machine).
#
#   bash bench/hostile-files.sh [path/to/iconwright-cli]
#
# Goals: 2,000,000 alike entry names listed/extracted or refused in <= 2 s and 256 MB; 31 entries
# sharing 65,535 frames (2 M frames) in <= 1 s and 256 MB; a 16 Mi x 1 (or 1 x 16 Mi) PNG in
# <= 0.3 s; a 5 KB PNG whose zTXt inflates past 4 MiB refused with that reason.
#
# Measured on the 2-core build machine under load (RelWithDebInfo, whole process, wall time):
#   --gaf-list / --gaf-extract alike-2m.gaf (8 MB)      0.3 s    9 MB  refused: more than 256 Ki entries and frames
#   --gaf-list alike-20k.gaf                            0.4 s    9 MB  listed
#   --gaf-extract alike-20k.gaf                         0.2 s    5 MB  "0 files written" (no frames)
#   --gaf-list / --gaf-extract shared-frames.gaf        0.5 s   18 MB  refused at the 4th entry (budget)
#   --import wide.png / tall.png (16 Mi x 1, 1 x 16 Mi)  0.1 s    2 MB  refused from the header: a side over 16384
#   --import ztxt.png (5 KB)                            0.2 s    4 MB  "a text chunk inflates past 4 MiB"
# Before: 9.5 s for 10,000 alike names (quadratic), 15.4 s and 1.27 GB listing shared-frames.gaf,
# 2.1 s and 194 MB for wide.png.
set -euo pipefail

cli=${1:-build/iconwright-cli}
[[ -x $cli ]] || { echo "no iconwright-cli at $cli (build it first)" >&2; exit 2; }
cli=$(realpath "$cli")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

python3 - <<'PY'
import struct, zlib

def gaf(entry_offsets, blobs):
    # blobs: bytes placed after the header and the entry offsets, offsets counted from the start
    head = struct.pack('<III', 0x00010100, len(entry_offsets), 0)
    return head + b''.join(struct.pack('<I', o) for o in entry_offsets) + blobs

def entry(name, frame_offsets):
    return struct.pack('<HHI', len(frame_offsets), 0, 0) + name.ljust(32, b'\0') + \
        b''.join(struct.pack('<II', o, 0) for o in frame_offsets)

def frame(data_offset):  # 1 x 1, raw
    return struct.pack('<HHhhBBHIII', 1, 1, 0, 0, 9, 0, 0, 0, data_offset, 0)

def alike(count, frames):
    start = 12 + 4 * count
    table = entry(b'DUP', [0] * frames)
    frame_at = start + len(table)
    table = entry(b'DUP', [frame_at] * frames)
    return gaf([start] * count, table + frame(frame_at + 24) + b'\x05')

open('alike-2m.gaf', 'wb').write(alike(2_000_000, 1))
open('alike-20k.gaf', 'wb').write(alike(20_000, 0))
open('shared-frames.gaf', 'wb').write(alike(31, 65535))

def png(width, height, extra=b''):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    rows = b''.join(b'\0' + b'\0' * width for _ in range(height))
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 0, 0, 0, 0)) + \
        extra + chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b'')

open('wide.png', 'wb').write(png(16 * 1024 * 1024, 1))
open('tall.png', 'wb').write(png(1, 16 * 1024 * 1024))
ztxt = b'Comment\0\0' + zlib.compress(b' ' * (5 * 1024 * 1024), 9)
open('ztxt.png', 'wb').write(png(4, 4, struct.pack('>I', len(ztxt)) + b'zTXt' + ztxt +
                                 struct.pack('>I', zlib.crc32(b'zTXt' + ztxt))))
PY

run() {
    local name=$1
    shift
    local start end status
    start=$(date +%s.%N)
    set +e
    /usr/bin/time -f '%M' -o rss.txt "$cli" "$@" >out.txt 2>err.txt
    status=$?
    set -e
    end=$(date +%s.%N)
    printf '%-34s %6.2f s %7.1f MB  exit %d  %s\n' "$name" \
        "$(echo "$end - $start" | bc)" "$(echo "$(tail -1 rss.txt) / 1024" | bc -l)" "$status" \
        "$( (tail -c 300 err.txt; tail -1 out.txt) | tr '\n' ' ' | cut -c1-150)"
}

run "--gaf-list alike-2m.gaf" --gaf-list alike-2m.gaf
run "--gaf-extract alike-2m.gaf" --gaf-extract alike-2m.gaf out-2m
run "--gaf-list alike-20k.gaf" --gaf-list alike-20k.gaf
run "--gaf-extract alike-20k.gaf" --gaf-extract alike-20k.gaf out-20k
run "--gaf-list shared-frames.gaf" --gaf-list shared-frames.gaf
run "--gaf-extract shared-frames.gaf" --gaf-extract shared-frames.gaf out-shared
run "--import wide.png" --import normal wide.png
run "--import tall.png" --import normal tall.png
run "--import ztxt.png" --import normal ztxt.png
