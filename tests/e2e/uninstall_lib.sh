# Shared steps of the uninstaller's end-to-end tests, sourced after e2e_lib.sh: a full
# installation with the real installer, snapshots of the prefix's files and per-user
# registry, a silent run of the installed uninstaller that waits for its helper copy to
# end, and the user's next logon, as far as it concerns the per-user RunOnce key.
#   uninstall_begin SETUP_EXE WINDOW_PROBE [COMMAND_RUNNER]   (the runner for uninstall_logon)
uninstall_title='Velkaris App Pack (Single User)'
uninstall_title_pattern='^Velkaris App Pack \(Single User\)$'
uninstall_caption='Velkaris App Pack (Single User) Uninstall'
uninstall_caption_pattern='^Velkaris App Pack \(Single User\) Uninstall$'
uninstall_names=(Brinet PaneVista QuietVault Padwick Tunewell Notarel LockBin Packrill)
uninstall_runonce_key='HKCU\Software\Microsoft\Windows\CurrentVersion\RunOnce'

uninstall_begin() {
  uninstall_setup=${1:?installer}
  export VELKARIS_WINDOW_PROBE=${2:?window probe}
  uninstall_command_runner=${3:-}
  e2e_begin
  # Every Windows has the per-user RunOnce key, without values; Wine's prefix does not. reg
  # add of the key alone would give it an empty default value.
  wine reg add "$uninstall_runonce_key" /v Velkaris-test /d x /f >/dev/null 2>&1 &&
    wine reg delete "$uninstall_runonce_key" /v Velkaris-test /f >/dev/null 2>&1 ||
    e2e_fail "cannot create the RunOnce key"
  uninstall_dest="$(e2e_shell_folder AppData)/Velkaris"
  uninstall_menu="$(e2e_shell_folder Programs)/Velkaris"
  # Wine names the profile folder after $USER, which need not be the user inside the sandbox.
  uninstall_win_dest="C:\\users\\${USER:-$(whoami)}\\AppData\\Roaming\\Velkaris"
  [ "$(e2e_unix_path "$uninstall_win_dest")" = "$uninstall_dest" ] ||
    e2e_fail "unexpected installation folder $uninstall_dest"
}

# Installs every application with the installer's defaults: Return on the licence, the
# components and the destination page, then Close once the result is shown.
uninstall_install_all() {
  local window i status=""
  e2e_start "$uninstall_setup"
  window=$(e2e_wait_window "$uninstall_title_pattern")
  e2e_keys "$window" Return Return Return
  for ((i = 0; i < 300; i++)); do
    status=$(e2e_probe "$uninstall_title" | sed -n 's/^2 id=1003 .* text=//p')
    case "$status" in Installation*) break ;; esac
    sleep 0.1
  done
  [ "$status" = "Installation completed successfully." ] || e2e_fail "installation: '$status'"
  e2e_keys "$window" Return
  e2e_expect_exit 0 20
  [ -f "$uninstall_dest/uninstall.exe" ] || e2e_fail "no uninstall.exe after the installation"
  e2e_log "installed into $uninstall_win_dest"
}

# uninstall_snapshot NAME: every file and folder of drive_c (files with their sizes) in
# $e2e_work/NAME.files, and the per-user registry in $e2e_work/NAME.reg. The registry
# leaves out the keys under Software\Wine\Temporary System Parameters, which Wine's
# window code writes for any program that opens a window.
uninstall_snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -mindepth 1 \( -type d -printf 'dir  %p\n' \) -o \
     \( -printf 'file %p %s\n' \) | LC_ALL=C sort) >"$e2e_work/$1.files"
  local said
  said=$(wine reg export HKCU 'C:\snapshot.reg' /y 2>&1) ||
    e2e_fail "reg export failed: $(tr -d '\r' <<<"$said")"
  iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/snapshot.reg" | tr -d '\r' |
    awk -v wine='[HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters' \
        '/^\[/ { skip = index($0, wine) == 1 } !skip' >"$e2e_work/$1.reg"
  rm -f "$WINEPREFIX/drive_c/snapshot.reg"
}

# uninstall_diff BEFORE AFTER: prints the differences of two snapshots; empty when equal.
uninstall_diff() {
  diff "$e2e_work/$1.files" "$e2e_work/$2.files" || true
  diff "$e2e_work/$1.reg" "$e2e_work/$2.reg" || true
}

# True while a helper copy of the uninstaller runs: Wine shows a program's Windows command
# line as its process's command line.
uninstall_helper_running() {
  local line
  for line in /proc/[0-9]*/cmdline; do
    [[ "$(tr '\0' ' ' 2>/dev/null <"$line")" == *'\Velkaris-uninstall-'*'/helper'* ]] &&
      return 0
  done
  return 1
}

# Waits until the helper copy of the uninstaller has ended. Its file and folder stay, as a
# running program's file does on Windows, until the next logon (uninstall_logon).
uninstall_wait_helper() {
  local i
  for ((i = 0; i < 300; i++)); do
    uninstall_helper_running || return 0
    sleep 0.1
  done
  e2e_fail "the uninstaller's helper copy still runs after 30 s"
}

# The per-user RunOnce values, one "NAME<tab>COMMAND" a line.
uninstall_runonce() {
  wine reg query "$uninstall_runonce_key" 2>/dev/null | tr -d '\r' |
    awk -F '    ' '$1 == "" && NF >= 4 { print $2 "\t" $4 }'
}

# Does what Windows does with the per-user RunOnce key at the user's next logon (Wine's
# wineboot does not): deletes each value, then runs its command, one after the other.
uninstall_logon() {
  local name command
  [ -n "$uninstall_command_runner" ] || e2e_fail "uninstall_logon needs the command runner"
  while IFS=$'\t' read -r name command; do
    wine reg delete "$uninstall_runonce_key" /v "$name" /f >/dev/null 2>&1 ||
      e2e_fail "cannot delete the RunOnce value $name"
    wine "$uninstall_command_runner" "$command" >/dev/null 2>&1 ||
      e2e_fail "the command of the RunOnce value $name did not start: $command"
    e2e_log "at the next logon: $command"
  done < <(uninstall_runonce)
}

# uninstall_run PROGRAM ARGS...: runs an uninstaller and waits for its helper; sets
# uninstall_status and leaves standard error in $e2e_work/stderr.
uninstall_run() {
  uninstall_status=0
  wine "$@" >"$e2e_work/stdout" 2>"$e2e_work/stderr" || uninstall_status=$?
  uninstall_wait_helper
  e2e_log "$(basename "${1//\\//}") ${*:2} ended with $uninstall_status"
}

# Runs the installed uninstaller with /S.
uninstall_silent() { uninstall_run "$uninstall_win_dest\\uninstall.exe" /S; }

# The whole text of the uninstaller's message box on screen, all its lines.
uninstall_message_text() {
  e2e_probe "$uninstall_caption" |
    awk '/^1 id=65535 class=Static / { sub(/^.* text=/, ""); shown = 1; print; next }
         /^[0-9]+ (id|title)=/ { shown = 0 } shown'
}

# Waits for the helper's report after the question was answered (the first line no longer
# asks) and prints it.
uninstall_wait_report() {
  local i text
  for ((i = 0; i < 300; i++)); do
    text=$(uninstall_message_text)
    [ -n "$text" ] && ! [[ "$text" == Remove* ]] && { printf '%s\n' "$text"; return 0; }
    sleep 0.1
  done
  e2e_fail "no report of the uninstaller within 30 s"
}

# uninstall_expect_applications_gone [KEPT_NAME...]: nothing of the applications, their
# shortcuts and values is left, but the programs named (which the user replaced).
uninstall_expect_applications_gone() {
  local name key classes='HKCU\Software\Classes' kept=" $* "
  for name in "${uninstall_names[@]}"; do
    [[ $kept == *" $name "* ]] || [ ! -e "$uninstall_dest/$name.exe" ] ||
      e2e_fail "$name.exe is still there"
    [ ! -e "$uninstall_menu/$name.lnk" ] || e2e_fail "$name.lnk is still there"
  done
  for key in Directory\\shell\\Tunewell SystemFileAssociations\\audio\\shell\\Tunewell \
             .ntxt Notarel.Document .lbx LockBin.File .pkr Packrill.File; do
    ! e2e_reg_key_exists "$classes\\$key" || e2e_fail "$classes\\$key is still there"
  done
}

# Runs the installed uninstaller with /S and expects it to remove everything: exit code 0,
# nothing of the applications, their shortcuts and values, and no installation folder.
uninstall_remove_all() {
  uninstall_silent
  [ "$uninstall_status" = 0 ] || e2e_fail "exit code $uninstall_status: $(cat "$e2e_work/stderr")"
  uninstall_expect_applications_gone
  [ ! -e "$uninstall_dest" ] || e2e_fail "the installation folder is still there"
}
