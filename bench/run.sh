#!/usr/bin/env bash
# Benchmarks Restash at scale against the physical floor and the tools users
# know, and prints one table (Markdown).
#
#   bench/run.sh [RUNS]        RUNS timed runs of each command (default 3); the median counts
#
# Environment: RESTASH_BENCH_DATA  where the generated caches and the run outputs go
#                                  (default build-bench/data; about 16 GB: every timed run at
#                                  100,000 entries writes 4 GB of its own)
#              RESTASH_BENCH_SIZES the cache sizes (default "10000 100000")
#              RESTASH_BENCH_JOBS  build jobs (default 2)
#
# Every comparison is measured side by side: in each round the Restash command
# and its floor run one after the other. When the page cache can be dropped
# (root with a writable /proc/sys/vm/drop_caches) it is dropped before every
# timed command; otherwise every command runs warm and the table says so.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
RUNS=${1:-3}
DATA=${RESTASH_BENCH_DATA:-$ROOT/build-bench/data}
SIZES=${RESTASH_BENCH_SIZES:-"10000 100000"}
JOBS=${RESTASH_BENCH_JOBS:-2}
DOMAINS=1000
RARE_WORD=zeppelin
BUILD=$ROOT/build-bench
BIN=$BUILD/bin

[ -x /usr/bin/time ] || "$ROOT/scripts/install-deps.sh"

echo "Building (release) in $BUILD ..." >&2
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRESTASH_GUI=OFF -DRESTASH_TESTS=ON \
  -DRESTASH_BENCH=ON >/dev/null
ninja -C "$BUILD" -j "$JOBS" restash-cli generate_cache bench_core >/dev/null

mkdir -p "$DATA"
HOME_DIR=$DATA/home   # an empty program folder: no settings file is read
mkdir -p "$HOME_DIR"
CLI=("$BIN/restash-cli" --quiet --program-dir "$HOME_DIR")
cli_has() { "${CLI[@]}" --help 2>/dev/null | grep -qE "^  $1 "; }

# --- the page cache ---------------------------------------------------------
COLD=no
if [ "$(id -u)" -eq 0 ] && sync && (echo 3 >/proc/sys/vm/drop_caches) 2>/dev/null; then COLD=yes; fi
flush() {
  sync
  if [ "$COLD" = yes ]; then echo 3 >/proc/sys/vm/drop_caches; fi
}

# --- outputs ----------------------------------------------------------------
# Without a journal, ext4 skips inodes freed less than a minute ago when it
# makes new files, one by one: creating 100,000 files right after deleting
# 100,000 others costs minutes. So nothing is deleted while timing: every run
# writes into a folder of its own, and old outputs go before the first run,
# followed by a pause.
OUT=$DATA/out
if [ -e "$OUT" ]; then
  echo "Removing the outputs of the last benchmark and waiting 65 s ..." >&2
  rm -rf "$OUT"
  sync
  sleep 65
fi
mkdir -p "$OUT"

# --- the caches ---------------------------------------------------------------
cache_dir() { echo "$DATA/hash-$1"; }
for n in $SIZES; do
  dir=$(cache_dir "$n")
  want="generate_cache $(sha1sum <"$ROOT/tools/generate_cache.cpp" | cut -c1-12) --entries $n --domains $DOMAINS"
  if [ "$(cat "$dir/.generated" 2>/dev/null)" != "$want" ]; then
    echo "Generating $n entries over $DOMAINS domains in $dir ..." >&2
    rm -rf "$dir"
    "$BIN/generate_cache" --out "$dir" --form hash --entries "$n" --domains "$DOMAINS" --seed 1 >/dev/null
    echo "$want" >"$dir/.generated"
  fi
  # The cache files a run over every entry copies: what cp copies.
  "$BIN/bench_core" copied "$dir/FAT.DB" >"$OUT/copied-$n.txt"
done

# --- timing -------------------------------------------------------------------
# time_run KEY CMD...: one timed run; appends "seconds peak-kilobytes" to $OUT/KEY.
time_run() {
  local key=$1; shift
  flush
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$OUT/.time" "$@" >/dev/null 2>"$OUT/.stderr" || {
    echo "failed: $*" >&2; cat "$OUT/.stderr" >&2; exit 1; }
  end=$(date +%s%N)
  echo "$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }') $(tail -1 "$OUT/.time")" >>"$OUT/$key"
}
median() { sort -g | awk '{v[NR]=$1} END {printf "%.3f", (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
secs() { cut -d' ' -f1 "$OUT/$1" | median; }
peak_mb() { cut -d' ' -f2 "$OUT/$1" | sort -g | tail -1 | awk '{printf "%.0f", $1/1024}'; }

uncache_cmd() {  # uncache_cmd N RUN
  local parent=$OUT/copy-uncache-$1-$2/
  mkdir -p "$parent"
  if cli_has uncache; then
    echo "${CLI[*]} uncache --cache $(cache_dir "$1")/FAT.DB --offline $parent --types text,media,other"
  else
    echo "$BIN/bench_core uncache $(cache_dir "$1")/FAT.DB $parent"
  fi
}
search_cmd() {  # search_cmd PARENT
  if cli_has search; then
    echo "${CLI[*]} search --offline $1 $RARE_WORD"
  else
    echo "$BIN/bench_core search $1 $RARE_WORD"
  fi
}

for n in $SIZES; do
  dir=$(cache_dir "$n")
  echo "Timing $n entries ($RUNS runs) ..." >&2
  for ((r = 1; r <= RUNS; r++)); do
    time_run "read-$n" "${CLI[@]}" list --cache "$dir/FAT.DB"
    time_run "readfloor-$n" sh -c 'cat "$1/FAT.DB" >/dev/null && ls -f "$1" >/dev/null' sh "$dir"
    read -ra cmd <<<"$(uncache_cmd "$n" "$r")"
    time_run "uncache-$n" "${cmd[@]}"
    mkdir -p "$OUT/copy-cp-$n-$r"
    time_run "cp-$n" xargs -a "$OUT/copied-$n.txt" cp -t "$OUT/copy-cp-$n-$r"
  done
  # The search reads the pages of the last run; grep reads the same files.
  offline=$OUT/copy-uncache-$n-$RUNS/OFFLINE/
  awk -v root="$offline" 'NR % 3 == 0 { sub(/\r$/, ""); print root $0 }' "$offline/HTMLIST" >"$OUT/pages-$n.txt"
  read -ra cmd <<<"$(search_cmd "$OUT/copy-uncache-$n-$RUNS/")"
  for ((r = 1; r <= RUNS; r++)); do
    time_run "search-$n" "${cmd[@]}"
    time_run "grep-$n" sh -c 'xargs -a "$1" grep -F -i -l "$2"; s=$?; [ $s -eq 0 ] || [ $s -eq 123 ]' \
      sh "$OUT/pages-$n.txt" "$RARE_WORD"
  done
  { xargs -a "$OUT/pages-$n.txt" grep -F -i -l "$RARE_WORD" || true; } | wc -l >"$OUT/grephits-$n"
  time_run "selection-$n" "$BIN/bench_core" selection "$dir/FAT.DB" 5
  "$BIN/bench_core" selection "$dir/FAT.DB" 5 >"$OUT/selection-$n.txt"
  echo "$(wc -l <"$OUT/pages-$n.txt")" >"$OUT/pagecount-$n"
done

# --- the table ------------------------------------------------------------------
SMALL=$(echo $SIZES | awk '{print $1}')
BIG=$(echo $SIZES | awk '{print $NF}')
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v + 0 <= t + 0) ? "met" : "MISSED" }'; }
sel() { awk -v k="$2" '$1 == k { print $2 }' "$OUT/selection-$1.txt"; }

row() {  # row NAME KEY FLOORKEY FLOORNAME TARGET
  local name=$1 key=$2 floor=$3 floorname=$4 target=$5
  local rs fs rb fb
  rs=$(secs "$key-$SMALL"); fs=$(secs "$floor-$SMALL")
  rb=$(secs "$key-$BIG"); fb=$(secs "$floor-$BIG")
  local r; r=$(ratio "$rb" "$fb")
  printf '| %s | %s s | %s s (%s) | %s s | %s s | **%sx** (<= %sx: %s) | %sx / %sx | %s MB |\n' \
    "$name" "$rs" "$fs" "$floorname" "$rb" "$fb" "$r" "$target" "$(verdict "$r" "$target")" \
    "$(ratio "$rb" "$rs")" "$(ratio "$fb" "$fs")" "$(peak_mb "$key-$BIG")"
}

commit=$(git -C "$ROOT" rev-parse --short HEAD 2>/dev/null || echo unknown)
git -C "$ROOT" diff --quiet HEAD 2>/dev/null || commit="$commit (with uncommitted changes)"
disk=$(df -h "$DATA" | awk 'NR == 2 { print $1 ", " $2 " (" $4 " free)" }')
rota=$(lsblk -dno ROTA "$(df "$DATA" | awk 'NR == 2 { print $1 }')" 2>/dev/null | head -1 || true)
[ "$rota" = 0 ] && disk="$disk, not rotating"
[ "$rota" = 1 ] && disk="$disk, rotating"

echo
echo "Restash benchmark, commit $commit, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Machine: $(nproc) cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')), $(free -g | awk '/^Mem:/ { print $2 }') GB memory, disk $disk; load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Hash caches of $SIZES entries over $DOMAINS domains; median of $RUNS runs; page cache $([ "$COLD" = yes ] && echo "dropped before every command (cold)" || echo "not dropped (warm runs: no permission)")."
echo
echo "| Command | $SMALL | floor $SMALL | $BIG | floor $BIG | ratio at $BIG | growth Restash / floor | peak RSS at $BIG |"
echo "|---|---|---|---|---|---|---|---|"
row "index read (\`list\`)" read readfloor "cat FAT.DB + ls -f" 1.5
row "uncache, every entry" uncache cp "cp of the same cache files" 2.0
row "search \"$RARE_WORD\" ($(cat "$OUT/pagecount-$BIG") pages, grep finds it in $(cat "$OUT/grephits-$BIG"))" search grep "grep -F -i -l" 1.5
selrow() {  # selrow NAME KEY
  local a b; a=$(sel "$SMALL" "$2"); b=$(sel "$BIG" "$2")
  printf '| %s | %s ms | | %s ms | | (< 50 ms: %s) | %sx | %s MB |\n' \
    "$1" "$a" "$b" "$(verdict "$b" 49.999)" "$(ratio "$b" "$a")" "$(peak_mb "selection-$BIG")"
}
selrow "selection, filter change ($(sel "$BIG" domains) domains)" rebuild_ms
selrow "selection, move half the domains" move_ms
gu=$(ratio "$(secs "uncache-$BIG")" "$(secs "uncache-$SMALL")")
echo
echo "Uncache growth $SMALL -> $BIG: ${gu}x (<= 11x: $(verdict "$gu" 11)). Peak memory under 150 MB at $BIG for every command: $(
  m=0; for k in read uncache search selection; do v=$(peak_mb "$k-$BIG"); [ "$v" -gt "$m" ] && m=$v; done
  echo "largest ${m} MB, $(verdict "$m" 149)")."

# The outputs of the runs go; the caches stay for the next benchmark.
rm -rf "$OUT"/copy-*
