# Sourced by the end-to-end scripts that drive the real editor in a virtual X
# server, with the test's name and the script's own arguments
# "<tessaly> <tessaly-cli> <output folder>". The script runs again inside
# xvfb-run (screen size E2E_SCREEN); then BINARY, CLI, OUT and PYTHON are set,
# settings and temporary files go to a private home, and `start_editor`
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
  [[ $# -eq 3 ]] || fail "usage: $0 <tessaly> <tessaly-cli> <output folder>"
  for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
  rm -rf "$3"
  mkdir -p "$3"
  exec xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1280x900x24}" bash "$0" --inside "$@"
fi

shift
readonly BINARY=$1 CLI=$2 OUT=$3
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
