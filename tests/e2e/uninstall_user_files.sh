#!/usr/bin/env bash
# Files the user added or replaced stay: a file in the installation folder and a program
# the user replaced after the installation (another program of the same size in place of
# Brinet.exe) keep that folder, and one in the Start-menu folder keeps that folder;
# everything of the pack is removed all the same, the run ends with exit code 0, and the
# report names the replaced program and the kept folder. Tunewell.exe has been moved out
# of the folder and a Unix symbolic link left in its place: the program it leads to stays,
# untouched. Windows would delete the link itself (win.uninstall_removal_test); Wine
# follows such a link even when told not to, so the uninstaller leaves it, and the report
# names it. uninstall.exe has been made read-only, which Wine refuses to delete as Windows
# does: it goes all the same, moved out while it runs, and by the time the original has
# ended with its exit code, it and its registration are gone.
#   uninstall_user_files.sh SETUP_EXE WINDOW_PROBE COMMAND_RUNNER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
uninstall_begin "$@"
registration='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkaris'

uninstall_install_all
echo "my notes" >"$uninstall_dest/notes.txt"
echo "my link" >"$uninstall_menu/Notes.url"
cp "$uninstall_dest/PaneVista.exe" "$uninstall_dest/Brinet.exe"
replaced=$(sha256sum <"$uninstall_dest/Brinet.exe")
outside="$WINEPREFIX/drive_c/Moved programs"
mkdir "$outside"
mv "$uninstall_dest/Tunewell.exe" "$outside/Tunewell.exe"
ln -s "$outside/Tunewell.exe" "$uninstall_dest/Tunewell.exe"
moved=$(sha256sum <"$outside/Tunewell.exe")
chmod a-w "$uninstall_dest/uninstall.exe"

e2e_start "$uninstall_win_dest\\uninstall.exe"
e2e_keys "$(e2e_wait_window "$uninstall_caption_pattern")" Return
e2e_expect_exit 0 30
[ ! -e "$uninstall_dest/uninstall.exe" ] && ! e2e_reg_key_exists "$registration" ||
  e2e_fail "the original has ended, and uninstall.exe or its registration is still there"
report=$(uninstall_wait_report)
e2e_log "report: $report"
expected="Velkaris App Pack (Single User) was removed.

Programs kept because they differ from the ones the pack installed:
$uninstall_win_dest\\Brinet.exe
$uninstall_win_dest\\Tunewell.exe

The folder $uninstall_win_dest\\ was kept because it holds files that were not installed \
with the pack."
[ "$report" = "$expected" ] || e2e_fail "report: '$report'"
e2e_keys "$(e2e_wait_window "$uninstall_caption_pattern")" Return
uninstall_wait_helper

[ "$(ls -A "$uninstall_dest" | sort | tr '\n' ' ')" = "Brinet.exe Tunewell.exe notes.txt " ] ||
  e2e_fail "folder holds: $(ls -A "$uninstall_dest")"
[ "$(cat "$uninstall_dest/notes.txt")" = "my notes" ] || e2e_fail "notes.txt changed"
[ "$(sha256sum <"$uninstall_dest/Brinet.exe")" = "$replaced" ] || e2e_fail "Brinet.exe changed"
[ -L "$uninstall_dest/Tunewell.exe" ] && [ "$(sha256sum <"$outside/Tunewell.exe")" = "$moved" ] ||
  e2e_fail "the link to Tunewell.exe, or the program it leads to, changed"
[ "$(ls -A "$uninstall_menu")" = Notes.url ] ||
  e2e_fail "Start-menu folder holds: $(ls -A "$uninstall_menu")"
uninstall_expect_applications_gone Brinet Tunewell
! e2e_reg_key_exists 'HKCU\Software\Velkaris' || e2e_fail "Software\\Velkaris is still there"
e2e_log "the user's files, the replaced program, the link and what it leads to stay"
