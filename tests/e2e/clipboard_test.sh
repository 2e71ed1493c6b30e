#!/usr/bin/env bash
# Copy and paste through the real clipboard in a virtual X server: selects
# the red node, presses Ctrl+C, reads the clipboard from outside with xclip
# (a PNG of the node at its shown size, and the marker text), then pastes
# with Ctrl+V, saves and reads the saved file back with tessaly-cli.
#
#   clipboard_test.sh <tessaly> <tessaly-cli> <output folder>
#
# Needs xvfb-run, xdotool, xclip, import (imagemagick) and python3 with PIL.
source "$(dirname "$0")/x_session.sh" e2e_clipboard "$@"
readonly DOCUMENT="$OUT/copy.tsd"
readonly COPIED="$OUT/copied.png"
readonly HERE=$(cd "$(dirname "$0")" && pwd)
command -v xclip >/dev/null || fail "xclip is not installed"

"$PYTHON" "$HERE/make_document.py" "$DOCUMENT"

start_editor "$OUT" "$DOCUMENT"
WINDOW=$(document_window "$DOCUMENT")

# The centre of the red node (160 x 120 canvas pixels at zoom 1) on screen.
read -r cx cy _ < <(red_node_centre) || fail "the red node is not on screen"

xdotool mousemove "$cx" "$cy" click 1
sleep 0.3
xdotool key ctrl+c
sleep 1

# Other programs receive the node as a raster image at its shown size.
timeout 10 xclip -selection clipboard -t TARGETS -o >"$OUT/targets.txt" ||
  fail "nothing on the clipboard"
grep -qx "image/png" "$OUT/targets.txt" || fail "no image/png on the clipboard: $(tr '\n' ' ' <"$OUT/targets.txt")"
timeout 10 xclip -selection clipboard -t image/png -o >"$COPIED" || fail "the image cannot be read"
size=$("$PYTHON" -c 'import sys; from PIL import Image; i = Image.open(sys.argv[1]); print(*i.size)' "$COPIED") ||
  fail "the clipboard's image is no PNG"
[[ "$size" == "160 120" ]] || fail "the copied image is $size, not the node's 160 x 120"
marker=$(timeout 10 xclip -selection clipboard -o)
[[ "$marker" == "[OBJ]" ]] || fail "the clipboard's text is '$marker'"

# Ctrl+V pastes the node one step down and right.
xdotool key ctrl+v
sleep 0.5
xdotool key ctrl+s
sleep 1.5
result=$("$CLI" info "$DOCUMENT" 2>/dev/null | "$PYTHON" -c '
import json, sys
records = json.load(sys.stdin)["records"]
n = records[-1]
print(len(records), n["centerX"], n["centerY"], n["halfWidth"], n["halfHeight"])')
[[ "$result" == "9 210 210 80 60" ]] || fail "after the paste the last node is '$result'"

quit_editor
echo "e2e_clipboard: ok"
