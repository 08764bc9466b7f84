#!/bin/bash
# End to end from the keyboard alone: Shift+F10 and the menu key open the context menu at
# the meter's top-left corner (the platform turns both into WM_CONTEXTMENU at -1,-1, for
# the window that has the focus); in the About dialog, Tab reaches each link and Enter or
# Space opens it. A link counts as opened when wine's browser launcher starts the desktop's
# opener (xdg-email for mail, xdg-open for the web), which stand-ins on PATH record here.
#   keyboard.sh <build-dir> <ripplet.exe>
build=$(cd "$1" && pwd) exe=$2 name=keysmeter
source "$(dirname "$0")/lib.sh"

mkdir -p "$work/bin"
for opener in xdg-open xdg-email; do
  printf '#!/bin/sh\necho "%s $*" >>"%s"\n' "$opener" "$work/opened.log" >"$work/bin/$opener"
  chmod +x "$work/bin/$opener"
done
export PATH="$work/bin:$PATH"

start '[Settings]\r\nAdapterName=lo\r\n'
IFS=, read -r mx my <<<"$(position "$id")"

# menu_key <keys...>: the keys open the menu with the meter in the foreground, at its corner.
menu_key() {
  local before x y menu
  xdotool windowactivate --sync "$id" 2>/dev/null || true; sleep 0.3
  before=$(windows)
  xdotool key "$@"
  for _ in $(seq 30); do [ "$(windows)" -gt "$before" ] && break; sleep 0.1; done
  [ "$(windows)" -gt "$before" ] || fail "$* opened no menu"
  menu=$(xdotool search --onlyvisible --class "$name.exe" 2>/dev/null | grep -vx "$id" | tail -1)
  IFS=, read -r x y <<<"$(position "$menu")"
  # The client area starts inside the sizing frame: a few pixels from the window's corner.
  [ $((x - mx)) -ge 0 ] && [ $((x - mx)) -le 8 ] && [ $((y - my)) -ge 0 ] && [ $((y - my)) -le 8 ] ||
    fail "$*: the menu is at $x,$y, the meter at $mx,$my"
  echo "$*: the menu opened at $x,$y (meter at $mx,$my)"
}
menu_key shift+F10
xdotool key Escape; sleep 0.3
menu_key Menu
# The About dialog, then its links from the keyboard.
xdotool key a
wait_window 'バージョン情報' "the About dialog"; about=$found
xdotool windowactivate --sync "$about" 2>/dev/null || true; sleep 0.3

# opened <pattern>: the stand-in opener recorded a line matching it.
opened() {
  for _ in $(seq 100); do grep -q "$1" "$work/opened.log" 2>/dev/null && return 0; sleep 0.1; done
  cat "$work/opened.log" 2>/dev/null || true
  fail "nothing opened $1"
}
xdotool key Tab Return
opened '^xdg-email mailto:ripplet@example.org$'
echo "Tab, Enter: the mail link opened"
xdotool windowactivate --sync "$about" 2>/dev/null || true; sleep 0.3
xdotool key Tab space
opened '^xdg-open https://example.org/ripplet/$'
echo "Tab, Space: the web link opened"
xdotool search --onlyvisible --name '^バージョン情報$' >/dev/null 2>&1 || fail "a link closed the dialog"
xdotool windowactivate --sync "$about" 2>/dev/null || true
xdotool key Escape; sleep 0.3
stop
echo "4 passed, 0 failed"
