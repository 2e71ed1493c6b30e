#!/usr/bin/env bash
# The 9000-tile job with a PNG export (as bench/mosaic_job.sh runs it), by
# this build and by an earlier one, in turns, so both meet the same machine:
# the median wall and processor time of each and their ratio.
#
# usage: bench/job_against.sh CLI EARLIER_CLI [JOB_DIR] [RUNS]
#   CLI          this build's tessaly-cli
#   EARLIER_CLI  the tessaly-cli of the commit to compare with, built from a
#                worktree: git worktree add /tmp/earlier COMMIT, then
#                cmake -S /tmp/earlier -B /tmp/earlier/build -G Ninja -DTESSALY_BUILD_UI=OFF
#                and cmake --build /tmp/earlier/build --target tessaly-cli
#   JOB_DIR      a folder from tests/cli/photo_tiles.py; made here if not given
#   RUNS         runs of each (default 5)
set -euo pipefail
cli="$1"
earlier="$2"
source "$(dirname "$0")/job_setup.sh" "${3:-}"
runs="${4:-5}"
args+=(--export "$work/out.png")

# run CLI FILE: appends "wall_ms cpu_ms" of one run to FILE
run() {
    /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$1" "${args[@]}" > /dev/null 2>&1 \
        || { echo "$1: the run failed"; exit 1; }
    awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }' "$work/time.txt" >> "$2"
}

for _ in $(seq "$runs"); do
    run "$cli" "$work/this.txt"
    run "$earlier" "$work/earlier.txt"
done
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
this_wall=$(cut -d' ' -f1 "$work/this.txt" | median)
this_cpu=$(cut -d' ' -f2 "$work/this.txt" | median)
earlier_wall=$(cut -d' ' -f1 "$work/earlier.txt" | median)
earlier_cpu=$(cut -d' ' -f2 "$work/earlier.txt" | median)
printf 'this build:    wall %5d ms  cpu %5d ms (median of %d)\n' "$this_wall" "$this_cpu" "$runs"
printf 'earlier build: wall %5d ms  cpu %5d ms\n' "$earlier_wall" "$earlier_cpu"
printf 'this / earlier: wall %.2f, cpu %.2f\n' \
    "$(awk -v a="$this_wall" -v b="$earlier_wall" 'BEGIN { print a / b }')" \
    "$(awk -v a="$this_cpu" -v b="$earlier_cpu" 'BEGIN { print a / b }')"
