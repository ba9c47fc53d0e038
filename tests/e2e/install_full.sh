#!/usr/bin/env bash
# A full installation in a fresh prefix, driven with key presses: every application, its
# shortcut and its registry values, the uninstaller and its registration (with the quiet
# command, the folder and the local date of the installation), AppPath, the details list,
# the final text and the progress bar; Close ends the run with exit code 0.
# The next run installs into the folder AppPath names, not into the default one. Before
# that, the package tool reads the same files out of the installer itself.
#   install_full.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
install_begin "$@"

tool=$2
from_installer="$e2e_work/from-installer"
"$tool" verify "$install_exe" >/dev/null || e2e_fail "package tool does not verify $install_exe"
"$tool" extract "$install_exe" "$from_installer" >/dev/null ||
  e2e_fail "package tool could not extract $install_exe"
install_expect "files extracted from the installer" "$(ls "$from_installer")" "$(ls "$install_pkg")"
for file in "$install_pkg"/*; do
  cmp -s "$file" "$from_installer/${file##*/}" ||
    e2e_fail "${file##*/} extracted from the installer differs from the package's"
done
e2e_log "the installer's own resource holds the package's files"

appdata=$(e2e_shell_folder AppData)
programs=$(e2e_shell_folder Programs)
win_dest=$(winepath -w "$appdata/Velkaris" | tr -d '\r')
win_menu=$(winepath -w "$programs/Velkaris" | tr -d '\r')

install_start
e2e_keys "$install_window" Return Return
started=$(date +%s)
day_before=$(date +%Y%m%d)
begin=$(date +%s%N)
e2e_keys "$install_window" Return
result=$(install_wait_result)
end=$(date +%s%N)
e2e_log "Install to final text: $(( (end - begin) / 1000000 )) ms (includes reading the window)"
install_expect "final text" "$result" "Installation completed successfully."
install_expect "progress" "$(install_progress)" 100

expected_lines=()
for i in "${!install_names[@]}"; do
  expected_lines+=("$win_dest\\${install_names[$i]}.exe" "$win_menu\\${install_names[$i]}.lnk")
done
expected_lines+=("$win_dest\\uninstall.exe")
install_expect "details" "$(install_details)" "$(printf '%s\n' "${expected_lines[@]}")"

dest="$appdata/Velkaris"
install_expect "installed files" "$(install_listing "$dest")" \
  "Brinet.exe LockBin.exe Notarel.exe Packrill.exe Padwick.exe PaneVista.exe QuietVault.exe \
Tunewell.exe uninstall.exe"
install_expect "shortcuts" "$(install_listing "$programs/Velkaris")" \
  "Brinet.lnk LockBin.lnk Notarel.lnk Packrill.lnk Padwick.lnk PaneVista.lnk QuietVault.lnk \
Tunewell.lnk"
for i in "${!install_names[@]}"; do
  install_expect_program "$i" "$dest"
  program="$win_dest\\${install_names[$i]}.exe"
  install_expect_link "$programs/Velkaris/${install_names[$i]}.lnk" "$program"
  install_expect_app_values "$i" "$program"
done
cmp -s "$dest/uninstall.exe" "$(install_package_file uninstaller)" ||
  e2e_fail "uninstall.exe differs from entry 10"
[ "$(stat -c %Y "$dest/uninstall.exe")" -ge "$started" ] ||
  e2e_fail "uninstall.exe is older than the run"
e2e_log "files, shortcuts and application values are right"

install_expect_reg 'HKCU\Software\Velkaris' AppPath REG_SZ "$win_dest\\"
install_expect_reg "$install_uninstall_key" DisplayIcon REG_SZ "$win_dest\\uninstall.exe,0"
install_expect_reg "$install_uninstall_key" DisplayName REG_SZ "Velkaris App Pack (Single User)"
install_expect_reg "$install_uninstall_key" DisplayVersion REG_SZ 2308
install_expect_reg "$install_uninstall_key" Publisher REG_SZ Velkaris
install_expect_reg "$install_uninstall_key" UninstallString REG_SZ \
  "\"$win_dest\\uninstall.exe\""
required=$(stat -c %s "$install_pkg"/0[1-8]-*.exe "$(install_package_file uninstaller)" |
  paste -sd+ | bc)
install_expect_reg "$install_uninstall_key" EstimatedSize REG_DWORD \
  "$(printf '0x%x' $(( required >> 10 )))"
install_expect_reg "$install_uninstall_key" NoModify REG_DWORD 0x1
install_expect_reg "$install_uninstall_key" NoRepair REG_DWORD 0x1
install_expect_reg "$install_uninstall_key" QuietUninstallString REG_SZ \
  "\"$win_dest\\uninstall.exe\" /S"
install_expect_reg "$install_uninstall_key" InstallLocation REG_SZ "$win_dest\\"
installed_on=$(install_reg "$install_uninstall_key" InstallDate)
[ "$installed_on" = "REG_SZ|$day_before" ] || [ "$installed_on" = "REG_SZ|$(date +%Y%m%d)" ] ||
  e2e_fail "InstallDate: got '$installed_on', expected the local date $day_before"
e2e_log "AppPath and the uninstall registration are right"
install_close

# The next run: the default folder moves elsewhere, AppPath still names the first one.
moved='C:\users\Public\Moved AppData'
mkdir -p "$(e2e_unix_path "$moved")"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
  /v AppData /t REG_EXPAND_SZ /d "$moved" /f >/dev/null 2>&1
rm "$dest/Brinet.exe"
install_start
e2e_keys "$install_window" Return Return Return
install_expect "second final text" "$(install_wait_result)" "Installation completed successfully."
install_expect_program 0 "$dest"
[ ! -e "$(e2e_unix_path "$moved")/Velkaris" ] || e2e_fail "the next run used the default folder"
install_close
e2e_log "the next run installed into the folder of AppPath"
