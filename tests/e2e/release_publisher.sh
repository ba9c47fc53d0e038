#!/usr/bin/env bash
# A publisher's own programs, one command to their installer, and their output folder as
# theirs: scripts/build --pack refuses each bad pack and each output folder it must not
# write (not a folder, read-only, inside the pack, holding another release's detached
# signatures) with one line and exit code 1, before it builds anything, and leaves the
# output folder as it was; from eight of Wine's own programs and a licence of the test's
# own, allowed to replace the signatures, it replaces the earlier release in that folder as
# one whole: every file of the new release, checked by SHA256SUMS, no signature of the
# old one, and the publisher's own files the same files as before; its package the package
# tool lists and extracts byte for byte. A pack that fits only without the uninstallers is
# refused once they are built, in the same words, and the folder keeps the release before.
# (The signed release of the same pack is installed in release_signed.sh.)
#   release_publisher.sh SOURCE_DIR WINDOWS_BINARY_DIR WINDOW_PROBE PACK_TOOL
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/install_lib.sh"
source "$(dirname "$0")/release_lib.sh"
release_init "$1" "$2"
export VELKARIS_WINDOW_PROBE=${3:?window probe}
tool=${4:?package tool}
e2e_begin
expected="expected exactly: licence.txt Brinet.exe PaneVista.exe QuietVault.exe Padwick.exe"
expected+=" Tunewell.exe Notarel.exe LockBin.exe Packrill.exe"
good="$e2e_work/pack"
release_make_pack "$good"

# The output folder holds an earlier, signed release and a file of the publisher's own,
# which no refusal may touch.
out="$e2e_work/out"
mkdir -p "$out/signatures"
for file in VelkarisSetup.exe velkaris.pkg package_constants.h signatures/Brinet.exe.sig \
            signatures/VelkarisSetup.exe.sig; do
  echo "the earlier $file" >"$out/$file"
done
echo "the publisher's notes" >"$out/notes.txt"
echo "how these were signed" >"$out/signatures/README"
out_before=$(release_folder_state "$out")

# bad_pack NAME: a copy of the good pack to spoil, printed.
bad_pack() {
  mkdir "$e2e_work/$1"
  cp "$good"/* "$e2e_work/$1"
  echo "$e2e_work/$1"
}

# expect_refused DIR LINE [OUTDIR [OPTION...]]: the build of DIR into OUTDIR (the output
# folder above by default) says LINE alone, exits with 1, prints nothing else and leaves
# the output folder as it was.
expect_refused() {
  local dir=$1 line=$2 into=${3:-$out}
  shift $(( $# < 3 ? $# : 3 ))
  release_publisher_build "$dir" "$into" -- "$@"
  release_expect_refused "$line"
  [ ! -s "$e2e_work/build.out" ] || e2e_fail "$dir printed: $(cat "$e2e_work/build.out")"
  [ "$(release_folder_state "$out")" = "$out_before" ] ||
    e2e_fail "$dir: the output folder changed: $(ls -A "$out")"
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

# Output folders a build must not write.
echo "not a folder" >"$e2e_work/file"
expect_refused "$good" "build: $e2e_work/file: not a folder" "$e2e_work/file"
expect_refused "$good" "build: $good/release: inside the pack $good, which must hold its nine\
 files only" "$good/release"
read_only="$e2e_work/read-only"
mkdir "$read_only"
# Root may write anywhere but on a read-only mount: one of the test's own mount namespace.
mount --bind "$read_only" "$read_only" && mount -o remount,bind,ro "$read_only" ||
  e2e_fail "cannot mount $read_only read-only"
expect_refused "$good" "build: $read_only: cannot be written" "$read_only"
umount "$read_only"
expect_refused "$good" "build: $out/signatures holds the detached signatures of another\
 release (Brinet.exe.sig VelkarisSetup.exe.sig), which a build never deletes: move them\
 away, or pass --replace-signatures to replace them"

notes=$(stat -c %i "$out/notes.txt")
release_publisher_build "$good" "$out" -- --replace-signatures
[ "$release_status" = 0 ] ||
  e2e_fail "the build of the pack failed ($release_status): $(cat "$e2e_work/build.err")"
e2e_log "built: $(tail -n 1 "$e2e_work/build.out")"
install_expect "the output folder" "$(install_listing "$out") | $(install_listing "$out/signatures")" \
  "SHA256SUMS VelkarisSetup.cdx.json VelkarisSetup.exe notes.txt package_constants.h signatures velkaris.pkg | README"
[ "$(stat -c %i "$out/notes.txt")" = "$notes" ] && grep -qx "how these were signed" \
  "$out/signatures/README" || e2e_fail "the publisher's own files are not the files they were"
release_expect_checksums "$out" VelkarisSetup.cdx.json VelkarisSetup.exe package_constants.h \
  velkaris.pkg
e2e_log "the release replaced the earlier one and its signatures, and kept the publisher's files"

# The installer carries the publisher's files byte for byte, as the package tool reads them
# out of it without running it.
install_pkg="$e2e_work/extracted"
package="$out/VelkarisSetup.exe"
"$tool" extract "$package" "$install_pkg" >/dev/null || e2e_fail "cannot extract $package"
cmp -s "$install_pkg/00-licence.txt" "$good/licence.txt" || e2e_fail "the licence differs"
for i in "${!release_names[@]}"; do
  cmp -s "$(install_package_file "$i")" "$good/${release_names[$i]}.exe" ||
    e2e_fail "entry $(( i + 1 )) is not the publisher's ${release_names[$i]}.exe"
done
listing=$("$tool" list "$package")
[[ $(sed -n 1p <<<"$listing") == "$package: resource 102 (RCDATA, "* ]] ||
  e2e_fail "the listing does not say where in the installer it read: $listing"
listed=$(sed 1d <<<"$listing" | awk '{ print $2, $4 }')
expected_list=$(printf 'licence %s\n' "$(stat -c %s "$good/licence.txt")"
  for name in "${release_names[@]}"; do echo "$name $(stat -c %s "$good/$name.exe")"; done
  for entry in 09-other-uninstaller 10-uninstaller; do
    echo "${entry#*-} $(stat -c %s "$install_pkg/$entry.exe")"
  done)
install_expect "the listed entries" "$listed" "$expected_list"
e2e_log "the package lists and gives back the publisher's files"

# The licence and the programs fit with 1000 bytes to spare, the uninstallers do not.
out_before=$(release_folder_state "$out")
dir=$(bad_pack tight)
head -c $(( 4194304 - 132 - 1000 - $(cat "$dir"/* | wc -c) )) /dev/zero >>"$dir/QuietVault.exe"
release_publisher_build "$dir" "$out"
uninstallers=$(cat "$release_source"/build/publisher/out/pack/uninstall*.exe | wc -c)
length=$(( 4194304 - 1000 + uninstallers ))
release_expect_refused "build: $dir: the package image would be $length bytes (132 of header,\
 the licence, the eight programs and the two uninstallers), $(( length - 4194304 )) bytes more\
 than the 4194304 bytes (4 MiB) the installer unpacks into"
[ "$(release_folder_state "$out")" = "$out_before" ] ||
  e2e_fail "the refused build changed the output folder"
