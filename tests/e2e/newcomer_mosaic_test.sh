#!/usr/bin/env bash
# A newcomer's day with real pictures, first half: a new document, the
# background photograph set in the view properties, icons added through the
# add command (names typed into its file dialog) and by dragging files from
# another program onto the canvas, the console's "再配置(&U)" in each of the
# seven layout types, the display settings changed in the console, save as,
# quit through the menu, and the saved file opened again. Every step is
# checked on the saved document with tessaly-cli.
#
#   newcomer_mosaic_test.sh <tessaly> <tessaly-cli> <output folder> [<drag source>]
#
# Needs xvfb-run, xdotool, import (imagemagick), python3 with PIL and the
# pictures of mate-backgrounds and adwaita-icon-theme (skipped without them).
source "$(dirname "$0")/x_session.sh" e2e_newcomer_mosaic "$@"
readonly DRAG_SOURCE=${E2E_ARGS[0]:-}
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly DOCUMENT="$OUT/newcomer.tsd"
readonly REOPENED="$OUT/reopened.tsd"
readonly TYPED=3 DROPPED=150

find_real_pictures
# Started in the icons' folder: the add dialog opens there. The drag source
# ends with the X server if a step fails before it is ended.
start_editor "$ICON_FOLDER"
MAIN=$(window_titled ".* - Tessaly") || fail "no editor window"
xdotool windowmove "$MAIN" 0 0 windowsize "$MAIN" 1000 900
sleep 1.5

# A new document, as the frame's first command.
keys "$MAIN" ctrl+n

# The background photograph, through "フォトモザイク(&P)" > "①背景イメージのセット(&P)".
PROPERTIES=$(opened_by keys "$MAIN" alt+p p)
PICKER=$(opened_by keys "$PROPERTIES" alt+i)
choose_files "$PICKER" "$BACKGROUND_PHOTO"
keys "$PROPERTIES" alt+s

# A few icons through "②イメージ追加(&I)": no sample images, names typed,
# shrunk for the photomosaic.
SAMPLES=$(opened_by keys "$MAIN" alt+p i)
PICKER=$(opened_by keys "$SAMPLES" n)
QUESTION=$(opened_by choose_files "$PICKER" "${ICONS[@]:0:TYPED}")
keys "$QUESTION" Return

# More icons dragged from another program onto an empty part of the canvas,
# away from the zoom console and the icons added at the window's centre.
[[ -x "$DRAG_SOURCE" ]] || fail "no drag source program: $DRAG_SOURCE"
"$DRAG_SOURCE" "${ICONS[@]:TYPED:DROPPED}" >"$OUT/drag.log" 2>&1 &
SOURCE_PID=$!
SOURCE=$(window_titled "drag source") || fail "no drag source window"
xdotool windowmove "$SOURCE" 1020 600
sleep 1
xdotool mousemove 1140 680 mousedown 1
for step in $(seq 1 10); do
  xdotool mousemove $((1140 - 340 * step / 10)) $((680 - 430 * step / 10))
  sleep 0.15
done
QUESTION=$(opened_by xdotool mouseup 1)
keys "$QUESTION" Return
sleep 2
grep -qx copy "$OUT/drag.log" || fail "the editor took no drop: $(cat "$OUT/drag.log")"
kill "$SOURCE_PID"

# Saved as a named file through "ファイル(&F)" > "名前を付けて保存(&A)...".
SAVE=$(opened_by keys "$MAIN" alt+f a)
type_file_name "$SAVE" "$DOCUMENT"
wait_for_document "$DOCUMENT" "save as"
document_info "$DOCUMENT" >"$OUT/added.json"
"$PYTHON" - "$OUT/added.json" $((TYPED + DROPPED)) <<'PY' || fail "the added images are not in the document"
import json, sys
info = json.load(open(sys.argv[1]))
state, records = info["state"], info["records"]
if len(records) != int(sys.argv[2]):
    sys.exit(f"{len(records)} nodes, {sys.argv[2]} added")
if state["backPicture"] <= 0 or not any(state["backHistogram"]):
    sys.exit("no background picture or histogram")
if any(r["blobLength"] <= 0 for r in records):
    sys.exit("a node without a picture")
PY

# The console: 30 x 30 cells and 10 sizes typed into its boxes (the tab
# stops after the last type's button), then "再配置(&U)" in each layout type.
CONSOLE=$(opened_by keys "$MAIN" alt+p m)
xdotool windowmove "$CONSOLE" 1000 0
keys "$CONSOLE" alt+7 Tab ctrl+a 3 0 Tab ctrl+a 3 0 Tab Tab ctrl+a 1 0
for type in 1 2 3 4 5 6 7; do
  keys "$CONSOLE" "alt+$type" alt+u
  save_with_ctrl_s "$MAIN" "$DOCUMENT"
  document_info "$DOCUMENT" >"$OUT/type$type.json"
done
"$PYTHON" - "$OUT" <<'PY' || fail "the seven layouts are not placed mosaics"
import json, sys
layouts = []
for kind in range(1, 8):
    info = json.load(open(f"{sys.argv[1]}/type{kind}.json"))
    state = info["state"]
    typed = (state["mosaicType"], state["gridColumns"], state["gridRows"], state["sizeSteps"])
    if typed != (kind, 30, 30, 10):
        sys.exit(f"type {kind} saved type, columns, rows and sizes {typed}")
    placed = [r for r in info["records"] if r["visible"]]
    if len(placed) < 20:
        sys.exit(f"type {kind} placed only {len(placed)} nodes")
    layouts.append({(r["centerX"], r["centerY"], r["halfWidth"]) for r in placed})
    print(f"type {kind}: {len(placed)} placed")
for a in range(7):
    for b in range(a + 1, 7):
        if layouts[a] == layouts[b]:
            sys.exit(f"types {a + 1} and {b + 1} placed the same")
PY

# Display settings: tint with the background ("&E"), the background's
# brightness two steps up (its track bar, two tab stops after the check box
# after the tint), frame lines ("&B"), then "再表示(&N)".
before=$("$PYTHON" -c 'import json,sys; print(json.load(open(sys.argv[1]))["state"]["backBrightness"])' "$OUT/type7.json")
keys "$CONSOLE" alt+e Tab Tab Tab Right Right alt+b alt+n
save_with_ctrl_s "$MAIN" "$DOCUMENT"
document_info "$DOCUMENT" >"$OUT/display.json"
"$PYTHON" - "$OUT/type7.json" "$OUT/display.json" "$before" <<'PY' || fail "the display settings are not saved"
import json, sys
old = json.load(open(sys.argv[1]))["state"]
new = json.load(open(sys.argv[2]))["state"]
expected = {"adjustColors": 1 - old["adjustColors"], "imageFrames": 1 - old["imageFrames"],
            "backBrightness": min(int(sys.argv[3]) + 2, 7)}
got = {key: new[key] for key in expected}
if got != expected:
    sys.exit(f"saved {got}, expected {expected}")
PY
import -window root "PNG:$OUT/mosaic.png"

# Quit through "ファイル(&F)" > "終了(&X)": the document is saved, nothing asks.
keys "$MAIN" alt+f x
for _ in $(seq 50); do
  kill -0 "$EDITOR_PID" 2>/dev/null || break
  sleep 0.2
done
! kill -0 "$EDITOR_PID" 2>/dev/null || fail "the editor did not quit from its menu"

# The road of an open: the file named on the command line, then saved under
# another name; both files hold the same document.
start_editor "$OUT" "$DOCUMENT"
MAIN=$(window_titled "newcomer.tsd - Tessaly") || fail "the saved document does not open"
sleep 1
SAVE=$(opened_by keys "$MAIN" alt+f a)
type_file_name "$SAVE" "$REOPENED"
wait_for_document "$REOPENED" "save as after the open"
document_info "$REOPENED" >"$OUT/reopened.json"
"$PYTHON" - "$OUT/display.json" "$OUT/reopened.json" <<'PY' || fail "the reopened document differs"
import json, sys
saved, reopened = (json.load(open(path)) for path in sys.argv[1:3])
for part in ("header", "records"):
    if saved[part] != reopened[part]:
        sys.exit(f"the {part} differ")
# The open clears the selection; the rest of the settings block stays.
different = [key for key in saved["state"]
             if key != "mainSelection" and saved["state"][key] != reopened["state"][key]]
if different:
    sys.exit(f"settings differ: {different}")
PY

quit_editor
echo "e2e_newcomer_mosaic: ok"
