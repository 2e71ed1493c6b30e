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
E2E_SCREEN=1600x1000x24 source "$(dirname "$0")/x_session.sh" e2e_mosaic_road "$@"
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly JOB="$OUT/job"
readonly DOCUMENT="$OUT/road.tsd"
readonly TILES=200

mkdir -p "$JOB"
"$PYTHON" "$HERE/../cli/photo_tiles.py" "$JOB" "$TILES"


visible_windows() {
  xdotool search --onlyvisible --name "." 2>/dev/null | sort
}

# Presses keys in a window. Without a window manager focus is given
# explicitly.
keys() {  # window, keys...
  local window=$1
  shift
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 0.3
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.5
  done
}

# Runs a step that opens a window and prints the id of the window that
# appeared (a top-level dialog has no title bar to find it by here).
opened_by() {  # command...
  local before
  before=$(visible_windows)
  "$@" >&2
  for _ in $(seq 40); do
    sleep 0.25
    local new
    new=$(comm -13 <(echo "$before") <(visible_windows) | tail -1)
    [[ -n "$new" ]] || continue
    sleep 0.5
    # A completion popup that came and went is no dialog.
    if visible_windows | grep -qx "$new"; then
      echo "$new"
      return
    fi
  done
  fail "'$*' opened no window"
}

# Types file names, quoted, into a file dialog and accepts them.
choose_files() {  # dialog, paths...
  local dialog=$1 names=""
  shift
  for path in "$@"; do names+="\"$path\" "; done
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key ctrl+a BackSpace
  xdotool type --delay 1 "$names"
  sleep 0.3
  xdotool key Return
  sleep 1
}

# Selects every file a file dialog lists (a click on its first row, Ctrl+A)
# and accepts them: typing hundreds of names is slow for the dialog.
choose_all_listed() {  # dialog
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + 200)) $((Y + 76)) click 1
  sleep 0.5
  xdotool key ctrl+a
  sleep 0.5
  xdotool key Return
  sleep 1
}

# Started in the tiles' folder: the add dialog opens there.
start_editor "$JOB/tiles"
MAIN=$(timeout 20 xdotool search --sync --onlyvisible --name "Tessaly" | head -1) || fail "no editor window"
xdotool windowmove "$MAIN" 0 0 windowsize "$MAIN" 1200 900
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
CONSOLE=$(opened_by keys "$MAIN" alt+p m)
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
