#!/usr/bin/env bash
# An installation on another drive than the temporary folder (E:\Velkaris, on a small file
# system of the test's own), whose folder is read-only: Windows refuses to delete a
# read-only folder, and Wine reports the folder so once it lacks Unix write permission.
#  - uninstall.exe /S foresees that the folder cannot go: it removes the applications,
#    their shortcuts and file types, says on standard error that the folder is read-only
#    and that the uninstaller was kept, and ends with exit code 1; uninstall.exe, its
#    registration and AppPath stay;
#  - once the folder is writable again, a second run ends with exit code 0, and by the time
#    it has ended the folder, uninstall.exe, its registration and AppPath are gone. A file
#    moves only on its volume, so its helper copy ran from a folder beside the
#    installation, on E:, into which uninstall.exe moved while it ran; once the helper has
#    ended that folder holds only the copy, as the first run's does, and a RunOnce value
#    removes each at the next logon, after which nothing is left on E: or in the RunOnce
#    key.
#   uninstall_other_drive.sh SETUP_EXE WINDOW_PROBE COMMAND_RUNNER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
source "$(dirname "$0")/faults_lib.sh"
uninstall_begin "$@"
registration='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkaris'

faults_mount_drive 8m
mkdir "$faults_drive/Velkaris"
wine reg add 'HKCU\Software\Velkaris' /v AppPath /t REG_SZ /d 'E:\Velkaris\' /f >/dev/null 2>&1 ||
  e2e_fail "cannot set AppPath"
uninstall_dest=$faults_drive/Velkaris
uninstall_win_dest='E:\Velkaris'
uninstall_install_all

chmod a-w "$uninstall_dest"
uninstall_silent
[ "$uninstall_status" = 1 ] ||
  e2e_fail "read-only folder: exit code $uninstall_status: $(cat "$e2e_work/stderr")"
grep -qF "Could not remove $uninstall_win_dest\\: It is read-only. Clear its read-only \
attribute and run the uninstaller again." "$e2e_work/stderr" &&
  grep -qF "The uninstaller was kept." "$e2e_work/stderr" ||
  e2e_fail "read-only folder: standard error: $(cat "$e2e_work/stderr")"
[ "$(ls -A "$uninstall_dest")" = uninstall.exe ] ||
  e2e_fail "read-only folder: the folder holds $(ls -A "$uninstall_dest")"
uninstall_expect_applications_gone
[ "$(e2e_reg_value "$registration" UninstallString)" = \
  "REG_SZ \"$uninstall_win_dest\\uninstall.exe\"" ] &&
  [ -n "$(e2e_reg_value 'HKCU\Software\Velkaris' AppPath)" ] ||
  e2e_fail "read-only folder: the registration or AppPath was removed"
e2e_log "read-only folder: the rest is removed, the uninstaller and its registration stay"

chmod u+w "$uninstall_dest"
uninstall_status=0
wine "$uninstall_win_dest\\uninstall.exe" /S 2>"$e2e_work/stderr" || uninstall_status=$?
[ "$uninstall_status" = 0 ] || e2e_fail "exit code $uninstall_status: $(cat "$e2e_work/stderr")"
[ ! -e "$uninstall_dest" ] && ! e2e_reg_key_exists "$registration" &&
  ! e2e_reg_key_exists 'HKCU\Software\Velkaris' ||
  e2e_fail "the original has ended, and the folder, its registration or AppPath is still there"
uninstall_wait_helper
# Each run's helper ran from a folder of its own on E:, which holds its copy alone now.
helpers=$(ls -A "$faults_drive")
runonce=$(uninstall_runonce)
[ "$(wc -l <<<"$helpers")" = 2 ] || e2e_fail "E: holds $(ls -AR "$faults_drive")"
for helper in $helpers; do
  [[ $helper =~ ^Velkaris-uninstall-[0-9a-f]{16}$ ]] &&
    [ "$(ls -A "$faults_drive/$helper")" = uninstall.exe ] ||
    e2e_fail "E: holds $(ls -AR "$faults_drive"), not the helpers' folders with their copies"
  grep -qxF "$helper	\"C:\\windows\\system32\\cmd.exe\" /d /v:off /c rd /s /q \"E:\\$helper\"" \
    <<<"$runonce" || e2e_fail "no RunOnce value removes $helper: $runonce"
done
e2e_log "gone by the time the original ended; the helpers ran on E: $(tr '\n' ' ' <<<"$helpers")"
uninstall_logon
[ -z "$(ls -A "$faults_drive")" ] && [ -z "$(uninstall_runonce)" ] ||
  e2e_fail "after the logon: E: holds '$(ls -A "$faults_drive")', RunOnce '$(uninstall_runonce)'"
e2e_log "after the logon nothing is left"
