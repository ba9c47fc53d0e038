#!/usr/bin/env bash
# A signed release and its check by anyone. With a throwaway certificate authority, a key
# generated on a SoftHSM2 token of the test's own and its certificate stored there:
#   - the refusals before anything is signed (a wrong PKCS#12 password; a wrong PIN, no
#     such key, a certificate that is not for code signing, expired or not yet valid, a key
#     that does not match the certificate): each one line and exit code 1, no file left;
#   - a build signed through the token: the installer and the ten programs verify against
#     the authority, the installer installs them signed and the uninstaller removes them,
#     and its bill of materials is valid CycloneDX 1.6 with the shipped files' hashes;
#   - a build from a copy of the sources in another folder, with another umask, time zone,
#     locale and home folder, given only the signatures the signed build published: every
#     file it ships is byte for byte the signed build's (programs, uninstallers, package,
#     constants, installer, bill of materials, signatures);
#   - a signature attached to a program it does not fit, or cut short, stops with one line.
#   release_signed.sh SOURCE_DIR WINDOWS_BINARY_DIR SAMPLE_PROGRAM WINDOW_PROBE
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
source "$(dirname "$0")/release_lib.sh"
release_init "$1" "$2"
sample=${3:?a program to sign}
uninstall_begin "(built below)" "${4:?window probe}"
codesign="$release_source/scripts/codesign"
signer="$e2e_work/signer"
release_make_signer "$signer"
release_make_token "$signer"

# expect_refusal LINE IN [VARIABLE=VALUE...]: both the build's check before it builds and
# the signing of IN, with these settings, fail with exit code 1 and LINE, and the program
# and signature asked for do not exist afterwards (an unsigned file in the program's place
# does not survive).
expect_refusal() {
  local line=$1 in=$2 status run
  shift 2
  for run in --check sign; do
    rm -rf "$e2e_work/refused"
    mkdir -p "$e2e_work/refused/signatures"
    cp "$in" "$e2e_work/refused/signed.exe"
    local arguments=(--check)
    [ $run = --check ] || arguments=("$in" "$e2e_work/refused/signed.exe"
                                     "$e2e_work/refused/signatures/signed.exe.sig")
    status=0
    env "$@" "$codesign" "${arguments[@]}" >"$e2e_work/refused.out" 2>"$e2e_work/refused.err" ||
      status=$?
    [ "$status" = 1 ] || e2e_fail "$line: codesign $run gave exit code $status"
    [ "$(cat "$e2e_work/refused.err")" = "$line" ] ||
      e2e_fail "expected '$line' from codesign $run, got:" \
        "$(cat "$e2e_work/refused.out" "$e2e_work/refused.err")"
    [ $run = --check ] || [ -z "$(find "$e2e_work/refused" -type f)" ] ||
      e2e_fail "a refused signature left $(find "$e2e_work/refused" -type f)"
  done
  e2e_log "refused: $line"
}

printf 'not the password\n' >"$signer/wrong"
expect_refusal "codesign: wrong password for $signer/signer.p12 (read from $signer/wrong)" \
  "$sample" VELKARIS_SIGN_PKCS12="$signer/signer.p12" VELKARIS_SIGN_PASSWORD_FILE="$signer/wrong"
token=(VELKARIS_SIGN_PKCS11_MODULE="$release_module" VELKARIS_SIGN_PIN_FILE="$signer/pin")
publisher=("${token[@]}" VELKARIS_SIGN_KEY="$release_key")
expect_refusal "codesign: wrong PIN for $release_key (read from $signer/wrong)" "$sample" \
  "${publisher[@]}" VELKARIS_SIGN_PIN_FILE="$signer/wrong"
nobody="${release_key/publisher/nobody}"
expect_refusal "codesign: no key $nobody on the tokens of $release_module" "$sample" \
  "${token[@]}" VELKARIS_SIGN_KEY="$nobody"
certificate="codesign: the certificate 'CN = Velkaris Test Publisher' in $signer"
expect_refusal "$certificate/not-code-signing.pem is not for code signing" "$sample" \
  "${publisher[@]}" VELKARIS_SIGN_CERTIFICATE="$signer/not-code-signing.pem"
expect_refusal "$certificate/expired.pem expired on Jan  2 00:00:00 2020 GMT" "$sample" \
  "${publisher[@]}" VELKARIS_SIGN_CERTIFICATE="$signer/expired.pem"
expect_refusal "$certificate/future.pem is not valid before Jan  1 00:00:00 2099 GMT" "$sample" \
  "${publisher[@]}" VELKARIS_SIGN_CERTIFICATE="$signer/future.pem"
stale="${release_key/publisher/stale}"
mismatch="the certificate in the token (at ${stale/type=private/type=cert})"
expect_refusal "codesign: the key $stale does not match $mismatch" "$sample" \
  "${token[@]}" VELKARIS_SIGN_KEY="$stale"

release_build "$e2e_work/signed" -DVELKARIS_SIGN_PKCS11_MODULE="$release_module" \
  -DVELKARIS_SIGN_KEY="$release_key" -DVELKARIS_SIGN_PIN_FILE="$signer/pin"
out="$e2e_work/signed/out"
release_expect_signed "$signer/ca.pem" "$out/VelkarisSetup.exe" "$out"/pack/*.exe
e2e_log "the installer and the $(ls "$out"/pack/*.exe | wc -l) programs of the pack verify"
release_expect_bill_of_materials "$out"
e2e_log "the bill of materials is valid CycloneDX 1.6 and names the shipped files' hashes"

uninstall_setup="$out/VelkarisSetup.exe"
uninstall_install_all
release_expect_signed "$signer/ca.pem" "$uninstall_dest"/*.exe
for name in "${uninstall_names[@]}" uninstall; do
  cmp -s "$uninstall_dest/$name.exe" "$out/pack/$name.exe" ||
    e2e_fail "the installed $name.exe is not the signed one"
done
e2e_log "the installed programs are the signed ones and verify"
uninstall_remove_all
e2e_log "the uninstaller removed the signed applications"

# What the publisher publishes: the signatures, nothing of the key.
published="$e2e_work/published"
cp -r "$out/signatures" "$published"
mkdir "$e2e_work/home"
(
  umask 077
  unset SOFTHSM2_CONF
  export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8 HOME="$e2e_work/home"
  release_build "$e2e_work/again" -DVELKARIS_SIGNATURES="$published"
)
again="$e2e_work/again/out"
(cd "$out" && find . -type f | LC_ALL=C sort) >"$e2e_work/shipped.list"
(cd "$again" && find . -type f | LC_ALL=C sort) >"$e2e_work/again.list"
diff "$e2e_work/shipped.list" "$e2e_work/again.list" ||
  e2e_fail "the build from the signatures ships other files"
differing=()
while read -r file; do
  cmp -s "$out/$file" "$again/$file" || differing+=("$file")
  e2e_log "$(sha256sum "$again/$file" | cut -c1-64) ${file#./}"
done <"$e2e_work/shipped.list"
[ ${#differing[@]} -eq 0 ] || e2e_fail "differ from the signed build: ${differing[*]}"
e2e_log "the build from the published signatures is byte for byte the signed release"

# attach_refused SIGNATURE LINE: attaching SIGNATURE as Brinet.exe's fails with LINE.
attach_refused() {
  local status=0
  rm -rf "$e2e_work/given" "$e2e_work/refused"
  mkdir -p "$e2e_work/given" "$e2e_work/refused"
  cp "$1" "$e2e_work/given/Brinet.exe.sig"
  VELKARIS_SIGNATURES="$e2e_work/given" "$codesign" \
    "$e2e_work/signed/build/unsigned/Brinet.exe" "$e2e_work/refused/Brinet.exe" \
    "$e2e_work/refused/signatures/Brinet.exe.sig" \
    >"$e2e_work/refused.out" 2>"$e2e_work/refused.err" || status=$?
  [ "$status" = 1 ] || e2e_fail "attaching $1 gave exit code $status"
  [ "$(cat "$e2e_work/refused.err")" = "$2" ] ||
    e2e_fail "expected '$2', got: $(cat "$e2e_work/refused.out" "$e2e_work/refused.err")"
  [ -z "$(find "$e2e_work/refused" -type f)" ] ||
    e2e_fail "a refused signature left $(find "$e2e_work/refused" -type f)"
  e2e_log "refused: $2"
}
attach_refused "$published/PaneVista.exe.sig" \
  "codesign: the signature $e2e_work/given/Brinet.exe.sig does not fit Brinet.exe"
head -c 600 "$published/Brinet.exe.sig" >"$e2e_work/damaged.sig"
attach_refused "$e2e_work/damaged.sig" \
  "codesign: the signature $e2e_work/given/Brinet.exe.sig cannot be attached to Brinet.exe"
