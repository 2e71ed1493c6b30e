#!/usr/bin/env bash
# tessaly-cli against hostile input and failing disks: a FIFO or a link to a
# device returns at once with a message; a huge sparse file is not read whole;
# names that are not valid UTF-8 are opened and written under their own
# names; a save onto a full disk or past a file-size limit fails with a
# message and leaves the previous document byte for byte, with nothing left
# beside it.
source "$(dirname "$0")/preamble.sh"

# Debian's own Python: it is the one python3-pil installs into.
/usr/bin/python3 - "$work" <<'PY'
import os, sys
from PIL import Image
d = sys.argv[1]
Image.new("RGB", (200, 200), (200, 60, 40)).save(f"{d}/background.png")
os.mkdir(f"{d}/tiles")
for n in range(12):
    noise = os.urandom(64 * 64 * 3)  # incompressible, so the document is large
    Image.frombytes("RGB", (64, 64), noise).save(f"{d}/tiles/t{n:02d}.jpg", quality=95)
PY
mosaic() {
    "$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --canvas 500x500 \
        --columns 20 --rows 20 --sizes 1 --seed 1 -o "$1"
}
mosaic "$work/plan.tsd" > /dev/null || fail "the mosaic did not run"

# Returns at once (well within the timeout) with a non-zero status and a message.
refused() {
    local what=$1; shift
    local status=0
    timeout 20 "$cli" "$@" > /dev/null 2> "$work/err.txt" || status=$?
    [ "$status" -ne 0 ] || fail "$what was read"
    [ "$status" -ne 124 ] || fail "$what blocked"
    [ -s "$work/err.txt" ] || fail "$what gave no message"
}
mkfifo "$work/fifo.tsd" "$work/fifo.jpg"
ln -s /dev/zero "$work/zero.tsd"
refused "info of a FIFO" info "$work/fifo.tsd"
refused "render of a FIFO" render "$work/fifo.tsd" "$work/out.png"
status=0
timeout 20 "$cli" picture "$work/fifo.jpg" > "$work/fifo.json" || status=$?
[ "$status" -eq 1 ] || fail "a FIFO picture: exit status $status"
refused "info of /dev/zero" info "$work/zero.tsd"
truncate -s 3G "$work/sparse.tsd"
refused "info of a 3 GB sparse file" info "$work/sparse.tsd"

# Names in Latin-1, as an old archive may carry them.
odd=$(printf '%s/caf\xe9' "$work")
cp "$work/plan.tsd" "$odd.tsd"
cp "$work/tiles/t00.jpg" "$odd.jpg"
"$cli" info "$odd.tsd" > "$work/odd.json" || fail "a Latin-1 document name"
"$cli" render "$odd.tsd" "$work/odd.png" 0.2 || fail "render of a Latin-1 document name"
"$cli" picture "$odd.jpg" > /dev/null || fail "a Latin-1 picture name"
grep -q '"nodeCount": 12' "$work/odd.json" || fail "the Latin-1 document read wrong"
# Written under their own names: a document saved over one, a picture
# rendered over another; no file of another name appears.
before=$(cksum < "$odd.tsd")
"$cli" mosaic --background "$work/background.png" --tiles "$work/tiles" --canvas 500x500 \
    --columns 25 --rows 20 --sizes 1 --seed 2 -o "$odd.tsd" > /dev/null || fail "mosaic -o onto a Latin-1 name"
[ "$(cksum < "$odd.tsd")" != "$before" ] || fail "mosaic -o left the Latin-1 document as it was"
"$cli" info "$odd.tsd" > /dev/null || fail "the Latin-1 document written is unreadable"
cp "$work/tiles/t01.jpg" "$odd.png"
"$cli" render "$work/plan.tsd" "$odd.png" 0.2 || fail "render onto a Latin-1 name"
/usr/bin/python3 - "$work" <<'PY' || fail "render did not write the Latin-1 name"
import os, sys
from PIL import Image
d = os.fsencode(sys.argv[1])
assert Image.open(os.path.join(d, b"caf\xe9.png")).format == "PNG"
assert not [n for n in os.listdir(d) if b"\xef\xbf\xbd" in n], os.listdir(d)
PY

# Saving over a document must never cost it. `$1` runs the save; what was
# there must be left byte for byte, and nothing beside it.
keeps_previous() {
    local what=$1 message=$2 folder=$3; shift 3
    local status=0
    "$@" > /dev/null 2> "$work/err.txt" || status=$?
    [ "$status" -eq 1 ] || fail "$what: exit status $status"
    grep -q "$message" "$work/err.txt" || { cat "$work/err.txt"; fail "$what: no message"; }
    cmp -s "$folder/plan.tsd" "$work/plan.tsd" || fail "$what: the previous document changed"
    [ -z "$(ls -A "$folder" | grep -v -e '^plan.tsd$' -e '^filler$')" ] ||
        fail "$what: left $(ls -A "$folder")"
}

# A full disk: a small private tmpfs, filled up after the previous document.
export -f mosaic keeps_previous fail
export cli work
mkdir "$work/disk"
if unshare -m mount -t tmpfs -o size=1m tmpfs "$work/disk" 2> /dev/null; then
    unshare -m bash -euo pipefail -c '
        mount -t tmpfs -o size=512k tmpfs "$work/disk"
        cp "$work/plan.tsd" "$work/disk/plan.tsd"
        dd if=/dev/zero of="$work/disk/filler" bs=4k 2> /dev/null || true
        keeps_previous "a full disk" "ディスクの空き容量が足りない" "$work/disk" mosaic "$work/disk/plan.tsd"'
else
    echo "note: no tmpfs can be mounted here; the full disk is checked as a file-size limit only"
fi

# A file-size limit: the write fails (SIGXFSZ is ignored) instead of ending the program.
mkdir "$work/limited"
cp "$work/plan.tsd" "$work/limited/plan.tsd"
size_kib=$(( $(stat -c %s "$work/plan.tsd") / 1024 / 2 ))
keeps_previous "a file-size limit" "ファイルの保存に失敗しました" "$work/limited" \
    bash -c "ulimit -f $size_kib; mosaic \"\$work/limited/plan.tsd\""

echo "cli hostile: 1 passed, 0 failed"
