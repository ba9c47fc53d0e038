#!/usr/bin/env bash
# A destination drive that another program fills after the destination page has shown
# enough space, under an installation of four applications there. Installed again with all
# eight: the four already there are replaced by files of the same size and succeed, as
# does the uninstaller; each new program is reported with its path and "ERROR: Write
# failed." and gets no shortcut and no registry values; the result is "Installation
# failed.", and what was installed is intact. While the drive stays full, a new run shows
# Install disabled and is still driven by the keyboard. Once space is freed, the next
# installation succeeds.
#   faults_full.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE FAULT_HOLDER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
source "$(dirname "$0")/faults_lib.sh"
faults_begin "$@"

faults_mount_drive 4m
wine reg add 'HKCU\Software\Velkaris' /v AppPath /t REG_SZ /d 'E:\' /f >/dev/null 2>&1
# On the components page, Tab from Next to Brinet, on to Tunewell, and uncheck the last four.
faults_install Return Tab Tab Tab Tab Tab space Tab space Tab space Tab space Return Return
faults_expect_run E: oooo---- o "Installation completed successfully."

install_start
e2e_keys "$install_window" Return Return
e2e_wait_until 10 "an enabled Install" install_button_shown 1 '&Install'
dd if=/dev/zero of="$faults_drive/filler" bs=4096 2>/dev/null || true
install_expect "free blocks on E:" "$(stat -f -c %a "$faults_drive")" 0
e2e_keys "$install_window" Return
faults_result=$(install_wait_result)
e2e_log "result: $faults_result"
faults_expect_run E: ooooxxxx o "Installation failed."
for i in 0 1 2 3; do
  faults_expect_app "$i" "$faults_drive" E:
done
faults_expect_uninstaller "$faults_drive" E:
for i in 4 5 6 7; do
  [ ! -e "$faults_menu/${install_names[$i]}.lnk" ] || e2e_fail "shortcut of a program not written"
  install_expect_no_app_keys "$i"
done
e2e_log "new programs left as written: $(cd "$faults_drive" && stat -c '%n %s' Tunewell.exe \
  Notarel.exe LockBin.exe Packrill.exe | tr '\n' ' ')"
e2e_log "new programs reported, everything installed is intact"

# Still full, E: is too small for the next run from the start: Install is disabled, and the
# keyboard still leads on from the page: Alt+B back, Alt+N forward again, Esc closes.
install_start
e2e_keys "$install_window" Return Return
e2e_wait_until 10 "a disabled Install" install_button_shown 0 '&Install'
e2e_keys "$install_window" alt+b
e2e_wait_until 10 "the components page" install_button_shown 1 '&Next >'
e2e_keys "$install_window" alt+n
e2e_wait_until 10 "a disabled Install again" install_button_shown 0 '&Install'
e2e_keys "$install_window" Escape
e2e_expect_exit 0 20
e2e_log "too little space: Install disabled, Alt+B, Alt+N and Esc worked"

rm "$faults_drive/filler"
faults_install Return Return Return
faults_expect_run E: oooooooo o "Installation completed successfully."
faults_expect_all "$faults_drive" E:
e2e_log "the next installation succeeded"
