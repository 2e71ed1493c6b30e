# Sourced by the tessaly-cli test scripts, with the program as the first
# argument: strict mode, `cli`, a private `work` folder that is also the
# temporary folder (so the working folder lands there and goes with it), and
# `fail`.
set -euo pipefail
cli="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"

fail() { echo "FAIL: $*"; exit 1; }
