# Shared steps of the release tests, sourced after e2e_lib.sh: a second build of only what
# ships, from a copy of the sources in another folder, with the main build's options; and a
# throwaway certificate authority with a code-signing certificate for it.
#   release_init SOURCE_DIR WINDOWS_BINARY_DIR

release_init() {
  release_source=${1:?source folder}
  release_main=${2:?the main Windows build folder}
  [ -f "$release_main/CMakeCache.txt" ] || e2e_fail "no CMakeCache.txt in $release_main"
}

# release_option NAME: a value of the main Windows build's CMake cache.
release_option() { sed -n "s/^$1:[A-Z]*=//p" "$release_main/CMakeCache.txt"; }

# release_build FOLDER [CMAKE_ARGS...]: copies the sources to FOLDER/src, configures a Windows
# tree in FOLDER/build with the main build's time, tool and liblzma (and the CMAKE_ARGS,
# which may override them), writing to FOLDER/out, and builds the signed or unsigned
# installer and everything it is made of, nothing else.
release_build() {
  local folder=$1 option
  shift
  local options=(-DCMAKE_BUILD_TYPE="$(release_option CMAKE_BUILD_TYPE)")
  for option in VELKARIS_PACK_TOOL VELKARIS_LZMA_MINGW_PREFIX VELKARIS_SOURCE_DATE_EPOCH \
                VELKARIS_SIGN_PKCS12 VELKARIS_SIGN_PASSWORD_FILE VELKARIS_SIGN_TIMESTAMP_URL; do
    options+=("-D$option=$(release_option "$option")")
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

# release_make_signer FOLDER: a certificate authority (FOLDER/ca.pem) and a code-signing
# certificate it issued with its key in FOLDER/signer.p12, whose password is in
# FOLDER/password.
release_make_signer() {
  local folder=$1
  mkdir -p "$folder"
  (
    cd "$folder"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
      -subj '/CN=Velkaris Test CA' -addext 'basicConstraints=critical,CA:true' \
      -addext 'keyUsage=critical,keyCertSign,cRLSign'
    openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
      -subj '/CN=Velkaris Test Publisher'
    printf 'extendedKeyUsage=codeSigning\nkeyUsage=critical,digitalSignature\n' >signer.ext
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 1 \
      -extfile signer.ext -out signer.pem
    printf 'throwaway password\n' >password
    openssl pkcs12 -export -inkey signer.key -in signer.pem -passout file:password \
      -out signer.p12
  ) >"$folder/openssl.log" 2>&1 || { cat "$folder/openssl.log" >&2; e2e_fail "openssl failed"; }
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
