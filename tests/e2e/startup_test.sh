#!/usr/bin/env bash
# Starts the editor in a virtual X server, waits for its main window, takes a
# screenshot of the screen and checks that something was drawn. With a
# document, the editor opens it from its command line and the screenshot must
# show the document's images in their colours.
#
# Then ends it with SIGTERM: it must quit by itself, with status 0, within
# 10 s, having written its settings and removed its temporary files (names
# beginning "TSD" in any case) from the working folder "$TMPDIR/Tessaly".
#
#   startup_test.sh <tessaly binary> <output folder> [document.tsd [--reopen]]
#
# With --reopen the document is not named on the command line: the settings
# ask for the most recent document to be reopened ("SYS" / "FirstOpen" = 1)
# and list it first in the recent-file list.
#
# Needs xvfb-run (xvfb, xauth), xwininfo (x11-utils), import (imagemagick)
# and python3 with PIL.
set -euo pipefail

readonly WAIT_SECONDS=20
readonly QUIT_SECONDS=10

fail() {
  echo "e2e_startup: FAIL: $*" >&2
  exit 1
}

if [[ "${1:-}" != --inside ]]; then
  [[ $# -ge 2 && $# -le 4 ]] || fail "usage: $0 <tessaly binary> <output folder> [document.tsd [--reopen]]"
  [[ $# -lt 4 || "$4" == --reopen ]] || fail "unknown option $4"
  for tool in xvfb-run xwininfo import; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
  [[ -x "$1" ]] || fail "no executable at $1"
  mkdir -p "$2"
  exec xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" --inside "$@"
fi

shift
readonly BINARY=$1
readonly OUT=$2
readonly DOCUMENT=${3:-}
readonly REOPEN=${4:-}
if [[ -n "$DOCUMENT" ]]; then
  TITLE="$(basename "$DOCUMENT") - Tessaly"
else
  TITLE='無題のファイル - Tessaly'
fi
readonly TITLE
readonly SHOT="$OUT/screen.png"
readonly LOG="$OUT/tessaly.log"

# The system's python3 has Debian's Pillow; a python3 earlier on PATH may not.
readonly PYTHON=/usr/bin/python3
"$PYTHON" -c 'import PIL' 2>/dev/null || fail "no python3 with PIL (python3-pil)"
rm -f "$SHOT"

# A real X display, whatever the surrounding test run asked for; settings and
# runtime files go to a private home so the user's are never touched.
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8
HOME_DIR=$(mktemp -d)
export HOME=$HOME_DIR XDG_CONFIG_HOME=$HOME_DIR/.config XDG_RUNTIME_DIR=$HOME_DIR/run
export TMPDIR=$HOME_DIR/tmp
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
readonly WORK="$TMPDIR/Tessaly"
readonly SETTINGS="$XDG_CONFIG_HOME/Orvane/Tessaly.ini"

# Leftovers of an earlier run that must go at exit, and files that only look
# like them and must stay.
mkdir -p "$WORK/TSDfolder"
touch "$WORK/TSD0001.tmp" "$WORK/tsdA1b2.tmp" "$WORK/TsD" "$WORK/keep_TSD.tmp" "$WORK/notes.txt"

if [[ -n "$REOPEN" ]]; then
  mkdir -p "$(dirname "$SETTINGS")"
  printf '[SYS]\nFirstOpen=1\n\n[Recent%%20File%%20List]\nFile1=%s\n' \
    "$(realpath "$DOCUMENT")" >"$SETTINGS"
  "$BINARY" >"$LOG" 2>&1 &
else
  "$BINARY" ${DOCUMENT:+"$DOCUMENT"} >"$LOG" 2>&1 &
fi
PID=$!

# Running and not yet a zombie waiting to be reaped.
alive() {
  local stat
  stat=$(cat "/proc/$PID/stat" 2>/dev/null) || return 1
  stat=${stat##*) }
  [[ ${stat:0:1} != Z ]]
}

cleanup() {
  if alive; then
    kill -KILL "$PID" 2>/dev/null || true
  fi
  rm -rf "$HOME_DIR"
}
trap cleanup EXIT

window_exists() {
  xwininfo -root -tree 2>/dev/null | grep -F "\"$TITLE\"" > /dev/null
}

deadline=$((SECONDS + WAIT_SECONDS))
until window_exists; do
  if ! alive; then
    wait "$PID" && status=0 || status=$?
    cat "$LOG" >&2
    fail "tessaly exited with status $status before its window appeared"
  fi
  ((SECONDS < deadline)) || { cat "$LOG" >&2; fail "no window titled '$TITLE' after ${WAIT_SECONDS}s"; }
  sleep 0.2
done

# Give the first paint a moment to land, then photograph the whole screen.
sleep 1
import -window root "PNG:$SHOT" || fail "screenshot failed"
alive || fail "tessaly exited while its window was shown"

"$PYTHON" - "$SHOT" "$DOCUMENT" <<'PY' || fail "the screenshot $SHOT does not show what it should"
import sys
from PIL import Image

image = Image.open(sys.argv[1]).convert("RGB")
colours = image.getcolors(maxcolors=1 << 20) or []
print(f"e2e: {image.size[0]}x{image.size[1]}, {len(colours)} colours")
# An empty X screen is one colour; the window adds grey, white, the bars and
# anti-aliased text.
if len(colours) <= 16:
    sys.exit(1)
if sys.argv[2]:
    # The document's images: each colour must cover a good patch of the screen.
    wanted = [(220, 40, 40), (40, 170, 60), (40, 80, 220), (240, 200, 30)]
    counts = dict.fromkeys(wanted, 0)
    for count, pixel in colours:
        for w in wanted:
            if all(abs(a - b) <= 24 for a, b in zip(pixel, w)):
                counts[w] += count
    print("e2e: image colours", counts)
    sys.exit(0 if all(n > 1000 for n in counts.values()) else 1)
PY

# A clean quit: the window closes as if the user closed it.
kill -TERM "$PID"
deadline=$((SECONDS + QUIT_SECONDS))
while alive; do
  ((SECONDS < deadline)) || { cat "$LOG" >&2; fail "tessaly did not end within ${QUIT_SECONDS}s of SIGTERM"; }
  sleep 0.1
done
wait "$PID" && status=0 || status=$?
((status == 0)) || { cat "$LOG" >&2; fail "tessaly ended with status $status after SIGTERM"; }

leftovers=$(find "$WORK" -maxdepth 1 -type f -iname 'tsd*' -printf '%f ')
[[ -z "$leftovers" ]] || fail "temporary files left in $WORK: $leftovers"
for kept in keep_TSD.tmp notes.txt TSDfolder; do
  [[ -e "$WORK/$kept" ]] || fail "$WORK/$kept was removed, it is not a temporary file"
done

# The exit sequence wrote the settings and the recent-file list.
[[ -f "$SETTINGS" ]] || fail "no settings written to $SETTINGS"
grep -qx 'PlayAnime=3' "$SETTINGS" || fail "PlayAnime not written at exit: $(cat "$SETTINGS")"
grep -qx 'MultiMaX=10' "$SETTINGS" || fail "MultiMaX not written at exit: $(cat "$SETTINGS")"
if [[ -n "$DOCUMENT" ]]; then
  "$PYTHON" - "$SETTINGS" "$DOCUMENT" <<'PY' || fail "the document is not first in the recent-file list"
import configparser, os, sys
ini = configparser.ConfigParser(interpolation=None)
ini.optionxform = str
ini.read(sys.argv[1], encoding="utf-8")
first = ini.get("Recent%20File%20List", "File1", fallback="")
sys.exit(0 if first == os.path.realpath(sys.argv[2]) or first == os.path.abspath(sys.argv[2]) else 1)
PY
fi
echo "e2e_startup: ok, screenshot in $SHOT"
