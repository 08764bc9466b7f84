#!/bin/bash
# End to end: DLLs of the names the program loads, laid beside the exe as a download
# folder might hold them, with the loader told to prefer such files (native first). The
# meter starts, opens its help, the Options dialog with its colour and font pickers, and
# the About dialog, answers an assistive program, and closes; none of the planted DLLs ran
# (each leaves <file>.ran).
#   planted.sh <build-dir> <ripplet.exe> <ripplet.chm> <planted.dll> <ask_tree.exe>
build=$(cd "$1" && pwd) exe=$2 chm=$3 planted=$4 ask_tree=$5 name=plantmeter
source "$(dirname "$0")/lib.sh"
cp "$chm" "$work/$name.chm"

# Every library the meter loads once it runs. Left out: what wine's own system
# DLLs load through its loader's default path, ignoring the program's restriction (user32
# needs version.dll before the program starts, imm32 delay-loads ole32.dll with its
# combase.dll and rpcrt4.dll, uxtheme msimg32.dll). Windows takes those from the system folder (known DLLs and their
# dependencies; delay loads follow the default directories).
libraries="iphlpapi.dll dnsapi.dll nsi.dll hhctrl.ocx comctl32.dll comdlg32.dll shell32.dll
  uxtheme.dll oleacc.dll shcore.dll shlwapi.dll oleaut32.dll mpr.dll
  ws2_32.dll wininet.dll urlmon.dll itss.dll ieframe.dll compstui.dll winspool.drv"
overrides=
for library in $libraries; do
  cp "$planted" "$work/$library"
  overrides+="${overrides:+,}${library%.dll}"
done
export RIPPLET_WINEDLLOVERRIDES="$overrides=n,b"
# The loader's trace says where every library came from.
log=$work/loaddll.log
export RIPPLET_WINEDEBUG=-all,+loaddll
ran() { ls "$work"/*.ran 2>/dev/null | xargs -rn1 basename | sed 's/\.ran$//' | tr '\n' ' '; }
check() {
  [ -z "$(ran)" ] && { echo "$1: no planted DLL ran"; return; }
  cp "$log" "$build/e2e_planted_loaddll.log"
  fail "$1: planted $(ran)ran (the loader's trace in $build/e2e_planted_loaddll.log)"
}

# A window that never appears: a planted DLL that ran is the likelier cause; else the screen.
window_missing() {
  check "$1"
  import -window root "$build/e2e_planted_failure.png"
  echo "the screen in $build/e2e_planted_failure.png"
}
on_wait_failure=window_missing

# The loader's trace is kept in $log; a window that never appears is first put down to a
# planted DLL that ran.
on_start_failure='check start' start '[Settings]\r\nAdapterName=lo\r\n'
check "start"

right_click; xdotool key h
wait_window 'Ripplet ヘルプ' "the help window"
check "help"

# Options, then its colour picker (Alt+R) and font picker (Alt+F), each closed with Escape.
right_click; xdotool key o
wait_window 'オプション' "the Options dialog"
dialog=$found
for picker in alt+r alt+f; do
  sleep 0.3; xdotool windowactivate --sync "$dialog" 2>/dev/null || true
  before=$(windows); xdotool key $picker
  for _ in $(seq 50); do [ "$(windows)" -gt "$before" ] && break; sleep 0.1; done
  [ "$(windows)" -gt "$before" ] || fail "$picker opened no picker"
  sleep 0.5; xdotool key Escape; sleep 0.5
done
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key Escape; sleep 0.5
check "Options and its pickers"

right_click; xdotool key a
wait_window 'バージョン情報' "the About dialog"
sleep 0.5; xdotool key Escape; sleep 0.5
check "About"
# The accessibility libraries load only when an assistive program asks for the tree.
answer=$(RIPPLET_WINEDEBUG=-all "$harness/wine-run" "$build" "$ask_tree" | tr -d '\r' || true)
check "the accessible tree"
[[ "$answer" =~ ^[1-9][0-9]*\ children ]] || fail "the meter gave an assistive program no tree: $answer"
stop
check "close"

# Not a void check: each library the meter binds was loaded, from the system; the common
# controls in the version the manifest asks for.
system='Loaded L"C:\\windows\\system32\\'  # as the trace writes a path
for library in iphlpapi.dll hhctrl.ocx comdlg32.dll shell32.dll oleacc.dll; do
  grep -aiqF "$system$library\" at" "$log" || fail "$library was not loaded from the system"
done
grep -aiq 'Loaded L"C:\\\\windows\\\\winsxs\\\\[^"]*common-controls[^"]*_6\.0\.[^"]*\\\\comctl32.dll' "$log" ||
  fail "the common controls were not version 6"
echo "the bound libraries came from the system folder, the common controls in version 6"
echo "7 passed, 0 failed"
