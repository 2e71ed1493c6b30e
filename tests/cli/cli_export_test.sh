#!/usr/bin/env bash
# Every picture type the editor exports, written by `tessaly-cli render` (and
# once by `mosaic --export`) and read back by Pillow: the eight BMP formats,
# run-length coded files equal to their uncompressed twins, and GIF, PNG, TIFF
# and JPEG. A failed write ends with a non-zero exit and keeps the old file.
source "$(dirname "$0")/preamble.sh"
# Qt warns on standard error without one; error output is read below.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

/usr/bin/python3 - "$work" <<'PY'
import os, random, sys
from PIL import Image
d = sys.argv[1]
rng = random.Random(3)
bg = Image.new("RGB", (200, 200))
bg.putdata([(x, y, (x * y) % 256) for y in range(200) for x in range(200)])
bg.save(f"{d}/background.png")
os.mkdir(f"{d}/tiles")
for n in range(12):
    Image.new("RGB", (40, 40), tuple(rng.randrange(256) for _ in range(3))).save(f"{d}/tiles/t{n:02d}.png")
PY

"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --seed 1 --canvas 501x500 \
    -o "$work/doc.tsd" --export "$work/mosaic.bmp" --bmp-bits 8 --rle > /dev/null \
    || fail "the mosaic run failed"

variants=("1:" "4:" "4r:--rle" "8:" "8r:--rle" "16:" "24:" "32:")
for v in "${variants[@]}"; do
    name=${v%%:*} rle=${v#*:}
    "$cli" render "$work/doc.tsd" "$work/b$name.bmp" 1 --bmp-bits "${name%r}" $rle \
        || fail "render to a $name-bit BMP"
done
for ext in gif png tif; do
    "$cli" render "$work/doc.tsd" "$work/out.$ext" 1 || fail "render to .$ext"
done
"$cli" render "$work/doc.tsd" "$work/out.jpg" 1 --quality 80 || fail "render to .jpg"

/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image, ImageChops, ImageStat
d = sys.argv[1]
png = Image.open(f"{d}/out.png").convert("RGB")
assert png.size == (501, 500), png.size
rgb = {name: Image.open(f"{d}/b{name}.bmp") for name in ("1", "4", "4r", "8", "8r", "16", "24", "32")}
assert [rgb[n].info["compression"] for n in ("4r", "8r", "16", "32")] == [2, 1, 3, 3]
rgb = {name: image.convert("RGB") for name, image in rgb.items()}
for plain, packed in (("4", "4r"), ("8", "8r")):
    assert ImageChops.difference(rgb[plain], rgb[packed]).getbbox() is None, packed
assert ImageChops.difference(rgb["8r"], Image.open(f"{d}/mosaic.bmp").convert("RGB")).getbbox() is None
for name in ("24", "32"):
    assert ImageChops.difference(rgb[name], png).getbbox() is None, name
for name, tolerance in (("16", 8), ("8", 40), ("jpg", 12)):
    image = rgb[name] if name in rgb else Image.open(f"{d}/out.{name}").convert("RGB")
    mean = sum(ImageStat.Stat(ImageChops.difference(image, png)).mean) / 3
    assert mean < tolerance, (name, mean)
for ext in ("gif", "tif"):
    assert Image.open(f"{d}/out.{ext}").size == (501, 500), ext
PY

# Posters pass the editor's 5000 pixels a side; the view's zoom does not.
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --seed 1 --canvas 1300x500 \
    -o "$work/wide.tsd" --export "$work/poster.png" --export-zoom 4 > /dev/null \
    || fail "the poster mosaic run failed"
"$cli" render "$work/wide.tsd" "$work/poster.tif" --scale 2.5 || fail "render --scale 2.5"
"$cli" render "$work/wide.tsd" "$work/capped.bmp" 4 || fail "render at zoom 4"
/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image
d = sys.argv[1]
sizes = {name: Image.open(f"{d}/{name}").size for name in ("poster.png", "poster.tif", "capped.bmp")}
assert sizes == {"poster.png": (5200, 2000), "poster.tif": (3250, 1250), "capped.bmp": (5000, 1923)}, sizes
PY

# A GIF poster beyond what one 8-bit picture holds is refused before any
# painting, and nothing is written.
status=0
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --seed 1 --canvas 5000x4000 \
    --export "$work/big.gif" --export-zoom 2 > /dev/null 2> "$work/err.txt" || status=$?
[ "$status" -eq 1 ] && grep -q "10000 x 8000 picture is too large for a GIF" "$work/err.txt" \
    && [ ! -e "$work/big.gif" ] || fail "a GIF poster: $status $(cat "$work/err.txt")"

# Failed writes and options that do not fit the file.
refused() {
    local code=0
    "$cli" render "$work/doc.tsd" "${@:2}" 2> "$work/err.txt" || code=$?
    [ "$code" -ne 0 ] && grep -q -- "$1" "$work/err.txt" || fail "render ${*:2}: $(cat "$work/err.txt")"
}
refused "ファイルオープンエラー" "$work/nowhere/x.bmp"
refused "\-\-rle" "$work/x.bmp" --bmp-bits 24 --rle
refused "\-\-bmp-bits" "$work/x.bmp" --bmp-bits 2
refused "\-\-quality" "$work/x.jpg" --quality 0
refused "\-\-bmp-bits" "$work/x.png" --bmp-bits 8
refused "\-\-scale" "$work/x.png" --scale 4.5
refused "ZOOM or \-\-scale" "$work/x.png" 2 --scale 2

# A write that fails part way (here at a file-size limit) leaves the previous
# file as it was, and nothing beside it.
mkdir "$work/limited"
"$cli" render "$work/doc.tsd" "$work/limited/prev.bmp" 1 --bmp-bits 1
cp "$work/limited/prev.bmp" "$work/prev.bmp"
status=0
(ulimit -f 200; "$cli" render "$work/doc.tsd" "$work/limited/prev.bmp" 1) 2> "$work/err.txt" || status=$?
[ "$status" -eq 1 ] && grep -q "書き込みエラー" "$work/err.txt" || fail "limited write: $status $(cat "$work/err.txt")"
cmp -s "$work/prev.bmp" "$work/limited/prev.bmp" || fail "the previous file changed"
[ "$(ls -A "$work/limited")" = prev.bmp ] || fail "left $(ls -A "$work/limited")"
# A full disk: a small picture, all of it within one write buffer, fails at
# once with a non-zero exit and leaves the earlier file as it was.
mkdir "$work/disk"
if unshare -m mount -t tmpfs -o size=1m tmpfs "$work/disk" 2> /dev/null; then
    export cli work
    export -f fail
    unshare -m bash -euo pipefail -c '
        mount -t tmpfs -o size=512k tmpfs "$work/disk"
        for ext in png bmp gif jpg; do echo earlier > "$work/disk/small.$ext"; done
        dd if=/dev/zero of="$work/disk/filler" bs=4k 2> /dev/null || true
        for ext in png bmp gif jpg; do
            status=0
            "$cli" render "$work/doc.tsd" "$work/disk/small.$ext" 0.12 2> /dev/null || status=$?
            [ "$status" -eq 1 ] || fail "a full disk: exit status $status for .$ext"
            [ "$(cat "$work/disk/small.$ext")" = earlier ] || fail "a full disk: the earlier .$ext changed"
        done
        [ "$(ls -A "$work/disk" | tr "\n" " ")" = "filler small.bmp small.gif small.jpg small.png " ] ||
            fail "a full disk: left $(ls -A "$work/disk")"'
else
    echo "note: no tmpfs can be mounted here; a full disk is not checked"
fi
echo "cli export: 1 passed, 0 failed"
