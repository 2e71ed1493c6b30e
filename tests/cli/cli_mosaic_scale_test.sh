#!/usr/bin/env bash
# `tessaly-cli mosaic` at the document's full size: a 2400 x 1500 photograph
# and 9000 tiles cut from real photographs (photo_tiles.py), laid on a
# 120 x 75 grid of one size. The tiles go in as several adds of at most 3000
# with progress on standard error; the document holds 9000 nodes, no cell and
# no tile is used twice, cabextract reads the cabinet, and the export has the
# canvas's size. One tile more than the document holds ends the adds with
# the document's limit message, and the run still makes its mosaic.
source "$(dirname "$0")/preamble.sh"
# Qt warns on standard error without one; the run's stderr is read below.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Debian's own Python: it is the one python3-pil installs into.
/usr/bin/python3 "$(dirname "$0")/photo_tiles.py" "$work"
job=(mosaic --background "$work/background.jpg" --tiles "$work/tiles" --canvas 2400x1500
     --columns 120 --rows 75 --sizes 1 --seed 13)

"$cli" "${job[@]}" -o "$work/out.tsd" --export "$work/out.png" \
    > "$work/run.txt" 2> "$work/err.txt" || { cat "$work/err.txt"; fail "the 9000-tile run failed"; }
grep -q "tiles loaded: 9000 of 9000" "$work/err.txt" || fail "no progress reported"
! grep -v "tiles loaded:" "$work/err.txt" || fail "messages during the run"
cabextract -t "$work/out.tsd" > "$work/cab.txt" || fail "cabextract cannot read the document"
grep -q "out.tsd  OK" "$work/cab.txt" || { cat "$work/cab.txt"; fail "cabextract: no out.tsd"; }
"$cli" info "$work/out.tsd" > "$work/out.json" || fail "info cannot read the document"

/usr/bin/python3 - "$work" <<'PY'
import json, re, sys
from PIL import Image
d = sys.argv[1]
info = json.load(open(f"{d}/out.json"))
s, records = info["state"], info["records"]
assert s["nodeCount"] == 9000 == len(records), s["nodeCount"]
placed = [r for r in records if r["visible"]]
unplaced = int(re.search(r"unplaced: ([\d,]+)", open(f"{d}/run.txt", encoding="utf-8").read())
               .group(1).replace(",", ""))
assert len(placed) == 9000 - unplaced and len(placed) >= 8000, (len(placed), unplaced)
# Every placed tile fills one 20 x 20 cell of the grid, and no cell twice.
cells = set()
for r in placed:
    assert (r["halfWidth"], r["halfHeight"]) == (10, 10), r
    assert r["centerX"] % 20 == 10 and r["centerY"] % 20 == 10, r
    cells.add((r["centerX"], r["centerY"]))
assert len(cells) == len(placed), "a cell holds two tiles"
image = Image.open(f"{d}/out.png")
assert image.size == (2400, 1500), image.size
PY

# One tile more than the document holds.
cp "$work/tiles/tile_00000.jpg" "$work/tiles/tile_09000.jpg"
"$cli" "${job[@]}" -o "$work/full.tsd" > /dev/null 2> "$work/err.txt" \
    || { cat "$work/err.txt"; fail "the run with 9001 tiles failed"; }
# The editor's own message, then the command's line about it.
[ "$(grep -v "tiles loaded:" "$work/err.txt" | grep -c .)" -ge 2 ] &&
    grep -q "more images than a document takes; the first 9000" "$work/err.txt" \
    || { cat "$work/err.txt"; fail "no limit message for 9001 tiles"; }
"$cli" info "$work/full.tsd" | grep '"nodeCount": 9000' > /dev/null || fail "not 9000 nodes from 9001 tiles"
echo "cli mosaic at scale: 1 passed, 0 failed"
