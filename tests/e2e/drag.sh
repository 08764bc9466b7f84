#!/bin/bash
# End to end with real X input: dragging the graph moves the meter; a locked meter stays.
#   drag.sh <build-dir> <ripplet.exe>
build=$(cd "$1" && pwd) exe=$2 name=dragmeter
source "$(dirname "$0")/lib.sh"

# A press that follows a click within the double-click time arrives as a double click: it
# must drag all the same.
second_press_drag() {
  local x y
  IFS=, read -r x y <<<"$(position "$id")"
  xdotool mousemove $((x + 300)) $((y + 40)) click 1; sleep 0.5
  xdotool mousemove $((x + 40)) $((y + 20)); sleep 0.3
  # The first press is held a moment, so that the meter starts (and ends) its move while the
  # button is down even on a loaded machine; the second comes well within 500 ms of it.
  xdotool mousedown 1; sleep 0.15; xdotool mouseup 1; sleep 0.1
  xdotool mousedown 1; sleep 0.3
  for step in 1 2 3 4; do
    xdotool mousemove $((x + 40 + 30 * step)) $((y + 20 + 15 * step)); sleep 0.1
  done
  sleep 0.2; xdotool mouseup 1; sleep 0.5
}

ini='[Settings]\r\nAdapterName=lo\r\nLockWindow=%s\r\n[Window]\r\nLeft=200\r\nTop=300\r\n'
start "$(printf "$ini" 0)"
before=$(position "$id"); drag; after=$(position "$id")
stop
IFS=, read -r bx by <<<"$before"; IFS=, read -r ax ay <<<"$after"
[ $((ax - bx)) -eq 120 ] && [ $((ay - by)) -eq 60 ] || fail "unlocked drag: $before -> $after"
grep -q $'^Left='"$ax"$'\r$' "$work/$name.ini" || fail "the new position was not saved"
echo "unlocked: $before -> $after"

start "$(printf "$ini" 1)"
before=$(position "$id"); drag; after=$(position "$id")
stop
[ "$before" = "$after" ] || fail "locked drag moved the window: $before -> $after"
echo "locked: stays at $after"

start "$(printf "$ini" 0)"
before=$(position "$id"); second_press_drag; after=$(position "$id")
stop
IFS=, read -r bx by <<<"$before"; IFS=, read -r ax ay <<<"$after"
[ $((ax - bx)) -eq 120 ] && [ $((ay - by)) -eq 60 ] || fail "double-click drag: $before -> $after"
echo "second press: $before -> $after"
echo "3 passed, 0 failed"
