#!/usr/bin/env bash
# Registry keys that cannot be created, met by an installation over a full one: the ProgID
# key Notarel.Document and the per-user Uninstall key are made volatile, and the registry
# refuses lasting keys below a volatile one, so Notarel's DefaultIcon and shell keys and
# the uninstall registration cannot be written. Each value that fails is shown with its key
# (and its name, where it is not the key's default value) and "ERROR: Write failed.", and
# the result is "Installation failed."; the chain goes on, and every file and every other
# value stays as installed. Once the keys are ordinary again, the next installation writes
# everything.
#   faults_registry.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE FAULT_HOLDER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
source "$(dirname "$0")/faults_lib.sh"
faults_begin "$@"

dest="$(e2e_shell_folder AppData)/Velkaris"
win_dest=$(winepath -w "$dest" | tr -d '\r')
prog_id='Software\Classes\Notarel.Document'
uninstall_parent='Software\Microsoft\Windows\CurrentVersion\Uninstall'

faults_install Return Return Return
faults_expect_run "$win_dest" oooooooo o "Installation completed successfully."

# A volatile key lives as long as the wineserver, which the holder keeps running.
for key in "$prog_id" "$uninstall_parent"; do
  wine reg delete "HKCU\\$key" /f >/dev/null 2>&1 || e2e_fail "cannot remove HKCU\\$key"
done
faults_hold volatile-key "$prog_id" volatile-key "$uninstall_parent"
faults_install Return Return Return
notarel_failures=$(for key in DefaultIcon shell 'shell\open\command'; do
  printf 'HKEY_CURRENT_USER\\%s\\%s\n%s\n' "$prog_id" "$key" "$faults_error"
done)
registration_failures=$(for value in DisplayIcon DisplayName DisplayVersion Publisher \
    UninstallString EstimatedSize NoModify NoRepair QuietUninstallString InstallLocation \
    InstallDate; do
  printf 'HKEY_CURRENT_USER\\%s\\Velkaris (%s)\n%s\n' "$uninstall_parent" "$value" "$faults_error"
done)
faults_expect_run "$win_dest" oooooooo o "Installation failed." \
  "$faults_win_menu\\Notarel.lnk" "$notarel_failures" \
  "$win_dest\\uninstall.exe" "$registration_failures"
for i in 0 1 2 3 4 6 7; do
  faults_expect_app "$i" "$dest" "$win_dest"
done
install_expect_program 5 "$dest"
install_expect_link "$faults_menu/Notarel.lnk" "$win_dest\\Notarel.exe"
install_expect_reg 'HKCU\Software\Classes\.ntxt' "" REG_SZ Notarel.Document
install_expect_reg "HKCU\\$prog_id" "" REG_SZ "Notarel Document"
for key in "$prog_id\\DefaultIcon" "$prog_id\\shell" "$uninstall_parent\\Velkaris"; do
  ! e2e_reg_key_exists "HKCU\\$key" || e2e_fail "HKCU\\$key was created below a volatile key"
done
cmp -s "$dest/uninstall.exe" "$(install_package_file uninstaller)" ||
  e2e_fail "uninstall.exe differs from entry 10"
install_expect_reg 'HKCU\Software\Velkaris' AppPath REG_SZ "$win_dest\\"
e2e_log "keys that cannot be created are reported; everything else is installed"

for key in "$prog_id" "$uninstall_parent"; do
  wine reg delete "HKCU\\$key" /f >/dev/null 2>&1 || e2e_fail "cannot remove HKCU\\$key"
done
faults_release
faults_install Return Return Return
faults_expect_run "$win_dest" oooooooo o "Installation completed successfully."
faults_expect_all "$dest" "$win_dest"
e2e_log "the next installation succeeded"
