#!/usr/bin/env bash
# Adding 2000 camera-sized photographs shrunk to 64 x 48, timed: each
# photograph is 1600 x 1200, JPEG quality 90, a crop of one of the free
# sample photographs (python3-skimage) or MATE's nature backgrounds
# (mate-backgrounds) at its own place and size, so no two are alike. One
# `tessaly-cli mosaic --shrink 64x48` run is pinned to one core, one runs on
# all; printed are the processor time (user and system) per photograph and
# the ratio of the two wall times.
#
# usage: bench/photo_shrink.sh CLI [PHOTO_DIR]
#   CLI        the tessaly-cli to run (build/cli/tessaly-cli)
#   PHOTO_DIR  where the photographs are kept between runs (default: the
#              folder photo_shrink beside CLI's folder, in the build tree)
set -euo pipefail
cli="$1"
photos="${2:-$(cd "$(dirname "$cli")/.." && pwd)/photo_shrink}"
count=2000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"

if [ ! -f "$photos/complete" ]; then
    mkdir -p "$photos/tiles"
    echo "making $count photographs in $photos..."
    # Debian's own Python: it is the one python3-pil installs into.
    /usr/bin/python3 - "$photos" "$count" <<'PY'
import glob, os, random, sys
from multiprocessing import Pool
from PIL import Image

out, count = sys.argv[1], int(sys.argv[2])
SOURCES = sorted(glob.glob("/usr/share/backgrounds/mate/nature/*.jpg")) + [
    "/usr/lib/python3/dist-packages/skimage/data/" + name
    for name in ("astronaut.png", "chelsea.png", "coffee.png", "rocket.jpg",
                 "hubble_deep_field.jpg", "retina.jpg")]

def make(n):
    rng = random.Random(n * 7919 + 13)
    photo = Image.open(SOURCES[n % len(SOURCES)]).convert("RGB")
    # The largest 4 : 3 window, then a crop of 60 to 100 % of it.
    w, h = photo.size
    side = min(w, h * 4 / 3)
    cw = int(side * rng.uniform(0.6, 1.0))
    ch = cw * 3 // 4
    x, y = rng.randint(0, w - cw), rng.randint(0, h - ch)
    crop = photo.crop((x, y, x + cw, y + ch))
    if rng.random() < 0.5:
        crop = crop.transpose(Image.FLIP_LEFT_RIGHT)
    crop.resize((1600, 1200), Image.BICUBIC).save(
        os.path.join(out, "tiles", f"photo_{n:05d}.jpg"), quality=90)

with Pool(2) as pool:
    pool.map(make, range(count), chunksize=20)
Image.open(SOURCES[0]).convert("RGB").resize((1600, 1000), Image.BICUBIC).save(
    os.path.join(out, "background.jpg"), quality=90)
PY
    touch "$photos/complete"
fi

# run NAME COMMAND...: sets wall_ms and cpu_ms
run() {
    local name="$1"
    shift
    /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" mosaic \
        --background "$photos/background.jpg" --tiles "$photos/tiles" --shrink 64x48 \
        --canvas 1600x1000 --columns 80 --rows 50 --sizes 1 --seed 7 -o "$work/out.tsd" \
        > /dev/null 2>&1 || { echo "$name: the run failed"; exit 1; }
    read -r seconds user system < "$work/time.txt"
    wall_ms=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')
    cpu_ms=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }')
    printf '%-12s %7d ms wall, %7d ms cpu, %5.2f ms cpu per photograph\n' \
        "$name" "$wall_ms" "$cpu_ms" "$(awk -v c="$cpu_ms" -v n="$count" 'BEGIN { print c / n }')"
}

run "one core" taskset -c 0 "$cli"
one_wall=$wall_ms
run "all cores" "$cli"
echo "wall time, one core / all cores: $(awk -v a="$one_wall" -v b="$wall_ms" \
    'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }')x"
