#!/usr/bin/env bash
# Installs the build into a private folder (DESTDIR) and checks what a
# desktop needs: the programs, the sample images and the manual beside the
# editor, the desktop entry and the document type (.tsd) for shared-mime-info.
#
#   install_test.sh <cmake> <build folder>
#
# Uses desktop-file-validate (desktop-file-utils) and update-mime-database
# (shared-mime-info) when they are installed.
set -euo pipefail

fail() {
  echo "install: FAIL: $*" >&2
  exit 1
}

[[ $# -eq 2 ]] || fail "usage: $0 <cmake> <build folder>"
readonly CMAKE=$1
readonly BUILD=$2
STAGE=$(mktemp -d)
trap 'rm -rf "$STAGE"' EXIT
readonly PREFIX=/opt/tessaly
readonly ROOT=$STAGE$PREFIX

DESTDIR=$STAGE "$CMAKE" --install "$BUILD" --prefix "$PREFIX" >"$STAGE.log" 2>&1 ||
  { cat "$STAGE.log" >&2; rm -f "$STAGE.log"; fail "cmake --install failed"; }
rm -f "$STAGE.log"

for program in tessaly tessaly-cli; do
  [[ -x "$ROOT/bin/$program" ]] || fail "bin/$program is missing or not executable"
done
[[ ! -e "$ROOT/bin/tessaly-make-samples" ]] || fail "the build-time sample generator was installed"
[[ ! -e "$ROOT/bin/tessaly-make-manual" ]] || fail "the build-time manual maker was installed"

# The manual beside the editor, where the help menu looks for it: a PDF of
# several pages.
readonly MANUAL=$ROOT/bin/Manual.pdf
[[ "$(head -c 5 "$MANUAL" 2>/dev/null)" == %PDF- ]] || fail "bin/Manual.pdf is missing or not a PDF"
if command -v pdfinfo >/dev/null; then
  pages=$(pdfinfo "$MANUAL" | sed -n 's/^Pages: *//p')
  ((${pages:-0} >= 5)) || fail "the manual has ${pages:-no} pages, expected at least 5"
  # Menu labels read as the menus show them, "セット(I)", never "セット(&I)";
  # and the screenshots are there: main window, view properties, console,
  # batch creation, export with its quality dialog, printing.
  ! pdftotext "$MANUAL" - | grep -q '(&' || fail "the manual shows a mnemonic as (&X)"
  pictures=$(pdfimages -list "$MANUAL" | tail -n +3 | wc -l)
  ((pictures >= 7)) || fail "the manual has $pictures pictures, expected at least 7"
else
  echo "install: pdfinfo not installed, manual pages not counted"
fi

# Sample images beside the editor: 60 JPEGs, all different.
mapfile -t samples < <(find "$ROOT/bin/images" -maxdepth 1 -type f -name '*.jpg' | sort)
((${#samples[@]} == 60)) || fail "expected 60 sample images in bin/images, found ${#samples[@]}"
for sample in "${samples[@]}"; do
  [[ "$(head -c 3 "$sample" | od -An -tx1 | tr -d ' ')" == ffd8ff ]] || fail "$sample is not a JPEG"
done
distinct=$(md5sum "${samples[@]}" | cut -d' ' -f1 | sort -u | wc -l)
((distinct == 60)) || fail "only $distinct of the sample images differ"

readonly DESKTOP=$ROOT/share/applications/tessaly.desktop
[[ -f "$DESKTOP" ]] || fail "share/applications/tessaly.desktop is missing"
grep -qx 'Name=Tessaly' "$DESKTOP" || fail "the desktop entry is not named Tessaly"
grep -qx 'Exec=tessaly %f' "$DESKTOP" || fail "the desktop entry does not start tessaly with a file"
grep -qx 'MimeType=application/x-tessaly-document;' "$DESKTOP" ||
  fail "the desktop entry does not open Tessaly documents"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$DESKTOP" || fail "desktop-file-validate rejects $DESKTOP"
else
  echo "install: desktop-file-validate not installed, desktop entry not validated"
fi

readonly MIME=$ROOT/share/mime
[[ -f "$MIME/packages/tessaly.xml" ]] || fail "share/mime/packages/tessaly.xml is missing"
if command -v update-mime-database >/dev/null; then
  # Builds the database in the staging folder only; its outputs are what a
  # desktop reads to recognise the file type.
  update-mime-database "$MIME" >"$STAGE/mime.log" 2>&1 ||
    { cat "$STAGE/mime.log" >&2; fail "update-mime-database rejects the type"; }
  grep -q '^[0-9]*:application/x-tessaly-document:\*\.tsd$' "$MIME/globs2" ||
    fail "*.tsd is not registered as application/x-tessaly-document: $(cat "$MIME/globs2")"
  grep -q 'Tessaly.Document' "$MIME/application/x-tessaly-document.xml" ||
    fail "the type is not described as Tessaly.Document"
else
  grep -q '<glob pattern="\*\.tsd"/>' "$MIME/packages/tessaly.xml" || fail "no *.tsd glob"
  echo "install: update-mime-database not installed, type not compiled"
fi

# The installed command-line tool runs from its new place.
"$ROOT/bin/tessaly-cli" >/dev/null 2>&1 && status=0 || status=$?
((status != 126 && status != 127)) || fail "the installed tessaly-cli does not run (status $status)"

echo "install: ok"
