#!/usr/bin/env bash
# A document holding a JPEG picture cut short after 10000 bytes, drawn at a
# reduced size by `tessaly-cli render` under valgrind: no uninitialised
# memory may reach the exported picture. The picture's first rows come out
# as the photograph, the rows its data never reached in the fill grey.
source "$(dirname "$0")/preamble.sh"

# Debian's own Python: it is the one python3-pil installs into.
/usr/bin/python3 - "$work" <<'PY'
import glob, os, sys
from PIL import Image
d = sys.argv[1]
photo = (sorted(glob.glob("/usr/share/backgrounds/mate/nature/*.jpg")) +
         ["/usr/lib/python3/dist-packages/skimage/data/coffee.png"])[0]
photo = Image.open(photo).convert("RGB").resize((1600, 1200), Image.BICUBIC)
photo.save(f"{d}/whole.jpg", quality=90)
os.mkdir(f"{d}/tiles")
with open(f"{d}/whole.jpg", "rb") as whole, open(f"{d}/tiles/cut.jpg", "wb") as cut:
    cut.write(whole.read()[:10000])
Image.new("RGB", (200, 200), (200, 60, 40)).save(f"{d}/background.png")
PY
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --canvas 500x500 \
    --columns 20 --rows 20 --sizes 1 --seed 1 -o "$work/cut.tsd" > /dev/null 2>&1 ||
    fail "the cut picture was not taken"

status=0
valgrind -q --error-exitcode=1 "$cli" render "$work/cut.tsd" "$work/cut.png" 0.5 \
    2> "$work/valgrind.txt" || status=$?
[ "$status" -eq 0 ] || { cat "$work/valgrind.txt"; fail "render under valgrind: status $status"; }

/usr/bin/python3 - "$work/cut.png" <<'PY' || fail "the cut picture was not drawn as rows and fill"
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
pixels = image.load()
grey = [(x, y) for y in range(image.height) for x in range(image.width)
        if pixels[x, y] == (128, 128, 128)]
assert grey, "no fill"
left, right = min(x for x, _ in grey), max(x for x, _ in grey)
top = min(y for _, y in grey)
# Above the fill (past one row where the two blend): the photograph, neither
# the ground nor the fill.
row = [pixels[x, top - 2] for x in range(left, right + 1)]
assert all(abs(r - 200) + abs(g - 60) + abs(b - 40) > 6 and (r, g, b) != (128, 128, 128)
           for r, g, b in row), row
PY
