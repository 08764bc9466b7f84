#!/bin/bash
# End to end: the context menu's help and the Options dialog's help button open the HTML
# Help window on the help file beside the exe, at the context-menu and Options topics.
#   help.sh <build-dir> <ripplet.exe> <ripplet.chm>
build=$(cd "$1" && pwd) exe=$2 chm=$3 name=helpmeter
source "$(dirname "$0")/lib.sh"
cp "$chm" "$work/$name.chm"

# Wine's help system traces the address of each topic it shows ("navigate_url").
log=$work/help.log
export RIPPLET_WINEDEBUG=-all,trace+htmlhelp

# wait_topic <page> <what>: the help window is open and the help system went to <page>.
wait_topic() {
  for _ in $(seq 100); do
    if xdotool search --onlyvisible --name '^Ripplet ヘルプ$' >/dev/null 2>&1 &&
       grep -aq "navigate_url .*$name.chm::/$1\"" "$log"; then
      echo "$2: the help window shows $1"; return 0
    fi
    sleep 0.1
  done
  import -window root "$build/e2e_help_failure.png"
  grep -a "navigate_url" "$log" || true
  fail "$2 did not open the help window at $1 (screen in $build/e2e_help_failure.png)"
}

start '[Settings]\r\nAdapterName=lo\r\n'  # the help trace goes to $log

# The context menu's "ヘルプ(&H)": context 4.
right_click
xdotool key h
wait_topic context_menu.htm "the menu's help"

# The Options dialog's "ヘルプ(&H)" button: context 6; the dialog stays open.
right_click
xdotool key o
wait_window 'オプション' "the Options dialog"; dialog=$found
sleep 0.3
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key alt+h
wait_topic options.htm "the Options dialog's help button"
xdotool search --onlyvisible --name '^オプション$' >/dev/null 2>&1 || fail "the help button closed the Options dialog"
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key Escape; sleep 0.3
stop
echo "2 passed, 0 failed"
