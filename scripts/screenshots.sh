#!/usr/bin/env bash
# Builds Restash and takes the pictures of the desktop program's windows
# shown in the README: docs/screenshots/<window>.png. They come from the
# real windows, on a copy of samples/hash-cache in a scratch folder (the
# sample itself is never written to).
# Usage: scripts/screenshots.sh [BUILD_DIR]
# Runs without a display (Qt's offscreen platform); set RESTASH_SHOTS_XVFB=1
# to run it under xvfb-run instead.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
"$here/scripts/build.sh" "$build" -DRESTASH_GUI=ON

# A scratch home folder under a fixed name, since the Setup picture shows
# its paths; it is made afresh and removed at the end.
work="${TMPDIR:-/tmp}/restash-screenshots"
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
out="$here/docs/screenshots"
mkdir -p "$out"

# The same look on every machine: fixed time zone, language and font set-up.
run=(env TZ=UTC LC_ALL=C.UTF-8 QT_SCALE_FACTOR=1 "$build/bin/restash-screenshots"
     "$here/samples/hash-cache" "$work" "$out")
if [[ "${RESTASH_SHOTS_XVFB:-0}" == 1 ]]; then
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "${run[@]}"
else
    QT_QPA_PLATFORM=offscreen "${run[@]}"
fi
