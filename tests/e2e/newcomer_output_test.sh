#!/usr/bin/env bash
# A newcomer's day with real pictures, second half: a photomosaic of the
# background photograph and icons (made by tessaly-cli) opened in the editor,
# exported through "1枚のイメージとして保存(&I)" as 8-bit RLE BMP, JPEG and
# PNG, and printed through "印刷(&P)" (with no printer, to a PDF file). The
# other export types go through tessaly-cli render, which uses the same
# writers. Pillow reads every image back: its size, its type and a pixel.
#
#   newcomer_output_test.sh <tessaly> <tessaly-cli> <output folder>
#
# Needs xvfb-run, xdotool, import (imagemagick), python3 with PIL, pdfinfo
# and the pictures of mate-backgrounds and adwaita-icon-theme (skipped
# without them).
source "$(dirname "$0")/x_session.sh" e2e_newcomer_output "$@"
readonly DOCUMENT="$OUT/day.tsd"
readonly EXPORTS="$OUT/exports"
command -v pdfinfo >/dev/null || fail "pdfinfo (poppler-utils) is not installed"

find_real_pictures
mkdir -p "$OUT/tiles" "$EXPORTS"
ln -s "${ICONS[@]:0:120}" "$OUT/tiles/"
cli mosaic --background "$BACKGROUND_PHOTO" --tiles "$OUT/tiles" --canvas 800x600 \
  --columns 20 --rows 20 --seed 7 -o "$DOCUMENT" >"$OUT/mosaic.log" 2>&1 ||
  fail "tessaly-cli made no mosaic: $(cat "$OUT/mosaic.log")"

start_editor "$OUT" "$DOCUMENT"
MAIN=$(window_titled "day.tsd - Tessaly") || fail "no editor window"
xdotool windowmove "$MAIN" 0 0 windowsize "$MAIN" 1000 860
sleep 1.5

# "ファイル(&F)" > "1枚のイメージとして保存(&I)": the file type chosen in the
# dialog's type list (its place in the list, from 1), the name typed, the
# JPEG quality dialog accepted as it opens, then no to showing the folder.
export_through_menu() {  # type's place, path
  local X Y WIDTH HEIGHT SCREEN WINDOW downs=()
  local dialog
  dialog=$(opened_by keys "$MAIN" alt+f i)
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 25)) click 1
  sleep 0.5
  for _ in $(seq 2 "$1"); do downs+=(Down); done
  xdotool key Home "${downs[@]}" Return
  sleep 0.3
  keys "$dialog" alt+n
  local next
  next=$(opened_by type_file_name "$dialog" "$2")
  [[ $1 -eq 9 ]] && next=$(opened_by keys "$next" Return)
  keys "$next" n
  [[ -s "$2" ]] || fail "the export wrote no $2"
}
export_through_menu 5 "$EXPORTS/ui_rle8.bmp"
export_through_menu 9 "$EXPORTS/ui.jpeg"
export_through_menu 11 "$EXPORTS/ui.png"

# Printed: the print dialog, "印刷実行(&S)", then the name of the PDF file.
PRINT=$(opened_by keys "$MAIN" alt+f p)
PDF=$(opened_by keys "$PRINT" alt+s)
type_file_name "$PDF" "$OUT/day.pdf"
for _ in $(seq 50); do
  [[ -s "$OUT/day.pdf" ]] && pdfinfo "$OUT/day.pdf" >"$OUT/pdfinfo.txt" 2>/dev/null && break
  sleep 0.2
done
grep -Eq '^Pages: +[1-9]' "$OUT/pdfinfo.txt" || fail "the print wrote no PDF with pages"
grep -q '^Title: *Tessaly' "$OUT/pdfinfo.txt" || fail "the print job is not named Tessaly"

quit_editor

# The other types through the command-line tool.
render() {  # file, options...
  local file=$1
  shift
  cli render "$DOCUMENT" "$EXPORTS/$file" 1 "$@" || fail "tessaly-cli cannot write $file"
}
for bits in 1 4 8 16 24 32; do render "bits$bits.bmp" --bmp-bits "$bits"; done
render rle4.bmp --bmp-bits 4 --rle
render cli.gif
render cli.png
render cli.tiff

"$PYTHON" - "$EXPORTS" <<'PY' || fail "an exported image is wrong"
import struct, sys
from PIL import Image

folder = sys.argv[1]
# file, Pillow's format, BMP bits and compression, how far the centre pixel
# may be from the lossless PNG's on each channel.
table = [
    ("bits1.bmp", "BMP", 1, 0, None),
    ("bits4.bmp", "BMP", 4, 0, 160),
    ("rle4.bmp", "BMP", 4, 2, 160),
    ("bits8.bmp", "BMP", 8, 0, 60),
    ("ui_rle8.bmp", "BMP", 8, 1, 60),
    ("bits16.bmp", "BMP", 16, 3, 12),
    ("bits24.bmp", "BMP", 24, 0, 2),
    ("bits32.bmp", "BMP", 32, 3, 2),
    ("ui.jpeg", "JPEG", None, None, 48),
    ("ui.png", "PNG", None, None, 0),
    ("cli.gif", "GIF", None, None, 60),
    ("cli.tiff", "TIFF", None, None, 2),
]
reference = Image.open(f"{folder}/cli.png").convert("RGB")
if reference.size != (800, 600):
    sys.exit(f"cli.png is {reference.size}")
centre = (400, 300)
expected = reference.getpixel(centre)
for name, kind, bits, compression, tolerance in table:
    path = f"{folder}/{name}"
    image = Image.open(path)
    if image.format != kind or image.size != (800, 600):
        sys.exit(f"{name}: {image.format} {image.size}")
    if bits is not None:
        header = open(path, "rb").read(34)
        got = struct.unpack_from("<HI", header, 28)
        if got != (bits, compression):
            sys.exit(f"{name}: {got[0]} bits, compression {got[1]}")
    pixel = image.convert("RGB").getpixel(centre)
    if tolerance is None:
        if any(channel not in (0, 255) for channel in pixel):
            sys.exit(f"{name}: {pixel} is not black or white")
    elif max(abs(a - b) for a, b in zip(pixel, expected)) > tolerance:
        sys.exit(f"{name}: {pixel} at the centre, the PNG has {expected}")
print("12 export types read back")
PY

echo "e2e_newcomer_output: ok"
