#!/usr/bin/env bash
# A full installation and a silent removal in a fresh prefix: uninstall.exe /S ends with
# exit code 0 and nothing on standard error. The installation folder and the Start-menu
# folder are gone at once; the helper's copy stays in its folder below %TEMP%, as a program's
# file does on Windows after it ran, with a RunOnce value that removes that folder. After
# the next logon the prefix's files and the per-user registry are exactly as before the
# installation; the differences are printed (none when the test passes).
#   uninstall_clean.sh SETUP_EXE WINDOW_PROBE COMMAND_RUNNER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
uninstall_begin "$@"

uninstall_snapshot before
uninstall_install_all
uninstall_snapshot installed
added=$(uninstall_diff before installed | grep -c '^>' || true)
[ "$added" -gt 0 ] || e2e_fail "the installation changed nothing"
e2e_log "the installation added $added lines to the snapshots of files and registry"

uninstall_silent
[ "$uninstall_status" = 0 ] || e2e_fail "exit code $uninstall_status: $(cat "$e2e_work/stderr")"
[ ! -s "$e2e_work/stderr" ] || e2e_fail "standard error: $(cat "$e2e_work/stderr")"
[ ! -e "$uninstall_dest" ] || e2e_fail "the installation folder is still there"
[ ! -e "$uninstall_menu" ] || e2e_fail "the Start-menu folder is still there"

helper=$(uninstall_helper_folders)
[ -n "$helper" ] && [ "$(wc -l <<<"$helper")" = 1 ] && [ -f "$helper/uninstall.exe" ] ||
  e2e_fail "not one helper folder with its copy: '${helper:-none}'"
expected="$(basename "$helper")"$'\t'"\"C:\\windows\\system32\\cmd.exe\" /d /v:off /c rd /s /q \
\"$(winepath -w "$helper" | tr -d '\r')\""
[ "$(uninstall_runonce)" = "$expected" ] ||
  e2e_fail "RunOnce holds '$(uninstall_runonce)', expected '$expected'"
e2e_log "until the next logon: $(uninstall_runonce)"
uninstall_logon
[ -z "$(uninstall_helper_folders)" ] || e2e_fail "the helper folder stayed after the logon"
[ -z "$(uninstall_runonce)" ] || e2e_fail "RunOnce still holds $(uninstall_runonce)"

uninstall_snapshot after
differences=$(uninstall_diff before after)
e2e_log "differences between before the installation and after the removal:"
printf '%s\n' "${differences:-(none)}"
[ -z "$differences" ] || e2e_fail "the removal left the differences above"
