#!/usr/bin/env bash
# File types and verbs that another program took over after the installation are left
# alone: .ntxt names another ProgID (Notarel.Document, still ours, goes), Packrill.File
# starts another program (it and .pkr stay), and the folder verb of Tunewell starts
# another player (it stays, the audio verb goes). Everything else is removed.
#   uninstall_taken_over.sh SETUP_EXE WINDOW_PROBE COMMAND_RUNNER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
uninstall_begin "$@"
classes='HKCU\Software\Classes'
other_archiver='"C:\Tools\Archiver\arc.exe" "%1"'
other_player='"C:\Tools\Player\play.exe" "%1"'

set_default() {  # set_default KEY_BELOW_CLASSES TEXT
  wine reg add "$classes\\$1" /ve /d "$2" /f >/dev/null 2>&1 || e2e_fail "reg add $1"
}
default_of() {  # default_of KEY: the text of its default value
  wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'
}

uninstall_install_all
set_default .ntxt OtherEditor.Text
set_default 'Packrill.File\shell\open\command' "$other_archiver"
set_default 'Directory\shell\Tunewell\command' "$other_player"

uninstall_silent
[ "$uninstall_status" = 0 ] || e2e_fail "exit code $uninstall_status: $(cat "$e2e_work/stderr")"
[ ! -e "$uninstall_dest" ] || e2e_fail "the installation folder is still there"

[ "$(default_of "$classes\\.ntxt")" = OtherEditor.Text ] || e2e_fail ".ntxt lost its ProgID"
! e2e_reg_key_exists "$classes\\Notarel.Document" || e2e_fail "Notarel.Document is still there"
[ "$(default_of "$classes\\.pkr")" = Packrill.File ] || e2e_fail ".pkr was removed"
[ "$(default_of "$classes\\Packrill.File\\shell\\open\\command")" = "$other_archiver" ] ||
  e2e_fail "the archiver's command was removed"
[ "$(default_of "$classes\\Packrill.File\\shell")" = open ] || e2e_fail "Packrill.File lost a key"
[ "$(default_of "$classes\\Directory\\shell\\Tunewell\\command")" = "$other_player" ] ||
  e2e_fail "the player's folder verb was removed"
for key in .lbx LockBin.File SystemFileAssociations; do
  ! e2e_reg_key_exists "$classes\\$key" || e2e_fail "$key is still there"
done
! e2e_reg_key_exists 'HKCU\Software\Velkaris' || e2e_fail "Software\\Velkaris is still there"
e2e_log "taken-over types and verbs stay; the pack's own are gone"
