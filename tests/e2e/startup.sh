#!/bin/bash
# End to end against the real registry: "Windows の起動時に開始(&W)" writes this copy's Run
# value and removes it; its mark (seen through what a click does: unchecked writes, checked
# removes) follows the registry, also when changed behind the meter's back: the same file
# spelt otherwise, a value left by a moved copy, a record that turns it off. A copy on
# another settings file (-i) has a value of its own. A key that refuses writing gives an
# error box and leaves the registry as it was.
#   startup.sh <build-dir> <ripplet.exe> <deny_key.exe>
build=$(cd "$1" && pwd) exe=$2 deny=$3 name=bootmeter
source "$(dirname "$0")/lib.sh"

run='Software\Microsoft\Windows\CurrentVersion\Run'
approved='Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
wine_reg() { "$harness/wine-run" "$build" reg "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# value <key> <name>: the value's data (empty when there is none).
value() { wine_reg query "HKCU\\$1" /v "$2" | sed -n 's/^    .*    REG_[A-Z]*    //p' || true; }
set_value() { wine_reg add "HKCU\\$1" /v "$2" /t "$3" /d "$4" /f >/dev/null; }
# A wine start that fails now and then on a loaded machine is tried again: deny and allow
# may run twice.
access() {
  local attempt
  for attempt in 1 2 3; do
    "$harness/wine-run" "$build" "$deny" "$1" "$2" </dev/null && return 0
    sleep 1
  done
  fail "deny_key $1 $2"
}
clean() {
  access allow "$run"; access allow "$approved"
  for key in "$run" "$approved"; do
    for v in Ripplet 'Ripplet (other.ini)'; do wine_reg delete "HKCU\\$key" /v "$v" /f >/dev/null || true; done
  done
}
on_exit=clean
clean

windows_path() { local p=${1//\//\\}; echo "Z:$p"; }
program=$(windows_path "$work/$name.exe")
ours="\"$program\""

# click: picks the item from the menu. expect <run value> <record>: within 10 s the registry
# holds them (empty: none), and still does a moment later.
click() { right_click; xdotool key w; }
expect() {
  local got
  for attempt in 1 2; do
    for _ in $(seq 50); do
      got="$(value "$run" Ripplet)|$(value "$approved" Ripplet)"
      [ "$got" = "$1|$2" ] && break; sleep 0.2
    done
    [ "$got" = "$1|$2" ] || fail "$3: the registry holds '$got', not '$1|$2'"
    [ $attempt = 1 ] && sleep 0.5
  done
  echo "$3"
}

start '[Settings]\r\nAdapterName=lo\r\n'
click; expect "$ours" "" "on: the value starts this copy"
set_value "$run" Ripplet REG_SZ "\"${program^^}\""
click; expect "" "" "the same file in other letter case counts as on: off removes it"
set_value "$run" Ripplet REG_SZ '"C:\Moved\bootmeter.exe"'
click; expect "$ours" "" "a value left by a moved copy counts as off: on replaces it"
set_value "$approved" Ripplet REG_BINARY 030000000000000000000000
click; expect "$ours" "" "a value turned off in the record counts as off: on removes the record"
set_value "$approved" Ripplet REG_BINARY 020000000000000000000000
click; expect "" "" "a record that says on counts as on: off removes value and record"

# Refused: the error box (with the application's title), and the registry as it was.
refused() {
  wait_window bootmeter "the error box ($1)"
  xdotool windowactivate --sync "$found" key Return 2>/dev/null || xdotool key Return
  for _ in $(seq 50); do xdotool search --onlyvisible --name '^bootmeter$' >/dev/null 2>&1 || return 0; sleep 0.1; done
  fail "the error box did not close"
}
access deny "$run"
click; refused "Run key"; expect "" "" "a Run key that refuses writing: an error, nothing written"
access allow "$run"
set_value "$approved" Ripplet REG_BINARY 030000000000000000000000
access deny "$approved"
click; refused "StartupApproved key"
expect "" 030000000000000000000000 "a record that cannot be removed: an error, the value taken back"
access allow "$approved"
wine_reg delete "HKCU\\$approved" /v Ripplet /f >/dev/null
stop

# Another settings file: a value of its own, naming it; the default copy's value untouched.
printf '[Settings]\r\nAdapterName=lo\r\n' >"$work/other.ini"
start '' -i:other
click
for _ in $(seq 50); do [ -n "$(value "$run" 'Ripplet (other.ini)')" ] && break; sleep 0.2; done
got=$(value "$run" 'Ripplet (other.ini)')
[ "$got" = "$ours -i:\"$(windows_path "$work/other.ini")\"" ] || fail "the -i copy wrote '$got'"
[ -z "$(value "$run" Ripplet)" ] || fail "the -i copy wrote the default copy's value"
echo "-i: its own value, naming its settings file"
click
for _ in $(seq 50); do [ -z "$(value "$run" 'Ripplet (other.ini)')" ] && break; sleep 0.2; done
[ -z "$(value "$run" 'Ripplet (other.ini)')" ] || fail "the -i copy did not remove its value"
echo "-i: off removes it"
stop
echo "9 passed, 0 failed"
