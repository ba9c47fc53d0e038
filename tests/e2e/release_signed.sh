#!/usr/bin/env bash
# A signed build: with a throwaway certificate authority and code-signing certificate, the
# installer and every program of the pack verify against that authority; the signed
# installer starts (its package checks out), installs, and the installed programs carry
# their signatures; the uninstaller knows the signed applications as the pack's and
# removes them. A wrong password fails with one line, and no program is left where the
# signed one was asked for.
#   release_signed.sh SOURCE_DIR WINDOWS_BINARY_DIR SAMPLE_PROGRAM WINDOW_PROBE
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
source "$(dirname "$0")/release_lib.sh"
release_init "$1" "$2"
sample=${3:?a program to sign}
uninstall_begin "(built below)" "${4:?window probe}"
signer="$e2e_work/signer"
release_make_signer "$signer"

# An unsigned program where the signed one is asked for must not survive the refusal.
printf 'not the password\n' >"$signer/wrong"
mkdir "$e2e_work/refused"
cp "$sample" "$e2e_work/refused/signed.exe"
status=0
VELKARIS_SIGN_PKCS12="$signer/signer.p12" VELKARIS_SIGN_PASSWORD_FILE="$signer/wrong" \
  "$release_source/scripts/codesign" "$sample" "$e2e_work/refused/signed.exe" \
  >"$e2e_work/refused.out" 2>"$e2e_work/refused.err" || status=$?
[ "$status" = 1 ] || e2e_fail "a wrong password gave exit code $status"
[ "$(cat "$e2e_work/refused.err")" = "codesign: wrong password for $signer/signer.p12 (read from $signer/wrong)" ] ||
  e2e_fail "a wrong password said: $(cat "$e2e_work/refused.out" "$e2e_work/refused.err")"
[ -z "$(ls -A "$e2e_work/refused")" ] || e2e_fail "a refused signature left $(ls -A "$e2e_work/refused")"
e2e_log "a wrong password: $(cat "$e2e_work/refused.err")"

release_build "$e2e_work/signed" -DVELKARIS_SIGN_PKCS12="$signer/signer.p12" \
  -DVELKARIS_SIGN_PASSWORD_FILE="$signer/password" -DVELKARIS_SIGN_TIMESTAMP_URL=
out="$e2e_work/signed/out"
release_expect_signed "$signer/ca.pem" "$out/VelkarisSetup.exe" "$out"/pack/*.exe
e2e_log "the installer and the $(ls "$out"/pack/*.exe | wc -l) programs of the pack verify"

uninstall_setup="$out/VelkarisSetup.exe"
uninstall_install_all
release_expect_signed "$signer/ca.pem" "$uninstall_dest"/*.exe
for name in "${uninstall_names[@]}" uninstall; do
  cmp -s "$uninstall_dest/$name.exe" "$out/pack/$name.exe" ||
    e2e_fail "the installed $name.exe is not the signed one"
done
e2e_log "the installed programs are the signed ones and verify"

uninstall_silent
[ "$uninstall_status" = 0 ] || e2e_fail "exit code $uninstall_status: $(cat "$e2e_work/stderr")"
uninstall_expect_applications_gone
[ ! -e "$uninstall_dest" ] || e2e_fail "the installation folder is still there"
e2e_log "the uninstaller removed the signed applications"
