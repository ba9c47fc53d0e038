#!/usr/bin/env bash
# Files in use while the pack is installed again over a full installation: Padwick.exe,
# the shortcut Tunewell.lnk and uninstall.exe held open without sharing by another program,
# and Notarel.exe running. Each is reported with its path and "ERROR: Write failed.", the
# chain goes on, the result is "Installation failed.", and every file already installed,
# the ones in use included, is still the package's. Once they are free again, the next
# installation succeeds.
#   faults_held_open.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE FAULT_HOLDER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
source "$(dirname "$0")/faults_lib.sh"
faults_begin "$@"

dest="$(e2e_shell_folder AppData)/Velkaris"
win_dest=$(winepath -w "$dest" | tr -d '\r')

faults_install Return Return Return
faults_expect_run "$win_dest" oooooooo o "Installation completed successfully."
cp "$faults_menu/Tunewell.lnk" "$e2e_work/Tunewell.lnk"

faults_hold file "$win_dest\\Padwick.exe" file "$faults_win_menu\\Tunewell.lnk" \
  file "$win_dest\\uninstall.exe"
e2e_start "$win_dest\\Notarel.exe"
notarel_pid=$e2e_app_pid
notarel_window=$(e2e_wait_window '^Notarel$')
faults_install Return Return Return
faults_expect_run "$win_dest" oooxlxoo x "Installation failed."
faults_expect_all "$dest" "$win_dest"
cmp -s "$faults_menu/Tunewell.lnk" "$e2e_work/Tunewell.lnk" || e2e_fail "Tunewell.lnk changed"
e2e_log "held files reported, everything installed is intact"

faults_release
e2e_keys "$notarel_window" alt+F4
e2e_app_pid=$notarel_pid
e2e_expect_exit 0 20
faults_install Return Return Return
faults_expect_run "$win_dest" oooooooo o "Installation completed successfully."
faults_expect_all "$dest" "$win_dest"
e2e_log "the next installation succeeded"
