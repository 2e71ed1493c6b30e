# Sourced by the end-to-end scripts that drive the real editor in a virtual X
# server, with the test's name and the script's own arguments
# "<tessaly> <tessaly-cli> <output folder> [more...]". The script runs again inside
# xvfb-run (screen size E2E_SCREEN); then BINARY, CLI, OUT and PYTHON are set,
# E2E_ARGS holds the further arguments, settings and temporary files go to
# a private home, and `start_editor`
# starts the editor in the background. It is killed when the script ends;
# `quit_editor` asks it to quit first.
#
# Needs xvfb-run, xdotool, import (imagemagick) and python3 with PIL.
set -euo pipefail

readonly E2E_NAME=$1
shift

fail() {
  echo "$E2E_NAME: FAIL: $*" >&2
  if [[ -n "${OUT:-}" && -d "${OUT:-}" ]]; then
    import -window root "PNG:$OUT/failure.png" 2>/dev/null || true
  fi
  exit 1
}

if [[ "${1:-}" != --inside ]]; then
  [[ $# -ge 3 ]] || fail "usage: $0 <tessaly> <tessaly-cli> <output folder> [more...]"
  for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
  rm -rf "$3"
  mkdir -p "$3"
  exec xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1280x900x24}" bash "$0" --inside "$@"
fi

shift
readonly BINARY=$1 CLI=$2 OUT=$3
shift 3
readonly E2E_ARGS=("$@")
# The system's python3 has Debian's Pillow; a python3 earlier on PATH may not.
readonly PYTHON=/usr/bin/python3

export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
E2E_HOME=$(mktemp -d)
export HOME=$E2E_HOME XDG_CONFIG_HOME=$E2E_HOME/.config XDG_RUNTIME_DIR=$E2E_HOME/run
export TMPDIR=$E2E_HOME/tmp
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$TMPDIR"

EDITOR_PID=
end_session() {
  [[ -n "$EDITOR_PID" ]] && kill -KILL "$EDITOR_PID" 2>/dev/null || true
  rm -rf "$E2E_HOME"
}
trap end_session EXIT

# Starts the editor in a folder of its own (its file dialogs open there) with
# the given arguments.
start_editor() {  # folder, arguments...
  local folder=$1
  shift
  (cd "$folder" && exec "$BINARY" "$@") >"$OUT/tessaly.log" 2>&1 &
  EDITOR_PID=$!
}

# Prints the id of the editor's main window on a document once it shows,
# placed at the top left at 1024 x 768 and focused.
document_window() {  # document
  local window
  window=$(timeout 20 xdotool search --sync --name "$(basename "$1") - Tessaly" | head -1) ||
    fail "no editor window"
  xdotool windowmove "$window" 0 0 windowsize "$window" 1024 768
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  sleep 1.5
  echo "$window"
}

# Sends SIGTERM and waits up to 10 s for the editor to quit.
quit_editor() {
  kill -TERM "$EDITOR_PID"
  for _ in $(seq 50); do
    kill -0 "$EDITOR_PID" 2>/dev/null || return 0
    sleep 0.2
  done
  fail "the editor did not quit"
}

# The scripts' documents put a red node in the top row of nodes. Prints the
# screen position of its centre and its width on screen; fails when it is
# not on screen.
red_node_centre() {
  local shot="$OUT/screen.png"
  import -window root "PNG:$shot"
  "$PYTHON" - "$shot" <<'PY'
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("RGB")
pixels = image.load()
red = [(x, y) for y in range(image.height) for x in range(image.width)
       if pixels[x, y][0] > 200 and pixels[x, y][1] < 60 and pixels[x, y][2] < 60]
if not red:
    sys.exit("no red node on screen")
# Only the top row of nodes: another node has a red ellipse further down.
top = min(y for _, y in red)
xs = [x for x, y in red if y <= top + 130]
ys = [y for _, y in red if y <= top + 130]
print((min(xs) + max(xs) + 1) // 2, (min(ys) + max(ys) + 1) // 2, max(xs) - min(xs) + 1)
PY
}

# Top-level windows on screen, one id a line, sorted.
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
    if visible_windows | grep -x "$new" > /dev/null; then
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

# Types a path into the focused name box of a file dialog and accepts it.
type_file_name() {  # dialog, path
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key ctrl+a BackSpace
  xdotool type --delay 2 "$2"
  sleep 0.3
  xdotool key Return
  sleep 0.5
}

# Runs tessaly-cli; it needs no X server.
cli() {  # arguments...
  QT_QPA_PLATFORM=offscreen "$CLI" "$@"
}

# Prints the document a .tsd file holds as tessaly-cli's JSON.
document_info() {  # file
  cli info "$1"
}

# Waits up to 30 s until the document file exists and reads as a whole
# document; fails otherwise.
wait_for_document() {  # file, what wrote it
  for _ in $(seq 150); do
    if [[ -s "$1" ]] && cli info "$1" >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.2
  done
  fail "$2 wrote no readable document $1"
}

# Saves the editor's named document with Ctrl+S and waits until the file is
# written anew (it is removed first, so an old copy never passes).
save_with_ctrl_s() {  # main window, document
  rm -f "$2"
  keys "$1" ctrl+s
  wait_for_document "$2" "Ctrl+S"
}

# Waits up to 30 s for a top-level window with the exact title.
window_titled() {  # title
  timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -1
}

# Exit code that CTest reads as "skipped" (SKIP_RETURN_CODE).
readonly E2E_SKIP=77

# Real pictures from Debian packages (scripts/install-deps installs them): a
# photograph from mate-backgrounds and the colour icons of the Adwaita theme.
# Sets BACKGROUND_PHOTO and ICONS; skips the test when they are absent.
readonly BACKGROUND_PHOTO=/usr/share/backgrounds/mate/nature/FreshFlower.jpg
readonly ICON_FOLDER=/usr/share/icons/Adwaita/48x48/legacy
find_real_pictures() {
  local count=0
  [[ -d "$ICON_FOLDER" ]] && count=$(find "$ICON_FOLDER" -name '*.png' | wc -l)
  if [[ ! -f "$BACKGROUND_PHOTO" || $count -lt 200 ]]; then
    echo "$E2E_NAME: SKIP: needs $BACKGROUND_PHOTO (mate-backgrounds) and 200 PNG" \
      "icons in $ICON_FOLDER (adwaita-icon-theme); run scripts/install-deps" >&2
    exit "$E2E_SKIP"
  fi
  mapfile -t ICONS < <(find "$ICON_FOLDER" -name '*.png' | sort)
}
