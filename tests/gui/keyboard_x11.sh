#!/usr/bin/env bash
# The desktop program under a real X server, driven from the keyboard as a
# user drives it: two Xvfb displays with Openbox, keys sent with xdotool.
#  - View Offline Index starts a browser whose file name is longer than 12
#    characters (a script that records its argument) on the index page;
#  - in Setup, Enter on the focused Cancel leaves RESTASH.INI unchanged;
#  - Enter on the delete question deletes nothing (No is its default), and
#    Enter on the focused Cancel of the selection window starts no run;
#  - a second start on the same display with the same home ends without a
#    second window; a start on another display with another home opens its own;
#  - "No Files To Uncache." comes back from Help with the focus on OK, and
#    Esc closes it.
# Skips (status 77) where no X server can be started.
# Usage: keyboard_x11.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src="$1"
build="$2"
skip() { echo "SKIP: $*"; exit 77; }
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work="$(mktemp -d)"
pids=()
cleanup() {
  kill "${watchdog:-}" 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# The whole drive is bounded: a window that never comes ends it here, with
# the servers and programs it started stopped by the trap above.
(
  trap 'kill "$sleeper" 2>/dev/null; exit 0' TERM
  sleep 50 >/dev/null 2>&1 </dev/null &
  sleeper=$!
  wait "$sleeper"
  echo "FAIL: the keyboard drive took longer than 50 s" >&2
  kill -TERM $$
) &
watchdog=$!
trap 'exit 1' TERM
fail() {
  echo "FAIL: $*" >&2
  for d in "${displays[@]}"; do
    echo "windows on $d:" >&2
    DISPLAY=$d xdotool search --onlyvisible --name . getwindowname %@ >&2 2>/dev/null
  done
  cat "$work"/*.log >&2 2>/dev/null
  exit 1
}

# A display of its own: Xvfb picks a free number, Openbox manages it.
displays=()
start_display() {
  local file="$work/display.$1"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$file" 2>"$work/xvfb.$1.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
  [ -s "$file" ] || skip "no X server could be started"
  local display=":$(head -n1 "$file")"
  DISPLAY=$display openbox --sm-disable >"$work/openbox.$1.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do
    DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  displays+=("$display")
}
start_display a
start_display b
A=${displays[0]}
B=${displays[1]}

# Visible windows titled exactly $2 on display $1, splash windows left out.
windows() {
  local id
  for id in $(DISPLAY=$1 xdotool search --onlyvisible --name "^$2\$" 2>/dev/null); do
    DISPLAY=$1 xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q SPLASH || echo "$id"
  done
}
# Waits for such a window (up to 15 s) and for it to have the keyboard
# focus, so that the keys sent next reach it; prints its id.
wait_window() {
  local id
  for _ in $(seq 150); do
    id=$(windows "$1" "$2" | head -n1)
    if [ -n "$id" ]; then
      for _ in $(seq 50); do
        DISPLAY=$1 xdotool windowactivate --sync "$id" 2>/dev/null
        [ "$(DISPLAY=$1 xdotool getwindowfocus 2>/dev/null)" = "$id" ] && break
        sleep 0.1
      done
      sleep 0.3
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no window \"$2\" on $1"
}
wait_gone() {
  for _ in $(seq 100); do [ -z "$(windows "$1" "$2")" ] && return 0; sleep 0.1; done
  fail "window \"$2\" on $1 did not close"
}
keys() {
  local display=$1
  shift
  DISPLAY=$display xdotool key --delay 80 "$@"
  sleep 0.3
}

# The browser: a program with a long file name that records what it opens.
mkdir -p "$work/bin" "$work/user" "$work/run" && chmod 700 "$work/run"
browser="$work/bin/record-the-argument"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s/opened"\n' "$work" >"$browser"
chmod +x "$browser"
touch "$work/opened"

# Home 1: a copy of the sample hash-form cache and an index page to view.
# Home 2: a text-form cache that holds nothing.
mkdir -p "$work/home1" "$work/home2" "$work/cache1" "$work/cache2" "$work/out1/OFFLINE" "$work/out2"
cp "$src"/samples/hash-cache/* "$work/cache1/"
printf 'MCOM-Cache-file-allocation-table-format-1\r\n' >"$work/cache2/FAT"
echo '<HTML></HTML>' >"$work/out1/OFFLINE/HTMINDEX.HTM"
for n in 1 2; do
  index=$([ $n = 1 ] && echo FAT.DB || echo FAT)
  printf '[paths]\r\ncachedir=%s\r\nhistpath=%s\r\nnetspath=%s\r\nofflinedir=%s\r\n' \
    "$work/cache$n/$index" "$work/cache$n/none.hst" "$browser" "$work/out$n/" >"$work/home$n/RESTASH.INI"
done
cp "$work/home1/RESTASH.INI" "$work/ini.before"

# Becomes the program, so it is run in the background or in a subshell (and
# the id the script keeps is the program's): restash DISPLAY HOME [PREFIX...]
restash() {
  local display=$1 home=$2
  shift 2
  exec "$@" env -u QT_QPA_PLATFORM DISPLAY="$display" RESTASH_HOME="$home" HOME="$work/user" XDG_RUNTIME_DIR="$work/run" \
    XDG_CONFIG_HOME="$work/user/.config" XDG_DATA_HOME="$work/user/.local/share" \
    "$build/bin/restash" >>"$work/restash.log" 2>&1
}

restash "$A" "$work/home1" &
pids+=($!)
wait_window "$A" Restash >/dev/null

# The focus starts on the first button; View Offline Index is the next.
keys "$A" Tab Return
for _ in $(seq 50); do grep -q . "$work/opened" && break; sleep 0.1; done
[ "$(cat "$work/opened")" = "$work/out1/OFFLINE/HTMINDEX.HTM" ] ||
  fail "the browser was not started on the index page: $(cat "$work/opened")"

# Setup opens with the focus on Cancel: an edit, Tab back to Cancel, Enter.
keys "$A" Tab Tab Return
wait_window "$A" "Restash - Setup" >/dev/null
keys "$A" alt+p x Tab Tab Tab Tab Tab Tab Tab Return
wait_gone "$A" "Restash - Setup"
cmp -s "$work/ini.before" "$work/home1/RESTASH.INI" || fail "Enter on Cancel in Setup changed RESTASH.INI"

# The selection window opens with the focus on the domain list; every domain
# is chosen, so Tab passes the two moves to the right (greyed), the two to
# the left and the chosen list to Uncache, then Delete. Enter on Delete asks;
# Enter on the question answers No; the focus is back on Delete, so Tab
# reaches Cancel and Enter there closes the window without a run.
wait_window "$A" Restash >/dev/null
keys "$A" shift+Tab shift+Tab shift+Tab Return
wait_window "$A" "Restash - Selection Criteria" >/dev/null
sleep 1
keys "$A" Tab Tab Tab Tab Tab Return
wait_window "$A" Confirm >/dev/null
keys "$A" Return
wait_gone "$A" Confirm
diff -r "$src/samples/hash-cache" "$work/cache1" >/dev/null || fail "Enter on the delete question deleted files"
keys "$A" Tab Return
wait_gone "$A" "Restash - Selection Criteria"
[ ! -e "$work/out1/OFFLINE/HTMLIST" ] || fail "Enter on Cancel in the selection window started a run"

# A second start in the same place: no second window, status 0.
(restash "$A" "$work/home1" timeout 20) || fail "the second start on the same display ended with status $?"
[ "$(windows "$A" Restash | wc -l)" = 1 ] || fail "a second start on the same display opened a window"

# Another display and another home: a window of its own.
restash "$B" "$work/home2" &
pids+=($!)
wait_window "$B" Restash >/dev/null
keys "$B" Return
wait_window "$B" "Restash - Selection Criteria" >/dev/null
sleep 1
# Help, then Enter: the box is back with the focus on OK, so Enter closes it.
keys "$B" alt+u
wait_window "$B" Warning >/dev/null
keys "$B" Tab Return
for _ in $(seq 50); do grep -q 'context-11' "$work/opened" && break; sleep 0.1; done
wait_window "$B" Warning >/dev/null
keys "$B" Return
wait_gone "$B" Warning
[ "$(grep -c 'context-11' "$work/opened")" = 1 ] || fail "Help of \"No Files To Uncache.\" opened $(grep -c 'context-11' "$work/opened") times"
# Esc closes the box as OK; the selection window stays.
keys "$B" alt+u
wait_window "$B" Warning >/dev/null
keys "$B" Escape
wait_gone "$B" Warning
[ -n "$(windows "$B" "Restash - Selection Criteria")" ] || fail "Esc on the box closed the selection window"
keys "$B" Escape
wait_gone "$B" "Restash - Selection Criteria"
echo "keyboard under X11: all good"
