#!/usr/bin/env bash
# Two builds of the same sources give the same bytes: the shipped programs are built again
# from a copy of the sources in another folder, with another umask, time zone, locale and
# home folder, and the installer, the package, its constants header and every file of the
# pack are compared byte for byte with the main build's.
#   release_reproducible.sh SOURCE_DIR WINDOWS_BINARY_DIR MAIN_OUT_DIR
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/release_lib.sh"
release_init "$1" "$2"
main_out=${3:?output folder of the main build}

work=$(mktemp -d "${TMPDIR:-/tmp}/velkaris-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/home"
(
  umask 077
  export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8 HOME="$work/home"
  release_build "$work/again"
)

(cd "$main_out" && find pack -type f | LC_ALL=C sort) >"$work/pack.list"
(cd "$work/again/out" && find pack -type f | LC_ALL=C sort) >"$work/pack-again.list"
diff "$work/pack.list" "$work/pack-again.list" || e2e_fail "the pack folders hold different files"
differing=()
while read -r file; do
  cmp -s "$main_out/$file" "$work/again/out/$file" || differing+=("$file")
  e2e_log "$(sha256sum "$work/again/out/$file" | cut -c1-64) $file"
done < <(printf '%s\n' VelkarisSetup.exe velkaris.pkg package_constants.h; cat "$work/pack.list")
[ ${#differing[@]} -eq 0 ] || e2e_fail "differ from the main build: ${differing[*]}"
