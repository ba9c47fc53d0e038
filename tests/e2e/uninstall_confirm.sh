#!/usr/bin/env bash
# Started without arguments, as the list of installed programs starts it, the uninstaller
# asks once. While it asks, a second uninstaller says that one is already at work, ends
# with exit code 1 and changes nothing. No ends the run with exit code 2 and changes
# nothing; Yes removes the pack, the original ends with exit code 0, and the helper says
# so in a message box. After OK and the next logon the prefix is as before the
# installation.
#   uninstall_confirm.sh SETUP_EXE WINDOW_PROBE COMMAND_RUNNER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
uninstall_begin "$@"

uninstall_snapshot before
uninstall_install_all
uninstall_snapshot installed

e2e_start "$uninstall_win_dest\\uninstall.exe"
box=$(e2e_wait_window "$uninstall_caption_pattern")
[ "$(uninstall_message_text)" = "Remove Velkaris App Pack (Single User) and all of its \
applications from $uninstall_win_dest\\?" ] || e2e_fail "question: '$(uninstall_message_text)'"
shown=$(e2e_probe "$uninstall_caption")
grep -q 'text=&No$' <<<"$shown" || e2e_fail "no No button: $shown"
uninstall_silent
[ "$uninstall_status" = 1 ] || e2e_fail "second uninstaller: exit code $uninstall_status"
grep -qF "Another uninstaller is already removing Velkaris App Pack (Single User) from \
$uninstall_win_dest\\" "$e2e_work/stderr" ||
  e2e_fail "second uninstaller: $(cat "$e2e_work/stderr")"
e2e_log "a second uninstaller: $(tr -d '\r' <"$e2e_work/stderr")"
e2e_keys "$box" n
e2e_expect_exit 2 20
uninstall_snapshot declined
differences=$(uninstall_diff installed declined)
[ -z "$differences" ] || e2e_fail "the second uninstaller or No changed: $differences"
e2e_log "No changes nothing"

e2e_start "$uninstall_win_dest\\uninstall.exe"
box=$(e2e_wait_window "$uninstall_caption_pattern")
e2e_keys "$box" Return
e2e_expect_exit 0 30
report=$(uninstall_wait_report)
[ "$report" = "Velkaris App Pack (Single User) was removed." ] || e2e_fail "report: '$report'"
e2e_keys "$(e2e_wait_window "$uninstall_caption_pattern")" Return
uninstall_wait_helper
e2e_window_gone "$uninstall_caption_pattern" || e2e_fail "a message box is still shown"
uninstall_logon
uninstall_snapshot after
differences=$(uninstall_diff before after)
[ -z "$differences" ] || e2e_fail "Yes left differences: $differences"
e2e_log "Yes removes the pack and reports it"
