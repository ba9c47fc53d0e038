#!/usr/bin/env bash
# Files the user added stay: a file in the installation folder keeps that folder, and one
# in the Start-menu folder keeps that folder; everything of the pack is removed all the
# same, and the run ends with exit code 0.
#   uninstall_user_files.sh SETUP_EXE WINDOW_PROBE
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
uninstall_begin "$@"

uninstall_install_all
echo "my notes" >"$uninstall_dest/notes.txt"
echo "my link" >"$uninstall_menu/Notes.url"

uninstall_silent
[ "$uninstall_status" = 0 ] || e2e_fail "exit code $uninstall_status: $(cat "$e2e_work/stderr")"
[ ! -s "$e2e_work/stderr" ] || e2e_fail "standard error: $(cat "$e2e_work/stderr")"
[ "$(ls -A "$uninstall_dest")" = notes.txt ] || e2e_fail "folder holds: $(ls -A "$uninstall_dest")"
[ "$(cat "$uninstall_dest/notes.txt")" = "my notes" ] || e2e_fail "notes.txt changed"
[ "$(ls -A "$uninstall_menu")" = Notes.url ] ||
  e2e_fail "Start-menu folder holds: $(ls -A "$uninstall_menu")"
uninstall_expect_applications_gone
! e2e_reg_key_exists 'HKCU\Software\Velkaris' || e2e_fail "Software\\Velkaris is still there"
! e2e_reg_key_exists 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkaris' ||
  e2e_fail "the uninstall registration is still there"
e2e_log "the user's files and their folders stay; the pack is gone"
