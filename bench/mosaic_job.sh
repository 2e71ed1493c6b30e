#!/usr/bin/env bash
# The 9000-tile mosaic job end to end, timed: a 2400 x 1500 photograph, 9000
# tiles of 64 x 64 cut from real photographs, a 120 x 75 grid of one size,
# then the document saved and the canvas exported. Each run is one
# `tessaly-cli mosaic` process; its wall time and peak memory are set
# against the arrangement's own time, which the command prints, in the same
# run, and so is the processor time it took (user and system, both cores),
# which other work on a shared machine disturbs less. Runs with only the save
# or only the export tell those two apart from loading the tiles.
#
# usage: bench/mosaic_job.sh CLI [JOB_DIR]
#   CLI      the tessaly-cli to run (build/cli/tessaly-cli)
#   JOB_DIR  a folder with background.jpg and tiles/ from
#            tests/cli/photo_tiles.py; made in a temporary folder if not given
set -euo pipefail
cli="$1"
source "$(dirname "$0")/job_setup.sh" "${2:-}"

# run NAME ARGS...: sets wall_ms, cpu_ms, peak_mib and arrange_ms
run() {
    local name="$1"
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$cli" "${args[@]}" "$@" \
        > "$work/out.txt" 2> /dev/null || { echo "$name: the run failed"; exit 1; }
    read -r seconds user system kib < "$work/time.txt"
    wall_ms=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')
    cpu_ms=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }')
    peak_mib=$((kib / 1024))
    arrange_ms=$(sed -n 's/^time: \([0-9]*\) ms$/\1/p' "$work/out.txt")
    printf '%-28s %6d ms (cpu %6d ms)  peak %4d MiB  arrangement %5d ms  whole / arrangement %5.1fx\n' \
        "$name" "$wall_ms" "$cpu_ms" "$peak_mib" "$arrange_ms" \
        "$(awk -v w="$wall_ms" -v a="$arrange_ms" 'BEGIN { print w / (a > 0 ? a : 1) }')"
}

run "load, arrange, save" -o "$work/out.tsd"
save_only=$cpu_ms
run "load, arrange, export (BMP)" --export "$work/out.bmp"
run "load, arrange, export" --export "$work/out.png"
export_only=$cpu_ms
run "load, arrange, save, export" -o "$work/out.tsd" --export "$work/out.png"
echo "processor time: save ~$((cpu_ms - export_only)) ms, export ~$((cpu_ms - save_only)) ms," \
     "the rest (start-up, loading, arrangement) ~$((save_only + export_only - cpu_ms)) ms"
