# Shared steps of the release tests, sourced after e2e_lib.sh: a build of only what ships,
# from a copy of the sources in another folder, with the main build's time, commit and
# tools; a throwaway certificate authority with a code-signing certificate for it, in a
# PKCS#12 file and on a SoftHSM2 token of the test's own; the checks of a release.
#   release_init SOURCE_DIR WINDOWS_BINARY_DIR

release_init() {
  release_source=${1:?source folder}
  release_main=${2:?the main Windows build folder}
  [ -f "$release_main/CMakeCache.txt" ] || e2e_fail "no CMakeCache.txt in $release_main"
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
                VELKARIS_SIGNATURES VELKARIS_SIGN_TIMESTAMP_URL; do
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

# release_token FOLDER ARGS...: pkcs11-tool on the token, its output in FOLDER/openssl.log.
release_token() {
  local folder=$1
  shift
  pkcs11-tool --module "$release_module" "$@" >>"$folder/openssl.log" 2>&1 </dev/null ||
    { cat "$folder/openssl.log" >&2; e2e_fail "pkcs11-tool $1 failed"; }
}

# release_make_token FOLDER: after release_make_signer, a SoftHSM2 token in FOLDER/tokens
# (SOFTHSM2_CONF is exported) whose PIN is in FOLDER/pin, with two keys generated on it:
#   publisher  stored beside the code-signing certificate the authority issued for it;
#              FOLDER/not-code-signing.pem, expired.pem and future.pem are certificates
#              for the same key that must not sign (only TLS, expired, not yet valid)
#   stale      stored beside a certificate for another key
# release_module is the token's PKCS#11 library, release_key the publisher's URI.
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
  OPENSSL_CONF="$folder/engine.cnf" openssl req -new -engine pkcs11 -keyform engine \
    -key "$release_key" -passin "file:$folder/pin" -subj '/CN=Velkaris Test Publisher' \
    -out "$folder/publisher.csr" </dev/null >>"$folder/openssl.log" 2>&1 ||
    { cat "$folder/openssl.log" >&2; e2e_fail "the token gave no certificate request"; }
  release_issue "$folder" "$folder/publisher.csr" "$folder/publisher.pem" "$release_code_signing"
  release_issue "$folder" "$folder/publisher.csr" "$folder/not-code-signing.pem" \
    $'extendedKeyUsage=serverAuth\nkeyUsage=critical,digitalSignature'
  release_issue "$folder" "$folder/publisher.csr" "$folder/expired.pem" "$release_code_signing" \
    -startdate 20200101000000Z -enddate 20200102000000Z
  release_issue "$folder" "$folder/publisher.csr" "$folder/future.pem" "$release_code_signing" \
    -startdate 20990101000000Z -enddate 20990102000000Z
  openssl x509 -in "$folder/publisher.pem" -outform der -out "$folder/publisher.der"
  openssl x509 -in "$folder/signer.pem" -outform der -out "$folder/stale.der"
  release_token "$folder" "${user[@]}" --write-object "$folder/publisher.der" --type cert --id 01 \
    --label publisher
  release_token "$folder" "${user[@]}" --write-object "$folder/stale.der" --type cert --id 02 \
    --label stale
}

# release_expect_signed CA FILE...: each file carries a signature that verifies against CA.
release_expect_signed() {
  local ca=$1 file
  shift
  for file in "$@"; do
    osslsigncode verify -CAfile "$ca" -in "$file" >"$e2e_work/verify.log" 2>&1 ||
      { cat "$e2e_work/verify.log" >&2; e2e_fail "$file does not verify against $ca"; }
  done
}

# release_expect_bill_of_materials OUT: OUT/VelkarisSetup.cdx.json is valid CycloneDX 1.6 and
# gives the installer's and each packed file's SHA-512 (and the packed files' sizes).
release_expect_bill_of_materials() {
  local out=$1 bill="$1/VelkarisSetup.cdx.json" schema name hash size
  [ -f "$bill" ] || e2e_fail "no bill of materials $bill"
  schema=$("$release_source/scripts/fetch-cyclonedx-schema" --print-dir)
  /usr/bin/python3 "$e2e_dir/cyclonedx_validate.py" "$schema" "$bill" >"$e2e_work/bom.log" ||
    { cat "$e2e_work/bom.log" >&2; e2e_fail "$bill is not valid CycloneDX 1.6"; }
  hash=$(jq -r '.metadata.component.hashes[] | select(.alg == "SHA-512") | .content' "$bill")
  [ "$hash" = "$(sha512sum "$out/VelkarisSetup.exe" | cut -d' ' -f1)" ] ||
    e2e_fail "the bill of materials gives the installer's SHA-512 as '$hash'"
  [ "$(jq '[.components[] | select(.hashes)] | length' "$bill")" = 11 ] ||
    e2e_fail "the bill of materials does not list eleven packed files"
  while IFS=$'\t' read -r name hash size; do
    [ "$hash" = "$(sha512sum "$out/pack/$name" | cut -d' ' -f1)" ] &&
      [ "$size" = "$(stat -c %s "$out/pack/$name")" ] ||
      e2e_fail "the bill of materials gives $name as $size bytes with SHA-512 $hash"
  done < <(jq -r '.components[] | select(.hashes) | [.name, .hashes[0].content,
    (.properties[] | select(.name == "velkaris:size") | .value)] | @tsv' "$bill")
}
