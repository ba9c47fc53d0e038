#!/usr/bin/env bash
# A copy of the installer whose package has one byte changed shows "Setup initialization
# failed." before any other window, writes nothing to the registry or the disk, and exits 0
# once the box is dismissed.
source "$(dirname "$0")/e2e_lib.sh"
exe=${1:?installer}
package=${2:?package resource}

e2e_begin
damaged="$e2e_work/DamagedSetup.exe"
cp "$exe" "$damaged"
# Flip one byte in the middle of the embedded package, found by its first 64 bytes.
perl -e '
  my ($exe, $pkg) = @ARGV;
  local $/;
  open my $p, "<:raw", $pkg or die; my $package = <$p>; close $p;
  open my $e, "+<:raw", $exe or die; my $image = <$e>;
  my $at = index($image, substr($package, 0, 64));
  die "package not found in the executable\n" if $at < 0;
  my $pos = $at + int(length($package) / 2);
  seek $e, $pos, 0; print $e chr(ord(substr($image, $pos, 1)) ^ 0x55); close $e;
' "$damaged" "$package"

# Wine makes the user's profile folders when it first starts in a prefix, so drive C is
# listed after a first start and compared with itself afterwards.
! e2e_reg_key_exists 'HKCU\Software\Velkaris' || e2e_fail "the pristine prefix has the key"
drive_c_before=$(find "$WINEPREFIX/drive_c" | sort)

e2e_start "$damaged"
box=$(e2e_wait_window '^Error$')
e2e_window_gone '^Velkaris App Pack' || e2e_fail "the main window appeared"
shown=$(e2e_probe Error)
grep -qx '.*class=Static .*text=Setup initialization failed\.' <<<"$shown" ||
  e2e_fail "the box does not say 'Setup initialization failed.': $shown"
e2e_log "box 'Error' says 'Setup initialization failed.'"

e2e_keys "$box" Return
e2e_expect_exit 0 20

! e2e_reg_key_exists 'HKCU\Software\Velkaris' || e2e_fail "a registry key was written"
written=$(comm -13 <(echo "$drive_c_before") <(find "$WINEPREFIX/drive_c" | sort) | head -n 3)
[ -z "$written" ] || e2e_fail "files were written: $written"
e2e_log "nothing written; exit code 0"
