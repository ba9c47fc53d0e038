#!/usr/bin/env bash
# What other programs hold keeps, for now, only what they hold; what they keep from going
# now goes later, and the state left always lets the removal finish. Each time a handle
# stands in for what Windows would refuse where Wine would not (see ENGINEERING.md):
#  - while the installer is open, uninstall.exe /S asks for it to be closed, ends with exit
#    code 1 and changes nothing;
#  - while a program holds uninstall.exe without sharing its deletion (a scanner), it says
#    so, ends with exit code 1 and changes nothing;
#  - while an application runs and another is held the same way, it names both on standard
#    error and ends with exit code 1; the rest of the applications, every shortcut and file
#    type are removed, while the uninstaller, its registration and AppPath stay;
#  - once they are closed, a second run with the installation folder held as a process's
#    current folder is: everything goes but that folder, which standard error and exit
#    code 4 say goes at the next logon, through a RunOnce value;
#  - after a new installation, a run while a scanner that shares deletion holds an
#    application: with POSIX delete semantics (Wine 10) the name goes at once and the run
#    ends with 0; without (Wine 8) it stays until the scanner closes the file, and the
#    folder, empty but for that name, goes at the next logon (exit code 4).
# After each of the last two, once the handles are closed and the logon is over, the prefix
# is as before the installation.
#   uninstall_in_use.sh SETUP_EXE WINDOW_PROBE COMMAND_RUNNER FAULT_HOLDER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
source "$(dirname "$0")/faults_lib.sh"
faults_holder=${4:?fault holder}
uninstall_begin "$1" "$2" "$3"
registration='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkaris'

# expect_unchanged WHAT: the prefix is as right after the installation.
expect_unchanged() {
  uninstall_snapshot unchanged
  [ -z "$(uninstall_diff installed unchanged)" ] ||
    e2e_fail "$1: $(uninstall_diff installed unchanged)"
  e2e_log "$1: nothing is removed"
}

# expect_stderr WHAT TEXT: the run ended with standard error exactly TEXT.
expect_stderr() {
  [ "$(tr -d '\r' <"$e2e_work/stderr")" = "$2" ] ||
    e2e_fail "$1: standard error is '$(cat "$e2e_work/stderr")', expected '$2'"
}

# expect_clean_after_logon WHAT: with the handles closed and the next logon over, nothing
# of the pack is left.
expect_clean_after_logon() {
  uninstall_logon
  uninstall_snapshot after
  differences=$(uninstall_diff before after)
  [ -z "$differences" ] || e2e_fail "$1: after the logon: $differences"
  e2e_log "$1: after the logon the prefix is as before the installation"
}

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
expect_unchanged "beside the installer"

faults_hold file-shared-read "$uninstall_win_dest\\uninstall.exe"
uninstall_silent
faults_release
[ "$uninstall_status" = 1 ] || e2e_fail "uninstall.exe held: exit code $uninstall_status"
expect_stderr "uninstall.exe held" "Another program holds $uninstall_win_dest\\uninstall.exe \
open, so it could not be removed. Close that program and run the uninstaller again. Nothing \
was removed."
expect_unchanged "uninstall.exe held"

e2e_start "$uninstall_win_dest\\Notarel.exe"
notarel_pid=$e2e_app_pid
notarel_window=$(e2e_wait_window '^Notarel$')
faults_hold file-shared-read "$uninstall_win_dest\\Packrill.exe"
e2e_log "Notarel runs from the installation folder, Packrill.exe is held"
uninstall_silent
[ "$uninstall_status" = 1 ] || e2e_fail "exit code $uninstall_status, expected 1"
for name in Notarel Packrill; do
  grep -qF "Could not remove $uninstall_win_dest\\$name.exe: " "$e2e_work/stderr" ||
    e2e_fail "standard error does not name $name.exe: $(cat "$e2e_work/stderr")"
done
grep -qF "The uninstaller was kept." "$e2e_work/stderr" ||
  e2e_fail "no word of the kept uninstaller"
[ "$(grep -c 'Could not remove' "$e2e_work/stderr")" = 2 ] || e2e_fail "not two failures"
e2e_log "reported: $(grep -F 'Could not remove' "$e2e_work/stderr" | tr -d '\r' | tr '\n' ' ')"
[ "$(cd "$uninstall_dest" && ls -A | sort | tr '\n' ' ')" = \
  "Notarel.exe Packrill.exe uninstall.exe " ] ||
  e2e_fail "left in the folder: $(ls -A "$uninstall_dest")"
[ ! -e "$uninstall_menu" ] || e2e_fail "the Start-menu folder is still there"
for key in .ntxt Notarel.Document .lbx LockBin.File .pkr Packrill.File \
           Directory\\shell\\Tunewell SystemFileAssociations; do
  ! e2e_reg_key_exists "HKCU\\Software\\Classes\\$key" || e2e_fail "$key is still registered"
done
[ -n "$(e2e_reg_value 'HKCU\Software\Velkaris' AppPath)" ] || e2e_fail "AppPath was removed"
[ "$(e2e_reg_value "$registration" UninstallString)" = \
  "REG_SZ \"$uninstall_win_dest\\uninstall.exe\"" ] || e2e_fail "the registration was removed"
e2e_log "everything else is removed; the uninstaller and its registration stay"

e2e_keys "$notarel_window" alt+F4
e2e_app_pid=$notarel_pid
e2e_expect_exit 0 20
faults_release
faults_hold folder "$uninstall_win_dest"
uninstall_silent
[ "$uninstall_status" = 4 ] ||
  e2e_fail "folder held: exit code $uninstall_status: $(cat "$e2e_work/stderr")"
expect_stderr "folder held" "Velkaris App Pack (Single User) was removed.

The folder $uninstall_win_dest\\ is still in use by another program. It will be removed the \
next time you sign in to Windows."
[ -d "$uninstall_dest" ] && [ -z "$(ls -A "$uninstall_dest")" ] ||
  e2e_fail "the held folder is not there and empty: $(ls -A "$uninstall_dest" 2>&1)"
! e2e_reg_key_exists "$registration" || e2e_fail "the registration is still there"
! e2e_reg_key_exists 'HKCU\Software\Velkaris' || e2e_fail "Software\\Velkaris is still there"
runonce=$(uninstall_runonce)
grep -qF "	\"C:\\windows\\system32\\cmd.exe\" /d /v:off /c rd \"$uninstall_win_dest\"" \
  <<<"$runonce" || e2e_fail "no RunOnce value removes the folder: $runonce"
e2e_log "only the held folder is left, until the next logon"
faults_release
expect_clean_after_logon "folder held"

uninstall_install_all
faults_hold file-shared-delete "$uninstall_win_dest\\Brinet.exe"
uninstall_silent
if [ "$VELKARIS_RUNTIME" = wine10 ]; then
  # Wine 10 deletes with POSIX semantics, as Windows 10 1607 and later do on NTFS.
  [ "$uninstall_status" = 0 ] ||
    e2e_fail "scanner: exit code $uninstall_status: $(cat "$e2e_work/stderr")"
  [ ! -e "$uninstall_dest" ] || e2e_fail "scanner: the folder is still there"
else
  # Wine 8 has no POSIX delete semantics: the deleted file keeps its name while it is held.
  [ "$uninstall_status" = 4 ] ||
    e2e_fail "scanner: exit code $uninstall_status: $(cat "$e2e_work/stderr")"
  grep -qF "The folder $uninstall_win_dest\\ is still in use" "$e2e_work/stderr" ||
    e2e_fail "scanner: standard error: $(cat "$e2e_work/stderr")"
  [ "$(ls -A "$uninstall_dest")" = Brinet.exe ] ||
    e2e_fail "scanner: the folder lists $(ls -A "$uninstall_dest")"
fi
e2e_log "scanner: exit code $uninstall_status under $VELKARIS_RUNTIME"
faults_release
expect_clean_after_logon "scanner"
