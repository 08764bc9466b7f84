#!/bin/bash
# End to end with real X input: dragging the graph moves the meter; a locked meter stays.
#   drag.sh <build-dir> <ripplet.exe>
set -euo pipefail
build=$(cd "$1" && pwd)
exe=$2
export DISPLAY; DISPLAY=$(cat "$build/wine/display")
work=$(mktemp -d)
trap '[ -n "$meter" ] && kill $meter 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$exe" "$work/dragmeter.exe"

fail() { echo "FAIL: $*"; exit 1; }

# Starts the meter on an INI and waits for its window: sets meter (pid) and id (window).
meter=
start() {
  printf '[Settings]\r\nAdapterName=lo\r\nLockWindow=%s\r\n[Window]\r\nLeft=200\r\nTop=300\r\n' \
    "$1" >"$work/dragmeter.ini"
  "$(dirname "$0")/../harness/wine-run" "$build" "$work/dragmeter.exe" </dev/null >/dev/null 2>&1 &
  meter=$!
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name '^Ripplet$' 2>/dev/null | head -1 || true)
    [ -n "$id" ] && return
    sleep 0.1
  done
  fail "the meter's window did not appear"
}

position() { xdotool getwindowgeometry "$1" | awk '/Position/ { print $2 }'; }

stop() {
  "$(dirname "$0")/../harness/wine-run" "$build" taskkill /im dragmeter.exe >/dev/null 2>&1 || true
  for _ in $(seq 50); do kill -0 $meter 2>/dev/null || break; sleep 0.1; done
  wait $meter 2>/dev/null || true
}

drag() {  # from a point 40,20 inside the window, by 120,60
  local id=$1 x y
  IFS=, read -r x y <<<"$(position "$id")"
  xdotool mousemove $((x + 40)) $((y + 20)); sleep 0.3
  xdotool mousedown 1; sleep 0.3
  for step in 1 2 3 4; do
    xdotool mousemove $((x + 40 + 30 * step)) $((y + 20 + 15 * step)); sleep 0.1
  done
  sleep 0.2; xdotool mouseup 1; sleep 0.5
}

start 0
before=$(position "$id")
drag "$id"
after=$(position "$id")
stop
IFS=, read -r bx by <<<"$before"; IFS=, read -r ax ay <<<"$after"
[ $((ax - bx)) -eq 120 ] && [ $((ay - by)) -eq 60 ] || fail "unlocked drag: $before -> $after"
grep -q $'^Left='"$ax"$'\r$' "$work/dragmeter.ini" || fail "the new position was not saved"
echo "unlocked: $before -> $after"

start 1
before=$(position "$id")
drag "$id"
after=$(position "$id")
stop
[ "$before" = "$after" ] || fail "locked drag moved the window: $before -> $after"
echo "locked: stays at $after"
echo "1 passed, 0 failed"
