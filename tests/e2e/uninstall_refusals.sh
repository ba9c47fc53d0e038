#!/usr/bin/env bash
# The uninstaller removes nothing where it has no business: the all-users edition in the
# installed folder says it belongs to the other edition, the uninstaller in a folder that
# no installation names says so, and unknown arguments give the usage. Its helper mode
# cannot be borrowed: a copy in another folder started as a helper, with handle numbers
# as they come or with real handles that another program lends (a pipe, a file opened for
# deletion, and the signalled handle of an uninstaller that has ended or the handle of the
# running lender), naming a file of the user or the installed uninstaller, gives the usage
# too and writes nothing to the pipe.
# Each ends with exit code 3 and its reason on standard error, and the installation and
# the user's file are unchanged.
#   uninstall_refusals.sh SETUP_EXE WINDOW_PROBE COMMAND_RUNNER PACK_DIR HANDLE_LENDER
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
pack_dir=${4:?pack folder}
lender=${5:?handle lender}
uninstall_begin "$1" "$2" "$3"

uninstall_install_all
uninstall_snapshot installed

expect_refusal() {  # expect_refusal WHAT TEXT
  [ "$uninstall_status" = 3 ] || e2e_fail "$1: exit code $uninstall_status, expected 3"
  grep -qF "$2" "$e2e_work/stderr" || e2e_fail "$1: standard error is '$(cat "$e2e_work/stderr")'"
  e2e_log "$1: $(head -n 1 "$e2e_work/stderr" | tr -d '\r')"
}

expect_pipe_untouched() {
  [ "$(tr -d '\r' <"$e2e_work/stdout")" = "0 bytes on the pipe" ] ||
    e2e_fail "the lent pipe: $(cat "$e2e_work/stdout")"
}

cp "$pack_dir/uninstall-all-users.exe" "$uninstall_dest/"
uninstall_run "$uninstall_win_dest\\uninstall-all-users.exe" /S
expect_refusal "all-users edition" "It does not remove Velkaris App Pack (Single User)"
rm "$uninstall_dest/uninstall-all-users.exe"

other="$WINEPREFIX/drive_c/Other"
mkdir "$other"
cp "$pack_dir/uninstall.exe" "$pack_dir/Brinet.exe" "$other/"
uninstall_run 'C:\Other\uninstall.exe' /S
expect_refusal "foreign folder" 'The folder C:\Other\ holds no installation of Velkaris App Pack'
[ -f "$other/Brinet.exe" ] || e2e_fail "Brinet.exe in C:\\Other was removed"

uninstall_run "$uninstall_win_dest\\uninstall.exe" /S /X
expect_refusal "unknown argument" "Usage: uninstall.exe [/S]"

victim="$WINEPREFIX/drive_c/Victim"
mkdir "$victim"
echo "my thesis" >"$victim/thesis.docx"
installed="\"$uninstall_win_dest\\uninstall.exe\""
uninstall_run 'C:\Other\uninstall.exe' /S /helper 8 4000 'C:\Victim\thesis.docx'
expect_refusal "helper with handle numbers as they come" "Usage: uninstall.exe [/S]"
uninstall_run "$lender" 'C:\Other\uninstall.exe /S /X' 'C:\Victim\thesis.docx' \
  'C:\Other\uninstall.exe /S /helper {process} {pipe} {file} C:\Victim\thesis.docx'
expect_refusal "helper with lent handles, for the user's file" "Usage: uninstall.exe [/S]"
expect_pipe_untouched
for process in '{process}' '{self}'; do
  uninstall_run "$lender" "$installed /S /X" "$uninstall_win_dest\\uninstall.exe" \
    "C:\\Other\\uninstall.exe /S /helper $process {pipe} {file} $installed"
  expect_refusal "helper with lent handles ($process), for the installation" \
    "Usage: uninstall.exe [/S]"
  expect_pipe_untouched
done
[ "$(cat "$victim/thesis.docx")" = "my thesis" ] || e2e_fail "the user's file was changed"
[ -f "$other/Brinet.exe" ] || e2e_fail "Brinet.exe in C:\\Other was removed"
rm -r "$other" "$victim"

uninstall_snapshot after
[ -z "$(uninstall_diff installed after)" ] ||
  e2e_fail "a refusal changed the installation: $(uninstall_diff installed after)"
