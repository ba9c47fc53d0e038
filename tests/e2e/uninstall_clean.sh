#!/usr/bin/env bash
# A full installation and a silent removal in a fresh prefix: uninstall.exe /S ends with
# exit code 0 and nothing on standard error, and afterwards the prefix's files and the
# per-user registry are exactly as before the installation; the differences are printed
# (none when the test passes).
#   uninstall_clean.sh SETUP_EXE WINDOW_PROBE
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

uninstall_snapshot after
differences=$(uninstall_diff before after)
e2e_log "differences between before the installation and after the removal:"
printf '%s\n' "${differences:-(none)}"
[ -z "$differences" ] || e2e_fail "the removal left the differences above"
