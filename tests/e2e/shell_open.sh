#!/usr/bin/env bash
# After a real installation, opening a .ntxt, .lbx or .pkr file the way the shell does starts
# the right application showing the file's path, and "Play with Tunewell" does the same for a
# folder and for an audio file. This Wine does not show the per-user classes through
# HKEY_CLASSES_ROOT, so the test does the shell's part itself: the extension's ProgID, its
# shell\open\command (or the verb's command), the file's path in for %1, and start it.
#   shell_open.sh EXE PACK_TOOL PACKAGE WINDOW_PROBE COMMAND_RUNNER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
command_runner=${5:?command runner}
install_begin "$1" "$2" "$3" "$4"

install_start
e2e_keys "$install_window" Return Return Return
install_expect "final text" "$(install_wait_result)" "Installation completed successfully."
install_close

classes='HKCU\Software\Classes'
default_value() { install_reg "$1" "" | sed 's/^REG_SZ|//'; }

# The command line the shell builds for a file of this extension.
open_command() {
  local prog_id command
  prog_id=$(default_value "$classes\\$1")
  [ -n "$prog_id" ] || e2e_fail "$1 has no ProgID"
  command=$(default_value "$classes\\$prog_id\\shell\\open\\command")
  [ -n "$command" ] || e2e_fail "$prog_id has no open command"
  printf '%s\n' "$command"
}

# Starts a registered command line with %1 replaced by a Windows path, as the shell does,
# and expects a window titled "<Name> - <path>".
run_command_on() {
  local command=$1 path=$2 name=$3
  command=${command//%1/$path}
  e2e_log "running $command"
  wine "$command_runner" "$command" >/dev/null 2>&1 &
  e2e_pids+=("$!")
  local window
  window=$(e2e_wait_window "^$(printf '%s' "$name - $path" | sed 's/[][\\.*^$()+?{}|]/\\&/g')\$")
  e2e_log "window '$(xdotool getwindowname "$window")'"
  xdotool windowclose "$window" 2>/dev/null || true
}

drive_c="$WINEPREFIX/drive_c"
mkdir -p "$drive_c/Docs/My Music"
for file in "notes one.ntxt" vault.lbx bundle.pkr; do
  printf 'sample\r\n' > "$drive_c/Docs/$file"
done
printf 'RIFF' > "$drive_c/Docs/My Music/song.wav"

run_command_on "$(open_command .ntxt)" 'C:\Docs\notes one.ntxt' Notarel
run_command_on "$(open_command .lbx)" 'C:\Docs\vault.lbx' LockBin
run_command_on "$(open_command .pkr)" 'C:\Docs\bundle.pkr' Packrill

verb="$classes\\Directory\\shell\\Tunewell"
install_expect "folder verb" "$(default_value "$verb")" "Play with Tunewell"
run_command_on "$(default_value "$verb\\command")" 'C:\Docs\My Music' Tunewell
verb="$classes\\SystemFileAssociations\\audio\\shell\\Tunewell"
install_expect "audio verb" "$(default_value "$verb")" "Play with Tunewell"
run_command_on "$(default_value "$verb\\command")" 'C:\Docs\My Music\song.wav' Tunewell
e2e_log "every file type and verb opens its application with the path"
