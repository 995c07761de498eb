#!/usr/bin/env bash
# The main job on the bundled sample cache: installs what Restash needs,
# builds it, and runs it on samples/ into a fresh folder.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build"
cli="$here/build/bin/restash-cli"
work="${RESTASH_SAMPLE_OUT:-$here/build/sample-run}"
rm -rf "$work"
mkdir -p "$work"
cache="$here/samples/hash-cache/FAT.DB"
echo "== The entries of the sample cache ($cache)"
"$cli" --program-dir "$work" list --cache "$cache"
echo
echo "== Its domains"
"$cli" --program-dir "$work" domains --cache "$cache"
