#!/bin/bash
# End to end with the real X pointer: with HideWindow on, the pointer over the meter hides
# it, and once the pointer has left the area the meter comes back. Control held in another
# program that is in front keeps it shown.
#   hover.sh <build-dir> <ripplet.exe> <front_program.exe>
build=$(cd "$1" && pwd) exe=$2 front=$3 name=hovermeter
source "$(dirname "$0")/lib.sh"

shown() { xdotool search --onlyvisible --pid "$meter" --name '^Ripplet$' >/dev/null 2>&1; }
# Small moves over the meter until it hides, for up to 5 s; true when it did.
hides_under_pointer() {
  xdotool mousemove $((x + 20)) $((y + 20))
  for _ in $(seq 50); do shown || return 0; sleep 0.1; xdotool mousemove_relative 1 0; done
  ! shown
}
# Back within the re-show check (every 100 ms), long before the 30 s sampling tick.
comes_back() {
  xdotool mousemove $((x - 50)) $((y - 50))
  for _ in $(seq 100); do shown && return 0; sleep 0.05; done
  return 1
}

xdotool mousemove 1279 1023  # well away from where the meter opens
start '[Settings]\r\nAdapterName=lo\r\nHideWindow=1\r\nInterval=30000\r\n[Window]\r\nLeft=200\r\nTop=300\r\n'
IFS=, read -r x y <<<"$(position "$id")"

hides_under_pointer || fail "did not hide under the pointer"
echo "hidden under the pointer"
start_ms=$(date +%s%3N)
comes_back || fail "did not come back"
echo "back $(( $(date +%s%3N) - start_ms )) ms after the pointer left"

# Control held while another program is in front: the key goes to that program, and the
# meter's own thread never sees it.
(cd "$work" && exec "$harness/wine-run" "$build" "$front" 'Z:'"${work//\//\\}"'\release') \
  </dev/null >"$work/front.out" 2>/dev/null &
in_front=$!
for _ in $(seq 200); do grep -q front "$work/front.out" 2>/dev/null && break; sleep 0.05; done
grep -q front "$work/front.out" || fail "the other program did not come to the front"
xdotool keydown Control_L
xdotool mousemove $((x + 20)) $((y + 20))
for _ in $(seq 20); do sleep 0.1; xdotool mousemove_relative 1 0; done
held_shown=no; shown && held_shown=yes
xdotool keyup Control_L
[ "$held_shown" = yes ] || fail "hid under the pointer while Control was held in the program in front"
echo "Control held in another program: still shown after 20 moves over it"
hides_under_pointer || fail "did not hide once Control was let go"
echo "Control let go: hidden under the pointer"
touch "$work/release"
wait "$in_front"
comes_back || fail "did not come back the second time"
stop
echo "4 passed, 0 failed"
