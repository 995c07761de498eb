#!/usr/bin/env bash
# Desktop integration: the launcher entry passes desktop-file-validate, the
# results-page type compiles into a MIME database that knows *.RSH, and
# `cmake --install` puts every file where the desktop looks for it.
# Usage: desktop_integration.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src="$1"
build="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$src/assets/restash.desktop" || fail "restash.desktop does not validate"

mkdir -p "$work/mime/packages"
cp "$src/assets/restash-rsh.xml" "$work/mime/packages/restash-rsh.xml"
update-mime-database "$work/mime" || fail "update-mime-database refused the package"
grep -q 'text/html:\*\.rsh' "$work/mime/globs2" || fail "*.rsh is not in the MIME database as HTML"

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
for f in bin/restash bin/restash-cli \
         share/applications/restash.desktop \
         share/icons/hicolor/scalable/apps/restash.svg \
         share/mime/packages/restash-rsh.xml \
         share/man/man1/restash.1 share/man/man1/restash-cli.1 \
         share/restash/restash-help.html; do
  [ -e "$work/prefix/$f" ] || fail "not installed: $f"
done
[ -x "$work/prefix/bin/restash" ] || fail "bin/restash is not executable"
for page in restash.1 restash-cli.1; do
  out="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$work/prefix/share/man/man1/$page" 2>&1 >/dev/null)"
  [ -z "$out" ] || fail "man $page: $out"
done
echo "desktop integration: all good"
