#!/bin/bash
# End to end with the real X pointer: with HideWindow on, the pointer over the meter hides
# it, and once the pointer has left the area the meter comes back.
#   hover.sh <build-dir> <ripplet.exe>
build=$(cd "$1" && pwd) exe=$2 name=hovermeter
source "$(dirname "$0")/lib.sh"

shown() { xdotool search --onlyvisible --pid "$meter" --name '^Ripplet$' >/dev/null 2>&1; }

xdotool mousemove 1279 1023  # well away from where the meter opens
start '[Settings]\r\nAdapterName=lo\r\nHideWindow=1\r\nInterval=30000\r\n[Window]\r\nLeft=200\r\nTop=300\r\n'
IFS=, read -r x y <<<"$(position "$id")"

# The first idle pass under the pointer only records the area; small moves give the next.
xdotool mousemove $((x + 20)) $((y + 20))
for _ in $(seq 50); do shown || break; sleep 0.1; xdotool mousemove_relative 1 0; done
shown && fail "did not hide under the pointer"
echo "hidden under the pointer"

# Back within the re-show check (every 100 ms), long before the 30 s sampling tick.
xdotool mousemove $((x - 50)) $((y - 50))
start_ms=$(date +%s%3N)
for _ in $(seq 50); do shown && break; sleep 0.05; done
shown || fail "did not come back"
echo "back $(( $(date +%s%3N) - start_ms )) ms after the pointer left"
stop
echo "2 passed, 0 failed"
