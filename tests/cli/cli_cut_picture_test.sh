#!/usr/bin/env bash
# A document holding a JPEG picture cut short after 10000 bytes, drawn at a
# reduced size by `tessaly-cli render` under valgrind: no uninitialised
# memory may reach the exported picture. The picture's first rows come out
# as the photograph, the rows its data never reached in the fill grey.
source "$(dirname "$0")/preamble.sh"

# Debian's own Python: it is the one python3-pil installs into.
/usr/bin/python3 - "$work" <<'PY'
import glob, io, os, sys
from PIL import Image
d = sys.argv[1]
photo = (sorted(glob.glob("/usr/share/backgrounds/mate/nature/*.jpg")) +
         ["/usr/lib/python3/dist-packages/skimage/data/coffee.png"])[0]
whole = io.BytesIO()
Image.open(photo).convert("RGB").resize((1600, 1200)).save(whole, "JPEG", quality=90)
os.mkdir(f"{d}/tiles")
open(f"{d}/tiles/cut.jpg", "wb").write(whole.getvalue()[:10000])
Image.new("RGB", (200, 200), (200, 60, 40)).save(f"{d}/background.png")
PY
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --canvas 500x500 \
    --columns 20 --rows 20 --sizes 1 --seed 1 -o "$work/cut.tsd" > /dev/null 2>&1 ||
    fail "the cut picture was not taken"
# A sanitizer build checks memory its own way, and valgrind cannot run it.
checker=(valgrind -q --error-exitcode=1)
if [[ $(ldd "$cli") == *libasan* ]]; then checker=(); fi
"${checker[@]}" "$cli" render "$work/cut.tsd" "$work/cut.png" 0.5 \
    2> "$work/valgrind.txt" || { cat "$work/valgrind.txt"; fail "render under ${checker[0]:-the sanitizer}"; }

/usr/bin/python3 - "$work/cut.png" <<'PY' || fail "the cut picture was not drawn as rows and fill"
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
px = image.load()
fill = [(x, y) for y in range(image.height) for x in range(image.width) if px[x, y] == (128,) * 3]
left, right, top = min(x for x, _ in fill), max(x for x, _ in fill), min(y for _, y in fill)
# Above the fill, past one row where the two blend: the photograph.
row = [px[x, top - 2] for x in range(left, right + 1)]
assert all(abs(r - 200) + abs(g - 60) + abs(b - 40) > 6 and (r, g, b) != (128,) * 3
           for r, g, b in row), row
PY
