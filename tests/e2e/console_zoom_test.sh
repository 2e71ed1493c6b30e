#!/usr/bin/env bash
# The console follows the document it edits, and the zoom keys and the wheel
# work in the real window. Two documents made by tessaly-cli with other grid
# counts and frame widths: A is opened, its console shown and closed, B is
# opened with "開く", the console shown again and "再配置(&U)" pressed; B saved
# keeps its own settings. Then Ctrl++, Ctrl+=, Ctrl+-, Ctrl with the keypad's
# "-", Alt with the wheel and Ctrl+0 change the zoom that Ctrl+S saves.
#
#   console_zoom_test.sh <tessaly> <tessaly-cli> <output folder>
#
# Needs xvfb-run, xdotool, import (imagemagick) and python3 with PIL.
source "$(dirname "$0")/x_session.sh" e2e_console_zoom "$@"
readonly FIRST="$OUT/first.tsd" SECOND="$OUT/second.tsd"

# A background and a few plain tiles; the two documents differ in their
# grid counts (rows != columns) and frame widths.
mkdir -p "$OUT/tiles"
"$PYTHON" - "$OUT" <<'PY'
import sys
from PIL import Image
out = sys.argv[1]
Image.linear_gradient("L").resize((400, 300)).convert("RGB").save(f"{out}/background.jpg")
for i in range(12):
    Image.new("RGB", (40, 40), (i * 20, 255 - i * 20, (i * 70) % 256)).save(f"{out}/tiles/{i:02d}.png")
PY
make_document() {  # file, columns, rows, frame width
  cli mosaic --background "$OUT/background.jpg" --tiles "$OUT/tiles" --canvas 1600x1200 \
    --columns "$2" --rows "$3" --frames "$4,0,auto" -o "$1" >/dev/null 2>&1 ||
    fail "tessaly-cli made no document $1"
}
make_document "$FIRST" 30 45 3
make_document "$SECOND" 120 80 7

# Prints fields of the saved document's settings, one a line.
saved() {  # fields...
  save_with_ctrl_s "$MAIN" "$SECOND"
  document_info "$SECOND" | "$PYTHON" -c '
import json, sys
state = json.load(sys.stdin)["state"]
print(" ".join(f"{state[f]:.4g}" if f == "zoom" else str(state[f]) for f in sys.argv[1:]))' "$@"
}

start_editor "$OUT" "$FIRST"
MAIN=$(window_titled "first.tsd - Tessaly") || fail "no editor window"
[[ -n "$MAIN" ]] || fail "no editor window"
xdotool windowmove "$MAIN" 0 0 windowsize "$MAIN" 1024 768
sleep 1

# The console of A, shown and closed again with Esc.
CONSOLE=$(opened_by keys "$MAIN" alt+p m)
keys "$CONSOLE" Escape
visible_windows | grep -x "$CONSOLE" > /dev/null && fail "Esc left the console shown"

# B through "開く(&O)...", then its console and "再配置(&U)".
OPEN=$(opened_by keys "$MAIN" ctrl+o)
type_file_name "$OPEN" "$SECOND"
window_titled "second.tsd - Tessaly" >/dev/null || fail "the second document did not open"
CONSOLE=$(opened_by keys "$MAIN" alt+p m)
import -window root "PNG:$OUT/console.png"
keys "$CONSOLE" alt+u
sleep 1
# Closed again: it stands over the middle of the canvas.
keys "$CONSOLE" Escape
result=$(saved gridColumns gridRows imageFrameWidth zoom)
[[ "$result" == "120 80 7 1" ]] ||
  fail "the rearranged second document holds (columns rows frame zoom) $result"

# Keys: 100 % -> 200 % -> 300 % -> 200 %, then Ctrl with the keypad's "-".
keys "$MAIN" ctrl+plus ctrl+equal ctrl+minus
zoom=$(saved zoom)
[[ $zoom == 2 ]] || fail "Ctrl++, Ctrl+=, Ctrl+- give zoom $zoom"
keys "$MAIN" ctrl+KP_Subtract
zoom=$(saved zoom)
[[ $zoom == 1 ]] || fail "Ctrl with the keypad's - gives zoom $zoom"

# Alt and the wheel zoom in around the pointer: from the same start, two
# pointer places 200 and 50 pixels apart give scroll positions as far apart.
wheel_at() {  # x, y, button (4 in, 5 out)
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool keydown alt click "$3" keyup alt
  sleep 0.5
}
wheel_at 500 400 4
read -r zoom x1 y1 < <(saved zoom savedScrollX savedScrollY)
[[ $zoom == 2 ]] || fail "Alt and the wheel give zoom $zoom"
wheel_at 500 400 5
wheel_at 700 450 4
read -r zoom x2 y2 < <(saved zoom savedScrollX savedScrollY)
[[ $zoom == 2 && $((x2 - x1)) -eq 200 && $((y2 - y1)) -eq 50 ]] ||
  fail "the wheel at two places scrolled to ($x1, $y1) and ($x2, $y2) at zoom $zoom"

# Ctrl+0 fits the 1600 x 1200 canvas into the window.
keys "$MAIN" ctrl+0
zoom=$(saved zoom)
"$PYTHON" -c "import sys; z = $zoom; sys.exit(not (0.3 < z < 1 and 1600 * z <= 1024 and 1200 * z <= 768))" ||
  fail "Ctrl+0 gives zoom $zoom"
import -window root "PNG:$OUT/fitted.png"

quit_editor
echo "e2e_console_zoom: ok"
