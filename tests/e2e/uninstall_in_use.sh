#!/usr/bin/env bash
# While the installer is open, uninstall.exe /S asks for it to be closed, ends with exit
# code 1 and changes nothing. An application that runs while the pack is removed:
# uninstall.exe /S reports its file on standard error and ends with exit code 1; the rest
# of the applications, every shortcut and every file type are removed, while the
# uninstaller, its registration and AppPath stay so that it can run again. Once the
# application has ended, a second run removes the rest, and the prefix is as before the
# installation.
#   uninstall_in_use.sh SETUP_EXE WINDOW_PROBE
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
uninstall_begin "$@"

uninstall_snapshot before
uninstall_install_all
uninstall_snapshot installed
e2e_start "$uninstall_setup"
setup_window=$(e2e_wait_window "$uninstall_title_pattern")
uninstall_silent
[ "$uninstall_status" = 1 ] || e2e_fail "beside the installer: exit code $uninstall_status"
grep -qF "The installer of Velkaris App Pack (Single User) is open. Close it" "$e2e_work/stderr" ||
  e2e_fail "beside the installer: $(cat "$e2e_work/stderr")"
e2e_keys "$setup_window" alt+F4
e2e_expect_exit 0 20
uninstall_snapshot beside_installer
[ -z "$(uninstall_diff installed beside_installer)" ] ||
  e2e_fail "beside the installer: $(uninstall_diff installed beside_installer)"
e2e_log "beside the installer nothing is removed"

e2e_start "$uninstall_win_dest\\Notarel.exe"
notarel_pid=$e2e_app_pid
notarel_window=$(e2e_wait_window '^Notarel$')
e2e_log "Notarel runs from the installation folder"

uninstall_silent
[ "$uninstall_status" = 1 ] || e2e_fail "exit code $uninstall_status, expected 1"
grep -qF "Could not remove $uninstall_win_dest\\Notarel.exe: " "$e2e_work/stderr" ||
  e2e_fail "standard error does not name Notarel.exe: $(cat "$e2e_work/stderr")"
grep -qF "The uninstaller was kept." "$e2e_work/stderr" ||
  e2e_fail "no word of the kept uninstaller"
[ "$(grep -c 'Could not remove' "$e2e_work/stderr")" = 1 ] || e2e_fail "more than one failure"
e2e_log "reported: $(grep -F 'Could not remove' "$e2e_work/stderr" | tr -d '\r')"

[ "$(cd "$uninstall_dest" && ls -A | sort | tr '\n' ' ')" = "Notarel.exe uninstall.exe " ] ||
  e2e_fail "left in the folder: $(ls -A "$uninstall_dest")"
[ ! -e "$uninstall_menu" ] || e2e_fail "the Start-menu folder is still there"
for key in .ntxt Notarel.Document .lbx LockBin.File .pkr Packrill.File \
           Directory\\shell\\Tunewell SystemFileAssociations; do
  ! e2e_reg_key_exists "HKCU\\Software\\Classes\\$key" || e2e_fail "$key is still registered"
done
[ -n "$(e2e_reg_value 'HKCU\Software\Velkaris' AppPath)" ] || e2e_fail "AppPath was removed"
[ "$(e2e_reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkaris' \
       UninstallString)" = "REG_SZ \"$uninstall_win_dest\\uninstall.exe\"" ] ||
  e2e_fail "the uninstall registration was removed"
e2e_log "everything else is removed; the uninstaller and its registration stay"

e2e_keys "$notarel_window" alt+F4
e2e_app_pid=$notarel_pid
e2e_expect_exit 0 20
uninstall_silent
[ "$uninstall_status" = 0 ] ||
  e2e_fail "second run: exit code $uninstall_status: $(cat "$e2e_work/stderr")"
[ ! -s "$e2e_work/stderr" ] || e2e_fail "second run: standard error: $(cat "$e2e_work/stderr")"
uninstall_snapshot after
differences=$(uninstall_diff before after)
[ -z "$differences" ] || e2e_fail "the second run left differences: $differences"
e2e_log "the second run removed the rest"
