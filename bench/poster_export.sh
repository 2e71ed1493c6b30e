#!/usr/bin/env bash
# Posters from the command line: a 5000 x 5000 mosaic of 9000 photographed
# tiles painted at 4 times its size (20000 x 20000 pixels) as PNG, JPEG,
# TIFF and 24-bit BMP by `tessaly-cli render --scale 4`. For each, the wall
# and processor time and the peak memory, set against what the same process
# holds for the open document alone (a render at the smallest zoom), and the
# file read back whole by its own library (tessaly-readback). Also the
# 5000 x 5000 export at zoom 1 as PNG against 24-bit BMP.
#
# usage: bench/poster_export.sh CLI READBACK [JOB_DIR]
#   CLI       the tessaly-cli to run (build/cli/tessaly-cli)
#   READBACK  build/bench/tessaly-readback
#   JOB_DIR   a folder from tests/cli/photo_tiles.py; made here if not given
set -euo pipefail
cli="$1"
readback="$2"
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/poster.XXXXXX")
trap 'rm -rf "$work"' EXIT
job="${3:-}"
if [ -z "$job" ]; then
    job="$work/job"
    mkdir "$job"
    /usr/bin/python3 "$here/../tests/cli/photo_tiles.py" "$job"
fi
"$cli" mosaic --background "$job/background.jpg" --tiles "$job/tiles" --canvas 5000x5000 \
    --columns 100 --rows 90 --sizes 1 --seed 13 -o "$work/poster.tsd" > /dev/null

# run NAME ARGS...: sets wall_ms, cpu_ms and peak_mib
run() {
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$cli" "$@" > /dev/null 2>&1 \
        || { echo "$*: the run failed"; exit 1; }
    read -r seconds user system kib < "$work/time.txt"
    wall_ms=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')
    cpu_ms=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }')
    peak_mib=$((kib / 1024))
}

run render "$work/poster.tsd" "$work/tiny.bmp" 0.08
document_mib=$peak_mib
echo "the open document alone: peak $document_mib MiB"
for ext in png jpg tif bmp; do
    out="$work/poster.$ext"
    run render "$work/poster.tsd" "$out" --scale 4
    size_mib=$(( $(stat -c %s "$out") / 1048576 ))
    printf 'poster %-4s %7d ms (cpu %7d ms)  peak %5d MiB = document + %4d MiB  file %5d MiB  read back: %s\n' \
        "$ext" "$wall_ms" "$cpu_ms" "$peak_mib" "$((peak_mib - document_mib))" "$size_mib" \
        "$("$readback" "$out")"
    rm -f "$out"
done

run render "$work/poster.tsd" "$work/whole.bmp" 1
bmp_ms=$wall_ms
run render "$work/poster.tsd" "$work/whole.png" 1
png_ms=$wall_ms
printf 'zoom 1, 5000 x 5000: PNG %d ms, 24-bit BMP %d ms, PNG / BMP %.2f\n' \
    "$png_ms" "$bmp_ms" "$(awk -v p="$png_ms" -v b="$bmp_ms" 'BEGIN { print p / b }')"
