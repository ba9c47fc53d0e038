#!/usr/bin/env bash
# A publisher's own programs, one command to their installer: scripts/build --pack refuses
# each bad pack with one line and exit code 1, before it builds anything, and leaves the
# output folder as it was; from eight of Wine's own programs and a licence of the test's
# own, it builds an installer that installs exactly those files with their shortcuts and
# values, whose uninstaller removes them all, and whose package the package tool lists and
# extracts byte for byte. A pack that fits only without the uninstallers is refused once
# they are built, in the same words, and the output folder keeps the installer built before.
#   release_publisher.sh SOURCE_DIR WINDOW_PROBE PACK_TOOL
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
source "$(dirname "$0")/uninstall_lib.sh"
source_dir=${1:?source folder}
tool=${3:?package tool}
uninstall_begin "(built below)" "${2:?window probe}"
wine_programs=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
expected="expected exactly: licence.txt Brinet.exe PaneVista.exe QuietVault.exe Padwick.exe"
expected+=" Tunewell.exe Notarel.exe LockBin.exe Packrill.exe"

# publisher_build DIR OUTDIR: runs the publisher's command as a publisher would, unsigned;
# sets build_status and leaves its output in $e2e_work/build.out and build.err.
publisher_build() {
  build_status=0
  env -u VELKARIS_SIGN_PKCS12 -u VELKARIS_SIGN_PASSWORD_FILE -u VELKARIS_SIGN_TIMESTAMP_URL \
    -u VELKARIS_SIGN_PKCS11_MODULE -u VELKARIS_SIGN_KEY -u VELKARIS_SIGN_PIN_FILE \
    -u VELKARIS_SIGN_CERTIFICATE -u VELKARIS_SIGNATURES -u VELKARIS_PACK_BUILD_OPTIONS \
    "$source_dir/scripts/build" --pack "$1" --out "$2" \
    >"$e2e_work/build.out" 2>"$e2e_work/build.err" || build_status=$?
}

# The pack: eight small programs that are not this project's, without their debug sections.
good="$e2e_work/pack"
mkdir "$good"
sources=(hostname expand winver write icinfo control lodctr unlodctr)
for i in "${!uninstall_names[@]}"; do
  x86_64-w64-mingw32-strip --strip-debug -o "$good/${uninstall_names[$i]}.exe" \
    "$wine_programs/${sources[$i]}.exe" || e2e_fail "cannot strip ${sources[$i]}.exe"
done
printf 'Test Publisher Licence\r\n\r\nThese eight programs are lent by Wine.' \
  >"$good/licence.txt"

# The output folder holds an earlier release, which no refusal may touch.
out="$e2e_work/out"
mkdir "$out"
for file in VelkarisSetup.exe velkaris.pkg package_constants.h; do
  echo "the earlier $file" >"$out/$file"
done
# The names and contents of the output folder's files.
out_state() { (cd "$out" && ls -A && sha256sum ./*); }
out_before=$(out_state)

# bad_pack NAME: a copy of the good pack to spoil, printed.
bad_pack() {
  mkdir "$e2e_work/$1"
  cp "$good"/* "$e2e_work/$1"
  echo "$e2e_work/$1"
}

# expect_refused DIR LINE: the build of DIR says LINE alone, exits with 1 and touches nothing.
expect_refused() {
  publisher_build "$1" "$out"
  [ "$build_status" = 1 ] || e2e_fail "$1: exit code $build_status, expected 1"
  [ "$(cat "$e2e_work/build.err")" = "$2" ] ||
    e2e_fail "$1 said: '$(cat "$e2e_work/build.err")', expected: '$2'"
  [ ! -s "$e2e_work/build.out" ] || e2e_fail "$1 printed: $(cat "$e2e_work/build.out")"
  [ "$(out_state)" = "$out_before" ] || e2e_fail "$1: the output folder changed: $(ls -A "$out")"
  e2e_log "refused: $2"
}

# tool_licence_problem LICENCE: what the package tool says of a licence text.
tool_licence_problem() {
  local manifest="$e2e_work/licence-check.manifest" i
  { echo "$1"; for i in {1..10}; do echo "$good/Brinet.exe"; done; } >"$manifest"
  { "$tool" build "$manifest" -o "$e2e_work/licence-check.pkg" 2>&1 >/dev/null || true; } |
    sed -n 's/^velkaris-pack: .*: not a valid licence text: //p'
}

expect_refused "$e2e_work/none" "build: $e2e_work/none: no such folder"
dir=$(bad_pack missing) && rm "$dir/Tunewell.exe"
expect_refused "$dir" "build: $dir/Tunewell.exe: missing; $expected"
dir=$(bad_pack extra) && echo notes >"$dir/readme.txt"
expect_refused "$dir" "build: $dir/readme.txt: not a file of the pack; $expected"
dir=$(bad_pack misspelt) && mv "$dir/licence.txt" "$dir/license.txt"
expect_refused "$dir" "build: $dir/license.txt: not a file of the pack; $expected"
dir=$(bad_pack x86)
x86_64-w64-mingw32-objcopy -O pei-i386 "$good/Padwick.exe" "$dir/Padwick.exe"
expect_refused "$dir" \
  "build: $dir/Padwick.exe: built for machine 0x014C, not for 64-bit x86-64 (0x8664)"
dir=$(bad_pack not-pe) && cp "$good/licence.txt" "$dir/LockBin.exe"
expect_refused "$dir" "build: $dir/LockBin.exe: not a Windows executable (no MZ header)"

for licence in lf trailing ascii; do
  dir=$(bad_pack "licence-$licence")
  case $licence in
    lf) printf 'Licence\nwith LF alone' ;;
    trailing) printf 'Licence\r\nending with CR LF\r\n' ;;
    ascii) printf 'Licence\r\nwith an \xe9, early in a long text\r\n'
           head -c 200000 /dev/zero | tr '\0' . ;;
  esac >"$dir/licence.txt"
  problem=$(tool_licence_problem "$dir/licence.txt")
  [ -n "$problem" ] || e2e_fail "the package tool accepts the licence of $dir"
  expect_refused "$dir" "build: $dir/licence.txt: not a valid licence text: $problem"
done

dir=$(bad_pack too-large) && head -c 4194304 /dev/zero >>"$dir/QuietVault.exe"
length=$(( 132 + $(cat "$dir"/* | wc -c) ))
expect_refused "$dir" "build: $dir: the package image would be $length bytes (132 of header, the\
 licence and the eight programs), $(( length - 4194304 )) bytes more than the 4194304 bytes\
 (4 MiB) the installer unpacks into"

publisher_build "$good" "$out"
[ "$build_status" = 0 ] ||
  e2e_fail "the build of the pack failed ($build_status): $(cat "$e2e_work/build.err")"
install_expect "the output folder" "$(install_listing "$out")" \
  "VelkarisSetup.cdx.json VelkarisSetup.exe package_constants.h velkaris.pkg"
e2e_log "built: $(tail -n 1 "$e2e_work/build.out")"

# The installer carries the publisher's files byte for byte, as the package tool reads them
# out of it without running it.
install_pkg="$e2e_work/extracted"
package="$out/VelkarisSetup.exe"
"$tool" extract "$package" "$install_pkg" >/dev/null || e2e_fail "cannot extract $package"
cmp -s "$install_pkg/00-licence.txt" "$good/licence.txt" || e2e_fail "the licence differs"
for i in "${!uninstall_names[@]}"; do
  cmp -s "$(install_package_file "$i")" "$good/${uninstall_names[$i]}.exe" ||
    e2e_fail "entry $(( i + 1 )) is not the publisher's ${uninstall_names[$i]}.exe"
done
listing=$("$tool" list "$package")
[[ $(sed -n 1p <<<"$listing") == "$package: resource 102 (RCDATA, "* ]] ||
  e2e_fail "the listing does not say where in the installer it read: $listing"
listed=$(sed 1d <<<"$listing" | awk '{ print $2, $4 }')
expected_list=$(printf 'licence %s\n' "$(stat -c %s "$good/licence.txt")"
  for name in "${uninstall_names[@]}"; do echo "$name $(stat -c %s "$good/$name.exe")"; done
  for entry in 09-other-uninstaller 10-uninstaller; do
    echo "${entry#*-} $(stat -c %s "$install_pkg/$entry.exe")"
  done)
install_expect "the listed entries" "$listed" "$expected_list"
e2e_log "the package lists and gives back the publisher's files"

uninstall_setup="$out/VelkarisSetup.exe"
uninstall_install_all
install_expect "installed files" "$(install_listing "$uninstall_dest")" \
  "Brinet.exe LockBin.exe Notarel.exe Packrill.exe Padwick.exe PaneVista.exe QuietVault.exe \
Tunewell.exe uninstall.exe"
for i in "${!uninstall_names[@]}"; do
  install_expect_program "$i" "$uninstall_dest"
  program="$uninstall_win_dest\\${uninstall_names[$i]}.exe"
  install_expect_link "$uninstall_menu/${uninstall_names[$i]}.lnk" "$program"
  install_expect_app_values "$i" "$program"
done
cmp -s "$uninstall_dest/uninstall.exe" "$(install_package_file uninstaller)" ||
  e2e_fail "uninstall.exe differs from entry 10"
install_expect_reg "$install_uninstall_key" UninstallString REG_SZ \
  "\"$uninstall_win_dest\\uninstall.exe\""
e2e_log "installed the publisher's programs, their shortcuts and values"

uninstall_remove_all
e2e_log "the uninstaller removed the publisher's programs"

# The licence and the programs fit with 1000 bytes to spare, the uninstallers do not.
out_before=$(out_state)
dir=$(bad_pack tight)
head -c $(( 4194304 - 132 - 1000 - $(cat "$dir"/* | wc -c) )) /dev/zero >>"$dir/QuietVault.exe"
publisher_build "$dir" "$out"
uninstallers=$(cat "$source_dir"/build/publisher/out/pack/uninstall*.exe | wc -c)
length=$(( 4194304 - 1000 + uninstallers ))
install_expect "the build of a pack too large with the uninstallers" \
  "$build_status $(cat "$e2e_work/build.err")" "1 build: $dir: the package image would be\
 $length bytes (132 of header, the licence, the eight programs and the two uninstallers),\
 $(( length - 4194304 )) bytes more than the 4194304 bytes (4 MiB) the installer unpacks into"
[ "$(out_state)" = "$out_before" ] || e2e_fail "the refused build changed the output folder"
e2e_log "refused once the uninstallers were built: $(cat "$e2e_work/build.err")"
