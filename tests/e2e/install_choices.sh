#!/usr/bin/env bash
# An installation of six applications (Brinet and Packrill unchecked) during which Escape,
# Alt+F4 and Close are pressed: none of them stops it, it runs to the end, and only the
# Close pressed afterwards ends the run. The unchecked applications leave nothing behind;
# EstimatedSize is the space of the chosen applications and the uninstaller in whole KiB.
#   install_choices.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
install_begin "$@"

appdata=$(e2e_shell_folder AppData)
programs=$(e2e_shell_folder Programs)
dest="$appdata/Velkaris"
win_dest=$(winepath -w "$dest" | tr -d '\r')

install_start
e2e_keys "$install_window" Return Tab space Tab Tab Tab Tab Tab Tab Tab space Return
# Install, and while it is seen installing, Escape, Alt+F4 and Enter on the default button
# Close.
e2e_install_and_press "$install_window" Escape alt+F4 Return
install_expect "final text" "$(install_wait_result)" "Installation completed successfully."
# Tab and Shift+Tab are handled after the keys before them: once their effect shows, those
# keys have had theirs; the focus is back on Close.
e2e_keys "$install_window" Tab shift+Tab
! e2e_window_gone "$install_title_pattern" || e2e_fail "the window closed during the installation"
install_expect "progress" "$(install_progress)" 100

install_expect "installed files" "$(install_listing "$dest")" \
  "LockBin.exe Notarel.exe Padwick.exe PaneVista.exe QuietVault.exe Tunewell.exe uninstall.exe"
install_expect "shortcuts" "$(install_listing "$programs/Velkaris")" \
  "LockBin.lnk Notarel.lnk Padwick.lnk PaneVista.lnk QuietVault.lnk Tunewell.lnk"
install_expect "details lines" "$(install_details | wc -l)" 13
install_expect_no_app_keys 7
install_expect_app_values 6 "$win_dest\\LockBin.exe"

required=0
for i in 1 2 3 4 5 6; do
  required=$(( required + $(stat -c %s "$(install_package_file "$i")") ))
done
required=$(( required + $(stat -c %s "$(install_package_file uninstaller)") ))
install_expect_reg "$install_uninstall_key" EstimatedSize REG_DWORD \
  "$(printf '0x%x' $(( required >> 10 )))"
e2e_log "six applications installed through Escape, Alt+F4 and Close"
e2e_log "EstimatedSize $(( required >> 10 )) KiB"
install_close
