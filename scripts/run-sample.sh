#!/usr/bin/env bash
# The main job on the bundled sample cache: installs what Restash needs,
# builds it, turns samples/hash-cache into an offline copy in a fresh folder
# and searches it. Running it again starts from scratch.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build"
cli="$here/build/bin/restash-cli"
work="${RESTASH_SAMPLE_OUT:-$here/build/sample-run}"
rm -rf "$work"
mkdir -p "$work"
# A program folder of its own, so that no RESTASH.INI of the user's applies;
# the clock, time zone and date names fixed, so that the output is the same
# on every run (the sample's visits were in June 1997).
run() { TZ=UTC LC_ALL=C "$cli" --program-dir "$work/home" --now 867000000 "$@"; }
cache="$here/samples/hash-cache/FAT.DB"

echo "== The entries of the sample cache ($cache)"
run list --cache "$cache"
echo
echo "== Its domains"
run domains --cache "$cache"
echo
echo "== Uncaching every domain into $work/OFFLINE"
run uncache --cache "$cache" --offline "$work"
echo
echo "== Searching the offline copy for 'sprocket'"
run search --offline "$work" sprocket
echo
echo "The offline copy's index page: file://$work/OFFLINE/HTMINDEX.HTM"
