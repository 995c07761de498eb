#!/usr/bin/env bash
# Peak memory of exporting a large cache to a web archive: generates a cache
# of N entries (default 100,000; small files, the count is what matters),
# exports it with archive index and manifest, and prints the peak resident
# set size that /usr/bin/time reports. Not a timed test; it prints figures.
#
#   bench/export_memory.sh [BUILD_DIR] [ENTRIES]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
entries="${2:-100000}"
ninja -C "$build" -j2 generate_cache export_cache >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$build/bin/generate_cache" --out "$work/cache" --entries "$entries" --domains 500 \
  --page-kb 1-2 --image-kb 1-2 --links 2-5 >/dev/null
/usr/bin/time -v -o "$work/time.txt" "$build/bin/export_cache" --cache "$work/cache/FAT.DB" \
  --warc "$work/export.warc.gz" --cdxj "$work/export.cdxj" --manifest "$work/export.csv"
peak_kb="$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")"
wall="$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")"
echo "entries: $entries"
echo "archive: $(stat -c %s "$work/export.warc.gz") bytes, index: $(wc -l <"$work/export.cdxj") lines"
echo "peak memory: $((peak_kb / 1024)) MB ($peak_kb kB), wall time: $wall"
