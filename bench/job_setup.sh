# Sourced by the 9000-tile job benchmarks with the job folder (or nothing) as
# its argument. Sets `work`, a private folder that is also the temporary
# folder and goes at exit; `job`, the job folder, made with
# tests/cli/photo_tiles.py when none is given; and `args`, the job's mosaic
# command: the 2400 x 1500 photograph and its 9000 tiles on a 120 x 75 grid
# of one size.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"
job="${1:-}"
if [ -z "$job" ]; then
    job="$work/job"
    mkdir "$job"
    /usr/bin/python3 "$here/../tests/cli/photo_tiles.py" "$job"
fi
args=(mosaic --background "$job/background.jpg" --tiles "$job/tiles" --canvas 2400x1500
      --columns 120 --rows 75 --sizes 1 --seed 13)
