#!/usr/bin/env bash
# tessaly-cli loads pictures as the editor does and writes files that an
# independent reader (Pillow) decodes: transparent PNGs take their top-left
# colour, animated GIFs their first frame, and every written type reads back.
source "$(dirname "$0")/preamble.sh"

# Debian's own Python: it is the one python3-pil installs into.
/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image
d = sys.argv[1]
img = Image.new("RGBA", (64, 48), (255, 0, 0, 0))
for x in range(16, 48):
    for y in range(12, 36):
        img.putpixel((x, y), (0, 0, 255, 255))
img.save(f"{d}/clear.png")
frames = [Image.new("RGB", (40, 30), c) for c in ((0, 255, 0), (255, 0, 255))]
frames[0].save(f"{d}/anim.gif", save_all=True, append_images=frames[1:], duration=100, loop=0)
Image.new("RGB", (50, 40), (200, 100, 50)).save(f"{d}/plain.jpg", quality=90)
open(f"{d}/broken.jpg", "wb").write(open(f"{d}/plain.jpg", "rb").read()[:300])
PY

# Loading: sizes, file sizes, and that every picture is a JPEG stream.
"$cli" picture "$work/clear.png" "$work/anim.gif" "$work/plain.jpg" > "$work/info.json"
/usr/bin/python3 - "$work" <<'PY'
import json, os, sys
d = sys.argv[1]
info = {os.path.basename(e["path"]): e for e in json.load(open(f"{d}/info.json"))}
assert info["clear.png"]["loaded"] and (info["clear.png"]["width"], info["clear.png"]["height"]) == (64, 48)
assert info["anim.gif"]["loaded"] and info["anim.gif"]["streamFormat"] == "jpeg"
plain = info["plain.jpg"]
assert plain["streamSize"] == os.path.getsize(f"{d}/plain.jpg") == plain["fileSize"], plain
PY

if "$cli" picture "$work/broken.jpg" > /dev/null; then fail "a truncated JPEG loaded"; fi

# Writing: every type, read back by Pillow at the requested size.
for ext in jpg png bmp tif gif; do
    "$cli" convert "$work/clear.png" "$work/out.$ext" 32 24 80 || fail "convert to $ext"
done
"$cli" convert "$work/anim.gif" "$work/first.png" || fail "convert the GIF"
/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image
d = sys.argv[1]
for ext, fmt in (("jpg", "JPEG"), ("png", "PNG"), ("bmp", "BMP"), ("tif", "TIFF"), ("gif", "GIF")):
    im = Image.open(f"{d}/out.{ext}")
    assert im.format == fmt and im.size == (32, 24), (ext, im.format, im.size)
    r, g, b = im.convert("RGB").getpixel((0, 0))
    assert r > 200 and g < 60 and b < 60, (ext, r, g, b)      # transparent corner became red
    r, g, b = im.convert("RGB").getpixel((16, 12))
    assert b > 200 and r < 60, (ext, r, g, b)                  # the opaque blue middle stays
r, g, b = Image.open(f"{d}/first.png").convert("RGB").getpixel((20, 15))
assert g > 200 and r < 60 and b < 60, (r, g, b)               # first frame only
PY
echo "cli pictures: 1 passed, 0 failed"
