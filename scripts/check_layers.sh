#!/usr/bin/env bash
# Checks the shape of the sources: the folders of src/core include each other
# without a circle, and neither the core nor the command line speaks in the
# desktop program's window events (their names belong to src/gui).
#   scripts/check_layers.sh [SOURCE_ROOT]
set -uo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
status=0

# One "from to" line per folder that includes another; tsort finds a circle.
edges=$(
  for dir in "$root"/src/core/*/; do
    from=$(basename "$dir")
    echo "$from $from"
    grep -rhoE '#include "core/[a-z_]+/' "$dir" | sed -E 's#.*core/([a-z_]+)/#\1#' | sort -u |
      while read -r to; do [ "$to" = "$from" ] || echo "$from $to"; done
  done
)
if ! loop=$(printf '%s\n' "$edges" | tsort 2>&1 >/dev/null); then
  echo "src/core folders include each other in a circle:"
  printf '%s\n' "$loop" | sed -n 's/^tsort: //p' | grep -v 'input contains a loop'
  status=1
fi

# Window-event names: ...ButtonClick, ...BtnClick, ...BoxChange, ...BoxClick,
# FormPaint, FormShow, FatPanel, HDWBox.
events='[A-Za-z]*(ButtonClick|BtnClick|BoxChange|BoxClick)|FormPaint|FormShow|FatPanel|HDWBox'
if hits=$(grep -rnE "$events" "$root/src/core" "$root/src/cli"); then
  echo "window-event names outside src/gui:"
  printf '%s\n' "$hits"
  status=1
fi
exit $status
