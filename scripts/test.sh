#!/usr/bin/env bash
# Installs what Restash needs, builds it with warnings as errors, and runs
# every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build" -DRESTASH_WERROR=ON
# The web-archive tests read every archive they write with warcio, an
# independent WARC reader, installed into the build tree only.
mkdir -p "$here/build/warcio"
cp "$here/tests/core/export/warcio/package.json" "$here/tests/core/export/warcio/package-lock.json" "$here/build/warcio/"
(cd "$here/build/warcio" && npm ci --no-audit --no-fund --loglevel=error)
export RESTASH_REQUIRE_WARCIO=1
cd "$here/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc)" --timeout 600
