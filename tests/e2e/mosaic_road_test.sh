#!/usr/bin/env bash
# A newcomer's first photomosaic, driven through the menus and dialogs of the
# running editor in a virtual X server: a background picture set in the view
# properties, a few hundred photographs added through the add command, the
# console opened and "再配置(&U)" pressed, the document saved with Ctrl+S.
# tessaly-cli then reads the saved file: the nodes are spread over the canvas.
#
#   mosaic_road_test.sh <tessaly> <tessaly-cli> <output folder>
#
# Needs xvfb-run, xdotool, import (imagemagick) and python3 with PIL and
# scikit-image's sample photographs.
E2E_SCREEN=1280x900x24 source "$(dirname "$0")/x_session.sh" e2e_mosaic_road "$@"
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly JOB="$OUT/job"
readonly DOCUMENT="$OUT/road.tsd"
readonly TILES=200

mkdir -p "$JOB"
"$PYTHON" "$HERE/../cli/photo_tiles.py" "$JOB" "$TILES"

# Started in the tiles' folder: the add dialog opens there.
start_editor "$JOB/tiles"
MAIN=$(timeout 20 xdotool search --sync --onlyvisible --name "Tessaly" | head -1) || fail "no editor window"
xdotool windowmove "$MAIN" 0 0 windowsize "$MAIN" 1280 900
sleep 1.5

# ① the background picture, through "フォトモザイク(&P)" > "①背景イメージのセット(&P)".
PROPERTIES=$(opened_by keys "$MAIN" alt+p p)
PICKER=$(opened_by keys "$PROPERTIES" alt+i)
choose_files "$PICKER" "$JOB/background.jpg"
import -window root "PNG:$OUT/view_properties.png"
keys "$PROPERTIES" alt+s
sleep 1

# ② the tiles, through "②イメージ追加(&I)".
mapfile -t tiles < <(cd "$JOB/tiles" && ls)
[[ ${#tiles[@]} -eq $TILES ]] || fail "the job has ${#tiles[@]} tiles"
# First the question whether to take the sample images: no.
SAMPLES=$(opened_by keys "$MAIN" alt+p i)
PICKER=$(opened_by keys "$SAMPLES" n)
# Then the question whether to shrink them: yes.
QUESTION=$(opened_by choose_all_listed "$PICKER")
keys "$QUESTION" Return
sleep 3

# ③ the console, then "再配置(&U)".
# The console at the screen's right edge, beside the mosaic it makes.
CONSOLE=$(opened_by keys "$MAIN" alt+p m)
eval "$(xdotool getwindowgeometry --shell "$CONSOLE")"
xdotool windowmove "$CONSOLE" $((1280 - WIDTH)) 70
keys "$CONSOLE" alt+u
sleep 4
import -window root "PNG:$OUT/console.png"

# Saved with Ctrl+S: a new document asks for its name.
SAVE=$(opened_by keys "$MAIN" ctrl+s)
xdotool windowfocus --sync "$SAVE" 2>/dev/null || true
xdotool key ctrl+a BackSpace
xdotool type --delay 2 "$DOCUMENT"
xdotool key Return
for _ in $(seq 50); do
  [[ -s "$DOCUMENT" ]] && break
  sleep 0.2
done
[[ -s "$DOCUMENT" ]] || fail "Ctrl+S wrote no document"
sleep 1

"$CLI" info "$DOCUMENT" >"$OUT/info.json" || fail "tessaly-cli cannot read the saved document"
"$PYTHON" - "$OUT/info.json" "$TILES" <<'PY' || fail "the saved document is not a placed mosaic"
import json, sys
info = json.load(open(sys.argv[1]))
tiles = int(sys.argv[2])
records = info["records"]
if len(records) != tiles:
    sys.exit(f"{len(records)} nodes saved, {tiles} added")
placed = [r for r in records if r["visible"]]
if len(placed) < tiles // 2:
    sys.exit(f"only {len(placed)} of {tiles} nodes are placed")
# A run spreads them over the canvas instead of the pile they were added in.
centres = {(r["centerX"], r["centerY"]) for r in placed}
if len(centres) < len(placed) * 9 // 10:
    sys.exit(f"{len(placed)} placed nodes share {len(centres)} centres")
print(f"{len(placed)} of {tiles} nodes placed")
PY

quit_editor
echo "e2e_mosaic_road: ok"
