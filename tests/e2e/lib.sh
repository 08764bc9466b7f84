# Shared by the xdotool end-to-end scripts: start the real meter on an INI of the test's,
# find its window, stop it politely. Source after setting build, exe and name.
#   build: the Windows build folder; exe: ripplet.exe; name: the copy's base name
set -euo pipefail
export DISPLAY; DISPLAY=$(cat "$build/wine/display")
harness=$(cd "$(dirname "${BASH_SOURCE[0]}")/../harness" && pwd)
work=$(mktemp -d)
meter=
# $on_exit, when set, runs first (a test's own clean-up).
trap '${on_exit:-:}; [ -n "$meter" ] && kill $meter 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cp "$exe" "$work/$name.exe"

fail() { echo "FAIL: $*"; exit 1; }

# start <ini text> [option...]: writes the INI, starts the meter in its folder with the
# options and waits for its window (sets id). The meter's error output goes to $log when
# set; $on_start_failure, when set, runs before a window that never appears fails the test.
start() {
  printf '%b' "$1" >"$work/$name.ini"
  (cd "$work" && exec "$harness/wine-run" "$build" "$work/$name.exe" "${@:2}") \
    </dev/null >/dev/null 2>"${log:-/dev/null}" &
  meter=$!
  for _ in $(seq 300); do
    # This meter's window only, not one another test left behind.
    id=$(xdotool search --onlyvisible --pid "$meter" --name '^Ripplet$' 2>/dev/null | head -1 || true)
    # Let the window manager finish mapping and placing it before any input.
    # (settle=0 skips that wait, to close the meter right after it is mapped.)
    [ -n "$id" ] && { sleep "${settle:-1}"; return; }
    sleep 0.1
  done
  ${on_start_failure:-:}
  fail "the meter's window did not appear"
}

# wait_window <title> <what>: sets found to the visible window of exactly that title, within
# 10 s. $on_wait_failure, when set, runs with <what> before a window that never appears fails.
wait_window() {
  found=
  for _ in $(seq 100); do
    found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$found" ] && return 0; sleep 0.1
  done
  ${on_wait_failure:-:} "$2"
  fail "$2 did not open"
}

# Wine's popup menu is an unnamed X window of the program's class; count them.
windows() { xdotool search --onlyvisible --class "$name.exe" 2>/dev/null | wc -l; }

# Opens the context menu with a right click on the graph, and waits until it shows.
right_click() {
  local x y before
  IFS=, read -r x y <<<"$(position "$id")"
  xdotool mousemove $((x + 40)) $((y + 20)); sleep 0.3
  before=$(windows)
  xdotool click 3
  for _ in $(seq 30); do [ "$(windows)" -gt "$before" ] && { sleep 0.2; return; }; sleep 0.1; done
  fail "no menu after a right click"
}

position() { xdotool getwindowgeometry "$1" | awk '/Position/ { print $2 }'; }

# Waits for the meter to exit by itself (after Exit), up to 10 s.
wait_exit() {
  for _ in $(seq 100); do kill -0 $meter 2>/dev/null || { wait $meter || true; meter=; return 0; }
    sleep 0.1; done
  return 1
}

# A polite close (WM_CLOSE), as a user closing the meter.
stop() {
  "$harness/wine-run" "$build" taskkill /im "$name.exe" >/dev/null 2>&1 || true
  wait_exit || fail "the meter did not close"
}

# Drags the graph with the real pointer from a point 40,20 inside the window, by 120,60.
drag() {
  local x y
  IFS=, read -r x y <<<"$(position "$id")"
  # A first click on the value labels (which start no move) activates the window.
  xdotool mousemove $((x + 300)) $((y + 40)) click 1; sleep 0.5
  xdotool mousemove $((x + 40)) $((y + 20)); sleep 0.3
  xdotool mousedown 1; sleep 0.3
  for step in 1 2 3 4; do
    xdotool mousemove $((x + 40 + 30 * step)) $((y + 20 + 15 * step)); sleep 0.1
  done
  sleep 0.2; xdotool mouseup 1; sleep 0.5
}
