#!/usr/bin/env bash
# Edits a document with a real pointer and keyboard in a virtual X server:
# finds the red node on screen, drags it, widens it by the handle in the
# middle of its right side, moves it with the arrow keys, deletes it, and
# undoes and redoes by key and by menu. After each step it saves with Ctrl+S
# and reads the saved file back with tessaly-cli.
#
#   mouse_editing_test.sh <tessaly> <tessaly-cli> <output folder>
#
# Needs xvfb-run, xdotool, import (imagemagick) and python3 with PIL.
source "$(dirname "$0")/x_session.sh" e2e_mouse_editing "$@"
readonly DOCUMENT="$OUT/edit.tsd"
readonly HERE=$(cd "$(dirname "$0")" && pwd)

"$PYTHON" "$HERE/make_document.py" "$DOCUMENT"

start_editor "$OUT" "$DOCUMENT"
WINDOW=$(document_window "$DOCUMENT")

# The centre of the red node (160 x 120 canvas pixels at zoom 1) on screen.

drag() {  # from x, from y, to x, to y
  xdotool mousemove "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  for step in 1 2 3 4; do
    xdotool mousemove $(($1 + ($3 - $1) * step / 4)) $(($2 + ($4 - $2) * step / 4))
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 0.5
}

save_and_read() {  # prints "centerX centerY halfWidth halfHeight" of node 0
  save_with_ctrl_s "$WINDOW" "$DOCUMENT"
  document_info "$DOCUMENT" | "$PYTHON" -c '
import json, sys
n = json.load(sys.stdin)["records"][0]
print(n["centerX"], n["centerY"], n["halfWidth"], n["halfHeight"])'
}

saved_nodes() {  # prints how many nodes the saved document holds
  save_with_ctrl_s "$WINDOW" "$DOCUMENT"
  document_info "$DOCUMENT" | "$PYTHON" -c 'import json, sys; print(len(json.load(sys.stdin)["records"]))'
}

read -r cx cy width < <(red_node_centre) || fail "the red node is not on screen"
[[ $width -ge 150 && $width -le 170 ]] || fail "the red node is $width pixels wide on screen"

# A click selects it, a drag moves it by the pointer's offset.
xdotool mousemove "$cx" "$cy" click 1
sleep 0.3
drag "$cx" "$cy" $((cx + 40)) $((cy + 30))
result=$(save_and_read)
[[ "$result" == "240 230 80 60" ]] || fail "after the move node 0 is '$result'"

# The handle in the middle of its right side widens it; the left side stays.
right=$((cx + 40 + 80))
drag "$right" $((cy + 30)) $((right + 40)) $((cy + 30))
result=$(save_and_read)
[[ "$result" == "260 230 100 60" ]] || fail "after the resize node 0 is '$result'"

# Each arrow key moves the selection 10 canvas pixels at zoom 1.
keys "$WINDOW" Right Right Down
result=$(save_and_read)
[[ "$result" == "280 240 100 60" ]] || fail "after the arrow keys node 0 is '$result'"

# Each key press is one step for undo (Ctrl+Z) and redo (Ctrl+Y).
keys "$WINDOW" ctrl+z
result=$(save_and_read)
[[ "$result" == "280 230 100 60" ]] || fail "after Ctrl+Z node 0 is '$result'"
keys "$WINDOW" ctrl+y
result=$(save_and_read)
[[ "$result" == "280 240 100 60" ]] || fail "after Ctrl+Y node 0 is '$result'"

# Undo and redo leave nothing selected: a click selects the node again.
# Delete asks first (yes), then "編集(&E)" > "元に戻す(&U)" brings it back.
read -r cx cy _ < <(red_node_centre) || fail "the red node is not on screen after the redo"
xdotool mousemove "$cx" "$cy" click 1
sleep 0.3
QUESTION=$(opened_by keys "$WINDOW" Delete)
keys "$QUESTION" Return
count=$(saved_nodes)
[[ "$count" == 7 ]] || fail "after Delete the document holds $count nodes"
keys "$WINDOW" alt+e u
count=$(saved_nodes)
[[ "$count" == 8 ]] || fail "after the menu's undo the document holds $count nodes"
result=$(save_and_read)
[[ "$result" == "280 240 100 60" ]] || fail "after the menu's undo node 0 is '$result'"

quit_editor
echo "e2e_mouse_editing: ok"
