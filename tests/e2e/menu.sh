#!/bin/bash
# End to end with real X input: a right click opens the context menu; Options -> OK
# re-applies; Exit from the menu writes the INI.
#   menu.sh <build-dir> <ripplet.exe>
build=$(cd "$1" && pwd) exe=$2 name=menumeter
source "$(dirname "$0")/lib.sh"

start '[Settings]\r\nAdapterName=lo\r\nShowValue=1\r\n'
# Options: the dialog opens; Return is OK, which stores and re-applies.
right_click
xdotool key o
wait_window 'オプション' "the Options dialog"
sleep 0.3; xdotool key Return; sleep 0.5
xdotool search --onlyvisible --name "オプション" >/dev/null 2>&1 &&
  { import -window root "$build/e2e_menu_failure.png"; fail "OK did not close the dialog (screen in $build/e2e_menu_failure.png)"; }
echo "options: opened and closed with OK"

# Toggle "show values" off (P), then Exit (X): the INI records it.
right_click; xdotool key p; sleep 0.5
right_click; xdotool key x
wait_exit || fail "Exit did not end the program"
grep -q $'^ShowValue=0\r$' "$work/$name.ini" || fail "the toggle was not saved"
grep -q $'^Version=152\r$' "$work/$name.ini" || fail "Exit did not write the INI"
echo "menu: toggle and Exit saved"
echo "2 passed, 0 failed"
