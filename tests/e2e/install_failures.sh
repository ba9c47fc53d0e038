#!/usr/bin/env bash
# An installation that meets every failure the steps report, into the folder an earlier
# AppPath names: a folder where Notarel.exe should go, a file where the Start-menu folder
# should go, a folder where uninstall.exe should go, and Brinet and Packrill unchecked.
# Each failure gets its line, the chain goes on to the end, and the result is
# "Installation failed."; Close still ends the run with exit code 0.
#   install_failures.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
install_begin "$@"

win_dest='C:\Velkaris Custom'
dest=$(e2e_unix_path "$win_dest")
mkdir -p "$dest/Notarel.exe" "$dest/uninstall.exe"
wine reg add 'HKCU\Software\Velkaris' /v AppPath /t REG_SZ /d "$win_dest" /f >/dev/null 2>&1
programs=$(e2e_shell_folder Programs)
win_menu=$(winepath -w "$programs/Velkaris" | tr -d '\r')
mkdir -p "$programs"
echo "not a folder" > "$programs/Velkaris"

install_start
# Licence, then on the components page: Tab to Brinet, Space; Tab on to Packrill, Space.
e2e_keys "$install_window" Return Tab space Tab Tab Tab Tab Tab Tab Tab space Return Return
install_expect "final text" "$(install_wait_result)" "Installation failed."
install_expect "progress" "$(install_progress)" 100

error='ERROR: Write failed.'
expected_lines=()
for i in 1 2 3 4; do
  expected_lines+=("$win_dest\\${install_names[$i]}.exe" "$win_menu\\${install_names[$i]}.lnk")
  expected_lines+=("$error")
done
expected_lines+=("$win_dest\\Notarel.exe" "$error")
expected_lines+=("$win_dest\\LockBin.exe" "$win_menu\\LockBin.lnk" "$error")
expected_lines+=("$win_dest\\uninstall.exe" "$error")
install_expect "details" "$(install_details)" "$(printf '%s\n' "${expected_lines[@]}")"

install_expect "installed files" "$(install_listing "$dest")" \
  "LockBin.exe Notarel.exe Padwick.exe PaneVista.exe QuietVault.exe Tunewell.exe uninstall.exe"
[ -d "$dest/Notarel.exe" ] && [ -d "$dest/uninstall.exe" ] ||
  e2e_fail "a folder in the way was replaced"
for i in 1 2 3 4 6; do
  install_expect_program "$i" "$dest"
done
install_expect "Start-menu file" "$(cat "$programs/Velkaris")" "not a folder"

# A failed shortcut keeps the registry values; a failed program and an unchecked one get none.
install_expect_app_values 4 "$win_dest\\Tunewell.exe"
install_expect_app_values 6 "$win_dest\\LockBin.exe"
install_expect_no_app_keys 5
install_expect_no_app_keys 7
install_expect_reg 'HKCU\Software\Velkaris' AppPath REG_SZ "$win_dest\\"
! e2e_reg_key_exists "$install_uninstall_key" || e2e_fail "uninstaller registered without its file"
e2e_log "every failure reported, the rest installed"
install_close
