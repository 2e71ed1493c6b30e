#!/usr/bin/env bash
# `tessaly-cli info` reads a document made without any of our code: Python
# writes the inner file byte by byte and gcab wraps it in a cabinet; `render`
# paints it. Then a damaged document is refused with a message and a non-zero
# exit.
source "$(dirname "$0")/preamble.sh"

# Debian's own Python: it is the one python3-pil installs into.
/usr/bin/python3 - "$work" <<'PY'
import io, struct, sys
from PIL import Image
d = sys.argv[1]
jpeg = io.BytesIO()
Image.new("RGB", (20, 10), (1, 2, 3)).save(jpeg, "JPEG")
jpeg = jpeg.getvalue()

state = bytearray(3240)
struct.pack_into("<ii", state, 0x000, 2, -1)        # nodeCount, mainSelection
struct.pack_into("<f", state, 0x010, 0.5)           # zoom
struct.pack_into("<ii", state, 0x020, 1200, 800)    # canvas size
struct.pack_into("<i", state, 0x028, 0x123456)      # backColor
struct.pack_into("<i", state, 0x044 + 4 * 767, 99)  # last histogram bin
struct.pack_into("<i", state, 0xC78, 16)            # sectionCount
struct.pack_into("<i", state, 0xC8C, -3)            # gridMode
state[0xC9C:0xCA8] = b"\x01" * 12                   # reserved bytes

def record(cx, cy, hw, hh, picture, cell, visible):
    r = bytearray(120)
    struct.pack_into("<iiiiQ", r, 0, cx, cy, hw, hh, picture)
    struct.pack_into("<ii", r, 100, cell, visible)
    return bytes(r)

inner = b"TSD00164  " + bytes(state) + struct.pack(">I", 2)
inner += record(100, 80, 30, 20, 0xDEADBEEF, 0x00FF00, 1) + record(5, 6, 7, 8, 0, 0, 0)
inner += struct.pack(">I", len(jpeg)) + jpeg
open(f"{d}/plan.tsd", "wb").write(inner)
open(f"{d}/jpeg.len", "w").write(str(len(jpeg)))
PY

mkdir "$work/cab"
gcab -c -n -z "$work/cab/renamed.tsd" "$work/plan.tsd"
"$cli" info "$work/cab/renamed.tsd" > "$work/info.json"
"$cli" info "$work/plan.tsd" > "$work/inner.json"

/usr/bin/python3 - "$work" <<'PY'
import json, sys
d = sys.argv[1]
info = json.load(open(f"{d}/info.json"))
assert info["member"] == "plan.tsd", info["member"]
assert info["header"] == {"magic": "TSD", "version": "001", "pointerWidth": "64"}
s = info["state"]
assert (s["nodeCount"], s["zoom"], s["canvasWidth"], s["canvasHeight"]) == (2, 0.5, 1200, 800), s
assert (s["backColor"], s["sectionCount"], s["gridMode"], s["backPicture"]) == (0x123456, 16, -3, 0)
assert s["backHistogram"][767] == 99 and s["reserved"] == "01" * 12
r = info["records"]
jpeg_len = int(open(f"{d}/jpeg.len").read())
assert r[0] == {"centerX": 100, "centerY": 80, "halfWidth": 30, "halfHeight": 20, "visible": 1,
                "cellColor": 0x00FF00, "blobLength": jpeg_len}, r[0]
assert r[1]["blobLength"] == 0 and r[1]["visible"] == 0
inner = json.load(open(f"{d}/inner.json"))
assert inner["records"] == info["records"] and "member" not in inner
PY

# The same document painted by the editor's renderer, at half size.
"$cli" render "$work/cab/renamed.tsd" "$work/render.png" 0.5
/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image
image = Image.open(f"{sys.argv[1]}/render.png").convert("RGB")
assert image.size == (600, 400), image.size
assert max(image.getpixel((50, 40))) < 20, image.getpixel((50, 40))      # the dark picture
assert image.getpixel((300, 300)) == (0x56, 0x34, 0x12), image.getpixel((300, 300))  # backColor
PY

head -c 3000 "$work/plan.tsd" > "$work/cut.tsd"
if "$cli" info "$work/cut.tsd" > /dev/null 2> "$work/err.txt"; then
    fail "a truncated document was read"
fi
grep -q "ファイル形式が異なります" "$work/err.txt" || { cat "$work/err.txt"; fail "no message"; }
echo "cli info: 1 passed, 0 failed"
