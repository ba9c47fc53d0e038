#!/usr/bin/env bash
# The uninstaller removes nothing where it has no business: the all-users edition in the
# installed folder says it belongs to the other edition, the uninstaller in a folder that
# no installation names says so, and unknown arguments give the usage. Each ends with exit
# code 3 and its reason on standard error, and the installation is unchanged.
#   uninstall_refusals.sh SETUP_EXE WINDOW_PROBE PACK_DIR
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
pack_dir=${3:?pack folder}
uninstall_begin "$1" "$2"

uninstall_install_all
uninstall_snapshot installed

expect_refusal() {  # expect_refusal WHAT TEXT
  [ "$uninstall_status" = 3 ] || e2e_fail "$1: exit code $uninstall_status, expected 3"
  grep -qF "$2" "$e2e_work/stderr" || e2e_fail "$1: standard error is '$(cat "$e2e_work/stderr")'"
  e2e_log "$1: $(head -n 1 "$e2e_work/stderr" | tr -d '\r')"
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
rm -r "$other"

uninstall_run "$uninstall_win_dest\\uninstall.exe" /S /X
expect_refusal "unknown argument" "Usage: uninstall.exe [/S]"

uninstall_snapshot after
[ -z "$(uninstall_diff installed after)" ] ||
  e2e_fail "a refusal changed the installation: $(uninstall_diff installed after)"
