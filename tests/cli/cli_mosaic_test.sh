#!/usr/bin/env bash
# `tessaly-cli mosaic` from pictures made by Pillow: a background of four
# coloured quarters and tiles of those colours. The document it writes is read
# back by `tessaly-cli info` and the exported picture by Pillow: every placed
# tile sits in the quarter of its colour, the picture shows it there and the
# background picture where no tile lies, the same seed gives the same
# document, the options reach the document, and the document reopens to paint
# the same picture. Bad input is refused with a message and a non-zero exit,
# and nothing is written.
source "$(dirname "$0")/preamble.sh"

# Debian's own Python: it is the one python3-pil installs into.
/usr/bin/python3 - "$work" <<'PY'
import json, os, random, sys
from PIL import Image
d = sys.argv[1]
# Quarter colours lie far enough apart that no tile of one colour can be
# accepted by a cell of another at the default precision.
quarters = [(230, 40, 40), (40, 200, 40), (40, 40, 230), (60, 20, 0)]  # TL, TR, BL, BR
json.dump(quarters, open(f"{d}/quarters.json", "w"))
bg = Image.new("RGB", (400, 400))
for i, colour in enumerate(quarters):
    bg.paste(colour, ((i % 2) * 200, (i // 2) * 200, (i % 2) * 200 + 200, (i // 2) * 200 + 200))
bg.save(f"{d}/background.png")

os.mkdir(f"{d}/tiles")
rng = random.Random(7)
for n in range(60):
    base = quarters[n % 4]
    colour = tuple(max(0, min(255, c + rng.randint(-10, 10))) for c in base)
    tile = Image.new("RGB", (64, 64), colour)
    # A little noise, so that a shrunk tile is visibly smaller as a stream.
    tile.putdata([tuple(max(0, min(255, c + rng.randint(-6, 6))) for c in colour)
                  for _ in range(64 * 64)])
    ext = ("png", "jpg", "bmp")[n % 3]
    tile.save(f"{d}/tiles/tile_{n:03d}.{ext}", **({"quality": 95} if ext == "jpg" else {}))
# Neither a text file nor a subfolder's images are tiles.
open(f"{d}/tiles/readme.txt", "w").write("not an image\n")
os.mkdir(f"{d}/tiles/more")
Image.new("RGB", (64, 64), quarters[0]).save(f"{d}/tiles/more/extra.png")

os.mkdir(f"{d}/broken")
for n in range(3):
    Image.new("RGB", (32, 32), quarters[n]).save(f"{d}/broken/t{n}.png")
good = open(f"{d}/broken/t0.png", "rb").read()
open(f"{d}/broken/t1_cut.png", "wb").write(good[:60])
os.mkdir(f"{d}/empty")
PY

# The reference run, its document and its picture.
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --seed 4242 \
    --export "$work/out.png" -o "$work/out.tsd" > "$work/run1.txt" || fail "the mosaic run failed"
"$cli" info "$work/out.tsd" > "$work/out.json" || fail "info cannot read the document"

/usr/bin/python3 - "$work" <<'PY'
import json, re, sys
from PIL import Image, ImageStat
d = sys.argv[1]
quarters = [tuple(q) for q in json.load(open(f"{d}/quarters.json"))]
lines = open(f"{d}/run1.txt", encoding="utf-8").read().splitlines()
assert len(lines) == 3, lines
assert re.fullmatch(r"time: \d+ ms", lines[0]), lines[0]
area = re.fullmatch(r"area: (\d+\.\d)%", lines[1])
unplaced = re.fullmatch(r"unplaced: ([\d,]+) 個", lines[2])
assert area and unplaced, lines
unplaced = int(unplaced.group(1).replace(",", ""))

info = json.load(open(f"{d}/out.json"))
s = info["state"]
assert info["member"] == "out.tsd", info["member"]
assert s["nodeCount"] == 60 == len(info["records"]), (s["nodeCount"], len(info["records"]))
assert (s["canvasWidth"], s["canvasHeight"], s["mosaicType"], s["gridColumns"], s["gridRows"],
        s["sizeSteps"], s["layerThickness"], s["sectionCount"], s["comparePrecision"],
        s["zoom"], s["skipNoSetColor"]) == (1000, 1000, 1, 20, 20, 3, 1, 9, 13, 1.0, 0), s
assert s["backPicture"] > 0, "no background picture stored"
red = s["backHistogram"][:256]
assert 9900 <= sum(red) <= 10000 and 2300 <= sum(red[220:241]) <= 2700, "background histogram"

placed = [r for r in info["records"] if r["visible"]]
assert len(placed) == 60 - unplaced and len(placed) >= 40, (len(placed), unplaced)
# Cells are 50, 100 or 150 pixels; the printed share is the area they cover.
covered = sum(4 * r["halfWidth"] * r["halfHeight"] for r in placed)
assert abs(covered / 1e4 - float(area.group(1))) < 1.0, (covered, area.group(1))
assert all(r["blobLength"] > 1500 for r in info["records"]), "tiles were shrunk unasked"

image = Image.open(f"{d}/out.png").convert("RGB")
assert image.size == (1000, 1000), image.size
px = image.load()
def quarter_of(x, y):
    return (1 if x >= 500 else 0) + (2 if y >= 500 else 0)
rects = [(r["centerX"] - r["halfWidth"], r["centerY"] - r["halfHeight"],
          r["centerX"] + r["halfWidth"], r["centerY"] + r["halfHeight"]) for r in placed]
per_quarter = [0, 0, 0, 0]
for r, (x0, y0, x1, y1) in zip(placed, rects):
    assert 0 <= x0 < x1 <= 1000 and 0 <= y0 < y1 <= 1000, r
    q = quarter_of(x0, y0)
    assert q == quarter_of(x1 - 1, y1 - 1), ("a tile crosses quarters", r)
    per_quarter[q] += 1
    # The cell's sampled colour is the background's there...
    cell = r["cellColor"]
    assert all(abs(a - b) <= 12 for a, b in
               zip((cell & 0xFF, (cell >> 8) & 0xFF, cell >> 16), quarters[q])), (r, quarters[q])
    # ...and the exported picture shows a tile of that colour in the cell.
    got = ImageStat.Stat(image.crop((x0 + 4, y0 + 4, x1 - 4, y1 - 4))).mean
    assert all(abs(a - b) <= 25 for a, b in zip(got, quarters[q])), (r, got, quarters[q])
assert min(per_quarter) >= 10, per_quarter
# Where no tile lies the export shows the background picture, as the editor's
# canvas does, not white.
uncovered = [(x, y) for y in range(5, 995, 10) for x in range(5, 995, 10)
             if abs(x - 500) > 8 and abs(y - 500) > 8 and
             not any(x0 - 1 <= x <= x1 and y0 - 1 <= y <= y1 for x0, y0, x1, y1 in rects)]
assert len(uncovered) > 100, len(uncovered)
for x, y in uncovered:
    assert all(abs(a - b) <= 12 for a, b in zip(px[x, y], quarters[quarter_of(x, y)])), \
        ("no background at", x, y, px[x, y])
PY

# The images closest to the background under node 2: three, closest first,
# never node 2 itself; a node the document lacks is refused.
"$cli" candidates "$work/out.tsd" 2 3 > "$work/candidates.json" || fail "candidates failed"
/usr/bin/python3 - "$work/candidates.json" <<'PY' || fail "the candidates are not ranked"
import json, sys
ranked = json.load(open(sys.argv[1]))
assert len(ranked) == 3 and 2 not in [c["index"] for c in ranked], ranked
assert [c["distance"] for c in ranked] == sorted(c["distance"] for c in ranked), ranked
PY
! "$cli" candidates "$work/out.tsd" 100000 2> "$work/err.txt" && grep -q "no node 100000" "$work/err.txt" ||
    fail "a missing node was not refused"

# The editor's open reads the document back, and its canvas paints as
# exported. The same seed gives the same document; another seed another
# arrangement.
"$cli" render "$work/out.tsd" "$work/reopened.png" 1 || fail "the document does not open"
for run in again:4242 other:99; do
    "$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --seed "${run#*:}" \
        -o "$work/${run%%:*}.tsd" > /dev/null || fail "the run with seed ${run#*:} failed"
    "$cli" info "$work/${run%%:*}.tsd" > "$work/${run%%:*}.json"
done
/usr/bin/python3 - "$work" <<'PY'
import json, sys
from PIL import Image, ImageChops
d = sys.argv[1]
a = Image.open(f"{d}/out.png").convert("RGB")
b = Image.open(f"{d}/reopened.png").convert("RGB")
assert a.size == b.size and ImageChops.difference(a, b).getbbox() is None, "export and render differ"
out, again, other = (json.load(open(f"{d}/{n}.json")) for n in ("out", "again", "other"))
assert out["state"] == again["state"], "the same seed gave other settings"
assert out["records"] == again["records"], "the same seed gave another arrangement"
assert out["records"] != other["records"], "the seed is not used"
PY

# Options reach the document: canvas size, grid, sections, shrinking, and
# cells of the skipped colour (the dark quarter, 3C1400 as RRGGBB) stay empty.
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --seed 5 \
    --canvas 800x600 --columns 30 --rows 24 --sections 16 --precision 12 --shrink 8x8 \
    --skip-colour 3C1400 --skip-range 20 -o "$work/skip.tsd" --export "$work/skip.bmp" \
    > "$work/skip.txt" || fail "the run with options failed"
"$cli" info "$work/skip.tsd" > "$work/skip.json"
/usr/bin/python3 - "$work" <<'PY'
import json, re, sys
from PIL import Image
d = sys.argv[1]
info = json.load(open(f"{d}/skip.json"))
s = info["state"]
assert (s["canvasWidth"], s["canvasHeight"], s["gridColumns"], s["gridRows"], s["sectionCount"],
        s["comparePrecision"], s["skipNoSetColor"], s["noSetColor"], s["noSetRange"]) == \
       (800, 600, 30, 24, 16, 12, 1, 0x00143C, 20), s
records = info["records"]
assert len(records) == 60
assert all(r["blobLength"] < 1000 for r in records), "tiles were not shrunk"
placed = [r for r in records if r["visible"]]
# Cells along the quarter's edges sample some of the neighbouring colour as
# the background is stretched; one cell further in, every cell is skipped.
inside = [r for r in placed if r["centerX"] - r["halfWidth"] >= 427 and
          r["centerY"] - r["halfHeight"] >= 325]
assert len(placed) >= 30, len(placed)
assert not inside, ("tiles placed on the skipped colour", inside)
unplaced = int(re.search(r"unplaced: ([\d,]+)", open(f"{d}/skip.txt", encoding="utf-8").read())
               .group(1).replace(",", ""))
assert unplaced == 60 - len(placed), (unplaced, len(placed))
image = Image.open(f"{d}/skip.bmp")
assert image.format == "BMP" and image.size == (800, 600), (image.format, image.size)
PY

# Display settings reach the document and the export: the background picture
# brightened by 96 on each colour where no tile lies, a magenta frame line on
# each tile's left edge.
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --seed 4242 \
    --show-background --brightness 7 --frames 3,0,FF00FF -o "$work/shown.tsd" \
    --export "$work/shown.png" > /dev/null || fail "the run with display settings failed"
"$cli" info "$work/shown.tsd" > "$work/shown.json"
/usr/bin/python3 - "$work" <<'PY'
import json, sys
from PIL import Image
d = sys.argv[1]
quarters = [tuple(q) for q in json.load(open(f"{d}/quarters.json"))]
info = json.load(open(f"{d}/shown.json"))
s = info["state"]
assert (s["showBackPicture"], s["backBrightness"], s["imageFrames"], s["imageFrameWidth"],
        s["imageFrameStyle"], s["imageFrameColor"]) == (1, 7, 1, 3, 0, 0xFF00FF), s
px = Image.open(f"{d}/shown.png").convert("RGB").load()
placed = [r for r in info["records"] if r["visible"]]
r = placed[0]
x0, y0 = r["centerX"] - r["halfWidth"], r["centerY"] - r["halfHeight"]
assert all(abs(a - b) <= 10 for a, b in zip(px[x0, r["centerY"]], (255, 0, 255))), px[x0, r["centerY"]]
rects = [(r["centerX"] - r["halfWidth"], r["centerY"] - r["halfHeight"],
          r["centerX"] + r["halfWidth"], r["centerY"] + r["halfHeight"]) for r in placed]
x, y = next((x, y) for y in range(5, 995, 10) for x in range(5, 995, 10)
            if abs(x - 500) > 8 and abs(y - 500) > 8 and
            not any(x0 - 3 <= x <= x1 + 3 and y0 - 3 <= y <= y1 + 3 for x0, y0, x1, y1 in rects))
quarter = quarters[(1 if x >= 500 else 0) + (2 if y >= 500 else 0)]
assert all(abs(a - min(b + 96, 255)) <= 12 for a, b in zip(px[x, y], quarter)), (x, y, px[x, y])
PY

# Bad input: a message, a non-zero exit, and no file written.
refused() {  # refused EXPECTED-STATUS PATTERN ARGS...
    local expected="$1" pattern="$2" status=0
    shift 2
    "$cli" mosaic "$@" > "$work/err.out" 2> "$work/err.txt" || status=$?
    [ "$status" -eq "$expected" ] || fail "exit $status, not $expected, for: $*"
    grep -q -- "$pattern" "$work/err.txt" || { cat "$work/err.txt"; fail "no message '$pattern' for: $*"; }
    [ ! -s "$work/err.out" ] || fail "output on stdout for: $*"
    [ ! -e "$work/bad.tsd" ] || fail "a document was written for: $*"
}
bg=(--background "$work/background.png")
tiles=(--tiles "$work/tiles")
out=(-o "$work/bad.tsd")
refused 1 "no background picture" --background "$work/none.png" "${tiles[@]}" "${out[@]}"
refused 1 "not of an image type" --background "$work/tiles/readme.txt" "${tiles[@]}" "${out[@]}"
cp "$work/tiles/readme.txt" "$work/fake.png"
refused 1 "cannot read the background" --background "$work/fake.png" "${tiles[@]}" "${out[@]}"
refused 1 "no tile folder" "${bg[@]}" --tiles "$work/nowhere" "${out[@]}"
refused 1 "holds no image file" "${bg[@]}" --tiles "$work/empty" "${out[@]}"
refused 1 "stopped at .*t1_cut.png" "${bg[@]}" --tiles "$work/broken" "${out[@]}"
refused 1 "\-\-type" "${bg[@]}" "${tiles[@]}" --type 8 "${out[@]}"
refused 1 "\-\-canvas" "${bg[@]}" "${tiles[@]}" --canvas 400x400 "${out[@]}"
refused 1 "\-\-canvas" "${bg[@]}" "${tiles[@]}" --canvas 1000 "${out[@]}"
refused 1 "\-\-sections" "${bg[@]}" "${tiles[@]}" --sections 5 "${out[@]}"
refused 1 "\-\-skip-colour" "${bg[@]}" "${tiles[@]}" --skip-colour GGG "${out[@]}"
refused 1 "\-\-seed" "${bg[@]}" "${tiles[@]}" --seed -1 "${out[@]}"
refused 1 "\-\-shrink" "${bg[@]}" "${tiles[@]}" --shrink 0x20 "${out[@]}"
refused 1 "\-\-frames" "${bg[@]}" "${tiles[@]}" --frames 21,0,auto "${out[@]}"
refused 1 "no folder" "${bg[@]}" "${tiles[@]}" -o "$work/nowhere/out.tsd"
refused 1 "\.tsd" "${bg[@]}" "${tiles[@]}" -o "$work/bad.doc"
refused 1 "\-\-export" "${bg[@]}" "${tiles[@]}" --export "$work/bad.xyz"
refused 2 "nothing to write" "${bg[@]}" "${tiles[@]}"
refused 2 "\-\-background" "${tiles[@]}" "${out[@]}"
refused 2 "nope" "${bg[@]}" "${tiles[@]}" "${out[@]}" --nope
refused 2 "\-\-type" "${bg[@]}" "${tiles[@]}" "${out[@]}" --type
echo "cli mosaic: 1 passed, 0 failed"
