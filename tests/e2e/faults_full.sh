#!/usr/bin/env bash
# A destination drive that another program fills after the destination page has shown
# enough space, under an installation of four applications there. Installed again with all
# eight: the four already there are replaced by files of the same size and succeed, as
# does the uninstaller; each new program is reported with its path and "ERROR: Write
# failed." and gets no shortcut and no registry values; the result is "Installation
# failed.", and what was installed is intact. Once space is freed, the next installation
# succeeds.
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
for ((i = 0; i < 100; i++)); do
  e2e_probe "$install_title" | grep -q 'visible=1 enabled=1 .* text=&Install$' && break
  sleep 0.1
done
[ "$i" -lt 100 ] || e2e_fail "Install is not enabled on the destination page"
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

rm "$faults_drive/filler"
faults_install Return Return Return
faults_expect_run E: oooooooo o "Installation completed successfully."
faults_expect_all "$faults_drive" E:
e2e_log "the next installation succeeded"
