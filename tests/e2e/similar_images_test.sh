#!/usr/bin/env bash
# "似た色のイメージと入れ替え" in the real window: a mosaic whose one pure red
# tile lands in the red corner of the background. A right-click on it opens
# the node's menu, L the window of candidates; Down and Enter choose the
# second, Esc closes the window. The saved file has the red node and that
# candidate in each other's places, and Ctrl+Z brings them back.
#
#   similar_images_test.sh <tessaly> <tessaly-cli> <output folder>
source "$(dirname "$0")/x_session.sh" e2e_similar_images "$@"
readonly DOCUMENT="$OUT/similar.tsd"

# Tile 0 is pure red, ten more are reds that the red-node finder does not
# take for it, the rest greys, enough for every cell; the background is grey
# with a red square near the top, clear of the zoom console.
"$PYTHON" - "$OUT" <<'PY'
import os, sys
from PIL import Image
out = sys.argv[1]
os.makedirs(f"{out}/tiles", exist_ok=True)
Image.new("RGB", (40, 30), (235, 15, 15)).save(f"{out}/tiles/a_red.png")
for i in range(10):
    Image.new("RGB", (40, 30), (180 + 5 * i, 70 + 6 * i, 70)).save(f"{out}/tiles/b_red{i}.png")
for i in range(400):
    Image.new("RGB", (40, 30), (90 + i % 100, 100 + i // 4, 110 + i % 7)).save(
        f"{out}/tiles/c_grey{i:03}.png")
background = Image.new("RGB", (500, 500), (150, 160, 170))
background.paste((235, 15, 15), (300, 0, 420, 120))
background.save(f"{out}/background.png")
PY
cli mosaic --background "$OUT/background.png" --tiles "$OUT/tiles" --canvas 500x500 \
  --columns 20 --rows 20 --sizes 1 --precision 25 --hide-background --seed 3 \
  -o "$DOCUMENT" >/dev/null 2>&1 ||
  fail "the mosaic was not made"
cli candidates "$DOCUMENT" 0 >"$OUT/candidates.json" || fail "no candidates for the red node"
# The place of node 0 and of the second candidate, as info reads them.
places() {
  document_info "$DOCUMENT" | "$PYTHON" -c '
import json, sys
second = json.load(open(sys.argv[1]))[1]["index"]
records = json.load(sys.stdin)["records"]
print(*[",".join(str(r[k]) for k in ("centerX", "centerY", "halfWidth", "halfHeight", "visible"))
        for r in (records[0], records[second])])' "$OUT/candidates.json"
}
before=$(places)

start_editor "$OUT" "$DOCUMENT"
WINDOW=$(document_window "$DOCUMENT")

read -r cx cy _ < <(red_node_centre) || fail "the red node is not on screen"
xdotool mousemove "$cx" "$cy" click 1
sleep 0.5
xdotool click 3
sleep 0.8
CANDIDATES=$(opened_by xdotool key l)
sleep 0.5
import -window root "PNG:$OUT/candidates.png"
keys "$CANDIDATES" Down Return
import -window root "PNG:$OUT/chosen.png"
keys "$CANDIDATES" Escape
visible_windows | grep -x "$CANDIDATES" > /dev/null && fail "Esc left the window open"

save_with_ctrl_s "$WINDOW" "$DOCUMENT"
read -r red second <<<"$before"
expected="$second $red"
[[ "$(places)" == "$expected" ]] || fail "after the choice: '$(places)', not '$expected'"

keys "$WINDOW" ctrl+z
save_with_ctrl_s "$WINDOW" "$DOCUMENT"
[[ "$(places)" == "$before" ]] || fail "Ctrl+Z left '$(places)', not '$before'"

quit_editor
echo "e2e_similar_images: ok"
