# Shared steps of the release tests, sourced after e2e_lib.sh: a publisher's pack of eight
# programs that are not this project's, and its build through scripts/build --pack, which
# both tests run in build/publisher/, the signed one after the other (CTest's DEPENDS),
# reusing what it compiled there; a build of only what ships, from a copy of the sources in
# another folder, with the main build's time, commit and tools; a throwaway certificate
# authority with a code-signing certificate for it, in a PKCS#12 file and on a SoftHSM2
# token of the test's own, and a timestamp server of its own on the loopback address; the
# checks of a release.
#   release_init SOURCE_DIR WINDOWS_BINARY_DIR

release_init() {
  release_source=${1:?source folder}
  release_main=${2:?the main Windows build folder}
  [ -f "$release_main/CMakeCache.txt" ] || e2e_fail "no CMakeCache.txt in $release_main"
  release_names=(Brinet PaneVista QuietVault Padwick Tunewell Notarel LockBin Packrill)
  # The package is built with one quick setting: what the tests show does not depend on
  # how small it is, and each build of theirs would otherwise spend minutes on the search.
  release_pack_options='--encoder liblzma --lc 3 --pb 2 --mf hc4 --nice 16 --depth 4'
}

# release_make_pack FOLDER: a publisher's pack in FOLDER: eight small programs that are not
# this project's (Wine's own, without their debug sections) and a licence of the test's own.
release_make_pack() {
  local wine_programs=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows i
  local sources=(hostname expand winver write icinfo control lodctr unlodctr)
  mkdir -p "$1"
  for i in "${!release_names[@]}"; do
    x86_64-w64-mingw32-strip --strip-debug -o "$1/${release_names[$i]}.exe" \
      "$wine_programs/${sources[$i]}.exe" || e2e_fail "cannot strip ${sources[$i]}.exe"
  done
  printf 'Test Publisher Licence\r\n\r\nThese eight programs are lent by Wine.' \
    >"$1/licence.txt"
}

# release_publisher_build DIR OUTDIR [VARIABLE=VALUE...] [-- OPTION...]: runs the
# publisher's command with the main build's time and commit, as release_build does, unsigned
# unless the variables say how to sign, with the options after --; sets release_status and
# leaves its output in $e2e_work/build.out and build.err.
release_publisher_build() {
  local dir=$1 out=$2 settings=() options=()
  shift 2
  while [ $# -gt 0 ] && [ "$1" != -- ]; do settings+=("$1"); shift; done
  [ $# -eq 0 ] || { shift; options=("$@"); }
  release_status=0
  env -u VELKARIS_SIGN_PKCS12 -u VELKARIS_SIGN_PASSWORD_FILE -u VELKARIS_SIGN_TIMESTAMP_URL \
    -u VELKARIS_SIGN_PKCS11_MODULE -u VELKARIS_SIGN_KEY -u VELKARIS_SIGN_PIN_FILE \
    -u VELKARIS_SIGN_CERTIFICATE -u VELKARIS_SIGNATURES -u VELKARIS_SIGNATURES_CHAIN \
    VELKARIS_PACK_BUILD_OPTIONS="$release_pack_options" \
    SOURCE_DATE_EPOCH="$(release_option VELKARIS_SOURCE_DATE_EPOCH)" \
    VELKARIS_SOURCE_COMMIT="$(release_option VELKARIS_SOURCE_COMMIT)" "${settings[@]}" \
    "$release_source/scripts/build" --pack "$dir" --out "$out" "${options[@]}" \
    >"$e2e_work/build.out" 2>"$e2e_work/build.err" </dev/null || release_status=$?
}

# release_expect_refused LINE: the last publisher's build said LINE alone, on its error
# output, and exited with 1.
release_expect_refused() {
  [ "$release_status" = 1 ] || e2e_fail "$1: exit code $release_status, expected 1;" \
    "it said: $(cat "$e2e_work/build.err")"
  [ "$(cat "$e2e_work/build.err")" = "$1" ] ||
    e2e_fail "the build said: '$(cat "$e2e_work/build.err")', expected: '$1'"
  e2e_log "refused: $1"
}

# release_folder_state FOLDER: the names, inodes and contents of FOLDER's files, which a
# refused build leaves as they were.
release_folder_state() {
  (cd "$1" && find . -printf '%P %i %y %s\n' | LC_ALL=C sort &&
    find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha256sum)
}

# release_expect_checksums OUTDIR FILE...: OUTDIR/SHA256SUMS names exactly the FILEs and the
# files of signatures/ but the publisher's own, and sha256sum -c accepts them all.
release_expect_checksums() {
  local out=$1 listed expected
  shift
  listed=$(sed 's/^[0-9a-f]\{64\}  //' "$out/SHA256SUMS" | tr '\n' ' ')
  expected=$(printf '%s\n' "$@" | LC_ALL=C sort | tr '\n' ' ')
  [ "$listed" = "$expected" ] ||
    e2e_fail "SHA256SUMS lists '$listed', expected '$expected'"
  (cd "$out" && sha256sum --strict -c SHA256SUMS >"$e2e_work/sha256sum.log" 2>&1) ||
    e2e_fail "sha256sum -c SHA256SUMS in $out: $(grep -v ': OK$' "$e2e_work/sha256sum.log")"
}

# release_option NAME: a value of the main Windows build's CMake cache.
release_option() { sed -n "s/^$1:[A-Z]*=//p" "$release_main/CMakeCache.txt"; }

# release_build FOLDER [CMAKE_ARGS...]: copies the sources to FOLDER/src, configures a Windows
# tree in FOLDER/build with the main build's time, commit, tool and liblzma, unsigned unless
# the CMAKE_ARGS say how to sign, writing to FOLDER/out, and builds the installer, its bill
# of materials and everything they are made of, nothing else.
release_build() {
  local folder=$1 option
  shift
  local options=(-DCMAKE_BUILD_TYPE="$(release_option CMAKE_BUILD_TYPE)")
  for option in VELKARIS_PACK_TOOL VELKARIS_LZMA_MINGW_PREFIX VELKARIS_SOURCE_DATE_EPOCH \
                VELKARIS_SOURCE_COMMIT; do
    options+=("-D$option=$(release_option "$option")")
  done
  for option in VELKARIS_SIGN_PKCS12 VELKARIS_SIGN_PASSWORD_FILE VELKARIS_SIGN_PKCS11_MODULE \
                VELKARIS_SIGN_KEY VELKARIS_SIGN_PIN_FILE VELKARIS_SIGN_CERTIFICATE \
                VELKARIS_SIGNATURES VELKARIS_SIGNATURES_CHAIN VELKARIS_SIGN_TIMESTAMP_URL; do
    options+=("-D$option=")
  done
  mkdir -p "$folder/src"
  tar -C "$release_source" --exclude=./build -cf - . | tar -C "$folder/src" -xf -
  cmake -S "$folder/src" -B "$folder/build" -G Ninja \
    --toolchain "$folder/src/cmake/mingw-w64-x86_64.cmake" -DVELKARIS_OUT_DIR="$folder/out" \
    "${options[@]}" "$@" >"$folder/configure.log" 2>&1 ||
    { tail -n 20 "$folder/configure.log" >&2; e2e_fail "configuring $folder/build failed"; }
  cmake --build "$folder/build" --target VelkarisSetup_shipped >"$folder/build.log" 2>&1 ||
    { tail -n 20 "$folder/build.log" >&2; e2e_fail "building in $folder/build failed"; }
}

# release_issue FOLDER CSR OUT EXTENSIONS [openssl ca options...]: the test authority of
# FOLDER issues a certificate for CSR with the extensions given, one per line.
release_issue() {
  local folder=$1 csr=$2 out=$3 extensions=$4
  shift 4
  printf '%s\n' "$extensions" >"$folder/issue.ext"
  openssl ca -batch -config "$folder/ca.cnf" -notext -in "$csr" -out "$out" \
    -extfile "$folder/issue.ext" "$@" >>"$folder/openssl.log" 2>&1 ||
    { cat "$folder/openssl.log" >&2; e2e_fail "openssl ca failed for $out"; }
}

# release_make_signer FOLDER: a certificate authority (FOLDER/ca.pem) and a code-signing
# certificate it issued with its key in FOLDER/signer.p12, whose password is in
# FOLDER/password.
release_make_signer() {
  local folder=$1
  mkdir -p "$folder/issued"
  : >"$folder/index.txt"
  printf '%s\n' '[ca]' 'default_ca = test' '[test]' "database = $folder/index.txt" \
    "new_certs_dir = $folder/issued" "certificate = $folder/ca.pem" \
    "private_key = $folder/ca.key" "serial = $folder/serial" 'default_md = sha256' \
    'default_days = 1' 'policy = any' 'unique_subject = no' '[any]' \
    'commonName = supplied' >"$folder/ca.cnf"
  (
    cd "$folder"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
      -subj '/CN=Velkaris Test CA' -addext 'basicConstraints=critical,CA:true' \
      -addext 'keyUsage=critical,keyCertSign,cRLSign'
    openssl rand -hex 8 >serial
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
      -subj '/CN=Velkaris Test Publisher'
  ) >"$folder/openssl.log" 2>&1 || { cat "$folder/openssl.log" >&2; e2e_fail "openssl failed"; }
  release_code_signing=$'extendedKeyUsage=codeSigning\nkeyUsage=critical,digitalSignature'
  release_issue "$folder" "$folder/signer.csr" "$folder/signer.pem" "$release_code_signing"
  printf 'throwaway password\n' >"$folder/password"
  openssl pkcs12 -export -inkey "$folder/signer.key" -in "$folder/signer.pem" \
    -passout "file:$folder/password" -out "$folder/signer.p12" >>"$folder/openssl.log" 2>&1 ||
    { cat "$folder/openssl.log" >&2; e2e_fail "openssl pkcs12 failed"; }
}

# release_start_timestamp_server FOLDER: after release_make_signer, a timestamp authority
# whose certificate the test authority issued, served over HTTP on the loopback address
# (brought up in the test's own network namespace) by tests/e2e/timestamp_server.py until
# the test ends; release_timestamp_url is its address.
release_start_timestamp_server() {
  local folder=$1 port
  (cd "$folder" && openssl req -newkey rsa:2048 -nodes -keyout tsa.key -out tsa.csr \
     -subj '/CN=Velkaris Test Timestamps') >>"$folder/openssl.log" 2>&1 ||
    { cat "$folder/openssl.log" >&2; e2e_fail "openssl req failed for the timestamps"; }
  release_issue "$folder" "$folder/tsa.csr" "$folder/tsa.pem" \
    $'extendedKeyUsage=critical,timeStamping\nkeyUsage=critical,digitalSignature'
  openssl rand -hex 8 >"$folder/tsa-serial"
  printf '%s\n' '[tsa]' 'default_tsa = test' '[test]' "serial = $folder/tsa-serial" \
    "signer_cert = $folder/tsa.pem" "signer_key = $folder/tsa.key" 'signer_digest = sha256' \
    'default_policy = 1.3.6.1.4.1.99999.1' 'digests = sha256, sha384, sha512' \
    'accuracy = secs:1' 'ess_cert_id_alg = sha256' >"$folder/tsa.cnf"
  ip link set lo up 2>/dev/null || true
  mkfifo "$folder/tsa-port"
  /usr/bin/python3 "$e2e_dir/timestamp_server.py" "$folder/tsa.cnf" >"$folder/tsa-port" \
    2>"$folder/tsa.log" &
  e2e_pids+=("$!")
  read -r -t 30 port <"$folder/tsa-port" ||
    e2e_fail "the timestamp server did not start: $(cat "$folder/tsa.log")"
  release_timestamp_url="http://127.0.0.1:$port/"
}

# release_token FOLDER ARGS...: pkcs11-tool on the token, its output in FOLDER/openssl.log.
release_token() {
  local folder=$1
  shift
  pkcs11-tool --module "$release_module" "$@" >>"$folder/openssl.log" 2>&1 </dev/null ||
    { cat "$folder/openssl.log" >&2; e2e_fail "pkcs11-tool $1 failed"; }
}

# release_make_token FOLDER: after release_make_signer, a SoftHSM2 token in FOLDER/tokens
# (SOFTHSM2_CONF is exported) whose PIN is in FOLDER/pin, with three keys generated on it:
#   publisher  stored beside the code-signing certificate the authority issued for it;
#              FOLDER/not-code-signing.pem, expired.pem and future.pem are certificates
#              for the same key that must not sign (only TLS, expired, not yet valid)
#   stale      stored beside a certificate for another key
#   always     a key that asks for its PIN at each use (CKA_ALWAYS_AUTHENTICATE), as smart
#              cards do, stored beside its code-signing certificate
# release_module is the token's PKCS#11 library, release_key the publisher's URI and
# release_always_key the other one's.
release_make_token() {
  local folder=$1
  release_module=/usr/lib/softhsm/libsofthsm2.so
  release_key='pkcs11:token=Velkaris%20Test;object=publisher;type=private'
  [ -f "$release_module" ] || e2e_fail "no SoftHSM2 module $release_module"
  mkdir -p "$folder/tokens"
  printf '%s\n' "directories.tokendir = $folder/tokens" 'objectstore.backend = file' \
    'log.level = ERROR' >"$folder/softhsm2.conf"
  export SOFTHSM2_CONF="$folder/softhsm2.conf"
  printf '%s\n' 'openssl_conf = init' '[init]' 'engines = engines' '[engines]' \
    'pkcs11 = pkcs11' '[pkcs11]' "MODULE_PATH = $release_module" >"$folder/engine.cnf"
  printf '246813\n' >"$folder/pin"
  # pkcs11-tool reads the PINs from the environment (env:NAME), never from a command line.
  local -x TOKEN_SO_PIN=13572468 TOKEN_PIN=246813
  local user=(--token-label 'Velkaris Test' --login --pin env:TOKEN_PIN)
  release_token "$folder" --init-token --label 'Velkaris Test' --so-pin env:TOKEN_SO_PIN
  release_token "$folder" --token-label 'Velkaris Test' --login --login-type so \
    --so-pin env:TOKEN_SO_PIN --init-pin --new-pin env:TOKEN_PIN
  release_token "$folder" "${user[@]}" --keypairgen --key-type rsa:2048 --id 01 --label publisher
  release_token "$folder" "${user[@]}" --keypairgen --key-type rsa:2048 --id 02 --label stale
  release_token "$folder" "${user[@]}" --keypairgen --key-type rsa:2048 --id 03 --label always \
    --always-auth
  release_always_key="${release_key/publisher/always}"
  # Signing a request with the key that asks at each use takes its PIN from OpenSSL's
  # prompt, which reads standard input in a session without a terminal.
  local name
  for name in publisher always; do
    OPENSSL_CONF="$folder/engine.cnf" setsid -w openssl req -new -engine pkcs11 \
      -keyform engine -key "${release_key/publisher/$name}" -passin "file:$folder/pin" \
      -subj "/CN=Velkaris Test ${name^}" -out "$folder/$name.csr" <"$folder/pin" \
      >>"$folder/openssl.log" 2>&1 ||
      { cat "$folder/openssl.log" >&2; e2e_fail "the token gave no certificate request"; }
    release_issue "$folder" "$folder/$name.csr" "$folder/$name.pem" "$release_code_signing"
  done
  release_issue "$folder" "$folder/publisher.csr" "$folder/not-code-signing.pem" \
    $'extendedKeyUsage=serverAuth\nkeyUsage=critical,digitalSignature'
  release_issue "$folder" "$folder/publisher.csr" "$folder/expired.pem" "$release_code_signing" \
    -startdate 20200101000000Z -enddate 20200102000000Z
  release_issue "$folder" "$folder/publisher.csr" "$folder/future.pem" "$release_code_signing" \
    -startdate 20990101000000Z -enddate 20990102000000Z
  openssl x509 -in "$folder/signer.pem" -outform der -out "$folder/stale.der"
  local id=1
  for name in publisher stale always; do
    [ "$name" = stale ] || openssl x509 -in "$folder/$name.pem" -outform der -out "$folder/$name.der"
    release_token "$folder" "${user[@]}" --write-object "$folder/$name.der" --type cert \
      --id "0$id" --label "$name"
    id=$((id + 1))
  done
}

# release_expect_signed CHAIN FILE...: each file carries a signature that verifies against
# the publisher's CHAIN, made by its first certificate, and a timestamp that verifies
# against the authorities of SSL_CERT_FILE.
release_expect_signed() {
  local chain=$1 file leaf
  shift
  leaf=$(openssl x509 -in "$chain" -outform der | sha256sum | cut -c1-64)
  for file in "$@"; do
    osslsigncode verify -CAfile "$chain" -TSA-CAfile "$SSL_CERT_FILE" \
      -require-leaf-hash "sha256:$leaf" -in "$file" >"$e2e_work/verify.log" 2>&1 &&
      grep -q '^Timestamp Server Signature verification: ok' "$e2e_work/verify.log" ||
      { cat "$e2e_work/verify.log" >&2
        e2e_fail "$file does not verify, timestamp included, against $chain"; }
  done
}

# release_expect_bill_of_materials OUT EXTRACTED: OUT/VelkarisSetup.cdx.json is valid
# CycloneDX 1.6 and gives the SHA-512 of OUT's installer and package and of each file the
# installer carries, as the package tool extracted them into EXTRACTED (and their sizes);
# who made it and every component, each component's version (the pack's release for the
# package and its files) and licence; one component per Debian source package, named as
# dpkg names the source of the packages it was taken from; the installer depending on the
# package, the package on its eleven files; the programs this build did not link, the
# publisher's, marked as of unknown composition.
release_expect_bill_of_materials() {
  local out=$1 extracted=$2 bill="$1/VelkarisSetup.cdx.json" schema name hash size row said
  [ -f "$bill" ] || e2e_fail "no bill of materials $bill"
  schema=$("$release_source/scripts/fetch-cyclonedx-schema" --print-dir)
  /usr/bin/python3 "$e2e_dir/cyclonedx_validate.py" "$schema" "$bill" >"$e2e_work/bom.log" ||
    { cat "$e2e_work/bom.log" >&2; e2e_fail "$bill is not valid CycloneDX 1.6"; }
  hash=$(jq -r '.metadata.component.hashes[] | select(.alg == "SHA-512") | .content' "$bill")
  [ "$hash" = "$(sha512sum "$out/VelkarisSetup.exe" | cut -d' ' -f1)" ] ||
    e2e_fail "the bill of materials gives the installer's SHA-512 as '$hash'"
  [ "$(jq '[.components[] | select(.hashes)] | length' "$bill")" = 12 ] ||
    e2e_fail "the bill of materials does not list the package and its eleven files"
  local file
  while IFS=$'\t' read -r name hash size row; do
    file="$out/$name"
    [ -z "$row" ] || file=$(find "$extracted" -name "$(printf '%02d' "$row")-*")
    [ "$hash" = "$(sha512sum "$file" | cut -d' ' -f1)" ] && [ "$size" = "$(stat -c %s "$file")" ] ||
      e2e_fail "the bill of materials gives $name as $size bytes with SHA-512 $hash"
  done < <(jq -r '.components[] | select(.hashes) | (.properties | from_entries) as $p |
    [.name, .hashes[0].content, $p["velkaris:size"], $p["velkaris:package-row"] // ""] | @tsv' \
    "$bill")
  said=$(jq -r '([.metadata.manufacturer.name, .metadata.tools.components[0].name,
      .metadata.tools.components[0].version] | join("|")),
    (.components[] | select(.supplier.name == null or .version == null) | "unmade " + .name),
    (.components[] | select(.hashes) | select(.version != "2308") | "version " + .name),
    (.components[] | select(.type == "library") |
     select([.licenses[].expression] | length != 1) | "licence " + .name)' "$bill")
  install_expect "the bill's makers, versions and licences" "$said" \
    "Velkaris|scripts/bill-of-materials|$(release_option CMAKE_PROJECT_VERSION)"
  local purl taken sources binaries
  while IFS=$'\t' read -r purl taken; do
    [[ $purl =~ ^pkg:deb/debian/([^@]+)@[^?]+\?arch=source\&distro=debian-12$ ]] ||
      e2e_fail "the library purl $purl is not a Debian 12 source package's"
    read -ra binaries <<<"${taken//,/}"
    case $taken in
      'the xz-utils source'*) sources=xz-utils ;;
      *) sources=$(dpkg-query -W -f='${source:Package}\n' "${binaries[@]}" | sort -u) ;;
    esac
    install_expect "the source package of $taken" "$sources" "${BASH_REMATCH[1]}"
  done < <(jq -r '.components[] | select(.type == "library") | [.purl,
    (.properties[] | select(.name == "velkaris:taken-from") | .value)] | @tsv' "$bill")
  [ -z "$(jq -r '[.components[].purl | values] | group_by(.)[] | select(length > 1)[0]' \
    "$bill")" ] || e2e_fail "two components of the bill of materials share a purl"
  said=$(jq -r '(.dependencies | map({key: .ref, value: .dependsOn}) | from_entries) as $d |
    ($d["file:VelkarisSetup.exe"] | map(select(startswith("file:"))) | join(" ")),
    ($d["file:velkaris.pkg"] | length),
    (([.components[] | select(.type == "application") | .["bom-ref"] | select($d[.] == [])] |
      sort) == ([.compositions[] | select(.aggregate == "unknown") | .dependencies[]] | sort))' \
    "$bill")
  install_expect "the bill's dependencies" "$said" $'file:velkaris.pkg\n11\ntrue'
}
