#!/usr/bin/env bash
# Installs what Restash needs, builds it with warnings as errors, and runs
# every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build" -DRESTASH_WERROR=ON
cd "$here/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc)" --timeout 600
