#!/usr/bin/env bash
# Installs what Restash needs, builds it with warnings as errors, and runs
# every test: once in the normal build, once built with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$here/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen

# Both suites run even when the first fails; the status says whether either did.
status=0
"$here/scripts/build.sh" "$here/build" -DRESTASH_WERROR=ON
# The web-archive tests read every archive they write with warcio, an
# independent WARC reader, installed into the build tree only.
mkdir -p "$here/build/warcio"
cp "$here/tests/core/export/warcio/package.json" "$here/tests/core/export/warcio/package-lock.json" "$here/build/warcio/"
(cd "$here/build/warcio" && npm ci --no-audit --no-fund --loglevel=error)
export RESTASH_REQUIRE_WARCIO=1
# The replay check serves the WACZ packages the tests write with ReplayWeb.page
# and drives Debian's Chromium over them with puppeteer-core (no browser is
# downloaded: the packages' install scripts are not run).
mkdir -p "$here/build/replay"
cp "$here/tests/browser/replay/package.json" "$here/tests/browser/replay/package-lock.json" "$here/build/replay/"
(cd "$here/build/replay" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)
export RESTASH_REQUIRE_REPLAY=1
(cd "$here/build" && ctest --output-on-failure -j "$(nproc)" --timeout 600) || status=1

"$here/scripts/build.sh" "$here/build-sanitize" -DRESTASH_WERROR=ON -DRESTASH_SANITIZE=ON -DRESTASH_GUI=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g"
# New memory is zero-filled, as fresh pages from the system are: the DB 1.85
# library writes untouched parts of its page buffers into the hash files the
# fixtures compare byte for byte. Its own small leaks are suppressed.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:malloc_fill_byte=0:max_malloc_fill_size=1048576"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The sanitizer build uses the normal build's copies of warcio and ReplayWeb.page.
ln -sfn "$here/build/warcio" "$here/build-sanitize/warcio"
ln -sfn "$here/build/replay" "$here/build-sanitize/replay"
(cd "$here/build-sanitize" && ctest --output-on-failure -j "$(nproc)" --timeout 900) || status=1
exit $status
