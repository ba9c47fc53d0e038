#!/usr/bin/env bash
# A folder of 259 characters, the longest the browser returns, is refused: every installed
# path would pass the platform's limit. The refusal is a message box owned by the installer;
# the destination, its field and the figures stay as they were, and Install stays usable.
source "$(dirname "$0")/wizard_common.sh"
exe=${1:?installer}

# C:\velkaris-e2e\ and three parts: 235 characters, the longest AppPath start-up accepts.
part() { printf "$1%.0s" $(seq "$2"); }
start='C:\velkaris-e2e\'$(part a 100)'\'$(part b 100)'\'$(part c 17)
child=$(part d 23)
[ ${#start} = 235 ] && [ $((${#start} + 1 + ${#child})) = 259 ] || e2e_fail "bad test lengths"

# other_windows_titled REGEX WINDOW: visible windows with that title other than WINDOW.
other_windows_titled() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "$2" || true
}

e2e_begin
mkdir -p "$(e2e_unix_path "$start")/$child"
wine reg add 'HKCU\Software\Velkaris' /v AppPath /d "$start" /f >/dev/null 2>&1 ||
  e2e_fail "cannot set AppPath"
e2e_start "$exe"
window=$(e2e_wait_window "$wiz_title_regex")
e2e_keys "$window" Return Return
wiz_wait_page 2
wiz_wait_text 1005 "$start\\"
lines="$(wiz_text 1017) / $(wiz_text 1016)"

# Under Wine the first browser of a run may not find a start folder this deep; a person
# would look, cancel and browse again.
browser=$(browser_open "$window")
e2e_keys "$browser" Escape
browser_wait_closed

browser=$(browser_open "$window")
browser_wait_selection "$(part c 17)"
e2e_keys "$browser" "Right Down"
browser_wait_selection "$child"
e2e_keys "$browser" Return
browser_wait_closed

box=''
for ((i = 0; i < 100; i++)); do
  box=$(other_windows_titled "$wiz_title_regex" "$window" | head -n 1)
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || e2e_fail "no message box"
message=$(e2e_probe "$wiz_title" | grep -a ' class=Static ' | sed 's/^.* text=//' | grep . || true)
expected='The folder path is too long. Choose a folder with a path of at most 245 characters.'
[ "$message" = "$expected" ] || e2e_fail "message '$message'"
e2e_log "refused with: $message"
e2e_keys "$box" Return
for ((i = 0; i < 50; i++)); do
  [ -z "$(other_windows_titled "$wiz_title_regex" "$window")" ] && break
  sleep 0.1
done

wiz_wait_text 1005 "$start\\"
[ "$(wiz_text 1017) / $(wiz_text 1016)" = "$lines" ] || e2e_fail "figures changed"
wiz_enabled 1 || e2e_fail "Install is disabled"
e2e_log "destination kept: $(wiz_text 1005)"

e2e_keys "$window" Escape
e2e_expect_exit 0 20
