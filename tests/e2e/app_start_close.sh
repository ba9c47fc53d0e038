#!/usr/bin/env bash
# The installer starts, shows its main window with the licence page, and Alt+F4 ends the
# run at once with exit code 0.
source "$(dirname "$0")/e2e_lib.sh"
exe=${1:?installer}

e2e_begin
e2e_start "$exe"
window=$(e2e_wait_window '^Velkaris App Pack \(Single User\)$')
e2e_log "main window $window is shown"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -gt 300 ] && [ "$HEIGHT" -gt 200 ] || e2e_fail "window is ${WIDTH}x${HEIGHT}"

e2e_keys "$window" alt+F4
e2e_expect_exit 0 20
e2e_window_gone '^Velkaris App Pack' || e2e_fail "window still shown after exit"
e2e_log "closed with exit code 0"
