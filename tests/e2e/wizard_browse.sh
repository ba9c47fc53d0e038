#!/usr/bin/env bash
# The folder browser driven with the keyboard. The previous installation's folder (AppPath,
# stored in other letter case) is the start: a cancelled browse changes nothing; a browse
# accepted with Enter takes the preselected folder as the browser names it, with one final
# backslash; the next browse starts there, and Right, Down, Enter takes its subfolder.
source "$(dirname "$0")/wizard_common.sh"
exe=${1:?installer}

e2e_begin
mkdir -p "$WINEPREFIX/drive_c/velkaris-e2e/Picked Folder/Inner"
wine reg add 'HKCU\Software\Velkaris' /v AppPath /d 'C:\VELKARIS-E2E\PICKED FOLDER' /f \
  >/dev/null 2>&1 || e2e_fail "cannot set AppPath"
e2e_start "$exe"
window=$(e2e_wait_window "$wiz_title_regex")
e2e_keys "$window" Return Return
wiz_wait_page 2
wiz_wait_text 1005 'C:\VELKARIS-E2E\PICKED FOLDER\'
lines="$(wiz_text 1017) / $(wiz_text 1016)"

browser=$(browser_open "$window")
e2e_keys "$browser" Down Escape
browser_wait_closed
wiz_wait_text 1005 'C:\VELKARIS-E2E\PICKED FOLDER\'
[ "$(wiz_text 1017) / $(wiz_text 1016)" = "$lines" ] || e2e_fail "figures changed on cancel"
e2e_log "cancelled browse changed nothing"

browser=$(browser_open "$window")
browser_wait_selection 'Picked Folder'
e2e_keys "$browser" Return
browser_wait_closed
wiz_wait_text 1005 'C:\velkaris-e2e\Picked Folder\'
e2e_log "accepted browse took the preselected folder"

browser=$(browser_open "$window")
browser_wait_selection 'Picked Folder'
# Right opens the folder, which shows only once Down selects its first subfolder.
e2e_keys "$browser" "Right Down"
browser_wait_selection 'Inner'
e2e_keys "$browser" Return
browser_wait_closed
wiz_wait_text 1005 'C:\velkaris-e2e\Picked Folder\Inner\'
wiz_enabled 1 || e2e_fail "Install is disabled"
e2e_log "next browse started at the chosen folder and took its subfolder"

e2e_keys "$window" Escape
e2e_expect_exit 0 20
