#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for MINUTES,
# then prints executions and findings per target.
# Usage: fuzz/run-fuzzers.sh MINUTES [TARGET...]
#   FUZZ_JOBS=N  targets run side by side (default 2); they run under nice.
# New inputs go to build-fuzz/corpus/<target>/, findings (crash-*, timeout-*,
# leak-*, oom-*) to build-fuzz/findings/<target>/; the seed corpora in
# fuzz/corpus/ are only read.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
minutes="${1:?usage: $0 MINUTES [TARGET...]}"
shift
jobs="${FUZZ_JOBS:-2}"
build="$here/build-fuzz"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$here"/fuzz/targets/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRESTASH_FUZZ=ON -DRESTASH_GUI=OFF >/dev/null
nice cmake --build "$build" -j "$jobs" --target "${targets[@]/#/fuzz_}"

run_one() {
  local t="$1"
  local corpus="$build/corpus/$t" findings="$build/findings/$t" log="$build/logs/$t.log"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  rm -f "$findings"/*
  # libFuzzer ends with status 0 when the time is up and non-zero on a finding.
  nice "$build/bin/fuzz_$t" -max_len=1048576 -timeout=1 -max_total_time=$((minutes * 60)) \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$here/fuzz/corpus/$t" >"$log" 2>&1 || true
}

running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait

printf '%-16s %8s %14s %9s\n' target minutes executions findings
status=0
for t in "${targets[@]}"; do
  log="$build/logs/$t.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$build/findings/$t" -type f | wc -l)
  printf '%-16s %8s %14s %9s\n' "$t" "$minutes" "${runs:-?}" "$found"
  if [ "$found" -ne 0 ]; then
    status=1
    find "$build/findings/$t" -type f -printf '  %p\n'
  fi
done
exit $status
