#!/usr/bin/env bash
# A publisher's signed release and its check by anyone, with a throwaway certificate
# authority, keys generated on a SoftHSM2 token of the test's own and a timestamp server of
# its own on the loopback address:
#   - refusals before anything is signed (wrong password or PIN, a PIN file without a PIN,
#     no such key, an unfit certificate, one that leads to no root, IN given as OUT): one
#     line, exit code 1, no file left;
#   - scripts/build --pack of eight unsigned programs that are not this project's, through
#     a key that asks for its PIN at each use, a PIN file saved on Windows (byte-order mark,
#     CR LF) and two timestamp servers, the first refusing: the installer and the ten
#     programs it carries verify against the chain in OUTDIR/signatures/, timestamps too;
#     SHA256SUMS checks; the publisher's own file in OUTDIR stays; the bill of materials
#     is valid CycloneDX 1.6 with what BSI TR-03183-2 asks; the installer installs the
#     signed programs with their shortcuts, values and the pack's version, and the
#     uninstaller removes them; an unsigned build into that OUTDIR is refused;
#   - a build from a copy of the sources in another folder (another umask, time zone,
#     locale, home folder, the liblzma cache through a symbolic link) given only the
#     published signatures: every file of the release is byte for byte the signed build's;
#   - a signature that does not fit, is cut short, whose value, certificate or timestamp is
#     damaged, or that another key made, stops with one line, and so does a build given
#     it, leaving its OUTDIR as it was; the publisher's chain, given, refuses another
#     signer's folder with its own chain.
#   release_signed.sh SOURCE_DIR WINDOWS_BINARY_DIR WINDOW_PROBE PACK_TOOL
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
source "$(dirname "$0")/release_lib.sh"
release_init "$1" "$2"
uninstall_begin "(built below)" "${3:?window probe}"
tool=${4:?package tool}
codesign="$release_source/scripts/codesign"
signer="$e2e_work/signer"
release_make_signer "$signer"
release_make_token "$signer"
release_start_timestamp_server "$signer"
# The test's authority stands for the system's: it completes the token certificate's chain
# and vouches for the timestamps. The loopback server is reached without any proxy.
export SSL_CERT_FILE="$signer/ca.pem"
unset http_proxy HTTP_PROXY
pack="$e2e_work/pack"
release_make_pack "$pack"
sample="$pack/Brinet.exe"

# codesign_refused RUN LINE IN [VARIABLE=VALUE...]: codesign RUN (--check, or sign: IN into
# a program and a signature beside a signer's chain) with these settings fails with exit
# code 1 and LINE, and leaves neither the program nor the signature.
codesign_refused() {
  local run=$1 line=$2 in=$3 status=0
  shift 3
  rm -rf "$e2e_work/refused"
  mkdir -p "$e2e_work/refused/signatures"
  cp "$in" "$e2e_work/refused/signed.exe"
  cp "$signer/ca.pem" "$e2e_work/refused/signatures/signer-chain.pem"
  local arguments=(--check)
  [ "$run" = --check ] || arguments=("$in" "$e2e_work/refused/signed.exe"
                                     "$e2e_work/refused/signatures/signed.exe.sig")
  env "$@" "$codesign" "${arguments[@]}" >"$e2e_work/refused.out" 2>"$e2e_work/refused.err" ||
    status=$?
  [ "$status" = 1 ] || e2e_fail "$line: codesign $run gave exit code $status"
  [ "$(cat "$e2e_work/refused.err")" = "$line" ] ||
    e2e_fail "expected '$line' from codesign $run, got:" \
      "$(cat "$e2e_work/refused.out" "$e2e_work/refused.err")"
  [ "$run" = --check ] || [ -z "$(find "$e2e_work/refused" -type f ! -name signer-chain.pem)" ] ||
    e2e_fail "a refused signature left $(find "$e2e_work/refused" -type f)"
}

# expect_refusal LINE IN [VARIABLE=VALUE...]: both the build's check before it builds and
# the signing of IN are refused so.
expect_refusal() {
  codesign_refused --check "$@"
  codesign_refused sign "$@"
  e2e_log "refused: $1"
}

printf 'not the password\n' >"$signer/wrong"
expect_refusal "codesign: wrong password for $signer/signer.p12 (read from $signer/wrong)" \
  "$sample" VELKARIS_SIGN_PKCS12="$signer/signer.p12" VELKARIS_SIGN_PASSWORD_FILE="$signer/wrong"
token=(VELKARIS_SIGN_PKCS11_MODULE="$release_module" VELKARIS_SIGN_PIN_FILE="$signer/pin")
publisher=("${token[@]}" VELKARIS_SIGN_KEY="$release_key")
expect_refusal "codesign: wrong PIN for $release_key (read from $signer/wrong)" "$sample" \
  "${publisher[@]}" VELKARIS_SIGN_PIN_FILE="$signer/wrong"
printf '\xef\xbb\xbf\r\n' >"$signer/no-pin"
expect_refusal "codesign: the PIN file $signer/no-pin holds no PIN on its first line" "$sample" \
  "${publisher[@]}" VELKARIS_SIGN_PIN_FILE="$signer/no-pin"
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
: >"$signer/no-authorities.pem"
codesign_refused --check "codesign: the certificate 'CN = Velkaris Test Publisher' leads to no\
 root: its issuer CN = Velkaris Test CA is neither among the certificates the signature\
 carries nor in $signer/no-authorities.pem" "$sample" "${publisher[@]}" \
  SSL_CERT_FILE="$signer/no-authorities.pem"
e2e_log "refused: a certificate whose issuer is not known"
same="$e2e_work/same.exe"
cp "$sample" "$same"
status=0
env "${publisher[@]}" "$codesign" "$same" "$same" "$same.sig" 2>"$e2e_work/refused.err" ||
  status=$?
install_expect "signing a program into itself" "$status $(cat "$e2e_work/refused.err")" \
  "1 codesign: IN, OUT and SIGNATURE must be three files, but $same and $same are one"
cmp -s "$sample" "$same" || e2e_fail "signing a program into itself changed it"
e2e_log "refused: a program signed into itself, which stays as it was"
printf '\xef\xbb\xbfthrowaway password\r\n' >"$signer/password-windows"
VELKARIS_SIGN_PKCS12="$signer/signer.p12" VELKARIS_SIGN_PASSWORD_FILE="$signer/password-windows" \
  "$codesign" --check || e2e_fail "a password file saved on Windows is not read as its password"
e2e_log "a password file with a byte-order mark and CR LF opens the PKCS#12 file"

# The publisher's release, into a folder that holds a file of theirs.
out="$e2e_work/release"
mkdir "$out"
echo "the publisher's notes" >"$out/notes.txt"
notes=$(stat -c %i "$out/notes.txt")
printf '\xef\xbb\xbf246813\r\n' >"$signer/pin-windows"
release_publisher_build "$pack" "$out" VELKARIS_SIGN_PKCS11_MODULE="$release_module" \
  VELKARIS_SIGN_KEY="$release_always_key" VELKARIS_SIGN_PIN_FILE="$signer/pin-windows" \
  VELKARIS_SIGN_TIMESTAMP_URL="http://127.0.0.1:1/ $release_timestamp_url"
[ "$release_status" = 0 ] ||
  e2e_fail "the signed build of the pack failed ($release_status): $(cat "$e2e_work/build.err")"
e2e_log "built: $(tail -n 1 "$e2e_work/build.out")"
release_files=(VelkarisSetup.cdx.json VelkarisSetup.exe package_constants.h velkaris.pkg
  signatures/signer-chain.pem)
for name in "${release_names[@]}" uninstall-all-users uninstall VelkarisSetup; do
  release_files+=("signatures/$name.exe.sig")
done
install_expect "the output folder" "$(install_listing "$out")" \
  "SHA256SUMS VelkarisSetup.cdx.json VelkarisSetup.exe notes.txt package_constants.h signatures velkaris.pkg"
[ "$(stat -c %i "$out/notes.txt")" = "$notes" ] ||
  e2e_fail "the publisher's notes.txt is not the file it was"
release_expect_checksums "$out" "${release_files[@]}"
e2e_log "SHA256SUMS names the release's $(wc -l <"$out/SHA256SUMS") files and sha256sum -c accepts them"

chain="$out/signatures/signer-chain.pem"
cmp -s <(openssl x509 -in "$chain" -outform der) <(openssl x509 -in "$signer/always.pem" -outform der) ||
  e2e_fail "the signer's chain does not begin with the token's certificate"
install_pkg="$e2e_work/extracted"
"$tool" extract "$out/VelkarisSetup.exe" "$install_pkg" >/dev/null ||
  e2e_fail "cannot extract the package of $out/VelkarisSetup.exe"
release_expect_signed "$chain" "$out/VelkarisSetup.exe" "$install_pkg"/*.exe
e2e_log "the installer and the $(ls "$install_pkg"/*.exe | wc -l) programs it carries verify," \
  "with their timestamps"
release_expect_bill_of_materials "$out" "$install_pkg"
e2e_log "the bill of materials is valid CycloneDX 1.6 and names makers, versions, licences," \
  "source packages and dependencies"

uninstall_setup="$out/VelkarisSetup.exe"
uninstall_install_all
install_expect "installed files" "$(install_listing "$uninstall_dest")" \
  "Brinet.exe LockBin.exe Notarel.exe Packrill.exe Padwick.exe PaneVista.exe QuietVault.exe \
Tunewell.exe uninstall.exe"
for i in "${!release_names[@]}"; do
  install_expect_program "$i" "$uninstall_dest"
  program="$uninstall_win_dest\\${release_names[$i]}.exe"
  install_expect_link "$uninstall_menu/${release_names[$i]}.lnk" "$program"
  install_expect_app_values "$i" "$program"
done
cmp -s "$uninstall_dest/uninstall.exe" "$(install_package_file uninstaller)" ||
  e2e_fail "uninstall.exe differs from entry 10"
release_expect_signed "$chain" "$uninstall_dest"/*.exe
install_expect_reg "$install_uninstall_key" DisplayVersion REG_SZ \
  "$(jq -r '.components[] | select(.name == "velkaris.pkg") | .version' "$out/VelkarisSetup.cdx.json")"
e2e_log "installed the signed programs, their shortcuts and values, and the pack's version"
uninstall_remove_all
e2e_log "the uninstaller removed the publisher's programs"

state=$(release_folder_state "$out")
release_publisher_build "$pack" "$out"
release_expect_refused "build: $out/signatures holds the detached signatures of another\
 release ($(cd "$out/signatures" && ls -- *.sig | LC_ALL=C sort | paste -sd ' ')), which a\
 build never deletes: move them away, or pass --replace-signatures to replace them"
[ "$(release_folder_state "$out")" = "$state" ] || e2e_fail "the refused build changed $out"

# What the publisher publishes: the signatures and their chain, nothing of the key.
published="$e2e_work/published"
cp -r "$out/signatures" "$published"
lzma_prefix=$(release_option VELKARIS_LZMA_MINGW_PREFIX)
ln -s "$(dirname "$lzma_prefix")" "$e2e_work/cache"
mkdir "$e2e_work/home"
(
  umask 077
  unset SOFTHSM2_CONF
  export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8 HOME="$e2e_work/home"
  release_build "$e2e_work/again" -DVELKARIS_PUBLISHER_PACK_DIR="$pack" \
    -DVELKARIS_SIGNATURES="$published" -DVELKARIS_PACK_BUILD_OPTIONS="$release_pack_options" \
    -DVELKARIS_LZMA_MINGW_PREFIX="$e2e_work/cache/${lzma_prefix##*/}"
)
again="$e2e_work/again/out"
differing=()
for file in "${release_files[@]}" SHA256SUMS; do
  cmp -s "$out/$file" "$again/$file" || differing+=("$file")
  e2e_log "$(sha256sum "$again/$file" | cut -c1-64) $file"
done
[ ${#differing[@]} -eq 0 ] || e2e_fail "differ from the signed build: ${differing[*]}"
e2e_log "the build from the published signatures is byte for byte the signed release"

# flip_byte FILE OFFSET: one bit of FILE's byte at OFFSET changed.
flip_byte() {
  local byte
  byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 1)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
# signature_value FILE first|last: a byte inside the signer's (the first) or the timestamp
# authority's (the last) 2048-bit signature value in the DER signature FILE.
signature_value() {
  openssl asn1parse -inform der -in "$1" | awk -F: -v which="$2" '
    /hl=4 l= 256 prim: OCTET STRING/ { last = $1 + 4; if (!first) first = last }
    END { print (which == "first" ? first : last) + 10 }'
}

# attach_refused SIGNATURE CHAIN LINE [VARIABLE=VALUE...]: attaching SIGNATURE as Brinet.exe's,
# from a folder where it lies beside CHAIN, fails with LINE and leaves no file.
attach_refused() {
  local status=0 signature=$1 folder_chain=$2 line=$3
  shift 3
  rm -rf "$e2e_work/given" "$e2e_work/refused"
  mkdir -p "$e2e_work/given" "$e2e_work/refused"
  cp "$signature" "$e2e_work/given/Brinet.exe.sig"
  cp "$folder_chain" "$e2e_work/given/signer-chain.pem"
  env VELKARIS_SIGNATURES="$e2e_work/given" "$@" "$codesign" "$sample" \
    "$e2e_work/refused/Brinet.exe" "$e2e_work/refused/signatures/Brinet.exe.sig" \
    >"$e2e_work/refused.out" 2>"$e2e_work/refused.err" || status=$?
  [ "$status" = 1 ] || e2e_fail "attaching $signature gave exit code $status"
  [ "$(cat "$e2e_work/refused.err")" = "$line" ] ||
    e2e_fail "expected '$line', got: $(cat "$e2e_work/refused.out" "$e2e_work/refused.err")"
  [ -z "$(find "$e2e_work/refused" -type f)" ] ||
    e2e_fail "a refused signature left $(find "$e2e_work/refused" -type f)"
  e2e_log "refused: $line"
}
given="the signature $e2e_work/given/Brinet.exe.sig"
attach_refused "$published/PaneVista.exe.sig" "$chain" "codesign: $given does not fit Brinet.exe"
head -c 600 "$published/Brinet.exe.sig" >"$e2e_work/cut.sig"
attach_refused "$e2e_work/cut.sig" "$chain" "codesign: $given cannot be attached to Brinet.exe"
cp "$published/Brinet.exe.sig" "$e2e_work/value.sig"
flip_byte "$e2e_work/value.sig" "$(signature_value "$e2e_work/value.sig" first)"
attach_refused "$e2e_work/value.sig" "$chain" \
  "codesign: $given does not verify: its signature value does not match its content"
cp "$published/Brinet.exe.sig" "$e2e_work/certificate.sig"
flip_byte "$e2e_work/certificate.sig" \
  "$(grep -obUa 'Velkaris Test Always' "$e2e_work/certificate.sig" | head -n 1 | cut -d: -f1)"
not_publisher="does not verify: its signer is not 'CN = Velkaris Test Always', the first\
 certificate of"
attach_refused "$e2e_work/certificate.sig" "$chain" \
  "codesign: $given $not_publisher $e2e_work/given/signer-chain.pem"
cp "$published/Brinet.exe.sig" "$e2e_work/timestamp.sig"
flip_byte "$e2e_work/timestamp.sig" "$(signature_value "$e2e_work/timestamp.sig" last)"
attach_refused "$e2e_work/timestamp.sig" "$chain" "codesign: $given does not verify: its\
 timestamp is damaged (its signature value does not match its content)"
# Another signer's: Brinet.exe signed with the PKCS#12 file's key, which the same authority
# certified, and that signer's chain. Beside the publisher's chain, or given the publisher's
# chain to trust, it is refused; a folder of its own with its own chain attaches.
other="$e2e_work/other"
(
  export VELKARIS_SIGN_PKCS12="$signer/signer.p12" VELKARIS_SIGN_PASSWORD_FILE="$signer/password"
  "$codesign" --chain "$other/signer-chain.pem" &&
    "$codesign" "$sample" "$e2e_work/other.exe" "$other/Brinet.exe.sig"
) || e2e_fail "the PKCS#12 file does not sign"
attach_refused "$other/Brinet.exe.sig" "$chain" \
  "codesign: $given $not_publisher $e2e_work/given/signer-chain.pem"
VELKARIS_SIGNATURES="$other" "$codesign" "$sample" "$e2e_work/other-attached/Brinet.exe" \
  "$e2e_work/other-attached/signatures/Brinet.exe.sig" ||
  e2e_fail "another signer's folder with its own chain does not attach"
attach_refused "$other/Brinet.exe.sig" "$other/signer-chain.pem" \
  "codesign: $given $not_publisher $chain" VELKARIS_SIGNATURES_CHAIN="$chain"

# A build given a damaged signature stops at it, and its output folder stays as it was.
cp -r "$published" "$e2e_work/damaged"
cp "$e2e_work/value.sig" "$e2e_work/damaged/Brinet.exe.sig"
rebuilt="$e2e_work/rebuilt"
mkdir "$rebuilt"
echo "the publisher's notes" >"$rebuilt/notes.txt"
state=$(release_folder_state "$rebuilt")
release_publisher_build "$pack" "$rebuilt" VELKARIS_SIGNATURES="$e2e_work/damaged"
release_expect_refused "codesign: the signature $e2e_work/damaged/Brinet.exe.sig does not\
 verify: its signature value does not match its content"
[ "$(release_folder_state "$rebuilt")" = "$state" ] || e2e_fail "the refused build changed $rebuilt"
