"""Makes a photomosaic job from real photographs: the free sample photographs
scikit-image ships (python3-skimage), cut into tiles with Pillow.

usage: photo_tiles.py OUTDIR [TILES]

Writes OUTDIR/background.jpg (2400 x 1500) and OUTDIR/tiles/ with TILES
(default 9000) 64 x 64 JPEG tiles, each a square crop of one photograph at
its own place and size, scaled down to 64 x 64. The crops depend only on a
fixed seed, so every run makes the same files.
"""
import os
import random
import sys

from PIL import Image

PHOTOS = "/usr/lib/python3/dist-packages/skimage/data"
# Colour photographs in the public domain or under CC0.
NAMES = ["astronaut.png", "chelsea.png", "coffee.png", "rocket.jpg",
         "hubble_deep_field.jpg", "retina.jpg"]


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 9000
    photos = [Image.open(os.path.join(PHOTOS, name)).convert("RGB") for name in NAMES]

    coffee = photos[NAMES.index("coffee.png")]
    # 600 x 400 cut to 8 : 5, then enlarged.
    coffee.crop((0, 12, 600, 387)).resize((2400, 1500), Image.BICUBIC).save(
        os.path.join(out, "background.jpg"), quality=90)

    tiles = os.path.join(out, "tiles")
    os.makedirs(tiles, exist_ok=True)
    rng = random.Random(20240613)
    for n in range(count):
        photo = photos[n % len(photos)]
        side = rng.randint(64, min(192, *photo.size))
        x = rng.randint(0, photo.width - side)
        y = rng.randint(0, photo.height - side)
        tile = photo.crop((x, y, x + side, y + side))
        if side != 64:
            tile = tile.resize((64, 64), Image.BILINEAR)
        tile.save(os.path.join(tiles, f"tile_{n:05d}.jpg"), quality=85)


if __name__ == "__main__":
    main()
