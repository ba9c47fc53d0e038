#!/usr/bin/env bash
# First a person unchecks all eight boxes with Tab and Space and presses Alt+N: Install is
# disabled, and the keyboard still works on the destination page: Enter and Alt+R open the
# folder browser, Alt+B goes back, Esc ends the run. Then a person presses Enter three
# times: I Agree, Next, Install. The progress page comes up in the Installing state: the
# steps run to the end, and an Esc pressed while it is seen installing is dropped (a close
# request is only ignored while installing). Afterwards Esc ends the run with exit code 0.
# Also prints what the destination page shows on this machine.
source "$(dirname "$0")/wizard_common.sh"
exe=${1:?installer}

# True when the eight component boxes are shown unchecked.
all_unchecked() {
  [ "$(e2e_probe "$wiz_title" | grep -Ec '^2 id=10(0[6-9]|1[0-3]) .* visible=1 .* checked=0 ')" = 8 ]
}

e2e_begin
e2e_start "$exe"
window=$(e2e_wait_window "$wiz_title_regex")
wiz_wait_page 0
e2e_keys "$window" Return
wiz_wait_page 1
e2e_keys "$window" Tab space Tab space Tab space Tab space Tab space Tab space Tab space Tab space
e2e_wait_until 10 "eight unchecked boxes" all_unchecked
e2e_keys "$window" alt+n
wiz_wait_page 2
e2e_wait_until 10 "a disabled Install" wiz_disabled 1
[ "$(wiz_text 1017)" = "Space required:  0 MB" ] || e2e_fail "required line '$(wiz_text 1017)'"
for key in Return alt+r; do
  e2e_keys "$window" "$key"
  browser=$(e2e_wait_window "$browser_title_regex" 20)
  e2e_keys "$browser" Escape
  browser_wait_closed
done
e2e_keys "$window" alt+b
wiz_wait_page 1
e2e_keys "$window" Escape
e2e_expect_exit 0 20
e2e_log "nothing chosen: Install disabled, Enter and Alt+R browsed, Alt+B went back, Esc closed"

e2e_start "$exe"
window=$(e2e_wait_window "$wiz_title_regex")
wiz_wait_page 0
e2e_keys "$window" Return
wiz_wait_page 1
e2e_keys "$window" Return
wiz_wait_page 2

required=$(wiz_text 1017)
available=$(wiz_text 1016)
e2e_log "destination page: '$(wiz_text 1005)', '$required', '$available'"
[[ $required =~ ^Space\ required:\ \ [1-9][0-9]*\ MB$ ]] || e2e_fail "required line '$required'"
[[ $available =~ ^Space\ available:\ [0-9]+\ (MB|GB|TB)$ ]] ||
  e2e_fail "available line '$available'"
wiz_enabled 1 || e2e_fail "Install is disabled"
destination=$(e2e_unix_path "$(wiz_text 1005)")

e2e_install_and_press "$window" Escape
wiz_wait_text 1003 "Installation completed successfully." 60
# Tab and Shift+Tab are handled after the Esc: once their effect shows, the Esc has had its.
e2e_keys "$window" Tab shift+Tab
kill -0 "$e2e_app_pid" 2>/dev/null || e2e_fail "Esc during the installation closed the program"
[ -f "$destination/Brinet.exe" ] && [ -f "$destination/uninstall.exe" ] ||
  e2e_fail "nothing installed in $destination"
e2e_log "installed; Esc during the installation was ignored"

e2e_keys "$window" Escape
e2e_expect_exit 0 20
e2e_log "Esc after the installation ended the run with exit code 0"
